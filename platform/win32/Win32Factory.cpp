#include "platform/PlatformFactory.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {
namespace {

// Preferred over headless whenever it is linked in; OSTVANE_PLATFORM=headless
// picks the other backend explicitly.
BackendRegistration Registration{"win32", 10, [] { return std::make_unique<Win32Platform>(); }};

}  // namespace
}  // namespace platform::win32
