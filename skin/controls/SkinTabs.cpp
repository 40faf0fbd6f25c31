#include "skin/controls/SkinTabs.h"

#include <algorithm>

#include "gfx/Canvas.h"
#include "skin/data/SkinUtils.h"
#include "skin/data/skEffBmp.h"
#include "ui/classlib/ControlMessages.h"
#include "ui/windowing/Painting.h"

namespace skin {

namespace {

constexpr gfx::Color HotFill = 0xD2BDB6;     // RGB(182, 189, 210)
constexpr gfx::Color FocusFill = 0xB59385;   // RGB(133, 147, 181)
constexpr gfx::Color ActiveFrame = 0x800000;  // RGB(0, 0, 128)

// Tiles tile (of source) over area of the canvas from area's top-left
// corner; the last row and column are cut.
void TileOver(gfx::Canvas& canvas, const gfx::Rect& area, const gfx::Bitmap& source, const gfx::Rect& tile) {
  if (IsNullRect(tile) || area.IsEmpty()) return;
  gfx::CanvasStateSaver saver(canvas);
  canvas.IntersectClipRect(area);
  for (int y = area.Top; y < area.Bottom; y += tile.Height()) {
    for (int x = area.Left; x < area.Right; x += tile.Width()) {
      canvas.CopyRect(gfx::Rect{x, y, x + tile.Width(), y + tile.Height()}, source, tile);
    }
  }
}

gfx::Point Moved(gfx::Point p, int dx, int dy) { return gfx::Point{p.X + dx, p.Y + dy}; }

}  // namespace

// ---- TskSkinCustomTabSheet ------------------------------------------------------

TskSkinCustomTabSheet::TskSkinCustomTabSheet(core::TComponent* owner) : TTabSheet(owner) {
  SetAlign(ui::alClient);
}

void TskSkinCustomTabSheet::PaintSheetBackground(gfx::Canvas& canvas) {
  auto* parent = dynamic_cast<TskSkinPageControl*>(PageControl());
  if (Width() < 1 || Height() < 1 || !parent) return;
  parent->FindSkinSection();
  const gfx::Rect area = ClientRect();
  const TskDataSkinTabControl* section = parent->Section();
  const gfx::Bitmap* picture = parent->Picture();
  if (!section || !picture) {
    canvas.SetBrush(ui::ColorToRGB(ui::clBtnFace));
    canvas.FillRect(area);
    return;
  }
  if (section->BGPictureIndex == -1) {
    // The centre of the section's image: clientrect inside skinrect.
    const gfx::Rect centre{section->SkinRect.Left + section->ClientRect.Left,
                           section->SkinRect.Top + section->ClientRect.Top,
                           section->SkinRect.Left + section->ClientRect.Right,
                           section->SkinRect.Top + section->ClientRect.Bottom};
    TileOver(canvas, area, *picture, centre);
  } else if (const gfx::Bitmap* background = parent->ActivePicture(section->BGPictureIndex)) {
    TileOver(canvas, area, *background, gfx::Rect{0, 0, background->Width(), background->Height()});
  } else {
    canvas.SetBrush(ui::ColorToRGB(ui::clBtnFace));
    canvas.FillRect(area);
  }
}

void TskSkinCustomTabSheet::Dispatch(ui::TMessage& message) {
  switch (message.Msg) {
    case ui::WM_ERASEBKGND:
      if (auto context = reinterpret_cast<ui::HDC>(message.WParam)) {
        gfx::Canvas& canvas = context->Canvas();
        gfx::CanvasStateSaver saver(canvas);
        PaintSheetBackground(canvas);
        message.Result = 1;
      }
      return;
    case ui::WM_SIZE:
      inherited::Dispatch(message);
      // The background is tiled from the corner: all of it moves.
      Invalidate();
      return;
    default: inherited::Dispatch(message);
  }
}

// ---- TskSkinPageControl ----------------------------------------------------------

TskSkinPageControl::TskSkinPageControl(core::TComponent* owner) : TPageControl(owner) {
  Font()->SetName("宋体");
  Font()->SetHeight(14);
  Font()->SetColor(ui::clBtnText);
  FDefaultFont.Assign(*Font());
}

TskSkinPageControl::~TskSkinPageControl() {
  if (FSkinData) RemoveFreeNotification(FSkinData);
}

void TskSkinPageControl::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == core::opRemove && component == FScrollUpDown) FScrollUpDown = nullptr;
  if (operation == core::opRemove && component == FSkinData) {
    FSkinData = nullptr;
    FSkinIndex = -1;
  }
}

