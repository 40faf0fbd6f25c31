#include "tray/SimpleTimer.h"

#include <utility>

#include "tray/MessageWindow.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/Timers.h"
#include "ui/windowing/Windows.h"

namespace tray {

namespace {

// Destroyed at program end if a timer was never freed.
std::unique_ptr<TSimpleTimerHandler> SharedHandler;

}  // namespace

// ---- TSimpleTimerHandler ------------------------------------------------

TSimpleTimerHandler* TSimpleTimerHandler::Instance() { return SharedHandler.get(); }

TSimpleTimerHandler& TSimpleTimerHandler::Acquire(TSimpleTimer* timer) {
  if (!SharedHandler) {
    SharedHandler.reset(new TSimpleTimerHandler);
    SharedHandler->FHandle = CreateMessageWindow(&TSimpleTimerHandler::WindowProcedure);
  }
  ++SharedHandler->FUserCount;
  SharedHandler->FTimers.insert(timer->FTimerId);
  return *SharedHandler;
}

void TSimpleTimerHandler::Release(TSimpleTimer* timer) {
  if (!SharedHandler) return;
  SharedHandler->FTimers.erase(timer->FTimerId);
  if (SharedHandler->FUserCount > 0) --SharedHandler->FUserCount;
  if (SharedHandler->FUserCount == 0) SharedHandler.reset();
}

TSimpleTimerHandler::~TSimpleTimerHandler() { DestroyMessageWindow(FHandle); }

ui::HWND TSimpleTimerHandler::Handle() {
  // A window system that ended (and a new one that started) took the old
  // window with it; timers made since then need a new one.
  if (!FHandle || !ui::IsWindow(FHandle)) {
    FHandle = CreateMessageWindow(&TSimpleTimerHandler::WindowProcedure);
  }
  return FHandle;
}

ui::LRESULT TSimpleTimerHandler::WindowProcedure(ui::HWND window, ui::UINT message,
                                                 ui::WPARAM wParam, ui::LPARAM lParam) {
  if (message != ui::WM_TIMER) return ui::DefWindowProc(window, message, wParam, lParam);
  if (!SharedHandler || !SharedHandler->FTimers.contains(wParam)) return 0;
  auto* timer = reinterpret_cast<TSimpleTimer*>(wParam);
  if (timer->FOnTick) {
    // A copy: the handler may replace itself or destroy the timer.
    TSimpleTimerEvent tick = timer->FOnTick;
    tick(timer);
  }
  return 0;
}

// ---- TSimpleTimer -------------------------------------------------------

TSimpleTimer::TSimpleTimer() : TSimpleTimer(1000, nullptr) {}

TSimpleTimer::TSimpleTimer(std::uint32_t periodMs, TSimpleTimerEvent onTick)
    : FTimerId(reinterpret_cast<std::uintptr_t>(this)),
      FPeriodMs(periodMs),
      FOnTick(std::move(onTick)) {
  TSimpleTimerHandler::Acquire(this);
}

TSimpleTimer::~TSimpleTimer() {
  if (FRunning) StopTicking(true);
  TSimpleTimerHandler::Release(this);
}

void TSimpleTimer::SetRunning(bool value) {
  if (value) {
    StartTicking();
  } else {
    StopTicking(true);
  }
}

bool TSimpleTimer::StartTicking() {
  if (FPeriodMs == 0) return false;
  if (FRunning) StopTicking(true);
  TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance();
  if (!handler) return false;
  if (ui::SetTimer(handler->Handle(), FTimerId, FPeriodMs) == 0) return false;
  FRunning = true;
  return true;
}

void TSimpleTimer::StopTicking(bool clearRunning) {
  if (clearRunning) FRunning = false;
  if (TSimpleTimerHandler* handler = TSimpleTimerHandler::Instance()) {
    // No such timer (already suspended) is no error.
    ui::KillTimer(handler->FHandle, FTimerId);
  }
}

void TSimpleTimer::SetPeriod(std::uint32_t ms) {
  if (ms == FPeriodMs) return;
  FPeriodMs = ms;
  if (!FRunning) return;
  if (ms != 0) {
    StartTicking();
  } else {
    StopTicking(false);
  }
}

void TSimpleTimer::SetTickHandler(TSimpleTimerEvent handler) {
  FOnTick = std::move(handler);
  if (!FOnTick && FRunning) StopTicking(false);
}

}  // namespace tray
