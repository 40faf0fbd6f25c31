#include "Painter.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace skingen {

Pixel Mix(Pixel a, Pixel b, double t) {
  t = std::clamp(t, 0.0, 1.0);
  auto channel = [t](int from, int to) { return std::uint8_t(std::lround(from + (to - from) * t)); };
  return gfx::MakePixel(channel(gfx::PixelRed(a), gfx::PixelRed(b)), channel(gfx::PixelGreen(a), gfx::PixelGreen(b)),
                        channel(gfx::PixelBlue(a), gfx::PixelBlue(b)));
}

Pixel Ramp::Step(int i) const {
  if (Count <= 1) return From;
  return Mix(From, To, double(std::clamp(i, 0, Count - 1)) / double(Count - 1));
}

Pixel Ramp::At(double t) const {
  if (Count <= 1) return From;
  return Step(int(std::lround(std::clamp(t, 0.0, 1.0) * (Count - 1))));
}

void Plot(Bitmap& bitmap, int x, int y, Pixel p) {
  if (x >= 0 && y >= 0 && x < bitmap.Width() && y < bitmap.Height()) bitmap.SetPixel(x, y, p);
}

void Fill(Bitmap& bitmap, const Rect& r, Pixel p) { bitmap.FillRect(r, p); }

void FillDown(Bitmap& bitmap, const Rect& r, const Ramp& ramp) {
  const int rows = r.Height();
  for (int y = r.Top; y < r.Bottom; ++y) {
    const double t = rows <= 1 ? 0.0 : double(y - r.Top) / double(rows - 1);
    HLine(bitmap, r.Left, r.Right, y, ramp.At(t));
  }
}

void FillAcross(Bitmap& bitmap, const Rect& r, const Ramp& ramp) {
  const int columns = r.Width();
  for (int x = r.Left; x < r.Right; ++x) {
    const double t = columns <= 1 ? 0.0 : double(x - r.Left) / double(columns - 1);
    VLine(bitmap, x, r.Top, r.Bottom, ramp.At(t));
  }
}

void HLine(Bitmap& bitmap, int left, int right, int y, Pixel p) {
  for (int x = left; x < right; ++x) Plot(bitmap, x, y, p);
}

void VLine(Bitmap& bitmap, int x, int top, int bottom, Pixel p) {
  for (int y = top; y < bottom; ++y) Plot(bitmap, x, y, p);
}

void Frame(Bitmap& bitmap, const Rect& r, Pixel p) {
  HLine(bitmap, r.Left, r.Right, r.Top, p);
  HLine(bitmap, r.Left, r.Right, r.Bottom - 1, p);
  VLine(bitmap, r.Left, r.Top, r.Bottom, p);
  VLine(bitmap, r.Right - 1, r.Top, r.Bottom, p);
}

bool RoundedShape::Contains(double x, double y) const {
  if (x < Bounds.Left || y < Bounds.Top || x > Bounds.Right || y > Bounds.Bottom) return false;
  auto outsideCorner = [x, y](double cx, double cy, int radius, bool left, bool top) {
    if (radius <= 0) return false;
    const bool inCornerBox = (left ? x < cx : x > cx) && (top ? y < cy : y > cy);
    if (!inCornerBox) return false;
    const double dx = x - cx;
    const double dy = y - cy;
    return dx * dx + dy * dy > double(radius) * double(radius);
  };
  const double l = Bounds.Left, t = Bounds.Top, r = Bounds.Right, b = Bounds.Bottom;
  return !outsideCorner(l + TopLeft, t + TopLeft, TopLeft, true, true) &&
         !outsideCorner(r - TopRight, t + TopRight, TopRight, false, true) &&
         !outsideCorner(r - BottomRight, b - BottomRight, BottomRight, false, false) &&
         !outsideCorner(l + BottomLeft, b - BottomLeft, BottomLeft, true, false);
}

double RoundedShape::Coverage(int x, int y) const {
  constexpr int Samples = 8;
  int inside = 0;
  for (int j = 0; j < Samples; ++j) {
    for (int i = 0; i < Samples; ++i) {
      if (Contains(x + (i + 0.5) / Samples, y + (j + 0.5) / Samples)) ++inside;
    }
  }
  return double(inside) / double(Samples * Samples);
}

