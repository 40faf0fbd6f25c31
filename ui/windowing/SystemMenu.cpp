#include "ui/windowing/SystemMenu.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "gfx/Font.h"
#include "platform/VirtualKeys.h"
#include "ui/windowing/ClassicMenuDrawing.h"
#include "ui/windowing/DefaultFrame.h"
#include "ui/windowing/Desktop.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/ModalLoops.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/ScreenUtils.h"
#include "ui/windowing/SystemMetrics.h"
#include "ui/windowing/WindowClass.h"
#include "ui/windowing/Windows.h"

namespace ui {

// ---- The item model ----

int WindowMenu::IndexOf(UINT item, UINT byFlags) const {
  if (byFlags & MF_BYPOSITION) return item < Items.size() ? int(item) : -1;
  for (std::size_t i = 0; i < Items.size(); ++i) {
    if (!Items[i].IsSeparator() && Items[i].Id == item) return int(i);
  }
  return -1;
}

MenuItem* WindowMenu::Find(UINT item, UINT byFlags) {
  int index = IndexOf(item, byFlags);
  return index < 0 ? nullptr : &Items[std::size_t(index)];
}

namespace {

std::shared_ptr<WindowMenu> MakeStandardMenu() {
  auto menu = std::make_shared<WindowMenu>();
  menu->Items = {
      MenuItem{SC_RESTORE, "&Restore", "", MF_ENABLED},
      MenuItem{SC_MOVE, "&Move", "", MF_ENABLED},
      MenuItem{SC_SIZE, "&Size", "", MF_ENABLED},
      MenuItem{SC_MINIMIZE, "Mi&nimize", "", MF_ENABLED},
      MenuItem{SC_MAXIMIZE, "Ma&ximize", "", MF_ENABLED},
      MenuItem{0, "", "", MF_SEPARATOR},
      MenuItem{SC_CLOSE, "&Close", "Alt+F4", MF_ENABLED | MF_DEFAULT},
  };
  return menu;
}

bool HasWindowMenu(const Window* window) {
  return (window->Style & WS_SYSMENU) && (window->Style & WS_CAPTION) == WS_CAPTION;
}

void SetGrayed(WindowMenu& menu, UINT id, bool grayed) {
  if (MenuItem* item = menu.Find(id, MF_BYCOMMAND)) {
    item->Flags = grayed ? (item->Flags | MF_GRAYED) : (item->Flags & ~(MF_GRAYED | MF_DISABLED));
  }
}

// The standard items follow the window; Close is left to the owner.
void UpdateStandardItems(WindowMenu& menu, DWORD style) {
  bool minimized = (style & WS_MINIMIZE) != 0;
  bool maximized = (style & WS_MAXIMIZE) != 0;
  SetGrayed(menu, SC_RESTORE, !minimized && !maximized);
  SetGrayed(menu, SC_MOVE, maximized);
  SetGrayed(menu, SC_SIZE, !(style & WS_THICKFRAME) || minimized || maximized);
  SetGrayed(menu, SC_MINIMIZE, !(style & WS_MINIMIZEBOX) || minimized);
  SetGrayed(menu, SC_MAXIMIZE, !(style & WS_MAXIMIZEBOX) || maximized);
}

// The character a key that ended a modal loop types (Enter, Escape) is
// not for the window the loop leaves.
void SwallowCharacterOfKey() {
  TMsg next;
  if (!PeekMessage(next, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE)) PeekMessage(next, nullptr, WM_SYSCHAR, WM_SYSCHAR, PM_REMOVE);
}

// ---- The popup ----

const char* const MenuClassName = "OstvaneWindowMenu";

bool IsPress(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool IsRelease(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_NCLBUTTONUP ||
         message == WM_NCRBUTTONUP;
}

// One open menu: a topmost popup that takes no activation, driven by a
// loop that holds the mouse capture and reads every key.
class MenuTracker {
 public:
  MenuTracker(const WindowMenu& menu, HWND owner, MenuOpenedBy openedBy, const gfx::Rect& anchor)
      : FMenu(menu), FOwner(owner), FOpenedBy(openedBy), FAnchor(anchor) {
    FLook.Font.Height = -12;
    FLook.Font.Color = GetSysColor(COLOR_MENUTEXT);
    for (const MenuItem& item : FMenu.Items) {
      ClassicMenuEntry entry;
      entry.Caption = item.Text;
      entry.ShortCut = item.ShortCutText;
      entry.Separator = item.IsSeparator();
      entry.Enabled = item.IsEnabled();
      entry.Default = (item.Flags & MF_DEFAULT) != 0;
      entry.Checked = (item.Flags & MF_CHECKED) != 0;
      FEntries.push_back(std::move(entry));
    }
  }
  ~MenuTracker() {
    if (FWindow) DestroyWindow(FWindow);
  }
  MenuTracker(const MenuTracker&) = delete;
  MenuTracker& operator=(const MenuTracker&) = delete;

  UINT Run(gfx::Point point) {
    if (FMenu.Items.empty() || !IsWindow(FOwner)) return 0;
    Desktop& desktop = CurrentDesktop();
    FOpenedAt = desktop.Platform.Now();
    SendMessage(FOwner, WM_ENTERMENULOOP, 0, 0);
    if (!Open(point)) {
      if (IsWindow(FOwner)) SendMessage(FOwner, WM_EXITMENULOOP, 0, 0);
      return 0;
    }
    if (FOpenedBy == MenuOpenedBy::Keyboard) Select(NextSelectable(-1, 1));
    SetCapture(FWindow);
    // Another window (or program) taking the activation closes the menu.
    HWND active = GetActiveWindow();
    auto ended = [&] {
      return FDone || !IsWindow(FOwner) || !IsWindow(FWindow) || GetCapture() != FWindow ||
             GetActiveWindow() != active;
    };
    TMsg message;
    while (NextModalMessage(message, ended)) Handle(message);
    if (IsWindow(FWindow) && GetCapture() == FWindow) ReleaseCapture();
    if (FWindow) DestroyWindow(FWindow);
    FWindow = nullptr;
    if (IsWindow(FOwner)) SendMessage(FOwner, WM_EXITMENULOOP, 0, 0);
    return FChosen;
  }

  // Where the last choice was made from: the pointer, or none for a key.
  std::optional<gfx::Point> ChosenAt() const { return FChosenAt; }

 private:
  bool Open(gfx::Point point) {
    FLayout = LayoutClassicMenu(FLook, FEntries);
    int width = FLayout.Width;
    int height = FLayout.Height;

    // Kept inside the work area: moved left, and above the point when it
    // does not fit below it.
    gfx::Rect work = MonitorBoundsNear(gfx::Rect::FromSize(point.X, point.Y, 1, 1), ScreenArea::WorkArea);
    int x = point.X;
    int y = point.Y;
    if (x + width > work.Right) x = work.Right - width;
    if (y + height > work.Bottom) y = y - height >= work.Top ? y - height : work.Bottom - height;
    x = std::max(x, work.Left);
    y = std::max(y, work.Top);
    FBounds = gfx::Rect::FromSize(x, y, width, height);

    HWND ownerTop = Desktop::TopLevelOf(CurrentDesktop().Find(FOwner))->Handle;
    FWindow = CreateClassicMenuWindow(MenuClassName, FBounds, ownerTop, [this](HWND, gfx::Canvas& canvas) {
      PaintClassicMenu(canvas, FLook, FEntries, FLayout, FSelected);
    });
    if (!FWindow) return false;
    ShowWindow(FWindow, SW_SHOWNA);
    return IsWindow(FWindow);
  }

  bool Selectable(int index) const {
    return index >= 0 && index < int(FMenu.Items.size()) && !FMenu.Items[std::size_t(index)].IsSeparator();
  }

  // The next item the keyboard can select (greyed items are skipped, as
  // they cannot be chosen); -1 when there is none.
  int NextSelectable(int from, int step) const {
    int count = int(FMenu.Items.size());
    int index = from;
    for (int i = 0; i < count; ++i) {
      index = ((index + step) % count + count) % count;
      const MenuItem& item = FMenu.Items[std::size_t(index)];
      if (!item.IsSeparator() && item.IsEnabled()) return index;
    }
    return -1;
  }

  void Select(int index) {
    if (index == FSelected) return;
    FSelected = index;
    if (FWindow) InvalidateRect(FWindow, nullptr, false);
  }

  int ItemAt(gfx::Point screen) const {
    if (!FBounds.Contains(screen)) return -1;
    gfx::Point client{screen.X - FBounds.Left, screen.Y - FBounds.Top};
    for (std::size_t i = 0; i < FLayout.ItemRects.size(); ++i) {
      if (FLayout.ItemRects[i].Contains(client)) return int(i);
    }
    return -1;
  }

  void Choose(int index, std::optional<gfx::Point> at) {
    if (!Selectable(index) || !FMenu.Items[std::size_t(index)].IsEnabled()) return;
    FChosen = FMenu.Items[std::size_t(index)].Id;
    FChosenAt = at;
    FDone = true;
  }

  void Handle(const TMsg& message) {
    if (IsMouseMessage(message.Message)) {
      HandleMouse(message);
      return;
    }
    bool routed = RouteMenuKeyboardMessage(
        message,
        [this](int key) {
          Key(key);
          if (FDone) SwallowCharacterOfKey();
        },
        [this](char32_t character) { Character(character); });
    if (!routed) DispatchMessage(message);
  }

  void HandleMouse(const TMsg& message) {
    gfx::Point screen = message.Point;
    int item = ItemAt(screen);
    if (!FBounds.Contains(screen)) {
      if (message.Message == WM_MOUSEMOVE || message.Message == WM_NCMOUSEMOVE) {
        Select(-1);
        return;
      }
      if (!IsPress(message.Message)) return;
      // A press outside closes the menu and is not passed on; a second
      // press on the place the menu came from, soon enough, is the
      // double click that closes the window.
      FDone = true;
      if (!FAnchor.IsEmpty() && FAnchor.Contains(screen) && FOpenedBy == MenuOpenedBy::Mouse &&
          message.Time - FOpenedAt <= std::uint64_t(GetDoubleClickTime())) {
        int close = FMenu.IndexOf(SC_CLOSE, MF_BYCOMMAND);
        if (close >= 0 && FMenu.Items[std::size_t(close)].IsEnabled()) {
          FChosen = SC_CLOSE;
          FChosenAt = screen;
        }
      }
      return;
    }
    if (!Selectable(item)) item = -1;
    if (IsRelease(message.Message)) {
      Choose(item, screen);
      return;
    }
    Select(item);
  }

  void Key(int key) {
    switch (key) {
      case platform::VK_DOWN: Select(NextSelectable(FSelected, 1)); break;
      case platform::VK_UP: Select(NextSelectable(FSelected < 0 ? 0 : FSelected, -1)); break;
      case platform::VK_ESCAPE:
      case platform::VK_MENU:
      case platform::VK_F10:
        FDone = true;
        break;
      case platform::VK_RETURN: Choose(FSelected, std::nullopt); break;
      default: break;
    }
  }

  void Character(char32_t character) {
    if (character >= 'A' && character <= 'Z') character = character - 'A' + 'a';
    if (character == 0) return;
    for (std::size_t i = 0; i < FMenu.Items.size(); ++i) {
      const MenuItem& item = FMenu.Items[i];
      if (item.IsSeparator() || CaptionHotkey(item.Text) != character) continue;
      Select(int(i));
      Choose(int(i), std::nullopt);
      return;
    }
  }

  WindowMenu FMenu;
  HWND FOwner;
  MenuOpenedBy FOpenedBy;
  gfx::Rect FAnchor;
  ClassicMenuLook FLook;
  std::vector<ClassicMenuEntry> FEntries;
  ClassicMenuLayout FLayout;
  gfx::Rect FBounds;
  HWND FWindow = nullptr;
  int FSelected = -1;
  bool FDone = false;
  UINT FChosen = 0;
  std::optional<gfx::Point> FChosenAt;
  std::uint64_t FOpenedAt = 0;
};

}  // namespace

// ---- The window's menu ----

HMENU GetSystemMenu(HWND handle, bool revert) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return nullptr;
  if (revert) {
    window->OwnMenu.reset();
    return nullptr;
  }
  if (!HasWindowMenu(window)) return nullptr;
  if (!window->OwnMenu) {
    window->OwnMenu = MakeStandardMenu();
    UpdateStandardItems(*window->OwnMenu, window->Style);
  }
  return window->OwnMenu.get();
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  MenuItem* found = menu ? menu->Find(item, flags) : nullptr;
  if (!found) return MenuItemNotFound;
  UINT previous = found->Flags & (MF_GRAYED | MF_DISABLED);
  found->Flags = (found->Flags & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  return previous;
}

UINT CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  MenuItem* found = menu ? menu->Find(item, flags) : nullptr;
  if (!found) return MenuItemNotFound;
  UINT previous = found->Flags & MF_CHECKED;
  found->Flags = (found->Flags & ~MF_CHECKED) | (flags & MF_CHECKED);
  return previous;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  MenuItem* found = menu ? menu->Find(item, flags) : nullptr;
  return found ? found->Flags : MenuItemNotFound;
}

int GetMenuItemCount(HMENU menu) { return menu ? int(menu->Items.size()) : -1; }

UINT GetMenuItemID(HMENU menu, int position) {
  if (!menu || position < 0 || position >= int(menu->Items.size())) return MenuItemNotFound;
  const MenuItem& item = menu->Items[std::size_t(position)];
  return item.IsSeparator() ? 0 : item.Id;
}

std::string GetMenuString(HMENU menu, UINT item, UINT flags) {
  MenuItem* found = menu ? menu->Find(item, flags) : nullptr;
  return found ? found->Text : std::string();
}

namespace {

MenuItem MakeItem(UINT flags, UINT id, std::string_view text) {
  MenuItem item;
  item.Flags = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_SEPARATOR | MF_DEFAULT);
  item.Id = item.IsSeparator() ? 0 : id;
  if (!item.IsSeparator()) {
    // "Caption\tShortcut", as menu resources write it.
    std::size_t tab = text.find('\t');
    item.Text = std::string(text.substr(0, tab));
    if (tab != std::string_view::npos) item.ShortCutText = std::string(text.substr(tab + 1));
  }
  return item;
}

}  // namespace

