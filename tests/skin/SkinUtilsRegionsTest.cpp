// Regions from mask pictures: the rectangle runs, the region data block and
// the nine-part window region.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Region.h"
#include "skin/data/SkinUtils.h"

namespace skin {
namespace {

constexpr gfx::Pixel Black = 0x000000;
constexpr gfx::Pixel White = 0xFFFFFF;

std::int32_t Int32At(const std::vector<std::uint8_t>& data, std::size_t offset) {
  return std::int32_t(std::uint32_t(data[offset]) | std::uint32_t(data[offset + 1]) << 8 |
                      std::uint32_t(data[offset + 2]) << 16 |
                      std::uint32_t(data[offset + 3]) << 24);
}

TRect RectAt(const std::vector<std::uint8_t>& data, std::size_t index) {
  const std::size_t at = 32 + 16 * index;
  return TRect{Int32At(data, at), Int32At(data, at + 4), Int32At(data, at + 8),
               Int32At(data, at + 12)};
}

gfx::Bitmap Picture(int width, int height, gfx::Pixel fill) {
  gfx::Bitmap b(width, height);
  b.Fill(fill);
  return b;
}

TEST(SkinUtilsTFBitmap, TopDownRowsOfBlueGreenRedPaddedToFourBytes) {
  gfx::Bitmap picture(5, 3);
  picture.SetPixel(0, 0, 0x112233);
  picture.SetPixel(4, 2, 0xAABBCC);
  const TFBitmap copy(picture);
  EXPECT_EQ(copy.Width, 5);
  EXPECT_EQ(copy.Height, 3);
  EXPECT_EQ(copy.RowPad, 1);
  EXPECT_EQ(copy.RowStride, 16);
  ASSERT_EQ(copy.Rows.size(), 3u);
  EXPECT_EQ(copy.Rows[2], copy.Bits + 32);
  EXPECT_EQ(copy.Rows[0][0], 0x33);
  EXPECT_EQ(copy.Rows[0][2], 0x11);
  EXPECT_EQ(copy.Rows[2][12], 0xCC);
  EXPECT_EQ(copy.Rows[2][14], 0xAA);
  EXPECT_EQ(copy.Rows[2][15], 0);  // padding
  const TFBitmap empty{gfx::Bitmap()};
  EXPECT_EQ(empty.Bits, nullptr);
  EXPECT_TRUE(empty.Rows.empty());
}

TEST(SkinUtilsMaskToRegionData, BlackRunsBecomeOneRowRectangles) {
  gfx::Bitmap mask = Picture(3, 1, Black);
  mask.SetPixel(1, 0, White);
  const std::vector<std::uint8_t> data = MaskToRegionData(mask, 0, 0);
  ASSERT_EQ(data.size(), 32u + 2 * 16u);
  EXPECT_EQ(Int32At(data, 0), 32);  // header size
  EXPECT_EQ(Int32At(data, 4), 1);   // rectangles
  EXPECT_EQ(Int32At(data, 8), 2);   // count
  EXPECT_EQ(Int32At(data, 12), 0);
  EXPECT_EQ((TRect{Int32At(data, 16), Int32At(data, 20), Int32At(data, 24), Int32At(data, 28)}),
            (TRect{0, 0, 3, 1}));
  EXPECT_EQ(RectAt(data, 0), (TRect{0, 0, 1, 1}));
  EXPECT_EQ(RectAt(data, 1), (TRect{2, 0, 3, 1}));
}

TEST(SkinUtilsMaskToRegionData, OffsetMovesRectanglesAndBounds) {
  gfx::Bitmap mask = Picture(4, 2, White);
  mask.FillRect(TRect{1, 0, 4, 1}, Black);
  // Only the colour counts: the fourth byte of a pixel is ignored, and a
  // pixel with any colour bit is outside.
  mask.SetPixel(0, 1, 0xFF000000);
  mask.SetPixel(1, 1, 0x000001);
  const std::vector<std::uint8_t> data = MaskToRegionData(mask, 5, -7);
  ASSERT_EQ(Int32At(data, 8), 2);
  EXPECT_EQ((TRect{Int32At(data, 16), Int32At(data, 20), Int32At(data, 24), Int32At(data, 28)}),
            (TRect{5, -7, 9, -5}));
  EXPECT_EQ(RectAt(data, 0), (TRect{6, -7, 9, -6}));
  EXPECT_EQ(RectAt(data, 1), (TRect{5, -6, 6, -5}));
}

TEST(SkinUtilsMaskToRegionData, EmptyAndAllWhiteMasks) {
  EXPECT_TRUE(MaskToRegionData(gfx::Bitmap(), 0, 0).empty());
  const std::vector<std::uint8_t> data = MaskToRegionData(Picture(7, 3, White), 0, 0);
  ASSERT_EQ(data.size(), 32u);
  EXPECT_EQ(Int32At(data, 8), 0);
  EXPECT_TRUE(MaskToRegion(Picture(7, 3, White)).IsEmpty());
}

TEST(SkinUtilsMaskToRegionData, MoreRunsThanTheClassicLimitAreAllKept) {
  // A 300 x 100 checkerboard has 150 runs per row: 15000 rectangles.
  gfx::Bitmap mask(300, 100);
  for (int y = 0; y < 100; ++y) {
    for (int x = 0; x < 300; ++x) mask.SetPixel(x, y, (x + y) % 2 ? White : Black);
  }
  const std::vector<std::uint8_t> data = MaskToRegionData(mask, 0, 0);
  ASSERT_EQ(Int32At(data, 8), 15000);
  ASSERT_EQ(data.size(), 32u + 16u * 15000u);
  EXPECT_EQ(RectAt(data, 0), (TRect{0, 0, 1, 1}));
  EXPECT_EQ(RectAt(data, 150), (TRect{1, 1, 2, 2}));
  EXPECT_EQ(RectAt(data, 14999), (TRect{299, 99, 300, 100}));
  const gfx::Region region = MaskToRegion(mask);
  EXPECT_TRUE(region.Contains(gfx::Point{299, 99}));
  EXPECT_FALSE(region.Contains(gfx::Point{298, 99}));
}

TEST(SkinUtilsMaskToRegion, LongRunsAcrossTheFourPixelSteps) {
  // Runs that start and end at every position around the four-pixel steps
  // of the scan.
  for (int start = 0; start < 6; ++start) {
    for (int end = start + 1; end <= 13; ++end) {
      gfx::Bitmap mask = Picture(13, 1, White);
      mask.FillRect(TRect{start, 0, end, 1}, Black);
      const std::vector<TRect> rects = MaskToRects(mask, 0, 0);
      ASSERT_EQ(rects.size(), 1u) << start << ".." << end;
      EXPECT_EQ(rects[0], (TRect{start, 0, end, 1}));
    }
  }
}

TEST(SkinUtilsMaskToRegion, RoundedCornersGiveTheMaskShape) {
  gfx::Bitmap mask = Picture(6, 4, Black);
  mask.SetPixel(0, 0, White);
  mask.SetPixel(5, 0, White);
  mask.SetPixel(0, 3, White);
  mask.SetPixel(5, 3, White);
  gfx::Region expected(TRect{1, 0, 5, 4});
  expected.Unite(TRect{0, 1, 6, 3});
  EXPECT_EQ(MaskToRegion(mask), expected);
  EXPECT_EQ(MaskToRegion(mask, 10, 20), expected.Offset(10, 20));
}

// The nine-part cut of the image tests: a 16 x 12 mask with bands of 3, top
// middle 5..9, side middles rows 5..7; stretched to 22 x 17.
class NinePartRegion : public ::testing::Test {
 protected:
  NinePartRegion() {
    FMask.SetPixel(0, 0, White);    // rounded top-left corner
    FMask.SetPixel(15, 11, White);  // rounded bottom-right corner
    FMask.SetPixel(6, 0, White);    // a notch in the top middle tile
    FMask.SetPixel(0, 6, White);    // a notch in the left middle tile
  }

