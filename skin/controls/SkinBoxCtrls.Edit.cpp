#include "skin/controls/SkinBoxCtrls.Edit.h"

#include <cmath>
#include <cstdio>
#include <functional>

#include "gfx/Canvas.h"
#include "gfx/TextUtf8.h"
#include "platform/VirtualKeys.h"
#include "skin/data/SkinData.Controls.h"
#include "skin/data/SkinUtils.h"
#include "skin/form/SkinMenus.h"
#include "ui/classlib/ControlMessages.h"
#include "ui/classlib/Menus.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/Windows.h"

namespace skin {

namespace {

void ApplyFontValues(ui::TFont& target, const std::string& name, int height, gfx::FontStyle style) {
  target.SetName(name);
  target.SetHeight(height);
  target.SetStyle(ui::TFontStyles::FromBits(std::uint64_t(style)));
}

}  // namespace

// ---- TskCustomEdit ------------------------------------------------------------

TskCustomEdit::TskCustomEdit(core::TComponent* owner) : TCustomMaskEdit(owner) {
  SetControlStyle(ControlStyle() | ui::TControlStyle{ui::csOpaque});
}

TskCustomEdit::~TskCustomEdit() = default;

void TskCustomEdit::SetEditTransparent(bool value) {
  if (value == FEditTransparent) return;
  FEditTransparent = value;
  if (HandleAllocated()) RecreateWnd();
}

void TskCustomEdit::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == core::opRemove && component == FSysPopupMenu) FSysPopupMenu = nullptr;
}

void TskCustomEdit::GetTextColors(ui::TEditColors& colors) {
  inherited::GetTextColors(colors);
  if (FEditTransparent) colors.Background.reset();
}

void TskCustomEdit::Dispatch(ui::TMessage& message) {
  switch (message.Msg) {
    case ui::WM_CHAR:
      // Enter and Escape are the form's (default and cancel buttons); the
      // edit only reports them.
      if (message.WParam == 13 || message.WParam == 27) {
        char32_t key = char32_t(message.WParam);
        KeyPress(key);
        return;
      }
      break;
    case ui::WM_CONTEXTMENU:
      if (!PopupMenu()) {
        WMContextMenu(message);
        return;
      }
      break;
    case ui::WM_CANCELMODE:
      if (OnEditCancelMode) OnEditCancelMode(this);
      break;
    default: break;
  }
  inherited::Dispatch(message);
}

namespace {

void AddMenuItem(TskSkinPopupMenu& menu, TskSkinData* skin, const char* key, const char* fallback, bool enabled,
                 std::function<void()> action) {
  auto* item = core::Create<ui::TMenuItem>(menu);
  std::string caption = "-";
  if (key) {
    caption = skin && skin->ResourceStrData() ? skin->ResourceStrData()->GetResStr(key) : std::string();
    if (caption.empty()) caption = fallback;
  }
  item->SetCaption(caption);
  item->SetEnabled(enabled);
  if (action) item->OnClick = [action](core::TComponent*) { action(); };
  menu.Items()->Add(item);
}

}  // namespace

