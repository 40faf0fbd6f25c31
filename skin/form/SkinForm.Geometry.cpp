// The frame's geometry: the non-client size, the skin's rectangles and
// points stretched to the window's size, the objects' places, the window
// region from the mask, and applying a skin with the size limits.
//
// Every number comes from the skin's [FORMINFO] and the size of its main
// picture; the window's size W x H differs from the picture's pw x ph by
// dx = W - pw, dy = H - ph, and the corner points cut the picture into
// zones that keep their place at a corner or stretch along an edge:
//
//    0        LT.x           RT.x        pw
//    +----------+--------------+----------+ 0
//    |    LT    |   top edge   |    RT    |
//    +----------+--------------+----------+ LT.y / RT.y
//    |   left   |   client     |  right   |
//    +----------+--------------+----------+ LB.y / RB.y
//    |    LB    |  bottom edge |    RB    |
//    +----------+--------------+----------+ ph

#include <algorithm>

#include "skin/data/SkinUtils.h"
#include "skin/form/SkinForm.h"
#include "ui/windowing/MessageRecords.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/Windows.h"

namespace skin {

using namespace ui;

namespace {

TPoint Moved(TPoint p, int dx, int dy) { return TPoint{p.X + dx, p.Y + dy}; }

}  // namespace

int TskSkinForm::DefaultCaptionHeight() const {
  const auto style = FForm->BorderStyle();
  return (style == bsToolWindow || style == bsSizeToolWin) ? 15 : 19;
}

int TskSkinForm::DefaultButtonSize() const {
  const auto style = FForm->BorderStyle();
  return (style == bsToolWindow || style == bsSizeToolWin) ? 13 : 17;
}

int TskSkinForm::MinimumWidth() const {
  if (FSkinReady && FSD) {
    const int pictureWidth = FSD->Picture().Width();
    if (MinWidth > pictureWidth && FSkinWindowState != wsMinimized) return MinWidth;
    return pictureWidth;
  }
  return MinWidth > 0 ? MinWidth : 130;
}

int TskSkinForm::MinimumHeight() const {
  const bool folded = FRollUpState || FSkinWindowState == wsMinimized;
  int frameOnly = DefaultCaptionHeight() + 6;
  if (FSkinReady && FSD) frameOnly = FSD->Picture().Height() - RectHeight(FSD->FormInfo().ClientRect);
  return (frameOnly >= MinHeight || folded) ? frameOnly : MinHeight;
}

void TskSkinForm::SetFrameSize(int width, int height) {
  FFrameWidth = width;
  FFrameHeight = height;
}

// ---- Non-client size ----------------------------------------------------------

void TskSkinForm::WMNCCalcSize(TMessage& message) {
  message.Result = 0;
  if (FForm->BorderStyle() == bsNone) return;
  gfx::Rect* r = message.WParam ? &FromLParam<CalcSizeParams>(message.LParam)->Rects[0]
                                : FromLParam<gfx::Rect>(message.LParam);
  if (FSkinReady && FSD) {
    CalcFrameGeometry();
    const TRect& client = FSD->FormInfo().ClientRect;
    r->Left += client.Left;
    r->Top += client.Top;
    r->Right += client.Right - FSD->Picture().Width();
    r->Bottom += client.Bottom - FSD->Picture().Height();
  } else {
    r->Left += 3;
    r->Top += DefaultCaptionHeight() + 3;
    r->Right -= 3;
    r->Bottom -= 3;
  }
  r->Right = std::max(r->Right, r->Left);
  r->Bottom = std::max(r->Bottom, r->Top);
}

// ---- Stretched geometry ----------------------------------------------------------

void TskSkinForm::CalcFrameGeometry() {
  if (!FSD) return;
  const TskDataSkinFormInfo& info = FSD->FormInfo();
  gfx::Rect bounds = WindowBounds();
  const int width = FFrameWidth > 0 ? FFrameWidth : bounds.Width();
  const int height = FFrameHeight > 0 ? FFrameHeight : bounds.Height();
  const int pictureWidth = FSD->Picture().Width();
  const int dx = width - pictureWidth;
  const int dy = height - FSD->Picture().Height();

  FNewLTPoint = info.LeftTopPoint;
  FNewRTPoint = Moved(info.RightTopPoint, dx, 0);
  FNewLBPoint = Moved(info.LeftBottomPoint, 0, dy);
  FNewRBPoint = Moved(info.RightBottomPoint, dx, dy);
  const TRect& client = info.ClientRect;
  FNewClRect = TRect{client.Left, client.Top, client.Right + dx, client.Bottom + dy};
  FNewCaptionRect = info.CaptionRect;
  if (!IsNullRect(FNewCaptionRect)) FNewCaptionRect.Right += dx;
  FNewButtonsRect = info.ButtonsRect;
  FButtonsInLeft = false;
  if (!IsNullRect(FNewButtonsRect)) {
    if (FNewButtonsRect.Left > pictureWidth / 2) FNewButtonsRect = FNewButtonsRect.Offset(dx, 0);
    else FButtonsInLeft = true;
  }
  FNewHitTestLTPoint = info.HitTestLeftTopPoint;
  FNewHitTestRTPoint = Moved(info.HitTestRightTopPoint, dx, 0);
  FNewHitTestLBPoint = Moved(info.HitTestLeftBottomPoint, 0, dy);
  FNewHitTestRBPoint = Moved(info.HitTestRightBottomPoint, dx, dy);
  const TRect& mask = info.MaskRectArea;
  FNewMaskRectArea = TRect{mask.Left, mask.Top, mask.Right + dx, mask.Bottom + dy};
  FNewIconRect = AnchorSkinRect(info.IconRect);
}

TRect TskSkinForm::AnchorSkinRect(const TRect& r) const {
  if (!FSD) return r;
  const TskDataSkinFormInfo& info = FSD->FormInfo();
  const int pictureWidth = FSD->Picture().Width();
  const int pictureHeight = FSD->Picture().Height();
  const TRect leftTop{0, 0, info.LeftTopPoint.X, info.LeftTopPoint.Y};
  const TRect rightTop{info.RightTopPoint.X, 0, pictureWidth, info.RightTopPoint.Y};
  const TRect leftBottom{0, info.LeftBottomPoint.Y, info.LeftBottomPoint.X, pictureHeight};
  const TRect rightBottom{info.RightBottomPoint.X, info.RightBottomPoint.Y, pictureWidth, pictureHeight};
  if (IsNullRect(leftTop) && IsNullRect(rightTop) && IsNullRect(leftBottom) && IsNullRect(rightBottom)) return r;
  gfx::Rect bounds = WindowBounds();
  const int dx = (FFrameWidth > 0 ? FFrameWidth : bounds.Width()) - pictureWidth;
  const int dy = (FFrameHeight > 0 ? FFrameHeight : bounds.Height()) - pictureHeight;

  // 1-4: inside one corner zone, it keeps its place at that corner.
  if (RectInRect(r, leftTop)) return r;
  if (RectInRect(r, rightTop)) return r.Offset(dx, 0);
  if (RectInRect(r, leftBottom)) return r.Offset(0, dy);
  if (RectInRect(r, rightBottom)) return r.Offset(dx, dy);
  // 5: spanning two zones, it stretches along the edge between them.
  const TPoint tl = r.TopLeft();
  const TPoint br = r.BottomRight();
  if (leftTop.Contains(tl) && rightBottom.Contains(br)) return TRect{r.Left, r.Top, r.Right + dx, r.Bottom + dy};
  if (leftTop.Contains(tl) && rightTop.Contains(br)) return TRect{r.Left, r.Top, r.Right + dx, r.Bottom};
  if (leftBottom.Contains(tl) && rightBottom.Contains(br)) {
    return TRect{r.Left, r.Top + dy, r.Right + dx, r.Bottom + dy};
  }
  if (leftTop.Contains(tl) && leftBottom.Contains(br)) return TRect{r.Left, r.Top, r.Right, r.Bottom + dy};
  if (rightTop.Contains(tl) && rightBottom.Contains(br)) {
    return TRect{r.Left + dx, r.Top, r.Right + dx, r.Bottom + dy};
  }
  // 6: anywhere else it stays.
  return r;
}

void TskSkinForm::PlaceObjects() {
  for (auto& object : FObjectList) object->ObjectRect = AnchorSkinRect(object->SkinRect);
  if (!FSD) return;
  const TskDataSkinFormInfo& info = FSD->FormInfo();
  if (!IsNullRect(info.CaptionRect) || !IsNullRect(info.ButtonsRect)) AutoCaptionLayout();
}

// Skins that give a caption or buttons rectangle leave the places of the
// standard buttons to the frame: a row in the buttons rectangle, the
// system-menu button at the caption's start and the caption up to the row.
void TskSkinForm::AutoCaptionLayout() {
  const TskStdCommand order[] = {TskStdCommand::cmClose,    TskStdCommand::cmMaximize,
                                 TskStdCommand::cmMinimize, TskStdCommand::cmRollUp,
                                 TskStdCommand::cmMinimizeToTray, TskStdCommand::cmDefault};
  const TRect& row = FNewButtonsRect;
  const int gap = FSD->FormInfo().ButtonsOffset;
  int edge = FButtonsInLeft ? row.Left : row.Right;
  bool placedAny = false;
  if (!IsNullRect(row)) {
    for (TskStdCommand command : order) {
      for (auto& object : FObjectList) {
        auto* button = dynamic_cast<TskSkinStdButtonObject*>(object.get());
        if (!button || button->Command != command || !TakesPart(*button)) continue;
        const int width = RectWidth(button->SkinRect);
        const int height = RectHeight(button->SkinRect);
        const int top = row.Top + (RectHeight(row) - height) / 2;
        if (FButtonsInLeft) {
          button->ObjectRect = TRect::FromSize(edge, top, width, height);
          edge += width + gap;
        } else {
          button->ObjectRect = TRect::FromSize(edge - width, top, width, height);
          edge -= width + gap;
        }
        placedAny = true;
      }
    }
  }
  if (!IsNullRect(FNewCaptionRect)) {
    for (auto& object : FObjectList) {
      auto* button = dynamic_cast<TskSkinStdButtonObject*>(object.get());
      if (!button || button->Command != TskStdCommand::cmSysMenu || !TakesPart(*button)) continue;
      int width = RectWidth(button->SkinRect);
      int height = RectHeight(button->SkinRect);
      if (ShowIcon) {
        const gfx::Bitmap& icon = SmallIcon();
        width = icon.Width();
        height = icon.Height();
      }
      const int top = FNewCaptionRect.Top + (RectHeight(FNewCaptionRect) - height) / 2;
      button->ObjectRect = TRect::FromSize(FNewCaptionRect.Left, top, width, height);
      break;
    }
  }
  if (!placedAny) return;
  for (auto& object : FObjectList) {
    auto* caption = dynamic_cast<TskSkinCaptionObject*>(object.get());
    if (!caption) continue;
    // The row ended one gap past its last button.
    if (FButtonsInLeft) caption->ObjectRect.Left = edge - gap;
    else caption->ObjectRect.Right = edge + gap;
    break;
  }
}

// ---- Frame and region ------------------------------------------------------------------

void TskSkinForm::UpdateFrame(Rebuild rebuild) {
  if (Designing() || !FSD || FSD->Empty()) return;
  CalcFrameGeometry();
  if (rebuild == Rebuild::Yes) PlaceObjects();
  UpdateRegion(rebuild == Rebuild::Yes ? Stretch::Yes : Stretch::No);
  if (OnChangeClientRect) OnChangeClientRect(FNewClRect);
  if (!FFormRegion) SendNCPaint();
}

void TskSkinForm::UpdateRegion(Stretch stretch) {
  if (FForm->BorderStyle() == bsNone) return;
  HWND window = Handle();
  if (!FSkinReady || !FSD || FSD->Mask().IsEmpty()) {
    if (FFormRegion) {
      if (window) SetWindowRgn(window, std::nullopt, true);
      FFormRegion.reset();
      FMaskTopStrip = gfx::Bitmap{};
      FMaskBottomStrip = gfx::Bitmap{};
      FMaskLeftStrip = gfx::Bitmap{};
      FMaskRightStrip = gfx::Bitmap{};
    }
    return;
  }
  const TskDataSkinFormInfo& info = FSD->FormInfo();
  const gfx::Bitmap& mask = FSD->Mask();
  gfx::Region region;
  if (stretch == Stretch::Yes) {
    gfx::Rect bounds = WindowBounds();
    const int width = FFrameWidth > 0 ? FFrameWidth : bounds.Width();
    const int height = FFrameHeight > 0 ? FFrameHeight : bounds.Height();
    BuildNinePartMaskStrips(info.LeftTopPoint, info.RightTopPoint, info.LeftBottomPoint, info.RightBottomPoint,
                            info.MaskRectArea, mask.Bounds(), mask, FNewLTPoint, FNewRTPoint, FNewLBPoint,
                            FNewRBPoint, FNewMaskRectArea, width, height, FMaskTopStrip, FMaskBottomStrip,
                            FMaskLeftStrip, FMaskRightStrip);
    // The stretched mask area is always inside, whatever the strips hold.
    region = gfx::Region(FNewMaskRectArea);
    if (FMaskTopStrip.Height() > 0) region.Unite(MaskToRegion(FMaskTopStrip, 0, 0));
    if (FMaskBottomStrip.Height() > 0) region.Unite(MaskToRegion(FMaskBottomStrip, 0, FNewMaskRectArea.Bottom));
    if (FMaskLeftStrip.Width() > 0) region.Unite(MaskToRegion(FMaskLeftStrip, 0, FNewMaskRectArea.Top));
    if (FMaskRightStrip.Width() > 0) {
      region.Unite(MaskToRegion(FMaskRightStrip, FNewMaskRectArea.Right, FNewMaskRectArea.Top));
    }
  } else {
    region = MaskToRegion(mask);
  }
  FFormRegion = region;
  if (window) SetWindowRgn(window, std::move(region), true);
}

void TskSkinForm::NudgeSize() {
  HWND window = Handle();
  if (!window) return;
  gfx::Rect bounds = WindowBounds();
  const int step = bounds.Width() - 1 < MinimumWidth() ? 1 : -1;
  SetWindowPos(window, nullptr, 0, 0, bounds.Width() + step, bounds.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(window, nullptr, 0, 0, bounds.Width(), bounds.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- Applying a skin ----------------------------------------------------------------------

void TskSkinForm::ApplySkin() {
  std::weak_ptr<const bool> alive = FAlive;
  FActiveObject = FOldActiveObject = FMouseCaptureObject = -1;
  // A skin that cannot draw the frame (no client rectangle) counts as no
  // skin, so the frame is plain in every respect, not half skinned.
  FSkinReady = SkinUsable();
  FStripCache.Valid = false;
  if (FSkinReady) {
    BuildObjectList();
  } else {
    FreeObjects();
    UpdateRegion(Stretch::Yes);
  }
  gfx::Rect bounds = WindowBounds();
  const int minWidth = MinimumWidth();
  const int minHeight = MinimumHeight();
  int width = bounds.Width();
  int height = bounds.Height();
  if (width < minWidth && height < minHeight) {
    width = minWidth;
    height = minHeight;
  } else if (height < minHeight) {
    height = minHeight;
  } else if (width < minWidth) {
    width = minWidth;
  }
  if (FRollUpState || FSkinWindowState == wsMinimized) height = minHeight;
  if (FSkinWindowState == wsMinimized) width = minWidth;
  if (width != bounds.Width() || height != bounds.Height()) {
    FForm->SetBounds(FForm->Left(), FForm->Top(), width, height);
  } else {
    NudgeSize();
  }
  if (alive.expired()) return;
  // Without a window the form's bounds are all there is.
  bounds = Handle() ? WindowBounds() : FForm->BoundsRect();
  FFrameWidth = bounds.Width();
  FFrameHeight = bounds.Height();
  if (FSkinReady) UpdateFrame(Rebuild::Yes);
  if (HWND window = Handle()) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  UpdateCaptionsActiveLook(false);
  FMouseTimer->SetEnabled(true);
  if (OnChangeSkinData) OnChangeSkinData(this);
  if (alive.expired()) return;
  if (ClientWidth > 0) FForm->SetClientWidth(ClientWidth);
  if (ClientHeight > 0) FForm->SetClientHeight(ClientHeight);
}

}  // namespace skin
