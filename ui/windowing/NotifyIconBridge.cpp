#include "ui/windowing/NotifyIconBridge.h"

#include "ui/windowing/Desktop.h"
#include "ui/windowing/MessageLoop.h"

namespace ui {

bool Shell_NotifyIcon(std::uint32_t message, const platform::NotifyIconData& data) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return false;
  platform::NotifyIconService* service = desktop->Platform.NotifyIcons();
  if (!service) return false;
  return service->Call(message, data);
}

void TranslateNotifyIconEvent(Desktop& desktop, const platform::Event& event) {
  if (event.Kind == platform::EventKind::NotifyIcon) {
    const platform::NotifyIconNotice& notice = event.Notice;
    HWND owner = HandleFromParam(notice.Owner);
    // An owner destroyed meanwhile gets nothing.
    if (!desktop.Find(owner)) return;
    desktop.Input.push_back(TMsg{owner, notice.CallbackMessage, WPARAM(notice.Id),
                                 LPARAM(notice.Code), event.Time, event.ScreenPosition});
    return;
  }
  if (event.Kind == platform::EventKind::TaskbarCreated) {
    const UINT message = RegisterWindowMessage(TaskbarCreatedMessageName);
    for (Window* window : desktop.TopLevels) {
      desktop.Posted.push_back(TMsg{window->Handle, message, 0, 0, event.Time, desktop.LastScreenPoint});
    }
  }
}

}  // namespace ui
