#pragma once

#include <cstdint>

#include "gfx/Color.h"

namespace platform::x11 {

// How the X server lays out the pixels of a ZPixmap image for the
// visual's depth. Usually the same as gfx::Pixel in memory (32 bits,
// 0x00RRGGBB, least significant byte first), so a bitmap goes to the
// server as it is; other servers get converted rows.
struct PixelFormat {
  int BitsPerPixel = 32;  // 8, 16, 24 or 32
  bool MostSignificantFirst = false;
  std::uint32_t RedMask = 0xFF0000;
  std::uint32_t GreenMask = 0x00FF00;
  std::uint32_t BlueMask = 0x0000FF;

  // True when a gfx::Bitmap row is already an image row of this format on
  // this machine.
  bool MatchesBitmap() const;
  int BytesPerPixel() const { return BitsPerPixel / 8; }
  friend bool operator==(const PixelFormat&, const PixelFormat&) = default;
};

// Writes count pixels in the server's format to target (count *
// BytesPerPixel bytes).
void PackPixels(const PixelFormat& format, const gfx::Pixel* source, int count,
                std::uint8_t* target);
// Reads count pixels of the server's format back into bitmap pixels.
void UnpackPixels(const PixelFormat& format, const std::uint8_t* source, int count,
                  gfx::Pixel* target);

}  // namespace platform::x11
