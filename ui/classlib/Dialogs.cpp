#include "ui/classlib/Dialogs.h"

#include <algorithm>
#include <vector>

#include "core/Exception.h"
#include "gfx/TextFormat.h"
#include "platform/VirtualKeys.h"
#include "ui/classlib/Menus.h"
#include "ui/windowing/Windows.h"

namespace ui {

namespace {

enum class BoxIcon { None, Stop, Question, Exclamation, Information };

// A push button of the classic look for the message box.
//
//   input                          state and effect
//   ----------------------------   -------------------------------------
//   left press on it               Down, capture, focus
//   pointer leaves / returns       Down follows "pointer over it"
//   left release                   click when over it; Down cleared
//   Space down / up                Down / click
//   Enter (dialog key)             click when it is the active button
//   Escape (dialog key)            click when it is the cancel button
//   its accelerator letter         click
//
// The active button (the focused one, else the default one) has the
// black default frame.
class TMessageButton : public TCustomControl {
 public:
  using inherited = TCustomControl;

  explicit TMessageButton(core::TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque});
    SetTabStop(true);
    SetParentFont(true);
  }

  TModalResult ModalResult = mrNone;
  bool Default = false;
  bool Cancel = false;

  void Dispatch(TMessage& message) override {
    switch (message.Msg) {
      case CM_DIALOGKEY: CMDialogKey(message); break;
      case CM_DIALOGCHAR: CMDialogChar(message); break;
      case CM_FOCUSCHANGED: CMFocusChanged(message); break;
      case WM_GETDLGCODE:
        message.Result = DLGC_BUTTON | (FActive ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        break;
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        TCustomControl::Dispatch(message);
        Invalidate();
        break;
      default: TCustomControl::Dispatch(message); break;
    }
  }

  void SetActive(bool active) {
    if (active == FActive) return;
    FActive = active;
    Invalidate();
  }

  void Click() override {
    TControlGuard guard(this);
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(ModalResult);
    if (guard.Alive()) TCustomControl::Click();
  }

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    if (button == mbLeft) {
      if (CanFocus() && !Focused()) SetFocus();
      SetDown(true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
  }
  void MouseMove(TShiftState shift, int x, int y) override {
    if (MouseCapture()) SetDown(ClientRect().Contains(gfx::Point{x, y}));
    TCustomControl::MouseMove(shift, x, y);
  }
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    if (button == mbLeft) SetDown(false);
    TCustomControl::MouseUp(button, shift, x, y);
  }
  void KeyDown(int& key, TShiftState shift) override {
    if (key == platform::VK_SPACE) SetDown(true);
    TCustomControl::KeyDown(key, shift);
  }
  void KeyUp(int& key, TShiftState shift) override {
    if (key == platform::VK_SPACE && FDown) {
      SetDown(false);
      TControlGuard guard(this);
      Click();
      if (guard.Destroyed()) return;
    }
    TCustomControl::KeyUp(key, shift);
  }

  void Paint() override {
    TCanvas& canvas = *Canvas();
    gfx::Rect r = ClientRect();
    canvas.Brush()->SetColor(clBtnFace);
    canvas.FillRect(r);
    gfx::Canvas& target = canvas.Target();
    if (FActive) {
      target.FrameRect(r, ColorToRGB(clBlack));
      r = r.Inflate(-1, -1);
    }
    if (FDown) {
      target.FrameRect(r, ColorToRGB(clBtnShadow));
    } else {
      gfx::Rect inner = target.Frame3D(r, ColorToRGB(clBtnHighlight), ColorToRGB(cl3DDkShadow), 1);
      target.Frame3D(inner, ColorToRGB(cl3DLight), ColorToRGB(clBtnShadow), 1);
    }
    canvas.SetFont(*Font());
    canvas.Brush()->SetStyle(bsClear);
    gfx::Rect text = ClientRect();
    if (FDown) text = text.Offset(1, 1);
    canvas.DrawText(Caption(), text, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
    if (Focused()) {
      // The dotted focus rectangle, every other pixel.
      gfx::Rect focus = ClientRect().Inflate(-4, -4);
      if (FDown) focus = focus.Offset(1, 1);
      gfx::Color ink = ColorToRGB(clBlack);
      for (int x = focus.Left; x < focus.Right; x += 2) {
        target.SetPixel(x, focus.Top, ink);
        target.SetPixel(x, focus.Bottom - 1, ink);
      }
      for (int y = focus.Top; y < focus.Bottom; y += 2) {
        target.SetPixel(focus.Left, y, ink);
        target.SetPixel(focus.Right - 1, y, ink);
      }
    }
  }

 private:
  void SetDown(bool down) {
    if (down == FDown) return;
    FDown = down;
    Repaint();
  }

  void CMDialogKey(TMessage& message) {
    int key = int(message.WParam);
    if ((key == platform::VK_RETURN && FActive) || (key == platform::VK_ESCAPE && Cancel)) {
      if (CanFocus()) {
        message.Result = 1;
        Click();
        return;
      }
    }
    TCustomControl::Dispatch(message);
  }

  void CMDialogChar(TMessage& message) {
    char32_t hotkey = GetHotkey(Caption());
    char32_t typed = char32_t(message.WParam);
    if (typed >= 'A' && typed <= 'Z') typed = typed - 'A' + 'a';
    if (hotkey && hotkey == typed && CanFocus()) {
      message.Result = 1;
      Click();
      return;
    }
    TCustomControl::Dispatch(message);
  }

  void CMFocusChanged(TMessage& message) {
    auto* focused = FromLParam<TControl>(message.LParam);
    if (dynamic_cast<TMessageButton*>(focused)) {
      SetActive(focused == this);
    } else {
      SetActive(Default);
    }
    TCustomControl::Dispatch(message);
  }

  bool FActive = false;
  bool FDown = false;
};

// The box: icon at the left, the text beside it, the buttons centred
// below.
class TMessageForm : public TForm {
 public:
  using inherited = TForm;

  explicit TMessageForm(core::TComponent* owner) : TForm(owner) {}

  std::string Message;
  BoxIcon Icon = BoxIcon::None;
  gfx::Rect TextRect;
  TModalResult CloseResult = mrCancel;

 protected:
  void PaintWindow(HDC context) override {
    TForm::PaintWindow(context);
    TCanvas canvas;
    canvas.SetHandle(context);
    canvas.SetFont(*Font());
    DrawIcon(canvas, 12, 12);
    canvas.Brush()->SetStyle(bsClear);
    gfx::Rect r = TextRect;
    canvas.DrawText(Message, r, gfx::DT_WORDBREAK | gfx::DT_NOPREFIX | gfx::DT_EXPANDTABS);
  }

  void DoClose(TCloseAction& action) override {
    // Closing by the frame or Alt+F4 answers like the cancel button.
    if (ModalResult() == mrCancel) SetModalResult(CloseResult);
    TForm::DoClose(action);
  }

 private:
  void DrawIcon(TCanvas& canvas, int x, int y) {
    if (Icon == BoxIcon::None) return;
    gfx::Rect box = gfx::Rect::FromSize(x, y, 32, 32);
    TFont mark;
    mark.SetName("Arial");
    mark.SetHeight(-22);
    mark.SetStyle(TFontStyles{fsBold});
    std::string symbol;
    switch (Icon) {
      case BoxIcon::Stop:
        canvas.Pen()->SetColor(clMaroon);
        canvas.Brush()->SetColor(clRed);
        canvas.Ellipse(box);
        mark.SetColor(clWhite);
        symbol = "X";
        break;
      case BoxIcon::Exclamation: {
        canvas.Pen()->SetColor(clBlack);
        canvas.Brush()->SetColor(clYellow);
        std::vector<gfx::Point> outline{{x + 16, y + 1}, {x + 31, y + 30}, {x + 1, y + 30}, {x + 16, y + 1}};
        canvas.Polyline(outline);
        for (int row = 2; row < 30; ++row) {
          int half = (row - 1) / 2;
          canvas.Pen()->SetColor(clYellow);
          canvas.MoveTo(x + 16 - half + 1, y + row);
          canvas.LineTo(x + 16 + half, y + row);
        }
        mark.SetColor(clBlack);
        symbol = "!";
        break;
      }
      case BoxIcon::Question:
        canvas.Pen()->SetColor(clNavy);
        canvas.Brush()->SetColor(clWhite);
        canvas.Ellipse(box);
        mark.SetColor(clBlue);
        symbol = "?";
        break;
      case BoxIcon::Information:
        canvas.Pen()->SetColor(clNavy);
        canvas.Brush()->SetColor(clWhite);
        canvas.Ellipse(box);
        mark.SetColor(clBlue);
        symbol = "i";
        break;
      case BoxIcon::None: break;
    }
    canvas.SetFont(mark);
    canvas.Brush()->SetStyle(bsClear);
    gfx::Rect r = box;
    canvas.DrawText(symbol, r, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
    canvas.SetFont(*Font());
  }
};

struct ButtonSpec {
  std::string Caption;
  TModalResult Result;
};

constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;
constexpr int ButtonGap = 6;
constexpr int Margin = 12;
constexpr int MaxTextWidth = 400;

core::TComponentPtr<TMessageForm> MakeBox(const std::string& text, const std::string& caption,
                                          const std::vector<ButtonSpec>& buttons, int defaultIndex,
                                          int cancelIndex, BoxIcon icon) {
  auto form = core::CreateUnowned<TMessageForm>();
  form->SetBorderStyle(bsDialog);
  form->SetBorderIcons(TBorderIcons{biSystemMenu});
  form->SetPosition(poScreenCenter);
  form->SetCaption(caption);
  form->Message = text;
  form->Icon = icon;
  if (cancelIndex >= 0) form->CloseResult = buttons[std::size_t(cancelIndex)].Result;

  // Measure the text on a scratch bitmap with the form's font.
  TBitmap scratch(1, 1);
  TCanvas& measure = *scratch.Canvas();
  measure.SetFont(*form->Font());
  gfx::Rect textRect{0, 0, MaxTextWidth, 0};
  measure.DrawText(text.empty() ? std::string(" ") : text, textRect,
                   gfx::DT_CALCRECT | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX | gfx::DT_EXPANDTABS);
  int textLeft = icon == BoxIcon::None ? Margin : Margin + 32 + Margin;
  int iconHeight = icon == BoxIcon::None ? 0 : 32;
  int textTop = Margin;
  if (textRect.Height() < iconHeight) textTop += (iconHeight - textRect.Height()) / 2;
  form->TextRect = gfx::Rect::FromSize(textLeft, textTop, textRect.Width(), textRect.Height());

  int rowWidth = int(buttons.size()) * ButtonWidth + (int(buttons.size()) - 1) * ButtonGap;
  int contentBottom = std::max(Margin + iconHeight, textTop + textRect.Height());
  int clientWidth = std::max({textLeft + textRect.Width() + Margin, rowWidth + 2 * Margin, 120});
  int buttonTop = contentBottom + Margin;
  int clientHeight = buttonTop + ButtonHeight + Margin;
  form->SetClientSize(clientWidth, clientHeight);

  int x = (clientWidth - rowWidth) / 2;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    auto* button = core::Create<TMessageButton>(*form);
    button->SetParent(form.get());
    button->SetCaption(buttons[i].Caption);
    button->ModalResult = buttons[i].Result;
    button->Default = int(i) == defaultIndex;
    button->Cancel = int(i) == cancelIndex;
    button->SetActive(button->Default);
    button->SetBounds(x, buttonTop, ButtonWidth, ButtonHeight);
    x += ButtonWidth + ButtonGap;
    if (button->Default) form->SetActiveControl(button);
  }
  return form;
}

}  // namespace

int MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
  if (!Application) throw core::EInvalidOperation("A message box needs an application");
  std::vector<ButtonSpec> buttons;
  int cancelIndex = -1;
  switch (flags & 0x0F) {
    case MB_OKCANCEL:
      buttons = {{"OK", IDOK}, {"Cancel", IDCANCEL}};
      cancelIndex = 1;
      break;
    case MB_ABORTRETRYIGNORE:
      buttons = {{"&Abort", IDABORT}, {"&Retry", IDRETRY}, {"&Ignore", IDIGNORE}};
      break;
    case MB_YESNOCANCEL:
      buttons = {{"&Yes", IDYES}, {"&No", IDNO}, {"Cancel", IDCANCEL}};
      cancelIndex = 2;
      break;
    case MB_YESNO:
      buttons = {{"&Yes", IDYES}, {"&No", IDNO}};
      break;
    case MB_RETRYCANCEL:
      buttons = {{"&Retry", IDRETRY}, {"Cancel", IDCANCEL}};
      cancelIndex = 1;
      break;
    default:
      buttons = {{"OK", IDOK}};
      cancelIndex = 0;
      break;
  }
  int defaultIndex = int((flags >> 8) & 0x0F);
  if (defaultIndex >= int(buttons.size())) defaultIndex = 0;
  BoxIcon icon = BoxIcon::None;
  switch (flags & 0xF0) {
    case MB_ICONHAND: icon = BoxIcon::Stop; break;
    case MB_ICONQUESTION: icon = BoxIcon::Question; break;
    case MB_ICONEXCLAMATION: icon = BoxIcon::Exclamation; break;
    case MB_ICONASTERISK: icon = BoxIcon::Information; break;
    default: break;
  }
  auto form = MakeBox(text, caption, buttons, defaultIndex, cancelIndex, icon);
  return form->ShowModal();
}

