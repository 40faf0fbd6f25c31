#include <algorithm>
#include <cmath>

#include "core/Exception.h"
#include "platform/VirtualKeys.h"
#include "ui/stdcontrols/StdCtrls.h"
#include "ui/windowing/Timers.h"

namespace ui {

namespace {

constexpr UINT_PTR RepeatTimer = 1;
// The first repeat waits a little so that a single click steps once.
constexpr UINT FirstRepeatDelay = 500;
constexpr UINT RepeatPeriod = 50;
constexpr int MinThumbLength = 8;

gfx::Color Rgb(TColor color) { return ColorToRGB(color); }

int Round(double value) { return int(std::lround(value)); }

}  // namespace

TScrollBar::TScrollBar(core::TComponent* owner) : TCustomControl(owner) {
  SetControlStyle((ControlStyle() - TControlStyle{csClickEvents, csDoubleClicks}) | TControlStyle{csOpaque});
  SetTabStop(true);
  SetBounds(0, 0, 121, 17);
}

TScrollBar::~TScrollBar() = default;

void TScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == FKind) return;
  FKind = kind;
  bool loading = ComponentState().Contains(core::csLoading) || ComponentState().Contains(core::csReading);
  if (!loading && ((kind == sbVertical) == (Width() > Height()))) SetBounds(Left(), Top(), Height(), Width());
  Invalidate();
}

void TScrollBar::SetParams(int position, int min, int max) {
  if (max < min) throw core::EInvalidOperation("Scrollbar property out of range");
  FMin = min;
  FMax = max;
  FPageSize = std::min(FPageSize, int(std::min<long long>(static_cast<long long>(max) - min + 1, 0x7FFFFFFF)));
  position = std::clamp(position, FMin, MaxPosition());
  bool changed = position != FPosition;
  FPosition = position;
  Invalidate();
  if (changed) Change();
}

void TScrollBar::SetPageSize(int value) {
  value = std::max(0, value);
  long long range = (long long)FMax - FMin + 1;
  if (value > range) value = int(range);
  if (value == FPageSize) return;
  FPageSize = value;
  // The position may now lie past the last page.
  SetParams(FPosition, FMin, FMax);
}

int TScrollBar::MaxPosition() const {
  long long last = FPageSize > 0 ? (long long)FMax - FPageSize + 1 : FMax;
  return int(std::max<long long>(last, FMin));
}

void TScrollBar::Scroll(TScrollCode code, int& position) {
  if (OnScroll) OnScroll(this, code, position);
}

void TScrollBar::Change() {
  if (OnChange) OnChange(this);
}

// ---- Geometry -------------------------------------------------------------

int TScrollBar::AlongLength() const { return FKind == sbHorizontal ? ClientWidth() : ClientHeight(); }

int TScrollBar::Thickness() const { return FKind == sbHorizontal ? ClientHeight() : ClientWidth(); }

int TScrollBar::ArrowLength() const { return std::max(0, std::min(Thickness(), AlongLength() / 2)); }

int TScrollBar::ThumbLength() const {
  int track = AlongLength() - 2 * ArrowLength();
  int length = Thickness();
  if (FPageSize > 0) {
    long long range = (long long)FMax - FMin + 1;
    length = int((long long)track * FPageSize / std::max<long long>(range, 1));
    length = std::max(length, MinThumbLength);
  }
  return std::min(length, track);
}

namespace {

// A rectangle from along-axis coordinates.
gfx::Rect Along(TScrollBarKind kind, int start, int end, int thickness) {
  return kind == sbHorizontal ? gfx::Rect{start, 0, end, thickness} : gfx::Rect{0, start, thickness, end};
}

}  // namespace

gfx::Rect TScrollBar::DecreaseArrowRect() const { return Along(FKind, 0, ArrowLength(), Thickness()); }

gfx::Rect TScrollBar::IncreaseArrowRect() const {
  int length = AlongLength();
  return Along(FKind, length - ArrowLength(), length, Thickness());
}

