#include "gfx/TextFormat.h"
#include "ui/windowing/DeviceContext.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui {

TCustomLabel::TCustomLabel(core::TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(ControlStyle() | TControlStyle{csOpaque});
  SetBounds(0, 0, 65, 17);
}

void TCustomLabel::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
  if (value == FLayout) return;
  FLayout = value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
  if (value == FAutoSize) return;
  FAutoSize = value;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
  if (value == FShowAccelChar) return;
  FShowAccelChar = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  TControlStyle style = ControlStyle();
  if (value) style.Exclude(csOpaque); else style.Include(csOpaque);
  SetControlStyle(style);
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* control) {
  if (control == FFocusControl) return;
  if (FFocusControl) FFocusControl->RemoveFreeNotification(this);
  FFocusControl = control;
  if (control) control->FreeNotification(this);
}

void TCustomLabel::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == core::opRemove && component == FFocusControl) FFocusControl = nullptr;
}

std::string TCustomLabel::GetLabelText() const { return Caption(); }

unsigned TCustomLabel::DrawTextFlags() const {
  unsigned flags = gfx::DT_EXPANDTABS;
  if (FWordWrap) flags |= gfx::DT_WORDBREAK;
  if (FAlignment == taCenter) flags |= gfx::DT_CENTER;
  if (FAlignment == taRightJustify) flags |= gfx::DT_RIGHT;
  if (!FShowAccelChar) flags |= gfx::DT_NOPREFIX;
  return flags;
}

void TCustomLabel::DoDrawText(gfx::Rect& rect, unsigned flags) {
  std::string text = GetLabelText();
  // A measure of nothing still gets the height of one line.
  if ((flags & gfx::DT_CALCRECT) && (text.empty() || (FShowAccelChar && text == "&"))) text += " ";
  if (!FShowAccelChar) flags |= gfx::DT_NOPREFIX;
  Canvas()->Brush()->SetStyle(bsClear);
  gfx::Canvas& canvas = Canvas()->Target();
  if ((flags & gfx::DT_CALCRECT) || Enabled()) {
    canvas.DrawText(text, rect, flags);
  } else {
    classic::DrawEmbossedText(canvas, text, rect, flags);
  }
}

void TCustomLabel::Paint() {
  gfx::Rect r = ClientRect();
  if (!FTransparent) {
    Canvas()->Brush()->SetStyle(bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(r);
  }
  Canvas()->SetFont(*Font());
  unsigned flags = DrawTextFlags();
  if (FLayout != tlTop) {
    gfx::Rect measured = r;
    DoDrawText(measured, flags | gfx::DT_CALCRECT);
    int free = r.Height() - measured.Height();
    r.Top += FLayout == tlBottom ? free : free / 2;
  }
  DoDrawText(r, flags);
}

void TCustomLabel::AdjustBounds() {
  if (!FAutoSize || FAdjusting || ComponentState().Contains(core::csLoading)) return;
  FAdjusting = true;
  // Measured on a scratch context: the label may have no window to draw on.
  gfx::Bitmap scratch(1, 1);
  DeviceContext context(scratch);
  TControlCanvas* canvas = static_cast<TControlCanvas*>(Canvas());
  canvas->FreeHandle();
  canvas->SetHandle(&context);
  canvas->SetFont(*Font());
  gfx::Rect r = ClientRect();
  TControlGuard guard(this);
  DoDrawText(r, (DrawTextFlags() & ~(gfx::DT_CENTER | gfx::DT_RIGHT)) | gfx::DT_CALCRECT);
  if (guard.Destroyed()) return;
  canvas->SetHandle(nullptr);
  int left = Left();
  if (FAlignment == taRightJustify) left += Width() - r.Right;
  SetBounds(left, Top(), r.Right, r.Bottom);
  FAdjusting = false;
}

void TCustomLabel::Loaded() {
  inherited::Loaded();
  AdjustBounds();
}

void TCustomLabel::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      inherited::Dispatch(message);
      AdjustBounds();
      Invalidate();
      break;
    case CM_DIALOGCHAR: CMDialogChar(message); break;
    default: inherited::Dispatch(message); break;
  }
}

void TCustomLabel::CMDialogChar(TMessage& message) {
  if (FFocusControl && Enabled() && FShowAccelChar && classic::IsAccelerator(char32_t(message.WParam), Caption()) &&
      FFocusControl->CanFocus()) {
    FFocusControl->SetFocus();
    message.Result = 1;
    return;
  }
  inherited::Dispatch(message);
}

}  // namespace ui
