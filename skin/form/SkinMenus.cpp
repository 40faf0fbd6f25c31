#include "skin/form/SkinMenus.h"

#include <algorithm>
#include <map>

#include "platform/VirtualKeys.h"
#include "ui/classlib/ExtCtrls.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/ScreenUtils.h"
#include "ui/windowing/Windows.h"

namespace skin {

namespace {

constexpr unsigned SubMenuWait = 500;

std::map<const ui::TCustomForm*, TskSkinMenu*>& FormMenus() {
  static std::map<const ui::TCustomForm*, TskSkinMenu*> menus;
  return menus;
}

void Tell(ui::TControl* control, unsigned message) {
  if (control) control->Perform(message, 0, 0);
}

gfx::Rect ItemScreenRect(TskSkinPopupWindow& window, const TskSkinMenuItem& item) {
  gfx::Point topLeft = item.ObjectRect.TopLeft();
  ui::ClientToScreen(window.Handle(), topLeft);
  return gfx::Rect::FromSize(topLeft.X, topLeft.Y, item.ObjectRect.Width(), item.ObjectRect.Height());
}

}  // namespace

TskSkinMenu* FindFormSkinMenu(const ui::TCustomForm* form) {
  auto found = FormMenus().find(form);
  return found == FormMenus().end() ? nullptr : found->second;
}

// ---- TskSkinMenu ------------------------------------------------------------

TskSkinMenu::TskSkinMenu(core::TComponent* owner) : core::TComponent(owner) {
  FWaitTimer = core::Create<ui::TTimer>(*this);
  FWaitTimer->SetEnabled(false);
  FWaitTimer->SetInterval(SubMenuWait);
  FWaitTimer->SetOnTimer([this](core::TComponent*) { WaitTimerFired(); });
  FReleaseTimer = core::Create<ui::TTimer>(*this);
  FReleaseTimer->SetEnabled(false);
  FReleaseTimer->SetInterval(1);
  FReleaseTimer->SetOnTimer([this](core::TComponent*) { ReleaseClosedWindows(); });
}

TskSkinMenu::~TskSkinMenu() {
  *FAlive = false;
  RemoveKeyboardRouting();
  SetForm(nullptr);
  // The windows are owned components: the base destroys them.
  FPopupList.clear();
  FClosed.clear();
}

void TskSkinMenu::SetForm(ui::TCustomForm* form) {
  if (FForm == form) return;
  if (FForm) {
    auto found = FormMenus().find(FForm);
    if (found != FormMenus().end() && found->second == this) FormMenus().erase(found);
    FForm->RemoveFreeNotification(this);
  }
  FForm = form;
  if (FForm) {
    FormMenus()[FForm] = this;
    FForm->FreeNotification(this);
  }
}

void TskSkinMenu::SetDefaultSkinData(TskSkinData* skinData) {
  if (FDefaultSkinData) FDefaultSkinData->RemoveFreeNotification(this);
  FDefaultSkinData = skinData;
  if (FDefaultSkinData) FDefaultSkinData->FreeNotification(this);
}

void TskSkinMenu::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != core::opRemove) return;
  if (component == FForm) SetForm(nullptr);
  if (component == FDefaultSkinData) FDefaultSkinData = nullptr;
  if (component == FSkinData) {
    // The skin of the open windows is going: they cannot be drawn.
    FSkinData = nullptr;
    CloseFrom(0);
  }
  if (component == FPopupCtrl) FPopupCtrl = nullptr;
  if (component == FDCtrl) FDCtrl = nullptr;
  auto drop = [component](std::vector<TskSkinPopupWindow*>& list) {
    list.erase(std::remove(list.begin(), list.end(), component), list.end());
  };
  drop(FPopupList);
  drop(FClosed);
}

void TskSkinMenu::SetOpeningControl(ui::TControl*& field, ui::TControl* control) {
  if (field && field != FPopupCtrl && field != FDCtrl) field->RemoveFreeNotification(this);
  field = control;
  if (field) field->FreeNotification(this);
}

void TskSkinMenu::Popup(ui::TControl* control, TskSkinData* skinData, TskPopupDirection direction,
                        ui::TMenuItem* rootItem, const gfx::Rect& rect, int startIndex) {
  FFirst = !FVisible;
  CloseFrom(0);
  SetOpeningControl(FPopupCtrl, control);
  if (FForm && FForm->HandleAllocated()) {
    ui::GetMonitorArea(FForm->Handle(), ui::ScreenArea::WorkArea, FWorkArea);
  } else {
    FWorkArea = ui::MonitorBoundsNear(rect, ui::ScreenArea::WorkArea);
  }
  if (FSkinData != skinData) {
    if (FSkinData) FSkinData->RemoveFreeNotification(this);
    FSkinData = skinData;
    if (FSkinData) FSkinData->FreeNotification(this);
  }
  if (!rootItem || startIndex < 0 || startIndex >= rootItem->Count()) return;
  FVisible = true;
  InstallKeyboardRouting();
  if (!OpenLevel(*rootItem, startIndex, rect, TskMenuLevel::First, direction)) {
    CloseFrom(0);
    return;
  }
  FFirst = false;
}

