#include "gfx/Canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gfx {
namespace {

constexpr Color White = MakeColor(255, 255, 255);
constexpr Color Black = MakeColor(0, 0, 0);
constexpr Color Red = MakeColor(255, 0, 0);
constexpr Color Blue = MakeColor(0, 0, 255);
constexpr Color Green = MakeColor(0, 255, 0);

// The picture as rows of letters: '.' white, '#' black, 'r' red, 'b' blue,
// 'g' green, '?' anything else. Comparing whole pictures checks the guard
// pixels around every shape too.
std::string Picture(const Bitmap& bitmap) {
  std::string out;
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      Color c = PixelToColor(bitmap.GetPixel(x, y) & 0xFFFFFF);
      out += c == White ? '.' : c == Black ? '#' : c == Red ? 'r' : c == Blue ? 'b' : c == Green ? 'g' : '?';
    }
    out += '\n';
  }
  return out;
}

std::string Rows(std::initializer_list<const char*> rows) {
  std::string out;
  for (const char* row : rows) (out += row) += '\n';
  return out;
}

Bitmap WhiteBitmap(int width, int height) {
  Bitmap b(width, height);
  b.Fill(ColorToPixel(White));
  return b;
}

// A picture made from rows of the letters above.
Bitmap FromRows(std::initializer_list<const char*> rows) {
  std::vector<std::string> lines(rows.begin(), rows.end());
  Bitmap b(int(lines[0].size()), int(lines.size()));
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      char c = lines[std::size_t(y)][std::size_t(x)];
      Color color = c == '#' ? Black : c == 'r' ? Red : c == 'b' ? Blue : c == 'g' ? Green : White;
      b.SetPixel(x, y, ColorToPixel(color));
    }
  }
  return b;
}

TEST(CanvasLines, ExcludeTheirLastPoint) {
  Bitmap b = WhiteBitmap(7, 5);
  Canvas c(b);
  c.SetPen(Black);
  c.MoveTo(1, 1);
  c.LineTo(5, 1);  // horizontal
  c.MoveTo(1, 2);
  c.LineTo(1, 4);  // vertical
  c.MoveTo(6, 4);
  c.LineTo(3, 1);  // diagonal, drawn backwards
  EXPECT_EQ(Picture(b), Rows({
                            ".......",
                            ".####..",
                            ".#..#..",
                            ".#...#.",
                            "......#",
                        }));
  EXPECT_EQ(c.PenPos(), (Point{3, 1}));
}

TEST(CanvasLines, ToTheSamePointDrawNothingAndClearPenOnlyMoves) {
  Bitmap b = WhiteBitmap(4, 3);
  Canvas c(b);
  c.MoveTo(1, 1);
  c.LineTo(1, 1);
  c.Pen().Style = PenStyle::Clear;
  c.LineTo(3, 1);
  EXPECT_EQ(c.PenPos(), (Point{3, 1}));
  EXPECT_EQ(Picture(b), Rows({"....", "....", "...."}));
}

TEST(CanvasLines, ShallowLinesHaveOnePixelPerColumn) {
  Bitmap b = WhiteBitmap(12, 5);
  Canvas c(b);
  c.MoveTo(0, 0);
  c.LineTo(11, 4);
  int last = -1;
  for (int x = 0; x < 12; ++x) {
    int count = 0, row = -1;
    for (int y = 0; y < 5; ++y) {
      if (b.GetPixel(x, y) == ColorToPixel(Black)) {
        ++count;
        row = y;
      }
    }
    if (x == 11) {
      EXPECT_EQ(count, 0) << "the end point is not drawn";
      continue;
    }
    ASSERT_EQ(count, 1) << "column " << x;
    EXPECT_TRUE(row == last || row == last + 1 || last < 0) << "column " << x;
    last = row;
  }
  EXPECT_EQ(b.GetPixel(0, 0), ColorToPixel(Black));
}