RoundedShape RoundedShape::Inset(int by) const {
  auto less = [by](int radius) { return std::max(0, radius - by); };
  return {Bounds.Inflate(-by, -by), less(TopLeft), less(TopRight), less(BottomRight), less(BottomLeft)};
}

void DrawTile(Bitmap& bitmap, const Rect& r, const TileStyle& style) {
  DrawTile(bitmap, RoundedShape::Uniform(r, style.Radius), style);
}

void DrawTile(Bitmap& bitmap, const RoundedShape& outer, const TileStyle& style) {
  const Rect& r = outer.Bounds;
  const RoundedShape inner = style.DrawBorder ? outer.Inset(1) : outer;
  const Rect fillRect = inner.Bounds;
  for (int y = r.Top; y < r.Bottom; ++y) {
    for (int x = r.Left; x < r.Right; ++x) {
      if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) continue;
      const int along = style.Across ? x - fillRect.Left : y - fillRect.Top;
      const int length = style.Across ? fillRect.Width() : fillRect.Height();
      Pixel fill = style.Fill.At(length <= 1 ? 0.0 : double(along) / double(length - 1));
      if (style.HasHighlight && y == fillRect.Top) fill = style.Highlight;
      const double outside = 1.0 - outer.Coverage(x, y);
      const double fillShare = inner.Coverage(x, y);
      const double borderShare = std::max(0.0, 1.0 - outside - fillShare);
      const Pixel under = bitmap.GetPixel(x, y);
      // Blend in two steps: the border over the fill, then what shows
      // around the corner.
      Pixel p = fill;
      if (borderShare + fillShare > 0) p = Mix(fill, style.Border, borderShare / (borderShare + fillShare));
      p = Mix(p, under, outside);
      bitmap.SetPixel(x, y, p);
    }
  }
}

int PatternWidth(Pattern rows) {
  std::size_t width = 0;
  for (std::string_view row : rows) width = std::max(width, row.size());
  return int(width);
}

int PatternHeight(Pattern rows) { return int(rows.size()); }

void DrawPattern(Bitmap& bitmap, int x, int y, Pattern rows, Pixel color, Pixel second) {
  int row = 0;
  for (std::string_view line : rows) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '#') Plot(bitmap, x + int(i), y + row, color);
      if (line[i] == '+') Plot(bitmap, x + int(i), y + row, second);
    }
    ++row;
  }
}

void DrawPatternCentred(Bitmap& bitmap, const Rect& r, Pattern rows, Pixel color, int dx, int dy, Pixel second) {
  const int x = r.Left + (r.Width() - PatternWidth(rows)) / 2 + dx;
  const int y = r.Top + (r.Height() - PatternHeight(rows)) / 2 + dy;
  DrawPattern(bitmap, x, y, rows, color, second);
}

std::vector<int> RingDistances(int width, int height, const std::vector<bool>& inside) {
  std::vector<int> distance(std::size_t(width) * std::size_t(height), 0);
  std::deque<std::pair<int, int>> queue;
  auto at = [width](int x, int y) { return std::size_t(y) * std::size_t(width) + std::size_t(x); };
  auto isInside = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < width && y < height && inside[at(x, y)];
  };
  const int dx[] = {1, -1, 0, 0};
  const int dy[] = {0, 0, 1, -1};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!isInside(x, y)) continue;
      for (int k = 0; k < 4; ++k) {
        if (!isInside(x + dx[k], y + dy[k])) {
          distance[at(x, y)] = 1;
          queue.emplace_back(x, y);
          break;
        }
      }
    }
  }
  while (!queue.empty()) {
    const auto [x, y] = queue.front();
    queue.pop_front();
    for (int k = 0; k < 4; ++k) {
      const int nx = x + dx[k];
      const int ny = y + dy[k];
      if (isInside(nx, ny) && distance[at(nx, ny)] == 0) {
        distance[at(nx, ny)] = distance[at(x, y)] + 1;
        queue.emplace_back(nx, ny);
      }
    }
  }
  return distance;
}

std::vector<bool> SolidShape(int width, int height, const RoundedShape& shape) {
  std::vector<bool> inside(std::size_t(width) * std::size_t(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) inside[std::size_t(y) * width + x] = shape.Contains(x + 0.5, y + 0.5);
  }
  return inside;
}

}  // namespace skingen
