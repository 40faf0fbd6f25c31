#pragma once

#include <cstdint>
#include <string>

#include "gfx/Geometry.h"
#include "platform/NativeWindow.h"

namespace platform {

enum class EventKind : std::uint8_t {
  MouseMove,
  MouseDown,
  MouseUp,
  MouseWheel,
  // The pointer entered or left the window (not sent while the pointer is
  // grabbed and moves outside the grabbing window).
  MouseEnter,
  MouseLeave,
  KeyDown,
  KeyUp,
  // Text typed by the user, one or more UTF-8 characters, after the key's
  // KeyDown. Control characters (backspace, tab, return, escape) come as
  // text too, as the classic desktop's character messages do.
  Text,
  // The system gave the keyboard focus to the window or took it away by
  // itself (the user clicked another application, the window manager
  // activated a window). Changes asked for by ActivateWindow or
  // ShowWindow(ShowMode::Show) are not reported back.
  FocusIn,
  FocusOut,
  // Part of the window must be presented again (Area, window coordinates).
  Expose,
  // The user asked the system to close the window (a window manager
  // button or shortcut).
  CloseRequest,
  // The system minimised or restored the window (State).
  StateChanged,
  // The system moved or resized the window (Area, screen coordinates).
  BoundsChanged,
  // A notice about a notification-area icon (Notice; ScreenPosition is
  // the pointer). Window is NoWindow: Notice.Owner says whose icon it is.
  NotifyIcon,
  // The notification area started (again): icons are to be added anew.
  TaskbarCreated,
};

enum class MouseButton : std::uint8_t { None, Left, Right, Middle, X1, X2 };

// Buttons held down, as a bit set.
enum MouseButtonMask : std::uint8_t {
  ButtonMaskLeft = 1,
  ButtonMaskRight = 2,
  ButtonMaskMiddle = 4,
  ButtonMaskX1 = 8,
  ButtonMaskX2 = 16,
};

// Modifier keys held down, as a bit set.
enum KeyModifierMask : std::uint8_t {
  ModifierShift = 1,
  ModifierControl = 2,
  ModifierAlt = 4,
};

enum class WindowState : std::uint8_t { Normal, Minimized };

// Which icon a NotifyIcon event is about and what happened: the owner gets
// CallbackMessage with the icon's Id and Code (a classic code of
// platform/NotifyIcon.h: WM_LBUTTONDOWN ... NIN_BALLOONUSERCLICK).
struct NotifyIconNotice {
  std::uintptr_t Owner = 0;
  std::uintptr_t Id = 0;
  std::uint32_t CallbackMessage = 0;
  std::uint32_t Code = 0;
};

// One input or window event, already translated from the native form. The
// fields that do not belong to the Kind are left at their defaults.
struct Event {
  EventKind Kind = EventKind::MouseMove;
  NativeWindow Window = NoWindow;
  // Mouse events: the pointer relative to the window's top-left corner
  // (may lie outside the window while the pointer is grabbed) and on the
  // screen.
  gfx::Point Position;
  gfx::Point ScreenPosition;
  // MouseDown and MouseUp: the button that changed.
  MouseButton Button = MouseButton::None;
  // Mouse and key events: buttons and modifiers held down after the event.
  std::uint8_t Buttons = 0;
  std::uint8_t Modifiers = 0;
  // MouseWheel: 120 per notch, positive when turned away from the user.
  int WheelDelta = 0;
  // KeyDown and KeyUp: the classic virtual-key code (platform/VirtualKeys.h);
  // Repeat is true for the automatic repeats of a key held down.
  int VirtualKey = 0;
  bool Repeat = false;
  // Text: the characters typed.
  std::string Text;
  // Expose: the area to present again, window coordinates.
  // BoundsChanged: the new outer rectangle, screen coordinates.
  gfx::Rect Area;
  // StateChanged: the new state.
  WindowState State = WindowState::Normal;
  // NotifyIcon: the icon and the notice.
  NotifyIconNotice Notice;
  // The platform clock (Platform::Now) when the event happened.
  std::uint64_t Time = 0;
};

}  // namespace platform
