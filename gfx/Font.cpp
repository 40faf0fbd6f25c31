#include "gfx/Font.h"

namespace gfx {

FontMetrics MeasureFont(const Font& font) {
  int size = font.Height < 0 ? -font.Height : font.Height == 0 ? 12 : font.Height;
  return FontMetrics{size, 0, size, 0, size / 2, size, size};
}

Size MeasureText(const Font& font, std::string_view text) {
  FontMetrics m = MeasureFont(font);
  return Size{int(text.size()) * m.AverageCharWidth, m.Height};
}

}  // namespace gfx
