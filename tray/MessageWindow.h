#pragma once

#include "ui/windowing/WindowTypes.h"

namespace tray {

// A hidden message-only window whose procedure is the given function
// object: how an object that is no control gets window messages (timer
// ticks, notification-area notices). nullptr when there is no window system.
ui::HWND CreateMessageWindow(ui::WindowProcedure procedure);
// Destroys it; safe from inside its own procedure and after the window
// system is gone.
void DestroyMessageWindow(ui::HWND window);

}  // namespace tray
