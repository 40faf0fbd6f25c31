// One open menu level: building its items, its size and geometry from the
// skin's popup-window section, its place on the screen, painting, the
// pointer, the keyboard and scrolling.

#include <algorithm>

#include "gfx/Canvas.h"
#include "gfx/TextFormat.h"
#include "platform/VirtualKeys.h"
#include "skin/data/SkinUtils.h"
#include "skin/form/SkinMenus.h"
#include "ui/classlib/Graphics.h"
#include "ui/classlib/ImgList.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/ScreenUtils.h"
#include "ui/windowing/Timers.h"
#include "ui/windowing/WindowStyles.h"
#include "ui/windowing/Windows.h"

namespace skin {

using ui::HWND;
using ui::UINT;
using ui::UINT_PTR;

namespace {

constexpr UINT_PTR ScrollTimerId = 1;
constexpr UINT_PTR MouseTimerId = 2;
constexpr UINT_PTR MorphTimerId = 3;
constexpr UINT ScrollInterval = 100;
constexpr UINT MouseInterval = 50;
constexpr UINT MorphInterval = 20;
constexpr double MorphStepSize = 0.2;
// The strip at the top and the bottom of a scrolling window that holds an
// arrow.
constexpr int MarkerHeight = 10;

gfx::Color System(ui::TColor color) { return ui::ColorToRGB(color); }

const TskDataSkinMenuItem* FindMenuItemObject(const TskSkinData& skin) {
  for (const char* name : {"MENUITEM", "menuitem"}) {
    int index = skin.FindObjectIndex(name);
    if (index < 0) continue;
    if (auto* data = dynamic_cast<const TskDataSkinMenuItem*>(skin.SkinObjects()[std::size_t(index)].get())) {
      return data;
    }
  }
  return nullptr;
}

const gfx::Bitmap* ActivePicture(const TskSkinData& skin, int index) {
  if (index < 0 || std::size_t(index) >= skin.ActivePictures().size()) return nullptr;
  const gfx::Bitmap& picture = skin.ActivePictures()[std::size_t(index)];
  return picture.IsEmpty() ? nullptr : &picture;
}

ui::TImageList* ImagesOf(ui::TMenuItem& root) {
  ui::TMenu* menu = root.GetParentMenu();
  return menu ? menu->Images() : nullptr;
}

}  // namespace

// Placing a menu window (a submenu beside its item, a first level below or
// above its rectangle):
//   1. A window cut to the work area's height starts at its top.
//   2. Submenus line their first item up with the parent item, else sit at
//      the work area's bottom (parent in the upper half) or end at the
//      parent's bottom.
//   3. A first level opens the asked way when it fits; otherwise it is
//      moved, and a moved window opens beside the rectangle, not under it.
//   4. X: an unmoved first level starts at the rectangle's left, kept
//      inside the work area; submenus and moved windows go right of the
//      rectangle, or left when they do not fit there.
gfx::Point PlaceMenuWindow(const gfx::Rect& rect, const gfx::Rect& workArea, gfx::Size size, int itemsTop,
                           TskMenuLevel level, TskPopupDirection direction, bool heightCut) {
  const int height = size.Height;
  const int width = size.Width;
  const bool upperHalf = rect.Top < workArea.Top + workArea.Height() / 2;
  bool moved = false;
  int y = 0;
  if (level == TskMenuLevel::Submenu) {
    // 2.
    const int aligned = rect.Top - itemsTop;
    if (aligned + height <= workArea.Bottom) {
      y = aligned;
    } else if (upperHalf) {
      y = workArea.Bottom - height;
    } else {
      y = std::max(workArea.Top, rect.Bottom + itemsTop - height);
    }
  } else if (direction == TskPopupDirection::Down) {
    // 3.
    if (rect.Bottom + height <= workArea.Bottom) {
      y = rect.Bottom;
    } else if (upperHalf) {
      y = workArea.Bottom - height;
      moved = true;
    } else if (rect.Top - height >= workArea.Top) {
      y = rect.Top - height;
    } else {
      y = workArea.Top;
      moved = true;
    }
  } else {
    if (rect.Top - height >= workArea.Top) {
      y = rect.Top - height;
    } else if (upperHalf) {
      if (rect.Bottom + height <= workArea.Bottom) {
        y = rect.Bottom;
      } else {
        y = workArea.Bottom - height;
        moved = true;
      }
    } else {
      y = workArea.Top;
      moved = true;
    }
  }
  // 1.
  if (heightCut) y = workArea.Top;

  // 4.
  int x = 0;
  if (level == TskMenuLevel::First && !moved && !heightCut) {
    x = rect.Left;
    if (x + width > workArea.Right) {
      x = workArea.Right - width;
    } else if (x < workArea.Left) {
      x = workArea.Left;
    }
  } else if (rect.Right + 1 + width <= workArea.Right) {
    x = rect.Right + 1;
  } else {
    x = rect.Left - width - 1;
  }
  return gfx::Point{x, y};
}

TskSkinPopupWindow::TskSkinPopupWindow(core::TComponent* owner, TskSkinMenu& menu, TskSkinData* skinData, int level)
    : ui::TCustomControl(owner), FMenu(&menu), FSkinData(skinData), FLevel(level) {
  SetVisible(false);
  if (FSkinData && !FSkinData->Empty()) {
    const TskDataSkinPopupWindow& pw = FSkinData->PopupWindow();
    FWindowPicture = ActivePicture(*FSkinData, pw.WindowPictureIndex);
    if (FWindowPicture) {
      FPW = &pw;
      FMaskPicture = ActivePicture(*FSkinData, pw.MaskPictureIndex);
      // A mask of another size than the window picture cannot cut it.
      if (FMaskPicture && FMaskPicture->Dimensions() != FWindowPicture->Dimensions()) FMaskPicture = nullptr;
    }
  }
}

TskSkinPopupWindow::~TskSkinPopupWindow() {
  *FAlive = false;
  if (HandleAllocated()) {
    ui::KillTimer(WindowHandle(), ScrollTimerId);
    ui::KillTimer(WindowHandle(), MouseTimerId);
    ui::KillTimer(WindowHandle(), MorphTimerId);
  }
}

bool TskSkinPopupWindow::SkinEffects() const { return FSkinData && FSkinData->EnableSkinEffects(); }

void TskSkinPopupWindow::CreateParams(ui::TCreateParams& params) {
  inherited::CreateParams(params);
  // A top-level popup that stays above everything and never takes the
  // activation or the focus from the form.
  params.Style = ui::WS_POPUP;
  params.ExStyle = ui::WS_EX_TOPMOST | ui::WS_EX_TOOLWINDOW | ui::WS_EX_NOACTIVATE;
  params.WndParent = nullptr;
}

void TskSkinPopupWindow::BuildItems(ui::TMenuItem& root, int startIndex) {
  FItems.clear();
  FImages = ImagesOf(root);
  FGlyphWidth = FImages ? FImages->Width() + 5 : 16;
  FMenuItemData = FSkinData && !FSkinData->Empty() ? FindMenuItemObject(*FSkinData) : nullptr;
  FItemFont = FMenu->DefaultMenuItemFont;
  if (FPW && FMenuItemData && FMenu->UseSkinFont) {
    FItemFont.Name = FMenuItemData->FontName;
    FItemFont.Height = FMenuItemData->FontHeight;
    FItemFont.Style = FMenuItemData->FontStyle;
  }
  const gfx::Bitmap* picture = FMenuItemData ? ActivePicture(*FSkinData, FMenuItemData->ActivePictureIndex) : nullptr;
  const TskDataSkinMenuItem* data = FPW ? FMenuItemData : nullptr;
  for (int i = std::max(0, startIndex); i < root.Count(); ++i) {
    ui::TMenuItem* item = root.Items(i);
    if (!item->Visible()) continue;
    FItems.push_back(std::make_unique<TskSkinMenuItem>(*this, *item, data, picture));
  }
}

// 3. The window's size: the widest item (caption, two spaces and the
// shortcut) with the glyph column and the frame the skin draws around the
// items; the items' heights stacked. itemHeight is the height of a plain
// item, for a window that shows only some of them.
gfx::Size TskSkinPopupWindow::CalcSize(int& itemHeight) {
  gfx::Bitmap scratch(1, 1);
  gfx::Canvas canvas(scratch);
  canvas.SetFont(FItemFont);
  int widest = 0;
  for (const auto& item : FItems) {
    std::string text = item->MenuItem().Caption();
    if (item->MenuItem().ShortCut() != ui::scNone) text += "  " + ui::ShortCutToText(item->MenuItem().ShortCut());
    gfx::Rect r{0, 0, 0, 0};
    canvas.DrawText(text, r, gfx::DT_CALCRECT | gfx::DT_SINGLELINE);
    widest = std::max(widest, r.Width() + 2);
  }
  int width = widest + FGlyphWidth + 16;
  const TskDataSkinMenuItem* data = FPW ? FMenuItemData : nullptr;
  if (!FPW) {
    width += 10;
  } else {
    width += FWindowPicture->Width() - RectWidth(FPW->ItemsRect);
    if (data) width += RectWidth(data->SkinRect) - RectWidth(data->TextRect);
  }
  itemHeight = data ? RectHeight(data->SkinRect) : FMenu->DefaultMenuItemHeight;
  const int separatorHeight = data ? RectHeight(data->DividerRect) : 4;
  int items = 0;
  for (const auto& item : FItems) items += item->MenuItem().IsLine() ? separatorHeight : itemHeight;
  const int framePart = FPW ? FWindowPicture->Height() - RectHeight(FPW->ItemsRect) : 6;
  int height = items + framePart;
  FScroll = false;
  if (FMenu->MaxMenuItemsInWindow > 0 && FMenu->MaxMenuItemsInWindow < int(FItems.size())) {
    height = itemHeight * FMenu->MaxMenuItemsInWindow + framePart + 2 * MarkerHeight;
    FScroll = true;
  }
  return gfx::Size{width, height};
}

// 4. The popup-window section's points and items rectangle moved with the
// window's size (the corners keep their distance to their own edges).
void TskSkinPopupWindow::CalcGeometry() {
  if (!FPW) {
    FNewItemsRect = gfx::Rect{3, 3, Width() - 3, Height() - 3};
    return;
  }
  const int dw = Width() - FWindowPicture->Width();
  const int dh = Height() - FWindowPicture->Height();
  FNewLTPoint = FPW->LeftTopPoint;
  FNewRTPoint = gfx::Point{FPW->RightTopPoint.X + dw, FPW->RightTopPoint.Y};
  FNewLBPoint = gfx::Point{FPW->LeftBottomPoint.X, FPW->LeftBottomPoint.Y + dh};
  FNewRBPoint = gfx::Point{FPW->RightBottomPoint.X + dw, FPW->RightBottomPoint.Y + dh};
  FNewItemsRect = FPW->ItemsRect;
  FNewItemsRect.Right += dw;
  FNewItemsRect.Bottom += dh;
}

void TskSkinPopupWindow::PlaceItems() {
  const int top = FNewItemsRect.Top + (FScroll ? MarkerHeight : 0);
  const int bottom = FNewItemsRect.Bottom - (FScroll ? MarkerHeight : 0);
  const TskDataSkinMenuItem* data = FPW ? FMenuItemData : nullptr;
  const int itemHeight = data ? RectHeight(data->SkinRect) : FMenu->DefaultMenuItemHeight;
  const int separatorHeight = data ? RectHeight(data->DividerRect) : 4;
  int y = top;
  FVisibleCount = 0;
  bool full = false;
  for (int i = 0; i < int(FItems.size()); ++i) {
    TskSkinMenuItem& item = *FItems[std::size_t(i)];
    if (i < FVisibleStartIndex || full) {
      item.Visible = false;
      continue;
    }
    const int h = item.MenuItem().IsLine() ? separatorHeight : itemHeight;
    item.ObjectRect = gfx::Rect{FNewItemsRect.Left, y, FNewItemsRect.Right, y + h};
    // The first item always shows, even in a window too small for it.
    if (y + h > bottom && FVisibleCount > 0) {
      item.Visible = false;
      full = true;
      continue;
    }
    item.Visible = true;
    ++FVisibleCount;
    y += h;
  }
}

bool TskSkinPopupWindow::ShowItems(ui::TMenuItem& root, int startIndex, const gfx::Rect& rect, TskMenuLevel level,
                                   TskPopupDirection direction) {
  // 2.
  BuildItems(root, startIndex);
  if (FItems.empty()) return false;
  // 3.
  int itemHeight = 0;
  gfx::Size size = CalcSize(itemHeight);
  const gfx::Rect& work = FMenu->WorkArea();
  bool heightCut = false;
  if (size.Height > work.Height()) {
    size.Height = work.Height();
    FScroll = true;
    heightCut = true;
  }
  // 4.
  SetBounds(0, 0, size.Width, size.Height);
  CalcGeometry();
  PlaceItems();
  // 5.
  gfx::Point at = PlaceMenuWindow(rect, work, size, FNewItemsRect.Top, level, direction, heightCut);
  SetBounds(at.X, at.Y, size.Width, size.Height);
  HWND window = Handle();
  if (FPW && FMaskPicture) {
    std::optional<gfx::Region> region =
        BuildNinePartRegion(FPW->LeftTopPoint, FPW->RightTopPoint, FPW->LeftBottomPoint, FPW->RightBottomPoint,
                            FPW->ItemsRect, FMaskPicture->Bounds(), *FMaskPicture, FNewLTPoint, FNewRTPoint,
                            FNewLBPoint, FNewRBPoint, FNewItemsRect, size.Width, size.Height);
    if (region) ui::SetWindowRgn(window, std::move(region), false);
  }
  // 8. Opacity for translucent menus.
  if (FMenu->AlphaBlend) {
    ui::SetWindowLong(window, ui::GWL_EXSTYLE, ui::GetWindowLong(window, ui::GWL_EXSTYLE) | ui::WS_EX_LAYERED);
    const bool fadeIn = FMenu->AlphaBlendAnimation && FLevel == 0 && FMenu->FFirst;
    ui::SetWindowAlpha(window, std::uint8_t(fadeIn ? 0 : std::clamp(FMenu->AlphaBlendValue, 0, 255)));
  }
  // 9.
  ui::SetWindowPos(window, ui::HWND_TOPMOST, at.X, at.Y, 0, 0,
                   ui::SWP_SHOWWINDOW | ui::SWP_NOACTIVATE | ui::SWP_NOSIZE);
  SetVisible(true);
  // 10. The fade-in runs to its end without waiting.
  if (FMenu->AlphaBlend && FMenu->AlphaBlendAnimation && FLevel == 0 && FMenu->FFirst) {
    for (int alpha = 0; alpha <= FMenu->AlphaBlendValue; alpha += 2) {
      ui::SetWindowAlpha(window, std::uint8_t(std::min(alpha, 255)));
    }
    ui::SetWindowAlpha(window, std::uint8_t(std::clamp(FMenu->AlphaBlendValue, 0, 255)));
  }
  // 11.
  gfx::Point cursor;
  if (ui::GetCursorPos(cursor)) FLastCursor = cursor;
  ui::SetTimer(window, MouseTimerId, MouseInterval);
  int first = NextUsable(-1, 1);
  if (first >= 0) SelectItem(first);
  return true;
}

int TskSkinPopupWindow::NextUsable(int from, int step) const {
  const int count = int(FItems.size());
  if (count == 0) return -1;
  int index = from;
  for (int i = 0; i < count; ++i) {
    index += step;
    if (index >= count) index = 0;
    if (index < 0) index = count - 1;
    if (FItems[std::size_t(index)]->Usable()) return index;
  }
  return -1;
}

bool TskSkinPopupWindow::CanScrollDown() const {
  if (!FScroll || FItems.empty()) return false;
  return FVisibleStartIndex + FVisibleCount < int(FItems.size());
}

void TskSkinPopupWindow::ScrollBy(int delta) {
  const int count = int(FItems.size());
  int start = std::clamp(FVisibleStartIndex + delta, 0, std::max(0, count - 1));
  if (start == FVisibleStartIndex) return;
  FVisibleStartIndex = start;
  PlaceItems();
  // Not past the end: the last page is full.
  while (FVisibleStartIndex > 0 && FVisibleStartIndex + FVisibleCount >= count) {
    --FVisibleStartIndex;
    PlaceItems();
    if (FVisibleStartIndex + FVisibleCount > count || !FItems.back()->Visible) {
      ++FVisibleStartIndex;
      PlaceItems();
      break;
    }
  }
  Invalidate();
}

void TskSkinPopupWindow::EnsureVisible(int index) {
  if (!FScroll || index < 0) return;
  if (index < FVisibleStartIndex) {
    FVisibleStartIndex = index;
    PlaceItems();
  }
  while (!FItems[std::size_t(index)]->Visible && FVisibleStartIndex < index) {
    ++FVisibleStartIndex;
    PlaceItems();
  }
}

void TskSkinPopupWindow::StartScroll(int code) {
  if (FScrollCode == code) return;
  FScrollCode = code;
  FMenu->CloseFrom(FLevel + 1);
  ui::SetTimer(Handle(), ScrollTimerId, ScrollInterval);
  Invalidate();
}

void TskSkinPopupWindow::StopScroll() {
  if (FScrollCode == 0) return;
  FScrollCode = 0;
  if (HandleAllocated()) ui::KillTimer(WindowHandle(), ScrollTimerId);
  Invalidate();
}

gfx::Rect TskSkinPopupWindow::ScrollMarkerRect(bool top) const {
  if (!FPW) {
    return top ? gfx::Rect{3, 3, Width() - 3, 3 + MarkerHeight} : gfx::Rect{3, Height() - MarkerHeight, Width() - 3, Height() - 3};
  }
  return top ? gfx::Rect{FNewItemsRect.Left, FNewItemsRect.Top, FNewItemsRect.Right, FNewItemsRect.Top + MarkerHeight}
             : gfx::Rect{FNewItemsRect.Left, FNewItemsRect.Bottom - MarkerHeight, FNewItemsRect.Right,
                         FNewItemsRect.Bottom};
}

int TskSkinPopupWindow::ItemAt(gfx::Point point) const {
  for (int i = 0; i < int(FItems.size()); ++i) {
    const TskSkinMenuItem& item = *FItems[std::size_t(i)];
    if (item.Visible && item.ObjectRect.Contains(point)) return i;
  }
  return -1;
}

// The pointer over the window: the markers scroll, an item under it
// becomes the active one.
void TskSkinPopupWindow::Hover(gfx::Point point) {
  if (FScroll) {
    if (ScrollMarkerRect(true).Contains(point) && CanScrollUp()) {
      StartScroll(1);
      return;
    }
    if (ScrollMarkerRect(false).Contains(point) && CanScrollDown()) {
      StartScroll(2);
      return;
    }
    StopScroll();
  }
  int index = ItemAt(point);
  if (index < 0) return;
  if (index == FActiveItem) {
    TskSkinMenuItem& item = *FItems[std::size_t(index)];
    if (item.KeyboardSelected && item.HasSubItems() && item.Usable() && !item.SubMenuOpen) {
      FMenu->OpenSubMenu(*this, item);
    }
    return;
  }
  FOldActiveItem = FActiveItem;
  if (FOldActiveItem >= 0 && FItems[std::size_t(FOldActiveItem)]->Usable()) DeactivateItem(FOldActiveItem);
  FActiveItem = index;
  if (FItems[std::size_t(index)]->Usable()) ActivateItem(index, false);
  Invalidate();
}

void TskSkinPopupWindow::SelectItem(int index) {
  if (index < 0 || index >= int(FItems.size())) return;
  if (FActiveItem >= 0 && FActiveItem != index) DeactivateItem(FActiveItem);
  FOldActiveItem = FActiveItem;
  FActiveItem = index;
  EnsureVisible(index);
  ActivateItem(index, true);
  FItems[std::size_t(index)]->KeyboardSelected = true;
  Invalidate();
}

void TskSkinPopupWindow::ActivateItem(int index, bool fromKeyboard) {
  TskSkinMenuItem& item = *FItems[std::size_t(index)];
  const bool wasKeyboardSelected = item.KeyboardSelected;
  item.MouseActive = true;
  for (int i = 0; i < int(FItems.size()); ++i) {
    TskSkinMenuItem& other = *FItems[std::size_t(i)];
    if (i == index) continue;
    other.KeyboardSelected = false;
    if (other.SubMenuOpen) DeactivateItem(i);
  }
  SetHint(item.MenuItem().Hint());
  StartMorph();
  if (wasKeyboardSelected && !fromKeyboard) return;
  if (item.SubMenuOpen) {
    FMenu->CloseFrom(FLevel + 1);
    item.SubMenuOpen = false;
    return;
  }
  FMenu->RequestSubMenu(*this, item);
}

void TskSkinPopupWindow::DeactivateItem(int index) {
  TskSkinMenuItem& item = *FItems[std::size_t(index)];
  item.MouseActive = false;
  item.KeyboardSelected = false;
  item.SubMenuOpen = false;
  StartMorph();
}

void TskSkinPopupWindow::Execute(int index) {
  if (index < 0 || index >= int(FItems.size())) return;
  TskSkinMenuItem& item = *FItems[std::size_t(index)];
  if (!item.Usable()) return;
  if (!item.HasSubItems()) {
    FMenu->ExecuteItem(item.MenuItem());
    return;
  }
  // An item with sub-items runs its own command too, then opens them at
  // once.
  std::shared_ptr<bool> alive = FAlive;
  item.MenuItem().Click();
  if (!*alive) return;
  FMenu->OpenSubMenu(*this, item);
}

// Items morph between their looks in steps of 0.2 every 20 ms when the
// skin's menu item asks for it; otherwise they switch at once.
void TskSkinPopupWindow::StartMorph() {
  const bool morph = FPW && FMenuItemData && FMenuItemData->Morphing && SkinEffects();
  if (!morph) {
    for (auto& item : FItems) item->MorphKf = (item->MouseActive || item->KeyboardSelected) ? 1 : 0;
    Invalidate();
    return;
  }
  if (!FMorphRunning && HandleAllocated()) {
    FMorphRunning = true;
    ui::SetTimer(WindowHandle(), MorphTimerId, MorphInterval);
  }
}

void TskSkinPopupWindow::MorphStep() {
  bool moving = false;
  for (auto& item : FItems) {
    const double target = (item->MouseActive || item->KeyboardSelected) ? 1 : 0;
    if (item->MorphKf < target) {
      item->MorphKf = std::min(target, item->MorphKf + MorphStepSize);
    } else if (item->MorphKf > target) {
      item->MorphKf = std::max(target, item->MorphKf - MorphStepSize);
    }
    if (item->MorphKf != target) moving = true;
  }
  Invalidate();
  if (!moving) {
    FMorphRunning = false;
    ui::KillTimer(WindowHandle(), MorphTimerId);
  }
}

void TskSkinPopupWindow::MouseTick() {
  gfx::Point cursor;
  if (!ui::GetCursorPos(cursor) || cursor == FLastCursor) return;
  FLastCursor = cursor;
  if (ui::WindowFromPoint(cursor) == WindowHandle()) {
    gfx::Point client = cursor;
    ui::ScreenToClient(WindowHandle(), client);
    Hover(client);
  } else if (FScroll) {
    StopScroll();
  }
}

bool TskSkinPopupWindow::KeyDown(int key) {
  // 1. An item whose "&" letter is the key.
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
    for (int i = 0; i < int(FItems.size()); ++i) {
      TskSkinMenuItem& item = *FItems[std::size_t(i)];
      char32_t hotkey = ui::GetHotkey(item.MenuItem().Caption());
      if (hotkey >= 'a' && hotkey <= 'z') hotkey -= 'a' - 'A';
      if (hotkey == char32_t(key) && item.Usable()) {
        SelectItem(i);
        Execute(i);
        return true;
      }
    }
  }
  switch (key) {
    case platform::VK_RETURN:
      Execute(FActiveItem);
      return true;
    case platform::VK_ESCAPE:
      FMenu->CloseFrom(FLevel);
      return true;
    case platform::VK_LEFT:
      if (FMenu->PopupList().size() >= 2) FMenu->CloseFrom(FLevel);
      return true;
    case platform::VK_RIGHT:
      if (FActiveItem >= 0) {
        TskSkinMenuItem& item = *FItems[std::size_t(FActiveItem)];
        if (item.Usable() && item.HasSubItems() && !item.SubMenuOpen) FMenu->OpenSubMenu(*this, item);
      }
      return true;
    case platform::VK_UP:
    case platform::VK_DOWN: {
      int next = NextUsable(FActiveItem, key == platform::VK_UP ? -1 : 1);
      if (next >= 0 && next != FActiveItem) {
        if (FActiveItem >= 0) FMenu->CloseFrom(FLevel + 1);
        SelectItem(next);
      }
      return true;
    }
    default: return false;
  }
}

