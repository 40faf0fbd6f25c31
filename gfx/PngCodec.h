#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Region.h"

namespace gfx {

// An 8-bit RGB PNG of the picture (the X byte of its pixels is not stored).
// Throws gfx::Error for an empty picture.
std::vector<std::uint8_t> WritePng(const Bitmap& bitmap);
// An 8-bit RGBA PNG: opaque inside shape (picture coordinates), fully
// transparent outside it, so a shaped window's picture shows its shape.
std::vector<std::uint8_t> WritePng(const Bitmap& bitmap, const Region& shape);

// Any PNG that libpng reads (grey, palette, 16-bit, interlaced, with or
// without alpha), as 8-bit sRGB; alpha is dropped, not blended. The picture's
// SourceBits is 24. Throws gfx::Error with libpng's reason for a damaged
// file and for sizes above Bitmap::MaxSide.
Bitmap ReadPng(std::span<const std::uint8_t> data);

// The same through files; errors name the path.
Bitmap LoadPngFile(const std::string& path);
void SavePngFile(const std::string& path, const Bitmap& bitmap);
void SavePngFile(const std::string& path, const Bitmap& bitmap, const Region& shape);

}  // namespace gfx
