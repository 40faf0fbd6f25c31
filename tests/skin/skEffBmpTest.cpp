// TskEffectBmp: layout, morphs, effects and rotations, against pixels
// computed by hand.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Error.h"
#include "skin/data/SkinUtils.Readers.h"
#include "skin/data/skEffBmp.h"

namespace skin {
namespace {

// A picture whose every channel of every pixel is value.
TskEffectBmp Uniform(int width, int height, std::uint8_t value) {
  TskEffectBmp b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, gfx::MakePixel(value, value, value));
  }
  return b;
}

// A picture whose pixel (x, y) is (red x, green y, blue tag).
TskEffectBmp Coded(int width, int height, std::uint8_t tag) {
  TskEffectBmp b(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      b.SetPixel(x, y, gfx::MakePixel(std::uint8_t(x), std::uint8_t(y), tag));
  }
  return b;
}

// The blue channel of row y.
std::vector<int> BlueRow(const TskEffectBmp& b, int y) {
  std::vector<int> out;
  for (int x = 0; x < b.Width(); ++x) out.push_back(gfx::PixelBlue(b.GetPixel(x, y)));
  return out;
}

std::vector<int> BlueColumn(const TskEffectBmp& b, int x) {
  std::vector<int> out;
  for (int y = 0; y < b.Height(); ++y) out.push_back(gfx::PixelBlue(b.GetPixel(x, y)));
  return out;
}

// Which picture (by tag) and column each pixel of row 0 came from.
std::vector<std::pair<int, int>> Origins(const TskEffectBmp& b) {
  std::vector<std::pair<int, int>> out;
  for (int x = 0; x < b.Width(); ++x) {
    const gfx::Pixel p = b.GetPixel(x, 0);
    out.emplace_back(gfx::PixelBlue(p), gfx::PixelRed(p));
  }
  return out;
}

bool SamePixels(const TskEffectBmp& a, const TskEffectBmp& b) {
  return a.ToBitmap().SamePixels(b.ToBitmap());
}

// Rounding of the exact quotient, halves to even.
int RoundedQuotient(int numerator, int denominator) {
  const int q = numerator / denominator, r = numerator % denominator;
  if (2 * r > denominator || (2 * r == denominator && q % 2 == 1)) return q + 1;
  return q;
}

TEST(TskEffectBmpLayout, RowsArePaddedToFourBytes) {
  for (const auto& [width, rowLength] :
       {std::pair{1, 4}, std::pair{2, 8}, std::pair{3, 12}, std::pair{4, 12}, std::pair{5, 16},
        std::pair{700, 2100}}) {
    const TskEffectBmp b(width, 3);
    EXPECT_EQ(b.RowLength(), rowLength) << width;
    EXPECT_EQ(b.Size(), std::size_t(rowLength) * 3);
  }
  EXPECT_THROW(TskEffectBmp(-1, 2), gfx::Error);
  EXPECT_EQ(TskEffectBmp().Size(), 0u);
  const TskEffectBmp flat(0, 5);
  EXPECT_EQ(flat.Height(), 0);
  std::vector<std::uint8_t> row(3);
  flat.GetRow(0, row);
}

TEST(TskEffectBmpLayout, BitmapRoundTripAndPixelAccess) {
  gfx::Bitmap picture(5, 2);
  picture.SetPixel(0, 0, 0x123456);
  picture.SetPixel(4, 1, 0xABCDEF);
  const TskEffectBmp b = TskEffectBmp::CreateFromBitmap(picture);
  EXPECT_EQ(b.RowPointer(0)[0], 0x56);  // blue first
  EXPECT_EQ(b.RowPointer(0)[2], 0x12);
  EXPECT_EQ(b.GetPixel(4, 1), 0xABCDEFu);
  EXPECT_EQ(b.GetPixel(5, 1), 0u);
  EXPECT_TRUE(b.ToBitmap().SamePixels(picture));

  gfx::Bitmap target(4, 4);
  target.Fill(0x777777);
  b.Draw(target, 2, 3);
  EXPECT_EQ(target.GetPixel(2, 3), 0x123456u);
  EXPECT_EQ(target.GetPixel(1, 3), 0x777777u);  // guard left of it
  EXPECT_EQ(target.GetPixel(2, 2), 0x777777u);  // guard above it

  TskEffectBmp c(5, 2);
  std::vector<std::uint8_t> row(15);
  b.GetRow(1, row);
  EXPECT_EQ(row[12], 0xEF);
  c.SetRow(0, row);
  EXPECT_EQ(c.GetPixel(4, 0), 0xABCDEFu);
  c.SetPixel(-1, 0, 0xFFFFFF);  // ignored
}