bool AppendMenu(HMENU menu, UINT flags, UINT id, std::string_view text) {
  if (!menu) return false;
  menu->Items.push_back(MakeItem(flags, id, text));
  return true;
}

bool InsertMenu(HMENU menu, UINT before, UINT flags, UINT id, std::string_view text) {
  if (!menu) return false;
  int index = menu->IndexOf(before, flags & MF_BYPOSITION);
  // By position, one past the end appends.
  if (index < 0 && (flags & MF_BYPOSITION) && before == menu->Items.size()) index = int(before);
  if (index < 0) return false;
  menu->Items.insert(menu->Items.begin() + index, MakeItem(flags, id, text));
  return true;
}

bool DeleteMenu(HMENU menu, UINT item, UINT flags) {
  int index = menu ? menu->IndexOf(item, flags) : -1;
  if (index < 0) return false;
  menu->Items.erase(menu->Items.begin() + index);
  return true;
}

HMENU PrepareSystemMenu(HWND handle) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window || !HasWindowMenu(window)) return nullptr;
  std::shared_ptr<WindowMenu> menu = window->OwnMenu;
  if (!menu) {
    window->PreparedMenu = MakeStandardMenu();
    menu = window->PreparedMenu;
  }
  UpdateStandardItems(*menu, window->Style);
  desktop->Send(handle, WM_INITMENU, WPARAM(menu.get()), 0);
  if (!desktop->Find(handle)) return nullptr;
  desktop->Send(handle, WM_INITMENUPOPUP, WPARAM(menu.get()), MakeLParam(0, SystemMenuPopupFlag));
  // A handler may have reverted the window's copy meanwhile.
  if (!(window = desktop->Find(handle))) return nullptr;
  if (window->OwnMenu) return window->OwnMenu.get();
  if (window->PreparedMenu == menu) return menu.get();
  window->PreparedMenu = menu;
  return menu.get();
}