core::TComponentPtr<TForm> CreateMessageDialog(const std::string& message, TMsgDlgType type,
                                               TMsgDlgButtons buttons) {
  static const char* const Captions[] = {"Warning", "Error", "Information", "Confirm", ""};
  static const struct {
    TMsgDlgBtn Button;
    const char* Caption;
    TModalResult Result;
  } Order[] = {
      {mbYes, "&Yes", mrYes},         {mbNo, "&No", mrNo},          {mbOK, "OK", mrOk},
      {mbCancel, "Cancel", mrCancel}, {mbAbort, "&Abort", mrAbort}, {mbRetry, "&Retry", mrRetry},
      {mbIgnore, "&Ignore", mrIgnore}, {mbAll, "&All", mrAll},      {mbNoToAll, "N&o to All", mrNoToAll},
      {mbYesToAll, "Yes to &All", mrYesToAll}, {mbHelp, "&Help", mrNone},
  };
  std::vector<ButtonSpec> specs;
  int defaultIndex = -1;
  int cancelIndex = -1;
  for (const auto& entry : Order) {
    if (!buttons.Contains(entry.Button)) continue;
    int index = int(specs.size());
    specs.push_back(ButtonSpec{entry.Caption, entry.Result});
    if (defaultIndex < 0 && (entry.Button == mbOK || entry.Button == mbYes)) defaultIndex = index;
  }
  for (TMsgDlgBtn candidate : {mbCancel, mbNo, mbOK}) {
    for (std::size_t i = 0; i < specs.size() && cancelIndex < 0; ++i) {
      for (const auto& entry : Order) {
        if (entry.Button == candidate && buttons.Contains(candidate) && specs[i].Caption == entry.Caption) {
          cancelIndex = int(i);
        }
      }
    }
  }
  if (defaultIndex < 0) defaultIndex = 0;
  if (specs.empty()) specs.push_back(ButtonSpec{"OK", mrOk});
  BoxIcon icons[] = {BoxIcon::Exclamation, BoxIcon::Stop, BoxIcon::Information, BoxIcon::Question, BoxIcon::None};
  std::string caption = Captions[type];
  if (type == mtCustom && Application) caption = Application->Title();
  auto form = MakeBox(message, caption, specs, defaultIndex, cancelIndex, icons[type]);
  return core::TComponentPtr<TForm>(form.release());
}

TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int) {
  if (!Application) throw core::EInvalidOperation("A message box needs an application");
  auto form = CreateMessageDialog(message, type, buttons);
  return form->ShowModal();
}

void ShowMessage(const std::string& message) {
  MessageDlg(message, mtCustom, TMsgDlgButtons{mbOK});
}

}  // namespace ui