TEST(CanvasLines, PolylineDrawsInnerVerticesOnceAndNotTheLastPoint) {
  Bitmap b = WhiteBitmap(7, 6);
  Canvas c(b);
  c.SetPen(Red);
  c.MoveTo(0, 5);
  c.Polyline({{1, 1}, {5, 1}, {5, 4}, {1, 4}, {1, 2}});
  EXPECT_EQ(Picture(b), Rows({
                            ".......",
                            ".rrrrr.",
                            ".....r.",
                            ".r...r.",
                            ".rrrrr.",
                            ".......",
                        }));
  EXPECT_EQ(c.PenPos(), (Point{0, 5})) << "Polyline leaves the pen position alone";
}

TEST(CanvasLines, CheckMarkOfParallelDiagonals) {
  // The skin's check mark: three polylines with 45-degree legs.
  Bitmap b = WhiteBitmap(9, 9);
  Canvas c(b);
  for (int i = 0; i < 3; ++i) c.Polyline({{0, 5 - i}, {2, 7 - i}, {7, 2 - i}});
  EXPECT_EQ(Picture(b), Rows({
                            ".........",
                            "......#..",
                            ".....##..",
                            "#...###..",
                            "##.###...",
                            "#####....",
                            ".###.....",
                            "..#......",
                            ".........",
                        }));
}

TEST(CanvasShapes, RectangleOutlinesInsideItsEdgesAndFillsWithTheBrush) {
  Bitmap b = WhiteBitmap(8, 6);
  Canvas c(b);
  c.SetPen(Black);
  c.SetBrush(Red);
  c.Rectangle(1, 1, 6, 5);
  EXPECT_EQ(Picture(b), Rows({
                            "........",
                            ".#####..",
                            ".#rrr#..",
                            ".#rrr#..",
                            ".#####..",
                            "........",
                        }));
}

TEST(CanvasShapes, RectangleWithClearBrushOrClearPen) {
  Bitmap b = WhiteBitmap(8, 6);
  Canvas c(b);
  c.SetBrush(Blue, BrushStyle::Clear);
  c.Rectangle(0, 0, 4, 4);
  c.SetPen(Black, PenStyle::Clear);
  c.SetBrush(Red);
  // Without a pen the fill stops one pixel short on the right and bottom.
  c.Rectangle(4, 1, 8, 5);
  EXPECT_EQ(Picture(b), Rows({
                            "####....",
                            "#..#rrr.",
                            "#..#rrr.",
                            "####rrr.",
                            "........",
                            "........",
                        }));
}

TEST(CanvasShapes, FillRectExcludesRightAndBottomAndIgnoresInvertedRects) {
  Bitmap b = WhiteBitmap(5, 4);
  Canvas c(b);
  c.SetBrush(Blue);
  c.FillRect(Rect{1, 1, 4, 3});
  c.FillRect(Rect{4, 3, 0, 0});
  c.SetBrush(Red, BrushStyle::Clear);
  c.FillRect(b.Bounds());
  EXPECT_EQ(Picture(b), Rows({".....", ".bbb.", ".bbb.", "....."}));
}

TEST(CanvasShapes, FrameRectInBrushColourOrGivenColour) {
  Bitmap b = WhiteBitmap(9, 5);
  Canvas c(b);
  c.SetBrush(Blue);
  c.FrameRect(Rect{0, 0, 4, 4});
  c.FrameRect(Rect{5, 1, 7, 5}, Red);
  c.FrameRect(Rect{8, 0, 9, 3}, Black);  // one pixel wide: a column
  EXPECT_EQ(Picture(b), Rows({
                            "bbbb....#",
                            "b..b.rr.#",
                            "b..b.rr.#",
                            "bbbb.rr..",
                            ".....rr..",
                        }));
}

TEST(CanvasShapes, Frame3DGivesTheCornersToTheBottomRightColour) {
  Bitmap b = WhiteBitmap(8, 7);
  Canvas c(b);
  Rect inner = c.Frame3D(Rect{1, 1, 7, 6}, Red, Blue, 2);
  EXPECT_EQ(inner, (Rect{3, 3, 5, 4}));
  EXPECT_EQ(Picture(b), Rows({
                            "........",
                            ".rrrrrb.",
                            ".rrrrbb.",
                            ".rr..bb.",
                            ".rbbbbb.",
                            ".bbbbbb.",
                            "........",
                        }));
}

