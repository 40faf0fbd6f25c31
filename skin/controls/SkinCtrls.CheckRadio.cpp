#include "skin/controls/SkinCtrls.CheckRadio.h"

#include <algorithm>

#include "gfx/Canvas.h"
#include "gfx/TextFormat.h"
#include "platform/VirtualKeys.h"
#include "skin/data/SkinUtils.h"
#include "skin/data/SkinUtils.ParentBackground.h"
#include "skin/data/skEffBmp.h"
#include "ui/stdcontrols/StdCtrls.h"
#include "ui/windowing/DeviceContext.h"
#include "ui/windowing/Timers.h"

namespace skin {

namespace {

gfx::Color Rgb(ui::TColor color) { return ui::ColorToRGB(color); }
constexpr gfx::Color Navy = gfx::MakeColor(0, 0, 128);

void DrawMarkImage(gfx::Canvas& canvas, const gfx::Bitmap* picture, const TRect& image, int x, int y) {
  if (!picture || IsNullRect(image)) return;
  gfx::Bitmap mark = picture->Crop(image);
  if (!mark.IsEmpty()) canvas.DrawTransparent(x, y, mark);
}

}  // namespace

TskSkinCheckRadioBox::TskSkinCheckRadioBox(core::TComponent* owner) : TskSkinCustomControl(owner) {
  // The toggle is ours (release over the box, Space).
  SetControlStyle(ControlStyle() - ui::TControlStyle{ui::csClickEvents, ui::csDoubleClicks});
  SetTabStop(false);
  SetSkinDataName("checkbox");
  SetBounds(0, 0, 150, 25);
}

TskSkinCheckRadioBox::~TskSkinCheckRadioBox() {
  if (FImages) RemoveFreeNotification(FImages);
}

// ---- Properties ---------------------------------------------------------------

void TskSkinCheckRadioBox::SetChecked(bool value) {
  FChecked = value;
  Invalidate();
  ui::TControlGuard guard(this);
  if (FChecked && FGroupIndex != 0 && Parent()) {
    std::vector<TskSkinCheckRadioBox*> others;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
      auto* other = dynamic_cast<TskSkinCheckRadioBox*>(Parent()->Controls(i));
      if (other && other != this && other->FGroupIndex == FGroupIndex && other->FChecked) others.push_back(other);
    }
    for (TskSkinCheckRadioBox* other : others) {
      ui::TControlGuard otherGuard(other);
      other->SetChecked(false);
      if (guard.Destroyed()) return;
    }
  }
  if ((!FRadio || FChecked) && OnClick) OnClick(this);
}

void TskSkinCheckRadioBox::SetRadio(bool value) {
  FRadio = value;
  if ((FSkinIndex == -1 && DrawDefault()) || Designing()) Invalidate();
  if (Designing() && !ComponentState().Contains(core::csLoading)) {
    SetSkinDataName(value ? "radiobox" : "checkbox");
    FGroupIndex = value ? 1 : 0;
  }
}

void TskSkinCheckRadioBox::SetFlat(bool value) {
  if (value == FFlat) return;
  FFlat = value;
  // The framed look has the section's size, the flat one any size: a
  // box that changes its look takes the size of the new one.
  if (SkinData() && !ComponentState().Contains(core::csLoading)) {
    ApplySkinChange();
  } else {
    Invalidate();
  }
}

void TskSkinCheckRadioBox::SetCanFocused(bool value) {
  FCanFocused = value;
  SetTabStop(value);
}

void TskSkinCheckRadioBox::SetImages(ui::TImageList* value) {
  if (FImages) RemoveFreeNotification(FImages);
  FImages = value;
  if (FImages) FImages->FreeNotification(this);
  Invalidate();
}

void TskSkinCheckRadioBox::SetImageIndex(int value) {
  FImageIndex = value;
  Invalidate();
}

void TskSkinCheckRadioBox::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == core::opRemove && component == FImages) FImages = nullptr;
}