bool TskSkinMenu::OpenLevel(ui::TMenuItem& root, int startIndex, const gfx::Rect& rect, TskMenuLevel level,
                            TskPopupDirection direction) {
  auto* window = core::Create<TskSkinPopupWindow>(*this, *this, FSkinData, int(FPopupList.size()));
  window->FreeNotification(this);
  FPopupList.push_back(window);
  std::shared_ptr<bool> alive = FAlive;
  bool shown = window->ShowItems(root, startIndex, rect, level, direction);
  if (!*alive) return false;
  if (!shown) {
    FPopupList.erase(std::remove(FPopupList.begin(), FPopupList.end(), window), FPopupList.end());
    FClosed.push_back(window);
    FReleaseTimer->SetEnabled(true);
  }
  return shown;
}

void TskSkinMenu::CloseAll() {
  const bool wasOpen = FVisible || !FPopupList.empty();
  std::shared_ptr<bool> alive = FAlive;
  CloseFrom(0);
  if (!*alive) return;
  FWItem = nullptr;
  FWWindow = nullptr;
  // The opening control heard of the close from CloseFrom; the form too.
  if (wasOpen && FForm && FForm->HandleAllocated()) FForm->Perform(WMSKIN_MENUCLOSED, 0, 0);
}

void TskSkinMenu::CloseFrom(int level) {
  level = std::max(level, 0);
  // A waiting submenu of a window that goes waits no more.
  if (FWWindow && FWWindow->Level() >= level) {
    FWaitTimer->SetEnabled(false);
    FWItem = nullptr;
    FWWindow = nullptr;
  }
  while (int(FPopupList.size()) > level) {
    TskSkinPopupWindow* window = FPopupList.back();
    FPopupList.pop_back();
    // Hidden now, destroyed once the message loop is out of its handlers.
    window->Hide();
    window->StopScroll();
        FClosed.push_back(window);
    FReleaseTimer->SetEnabled(true);
  }
  // The item that opened the closed level shows its submenu as closed.
  if (!FPopupList.empty()) {
    for (const auto& item : FPopupList.back()->ItemList()) item->SubMenuOpen = false;
  }
  if (level > 0 || !FVisible) return;
  FWaitTimer->SetEnabled(false);
  FWItem = nullptr;
  FWWindow = nullptr;
  FVisible = false;
  RemoveKeyboardRouting();
  ui::TControl* control = FPopupCtrl;
  SetOpeningControl(FDCtrl, control);
  std::shared_ptr<bool> alive = FAlive;
  Tell(control, WMSKIN_MENUCLOSED);
  if (!*alive) return;
  ui::TNotifyEvent closed = std::move(OnMenuClose);
  OnMenuClose = nullptr;
  if (closed) closed(this);
}

void TskSkinMenu::ReleaseClosedWindows() {
  FReleaseTimer->SetEnabled(false);
  std::vector<TskSkinPopupWindow*> closed;
  closed.swap(FClosed);
  for (TskSkinPopupWindow* window : closed) window->Free();
}

void TskSkinMenu::RequestSubMenu(TskSkinPopupWindow& window, TskSkinMenuItem& item) {
  FWaitTimer->SetEnabled(false);
  FWItem = nullptr;
  FWWindow = nullptr;
  if (item.HasSubItems() && item.Usable()) {
    FWItem = &item;
    FWWindow = &window;
    FWaitTimer->SetEnabled(true);
    return;
  }
  CloseFrom(window.Level() + 1);
}

void TskSkinMenu::WaitTimerFired() {
  FWaitTimer->SetEnabled(false);
  TskSkinMenuItem* item = FWItem;
  TskSkinPopupWindow* window = FWWindow;
  FWItem = nullptr;
  FWWindow = nullptr;
  if (!item || !window) return;
  if (std::find(FPopupList.begin(), FPopupList.end(), window) == FPopupList.end()) return;
  if (item->MouseActive || item->KeyboardSelected) OpenSubMenu(*window, *item);
}

void TskSkinMenu::OpenSubMenu(TskSkinPopupWindow& window, TskSkinMenuItem& item) {
  FWaitTimer->SetEnabled(false);
  FWItem = nullptr;
  FWWindow = nullptr;
  CloseFrom(window.Level() + 1);
  item.SubMenuOpen = true;
  if (!OpenLevel(item.MenuItem(), 0, ItemScreenRect(window, item), TskMenuLevel::Submenu, TskPopupDirection::Down)) {
    item.SubMenuOpen = false;
  }
}

