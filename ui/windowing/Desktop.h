#pragma once

// The window system's state and the helpers its files share. Internal to
// ui: the rest of the program uses the window functions (ui/Windows.h,
// ui/MessageLoop.h, ui/Input.h, ui/Painting.h).

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "gfx/Region.h"
#include "platform/Event.h"
#include "platform/Platform.h"
#include "ui/windowing/DeviceContext.h"
#include "ui/windowing/MessageRecords.h"
#include "ui/windowing/Timers.h"
#include "ui/windowing/Window.h"
#include "ui/windowing/WindowClass.h"
#include "ui/windowing/WindowTypes.h"

namespace ui {

struct Timer {
  HWND Window = nullptr;
  UINT_PTR Id = 0;
  UINT Period = 0;
  std::uint64_t Due = 0;
  TimerProcedure Procedure;
};

struct MouseLeaveTracking {
  HWND Window = nullptr;
  DWORD Flags = 0;  // TME_LEAVE, with TME_NONCLIENT for the frame
};

// The parts of a window a device context or visible region can cover.
enum class WindowArea { Whole, Client, NonClient };

class Desktop {
 public:
  explicit Desktop(platform::Platform& platform);
  ~Desktop();

  platform::Platform& Platform;

  // ---- Windows ----
  std::unordered_map<std::uintptr_t, std::unique_ptr<Window>> Windows;
  // Top-level and message-only windows, in creation order.
  std::vector<Window*> TopLevels;
  std::uintptr_t NextHandle = 0x10000;
  std::map<std::string, std::shared_ptr<const WindowClass>> Classes;

  Window* Find(HWND window) const;
  Window* FromNative(platform::NativeWindow native) const;
  static Window* TopLevelOf(Window* window);
  // The window's top-left corner in its top-level window's coordinates.
  static gfx::Point OffsetInTopLevel(const Window* window);
  static gfx::Rect ScreenBounds(const Window* window);
  static gfx::Point ClientOriginOnScreen(const Window* window);
  // The pixels of the area that show on the top-level window's surface
  // (surface coordinates): clipped to every ancestor's client area and
  // window region, minus the siblings above it and every ancestor, and for
  // the client area minus the visible children. Empty for hidden windows.
  gfx::Region VisibleRegion(const Window* window, WindowArea area) const;
  // The deepest visible, enabled window under a screen point, starting at a
  // top-level window; nullptr when the point is outside it.
  Window* ChildFromScreenPoint(Window* topLevel, gfx::Point screen) const;

  // ---- Messages ----
  LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  std::deque<TMsg> Posted;
  // Input messages made from one platform event, waiting their turn.
  std::deque<TMsg> Input;
  bool QuitPosted = false;
  int QuitCode = 0;
  // A platform event read ahead (a focus change looks at the next event).
  std::optional<platform::Event> Lookahead;
  std::function<void(std::exception_ptr)> ErrorHandler;
  // Reads the next platform event, the one read ahead first.
  bool NextPlatformEvent(platform::Event& event);
  // Turns one platform event into input messages (Input) and window
  // changes. False when there was no event.
  bool TranslateNextEvent();
  // Whether anything is waiting (posted, input, platform events, paint,
  // due timers, quit) without taking it.
  bool HasPendingWork();

  // ---- Painting ----
  // Windows whose update region or frame needs painting (by handle value,
  // so creation order: parents before their children).
  std::set<std::uintptr_t> PaintPending;
  std::vector<std::unique_ptr<DeviceContext>> Contexts;
  void Invalidate(Window* window, const gfx::Region& clientArea, bool erase);
  void InvalidateFrame(Window* window);
  // The window and all its descendants, frames included.
  void InvalidateTree(Window* window);
  // After a child moved, shrank or hid: its old area (parent client
  // coordinates) in the parent and in the siblings below it.
  void InvalidateUncovered(Window* parent, const gfx::Rect& area);
  void Validate(Window* window, const gfx::Region& clientArea);
  void UpdatePaintPending(Window* window);
  // Sends WM_PAINT to a window whose update is pending.
  void PaintNow(Window* window);
  std::unique_ptr<DeviceContext> MakeContext(Window* window, WindowArea area,
                                             const gfx::Region* limit) const;
  HDC KeepContext(std::unique_ptr<DeviceContext> context);
  bool ReleaseContext(HDC context);
  // Marks surface pixels as changed; Flush presents them.
  void MarkDirty(Window* topLevel, const gfx::Region& surfaceArea);
  void FlushPresentation();
  // Resizes the back buffer to the window's size (keeping old pixels).
  void ResizeSurface(Window* topLevel);

