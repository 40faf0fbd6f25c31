// Nine-part, three-part and tiled image builders. The source pictures carry
// their own coordinates in every pixel, so a test reads back which source
// pixel landed where.

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "gfx/Bitmap.h"
#include "skin/data/SkinUtils.h"

namespace skin {
namespace {

// Pixels of the coded pictures: x in the blue byte, y in the green byte and
// a marker in the red byte, so an unpainted (black) pixel never looks like
// a copied one.
constexpr gfx::Pixel Marker = 0x400000;

// A picture of the given size whose pixel (x, y) codes (x - originX,
// y - originY): coordinates relative to a source rectangle at the origin.
// Pixels left of or above the origin get the marker only.
gfx::Bitmap CodedPicture(int width, int height, int originX, int originY) {
  gfx::Bitmap picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int sx = x - originX, sy = y - originY;
      picture.SetPixel(x, y,
                       (sx < 0 || sy < 0) ? Marker : Marker | gfx::Pixel(sx) | gfx::Pixel(sy) << 8);
    }
  }
  return picture;
}

using Coded = std::pair<int, int>;
constexpr Coded Unpainted{-1, -1};

Coded SourceOf(const gfx::Bitmap& picture, int x, int y) {
  const gfx::Pixel p = picture.GetPixel(x, y);
  if ((p & Marker) == 0) return Unpainted;
  return Coded{int(p & 0xFF), int((p >> 8) & 0xFF)};
}

std::vector<int> SourceColumns(const gfx::Bitmap& picture, int y) {
  std::vector<int> out;
  for (int x = 0; x < picture.Width(); ++x) out.push_back(SourceOf(picture, x, y).first);
  return out;
}

std::vector<int> SourceRows(const gfx::Bitmap& picture, int x) {
  std::vector<int> out;
  for (int y = 0; y < picture.Height(); ++y) out.push_back(SourceOf(picture, x, y).second);
  return out;
}

// The cut used throughout: a 16 x 12 source rectangle at (2, 1) of a
// 20 x 15 picture.
//   bands: left 3, top 3, right 3, bottom 3 (client rectangle 3,3,13,9)
//   top middle columns 5..9, bottom middle 5..9 (tile 4)
//   left middle rows 5..7, right middle rows 5..7 (tile 2)
// Its target is 6 wider and 5 higher: 22 x 17, middles 10 and 7 long.
struct Cut {
  TPoint LT{5, 5}, RT{9, 5}, LB{5, 7}, RB{9, 7};
  TRect Client{3, 3, 13, 9};
  TRect Source{2, 1, 18, 13};
};

struct Target {
  TPoint LT{5, 5}, RT{15, 5}, LB{5, 12}, RB{15, 12};
  TRect Client{3, 3, 19, 14};
  int Width = 22;
  int Height = 17;
};

Target SameSizeTarget() {
  Cut c;
  return Target{c.LT, c.RT, c.LB, c.RB, c.Client, 16, 12};
}

class NinePartImage : public ::testing::Test {
 protected:
  gfx::Bitmap Build(const Target& t, DrawCentre centre, BandModes modes = {}) {
    gfx::Bitmap out(3, 3);  // resized by the builder
    BuildNinePartImageEx(FCut.LT, FCut.RT, FCut.LB, FCut.RB, FCut.Client, FCut.Source, FPicture,
                         t.LT, t.RT, t.LB, t.RB, t.Client, t.Width, t.Height, centre, modes, out);
    return out;
  }

  Cut FCut;
  gfx::Bitmap FPicture = CodedPicture(20, 15, 2, 1);
};

TEST_F(NinePartImage, TargetOfTheSourceSizeIsTheSourceImage) {
  const gfx::Bitmap out = Build(SameSizeTarget(), DrawCentre::Yes);
  EXPECT_TRUE(out.SamePixels(FPicture.Crop(FCut.Source)));
}