void OpenSkinEditMenu(ui::TCustomEdit& edit, TskSkinPopupMenu*& menu, TskSkinData* skin, ui::TMessage& message) {
  gfx::Point point = ui::PointFromLParam(message.LParam);
  // Negative coordinates are the keyboard's request (Shift+F10, the menu
  // key): the menu opens at the control's centre.
  const bool fromKeyboard = point.X < 0 && point.Y < 0;
  if (!fromKeyboard && !edit.ClientRect().Contains(edit.ScreenToClient(point))) {
    edit.DefaultHandler(message);
    return;
  }
  if (fromKeyboard) point = edit.ClientToScreen(gfx::Point{edit.Width() / 2, edit.Height() / 2});
  message.Result = 1;
  // Made again for each request, so the items show the state of now.
  if (menu) menu->Free();
  menu = core::Create<TskSkinPopupMenu>(edit);
  menu->FreeNotification(&edit);
  menu->SetSkinData(skin);
  const bool selected = edit.SelLength() > 0;
  const bool readOnly = edit.ReadOnly();
  const int length = int(gfx::DecodeUtf8(edit.Text()).size());
  ui::TCustomEdit* target = &edit;
  AddMenuItem(*menu, skin, "EDIT_UNDO", "撤销", edit.CanUndo(), [target] { target->Undo(); });
  AddMenuItem(*menu, skin, nullptr, nullptr, true, nullptr);
  AddMenuItem(*menu, skin, "EDIT_CUT", "剪切", selected && !readOnly, [target] { target->CutToClipboard(); });
  AddMenuItem(*menu, skin, "EDIT_COPY", "复制", selected, [target] { target->CopyToClipboard(); });
  AddMenuItem(*menu, skin, "EDIT_PASTE", "粘贴", !ui::GetClipboardText().empty() && !readOnly,
              [target] { target->PasteFromClipboard(); });
  AddMenuItem(*menu, skin, "EDIT_DELETE", "删除", selected && !readOnly, [target] { target->ClearSelection(); });
  AddMenuItem(*menu, skin, nullptr, nullptr, true, nullptr);
  AddMenuItem(*menu, skin, "EDIT_SELECTALL", "全部选择", !(edit.SelStart() == 0 && edit.SelLength() == length),
              [target] { target->SelectAll(); });
  menu->SetPopupComponent(&edit);
  if (!menu->PopupFromControl(edit, point.X, point.Y)) {
    // No skin: the class library's plain menu.
    menu->ui::TPopupMenu::Popup(point.X, point.Y);
  }
}

void TskCustomEdit::WMContextMenu(ui::TMessage& message) {
  OpenSkinEditMenu(*this, FSysPopupMenu, MenuSkinData(), message);
}

// ---- TskSkinCustomEdit --------------------------------------------------------

TskSkinCustomEdit::TskSkinCustomEdit(core::TComponent* owner) : TskCustomEdit(owner) {
  SetAutoSize(false);
  SetBorderStyle(ui::bsNone);
  Font()->SetName("宋体");
  Font()->SetHeight(14);
  Font()->SetColor(ui::clBlack);
  FDefaultFont.Assign(*Font());
  FDefaultFont.OnChange = [this](ui::TGraphicsObject*) {
    if (FSkinIndex == -1) {
      Font()->Assign(FDefaultFont);
      SetMargins(2, 2);
    }
  };
  SetMargins(2, 2);
  SetBounds(Left(), Top(), Width(), 20);
}

TskSkinCustomEdit::~TskSkinCustomEdit() {
  FDefaultFont.OnChange = nullptr;
  if (FSkinData) RemoveFreeNotification(FSkinData);
}

void TskSkinCustomEdit::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == core::opRemove && component == FSkinData) {
    FSkinData = nullptr;
    FSkinIndex = -1;
  }
}

void TskSkinCustomEdit::SetSkinData(TskSkinData* value) {
  if (FSkinData) RemoveFreeNotification(FSkinData);
  FSkinData = value;
  if (FSkinData) FSkinData->FreeNotification(this);
  if (FSkinData && !FSkinData->Empty() && !ComponentState().Contains(core::csDesigning)) ApplySkinChange();
}

void TskSkinCustomEdit::SetUseSkinFont(bool value) {
  if (value == FUseSkinFont) return;
  FUseSkinFont = value;
  ApplySkinChange();
}

void TskSkinCustomEdit::SetDefaultWidth(int value) {
  FDefaultWidth = value;
  if (FSkinIndex == -1 && value > 0) SetBounds(Left(), Top(), value, Height());
}

void TskSkinCustomEdit::SetDefaultHeight(int value) {
  FDefaultHeight = value;
  if (FSkinIndex == -1 && value > 0) SetBounds(Left(), Top(), Width(), value);
}

void TskSkinCustomEdit::SetButtonMode(bool value) {
  if (value == FButtonMode) return;
  FButtonMode = value;
  UpdateGeometry();
  if (HandleAllocated()) RecreateWnd();
}

