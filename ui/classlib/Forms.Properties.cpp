#include <vector>

#include "ui/classlib/ExtCtrls.h"
#include "ui/classlib/Forms.h"
#include "ui/classlib/ImgList.h"
#include "ui/classlib/Menus.h"
#include "ui/classlib/Properties.h"

namespace ui {

namespace {

bool ColorIdent(TColor color, std::string& name) { return ColorToIdent(color, name); }
bool IdentColor(std::string_view name, TColor& color) { return IdentToColor(name, color); }

}  // namespace

void TCustomForm::DefineProperties(TPropertyList<TCustomForm>& list) {
  list.Component("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
  list.Property("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll, true);
  list.Set("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons,
           TBorderIcons{biSystemMenu, biMinimize, biMaximize}, {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
  list.Enum("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle, bsSizeable,
            {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
  list.Property("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption, std::string());
  list.Property("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight);
  list.Property("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth);
  // A form stores its client size instead of its outer size, and its own
  // colour and font.
  TPropertyInfo& width = list.Property("Width", &TCustomForm::Width, &TCustomForm::SetWidth);
  list.StoredIf(width, [](TCustomForm&) { return false; });
  TPropertyInfo& height = list.Property("Height", &TCustomForm::Height, &TCustomForm::SetHeight);
  list.StoredIf(height, [](TCustomForm&) { return false; });
  list.IdentInteger("Color", &TCustomForm::Color, &TCustomForm::SetColor, std::optional<TColor>(clBtnFace), &ColorIdent,
                    &IdentColor);
  list.Property("ParentColor", &TCustomForm::ParentColor, &TCustomForm::SetParentColor, false);
  list.Property("ParentFont", &TCustomForm::ParentFont, &TCustomForm::SetParentFont, false);
  list.Enum("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle, fsNormal,
            {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"});
  TPropertyInfo& icon = list.Object("Icon", [](TCustomForm& f) { return f.Icon(); });
  list.StoredIf(icon, [](TCustomForm& f) { return !f.Icon()->Empty(); });
  list.Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false);
  list.Property("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder);
  list.Enum("Position", &TCustomForm::Position, &TCustomForm::SetPosition, poDesigned,
            {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter", "poDesktopCenter",
             "poMainFormCenter", "poOwnerFormCenter"});
  list.Property("Visible", &TCustomForm::Visible, &TCustomForm::SetVisible, false);
  list.Enum("WindowState", [](TCustomForm& f) { return f.FWindowState; }, &TCustomForm::SetWindowState, wsNormal,
            {"wsNormal", "wsMinimized", "wsMaximized"});
  list.Property("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch);
  list.Property("TextHeight", &TCustomForm::TextHeight, &TCustomForm::SetTextHeight);
  list.Event("OnActivate", &TCustomForm::OnActivate);
  list.Event("OnClose", &TCustomForm::OnClose);
  list.Event("OnCloseQuery", &TCustomForm::OnCloseQuery);
  list.Event("OnCreate", &TCustomForm::OnCreate);
  list.Event("OnDeactivate", &TCustomForm::OnDeactivate);
  list.Event("OnDestroy", &TCustomForm::OnDestroy);
  list.Event("OnHide", &TCustomForm::OnHide);
  list.Event("OnPaint", &TCustomForm::OnPaint);
  list.Event("OnShortCut", &TCustomForm::OnShortCut);
  list.Event("OnShow", &TCustomForm::OnShow);
}

void TTimer::DefineProperties(TPropertyList<TTimer>& list) {
  list.Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true);
  list.Property("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000u);
  list.Event("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer);
}

void TImageList::DefineProperties(TPropertyList<TImageList>& list) {
  list.IdentInteger("BkColor", &TImageList::BkColor, &TImageList::SetBkColor, std::optional<TColor>(clNone), &ColorIdent,
                    &IdentColor);
  list.Property("Height", &TImageList::Height, &TImageList::SetHeight, 16);
  list.Property("Width", &TImageList::Width, &TImageList::SetWidth, 16);
  // The pictures as one strip in a BMP file.
  list.Binary("Bitmap", [](TImageList& l) {
        TBitmap strip;
        strip.SetBitmap(l.Strip());
        return strip.SaveToBytes();
      },
      [](TImageList& l, std::span<const std::uint8_t> bytes) {
        TBitmap strip;
        strip.LoadFromBytes(bytes);
        l.SetStrip(strip.Bitmap());
      });
}

void TMenuItem::DefineProperties(TPropertyList<TMenuItem>& list) {
  list.Property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck, false);
  list.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption, std::string());
  list.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false);
  list.Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false);
  list.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true);
  list.Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0);
  list.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint, std::string());
  list.Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex, -1);
  list.Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false);
  list.Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, TShortCut(0));
  list.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true);
  list.Event("OnClick", &TMenuItem::OnClick);
  list.ParentComponent([](TMenuItem& item) -> core::TComponent* {
    TMenuItem* parent = item.Parent();
    if (!parent) return nullptr;
    TMenu* menu = parent->GetParentMenu();
    if (menu && menu->Items() == parent) return menu;
    return parent;
  });
  list.SetParentComponent([](TMenuItem& item, core::TComponent* parent) {
    if (auto* menu = dynamic_cast<TMenu*>(parent)) {
      menu->Items()->Add(&item);
      return true;
    }
    if (auto* parentItem = dynamic_cast<TMenuItem*>(parent)) {
      parentItem->Add(&item);
      return true;
    }
    return false;
  });
  list.Children([](TMenuItem& item, core::TComponent* root) {
    std::vector<core::TComponent*> children;
    for (int i = 0; i < item.Count(); ++i) {
      if (item.Items(i)->Owner() == root) children.push_back(item.Items(i));
    }
    return children;
  });
}

void TMenu::DefineProperties(TPropertyList<TMenu>& list) {
  list.Component("Images", &TMenu::Images, &TMenu::SetImages);
  list.Children([](TMenu& menu, core::TComponent* root) {
    std::vector<core::TComponent*> children;
    TMenuItem* items = menu.Items();
    for (int i = 0; items && i < items->Count(); ++i) {
      if (items->Items(i)->Owner() == root) children.push_back(items->Items(i));
    }
    return children;
  });
}

void TPopupMenu::DefineProperties(TPropertyList<TPopupMenu>& list) {
  list.Enum("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment, paLeft, {"paLeft", "paRight", "paCenter"});
  list.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true);
  list.Event("OnPopup", &TPopupMenu::OnPopup);
}

namespace {

struct ClassRegistry {
  std::vector<TClassRegistrar> Registrars;
  bool Registered = false;
};

// Function-local, so that registrars added from static initializers of
// other libraries find it constructed.
ClassRegistry& Registry() {
  static ClassRegistry registry;
  return registry;
}

}  // namespace

void AddClassRegistrar(TClassRegistrar registrar) {
  ClassRegistry& registry = Registry();
  registry.Registrars.push_back(registrar);
  if (registry.Registered) registrar();
}

void RegisterClassLibraryClasses() {
  // Once only: a later call must not take back a name an application has
  // given to a class of its own.
  ClassRegistry& registry = Registry();
  if (registry.Registered) return;
  registry.Registered = true;
  RegisterComponentClass<TForm>("TForm");
  RegisterComponentClass<TTimer>("TTimer");
  RegisterComponentClass<TImageList>("TImageList");
  RegisterComponentClass<TMenuItem>("TMenuItem");
  RegisterComponentClass<TMainMenu>("TMainMenu");
  RegisterComponentClass<TPopupMenu>("TPopupMenu");
  // Index, not iterator: a registrar may add another.
  for (std::size_t i = 0; i < registry.Registrars.size(); ++i) registry.Registrars[i]();
}

}  // namespace ui
