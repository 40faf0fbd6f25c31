#include "gfx/Region.h"

#include <pixman.h>

#include <new>

namespace gfx {

struct Region::Impl {
  pixman_region32_t Value;
};

namespace {

// pixman only reports allocation failure through its return values.
void Check(pixman_bool_t ok) {
  if (!ok) throw std::bad_alloc();
}

}  // namespace

Region::Region() : FImpl(new Impl) { pixman_region32_init(&FImpl->Value); }

Region::Region(const Rect& r) : FImpl(new Impl) {
  if (r.IsEmpty()) {
    pixman_region32_init(&FImpl->Value);
  } else {
    pixman_region32_init_rect(&FImpl->Value, r.Left, r.Top, unsigned(r.Width()),
                              unsigned(r.Height()));
  }
}

Region Region::FromRects(const std::vector<Rect>& rects) {
  std::vector<pixman_box32_t> boxes;
  boxes.reserve(rects.size());
  for (const Rect& r : rects) {
    if (!r.IsEmpty()) boxes.push_back(pixman_box32_t{r.Left, r.Top, r.Right, r.Bottom});
  }
  Region out;
  pixman_region32_fini(&out.FImpl->Value);
  Check(pixman_region32_init_rects(&out.FImpl->Value, boxes.data(), int(boxes.size())));
  return out;
}

Region::Region(const Region& other) : FImpl(new Impl) {
  pixman_region32_init(&FImpl->Value);
  Check(pixman_region32_copy(&FImpl->Value, &other.FImpl->Value));
}

Region::Region(Region&& other) noexcept : FImpl(other.FImpl) { other.FImpl = nullptr; }

Region& Region::operator=(const Region& other) {
  if (this != &other) {
    if (!FImpl) {
      FImpl = new Impl;
      pixman_region32_init(&FImpl->Value);
    }
    Check(pixman_region32_copy(&FImpl->Value, &other.FImpl->Value));
  }
  return *this;
}

Region& Region::operator=(Region&& other) noexcept {
  if (this != &other) {
    if (FImpl) {
      pixman_region32_fini(&FImpl->Value);
      delete FImpl;
    }
    FImpl = other.FImpl;
    other.FImpl = nullptr;
  }
  return *this;
}

Region::~Region() {
  if (FImpl) {
    pixman_region32_fini(&FImpl->Value);
    delete FImpl;
  }
}

bool Region::IsEmpty() const { return !pixman_region32_not_empty(&FImpl->Value); }

Rect Region::Bounds() const {
  if (IsEmpty()) return Rect{};
  const pixman_box32_t* b = pixman_region32_extents(&FImpl->Value);
  return Rect{b->x1, b->y1, b->x2, b->y2};
}

std::vector<Rect> Region::Rects() const {
  int n = 0;
  const pixman_box32_t* boxes = pixman_region32_rectangles(&FImpl->Value, &n);
  std::vector<Rect> out;
  out.reserve(std::size_t(n));
  for (int i = 0; i < n; ++i) out.push_back(Rect{boxes[i].x1, boxes[i].y1, boxes[i].x2, boxes[i].y2});
  return out;
}

int Region::RectCount() const { return pixman_region32_n_rects(&FImpl->Value); }

bool Region::Contains(Point p) const {
  return pixman_region32_contains_point(&FImpl->Value, p.X, p.Y, nullptr);
}

bool Region::Intersects(const Rect& r) const {
  if (r.IsEmpty()) return false;
  pixman_box32_t box{r.Left, r.Top, r.Right, r.Bottom};
  return pixman_region32_contains_rectangle(&FImpl->Value, &box) != PIXMAN_REGION_OUT;
}

Region& Region::Unite(const Region& other) {
  Check(pixman_region32_union(&FImpl->Value, &FImpl->Value, &other.FImpl->Value));
  return *this;
}

Region& Region::Unite(const Rect& r) {
  if (!r.IsEmpty()) {
    Check(pixman_region32_union_rect(&FImpl->Value, &FImpl->Value, r.Left, r.Top,
                                     unsigned(r.Width()), unsigned(r.Height())));
  }
  return *this;
}

Region& Region::Intersect(const Region& other) {
  Check(pixman_region32_intersect(&FImpl->Value, &FImpl->Value, &other.FImpl->Value));
  return *this;
}

Region& Region::Intersect(const Rect& r) {
  if (r.IsEmpty()) {
    pixman_region32_clear(&FImpl->Value);
    return *this;
  }
  Check(pixman_region32_intersect_rect(&FImpl->Value, &FImpl->Value, r.Left, r.Top,
                                       unsigned(r.Width()), unsigned(r.Height())));
  return *this;
}

Region& Region::Subtract(const Region& other) {
  Check(pixman_region32_subtract(&FImpl->Value, &FImpl->Value, &other.FImpl->Value));
  return *this;
}

Region& Region::Subtract(const Rect& r) { return Subtract(Region(r)); }

Region& Region::Offset(int dx, int dy) {
  pixman_region32_translate(&FImpl->Value, dx, dy);
  return *this;
}

bool operator==(const Region& a, const Region& b) {
  if (a.IsEmpty() && b.IsEmpty()) return true;
  return pixman_region32_equal(&a.FImpl->Value, &b.FImpl->Value);
}

}  // namespace gfx
