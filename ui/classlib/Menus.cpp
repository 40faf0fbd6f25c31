#include "ui/classlib/Menus.h"

#include <algorithm>
#include <array>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/StringUtils.h"
#include "platform/VirtualKeys.h"
#include "ui/windowing/ClassicMenuDrawing.h"
#include "ui/classlib/ImgList.h"

namespace ui {

// ---- Shortcuts --------------------------------------------------------------

TShortCut ShortCut(int key, TShiftState shift) {
  if (key <= 0 || key > 0xFF) return 0;
  TShortCut result = TShortCut(key);
  if (shift.Contains(ssShift)) result |= scShift;
  if (shift.Contains(ssCtrl)) result |= scCtrl;
  if (shift.Contains(ssAlt)) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, int& key, TShiftState& shift) {
  key = shortCut & 0xFF;
  shift = TShiftState{};
  if (shortCut & scShift) shift.Include(ssShift);
  if (shortCut & scCtrl) shift.Include(ssCtrl);
  if (shortCut & scAlt) shift.Include(ssAlt);
}

namespace {

struct KeyName {
  int Key;
  const char* Name;
};

constexpr std::array<KeyName, 17> KeyNames{{
    {platform::VK_BACK, "BkSp"},   {platform::VK_TAB, "Tab"},    {platform::VK_RETURN, "Enter"},
    {platform::VK_ESCAPE, "Esc"},  {platform::VK_SPACE, "Space"}, {platform::VK_PRIOR, "PgUp"},
    {platform::VK_NEXT, "PgDn"},   {platform::VK_END, "End"},    {platform::VK_HOME, "Home"},
    {platform::VK_LEFT, "Left"},   {platform::VK_UP, "Up"},      {platform::VK_RIGHT, "Right"},
    {platform::VK_DOWN, "Down"},   {platform::VK_INSERT, "Ins"}, {platform::VK_DELETE, "Del"},
    {platform::VK_F1 - 1, ""},     {0, ""},
}};

std::string KeyText(int key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, char(key));
  if (key >= platform::VK_F1 && key < platform::VK_F1 + 24) return "F" + core::IntToStr(key - platform::VK_F1 + 1);
  for (const KeyName& entry : KeyNames) {
    if (entry.Key == key && entry.Name[0]) return entry.Name;
  }
  return "";
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
  std::string name = KeyText(shortCut & 0xFF);
  if (name.empty()) return "";
  std::string text;
  if (shortCut & scShift) text += "Shift+";
  if (shortCut & scCtrl) text += "Ctrl+";
  if (shortCut & scAlt) text += "Alt+";
  return text + name;
}

TShortCut TextToShortCut(std::string_view text) {
  TShortCut modifiers = 0;
  for (;;) {
    auto take = [&](std::string_view prefix, TShortCut flag) {
      if (text.size() > prefix.size() && core::SameText(text.substr(0, prefix.size()), prefix)) {
        text.remove_prefix(prefix.size());
        modifiers |= flag;
        return true;
      }
      return false;
    };
    if (!take("Shift+", scShift) && !take("Ctrl+", scCtrl) && !take("Alt+", scAlt)) break;
  }
  for (int key = 1; key <= 0xFF; ++key) {
    std::string name = KeyText(key);
    if (!name.empty() && core::SameText(name, text)) return TShortCut(key) | modifiers;
  }
  return 0;
}

char32_t GetHotkey(std::string_view caption) { return CaptionHotkey(caption); }

std::string StripHotkey(std::string_view caption) { return CaptionWithoutMarks(caption); }

// ---- TMenuItem ----------------------------------------------------------------

TMenuItem::TMenuItem(core::TComponent* owner) : core::TComponent(owner) {}

TMenuItem::~TMenuItem() {
  // Sub-items belong to the owner, not to this item: they only leave.
  for (TMenuItem* item : FItems) item->FParent = nullptr;
  FItems.clear();
  if (FParent) std::erase(FParent->FItems, this);
  FParent = nullptr;
}

void TMenuItem::Changed() {}

void TMenuItem::SetCaption(const std::string& caption) {
  FCaption = caption;
  Changed();
}

void TMenuItem::SetChecked(bool checked) {
  if (checked == FChecked) return;
  FChecked = checked;
  if (checked && FRadioItem && FParent) {
    for (TMenuItem* sibling : FParent->FItems) {
      if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) sibling->FChecked = false;
    }
  }
  Changed();
}

