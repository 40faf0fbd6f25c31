#include "skin/controls/SkinCtrls.Button.h"

#include <algorithm>

#include "gfx/Canvas.h"
#include "gfx/TextFormat.h"
#include "platform/VirtualKeys.h"
#include "skin/data/SkinUtils.h"
#include "skin/data/SkinUtils.ParentBackground.h"
#include "skin/data/skEffBmp.h"
#include "ui/stdcontrols/StdCtrls.h"
#include "ui/windowing/Timers.h"

namespace skin {

namespace {

gfx::Color Rgb(ui::TColor color) { return ui::ColorToRGB(color); }

}  // namespace

TskSkinButton::TskSkinButton(core::TComponent* owner) : TskSkinCustomControl(owner) {
  // The press, release and click are ours (see the table at the handlers).
  SetControlStyle(ControlStyle() - ui::TControlStyle{ui::csClickEvents, ui::csDoubleClicks, ui::csSetCaption});
  SetTabStop(true);
  SetSkinDataName("button");
  SetBounds(0, 0, 75, 25);
}

TskSkinButton::~TskSkinButton() {
  // The window and its timers go with the base; nothing may tick after.
  FTimers = 0;
}

// ---- Properties ---------------------------------------------------------------

void TskSkinButton::SetCanFocused(bool value) {
  FCanFocused = value;
  SetTabStop(value);
}

void TskSkinButton::SetGroupIndex(int value) {
  FGroupIndex = value;
  if (value != 0) SetCanFocused(false);
}

void TskSkinButton::SetGlyph(const ui::TBitmap& glyph) {
  FGlyph.Assign(glyph);
  Invalidate();
}

void TskSkinButton::SetNumGlyphs(int value) {
  FNumGlyphs = std::clamp(value, 1, 4);
  Invalidate();
}

void TskSkinButton::SetMargin(int value) {
  if (value < -1 || value == FMargin) return;
  FMargin = value;
  Invalidate();
}

void TskSkinButton::SetSpacing(int value) {
  if (value == FSpacing) return;
  FSpacing = value;
  Invalidate();
}

void TskSkinButton::SetLayout(TskButtonLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  Invalidate();
}

void TskSkinButton::SetDefault(bool value) {
  FDefault = value;
  if (HandleAllocated() && FCanFocused && !Designing()) {
    if (ui::TCustomForm* form = ui::GetParentForm(this)) {
      form->Perform(ui::CM_FOCUSCHANGED, 0, ui::LPARAM(form->ActiveControl()));
    }
  }
}

// Down, and in a group the others up. Morphing buttons jump to the active
// look while down and fade back once up.
void TskSkinButton::SetDown(bool value) {
  FDown = value;
  if (MorphOn()) {
    FMorphKf = 1;
    if (value) {
      StopTimer(MorphTimerId);
    } else {
      StartTimer(MorphTimerId, MorphInterval);
    }
  }
  Invalidate();
  if (FGroupIndex == 0 || !FDown || FAllowAllUp || !Parent()) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    auto* other = dynamic_cast<TskSkinButton*>(Parent()->Controls(i));
    if (other && other != this && other->FGroupIndex == FGroupIndex && other->FDown) other->SetDown(false);
  }
}

// ---- Derived state --------------------------------------------------------------

bool TskSkinButton::EffectsOn() const { return SkinEffectsOn(); }

bool TskSkinButton::IsFocused() const { return FCanFocused && Focused(); }

bool TskSkinButton::PressedLook() const {
  if (!FDown) return false;
  if (FGroupIndex != 0) return true;
  return FMouseIn || (IsFocused() && !FMouseDown);
}

bool TskSkinButton::AnimationAllowed() const {
  return FSkinIndex != -1 && EffectsOn() && !IsNullRect(FAnimateSkinRect) && FFrameCount > 0;
}

