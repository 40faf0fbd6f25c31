#pragma once

#include "core/Component.h"
#include "ui/classlib/Events.h"
#include "ui/windowing/WindowTypes.h"

namespace ui {

template <class T>
class TPropertyList;

// Raises OnTimer every Interval milliseconds while Enabled, from the
// message loop (a WM_TIMER of a hidden window of its own). Interval 0 or
// no OnTimer stops it.
class TTimer : public core::TComponent {
 public:
  using inherited = core::TComponent;
  static void DefineProperties(TPropertyList<TTimer>& list);

  explicit TTimer(core::TComponent* owner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned interval);
  // Assigning it through SetOnTimer restarts the timer as needed.
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent handler);

  void Loaded() override;

 protected:
  // Raises OnTimer; the handler may destroy the timer.
  virtual void Timer();

 private:
  void UpdateTimer();

  bool FEnabled = true;
  unsigned FInterval = 1000;
  TNotifyEvent FOnTimer;
  HWND FWindow = nullptr;
  bool FRunning = false;
};

}  // namespace ui