TEST_F(NinePartImage, BandsTileWholeTilesAndCutOnlyTheLast) {
  const gfx::Bitmap out = Build(Target{}, DrawCentre::No);
  ASSERT_EQ(out.Dimensions(), (gfx::Size{22, 17}));
  // Top band: corner 0..4, middle of 10 from a tile of 4 at 5, 9 and 13
  // (the last 2 wide), corner from 15.
  const std::vector<int> top{0, 1, 2, 3, 4, 5,  6,  7,  8,  5,  6,
                             7, 8, 5, 6, 9, 10, 11, 12, 13, 14, 15};
  for (int y = 0; y < 3; ++y) {
    EXPECT_EQ(SourceColumns(out, y), top) << "row " << y;
    EXPECT_EQ(SourceOf(out, 0, y).second, y);
  }
  // Bottom band: the left band's bottom piece (0..2), the bottom-left
  // piece (3..4), the middle and the corner.
  const std::vector<int> bottom = top;
  for (int y = 14; y < 17; ++y) {
    EXPECT_EQ(SourceColumns(out, y), bottom) << "row " << y;
    EXPECT_EQ(SourceOf(out, 10, y).second, y - 5);
  }
  // Left band: corner rows 0..2, top piece 3..4, middle of 7 from a tile of
  // 2 (the last cut to 1), bottom piece down to the bottom edge.
  const std::vector<int> left{0, 1, 2, 3, 4, 5, 6, 5, 6, 5, 6, 5, 7, 8, 9, 10, 11};
  for (int x = 0; x < 3; ++x) EXPECT_EQ(SourceRows(out, x), left) << "column " << x;
  // Right band: the same rows; its bottom piece ends at the client bottom
  // and the bottom-right corner takes over.
  for (int x = 19; x < 22; ++x) {
    EXPECT_EQ(SourceRows(out, x), left) << "column " << x;
    EXPECT_EQ(SourceOf(out, x, 10).first, x - 6);
  }
  // Without the centre the client area stays unpainted.
  for (int y = 3; y < 14; ++y) {
    for (int x = 3; x < 19; ++x) ASSERT_EQ(SourceOf(out, x, y), Unpainted) << x << "," << y;
  }
}

TEST_F(NinePartImage, CentreIsTiledOverTheClientRectangle) {
  const gfx::Bitmap out = Build(Target{}, DrawCentre::Yes);
  // The client rectangle is 10 x 6 in the source, 16 x 11 in the target.
  std::vector<int> columns;
  for (int x = 3; x < 19; ++x) columns.push_back(SourceOf(out, x, 3).first);
  EXPECT_EQ(columns, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 3, 4, 5, 6, 7, 8}));
  std::vector<int> rows;
  for (int y = 3; y < 14; ++y) rows.push_back(SourceOf(out, 18, y).second);
  EXPECT_EQ(rows, (std::vector<int>{3, 4, 5, 6, 7, 8, 3, 4, 5, 6, 7}));
}

TEST_F(NinePartImage, StretchFlagsStretchOnlyTheirBandsMiddle) {
  BandModes modes;
  modes.Top = TileMode::Stretch;
  modes.Left = TileMode::Stretch;
  const gfx::Bitmap out = Build(Target{}, DrawCentre::No, modes);
  // Top middle: 4 source columns over 10, nearest neighbour.
  EXPECT_EQ(SourceColumns(out, 0), (std::vector<int>{0, 1, 2, 3, 4, 5,  5,  6,  6,  6,  7,
                                                     7, 8, 8, 8, 9, 10, 11, 12, 13, 14, 15}));
  // Left middle: 2 source rows over 7.
  EXPECT_EQ(SourceRows(out, 0),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 5, 5, 6, 6, 6, 6, 7, 8, 9, 10, 11}));
  // The other two bands are still tiled.
  EXPECT_EQ(SourceColumns(out, 16)[14], 6);
  EXPECT_EQ(SourceRows(out, 21)[11], 5);
}

