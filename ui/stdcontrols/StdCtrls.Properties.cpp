// The published properties of the standard and common controls, and
// their registration for stored layouts.

#include "gfx/TextUtf8.h"
#include "ui/stdcontrols/ComCtrls.h"
#include "ui/stdcontrols/Mask.h"
#include "ui/classlib/Properties.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui {

namespace {

const std::vector<std::string> AlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};

}  // namespace

void TButton::DefineProperties(TPropertyList<TButton>& list) {
  list.Property("Cancel", &TButton::Cancel, &TButton::SetCancel, false);
  list.Property("Caption", &TControl::Caption, &TControl::SetCaption, std::string());
  list.Property("Default", &TButton::Default, &TButton::SetDefault, false);
  list.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult, mrNone);
  list.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, true);
}

void TCustomCheckBox::DefineProperties(TPropertyList<TCustomCheckBox>& list) {
  list.Enum("Alignment", &TCustomCheckBox::Alignment, &TCustomCheckBox::SetAlignment, taRightJustify, AlignmentNames);
  list.Property("AllowGrayed", &TCustomCheckBox::AllowGrayed, &TCustomCheckBox::SetAllowGrayed, false);
  list.Property("Caption", &TControl::Caption, &TControl::SetCaption, std::string());
  list.Property("Checked", &TCustomCheckBox::Checked, &TCustomCheckBox::SetChecked, false);
  TPropertyInfo& state = list.Enum("State", &TCustomCheckBox::State, &TCustomCheckBox::SetState, cbUnchecked,
                                   {"cbUnchecked", "cbChecked", "cbGrayed"});
  // Checked says the rest.
  list.StoredIf(state, [](TCustomCheckBox& box) { return box.State() == cbGrayed; });
  list.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, true);
}

void TCustomGroupBox::DefineProperties(TPropertyList<TCustomGroupBox>& list) {
  list.Property("Caption", &TControl::Caption, &TControl::SetCaption, std::string());
}

void TScrollBar::DefineProperties(TPropertyList<TScrollBar>& list) {
  // In this order, so that reading never clamps a value the next one
  // would have allowed: the range first, then the page, then the position.
  list.Enum("Kind", &TScrollBar::Kind, &TScrollBar::SetKind, sbHorizontal, {"sbHorizontal", "sbVertical"});
  list.Property("LargeChange", &TScrollBar::LargeChange, &TScrollBar::SetLargeChange, 1);
  list.Property("Max", &TScrollBar::Max, &TScrollBar::SetMax, 100);
  list.Property("Min", &TScrollBar::Min, &TScrollBar::SetMin, 0);
  list.Property("PageSize", &TScrollBar::PageSize, &TScrollBar::SetPageSize, 0);
  list.Property("Position", &TScrollBar::Position, &TScrollBar::SetPosition, 0);
  list.Property("SmallChange", &TScrollBar::SmallChange, &TScrollBar::SetSmallChange, 1);
  list.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, true);
  list.Event("OnChange", &TScrollBar::OnChange);
  list.Event("OnScroll", &TScrollBar::OnScroll);
}

void TCustomLabel::DefineProperties(TPropertyList<TCustomLabel>& list) {
  list.Enum("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment, taLeftJustify, AlignmentNames);
  list.Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize, true);
  list.Property("Caption", &TControl::Caption, &TControl::SetCaption, std::string());
  list.Component("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
  list.Enum("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout, tlTop, {"tlTop", "tlCenter", "tlBottom"});
  list.Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar, true);
  list.Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent, false);
  list.Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap, false);
}

