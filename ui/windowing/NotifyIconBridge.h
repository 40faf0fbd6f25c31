#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Event.h"
#include "platform/NotifyIcon.h"
#include "ui/windowing/WindowTypes.h"

// The notification-area icons on the window system: the classic shell call,
// and the platform's notices turned into window messages.
namespace ui {

class Desktop;

// The name of the message every top-level and message-only window receives
// when the notification area has started again and icons must be added
// anew (register it with RegisterWindowMessage).
constexpr std::string_view TaskbarCreatedMessageName = "TaskbarCreated";

// One call of the platform's notification-area service (NIM_ADD,
// NIM_MODIFY, NIM_DELETE, NIM_SETVERSION). data.Owner is the HWND that gets
// the icon's callback message. False when there is no window system, the
// platform has no notification area, or the call failed.
bool Shell_NotifyIcon(std::uint32_t message, const platform::NotifyIconData& data);

// For the window system's event translation: a NotifyIcon event becomes the
// icon's callback message to its owner window (wParam: the icon's id,
// lParam: the notice), queued as input; a TaskbarCreated event is posted as
// the registered "TaskbarCreated" message to every top-level and
// message-only window.
void TranslateNotifyIconEvent(Desktop& desktop, const platform::Event& event);

}  // namespace ui