bool TskSkinCheckRadioBox::ValidImage() const {
  return FImages && FImageIndex >= 0 && FImageIndex < FImages->Count();
}

void TskSkinCheckRadioBox::Toggle() {
  if (!FRadio) {
    SetChecked(!FChecked);
  } else if (!FChecked) {
    SetChecked(true);
  }
}

// ---- Section --------------------------------------------------------------------

void TskSkinCheckRadioBox::FindSkinSection() {
  TskSkinCustomControl::FindSkinSection();
  if (FSkinIndex == -1) {
    FMorphing = false;
    FMorphKf = 0;
    return;
  }
  const auto* section = dynamic_cast<const TskDataSkinCheckRadioControl*>(Section());
  if (!section) return;
  FFontName = section->FontName;
  FFontHeight = section->FontHeight;
  FFontStyle = section->FontStyle;
  FFontColor = section->FontColor;
  FActiveFontColor = section->ActiveFontColor;
  FUnEnabledFontColor = section->UnEnabledFontColor;
  FFrameFontColor = section->FrameFontColor;
  FMorphing = section->Morphing;
  FMorphKind = section->MorphKind;
  FActiveSkinRect = IsNullRect(section->ActiveSkinRect) ? FSkinRect : section->ActiveSkinRect;
  FCheckImageArea = section->CheckImageArea;
  FTextArea = section->TextArea;
  FCheckImageRect = section->CheckImageRect;
  FUnCheckImageRect = section->UnCheckImageRect;
  auto orElse = [](const TRect& r, const TRect& fallback) { return IsNullRect(r) ? fallback : r; };
  FActiveCheckImageRect = orElse(section->ActiveCheckImageRect, FCheckImageRect);
  FActiveUnCheckImageRect = orElse(section->ActiveUnCheckImageRect, FUnCheckImageRect);
  FUnEnabledCheckImageRect = orElse(section->UnEnabledCheckImageRect, FCheckImageRect);
  FUnEnabledUnCheckImageRect = orElse(section->UnEnabledUnCheckImageRect, FUnCheckImageRect);
  if (FFlat) {
    FMorphing = false;
    FMaskPicture = nullptr;
  }
}

void TskSkinCheckRadioBox::CalcSkinSize(int& width, int& height) {
  if (FFlat) return;
  TskSkinCustomControl::CalcSkinSize(width, height);
  const int dx = width - RectWidth(FSkinRect);
  FNewTextArea = TRect{FTextArea.Left, FTextArea.Top, FTextArea.Right + dx, FTextArea.Bottom};
  TRect area = FCheckImageArea;
  if (FTextArea.Right < FCheckImageArea.Right) area = area.Offset(dx, 0);
  const int w = RectWidth(FCheckImageRect);
  const int h = RectHeight(FCheckImageRect);
  const int x = area.Left + RectWidth(area) / 2 - w / 2;
  const int y = area.Top + RectHeight(area) / 2 - h / 2;
  FCheckImagePos = TRect{x, y, x + w, y + h};
}

void TskSkinCheckRadioBox::ApplySkinChange() {
  if (FFlat) {
    FindSkinSection();
    Invalidate();
    return;
  }
  if (FMorphTimer && HandleAllocated()) ui::KillTimer(Handle(), MorphTimerId);
  FMorphTimer = false;
  ui::TControlGuard guard(this);
  TskSkinCustomControl::ApplySkinChange();
  if (guard.Destroyed()) return;
  if (FMorphing && SkinEffectsOn() && FSkinIndex != -1 && (IsFocused() || FMouseIn)) FMorphKf = 1;
}

// ---- Painting ---------------------------------------------------------------------

const TRect& TskSkinCheckRadioBox::MarkRect() const {
  if (!Enabled()) return FChecked ? FUnEnabledCheckImageRect : FUnEnabledUnCheckImageRect;
  if (FMouseIn) return FChecked ? FActiveCheckImageRect : FActiveUnCheckImageRect;
  return FChecked ? FCheckImageRect : FUnCheckImageRect;
}

