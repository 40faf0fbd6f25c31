#include "skin/controls/SkinCtrls.ScrollBar.h"

#include <algorithm>
#include <cmath>

#include "gfx/Canvas.h"
#include "platform/VirtualKeys.h"
#include "skin/data/SkinUtils.h"
#include "skin/data/skEffBmp.h"
#include "ui/windowing/Timers.h"

namespace skin {

namespace {

gfx::Color Rgb(ui::TColor color) { return ui::ColorToRGB(color); }
constexpr gfx::Color Navy = gfx::MakeColor(0, 0, 128);
// The thumb of a bar without a section is never shorter.
constexpr int DefaultThumb = 16;
// The arrows of a bar without a section are this long.
constexpr int DefaultArrow = 17;

int Round(double value) { return int(std::lround(value)); }

// Along-axis helpers: a rectangle from a start and an end along the axis,
// keeping its extent across.
TRect AlongRect(bool vertical, const TRect& across, int start, int end) {
  return vertical ? TRect{across.Left, start, across.Right, end} : TRect{start, across.Top, end, across.Bottom};
}

}  // namespace

TskSkinScrollBar::TskSkinScrollBar(core::TComponent* owner) : TskSkinCustomControl(owner) {
  SetControlStyle(ControlStyle() - ui::TControlStyle{ui::csClickEvents, ui::csDoubleClicks, ui::csSetCaption});
  SetTabStop(false);
  SetSkinDataName("hscrollbar");
  SetDefaultHeight(19);
  SetBounds(0, 0, 200, 19);
}

TskSkinScrollBar::~TskSkinScrollBar() = default;

// ---- Range and position ------------------------------------------------------

int TskSkinScrollBar::ClampPosition(int value) const {
  const int upper = FPageSize != 0 ? FMax - FPageSize + 1 : FMax;
  // The lower bound first: when the upper one lies below it, it wins.
  value = std::max(value, FMin);
  return std::min(value, upper);
}

void TskSkinScrollBar::SetPosition(int value) {
  value = ClampPosition(value);
  if (value == FPosition) return;
  FPosition = value;
  Invalidate();
  if (OnChange) OnChange(this);
}

void TskSkinScrollBar::SetRange(int min, int max, int pageSize, int position) {
  const int oldMin = FMin, oldMax = FMax, oldPage = FPageSize, oldPosition = FPosition;
  FMin = min;
  FMax = max;
  FPageSize = pageSize;
  FPosition = ClampPosition(position);
  // A linked control calls this after every change of its own; a bar that
  // looks the same is not drawn again.
  if (FMin != oldMin || FMax != oldMax || FPageSize != oldPage || FPosition != oldPosition) Invalidate();
}

void TskSkinScrollBar::SetMax(int value) {
  FMax = value;
  if (FPageSize != 0) {
    if (value - FMin < FPageSize + FPosition) FPosition = std::max(FMin, value - FMin - FPageSize + 1);
  } else if (value < FPosition) {
    FPosition = value;
  }
  Invalidate();
}

void TskSkinScrollBar::SetMin(int value) {
  FMin = value;
  if (FPosition < value) FPosition = value;
  Invalidate();
}

void TskSkinScrollBar::SetPageSize(int value) {
  if (FMax - FMin + 1 >= value + FPosition) FPageSize = value;
  Invalidate();
}

void TskSkinScrollBar::SetSmallChange(int value) {
  FSmallChange = value;
  Invalidate();
}

void TskSkinScrollBar::SetLargeChange(int value) {
  FLargeChange = value;
  Invalidate();
}

void TskSkinScrollBar::SetCanFocused(bool value) {
  FCanFocused = value;
  SetTabStop(value);
}

void TskSkinScrollBar::SetBothMarkerWidth(int value) {
  if (value < 0) return;
  FBothMarkerWidth = value;
  if (FSkinIndex == -1) Invalidate();
}

void TskSkinScrollBar::SetBoth(bool value) {
  if (value == FBoth) return;
  FBoth = value;
  if (!Designing()) {
    if (value) {
      FNormalSkinDataName = SkinDataName();
      SetSkinDataName(FBothSkinDataName);
    } else if (!FNormalSkinDataName.empty()) {
      SetSkinDataName(FNormalSkinDataName);
    }
  }
  if (FSkinIndex == -1) {
    Invalidate();
  } else {
    ApplySkinChange();
  }
}

void TskSkinScrollBar::SetKind(ui::TScrollBarKind value) {
  if (value == FKind) return;
  FKind = value;
  if (Designing() && !ComponentState().Contains(core::csLoading)) {
    SetSkinDataName(value == ui::sbVertical ? "vscrollbar" : "hscrollbar");
    if ((value == ui::sbVertical) == (Width() > Height())) SetBounds(Left(), Top(), Height(), Width());
    if (value == ui::sbVertical) {
      SetDefaultWidth(DefaultHeight());
      SetDefaultHeight(0);
    } else {
      SetDefaultHeight(DefaultWidth());
      SetDefaultWidth(0);
    }
  }
  Invalidate();
}

// ---- Section and geometry ----------------------------------------------------------

void TskSkinScrollBar::FindSkinSection() {
  TskSkinCustomControl::FindSkinSection();
  const auto* section = dynamic_cast<const TskDataSkinScrollBarControl*>(Section());
  FScrollSection = section != nullptr;
  if (!section) return;
  auto orElse = [](const TRect& r, const TRect& fallback) { return IsNullRect(r) ? fallback : r; };
  FTrackArea = section->TrackArea;
  FUpButtonRect = section->UpButtonRect;
  FActiveUpButtonRect = section->ActiveUpButtonRect;
  FDownUpButtonRect = orElse(section->DownUpButtonRect, FActiveUpButtonRect);
  FDownButtonRect = section->DownButtonRect;
  FActiveDownButtonRect = section->ActiveDownButtonRect;
  FDownDownButtonRect = orElse(section->DownDownButtonRect, FActiveDownButtonRect);
  FThumbRect = section->ThumbRect;
  FActiveThumbRect = orElse(section->ActiveThumbRect, FThumbRect);
  FDownThumbRect = orElse(section->DownThumbRect, FActiveThumbRect);
  FThumbOffset1 = section->ThumbOffset1;
  FThumbOffset2 = section->ThumbOffset2;
  FThumbTransparent = section->ThumbTransparent;
  FThumbTransparentColor = section->ThumbTransparentColor;
  FGlyphRect = section->GlyphRect;
  FActiveGlyphRect = orElse(section->ActiveGlyphRect, FGlyphRect);
  FDownGlyphRect = orElse(section->DownGlyphRect, FActiveGlyphRect);
}

void TskSkinScrollBar::CalcSkinSize(int& width, int& height) {
  TskSkinCustomControl::CalcSkinSize(width, height);
  CalcRects();
}

// The geometry:
// 1. arrows and track, from the section (moved with the size) or fixed;
// 2. the thumb's length (its skin size or 16, longer with a page);
// 3. its offset from the position, and its rectangle.
void TskSkinScrollBar::CalcRects() {
  const bool vertical = Vertical();
  Button& thumb = FButtons[Thumb];
  Button& increase = FButtons[IncreaseArrow];
  Button& decrease = FButtons[DecreaseArrow];
  if (FSkinIndex == -1 || !FScrollSection) {
    // 1
    const int length = vertical ? Height() : (FBoth ? Width() - FBothMarkerWidth : Width());
    if (vertical) {
      decrease.Rect = TRect{1, 1, Width() - 1, DefaultArrow};
      increase.Rect = TRect{1, length - DefaultArrow, Width() - 1, length - 1};
      FNewTrackArea = TRect{1, DefaultArrow, Width() - 1, length - DefaultArrow};
    } else {
      decrease.Rect = TRect{1, 1, DefaultArrow, Height() - 1};
      increase.Rect = TRect{length - DefaultArrow, 1, length - 1, Height() - 1};
      FNewTrackArea = TRect{DefaultArrow, 1, length - DefaultArrow, Height() - 1};
    }
    const int start = TrackStart();
    const int trackLength = std::max(0, TrackEnd() - start);
    if (FPageSize == 0) {  // 2, 3
      FOffset1 = start + DefaultThumb / 2;
      FOffset2 = TrackEnd() - DefaultThumb / 2;
      const double f = FMax == FMin ? 0.0 : double(FPosition - FMin) / double(FMax - FMin);
      FBOffset = Round(f * (trackLength - DefaultThumb));
      thumb.Rect = AlongRect(vertical, FNewTrackArea, start + FBOffset, start + FBOffset + DefaultThumb);
    } else {
      const int divisor = FMax - FMin + 1;
      int t = divisor == 0 ? 0 : Round(double(trackLength) * FPageSize / divisor);
      t = std::max(t, DefaultThumb);
      const int h = t / 2;
      const int range = FMax + 1 - FPageSize - FMin;
      const double f = range <= 0 ? 1.0 : double(FPosition - FMin) / range;
      FOffset1 = start + h;
      FOffset2 = TrackEnd() - h;
      FBOffset = Round((trackLength - 2 * h) * f);
      thumb.Rect = AlongRect(vertical, FNewTrackArea, start + FBOffset, start + FBOffset + 2 * h);
    }
    return;
  }
  // 1
  const int dx = Width() - RectWidth(FSkinRect);
  const int dy = Height() - RectHeight(FSkinRect);
  FNewTrackArea = FTrackArea;
  increase.Rect = FUpButtonRect;
  decrease.Rect = FDownButtonRect;
  if (vertical) {
    FNewTrackArea.Bottom += dy;
    if (increase.Rect.Top > FLBPoint.Y) increase.Rect = increase.Rect.Offset(0, dy);
    if (decrease.Rect.Top > FLBPoint.Y) decrease.Rect = decrease.Rect.Offset(0, dy);
  } else {
    FNewTrackArea.Right += dx;
    if (increase.Rect.Left > FRTPoint.X) increase.Rect = increase.Rect.Offset(dx, 0);
    if (decrease.Rect.Left > FRTPoint.X) decrease.Rect = decrease.Rect.Offset(dx, 0);
  }
  // 2
  const int start = TrackStart();
  const int trackLength = TrackEnd() - start;
  const int skinLength = vertical ? RectHeight(FThumbRect) : RectWidth(FThumbRect);
  int length = skinLength;
  if (FPageSize != 0) {
    const int divisor = FMax - FMin + 1;
    if (divisor != 0) length = std::max(skinLength, Round(double(trackLength) * FPageSize / divisor));
  }
  const int h = length / 2;
  FOffset1 = start + h;
  FOffset2 = TrackEnd() - h;
  // 3
  double f = 0;
  if (FPageSize != 0) {
    const int range = FMax + 1 - FPageSize - FMin;
    f = range <= 0 ? 0.0 : double(FPosition - FMin) / range;
  } else {
    f = FMax == FMin ? 0.0 : double(FPosition - FMin) / double(FMax - FMin);
  }
  FBOffset = Round(f * (FOffset2 - FOffset1));
  const int centre = FOffset1 + FBOffset;
  const int across = vertical ? RectWidth(FThumbRect) : RectHeight(FThumbRect);
  if (vertical) {
    const int left = FNewTrackArea.Left + RectWidth(FNewTrackArea) / 2 - across / 2;
    thumb.Rect = TRect{left, centre - h, left + across, centre + h};
  } else {
    const int top = FNewTrackArea.Top + RectHeight(FNewTrackArea) / 2 - across / 2;
    thumb.Rect = TRect{centre - h, top, centre + h, top + across};
  }
}

TskSkinScrollBar::Part TskSkinScrollBar::PartAt(gfx::Point p) const {
  if (Enabled() && FButtons[Thumb].Rect.Contains(p)) return Thumb;
  if (FButtons[IncreaseArrow].Rect.Contains(p)) return IncreaseArrow;
  if (FButtons[DecreaseArrow].Rect.Contains(p)) return DecreaseArrow;
  return NoPart;
}

void TskSkinScrollBar::PositionFromThumb(int offset) {
  if (FPageSize != 0) {
    const Button& thumb = FButtons[Thumb];
    const int length = Vertical() ? RectHeight(thumb.Rect) : RectWidth(thumb.Rect);
    FOffset1 = TrackStart() + length / 2;
    FOffset2 = TrackEnd() - length / 2;
  }
  const int span = FOffset2 - FOffset1;
  const double f = span <= 0 ? 0.0 : std::clamp(double(offset) / span, 0.0, 1.0);
  if (FPageSize != 0) {
    SetPosition(FMin + Round((FMax - FMin - FPageSize + 1) * f));
  } else {
    SetPosition(FMin + Round((FMax - FMin) * f));
  }
}

// ---- Drawing ------------------------------------------------------------------------

void TskSkinScrollBar::DrawDefaultPart(gfx::Canvas& canvas, const TRect& r, bool pressed, bool hot) {
  gfx::Color frame = Rgb(ui::clBtnShadow);
  gfx::Color fill = Rgb(ui::clBtnFace);
  if (pressed) {
    frame = Navy;
    fill = gfx::MakeColor(133, 147, 181);
  } else if (hot) {
    frame = Navy;
    fill = gfx::MakeColor(182, 189, 210);
  }
  canvas.FrameRect(r, frame);
  canvas.SetBrush(fill);
  canvas.FillRect(r.Inflate(-1, -1));
}

void TskSkinScrollBar::DrawDefaultImage(gfx::Bitmap& buffer) {
  CalcRects();
  gfx::Canvas canvas(buffer);
  canvas.SetBrush(Rgb(ui::clBtnFace));
  canvas.FillRect(ClientRect());
  canvas.FrameRect(ClientRect(), Rgb(ui::clBtnFace));
  const Button& thumb = FButtons[Thumb];
  if (Enabled()) DrawDefaultPart(canvas, thumb.Rect, FThumbDown || IsFocused(), thumb.MouseIn);
  const gfx::Color black = gfx::MakeColor(0, 0, 0);
  for (Part arrow : {IncreaseArrow, DecreaseArrow}) {
    const Button& b = FButtons[std::size_t(arrow)];
    DrawDefaultPart(canvas, b.Rect, b.Down && b.MouseIn, b.MouseIn);
    ArrowDirection direction = arrow == IncreaseArrow ? (Vertical() ? ArrowDirection::Down : ArrowDirection::Right)
                                                      : (Vertical() ? ArrowDirection::Up : ArrowDirection::Left);
    DrawArrowMark(canvas, b.Rect, black, direction);
  }
}

void TskSkinScrollBar::DrawSkinImage(gfx::Bitmap& buffer) {
  TskSkinCustomControl::DrawSkinImage(buffer);
  CalcRects();
  if (!FPicture || !FScrollSection) return;
  gfx::Canvas canvas(buffer);
  const Button& increase = FButtons[IncreaseArrow];
  const Button& decrease = FButtons[DecreaseArrow];
  auto drawArrow = [&](const Button& b, const TRect& pressed, const TRect& active) {
    if (b.Down && b.MouseIn) {
      canvas.CopyRect(b.Rect, *FPicture, pressed);
    } else if (b.MouseIn) {
      canvas.CopyRect(b.Rect, *FPicture, active);
    }
  };
  drawArrow(increase, FDownUpButtonRect, FActiveUpButtonRect);
  drawArrow(decrease, FDownDownButtonRect, FActiveDownButtonRect);
  if (!Enabled()) return;
  const Button& thumb = FButtons[Thumb];
  const bool pressed = FThumbDown || IsFocused();
  const TRect& image = pressed ? FDownThumbRect : (thumb.MouseIn ? FActiveThumbRect : FThumbRect);
  const TRect& glyph = pressed ? FDownGlyphRect : (thumb.MouseIn ? FActiveGlyphRect : FGlyphRect);
  gfx::Bitmap thumbImage;
  if (FPageSize != 0) {
    if (Vertical()) {
      BuildVertThreePartImage(FThumbOffset1, FThumbOffset2, *FPicture, TileMode::Tile, RectHeight(thumb.Rect), image,
                              thumbImage);
    } else {
      BuildHorzThreePartImage(FThumbOffset1, FThumbOffset2, *FPicture, TileMode::Tile, RectWidth(thumb.Rect), image,
                              thumbImage);
    }
  } else {
    thumbImage.SetSize(RectWidth(thumb.Rect), RectHeight(thumb.Rect));
    gfx::Canvas(thumbImage).CopyRect(thumbImage.Bounds(), *FPicture, image);
  }
  if (!IsNullRect(glyph)) {
    const int x = RectWidth(thumb.Rect) / 2 - RectWidth(glyph) / 2;
    const int y = RectHeight(thumb.Rect) / 2 - RectHeight(glyph) / 2;
    gfx::Canvas(thumbImage).CopyRect(TRect{x, y, x + RectWidth(glyph), y + RectHeight(glyph)}, *FPicture, glyph);
  }
  if (AlphaBlend()) {
    BlendWithBackground(thumbImage, buffer.Crop(thumb.Rect));
  }
  if (FThumbTransparent) {
    canvas.DrawTransparent(thumb.Rect.Left, thumb.Rect.Top, thumbImage, FThumbTransparentColor);
  } else {
    canvas.Draw(thumb.Rect.Left, thumb.Rect.Top, thumbImage);
  }
}

// ---- Repeat ---------------------------------------------------------------------------

void TskSkinScrollBar::StartRepeat(unsigned interval) {
  if (!HandleAllocated()) return;
  FTimerRunning = ui::SetTimer(Handle(), RepeatTimerId, interval) != 0;
}

void TskSkinScrollBar::StopRepeat() {
  if (FTimerRunning && HandleAllocated()) ui::KillTimer(Handle(), RepeatTimerId);
  FTimerRunning = false;
}

void TskSkinScrollBar::StepArrow(Part arrow) {
  if (arrow == IncreaseArrow) {
    if (OnUpButtonClick) {
      OnUpButtonClick(this);
    } else {
      SetPosition(FPosition + FSmallChange);
    }
  } else if (OnDownButtonClick) {
    OnDownButtonClick(this);
  } else {
    SetPosition(FPosition - FSmallChange);
  }
}

// ---- Mouse ----------------------------------------------------------------------------
//
// Press and release:
//
//   pressed on       at once                    after 500 ms, every 50 ms     release
//   an arrow         one step (or its event)    another step while the        arrow up, repeat stops
//                                               pointer is on the arrow
//   the thumb        the drag starts            -                             drag ends, OnLastChange
//   the track before page towards Min,          another page while the        repeat stops
//   the thumb        OnPageUp                   pointer is before the thumb
//   the track after  page towards Max,          another page while the        repeat stops
//   the thumb        OnPageDown                 pointer is after the thumb
//
// Leaving the arrow pauses its repeat, coming back resumes it at 50 ms; a
// page repeat stops once the thumb has reached the pointer.

void TskSkinScrollBar::WMLButtonDown(ui::TMessage& message) {
  ui::TControlGuard guard(this);
  if (FCanFocused && !Focused() && !Designing()) {
    if (CanFocus()) SetFocus();
    if (guard.Destroyed()) return;
    if (!Focused()) return;
  }
  const gfx::Point p = ui::PointFromLParam(message.LParam);
  FMX = p.X;
  FMY = p.Y;
  FMouseD = true;
  CalcRects();
  FTimerMode = Repeat::None;
  FWaitMode = true;
  const Part part = PartAt(p);
  if (part != NoPart) {
    FCaptureButton = part;
    if (part == Thumb) {
      FOMPos = Along(p);
      FOldBOffset = FBOffset;
      FOldPosition = FPosition;
      FThumbDown = true;
      Invalidate();
    } else {
      FButtons[std::size_t(part)].Down = true;
      FButtons[std::size_t(part)].MouseIn = true;
      FActiveButton = part;
      Invalidate();
      FTimerMode = part == IncreaseArrow ? Repeat::StepUp : Repeat::StepDown;
      StartRepeat(FirstDelay);
      StepArrow(part);
      if (guard.Destroyed()) return;
    }
  } else if (FNewTrackArea.Contains(p) && Enabled()) {
    const Button& thumb = FButtons[Thumb];
    const int thumbStart = Vertical() ? thumb.Rect.Top : thumb.Rect.Left;
    if (Along(p) < thumbStart) {
      FTimerMode = Repeat::PageDown;
      StartRepeat(FirstDelay);
      SetPosition(FPosition - FLargeChange);
      if (guard.Destroyed()) return;
      if (OnPageUp) OnPageUp(this);
    } else {
      FTimerMode = Repeat::PageUp;
      StartRepeat(FirstDelay);
      SetPosition(FPosition + FLargeChange);
      if (guard.Destroyed()) return;
      if (OnPageDown) OnPageDown(this);
    }
    if (guard.Destroyed()) return;
  }
  inherited::Dispatch(message);
}

void TskSkinScrollBar::WMTimer(ui::TMessage& message) {
  if (message.WParam != RepeatTimerId || !FTimerRunning) {
    inherited::Dispatch(message);
    return;
  }
  if (FWaitMode) {
    // The end of the first wait; the steps come with the ticks after it.
    FWaitMode = false;
    StartRepeat(RepeatDelay);
    return;
  }
  ui::TControlGuard guard(this);
  CalcRects();
  const Button& thumb = FButtons[Thumb];
  const int pointer = Vertical() ? FMY : FMX;
  switch (FTimerMode) {
    case Repeat::StepUp: StepArrow(IncreaseArrow); break;
    case Repeat::StepDown: StepArrow(DecreaseArrow); break;
    case Repeat::PageDown:
      UpdateHover(gfx::Point{FMX, FMY});
      if (pointer < (Vertical() ? thumb.Rect.Top : thumb.Rect.Left)) {
        SetPosition(FPosition - FLargeChange);
        if (guard.Alive() && OnPageUp) OnPageUp(this);
      } else {
        StopRepeat();
        FTimerMode = Repeat::None;
      }
      break;
    case Repeat::PageUp:
      UpdateHover(gfx::Point{FMX, FMY});
      if (pointer >= (Vertical() ? thumb.Rect.Bottom : thumb.Rect.Right)) {
        SetPosition(FPosition + FLargeChange);
        if (guard.Alive() && OnPageDown) OnPageDown(this);
      } else {
        StopRepeat();
        FTimerMode = Repeat::None;
      }
      break;
    case Repeat::None:
      StopRepeat();
      break;
  }
}

// The part under the pointer is hot; while one is captured only it can be.
void TskSkinScrollBar::UpdateHover(gfx::Point p) {
  Part part = PartAt(p);
  if (FCaptureButton != NoPart && part != FCaptureButton) part = NoPart;
  if (int(part) == FActiveButton) return;
  FOldActiveButton = FActiveButton;
  if (FOldActiveButton != NoPart) {
    Button& old = FButtons[std::size_t(FOldActiveButton)];
    old.MouseIn = false;
    if (old.Down && FOldActiveButton != Thumb) StopRepeat();
  }
  FActiveButton = part;
  if (part != NoPart) {
    Button& now = FButtons[std::size_t(part)];
    now.MouseIn = true;
    if (now.Down && part != Thumb) {
      FWaitMode = false;
      StartRepeat(RepeatDelay);
    }
  }
  Invalidate();
}

void TskSkinScrollBar::WMMouseMove(ui::TMessage& message) {
  const gfx::Point p = ui::PointFromLParam(message.LParam);
  FMX = p.X;
  FMY = p.Y;
  CalcRects();
  UpdateHover(p);
  ui::TControlGuard guard(this);
  if (FThumbDown) {
    PositionFromThumb(FOldBOffset + Along(p) - FOMPos);
    if (guard.Destroyed()) return;
  }
  inherited::Dispatch(message);
}

void TskSkinScrollBar::WMLButtonUp(ui::TMessage& message) {
  ui::TControlGuard guard(this);
  inherited::Dispatch(message);
  if (guard.Destroyed()) return;
  FMouseD = false;
  if (FTimerMode == Repeat::PageDown || FTimerMode == Repeat::PageUp) {
    StopRepeat();
    FTimerMode = Repeat::None;
  }
  if (FCaptureButton != NoPart) {
    Button& captured = FButtons[std::size_t(FCaptureButton)];
    const bool wasThumb = FCaptureButton == Thumb && FThumbDown;
    captured.Down = false;
    captured.MouseIn = PartAt(ui::PointFromLParam(message.LParam)) == FCaptureButton;
    if (!captured.MouseIn && FActiveButton == FCaptureButton) FActiveButton = NoPart;
    FThumbDown = false;
    if (FCaptureButton != Thumb) {
      StopRepeat();
      FTimerMode = Repeat::None;
    }
    FCaptureButton = NoPart;
    Invalidate();
    if (wasThumb && OnLastChange) OnLastChange(this);
  }
}

void TskSkinScrollBar::CMMouseLeave(ui::TMessage& message) {
  if (FActiveButton != NoPart && FActiveButton != FCaptureButton && !FThumbDown) {
    FButtons[std::size_t(FActiveButton)].MouseIn = false;
    FActiveButton = NoPart;
    Invalidate();
  }
  if (FMouseD && FTimerMode == Repeat::PageUp) {
    StopRepeat();
    FTimerMode = Repeat::None;
  }
  inherited::Dispatch(message);
}

// ---- Keyboard ---------------------------------------------------------------------------

void TskSkinScrollBar::WMKeyDown(ui::TMessage& message) {
  ui::TControlGuard guard(this);
  const ui::WPARAM key = message.WParam;
  inherited::Dispatch(message);
  if (guard.Destroyed() || !FCanFocused || message.WParam != key) return;
  switch (int(key)) {
    case platform::VK_LEFT:
    case platform::VK_UP: SetPosition(FPosition - FSmallChange); break;
    case platform::VK_RIGHT:
    case platform::VK_DOWN: SetPosition(FPosition + FSmallChange); break;
    default: break;
  }
}

void TskSkinScrollBar::Dispatch(ui::TMessage& message) {
  switch (message.Msg) {
    case ui::WM_LBUTTONDOWN:
    case ui::WM_LBUTTONDBLCLK: WMLButtonDown(message); break;
    case ui::WM_LBUTTONUP: WMLButtonUp(message); break;
    case ui::WM_MOUSEMOVE: WMMouseMove(message); break;
    case ui::WM_TIMER: WMTimer(message); break;
    case ui::WM_KEYDOWN: WMKeyDown(message); break;
    case ui::WM_GETDLGCODE: message.Result = FCanFocused ? ui::DLGC_WANTARROWS : 0; break;
    case ui::WM_MOUSEWHEEL:
      if (IsFocused()) {
        const int delta = int(std::int16_t(ui::HiWord(std::uintptr_t(message.WParam))));
        SetPosition(FPosition + (delta > 0 ? -FSmallChange : FSmallChange));
        message.Result = 1;
        break;
      }
      inherited::Dispatch(message);
      break;
    case ui::CM_MOUSELEAVE:
      if (ui::FromLParam<ui::TControl>(message.LParam) == this || message.LParam == 0) {
        CMMouseLeave(message);
      } else {
        inherited::Dispatch(message);
      }
      break;
    case ui::WM_SETFOCUS:
    case ui::WM_KILLFOCUS:
    case ui::CM_ENABLEDCHANGED: {
      ui::TControlGuard guard(this);
      inherited::Dispatch(message);
      if (guard.Alive()) Invalidate();
      break;
    }
    case ui::WM_ERASEBKGND: {
      // Someone copying the parent's image gets the whole bar.
      message.Result = 1;
      ui::HDC context = reinterpret_cast<ui::HDC>(message.WParam);
      if (InPaintMessage() || !context) break;
      ui::TControlGuard guard(this);
      Canvas()->SetHandle(context);
      Paint();
      if (guard.Alive()) Canvas()->SetHandle(nullptr);
      break;
    }
    default: inherited::Dispatch(message); break;
  }
}

}  // namespace skin
