#include "Palette.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>

#include "Theme.h"

namespace skingen {

namespace {

constexpr std::size_t PaletteSize = 256;

std::vector<gfx::Pixel> BuildPalette() {
  std::vector<gfx::Pixel> palette;
  auto add = [&palette](gfx::Pixel p) {
    p &= 0xFFFFFF;
    if (palette.size() < PaletteSize && std::find(palette.begin(), palette.end(), p) == palette.end()) {
      palette.push_back(p);
    }
  };
  for (gfx::Pixel p : theme::AllColours()) add(p);
  for (const Ramp& ramp : theme::AllRamps()) {
    for (int i = 0; i < ramp.Count; ++i) add(ramp.Step(i));
  }
  if (palette.size() > 248) throw std::logic_error("the theme leaves too little room for blends");
  // Blends between the theme's colours: steps between the frame's dark
  // and light blue-greys and a neutral grey ramp, alternating until full.
  for (int i = 1; palette.size() < PaletteSize && i < 64; ++i) {
    add(Mix(theme::FrameOutline, theme::White, double(i) / 64.0));
    add(Mix(0x000000, 0xFFFFFF, double(i) / 64.0));
    add(Mix(theme::Accent, theme::White, double(i) / 64.0));
    add(Mix(theme::CloseButtonHot.Fill.To, theme::CaptionMiddle, double(i) / 64.0));
  }
  for (int i = 0; palette.size() < PaletteSize; ++i) add(gfx::MakePixel(std::uint8_t(i), 0, 0));
  return palette;
}

int Distance(gfx::Pixel a, gfx::Pixel b) {
  const int dr = int(gfx::PixelRed(a)) - int(gfx::PixelRed(b));
  const int dg = int(gfx::PixelGreen(a)) - int(gfx::PixelGreen(b));
  const int db = int(gfx::PixelBlue(a)) - int(gfx::PixelBlue(b));
  return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

}  // namespace

const std::vector<gfx::Pixel>& SkinPalette() {
  static const std::vector<gfx::Pixel> palette = BuildPalette();
  return palette;
}

void QuantiseToPalette(gfx::Bitmap& picture) {
  const std::vector<gfx::Pixel>& palette = SkinPalette();
  std::unordered_map<gfx::Pixel, gfx::Pixel> nearest;
  for (int y = 0; y < picture.Height(); ++y) {
    gfx::Pixel* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x) {
      const gfx::Pixel p = row[x] & 0xFFFFFF;
      auto found = nearest.find(p);
      if (found == nearest.end()) {
        gfx::Pixel best = palette.front();
        int bestDistance = Distance(p, best);
        for (gfx::Pixel candidate : palette) {
          const int d = Distance(p, candidate);
          if (d < bestDistance) {
            best = candidate;
            bestDistance = d;
          }
        }
        found = nearest.emplace(p, best).first;
      }
      row[x] = found->second;
    }
  }
  picture.SetSourceBits(8);
  picture.SetSourcePalette(palette);
}

void MakeMask(gfx::Bitmap& picture) {
  for (int y = 0; y < picture.Height(); ++y) {
    gfx::Pixel* row = picture.Row(y);
    for (int x = 0; x < picture.Width(); ++x) row[x] = (row[x] & 0xFFFFFF) == 0 ? 0x000000 : 0xFFFFFF;
  }
  picture.SetSourceBits(1);
  picture.SetSourcePalette({0x000000, 0xFFFFFF});
}

}  // namespace skingen