void TskSkinCheckRadioBox::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  if (!FFlat) {
    TskSkinCustomControl::Paint();
    return;
  }
  FindSkinSection();
  gfx::Bitmap buffer;
  PaintFlat(buffer);
  Canvas()->Target().Draw(0, 0, buffer);
}

// The caption from rect's left, one line, vertically centred, clipped two
// pixels before the right edge; a valid list image goes first.
TRect TskSkinCheckRadioBox::DrawCaption(gfx::Canvas& canvas, gfx::Bitmap& buffer, TRect rect) {
  const std::string caption = Caption();
  TRect measure{};
  canvas.DrawText(caption.empty() ? std::string(" ") : caption, measure, gfx::DT_CALCRECT | gfx::DT_SINGLELINE);
  const int textHeight = RectHeight(measure);
  TRect text{rect.Left, Height() / 2 - textHeight / 2, rect.Left + RectWidth(measure),
             Height() / 2 - textHeight / 2 + textHeight};
  TRect imageRect;
  if (ValidImage()) {
    const int y = Height() / 2 - FImages->Height() / 2;
    ui::DeviceContext context(buffer);
    ui::TCanvas listCanvas;
    listCanvas.SetHandle(&context);
    FImages->Draw(listCanvas, text.Left, y, FImageIndex, Enabled());
    listCanvas.SetHandle(nullptr);
    imageRect = TRect{text.Left, y, text.Left + FImages->Width(), y + FImages->Height()};
    text = text.Offset(FImages->Width() + 5, 0);
  }
  text.Right = std::min(text.Right, Width() - 2);
  if (!caption.empty()) {
    canvas.Brush().Style = gfx::BrushStyle::Clear;
    TRect drawn = text;
    canvas.DrawText(caption, drawn, gfx::DT_SINGLELINE | gfx::DT_VCENTER);
  }
  if (caption.empty() && ValidImage()) return imageRect.Inflate(1, 1);
  return TRect{text.Left - 2, text.Top - 1, text.Right + 3, text.Bottom + 1};
}

// The skinless mark box: navy while hot, a square (radio) or a tick
// (check) when checked.
void TskSkinCheckRadioBox::DrawDefaultBox(gfx::Canvas& canvas, int height) {
  const TRect box{3, height / 2 - 7, 17, height / 2 + 7};
  canvas.FrameRect(box, FMouseIn ? Navy : Rgb(ui::clBtnShadow));
  if (!FChecked) return;
  const gfx::Color ink = Enabled() ? gfx::MakeColor(0, 0, 0) : Rgb(ui::clBtnShadow);
  if (FRadio) {
    DrawSquareMark(canvas, 7, height / 2 - 3, ink);
  } else {
    DrawCheckMark(canvas, 7, height / 2 - 4, ink);
  }
}

// The flat look: 1. the parent's image; 2. (no section) the box and the
// caption from x 22, or 3. (section) the mark image and the caption after
// it; 4. the focus rectangle; 5. the caller copies the buffer.
void TskSkinCheckRadioBox::PaintFlat(gfx::Bitmap& buffer) {
  PaintParentBackgroundForBox(*this, buffer);  // 1
  gfx::Canvas canvas(buffer);
  TRect focusRect;
  if (FSkinIndex == -1) {  // 2
    gfx::Font font = PlainFont();
    if (!Enabled()) font.Color = Rgb(ui::clBtnShadow);
    canvas.SetFont(font);
    DrawDefaultBox(canvas, Height());
    focusRect = DrawCaption(canvas, buffer, TRect{22, 0, Width(), Height()});
  } else {  // 3
    DrawMarkImage(canvas, FPicture, MarkRect(), 3, Height() / 2 - RectHeight(FCheckImageRect) / 2);
    gfx::Font font = SectionFont(FFontName, FFontHeight, FFontStyle);
    font.Color = Enabled() ? FFrameFontColor : FUnEnabledFontColor;
    canvas.SetFont(font);
    focusRect = DrawCaption(canvas, buffer, TRect{RectWidth(FCheckImageRect) + 7, 0, Width(), Height()});
  }
  if (IsFocused()) ui::classic::DrawFocusRect(canvas, focusRect);  // 4
}