  std::optional<gfx::Region> Build(TPoint newRT, TPoint newLB, const TRect& newClient) {
    return BuildNinePartRegion(TPoint{5, 5}, TPoint{9, 5}, TPoint{5, 7}, TPoint{9, 7},
                               TRect{3, 3, 13, 9}, TRect{0, 0, 16, 12}, FMask, TPoint{5, 5}, newRT,
                               newLB, TPoint{15, 12}, newClient, 22, 17);
  }

  gfx::Bitmap FMask = Picture(16, 12, Black);
};

TEST_F(NinePartRegion, IsTheClientRectangleAndTheBlackOfTheBands) {
  const std::optional<gfx::Region> region =
      Build(TPoint{15, 5}, TPoint{5, 12}, TRect{3, 3, 19, 14});
  ASSERT_TRUE(region.has_value());
  gfx::Region expected(TRect{0, 0, 22, 17});
  // Corners, and the notches repeated with their tiles: top middle at 6,
  // 10, 14; left middle rows 6, 8, 10.
  for (const gfx::Point p :
       {gfx::Point{0, 0}, gfx::Point{21, 16}, gfx::Point{6, 0}, gfx::Point{10, 0},
        gfx::Point{14, 0}, gfx::Point{0, 6}, gfx::Point{0, 8}, gfx::Point{0, 10}}) {
    expected.Subtract(TRect::FromSize(p.X, p.Y, 1, 1));
  }
  EXPECT_EQ(*region, expected);
}

TEST_F(NinePartRegion, ClientRectangleIsInsideWhateverTheMaskSays) {
  FMask.Fill(White);
  const std::optional<gfx::Region> region =
      Build(TPoint{15, 5}, TPoint{5, 12}, TRect{3, 3, 19, 14});
  ASSERT_TRUE(region.has_value());
  EXPECT_EQ(*region, gfx::Region(TRect{3, 3, 19, 14}));
}

TEST_F(NinePartRegion, CrossedPointsOrANullClientGiveNoRegion) {
  EXPECT_FALSE(Build(TPoint{4, 5}, TPoint{5, 12}, TRect{3, 3, 19, 14}).has_value());
  EXPECT_FALSE(Build(TPoint{15, 5}, TPoint{5, 4}, TRect{3, 3, 19, 14}).has_value());
  EXPECT_FALSE(Build(TPoint{15, 5}, TPoint{5, 12}, TRect{3, 3, 3, 14}).has_value());
  EXPECT_FALSE(Build(TPoint{15, 5}, TPoint{5, 12}, TRect{3, 14, 19, 14}).has_value());
  // Points that meet are not crossed.
  EXPECT_TRUE(Build(TPoint{5, 5}, TPoint{5, 5}, TRect{3, 3, 19, 14}).has_value());
}

}  // namespace
}  // namespace skin
