#pragma once

// Pixel drawing for the skin's pictures: fills, gradients, rounded tiles
// with smooth corners, and glyphs given as small text patterns. Everything
// is plain arithmetic on gfx::Bitmap, so the pictures come out the same on
// every machine.

#include <span>
#include <string_view>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"

namespace skingen {

using gfx::Bitmap;
using gfx::Pixel;
using gfx::Rect;

// a at t = 0, b at t = 1, each channel rounded.
Pixel Mix(Pixel a, Pixel b, double t);

// A gradient from From to To in Count steps; every step is an entry of the
// fixed palette (Palette.h), so gradients survive the 8-bit pictures.
struct Ramp {
  Pixel From = 0;
  Pixel To = 0;
  int Count = 2;

  // The step nearest to t (0..1).
  Pixel At(double t) const;
  // Step i of Count.
  Pixel Step(int i) const;
};

// A flat colour as a ramp of one step.
constexpr Ramp Flat(Pixel p) { return Ramp{p, p, 1}; }

void Fill(Bitmap& bitmap, const Rect& r, Pixel p);
// The ramp from the top row of r to its bottom row.
void FillDown(Bitmap& bitmap, const Rect& r, const Ramp& ramp);
// The ramp from the left column of r to its right column.
void FillAcross(Bitmap& bitmap, const Rect& r, const Ramp& ramp);
void HLine(Bitmap& bitmap, int left, int right, int y, Pixel p);  // right excluded
void VLine(Bitmap& bitmap, int x, int top, int bottom, Pixel p);  // bottom excluded
void Frame(Bitmap& bitmap, const Rect& r, Pixel p);
void Plot(Bitmap& bitmap, int x, int y, Pixel p);

// A rectangle with rounded corners of the given radii, in continuous
// coordinates (pixel x covers x .. x + 1).
struct RoundedShape {
  Rect Bounds;
  int TopLeft = 0;
  int TopRight = 0;
  int BottomRight = 0;
  int BottomLeft = 0;

  static RoundedShape Uniform(const Rect& r, int radius) { return {r, radius, radius, radius, radius}; }
  bool Contains(double x, double y) const;
  // Share of the pixel's area inside, from 8 x 8 samples.
  double Coverage(int x, int y) const;
  // The same shape one pixel smaller on every side.
  RoundedShape Inset(int by = 1) const;
};

// How a tile looks: a one-pixel border, a fill running down, an optional
// lighter first row inside the border, and what lies around its corners.
struct TileStyle {
  Pixel Border = 0;
  Ramp Fill;
  bool HasHighlight = false;
  Pixel Highlight = 0;
  int Radius = 2;
  bool DrawBorder = true;
  // The fill runs from left to right instead of downwards.
  bool Across = false;
};

// Draws a tile over r, blending the rounded corners into what is already
// in the bitmap.
void DrawTile(Bitmap& bitmap, const Rect& r, const TileStyle& style);
// The same over any rounded shape (the style's radius is not used).
void DrawTile(Bitmap& bitmap, const RoundedShape& shape, const TileStyle& style);

// A glyph given as rows of text: '#' is drawn in colour, '+' in the second
// colour, anything else is left alone.
using Pattern = std::span<const std::string_view>;
void DrawPattern(Bitmap& bitmap, int x, int y, Pattern rows, Pixel color, Pixel second = 0);
int PatternWidth(Pattern rows);
int PatternHeight(Pattern rows);
// Centred in r (half pixels go left and up), moved by (dx, dy).
void DrawPatternCentred(Bitmap& bitmap, const Rect& r, Pattern rows, Pixel color, int dx = 0, int dy = 0,
                        Pixel second = 0);

// City-block distance of every pixel of the shape to the nearest pixel
// outside it (1 on the outline), 0 outside; row-major. The picture's own
// edge counts as outside.
std::vector<int> RingDistances(int width, int height, const std::vector<bool>& inside);

// The pixels of the shape whose centre-weighted coverage is at least one
// half: the window's outline, without smoothing (a window cannot blend
// with what lies behind it).
std::vector<bool> SolidShape(int width, int height, const RoundedShape& shape);

}  // namespace skingen
