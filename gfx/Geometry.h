#pragma once

#include <algorithm>

namespace gfx {

// A point in pixels.
struct Point {
  int X = 0;
  int Y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int Width = 0;
  int Height = 0;

  friend bool operator==(const Size&, const Size&) = default;
};

// A rectangle by its edges. Right and Bottom are exclusive: the rectangle
// (0, 0, 2, 1) covers the two pixels (0, 0) and (1, 0), as in the classic
// desktop API the skins were made for.
struct Rect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  static constexpr Rect FromSize(int x, int y, int width, int height) {
    return Rect{x, y, x + width, y + height};
  }

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  // True when the rectangle covers no pixel (width or height below 1).
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr Point TopLeft() const { return Point{Left, Top}; }
  constexpr Point BottomRight() const { return Point{Right, Bottom}; }

  // Point-in-rectangle with the exclusive right and bottom edges.
  constexpr bool Contains(Point p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }

  constexpr Rect Offset(int dx, int dy) const {
    return Rect{Left + dx, Top + dy, Right + dx, Bottom + dy};
  }

  constexpr Rect Inflate(int dx, int dy) const {
    return Rect{Left - dx, Top - dy, Right + dx, Bottom + dy};
  }

  // The common part; empty rectangles come back as (0, 0, 0, 0).
  constexpr Rect Intersect(const Rect& other) const {
    Rect r{std::max(Left, other.Left), std::max(Top, other.Top),
           std::min(Right, other.Right), std::min(Bottom, other.Bottom)};
    return r.IsEmpty() ? Rect{} : r;
  }

  // The smallest rectangle holding both; an empty side is ignored.
  constexpr Rect Union(const Rect& other) const {
    if (IsEmpty()) return other;
    if (other.IsEmpty()) return *this;
    return Rect{std::min(Left, other.Left), std::min(Top, other.Top),
                std::max(Right, other.Right), std::max(Bottom, other.Bottom)};
  }

  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace gfx