// First match wins.
TskSkinButton::Look TskSkinButton::CurrentLook() const {
  if (!Enabled() && !IsNullRect(FDisabledSkinRect)) return Look{FDisabledSkinRect, false, false};
  if (PressedLook()) return Look{FDownSkinRect, true, true};
  if (IsFocused() || FMouseIn) return Look{FActiveSkinRect, true, false};
  if (!MorphOn() || FMorphKf != 1) return Look{FSkinRect, false, false};
  return Look{FActiveSkinRect, true, false};
}

// ---- Section ----------------------------------------------------------------------

void TskSkinButton::FindSkinSection() {
  TskSkinCustomControl::FindSkinSection();
  if (FSkinIndex == -1) {
    FMorphing = false;
    FAnimateSkinRect = TRect{};
    return;
  }
  const auto* section = dynamic_cast<const TskDataSkinButtonControl*>(Section());
  if (!section) return;
  // No window region without the skin's size.
  if (!FUseSkinSize) FMaskPicture = nullptr;
  FFontName = section->FontName;
  FFontHeight = section->FontHeight;
  FFontStyle = section->FontStyle;
  FFontColor = section->FontColor;
  FActiveFontColor = section->ActiveFontColor;
  FDownFontColor = section->DownFontColor;
  FDisabledFontColor = section->DisabledFontColor;
  FActiveSkinRect = section->ActiveSkinRect;
  FDownSkinRect = section->DownSkinRect;
  FDisabledSkinRect = section->DisabledSkinRect;
  FMorphing = section->Morphing;
  FMorphKind = section->MorphKind;
  FAnimateSkinRect = section->AnimateSkinRect;
  FFrameCount = section->FrameCount;
  FAnimateInterval = section->AnimateInterval;
  if (IsNullRect(FActiveSkinRect)) FActiveSkinRect = FSkinRect;
  if (IsNullRect(FDownSkinRect)) FDownSkinRect = FActiveSkinRect;
  if (EffectsOn() && TimerRunning(AnimateTimerId) && FCurrentFrame > 0 && FCurrentFrame <= FFrameCount) {
    const int column = RectWidth(FAnimateSkinRect) / FFrameCount;
    const int left = FAnimateSkinRect.Left + column * (FCurrentFrame - 1);
    const TRect frame{left, FAnimateSkinRect.Top, left + column, FAnimateSkinRect.Bottom};
    (FAnimateInc ? FActiveSkinRect : FSkinRect) = frame;
  }
}

void TskSkinButton::CalcSkinSize(int& width, int& height) {
  if (FUseSkinSize || FResizeMode == 1) TskSkinCustomControl::CalcSkinSize(width, height);
}

void TskSkinButton::ApplySkinChange() {
  StopAnimation();
  StopTimer(MorphTimerId);
  ui::TControlGuard guard(this);
  TskSkinCustomControl::ApplySkinChange();
  if (guard.Destroyed()) return;
  if (MorphOn() && FSkinIndex != -1 && (IsFocused() || FMouseIn)) FMorphKf = 1;
}

// ---- Painting -----------------------------------------------------------------------

// 1. section; no section: the base paint with the default look;
// 2. buffer (and the parent's image when blending);
// 3. a cross-fade between the normal and active looks while it runs;
// 4. otherwise the one look CurrentLook picks.
void TskSkinButton::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  FindSkinSection();  // 1
  if (FSkinIndex == -1) {
    TskSkinCustomControl::Paint();
    return;
  }
  gfx::Bitmap& buffer = FPaintBuffer;  // 2
  if (buffer.Width() != Width() || buffer.Height() != Height()) buffer.SetSize(Width(), Height());
  if (MorphOn() && FMorphKf > 0 && FMorphKf < 1 && Enabled()) {  // 3
    gfx::Bitmap active(Width(), Height());
    DrawButtonImage(buffer, FSkinRect, false, false);
    DrawButtonImage(active, FActiveSkinRect, true, false);
    TskEffectBmp from = TskEffectBmp::CreateFromBitmap(buffer);
    from.ApplyMorph(FMorphKind, TskEffectBmp::CreateFromBitmap(active), FMorphKf);
    buffer = from.ToBitmap();
  } else {  // 4
    const Look look = CurrentLook();
    DrawButtonImage(buffer, look.Rect, look.Active, look.Down);
  }
  PresentBuffer(buffer);
}

