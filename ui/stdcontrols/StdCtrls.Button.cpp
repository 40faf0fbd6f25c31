#include <array>

#include "gfx/TextFormat.h"
#include "platform/VirtualKeys.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui {

namespace {

gfx::Color Rgb(TColor color) { return ColorToRGB(color); }

// Prepares a canvas for the control's caption: its font, a clear brush.
void UseCaptionFont(gfx::Canvas& canvas, const TFont& font) {
  canvas.SetFont(font.ToGfxFont());
  canvas.Brush().Style = gfx::BrushStyle::Clear;
}

void DrawCaption(gfx::Canvas& canvas, const std::string& caption, gfx::Rect rect, unsigned format, bool enabled) {
  if (enabled) {
    canvas.DrawText(caption, rect, format);
  } else {
    classic::DrawEmbossedText(canvas, caption, rect, format);
  }
}

}  // namespace

// ---- TButtonControl -------------------------------------------------------

TButtonControl::TButtonControl(core::TComponent* owner) : TCustomControl(owner) {
  // The press and release are ours (ButtonActivated), and a quick second
  // click is another press.
  SetControlStyle((ControlStyle() - TControlStyle{csClickEvents, csDoubleClicks}) | TControlStyle{csOpaque});
  SetTabStop(true);
}

void TButtonControl::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(message); break;
    case WM_LBUTTONUP: WMLButtonUp(message); break;
    case WM_MOUSEMOVE: WMMouseMove(message); break;
    case WM_KEYDOWN: WMKeyDown(message); break;
    case WM_KEYUP: WMKeyUp(message); break;
    case WM_KILLFOCUS: WMKillFocus(message); break;
    case WM_SETFOCUS:
      inherited::Dispatch(message);
      StateChanged();
      break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      FTracking = false;
      FSpaceDown = false;
      SetPressed(false);
      inherited::Dispatch(message);
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (FromLParam<TControl>(message.LParam) == this || message.LParam == 0) {
        FMouseInControl = message.Msg == CM_MOUSEENTER;
        StateChanged();
      }
      inherited::Dispatch(message);
      break;
    case CM_DIALOGCHAR: CMDialogChar(message); break;
    case BM_CLICK: ButtonActivated(); break;
    default: inherited::Dispatch(message); break;
  }
}

void TButtonControl::StateChanged() { Invalidate(); }

void TButtonControl::SetPressed(bool pressed) {
  if (pressed == FPressed) return;
  FPressed = pressed;
  StateChanged();
}

void TButtonControl::WMLButtonDown(TMessage& message) {
  TControlGuard guard(this);
  if (Enabled()) {
    if (CanFocus() && !Focused()) {
      SetFocus();
      if (guard.Destroyed()) return;
    }
    FTracking = true;
    SetPressed(true);
  }
  inherited::Dispatch(message);
}

void TButtonControl::WMMouseMove(TMessage& message) {
  if (FTracking) SetPressed(ClientRect().Contains(PointFromLParam(message.LParam)));
  inherited::Dispatch(message);
}

void TButtonControl::WMLButtonUp(TMessage& message) {
  bool activate = FTracking && ClientRect().Contains(PointFromLParam(message.LParam));
  FTracking = false;
  if (!FSpaceDown) SetPressed(false);
  // The capture goes before the click, as the native button lets it go:
  // a handler that runs the message loop (the scan) must let the user
  // click other controls.
  if (MouseCapture()) SetMouseCapture(false);
  TControlGuard guard(this);
  if (activate) {
    ButtonActivated();
    if (guard.Destroyed()) return;
  }
  inherited::Dispatch(message);
}

void TButtonControl::WMKeyDown(TMessage& message) {
  // The key events and the form's dialog keys come first (inherited);
  // a space that reaches the "native" button presses it.
  TControlGuard guard(this);
  WPARAM key = message.WParam;
  inherited::Dispatch(message);
  if (guard.Destroyed()) return;
  if (key == WPARAM(platform::VK_SPACE) && message.WParam == key && !FSpaceDown && !FTracking && Enabled()) {
    FSpaceDown = true;
    SetPressed(true);
  }
}

