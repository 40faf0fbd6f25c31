#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Color.h"
#include "gfx/Region.h"
#include "platform/Platform.h"
#include "platform/VirtualKeys.h"
#include "platform/headless/HeadlessNotifyIcon.h"

namespace platform::headless {

// What the clock does when the window system waits with a time-out.
enum class WaitClock : std::uint8_t {
  // Nothing: the test moves the clock with AdvanceClock. A wait returns at
  // once, so a loop that only waits for a timer spins until the test acts.
  Still,
  // The clock jumps forward by the time-out, so a program that waits for
  // its timers runs through them without real waiting.
  AdvanceOnWait,
};

struct HeadlessOptions {
  gfx::Size ScreenSize{1024, 768};
  // Work area of the single monitor made when Monitors is empty; the
  // default leaves 28 pixels for a task bar at the bottom.
  gfx::Rect WorkArea{0, 0, 1024, 740};
  // Several monitors inside the screen, the primary first; empty for one
  // monitor covering the screen.
  std::vector<Monitor> Monitors;
  // Shown where no window covers the screen.
  gfx::Pixel DesktopPixel = gfx::MakePixel(0x3A, 0x6E, 0xA5);
  int DoubleClickTime = 500;
  std::string ProgramFilePath = "/opt/ostvane/ostvane";
  WaitClock Clock = WaitClock::Still;
  // Where the clock starts; not 0, so that "never" stays distinguishable.
  std::uint64_t StartTime = 1000000;
};

// A desktop in memory. Windows are rectangles with a z-order, a shape, an
// opacity and the pixels last presented to them; tests inject mouse and
// keyboard input at screen positions and read back the pixels of a window
// or of the whole screen. Deterministic: the clock moves only when the
// test says so (or, with WaitClock::AdvanceOnWait, when the program waits).
class HeadlessPlatform : public Platform {
 public:
  explicit HeadlessPlatform(HeadlessOptions options = {});
  ~HeadlessPlatform() override;

  // ---- Platform ----
  std::string_view Name() const override { return "headless"; }
  NativeWindow CreateWindow(const WindowOptions& options) override;
  void DestroyWindow(NativeWindow window) override;
  void SetWindowBounds(NativeWindow window, const gfx::Rect& bounds) override;
  void ShowWindow(NativeWindow window, ShowMode mode) override;
  void SetWindowState(NativeWindow window, WindowState state) override;
  void SetWindowTitle(NativeWindow window, std::string_view title) override;
  void SetWindowIcon(NativeWindow window, const gfx::Bitmap& icon) override;
  void SetWindowShape(NativeWindow window, const gfx::Region* shape) override;
  void SetWindowOpacity(NativeWindow window, std::uint8_t opacity) override;
  void PresentWindow(NativeWindow window, const gfx::Bitmap& surface,
                     const gfx::Rect& dirty) override;
  void ActivateWindow(NativeWindow window) override;
  void RaiseWindow(NativeWindow window) override;
  void LowerWindow(NativeWindow window) override;
  void SetWindowTopmost(NativeWindow window, bool topmost) override;
  void GrabPointer(NativeWindow window) override;
  void ReleasePointer() override;
  void SetWindowCursor(NativeWindow window, CursorShape shape) override;
  bool NextEvent(Event& event) override;
  void WaitForEvent(int timeoutMilliseconds) override;
  void Wake() override;
  std::uint64_t Now() override;
  std::string ClipboardText() override;
  void SetClipboardText(std::string_view text) override;
  gfx::Point CursorPosition() override { return FCursor; }
  void SetCursorPosition(gfx::Point position) override;
  bool IsKeyDown(int virtualKey) override;
  std::vector<Monitor> Monitors() override { return FMonitors; }
  int DoubleClickTime() override { return FOptions.DoubleClickTime; }
  void Beep() override { ++FBeeps; }
  std::string ProgramFilePath() override { return FOptions.ProgramFilePath; }
  bool CaptureScreen(const gfx::Rect& area, gfx::Bitmap& picture) override;
  NotifyIconService* NotifyIcons() override { return &FNotifyIconArea; }

  // ---- Clock ----
  void AdvanceClock(std::uint64_t milliseconds);
  void SetWaitClock(WaitClock clock) { FOptions.Clock = clock; }

  // ---- Input, as a user would give it ----
  // Moves the pointer to a screen position; the grabbing window, else,
  // while a button is held, the window that got the press (as the X
  // server's automatic grab does), else the topmost visible window whose
  // shape holds the point, gets the move (and enter/leave when that window
  // changes, except while a grab holds the pointer).
  void MoveMouse(gfx::Point screen);
  void PressMouse(MouseButton button);
  void ReleaseMouse(MouseButton button);
  // Move, press and release.
  void Click(gfx::Point screen, MouseButton button = MouseButton::Left);
  // Wheel notches (120 each), positive away from the user, to the window
  // under the pointer.
  void TurnWheel(int notches);
  // Key down (a repeat when the key is already down) and key up, to the
  // focused window. Modifier keys change the modifiers of later events.
  void PressKey(int virtualKey);
  void ReleaseKey(int virtualKey);
  // Down, the key's character when it has one (letters follow Shift), up.
  void StrokeKey(int virtualKey);
  // Text events to the focused window, one per character.
  void TypeText(std::string_view utf8);
  // Any event, queued as it stands (for events the helpers above do not
  // make: close requests, exposes, state changes by the system).
  void InjectEvent(const Event& event);
  // The system asks the window to close (the window manager's close).
  void RequestClose(NativeWindow window);
  // The user activates another window by the system (task bar, Alt+Tab),
  // or, with NoWindow, another program's window.
  void SystemActivate(NativeWindow window);