TEST(TskEffectBmpMorph, EndsAndHalfway) {
  TskEffectBmp own(3, 1), other(3, 1);
  own.SetPixel(0, 0, gfx::MakePixel(0, 1, 3));
  other.SetPixel(0, 0, gfx::MakePixel(255, 2, 4));
  own.SetPixel(1, 0, gfx::MakePixel(10, 20, 30));
  other.SetPixel(1, 0, gfx::MakePixel(10, 21, 33));

  TskEffectBmp a = own;
  a.Morph(other, 0.0);
  EXPECT_TRUE(SamePixels(a, own));
  a.Morph(other, 1.0);
  EXPECT_TRUE(SamePixels(a, other));
  a = own;
  a.Morph(other, 0.5);
  // 127.5 -> 128, 1.5 -> 2, 3.5 -> 4, 20.5 -> 20, 31.5 -> 32.
  EXPECT_EQ(a.GetPixel(0, 0), gfx::MakePixel(128, 2, 4));
  EXPECT_EQ(a.GetPixel(1, 0), gfx::MakePixel(10, 20, 32));
  // Factors outside 0..1 are clamped.
  a = own;
  a.Morph(other, 7.0);
  EXPECT_TRUE(SamePixels(a, other));
  a.Morph(own, -3.0);
  EXPECT_TRUE(SamePixels(a, other));
}

TEST(TskEffectBmpMorph, EveryPairOfChannelValuesAtMultiplesOf256ths) {
  // 256 x 256 pixels: own value x, other value y, in all three channels;
  // rows long enough for the block loop and its tail.
  TskEffectBmp own(256, 256), other(256, 256);
  for (int y = 0; y < 256; ++y) {
    for (int x = 0; x < 256; ++x) {
      own.SetPixel(x, y, gfx::MakePixel(std::uint8_t(x), std::uint8_t(x), std::uint8_t(x)));
      other.SetPixel(x, y, gfx::MakePixel(std::uint8_t(y), std::uint8_t(y), std::uint8_t(y)));
    }
  }
  for (int m : {1, 64, 128, 192, 255}) {
    TskEffectBmp a = own;
    a.Morph(other, m / 256.0);
    for (int y = 0; y < 256; ++y) {
      for (int x = 0; x < 256; ++x) {
        const int expected = RoundedQuotient((256 - m) * x + m * y, 256);
        ASSERT_EQ(a.GetPixel(x, y), gfx::MakePixel(std::uint8_t(expected), std::uint8_t(expected),
                                                   std::uint8_t(expected)))
            << "m " << m << " own " << x << " other " << y;
      }
    }
  }
}

TEST(TskEffectBmpMorph, OtherFactorsRoundTheExactValue) {
  // The double nearest 0.1 is slightly above a tenth: 0 towards 5 is just
  // above 0.5 and rounds up. The double nearest 0.3 is slightly below:
  // 0 towards 5 is just below 1.5 and rounds down.
  TskEffectBmp own(1, 1), other(1, 1);
  other.SetPixel(0, 0, gfx::MakePixel(5, 10, 255));
  TskEffectBmp a = own;
  a.Morph(other, 0.1);
  EXPECT_EQ(a.GetPixel(0, 0), gfx::MakePixel(1, 1, 26));  // 0.5+, 1.0, 25.5+
  a = own;
  a.Morph(other, 0.3);
  EXPECT_EQ(a.GetPixel(0, 0), gfx::MakePixel(1, 3, 76));  // 1.5-, 3.0-, 76.5-
  // Blending down: 255 towards 0 at 1/3 is 170.
  TskEffectBmp white = Uniform(1, 1, 255);
  white.Morph(own, 1.0 / 3.0);
  EXPECT_EQ(white.GetPixel(0, 0), 0xAAAAAAu);
}