void TButtonControl::WMKeyUp(TMessage& message) {
  TControlGuard guard(this);
  WPARAM key = message.WParam;
  inherited::Dispatch(message);
  if (guard.Destroyed()) return;
  if (key == WPARAM(platform::VK_SPACE) && FSpaceDown) {
    FSpaceDown = false;
    SetPressed(false);
    ButtonActivated();
  }
}

void TButtonControl::WMKillFocus(TMessage& message) {
  FSpaceDown = false;
  if (!FTracking) SetPressed(false);
  TControlGuard guard(this);
  inherited::Dispatch(message);
  if (guard.Alive()) StateChanged();
}

void TButtonControl::CMDialogChar(TMessage& message) {
  if (Enabled() && Visible() && classic::IsAccelerator(char32_t(message.WParam), Caption()) && CanFocus()) {
    TControlGuard guard(this);
    SetFocus();
    if (guard.Destroyed()) return;
    message.Result = 1;
    ButtonActivated();
    return;
  }
  inherited::Dispatch(message);
}

// ---- TButton --------------------------------------------------------------

TButton::TButton(core::TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::SetDefault(bool value) {
  FDefault = value;
  TCustomForm* form = GetParentForm(this);
  TWinControl* focused = form ? form->ActiveControl() : nullptr;
  bool active = dynamic_cast<TButton*>(focused) ? focused == this : FDefault;
  if (active != FActive) {
    FActive = active;
    Invalidate();
  }
}

void TButton::CreateWnd() {
  inherited::CreateWnd();
  FActive = FDefault;
}

void TButton::Click() {
  TCustomForm* form = GetParentForm(this);
  if (form && FModalResult != mrNone) form->SetModalResult(FModalResult);
  inherited::Click();
}

void TButton::ButtonActivated() { Click(); }

void TButton::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_DIALOGKEY: CMDialogKey(message); break;
    case CM_FOCUSCHANGED: CMFocusChanged(message); break;
    case WM_GETDLGCODE: message.Result = DLGC_BUTTON | (FActive ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON); break;
    default: inherited::Dispatch(message); break;
  }
}

void TButton::CMDialogKey(TMessage& message) {
  int key = int(message.WParam);
  bool wanted = (key == platform::VK_RETURN && FActive) || (key == platform::VK_ESCAPE && FCancel);
  if (wanted && !KeyboardShiftState().Contains(ssAlt) && CanFocus()) {
    message.Result = 1;
    Click();
    return;
  }
  inherited::Dispatch(message);
}

void TButton::CMFocusChanged(TMessage& message) {
  auto* focused = FromLParam<TWinControl>(message.LParam);
  bool active = dynamic_cast<TButton*>(focused) ? focused == this : FDefault;
  if (active != FActive) {
    FActive = active;
    Invalidate();
  }
  inherited::Dispatch(message);
}

// The classic push button:
//   normal         raised two-ring frame
//   default/active black ring, then the raised frame inside it
//   pressed        black ring, shadow ring; caption one pixel right and down
//   focused        dotted rectangle four pixels inside the edge
void TButton::Paint() {
  gfx::Canvas& canvas = Canvas()->Target();
  gfx::Rect r = ClientRect();
  canvas.SetBrush(Rgb(clBtnFace));
  canvas.FillRect(r);
  gfx::Rect inner = r;
  bool pressed = Pressed();
  if (pressed) {
    inner = classic::DrawFrame(canvas, r, classic::FrameKind::Pressed);
  } else if (FActive && Enabled()) {
    canvas.FrameRect(r, Rgb(cl3DDkShadow));
    inner = classic::DrawFrame(canvas, r.Inflate(-1, -1), classic::FrameKind::Raised);
  } else {
    inner = classic::DrawFrame(canvas, r, classic::FrameKind::Raised);
  }
  (void)inner;
  UseCaptionFont(canvas, *Font());
  gfx::Rect text = r;
  if (pressed) text = text.Offset(1, 1);
  DrawCaption(canvas, Caption(), text, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE, Enabled());
  if (Focused()) classic::DrawFocusRect(canvas, r.Inflate(-4, -4));
}

// ---- TCustomCheckBox ------------------------------------------------------

namespace {

constexpr int BoxSize = 13;

// The tick: seven columns, three pixels tall, lowest in the third column.
constexpr std::array<int, 7> TickTops{2, 3, 4, 3, 2, 1, 0};

}  // namespace

