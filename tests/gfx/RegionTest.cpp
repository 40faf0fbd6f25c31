#include "gfx/Region.h"

#include <gtest/gtest.h>

namespace gfx {
namespace {

TEST(Region, EmptyRectanglesAddNothing) {
  Region r(Rect{5, 5, 5, 9});
  EXPECT_TRUE(r.IsEmpty());
  EXPECT_EQ(r.Bounds(), Rect{});
  r.Unite(Rect{3, 3, 2, 8});
  EXPECT_TRUE(r.IsEmpty());
  EXPECT_EQ(r, Region());
}

TEST(Region, ContainsExcludesRightAndBottomEdges) {
  Region r(Rect{2, 3, 5, 7});
  EXPECT_TRUE(r.Contains({2, 3}));
  EXPECT_TRUE(r.Contains({4, 6}));
  EXPECT_FALSE(r.Contains({5, 6}));
  EXPECT_FALSE(r.Contains({4, 7}));
  EXPECT_FALSE(r.Contains({1, 3}));
}

TEST(Region, SetOperationsGiveTheExpectedPixels) {
  Region a(Rect{0, 0, 10, 10});
  Region b(Rect{5, 5, 15, 15});

  Region u = a;
  u.Unite(b);
  EXPECT_EQ(u.Bounds(), (Rect{0, 0, 15, 15}));
  EXPECT_TRUE(u.Contains({12, 12}));
  EXPECT_FALSE(u.Contains({12, 2}));

  Region i = a;
  i.Intersect(b);
  EXPECT_EQ(i, Region(Rect{5, 5, 10, 10}));

  Region s = a;
  s.Subtract(b);
  EXPECT_TRUE(s.Contains({9, 4}));
  EXPECT_FALSE(s.Contains({5, 5}));
  EXPECT_EQ(s.Rects().size(), 2u);  // a band above and an L-leg beside

  Region none = a;
  none.Intersect(Rect{20, 20, 30, 30});
  EXPECT_TRUE(none.IsEmpty());
  none.Intersect(Rect{});
  EXPECT_TRUE(none.IsEmpty());
}

TEST(Region, BuiltFromRectanglesEqualsTheSameUnion) {
  // Runs of a mask, one row each: the banded form merges rows of equal runs.
  std::vector<Rect> runs{{0, 0, 1, 1}, {2, 0, 3, 1}, {0, 1, 1, 2}, {2, 1, 3, 2}};
  Region fromList = Region::FromRects(runs);
  Region united;
  for (const Rect& r : runs) united.Unite(r);
  EXPECT_EQ(fromList, united);
  EXPECT_EQ(fromList.RectCount(), 2);
  EXPECT_FALSE(fromList.Contains({1, 0}));
}

TEST(Region, OffsetMovesEveryRectangle) {
  Region r = Region::FromRects({{0, 0, 2, 2}, {4, 0, 6, 2}});
  r.Offset(10, -1);
  EXPECT_EQ(r.Bounds(), (Rect{10, -1, 16, 1}));
  EXPECT_TRUE(r.Contains({14, 0}));
  EXPECT_FALSE(r.Contains({12, 0}));
}

TEST(Region, IntersectsTellsWhetherAnyPixelIsShared) {
  Region r = Region::FromRects({{0, 0, 2, 2}, {4, 0, 6, 2}});
  EXPECT_TRUE(r.Intersects(Rect{1, 1, 3, 3}));
  EXPECT_FALSE(r.Intersects(Rect{2, 0, 4, 2}));  // the gap between the two
  EXPECT_FALSE(r.Intersects(Rect{}));
}

TEST(Region, CopiesAreIndependent) {
  Region a(Rect{0, 0, 4, 4});
  Region b = a;
  b.Subtract(Rect{0, 0, 2, 2});
  EXPECT_TRUE(a.Contains({0, 0}));
  EXPECT_FALSE(b.Contains({0, 0}));
  Region c;
  c = std::move(b);
  EXPECT_FALSE(c.Contains({0, 0}));
  EXPECT_TRUE(c.Contains({3, 3}));
}

}  // namespace
}  // namespace gfx
