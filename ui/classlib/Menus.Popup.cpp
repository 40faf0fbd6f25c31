#include <algorithm>
#include <memory>
#include <vector>

#include "platform/VirtualKeys.h"
#include "ui/windowing/ClassicMenuDrawing.h"
#include "ui/classlib/Controls.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/Input.h"
#include "ui/classlib/Menus.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/ScreenUtils.h"
#include "ui/windowing/SystemMetrics.h"
#include "ui/windowing/WindowClass.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/windowing/Windows.h"

// The classic popup menu: one window per open level, all driven by one
// tracking loop that holds the mouse capture and reads the keyboard. Items
// are the font's height + 5 (at least 18 px), the arrow column is 18 px.
namespace ui {

namespace {

const char* const MenuClassName = "OstvaneMenu";
constexpr int FrameWidth = ClassicMenuFrameWidth;

class MenuTracker;

// One open level of the menu.
struct MenuLevel {
  TMenuItem* Parent = nullptr;
  std::vector<TMenuItem*> Items;
  ClassicMenuLayout Layout;          // client coordinates
  gfx::Rect Bounds;                  // screen
  HWND Window = nullptr;
  int Selected = -1;
};

class MenuTracker {
 public:
  explicit MenuTracker(TPopupMenu& menu) : FMenu(menu) {
    FFont.SetName("MS Sans Serif");
    FFont.SetHeight(-11);
    FFont.SetColor(clMenuText);
    FLook.Font = FFont.ToGfxFont();
    FLook.ItemPadding = 5;
    FLook.ArrowColumn = 18;
    FLook.ShortCutGap = 24;
    FLook.EmbossGrayed = false;
  }
  ~MenuTracker() { CloseFrom(0); }

  // Runs until an item is chosen (returned) or the menu is cancelled
  // (nullptr).
  TMenuItem* Run(TMenuItem* root, int x, int y) {
    if (!Open(root, gfx::Point{x, y}, nullptr)) return nullptr;
    SetCapture(FLevels[0]->Window);
    TMsg message;
    while (!FDone) {
      if (!GetMessage(message)) {
        // The quit belongs to the program's loop.
        PostQuitMessage(int(message.WParam));
        break;
      }
      Handle(message);
      if (!FDone && GetCapture() != FLevels[0]->Window) FDone = true;  // someone took the mouse away
    }
    if (GetCapture() == (FLevels.empty() ? nullptr : FLevels[0]->Window)) ReleaseCapture();
    CloseFrom(0);
    return FChosen;
  }

 private:
  MenuLevel* LevelOf(HWND window) {
    for (auto& level : FLevels) {
      if (level->Window == window) return level.get();
    }
    return nullptr;
  }

  // Lays out the visible items of parent and shows them at point (the
  // top-left corner; placed left or up when the work area ends).
  bool Open(TMenuItem* parent, gfx::Point point, const gfx::Rect* besideItem) {
    auto level = std::make_unique<MenuLevel>();
    level->Parent = parent;
    for (int i = 0; i < parent->Count(); ++i) {
      if (parent->Items(i)->Visible()) level->Items.push_back(parent->Items(i));
    }
    if (level->Items.empty()) return false;
    level->Layout = LayoutClassicMenu(FLook, EntriesOf(*level));
    int width = level->Layout.Width;
    int height = level->Layout.Height;

    gfx::Rect work = MonitorBoundsNear(gfx::Rect::FromSize(point.X, point.Y, 1, 1), ScreenArea::WorkArea);
    int x = point.X;
    int y = point.Y;
    if (!besideItem) {
      if (FMenu.Alignment() == paRight) x -= width;
      if (FMenu.Alignment() == paCenter) x -= width / 2;
      if (x + width > work.Right) x = std::max(work.Left, x - width);
    } else if (x + width > work.Right) {
      // A sub-menu that does not fit opens to the left of its parent.
      x = std::max(work.Left, besideItem->Left - width + FrameWidth);
    }
    if (y + height > work.Bottom) y = std::max(work.Top, (besideItem ? besideItem->Bottom : y) - height);
    x = std::max(x, work.Left);
    level->Bounds = gfx::Rect::FromSize(x, y, width, height);

    HWND window = CreateClassicMenuWindow(MenuClassName, level->Bounds, nullptr, [this](HWND w, gfx::Canvas& canvas) {
      if (MenuLevel* shown = LevelOf(w)) PaintClassicMenu(canvas, FLook, EntriesOf(*shown), shown->Layout, shown->Selected);
    });
    if (!window) return false;
    level->Window = window;
    FLevels.push_back(std::move(level));
    ShowWindow(window, SW_SHOWNA);
    return true;
  }