gfx::Rect TScrollBar::TrackRect() const {
  int arrow = ArrowLength();
  return Along(FKind, arrow, AlongLength() - arrow, Thickness());
}

gfx::Rect TScrollBar::ThumbRect() const {
  int last = MaxPosition();
  int arrow = ArrowLength();
  int track = AlongLength() - 2 * arrow;
  int length = ThumbLength();
  // No thumb where it cannot move, or where it does not fit.
  if (!Enabled() || last <= FMin || length <= 0 || track < MinThumbLength) return gfx::Rect{};
  double fraction = double((long long)FPosition - FMin) / double((long long)last - FMin);
  int start = arrow + Round(fraction * (track - length));
  return Along(FKind, start, start + length, Thickness());
}

int TScrollBar::PositionFromThumb(int thumbStart) const {
  int arrow = ArrowLength();
  int free = AlongLength() - 2 * arrow - ThumbLength();
  if (free <= 0) return FMin;
  double fraction = std::clamp(double(thumbStart - arrow) / free, 0.0, 1.0);
  return FMin + Round(fraction * ((long long)MaxPosition() - FMin));
}

TScrollBar::Part TScrollBar::PartAt(gfx::Point point) const {
  if (!ClientRect().Contains(point)) return Part::None;
  if (DecreaseArrowRect().Contains(point)) return Part::DecreaseArrow;
  if (IncreaseArrowRect().Contains(point)) return Part::IncreaseArrow;
  gfx::Rect thumb = ThumbRect();
  if (thumb.IsEmpty()) return Part::None;
  if (thumb.Contains(point)) return Part::Thumb;
  int along = FKind == sbHorizontal ? point.X : point.Y;
  int thumbStart = FKind == sbHorizontal ? thumb.Left : thumb.Top;
  return along < thumbStart ? Part::PageDecrease : Part::PageIncrease;
}

// ---- Behaviour ------------------------------------------------------------

bool TScrollBar::ScrollTo(TScrollCode code, int position) {
  position = std::clamp(position, FMin, MaxPosition());
  TControlGuard guard(this);
  Scroll(code, position);
  if (guard.Destroyed()) return false;
  SetPosition(position);
  return guard.Alive();
}

bool TScrollBar::Step(Part part) {
  long long position = FPosition;
  switch (part) {
    case Part::DecreaseArrow:
      if (!FHeldPartHot) return true;
      return ScrollTo(scLineUp, int(std::max<long long>(position - FSmallChange, FMin)));
    case Part::IncreaseArrow:
      if (!FHeldPartHot) return true;
      return ScrollTo(scLineDown, int(std::min<long long>(position + FSmallChange, MaxPosition())));
    case Part::PageDecrease:
    case Part::PageIncrease: {
      // A page repeat stops once the thumb has reached the pointer.
      if (PartAt(FLastPoint) != part) {
        StopRepeat();
        return true;
      }
      if (part == Part::PageDecrease) return ScrollTo(scPageUp, int(std::max<long long>(position - FLargeChange, FMin)));
      return ScrollTo(scPageDown, int(std::min<long long>(position + FLargeChange, MaxPosition())));
    }
    default: return true;
  }
}

void TScrollBar::StartRepeat() {
  if (!HandleAllocated()) return;
  FRepeating = true;
  SetTimer(Handle(), RepeatTimer, FirstRepeatDelay);
}

void TScrollBar::StopRepeat() {
  if (FRepeating && HandleAllocated()) KillTimer(Handle(), RepeatTimer);
  FRepeating = false;
}

void TScrollBar::Dispatch(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: WMLButtonDown(message); break;
    case WM_LBUTTONUP: WMLButtonUp(message); break;
    case WM_MOUSEMOVE: WMMouseMove(message); break;
    case WM_TIMER: WMTimer(message); break;
    case WM_KEYDOWN: WMKeyDown(message); break;
    case WM_GETDLGCODE: message.Result = DLGC_WANTARROWS; break;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
      CancelTracking();
      inherited::Dispatch(message);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      inherited::Dispatch(message);
      Invalidate();
      break;
    default: inherited::Dispatch(message); break;
  }
}