TEST_F(NinePartImage, ShorterMiddleGetsOneCutTile) {
  Target t;
  // Middles of 2 (top and bottom) and 1 (left and right).
  t.RT = {7, 5};
  t.RB = {7, 6};
  t.LB = {5, 6};
  t.Client = {3, 3, 11, 8};
  t.Width = 14;
  t.Height = 11;
  const gfx::Bitmap out = Build(t, DrawCentre::No);
  EXPECT_EQ(SourceColumns(out, 0),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 13, 14, 15}));
  EXPECT_EQ(SourceRows(out, 0), (std::vector<int>{0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11}));
}

TEST_F(NinePartImage, NothingIsDrawnForACollapsedCutOrAnEmptySource) {
  const Target t;
  gfx::Bitmap out(1, 1);
  BuildNinePartImage(FCut.LT, FCut.RT, FCut.LB, TPoint{5, 9}, FCut.Client, FCut.Source, FPicture,
                     t.LT, t.RT, t.LB, t.RB, t.Client, t.Width, t.Height, DrawCentre::Yes, out);
  EXPECT_TRUE(out.SamePixels(gfx::Bitmap(22, 17)));
  BuildNinePartImage(FCut.LT, FCut.RT, FCut.LB, FCut.RB, FCut.Client, FCut.Source, gfx::Bitmap(),
                     t.LT, t.RT, t.LB, t.RB, t.Client, t.Width, t.Height, DrawCentre::Yes, out);
  EXPECT_TRUE(out.SamePixels(gfx::Bitmap(22, 17)));
}

TEST_F(NinePartImage, ZeroLengthMiddlesAndWildPointsStayInsideThePictures) {
  // A top middle of no length in the source cannot be tiled; the rest is
  // still drawn. Points far outside only clip.
  Cut cut;
  cut.RT = cut.LT;
  gfx::Bitmap out;
  const Target t;
  BuildNinePartImage(cut.LT, cut.RT, cut.LB, cut.RB, cut.Client, cut.Source, FPicture, t.LT,
                     TPoint{100000, 5}, t.LB, t.RB, t.Client, t.Width, t.Height, DrawCentre::Yes,
                     out);
  EXPECT_EQ(SourceOf(out, 0, 0), (Coded{0, 0}));
  BuildNinePartImage(FCut.LT, FCut.RT, FCut.LB, FCut.RB, FCut.Client, FCut.Source, FPicture,
                     TPoint{-2000000000, 5}, TPoint{2000000000, 5}, TPoint{-7, 12},
                     TPoint{15, 2000000000}, TRect{-5, -5, 2000000000, 2000000000}, t.Width,
                     t.Height, DrawCentre::Yes, out);
  EXPECT_EQ(out.Dimensions(), (gfx::Size{22, 17}));
  BuildNinePartImage(FCut.LT, FCut.RT, FCut.LB, FCut.RB, FCut.Client, FCut.Source, FPicture, t.LT,
                     t.RT, t.LB, t.RB, t.Client, -4, 17, DrawCentre::Yes, out);
  EXPECT_TRUE(out.IsEmpty());
}

TEST_F(NinePartImage, BorderStripsAreThePartsOfTheWholeImage) {
  const Target t;
  BandModes modes;
  modes.Right = TileMode::Stretch;
  modes.Bottom = TileMode::Stretch;
  const gfx::Bitmap whole = Build(t, DrawCentre::No, modes);
  gfx::Bitmap top, bottom, left, right;
  BuildNinePartBorderStrips(FCut.LT, FCut.RT, FCut.LB, FCut.RB, FCut.Client, FCut.Source, FPicture,
                            t.LT, t.RT, t.LB, t.RB, t.Client, t.Width, t.Height, modes, top, bottom,
                            left, right);
  EXPECT_EQ(top.Dimensions(), (gfx::Size{22, 3}));
  EXPECT_EQ(bottom.Dimensions(), (gfx::Size{22, 3}));
  EXPECT_EQ(left.Dimensions(), (gfx::Size{3, 11}));
  EXPECT_EQ(right.Dimensions(), (gfx::Size{3, 11}));
  EXPECT_TRUE(top.SamePixels(whole.Crop(TRect{0, 0, 22, 3})));
  EXPECT_TRUE(bottom.SamePixels(whole.Crop(TRect{0, 14, 22, 17})));
  EXPECT_TRUE(left.SamePixels(whole.Crop(TRect{0, 3, 3, 14})));
  EXPECT_TRUE(right.SamePixels(whole.Crop(TRect{19, 3, 22, 14})));
  // The left strip's last rows come from the left band's bottom piece.
  EXPECT_EQ(SourceOf(left, 0, 10), (Coded{0, 8}));
}