void TCustomEdit::DefineProperties(TPropertyList<TCustomEdit>& list) {
  list.Property("AutoSelect", &TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect, true);
  list.Property("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize, true);
  list.Enum("BorderStyle", &TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle, bsSingle,
            {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
  list.Enum("CharCase", &TCustomEdit::CharCase, &TCustomEdit::SetCharCase, ecNormal,
            {"ecNormal", "ecUpperCase", "ecLowerCase"});
  list.Property("HideSelection", &TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection, true);
  list.Property("MaxLength", &TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength, 0);
  list.Property(
      "PasswordChar", [](TCustomEdit& edit) {
        char32_t c = edit.PasswordChar();
        return c ? gfx::EncodeUtf8(std::u32string(1, c)) : std::string();
      },
      [](TCustomEdit& edit, const std::string& text) {
        std::u32string decoded = gfx::DecodeUtf8(text);
        edit.SetPasswordChar(decoded.empty() ? 0 : decoded.front());
      },
      std::string());
  list.Property("ReadOnly", &TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly, false);
  list.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, true);
  list.Property("Text", &TControl::Text, &TControl::SetText, std::string());
  list.Event("OnChange", &TCustomEdit::OnChange);
}

void TCustomMemo::DefineProperties(TPropertyList<TCustomMemo>& list) {
  list.Property("AutoSize", &TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize, false);
  list.Strings("Lines", [](TCustomMemo& memo) { return memo.Lines(); });
  list.Enum("ScrollBars", &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars, ssNone,
            {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"});
  // A memo's text is its lines.
  TPropertyInfo& text = list.Property("Text", &TControl::Text, &TControl::SetText, std::string());
  list.StoredIf(text, [](TCustomMemo&) { return false; });
  list.Property("WantReturns", &TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns, true);
  list.Property("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs, false);
  list.Property("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap, true);
}

void TUpDown::DefineProperties(TPropertyList<TUpDown>& list) {
  list.Property("Increment", &TUpDown::Increment, &TUpDown::SetIncrement, 1);
  list.Property("Max", &TUpDown::Max, &TUpDown::SetMax, 100);
  list.Property("Min", &TUpDown::Min, &TUpDown::SetMin, 0);
  list.Enum("Orientation", &TUpDown::Orientation, &TUpDown::SetOrientation, udVertical, {"udHorizontal", "udVertical"});
  list.Property("Position", &TUpDown::Position, &TUpDown::SetPosition, 0);
  list.Property("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap, false);
  list.Event("OnChange", &TUpDown::OnChange);
  list.Event("OnChanging", &TUpDown::OnChanging);
  list.Event("OnClick", &TUpDown::OnClick);
}

void TTabSheet::DefineProperties(TPropertyList<TTabSheet>& list) {
  list.Property("Caption", &TControl::Caption, &TControl::SetCaption, std::string());
  list.Property("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex, -1);
  list.Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible, true);
}

void TPageControl::DefineProperties(TPropertyList<TPageControl>& list) {
  list.Component("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
  list.Property("HotTrack", &TPageControl::HotTrack, &TPageControl::SetHotTrack, false);
  list.Property("MultiLine", &TPageControl::MultiLine, &TPageControl::SetMultiLine, false);
  list.Enum("Style", &TPageControl::Style, &TPageControl::SetStyle, tsTabs, {"tsTabs", "tsButtons", "tsFlatButtons"});
  list.Property("TabHeight", &TPageControl::TabHeight, &TPageControl::SetTabHeight, 0);
  list.Enum("TabPosition", &TPageControl::TabPosition, &TPageControl::SetTabPosition, tpTop,
            {"tpTop", "tpBottom", "tpLeft", "tpRight"});
  list.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, true);
  list.Property("TabWidth", &TPageControl::TabWidth, &TPageControl::SetTabWidth, 0);
  list.Event("OnChange", &TPageControl::OnChange);
  list.Event("OnChanging", &TPageControl::OnChanging);
}

void RegisterStandardControls() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  RegisterComponentClass<TButton>("TButton");
  RegisterComponentClass<TCheckBox>("TCheckBox");
  RegisterComponentClass<TRadioButton>("TRadioButton");
  RegisterComponentClass<TGroupBox>("TGroupBox");
  RegisterComponentClass<TScrollBar>("TScrollBar");
  RegisterComponentClass<TLabel>("TLabel");
  RegisterComponentClass<TEdit>("TEdit");
  RegisterComponentClass<TMaskEdit>("TMaskEdit");
  RegisterComponentClass<TMemo>("TMemo");
  RegisterComponentClass<TPageControl>("TPageControl");
  RegisterComponentClass<TTabSheet>("TTabSheet");
  RegisterComponentClass<TUpDown>("TUpDown");
}

namespace {

// Linked whole (see ui/CMakeLists.txt), so this runs in every program that
// links the standard controls.
const bool StandardControlsAdded = (AddClassRegistrar(&RegisterStandardControls), true);

}  // namespace

}  // namespace ui