TEST(CanvasShapes, SmallEllipseHasPenOutlineAndBrushInside) {
  Bitmap b = WhiteBitmap(7, 7);
  Canvas c(b);
  c.SetPen(Black);
  c.SetBrush(Red);
  c.Ellipse(1, 1, 6, 6);
  EXPECT_EQ(Picture(b), Rows({
                            ".......",
                            "..###..",
                            ".#rrr#.",
                            ".#rrr#.",
                            ".#rrr#.",
                            "..###..",
                            ".......",
                        }));
}

TEST(CanvasShapes, EllipsesAreSymmetricAndTouchTheirRectangle) {
  for (Rect r : {Rect{2, 2, 22, 13}, Rect{2, 2, 13, 22}, Rect{2, 2, 17, 17}, Rect{2, 2, 4, 9}}) {
    Bitmap b = WhiteBitmap(26, 26);
    Canvas c(b);
    c.SetPen(Black);
    c.SetBrush(Red);
    c.Ellipse(r);
    int ink = 0;
    for (int y = 0; y < b.Height(); ++y) {
      for (int x = 0; x < b.Width(); ++x) {
        Pixel p = b.GetPixel(x, y);
        bool inside = r.Contains({x, y});
        if (!inside) {
          ASSERT_EQ(p, ColorToPixel(White)) << "outside at " << x << "," << y;
          continue;
        }
        ink += p != ColorToPixel(White);
        int mx = r.Left + r.Right - 1 - x, my = r.Top + r.Bottom - 1 - y;
        ASSERT_EQ(p, b.GetPixel(mx, y)) << "left-right at " << x << "," << y;
        ASSERT_EQ(p, b.GetPixel(x, my)) << "top-bottom at " << x << "," << y;
      }
    }
    EXPECT_GT(ink, 0);
    if (r.Width() > 4 && r.Height() > 4) {
      EXPECT_EQ(b.GetPixel(r.Left, r.Top), ColorToPixel(White)) << "corners stay free";
    }
    auto rowHasPen = [&](int y) {
      for (int x = r.Left; x < r.Right; ++x) {
        if (b.GetPixel(x, y) == ColorToPixel(Black)) return true;
      }
      return false;
    };
    auto columnHasPen = [&](int x) {
      for (int y = r.Top; y < r.Bottom; ++y) {
        if (b.GetPixel(x, y) == ColorToPixel(Black)) return true;
      }
      return false;
    };
    EXPECT_TRUE(rowHasPen(r.Top) && rowHasPen(r.Bottom - 1));
    EXPECT_TRUE(columnHasPen(r.Left) && columnHasPen(r.Right - 1));
  }
}

TEST(CanvasShapes, HugeShapesOnlyCostTheirVisiblePart) {
  // Coordinates far outside the bitmap must neither take long nor draw
  // wrong pixels: the visible part of a huge ellipse is its inside.
  Bitmap b = WhiteBitmap(4, 3);
  Canvas c(b);
  c.SetPen(Black);
  c.SetBrush(Red);
  c.Ellipse(-1000000000, -1000000000, 1000000000, 1000000000);
  c.MoveTo(-1000000000, 1);
  c.LineTo(1000000000, 1);
  c.MoveTo(3, -1000000000);
  c.LineTo(3, 1000000000);
  EXPECT_EQ(Picture(b), Rows({"rrr#", "####", "rrr#"}));
}

