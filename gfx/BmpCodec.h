#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"

namespace gfx {

// One picture read from the start of a buffer and the bytes it took.
struct BmpReadResult {
  Bitmap Picture;
  // The total size the file header gives; the next picture of a buffer that
  // holds several back to back starts here.
  std::size_t BytesUsed = 0;
};

// Reads the BMP file at the start of data. Info headers of 12, 40, 108 and
// 124 bytes; 1, 4, 8, 16, 24 and 32 bits per pixel; uncompressed, RLE4,
// RLE8 and bit fields; rows bottom-up or top-down. The picture remembers the
// file's depth and, for 1, 4 and 8 bits, its palette. Pixels that RLE data
// leaves unset are black; alpha is dropped.
//
// Throws gfx::Error, saying what is wrong, for anything that does not add
// up: a buffer shorter than the file's total size, a total size too small
// for the headers and pixel data it declares, offsets that overlap, sizes
// above Bitmap::MaxSide or beyond what the pixel data can fill, palette
// indexes past the end of the palette, RLE runs outside the picture, and
// depths or compressions it does not know.
BmpReadResult ReadBmp(std::span<const std::uint8_t> data);

// A BMP file with a 40-byte info header, bottom-up rows padded to 4 bytes,
// at 1, 4, 8 (with palette) or 24 bits per pixel. Palette depths keep the
// picture's SourcePalette when every pixel is in it, so that a picture read
// and written again has the same palette order; otherwise the palette is the
// picture's distinct colours in the order they first occur (rows top-down).
// Throws gfx::Error for another depth, an empty picture, or more colours
// than the depth holds.
std::vector<std::uint8_t> WriteBmp(const Bitmap& bitmap, int bitsPerPixel);

// Writes the picture at its SourceBits when that is a depth WriteBmp knows
// and its colours still fit that depth; else at 24 bits. Nothing is lost
// either way.
std::vector<std::uint8_t> WriteBmp(const Bitmap& bitmap);

// The depth WriteBmp(bitmap) writes at: 1, 4, 8 or 24.
int BmpWriteBits(const Bitmap& bitmap);

// The first picture of the file at path (bytes after it are ignored).
Bitmap LoadBmpFile(const std::string& path);
// Writes WriteBmp(bitmap) to path.
void SaveBmpFile(const std::string& path, const Bitmap& bitmap);

// The whole file at path. Throws gfx::Error whose message starts with the
// path when the file cannot be opened or read, or is larger than maxBytes
// (a guard against devices and pipes that never end).
inline constexpr std::size_t DefaultMaxFileBytes = std::size_t(1) << 30;
std::vector<std::uint8_t> ReadFileBytes(const std::string& path,
                                        std::size_t maxBytes = DefaultMaxFileBytes);
// Creates or replaces the file at path with bytes. Throws gfx::Error whose
// message starts with the path when it cannot be written completely; a
// file that was created but not completed is removed.
void WriteFileBytes(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace gfx
