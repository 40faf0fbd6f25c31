#pragma once

#include <vector>

#include "gfx/Geometry.h"

namespace gfx {

// A set of pixels made of rectangles: window shapes, clip areas, masks.
// A value type; the rectangles are kept in pixman's banded form, so two
// regions covering the same pixels compare equal.
class Region {
 public:
  Region();
  explicit Region(const Rect& r);
  // The union of the rectangles; empty ones are ignored.
  static Region FromRects(const std::vector<Rect>& rects);

  Region(const Region& other);
  Region(Region&& other) noexcept;
  Region& operator=(const Region& other);
  Region& operator=(Region&& other) noexcept;
  ~Region();

  bool IsEmpty() const;
  Rect Bounds() const;
  // The banded rectangles, top to bottom and left to right.
  std::vector<Rect> Rects() const;
  int RectCount() const;

  bool Contains(Point p) const;
  // True when some pixel of r lies in the region.
  bool Intersects(const Rect& r) const;

  Region& Unite(const Region& other);
  Region& Unite(const Rect& r);
  Region& Intersect(const Region& other);
  Region& Intersect(const Rect& r);
  Region& Subtract(const Region& other);
  Region& Subtract(const Rect& r);
  Region& Offset(int dx, int dy);

  friend bool operator==(const Region& a, const Region& b);

 private:
  struct Impl;
  // pixman_region32_t, held by pointer so that no pixman header leaks.
  Impl* FImpl;
};

}  // namespace gfx
