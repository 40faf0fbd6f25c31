#include "skin/controls/SkinBoxCtrls.Memo.h"

#include <algorithm>

#include "gfx/Canvas.h"
#include "platform/VirtualKeys.h"
#include "skin/controls/SkinBoxCtrls.Edit.h"
#include "skin/controls/SkinCtrls.ScrollBar.h"
#include "skin/data/SkinUtils.h"
#include "skin/data/SkinUtils.ParentBackground.h"
#include "skin/data/skEffBmp.h"
#include "skin/form/SkinMenus.h"
#include "ui/classlib/ControlMessages.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/Windows.h"

namespace skin {

TskSkinMemo::TskSkinMemo(core::TComponent* owner) : TCustomMemo(owner) {
  SetBorderStyle(ui::bsNone);
  SetScrollBars(ui::ssNone);
  Font()->SetName("宋体");
  Font()->SetHeight(14);
  Font()->SetColor(ui::clBlack);
  FDefaultFont.Assign(*Font());
  FDefaultFont.OnChange = [this](ui::TGraphicsObject*) {
    if (FSkinIndex == -1) Font()->Assign(FDefaultFont);
  };
}

TskSkinMemo::~TskSkinMemo() {
  FDefaultFont.OnChange = nullptr;
  if (FSkinData) RemoveFreeNotification(FSkinData);
  if (FVScrollBar) {
    FVScrollBar->OnChange = nullptr;
    RemoveFreeNotification(FVScrollBar);
  }
}

void TskSkinMemo::Notification(core::TComponent* component, core::TOperation operation) {
  inherited::Notification(component, operation);
  if (operation != core::opRemove) return;
  if (component == FSkinData) {
    FSkinData = nullptr;
    FSkinIndex = -1;
  }
  if (component == FVScrollBar) FVScrollBar = nullptr;
  if (component == FSysPopupMenu) FSysPopupMenu = nullptr;
}

void TskSkinMemo::SetSkinData(TskSkinData* value) {
  if (FSkinData) RemoveFreeNotification(FSkinData);
  FSkinData = value;
  if (FSkinData) FSkinData->FreeNotification(this);
  if (FSkinData && !FSkinData->Empty() && !ComponentState().Contains(core::csDesigning)) ApplySkinChange();
}

void TskSkinMemo::SetBitMapBG(bool value) {
  if (value == FBitMapBG) return;
  FBitMapBG = value;
  Invalidate();
}

void TskSkinMemo::SetTransparent(bool value) {
  if (value == FTransparent) return;
  FTransparent = value;
  Invalidate();
}

void TskSkinMemo::SetAlphaBlendValue(std::uint8_t value) {
  if (value == FAlphaBlendValue) return;
  FAlphaBlendValue = value;
  if (FTransparent) Invalidate();
}

void TskSkinMemo::SetVScrollBar(TskSkinScrollBar* bar) {
  if (FVScrollBar) {
    FVScrollBar->OnChange = nullptr;
    RemoveFreeNotification(FVScrollBar);
  }
  FVScrollBar = bar;
  if (!bar) return;
  bar->FreeNotification(this);
  bar->SetRange(0, 0, 0, 0);
  bar->OnChange = [this](core::TComponent*) { BarChanged(); };
  UpdateScrollBar();
}

const TskDataSkinMemoControl* TskSkinMemo::Section() const {
  if (FSkinIndex < 0 || !FSkinData) return nullptr;
  const auto& controls = FSkinData->SkinControls();
  if (std::size_t(FSkinIndex) >= controls.size()) return nullptr;
  return dynamic_cast<const TskDataSkinMemoControl*>(controls[std::size_t(FSkinIndex)].get());
}

const gfx::Bitmap* TskSkinMemo::Picture() const {
  const TskDataSkinMemoControl* section = Section();
  if (!section || section->PictureIndex < 0 ||
      std::size_t(section->PictureIndex) >= FSkinData->ActivePictures().size()) {
    return nullptr;
  }
  return &FSkinData->ActivePictures()[std::size_t(section->PictureIndex)];
}

void TskSkinMemo::FindSkinSection() {
  FSkinIndex = FSkinData && !FSkinData->Empty() ? FSkinData->FindControlIndex(FSkinDataName) : -1;
  if (FSkinIndex != -1 && !Section()) FSkinIndex = -1;
}

// 1. the section; 2. the font and the colour; 3. the skin texts' charset;
// 4. the bar and the frame follow.
void TskSkinMemo::ApplySkinChange() {
  FindSkinSection();  // 1
  const TskDataSkinMemoControl* section = Section();
  ui::TFont font;  // 2
  font.Assign(FDefaultFont);
  if (section) {
    if (FUseSkinFont) {
      font.SetName(section->FontName);
      font.SetHeight(section->FontHeight);
      font.SetStyle(ui::TFontStyles::FromBits(std::uint64_t(section->FontStyle)));
    }
    font.SetColor(ui::TColor(Hot() ? section->ActiveFontColor : section->FontColor));
    SetColor(ui::TColor(Hot() && !FBitMapBG ? section->ActiveBGColor : section->BGColor));
  }
  if (FSkinData && FSkinData->ResourceStrData()) font.SetCharset(FSkinData->ResourceStrData()->CharSet());  // 3
  Font()->Assign(font);
  if (HandleAllocated()) {  // 4
    ui::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     ui::SWP_NOMOVE | ui::SWP_NOSIZE | ui::SWP_NOZORDER | ui::SWP_FRAMECHANGED);
  }
  UpdateScrollBar();
  RepaintFrame();
  Invalidate();
}