void TskSkinCheckRadioBox::DrawDefaultImage(gfx::Bitmap& buffer) {
  gfx::Canvas canvas(buffer);
  canvas.SetBrush(Rgb(ui::clBtnFace));
  canvas.FillRect(ClientRect());
  if (IsFocused() || FMouseIn) canvas.FrameRect(ClientRect(), Rgb(ui::clBtnShadow));
  gfx::Font font = PlainFont();
  if (!Enabled()) font.Color = Rgb(ui::clBtnShadow);
  canvas.SetFont(font);
  DrawDefaultBox(canvas, Height());
  canvas.Brush().Style = gfx::BrushStyle::Clear;
  TRect text{19, 0, Width(), Height()};
  canvas.DrawText(Caption(), text, gfx::DT_SINGLELINE | gfx::DT_VCENTER);
}

void TskSkinCheckRadioBox::DrawFramedLook(gfx::Bitmap& buffer, bool active) {
  int width = Width();
  int height = Height();
  CalcSkinSize(width, height);
  ComposeSkinImage(buffer, active ? FActiveSkinRect : FSkinRect, Width(), Height());
  gfx::Canvas canvas(buffer);
  DrawMarkImage(canvas, FPicture, MarkRect(), FCheckImagePos.Left, FCheckImagePos.Top);
  gfx::Font font = SectionFont(FFontName, FFontHeight, FFontStyle);
  font.Color = !Enabled() ? FUnEnabledFontColor : (active ? FActiveFontColor : FFontColor);
  canvas.SetFont(font);
  canvas.Brush().Style = gfx::BrushStyle::Clear;
  TRect text = FNewTextArea;
  canvas.DrawText(Caption(), text, gfx::DT_SINGLELINE | gfx::DT_VCENTER);
}

void TskSkinCheckRadioBox::DrawSkinImage(gfx::Bitmap& buffer) {
  const bool active = FMouseIn || IsFocused();
  if (FMorphing && SkinEffectsOn() && FMorphKf > 0 && FMorphKf < 1) {
    gfx::Bitmap activeLook(Width(), Height());
    DrawFramedLook(buffer, false);
    DrawFramedLook(activeLook, true);
    TskEffectBmp from = TskEffectBmp::CreateFromBitmap(buffer);
    from.ApplyMorph(FMorphKind, TskEffectBmp::CreateFromBitmap(activeLook), FMorphKf);
    buffer = from.ToBitmap();
    return;
  }
  DrawFramedLook(buffer, active);
}

// ---- State and input ----------------------------------------------------------------

void TskSkinCheckRadioBox::StateRedraw() {
  if (!FFlat && FMorphing && SkinEffectsOn() && FSkinIndex != -1) {
    if (!FMorphTimer && HandleAllocated()) FMorphTimer = ui::SetTimer(Handle(), MorphTimerId, 20) != 0;
  } else {
    Invalidate();
  }
}