void TskSkinPopupWindow::DrawBackground(gfx::Canvas& canvas) const {
  const int width = Width();
  const int height = Height();
  if (FPW) {
    gfx::Bitmap back;
    BandModes stretch;
    stretch.Left = FPW->LeftStretch ? TileMode::Stretch : TileMode::Tile;
    stretch.Right = FPW->RightStretch ? TileMode::Stretch : TileMode::Tile;
    stretch.Top = FPW->TopStretch ? TileMode::Stretch : TileMode::Tile;
    stretch.Bottom = FPW->BottomStretch ? TileMode::Stretch : TileMode::Tile;
    BuildNinePartImageEx(FPW->LeftTopPoint, FPW->RightTopPoint, FPW->LeftBottomPoint, FPW->RightBottomPoint,
                         FPW->ItemsRect, FWindowPicture->Bounds(), *FWindowPicture, FNewLTPoint, FNewRTPoint,
                         FNewLBPoint, FNewRBPoint, FNewItemsRect, width, height, DrawCentre::Yes, stretch, back);
    canvas.Draw(0, 0, back);
    return;
  }
  const int gutter = FImages ? FGlyphWidth + 3 : 22;
  canvas.SetBrush(System(ui::clBtnFace));
  canvas.FillRect(gfx::Rect{0, 0, gutter, height});
  canvas.SetBrush(System(ui::clWindow));
  canvas.FillRect(gfx::Rect{gutter, 0, width, height});
  canvas.FrameRect(gfx::Rect{0, 0, width, height}, System(ui::clBtnShadow));
  canvas.FrameRect(gfx::Rect{1, 1, width - 1, height - 1}, System(ui::clWindow));
}