int TskSkinMemo::RowHeight() {
  // Measured once per font: every append asks.
  const gfx::Font font = Font()->ToGfxFont();
  if (FRowHeight < 0 || !(font == FRowHeightFont)) {
    gfx::Bitmap scratch(1, 1);
    gfx::Canvas canvas(scratch);
    canvas.SetFont(font);
    FRowHeight = canvas.TextHeight("Wq");
    FRowHeightFont = font;
  }
  return FRowHeight;
}

// 1. the rows that fit; 2. the rows and the first shown; 3. a bar over
// the rows when they do not all fit (its last position is the first row
// of a memo scrolled to its end), else disabled with nothing to scroll.
void TskSkinMemo::UpdateScrollBar() {
  if (!FVScrollBar || FUpdatingBar) return;
  FUpdatingBar = true;
  const int rowHeight = RowHeight();  // 1
  const int visible = rowHeight > 0 ? ClientHeight() / rowHeight : 1;
  const int count = RowCount();  // 2
  const int first = FirstVisibleRow();
  if (visible < count) {  // 3
    FVScrollBar->SetRange(0, count, visible + 1, first);
    if (!FVScrollBar->Enabled()) FVScrollBar->SetEnabled(true);
  } else {
    FVScrollBar->SetRange(0, 0, 0, 0);
    if (FVScrollBar->Enabled()) FVScrollBar->SetEnabled(false);
  }
  FUpdatingBar = false;
}

void TskSkinMemo::BarChanged() {
  if (!FVScrollBar || FUpdatingBar) return;
  const int position = FVScrollBar->Position();
  // The thumb message carries 16 bits; a longer log scrolls directly.
  if (position <= 0xFFFF) {
    Perform(ui::WM_VSCROLL, ui::MakeWParam(int(ui::SB_THUMBPOSITION), position), 0);
  } else {
    ScrollToRow(position);
  }
  Invalidate();
}

void TskSkinMemo::Change() {
  inherited::Change();
  UpdateScrollBar();
}

void TskSkinMemo::ScrollChanged() {
  inherited::ScrollChanged();
  UpdateScrollBar();
}