  // ---- Reading back ----
  bool IsWindow(NativeWindow window) const { return FWindows.count(window) != 0; }
  bool IsVisible(NativeWindow window) const;
  gfx::Rect Bounds(NativeWindow window) const;
  std::string Title(NativeWindow window) const;
  WindowKind Kind(NativeWindow window) const;
  WindowState State(NativeWindow window) const;
  std::uint8_t Opacity(NativeWindow window) const;
  bool IsTopmost(NativeWindow window) const;
  // The shape in window coordinates, none for a rectangular window.
  std::optional<gfx::Region> Shape(NativeWindow window) const;
  const gfx::Bitmap& Icon(NativeWindow window) const;
  CursorShape Cursor(NativeWindow window) const;
  // The shape of the pointer where it is now (the grabbing window's or the
  // window's under it; an arrow over the desktop).
  CursorShape CurrentCursor() const;
  // The pixels last presented to the window (black where nothing was).
  const gfx::Bitmap& Pixels(NativeWindow window) const;
  // Area of the last PresentWindow call and the number of calls.
  gfx::Rect LastPresentedArea(NativeWindow window) const;
  int PresentCount(NativeWindow window) const;
  // The whole screen as a user sees it: the desktop, then every visible,
  // not minimised window from the bottom up, cut to its shape and blended
  // with its opacity.
  gfx::Bitmap Screen() const;
  // The topmost window the user sees at the point (NoWindow: desktop).
  NativeWindow WindowAt(gfx::Point screen) const;
  // Windows bottom to top, hidden ones included.
  std::vector<NativeWindow> ZOrder() const { return FZOrder; }
  NativeWindow FocusWindow() const { return FFocus; }
  NativeWindow GrabWindow() const { return FGrab; }
  int BeepCount() const { return FBeeps; }
  std::size_t PendingEventCount() const;
  // The notification area: its record of calls, its switches and the
  // notices a test sends from it.
  HeadlessNotifyIcon& NotifyIconArea() { return FNotifyIconArea; }

 private:
  struct NativeWindowData {
    WindowKind Kind = WindowKind::Normal;
    bool Topmost = false;
    gfx::Rect Bounds;
    std::string Title;
    bool Visible = false;
    WindowState State = WindowState::Normal;
    std::uint8_t Opacity = 255;
    std::optional<gfx::Region> Shape;
    gfx::Bitmap Icon;
    CursorShape Cursor = CursorShape::Arrow;
    gfx::Bitmap Pixels;
    gfx::Rect LastPresented;
    int Presents = 0;
  };

  NativeWindowData* Find(NativeWindow window);
  const NativeWindowData* Find(NativeWindow window) const;
  bool ShowsAt(const NativeWindowData& data, gfx::Point screen) const;
  void Raise(NativeWindow window);
  // Changes the program asked for are not reported back as events; those
  // the "user" makes through the system are.
  enum class FocusReport { Silent, Report };
  void SetFocus(NativeWindow window, FocusReport report);
  // The window that gets pointer events now: the grab, else under pointer.
  NativeWindow PointerTarget() const;
  void UpdateHover();
  Event MouseEvent(EventKind kind, NativeWindow window) const;
  Event KeyEvent(EventKind kind, int virtualKey) const;
  std::uint8_t Modifiers() const;
  void Queue(Event event);

  HeadlessOptions FOptions;
  std::vector<Monitor> FMonitors;
  std::map<NativeWindow, NativeWindowData> FWindows;
  std::vector<NativeWindow> FZOrder;
  NativeWindow FNextWindow = 1;
  NativeWindow FFocus = NoWindow;
  NativeWindow FGrab = NoWindow;
  // The window that got the first press while buttons are held.
  NativeWindow FPressGrab = NoWindow;
  NativeWindow FHover = NoWindow;
  gfx::Point FCursor;
  std::uint8_t FButtons = 0;
  std::array<bool, VirtualKeyCount> FKeys{};
  std::string FClipboard;
  int FBeeps = 0;
  std::uint64_t FNow;

  // Events may be injected and Wake called from another thread of a test.
  mutable std::mutex FMutex;
  std::condition_variable FSignal;
  std::deque<Event> FEvents;
  bool FWakePending = false;

  HeadlessNotifyIcon FNotifyIconArea{*this};
};

}  // namespace platform::headless
