#include "gfx/Font.h"

#include "gfx/FontEngine.h"
#include "gfx/TextUtf8.h"

namespace gfx {

FontMetrics MeasureFont(const Font& font) { return FontEngine::Instance().Resolve(font).Metrics(); }

Size MeasureText(const Font& font, std::string_view text) {
  FontInstance& instance = FontEngine::Instance().Resolve(font);
  int width = 0;
  for (char32_t c : DecodeUtf8(text)) width += instance.Advance(c);
  return Size{width, instance.Metrics().Height};
}

}  // namespace gfx