UINT TrackWindowMenu(const WindowMenu& menu, HWND owner, gfx::Point screen, MenuOpenedBy openedBy,
                     const gfx::Rect& anchor) {
  if (!IsWindow(owner)) return 0;
  MenuTracker tracker(menu, owner, openedBy, anchor);
  return tracker.Run(screen);
}

UINT ShowSystemMenu(HWND window, gfx::Point screen, MenuOpenedBy openedBy, const gfx::Rect& anchor) {
  HMENU menu = PrepareSystemMenu(window);
  if (!menu) return 0;
  UINT chosen = 0;
  std::optional<gfx::Point> at;
  {
    MenuTracker tracker(*menu, window, openedBy, anchor);
    chosen = tracker.Run(screen);
    at = tracker.ChosenAt();
  }
  if (chosen && IsWindow(window)) {
    PostMessage(window, WM_SYSCOMMAND, WPARAM(chosen), at ? PointToLParam(*at) : 0);
  }
  return chosen;
}

// ---- Moving and sizing from the keyboard ----

namespace {

WPARAM EdgeCode(int horizontal, int vertical) {
  // horizontal: -1 left, 1 right; vertical: -1 top, 1 bottom; 0 none.
  if (vertical == 0) return horizontal < 0 ? WMSZ_LEFT : WMSZ_RIGHT;
  if (horizontal == 0) return vertical < 0 ? WMSZ_TOP : WMSZ_BOTTOM;
  if (vertical < 0) return horizontal < 0 ? WMSZ_TOPLEFT : WMSZ_TOPRIGHT;
  return horizontal < 0 ? WMSZ_BOTTOMLEFT : WMSZ_BOTTOMRIGHT;
}

}  // namespace

