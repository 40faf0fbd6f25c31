#include "ui/classlib/ExtCtrls.h"

#include "ui/classlib/Forms.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/Timers.h"
#include "ui/windowing/WindowClass.h"
#include "ui/windowing/Windows.h"

namespace ui {

namespace {
const char* const TimerClassName = "OstvaneTimer";
constexpr UINT_PTR TimerId = 1;
}  // namespace

TTimer::TTimer(core::TComponent* owner) : core::TComponent(owner) {}

TTimer::~TTimer() {
  FOnTimer = nullptr;
  if (FWindow) {
    HWND window = FWindow;
    FWindow = nullptr;
    DestroyWindow(window);
  }
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned interval) {
  if (interval == FInterval) return;
  FInterval = interval;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  FOnTimer = std::move(handler);
  UpdateTimer();
}

void TTimer::Loaded() {
  core::TComponent::Loaded();
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (FRunning && FWindow) KillTimer(FWindow, TimerId);
  FRunning = false;
  // Stored values take effect once the whole layout is read.
  if (ComponentState().Contains(core::csLoading)) return;
  if (!FEnabled || FInterval == 0 || !FOnTimer) return;
  if (!FWindow) {
    WindowClass windowClass;
    windowClass.Name = TimerClassName;
    RegisterClass(windowClass);
    FWindow = CreateWindowEx(0, TimerClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE);
    if (!FWindow) return;
    SetWindowProc(FWindow, MakeWindowProc([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message == WM_TIMER && wParam == TimerId) {
        try {
          Timer();
        } catch (...) {
          if (!Application) throw;
          Application->HandleException(this);
        }
        return 0;
      }
      return DefWindowProc(window, message, wParam, lParam);
    }));
  }
  FRunning = SetTimer(FWindow, TimerId, FInterval) != 0;
}

void TTimer::Timer() {
  if (FEnabled && FOnTimer) {
    // A copy: the handler may replace the event or destroy the timer.
    TNotifyEvent handler = FOnTimer;
    handler(this);
  }
}

}  // namespace ui