  // The items as the menu shows them, read when they are laid out and at
  // every paint (a handler may change them meanwhile).
  static std::vector<ClassicMenuEntry> EntriesOf(const MenuLevel& level) {
    std::vector<ClassicMenuEntry> entries;
    for (TMenuItem* item : level.Items) {
      ClassicMenuEntry entry;
      entry.Caption = item->Caption();
      entry.ShortCut = ShortCutToText(item->ShortCut());
      entry.Separator = item->IsLine();
      entry.Enabled = item->Enabled();
      entry.Default = item->Default();
      entry.Checked = item->Checked();
      entry.Radio = item->RadioItem();
      entry.SubMenu = item->Count() > 0;
      entries.push_back(std::move(entry));
    }
    return entries;
  }

  void CloseFrom(std::size_t index) {
    while (FLevels.size() > index) {
      HWND window = FLevels.back()->Window;
      FLevels.pop_back();
      if (window) DestroyWindow(window);
    }
  }

  void Select(std::size_t levelIndex, int item) {
    MenuLevel& level = *FLevels[levelIndex];
    if (level.Selected == item) return;
    level.Selected = item;
    InvalidateRect(level.Window, nullptr, false);
  }

  // Opens the sub-menu of the selected item of a level (closing deeper
  // ones first).
  void OpenSubMenu(std::size_t levelIndex) {
    CloseFrom(levelIndex + 1);
    MenuLevel& level = *FLevels[levelIndex];
    if (level.Selected < 0) return;
    TMenuItem* item = level.Items[std::size_t(level.Selected)];
    if (item->Count() == 0 || !item->Enabled()) return;
    gfx::Rect itemRect = level.Layout.ItemRects[std::size_t(level.Selected)].Offset(level.Bounds.Left, level.Bounds.Top);
    gfx::Rect beside{level.Bounds.Left, itemRect.Top, level.Bounds.Right, itemRect.Bottom};
    Open(item, gfx::Point{level.Bounds.Right - FrameWidth, itemRect.Top - FrameWidth}, &beside);
  }

  // Runs an item: a sub-menu opens, an enabled item ends the menu.
  void Choose(std::size_t levelIndex, int item) {
    if (item < 0) return;
    TMenuItem* chosen = FLevels[levelIndex]->Items[std::size_t(item)];
    if (chosen->IsLine() || !chosen->Enabled()) return;
    if (chosen->Count() > 0) {
      Select(levelIndex, item);
      OpenSubMenu(levelIndex);
      if (FLevels.size() > levelIndex + 1) Select(levelIndex + 1, NextSelectable(*FLevels[levelIndex + 1], -1, 1));
      return;
    }
    FChosen = chosen;
    FDone = true;
  }

  static int NextSelectable(const MenuLevel& level, int from, int step) {
    int count = int(level.Items.size());
    int index = from;
    for (int i = 0; i < count; ++i) {
      index = (index + step + count) % count;
      if (!level.Items[std::size_t(index)]->IsLine()) return index;
    }
    return -1;
  }

  // The level and item under a screen point; false outside every level.
  bool HitTest(gfx::Point screen, std::size_t& levelIndex, int& item) const {
    for (std::size_t i = FLevels.size(); i-- > 0;) {
      const MenuLevel& level = *FLevels[i];
      if (!level.Bounds.Contains(screen)) continue;
      levelIndex = i;
      item = -1;
      gfx::Point client{screen.X - level.Bounds.Left, screen.Y - level.Bounds.Top};
      for (std::size_t k = 0; k < level.Layout.ItemRects.size(); ++k) {
        if (level.Layout.ItemRects[k].Contains(client)) item = int(k);
      }
      return true;
    }
    return false;
  }

