#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/Platform.h"
#include "platform/VirtualKeys.h"
#include "platform/x11/NotifyIconX11.h"
#include "platform/x11/PixelFormat.h"

// Xlib's types, declared without its header so that users of this class do
// not get Xlib's macros.
struct _XDisplay;
struct _XGC;
struct _XIM;
struct _XIC;
union _XEvent;

namespace platform::x11 {

// An X resource id (Window, Atom, Cursor), as Xlib defines them.
using XId = unsigned long;

// The platform on an X11 display through Xlib. Normal windows are
// undecorated managed top-level windows, popups are override-redirect
// windows the window manager never touches, hidden windows exist only on
// our side. Input arrives translated into platform events; the pixels go to
// the server with XPutImage of the changed rectangle only.
class X11Platform : public Platform {
 public:
  // Opens the display named (nullptr: $DISPLAY). Throws std::runtime_error
  // naming the display when it cannot be opened.
  explicit X11Platform(const char* displayName = nullptr);
  ~X11Platform() override;
  X11Platform(const X11Platform&) = delete;
  X11Platform& operator=(const X11Platform&) = delete;

  // ---- Platform ----
  std::string_view Name() const override { return "x11"; }
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
  gfx::Point CursorPosition() override;
  void SetCursorPosition(gfx::Point position) override;
  bool IsKeyDown(int virtualKey) override;
  std::vector<Monitor> Monitors() override;
  int DoubleClickTime() override;
  void Beep() override;
  std::string ProgramFilePath() override;
  bool CaptureScreen(const gfx::Rect& area, gfx::Bitmap& picture) override;
  // Made at the first call (it opens an X and a bus connection of its own).
  NotifyIconService* NotifyIcons() override;

  // ---- For tests and tools of this backend ----
  _XDisplay* XDisplay() const { return FDisplay; }
  // The X window behind a native window; 0 for hidden windows and values
  // that name no window.
  XId XWindow(NativeWindow window) const;
  // The server's image format for the windows' visual.
  const PixelFormat& ServerPixelFormat() const { return FFormat; }
  // True when an input method gives the text of key presses; false when
  // the backend reads it from the key symbols itself.
  bool HasInputMethod() const { return FInputContext != nullptr; }

 private:
  // Program-side bookkeeping of one native window.
  struct WindowData {
    WindowKind Kind = WindowKind::Normal;
    XId Handle = 0;  // 0 for hidden windows
    // The outer rectangle as the program knows it: what it asked for, or
    // what a BoundsChanged event told it.
    gfx::Rect Bounds;
    // Rectangles asked for that the server has not confirmed yet, with the
    // time of asking; a ConfigureNotify for one of them is our own change.
    std::deque<std::pair<gfx::Rect, std::uint64_t>> PendingBounds;
    bool Mapped = false;
    WindowState State = WindowState::Normal;
    // A state asked for and not yet confirmed by the window manager, with
    // the time of asking.
    bool StatePending = false;
    std::uint64_t StateAskedAt = 0;
    // Expose rectangles of one burst, reported together.
    gfx::Rect ExposeArea;
  };

  // ---- Setup (X11Platform.cpp) ----
  void InternAtoms();
  void ReadPixelFormat();
  void OpenInputMethod();
  void SetNormalHints(const WindowData& data);
  void SetCardinalProperty(XId window, XId property, const std::vector<long>& values);
  WindowData* Find(NativeWindow window);
  const WindowData* Find(NativeWindow window) const;
  NativeWindow FromHandle(XId handle) const;
  bool HasWindowManager();
  void SendWindowManagerMessage(XId window, XId type, const std::array<long, 5>& data);
  void RequestActivation(NativeWindow window, WindowData& data);
  // The program moved the focus to window (NoWindow: away from us).
  void SetProgramFocus(NativeWindow window);
  void PresentConverted(XId handle, const gfx::Bitmap& surface, const gfx::Rect& area);

