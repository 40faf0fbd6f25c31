#include "gfx/Bitmap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/Error.h"

namespace gfx {
namespace {

// Every pixel of a picture differs, so that a pixel taken from the wrong
// place shows.
Bitmap Numbered(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, Pixel(0x010000 + y * 256 + x));
  }
  return b;
}

constexpr Pixel Guard = 0x00C0FFEE;
constexpr Pixel Paint = 0x00123456;

Bitmap Guarded(int width, int height) {
  Bitmap b(width, height);
  b.Fill(Guard);
  return b;
}

// The picture as text, a row per line, for readable failures.
std::string Dump(const Bitmap& b) {
  std::string s;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      char cell[16];
      std::snprintf(cell, sizeof cell, "%06x ", b.GetPixel(x, y));
      s += cell;
    }
    s += '\n';
  }
  return s;
}

TEST(Bitmap, SizesOutsideTheLimitsAreErrors) {
  EXPECT_THROW(Bitmap(-1, 5), Error);
  EXPECT_THROW(Bitmap(5, -1), Error);
  EXPECT_THROW(Bitmap(Bitmap::MaxSide + 1, 1), Error);
  EXPECT_NO_THROW(Bitmap(Bitmap::MaxSide, 1));
  Bitmap flat(0, 5);
  EXPECT_TRUE(flat.IsEmpty());
  EXPECT_EQ(flat.Dimensions(), (Size{0, 0}));
  Bitmap b(3, 2);
  EXPECT_EQ(b.GetPixel(2, 1), 0u);  // new pictures are black
  EXPECT_EQ(b.SourceBits(), 32);
}

TEST(Bitmap, FillRectIsClippedToThePicture) {
  Bitmap b = Guarded(6, 5);
  b.FillRect(Rect{-2, 1, 3, 3}, Paint);
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      bool inside = x < 3 && y >= 1 && y < 3;
      ASSERT_EQ(b.GetPixel(x, y), inside ? Paint : Guard) << x << "," << y << "\n" << Dump(b);
    }
  }
  Bitmap untouched = Guarded(6, 5);
  b = untouched;
  b.FillRect(Rect{4, 4, 2, 2}, Paint);  // inverted
  b.FillRect(Rect{6, 0, 9, 5}, Paint);  // beside the picture
  EXPECT_TRUE(b.SamePixels(untouched));
}

TEST(Bitmap, CropIsClippedAndKeepsTheSourceFormat) {
  Bitmap b = Numbered(5, 4);
  b.SetSourceBits(8);
  b.SetSourcePalette({1, 2, 3});
  Bitmap c = b.Crop(Rect{3, -1, 9, 2});
  ASSERT_EQ(c.Dimensions(), (Size{2, 2}));
  EXPECT_EQ(c.GetPixel(0, 0), b.GetPixel(3, 0));
  EXPECT_EQ(c.GetPixel(1, 1), b.GetPixel(4, 1));
  EXPECT_EQ(c.SourceBits(), 8);
  EXPECT_EQ(c.SourcePalette(), b.SourcePalette());
}

// CopyRect against the rule it promises, for source and destination
// rectangles that cross every edge: each destination pixel inside dst whose
// source pixel lies in both srcRect and src is copied; all others keep
// their guard colour.
TEST(CopyRect, ClipsBothSidesAtEveryEdge) {
  const Bitmap src = Numbered(5, 4);
  const std::vector<Rect> sourceRects = {
      {0, 0, 5, 4}, {-2, -1, 3, 2}, {3, 2, 8, 7}, {1, 1, 4, 3}, {-3, -3, 9, 9}, {2, 2, 2, 3}};
  for (const Rect& srcRect : sourceRects) {
    for (int dy = -5; dy <= 6; ++dy) {
      for (int dx = -6; dx <= 7; ++dx) {
        Bitmap dst = Guarded(6, 5);
        CopyRect(dst, Point{dx, dy}, src, srcRect);
        for (int y = 0; y < dst.Height(); ++y) {
          for (int x = 0; x < dst.Width(); ++x) {
            Point s{x - dx + srcRect.Left, y - dy + srcRect.Top};
            Pixel expected = srcRect.Contains(s) && src.Bounds().Contains(s)
                                 ? src.GetPixel(s.X, s.Y)
                                 : Guard;
            ASSERT_EQ(dst.GetPixel(x, y), expected)
                << "rect " << srcRect.Left << "," << srcRect.Top << "," << srcRect.Right << ","
                << srcRect.Bottom << " to " << dx << "," << dy << "\n"
                << Dump(dst);
          }
        }
      }
    }
  }
}

TEST(CopyRect, OverlappingCopyWithinOnePicture) {
  Bitmap b = Numbered(5, 3);
  const Bitmap before = b;
  CopyRect(b, Point{1, 1}, b, Rect{0, 0, 4, 2});
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      Pixel expected = x >= 1 && y >= 1 ? before.GetPixel(x - 1, y - 1) : before.GetPixel(x, y);
      EXPECT_EQ(b.GetPixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(StretchRect, DoublingRepeatsEachPixel) {
  const Bitmap src = Numbered(2, 2);
  Bitmap dst = Guarded(6, 6);
  StretchRect(dst, Rect{1, 1, 5, 5}, src, Rect{0, 0, 2, 2});
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      bool inside = x >= 1 && x < 5 && y >= 1 && y < 5;
      Pixel expected = inside ? src.GetPixel((x - 1) / 2, (y - 1) / 2) : Guard;
      ASSERT_EQ(dst.GetPixel(x, y), expected) << x << "," << y << "\n" << Dump(dst);
    }
  }
}

