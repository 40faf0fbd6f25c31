#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "gfx/Geometry.h"
#include "ui/windowing/WindowTypes.h"

// The window menu every captioned window has (Restore, Move, Size,
// Minimise, Maximise, Close): an item model its window's owner can read and
// change, and the small classic popup the default window procedure shows
// it in. The menu lives in the window system's layer, below the class
// library, so it knows nothing of menu components: items are plain records
// with a command id.
//
//   +------------------------+
//   |    &Restore            |  greyed unless minimised or maximised
//   |    &Move               |
//   |    &Size               |  greyed without WS_THICKFRAME
//   |    Mi&nimize           |  greyed without WS_MINIMIZEBOX
//   |    Ma&ximize           |  greyed without WS_MAXIMIZEBOX
//   |------------------------|
//   |    &Close      Alt+F4  |  the default item, bold
//   +------------------------+
namespace ui {

// Item flags (a bit set; the classic values).
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_DEFAULT = 0x1000;
// How an item is named in the calls below: by its command id (the
// default) or by its position.
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
// The high word of WM_INITMENUPOPUP's lParam for the window menu.
constexpr int SystemMenuPopupFlag = 1;
// What the menu calls answer for an item that is not there.
constexpr UINT MenuItemNotFound = 0xFFFFFFFFu;

struct MenuItem {
  UINT Id = 0;
  // The caption with its "&" accelerator mark.
  std::string Text;
  // Shown right-aligned ("Alt+F4").
  std::string ShortCutText;
  UINT Flags = MF_ENABLED;

  bool IsSeparator() const { return (Flags & MF_SEPARATOR) != 0; }
  bool IsEnabled() const { return !(Flags & (MF_GRAYED | MF_DISABLED)); }
};

// A flat list of command items.
class WindowMenu {
 public:
  std::vector<MenuItem> Items;

  // The index of an item named by id or position (MF_BYPOSITION); -1 when
  // there is none.
  int IndexOf(UINT item, UINT byFlags) const;
  MenuItem* Find(UINT item, UINT byFlags);
};

using HMENU = WindowMenu*;

// The window's menu. With revert false: the window's own copy, made from
// the standard items on first use, which the caller may change and which
// stays with the window until it is destroyed or reverted. With revert
// true: the copy is dropped (the standard menu is used again) and nullptr
// is returned. nullptr for a window without WS_SYSMENU in a caption, or no
// window.
HMENU GetSystemMenu(HWND window, bool revert);

// The item calls; item is a command id or, with MF_BYPOSITION in flags, a
// position. EnableMenuItem and CheckMenuItem return the previous state
// (MF_GRAYED / MF_CHECKED bits) or MenuItemNotFound.
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);
UINT CheckMenuItem(HMENU menu, UINT item, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
int GetMenuItemCount(HMENU menu);
// The command id at a position; MenuItemNotFound past the end, 0 for a
// separator.
UINT GetMenuItemID(HMENU menu, int position);
std::string GetMenuString(HMENU menu, UINT item, UINT flags);
// Adds an item at the end (a separator with MF_SEPARATOR); inserts one
// before an item; removes one.
bool AppendMenu(HMENU menu, UINT flags, UINT id, std::string_view text);
bool InsertMenu(HMENU menu, UINT before, UINT flags, UINT id, std::string_view text);
bool DeleteMenu(HMENU menu, UINT item, UINT flags);

// Brings the standard items up to date with the window's state and styles
// (Restore, Move, Size, Minimise and Maximise are enabled or greyed; Close
// keeps what its owner set), then sends WM_INITMENU (wParam: the menu) and
// WM_INITMENUPOPUP (wParam: the menu, lParam: position 0 with
// SystemMenuPopupFlag in the high word) so the window can change it.
// Returns the menu to show (the window's copy or a fresh standard menu,
// which lives until the next call for the window). A frame that shows the
// items in a popup of its own calls this first.
HMENU PrepareSystemMenu(HWND window);

// How ShowSystemMenu was asked for: from the keyboard the first usable
// item starts selected.
enum class MenuOpenedBy { Mouse, Keyboard };

// Prepares the window menu, shows it with its top-left corner at a screen
// point (moved to stay in the work area) and tracks it until an item is
// chosen, Escape is pressed or the mouse is pressed outside it. A chosen
// item is posted to the window as WM_SYSCOMMAND (lParam: the pointer for a
// mouse choice, 0 for a keyboard one). Returns the chosen command, 0 when
// the menu was cancelled. anchor, a screen rectangle, is the place it was
// opened from (the caption icon): a press there closes the menu, and a
// second press there within the double-click time chooses Close.
UINT ShowSystemMenu(HWND window, gfx::Point screen, MenuOpenedBy openedBy = MenuOpenedBy::Mouse,
                    const gfx::Rect& anchor = gfx::Rect{});

// Shows any menu for a window and tracks it as above, without preparing or
// posting anything; returns the chosen id or 0. The menu is copied, so
// handlers run meanwhile may change or drop it.
UINT TrackWindowMenu(const WindowMenu& menu, HWND owner, gfx::Point screen,
                     MenuOpenedBy openedBy = MenuOpenedBy::Mouse, const gfx::Rect& anchor = gfx::Rect{});

// Moves (SC_MOVE) or sizes (SC_SIZE) the window with the arrow keys, as
// the window menu's Move and Size do: arrows step 8 pixels (1 with Ctrl);
// for sizing the first arrow picks the edge; Enter or a click keeps the
// result, Escape puts the window back. Sends the same messages as the
// mouse-driven loop (WM_ENTERSIZEMOVE, WM_GETMINMAXINFO, WM_MOVING or
// WM_SIZING per step, WM_EXITSIZEMOVE).
void RunKeyboardSizeMoveLoop(HWND window, WPARAM command);

}  // namespace ui
