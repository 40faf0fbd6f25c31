#include "gfx/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "gfx/FontEngine.h"
#include "gfx/TextLayout.h"
#include "gfx/TextUtf8.h"

namespace gfx {

namespace {

// Colour keys compare the colour only, never the unused fourth byte.
constexpr Pixel ColorMask = 0x00FFFFFF;
// Lines with more steps draw nothing.
constexpr long long MaxLineSteps = 0x7FFFFFFF;

Rect Normalized(const Rect& r) {
  return Rect{std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
              std::max(r.Top, r.Bottom)};
}

// over * alpha + under * (255 - alpha), rounded, with red and blue worked
// on together in one word: each lane's products fit in 16 bits, and the
// division by 255 is (t + (t >> 8)) >> 8 with t rounded, exact here.
inline Pixel Blend(Pixel under, Pixel over, unsigned alpha) {
  const unsigned rest = 255 - alpha;
  std::uint32_t redBlue = (over & 0xFF00FF) * alpha + (under & 0xFF00FF) * rest + 0x800080;
  redBlue = ((redBlue + ((redBlue >> 8) & 0xFF00FF)) >> 8) & 0xFF00FF;
  std::uint32_t green = (over & 0x00FF00) * alpha + (under & 0x00FF00) * rest + 0x008000;
  green = ((green + ((green >> 8) & 0x00FF00)) >> 8) & 0x00FF00;
  return redBlue | green;
}

// Draws a coverage mask in one colour with its top-left at (x, y), inside
// clip only.
void BlendGlyph(Bitmap& target, const Rect& clip, int x, int y, const Glyph& glyph, Pixel color) {
  if (Rect::FromSize(x, y, glyph.Width, glyph.Height).Intersect(clip).IsEmpty()) return;
  for (const Glyph::Span& span : glyph.Spans) {
    int row = y + span.Row;
    if (row < clip.Top || row >= clip.Bottom) continue;
    int from = std::max(x + span.Column, clip.Left);
    int to = std::min(x + span.Column + span.Length, clip.Right);
    if (from >= to) continue;
    Pixel* out = target.Row(row);
    if (span.Opaque) {
      std::fill(out + from, out + to, color);
      continue;
    }
    const std::uint8_t* coverage = glyph.Coverage.data() + std::ptrdiff_t(span.Row) * glyph.Width - x;
    for (int column = from; column < to; ++column) {
      unsigned alpha = coverage[column];
      out[column] = alpha == 255 ? color : Blend(out[column], color, alpha);
    }
  }
}

}  // namespace

Canvas::Canvas(Bitmap& target) : FTarget(&target) {}

void Canvas::SetPen(gfx::Color color, PenStyle style) { FPen = gfx::Pen{color, style}; }
void Canvas::SetBrush(gfx::Color color, BrushStyle style) { FBrush = gfx::Brush{color, style}; }

// ---------------------------------------------------------------- clip

Region Canvas::Clip() const {
  Region r(FTarget->Bounds());
  if (FClip) r.Intersect(*FClip);
  return r;
}

void Canvas::SetClip(const Region& deviceRegion) {
  FClip = deviceRegion;
  FClipRectsValid = false;
}

void Canvas::IntersectClipRect(const Rect& r) {
  Region clip = FClip ? *FClip : Region(FTarget->Bounds());
  clip.Intersect(ToDevice(r));
  SetClip(clip);
}

void Canvas::ExcludeClipRect(const Rect& r) {
  Region clip = FClip ? *FClip : Region(FTarget->Bounds());
  clip.Subtract(ToDevice(r));
  SetClip(clip);
}

Rect Canvas::ClipBox() const {
  Rect box = Clip().Bounds();
  if (box.IsEmpty()) return Rect{};
  return box.Offset(-FOrigin.X, -FOrigin.Y);
}

bool Canvas::RectVisible(const Rect& r) const { return Clip().Intersects(ToDevice(r)); }

const std::vector<Rect>& Canvas::ClipRects() const {
  // The bitmap may have been resized since: a cached list is only good for
  // the size it was made for.
  if (!FClipRectsValid || FClipRectsSize != FTarget->Dimensions()) {
    FClipRects = FClip ? Clip().Rects() : std::vector<Rect>{FTarget->Bounds()};
    if (FClipRects.size() == 1 && FClipRects.front().IsEmpty()) FClipRects.clear();
    FClipRectsValid = true;
    FClipRectsSize = FTarget->Dimensions();
  }
  return FClipRects;
}

Rect Canvas::VisibleBounds() const {
  Rect bounds;
  for (const Rect& c : ClipRects()) bounds = bounds.Union(c);
  return bounds;
}

CanvasState Canvas::SaveState() const {
  return CanvasState{FPen, FBrush, FFont, FOrigin, FPenPosition, FClip};
}

void Canvas::RestoreState(const CanvasState& state) {
  FPen = state.Pen;
  FBrush = state.Brush;
  FFont = state.Font;
  FOrigin = state.Origin;
  FPenPosition = state.PenPosition;
  FClip = state.Clip;
  FClipRectsValid = false;
}

// ---------------------------------------------------------------- pixels

bool Canvas::DeviceVisible(int x, int y) const {
  for (const Rect& c : ClipRects()) {
    if (c.Contains(Point{x, y})) return true;
  }
  return false;
}

void Canvas::PlotDevice(int x, int y, Pixel pixel) {
  if (DeviceVisible(x, y)) FTarget->SetPixel(x, y, pixel);
}

void Canvas::FillDeviceRect(const Rect& r, Pixel pixel) {
  if (r.IsEmpty()) return;
  for (const Rect& c : ClipRects()) FTarget->FillRect(r.Intersect(c), pixel);
}

gfx::Color Canvas::GetPixel(int x, int y) const {
  int dx = x + FOrigin.X, dy = y + FOrigin.Y;
  if (!DeviceVisible(dx, dy)) return InvalidColor;
  return PixelToColor(FTarget->GetPixel(dx, dy) & ColorMask);
}

void Canvas::SetPixel(int x, int y, gfx::Color color) {
  PlotDevice(x + FOrigin.X, y + FOrigin.Y, ColorToPixel(color));
}

// ---------------------------------------------------------------- lines

void Canvas::DrawLineDevice(Point from, Point to, Pixel pixel) {
  // Each step along the major axis puts the minor coordinate on the pixel
  // nearest to the ideal line (halves round away from the start): the
  // pixels of Bresenham's algorithm, computed directly so that only the
  // steps inside the visible area are worked on. The last point is left
  // out, so that joined lines draw each vertex once and a line to its own
  // start draws nothing.
  const long long dx = (long long)to.X - from.X, dy = (long long)to.Y - from.Y;
  const long long steps = std::max(std::llabs(dx), std::llabs(dy));
  // Longer lines than that would overflow the arithmetic below; no surface
  // is within a factor of 65536 of that size.
  if (steps == 0 || steps > MaxLineSteps) return;
  const Rect visible = VisibleBounds();
  if (visible.IsEmpty()) return;
  const bool xMajor = std::llabs(dx) >= std::llabs(dy);
  const long long minor = xMajor ? std::llabs(dy) : std::llabs(dx);
  const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
  const long long start = xMajor ? from.X : from.Y;
  const int direction = xMajor ? sx : sy;
  const long long low = xMajor ? visible.Left : visible.Top;
  const long long high = (xMajor ? visible.Right : visible.Bottom) - 1;
  long long first = direction > 0 ? low - start : start - high;
  long long last = direction > 0 ? high - start : start - low;
  first = std::max(first, 0LL);
  last = std::min(last, steps - 1);
  for (long long i = first; i <= last; ++i) {
    long long offset = (2 * i * minor + steps) / (2 * steps);
    long long x = xMajor ? from.X + sx * i : from.X + sx * offset;
    long long y = xMajor ? from.Y + sy * offset : from.Y + sy * i;
    if (x < visible.Left || x >= visible.Right || y < visible.Top || y >= visible.Bottom) continue;
    PlotDevice(int(x), int(y), pixel);
  }
}

void Canvas::LineTo(int x, int y) {
  if (FPen.Style != PenStyle::Clear) {
    DrawLineDevice(Point{FPenPosition.X + FOrigin.X, FPenPosition.Y + FOrigin.Y},
                   Point{x + FOrigin.X, y + FOrigin.Y}, ColorToPixel(FPen.Color));
  }
  FPenPosition = Point{x, y};
}

void Canvas::Polyline(std::span<const Point> points) {
  if (FPen.Style == PenStyle::Clear) return;
  Pixel pixel = ColorToPixel(FPen.Color);
  for (std::size_t i = 1; i < points.size(); ++i) {
    DrawLineDevice(Point{points[i - 1].X + FOrigin.X, points[i - 1].Y + FOrigin.Y},
                   Point{points[i].X + FOrigin.X, points[i].Y + FOrigin.Y}, pixel);
  }
}

// ---------------------------------------------------------------- shapes

void Canvas::Rectangle(const Rect& r) {
  Rect d = ToDevice(Normalized(r));
  if (d.IsEmpty()) return;
  if (FPen.Style == PenStyle::Clear) {
    // Without a pen the classic rectangle fills one pixel less to the
    // right and bottom: the pen's outline would have covered it.
    if (FBrush.Style != BrushStyle::Clear) {
      FillDeviceRect(Rect{d.Left, d.Top, d.Right - 1, d.Bottom - 1}, ColorToPixel(FBrush.Color));
    }
    return;
  }
  if (FBrush.Style != BrushStyle::Clear) FillDeviceRect(d.Inflate(-1, -1), ColorToPixel(FBrush.Color));
  Pixel pen = ColorToPixel(FPen.Color);
  FillDeviceRect(Rect{d.Left, d.Top, d.Right, d.Top + 1}, pen);
  FillDeviceRect(Rect{d.Left, d.Bottom - 1, d.Right, d.Bottom}, pen);
  FillDeviceRect(Rect{d.Left, d.Top, d.Left + 1, d.Bottom}, pen);
  FillDeviceRect(Rect{d.Right - 1, d.Top, d.Right, d.Bottom}, pen);
}

void Canvas::FillRect(const Rect& r) {
  if (FBrush.Style == BrushStyle::Clear) return;
  FillDeviceRect(ToDevice(r), ColorToPixel(FBrush.Color));
}

void Canvas::FillRegion(const Region& region) {
  if (FBrush.Style == BrushStyle::Clear) return;
  Pixel pixel = ColorToPixel(FBrush.Color);
  for (const Rect& r : region.Rects()) FillDeviceRect(ToDevice(r), pixel);
}

void Canvas::FrameRect(const Rect& r) { FrameRect(r, FBrush.Color); }

void Canvas::FrameRect(const Rect& r, gfx::Color color) {
  Rect d = ToDevice(r);
  if (d.IsEmpty()) return;
  Pixel pixel = ColorToPixel(color);
  FillDeviceRect(Rect{d.Left, d.Top, d.Right, d.Top + 1}, pixel);
  FillDeviceRect(Rect{d.Left, d.Bottom - 1, d.Right, d.Bottom}, pixel);
  FillDeviceRect(Rect{d.Left, d.Top, d.Left + 1, d.Bottom}, pixel);
  FillDeviceRect(Rect{d.Right - 1, d.Top, d.Right, d.Bottom}, pixel);
}

Rect Canvas::Frame3D(const Rect& r, gfx::Color topLeft, gfx::Color bottomRight, int width) {
  Pixel light = ColorToPixel(topLeft), dark = ColorToPixel(bottomRight);
  Rect ring = r;
  for (int i = 0; i < width && !ring.IsEmpty(); ++i) {
    Rect d = ToDevice(ring);
    FillDeviceRect(Rect{d.Left, d.Top, d.Right - 1, d.Top + 1}, light);
    FillDeviceRect(Rect{d.Left, d.Top, d.Left + 1, d.Bottom - 1}, light);
    FillDeviceRect(Rect{d.Right - 1, d.Top, d.Right, d.Bottom}, dark);
    FillDeviceRect(Rect{d.Left, d.Bottom - 1, d.Right, d.Bottom}, dark);
    ring = ring.Inflate(-1, -1);
  }
  return r.Inflate(-std::max(width, 0), -std::max(width, 0));
}

void Canvas::Ellipse(const Rect& r) {
  const Rect d = ToDevice(Normalized(r));
  const long long width = (long long)d.Right - d.Left, height = (long long)d.Bottom - d.Top;
  if (width <= 0 || height <= 0) return;
  // Only the rows and columns that can be seen are worked on.
  const Rect visible = VisibleBounds().Intersect(d);
  if (visible.IsEmpty()) return;
  // First column of the ellipse in a row; the row's span is [first,
  // width - 1 - first]. Computed from the upper half and mirrored, so the
  // shape is exactly symmetric; each row keeps at least its middle pixel,
  // so the ellipse touches all four sides of r.
  const double rx = width / 2.0, ry = height / 2.0;
  auto first = [&](long long row) -> long long {
    long long upper = std::min(row, height - 1 - row);
    double v = (upper + 0.5 - ry) / ry;
    double half = rx * std::sqrt(std::max(0.0, 1.0 - v * v));
    long long left = (long long)std::ceil(rx - half - 0.5);
    return std::clamp(left, 0LL, (width - 1) / 2);
  };
  const bool pen = FPen.Style != PenStyle::Clear, brush = FBrush.Style != BrushStyle::Clear;
  const Pixel penPixel = ColorToPixel(FPen.Color), brushPixel = ColorToPixel(FBrush.Color);
  for (long long row = visible.Top - d.Top; row < visible.Bottom - d.Top; ++row) {
    const long long left = first(row), right = width - 1 - left;
    // The outline: pixels with a side neighbour outside the ellipse. In a
    // row those are the two ends and the columns beyond the span of the
    // row above or below.
    const long long above = row > 0 ? first(row - 1) : width, below = row + 1 < height ? first(row + 1) : width;
    const long long innerLeft = std::max({left + 1, above, below});
    const long long innerRight = std::min({right - 1, width - 1 - above, width - 1 - below});
    const int y = d.Top + int(row);
    auto span = [&](long long from, long long to, bool edge) {  // inclusive columns
      from = std::max<long long>(from, visible.Left - d.Left);
      to = std::min<long long>(to, visible.Right - d.Left - 1);
      if (from > to) return;
      Rect run{d.Left + int(from), y, d.Left + int(to) + 1, y + 1};
      if (edge && pen) {
        FillDeviceRect(run, penPixel);
      } else if (brush) {
        FillDeviceRect(run, brushPixel);
      }
    };
    if (innerLeft > innerRight) {
      span(left, right, true);
      continue;
    }
    span(left, innerLeft - 1, true);
    span(innerLeft, innerRight, false);
    span(innerRight + 1, right, true);
  }
}

// ---------------------------------------------------------------- pictures

void Canvas::Draw(int x, int y, const Bitmap& source) {
  CopyRect(Rect::FromSize(x, y, source.Width(), source.Height()), source, source.Bounds());
}

void Canvas::CopyRect(const Rect& destination, const Bitmap& source, const Rect& sourceRect) {
  if (destination.IsEmpty() || sourceRect.IsEmpty()) return;
  // Copying within one bitmap reads from a snapshot: rows copied downwards
  // or through several clip rectangles would otherwise read pixels already
  // overwritten.
  Bitmap snapshot;
  const Bitmap* from = &source;
  Rect fromRect = sourceRect;
  if (&source == FTarget) {
    snapshot = source.Crop(sourceRect);
    from = &snapshot;
    Rect inside = sourceRect.Intersect(source.Bounds());
    fromRect = sourceRect.Offset(-inside.Left, -inside.Top);
  }
  Rect d = ToDevice(destination);
  for (const Rect& c : ClipRects()) StretchRect(*FTarget, d, *from, fromRect, c);
}

void Canvas::StretchDraw(const Rect& destination, const Bitmap& source) {
  CopyRect(destination, source, source.Bounds());
}

void Canvas::DrawTransparent(int x, int y, const Bitmap& source, gfx::Color key) {
  CopyRectTransparent(Rect::FromSize(x, y, source.Width(), source.Height()), source, source.Bounds(), key);
}

void Canvas::DrawTransparent(int x, int y, const Bitmap& source) {
  if (source.IsEmpty()) return;
  DrawTransparent(x, y, source, PixelToColor(source.GetPixel(0, source.Height() - 1) & ColorMask));
}

void Canvas::CopyRectTransparent(const Rect& destination, const Bitmap& source, const Rect& sourceRect,
                                 gfx::Color key) {
  if (destination.IsEmpty() || sourceRect.IsEmpty()) return;
  Bitmap snapshot;
  const Bitmap* from = &source;
  if (&source == FTarget) {
    snapshot = source;
    from = &snapshot;
  }
  const Pixel keyPixel = ColorToPixel(key);
  const Rect d = ToDevice(destination);
  const long long dw = d.Width(), dh = d.Height();
  const long long sw = sourceRect.Width(), sh = sourceRect.Height();
  // Nearest neighbour as in StretchRect: each destination pixel takes the
  // source pixel under its centre.
  for (const Rect& c : ClipRects()) {
    Rect area = d.Intersect(c);
    for (int y = area.Top; y < area.Bottom; ++y) {
      int sy = sourceRect.Top + int(((2 * (y - d.Top) + 1) * sh) / (2 * dh));
      if (sy < 0 || sy >= from->Height()) continue;
      const Pixel* in = from->Row(sy);
      Pixel* out = FTarget->Row(y);
      for (int x = area.Left; x < area.Right; ++x) {
        int sx = sourceRect.Left + int(((2 * (x - d.Left) + 1) * sw) / (2 * dw));
        if (sx < 0 || sx >= from->Width()) continue;
        Pixel p = in[sx];
        if ((p & ColorMask) != keyPixel) out[x] = p;
      }
    }
  }
}

// ---------------------------------------------------------------- text

FontInstance& Canvas::ResolvedFont() const {
  if (!FFontInstance || !(FResolvedFont == FFont)) {
    FFontInstance = &FontEngine::Instance().Resolve(FFont);
    FResolvedFont = FFont;
  }
  return *FFontInstance;
}

FontMetrics Canvas::TextMetrics() const { return ResolvedFont().Metrics(); }

Size Canvas::TextExtent(std::string_view text) const {
  FontInstance& font = ResolvedFont();
  int width = 0;
  for (char32_t c : DecodeUtf8(text)) width += font.Advance(c);
  return Size{width, font.Metrics().Height};
}

void Canvas::DrawTextLine(int x, int y, const TextLine& line, const Rect* limit, bool background) {
  FontInstance& font = ResolvedFont();
  const FontMetrics& metrics = font.Metrics();
  const std::vector<Rect>* visible = &ClipRects();
  std::vector<Rect> limited;
  if (limit) {
    for (const Rect& c : *visible) {
      Rect r = c.Intersect(*limit);
      if (!r.IsEmpty()) limited.push_back(r);
    }
    visible = &limited;
  }
  const std::vector<Rect>& clips = *visible;
  if (clips.empty()) return;
  auto fill = [&](const Rect& r, Pixel pixel) {
    for (const Rect& c : clips) FTarget->FillRect(r.Intersect(c), pixel);
  };
  const int width = line.Width();
  if (background && FBrush.Style != BrushStyle::Clear) {
    fill(Rect{x, y, x + width, y + metrics.Height}, ColorToPixel(FBrush.Color));
  }
  const Pixel ink = ColorToPixel(FFont.Color);
  const int baseline = y + metrics.Ascent;
  for (std::size_t i = 0; i < line.Text.size(); ++i) {
    const Glyph& glyph = font.GlyphOf(line.Text[i]);
    if (glyph.Width == 0 || glyph.Height == 0) continue;
    int gx = x + line.Positions[i] + glyph.Left, gy = baseline - glyph.Top;
    for (const Rect& c : clips) BlendGlyph(*FTarget, c, gx, gy, glyph, ink);
  }
  const int underline = baseline + font.UnderlinePosition();
  if (HasStyle(FFont.Style, FontStyle::Underline)) {
    fill(Rect{x, underline, x + width, underline + font.UnderlineThickness()}, ink);
  }
  if (HasStyle(FFont.Style, FontStyle::StrikeOut)) {
    int top = baseline - font.StrikeOutPosition();
    fill(Rect{x, top, x + width, top + font.StrikeOutThickness()}, ink);
  }
  for (std::size_t i = 0; i < line.Underlined.size(); ++i) {
    if (line.Underlined[i]) {
      fill(Rect{x + line.Positions[i], underline, x + line.Positions[i + 1], underline + 1}, ink);
    }
  }
}

namespace {

// One line with every character an ordinary one.
TextLine PlainLine(std::string_view text, FontInstance& font) {
  TextLine line;
  line.Text = DecodeUtf8(text);
  line.Positions.reserve(line.Text.size() + 1);
  int x = 0;
  for (char32_t c : line.Text) {
    line.Positions.push_back(x);
    x += font.Advance(c);
  }
  line.Positions.push_back(x);
  return line;
}

}  // namespace

void Canvas::TextOut(int x, int y, std::string_view text) {
  TextLine line = PlainLine(text, ResolvedFont());
  DrawTextLine(x + FOrigin.X, y + FOrigin.Y, line, nullptr, true);
  FPenPosition = Point{x + line.Width(), y};
}

void Canvas::TextRect(const Rect& r, int x, int y, std::string_view text) {
  Rect limit = ToDevice(r);
  if (FBrush.Style != BrushStyle::Clear) FillDeviceRect(limit, ColorToPixel(FBrush.Color));
  TextLine line = PlainLine(text, ResolvedFont());
  DrawTextLine(x + FOrigin.X, y + FOrigin.Y, line, &limit, false);
}

int Canvas::DrawText(std::string_view text, Rect& rect, unsigned format) {
  FontInstance& font = ResolvedFont();
  const FontMetrics& metrics = font.Metrics();
  TextMeasure measure{[&font](char32_t c) { return font.Advance(c); }, 8 * metrics.AverageCharWidth};
  std::vector<TextLine> lines = LayoutText(DecodeUtf8(text), format, rect.Width(), measure);
  const int lineHeight = metrics.Height;
  const int total = int(lines.size()) * lineHeight;
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const TextLine& line : lines) widest = std::max(widest, line.Width());
    rect.Right = rect.Left + widest;
    rect.Bottom = rect.Top + total;
    return total;
  }
  const bool single = (format & DT_SINGLELINE) != 0;
  int y = rect.Top;
  if (single && (format & DT_VCENTER)) {
    y = rect.Top + (rect.Height() - lineHeight) / 2;
  } else if (single && (format & DT_BOTTOM)) {
    y = rect.Bottom - lineHeight;
  }
  const Rect limit = ToDevice(rect);
  const Rect* clip = (format & DT_NOCLIP) ? nullptr : &limit;
  for (const TextLine& line : lines) {
    int x = rect.Left;
    if (format & DT_CENTER) {
      x = rect.Left + (rect.Width() - line.Width()) / 2;
    } else if (format & DT_RIGHT) {
      x = rect.Right - line.Width();
    }
    DrawTextLine(x + FOrigin.X, y + FOrigin.Y, line, clip, true);
    y += lineHeight;
  }
  if (single && (format & (DT_VCENTER | DT_BOTTOM))) return y - rect.Top;
  return total;
}

}  // namespace gfx