void TskSkinPopupWindow::DrawScrollMarkers(gfx::Canvas& canvas) const {
  const gfx::Color normal = FPW ? FPW->ScrollMarkerColor : System(ui::clBtnShadow);
  const gfx::Color active = FPW ? FPW->ScrollMarkerActiveColor : System(ui::clBtnText);
  DrawArrowMark(canvas, ScrollMarkerRect(true), FScrollCode == 1 ? active : normal, ArrowDirection::Up);
  DrawArrowMark(canvas, ScrollMarkerRect(false), FScrollCode == 2 ? active : normal, ArrowDirection::Down);
}

gfx::Bitmap TskSkinPopupWindow::RenderPicture() const {
  gfx::Bitmap picture(std::max(1, Width()), std::max(1, Height()));
  gfx::Canvas canvas(picture);
  DrawBackground(canvas);
  for (const auto& item : FItems) {
    if (item->Visible) item->Draw(canvas);
  }
  if (FScroll) DrawScrollMarkers(canvas);
  return picture;
}

void TskSkinPopupWindow::Paint() { Canvas()->Target().Draw(0, 0, RenderPicture()); }

void TskSkinPopupWindow::WndProc(ui::TMessage& message) {
  switch (message.Msg) {
    case ui::WM_ERASEBKGND:
      // Paint draws every pixel.
      message.Result = 1;
      return;
    case ui::WM_MOUSEACTIVATE:
      message.Result = ui::MA_NOACTIVATE;
      return;
    case ui::WM_TIMER:
      switch (message.WParam) {
        case MouseTimerId: MouseTick(); return;
        case MorphTimerId: MorphStep(); return;
        case ScrollTimerId:
          if (FScrollCode == 1 && CanScrollUp()) {
            ScrollBy(-1);
          } else if (FScrollCode == 2 && CanScrollDown()) {
            ScrollBy(1);
          } else {
            StopScroll();
          }
          return;
        default: break;
      }
      break;
    case ui::WM_MOUSEMOVE: {
      // The timer follows the pointer too; a move answers at once.
      gfx::Point point{std::int16_t(message.LParam & 0xFFFF), std::int16_t((message.LParam >> 16) & 0xFFFF)};
      gfx::Point screen = point;
      ui::ClientToScreen(WindowHandle(), screen);
      FLastCursor = screen;
      Hover(point);
      return;
    }
    case ui::WM_LBUTTONUP: {
      // The base lets the mouse capture of the press go first.
      inherited::WndProc(message);
      gfx::Point point{std::int16_t(message.LParam & 0xFFFF), std::int16_t((message.LParam >> 16) & 0xFFFF)};
      int index = ItemAt(point);
      if (index >= 0 && !FItems[std::size_t(index)]->MenuItem().IsLine()) Execute(index);
      return;
    }
    default: break;
  }
  inherited::WndProc(message);
}

}  // namespace skin
