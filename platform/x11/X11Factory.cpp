#include "platform/PlatformFactory.h"
#include "platform/x11/X11Platform.h"

namespace platform::x11 {
namespace {

// Preferred over headless whenever it is linked in. Without a display the
// factory throws X11Platform's error ("Cannot open the X display: DISPLAY
// is not set"), which the caller reports; OSTVANE_PLATFORM=headless picks
// the other backend explicitly.
BackendRegistration Registration{"x11", 10, [] { return std::make_unique<X11Platform>(); }};

}  // namespace
}  // namespace platform::x11
