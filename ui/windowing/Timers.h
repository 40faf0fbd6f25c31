#pragma once

#include <cstdint>
#include <functional>

#include "ui/windowing/WindowTypes.h"

namespace ui {

// Called for WM_TIMER of a timer that has one, instead of the window
// procedure: (window, WM_TIMER, id, tick count).
using TimerProcedure = std::function<void(HWND, UINT, UINT_PTR, std::uint32_t)>;

// Starts (or restarts, with a new period) the timer id of a window; it
// posts WM_TIMER with wParam = id every elapse milliseconds (at least
// USER_TIMER_MINIMUM). A timer is one pending tick, not a count: a thread
// that was busy for several periods gets a single WM_TIMER, and the next
// one a full period later. Without a window, a fresh id is returned and
// the procedure is required. Returns the id (1 for id 0), 0 on failure.
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TimerProcedure procedure = {});
// False when there was no such timer.
bool KillTimer(HWND window, UINT_PTR id);

}  // namespace ui
