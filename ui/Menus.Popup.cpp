#include <algorithm>
#include <memory>
#include <vector>

#include "gfx/TextFormat.h"
#include "platform/VirtualKeys.h"
#include "ui/Controls.h"
#include "ui/Forms.h"
#include "ui/Input.h"
#include "ui/Menus.h"
#include "ui/MessageLoop.h"
#include "ui/Painting.h"
#include "ui/ScreenUtils.h"
#include "ui/SystemMetrics.h"
#include "ui/WindowClass.h"
#include "ui/WindowSystem.h"
#include "ui/Windows.h"

// The classic popup menu: one window per open level, all driven by one
// tracking loop that holds the mouse capture and reads the keyboard.
//
//   +--------------------------+  3 px raised frame
//   | v  &Open        Ctrl+O   |  item: 18 px (font height + 5)
//   |--------------------------|  separator: 8 px, etched line
//   |    More               >  |  sub-menu arrow
//   +--------------------------+
//    ^ 18 px check column      ^ 18 px arrow column
namespace ui {

namespace {

const char* const MenuClassName = "OstvaneMenu";
constexpr int FrameWidth = 3;
constexpr int CheckColumn = 18;
constexpr int ArrowColumn = 18;
constexpr int SeparatorHeight = 8;
constexpr int ShortCutGap = 24;

class MenuTracker;

// One open level of the menu.
struct MenuLevel {
  TMenuItem* Parent = nullptr;
  std::vector<TMenuItem*> Items;
  std::vector<gfx::Rect> ItemRects;  // client coordinates
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