TEST(CanvasPixels, GetAndSetRespectBitmapClipAndOrigin) {
  Bitmap b = WhiteBitmap(4, 4);
  Canvas c(b);
  c.SetPixel(1, 2, Red);
  EXPECT_EQ(c.GetPixel(1, 2), Red);
  EXPECT_EQ(PixelToColor(b.GetPixel(1, 2)), Red);
  EXPECT_EQ(c.GetPixel(-1, 0), Canvas::InvalidColor);
  EXPECT_EQ(c.GetPixel(4, 0), Canvas::InvalidColor);
  c.SetPixel(9, 9, Red);  // outside: nothing, no fault
  c.SetOrigin(1, 1);
  EXPECT_EQ(c.GetPixel(0, 1), Red);
  c.IntersectClipRect(Rect{0, 0, 1, 1});  // device (1,1)-(2,2)
  EXPECT_EQ(c.GetPixel(0, 1), Canvas::InvalidColor);
  c.SetPixel(1, 1, Blue);
  EXPECT_EQ(PixelToColor(b.GetPixel(2, 2)), White);
}

TEST(CanvasClip, OriginMovesDrawingButNotTheClip) {
  Bitmap b = WhiteBitmap(8, 5);
  Canvas c(b);
  c.SetBrush(Red);
  c.SetClip(Region(Rect{0, 0, 5, 5}));
  c.SetOrigin(2, 1);
  c.FillRect(Rect{0, 0, 6, 2});  // device (2,1)-(8,3), clipped at x = 5
  c.MoveOrigin(1, 2);
  EXPECT_EQ(c.Origin(), (Point{3, 3}));
  c.SetBrush(Blue);
  c.FillRect(Rect{-3, 0, 0, 1});  // device (0,3)-(3,4)
  EXPECT_EQ(Picture(b), Rows({
                            "........",
                            "..rrr...",
                            "..rrr...",
                            "bbb.....",
                            "........",
                        }));
  EXPECT_EQ(c.ClipBox(), (Rect{-3, -3, 2, 2}));
}

TEST(CanvasClip, IntersectExcludeAndClear) {
  Bitmap b = WhiteBitmap(8, 4);
  Canvas c(b);
  c.SetOrigin(1, 0);
  c.IntersectClipRect(Rect{0, 0, 6, 3});  // device x 1..6
  c.ExcludeClipRect(Rect{2, 1, 4, 2});    // device hole (3,1)-(5,2)
  EXPECT_TRUE(c.HasClip());
  EXPECT_TRUE(c.RectVisible(Rect{2, 0, 3, 1}));
  EXPECT_FALSE(c.RectVisible(Rect{2, 1, 4, 2}));
  c.SetBrush(Blue);
  c.FillRect(Rect{-1, -1, 9, 9});
  EXPECT_EQ(Picture(b), Rows({
                            ".bbbbbb.",
                            ".bb..bb.",
                            ".bbbbbb.",
                            "........",
                        }));
  c.ClearClip();
  EXPECT_FALSE(c.HasClip());
  c.SetBrush(Red);
  c.FillRect(Rect{-1, 3, 9, 4});
  EXPECT_EQ(Picture(b).substr(27), "rrrrrrrr\n");
}

TEST(CanvasClip, ClipOfTwoRectanglesAppliesToEveryKindOfDrawing) {
  Bitmap b = WhiteBitmap(6, 5);
  Canvas c(b);
  c.SetClip(Region::FromRects({Rect{0, 0, 2, 5}, Rect{4, 0, 6, 5}}));
  c.SetPen(Black);
  c.MoveTo(0, 0);
  c.LineTo(6, 0);
  c.SetBrush(Red);
  c.Rectangle(0, 1, 6, 4);
  c.Draw(0, 4, FromRows({"bbbbbb"}));
  EXPECT_EQ(Picture(b), Rows({
                            "##..##",
                            "##..##",
                            "#r..r#",
                            "##..##",
                            "bb..bb",
                        }));
}

