// The tray icon's published properties, in the order layouts store them.

#include "tray/TrayIcon.h"
#include "ui/classlib/ImgList.h"
#include "ui/classlib/Menus.h"
#include "ui/classlib/Properties.h"

namespace tray {

void TTrayIcon::DefineProperties(ui::TPropertyList<TTrayIcon>& list) {
  list.Property("DesignPreview", &TTrayIcon::DesignPreview, &TTrayIcon::SetDesignPreview, false);
  list.Component("IconList", &TTrayIcon::IconList, &TTrayIcon::SetIconList);
  list.Property("CycleIcons", &TTrayIcon::CycleIcons, &TTrayIcon::SetCycleIcons, false);
  // No default: the interval is always stored.
  list.Property("CycleInterval", &TTrayIcon::CycleInterval, &TTrayIcon::SetCycleInterval);
  list.Property("Enabled", &TTrayIcon::Enabled, &TTrayIcon::SetEnabled, true);
  list.Property("Hint", &TTrayIcon::Hint, &TTrayIcon::SetHint, std::string());
  list.Property("ShowHint", &TTrayIcon::ShowHint, &TTrayIcon::SetShowHint, true);
  ui::TPropertyInfo& icon = list.Object("Icon", [](TTrayIcon& t) { return t.Icon(); });
  list.StoredIf(icon, [](TTrayIcon& t) { return !t.Icon()->Empty(); });
  list.Property("IconVisible", &TTrayIcon::IconVisible, &TTrayIcon::SetIconVisible, false);
  list.Property("IconIndex", &TTrayIcon::IconIndex, &TTrayIcon::SetIconIndex, 0);
  list.Component("PopupMenu", &TTrayIcon::PopupMenu, &TTrayIcon::SetPopupMenu);
  list.Property("LeftPopup", &TTrayIcon::LeftPopup, &TTrayIcon::SetLeftPopup, false);
  list.Property("WantEnterExitEvents", &TTrayIcon::WantEnterExitEvents, &TTrayIcon::SetWantEnterExitEvents, false);
  list.Property("MinimizeToTray", &TTrayIcon::MinimizeToTray, &TTrayIcon::SetMinimizeToTray, false);
  list.Event("OnClick", &TTrayIcon::OnClick);
  list.Event("OnDblClick", &TTrayIcon::OnDblClick);
  list.Event("OnMouseDown", &TTrayIcon::OnMouseDown);
  list.Event("OnMouseUp", &TTrayIcon::OnMouseUp);
  list.Event("OnMouseMove", &TTrayIcon::OnMouseMove);
  list.Event("OnMouseEnter", &TTrayIcon::OnMouseEnter);
  list.Event("OnMouseExit", &TTrayIcon::OnMouseExit);
  list.Event("OnCycle", &TTrayIcon::OnCycle);
  list.Event("OnBalloonHintShow", &TTrayIcon::OnBalloonHintShow);
  list.Event("OnBalloonHintHide", &TTrayIcon::OnBalloonHintHide);
  list.Event("OnBalloonHintTimeout", &TTrayIcon::OnBalloonHintTimeout);
  list.Event("OnBalloonHintClick", &TTrayIcon::OnBalloonHintClick);
  list.Event("OnMinimizeToTray", &TTrayIcon::OnMinimizeToTray);
  list.Event("OnStartup", &TTrayIcon::OnStartup);
}

void RegisterTrayClasses() { ui::RegisterComponentClass<TTrayIcon>("TTrayIcon"); }

}  // namespace tray