void TScrollBar::CancelTracking() {
  StopRepeat();
  if (FHeldPart != Part::None) {
    FHeldPart = Part::None;
    Invalidate();
  }
}

void TScrollBar::WMLButtonDown(TMessage& message) {
  TControlGuard guard(this);
  if (!Enabled()) {
    inherited::Dispatch(message);
    return;
  }
  if (TabStop() && CanFocus() && !Focused()) {
    SetFocus();
    if (guard.Destroyed()) return;
  }
  gfx::Point point = PointFromLParam(message.LParam);
  FLastPoint = point;
  Part part = PartAt(point);
  FHeldPart = part;
  FHeldPartHot = true;
  inherited::Dispatch(message);  // captures the mouse, OnMouseDown
  if (guard.Destroyed()) return;
  switch (part) {
    case Part::Thumb: {
      gfx::Rect thumb = ThumbRect();
      FDragThumbStart = FKind == sbHorizontal ? thumb.Left : thumb.Top;
      FDragOffset = (FKind == sbHorizontal ? point.X : point.Y) - FDragThumbStart;
      Invalidate();
      break;
    }
    case Part::None: break;
    default:
      Invalidate();
      if (!Step(part)) return;
      if (FHeldPart == part) StartRepeat();
      break;
  }
}

void TScrollBar::WMMouseMove(TMessage& message) {
  gfx::Point point = PointFromLParam(message.LParam);
  FLastPoint = point;
  TControlGuard guard(this);
  switch (FHeldPart) {
    case Part::DecreaseArrow:
    case Part::IncreaseArrow: {
      gfx::Rect arrow = FHeldPart == Part::DecreaseArrow ? DecreaseArrowRect() : IncreaseArrowRect();
      bool hot = arrow.Contains(point);
      if (hot != FHeldPartHot) {
        FHeldPartHot = hot;
        Invalidate();
      }
      break;
    }
    case Part::PageDecrease:
    case Part::PageIncrease: {
      bool hot = PartAt(point) == FHeldPart;
      if (hot != FHeldPartHot) {
        FHeldPartHot = hot;
        Invalidate();
      }
      break;
    }
    case Part::Thumb: {
      int start = (FKind == sbHorizontal ? point.X : point.Y) - FDragOffset;
      int position = PositionFromThumb(start);
      if (position != FPosition && !ScrollTo(scTrack, position)) return;
      break;
    }
    default: break;
  }
  inherited::Dispatch(message);
}

void TScrollBar::WMLButtonUp(TMessage& message) {
  Part part = FHeldPart;
  StopRepeat();
  FHeldPart = Part::None;
  TControlGuard guard(this);
  if (part != Part::None) {
    Invalidate();
    if (part == Part::Thumb && !ScrollTo(scPosition, FPosition)) return;
    int position = FPosition;
    Scroll(scEndScroll, position);
    if (guard.Destroyed()) return;
  }
  inherited::Dispatch(message);
}

void TScrollBar::WMTimer(TMessage& message) {
  if (message.WParam != RepeatTimer) {
    inherited::Dispatch(message);
    return;
  }
  if (FHeldPart == Part::None || FHeldPart == Part::Thumb) {
    StopRepeat();
    return;
  }
  // The first tick ends the initial delay; from then on every tick steps.
  SetTimer(Handle(), RepeatTimer, RepeatPeriod);
  Step(FHeldPart);
}