void TskSkinPageControl::SetSkinData(TskSkinData* value) {
  if (FSkinData) RemoveFreeNotification(FSkinData);
  FSkinData = value;
  if (FSkinData) FSkinData->FreeNotification(this);
  if (FSkinData && !FSkinData->Empty() && !ComponentState().Contains(core::csDesigning)) ApplySkinChange();
}

void TskSkinPageControl::SetDefaultItemHeight(int value) {
  FDefaultItemHeight = value;
  if (FSkinIndex == -1) SetItemHeightFrom(value);
}

const TskDataSkinTabControl* TskSkinPageControl::Section() const {
  if (FSkinIndex < 0 || !FSkinData) return nullptr;
  const auto& controls = FSkinData->SkinControls();
  if (std::size_t(FSkinIndex) >= controls.size()) return nullptr;
  return dynamic_cast<const TskDataSkinTabControl*>(controls[std::size_t(FSkinIndex)].get());
}

const gfx::Bitmap* TskSkinPageControl::ActivePicture(int index) const {
  if (!FSkinData || index < 0 || std::size_t(index) >= FSkinData->ActivePictures().size()) return nullptr;
  return &FSkinData->ActivePictures()[std::size_t(index)];
}

const gfx::Bitmap* TskSkinPageControl::Picture() const {
  const TskDataSkinTabControl* section = Section();
  return section ? ActivePicture(section->PictureIndex) : nullptr;
}

void TskSkinPageControl::FindSkinSection() {
  FSkinIndex = FSkinData && !FSkinData->Empty() ? FSkinData->FindControlIndex(FSkinDataName) : -1;
  if (FSkinIndex != -1 && !Section()) FSkinIndex = -1;
}

void TskSkinPageControl::SetItemHeightFrom(int height) {
  Perform(ui::TCM_SETITEMSIZE, 0, ui::MakeLParam(TabWidth(), height));
}

// 1. the section again; 2. the font: the section's or DefaultFont, the
// skin texts' charset; 3. the item height: TabHeight, else the tab
// picture's height (DefaultItemHeight without a section); 4. repaint.
void TskSkinPageControl::ApplySkinChange() {
  FindSkinSection();  // 1
  const TskDataSkinTabControl* section = Section();
  ui::TFont font;  // 2
  font.Assign(FDefaultFont);
  if (section && FUseSkinFont) {
    font.SetName(section->FontName);
    font.SetHeight(section->FontHeight);
    font.SetStyle(ui::TFontStyles::FromBits(std::uint64_t(section->FontStyle)));
  }
  if (section) font.SetColor(ui::TColor(section->FontColor));
  if (FSkinData && FSkinData->ResourceStrData()) font.SetCharset(FSkinData->ResourceStrData()->CharSet());
  Font()->Assign(font);
  int height = TabHeight();  // 3
  if (height <= 0) height = section ? RectHeight(section->TabRect) : FDefaultItemHeight;
  SetItemHeightFrom(height);
  Invalidate();  // 4
  if (ActivePage()) ActivePage()->Invalidate();
}

