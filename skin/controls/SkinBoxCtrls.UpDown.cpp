#include "skin/controls/SkinBoxCtrls.UpDown.h"

#include "gfx/Canvas.h"
#include "skin/data/SkinData.Controls.h"
#include "skin/data/SkinUtils.h"
#include "ui/classlib/ControlMessages.h"
#include "ui/windowing/Timers.h"

namespace skin {

namespace {

constexpr gfx::Color Navy = 0x800000;         // RGB(0, 0, 128)
constexpr gfx::Color PressedFill = 0xB59385;  // RGB(133, 147, 181)
constexpr gfx::Color HotFill = 0xD2BDB6;      // RGB(182, 189, 210)

}  // namespace

TskSkinUpDown::TskSkinUpDown(core::TComponent* owner) : TskSkinCustomControl(owner) {
  SetSkinDataName("hupdown");
  SetBounds(Left(), Top(), 50, 25);
}

TskSkinUpDown::~TskSkinUpDown() { StopTimer(); }

void TskSkinUpDown::SetUseSkinSize(bool value) {
  FUseSkinSize = value;
  ApplySkinChange();
}

void TskSkinUpDown::SetOrientation(ui::TUDOrientation value) {
  if (value == FOrientation) return;
  FOrientation = value;
  if (Designing()) SetSkinDataName(value == ui::udVertical ? "vupdown" : "hupdown");
  Invalidate();
}

void TskSkinUpDown::SetPosition(int value) {
  if (value < FMin || value > FMax || value == FPosition) return;
  FPosition = value;
  if (OnChange && !Designing()) OnChange(this);
}

void TskSkinUpDown::SetMin(int value) {
  FMin = value;
  if (FPosition < FMin) FPosition = FMin;
}

void TskSkinUpDown::SetMax(int value) {
  FMax = value;
  if (FPosition > FMax) FPosition = FMax;
}

const TskDataSkinUpDownControl* TskSkinUpDown::UpDownSection() const {
  return dynamic_cast<const TskDataSkinUpDownControl*>(Section());
}

TRect TskSkinUpDown::ButtonRect(Button button) const {
  if (const TskDataSkinUpDownControl* s = UpDownSection(); s && FUseSkinSize) {
    return MoveSkinRect(button == UpButton ? s->UpButtonRect : s->DownButtonRect);
  }
  const int w = Width();
  const int h = Height();
  if (FOrientation == ui::udVertical) return button == UpButton ? TRect{0, 0, w, h / 2} : TRect{0, h / 2, w, h};
  return button == UpButton ? TRect{w / 2, 0, w, h} : TRect{0, 0, w / 2, h};
}

TskSkinUpDown::Button TskSkinUpDown::ButtonAt(gfx::Point point) const {
  for (Button button : {UpButton, DownButton}) {
    if (ButtonRect(button).Contains(point)) return button;
  }
  return NoButton;
}

void TskSkinUpDown::CalcSkinSize(int& width, int& height) {
  // Without the skin's size the control keeps any size; its buttons are
  // then its halves.
  if (FUseSkinSize) inherited::CalcSkinSize(width, height);
}

void TskSkinUpDown::DrawDefaultImage(gfx::Bitmap& buffer) {
  gfx::Canvas canvas(buffer);
  for (Button button : {UpButton, DownButton}) {
    const TRect r = ButtonRect(button);
    const bool pressed = FDown[button] && FHot[button];
    canvas.SetBrush(pressed ? PressedFill : FHot[button] ? HotFill : ui::ColorToRGB(ui::clBtnFace));
    canvas.FillRect(r);
    canvas.FrameRect(r, pressed || FHot[button] ? Navy : ui::ColorToRGB(ui::clBtnShadow));
    ArrowDirection direction = FOrientation == ui::udVertical
                                   ? (button == UpButton ? ArrowDirection::Up : ArrowDirection::Down)
                                   : (button == UpButton ? ArrowDirection::Right : ArrowDirection::Left);
    DrawArrowMark(canvas, r, 0, direction);
  }
}

void TskSkinUpDown::DrawSkinImage(gfx::Bitmap& buffer) {
  inherited::DrawSkinImage(buffer);
  const TskDataSkinUpDownControl* s = UpDownSection();
  if (!s || !Picture()) return;
  gfx::Canvas canvas(buffer);
  for (Button button : {UpButton, DownButton}) {
    const TRect active = button == UpButton ? s->ActiveUpButtonRect : s->ActiveDownButtonRect;
    TRect pressed = button == UpButton ? s->DownUpButtonRect : s->DownDownButtonRect;
    if (IsNullRect(pressed)) pressed = active;
    const TRect look = FDown[button] && FHot[button] ? pressed : FHot[button] ? active : TRect{};
    if (!IsNullRect(look)) canvas.CopyRect(ButtonRect(button), *Picture(), look);
  }
}

bool TskSkinUpDown::Step(Button button) {
  ui::TControlGuard guard(this);
  if (FIncrement != 0) SetPosition(FPosition + (button == UpButton ? FIncrement : -FIncrement));
  if (guard.Destroyed()) return false;
  const ui::TNotifyEvent& click = button == UpButton ? OnUpButtonClick : OnDownButtonClick;
  if (click) click(this);
  return guard.Alive();
}

void TskSkinUpDown::StartTimer(unsigned interval) {
  if (!HandleAllocated()) return;
  FTimerOn = ui::SetTimer(Handle(), RepeatTimerId, interval);
  FInterval = interval;
}

void TskSkinUpDown::StopTimer() {
  if (FTimerOn && HandleAllocated()) ui::KillTimer(Handle(), RepeatTimerId);
  FTimerOn = false;
}

void TskSkinUpDown::SetHot(Button button) {
  // While a button is held only it can be hot.
  if (FPressed != NoButton && button != FPressed) button = NoButton;
  const bool wasHot = FPressed != NoButton && FHot[FPressed];
  bool changed = false;
  for (Button b : {UpButton, DownButton}) {
    if (FHot[b] != (b == button)) {
      FHot[b] = b == button;
      changed = true;
    }
  }
  if (FPressed != NoButton && FHot[FPressed] != wasHot) {
    if (FHot[FPressed]) {
      FWaiting = false;
      StartTimer(ResumeDelay);
    } else {
      StopTimer();
    }
  }
  if (changed) Invalidate();
}

void TskSkinUpDown::Dispatch(ui::TMessage& message) {
  switch (message.Msg) {
    case ui::WM_LBUTTONDOWN: {
      const Button button = ButtonAt(ui::PointFromLParam(message.LParam));
      if (button == NoButton || !Enabled()) break;
      FPressed = button;
      FDown[button] = true;
      FHot[button] = true;
      SetMouseCapture(true);
      Invalidate();
      if (!Step(button)) return;
      FWaiting = true;
      StartTimer(FirstDelay);
      return;
    }
    case ui::WM_MOUSEMOVE: SetHot(ButtonAt(ui::PointFromLParam(message.LParam))); break;
    case ui::WM_LBUTTONUP:
      if (FPressed != NoButton) {
        StopTimer();
        FDown[FPressed] = false;
        FPressed = NoButton;
        SetMouseCapture(false);
        SetHot(ButtonAt(ui::PointFromLParam(message.LParam)));
        Invalidate();
      }
      break;
    case ui::WM_TIMER:
      if (message.WParam == RepeatTimerId) {
        if (FPressed == NoButton) {
          StopTimer();
          return;
        }
        // The first wait and a resume are single delays; then the pace.
        if (FInterval != RepeatDelay) {
          FWaiting = false;
          StopTimer();
          StartTimer(RepeatDelay);
        }
        Step(FPressed);
        return;
      }
      break;
    case ui::CM_MOUSELEAVE:
      FHot[UpButton] = FHot[DownButton] = false;
      if (FPressed != NoButton) StopTimer();
      Invalidate();
      break;
    default: break;
  }
  inherited::Dispatch(message);
}

}  // namespace skin
