#pragma once

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"
#include "gfx/Region.h"
#include "gfx/TextFormat.h"

namespace gfx {

class FontInstance;
struct TextLine;

enum class PenStyle { Solid, Clear };
enum class BrushStyle { Solid, Clear };

// The outline of shapes and lines: always one pixel wide.
struct Pen {
  gfx::Color Color = 0;
  PenStyle Style = PenStyle::Solid;

  friend bool operator==(const Pen&, const Pen&) = default;
};

// The inside of shapes and the background of text. A clear brush fills
// nothing and draws text without background.
struct Brush {
  gfx::Color Color = 0xFFFFFF;
  BrushStyle Style = BrushStyle::Solid;

  friend bool operator==(const Brush&, const Brush&) = default;
};

// Everything Canvas::SaveState keeps and RestoreState brings back.
struct CanvasState {
  gfx::Pen Pen;
  gfx::Brush Brush;
  gfx::Font Font;
  Point Origin;
  Point PenPosition;
  // In bitmap coordinates; none means the whole bitmap.
  std::optional<Region> Clip;
};

// A drawing surface over a Bitmap it refers to (and does not own), with
// the rules of the classic desktop API that the skins were drawn for:
// - coordinates are logical: the origin (SetOrigin, MoveOrigin) is added
//   to every coordinate given, so that a parent and its children can paint
//   into one surface;
// - rectangles exclude their right and bottom edges; a line excludes its
//   last point;
// - everything is clipped to the bitmap and to the clip region, which is
//   kept in bitmap (device) coordinates and does not move with the origin;
// - colours are gfx::Color values (0x00BBGGRR);
// - text is UTF-8, drawn in the font's colour, on the brush colour unless
//   the brush is clear.
class Canvas {
 public:
  // What GetPixel answers outside the bitmap or the clip.
  static constexpr gfx::Color InvalidColor = 0xFFFFFFFF;

  explicit Canvas(Bitmap& target);

  Bitmap& Target() { return *FTarget; }
  const Bitmap& Target() const { return *FTarget; }

  // Drawing tools. The references stay valid for the canvas's life.
  gfx::Pen& Pen() { return FPen; }
  const gfx::Pen& Pen() const { return FPen; }
  gfx::Brush& Brush() { return FBrush; }
  const gfx::Brush& Brush() const { return FBrush; }
  gfx::Font& Font() { return FFont; }
  const gfx::Font& Font() const { return FFont; }
  void SetPen(gfx::Color color, PenStyle style = PenStyle::Solid);
  void SetBrush(gfx::Color color, BrushStyle style = BrushStyle::Solid);
  void SetFont(const gfx::Font& font) { FFont = font; }

  // Origin: the device position of logical (0, 0).
  Point Origin() const { return FOrigin; }
  void SetOrigin(Point origin) { FOrigin = origin; }
  void SetOrigin(int x, int y) { FOrigin = Point{x, y}; }
  void MoveOrigin(int dx, int dy) { FOrigin = Point{FOrigin.X + dx, FOrigin.Y + dy}; }

  // Clip. SetClip takes bitmap coordinates (as a window system hands them
  // out); IntersectClipRect and ExcludeClipRect take logical ones.
  bool HasClip() const { return FClip.has_value(); }
  // The area drawing may touch, in bitmap coordinates: the clip within the
  // bitmap, or the whole bitmap without a clip.
  Region Clip() const;
  void SetClip(const Region& deviceRegion);
  void ClearClip() {
    FClip.reset();
    FClipRectsValid = false;
  }
  void IntersectClipRect(const Rect& r);
  void ExcludeClipRect(const Rect& r);
  // Bounds of the drawable area in logical coordinates.
  Rect ClipBox() const;
  // True when some pixel of r (logical) can be drawn.
  bool RectVisible(const Rect& r) const;

  CanvasState SaveState() const;
  void RestoreState(const CanvasState& state);

  // Lines, with the pen; each ends before its last point. A line longer
  // than 2^31 - 1 pixels along an axis draws nothing.
  Point PenPos() const { return FPenPosition; }
  void MoveTo(int x, int y) { FPenPosition = Point{x, y}; }
  void MoveTo(Point p) { FPenPosition = p; }
  // Draws from the pen position to (x, y), excluding (x, y), and moves the
  // pen position there.
  void LineTo(int x, int y);
  void LineTo(Point p) { LineTo(p.X, p.Y); }
  // Lines through the points; inner points are drawn, the last one is not.
  // The pen position is neither used nor changed.
  void Polyline(std::span<const Point> points);
  void Polyline(std::initializer_list<Point> points) {
    Polyline(std::span<const Point>(points.begin(), points.size()));
  }

