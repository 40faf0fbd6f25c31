// Glyph strips, text shortening, marks and caption glyphs. Shapes are
// checked as pictures: '#' is the ink colour, '.' the untouched background,
// so every picture also checks the guard pixels around its shape.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "skin/data/SkinUtils.h"

namespace skin {
namespace {

constexpr gfx::Pixel Paper = 0xFFFFFF;
constexpr gfx::Color Ink = gfx::MakeColor(0x20, 0x40, 0x80);

std::vector<std::string> Picture(const gfx::Bitmap& b) {
  std::vector<std::string> rows;
  for (int y = 0; y < b.Height(); ++y) {
    std::string row;
    for (int x = 0; x < b.Width(); ++x) {
      const gfx::Pixel p = b.GetPixel(x, y);
      row += p == Paper ? '.' : (p == gfx::ColorToPixel(Ink) ? '#' : '?');
    }
    rows.push_back(row);
  }
  return rows;
}

using Painter = void (*)(gfx::Canvas&, int, int, gfx::Color);

// Draws with the painter at (1, 1) on white paper of the given size.
std::vector<std::string> Draw(Painter painter, int width, int height) {
  gfx::Bitmap b(width, height);
  b.Fill(Paper);
  gfx::Canvas canvas(b);
  painter(canvas, 1, 1, Ink);
  return Picture(b);
}

using Rows = std::vector<std::string>;

TEST(SkinUtilsCaptionGlyphs, Cross) {
  EXPECT_EQ(Draw(DrawCrossGlyph, 13, 11), (Rows{
                                              ".............",
                                              ".............",
                                              "..##.....##..",
                                              "...##...##...",
                                              "....##.##....",
                                              ".....###.....",
                                              ".....###.....",
                                              "....##.##....",
                                              "...##...##...",
                                              "..##.....##..",
                                              ".............",
                                          }));
}

TEST(SkinUtilsCaptionGlyphs, BarAndMinimize) {
  EXPECT_EQ(Draw(DrawBarGlyph, 12, 8), (Rows{
                                           "............",
                                           "............",
                                           "............",
                                           "............",
                                           "..########..",
                                           "..#......#..",
                                           "..########..",
                                           "............",
                                       }));
  EXPECT_EQ(Draw(DrawMinimizeGlyph, 12, 12), (Rows{
                                                 "............",
                                                 "............",
                                                 "............",
                                                 "............",
                                                 "............",
                                                 "............",
                                                 "............",
                                                 "............",
                                                 "............",
                                                 "..########..",
                                                 "..########..",
                                                 "............",
                                             }));
}

TEST(SkinUtilsCaptionGlyphs, MaximizeAndRestore) {
  EXPECT_EQ(Draw(DrawMaximizeGlyph, 13, 12), (Rows{
                                                 ".............",
                                                 ".###########.",
                                                 ".###########.",
                                                 ".#.........#.",
                                                 ".#.........#.",
                                                 ".#.........#.",
                                                 ".#.........#.",
                                                 ".#.........#.",
                                                 ".#.........#.",
                                                 ".#.........#.",
                                                 ".###########.",
                                                 ".............",
                                             }));
  // Outlines only: the back window shows through the front one.
  EXPECT_EQ(Draw(DrawRestoreGlyph, 13, 12), (Rows{
                                                ".............",
                                                "...########..",
                                                "...########..",
                                                "...#......#..",
                                                "...#......#..",
                                                ".#######..#..",
                                                ".##########..",
                                                ".#.....#.....",
                                                ".#.....#.....",
                                                ".#.....#.....",
                                                ".#######.....",
                                                ".............",
                                            }));
}

TEST(SkinUtilsCaptionGlyphs, TrianglesAndDot) {
  // The line of the tip has no length, so the tip stays open.
  EXPECT_EQ(Draw(DrawDownTriangleGlyph, 12, 8), (Rows{
                                                    "............",
                                                    "............",
                                                    "............",
                                                    "..########..",
                                                    "...######...",
                                                    "....####....",
                                                    ".....##.....",
                                                    "............",
                                                }));
  EXPECT_EQ(Draw(DrawUpTriangleGlyph, 12, 9), (Rows{
                                                  "............",
                                                  "............",
                                                  "............",
                                                  "............",
                                                  ".....##.....",
                                                  "....####....",
                                                  "...######...",
                                                  "..########..",
                                                  "............",
                                              }));
  EXPECT_EQ(Draw(DrawDotGlyph, 10, 10), (Rows{
                                            "..........",
                                            "..........",
                                            "..........",
                                            "...#####..",
                                            "...#####..",
                                            "...#####..",
                                            "...#####..",
                                            "...#####..",
                                            "..........",
                                            "..........",
                                        }));
}

TEST(SkinUtilsMarks, CheckAndSquare) {
  EXPECT_EQ(Draw(DrawCheckMark, 10, 10), (Rows{
                                             "..........",
                                             "..........",
                                             ".......#..",
                                             "......##..",
                                             ".#...###..",
                                             ".##.###...",
                                             ".#####....",
                                             "..###.....",
                                             "...#......",
                                             "..........",
                                         }));
  EXPECT_EQ(Draw(DrawSquareMark, 9, 9), (Rows{
                                            ".........",
                                            ".######..",
                                            ".######..",
                                            ".######..",
                                            ".######..",
                                            ".######..",
                                            ".######..",
                                            ".........",
                                            ".........",
                                        }));
}

std::vector<std::string> Arrow(ArrowDirection direction) {
  gfx::Bitmap b(9, 9);
  b.Fill(Paper);
  gfx::Canvas canvas(b);
  DrawArrowMark(canvas, TRect{0, 0, 9, 9}, Ink, direction);
  return Picture(b);
}

TEST(SkinUtilsMarks, ArrowsPointTheirWayFromTheMiddle) {
  EXPECT_EQ(Arrow(ArrowDirection::Down), (Rows{
                                             ".........",
                                             ".........",
                                             ".#######.",
                                             "..#####..",
                                             "...###...",
                                             "....#....",
                                             ".........",
                                             ".........",
                                             ".........",
                                         }));
  EXPECT_EQ(Arrow(ArrowDirection::Up), (Rows{
                                           ".........",
                                           ".........",
                                           "....#....",
                                           "...###...",
                                           "..#####..",
                                           ".#######.",
                                           ".........",
                                           ".........",
                                           ".........",
                                       }));
  EXPECT_EQ(Arrow(ArrowDirection::Right), (Rows{
                                              ".........",
                                              "..#......",
                                              "..##.....",
                                              "..###....",
                                              "..####...",
                                              "..###....",
                                              "..##.....",
                                              "..#......",
                                              ".........",
                                          }));
  EXPECT_EQ(Arrow(ArrowDirection::Left), (Rows{
                                             ".........",
                                             ".....#...",
                                             "....##...",
                                             "...###...",
                                             "..####...",
                                             "...###...",
                                             "....##...",
                                             ".....#...",
                                             ".........",
                                         }));
}

TEST(SkinUtilsMarks, TheCallersPenAndBrushComeBack) {
  gfx::Bitmap b(12, 12);
  gfx::Canvas canvas(b);
  canvas.SetPen(0x123456);
  canvas.SetBrush(0x654321, gfx::BrushStyle::Clear);
  DrawDotGlyph(canvas, 0, 0, Ink);
  DrawMaximizeGlyph(canvas, 0, 0, Ink);
  EXPECT_EQ(canvas.Pen().Color, 0x123456u);
  EXPECT_EQ(canvas.Brush().Color, 0x654321u);
  EXPECT_EQ(canvas.Brush().Style, gfx::BrushStyle::Clear);
}

TEST(SkinUtilsGlyphStrip, DrawsOneGlyphTransparently) {
  // Four glyphs of 10 x 3 side by side; each pixel codes its strip column.
  gfx::Bitmap strip(40, 3);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 40; ++x) strip.SetPixel(x, y, gfx::MakePixel(std::uint8_t(x), 1, 2));
  }
  // Glyph 2's bottom-left pixel is its transparent colour, wherever it
  // appears in the glyph; the strip's own bottom-left does not count.
  constexpr gfx::Pixel Key = 0xFF00FF;
  strip.SetPixel(10, 2, Key);
  strip.SetPixel(15, 1, Key);
  gfx::Bitmap target(20, 6);
  target.Fill(Paper);
  gfx::Canvas canvas(target);
  DrawGlyphFromStrip(canvas, 3, 1, 2, 4, strip);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool inside = x >= 3 && x < 13 && y >= 1 && y < 4;
      const int sx = x - 3 + 10, sy = y - 1;
      const bool transparent = inside && strip.GetPixel(sx, sy) == Key;
      const gfx::Pixel expected = inside && !transparent ? strip.GetPixel(sx, sy) : Paper;
      ASSERT_EQ(target.GetPixel(x, y), expected) << x << "," << y;
    }
  }
}