// The frame of the skinned page around the display rectangle is the
// section's border; without a section a one-pixel line.
void TskSkinPageControl::AdjustDisplayRect(gfx::Rect& r) {
  const int w = ClientWidth();
  const int h = ClientHeight();
  const TskDataSkinTabControl* section = Section();
  if (!section || IsNullRect(section->SkinRect)) {
    switch (TabPosition()) {
      case ui::tpTop: r = gfx::Rect{1, r.Top - 5, w - 1, h - 1}; break;
      case ui::tpBottom: r = gfx::Rect{1, 1, w - 1, r.Bottom + 3}; break;
      case ui::tpLeft: r = gfx::Rect{r.Left - 3, r.Top - 5, w - 1, h - 1}; break;
      case ui::tpRight: r = gfx::Rect{r.Left - 3, r.Top - 5, r.Right + 3, h - 1}; break;
    }
    return;
  }
  const int left = section->ClientRect.Left;
  const int top = section->ClientRect.Top;
  const int right = RectWidth(section->SkinRect) - section->ClientRect.Right;
  const int bottom = RectHeight(section->SkinRect) - section->ClientRect.Bottom;
  switch (TabPosition()) {
    case ui::tpTop: r = gfx::Rect{left, r.Top + top - 6, w - right, h - bottom}; break;
    case ui::tpBottom: r = gfx::Rect{left, r.Top + top - 4, w - right, r.Bottom + 4 - bottom}; break;
    case ui::tpLeft: r = gfx::Rect{r.Left + left - 4, r.Top + top - 4, w - right, h - bottom}; break;
    case ui::tpRight: r = gfx::Rect{left, r.Top + top - 4, r.Right + 4 - right, h - bottom}; break;
  }
}

void TskSkinPageControl::AdjustTabRect(int, gfx::Rect& r) {
  if (Style() != ui::tsTabs) return;
  switch (TabPosition()) {
    case ui::tpTop:
      if (!MultiLine()) r = r.Offset(-2, 0);
      r = r.Offset(0, -2);
      break;
    case ui::tpBottom:
      if (!MultiLine()) r = r.Offset(-2, 0);
      r = r.Offset(0, 2);
      break;
    case ui::tpLeft: r = r.Offset(-2, 0); break;
    case ui::tpRight: r = r.Offset(2, 0); break;
  }
}

int TskSkinPageControl::CountTabsLeftOfView() {
  int count = 0;
  for (int i = 0; i < VisibleTabCount(); ++i) {
    if (TabRect(i).Right <= 0) ++count;
  }
  return count;
}

int TskSkinPageControl::CountClippedTabs() {
  const int limit = ClientWidth() - 3 - (FScrollUpDown ? FScrollUpDown->Width() : 0);
  int count = 0;
  for (int i = 0; i < VisibleTabCount(); ++i) {
    const gfx::Rect r = TabRect(i);
    if (r.Right > limit || r.Right <= 0) ++count;
  }
  return count;
}

