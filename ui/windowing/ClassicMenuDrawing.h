#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Canvas.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"
#include "ui/windowing/WindowTypes.h"

// The drawing and measuring every classic popup menu shares: the window
// system's own window menu and the class library's popup menus.
//
//   +--------------------------+  3 px raised frame
//   | v  &Open        Ctrl+O   |  item: at least 18 px
//   |--------------------------|  separator: 8 px, etched line
//   |    More               >  |  sub-menu arrow
//   +--------------------------+
//    ^ 18 px check column      ^ arrow column
namespace ui {

constexpr int ClassicMenuFrameWidth = 3;
constexpr int ClassicMenuCheckColumn = 18;
constexpr int ClassicMenuSeparatorHeight = 8;

// One item as the menu shows it.
struct ClassicMenuEntry {
  // The caption with its "&" accelerator mark.
  std::string Caption;
  // Shown right-aligned; empty for none.
  std::string ShortCut;
  bool Separator = false;
  bool Enabled = true;
  // The default item is bold.
  bool Default = false;
  bool Checked = false;
  // A checked radio item shows a dot instead of a tick.
  bool Radio = false;
  bool SubMenu = false;
};

// What differs between the menus that share this drawing.
struct ClassicMenuLook {
  gfx::Font Font;
  // Added to the font's height for an item (which is at least 18 px).
  int ItemPadding = 6;
  int ArrowColumn = 12;
  int ShortCutGap = 20;
  // Greyed text is embossed (a highlight copy one pixel down and right)
  // unless the selection bar is under it.
  bool EmbossGrayed = true;
};

struct ClassicMenuLayout {
  // Client coordinates, one per entry.
  std::vector<gfx::Rect> ItemRects;
  int Width = 0;
  int Height = 0;
};

// The caption without its accelerator marks ("&&" stays as "&").
std::string CaptionWithoutMarks(std::string_view caption);
// The accelerator letter of a caption, lower case; 0 for none (or one
// outside ASCII).
char32_t CaptionHotkey(std::string_view caption);

ClassicMenuLayout LayoutClassicMenu(const ClassicMenuLook& look, const std::vector<ClassicMenuEntry>& entries);

// Paints the frame and the entries at their layout rectangles; selected
// is the index under the selection bar, -1 for none.
void PaintClassicMenu(gfx::Canvas& canvas, const ClassicMenuLook& look, const std::vector<ClassicMenuEntry>& entries,
                      const ClassicMenuLayout& layout, int selected);

// Creates a menu's popup window (hidden; shown with SW_SHOWNA) at a screen
// rectangle: topmost, never activated, painted by paint (given the
// window). nullptr when it cannot be made.
HWND CreateClassicMenuWindow(const char* className, const gfx::Rect& bounds, HWND owner,
                             std::function<void(HWND, gfx::Canvas&)> paint);

// The keyboard part of a menu's tracking loop: key presses go to key,
// characters to character, key releases are dropped. Returns false for
// any other message, which the caller handles.
bool RouteMenuKeyboardMessage(const TMsg& message, const std::function<void(int)>& key,
                              const std::function<void(char32_t)>& character);

}  // namespace ui
