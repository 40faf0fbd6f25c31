// The published properties of the skinned edits, memo, up-down and page
// control, and their registration for stored layouts.

#include "ui/classlib/Properties.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.ScrollBar.h"
#include "skin/controls/SkinTabs.h"

namespace skin {

void TskSkinCustomEdit::DefineProperties(ui::TPropertyList<TskSkinCustomEdit>& list) {
  list.Property("ButtonMode", &TskSkinCustomEdit::ButtonMode, &TskSkinCustomEdit::SetButtonMode, false);
  list.Object("DefaultFont", [](TskSkinCustomEdit& c) { return c.DefaultFont(); });
  list.Property("DefaultHeight", &TskSkinCustomEdit::DefaultHeight, &TskSkinCustomEdit::SetDefaultHeight, 0);
  list.Property("DefaultWidth", &TskSkinCustomEdit::DefaultWidth, &TskSkinCustomEdit::SetDefaultWidth, 0);
  list.Component("SkinData", &TskSkinCustomEdit::SkinData, &TskSkinCustomEdit::SetSkinData);
  list.Property("SkinDataName", &TskSkinCustomEdit::SkinDataName, &TskSkinCustomEdit::SetSkinDataName,
                std::string("edit"));
  list.Property("UseSkinFont", &TskSkinCustomEdit::UseSkinFont, &TskSkinCustomEdit::SetUseSkinFont, true);
}

void TskSkinNumericEdit::DefineProperties(ui::TPropertyList<TskSkinNumericEdit>& list) {
  list.Property("Decimal", &TskSkinNumericEdit::Decimal, &TskSkinNumericEdit::SetDecimal, 2);
  list.Property("Increment", &TskSkinNumericEdit::Increment, &TskSkinNumericEdit::SetIncrement, 1.0);
  list.Property("MaxValue", &TskSkinNumericEdit::MaxValue, &TskSkinNumericEdit::SetMaxValue, 0.0);
  list.Property("MinValue", &TskSkinNumericEdit::MinValue, &TskSkinNumericEdit::SetMinValue, 0.0);
  list.Property("SupportUpDownKeys", &TskSkinNumericEdit::SupportUpDownKeys,
                &TskSkinNumericEdit::SetSupportUpDownKeys, false);
  list.Property("Value", &TskSkinNumericEdit::Value, &TskSkinNumericEdit::SetValue, 0.0);
  list.Enum("ValueType", &TskSkinNumericEdit::ValueType, &TskSkinNumericEdit::SetValueType, vtInteger,
            {"vtInteger", "vtFloat"});
}

void TskSkinMemo::DefineProperties(ui::TPropertyList<TskSkinMemo>& list) {
  list.Property("AlphaBlendValue", &TskSkinMemo::AlphaBlendValue, &TskSkinMemo::SetAlphaBlendValue,
                std::uint8_t(0));
  list.Property("BitMapBG", &TskSkinMemo::BitMapBG, &TskSkinMemo::SetBitMapBG, false);
  list.Object("DefaultFont", [](TskSkinMemo& c) { return c.DefaultFont(); });
  list.Component("SkinData", &TskSkinMemo::SkinData, &TskSkinMemo::SetSkinData);
  list.Property("SkinDataName", &TskSkinMemo::SkinDataName, &TskSkinMemo::SetSkinDataName, std::string("memo"));
  list.Property("Transparent", &TskSkinMemo::Transparent, &TskSkinMemo::SetTransparent, false);
  list.Property("UseSkinFont", &TskSkinMemo::UseSkinFont, &TskSkinMemo::SetUseSkinFont, true);
  list.Component("VScrollBar", &TskSkinMemo::VScrollBar, &TskSkinMemo::SetVScrollBar);
}

void TskSkinUpDown::DefineProperties(ui::TPropertyList<TskSkinUpDown>& list) {
  list.Property("Increment", &TskSkinUpDown::Increment, &TskSkinUpDown::SetIncrement, 1);
  list.Property("Max", &TskSkinUpDown::Max, &TskSkinUpDown::SetMax, 100);
  list.Property("Min", &TskSkinUpDown::Min, &TskSkinUpDown::SetMin, 0);
  list.Enum("Orientation", &TskSkinUpDown::Orientation, &TskSkinUpDown::SetOrientation, ui::udHorizontal,
            {"udHorizontal", "udVertical"});
  list.Property("Position", &TskSkinUpDown::Position, &TskSkinUpDown::SetPosition, 0);
  list.Property("UseSkinSize", &TskSkinUpDown::UseSkinSize, &TskSkinUpDown::SetUseSkinSize, true);
}

void TskSkinPageControl::DefineProperties(ui::TPropertyList<TskSkinPageControl>& list) {
  list.Object("DefaultFont", [](TskSkinPageControl& c) { return c.DefaultFont(); });
  list.Property("DefaultItemHeight", &TskSkinPageControl::DefaultItemHeight,
                &TskSkinPageControl::SetDefaultItemHeight, 20);
  list.Component("SkinData", &TskSkinPageControl::SkinData, &TskSkinPageControl::SetSkinData);
  list.Property("SkinDataName", &TskSkinPageControl::SkinDataName, &TskSkinPageControl::SetSkinDataName,
                std::string("tab"));
  list.Property("UseSkinFont", &TskSkinPageControl::UseSkinFont, &TskSkinPageControl::SetUseSkinFont, true);
}

namespace {

void RegisterSkinBoxControls() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  ui::RegisterComponentClass<TskSkinEdit>("TskSkinEdit");
  ui::RegisterComponentClass<TskSkinNumericEdit>("TskSkinNumericEdit");
  ui::RegisterComponentClass<TskSkinMemo>("TskSkinMemo");
  ui::RegisterComponentClass<TskSkinUpDown>("TskSkinUpDown");
  ui::RegisterComponentClass<TskSkinPageControl>("TskSkinPageControl");
  ui::RegisterComponentClass<TskSkinTabSheet>("TskSkinTabSheet");
}

// The library is linked whole, so this runs in every program that links
// the skinned controls.
const bool SkinBoxControlsAdded = (ui::AddClassRegistrar(&RegisterSkinBoxControls), true);

}  // namespace

}  // namespace skin