  void Handle(const TMsg& message) {
    if (RouteMenuKeyboardMessage(
            message, [this](int key) { Key(key); }, [this](char32_t character) { Character(character); })) {
      return;
    }
    switch (message.Message) {
      case WM_MOUSEMOVE:
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_LBUTTONDBLCLK:
      case WM_RBUTTONDBLCLK: {
        gfx::Point screen = PointFromLParam(message.LParam);
        if (message.Window) ::ui::ClientToScreen(message.Window, screen);
        std::size_t levelIndex = 0;
        int item = -1;
        bool over = HitTest(screen, levelIndex, item);
        bool press = message.Message != WM_MOUSEMOVE && message.Message != WM_LBUTTONUP && message.Message != WM_RBUTTONUP;
        if (!over) {
          // A press outside the menu closes it (and is not passed on).
          if (press) FDone = true;
          return;
        }
        if (message.Message == WM_MOUSEMOVE || press) {
          if (item >= 0 && FLevels[levelIndex]->Items[std::size_t(item)]->IsLine()) item = -1;
          CloseFrom(levelIndex + 1);
          Select(levelIndex, item);
          if (item >= 0) OpenSubMenu(levelIndex);
          return;
        }
        Choose(levelIndex, item);
        return;
      }
      default:
        DispatchMessage(message);
        return;
    }
  }

  void Key(int key) {
    std::size_t deepest = FLevels.size() - 1;
    MenuLevel& level = *FLevels[deepest];
    switch (key) {
      case platform::VK_DOWN: Select(deepest, NextSelectable(level, level.Selected, 1)); break;
      case platform::VK_UP:
        Select(deepest, NextSelectable(level, level.Selected < 0 ? 0 : level.Selected, -1));
        break;
      case platform::VK_RIGHT:
        if (level.Selected >= 0 && level.Items[std::size_t(level.Selected)]->Count() > 0) {
          Choose(deepest, level.Selected);
        }
        break;
      case platform::VK_LEFT:
        if (deepest > 0) CloseFrom(deepest);
        break;
      case platform::VK_ESCAPE:
        if (deepest > 0) {
          CloseFrom(deepest);
        } else {
          FDone = true;
        }
        break;
      case platform::VK_MENU:
      case platform::VK_F10:
        FDone = true;
        break;
      case platform::VK_RETURN:
      case platform::VK_SPACE:
        Choose(deepest, level.Selected);
        break;
      default:
        break;
    }
  }

  void Character(char32_t character) {
    if (character >= 'A' && character <= 'Z') character = character - 'A' + 'a';
    std::size_t deepest = FLevels.size() - 1;
    MenuLevel& level = *FLevels[deepest];
    for (std::size_t i = 0; i < level.Items.size(); ++i) {
      if (GetHotkey(level.Items[i]->Caption()) == character && character != 0) {
        Select(deepest, int(i));
        Choose(deepest, int(i));
        return;
      }
    }
  }

  TPopupMenu& FMenu;
  TFont FFont;
  ClassicMenuLook FLook;
  std::vector<std::unique_ptr<MenuLevel>> FLevels;
  TMenuItem* FChosen = nullptr;
  bool FDone = false;
};

}  // namespace

void TPopupMenu::Popup(int x, int y) {
  FLastChoice = nullptr;
  if (OnPopup) OnPopup(this);
  if (!Items() || !WindowSystem::Current()) return;
  TMenuItem* chosen = nullptr;
  {
    MenuTracker tracker(*this);
    chosen = tracker.Run(Items(), x, y);
  }
  FLastChoice = chosen;
  // The item runs once the menu is gone; its handler may free the menu.
  if (chosen) chosen->Click();
}

}  // namespace ui