// Single-line mode:
// 1. no cut-off tab: no up-down;
// 2. cut-off tabs: a skinned up-down (the section's "updown" look) whose
//    range is the cut-off tabs and whose position is the tabs scrolled
//    out to the left; its change scrolls the tabs;
// 3. it sits in the corner on the tab side.
void TskSkinPageControl::ArrangeUpDown() {
  if (ComponentState().Contains(core::csDestroying) || ComponentState().Contains(core::csLoading)) return;
  const int clipped = MultiLine() ? 0 : CountClippedTabs();
  if (clipped == 0) {  // 1
    if (FScrollUpDown) {
      TskSkinUpDown* upDown = FScrollUpDown;
      FScrollUpDown = nullptr;
      upDown->Free();
    }
    return;
  }
  if (!FScrollUpDown) {  // 2
    FScrollUpDown = core::Create<TskSkinUpDown>(*this);
    FScrollUpDown->FreeNotification(this);
    FScrollUpDown->SetUseSkinSize(false);
    if (const TskDataSkinTabControl* section = Section(); section && !section->UpDown.empty()) {
      FScrollUpDown->SetSkinDataName(section->UpDown);
    }
    FScrollUpDown->SetParent(this);
    FScrollUpDown->SetBounds(0, 0, 2 * FDefaultItemHeight, FDefaultItemHeight);
    FScrollUpDown->SetMin(0);
    FScrollUpDown->SetMax(clipped);
    FScrollUpDown->SetPosition(CountTabsLeftOfView());
    FScrollUpDown->SetIncrement(1);
    FScrollUpDown->SetSkinData(FSkinData);
    FScrollUpDown->OnChange = [this](core::TComponent*) {
      if (!FScrollUpDown) return;
      const int position = FScrollUpDown->Position();
      Perform(ui::WM_HSCROLL, ui::MakeWParam(int(ui::SB_THUMBPOSITION), position), 0);
      if (FScrollUpDown) FScrollUpDown->SetMax(std::max(CountClippedTabs(), FScrollUpDown->Position()));
    };
  }
  FScrollUpDown->SetMax(std::max(clipped, FScrollUpDown->Position()));  // 3
  const int top = TabPosition() == ui::tpTop ? 0 : ClientHeight() - FScrollUpDown->Height();
  FScrollUpDown->SetBounds(ClientWidth() - FScrollUpDown->Width(), top, FScrollUpDown->Width(),
                           FScrollUpDown->Height());
}

void TskSkinPageControl::DrawDefaultBackground(gfx::Canvas& canvas) {
  canvas.SetBrush(ui::ColorToRGB(ui::clBtnFace));
  canvas.FillRect(ClientRect());
  canvas.FrameRect(DisplayRect().Inflate(1, 1), ui::ColorToRGB(ui::clBtnShadow));
}

// 1. P: the display rectangle grown by the frame thicknesses;
// 2. the tab strip outside P on the tab side tiled from tabsbgrect;
// 3. P's frame: the nine-part border without its centre (the page
//    covers it), the corner points moved with P's size.
void TskSkinPageControl::DrawSkinBackground(gfx::Canvas& canvas) {
  const TskDataSkinTabControl& s = *Section();
  const gfx::Bitmap& picture = *Picture();
  canvas.SetBrush(ui::ColorToRGB(ui::clBtnFace));
  canvas.FillRect(ClientRect());
  const gfx::Rect r = DisplayRect();
  const int right = RectWidth(s.SkinRect) - s.ClientRect.Right;
  const int bottom = RectHeight(s.SkinRect) - s.ClientRect.Bottom;
  const gfx::Rect p{r.Left - s.ClientRect.Left, r.Top - s.ClientRect.Top, r.Right + right, r.Bottom + bottom};  // 1
  if (!IsNullRect(s.TabsBGRect)) {  // 2
    const int w = ClientWidth();
    const int h = ClientHeight();
    gfx::Rect band;
    switch (TabPosition()) {
      case ui::tpTop: band = gfx::Rect{0, 0, w, p.Top}; break;
      case ui::tpBottom: band = gfx::Rect{0, p.Bottom, w, h}; break;
      case ui::tpLeft: band = gfx::Rect{0, 0, p.Left, h}; break;
      case ui::tpRight: band = gfx::Rect{p.Right, 0, w, h}; break;
    }
    TileOver(canvas, band, picture, s.TabsBGRect);
  }
  if (p.Width() < 1 || p.Height() < 1) return;  // 3
  const int dx = p.Width() - RectWidth(s.SkinRect);
  const int dy = p.Height() - RectHeight(s.SkinRect);
  const TRect newClient{s.ClientRect.Left, s.ClientRect.Top, s.ClientRect.Right + dx, s.ClientRect.Bottom + dy};
  gfx::Bitmap top, bottomStrip, leftStrip, rightStrip;
  BuildNinePartBorderStrips(s.LeftTopPoint, s.RightTopPoint, s.LeftBottomPoint, s.RightBottomPoint, s.ClientRect,
                            s.SkinRect, picture, s.LeftTopPoint, Moved(s.RightTopPoint, dx, 0),
                            Moved(s.LeftBottomPoint, 0, dy), Moved(s.RightBottomPoint, dx, dy), newClient,
                            p.Width(), p.Height(), BandModes{}, top, bottomStrip, leftStrip, rightStrip);
  canvas.Draw(p.Left, p.Top, top);
  canvas.Draw(p.Left, p.Top + newClient.Top, leftStrip);
  canvas.Draw(p.Left + newClient.Right, p.Top + newClient.Top, rightStrip);
  canvas.Draw(p.Left, p.Top + newClient.Bottom, bottomStrip);
}