TEST(SkinUtilsGlyphStrip, NothingForAnEmptyStripOrAGlyphOutsideIt) {
  gfx::Bitmap strip(40, 3);
  gfx::Bitmap target(20, 6);
  target.Fill(Paper);
  gfx::Canvas canvas(target);
  DrawGlyphFromStrip(canvas, 0, 0, 1, 4, gfx::Bitmap());
  DrawGlyphFromStrip(canvas, 0, 0, 0, 4, strip);
  DrawGlyphFromStrip(canvas, 0, 0, 5, 4, strip);
  DrawGlyphFromStrip(canvas, 0, 0, 1, 0, strip);
  DrawGlyphFromStrip(canvas, 0, 0, 1, 41, strip);  // glyphs narrower than a pixel
  gfx::Bitmap paper(20, 6);
  paper.Fill(Paper);
  EXPECT_TRUE(target.SamePixels(paper));
}

class SkinUtilsText : public ::testing::Test {
 protected:
  gfx::Bitmap FBitmap{200, 40};
  gfx::Canvas FCanvas{FBitmap};
};

TEST_F(SkinUtilsText, TruncateKeepsFittingTextAndCutsTheRest) {
  const std::string text = "Scanning 192.168.1.1";
  EXPECT_EQ(TruncateTextToWidth(FCanvas, text, FCanvas.TextWidth(text)), text);
  EXPECT_EQ(TruncateTextToWidth(FCanvas, "", 0), "");
  const int width = FCanvas.TextWidth("Scan...");
  ASSERT_GT(width, FCanvas.TextWidth("..."));
  EXPECT_EQ(TruncateTextToWidth(FCanvas, text, width), "Scan...");
  // Every shortening too wide, even "..." alone: "..." all the same.
  EXPECT_EQ(TruncateTextToWidth(FCanvas, text, 0), "...");
}