TCustomCheckBox::TCustomCheckBox(core::TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 97, 17); }

void TCustomCheckBox::SetState(TCheckBoxState state) {
  if (state == FState) return;
  FState = state;
  Invalidate();
  // A layout being read sets the state it stores, nothing more.
  if (!ComponentState().Contains(core::csLoading)) CheckedChanged();
}

void TCustomCheckBox::CheckedChanged() { Click(); }

void TCustomCheckBox::SetAlignment(TAlignment value) {
  if (value == FAlignment) return;
  FAlignment = value;
  Invalidate();
}

void TCustomCheckBox::Toggle() {
  switch (FState) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(FAllowGrayed ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
  }
}

void TCustomCheckBox::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case BM_GETCHECK: message.Result = LRESULT(FState); break;
    case BM_SETCHECK:
      SetState(message.WParam == BST_CHECKED ? cbChecked : message.WParam == BST_INDETERMINATE ? cbGrayed : cbUnchecked);
      break;
    case WM_GETDLGCODE: message.Result = DLGC_BUTTON; break;
    default: inherited::Dispatch(message); break;
  }
}

gfx::Rect TCustomCheckBox::BoxRect() const {
  int top = (Height() - BoxSize) / 2;
  int left = FAlignment == taLeftJustify ? Width() - BoxSize : 0;
  return gfx::Rect::FromSize(left, top, BoxSize, BoxSize);
}

gfx::Rect TCustomCheckBox::CaptionRect(gfx::Canvas& canvas) const {
  gfx::Rect measure{0, 0, 0, 0};
  std::string caption = Caption();
  canvas.DrawText(caption.empty() ? " " : caption, measure, gfx::DT_CALCRECT | gfx::DT_SINGLELINE);
  int left = FAlignment == taLeftJustify ? 0 : BoxSize + 4;
  int top = (Height() - measure.Height()) / 2;
  int right = std::min(left + measure.Width(), FAlignment == taLeftJustify ? Width() - BoxSize - 4 : Width());
  return gfx::Rect{left, top, right, top + measure.Height()};
}

void TCustomCheckBox::Paint() {
  gfx::Canvas& canvas = Canvas()->Target();
  canvas.SetBrush(Rgb(Color()));
  canvas.FillRect(ClientRect());
  gfx::Rect box = BoxRect();
  gfx::Rect inside = classic::DrawFrame(canvas, box, classic::FrameKind::Sunken);
  bool shaded = !Enabled() || Pressed() || FState == cbGrayed;
  canvas.SetBrush(Rgb(shaded ? clBtnFace : clWindow));
  canvas.FillRect(inside);
  if (FState != cbUnchecked) {
    TColor tick = (!Enabled() || FState == cbGrayed) ? clBtnShadow : clWindowText;
    canvas.SetBrush(Rgb(tick));
    for (std::size_t i = 0; i < TickTops.size(); ++i) {
      int x = inside.Left + 1 + int(i);
      int y = inside.Top + 1 + TickTops[i];
      canvas.FillRect(gfx::Rect{x, y, x + 1, y + 3});
    }
  }
  UseCaptionFont(canvas, *Font());
  gfx::Rect text = CaptionRect(canvas);
  DrawCaption(canvas, Caption(), text, gfx::DT_LEFT | gfx::DT_SINGLELINE | gfx::DT_VCENTER, Enabled());
  if (Focused()) classic::DrawFocusRect(canvas, text.Inflate(1, 1));
}

// ---- TRadioButton -------------------------------------------------------

TRadioButton::TRadioButton(core::TComponent* owner) : TCustomCheckBox(owner) { SetBounds(0, 0, 113, 17); }

void TRadioButton::Toggle() {
  if (!Checked()) SetChecked(true);
}

void TRadioButton::CheckedChanged() {
  if (!Checked()) return;
  TControlGuard guard(this);
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i));
      if (sibling && sibling != this) sibling->SetChecked(false);
      if (guard.Destroyed()) return;
    }
  }
  Click();
}

