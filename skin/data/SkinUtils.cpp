#include "skin/data/SkinUtils.h"

#include <cstddef>

namespace skin {

TFBitmap::TFBitmap(const gfx::Bitmap& source)
    : Width(source.Width()),
      Height(source.Height()),
      RowStride(source.Width() * 3 + source.Width() % 4),
      RowPad(source.Width() % 4) {
  // Bitmap sides are at most Bitmap::MaxSide, so the size fits easily.
  FStorage.assign(std::size_t(RowStride) * std::size_t(Height), 0);
  Bits = FStorage.empty() ? nullptr : FStorage.data();
  Rows.resize(std::size_t(Height));
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* out = Bits + std::size_t(y) * std::size_t(RowStride);
    Rows[std::size_t(y)] = out;
    const gfx::Pixel* in = source.Row(y);
    for (int x = 0; x < Width; ++x) {
      gfx::Pixel p = in[x];
      out[0] = gfx::PixelBlue(p);
      out[1] = gfx::PixelGreen(p);
      out[2] = gfx::PixelRed(p);
      out += 3;
    }
  }
}

}  // namespace skin