TEST_F(SkinUtilsText, TruncateNeverSplitsACharacter) {
  std::string text = "a";
  for (int i = 0; i < 9; ++i) text += "\xC3\xA9";  // e acute, two bytes each
  const std::string cut = TruncateTextToWidth(FCanvas, text, FCanvas.TextWidth("a\xC3\xA9..."));
  EXPECT_EQ(cut, "a\xC3\xA9...");
}

TEST_F(SkinUtilsText, VCenterDrawsOneLineAroundTheMiddle) {
  FBitmap.Fill(Paper);
  FCanvas.Font().Color = Ink;
  FCanvas.SetBrush(0, gfx::BrushStyle::Clear);
  const TRect rect{10, 0, 190, 40};
  DrawTextVCenter(FCanvas, "Hello\nworld", rect);
  int top = 40, bottom = -1, left = 200;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (FBitmap.GetPixel(x, y) == Paper) continue;
      top = std::min(top, y);
      bottom = std::max(bottom, y);
      left = std::min(left, x);
    }
  }
  ASSERT_GE(bottom, 0) << "nothing drawn";
  // One line (the line feed does not break it), about the middle, from the
  // left edge.
  EXPECT_LT(bottom - top, FCanvas.TextHeight("Hg") + 1);
  EXPECT_NEAR((top + bottom) / 2.0, 20.0, 4.0);
  EXPECT_GE(left, 10);
  EXPECT_LT(left, 14);
}

}  // namespace
}  // namespace skin
