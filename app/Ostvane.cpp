#include "app/Ostvane.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/Unit1.h"
#include "core/Component.h"
#include "ui/classlib/Forms.h"

namespace app {

TForm1* CreateForm1(platform::ArpResolver* resolver) {
  return ui::Application->CreateForm<TForm1>(resolver);
}

int RunOstvane(platform::ArpResolver& resolver) {
  auto application = core::CreateUnowned<ui::TApplication>();
  application->Initialize();
  application->SetTitle("Ostvane");
  CreateForm1(&resolver);
  // For the start-up benchmark (bench/ostvane-startup.sh): the first time
  // the message loop runs dry, the shown window has had its first paint.
  if (std::getenv("OSTVANE_STARTUP_TRACE")) {
    application->OnIdle = [reported = false](core::TComponent*) mutable {
      if (reported) return;
      reported = true;
      timespec now{};
      clock_gettime(CLOCK_REALTIME, &now);
      std::fprintf(stderr, "startup: first-paint %lld\n",
                   static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    };
  }
  application->Run();
  // The application frees Form1 and with it the tray icon, which takes its
  // icon out of the notification area.
  application.reset();
  return 0;
}

}  // namespace app