void TskSkinCheckRadioBox::Dispatch(ui::TMessage& message) {
  ui::TControlGuard guard(this);
  switch (message.Msg) {
    case ui::CM_MOUSEENTER:
    case ui::CM_MOUSELEAVE:
      if ((ui::FromLParam<ui::TControl>(message.LParam) == this || message.LParam == 0) && !Designing() &&
          !FPressed) {
        FMouseIn = message.Msg == ui::CM_MOUSEENTER;
        StateRedraw();
      }
      inherited::Dispatch(message);
      break;
    case ui::WM_LBUTTONDOWN:
    case ui::WM_LBUTTONDBLCLK:
      if (FCanFocused && !Focused() && !Designing()) {
        // The press takes the focus first and is dropped without it.
        FClicksDisabled = true;
        if (CanFocus()) SetFocus();
        if (guard.Destroyed()) return;
        FClicksDisabled = false;
        if (!Focused()) return;
      }
      FPressed = true;
      if (!FMouseIn) {
        FMouseIn = true;
        StateRedraw();
      }
      inherited::Dispatch(message);
      break;
    case ui::WM_MOUSEMOVE:
      // The capture keeps the pointer ours while held: hot follows it.
      if (FPressed) {
        const bool inside = ClientRect().Contains(ui::PointFromLParam(message.LParam));
        if (inside != FMouseIn) {
          FMouseIn = inside;
          StateRedraw();
        }
      }
      inherited::Dispatch(message);
      break;
    case ui::WM_LBUTTONUP: {
      const bool toggle = FPressed && FMouseIn && ClientRect().Contains(ui::PointFromLParam(message.LParam));
      FPressed = false;
      if (MouseCapture()) SetMouseCapture(false);
      inherited::Dispatch(message);
      if (guard.Alive() && toggle) Toggle();
      break;
    }
    case ui::WM_KEYUP: {
      const ui::WPARAM key = message.WParam;
      inherited::Dispatch(message);
      if (guard.Alive() && FCanFocused && key == ui::WPARAM(platform::VK_SPACE) && Focused()) Toggle();
      break;
    }
    case ui::CM_DIALOGCHAR:
      if (FCanFocused && Enabled() && Visible() && CanFocus() &&
          ui::classic::IsAccelerator(char32_t(message.WParam), Caption())) {
        SetFocus();
        if (guard.Destroyed()) return;
        message.Result = 1;
        Toggle();
        return;
      }
      inherited::Dispatch(message);
      break;
    case ui::WM_SETFOCUS:
    case ui::WM_KILLFOCUS:
      inherited::Dispatch(message);
      if (guard.Alive() && FCanFocused) StateRedraw();
      break;
    case ui::CM_ENABLEDCHANGED:
      if (FMorphing && SkinEffectsOn()) {
        if (FMorphTimer && HandleAllocated()) ui::KillTimer(Handle(), MorphTimerId);
        FMorphTimer = false;
        FMorphKf = 0;
      }
      FMouseIn = false;
      Invalidate();
      inherited::Dispatch(message);
      break;
    case ui::CM_TEXTCHANGED:
      if (FSkinIndex != -1 || Designing() || DrawDefault()) Invalidate();
      inherited::Dispatch(message);
      break;
    case ui::WM_TIMER:
      if (message.WParam != MorphTimerId) {
        inherited::Dispatch(message);
        break;
      }
      if (FMouseIn || IsFocused()) {
        FMorphKf = std::min(1.0, FMorphKf + 0.2);
      } else {
        FMorphKf = std::max(0.0, FMorphKf - 0.2);
      }
      if (FMorphKf == 0 || FMorphKf == 1) {
        ui::KillTimer(Handle(), MorphTimerId);
        FMorphTimer = false;
      }
      Invalidate();
      break;
    case ui::WM_WINDOWPOSCHANGED:
      inherited::Dispatch(message);
      // The flat look shows what is behind it.
      if (guard.Alive() && FFlat) Invalidate();
      break;
    case ui::WM_ERASEBKGND: {
      // Someone copying the parent's image gets the framed box whole.
      message.Result = 1;
      ui::HDC context = reinterpret_cast<ui::HDC>(message.WParam);
      if (InPaintMessage() || !context || FFlat) break;
      Canvas()->SetHandle(context);
      Paint();
      if (guard.Alive()) Canvas()->SetHandle(nullptr);
      break;
    }
    case ui::WM_GETDLGCODE: message.Result = ui::DLGC_BUTTON; break;
    default: inherited::Dispatch(message); break;
  }
}

}  // namespace skin