void RunKeyboardSizeMoveLoop(HWND window, WPARAM command) {
  Desktop& desktop = CurrentDesktop();
  Window* w = desktop.Find(window);
  if (!w || (w->Style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
  bool sizing = (command & SC_COMMAND_MASK) == SC_SIZE;
  if (sizing && !(w->Style & WS_THICKFRAME)) return;

  gfx::Rect original;
  MinMaxInfo limits;
  if (!BeginSizeMove(window, original, limits)) return;

  gfx::Rect current = original;
  int horizontal = 0;
  int vertical = 0;
  // Losing the capture or the activation ends the loop where it is.
  HWND active = GetActiveWindow();
  auto ended = [&] { return !desktop.Find(window) || GetCapture() != window || GetActiveWindow() != active; };
  TMsg message;
  while (NextModalMessage(message, ended)) {
    if (IsMouseMessage(message.Message)) {
      // A click keeps the result; the pointer does nothing else here.
      if (IsPress(message.Message)) break;
      continue;
    }
    if (message.Message == WM_KEYUP || message.Message == WM_SYSKEYUP || message.Message == WM_CHAR ||
        message.Message == WM_SYSCHAR) {
      continue;
    }
    if (message.Message != WM_KEYDOWN && message.Message != WM_SYSKEYDOWN) {
      DispatchMessage(message);
      continue;
    }
    int key = int(message.WParam);
    if (key == platform::VK_ESCAPE) {
      PlaceWindowAt(window, original);
      SwallowCharacterOfKey();
      break;
    }
    if (key == platform::VK_RETURN) {
      SwallowCharacterOfKey();
      break;
    }
    int dx = 0;
    int dy = 0;
    int step = (desktop.Modifiers & platform::ModifierControl) ? 1 : 8;
    switch (key) {
      case platform::VK_LEFT: dx = -step; break;
      case platform::VK_RIGHT: dx = step; break;
      case platform::VK_UP: dy = -step; break;
      case platform::VK_DOWN: dy = step; break;
      default: continue;
    }
    gfx::Rect proposed = current;
    if (!sizing) {
      proposed = current.Offset(dx, dy);
      desktop.Send(window, WM_MOVING, 0, ToLParam(&proposed));
    } else {
      // The first arrow of each direction picks the edge that moves.
      if (dx && !horizontal) horizontal = dx < 0 ? -1 : 1;
      if (dy && !vertical) vertical = dy < 0 ? -1 : 1;
      WPARAM edge = EdgeCode(horizontal, vertical);
      proposed = SizedRect(current, edge, dx, dy, limits);
      desktop.Send(window, WM_SIZING, edge, ToLParam(&proposed));
    }
    if (!desktop.Find(window)) break;
    if (proposed != current) {
      PlaceWindowAt(window, proposed);
      current = proposed;
    }
  }
  EndSizeMove(window);
}

}  // namespace ui