TEST(TskEffectBmpMorph, PaddingIsLeftAlone) {
  TskEffectBmp own = Uniform(5, 2, 10), other = Uniform(5, 2, 200);
  own.RowPointer(0)[15] = 0xAA;  // the padding byte of row 0
  own.Morph(other, 0.5);
  EXPECT_EQ(own.RowPointer(0)[15], 0xAA);
  EXPECT_EQ(own.GetPixel(4, 1), 0x696969u);  // 105
}

TEST(TskEffectBmpMorph, APictureOfAnotherSizeChangesNothing) {
  const TskEffectBmp original = Coded(8, 4, 1);
  const TskEffectBmp other = Uniform(8, 5, 200);
  using MorphFunction = void (TskEffectBmp::*)(const TskEffectBmp&, double);
  for (MorphFunction f :
       {&TskEffectBmp::Morph, &TskEffectBmp::GradientMorph, &TskEffectBmp::LeftGradientMorph,
        &TskEffectBmp::RightGradientMorph, &TskEffectBmp::LeftSlide, &TskEffectBmp::RightSlide,
        &TskEffectBmp::Push}) {
    TskEffectBmp a = original;
    (a.*f)(other, 0.5);
    EXPECT_TRUE(SamePixels(a, original));
  }
  TskEffectBmp a = original;
  a.MorphRect(other, TRect{0, 0, 8, 4}, 0, 0, 0.5);
  EXPECT_TRUE(SamePixels(a, original));
}

TEST(TskEffectBmpMorph, MorphRectBlendsWithAnOffsetAndClips) {
  TskEffectBmp own = Uniform(6, 4, 0);
  const TskEffectBmp other = Coded(6, 4, 100);
  // Rectangle columns 1..2, rows 1..2, from B's row 2, column 4.
  own.MorphRect(other, TRect{1, 1, 3, 3}, 2, 4, 1.0);
  EXPECT_EQ(own.GetPixel(1, 1), gfx::MakePixel(4, 2, 100));
  EXPECT_EQ(own.GetPixel(2, 1), gfx::MakePixel(5, 2, 100));
  EXPECT_EQ(own.GetPixel(1, 2), gfx::MakePixel(4, 3, 100));
  EXPECT_EQ(own.GetPixel(0, 1), 0u);
  EXPECT_EQ(own.GetPixel(3, 1), 0u);
  EXPECT_EQ(own.GetPixel(1, 3), 0u);
  TskEffectBmp clipped = Uniform(6, 4, 0);
  // From B's column 5: own column 5 would meet B's column 6, outside B,
  // and stays as it is.
  clipped.MorphRect(other, TRect{4, 2, 99, 99}, 0, 5, 1.0);
  EXPECT_EQ(clipped.GetPixel(4, 2), gfx::MakePixel(5, 0, 100));
  EXPECT_EQ(clipped.GetPixel(5, 2), 0u);
  EXPECT_EQ(clipped.GetPixel(4, 3), gfx::MakePixel(5, 1, 100));
}

// The fading morphs over an 8 x 1 picture of 0 towards B of 200.
class FadingMorph : public ::testing::Test {
 protected:
  using MorphFunction = void (TskEffectBmp::*)(const TskEffectBmp&, double);
  std::vector<int> Run(MorphFunction f, double k, int width = 8, int height = 1) {
    TskEffectBmp own = Uniform(width, height, 0);
    (own.*f)(Uniform(width, height, 200), k);
    return width >= height ? BlueRow(own, 0) : BlueColumn(own, 0);
  }
};