void TMenuItem::SetEnabled(bool enabled) {
  FEnabled = enabled;
  Changed();
}

void TMenuItem::SetVisible(bool visible) {
  FVisible = visible;
  Changed();
}

void TMenuItem::SetDefault(bool value) {
  if (value && FParent) {
    for (TMenuItem* sibling : FParent->FItems) sibling->FDefault = false;
  }
  FDefault = value;
  Changed();
}

void TMenuItem::SetRadioItem(bool value) {
  FRadioItem = value;
  Changed();
}

void TMenuItem::SetGroupIndex(int index) {
  FGroupIndex = index;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut) {
  FShortCut = shortCut;
  Changed();
}

void TMenuItem::SetImageIndex(int index) {
  FImageIndex = index;
  Changed();
}

TMenuItem* TMenuItem::Items(int index) const {
  if (index < 0 || index >= Count()) throw core::EListError(core::Format("List index out of bounds (%d)", index));
  return FItems[std::size_t(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (!item) return;
  for (TMenuItem* p = this; p; p = p->FParent) {
    if (p == item) throw core::EInvalidOperation("Menu item cannot contain itself");
  }
  if (item->FParent) item->FParent->Remove(item);
  index = std::clamp(index, 0, Count());
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  auto found = std::find(FItems.begin(), FItems.end(), item);
  if (found == FItems.end()) return;
  FItems.erase(found);
  item->FParent = nullptr;
  Changed();
}

void TMenuItem::Clear() {
  while (!FItems.empty()) {
    TMenuItem* item = FItems.back();
    if (item->Owner()) {
      item->Free();
    } else {
      Remove(item);
    }
  }
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto found = std::find(FItems.begin(), FItems.end(), item);
  return found == FItems.end() ? -1 : int(found - FItems.begin());
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }

TMenuItem* TMenuItem::FindByShortCut(TShortCut shortCut) {
  if (!shortCut) return nullptr;
  for (TMenuItem* item : FItems) {
    if (!item->FVisible) continue;
    if (item->FShortCut == shortCut && item->FEnabled) return item;
    if (TMenuItem* found = item->FindByShortCut(shortCut)) return found;
  }
  return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (FAutoCheck) SetChecked(!FChecked);
  if (OnClick) OnClick(this);
}

void TMenuItem::Notification(core::TComponent* component, core::TOperation operation) {
  core::TComponent::Notification(component, operation);
}

// ---- TMenu ------------------------------------------------------------------

TMenu::TMenu(core::TComponent* owner) : core::TComponent(owner) {
  FItems = core::Create<TMenuItem>(*this);
  FItems->FMenu = this;
}

TMenu::~TMenu() = default;

void TMenu::SetImages(TImageList* images) {
  if (images == FImages) return;
  if (FImages) RemoveFreeNotification(FImages);
  FImages = images;
  if (FImages) FImages->FreeNotification(this);
}

void TMenu::Notification(core::TComponent* component, core::TOperation operation) {
  core::TComponent::Notification(component, operation);
  if (operation != core::opRemove) return;
  if (component == FImages) FImages = nullptr;
  if (component == FItems) FItems = nullptr;
}

TMenuItem* TMenu::FindItem(TShortCut shortCut) { return FItems ? FItems->FindByShortCut(shortCut) : nullptr; }

bool TMenu::IsShortCut(int key, TShiftState shift) {
  TMenuItem* item = FindItem(ShortCut(key, shift));
  if (!item) return false;
  item->Click();
  return true;
}

// ---- TPopupMenu -------------------------------------------------------------------

TPopupMenu::TPopupMenu(core::TComponent* owner) : TMenu(owner) {}

TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::SetPopupComponent(core::TComponent* component) {
  if (component == FPopupComponent) return;
  if (FPopupComponent) RemoveFreeNotification(FPopupComponent);
  FPopupComponent = component;
  if (component) component->FreeNotification(this);
}

void TPopupMenu::Notification(core::TComponent* component, core::TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation != core::opRemove) return;
  if (component == FPopupComponent) FPopupComponent = nullptr;
  if (component == FLastChoice) FLastChoice = nullptr;
}


}  // namespace ui
