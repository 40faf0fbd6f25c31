#pragma once

namespace platform {
class ArpResolver;
}

namespace app {

class TForm1;

// The program's entry. The window system (ui::WindowSystem, on the
// platform the caller chose) must exist; RunOstvane makes the application
// titled "Ostvane", creates Form1 from its stored layout as the main form
// and handles messages until that window closes, then frees everything
// (the tray icon leaves the notification area). The scan asks resolver.
// Returns the process's exit code.
int RunOstvane(platform::ArpResolver& resolver);

// Creates Form1 from its stored layout, owned by ui::Application (which
// must exist) and its main form when it is the first form made. The form
// is hidden until shown; its tray icon is already in the notification
// area. resolver may be nullptr: then no address answers and nothing is
// sent. Registers the layout's classes first.
TForm1* CreateForm1(platform::ArpResolver* resolver = nullptr);

}  // namespace app
