// The popup menu window (pw.bmp, pwmask.bmp), the menu items
// (menuitems.bmp) and the hint window (hw.bmp, hwmask.bmp).

#include "Glyphs.h"
#include "Layout.h"
#include "Pictures.h"
#include "Theme.h"

namespace skingen {

namespace {

using namespace layout;

Bitmap ShapeMask(int width, int height, int radius) {
  Bitmap mask(width, height);
  const std::vector<bool> inside = SolidShape(width, height, RoundedShape::Uniform(Rect{0, 0, width, height}, radius));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) mask.SetPixel(x, y, inside[std::size_t(y) * width + x] ? 0x000000 : 0xFFFFFF);
  }
  return mask;
}

// A window with a one-pixel outline that follows the mask's corners.
Bitmap OutlinedWindow(int width, int height, int radius, Pixel outline, Pixel back) {
  Bitmap picture(width, height);
  const std::vector<bool> inside = SolidShape(width, height, RoundedShape::Uniform(Rect{0, 0, width, height}, radius));
  const std::vector<int> ring = RingDistances(width, height, inside);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.SetPixel(x, y, ring[std::size_t(y) * width + x] <= 1 ? outline : back);
  }
  return picture;
}

}  // namespace

Bitmap DrawPopupPicture() {
  Bitmap popup = OutlinedWindow(PopupWidth, PopupHeight, PopupRadius, theme::MenuBorder, theme::MenuBack);
  // A thin accent line under the top edge; the top middle is tiled, and
  // the line runs the whole width, so it stays unbroken.
  const std::vector<bool> inside =
      SolidShape(PopupWidth, PopupHeight, RoundedShape::Uniform(Rect{0, 0, PopupWidth, PopupHeight}, PopupRadius));
  const std::vector<int> ring = RingDistances(PopupWidth, PopupHeight, inside);
  for (int x = 0; x < PopupWidth; ++x) {
    if (ring[std::size_t(1) * PopupWidth + x] >= 2) popup.SetPixel(x, 1, theme::MenuStripe);
    if (ring[std::size_t(2) * PopupWidth + x] >= 2) popup.SetPixel(x, 2, theme::MenuStripeLight);
  }
  return popup;
}

Bitmap DrawPopupMask() { return ShapeMask(PopupWidth, PopupHeight, PopupRadius); }

Bitmap DrawMenuItemsPicture() {
  Bitmap items(MenuItemsWidth, MenuItemsHeight);
  items.Fill(theme::MenuBack);

  // The hot item: the selection with rounded ends inside the fixed ends.
  TileStyle selection{theme::MenuSelectionBorder, theme::MenuSelection, true, theme::MenuSelectionLight, 2};
  DrawTile(items, MenuItemHot, selection);

  // The divider: a groove between fixed ends of plain background.
  const int grooveY = MenuItemDivider.Top + MenuItemDivider.Height() / 2;
  const int grooveLeft = MenuItemDivider.Left + MenuDividerEndWidth;
  const int grooveRight = MenuItemDivider.Right - MenuDividerEndWidth;
  HLine(items, grooveLeft, grooveRight, grooveY, theme::DividerLine);
  HLine(items, grooveLeft, grooveRight, grooveY + 1, theme::White);

  // Menu-bar items on the menu bar's colour.
  Fill(items, Rect{0, MenuBarItemNormal.Top - 1, MenuItemsWidth, MenuItemsHeight}, theme::MenuBar);
  DrawTile(items, MenuBarItemHot, theme::MenuBarHot);
  DrawTile(items, MenuBarItemPressed, theme::MenuBarDown);
  return items;
}

Bitmap DrawHintPicture() { return OutlinedWindow(HintWidth, HintHeight, HintRadius, theme::HintBorder, theme::HintBack); }

Bitmap DrawHintMask() { return ShapeMask(HintWidth, HintHeight, HintRadius); }

}  // namespace skingen
