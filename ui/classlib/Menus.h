#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/Component.h"
#include "ui/classlib/Events.h"
#include "ui/windowing/WindowTypes.h"

// Menus: items with captions, shortcuts and click events, the menus that
// hold them, and the popup menu that shows them in a window of its own.
namespace ui {

class TMenu;
class TImageList;
template <class T>
class TPropertyList;

// A key with its modifiers: the virtual key in the low byte, scShift,
// scCtrl and scAlt above it; 0 is none.
using TShortCut = std::uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(int key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, int& key, TShiftState& shift);
// "Ctrl+S", "Shift+F10", "Del"; "" for none.
std::string ShortCutToText(TShortCut shortCut);
// The reverse; 0 for a text that names no shortcut.
TShortCut TextToShortCut(std::string_view text);

// The character after the "&" of a caption (lower case), 0 when none.
char32_t GetHotkey(std::string_view caption);
// A caption without its accelerator marks ("&&" stays one "&").
std::string StripHotkey(std::string_view caption);

// One item of a menu; items of a menu belong to its owner and sit in a
// tree under the menu's Items. A caption "-" makes a separator.
class TMenuItem : public core::TComponent {
 public:
  using inherited = core::TComponent;
  static void DefineProperties(TPropertyList<TMenuItem>& list);

  explicit TMenuItem(core::TComponent* owner);
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& caption);
  bool Checked() const { return FChecked; }
  // A radio item that becomes checked unchecks the other radio items of
  // its group.
  void SetChecked(bool checked);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);
  // The item a double click on the owner runs; shown in bold.
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int index);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut shortCut);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& hint) { FHint = hint; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int index);
  bool IsLine() const { return FCaption == "-"; }

  // ---- Sub-items ----
  int Count() const { return int(FItems.size()); }
  // Raises EListError "List index out of bounds (<index>)".
  TMenuItem* Items(int index) const;
  TMenuItem* Parent() const { return FParent; }
  // Takes item (which leaves its previous parent).
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Takes the item out without destroying it.
  void Remove(TMenuItem* item);
  // Destroys the sub-items (they are components of their owner).
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  int MenuIndex() const;
  // The item of this tree with the shortcut (enabled, visible), or nullptr.
  TMenuItem* FindByShortCut(TShortCut shortCut);
  // The menu the tree belongs to.
  TMenu* GetParentMenu() const;

  // Runs OnClick (a radio item with AutoCheck checks itself first).
  virtual void Click();
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool value) { FAutoCheck = value; }

  TNotifyEvent OnClick;

 protected:
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  friend class TMenu;
  void Changed();

  std::string FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FDefault = false;
  bool FRadioItem = false;
  bool FAutoCheck = false;
  int FGroupIndex = 0;
  TShortCut FShortCut = 0;
  std::string FHint;
  int FImageIndex = -1;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;
};

// A tree of items under Items (which the menu owns).
class TMenu : public core::TComponent {
 public:
  using inherited = core::TComponent;
  static void DefineProperties(TPropertyList<TMenu>& list);

  explicit TMenu(core::TComponent* owner);
  ~TMenu() override;

  TMenuItem* Items() const { return FItems; }
  TImageList* Images() const { return FImages; }
  void SetImages(TImageList* images);
  // Runs the item with the key's shortcut; true when one ran.
  bool IsShortCut(int key, TShiftState shift);
  TMenuItem* FindItem(TShortCut shortCut);

 protected:
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  TMenuItem* FItems = nullptr;
  TImageList* FImages = nullptr;
};

class TMainMenu : public TMenu {
 public:
  using inherited = TMenu;
  using TMenu::TMenu;
};

enum TPopupAlignment { paLeft, paRight, paCenter };

// A menu that opens where it is asked (at the pointer for a right click)
// in a popup window with the classic look: the arrow keys, Enter and
// Escape, the accelerator letters and the mouse choose an item; sub-items
// open to the right.
class TPopupMenu : public TMenu {
 public:
  using inherited = TMenu;
  static void DefineProperties(TPropertyList<TPopupMenu>& list);

  explicit TPopupMenu(core::TComponent* owner);
  ~TPopupMenu() override;

  // A right click on a control that names this menu opens it.
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool value) { FAutoPopup = value; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment alignment) { FAlignment = alignment; }
  // The control (or component) that opened the menu last; cleared when it
  // is destroyed.
  core::TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(core::TComponent* component);

  // Shows the menu at a screen point and returns once it closed (an item
  // chosen runs its Click after the menu is gone).
  virtual void Popup(int x, int y);
  // The item chosen by the last Popup (nullptr when it was cancelled).
  TMenuItem* LastChoice() const { return FLastChoice; }

  TNotifyEvent OnPopup;

 protected:
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  bool FAutoPopup = true;
  TPopupAlignment FAlignment = paLeft;
  core::TComponent* FPopupComponent = nullptr;
  TMenuItem* FLastChoice = nullptr;
};

}  // namespace ui