  // ---- Timers ----
  std::vector<Timer> Timers;
  UINT_PTR NextTimerId = 0x7FFF;
  // The earliest due time, none without timers.
  std::optional<std::uint64_t> NextTimerDue() const;
  // Takes a due timer as a WM_TIMER message (due again one period from now,
  // however late it is: ticks coalesce).
  bool TakeDueTimer(TMsg& message, bool remove);

  // Set while a change the platform reported (bounds, minimised) is
  // applied, so that it is not sent back to the platform.
  bool ApplyingPlatformChange = false;
  // The Alt key went up with no other key pressed since it went down.
  bool AltReleasedAlone = false;

  // ---- Input state ----
  HWND Active = nullptr;
  HWND Focus = nullptr;
  HWND Capture = nullptr;
  std::vector<MouseLeaveTracking> LeaveTracking;
  // The window and hit-test code of the last mouse move, for WM_SETCURSOR
  // and the leave tracking.
  HWND MouseWindow = nullptr;
  LRESULT MouseHitTest = 0;
  gfx::Point LastScreenPoint;
  // The native window of the last pointer event: SetCursor shapes it.
  platform::NativeWindow PointerNative = platform::NoWindow;
  // Double-click detection: the last button press.
  HWND LastClickWindow = nullptr;
  UINT LastClickMessage = 0;
  std::uint64_t LastClickTime = 0;
  gfx::Point LastClickPoint;
  // Alt was pressed and no other key since (its release opens the menu).
  bool AltAlone = false;
  // Modifier and button state of the last input event.
  std::uint8_t Modifiers = 0;
  std::uint8_t Buttons = 0;
  // The key whose character SwallowCharOfKey claimed (0: none), and
  // whether F10 went down without Shift (its release opens the menu).
  int ClaimedCharKey = 0;
  bool F10Alone = false;
  // Applies the claim to input being taken from the queue: true when the
  // message is the claimed character and goes nowhere. A key down ends the
  // claim, and so do the claimed key's release and any character.
  bool DropClaimedInput(const TMsg& message);

  // Activates the top-level window (nullptr: none of ours); how is WA_ACTIVE
  // or WA_CLICKACTIVE. TellPlatform is false when the platform reported the
  // change itself.
  enum class TellPlatform { No, Yes };
  void Activate(HWND topLevel, WPARAM how, TellPlatform tell);
  void ChangeFocus(HWND window);
  void ChangeCapture(HWND window);
  // Posts WM_MOUSELEAVE/WM_NCMOUSELEAVE to tracking windows the pointer
  // is no longer over.
  void CheckMouseLeave(HWND window, LRESULT hitTest, gfx::Point screen);

  // ---- Destruction ----
  // Everything the window system holds about a window goes in one place:
  // children list, focus, activation, capture, leave tracking, timers,
  // queued messages, pending paint, ownership, the native window.
  void ForgetWindow(Window* window);
};

// The WM_GETMINMAXINFO defaults of a top-level window: maximised on its
// monitor's work area, tracking sizes from its frame and the screen.
MinMaxInfo DefaultMinMaxInfo(const Window* window);

// The state of the current window system; throws core::EInvalidOperation
// when there is none.
Desktop& CurrentDesktop();
// The same, or nullptr.
Desktop* CurrentDesktopOrNull();

}  // namespace ui