const TskDataSkinEditControl* TskSkinCustomEdit::Section() const {
  if (FSkinIndex < 0 || !FSkinData) return nullptr;
  const auto& controls = FSkinData->SkinControls();
  if (std::size_t(FSkinIndex) >= controls.size()) return nullptr;
  return dynamic_cast<const TskDataSkinEditControl*>(controls[std::size_t(FSkinIndex)].get());
}

void TskSkinCustomEdit::FindSkinSection() {
  FSkinIndex = FSkinData && !FSkinData->Empty() ? FSkinData->FindControlIndex(FSkinDataName) : -1;
  // A section of another kind counts as none.
  if (FSkinIndex != -1 && !Section()) FSkinIndex = -1;
}

// EditRect and ButtonRect:
// 1. no section: the button is the square at the right, the edit 2 pixels
//    inside the rest;
// 2. section: clientrect and buttonrect with what lies right of the
//    fixed right part moved by the width difference, and, when the font
//    is not the skin's (the height is free), grown with the height.
void TskSkinCustomEdit::CalcGeometry(int width, int height, TRect& editRect, TRect& buttonRect) const {
  const TskDataSkinEditControl* section = Section();
  if (!section) {  // 1
    buttonRect = FButtonMode ? TRect{width - height, 0, width, height} : TRect{};
    editRect = TRect{2, 2, (FButtonMode ? buttonRect.Left : width) - 2, height - 2};
    return;
  }
  const int skinWidth = RectWidth(section->SkinRect);
  const int skinHeight = RectHeight(section->SkinRect);
  const int dx = width - skinWidth;
  const int rightOffset = skinWidth - section->RightTopPoint.X;
  editRect = section->ClientRect;  // 2
  editRect.Right += dx;
  buttonRect = section->ButtonRect;
  if (buttonRect.Left >= skinWidth - rightOffset) {
    buttonRect.Left += dx;
    buttonRect.Right += dx;
  }
  if (!FUseSkinFont) {
    editRect.Bottom += height - skinHeight;
    buttonRect.Bottom += height - skinHeight;
  }
  if (!FButtonMode) buttonRect = TRect{};
}

void TskSkinCustomEdit::UpdateGeometry() { CalcGeometry(Width(), Height(), FEditRect, FButtonRect); }

void TskSkinCustomEdit::AdjustNonClientArea(gfx::Rect& windowRect) const {
  TRect editRect;
  TRect buttonRect;
  CalcGeometry(windowRect.Width(), windowRect.Height(), editRect, buttonRect);
  windowRect = TRect{windowRect.Left + editRect.Left, windowRect.Top + editRect.Top,
                     windowRect.Left + std::max(editRect.Left, editRect.Right),
                     windowRect.Top + std::max(editRect.Top, editRect.Bottom)};
}