TEST_F(FadingMorph, GradientAcrossTheWidth) {
  // k = 0: a band of one column in the middle, ramps of 4 columns.
  EXPECT_EQ(Run(&TskEffectBmp::GradientMorph, 0.0),
            (std::vector<int>{0, 50, 100, 150, 200, 150, 100, 50}));
  EXPECT_EQ(Run(&TskEffectBmp::GradientMorph, 0.5),
            (std::vector<int>{0, 100, 200, 200, 200, 200, 200, 100}));
  EXPECT_EQ(Run(&TskEffectBmp::GradientMorph, 1.0), std::vector<int>(8, 200));
}

TEST_F(FadingMorph, GradientAlongATallPicture) {
  // Ramps of (8 - 1 - 0) div 2 = 3 rows: 200 * 2/3 = 133.3, 200 / 3 = 66.7.
  EXPECT_EQ(Run(&TskEffectBmp::GradientMorph, 0.0, 1, 8),
            (std::vector<int>{0, 0, 67, 133, 200, 133, 67, 0}));
  // A ramp of no length is all B.
  EXPECT_EQ(Run(&TskEffectBmp::GradientMorph, 0.75, 1, 8), std::vector<int>(8, 200));
  EXPECT_EQ(Run(&TskEffectBmp::GradientMorph, 1.0, 1, 8), std::vector<int>(8, 200));
}

TEST_F(FadingMorph, LeftAndRightGradients) {
  EXPECT_EQ(Run(&TskEffectBmp::LeftGradientMorph, 0.0),
            (std::vector<int>{200, 0, 0, 0, 0, 0, 0, 0}));
  // a = 7: 200 * (7 - x) / 7.
  EXPECT_EQ(Run(&TskEffectBmp::LeftGradientMorph, 1.0),
            (std::vector<int>{200, 171, 143, 114, 86, 57, 29, 0}));
  EXPECT_EQ(Run(&TskEffectBmp::RightGradientMorph, 0.0),
            (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 200}));
  EXPECT_EQ(Run(&TskEffectBmp::RightGradientMorph, 1.0),
            (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200}));
  // A picture one pixel wide has no room for either.
  EXPECT_EQ(Run(&TskEffectBmp::LeftGradientMorph, 0.5, 1, 1), (std::vector<int>{0}));
}

// Slides and push over 8 columns: own pixels are (tag 1, column), B's
// (tag 2, column).
class SlidingMorph : public ::testing::Test {
 protected:
  using MorphFunction = void (TskEffectBmp::*)(const TskEffectBmp&, double);
  std::vector<std::pair<int, int>> Run(MorphFunction f, double k) {
    TskEffectBmp own = Coded(8, 2, 1);
    (own.*f)(Coded(8, 2, 2), k);
    return Origins(own);
  }
  static std::vector<std::pair<int, int>> Columns(std::initializer_list<std::pair<int, int>> list) {
    return list;
  }
};

TEST_F(SlidingMorph, LeftSlideBringsInTheRightPartOfB) {
  EXPECT_EQ(Run(&TskEffectBmp::LeftSlide, 0.0),
            Columns({{2, 7}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}}));
  EXPECT_EQ(Run(&TskEffectBmp::LeftSlide, 0.5),
            Columns({{2, 4}, {2, 5}, {2, 6}, {2, 7}, {1, 4}, {1, 5}, {1, 6}, {1, 7}}));
  EXPECT_EQ(Run(&TskEffectBmp::LeftSlide, 1.0),
            Columns({{2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}, {2, 7}, {1, 7}}));
}

TEST_F(SlidingMorph, RightSlideBringsInTheLeftPartOfB) {
  EXPECT_EQ(Run(&TskEffectBmp::RightSlide, 0.0),
            Columns({{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {2, 0}}));
  EXPECT_EQ(Run(&TskEffectBmp::RightSlide, 0.5),
            Columns({{1, 0}, {1, 1}, {1, 2}, {1, 3}, {2, 0}, {2, 1}, {2, 2}, {2, 3}}));
  EXPECT_EQ(Run(&TskEffectBmp::RightSlide, 1.0),
            Columns({{1, 0}, {2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}}));
}

TEST_F(SlidingMorph, PushShiftsTheOwnPictureRight) {
  EXPECT_EQ(Run(&TskEffectBmp::Push, 0.0),
            Columns({{2, 7}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}}));
  EXPECT_EQ(Run(&TskEffectBmp::Push, 0.5),
            Columns({{2, 3}, {2, 4}, {2, 5}, {2, 6}, {2, 7}, {1, 0}, {1, 1}, {1, 2}}));
  EXPECT_EQ(Run(&TskEffectBmp::Push, 1.0),
            Columns({{2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}, {2, 7}}));
}