// A leaf was chosen: the menu closes first, so that the command runs with
// the form as it was before the menu opened; then the opening control
// hears that a command ran. The command may destroy the menu and its form.
void TskSkinMenu::ExecuteItem(ui::TMenuItem& item) {
  std::shared_ptr<bool> alive = FAlive;
  ui::TControl* control = FPopupCtrl;
  CloseAll();
  if (!*alive) return;
  ui::TControl* opener = FDCtrl ? FDCtrl : control;
  ui::TControlGuard watched(opener);
  item.Click();
  if (!*alive || (opener && watched.Destroyed())) return;
  Tell(opener, WMSKIN_MENUCOMMAND);
}

bool TskSkinMenu::KeyDown(int key) {
  if (FPopupList.empty()) return false;
  return FPopupList.back()->KeyDown(key);
}

// While a menu is open, keys go to it and not to the focused control: the
// application's message hook is the menu's, and the previous one comes
// back when the menu closes. A key the menu takes has its character
// dropped by the window system too, so that a letter that chose an item
// types nothing into the control that gets the keys back.
void TskSkinMenu::InstallKeyboardRouting() {
  if (FRouting || !ui::Application) return;
  FRouting = true;
  FPreviousHook = ui::Application->OnMessage;
  std::shared_ptr<bool> alive = FAlive;
  ui::Application->OnMessage = [this, alive](ui::TMsg& message, bool& handled) {
    if (!*alive) return;
    switch (message.Message) {
      case ui::WM_KEYDOWN:
      case ui::WM_SYSKEYDOWN:
        handled = true;
        ui::SwallowCharOfKey(int(message.WParam));
        KeyDown(int(message.WParam));
        return;
      case ui::WM_MOUSEWHEEL:
        handled = true;
        return;
      default: break;
    }
    if (FPreviousHook) FPreviousHook(message, handled);
  };
}

void TskSkinMenu::RemoveKeyboardRouting() {
  if (!FRouting) return;
  FRouting = false;
  if (ui::Application) ui::Application->OnMessage = std::move(FPreviousHook);
  FPreviousHook = nullptr;
}

// ---- TskSkinPopupMenu --------------------------------------------------------

TskSkinPopupMenu::TskSkinPopupMenu(core::TComponent* owner) : ui::TPopupMenu(owner) {}

TskSkinPopupMenu::~TskSkinPopupMenu() { *FAlive = false; }

void TskSkinPopupMenu::SetSkinData(TskSkinData* skinData) {
  if (FSkinData) FSkinData->RemoveFreeNotification(this);
  FSkinData = skinData;
  if (FSkinData) FSkinData->FreeNotification(this);
}

void TskSkinPopupMenu::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == core::opRemove && component == FSkinData) FSkinData = nullptr;
}

// The form of the popup component, else the owner when it is a form, else
// the owner's owner when that is one.
TskSkinMenu* TskSkinPopupMenu::FindMenu() const {
  ui::TCustomForm* form = nullptr;
  if (auto* control = dynamic_cast<ui::TControl*>(PopupComponent())) form = ui::GetParentForm(control);
  if (!form) form = dynamic_cast<ui::TCustomForm*>(Owner());
  if (!form && Owner()) form = dynamic_cast<ui::TCustomForm*>(Owner()->Owner());
  return form ? FindFormSkinMenu(form) : nullptr;
}

TskSkinData* TskSkinPopupMenu::SkinFor(const TskSkinMenu& menu) const {
  return FSkinData ? FSkinData : menu.DefaultSkinData();
}

void TskSkinPopupMenu::Popup(int x, int y) {
  if (OnPopup) {
    std::shared_ptr<bool> alive = FAlive;
    OnPopup(this);
    if (!*alive) return;
  }
  TskSkinMenu* menu = FindMenu();
  if (!menu) return;
  if (menu->Visible()) menu->CloseAll();
  auto* control = dynamic_cast<ui::TControl*>(PopupComponent());
  menu->Popup(control, SkinFor(*menu), TskPopupDirection::Down, Items(), gfx::Rect{x, y, x, y}, 0);
  if (menu->Visible()) menu->OnMenuClose = OnMenuClose;
}

bool TskSkinPopupMenu::PopupFromControl(ui::TControl& control, int x, int y) {
  ui::TCustomForm* form = ui::GetParentForm(&control);
  TskSkinMenu* menu = form ? FindFormSkinMenu(form) : nullptr;
  if (!menu) return false;
  TskSkinData* skin = SkinFor(*menu);
  if (!skin || skin->Empty()) return false;
  if (menu->Visible()) menu->CloseAll();
  menu->Popup(&control, skin, TskPopupDirection::Down, Items(), gfx::Rect{x, y, x, y}, 0);
  if (menu->Visible()) menu->OnMenuClose = OnMenuClose;
  return true;
}

}  // namespace skin