void TRadioButton::Paint() {
  gfx::Canvas& canvas = Canvas()->Target();
  canvas.SetBrush(Rgb(Color()));
  canvas.FillRect(ClientRect());
  // The classic sunken ring, as the check box's frame: shadow and dark
  // shadow on the upper left, highlight and light on the lower right.
  // o outer ring, i inner ring, w the well, x the dot when checked.
  static const char* const Ring[12] = {
      "....oooo....",  //
      "..ooiiiioo..",  //
      ".oiiwwwwiio.",  //
      ".oiwwxxwwio.",  //
      "oiwwxxxxwwio",  //
      "oiwxxxxxxwio",  //
      "oiwxxxxxxwio",  //
      "oiwwxxxxwwio",  //
      ".oiwwxxwwio.",  //
      ".oiiwwwwiio.",  //
      "..ooiiiioo..",  //
      "....oooo....",
  };
  gfx::Rect box = BoxRect();
  const gfx::Color well = Rgb((!Enabled() || Pressed()) ? clBtnFace : clWindow);
  const gfx::Color dot = Rgb(Enabled() ? clWindowText : clBtnShadow);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 12; ++x) {
      const bool upperLeft = x + y < 11;
      // The dot is 4 pixels across with its corners cut.
      const bool inDot = x >= 4 && x <= 7 && y >= 4 && y <= 7 && !((x == 4 || x == 7) && (y == 4 || y == 7));
      gfx::Color color;
      switch (Ring[y][x]) {
        case 'o': color = Rgb(upperLeft ? clBtnShadow : clBtnHighlight); break;
        case 'i': color = Rgb(upperLeft ? cl3DDkShadow : cl3DLight); break;
        case 'w': color = well; break;
        case 'x': color = Checked() && inDot ? dot : well; break;
        default: continue;
      }
      canvas.SetPixel(box.Left + x, box.Top + y, color);
    }
  }
  UseCaptionFont(canvas, *Font());
  gfx::Rect text = CaptionRect(canvas);
  DrawCaption(canvas, Caption(), text, gfx::DT_LEFT | gfx::DT_SINGLELINE | gfx::DT_VCENTER, Enabled());
  if (Focused()) classic::DrawFocusRect(canvas, text.Inflate(1, 1));
}

// ---- TCustomGroupBox ----------------------------------------------------

TCustomGroupBox::TCustomGroupBox(core::TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(ControlStyle() | TControlStyle{csAcceptsControls, csOpaque});
  SetBounds(0, 0, 185, 105);
}

namespace {

int CaptionHeight(const TFont& font) { return gfx::MeasureFont(font.ToGfxFont()).Height; }

}  // namespace

void TCustomGroupBox::AdjustClientRect(gfx::Rect& rect) const {
  rect.Top += CaptionHeight(*Font());
  rect = rect.Inflate(-2, -2);
}

void TCustomGroupBox::Paint() {
  gfx::Canvas& canvas = Canvas()->Target();
  gfx::Rect r = ClientRect();
  canvas.SetBrush(Rgb(Color()));
  canvas.FillRect(r);
  int height = CaptionHeight(*Font());
  classic::DrawFrame(canvas, gfx::Rect{r.Left, r.Top + height / 2, r.Right, r.Bottom}, classic::FrameKind::Etched);
  std::string caption = Caption();
  if (caption.empty()) return;
  UseCaptionFont(canvas, *Font());
  gfx::Rect text{0, 0, 0, 0};
  canvas.DrawText(caption, text, gfx::DT_CALCRECT | gfx::DT_SINGLELINE);
  text = gfx::Rect::FromSize(8, 0, std::min(text.Width() + 2, std::max(0, r.Width() - 16)), height);
  canvas.SetBrush(Rgb(Color()));
  canvas.FillRect(text);
  canvas.Brush().Style = gfx::BrushStyle::Clear;
  DrawCaption(canvas, caption, text.Offset(1, 0), gfx::DT_LEFT | gfx::DT_SINGLELINE, Enabled());
}

void TCustomGroupBox::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    case CM_FONTCHANGED:
      inherited::Dispatch(message);
      Realign();
      break;
    case CM_DIALOGCHAR:
      // The caption's accelerator moves the focus into the group.
      if (classic::IsAccelerator(char32_t(message.WParam), Caption()) && CanFocus()) {
        SelectNext(nullptr, true, true);
        message.Result = 1;
        return;
      }
      inherited::Dispatch(message);
      break;
    default: inherited::Dispatch(message); break;
  }
}

}  // namespace ui