TEST_F(NinePartImage, MaskStripsAreTiledBands) {
  const Target t;
  gfx::Bitmap top, bottom, left, right;
  BuildNinePartMaskStrips(FCut.LT, FCut.RT, FCut.LB, FCut.RB, FCut.Client, FCut.Source, FPicture,
                          t.LT, t.RT, t.LB, t.RB, t.Client, t.Width, t.Height, top, bottom, left,
                          right);
  EXPECT_EQ(SourceColumns(top, 1), (std::vector<int>{0, 1, 2, 3, 4, 5,  6,  7,  8,  5,  6,
                                                     7, 8, 5, 6, 9, 10, 11, 12, 13, 14, 15}));
  EXPECT_EQ(SourceRows(right, 0), (std::vector<int>{3, 4, 5, 6, 5, 6, 5, 6, 5, 7, 8}));
}

TEST_F(NinePartImage, StripsOfANegativeSizeAreEmpty) {
  Target t;
  t.Client = {3, 20, 19, 14};  // top below bottom
  gfx::Bitmap top, bottom, left, right;
  BuildNinePartBorderStrips(FCut.LT, FCut.RT, FCut.LB, FCut.RB, FCut.Client, FCut.Source, FPicture,
                            t.LT, t.RT, t.LB, t.RB, t.Client, t.Width, t.Height, BandModes{}, top,
                            bottom, left, right);
  EXPECT_EQ(top.Dimensions(), (gfx::Size{22, 20}));
  EXPECT_TRUE(left.IsEmpty());
  EXPECT_TRUE(right.IsEmpty());
}

TEST(SkinUtilsStretchNinePart, KeepsTheMarginsAndStretchesTheRest) {
  const gfx::Bitmap picture = CodedPicture(20, 15, 2, 1);
  gfx::Bitmap out(30, 20);
  StretchNinePart(out, picture, TRect{2, 1, 18, 13}, TRect{3, 3, 13, 9});
  // Margins of 3 on every side; edges and centre stretched.
  EXPECT_EQ(SourceOf(out, 0, 0), (Coded{0, 0}));
  EXPECT_EQ(SourceOf(out, 2, 2), (Coded{2, 2}));
  EXPECT_EQ(SourceOf(out, 27, 0), (Coded{13, 0}));
  EXPECT_EQ(SourceOf(out, 29, 19), (Coded{15, 11}));
  EXPECT_EQ(SourceOf(out, 0, 17), (Coded{0, 9}));
  EXPECT_EQ(SourceOf(out, 3, 3), (Coded{3, 3}));
  EXPECT_EQ(SourceOf(out, 26, 16), (Coded{12, 8}));
  const std::vector<int> columns = SourceColumns(out, 0);
  EXPECT_EQ(std::vector<int>(columns.begin() + 3, columns.begin() + 27),
            (std::vector<int>{3, 3, 4, 4, 4, 5,  5,  6,  6,  6,  7,  7,
                              8, 8, 9, 9, 9, 10, 10, 11, 11, 11, 12, 12}));
}

