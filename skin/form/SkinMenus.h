#pragma once

// Menus drawn from the skin: the system menu, the tray menu, the menus of
// button objects and the edit menus open as popup windows of our own, one
// per menu level, drawn from the skin's popup-window section and its
// menu-item object (or in a plain look without them).
//
//   TskSkinMenu          the controller of one form: the stack of open
//                        windows, the submenu wait, keyboard routing
//   TskSkinPopupWindow   one open level: a top-level popup that never takes
//                        the focus, holding the items of that level
//   TskSkinMenuItem      one item of a window: its rectangle, look, state
//   TskSkinPopupMenu     a popup menu component that opens through the skin
//                        menu of its form
//
// The menus are modeless: Popup returns at once, the windows follow the
// pointer on a 50 ms timer, keys reach the menu through the application's
// message hook while it is open, and every close sends 1228 to the control
// that opened the menu.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/Component.h"
#include "gfx/Bitmap.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"
#include "skin/data/SkinData.h"
#include "ui/classlib/Controls.h"
#include "ui/classlib/Events.h"
#include "ui/classlib/Forms.h"
#include "ui/classlib/Menus.h"

namespace ui {
class TImageList;
class TTimer;
}  // namespace ui

namespace skin {

class TskSkinMenu;
class TskSkinPopupWindow;

// Sent to the form and to the control that opened a menu when the menu
// closes (wParam and lParam 0).
inline constexpr unsigned WMSKIN_MENUCLOSED = 1228;
// Sent to the control that opened a menu after one of its commands ran.
inline constexpr unsigned WMSKIN_MENUCOMMAND = 1229;

// Which way a first level opens from its rectangle when both would fit.
enum class TskPopupDirection { Down, Up };

// Where a menu window of size goes for the screen rectangle rect (a point
// rectangle for the system menu, a button or an item for a submenu) inside
// the work area. itemsTop is the top of the items inside the window, so
// that a submenu's first item lines up with its parent item; heightCut says
// the window was cut to the work area's height.
enum class TskMenuLevel { First, Submenu };
gfx::Point PlaceMenuWindow(const gfx::Rect& rect, const gfx::Rect& workArea, gfx::Size size, int itemsTop,
                           TskMenuLevel level, TskPopupDirection direction, bool heightCut);

// One item of an open window. Its state is decided by the window's
// handlers; Draw only reads it.
class TskSkinMenuItem {
 public:
  TskSkinMenuItem(TskSkinPopupWindow& window, ui::TMenuItem& item, const TskDataSkinMenuItem* data,
                  const gfx::Bitmap* activePicture);

  ui::TMenuItem& MenuItem() const { return *FMenuItem; }
  const TskDataSkinMenuItem* Data() const { return FData; }
  // Usable: enabled and not a separator.
  bool Usable() const { return FMenuItem->Enabled() && !FMenuItem->IsLine(); }
  bool HasSubItems() const;

  // Window coordinates.
  gfx::Rect ObjectRect;
  double MorphKf = 0;
  bool MouseActive = false;
  bool SubMenuOpen = false;
  bool Visible = true;
  bool KeyboardSelected = false;

  // Draws the item at ObjectRect into canvas (the window's picture).
  void Draw(gfx::Canvas& canvas) const;

 private:
  void DrawSkinBackground(gfx::Canvas& canvas, gfx::Rect& textArea) const;
  void DrawPlainBackground(gfx::Canvas& canvas) const;
  void DrawContent(gfx::Canvas& canvas, const gfx::Rect& textArea, gfx::Color textColor, int rightMargin) const;

  TskSkinPopupWindow* FWindow;
  ui::TMenuItem* FMenuItem;
  const TskDataSkinMenuItem* FData;
  const gfx::Bitmap* FActivePicture;
};

// One open level of a menu: a borderless top-level popup, topmost and
// never activated, drawn into a picture of its size.
class TskSkinPopupWindow : public ui::TCustomControl {
 public:
  using inherited = ui::TCustomControl;

  // skinData is the skin of the menu or none; level counts from 0.
  TskSkinPopupWindow(core::TComponent* owner, TskSkinMenu& menu, TskSkinData* skinData, int level);
  ~TskSkinPopupWindow() override;