void TskSkinMemo::AdjustNonClientArea(gfx::Rect& r) const {
  const TskDataSkinMemoControl* section = Section();
  if (!section || IsNullRect(section->SkinRect)) {
    r = r.Inflate(-2, -2);
    return;
  }
  const int right = RectWidth(section->SkinRect) - section->ClientRect.Right;
  const int bottom = RectHeight(section->SkinRect) - section->ClientRect.Bottom;
  r = gfx::Rect{r.Left + section->ClientRect.Left, r.Top + section->ClientRect.Top,
                std::max(r.Left + section->ClientRect.Left, r.Right - right),
                std::max(r.Top + section->ClientRect.Top, r.Bottom - bottom)};
}

// Without a section a shadow line with a face line inside; with one the
// four border strips of the nine-part image at the window's size.
void TskSkinMemo::PaintNonClient(gfx::Canvas& canvas, gfx::Size size) {
  const TskDataSkinMemoControl* s = Section();
  const gfx::Bitmap* picture = Picture();
  const gfx::Rect window{0, 0, size.Width, size.Height};
  if (!s || !picture || IsNullRect(s->SkinRect)) {
    canvas.FrameRect(window, ui::ColorToRGB(ui::clBtnShadow));
    canvas.FrameRect(window.Inflate(-1, -1), ui::ColorToRGB(ui::clBtnFace));
    return;
  }
  const TRect source = Hot() && !IsNullRect(s->ActiveSkinRect) ? s->ActiveSkinRect : s->SkinRect;
  const int dx = size.Width - RectWidth(s->SkinRect);
  const int dy = size.Height - RectHeight(s->SkinRect);
  const TRect client{s->ClientRect.Left, s->ClientRect.Top, s->ClientRect.Right + dx, s->ClientRect.Bottom + dy};
  gfx::Bitmap top, bottom, left, right;
  BuildNinePartBorderStrips(s->LeftTopPoint, s->RightTopPoint, s->LeftBottomPoint, s->RightBottomPoint,
                            s->ClientRect, source, *picture, s->LeftTopPoint,
                            TPoint{s->RightTopPoint.X + dx, s->RightTopPoint.Y},
                            TPoint{s->LeftBottomPoint.X, s->LeftBottomPoint.Y + dy},
                            TPoint{s->RightBottomPoint.X + dx, s->RightBottomPoint.Y + dy}, client, size.Width,
                            size.Height, BandModes{}, top, bottom, left, right);
  canvas.Draw(0, 0, top);
  canvas.Draw(0, client.Top, left);
  canvas.Draw(size.Width - right.Width(), client.Top, right);
  canvas.Draw(0, size.Height - bottom.Height(), bottom);
}

void TskSkinMemo::GetTextColors(ui::TEditColors& colors) {
  inherited::GetTextColors(colors);
  if (const TskDataSkinMemoControl* section = Section()) {
    colors.Text = !Enabled() ? ui::ColorToRGB(ui::clGrayText) : Hot() ? section->ActiveFontColor : section->FontColor;
  }
  if (FBitMapBG) colors.Background.reset();
}

