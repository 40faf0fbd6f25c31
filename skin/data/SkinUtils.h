#pragma once

// Free functions the skinned windows and controls share: rectangle helpers,
// the builders that draw a small skin picture at any size (nine-part,
// three-part, tiled), window regions from mask pictures, and small drawing
// helpers for marks, caption glyphs and text.
//
// Pictures are gfx::Bitmap. A "copy" between two rectangles of different
// sizes stretches by nearest neighbour; every copy is clipped to both
// pictures, so cut points taken from a damaged skin can at worst give a
// wrong picture, never a read or write outside one.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Color.h"
#include "gfx/Region.h"
#include "skin/data/SkinTypes.h"

namespace gfx {
class Canvas;
}

namespace skin {

// ---------------------------------------------------------------------------
// Rectangles and points

inline int RectWidth(const TRect& r) { return r.Right - r.Left; }
inline int RectHeight(const TRect& r) { return r.Bottom - r.Top; }
// A rectangle that covers no pixel.
inline bool IsNullRect(const TRect& r) { return RectWidth(r) < 1 || RectHeight(r) < 1; }
// Skins write "0,0" for an absent point; a point on either axis counts as
// absent too.
inline bool IsNullPoint(const TPoint& p) { return p.X == 0 || p.Y == 0; }
inline bool RectsEqual(const TRect& a, const TRect& b) { return a == b; }
// Edges included on all four sides.
inline bool PointInRectInclusive(const TRect& r, const TPoint& p) {
  return p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom;
}
// Both corners of a pass the ordinary point-in-rectangle test for b, which
// excludes b's right and bottom edges; so a rectangle is not inside itself.
// Callers rely on that exact test when they place objects on a skin.
inline bool RectInRect(const TRect& a, const TRect& b) {
  return b.Contains(a.TopLeft()) && b.Contains(a.BottomRight());
}

// ---------------------------------------------------------------------------
// TFBitmap

// A 24-bit top-down copy of a picture for reading pixels by row: rows of
// Width x 3 bytes (blue, green, red) plus Width mod 4 bytes of padding, so
// every row starts on a four-byte boundary, and a table of row starts.
// No device is involved: the copy lives in ordinary memory, so there is no
// memory device context or section handle to keep.
class TFBitmap {
 public:
  explicit TFBitmap(const gfx::Bitmap& source);
  TFBitmap(const TFBitmap&) = delete;
  TFBitmap& operator=(const TFBitmap&) = delete;

  int Width = 0;
  int Height = 0;
  // Bytes from one row start to the next: Width x 3 + RowPad.
  int RowStride = 0;
  int RowPad = 0;
  std::uint8_t* Bits = nullptr;
  std::vector<std::uint8_t*> Rows;