  TskSkinMenu& ParentMenu() const { return *FMenu; }
  int Level() const { return FLevel; }
  // The popup-window section when the skin has a usable window picture.
  const TskDataSkinPopupWindow* PW() const { return FPW; }
  const TskDataSkinMenuItem* MenuItemData() const { return FMenuItemData; }
  ui::TImageList* Images() const { return FImages; }
  int GlyphWidth() const { return FGlyphWidth; }
  const gfx::Font& ItemFont() const { return FItemFont; }
  bool SkinEffects() const;

  const std::vector<std::unique_ptr<TskSkinMenuItem>>& ItemList() const { return FItems; }
  int ActiveItem() const { return FActiveItem; }
  int VisibleStartIndex() const { return FVisibleStartIndex; }
  int VisibleCount() const { return FVisibleCount; }
  bool Scroll() const { return FScroll; }
  int ScrollCode() const { return FScrollCode; }
  const gfx::Rect& NewItemsRect() const { return FNewItemsRect; }

  // Builds the items of root from startIndex, sizes and places the window
  // next to rect (screen) and shows it without activating it. False when
  // nothing is to be shown.
  bool ShowItems(ui::TMenuItem& root, int startIndex, const gfx::Rect& rect, TskMenuLevel level,
                 TskPopupDirection direction);

  // Keyboard, from the menu's routing; true when the key was used.
  bool KeyDown(int key);
  // The pointer at a client point (the mouse timer calls it).
  void Hover(gfx::Point point);
  // Selects item index as from the keyboard.
  void SelectItem(int index);

  // The window's look as it is drawn now (for tests and the benchmark).
  gfx::Bitmap RenderPicture() const;

 protected:
  void CreateParams(ui::TCreateParams& params) override;
  void WndProc(ui::TMessage& message) override;
  void Paint() override;

 private:
  friend class TskSkinMenu;

  void BuildItems(ui::TMenuItem& root, int startIndex);
  gfx::Size CalcSize(int& itemHeight);
  void CalcGeometry();
  void PlaceItems();
  void DrawBackground(gfx::Canvas& canvas) const;
  void DrawScrollMarkers(gfx::Canvas& canvas) const;
  gfx::Rect ScrollMarkerRect(bool top) const;
  bool CanScrollUp() const { return FVisibleStartIndex > 0; }
  bool CanScrollDown() const;
  void ScrollBy(int delta);
  void StartScroll(int code);
  void StopScroll();
  void ActivateItem(int index, bool fromKeyboard);
  void DeactivateItem(int index);
  void Execute(int index);
  void StartMorph();
  void MorphStep();
  void MouseTick();
  int ItemAt(gfx::Point point) const;
  int NextUsable(int from, int step) const;
  void EnsureVisible(int index);

  TskSkinMenu* FMenu;
  TskSkinData* FSkinData;
  int FLevel;
  const TskDataSkinPopupWindow* FPW = nullptr;
  const gfx::Bitmap* FWindowPicture = nullptr;
  const gfx::Bitmap* FMaskPicture = nullptr;
  const TskDataSkinMenuItem* FMenuItemData = nullptr;
  ui::TImageList* FImages = nullptr;
  int FGlyphWidth = 16;
  gfx::Font FItemFont;
  std::vector<std::unique_ptr<TskSkinMenuItem>> FItems;
  int FActiveItem = -1;
  int FOldActiveItem = -1;
  gfx::Point FNewLTPoint, FNewRTPoint, FNewLBPoint, FNewRBPoint;
  gfx::Rect FNewItemsRect;
  int FVisibleStartIndex = 0;
  int FVisibleCount = 0;
  bool FScroll = false;
  int FScrollCode = 0;
  gfx::Point FLastCursor{-100000, -100000};
  bool FMorphRunning = false;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// The menu controller of one form.
class TskSkinMenu : public core::TComponent {
 public:
  using inherited = core::TComponent;

  explicit TskSkinMenu(core::TComponent* owner);
  ~TskSkinMenu() override;

  // The form whose menus this opens; its monitor's work area places them.
  ui::TCustomForm* Form() const { return FForm; }
  void SetForm(ui::TCustomForm* form);
  // The skin a popup menu of the form uses when it names none (the
  // frame's menu skin or its skin).
  TskSkinData* DefaultSkinData() const { return FDefaultSkinData; }
  void SetDefaultSkinData(TskSkinData* skinData);