  // ---- Events (X11Platform.Events.cpp) ----
  // Reads every event the connection holds and translates it; true when
  // the connection had any.
  bool PumpEvents();
  void Translate(_XEvent& event);
  void TranslateButton(_XEvent& event, NativeWindow window);
  void TranslateKey(_XEvent& event, NativeWindow window);
  void TranslateCrossing(_XEvent& event, NativeWindow window);
  void TranslateFocus(_XEvent& event, NativeWindow window);
  void TranslateConfigure(NativeWindow window, WindowData& data, int width, int height);
  void TranslateProperty(_XEvent& event, NativeWindow window);
  void CheckPendingChanges();
  // Milliseconds until CheckPendingChanges has something to settle, -1
  // when nothing waits.
  int PendingChangeDelay();
  void ReportFocus(NativeWindow window);
  void Queue(Event event);
  std::uint64_t EventTime(unsigned long serverTime);
  std::uint8_t ButtonsAfter(unsigned state, int changedButton, bool pressed) const;
  // The state the window manager gives the window; none while withdrawn.
  std::optional<WindowState> ReadWindowState(XId handle);
  gfx::Point RootPosition(XId handle);

  // ---- Services (X11Platform.Services.cpp) ----
  void AnswerSelectionRequest(_XEvent& event);
  bool WaitForSelectionEvent(_XEvent& event, int type, std::uint64_t deadline);
  std::string ReadSelectionProperty(std::uint64_t deadline);
  unsigned long ServerTime();
  XId CursorOf(CursorShape shape);
  std::vector<gfx::Rect> WorkAreas();

  _XDisplay* FDisplay = nullptr;
  int FScreen = 0;
  XId FRoot = 0;
  _XGC* FGc = nullptr;
  int FDepth = 24;
  PixelFormat FFormat;
  bool FHasShape = false;
  bool FHasRandr = false;
  _XIM* FInputMethod = nullptr;
  _XIC* FInputContext = nullptr;
  // The window the input context is bound to; key events of other windows
  // rebind it.
  XId FInputContextWindow = 0;
  int FWakeDescriptor = -1;  // an eventfd that Wake writes to

  // Atoms by name, interned once.
  struct AtomSet {
    XId WmProtocols, WmDeleteWindow, WmState, WmChangeState, MotifWmHints;
    XId NetWmName, NetWmIconName, NetWmIcon, NetWmPid, NetWmWindowType,
        NetWmWindowTypeNormal, NetWmWindowTypePopupMenu, NetWmState, NetWmStateHidden,
        NetWmStateAbove, NetWmStateSkipTaskbar, NetWmWindowOpacity, NetActiveWindow,
        NetWorkArea, NetCurrentDesktop, NetSupportingWmCheck, NetWmUserTime;
    XId Utf8String, Clipboard, Targets, Text, Timestamp, Incr, Multiple, SelectionProperty,
        TimeProperty;
  } FAtoms{};

  std::map<NativeWindow, WindowData> FWindows;
  std::unordered_map<XId, NativeWindow> FByHandle;
  NativeWindow FNextWindow = 1;

  // The window the program knows to have the focus (given by the program
  // or reported to it). After the program changed it, the window manager's
  // answers trickle in for a while (FocusSettling): they are not news.
  NativeWindow FFocus = NoWindow;
  bool FFocusSettling = false;
  std::uint64_t FFocusChangedAt = 0;
  NativeWindow FGrab = NoWindow;
  NativeWindow FHover = NoWindow;

  // Buttons 8 and 9 (X1, X2), which the core protocol's state lacks.
  std::uint8_t FExtraButtons = 0;
  // Keys down by key code, for telling repeats from presses.
  std::array<bool, 256> FKeysDown{};
  std::deque<Event> FEvents;
  // The last server timestamp seen in an event, for requests that need one.
  unsigned long FLastServerTime = 0;
  // Offset from server time to Now() (milliseconds), set with the first
  // timed event.
  bool FHaveTimeOffset = false;
  std::int64_t FTimeOffset = 0;

  // The clipboard: a window that owns the selection and receives the
  // answers of other owners, and the text we serve.
  XId FClipboardWindow = 0;
  std::string FClipboardText;
  unsigned long FClipboardTime = 0;
  std::map<CursorShape, XId> FCursors;
  // Server-side scratch for converted image rows when the server's format
  // differs from the bitmap's.
  std::vector<std::uint8_t> FConversion;
  // The notification area; polled and pumped with the display once made.
  std::unique_ptr<NotifyIconX11> FNotifyIcons;
};

}  // namespace platform::x11
