#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_set>

#include "ui/windowing/WindowTypes.h"

namespace tray {

class TSimpleTimer;

// Called on every tick with the timer as Sender.
using TSimpleTimerEvent = std::function<void(TSimpleTimer* Sender)>;

// A light periodic timer that is no component: no owner, no window of its
// own. Every simple timer of the program ticks through one shared hidden
// window (TSimpleTimerHandler), with the timer's own address as the timer
// id. Ticks are window messages, so they arrive only while the message loop
// runs, and several missed periods give a single tick.
//
// Running says whether the timer is wanted running. A period of 0 or a
// missing tick handler suspends the system timer while Running stays true;
// a nonzero period (SetPeriod) resumes it.
class TSimpleTimer {
 public:
  // Period 1000 ms, no tick handler, stopped.
  TSimpleTimer();
  // Stopped, with the given period and tick handler.
  TSimpleTimer(std::uint32_t periodMs, TSimpleTimerEvent onTick);
  // May be destroyed inside its own tick handler.
  ~TSimpleTimer();
  TSimpleTimer(const TSimpleTimer&) = delete;
  TSimpleTimer& operator=(const TSimpleTimer&) = delete;

  // The id the system timer carries: the object itself.
  std::uintptr_t TimerId() const { return FTimerId; }
  bool Running() const { return FRunning; }
  // true starts (or restarts, from a full period) the timer; with period 0
  // nothing is started and Running stays false. false stops it.
  void SetRunning(bool value);
  std::uint32_t PeriodMs() const { return FPeriodMs; }
  // The same period again changes nothing (the phase stays). Another one
  // restarts a running timer with it; 0 suspends a running timer.
  void SetPeriod(std::uint32_t ms);
  const TSimpleTimerEvent& OnTick() const { return FOnTick; }
  // An empty handler suspends a running timer; a new handler later does not
  // resume it by itself.
  void SetTickHandler(TSimpleTimerEvent handler);

 protected:
  // Arms the system timer; false (and nothing changed) for period 0 or when
  // the system refuses.
  bool StartTicking();
  // Disarms the system timer; clearRunning also marks the timer stopped.
  void StopTicking(bool clearRunning);

 private:
  friend class TSimpleTimerHandler;

  std::uintptr_t FTimerId = 0;
  bool FRunning = false;
  std::uint32_t FPeriodMs = 1000;
  TSimpleTimerEvent FOnTick;
};

// The hidden window all simple timers share. It exists while at least one
// timer exists: the first timer creates it, the last one destroys it.
class TSimpleTimerHandler {
 public:
  // The shared handler, nullptr while no timer exists.
  static TSimpleTimerHandler* Instance();

  std::uint32_t UserCount() const { return FUserCount; }
  // The shared window (made again if the window system took it away).
  ui::HWND Handle();

  ~TSimpleTimerHandler();
  TSimpleTimerHandler(const TSimpleTimerHandler&) = delete;
  TSimpleTimerHandler& operator=(const TSimpleTimerHandler&) = delete;

 private:
  friend class TSimpleTimer;
  TSimpleTimerHandler() = default;

  static TSimpleTimerHandler& Acquire(TSimpleTimer* timer);
  static void Release(TSimpleTimer* timer);
  static ui::LRESULT WindowProcedure(ui::HWND window, ui::UINT message, ui::WPARAM wParam,
                                     ui::LPARAM lParam);

  std::uint32_t FUserCount = 0;
  ui::HWND FHandle = nullptr;
  // The live timers: a tick whose id names none of them (a stale or forged
  // message) is ignored instead of being taken for an object.
  std::unordered_set<std::uintptr_t> FTimers;
};

}  // namespace tray
