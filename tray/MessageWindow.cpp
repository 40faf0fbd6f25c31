#include "tray/MessageWindow.h"

#include <utility>

#include "ui/windowing/WindowStyles.h"
#include "ui/windowing/Windows.h"

namespace tray {

ui::HWND CreateMessageWindow(ui::WindowProcedure procedure) {
  ui::HWND window =
      ui::CreateWindowEx(0, ui::DefaultWindowClassName, "", 0, 0, 0, 0, 0, ui::HWND_MESSAGE);
  if (window) ui::SetWindowProc(window, ui::MakeWindowProc(std::move(procedure)));
  return window;
}

void DestroyMessageWindow(ui::HWND window) {
  if (window) ui::DestroyWindow(window);
}

}  // namespace tray
