#include "ui/windowing/Timers.h"

#include <algorithm>

#include "ui/windowing/Desktop.h"
#include "ui/windowing/Messages.h"

namespace ui {

std::optional<std::uint64_t> Desktop::NextTimerDue() const {
  std::optional<std::uint64_t> due;
  for (const Timer& t : Timers) {
    if (!due || t.Due < *due) due = t.Due;
  }
  return due;
}

bool Desktop::TakeDueTimer(TMsg& message, bool remove) {
  std::uint64_t now = Platform.Now();
  Timer* earliest = nullptr;
  for (Timer& t : Timers) {
    if (t.Due <= now && (!earliest || t.Due < earliest->Due)) earliest = &t;
  }
  if (!earliest) return false;
  message = TMsg{earliest->Window, WM_TIMER, earliest->Id, 0, now, LastScreenPoint};
  // One tick however many periods passed; the next a full period on.
  if (remove) earliest->Due = now + earliest->Period;
  return true;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TimerProcedure procedure) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return 0;
  if (window && !desktop->Find(window)) return 0;
  if (!window) {
    if (!procedure) return 0;
    id = desktop->NextTimerId++;
  }
  UINT period = std::max(elapse, USER_TIMER_MINIMUM);
  std::uint64_t due = desktop->Platform.Now() + period;
  auto existing = std::find_if(desktop->Timers.begin(), desktop->Timers.end(),
                               [&](const Timer& t) { return t.Window == window && t.Id == id; });
  if (existing != desktop->Timers.end()) {
    existing->Period = period;
    existing->Due = due;
    existing->Procedure = std::move(procedure);
  } else {
    desktop->Timers.push_back(Timer{window, id, period, due, std::move(procedure)});
  }
  return id ? id : 1;
}

bool KillTimer(HWND window, UINT_PTR id) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return false;
  auto count = std::erase_if(desktop->Timers, [&](const Timer& t) { return t.Window == window && t.Id == id; });
  return count != 0;
}

}  // namespace ui
