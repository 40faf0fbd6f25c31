#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gfx/Font.h"

namespace gfx {

// One rendered glyph: a coverage mask (0 = background, 255 = ink) placed
// relative to the pen position on the baseline.
struct Glyph {
  // Columns from the pen position to the mask's first column.
  int Left = 0;
  // Rows from the mask's first row down to the baseline.
  int Top = 0;
  int Width = 0;
  int Height = 0;
  // Pen movement in whole pixels: text is laid out on the pixel grid.
  int Advance = 0;
  std::vector<std::uint8_t> Coverage;
  // The runs of non-zero coverage, row by row, so that drawing touches ink
  // only. Opaque runs are full coverage throughout.
  struct Span {
    int Row = 0;
    int Column = 0;
    int Length = 0;
    bool Opaque = false;
  };
  std::vector<Span> Spans;
};

// A Font resolved to faces at one size. Characters are looked up in a
// fallback list (the font fontconfig chose first, then the others it
// sorted after it), so a Latin family still draws Chinese text.
class FontInstance {
 public:
  virtual ~FontInstance() = default;

  virtual const FontMetrics& Metrics() const = 0;
  // Rows below the baseline to the underline's first row, and its
  // thickness.
  virtual int UnderlinePosition() const = 0;
  virtual int UnderlineThickness() const = 0;
  // Rows above the baseline to the strike-out line's first row, and its
  // thickness.
  virtual int StrikeOutPosition() const = 0;
  virtual int StrikeOutThickness() const = 0;

  // The glyph of a character: from the first face of the fallback list
  // that has it, or the first face's missing-glyph box. Control characters
  // have an empty glyph without advance. The reference stays valid for the
  // life of the engine.
  virtual const Glyph& GlyphOf(char32_t c) = 0;
  int Advance(char32_t c) { return GlyphOf(c).Advance; }

  // Family of the face that draws c ("" when no face has it).
  virtual std::string FamilyOf(char32_t c) = 0;
  // Family of the first face.
  virtual std::string PrimaryFamily() const = 0;
};

// Finds fonts through fontconfig and draws them with FreeType; caches
// faces (per file and index), sizes, resolved fonts and glyphs. One per
// process, used from the GUI thread only. At its first use it loads the
// program's font aliases after the system configuration, so that the
// family names of layouts and skins ("宋体", "MS Sans Serif", "Arial")
// resolve to the same fonts in every locale.
class FontEngine {
 public:
  static FontEngine& Instance();

  // The font resolved at its size; the reference stays valid for the life
  // of the engine. Underline, strike-out and colour do not matter here.
  FontInstance& Resolve(const Font& font);

  FontEngine(const FontEngine&) = delete;
  FontEngine& operator=(const FontEngine&) = delete;
  ~FontEngine();

 private:
  FontEngine();
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

}  // namespace gfx