TEST(SkinUtilsStretchNinePart, ADestinationSmallerThanTheMarginsOnlyGetsCorners) {
  const gfx::Bitmap picture = CodedPicture(20, 15, 2, 1);
  gfx::Bitmap out(4, 4);
  StretchNinePart(out, picture, TRect{2, 1, 18, 13}, TRect{3, 3, 13, 9});
  EXPECT_EQ(SourceOf(out, 0, 0), (Coded{0, 0}));
  // The right and bottom margins start at 4 - 3 = 1 and are drawn last.
  EXPECT_EQ(SourceOf(out, 1, 1), (Coded{13, 9}));
  EXPECT_EQ(SourceOf(out, 3, 3), (Coded{15, 11}));
}

class ThreePartImage : public ::testing::Test {
 protected:
  // A 10 x 4 source rectangle at (2, 1).
  gfx::Bitmap FPicture = CodedPicture(14, 6, 2, 1);
  TRect FSource{2, 1, 12, 5};
};

TEST_F(ThreePartImage, HorizontalMiddleTiledOrStretched) {
  gfx::Bitmap out;
  BuildHorzThreePartImage(3, 2, FPicture, TileMode::Tile, 17, FSource, out);
  ASSERT_EQ(out.Dimensions(), (gfx::Size{17, 4}));
  EXPECT_EQ(SourceColumns(out, 3),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 3, 4, 5, 6, 7, 3, 4, 8, 9}));
  EXPECT_EQ(SourceRows(out, 16), (std::vector<int>{0, 1, 2, 3}));
  BuildHorzThreePartImage(3, 2, FPicture, TileMode::Stretch, 17, FSource, out);
  EXPECT_EQ(SourceColumns(out, 0),
            (std::vector<int>{0, 1, 2, 3, 3, 4, 4, 4, 5, 5, 6, 6, 6, 7, 7, 8, 9}));
}

TEST_F(ThreePartImage, HorizontalPartsOfNoWidth) {
  gfx::Bitmap out;
  // No fixed parts: the whole source is the middle.
  BuildHorzThreePartImage(0, 0, FPicture, TileMode::Tile, 23, FSource, out);
  EXPECT_EQ(SourceColumns(out, 0), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1,
                                                     2, 3, 4, 5, 6, 7, 8, 9, 0, 1, 2}));
  // No middle: the room between the fixed parts stays unpainted.
  BuildHorzThreePartImage(6, 4, FPicture, TileMode::Tile, 14, FSource, out);
  EXPECT_EQ(SourceColumns(out, 0),
            (std::vector<int>{0, 1, 2, 3, 4, 5, -1, -1, -1, -1, 6, 7, 8, 9}));
  BuildHorzThreePartImage(6, 4, FPicture, TileMode::Stretch, 14, FSource, out);
  EXPECT_EQ(SourceOf(out, 7, 0), Unpainted);
  // Narrower than both fixed parts: the right one is drawn over the left.
  BuildHorzThreePartImage(3, 2, FPicture, TileMode::Tile, 4, FSource, out);
  EXPECT_EQ(SourceColumns(out, 0), (std::vector<int>{0, 1, 8, 9}));
}

TEST_F(ThreePartImage, VerticalMiddleTiledOrStretched) {
  gfx::Bitmap out;
  BuildVertThreePartImage(1, 1, FPicture, TileMode::Tile, 9, FSource, out);
  ASSERT_EQ(out.Dimensions(), (gfx::Size{10, 9}));
  EXPECT_EQ(SourceRows(out, 4), (std::vector<int>{0, 1, 2, 1, 2, 1, 2, 1, 3}));
  BuildVertThreePartImage(1, 1, FPicture, TileMode::Stretch, 9, FSource, out);
  EXPECT_EQ(SourceRows(out, 0), (std::vector<int>{0, 1, 1, 1, 2, 2, 2, 2, 3}));
  BuildVertThreePartImage(2, 2, FPicture, TileMode::Tile, 6, FSource, out);
  EXPECT_EQ(SourceRows(out, 0), (std::vector<int>{0, 1, -1, -1, 2, 3}));
  BuildVertThreePartImage(0, 0, FPicture, TileMode::Tile, 6, FSource, out);
  EXPECT_EQ(SourceRows(out, 0), (std::vector<int>{0, 1, 2, 3, 0, 1}));
}