 private:
  std::vector<std::uint8_t> FStorage;
};

// ---------------------------------------------------------------------------
// Nine-part, three-part and tiled images
//
// A nine-part cut is given by four points LT, RT, LB, RB and a client
// rectangle CR, all relative to the source rectangle R's top-left corner;
// the target has its own points and client rectangle (the "new" ones) and
// size width x height. The diagram and the exact rules are beside the code
// in SkinUtils.Images.cpp.

enum class DrawCentre { No, Yes };
// How the middle of a band or of a three-part image fills its target length.
enum class TileMode { Tile, Stretch };

// The middle of each border band, tiled or stretched.
struct BandModes {
  TileMode Left = TileMode::Tile;
  TileMode Top = TileMode::Tile;
  TileMode Right = TileMode::Tile;
  TileMode Bottom = TileMode::Tile;
};

// The destination is sized width x height (black) and the nine-part image
// drawn into it: band middles tiled, the eight fixed pieces copied once, the
// centre tiled when drawCentre is Yes. Nothing is drawn for an empty source
// or when RB.x = LT.x or RB.y = LT.y.
void BuildNinePartImage(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& clientRect,
                        const TRect& sourceRect, const gfx::Bitmap& source, TPoint newLT,
                        TPoint newRT, TPoint newLB, TPoint newRB, const TRect& newClientRect,
                        int width, int height, DrawCentre drawCentre, gfx::Bitmap& destination);

// As BuildNinePartImage; a band whose mode is Stretch has its middle
// stretched once over the target middle. The centre is always tiled.
void BuildNinePartImageEx(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& clientRect,
                          const TRect& sourceRect, const gfx::Bitmap& source, TPoint newLT,
                          TPoint newRT, TPoint newLB, TPoint newRB, const TRect& newClientRect,
                          int width, int height, DrawCentre drawCentre, BandModes stretch,
                          gfx::Bitmap& destination);

// The four border bands of the nine-part image, each in its own bitmap and
// each equal to that part of the whole image:
//   top    width x newClientRect.Top                        (image rows 0..)
//   bottom width x (height - newClientRect.Bottom)          (from row CR'.Bottom)
//   left   newClientRect.Left x client height               (from row CR'.Top)
//   right  (width - newClientRect.Right) x client height    (from CR'.Right, CR'.Top)
// A size below zero from a damaged cut gives an empty bitmap.
void BuildNinePartBorderStrips(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& clientRect,
                               const TRect& sourceRect, const gfx::Bitmap& source, TPoint newLT,
                               TPoint newRT, TPoint newLB, TPoint newRB, const TRect& newClientRect,
                               int width, int height, BandModes stretch, gfx::Bitmap& top,
                               gfx::Bitmap& bottom, gfx::Bitmap& left, gfx::Bitmap& right);

// The four bands of a mask picture at the target size, tiled like the
// image bands (sizes as BuildNinePartBorderStrips).
void BuildNinePartMaskStrips(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& clientRect,
                             const TRect& sourceRect, const gfx::Bitmap& mask, TPoint newLT,
                             TPoint newRT, TPoint newLB, TPoint newRB, const TRect& newClientRect,
                             int width, int height, gfx::Bitmap& top, gfx::Bitmap& bottom,
                             gfx::Bitmap& left, gfx::Bitmap& right);

// Draws sourceRect of source over the whole destination (which keeps its
// size), cut by clientRect (relative to sourceRect) into nine parts each
// copied once: corners at their size, edges stretched along, the centre in
// both directions; the destination keeps the source's margins.
void StretchNinePart(gfx::Bitmap& destination, const gfx::Bitmap& source, const TRect& sourceRect,
                     const TRect& clientRect);

// Destination width x height of sourceRect: the left leftWidth and right
// rightWidth columns copied, the middle tiled or stretched between them.
void BuildHorzThreePartImage(int leftWidth, int rightWidth, const gfx::Bitmap& source,
                             TileMode middle, int width, const TRect& sourceRect,
                             gfx::Bitmap& destination);
// The same along y: destination width of sourceRect x height.
void BuildVertThreePartImage(int topHeight, int bottomHeight, const gfx::Bitmap& source,
                             TileMode middle, int height, const TRect& sourceRect,
                             gfx::Bitmap& destination);

// Sizes the destination width x height (note the order of the two
// arguments) and fills its area from (0, 0) of the size of fillRect with
// tiles of tileRect (relative to sourceRect), the last column and row cut.
void TileImage(const TRect& tileRect, const TRect& fillRect, const gfx::Bitmap& source, int height,
               int width, const TRect& sourceRect, gfx::Bitmap& destination);

// ---------------------------------------------------------------------------
// Regions from masks (black pixels are inside)

// The black runs of each row, top to bottom and left to right, as
// rectangles one pixel high, moved by (dx, dy).
std::vector<TRect> MaskToRects(const gfx::Bitmap& mask, int dx, int dy);

// The region data block of the classic desktop API: a 32-byte header
// (header size 32, type 1 = rectangles, rectangle count, 0, bounding
// rectangle dx, dy, dx + width, dy + height) and 16 bytes per rectangle
// (left, top, right, bottom), all little-endian 32-bit. An empty mask gives
// an empty block (size 0).
std::vector<std::uint8_t> MaskToRegionData(const gfx::Bitmap& mask, int dx, int dy);

// The black pixels of the mask as a region, at (0, 0) or moved by (dx, dy).
gfx::Region MaskToRegion(const gfx::Bitmap& mask);
gfx::Region MaskToRegion(const gfx::Bitmap& mask, int dx, int dy);

// A window region of size width x height: newClientRect united with the
// regions of the four mask bands at their places. No region (the window
// stays rectangular) when newRT.x < newLT.x, newLB.y < newLT.y or the new
// client rectangle is null.
std::optional<gfx::Region> BuildNinePartRegion(TPoint lt, TPoint rt, TPoint lb, TPoint rb,
                                               const TRect& clientRect, const TRect& sourceRect,
                                               const gfx::Bitmap& mask, TPoint newLT, TPoint newRT,
                                               TPoint newLB, TPoint newRB,
                                               const TRect& newClientRect, int width, int height);

// ---------------------------------------------------------------------------
// Drawing

// Draws glyph index (counting from 1) of a strip of count glyphs of equal
// width (strip width div count) side by side, with its top-left corner at
// (x, y), transparently: the glyph's own bottom-left pixel is the
// transparent colour. Nothing for an empty strip, a count below 1, glyphs
// narrower than a pixel or an index outside 1..count.
void DrawGlyphFromStrip(gfx::Canvas& canvas, int x, int y, int index, int count,
                        const gfx::Bitmap& strip);

// The text unchanged when it fits in width pixels in the canvas's font;
// otherwise the longest start of it (whole characters) followed by "..."
// that fits, or "..." alone.
std::string TruncateTextToWidth(gfx::Canvas& canvas, std::string_view text, int width);

// One line of text in rect, vertically centred, left aligned.
void DrawTextVCenter(gfx::Canvas& canvas, std::string_view text, const TRect& rect);

// Direction of DrawArrowMark, with the values skins and callers use.
enum class ArrowDirection { Left = 1, Right = 2, Up = 3, Down = 4 };

// A small filled triangle of four one-pixel lines (1, 3, 5 and 7 pixels
// long) centred in rect, pointing in the direction given.
void DrawArrowMark(gfx::Canvas& canvas, const TRect& rect, gfx::Color color,
                   ArrowDirection direction);
// A check mark three pixels thick with its top-left near (x, y).
void DrawCheckMark(gfx::Canvas& canvas, int x, int y, gfx::Color color);
// A filled 6 x 6 square at (x, y).
void DrawSquareMark(gfx::Canvas& canvas, int x, int y, gfx::Color color);

// Caption glyphs for a window without a skin, drawn with the pen in the
// colour given, their cell's top-left at (x, y).
void DrawCrossGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color);
void DrawBarGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color);
void DrawMinimizeGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color);
void DrawMaximizeGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color);
void DrawRestoreGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color);
void DrawDownTriangleGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color);
void DrawUpTriangleGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color);
void DrawDotGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color);

}  // namespace skin
