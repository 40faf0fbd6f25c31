#include "platform/x11/PixelFormat.h"

#include <bit>

namespace platform::x11 {
namespace {

struct Channel {
  int Shift = 0;
  int Bits = 0;
};

Channel ChannelOf(std::uint32_t mask) {
  if (mask == 0) return {};
  return Channel{std::countr_zero(mask), std::popcount(mask)};
}

// An 8-bit channel value widened or narrowed to the channel's bits.
std::uint32_t Scale(std::uint8_t value, Channel channel) {
  if (channel.Bits == 0) return 0;
  std::uint32_t scaled;
  if (channel.Bits <= 8) {
    scaled = std::uint32_t(value) >> (8 - channel.Bits);
  } else {
    std::uint64_t top = (std::uint64_t(1) << channel.Bits) - 1;
    scaled = std::uint32_t((value * top + 127) / 255);
  }
  return scaled << channel.Shift;
}

std::uint8_t Unscale(std::uint32_t pixel, std::uint32_t mask, Channel channel) {
  if (channel.Bits == 0) return 0;
  std::uint32_t value = (pixel & mask) >> channel.Shift;
  if (channel.Bits >= 8) return std::uint8_t(value >> (channel.Bits - 8));
  std::uint32_t top = (1u << channel.Bits) - 1;
  return std::uint8_t((value * 255 + top / 2) / top);
}

}  // namespace

bool PixelFormat::MatchesBitmap() const {
  return BitsPerPixel == 32 && RedMask == 0xFF0000 && GreenMask == 0x00FF00 &&
         BlueMask == 0x0000FF &&
         MostSignificantFirst == (std::endian::native == std::endian::big);
}

void PackPixels(const PixelFormat& format, const gfx::Pixel* source, int count,
                std::uint8_t* target) {
  const Channel red = ChannelOf(format.RedMask);
  const Channel green = ChannelOf(format.GreenMask);
  const Channel blue = ChannelOf(format.BlueMask);
  const int bytes = format.BytesPerPixel();
  for (int i = 0; i < count; ++i) {
    gfx::Pixel p = source[i];
    std::uint32_t value = Scale(gfx::PixelRed(p), red) | Scale(gfx::PixelGreen(p), green) |
                          Scale(gfx::PixelBlue(p), blue);
    for (int b = 0; b < bytes; ++b) {
      int shift = format.MostSignificantFirst ? 8 * (bytes - 1 - b) : 8 * b;
      target[b] = std::uint8_t(value >> shift);
    }
    target += bytes;
  }
}

void UnpackPixels(const PixelFormat& format, const std::uint8_t* source, int count,
                  gfx::Pixel* target) {
  const Channel red = ChannelOf(format.RedMask);
  const Channel green = ChannelOf(format.GreenMask);
  const Channel blue = ChannelOf(format.BlueMask);
  const int bytes = format.BytesPerPixel();
  for (int i = 0; i < count; ++i) {
    std::uint32_t value = 0;
    for (int b = 0; b < bytes; ++b) {
      int shift = format.MostSignificantFirst ? 8 * (bytes - 1 - b) : 8 * b;
      value |= std::uint32_t(source[b]) << shift;
    }
    target[i] = gfx::MakePixel(Unscale(value, format.RedMask, red),
                               Unscale(value, format.GreenMask, green),
                               Unscale(value, format.BlueMask, blue));
    source += bytes;
  }
}

}  // namespace platform::x11