TEST(CanvasClip, StateSaverRestoresToolsOriginAndClip) {
  Bitmap b = WhiteBitmap(4, 4);
  Canvas c(b);
  c.SetPen(Red);
  c.MoveTo(1, 1);
  {
    CanvasStateSaver saved(c);
    c.SetPen(Blue);
    c.SetBrush(Green, BrushStyle::Clear);
    c.Font().Height = -20;
    c.MoveOrigin(5, 5);
    c.IntersectClipRect(Rect{0, 0, 1, 1});
    c.MoveTo(3, 3);
  }
  EXPECT_EQ(c.Pen().Color, Red);
  EXPECT_EQ(c.Brush(), Brush{});
  EXPECT_EQ(c.Font().Height, Font::DefaultHeight);
  EXPECT_EQ(c.Origin(), (Point{0, 0}));
  EXPECT_FALSE(c.HasClip());
  EXPECT_EQ(c.PenPos(), (Point{1, 1}));
  c.SetBrush(Red);
  c.FillRect(Rect{0, 0, 1, 1});
  EXPECT_EQ(PixelToColor(b.GetPixel(0, 0)), Red) << "the clip of the inner painter is gone";
}

TEST(CanvasPictures, DrawClipsAtTheBitmapEdges) {
  Bitmap b = WhiteBitmap(4, 3);
  Canvas c(b);
  Bitmap picture = FromRows({"rb#", "gr#"});
  c.Draw(-1, 2, picture);
  c.Draw(2, 0, picture);
  EXPECT_EQ(Picture(b), Rows({
                            "..rb",
                            "..gr",
                            "b#..",
                        }));
}

TEST(CanvasPictures, StretchByNearestNeighbour) {
  Bitmap b = WhiteBitmap(7, 4);
  Canvas c(b);
  c.StretchDraw(Rect{0, 0, 4, 4}, FromRows({"rb", "g#"}));
  // Shrinking takes the pixel under each destination pixel's centre.
  c.CopyRect(Rect{5, 1, 7, 3}, FromRows({"....", ".r.b", "....", ".g.#"}), Rect{0, 0, 4, 4});
  EXPECT_EQ(Picture(b), Rows({
                            "rrbb...",
                            "rrbb.rb",
                            "gg##.g#",
                            "gg##...",
                        }));
}

TEST(CanvasPictures, CopyWithinTheSameBitmapReadsTheOriginalPixels) {
  // Scrolling down by one row: each row must come from the picture as it
  // was, not from rows already moved.
  Bitmap b = FromRows({"r..", "b..", "g..", "#.."});
  Canvas c(b);
  c.CopyRect(Rect{1, 1, 2, 4}, b, Rect{0, 0, 1, 3});
  c.CopyRect(Rect{0, 1, 1, 4}, b, Rect{0, 0, 1, 3});
  EXPECT_EQ(Picture(b), Rows({"r..", "rr.", "bb.", "gg."}));
}

TEST(CanvasPictures, TransparentDrawSkipsTheKeyColour) {
  Bitmap b = WhiteBitmap(4, 2);
  Canvas c(b);
  c.SetBrush(Blue);
  c.FillRect(b.Bounds());
  Bitmap glyph = FromRows({"g#g", "#gg"});
  c.DrawTransparent(0, 0, glyph, Green);
  // Without a key the bottom-left pixel (black here) is transparent.
  c.DrawTransparent(1, 0, FromRows({"r#", "#r"}));
  EXPECT_EQ(Picture(b), Rows({
                            "brbb",
                            "#brb",
                        }));
}

TEST(CanvasPictures, TransparentCopyOfAStripCellStretches) {
  Bitmap b = WhiteBitmap(5, 2);
  Canvas c(b);
  // The second of two cells, doubled in width.
  Bitmap strip = FromRows({"r.#.", "rr#b"});
  c.CopyRectTransparent(Rect{0, 0, 4, 2}, strip, Rect{2, 0, 4, 2}, White);
  EXPECT_EQ(Picture(b), Rows({
                            "##...",
                            "##bb.",
                        }));
}

TEST(CanvasPictures, EmptyPicturesDrawNothing) {
  Bitmap b = WhiteBitmap(2, 2);
  Canvas c(b);
  Bitmap empty;
  c.Draw(0, 0, empty);
  c.DrawTransparent(0, 0, empty);
  c.StretchDraw(b.Bounds(), empty);
  c.CopyRect(Rect{0, 0, 0, 2}, FromRows({"r"}), Rect{0, 0, 1, 1});
  EXPECT_EQ(Picture(b), Rows({"..", ".."}));
}

}  // namespace
}  // namespace gfx