void TskSkinButton::DrawButtonImage(gfx::Bitmap& buffer, const TRect& lookRect, bool active, bool down) {
  // 1. background and text area
  TRect textArea;
  if (!FUseSkinSize && FResizeMode != 1) {
    buffer.SetSize(Width(), Height());
    if (FPicture && FResizeMode == 0) {
      gfx::Canvas(buffer).CopyRect(buffer.Bounds(), *FPicture, lookRect);
    } else if (FPicture) {
      StretchNinePart(buffer, *FPicture, lookRect, FClRect);
    }
    textArea = TRect{FClRect.Left, FClRect.Top, FClRect.Right + Width() - RectWidth(lookRect),
                     FClRect.Bottom + Height() - RectHeight(lookRect)};
  } else {
    int width = Width();
    int height = Height();
    CalcSkinSize(width, height);
    ComposeSkinImage(buffer, lookRect, Width(), Height());
    textArea = FResizeMode == 0 ? FClRect : FNewClRect;
  }
  // 2. font and colour
  gfx::Canvas canvas(buffer);
  gfx::Font font = SectionFont(FFontName, FFontHeight, FFontStyle);
  if (!Enabled()) {
    font.Color = FDisabledFontColor;
  } else if (active && down) {
    font.Color = FDownFontColor;
  } else if (active) {
    font.Color = FActiveFontColor;
  } else {
    font.Color = FFontColor;
  }
  canvas.SetFont(font);
  // 3. glyph cell
  int cell = 1;
  if (active && down && FNumGlyphs > 2) {
    cell = 3;
  } else if (active && FNumGlyphs > 3) {
    cell = 4;
  } else if (Enabled() || FNumGlyphs < 2) {
    cell = 1;
  } else {
    cell = 2;
  }
  // 4. glyph and caption
  DrawGlyphAndText(canvas, textArea, cell, active && down);
}

// Without a section:
//   pressed look      navy frame, RGB(133,147,181) inside, content offset
//   hot or focused    navy frame, RGB(182,189,210) inside
//   normal            button-shadow frame, button face inside
void TskSkinButton::DrawDefaultImage(gfx::Bitmap& buffer) {
  gfx::Canvas canvas(buffer);
  const TRect r = ClientRect();
  canvas.SetBrush(Rgb(ui::clBtnFace));
  canvas.FillRect(r);
  gfx::Font font = PlainFont();
  if (!Enabled()) font.Color = Rgb(ui::clBtnShadow);
  canvas.SetFont(font);
  const bool pressed = PressedLook();
  gfx::Color frame = Rgb(ui::clBtnShadow);
  gfx::Color fill = Rgb(ui::clBtnFace);
  if (pressed) {
    frame = gfx::MakeColor(0, 0, 128);
    fill = gfx::MakeColor(133, 147, 181);
  } else if (FMouseIn || IsFocused()) {
    frame = gfx::MakeColor(0, 0, 128);
    fill = gfx::MakeColor(182, 189, 210);
  }
  canvas.FrameRect(r, frame);
  canvas.SetBrush(fill);
  canvas.FillRect(r.Inflate(-1, -1));
  DrawGlyphAndText(canvas, r, 1, pressed);
}

