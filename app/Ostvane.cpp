#include "app/Ostvane.h"

#include "app/Unit1.h"
#include "core/Component.h"
#include "ui/Forms.h"

namespace app {

TForm1* CreateForm1(platform::ArpResolver* resolver) {
  RegisterUnit1Classes();
  return ui::Application->CreateForm<TForm1>(resolver);
}

int RunOstvane(platform::ArpResolver& resolver) {
  auto application = core::CreateUnowned<ui::TApplication>();
  application->Initialize();
  application->SetTitle("Ostvane");
  CreateForm1(&resolver);
  application->Run();
  // The application frees Form1 and with it the tray icon, which takes its
  // icon out of the notification area.
  application.reset();
  return 0;
}

}  // namespace app