void TScrollBar::WMKeyDown(TMessage& message) {
  TControlGuard guard(this);
  WPARAM key = message.WParam;
  inherited::Dispatch(message);
  if (guard.Destroyed() || message.WParam != key) return;
  long long position = FPosition;
  bool handled = true;
  switch (int(key)) {
    case platform::VK_LEFT:
    case platform::VK_UP: handled = ScrollTo(scLineUp, int(std::max<long long>(position - FSmallChange, FMin))); break;
    case platform::VK_RIGHT:
    case platform::VK_DOWN: handled = ScrollTo(scLineDown, int(std::min<long long>(position + FSmallChange, MaxPosition()))); break;
    case platform::VK_PRIOR: handled = ScrollTo(scPageUp, int(std::max<long long>(position - FLargeChange, FMin))); break;
    case platform::VK_NEXT: handled = ScrollTo(scPageDown, int(std::min<long long>(position + FLargeChange, MaxPosition()))); break;
    case platform::VK_HOME: handled = ScrollTo(scTop, FMin); break;
    case platform::VK_END: handled = ScrollTo(scBottom, MaxPosition()); break;
    default: return;
  }
  if (!handled) return;
  int end = FPosition;
  Scroll(scEndScroll, end);
}

// ---- Painting -------------------------------------------------------------

void TScrollBar::Paint() {
  gfx::Canvas& canvas = Canvas()->Target();
  gfx::Rect track = TrackRect();
  // The track: the classic checkered grey of highlight and face.
  canvas.SetBrush(Rgb(clBtnFace));
  canvas.FillRect(ClientRect());
  gfx::Color light = Rgb(clBtnHighlight);
  for (int y = track.Top; y < track.Bottom; ++y) {
    for (int x = track.Left + ((y + track.Left) & 1); x < track.Right; x += 2) canvas.SetPixel(x, y, light);
  }
  gfx::Rect thumb = ThumbRect();
  if ((FHeldPart == Part::PageDecrease || FHeldPart == Part::PageIncrease) && FHeldPartHot && !thumb.IsEmpty()) {
    gfx::Rect pressed = track;
    if (FKind == sbHorizontal) {
      if (FHeldPart == Part::PageDecrease) pressed.Right = thumb.Left; else pressed.Left = thumb.Right;
    } else {
      if (FHeldPart == Part::PageDecrease) pressed.Bottom = thumb.Top; else pressed.Top = thumb.Bottom;
    }
    canvas.SetBrush(Rgb(cl3DDkShadow));
    canvas.FillRect(pressed);
  }
  auto drawArrow = [&](const gfx::Rect& r, Part part, int direction) {
    if (r.IsEmpty()) return;
    canvas.SetBrush(Rgb(clBtnFace));
    canvas.FillRect(r);
    bool down = FHeldPart == part && FHeldPartHot;
    gfx::Rect glyph = r;
    if (down) {
      canvas.FrameRect(r, Rgb(clBtnShadow));
      glyph = glyph.Offset(1, 1);
    } else {
      classic::DrawFrame(canvas, r, classic::FrameKind::Raised);
    }
    int size = std::max(2, std::min(r.Width(), r.Height()) / 4);
    if (Enabled()) {
      classic::DrawArrow(canvas, glyph, direction, clBtnText, size);
    } else {
      classic::DrawArrow(canvas, glyph.Offset(1, 1), direction, clBtnHighlight, size);
      classic::DrawArrow(canvas, glyph, direction, clBtnShadow, size);
    }
  };
  bool horizontal = FKind == sbHorizontal;
  drawArrow(DecreaseArrowRect(), Part::DecreaseArrow, horizontal ? 3 : 0);
  drawArrow(IncreaseArrowRect(), Part::IncreaseArrow, horizontal ? 1 : 2);
  if (!thumb.IsEmpty()) {
    canvas.SetBrush(Rgb(clBtnFace));
    canvas.FillRect(thumb);
    classic::DrawFrame(canvas, thumb, classic::FrameKind::Raised);
    if (Focused()) classic::DrawFocusRect(canvas, thumb.Inflate(-3, -3));
  }
}

}  // namespace ui
