// Feeds arbitrary bytes to the BMP reader as a buffer of pictures stored back
// to back, the way the stored skin keeps them. Every picture read is written
// again at the depth WriteBmp picks and must read back to the same pixels,
// depth and palette.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <unordered_set>
#include <vector>

#include "gfx/BmpCodec.h"
#include "gfx/Error.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "fuzz_bmp: %s\n", what);
    std::abort();
  }
}

bool AllInPalette(const gfx::Bitmap& picture) {
  const std::vector<gfx::Pixel>& palette = picture.SourcePalette();
  std::unordered_set<gfx::Pixel> colours(palette.begin(), palette.end());
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      if (!colours.count(picture.GetPixel(x, y))) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> rest(data, size);
  while (!rest.empty()) {
    gfx::BmpReadResult read;
    try {
      read = gfx::ReadBmp(rest);
    } catch (const gfx::Error&) {
      break;
    }
    Check(read.BytesUsed > 0 && read.BytesUsed <= rest.size(), "bytes used out of range");
    const gfx::Bitmap& picture = read.Picture;

    int bits = gfx::BmpWriteBits(picture);
    // Pixels that RLE data leaves unset are black, which the palette need
    // not hold; only when it holds every pixel are its depth and order sure
    // to be kept.
    bool allInPalette = picture.SourceBits() <= 8 && AllInPalette(picture);
    if (allInPalette) Check(bits == picture.SourceBits(), "palette depth not kept");
    std::vector<std::uint8_t> written = gfx::WriteBmp(picture);
    gfx::BmpReadResult again = gfx::ReadBmp(written);
    Check(again.BytesUsed == written.size(), "written size differs from the header");
    Check(again.Picture.SamePixels(picture), "pixels changed in a write and read");
    Check(again.Picture.SourceBits() == bits, "depth changed in a write and read");
    if (allInPalette) {
      Check(again.Picture.SourcePalette() == picture.SourcePalette(), "palette changed");
    }
    rest = rest.subspan(read.BytesUsed);
  }
  return 0;
}
