// ostvane: the scanner program. It reads no command line and no file; the
// window, its texts and its icon are built in. The backend is the one the
// build linked (X11 by default; OSTVANE_PLATFORM names another at run time
// when several are linked).

#include <cstdio>
#include <exception>
#include <memory>

#include "app/Ostvane.h"
#include "platform/ArpResolver.h"
#include "platform/PlatformFactory.h"
#include "ui/windowing/WindowSystem.h"

int main() {
  std::unique_ptr<platform::Platform> backend = platform::CreatePlatformOrReport("ostvane");
  if (!backend) return 1;
  ui::WindowSystem system(std::move(backend));
  std::unique_ptr<platform::ArpResolver> resolver = platform::CreateSystemArpResolver();
  try {
    return app::RunOstvane(*resolver);
  } catch (const std::exception& error) {
    // Only a broken build gets here (a layout that does not read).
    std::fprintf(stderr, "ostvane: %s\n", error.what());
    return 1;
  }
}
