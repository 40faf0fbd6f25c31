#pragma once

#include <exception>
#include <functional>
#include <memory>

#include "platform/NativeWindow.h"
#include "platform/Platform.h"
#include "ui/windowing/WindowTypes.h"

namespace ui {

class Desktop;

// The window system of the GUI thread: it owns the platform backend and
// every window, queue and timer. Exactly one exists while windows are used;
// the window functions (CreateWindowEx, SendMessage ...) work on it.
//
//   ui::WindowSystem system(platform::CreatePlatform());
class WindowSystem {
 public:
  explicit WindowSystem(std::unique_ptr<platform::Platform> platform);
  // Windows still alive are dropped without messages: their procedures may
  // refer to objects already gone. Destroy windows that must clean up
  // before the window system ends.
  ~WindowSystem();
  WindowSystem(const WindowSystem&) = delete;
  WindowSystem& operator=(const WindowSystem&) = delete;

  // The window system in use, nullptr when none.
  static WindowSystem* Current();

  platform::Platform& Platform() { return *FPlatform; }
  // The native window behind a top-level window (NoWindow for child and
  // message-only windows), and back.
  platform::NativeWindow NativeWindowOf(HWND window) const;
  HWND WindowFromNative(platform::NativeWindow native) const;

  // Called with an exception that leaves a handler dispatched by
  // ProcessMessages or RunMessageLoop; without one the exception goes on
  // to the caller of those.
  void SetErrorHandler(std::function<void(std::exception_ptr)> handler);

  // The internal state, for the window system's own files.
  Desktop& State() { return *FDesktop; }

 private:
  std::unique_ptr<platform::Platform> FPlatform;
  std::unique_ptr<Desktop> FDesktop;
};

}  // namespace ui