// The frame, in window coordinates; the client area is the edit engine's.
// 1. no section: the window colour inside a one-pixel shadow line, and
//    the button as a raised face with an arrow;
// 2. section: the frame image at the skin's height from skinrect (or
//    activeskinrect while hot or focused), three parts along x;
// 3. the button's look of its state over ButtonRect;
// 4. the image stretched to the window's height.
void TskSkinCustomEdit::PaintNonClient(gfx::Canvas& canvas, gfx::Size windowSize) {
  UpdateGeometry();
  const TskDataSkinEditControl* section = Section();
  const gfx::Bitmap* picture = nullptr;
  if (section && section->PictureIndex >= 0 &&
      std::size_t(section->PictureIndex) < FSkinData->ActivePictures().size()) {
    picture = &FSkinData->ActivePictures()[std::size_t(section->PictureIndex)];
  }
  const TRect window{0, 0, windowSize.Width, windowSize.Height};
  if (!section || !picture || IsNullRect(section->SkinRect)) {  // 1
    canvas.SetBrush(ui::ColorToRGB(Color()));
    canvas.FillRect(window);
    canvas.FrameRect(window, ui::ColorToRGB(ui::clBtnShadow));
    if (FButtonMode) {
      TRect button = FButtonRect.Inflate(-1, -1);
      canvas.SetBrush(ui::ColorToRGB(FButtonDown && FButtonActive ? ui::clBtnShadow : ui::clBtnFace));
      canvas.FillRect(button);
      if (!(FButtonDown && FButtonActive)) ui::classic::DrawFrame(canvas, button, ui::classic::FrameKind::Raised);
      DrawArrowMark(canvas, button, Enabled() ? 0 : ui::ColorToRGB(ui::clGrayText), ArrowDirection::Down);
    }
    return;
  }
  const bool hot = FMouseIn || Focused();
  const TRect source = hot && !IsNullRect(section->ActiveSkinRect) ? section->ActiveSkinRect : section->SkinRect;
  const int skinWidth = RectWidth(section->SkinRect);
  const int leftOffset = section->LeftTopPoint.X;
  const int rightOffset = skinWidth - section->RightTopPoint.X;
  gfx::Bitmap image;  // 2
  BuildHorzThreePartImage(leftOffset, rightOffset, *picture,
                          section->StretchEffect ? TileMode::Stretch : TileMode::Tile, windowSize.Width, source,
                          image);
  if (FButtonMode && !IsNullRect(FButtonRect)) {  // 3
    TRect look;
    if (!Enabled() && !IsNullRect(section->UnEnabledButtonRect)) {
      look = section->UnEnabledButtonRect;
    } else if (FButtonDown && FButtonActive) {
      look = IsNullRect(section->DownButtonRect) ? section->ActiveButtonRect : section->DownButtonRect;
    } else if (FButtonActive) {
      look = section->ActiveButtonRect;
    }
    if (!IsNullRect(look)) gfx::Canvas(image).CopyRect(FButtonRect, *picture, look);
  }
  if (image.Height() == windowSize.Height) {  // 4
    canvas.Draw(0, 0, image);
  } else {
    canvas.StretchDraw(window, image);
  }
}

void TskSkinCustomEdit::GetTextColors(ui::TEditColors& colors) {
  inherited::GetTextColors(colors);
  if (const TskDataSkinEditControl* section = Section()) {
    colors.Text = !Enabled() ? section->DisabledFontColor : Focused() ? section->ActiveFontColor : section->FontColor;
  }
  // The frame is opaque: the edit always fills its client area.
  colors.Background = ui::ColorToRGB(Color());
}

void TskSkinCustomEdit::RepaintFrame() {
  if (HandleAllocated()) Perform(ui::WM_NCPAINT, 0, 0);
}

void TskSkinCustomEdit::FontFromSection() {
  const TskDataSkinEditControl* section = Section();
  ui::TFont font;
  font.Assign(FDefaultFont);
  if (section && FUseSkinFont) ApplyFontValues(font, section->FontName, section->FontHeight, section->FontStyle);
  if (section) font.SetColor(ui::TColor(section->FontColor));
  if (FSkinData && FSkinData->ResourceStrData()) font.SetCharset(FSkinData->ResourceStrData()->CharSet());
  Font()->Assign(font);
  SetMargins(2, 2);
}

// 1. the section again; 2. font and colours; 3. the size: the skin's
// height with the skin's font, else the font's height plus the frame;
// without a section DefaultWidth and DefaultHeight; 4. the frame again.
void TskSkinCustomEdit::ApplySkinChange() {
  FindSkinSection();  // 1
  FontFromSection();  // 2
  const TskDataSkinEditControl* section = Section();
  int width = Width();
  int height = Height();
  if (section && FUseSkinFont) {  // 3
    height = RectHeight(section->SkinRect);
  } else if (section) {
    height = gfx::MeasureFont(Font()->ToGfxFont()).Height + RectHeight(section->SkinRect) -
             RectHeight(section->ClientRect);
  } else {
    if (FDefaultWidth > 0) width = FDefaultWidth;
    if (FDefaultHeight > 0) height = FDefaultHeight;
  }
  SetBounds(Left(), Top(), width, height);
  UpdateGeometry();
  if (HandleAllocated()) {  // 4
    ui::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     ui::SWP_NOMOVE | ui::SWP_NOSIZE | ui::SWP_NOZORDER | ui::SWP_FRAMECHANGED);
    RepaintFrame();
    Invalidate();
  }
}