TEST(StretchRect, ShrinkingTakesThePixelUnderEachCentre) {
  // 4 -> 2 takes columns 1 and 3; 3 -> 2 takes 0 and 2; 5 -> 3 takes 0, 2, 4.
  const Bitmap src = Numbered(5, 4);
  Bitmap dst = Guarded(3, 2);
  StretchRect(dst, Rect{0, 0, 2, 2}, src, Rect{0, 0, 4, 4});
  EXPECT_EQ(dst.GetPixel(0, 0), src.GetPixel(1, 1));
  EXPECT_EQ(dst.GetPixel(1, 0), src.GetPixel(3, 1));
  EXPECT_EQ(dst.GetPixel(0, 1), src.GetPixel(1, 3));
  EXPECT_EQ(dst.GetPixel(1, 1), src.GetPixel(3, 3));
  EXPECT_EQ(dst.GetPixel(2, 0), Guard);

  dst = Guarded(3, 2);
  StretchRect(dst, Rect{0, 0, 2, 1}, src, Rect{0, 0, 3, 1});
  EXPECT_EQ(dst.GetPixel(0, 0), src.GetPixel(0, 0));
  EXPECT_EQ(dst.GetPixel(1, 0), src.GetPixel(2, 0));
  EXPECT_EQ(dst.GetPixel(0, 1), Guard);

  dst = Guarded(3, 2);
  StretchRect(dst, Rect{0, 1, 3, 2}, src, Rect{0, 2, 5, 3});
  EXPECT_EQ(dst.GetPixel(0, 1), src.GetPixel(0, 2));
  EXPECT_EQ(dst.GetPixel(1, 1), src.GetPixel(2, 2));
  EXPECT_EQ(dst.GetPixel(2, 1), src.GetPixel(4, 2));
}

TEST(StretchRect, OnlyPixelsInsideTheClipAndThePictureAreWritten) {
  const Bitmap src = Numbered(2, 2);
  Bitmap dst = Guarded(6, 6);
  // Doubled onto (-1, -1)-(3, 3), clipped to (1, 0)-(6, 2).
  StretchRect(dst, Rect{-1, -1, 3, 3}, src, Rect{0, 0, 2, 2}, Rect{1, 0, 6, 2});
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 6; ++x) {
      bool inside = x >= 1 && x < 3 && y < 2;
      Pixel expected = inside ? src.GetPixel((x + 1) / 2, (y + 1) / 2) : Guard;
      ASSERT_EQ(dst.GetPixel(x, y), expected) << x << "," << y << "\n" << Dump(dst);
    }
  }

  // Same size takes the plain copy path; the clip still holds.
  dst = Guarded(6, 6);
  StretchRect(dst, Rect{0, 0, 2, 2}, src, Rect{0, 0, 2, 2}, Rect{1, 1, 6, 6});
  EXPECT_EQ(dst.GetPixel(0, 0), Guard);
  EXPECT_EQ(dst.GetPixel(1, 0), Guard);
  EXPECT_EQ(dst.GetPixel(1, 1), src.GetPixel(1, 1));
}

TEST(StretchRect, SourcePixelsOutsideTheSourcePictureLeaveTheDestinationAlone) {
  const Bitmap src = Numbered(2, 2);
  Bitmap dst = Guarded(4, 4);
  // The source rectangle is twice the picture: its right and bottom halves
  // have no pixels.
  StretchRect(dst, Rect{0, 0, 2, 2}, src, Rect{0, 0, 4, 4});
  EXPECT_EQ(dst.GetPixel(0, 0), src.GetPixel(1, 1));
  EXPECT_EQ(dst.GetPixel(1, 0), Guard);
  EXPECT_EQ(dst.GetPixel(0, 1), Guard);
  EXPECT_EQ(dst.GetPixel(1, 1), Guard);
}

TEST(StretchRect, EmptyOrInvertedRectanglesDrawNothing) {
  const Bitmap src = Numbered(2, 2);
  const Bitmap untouched = Guarded(4, 4);
  for (const auto& [dstRect, srcRect] : std::vector<std::pair<Rect, Rect>>{
           {{0, 0, 0, 3}, {0, 0, 2, 2}},
           {{3, 3, 0, 0}, {0, 0, 2, 2}},
           {{0, 0, 4, 4}, {2, 2, 0, 0}},
           {{0, 0, 4, 4}, {0, 1, 2, 1}},
       }) {
    Bitmap dst = untouched;
    StretchRect(dst, dstRect, src, srcRect);
    EXPECT_TRUE(dst.SamePixels(untouched)) << Dump(dst);
  }
}

TEST(StretchRect, WithinOnePictureReadsTheOriginalPixels) {
  Bitmap b = Numbered(4, 2);
  const Bitmap before = b;
  // Doubles the left half over the whole width: a copy that read pixels it
  // had already written would smear column 0.
  StretchRect(b, Rect{0, 0, 4, 2}, b, Rect{0, 0, 2, 2});
  for (int x = 0; x < 4; ++x) EXPECT_EQ(b.GetPixel(x, 0), before.GetPixel(x / 2, 0)) << x;
}

}  // namespace
}  // namespace gfx
