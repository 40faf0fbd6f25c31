#pragma once

#include <cstddef>
#include <vector>

#include "gfx/Color.h"
#include "gfx/Geometry.h"

namespace gfx {

// A 32-bit BGRX picture, rows top-down without padding. Every picture the
// program draws or loads lives in one of these; pictures of fewer bits are
// widened when read, and the depth (and palette) they came with is kept so
// that they can be written back the same way.
class Bitmap {
 public:
  // Largest width or height accepted anywhere.
  static constexpr int MaxSide = 32768;

  Bitmap() = default;
  // A black picture; throws gfx::Error for a negative or too large size.
  Bitmap(int width, int height);

  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  Size Dimensions() const { return Size{FWidth, FHeight}; }
  Rect Bounds() const { return Rect{0, 0, FWidth, FHeight}; }
  bool IsEmpty() const { return FWidth == 0 || FHeight == 0; }

  // Resizes to black pixels (the old contents are dropped).
  void SetSize(int width, int height);

  Pixel* Row(int y) { return FPixels.data() + std::size_t(y) * std::size_t(FWidth); }
  const Pixel* Row(int y) const { return FPixels.data() + std::size_t(y) * std::size_t(FWidth); }
  Pixel* Data() { return FPixels.data(); }
  const Pixel* Data() const { return FPixels.data(); }
  // Bytes from one row to the next.
  std::size_t Stride() const { return std::size_t(FWidth) * sizeof(Pixel); }

  // Unchecked in release builds: callers stay inside Bounds().
  Pixel GetPixel(int x, int y) const { return Row(y)[x]; }
  void SetPixel(int x, int y, Pixel p) { Row(y)[x] = p; }

  void Fill(Pixel p);
  // Fills the part of r inside the picture.
  void FillRect(const Rect& r, Pixel p);

  // Bits per pixel of the file this picture was read from (1, 4, 8, 16, 24
  // or 32); 32 for pictures made in memory.
  int SourceBits() const { return FSourceBits; }
  void SetSourceBits(int bits) { FSourceBits = bits; }
  // Palette of the file this picture was read from, in file order; empty
  // for pictures without one.
  const std::vector<Pixel>& SourcePalette() const { return FSourcePalette; }
  void SetSourcePalette(std::vector<Pixel> palette) { FSourcePalette = std::move(palette); }

  // A copy of the part r of this picture (clipped to it).
  Bitmap Crop(const Rect& r) const;

  // Same size and same pixels; depth and palette are not compared.
  bool SamePixels(const Bitmap& other) const;

 private:
  int FWidth = 0;
  int FHeight = 0;
  int FSourceBits = 32;
  std::vector<Pixel> FSourcePalette;
  std::vector<Pixel> FPixels;
};

// Copies srcRect of src to dst with its top-left corner at dstPoint. Both
// sides are clipped: pixels outside either picture are neither read nor
// written.
void CopyRect(Bitmap& dst, Point dstPoint, const Bitmap& src, const Rect& srcRect);

// Copies srcRect of src onto dstRect of dst, stretching or shrinking by
// nearest neighbour (each destination pixel takes the source pixel under its
// centre) when the sizes differ. Only destination pixels inside clip and
// inside dst are written; those whose source pixel lies outside src are left
// alone. Empty or inverted rectangles draw nothing.
void StretchRect(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect,
                 const Rect& clip);
void StretchRect(Bitmap& dst, const Rect& dstRect, const Bitmap& src, const Rect& srcRect);

}  // namespace gfx
