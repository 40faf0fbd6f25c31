#pragma once

#include <string>
#include <string_view>

#include "gfx/Geometry.h"
#include "platform/CursorShape.h"
#include "platform/VirtualKeys.h"
#include "ui/windowing/MessageRecords.h"
#include "ui/windowing/WindowTypes.h"

// Keyboard focus, activation, mouse capture, mouse leave tracking, the
// pointer and the keyboard state.
namespace ui {

using platform::CursorShape;

// Mouse capture: the window gets every mouse message (as client messages,
// coordinates relative to its client area) wherever the pointer is, until
// ReleaseCapture. The window losing the capture gets WM_CAPTURECHANGED
// (lParam: the new capture window). Returns the previous capture window.
HWND SetCapture(HWND window);
bool ReleaseCapture();
HWND GetCapture();

// Keyboard focus: the old window gets WM_KILLFOCUS (wParam: the new one),
// the new one WM_SETFOCUS (wParam: the old one). Activates the window's
// top-level window first when needed. nullptr removes the focus. Returns
// the previous focus window.
HWND SetFocus(HWND window);
HWND GetFocus();

// Activation of a top-level window: the old one gets WM_NCACTIVATE(FALSE)
// and WM_ACTIVATE(WA_INACTIVE), the new one WM_NCACTIVATE(TRUE) and
// WM_ACTIVATE(WA_ACTIVE) (whose default gives it the focus); every
// top-level window gets WM_ACTIVATEAPP when the program as a whole becomes
// active or inactive. Returns the previously active window.
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND window);
HWND GetForegroundWindow();

// Asks for WM_MOUSELEAVE (TME_LEAVE) or WM_NCMOUSELEAVE (TME_LEAVE |
// TME_NONCLIENT), posted once when the pointer leaves the window's client
// area (or frame); TME_CANCEL stops it, TME_QUERY fills the argument with
// the tracking in force. When the pointer is not over the area, the
// message is posted at once.
bool TrackMouseEvent(TrackMouseEventInfo& info);

// The pointer.
bool GetCursorPos(gfx::Point& point);
bool SetCursorPos(int x, int y);
// The pointer shape for the window under the pointer (WM_SETCURSOR
// handlers call it).
void SetCursor(CursorShape shape);

// The keyboard and mouse buttons (VK_ codes) as they are right now: the
// high bit (0x8000) is set while the key is down.
std::int16_t GetAsyncKeyState(int virtualKey);
// The same as of the input message being handled: Shift, Control, Alt and
// the mouse buttons as they were when the message's event happened; other
// keys as they are now.
std::int16_t GetKeyState(int virtualKey);

// Claims the character of a keystroke that a handler acted on (a message
// hook, a skin menu or a form's shortcut handling its WM_KEYDOWN or
// WM_SYSKEYDOWN), so that the WM_CHAR or WM_SYSCHAR the same keystroke
// types is dropped in the queue and reaches no window. Call it while
// handling the key down. The claim belongs to that keystroke alone: the
// next key down, the key's own release or the next character ends it, and
// that character is dropped only when the key can type it (Enter a
// carriage return, a letter itself or its control code); a key that types
// nothing (arrows, function keys, modifiers) claims nothing. So a
// keystroke whose character never comes cannot eat a later one.
void SwallowCharOfKey(int virtualKey);

std::uint32_t GetDoubleClickTime();
bool MessageBeep(std::uint32_t type);
std::string GetClipboardText();
bool SetClipboardText(std::string_view text);

}  // namespace ui
