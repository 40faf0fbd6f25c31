#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "gfx/Region.h"
#include "platform/CursorShape.h"
#include "platform/Event.h"
#include "platform/Monitor.h"
#include "platform/NativeWindow.h"

namespace platform {

class NotifyIconService;

enum class WindowKind : std::uint8_t {
  // An ordinary top-level window: has a task-bar entry, takes the keyboard
  // focus when activated.
  Normal,
  // Menus, hints, drop-downs: never takes the focus, stays above the normal
  // windows, has no task-bar entry.
  Popup,
  // Never shown; exists only so that something can be addressed (message
  // windows). A backend may create nothing native for it.
  Hidden,
};

enum class ShowMode : std::uint8_t {
  Hide,
  // Map the window and activate it (focus and raise).
  Show,
  // Map the window without changing the active window.
  ShowNoActivate,
};

struct WindowOptions {
  WindowKind Kind = WindowKind::Normal;
  // Outer rectangle on the screen. The system never adds a frame of its own:
  // the window system above draws every pixel of the rectangle.
  gfx::Rect Bounds;
  std::string Title;  // UTF-8
};

// Timeout value of WaitForEvent that never expires.
constexpr int InfiniteTimeout = -1;

// The operating-system boundary: everything the window system needs from the
// system, and nothing more. One instance serves the single GUI thread; only
// Wake may be called from other threads.
//
// Window contracts common to every call taking a NativeWindow: a value that
// names no live window of this backend (NoWindow, a destroyed one) is
// ignored, and getters return their neutral value.
class Platform {
 public:
  virtual ~Platform() = default;

  // Short name of the backend ("headless", "x11").
  virtual std::string_view Name() const = 0;

  // ---- Native top-level windows ----

  // Creates a window, initially hidden, with the given outer bounds and
  // title. Never returns NoWindow; throws when the system refuses.
  virtual NativeWindow CreateWindow(const WindowOptions& options) = 0;
  // Destroys the window; a pointer grab it holds ends with it. No event for
  // it is returned by NextEvent afterwards.
  virtual void DestroyWindow(NativeWindow window) = 0;
  // Moves and sizes the window (outer rectangle, screen coordinates). Does
  // not produce a BoundsChanged event: those report the system's changes.
  virtual void SetWindowBounds(NativeWindow window, const gfx::Rect& bounds) = 0;
  // Show also activates the window (see ActivateWindow); Hide of the
  // focused window leaves no window of the program focused.
  virtual void ShowWindow(NativeWindow window, ShowMode mode) = 0;
  // Minimises (iconifies) or restores the window. The backend reports its
  // own changes of the state by StateChanged, not those asked for here.
  virtual void SetWindowState(NativeWindow window, WindowState state) = 0;
  // The title the task bar and window lists show; UTF-8.
  virtual void SetWindowTitle(NativeWindow window, std::string_view title) = 0;
  // The icon the task bar and window lists show; an empty bitmap restores
  // the system's default icon.
  virtual void SetWindowIcon(NativeWindow window, const gfx::Bitmap& icon) = 0;
  // Restricts the window to the pixels of shape (window coordinates): the
  // rest shows what lies behind and does not receive the mouse. nullptr
  // makes the window rectangular again.
  virtual void SetWindowShape(NativeWindow window, const gfx::Region* shape) = 0;
  // Whole-window opacity, 0 (invisible) to 255 (opaque). Backends without
  // translucency keep the window opaque.
  virtual void SetWindowOpacity(NativeWindow window, std::uint8_t opacity) = 0;
  // Shows the pixels of surface inside dirty (window coordinates) on the
  // window. surface has the window's size; pixels outside dirty may be left
  // on screen as they were. The call copies what it needs before returning.
  virtual void PresentWindow(NativeWindow window, const gfx::Bitmap& surface,
                             const gfx::Rect& dirty) = 0;
  // Raises the window and gives it the keyboard focus. Popup windows are
  // raised without taking the focus. The change is not reported back by
  // FocusIn/FocusOut events (the window system already knows it).
  virtual void ActivateWindow(NativeWindow window) = 0;
  // Puts the window above the program's other windows without giving it
  // the focus or activating it; normal windows stay below popup windows.
  // A hidden window is restacked for when it shows.
  virtual void RaiseWindow(NativeWindow window) = 0;
  // Puts the window below the program's other windows of its kind, again
  // without touching the focus.
  virtual void LowerWindow(NativeWindow window) = 0;
  // Keeps a normal window above the other normal windows (still below
  // popups), or lets it go back among them. Popups are above anyway.
  virtual void SetWindowTopmost(NativeWindow window, bool topmost) = 0;
  // Sends every mouse event to window until ReleasePointer, wherever the
  // pointer is (mouse capture). A second grab moves it to the new window.
  // Without a grab, a backend may still send the events of a drag to the
  // window that got the press (X11 does): the window system drops mouse
  // events outside the window they name unless it holds the capture.
  virtual void GrabPointer(NativeWindow window) = 0;
  virtual void ReleasePointer() = 0;
  // The pointer shape while the pointer is over window.
  virtual void SetWindowCursor(NativeWindow window, CursorShape shape) = 0;

  // ---- Events and time ----

  // Takes the oldest pending event without waiting; false when there is
  // none. Events of a window destroyed meanwhile are dropped.
  virtual bool NextEvent(Event& event) = 0;
  // Returns when an event is pending, Wake was called since the last wait,
  // or timeoutMilliseconds have passed (InfiniteTimeout: no limit).
  // Returns at once when an event is already pending.
  virtual void WaitForEvent(int timeoutMilliseconds) = 0;
  // Ends a WaitForEvent running or starting on the GUI thread. The only
  // call that is safe from any thread.
  virtual void Wake() = 0;
  // A monotonic clock in milliseconds (timers and double clicks are
  // measured with it). The headless backend's clock only moves when its
  // test advances it.
  virtual std::uint64_t Now() = 0;

  // ---- Services ----

  // Clipboard text (UTF-8); empty when the clipboard holds no text.
  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(std::string_view text) = 0;
  // The pointer on the screen.
  virtual gfx::Point CursorPosition() = 0;
  virtual void SetCursorPosition(gfx::Point position) = 0;
  // Whether the key or mouse button (VK_LBUTTON ...) is down right now,
  // whichever window has the focus.
  virtual bool IsKeyDown(int virtualKey) = 0;
  // The monitors, the primary one first; never empty.
  virtual std::vector<Monitor> Monitors() = 0;
  // Longest time between the two clicks of a double click, milliseconds.
  virtual int DoubleClickTime() = 0;
  // The system's warning sound (or flash, or nothing).
  virtual void Beep() = 0;
  // Full path of the running program's file, UTF-8.
  virtual std::string ProgramFilePath() = 0;
  // Reads the pixels the screen shows in area into picture (which is sized
  // to the area); parts outside every monitor come back black. False when
  // the system does not allow reading the screen.
  virtual bool CaptureScreen(const gfx::Rect& area, gfx::Bitmap& picture) = 0;
  // The notification-area icons (platform/NotifyIcon.h), owned by the
  // backend; nullptr when it has none. Their notices come from NextEvent,
  // and WaitForEvent returns for them.
  virtual NotifyIconService* NotifyIcons() { return nullptr; }
};

}  // namespace platform
