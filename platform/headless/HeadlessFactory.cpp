#include "platform/PlatformFactory.h"
#include "platform/headless/HeadlessPlatform.h"

namespace platform::headless {
namespace {

// The least preferred backend: chosen only when asked for by name or when
// no other backend is linked in.
BackendRegistration Registration{"headless", 0, [] { return std::make_unique<HeadlessPlatform>(); }};

}  // namespace
}  // namespace platform::headless