  // Opens rootItem's sub-items from startIndex next to the screen
  // rectangle rect; control (may be none) is told when it closes.
  void Popup(ui::TControl* control, TskSkinData* skinData, TskPopupDirection direction, ui::TMenuItem* rootItem,
             const gfx::Rect& rect, int startIndex);
  // Closes every window; 1228 to the form and the opening control.
  void CloseAll();
  // Closes the windows from the deepest down to index level; at 0 the
  // menu is closed (1228 to the opening control, OnMenuClose once).
  void CloseFrom(int level);

  bool Visible() const { return FVisible; }
  const std::vector<TskSkinPopupWindow*>& PopupList() const { return FPopupList; }
  TskSkinData* SkinData() const { return FSkinData; }
  const gfx::Rect& WorkArea() const { return FWorkArea; }

  // A key while the menu is open (the keyboard routing calls it); goes to
  // the deepest window. True when it was used.
  bool KeyDown(int key);

  bool AlphaBlend = false;
  bool AlphaBlendAnimation = false;
  int AlphaBlendValue = 200;
  int MaxMenuItemsInWindow = 0;
  bool UseSkinFont = true;
  int DefaultMenuItemHeight = 20;
  gfx::Font DefaultMenuItemFont{"宋体", 14, gfx::FontStyle::None, 0, gfx::GB2312_CHARSET};
  // Fired once when the menu closes, then cleared.
  ui::TNotifyEvent OnMenuClose;

 protected:
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  friend class TskSkinPopupWindow;

  // Opens a window for item's sub-items beside rect (screen).
  bool OpenLevel(ui::TMenuItem& root, int startIndex, const gfx::Rect& rect, TskMenuLevel level,
                 TskPopupDirection direction);
  // An item became active: its submenu opens after the wait, or the
  // deeper windows close.
  void RequestSubMenu(TskSkinPopupWindow& window, TskSkinMenuItem& item);
  void OpenSubMenu(TskSkinPopupWindow& window, TskSkinMenuItem& item);
  void WaitTimerFired();
  void ExecuteItem(ui::TMenuItem& item);
  void SetOpeningControl(ui::TControl*& field, ui::TControl* control);
  void InstallKeyboardRouting();
  void RemoveKeyboardRouting();
  void ReleaseClosedWindows();

  ui::TCustomForm* FForm = nullptr;
  TskSkinData* FDefaultSkinData = nullptr;
  TskSkinData* FSkinData = nullptr;
  std::vector<TskSkinPopupWindow*> FPopupList;
  // Closed windows wait here until the message loop is out of their
  // handlers (a click closes the window it arrived at).
  std::vector<TskSkinPopupWindow*> FClosed;
  ui::TTimer* FWaitTimer = nullptr;
  ui::TTimer* FReleaseTimer = nullptr;
  TskSkinMenuItem* FWItem = nullptr;
  TskSkinPopupWindow* FWWindow = nullptr;
  bool FVisible = false;
  bool FFirst = false;
  gfx::Rect FWorkArea;
  ui::TControl* FPopupCtrl = nullptr;
  ui::TControl* FDCtrl = nullptr;
  bool FRouting = false;
  ui::TMessageEvent FPreviousHook;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

// The skin menu a form's frame made for it; none when the form has no
// skinned frame.
TskSkinMenu* FindFormSkinMenu(const ui::TCustomForm* form);

// A popup menu that opens through the skin menu of its form.
class TskSkinPopupMenu : public ui::TPopupMenu {
 public:
  using inherited = ui::TPopupMenu;

  explicit TskSkinPopupMenu(core::TComponent* owner);
  ~TskSkinPopupMenu() override;

  TskSkinData* SkinData() const { return FSkinData; }
  void SetSkinData(TskSkinData* skinData);

  // Opens at the screen point through the skin menu of the form of the
  // popup component, else of the owner; nothing without one.
  void Popup(int x, int y) override;
  // The edit variant: opens at the point with control as the opening
  // control (it gets 1228 and 1229). Needs a skin: false when none is
  // loaded, so that the caller can show its plain menu instead.
  bool PopupFromControl(ui::TControl& control, int x, int y);

  ui::TNotifyEvent OnMenuClose;

 protected:
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  TskSkinMenu* FindMenu() const;
  TskSkinData* SkinFor(const TskSkinMenu& menu) const;

  TskSkinData* FSkinData = nullptr;
  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};

}  // namespace skin
