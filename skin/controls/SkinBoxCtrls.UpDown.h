#pragma once

// A pair of skinned step buttons ("hupdown" or "vupdown" sections).
//
//   input                     effect
//   press on a button         Position +/- Increment at once, repeat after
//                             500 ms every 100 ms
//   pointer off that button   the repeat pauses
//   pointer back on it        the repeat resumes after 50 ms
//   release                   the repeat stops
// Position outside Min..Max is ignored (not clamped); an accepted one
// raises OnChange.

#include "skin/controls/SkinCtrls.Control.h"
#include "ui/stdcontrols/ComCtrls.h"

namespace skin {

class TskSkinUpDown : public TskSkinCustomControl {
 public:
  using inherited = TskSkinCustomControl;
  static void DefineProperties(ui::TPropertyList<TskSkinUpDown>& list);

  static constexpr ui::UINT_PTR RepeatTimerId = 1;
  static constexpr unsigned FirstDelay = 500;
  static constexpr unsigned RepeatDelay = 100;
  static constexpr unsigned ResumeDelay = 50;
  enum Button { UpButton = 0, DownButton = 1, NoButton = -1 };

  explicit TskSkinUpDown(core::TComponent* owner);
  ~TskSkinUpDown() override;

  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool value);
  ui::TUDOrientation Orientation() const { return FOrientation; }
  void SetOrientation(ui::TUDOrientation value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int value) { FIncrement = value; }
  int Position() const { return FPosition; }
  void SetPosition(int value);
  int Min() const { return FMin; }
  void SetMin(int value);
  int Max() const { return FMax; }
  void SetMax(int value);

  // Control coordinates, for the size now.
  TRect ButtonRect(Button button) const;
  bool ButtonHot(Button button) const { return FHot[button]; }
  bool ButtonDown(Button button) const { return FDown[button]; }

  ui::TNotifyEvent OnChange;
  ui::TNotifyEvent OnUpButtonClick;
  ui::TNotifyEvent OnDownButtonClick;

  void CalcSkinSize(int& width, int& height) override;
  void Dispatch(ui::TMessage& message) override;

 protected:
  void DrawDefaultImage(gfx::Bitmap& buffer) override;
  void DrawSkinImage(gfx::Bitmap& buffer) override;

 private:
  const TskDataSkinUpDownControl* UpDownSection() const;
  Button ButtonAt(gfx::Point point) const;
  // One step of the button; false when a handler freed the control.
  bool Step(Button button);
  void StartTimer(unsigned interval);
  void StopTimer();
  void SetHot(Button button);

  bool FUseSkinSize = true;
  ui::TUDOrientation FOrientation = ui::udHorizontal;
  int FIncrement = 1;
  int FPosition = 0;
  int FMin = 0;
  int FMax = 100;
  bool FHot[2] = {false, false};
  bool FDown[2] = {false, false};
  Button FPressed = NoButton;
  bool FWaiting = false;
  bool FTimerOn = false;
  unsigned FInterval = 0;
};

}  // namespace skin
