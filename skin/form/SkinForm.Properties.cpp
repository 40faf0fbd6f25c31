// The published properties of the skin form and its registration for
// stored layouts. The frame's fonts keep the defaults the constructor
// gives them; a layout does not name them.

#include "skin/form/SkinForm.h"
#include "ui/classlib/Properties.h"

namespace skin {

namespace {

// Most settings of the frame are plain members; these make the getter and
// the setter of one.
template <class M>
auto Get(M TskSkinForm::*member) {
  return [member](TskSkinForm& form) { return form.*member; };
}
template <class M>
auto Put(M TskSkinForm::*member) {
  return [member](TskSkinForm& form, M value) { form.*member = value; };
}

}  // namespace

void TskSkinForm::DefineProperties(ui::TPropertyList<TskSkinForm>& list) {
  list.Property("AlphaBlend", &TskSkinForm::AlphaBlend, &TskSkinForm::SetAlphaBlend, false);
  list.Property("AlphaBlendAnimation", Get(&TskSkinForm::AlphaBlendAnimation), Put(&TskSkinForm::AlphaBlendAnimation),
                false);
  list.Property("AlphaBlendValue", &TskSkinForm::AlphaBlendValue, &TskSkinForm::SetAlphaBlendValue, std::uint8_t(200));
  list.Property("AlwaysMinimizeToTray", Get(&TskSkinForm::AlwaysMinimizeToTray),
                Put(&TskSkinForm::AlwaysMinimizeToTray), false);
  list.Property("AlwaysShowInTray", Get(&TskSkinForm::AlwaysShowInTray), Put(&TskSkinForm::AlwaysShowInTray), false);
  list.Set("BorderIcons", &TskSkinForm::BorderIcons, &TskSkinForm::SetBorderIcons,
           TskBorderIcons{biSystemMenu, biMinimize, biMaximize, biRollUp},
           {"biSystemMenu", "biMinimize", "biMaximize", "biRollUp", "biMinimizeToTray"});
  list.Property("ClientHeight", Get(&TskSkinForm::ClientHeight), Put(&TskSkinForm::ClientHeight), 0);
  list.Property("ClientWidth", Get(&TskSkinForm::ClientWidth), Put(&TskSkinForm::ClientWidth), 0);
  list.Property("DefMenuItemHeight", Get(&TskSkinForm::DefMenuItemHeight), Put(&TskSkinForm::DefMenuItemHeight), 20);
  list.Property("DraggAble", Get(&TskSkinForm::DraggAble), Put(&TskSkinForm::DraggAble), false);
  list.Property("HideCaptionButtons", Get(&TskSkinForm::HideCaptionButtons), Put(&TskSkinForm::HideCaptionButtons),
                false);
  list.Property("LogoBitMapTransparent", Get(&TskSkinForm::LogoBitMapTransparent),
                Put(&TskSkinForm::LogoBitMapTransparent), false);
  list.Property("Magnetic", Get(&TskSkinForm::Magnetic), Put(&TskSkinForm::Magnetic), false);
  list.Property("MagneticSize", Get(&TskSkinForm::MagneticSize), Put(&TskSkinForm::MagneticSize), std::uint8_t(10));
  list.Property("MaxHeight", Get(&TskSkinForm::MaxHeight), Put(&TskSkinForm::MaxHeight), 0);
  list.Property("MaxMenuItemsInWindow", Get(&TskSkinForm::MaxMenuItemsInWindow),
                Put(&TskSkinForm::MaxMenuItemsInWindow), 0);
  list.Property("MaxWidth", Get(&TskSkinForm::MaxWidth), Put(&TskSkinForm::MaxWidth), 0);
  list.Property("MaximizeOnFullScreen", Get(&TskSkinForm::MaximizeOnFullScreen),
                Put(&TskSkinForm::MaximizeOnFullScreen), false);
  list.Property("MenusAlphaBlend", Get(&TskSkinForm::MenusAlphaBlend), Put(&TskSkinForm::MenusAlphaBlend), false);
  list.Property("MenusAlphaBlendAnimation", Get(&TskSkinForm::MenusAlphaBlendAnimation),
                Put(&TskSkinForm::MenusAlphaBlendAnimation), false);
  list.Property("MenusAlphaBlendValue", Get(&TskSkinForm::MenusAlphaBlendValue),
                Put(&TskSkinForm::MenusAlphaBlendValue), std::uint8_t(200));
  list.Component("MenusSkinData", &TskSkinForm::MenusSkinData, &TskSkinForm::SetMenusSkinData);
  list.Property("MinHeight", Get(&TskSkinForm::MinHeight), Put(&TskSkinForm::MinHeight), 0);
  list.Property("MinWidth", Get(&TskSkinForm::MinWidth), Put(&TskSkinForm::MinWidth), 0);
  list.Property("ShowIcon", Get(&TskSkinForm::ShowIcon), Put(&TskSkinForm::ShowIcon), false);
  list.Property("ShowObjectHint", Get(&TskSkinForm::ShowObjectHint), Put(&TskSkinForm::ShowObjectHint), false);
  list.Component("SkinData", &TskSkinForm::SkinData, &TskSkinForm::SetSkinData);
  list.Component("SkinHint", &TskSkinForm::SkinHint, &TskSkinForm::SetSkinHint);
  list.Property("Sizeable", Get(&TskSkinForm::Sizeable), Put(&TskSkinForm::Sizeable), true);
  list.Property("SupportNCArea", Get(&TskSkinForm::SupportNCArea), Put(&TskSkinForm::SupportNCArea), true);
  list.Component("TrayIcon", &TskSkinForm::TrayIcon, &TskSkinForm::SetTrayIcon);
  list.Property("UseDefaultObjectHint", Get(&TskSkinForm::UseDefaultObjectHint),
                Put(&TskSkinForm::UseDefaultObjectHint), true);
  list.Property("UseDefaultSysMenu", Get(&TskSkinForm::UseDefaultSysMenu), Put(&TskSkinForm::UseDefaultSysMenu), true);
  list.Property("UseFormCursorInNCArea", Get(&TskSkinForm::UseFormCursorInNCArea),
                Put(&TskSkinForm::UseFormCursorInNCArea), false);
  list.Property("UseSkinCursors", Get(&TskSkinForm::UseSkinCursors), Put(&TskSkinForm::UseSkinCursors), false);
  list.Property("UseSkinFontInMenu", Get(&TskSkinForm::UseSkinFontInMenu), Put(&TskSkinForm::UseSkinFontInMenu), true);
  list.Event("OnActivate", &TskSkinForm::OnActivate);
  list.Event("OnChangeRollUpState", &TskSkinForm::OnChangeRollUpState);
  list.Event("OnChangeSkinData", &TskSkinForm::OnChangeSkinData);
  list.Event("OnDeActivate", &TskSkinForm::OnDeActivate);
  list.Event("OnMinimizeToTray", &TskSkinForm::OnMinimizeToTray);
  list.Event("OnRestoreFromTray", &TskSkinForm::OnRestoreFromTray);
  list.Event("OnSkinMenuClose", &TskSkinForm::OnSkinMenuClose);
  list.Event("OnSkinMenuOpen", &TskSkinForm::OnSkinMenuOpen);
}

namespace {

void RegisterSkinFormClasses() { ui::RegisterComponentClass<TskSkinForm>("TskSkinForm"); }

// Linked whole (see skin/CMakeLists.txt), so every program that links the
// frame can read a layout that names it.
const bool SkinFormClassesAdded = (ui::AddClassRegistrar(&RegisterSkinFormClasses), true);

}  // namespace

}  // namespace skin