  void Paint(HWND window) {
    MenuLevel* level = LevelOf(window);
    PaintStruct paint;
    HDC context = BeginPaint(window, paint);
    if (level && context) PaintLevel(*level, context->Canvas());
    EndPaint(window, paint);
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
    gfx::FontMetrics metrics = gfx::MeasureFont(FFont.ToGfxFont());
    int itemHeight = std::max(18, metrics.Height + 5);
    int textWidth = 0;
    int shortCutWidth = 0;
    int top = FrameWidth;
    for (TMenuItem* item : level->Items) {
      int height = item->IsLine() ? SeparatorHeight : itemHeight;
      level->ItemRects.push_back(gfx::Rect{FrameWidth, top, 0, top + height});
      top += height;
      if (item->IsLine()) continue;
      TFont font;
      font.Assign(FFont);
      if (item->Default()) font.SetStyle(TFontStyles{fsBold});
      textWidth = std::max(textWidth, gfx::MeasureText(font.ToGfxFont(), StripHotkey(item->Caption())).Width);
      std::string shortCut = ShortCutToText(item->ShortCut());
      if (!shortCut.empty()) shortCutWidth = std::max(shortCutWidth, gfx::MeasureText(font.ToGfxFont(), shortCut).Width);
    }
    int width = CheckColumn + textWidth + (shortCutWidth ? ShortCutGap + shortCutWidth : 0) + ArrowColumn + 2 * FrameWidth;
    int height = top + FrameWidth;
    for (gfx::Rect& r : level->ItemRects) r.Right = width - FrameWidth;

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

    WindowClass windowClass;
    windowClass.Name = MenuClassName;
    windowClass.Style = CS_SAVEBITS;
    RegisterClass(windowClass);
    HWND window = CreateWindowEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, MenuClassName, "", WS_POPUP, x, y,
                                 width, height, nullptr);
    if (!window) return false;
    SetWindowProc(window, MakeWindowProc([this](HWND w, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message == WM_PAINT) {
        Paint(w);
        return 0;
      }
      if (message == WM_ERASEBKGND) return 1;
      if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
      return DefWindowProc(w, message, wParam, lParam);
    }));
    level->Window = window;
    FLevels.push_back(std::move(level));
    ShowWindow(window, SW_SHOWNA);
    return true;
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
    gfx::Rect itemRect = level.ItemRects[std::size_t(level.Selected)].Offset(level.Bounds.Left, level.Bounds.Top);
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
      for (std::size_t k = 0; k < level.ItemRects.size(); ++k) {
        if (level.ItemRects[k].Contains(client)) item = int(k);
      }
      return true;
    }
    return false;
  }

  void Handle(const TMsg& message) {
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
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        Key(int(message.WParam));
        return;
      case WM_CHAR:
      case WM_SYSCHAR:
        Character(char32_t(message.WParam));
        return;
      case WM_KEYUP:
      case WM_SYSKEYUP:
        return;
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

  void PaintLevel(const MenuLevel& level, gfx::Canvas& canvas) {
    gfx::Rect bounds{0, 0, level.Bounds.Width(), level.Bounds.Height()};
    canvas.SetBrush(ColorToRGB(clMenu));
    canvas.FillRect(bounds);
    gfx::Rect inner = canvas.Frame3D(bounds, ColorToRGB(cl3DLight), ColorToRGB(cl3DDkShadow), 1);
    canvas.Frame3D(inner, ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow), 1);
    for (std::size_t i = 0; i < level.Items.size(); ++i) {
      TMenuItem* item = level.Items[i];
      gfx::Rect r = level.ItemRects[i];
      if (item->IsLine()) {
        int y = r.Top + r.Height() / 2 - 1;
        canvas.SetPen(ColorToRGB(clBtnShadow));
        canvas.MoveTo(r.Left + 1, y);
        canvas.LineTo(r.Right - 1, y);
        canvas.SetPen(ColorToRGB(clBtnHighlight));
        canvas.MoveTo(r.Left + 1, y + 1);
        canvas.LineTo(r.Right - 1, y + 1);
        continue;
      }
      bool selected = int(i) == level.Selected;
      if (selected) {
        canvas.SetBrush(ColorToRGB(clHighlight));
        canvas.FillRect(r);
      }
      gfx::Font font = FFont.ToGfxFont();
      if (item->Default()) font.Style = gfx::FontStyle::Bold;
      gfx::Color ink = ColorToRGB(selected ? clHighlightText : clMenuText);
      if (!item->Enabled()) ink = ColorToRGB(clGrayText);
      font.Color = ink;
      canvas.SetFont(font);
      canvas.SetBrush(0, gfx::BrushStyle::Clear);
      if (item->Checked()) {
        // A check mark (or a dot for radio items) in the left column.
        int cx = r.Left + CheckColumn / 2;
        int cy = r.Top + r.Height() / 2;
        canvas.SetPen(ink);
        if (item->RadioItem()) {
          canvas.SetBrush(ink);
          canvas.Ellipse(gfx::Rect{cx - 3, cy - 3, cx + 3, cy + 3});
          canvas.SetBrush(0, gfx::BrushStyle::Clear);
        } else {
          for (int k = 0; k < 3; ++k) {
            canvas.MoveTo(cx - 3, cy - 1 + k);
            canvas.LineTo(cx - 1, cy + 1 + k);
            canvas.LineTo(cx + 4, cy - 4 + k);
          }
        }
      }
      gfx::Rect text{r.Left + CheckColumn, r.Top, r.Right - ArrowColumn, r.Bottom};
      canvas.DrawText(item->Caption(), text, gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
      std::string shortCut = ShortCutToText(item->ShortCut());
      if (!shortCut.empty()) {
        gfx::Rect right = text;
        canvas.DrawText(shortCut, right, gfx::DT_RIGHT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
      }
      if (item->Count() > 0) {
        // The sub-menu arrow: a small triangle pointing right.
        int ax = r.Right - ArrowColumn / 2 - 2;
        int ay = r.Top + r.Height() / 2;
        canvas.SetPen(ink);
        for (int k = 0; k < 4; ++k) {
          canvas.MoveTo(ax + k, ay - 3 + k);
          canvas.LineTo(ax + k, ay + 4 - k);
        }
      }
    }
  }

  TPopupMenu& FMenu;
  TFont FFont;
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