TEST(SkinUtilsTileImage, FillsTheSizeOfTheFillRectangleFromTheCorner) {
  const gfx::Bitmap picture = CodedPicture(14, 8, 2, 2);
  gfx::Bitmap out;
  // A 3 x 2 tile at (1, 1) of the source rectangle; the fill rectangle's
  // position does not matter, only its size 8 x 5; the destination is
  // 10 wide and 6 high (height first in the arguments).
  TileImage(TRect{1, 1, 4, 3}, TRect{50, 50, 58, 55}, picture, 6, 10, TRect{2, 2, 14, 8}, out);
  ASSERT_EQ(out.Dimensions(), (gfx::Size{10, 6}));
  EXPECT_EQ(SourceColumns(out, 0), (std::vector<int>{1, 2, 3, 1, 2, 3, 1, 2, -1, -1}));
  EXPECT_EQ(SourceRows(out, 0), (std::vector<int>{1, 2, 1, 2, 1, -1}));
}

TEST(SkinUtilsTileImage, FillLargerThanTheDestinationIsClippedAndEmptyFillDrawsNothing) {
  const gfx::Bitmap picture = CodedPicture(14, 8, 2, 2);
  gfx::Bitmap out;
  TileImage(TRect{1, 1, 4, 3}, TRect{0, 0, 1000, 1000}, picture, 3, 4, TRect{2, 2, 14, 8}, out);
  EXPECT_EQ(SourceColumns(out, 2), (std::vector<int>{1, 2, 3, 1}));
  TileImage(TRect{1, 1, 4, 3}, TRect{5, 5, 5, 9}, picture, 3, 4, TRect{2, 2, 14, 8}, out);
  EXPECT_TRUE(out.SamePixels(gfx::Bitmap(4, 3)));
  // A tile of no size cannot be repeated.
  TileImage(TRect{1, 1, 1, 3}, TRect{0, 0, 4, 3}, picture, 3, 4, TRect{2, 2, 14, 8}, out);
  EXPECT_TRUE(out.SamePixels(gfx::Bitmap(4, 3)));
}

TEST(SkinUtilsGeometry, EdgesAndNullValues) {
  EXPECT_EQ(RectWidth(TRect{2, 3, 7, 4}), 5);
  EXPECT_EQ(RectHeight(TRect{2, 3, 7, 4}), 1);
  EXPECT_TRUE(IsNullRect(TRect{2, 3, 2, 9}));
  EXPECT_TRUE(IsNullRect(TRect{2, 3, 1, 9}));
  EXPECT_FALSE(IsNullRect(TRect{2, 3, 3, 4}));
  EXPECT_TRUE(IsNullPoint(TPoint{0, 5}));
  EXPECT_TRUE(IsNullPoint(TPoint{5, 0}));
  EXPECT_FALSE(IsNullPoint(TPoint{-1, 1}));
  EXPECT_TRUE(RectsEqual(TRect{1, 2, 3, 4}, TRect{1, 2, 3, 4}));
  EXPECT_FALSE(RectsEqual(TRect{1, 2, 3, 4}, TRect{1, 2, 3, 5}));
  const TRect r{0, 0, 10, 5};
  EXPECT_TRUE(PointInRectInclusive(r, TPoint{10, 5}));
  EXPECT_FALSE(PointInRectInclusive(r, TPoint{11, 5}));
  EXPECT_TRUE(RectInRect(TRect{1, 1, 9, 4}, r));
  // The bottom-right corner must pass the exclusive test.
  EXPECT_FALSE(RectInRect(r, r));
  EXPECT_FALSE(RectInRect(TRect{1, 1, 10, 4}, r));
}

}  // namespace
}  // namespace skin