void TskSkinCustomEdit::WMNCHitTest(ui::TMessage& message) {
  gfx::Rect bounds;
  ui::GetWindowRect(Handle(), bounds);
  const gfx::Point screen = ui::PointFromLParam(message.LParam);
  const gfx::Point p{screen.X - bounds.Left, screen.Y - bounds.Top};
  if (FButtonMode && !ComponentState().Contains(core::csDesigning)) {
    UpdateGeometry();
    if (FButtonRect.Contains(p)) {
      message.Result = ui::HTHSCROLL;  // the button
      return;
    }
    if (!FEditRect.Contains(p)) {
      message.Result = ui::HTVSCROLL;  // the frame
      return;
    }
  }
  inherited::Dispatch(message);
}

// The button is in the non-client area:
//   non-client press/double click on it   ButtonDown, frame repaint
//   non-client release on it              ButtonDown off, focus, OnButtonClick
//   non-client move                       ButtonActive := over the button
void TskSkinCustomEdit::WMNCMouse(ui::TMessage& message) {
  const bool onButton = message.WParam == ui::WPARAM(ui::HTHSCROLL);
  switch (message.Msg) {
    case ui::WM_NCLBUTTONDOWN:
    case ui::WM_NCLBUTTONDBLCLK:
      if (onButton) {
        FButtonDown = true;
        RepaintFrame();
      }
      break;
    case ui::WM_NCLBUTTONUP:
      if (onButton) {
        FButtonDown = false;
        RepaintFrame();
        if (!Focused()) SetFocus();
        ui::TControlGuard guard(this);
        if (OnButtonClick) OnButtonClick(this);
        if (guard.Destroyed()) return;
      }
      break;
    case ui::WM_NCMOUSEMOVE:
      if (onButton != FButtonActive) {
        FButtonActive = onButton;
        RepaintFrame();
      }
      break;
    default: break;
  }
  inherited::Dispatch(message);
}

void TskSkinCustomEdit::Dispatch(ui::TMessage& message) {
  switch (message.Msg) {
    case ui::WM_NCHITTEST: WMNCHitTest(message); return;
    case ui::WM_NCLBUTTONDOWN:
    case ui::WM_NCLBUTTONDBLCLK:
    case ui::WM_NCLBUTTONUP:
    case ui::WM_NCMOUSEMOVE:
      if (FButtonMode) {
        WMNCMouse(message);
        return;
      }
      break;
    case ui::WM_MOUSEMOVE:
      if (FButtonActive) {
        FButtonActive = false;
        RepaintFrame();
      }
      break;
    case ui::CM_MOUSEENTER: {
      ui::TControlGuard guard(this);
      inherited::Dispatch(message);
      if (guard.Destroyed()) return;
      FMouseIn = true;
      RepaintFrame();
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    }
    case ui::CM_MOUSELEAVE: {
      ui::TControlGuard guard(this);
      inherited::Dispatch(message);
      if (guard.Destroyed()) return;
      FMouseIn = false;
      FButtonActive = false;
      RepaintFrame();
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    }
    case ui::WM_SETFOCUS:
    case ui::WM_KILLFOCUS:
    case ui::CM_ENABLEDCHANGED: {
      ui::TControlGuard guard(this);
      inherited::Dispatch(message);
      if (guard.Destroyed()) return;
      RepaintFrame();
      Invalidate();
      return;
    }
    case ui::WM_SIZE: {
      ui::TControlGuard guard(this);
      inherited::Dispatch(message);
      if (guard.Destroyed()) return;
      UpdateGeometry();
      RepaintFrame();
      return;
    }
    default: break;
  }
  inherited::Dispatch(message);
}

// ---- TskSkinNumericEdit -------------------------------------------------------