// Glyph and caption in area: with Margin -1 both are centred as one group
// (glyph, Spacing, text) along the layout's direction; with a margin the
// glyph keeps that distance from its edge and the text follows it. The
// other direction is centred. A pressed look moves both by (1, 1).
void TskSkinButton::DrawGlyphAndText(gfx::Canvas& canvas, const TRect& area, int cell, bool offset) {
  const gfx::Bitmap& strip = FGlyph.Bitmap();
  const int gw = strip.IsEmpty() ? 0 : strip.Width() / FNumGlyphs;
  const int gh = strip.IsEmpty() ? 0 : strip.Height();
  const std::string caption = Caption();
  canvas.Brush().Style = gfx::BrushStyle::Clear;
  if (FMeasuredSize.Width < 0 || caption != FMeasuredCaption || !(canvas.Font() == FMeasuredFont)) {
    TRect measure{};
    canvas.DrawText(caption, measure, gfx::DT_CALCRECT);
    FMeasuredCaption = caption;
    FMeasuredFont = canvas.Font();
    FMeasuredSize = gfx::Size{RectWidth(measure), RectHeight(measure)};
  }
  const int tw = FMeasuredSize.Width;
  const int th = FMeasuredSize.Height;
  const int cx = area.Left + RectWidth(area) / 2;
  const int cy = area.Top + RectHeight(area) / 2;
  int gx = cx - gw / 2, gy = cy - gh / 2, tx = cx - tw / 2, ty = cy - th / 2;
  const int across = gw + tw + FSpacing;
  const int along = gh + th + FSpacing;
  if (FMargin == -1) {
    switch (FLayout) {
      case blGlyphLeft: gx = cx - across / 2; tx = cx + across / 2 - tw; break;
      case blGlyphRight: tx = cx - across / 2; gx = cx + across / 2 - gw; break;
      case blGlyphTop: gy = cy - along / 2; ty = cy + along / 2 - th; break;
      case blGlyphBottom: ty = cy - along / 2; gy = cy + along / 2 - gh; break;
    }
  } else {
    switch (FLayout) {
      case blGlyphLeft: gx = area.Left + FMargin; tx = gx + gw + FSpacing; break;
      case blGlyphRight: gx = area.Right - gw - FMargin; tx = gx - FSpacing - tw; break;
      case blGlyphTop: gy = area.Top + FMargin; ty = gy + gh + FSpacing; break;
      case blGlyphBottom: gy = area.Bottom - gh - FMargin; ty = gy - FSpacing - th; break;
    }
  }
  if (offset) {
    ++gx, ++gy, ++tx, ++ty;
  }
  if (!caption.empty()) {
    TRect text{tx, ty, tx + tw + 2, ty + th};
    canvas.DrawText(caption, text, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
  }
  if (gw > 0) DrawGlyphFromStrip(canvas, gx, gy, cell, FNumGlyphs, strip);
}

void TskSkinButton::WMEraseBkgnd(ui::TMessage& message) {
  // Someone copying the parent's image gets the whole button.
  ui::HDC context = reinterpret_cast<ui::HDC>(message.WParam);
  message.Result = 1;
  if (InPaintMessage() || !context) return;
  ui::TCanvas* canvas = Canvas();
  canvas->SetHandle(context);
  ui::TControlGuard guard(this);
  Paint();
  if (guard.Alive()) canvas->SetHandle(nullptr);
}

// ---- Timers and animations ------------------------------------------------------

bool TskSkinButton::TimerRunning(ui::UINT_PTR id) const { return (FTimers & (1u << id)) != 0; }

void TskSkinButton::StartTimer(ui::UINT_PTR id, unsigned interval) {
  if (!HandleAllocated()) return;
  if (ui::SetTimer(Handle(), id, interval)) FTimers |= 1u << id;
}

void TskSkinButton::StopTimer(ui::UINT_PTR id) {
  if (!TimerRunning(id)) return;
  FTimers &= ~(1u << id);
  if (HandleAllocated()) ui::KillTimer(Handle(), id);
}

void TskSkinButton::StateChangeRedraw() {
  if (MorphOn() && FSkinIndex != -1) {
    if (!TimerRunning(MorphTimerId)) StartTimer(MorphTimerId, MorphInterval);
  } else {
    Invalidate();
  }
}

void TskSkinButton::MorphTick() {
  const bool hot = FMouseIn || IsFocused();
  if (FSkinIndex == -1 || !MorphOn()) {
    FMorphKf = hot ? 1 : 0;
    StopTimer(MorphTimerId);
  } else if (hot && FMorphKf < 1) {
    FMorphKf = std::min(1.0, FMorphKf + 0.2);
  } else if (!hot && FMorphKf > 0) {
    FMorphKf = std::max(0.0, FMorphKf - 0.2);
  } else {
    FMorphKf = hot ? 1 : 0;
    StopTimer(MorphTimerId);
  }
  Invalidate();
}

void TskSkinButton::StartAnimation(bool forwards) {
  if (!AnimationAllowed()) return;
  StopAnimation();
  FAnimateInc = forwards;
  FCurrentFrame = forwards ? 1 : FFrameCount;
  StartTimer(AnimateTimerId, unsigned(std::max(1, FAnimateInterval)));
}

void TskSkinButton::StopAnimation() {
  FCurrentFrame = 0;
  StopTimer(AnimateTimerId);
}

void TskSkinButton::AnimateTick() {
  if (FAnimateInc) {
    if (++FCurrentFrame > FFrameCount) {
      StopAnimation();
    }
  } else if (--FCurrentFrame <= 0) {
    StopAnimation();
  }
  Invalidate();
}

bool TskSkinButton::ClickAndSurvive() {
  ui::TControlGuard guard(this);
  ButtonClick();
  return guard.Alive();
}

void TskSkinButton::ButtonClick() {
  if (FCanFocused) {
    if (ui::TCustomForm* form = ui::GetParentForm(this); form && FModalResult != ui::mrNone) {
      form->SetModalResult(FModalResult);
    }
  }
  if (OnClick) OnClick(this);
}

// ---- Input --------------------------------------------------------------------------
//
// Press and release (plain: GroupIndex 0; grouped: GroupIndex set):
//
//   event                 plain button                     grouped button
//   left press            Down, MouseIn; RepeatMode:       up: Down (others of the group
//                         repeat timer, else nothing yet   up), click at once; down:
//                                                          remember it (AllowAllUpCheck)
//   pointer leaves, held  looks up, repeat paused          -
//   pointer back, held    looks down, repeat resumes       -
//   left release over it  up, repeat stopped, click        down, AllowAllUp, pressed
//                                                          while down: up, click
//   left release outside  up silently, no click            nothing
//   repeat tick           click                            -
//   Space down / up       Down (RepeatMode: click) /       the same
//                         up and click
//   focus lost            up silently, repeat stopped      -
//
// The look while held follows the pointer: PressedLook needs MouseIn.

void TskSkinButton::WMLButtonDown(ui::TMessage& message) {
  ui::TControlGuard guard(this);
  if (FCanFocused && !Focused() && !Designing()) {
    // The press takes the focus first; a press that could not take it is
    // dropped.
    FClicksDisabled = true;
    if (CanFocus()) SetFocus();
    if (guard.Destroyed()) return;
    FClicksDisabled = false;
    if (!Focused()) return;
  }
  if (!Enabled()) return;
  StopAnimation();
  FMouseDown = true;
  if (!FDown) {
    FMouseIn = true;
    SetDown(true);
    if (FRepeatMode && FGroupIndex == 0) {
      StartTimer(RepeatTimerId, unsigned(std::max(1, FRepeatInterval)));
    } else if (FGroupIndex != 0) {
      if (!ClickAndSurvive()) return;
    }
    FAllowAllUpCheck = false;
  } else if (FGroupIndex != 0) {
    FAllowAllUpCheck = true;
  }
  inherited::Dispatch(message);
}

void TskSkinButton::WMLButtonUp(ui::TMessage& message) {
  const bool wasDown = FMouseDown;
  FMouseDown = false;
  // The capture goes before the click: a handler that runs the message
  // loop must let the user reach other controls.
  if (MouseCapture()) SetMouseCapture(false);
  ui::TControlGuard guard(this);
  if (wasDown && FGroupIndex == 0) {
    StopTimer(RepeatTimerId);
    if (FMouseIn) {
      SetDown(false);
      if (!ClickAndSurvive()) return;
    } else {
      FDown = false;
    }
  } else if (wasDown && FDown && FAllowAllUp && FAllowAllUpCheck && FMouseIn) {
    SetDown(false);
    if (!ClickAndSurvive()) return;
  }
  if (HandleAllocated() && Visible()) inherited::Dispatch(message);
}

void TskSkinButton::CMMouseEnter(ui::TMessage& message) {
  ui::TControlGuard guard(this);
  inherited::Dispatch(message);
  if (guard.Destroyed() || Designing() || FMouseIn) return;
  FMouseIn = true;
  const bool lookChanges = (FGroupIndex != 0 && !FDown) || (FGroupIndex == 0 && (!IsFocused() || FDown));
  if (lookChanges) {
    if (FDown) {
      if (MorphOn()) FMorphKf = 1;
      Invalidate();
    } else {
      StartAnimation(true);
      StateChangeRedraw();
    }
  }
  if (FDown && FRepeatMode && FGroupIndex == 0 && FMouseDown) {
    StartTimer(RepeatTimerId, unsigned(std::max(1, FRepeatInterval)));
  }
}

void TskSkinButton::CMMouseLeave(ui::TMessage& message) {
  ui::TControlGuard guard(this);
  inherited::Dispatch(message);
  if (guard.Destroyed() || Designing() || !FMouseIn) return;
  // The default button keeps its hot look while the focus is elsewhere.
  if (!(FCanFocused && FDefault && FActive && !Focused())) FMouseIn = false;
  const bool lookChanges = (FGroupIndex != 0 && !FDown) || (FGroupIndex == 0 && (!IsFocused() || FDown));
  if (lookChanges) {
    StartAnimation(false);
    StateChangeRedraw();
  }
  if (FDown && FRepeatMode && FGroupIndex == 0) StopTimer(RepeatTimerId);
}

void TskSkinButton::WMKeyDown(ui::TMessage& message) {
  ui::TControlGuard guard(this);
  const ui::WPARAM key = message.WParam;
  inherited::Dispatch(message);
  if (guard.Destroyed() || !FCanFocused || !Enabled()) return;
  if (key == ui::WPARAM(platform::VK_SPACE) && message.WParam == key) {
    SetDown(true);
    if (FRepeatMode) ClickAndSurvive();
  }
}

void TskSkinButton::WMKeyUp(ui::TMessage& message) {
  ui::TControlGuard guard(this);
  const ui::WPARAM key = message.WParam;
  inherited::Dispatch(message);
  if (guard.Destroyed() || !FCanFocused || !Enabled()) return;
  if (key == ui::WPARAM(platform::VK_SPACE) && FDown && FGroupIndex == 0) {
    SetDown(false);
    ClickAndSurvive();
  }
}

void TskSkinButton::WMSetFocus(ui::TMessage& message) {
  ui::TControlGuard guard(this);
  inherited::Dispatch(message);
  if (guard.Destroyed() || !FCanFocused) return;
  StartAnimation(true);
  StateChangeRedraw();
}

void TskSkinButton::WMKillFocus(ui::TMessage& message) {
  if (FRepeatMode) StopTimer(RepeatTimerId);
  if (FGroupIndex == 0 && FDown) FDown = false;
  ui::TControlGuard guard(this);
  inherited::Dispatch(message);
  if (guard.Destroyed() || !FCanFocused) return;
  StartAnimation(false);
  StateChangeRedraw();
}

void TskSkinButton::WMTimer(ui::TMessage& message) {
  switch (message.WParam) {
    case MorphTimerId: MorphTick(); break;
    case AnimateTimerId: AnimateTick(); break;
    case RepeatTimerId:
      if (TimerRunning(RepeatTimerId)) ClickAndSurvive();
      break;
    default: inherited::Dispatch(message); break;
  }
}

void TskSkinButton::CMDialogKey(ui::TMessage& message) {
  const int key = int(message.WParam);
  ui::TControlGuard guard(this);
  if (key == platform::VK_RETURN && FActive && Enabled() && Visible()) {
    message.Result = 1;
    ClickAndSurvive();
    return;
  }
  if (key == platform::VK_ESCAPE && FCancel && FCanFocused && Enabled() && Visible() &&
      !ui::KeyboardShiftState().Contains(ui::ssShift) && CanFocus()) {
    message.Result = 1;
    ClickAndSurvive();
    return;
  }
  inherited::Dispatch(message);
}

void TskSkinButton::CMDialogChar(ui::TMessage& message) {
  if (FCanFocused && Enabled() && Visible() && CanFocus() &&
      ui::classic::IsAccelerator(char32_t(message.WParam), Caption())) {
    ui::TControlGuard guard(this);
    SetFocus();
    if (guard.Destroyed()) return;
    message.Result = 1;
    ClickAndSurvive();
    return;
  }
  inherited::Dispatch(message);
}

void TskSkinButton::CMFocusChanged(ui::TMessage& message) {
  auto* focused = ui::FromLParam<ui::TWinControl>(message.LParam);
  auto* button = dynamic_cast<TskSkinButton*>(focused);
  FActive = button ? button == this : FDefault;
  if (FCanFocused && FDefault) {
    if (button) {
      if (button != this) {
        FMouseIn = false;
        StateChangeRedraw();
      }
    } else {
      // The default button shows its hot look while the focus is on a
      // control that is no button.
      FMouseIn = true;
      if (MorphOn()) FMorphKf = 1;
      Invalidate();
    }
  }
  inherited::Dispatch(message);
}

void TskSkinButton::CMEnabledChanged(ui::TMessage& message) {
  if (MorphOn()) {
    StopTimer(MorphTimerId);
    FMorphKf = 0;
  }
  FMouseIn = false;
  Invalidate();
  inherited::Dispatch(message);
}

void TskSkinButton::CMTextChanged(ui::TMessage& message) {
  if (FSkinIndex != -1 || Designing() || DrawDefault()) Invalidate();
  inherited::Dispatch(message);
}

void TskSkinButton::CreateWnd() {
  inherited::CreateWnd();
  FActive = FDefault;
}

void TskSkinButton::Dispatch(ui::TMessage& message) {
  switch (message.Msg) {
    case ui::WM_LBUTTONDOWN:
    case ui::WM_LBUTTONDBLCLK: WMLButtonDown(message); break;
    case ui::WM_LBUTTONUP: WMLButtonUp(message); break;
    case ui::WM_MOUSEMOVE: {
      // While held, the capture keeps the pointer ours: enter and leave
      // follow the pointer over the button.
      if (FMouseDown) {
        const bool inside = ClientRect().Contains(ui::PointFromLParam(message.LParam));
        if (inside != FMouseIn) {
          ui::TMessage crossing{inside ? ui::CM_MOUSEENTER : ui::CM_MOUSELEAVE, 0, ui::LPARAM(this), 0};
          ui::TControlGuard guard(this);
          Dispatch(crossing);
          if (guard.Destroyed()) return;
        }
      }
      inherited::Dispatch(message);
      break;
    }
    case ui::WM_KEYDOWN: WMKeyDown(message); break;
    case ui::WM_KEYUP: WMKeyUp(message); break;
    case ui::WM_SETFOCUS: WMSetFocus(message); break;
    case ui::WM_KILLFOCUS: WMKillFocus(message); break;
    case ui::WM_TIMER: WMTimer(message); break;
    case ui::WM_ERASEBKGND: WMEraseBkgnd(message); break;
    case ui::WM_GETDLGCODE: message.Result = ui::DLGC_BUTTON; break;
    case ui::CM_MOUSEENTER:
      if (ui::FromLParam<ui::TControl>(message.LParam) == this || message.LParam == 0) {
        CMMouseEnter(message);
      } else {
        inherited::Dispatch(message);
      }
      break;
    case ui::CM_MOUSELEAVE:
      if (ui::FromLParam<ui::TControl>(message.LParam) == this || message.LParam == 0) {
        CMMouseLeave(message);
      } else {
        inherited::Dispatch(message);
      }
      break;
    case ui::CM_DIALOGKEY: CMDialogKey(message); break;
    case ui::CM_DIALOGCHAR: CMDialogChar(message); break;
    case ui::CM_FOCUSCHANGED: CMFocusChanged(message); break;
    case ui::CM_ENABLEDCHANGED: CMEnabledChanged(message); break;
    case ui::CM_TEXTCHANGED: CMTextChanged(message); break;
    default: inherited::Dispatch(message); break;
  }
}

}  // namespace skin