TEST_F(SlidingMorph, APictureMorphedWithItselfStaysWhole) {
  for (MorphFunction f : {&TskEffectBmp::Morph, &TskEffectBmp::LeftSlide, &TskEffectBmp::RightSlide,
                          &TskEffectBmp::Push}) {
    TskEffectBmp own = Coded(8, 2, 1);
    (own.*f)(own, 0.5);
    EXPECT_EQ(own.GetPixel(0, 1) >> 8 & 0xFF, 1u);  // row 1 stays row 1
  }
  TskEffectBmp own = Coded(8, 2, 1);
  own.Push(own, 0.5);
  EXPECT_EQ(Origins(own),
            Columns({{1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}, {1, 0}, {1, 1}, {1, 2}}));
}

TEST(TskEffectBmpEffects, BrightnessAndDarkness) {
  TskEffectBmp b(2, 1);
  b.SetPixel(0, 0, gfx::MakePixel(0, 255, 100));
  b.SetPixel(1, 0, gfx::MakePixel(1, 3, 254));
  TskEffectBmp bright = b;
  bright.Brightness(0.5);
  // 127.5 -> 128; 255; 177.5 -> 178; 128; 129; 254.5 -> 254.
  EXPECT_EQ(bright.GetPixel(0, 0), gfx::MakePixel(128, 255, 178));
  EXPECT_EQ(bright.GetPixel(1, 0), gfx::MakePixel(128, 129, 254));
  TskEffectBmp dark = b;
  dark.Darkness(1.0);
  EXPECT_EQ(dark.GetPixel(0, 0), 0u);
  EXPECT_EQ(dark.GetPixel(1, 0), 0u);
  dark = b;
  dark.Darkness(0.3);  // 0.7 c, from just above 0.7: 178.5+ -> 179, 70.0+ -> 70
  EXPECT_EQ(dark.GetPixel(0, 0), gfx::MakePixel(0, 179, 70));
  dark = b;
  dark.Darkness(-1.0);  // clamped to 0
  EXPECT_TRUE(SamePixels(dark, b));
}