// The tab is composed lying along x (turned for tpLeft and tpRight at the
// end):
// 1. without a section: a fill by state, the active tab framed in navy;
// 2. with one: the look of the state, three parts along x at the tab's
//    width, stretched to its height, mirrored for tpBottom;
// 3. the caption centred in the section's font and the state's colour;
// 4. turned and drawn at rect's top-left corner.
void TskSkinPageControl::DrawTab(gfx::Canvas& canvas, int tabIndex, const gfx::Rect& rect, bool hot, bool active) {
  if (rect.IsEmpty()) return;
  const bool turned = TabPosition() == ui::tpLeft || TabPosition() == ui::tpRight;
  const int width = turned ? rect.Height() : rect.Width();
  const int height = turned ? rect.Width() : rect.Height();
  const TskDataSkinTabControl* s = Section();
  const gfx::Bitmap* picture = Picture();
  const bool focused = Focused();
  gfx::Bitmap image(width, height);
  gfx::Font font = Font()->ToGfxFont();
  if (!s || !picture) {  // 1
    gfx::Canvas c(image);
    const gfx::Rect all{0, 0, width, height};
    if (!active) {
      c.SetBrush(hot ? HotFill : ui::ColorToRGB(ui::clBtnFace));
      c.FillRect(all);
    } else {
      c.SetBrush(focused ? FocusFill : HotFill);
      c.FillRect(all);
      c.FrameRect(all, ActiveFrame);
    }
  } else {  // 2
    gfx::Rect source;
    if (hot && !active && !IsNullRect(s->MouseInTabRect)) {
      source = s->MouseInTabRect;
    } else if (active && focused) {
      source = !IsNullRect(s->FocusTabRect) ? s->FocusTabRect
               : !IsNullRect(s->ActiveTabRect) ? s->ActiveTabRect
                                               : s->TabRect;
    } else if (!active) {
      source = s->TabRect;
    } else {
      source = IsNullRect(s->ActiveTabRect) ? s->TabRect : s->ActiveTabRect;
    }
    gfx::Bitmap look;
    BuildHorzThreePartImage(s->TabLeftOffset, s->TabRightOffset, *picture,
                            s->TabStretchEffect ? TileMode::Stretch : TileMode::Tile, width, source, look);
    gfx::Canvas c(image);
    c.StretchDraw(gfx::Rect{0, 0, width, height}, look);
    if (TabPosition() == ui::tpBottom) {
      TskEffectBmp flipped;
      TskEffectBmp::CreateFromBitmap(image).FlipVertical(flipped);
      image = flipped.ToBitmap();
    }
    if (FUseSkinFont) {
      font.Name = s->FontName;
      font.Height = s->FontHeight;
      font.Style = s->FontStyle;
    }
    font.Color = hot && !active ? s->MouseInFontColor
                 : active && focused ? s->FocusFontColor
                 : !active ? s->FontColor
                           : s->ActiveFontColor;
  }
  if (ui::TTabSheet* page = PageOfTab(tabIndex)) {  // 3
    gfx::Canvas c(image);
    c.SetFont(font);
    c.Brush().Style = gfx::BrushStyle::Clear;
    const std::string caption = page->Caption();
    const gfx::Size extent = c.TextExtent(caption);
    c.TextOut((width - extent.Width) / 2, (height - extent.Height) / 2, caption);
  }
  if (turned) {  // 4
    TskEffectBmp result;
    if (TabPosition() == ui::tpLeft) {
      TskEffectBmp::CreateFromBitmap(image).RotateCounterClockwise(result);
    } else {
      TskEffectBmp::CreateFromBitmap(image).RotateClockwise(result);
    }
    image = result.ToBitmap();
  }
  canvas.Draw(rect.Left, rect.Top, image);
}

