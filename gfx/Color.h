#pragma once

#include <cstdint>

namespace gfx {

// A pixel of a Bitmap: 0x00RRGGBB, which lies in memory as B, G, R, X on a
// little-endian machine (the layout X11 and device-independent bitmaps use).
using Pixel = std::uint32_t;

// A colour value as the skin description and the layouts write it:
// 0x00BBGGRR, red in the lowest byte.
using Color = std::uint32_t;

constexpr Pixel MakePixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return (Pixel(red) << 16) | (Pixel(green) << 8) | Pixel(blue);
}
constexpr std::uint8_t PixelRed(Pixel p) { return std::uint8_t(p >> 16); }
constexpr std::uint8_t PixelGreen(Pixel p) { return std::uint8_t(p >> 8); }
constexpr std::uint8_t PixelBlue(Pixel p) { return std::uint8_t(p); }

constexpr Color MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return (Color(blue) << 16) | (Color(green) << 8) | Color(red);
}
constexpr std::uint8_t ColorRed(Color c) { return std::uint8_t(c); }
constexpr std::uint8_t ColorGreen(Color c) { return std::uint8_t(c >> 8); }
constexpr std::uint8_t ColorBlue(Color c) { return std::uint8_t(c >> 16); }

constexpr Pixel ColorToPixel(Color c) {
  return MakePixel(ColorRed(c), ColorGreen(c), ColorBlue(c));
}
constexpr Color PixelToColor(Pixel p) {
  return MakeColor(PixelRed(p), PixelGreen(p), PixelBlue(p));
}

}  // namespace gfx
