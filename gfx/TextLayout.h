#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace gfx {

// One line of formatted text, ready to draw.
struct TextLine {
  std::u32string Text;
  // Pen position of each character from the line's start, and the line's
  // width as the last entry (Text.size() + 1 values).
  std::vector<int> Positions;
  // The characters marked by a "&" prefix, drawn underlined.
  std::vector<bool> Underlined;

  int Width() const { return Positions.empty() ? 0 : Positions.back(); }
};

// How LayoutText measures: the advance of one character, and the tab step
// (DT_EXPANDTABS).
struct TextMeasure {
  std::function<int(char32_t)> Advance;
  int TabWidth = 0;
};

// Splits text into lines as DrawText does with the DT_ flags of
// gfx/TextFormat.h: "&" prefixes (unless DT_NOPREFIX), line breaks at CR,
// LF and CR LF (unless DT_SINGLELINE), word wrapping at `width` (with
// DT_WORDBREAK), tab expansion (DT_EXPANDTABS) and "..." for lines wider
// than `width` (DT_END_ELLIPSIS). An empty text gives no line; a line
// break at the very end does not start another one.
std::vector<TextLine> LayoutText(std::u32string_view text, unsigned format, int width,
                                 const TextMeasure& measure);

// Removes the "&" prefixes: "&x" marks x, "&&" is a literal "&", a "&"
// at the end is dropped. `underlined` receives one flag per character of
// the result.
std::u32string StripPrefixes(std::u32string_view text, std::vector<bool>& underlined);

// True for characters between which a line may break without a space
// (CJK ideographs, kana, hangul and full-width forms).
bool IsWideBreakCharacter(char32_t c);

}  // namespace gfx