void TskSkinPageControl::Paint() {
  if (ClientWidth() <= 0 || ClientHeight() <= 0) return;
  FindSkinSection();
  gfx::Bitmap buffer(ClientWidth(), ClientHeight());
  gfx::Canvas canvas(buffer);
  if (Section() && Picture()) {
    DrawSkinBackground(canvas);
  } else {
    DrawDefaultBackground(canvas);
  }
  const int count = VisibleTabCount();
  const int active = TabIndex();
  for (int i = 0; i < count; ++i) DrawTab(canvas, i, TabRect(i), i == FHotTab, i == active);
  Canvas()->Target().Draw(0, 0, buffer);
}

void TskSkinPageControl::RedrawTab(int tabIndex, bool hot) {
  if (tabIndex < 0 || tabIndex == TabIndex() || tabIndex >= VisibleTabCount() || !HandleAllocated()) return;
  ui::WindowDC context(Handle());
  DrawTab(context.Canvas(), tabIndex, TabRect(tabIndex), hot, false);
}

// Only the two tabs that change are drawn, straight on the window:
// 1. remember the previous hot tab; 2. find the tab under the point;
// 3. no change: nothing; else the old one normal, the new one hot.
void TskSkinPageControl::UpdateHotTab(int x, int y) {
  if (ComponentState().Contains(core::csDesigning)) return;
  FPrevHotPage = FHotPage;  // 1
  FPrevHotTab = FHotTab;
  FHotTab = -1;  // 2
  FHotPage = -1;
  const int count = VisibleTabCount();
  for (int i = 0; i < count; ++i) {
    if (TabRect(i).Contains(gfx::Point{x, y})) {
      FHotTab = i;
      FHotPage = PageOfTab(i) ? PageOfTab(i)->PageIndex() : -1;
      break;
    }
  }
  if (FHotTab == FPrevHotTab) return;  // 3
  RedrawTab(FPrevHotTab, false);
  RedrawTab(FHotTab, true);
}

void TskSkinPageControl::ResetHotTab() {
  RedrawTab(FPrevHotTab, false);
  RedrawTab(FHotTab, false);
  FHotTab = FPrevHotTab = FHotPage = FPrevHotPage = -1;
}

void TskSkinPageControl::Dispatch(ui::TMessage& message) {
  switch (message.Msg) {
    case ui::WM_MOUSEMOVE:
    case ui::WM_LBUTTONDOWN: {
      const gfx::Point point = ui::PointFromLParam(message.LParam);
      UpdateHotTab(point.X, point.Y);
      break;
    }
    case ui::CM_MOUSELEAVE:
      if (ui::FromLParam<ui::TControl>(message.LParam) == this) ResetHotTab();
      break;
    case ui::WM_ERASEBKGND:
      // The paint covers everything while there is a page.
      if (PageCount() > 0) {
        message.Result = 1;
        return;
      }
      break;
    case ui::WM_SIZE: FindSkinSection(); break;
    case ui::WM_HSCROLL: {
      ui::TControlGuard guard(this);
      inherited::Dispatch(message);
      if (guard.Alive()) Invalidate();
      return;
    }
    default: break;
  }
  inherited::Dispatch(message);
}

}  // namespace skin