// The client part of the section's image tiled over the client area
// (the window colour without a section), blended with what lies behind
// the memo when Transparent.
void TskSkinMemo::PaintBackground(gfx::Canvas& canvas) {
  const gfx::Rect area = ClientRect();
  if (area.Width() < 1 || area.Height() < 1) return;
  const TskDataSkinMemoControl* s = Section();
  const gfx::Bitmap* picture = Picture();
  gfx::Bitmap image(area.Width(), area.Height());
  gfx::Point frame{2, 2};
  if (!s || !picture) {
    gfx::Canvas c(image);
    c.SetBrush(ui::ColorToRGB(ui::clWindow));
    c.FillRect(gfx::Rect{0, 0, image.Width(), image.Height()});
  } else {
    const TRect source = Hot() && !IsNullRect(s->ActiveSkinRect) ? s->ActiveSkinRect : s->SkinRect;
    TileImage(s->ClientRect, gfx::Rect{0, 0, area.Width(), area.Height()}, *picture, area.Height(), area.Width(),
              source, image);
    frame = gfx::Point{s->ClientRect.Left, s->ClientRect.Top};
  }
  if (FTransparent) {
    gfx::Bitmap behind;
    PaintParentBackground(*this, behind);
    gfx::Bitmap under(area.Width(), area.Height());
    gfx::Canvas(under).CopyRect(gfx::Rect{0, 0, area.Width(), area.Height()}, behind,
                                gfx::Rect{frame.X, frame.Y, frame.X + area.Width(), frame.Y + area.Height()});
    const double k = std::clamp(1.0 - double(FAlphaBlendValue) / 255.0, 0.0, 1.0);
    TskEffectBmp front = TskEffectBmp::CreateFromBitmap(image);
    front.Morph(TskEffectBmp::CreateFromBitmap(under), k);
    image = front.ToBitmap();
  }
  canvas.Draw(area.Left, area.Top, image);
}

void TskSkinMemo::Paint() {
  if (FBitMapBG) PaintBackground(Canvas()->Target());
  inherited::Paint();
}

void TskSkinMemo::RepaintFrame() {
  if (HandleAllocated()) Perform(ui::WM_NCPAINT, 0, 0);
}

// Hot while hovered or focused: the active colours and frame.
void TskSkinMemo::HotChanged() {
  if (const TskDataSkinMemoControl* section = Section()) {
    Font()->SetColor(ui::TColor(Hot() ? section->ActiveFontColor : section->FontColor));
    if (!FBitMapBG) SetColor(ui::TColor(Hot() ? section->ActiveBGColor : section->BGColor));
    Invalidate();
  }
  RepaintFrame();
}

void TskSkinMemo::Dispatch(ui::TMessage& message) {
  ui::TControlGuard guard(this);
  switch (message.Msg) {
    case ui::WM_CONTEXTMENU:
      if (!PopupMenu()) {
        OpenSkinEditMenu(*this, FSysPopupMenu, FSkinData, message);
        return;
      }
      break;
    case ui::WM_CUT:
    case ui::WM_PASTE:
    case ui::WM_CLEAR:
    case ui::WM_UNDO:
      if (ReadOnly()) return;
      break;
    case ui::WM_KEYDOWN:
      if (ReadOnly() && message.WParam == ui::WPARAM(platform::VK_DELETE)) return;
      break;
    case ui::WM_LBUTTONDOWN: FDown = true; break;
    case ui::WM_LBUTTONUP:
    case ui::WM_MOUSEMOVE: {
      const bool wasDown = FDown;
      if (message.Msg == ui::WM_LBUTTONUP) FDown = false;
      inherited::Dispatch(message);
      if (guard.Alive() && wasDown) UpdateScrollBar();
      return;
    }
    case ui::CM_MOUSEENTER:
    case ui::CM_MOUSELEAVE: {
      inherited::Dispatch(message);
      if (!guard.Alive() || ui::FromLParam<ui::TControl>(message.LParam) != this) return;
      FMouseIn = message.Msg == ui::CM_MOUSEENTER;
      HotChanged();
      if (FMouseIn && OnMouseEnter) OnMouseEnter(this);
      if (!FMouseIn && OnMouseLeave) OnMouseLeave(this);
      return;
    }
    case ui::WM_SETFOCUS:
    case ui::WM_KILLFOCUS:
      inherited::Dispatch(message);
      if (guard.Alive()) HotChanged();
      return;
    case ui::WM_SIZE:
    case ui::CM_ENABLEDCHANGED:
      inherited::Dispatch(message);
      if (guard.Alive()) {
        UpdateScrollBar();
        RepaintFrame();
      }
      return;
    default: break;
  }
  inherited::Dispatch(message);
}

}  // namespace skin
