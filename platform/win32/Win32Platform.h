#pragma once

#include <deque>
#include <memory>
#include <unordered_map>

#include "platform/Platform.h"

namespace platform::win32 {

class Win32NotifyIcons;

// The Win32 backend: one HWND per shown kind of window (hidden windows get
// none), the window system's bitmap presented with GDI from a copy the
// backend keeps, so that WM_PAINT repaints without asking the program.
// Input is translated once in the window procedure into Events queued for
// NextEvent.
class Win32Platform final : public Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;

  std::string_view Name() const override { return "win32"; }

  NativeWindow CreateWindow(const WindowOptions& options) override;
  void DestroyWindow(NativeWindow window) override;
  void SetWindowBounds(NativeWindow window, const gfx::Rect& bounds) override;
  void ShowWindow(NativeWindow window, ShowMode mode) override;
  void SetWindowState(NativeWindow window, WindowState state) override;
  void SetWindowTitle(NativeWindow window, std::string_view title) override;
  void SetWindowIcon(NativeWindow window, const gfx::Bitmap& icon) override;
  void SetWindowShape(NativeWindow window, const gfx::Region* shape) override;
  void SetWindowOpacity(NativeWindow window, std::uint8_t opacity) override;
  void PresentWindow(NativeWindow window, const gfx::Bitmap& surface, const gfx::Rect& dirty) override;
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
  NotifyIconService* NotifyIcons() override;

  // The native handle of a window (nullptr for none or a hidden one), for
  // the backend's tests.
  void* WindowHandle(NativeWindow window) const;

  struct WindowRecord;
  // Called by the window procedure.
  void Post(Event event);
  void PostNotifyIcon(std::uintptr_t owner, std::uintptr_t id, std::uint32_t message, std::uint32_t code);

 private:
  WindowRecord* Find(NativeWindow window) const;
  void Pump();

  std::unordered_map<NativeWindow, std::unique_ptr<WindowRecord>> FWindows;
  NativeWindow FNextWindow = 1;
  std::deque<Event> FEvents;
  void* FWakeEvent = nullptr;
  std::unique_ptr<Win32NotifyIcons> FNotifyIcons;
};

}  // namespace platform::win32
