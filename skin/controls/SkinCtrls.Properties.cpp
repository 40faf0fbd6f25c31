// The published properties of the skinned controls and their registration
// for stored layouts.

#include "ui/classlib/Properties.h"
#include "skin/controls/SkinCtrls.h"

namespace skin {

namespace {

const std::vector<std::string> AlignmentNames{"taLeftJustify", "taRightJustify", "taCenter"};

}  // namespace

void TskSkinControl::DefineProperties(ui::TPropertyList<TskSkinControl>& list) {
  list.Property("AlphaBlend", &TskSkinControl::AlphaBlend, &TskSkinControl::SetAlphaBlend, false);
  list.Property("AlphaBlendValue", &TskSkinControl::AlphaBlendValue, &TskSkinControl::SetAlphaBlendValue,
                std::uint8_t(200));
  list.Property("AreaName", &TskSkinControl::AreaName, &TskSkinControl::SetAreaName, std::string());
  list.Property("DrawDefault", &TskSkinControl::DrawDefault, &TskSkinControl::SetDrawDefault, true);
  list.Component("SkinData", &TskSkinControl::SkinData, &TskSkinControl::SetSkinData);
  // Each class has its own default name; always stored.
  list.Property("SkinDataName", &TskSkinControl::SkinDataName, &TskSkinControl::SetSkinDataName);
  list.Property("UseSkinCursor", &TskSkinControl::UseSkinCursor, &TskSkinControl::SetUseSkinCursor, false);
}

void TskSkinCustomControl::DefineProperties(ui::TPropertyList<TskSkinCustomControl>& list) {
  list.Object("DefaultFont", [](TskSkinCustomControl& c) { return c.DefaultFont(); });
  list.Property("DefaultHeight", &TskSkinCustomControl::DefaultHeight, &TskSkinCustomControl::SetDefaultHeight, 0);
  list.Property("DefaultWidth", &TskSkinCustomControl::DefaultWidth, &TskSkinCustomControl::SetDefaultWidth, 0);
  list.Property("UseSkinFont", &TskSkinCustomControl::UseSkinFont, &TskSkinCustomControl::SetUseSkinFont, true);
}

void TskSkinButton::DefineProperties(ui::TPropertyList<TskSkinButton>& list) {
  list.Property("AllowAllUp", &TskSkinButton::AllowAllUp, &TskSkinButton::SetAllowAllUp, false);
  list.Property("CanFocused", &TskSkinButton::CanFocused, &TskSkinButton::SetCanFocused, true);
  list.Property("Cancel", &TskSkinButton::Cancel, &TskSkinButton::SetCancel, false);
  list.Property("Caption", &ui::TControl::Caption, &ui::TControl::SetCaption, std::string());
  list.Property("Default", &TskSkinButton::Default, &TskSkinButton::SetDefault, false);
  list.Property("Down", &TskSkinButton::Down, &TskSkinButton::SetDown, false);
  list.Object("Glyph", [](TskSkinButton& c) { return c.Glyph(); });
  list.Property("GroupIndex", &TskSkinButton::GroupIndex, &TskSkinButton::SetGroupIndex, 0);
  list.Enum("Layout", &TskSkinButton::Layout, &TskSkinButton::SetLayout, blGlyphLeft,
            {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});
  list.Property("Margin", &TskSkinButton::Margin, &TskSkinButton::SetMargin, -1);
  list.Property("ModalResult", &TskSkinButton::ModalResult, &TskSkinButton::SetModalResult, ui::mrNone);
  list.Property("NumGlyphs", &TskSkinButton::NumGlyphs, &TskSkinButton::SetNumGlyphs, 1);
  list.Property("RepeatInterval", &TskSkinButton::RepeatInterval, &TskSkinButton::SetRepeatInterval, 100);
  list.Property("RepeatMode", &TskSkinButton::RepeatMode, &TskSkinButton::SetRepeatMode, false);
  // The stored default is 4 while a new button has 1: a stored 4 is not
  // written, and a button read without the value keeps 1.
  list.Property("Spacing", &TskSkinButton::Spacing, &TskSkinButton::SetSpacing, 4);
  list.Property("TabStop", &ui::TWinControl::TabStop, &ui::TWinControl::SetTabStop, true);
  list.Property("UseSkinSize", &TskSkinButton::UseSkinSize, &TskSkinButton::SetUseSkinSize, true);
}

void TskSkinPanel::DefineProperties(ui::TPropertyList<TskSkinPanel>& list) {
  list.Property("AutoEnabledControls", &TskSkinPanel::AutoEnabledControls, &TskSkinPanel::SetAutoEnabledControls, true);
  list.Enum("BorderStyle", &TskSkinPanel::BorderStyle, &TskSkinPanel::SetBorderStyle, bvFrame,
            {"bvFrame", "bvRaised", "bvLowered", "bvNone"});
  list.Property("Caption", &ui::TControl::Caption, &ui::TControl::SetCaption, std::string());
  list.Property("CaptionMode", &TskSkinPanel::CaptionMode, &TskSkinPanel::SetCaptionMode, false);
  list.Property("Checked", &TskSkinPanel::Checked, &TskSkinPanel::SetChecked, false);
  list.Property("CheckedMode", &TskSkinPanel::CheckedMode, &TskSkinPanel::SetCheckedMode, false);
  list.Enum("DefaultAlignment", &TskSkinPanel::DefaultAlignment, &TskSkinPanel::SetDefaultAlignment, ui::taLeftJustify,
            AlignmentNames);
  list.Property("DefaultCaptionHeight", &TskSkinPanel::DefaultCaptionHeight, &TskSkinPanel::SetDefaultCaptionHeight, 22);
  list.Object("Glyph", [](TskSkinPanel& c) { return c.Glyph(); });
  list.Property("NumGlyphs", &TskSkinPanel::NumGlyphs, &TskSkinPanel::SetNumGlyphs, 1);
  list.Property("RealHeight", &TskSkinPanel::RealHeight, &TskSkinPanel::SetRealHeight, -1);
  list.Property("RollUpMode", &TskSkinPanel::RollUpMode, &TskSkinPanel::SetRollUpMode, false);
  list.Property("RollUpState", &TskSkinPanel::RollUpState, &TskSkinPanel::SetRollUpState, false);
  list.Property("Spacing", &TskSkinPanel::Spacing, &TskSkinPanel::SetSpacing, 2);
  list.Property("TabStop", &ui::TWinControl::TabStop, &ui::TWinControl::SetTabStop, false);
  list.Event("OnChangeRollUpState", &TskSkinPanel::OnChangeRollUpState);
  list.Event("OnChecked", &TskSkinPanel::OnChecked);
}

void TskSkinGroupBox::DefineProperties(ui::TPropertyList<TskSkinGroupBox>& list) {
  list.Property("CaptionMode", &TskSkinPanel::CaptionMode, &TskSkinPanel::SetCaptionMode, true);
}

void TskSkinCheckRadioBox::DefineProperties(ui::TPropertyList<TskSkinCheckRadioBox>& list) {
  list.Property("CanFocused", &TskSkinCheckRadioBox::CanFocused, &TskSkinCheckRadioBox::SetCanFocused, true);
  list.Property("Caption", &ui::TControl::Caption, &ui::TControl::SetCaption, std::string());
  list.Property("Checked", &TskSkinCheckRadioBox::Checked, &TskSkinCheckRadioBox::SetChecked, false);
  list.Property("Flat", &TskSkinCheckRadioBox::Flat, &TskSkinCheckRadioBox::SetFlat, true);
  list.Property("GroupIndex", &TskSkinCheckRadioBox::GroupIndex, &TskSkinCheckRadioBox::SetGroupIndex, 0);
  list.Property("ImageIndex", &TskSkinCheckRadioBox::ImageIndex, &TskSkinCheckRadioBox::SetImageIndex, 0);
  list.Component("Images", &TskSkinCheckRadioBox::Images, &TskSkinCheckRadioBox::SetImages);
  list.Property("Radio", &TskSkinCheckRadioBox::Radio, &TskSkinCheckRadioBox::SetRadio, false);
  list.Property("TabStop", &ui::TWinControl::TabStop, &ui::TWinControl::SetTabStop, false);
}

void TskSkinScrollBar::DefineProperties(ui::TPropertyList<TskSkinScrollBar>& list) {
  // The range first, then the page, then the position, so that reading
  // never clamps a value the next one would have allowed.
  list.Property("Both", &TskSkinScrollBar::Both, &TskSkinScrollBar::SetBoth, false);
  list.Property("BothMarkerWidth", &TskSkinScrollBar::BothMarkerWidth, &TskSkinScrollBar::SetBothMarkerWidth, 0);
  list.Property("BothSkinDataName", &TskSkinScrollBar::BothSkinDataName, &TskSkinScrollBar::SetBothSkinDataName,
                std::string("bothhscrollbar"));
  list.Property("CanFocused", &TskSkinScrollBar::CanFocused, &TskSkinScrollBar::SetCanFocused, false);
  list.Enum("Kind", &TskSkinScrollBar::Kind, &TskSkinScrollBar::SetKind, ui::sbHorizontal, {"sbHorizontal", "sbVertical"});
  list.Property("LargeChange", &TskSkinScrollBar::LargeChange, &TskSkinScrollBar::SetLargeChange, 1);
  list.Property("Max", &TskSkinScrollBar::Max, &TskSkinScrollBar::SetMax, 100);
  list.Property("Min", &TskSkinScrollBar::Min, &TskSkinScrollBar::SetMin, 0);
  list.Property("PageSize", &TskSkinScrollBar::PageSize, &TskSkinScrollBar::SetPageSize, 0);
  list.Property("Position", &TskSkinScrollBar::Position, &TskSkinScrollBar::SetPosition, 0);
  list.Property("SmallChange", &TskSkinScrollBar::SmallChange, &TskSkinScrollBar::SetSmallChange, 1);
  list.Property("TabStop", &ui::TWinControl::TabStop, &ui::TWinControl::SetTabStop, false);
  list.Event("OnChange", &TskSkinScrollBar::OnChange);
  list.Event("OnDownButtonClick", &TskSkinScrollBar::OnDownButtonClick);
  list.Event("OnLastChange", &TskSkinScrollBar::OnLastChange);
  list.Event("OnPageDown", &TskSkinScrollBar::OnPageDown);
  list.Event("OnPageUp", &TskSkinScrollBar::OnPageUp);
  list.Event("OnUpButtonClick", &TskSkinScrollBar::OnUpButtonClick);
}

void TskSkinStdLabel::DefineProperties(ui::TPropertyList<TskSkinStdLabel>& list) {
  list.Object("DefaultFont", [](TskSkinStdLabel& c) { return c.DefaultFont(); });
  list.Component("SkinData", &TskSkinStdLabel::SkinData, &TskSkinStdLabel::SetSkinData);
  list.Property("SkinDataName", &TskSkinStdLabel::SkinDataName, &TskSkinStdLabel::SetSkinDataName,
                std::string("stdlabel"));
  list.Property("UseSkinFont", &TskSkinStdLabel::UseSkinFont, &TskSkinStdLabel::SetUseSkinFont, true);
}

void RegisterSkinControls() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  ui::RegisterComponentClass<TskSkinPanel>("TskSkinPanel");
  ui::RegisterComponentClass<TskSkinGroupBox>("TskSkinGroupBox");
  ui::RegisterComponentClass<TskSkinButton>("TskSkinButton");
  ui::RegisterComponentClass<TskSkinCheckRadioBox>("TskSkinCheckRadioBox");
  ui::RegisterComponentClass<TskSkinScrollBar>("TskSkinScrollBar");
  ui::RegisterComponentClass<TskSkinStdLabel>("TskSkinStdLabel");
}

namespace {

// Linked whole (see skin/CMakeLists.txt), so this runs in every program that
// links the skinned controls.
const bool SkinControlsAdded = (ui::AddClassRegistrar(&RegisterSkinControls), true);

}  // namespace

}  // namespace skin