TskSkinNumericEdit::TskSkinNumericEdit(core::TComponent* owner) : TskSkinCustomEdit(owner) {
  SetTextUnchecked("0");
  SetBounds(Left(), Top(), 120, 20);
  SetSkinDataName("edit");
}

double TskSkinNumericEdit::Clamp(double v) const {
  if (FMinValue == FMaxValue) return v;
  return std::min(std::max(v, FMinValue), FMaxValue);
}

std::string TskSkinNumericEdit::Format(double v) const {
  char buffer[64];
  if (FValueType == vtFloat) {
    std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(FDecimal, 0, 15), v);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.0f", std::round(v));
  }
  return buffer;
}

// Not empty, not "-" alone; digits, one leading minus sign and (floats)
// one separator that does not start the text.
bool TskSkinNumericEdit::IsValidNumber(const std::string& text) const {
  if (text.empty() || text == "-") return false;
  int separators = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') continue;
    if (c == '-' && i == 0) continue;
    if (c == '.' && FValueType == vtFloat && i > 0 && ++separators == 1) continue;
    return false;
  }
  return true;
}

void TskSkinNumericEdit::SetTextUnchecked(const std::string& text) {
  FStopCheck = true;
  SetText(text);
  FStopCheck = false;
}

void TskSkinNumericEdit::SetValue(double value) {
  FValue = Clamp(value);
  SetTextUnchecked(Format(FValue));
}

// The text changed (typed, pasted or set):
// 1. skipped while the edit rewrites its own text;
// 2. a number is clamped; Value follows;
// 3. a number beyond the range is rewritten at once (a too small one
//    stays while it may still grow into the range, "0" -> "0" then "05");
void TskSkinNumericEdit::Change() {
  if (FFromEdit) return;  // 1
  if (!FStopCheck) {
    const std::string text = Text();
    if (IsValidNumber(text)) {
      const double v = std::strtod(text.c_str(), nullptr);  // 2
      const double c = Clamp(v);
      if (c != FValue) FValue = c;
      const bool rewrite = (c < v && (v >= 0 || c >= 0)) || (c > v && v < 0 && c < 0) ||
                           (FMinValue > 0 && v < 0) || (FMinValue < 0 && v > 0);
      if (rewrite) {  // 3
        FFromEdit = true;
        const std::string shown = Format(c);
        SetText(shown);
        SetSelStart(int(shown.size()));
        FFromEdit = false;
      }
    }
  }
  inherited::Change();
}

bool TskSkinNumericEdit::KeyAccepted(char32_t key) const {
  const std::string text = Text();
  if (ReadOnly() && (key == 8 || key >= 0x20)) return false;
  if (key < 0x20) return key != 13;
  if (key >= '0' && key <= '9') return true;
  if (key == '-') return text.find('-') == std::string::npos;
  if (key == '.' && FValueType == vtFloat) return text.find('.') == std::string::npos;
  return false;
}

void TskSkinNumericEdit::Dispatch(ui::TMessage& message) {
  switch (message.Msg) {
    case ui::WM_CHAR:
      if (message.WParam != 13 && message.WParam != 27 && !KeyAccepted(char32_t(message.WParam))) {
        ui::MessageBeep(0);
        return;
      }
      break;
    case ui::WM_KEYDOWN:
      if (FSupportUpDownKeys && (message.WParam == ui::WPARAM(platform::VK_UP) || message.WParam == ui::WPARAM(platform::VK_DOWN))) {
        SetValue(FValue + (message.WParam == ui::WPARAM(platform::VK_UP) ? FIncrement : -FIncrement));
        return;
      }
      break;
    case ui::WM_KILLFOCUS: {
      ui::TControlGuard guard(this);
      inherited::Dispatch(message);
      if (guard.Destroyed()) return;
      // An emptied field means the smallest number, not the one the user
      // deleted.
      if (Text().empty()) FValue = Clamp(FMinValue);
      SetTextUnchecked(Format(FValue));
      return;
    }
    default: break;
  }
  inherited::Dispatch(message);
}

}  // namespace skin