  // Shapes.
  // Outline with the pen on the outermost pixels of r, inside with the
  // brush. With a clear pen the brush fills r less its last column and
  // row, as the classic rectangle does. Inverted edges are swapped.
  void Rectangle(const Rect& r);
  void Rectangle(int left, int top, int right, int bottom) {
    Rectangle(Rect{left, top, right, bottom});
  }
  // Fills r with the brush (nothing with a clear brush).
  void FillRect(const Rect& r);
  // Fills a region given in logical coordinates with the brush.
  void FillRegion(const Region& region);
  // A one-pixel frame on the outermost pixels of r, in the brush colour or
  // in the colour given.
  void FrameRect(const Rect& r);
  void FrameRect(const Rect& r, gfx::Color color);
  // A raised or sunken frame of `width` rings: the top row and left column
  // of each ring in topLeft, the right column and bottom row in
  // bottomRight (which owns the top-right and bottom-left corner pixels).
  // Returns r shrunk by the width: the area inside the frame.
  Rect Frame3D(const Rect& r, gfx::Color topLeft, gfx::Color bottomRight, int width);
  // The ellipse inscribed in r: outline with the pen, inside with the
  // brush. Symmetric about both axes of r.
  void Ellipse(const Rect& r);
  void Ellipse(int left, int top, int right, int bottom) {
    Ellipse(Rect{left, top, right, bottom});
  }
  // One pixel; GetPixel answers InvalidColor outside the drawable area.
  gfx::Color GetPixel(int x, int y) const;
  void SetPixel(int x, int y, gfx::Color color);

  // Pictures.
  // The whole picture with its top-left corner at (x, y).
  void Draw(int x, int y, const Bitmap& source);
  // sourceRect of source onto destination, stretched by nearest neighbour
  // when the sizes differ. The source may be this canvas's own bitmap.
  void CopyRect(const Rect& destination, const Bitmap& source, const Rect& sourceRect);
  // The whole picture stretched onto destination.
  void StretchDraw(const Rect& destination, const Bitmap& source);
  // Like Draw, skipping the source pixels of the key colour. Without a key
  // the picture's bottom-left pixel is the key (the classic transparent
  // colour of a picture).
  void DrawTransparent(int x, int y, const Bitmap& source, gfx::Color key);
  void DrawTransparent(int x, int y, const Bitmap& source);
  // Like CopyRect, skipping the source pixels of the key colour.
  void CopyRectTransparent(const Rect& destination, const Bitmap& source, const Rect& sourceRect,
                           gfx::Color key);

  // Text.
  FontMetrics TextMetrics() const;
  // Extent of one line, no prefix or tab handling. An empty text is
  // (0, font height).
  Size TextExtent(std::string_view text) const;
  int TextWidth(std::string_view text) const { return TextExtent(text).Width; }
  int TextHeight(std::string_view text) const { return TextExtent(text).Height; }
  // One line with the top-left of its cell at (x, y); the cell is filled
  // with the brush first unless the brush is clear. "&" is an ordinary
  // character here. Moves the pen position to the end of the text.
  void TextOut(int x, int y, std::string_view text);
  // Like TextOut, clipped to r; an opaque brush fills the whole of r.
  void TextRect(const Rect& r, int x, int y, std::string_view text);
  // Formatted text in rect (the DT_ flags of gfx/TextFormat.h). Returns the
  // height of the text, or with DT_VCENTER or DT_BOTTOM the distance from
  // rect.Top to the bottom of the text. DT_CALCRECT draws nothing and sets
  // rect.Right and rect.Bottom to the extent of the (wrapped) text.
  int DrawText(std::string_view text, Rect& rect, unsigned format);

 private:
  Rect ToDevice(const Rect& r) const { return r.Offset(FOrigin.X, FOrigin.Y); }
  // Clip rectangles within the bitmap, in bitmap coordinates.
  const std::vector<Rect>& ClipRects() const;
  // Bounds of ClipRects().
  Rect VisibleBounds() const;
  void FillDeviceRect(const Rect& r, Pixel pixel);
  void PlotDevice(int x, int y, Pixel pixel);
  bool DeviceVisible(int x, int y) const;
  void DrawLineDevice(Point from, Point to, Pixel pixel);
  // Draws one laid-out line with its cell's top-left at (x, y) in bitmap
  // coordinates, clipped to the clip and to `limit` when given.
  void DrawTextLine(int x, int y, const TextLine& line, const Rect* limit, bool background);
  // The engine's font for FFont, looked up again only when FFont changed.
  FontInstance& ResolvedFont() const;

  Bitmap* FTarget;
  gfx::Pen FPen;
  gfx::Brush FBrush;
  gfx::Font FFont;
  Point FOrigin;
  Point FPenPosition;
  std::optional<Region> FClip;
  // ClipRects() computed once per clip change.
  mutable std::vector<Rect> FClipRects;
  mutable bool FClipRectsValid = false;
  mutable Size FClipRectsSize;
  mutable FontInstance* FFontInstance = nullptr;
  mutable gfx::Font FResolvedFont;
};

// Saves a canvas's state on construction and restores it on destruction,
// so that a painter can move the origin and clip freely.
class CanvasStateSaver {
 public:
  explicit CanvasStateSaver(Canvas& canvas) : FCanvas(canvas), FState(canvas.SaveState()) {}
  ~CanvasStateSaver() { FCanvas.RestoreState(FState); }
  CanvasStateSaver(const CanvasStateSaver&) = delete;
  CanvasStateSaver& operator=(const CanvasStateSaver&) = delete;

 private:
  Canvas& FCanvas;
  CanvasState FState;
};

}  // namespace gfx
