#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gfx/Color.h"
#include "gfx/Geometry.h"

namespace gfx {

// Character sets of a font, with the classic numeric values that skins and
// stored layouts carry. GB2312_CHARSET makes a Chinese font the first
// choice even when the family named is a Latin one.
constexpr int ANSI_CHARSET = 0;
constexpr int DEFAULT_CHARSET = 1;
constexpr int GB2312_CHARSET = 134;

// Style set of a font; combine with | and test with HasStyle.
enum class FontStyle : std::uint8_t {
  None = 0,
  Bold = 1,
  Italic = 2,
  Underline = 4,
  StrikeOut = 8,
};

constexpr FontStyle operator|(FontStyle a, FontStyle b) {
  return FontStyle(std::uint8_t(a) | std::uint8_t(b));
}
constexpr FontStyle operator&(FontStyle a, FontStyle b) {
  return FontStyle(std::uint8_t(a) & std::uint8_t(b));
}
constexpr FontStyle operator~(FontStyle a) { return FontStyle(~std::uint8_t(a) & 0x0F); }
constexpr FontStyle& operator|=(FontStyle& a, FontStyle b) { return a = a | b; }
constexpr FontStyle& operator&=(FontStyle& a, FontStyle b) { return a = a & b; }
constexpr bool HasStyle(FontStyle set, FontStyle style) { return (set & style) != FontStyle::None; }

// A font as the layouts and skins describe it: a value, cheap to copy and
// compare. The faces behind it are found and cached by the FontEngine.
//
// Height follows the classic rule:
//   negative: the character height in pixels (the em size), used directly;
//   positive: the cell height in pixels; the em size is scaled so that the
//             face's ascent plus descent fills the cell;
//   zero:     the default size, 12 pixels of character height (the size of
//             the desktop's Chinese user-interface font).
struct Font {
  static constexpr std::string_view DefaultName = "宋体";
  static constexpr int DefaultHeight = -12;

  std::string Name{DefaultName};
  int Height = DefaultHeight;
  FontStyle Style = FontStyle::None;
  gfx::Color Color = 0;
  int CharSet = DEFAULT_CHARSET;

  friend bool operator==(const Font&, const Font&) = default;
};

// Measures of a font at its size, in pixels. Height is the cell (Ascent +
// Descent), which is also the distance between two lines of DrawText.
struct FontMetrics {
  int Ascent = 0;
  int Descent = 0;
  int Height = 0;
  // Height minus the em size: room for accents inside the cell.
  int InternalLeading = 0;
  // Advance of "x", the width controls use to size text boxes.
  int AverageCharWidth = 0;
  int MaxCharWidth = 0;
  // The em size the font is drawn at.
  int PixelSize = 0;

  friend bool operator==(const FontMetrics&, const FontMetrics&) = default;
};

// Metrics of the font; never fails (a font that cannot be found is drawn
// with the system's fallback face).
FontMetrics MeasureFont(const Font& font);

// Width and height of one line of UTF-8 text, no prefix or tab handling:
// the width is the sum of the advances, the height the font's cell.
Size MeasureText(const Font& font, std::string_view text);

}  // namespace gfx