TEST(TskEffectBmpEffects, GrayScaleAndInvert) {
  TskEffectBmp b(4, 1);
  b.SetPixel(0, 0, 0xFFFFFF);
  b.SetPixel(1, 0, gfx::MakePixel(0, 0, 255));  // pure blue: 28.05
  b.SetPixel(2, 0, gfx::MakePixel(255, 0, 0));  // pure red: 76.5 -> 76
  b.SetPixel(3, 0, gfx::MakePixel(0, 255, 0));  // pure green: 150.45
  TskEffectBmp gray = b;
  gray.GrayScale();
  EXPECT_EQ(gray.GetPixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(gray.GetPixel(1, 0), 0x1C1C1Cu);
  EXPECT_EQ(gray.GetPixel(2, 0), 0x4C4C4Cu);
  EXPECT_EQ(gray.GetPixel(3, 0), 0x969696u);
  b.Invert();
  EXPECT_EQ(b.GetPixel(0, 0), 0u);
  EXPECT_EQ(b.GetPixel(1, 0), gfx::MakePixel(255, 255, 0));
}

TEST(TskEffectBmpEffects, NoiseIsRepeatableBoundedAndClamped) {
  TskEffectBmp a = Uniform(40, 10, 128), b = Uniform(40, 10, 128);
  a.SetSeed(7);
  b.SetSeed(7);
  a.AddNoise(50);
  b.AddNoise(50);
  EXPECT_TRUE(SamePixels(a, b));
  int low = 255, high = 0;
  for (int y = 0; y < 10; ++y) {
    for (int x = 0; x < 40; ++x) {
      const gfx::Pixel p = a.GetPixel(x, y);
      // The same number is added to all three channels.
      ASSERT_EQ(gfx::PixelRed(p), gfx::PixelBlue(p));
      ASSERT_EQ(gfx::PixelGreen(p), gfx::PixelBlue(p));
      low = std::min(low, int(gfx::PixelBlue(p)));
      high = std::max(high, int(gfx::PixelBlue(p)));
    }
  }
  EXPECT_GE(low, 128 - 25);
  EXPECT_LE(high, 128 + 24);
  EXPECT_LT(low, 128 - 15);  // 400 draws reach well into the range
  EXPECT_GT(high, 128 + 15);
  TskEffectBmp c = Uniform(40, 10, 128);
  c.SetSeed(8);
  c.AddNoise(50);
  EXPECT_FALSE(SamePixels(a, c));

  TskEffectBmp black = Uniform(40, 10, 0);
  black.AddNoise(50);
  for (int x = 0; x < 40; ++x) ASSERT_LE(gfx::PixelBlue(black.GetPixel(x, 0)), 24);
  TskEffectBmp same = Uniform(3, 3, 9);
  same.AddNoise(1);  // the only number is 0
  same.AddNoise(0);
  same.AddNoise(-5);
  EXPECT_TRUE(SamePixels(same, Uniform(3, 3, 9)));
}

TEST(TskEffectBmpEffects, SplitBlurWorksInPlaceRowByRow) {
  // One 64 in the middle of a 3 x 3 picture; each row is computed from the
  // picture as it stands, so the second row sees the blurred first row,
  // and rows past the bottom edge are replaced by height - y.
  TskEffectBmp b = Uniform(3, 3, 0);
  b.SetPixel(1, 1, 0x404040);
  b.SplitBlur(1);
  EXPECT_EQ(BlueRow(b, 0), (std::vector<int>{16, 0, 32}));
  EXPECT_EQ(BlueRow(b, 1), (std::vector<int>{4, 12, 0}));
  EXPECT_EQ(BlueRow(b, 2), (std::vector<int>{8, 2, 12}));
  TskEffectBmp unchanged = Uniform(3, 3, 0);
  unchanged.SetPixel(1, 1, 0x404040);
  const TskEffectBmp before = unchanged;
  unchanged.SplitBlur(0);
  EXPECT_TRUE(SamePixels(unchanged, before));
}

TEST(TskEffectBmpEffects, SplitBlurWithAnAmountBeyondThePictureStaysInside) {
  // 2 x 2 with values 0 40 / 80 120: every far partner is the last row or
  // column.
  TskEffectBmp b(2, 2);
  b.SetPixel(0, 0, 0x000000);
  b.SetPixel(1, 0, 0x282828);
  b.SetPixel(0, 1, 0x505050);
  b.SetPixel(1, 1, 0x787878);
  b.SplitBlur(5);
  EXPECT_EQ(BlueRow(b, 0), (std::vector<int>{60, 80}));
  EXPECT_EQ(BlueRow(b, 1), (std::vector<int>{100, 120}));
  for (int amount : {3, 4, 1000, 2147483647}) {
    TskEffectBmp big = Coded(4, 3, 5);
    big.SplitBlur(amount);  // no read outside (checked by the sanitizers)
  }
  TskEffectBmp one = Uniform(1, 1, 77);
  one.SplitBlur(1);
  EXPECT_EQ(one.GetPixel(0, 0), 0x4D4D4Du);
}

TEST(TskEffectBmpRotation, QuarterTurnsAndFlip) {
  // a b c / d e f, coded by column in red and row in green.
  const TskEffectBmp b = Coded(3, 2, 9);
  TskEffectBmp turned;
  b.RotateClockwise(turned);
  ASSERT_EQ(turned.Width(), 2);
  ASSERT_EQ(turned.Height(), 3);
  // d a / e b / f c
  EXPECT_EQ(turned.GetPixel(0, 0), b.GetPixel(0, 1));
  EXPECT_EQ(turned.GetPixel(1, 0), b.GetPixel(0, 0));
  EXPECT_EQ(turned.GetPixel(0, 2), b.GetPixel(2, 1));
  b.RotateCounterClockwise(turned);
  // c f / b e / a d
  EXPECT_EQ(turned.GetPixel(0, 0), b.GetPixel(2, 0));
  EXPECT_EQ(turned.GetPixel(1, 0), b.GetPixel(2, 1));
  EXPECT_EQ(turned.GetPixel(0, 2), b.GetPixel(0, 0));
  TskEffectBmp flipped;
  b.FlipVertical(flipped);
  EXPECT_EQ(flipped.GetPixel(2, 0), b.GetPixel(2, 1));
}

TEST(TskEffectBmpRotation, ThereAndBackIsIdentityEvenInPlace) {
  const TskEffectBmp original = Coded(5, 3, 4);  // padded rows both ways
  TskEffectBmp b = original;
  b.RotateClockwise(b);
  EXPECT_EQ(b.Width(), 3);
  b.RotateCounterClockwise(b);
  EXPECT_TRUE(SamePixels(b, original));
  b.FlipVertical(b);
  EXPECT_FALSE(SamePixels(b, original));
  b.FlipVertical(b);
  EXPECT_TRUE(SamePixels(b, original));
  TskEffectBmp four = original;
  for (int i = 0; i < 4; ++i) four.RotateClockwise(four);
  EXPECT_TRUE(SamePixels(four, original));
}

TEST(TskEffectBmpSkinWords, MorphKindsAndInactiveEffectsSelectTheirOperations) {
  using MorphFunction = void (TskEffectBmp::*)(const TskEffectBmp&, double);
  const std::pair<TskMorphKind, MorphFunction> morphs[] = {
      {TskMorphKind::mkDefault, &TskEffectBmp::Morph},
      {TskMorphKind::mkGradient, &TskEffectBmp::GradientMorph},
      {TskMorphKind::mkLeftGradient, &TskEffectBmp::LeftGradientMorph},
      {TskMorphKind::mkRightGradient, &TskEffectBmp::RightGradientMorph},
      {TskMorphKind::mkLeftSlide, &TskEffectBmp::LeftSlide},
      {TskMorphKind::mkRightSlide, &TskEffectBmp::RightSlide},
      {TskMorphKind::mkPush, &TskEffectBmp::Push},
  };
  const TskEffectBmp other = Coded(9, 4, 200);
  for (const auto& [kind, function] : morphs) {
    TskEffectBmp expected = Coded(9, 4, 10), actual = expected;
    (expected.*function)(other, 0.3);
    actual.ApplyMorph(kind, other, 0.3);
    EXPECT_TRUE(SamePixels(actual, expected)) << int(kind);
  }

  using Effect = void (*)(TskEffectBmp&);
  const std::pair<TskInactiveEffect, Effect> effects[] = {
      {TskInactiveEffect::ieBrightness, [](TskEffectBmp& b) { b.Brightness(0.5); }},
      {TskInactiveEffect::ieDarkness, [](TskEffectBmp& b) { b.Darkness(0.3); }},
      {TskInactiveEffect::ieGrayScale, [](TskEffectBmp& b) { b.GrayScale(); }},
      {TskInactiveEffect::ieNoise, [](TskEffectBmp& b) { b.AddNoise(50); }},
      {TskInactiveEffect::ieSplitBlur, [](TskEffectBmp& b) { b.SplitBlur(1); }},
      {TskInactiveEffect::ieInvert, [](TskEffectBmp& b) { b.Invert(); }},
  };
  for (const auto& [effect, function] : effects) {
    TskEffectBmp expected = Coded(9, 4, 10), actual = expected;
    function(expected);
    actual.ApplyInactiveEffect(effect);
    EXPECT_TRUE(SamePixels(actual, expected)) << int(effect);
  }
}

}  // namespace
}  // namespace skin
