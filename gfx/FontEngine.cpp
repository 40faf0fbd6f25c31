#include "gfx/FontEngine.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>
#include <unordered_map>

#include "gfx/Error.h"

namespace gfx {

namespace {

// The family names layouts and skins use, mapped to fonts Debian ships. On
// Windows none of those is there and the names find the system's own fonts
// ("宋体" is SimSun, also by its English name).
// binding="same" keeps the alias ahead of the lang=zh-cn that every
// pattern carries, so "Arial" stays a Latin font for Latin text. The two
// Chinese fonts look right at user-interface sizes only from their bitmap
// strikes, hence the second part.
constexpr char Aliases[] = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <alias binding="same"><family>宋体</family>
    <prefer><family>AR PL UMing CN</family><family>WenQuanYi Zen Hei Sharp</family><family>WenQuanYi Zen Hei</family><family>SimSun</family></prefer></alias>
  <alias binding="same"><family>SimSun</family>
    <prefer><family>AR PL UMing CN</family><family>WenQuanYi Zen Hei Sharp</family><family>WenQuanYi Zen Hei</family></prefer></alias>
  <alias binding="same"><family>NSimSun</family>
    <prefer><family>AR PL UMing CN</family><family>WenQuanYi Zen Hei Mono</family></prefer></alias>
  <alias binding="same"><family>MS Sans Serif</family>
    <prefer><family>Liberation Sans</family><family>WenQuanYi Zen Hei Sharp</family><family>AR PL UMing CN</family></prefer></alias>
  <alias binding="same"><family>Arial</family>
    <prefer><family>Liberation Sans</family><family>WenQuanYi Zen Hei Sharp</family><family>AR PL UMing CN</family></prefer></alias>
  <match target="font">
    <test name="family" qual="any"><string>AR PL UMing CN</string></test>
    <test name="pixelsize" compare="less_eq"><double>16.5</double></test>
    <edit name="antialias" mode="assign"><bool>false</bool></edit>
    <edit name="embeddedbitmap" mode="assign"><bool>true</bool></edit>
  </match>
  <match target="font">
    <test name="family" qual="any"><string>WenQuanYi Zen Hei Sharp</string></test>
    <test name="pixelsize" compare="less_eq"><double>16.5</double></test>
    <edit name="antialias" mode="assign"><bool>false</bool></edit>
    <edit name="embeddedbitmap" mode="assign"><bool>true</bool></edit>
  </match>
</fontconfig>
)";

// The size that height 0 stands for.
constexpr int DefaultPixelSize = 12;
// Sizes beyond this are clamped: no user-interface text is that large and
// FreeType's work grows with the square of the size.
constexpr int MaxPixelSize = 1024;
// Fallback faces looked at per font; fontconfig's trimmed list is shorter
// in practice.
constexpr int MaxFallbackFaces = 32;

// How the glyphs of one face are loaded and turned into masks.
struct LoadMode {
  FT_Int32 Flags = FT_LOAD_DEFAULT;
  FT_Render_Mode Render = FT_RENDER_MODE_NORMAL;
  // Synthetic bold and slant for families that lack those faces.
  bool Embolden = false;
  bool Oblique = false;
};

struct FallbackFace {
  std::string File;
  int Index = 0;
  std::string Family;
  FcCharSet* Charset = nullptr;
  LoadMode Mode;
  // Opened on first use; Failed once opening did not work.
  FT_Face Face = nullptr;
  FT_Size Size = nullptr;
  bool Failed = false;
  // A face that ships bitmap strikes but none of this size, asked to draw
  // without antialiasing: its outlines lose strokes that way, so it is
  // drawn antialiased and other faces with a strike are preferred.
  bool MissesStrike = false;
  bool HasStrike = false;
};

int RoundToInt(double v) { return int(std::lround(v)); }

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// Coverage mask of a rendered bitmap in any of FreeType's pixel modes.
void CopyCoverage(FT_Library library, const FT_Bitmap& bitmap, Glyph& glyph) {
  glyph.Width = int(bitmap.width);
  glyph.Height = int(bitmap.rows);
  glyph.Coverage.assign(std::size_t(glyph.Width) * std::size_t(glyph.Height), 0);
  if (glyph.Width == 0 || glyph.Height == 0) return;
  auto row = [&](const FT_Bitmap& b, int r) {
    int pitch = std::abs(b.pitch);
    int index = b.pitch >= 0 ? r : int(b.rows) - 1 - r;
    return b.buffer + std::ptrdiff_t(index) * pitch;
  };
  switch (bitmap.pixel_mode) {
    case FT_PIXEL_MODE_MONO:
      for (int r = 0; r < glyph.Height; ++r) {
        const unsigned char* in = row(bitmap, r);
        for (int c = 0; c < glyph.Width; ++c) {
          if (in[c >> 3] & (0x80 >> (c & 7))) glyph.Coverage[std::size_t(r * glyph.Width + c)] = 255;
        }
      }
      return;
    case FT_PIXEL_MODE_GRAY: {
      int grays = bitmap.num_grays > 1 ? bitmap.num_grays - 1 : 255;
      for (int r = 0; r < glyph.Height; ++r) {
        const unsigned char* in = row(bitmap, r);
        for (int c = 0; c < glyph.Width; ++c) {
          glyph.Coverage[std::size_t(r * glyph.Width + c)] =
              std::uint8_t(grays == 255 ? in[c] : in[c] * 255 / grays);
        }
      }
      return;
    }
    case FT_PIXEL_MODE_BGRA:
      for (int r = 0; r < glyph.Height; ++r) {
        const unsigned char* in = row(bitmap, r);
        for (int c = 0; c < glyph.Width; ++c) glyph.Coverage[std::size_t(r * glyph.Width + c)] = in[c * 4 + 3];
      }
      return;
    default: {
      FT_Bitmap gray;
      FT_Bitmap_Init(&gray);
      if (FT_Bitmap_Convert(library, &bitmap, &gray, 1) == 0) {
        int grays = gray.num_grays > 1 ? gray.num_grays - 1 : 1;
        for (int r = 0; r < glyph.Height && r < int(gray.rows); ++r) {
          const unsigned char* in = row(gray, r);
          for (int c = 0; c < glyph.Width && c < int(gray.width); ++c) {
            glyph.Coverage[std::size_t(r * glyph.Width + c)] = std::uint8_t(std::min(255, in[c] * 255 / grays));
          }
        }
      }
      FT_Bitmap_Done(library, &gray);
      return;
    }
  }
}

// Slants a mask about the baseline by a quarter pixel per row, the way
// the classic desktop makes italics of a family without an italic face.
void Shear(Glyph& glyph) {
  if (glyph.Width == 0 || glyph.Height == 0) return;
  auto shift = [&](int r) { return FloorDiv(glyph.Top - 1 - r, 4); };
  int low = std::min(shift(0), shift(glyph.Height - 1));
  int high = std::max(shift(0), shift(glyph.Height - 1));
  int width = glyph.Width + high - low;
  std::vector<std::uint8_t> out(std::size_t(width) * std::size_t(glyph.Height), 0);
  for (int r = 0; r < glyph.Height; ++r) {
    int offset = shift(r) - low;
    std::copy_n(glyph.Coverage.begin() + std::ptrdiff_t(r * glyph.Width), glyph.Width,
                out.begin() + std::ptrdiff_t(r * width + offset));
  }
  glyph.Coverage = std::move(out);
  glyph.Width = width;
  glyph.Left += low;
}

// Thickens a mask by one pixel to the right, the classic synthetic bold.
void Embolden(Glyph& glyph) {
  glyph.Advance += 1;
  if (glyph.Width == 0 || glyph.Height == 0) return;
  int width = glyph.Width + 1;
  std::vector<std::uint8_t> out(std::size_t(width) * std::size_t(glyph.Height), 0);
  for (int r = 0; r < glyph.Height; ++r) {
    const std::uint8_t* in = glyph.Coverage.data() + std::ptrdiff_t(r) * glyph.Width;
    std::uint8_t* to = out.data() + std::ptrdiff_t(r) * width;
    for (int c = 0; c < width; ++c) {
      std::uint8_t here = c < glyph.Width ? in[c] : 0;
      std::uint8_t left = c > 0 ? in[c - 1] : 0;
      to[c] = std::max(here, left);
    }
  }
  glyph.Coverage = std::move(out);
  glyph.Width = width;
}

void FindSpans(Glyph& glyph) {
  glyph.Spans.clear();
  for (int r = 0; r < glyph.Height; ++r) {
    const std::uint8_t* row = glyph.Coverage.data() + std::ptrdiff_t(r) * glyph.Width;
    int c = 0;
    while (c < glyph.Width) {
      if (row[c] == 0) {
        ++c;
        continue;
      }
      int start = c;
      bool opaque = true;
      for (; c < glyph.Width && row[c] != 0; ++c) {
        if (row[c] != 255) opaque = false;
      }
      glyph.Spans.push_back(Glyph::Span{r, start, c - start, opaque});
    }
  }
}

const Glyph& EmptyGlyph() {
  static const Glyph empty;
  return empty;
}

// Library handles and every cache, shared by all resolved fonts.
struct FaceStore {
  FT_Library Library = nullptr;
  FcConfig* Config = nullptr;
  std::map<std::pair<std::string, int>, FT_Face> Faces;
  std::map<std::pair<FT_Face, int>, FT_Size> Sizes;
  using GlyphKey = std::tuple<std::uintptr_t, FT_UInt, FT_Int32, int, bool, bool>;
  std::map<GlyphKey, std::unique_ptr<Glyph>> Glyphs;
  using FontKey = std::tuple<std::string, int, bool, bool, int>;
  std::map<FontKey, std::unique_ptr<FontInstance>> Fonts;

  FaceStore();
  ~FaceStore();
  FaceStore(const FaceStore&) = delete;
  FaceStore& operator=(const FaceStore&) = delete;

  std::vector<FallbackFace> Sort(const std::string& family, int pixelSize, bool bold, bool italic,
                                 int charSet);
  // Opens the face and its size for the entry; false when it cannot.
  bool Open(FallbackFace& entry, int pixelSize);
  const Glyph& Render(FallbackFace& entry, FT_UInt index);
};

class ResolvedFont final : public FontInstance {
 public:
  ResolvedFont(FaceStore& engine, std::vector<FallbackFace> faces, int pixelSize,
               int cellHeight)
      : FEngine(engine), FFaces(std::move(faces)), FPixelSize(pixelSize) {
    ComputeMetrics(cellHeight);
  }

  ~ResolvedFont() override {
    for (FallbackFace& f : FFaces) {
      if (f.Charset) FcCharSetDestroy(f.Charset);
    }
  }

  const FontMetrics& Metrics() const override { return FMetrics; }
  int UnderlinePosition() const override { return FUnderlinePosition; }
  int UnderlineThickness() const override { return FUnderlineThickness; }
  int StrikeOutPosition() const override { return FStrikeOutPosition; }
  int StrikeOutThickness() const override { return FStrikeOutThickness; }

  const Glyph& GlyphOf(char32_t c) override {
    if (c < FAscii.size()) {
      if (!FAscii[c]) FAscii[c] = &Lookup(c);
      return *FAscii[c];
    }
    auto found = FGlyphs.find(c);
    if (found != FGlyphs.end()) return *found->second;
    const Glyph* glyph = &Lookup(c);
    FGlyphs.emplace(c, glyph);
    return *glyph;
  }

  std::string FamilyOf(char32_t c) override {
    int face = FaceIndexOf(c);
    return face < 0 ? std::string() : FFaces[std::size_t(face)].Family;
  }

  std::string PrimaryFamily() const override {
    return FFaces.empty() ? std::string() : FFaces.front().Family;
  }

 private:
  static bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

  bool Has(FallbackFace& f, char32_t c) {
    if (f.Failed || !f.Charset || !FcCharSetHasChar(f.Charset, FcChar32(c))) return false;
    if (!FEngine.Open(f, FPixelSize)) return false;
    return FT_Get_Char_Index(f.Face, FT_ULong(c)) != 0;
  }

  // Index of the first face that has c, or -1. When that face lacks its
  // bitmap strike at this size, a later face with one is taken instead:
  // at user-interface sizes a crisp strike reads better than a blurred
  // outline.
  int FaceIndexOf(char32_t c) {
    for (std::size_t i = 0; i < FFaces.size(); ++i) {
      if (!Has(FFaces[i], c)) continue;
      if (FFaces[i].MissesStrike) {
        for (std::size_t j = i + 1; j < FFaces.size(); ++j) {
          if (Has(FFaces[j], c) && FFaces[j].HasStrike) return int(j);
        }
      }
      return int(i);
    }
    return -1;
  }

  const Glyph& Lookup(char32_t c) {
    if (IsControl(c)) return EmptyGlyph();
    int face = FaceIndexOf(c);
    if (face >= 0) {
      FallbackFace& f = FFaces[std::size_t(face)];
      return FEngine.Render(f, FT_Get_Char_Index(f.Face, FT_ULong(c)));
    }
    // No face has it: the first face's missing-glyph box.
    for (FallbackFace& f : FFaces) {
      if (FEngine.Open(f, FPixelSize)) return FEngine.Render(f, 0);
    }
    return EmptyGlyph();
  }

  void ComputeMetrics(int cellHeight) {
    FMetrics.PixelSize = FPixelSize;
    FallbackFace* primary = nullptr;
    for (FallbackFace& f : FFaces) {
      if (FEngine.Open(f, FPixelSize)) {
        primary = &f;
        break;
      }
    }
    double ascent = 0.8 * FPixelSize, descent = 0.2 * FPixelSize;
    double underline = 0.1 * FPixelSize, underlineSize = FPixelSize / 14.0;
    double strike = 0.3 * FPixelSize, strikeSize = underlineSize;
    double maxAdvance = FPixelSize;
    if (primary && primary->Face->units_per_EM > 0 && FT_IS_SCALABLE(primary->Face)) {
      FT_Face face = primary->Face;
      double scale = double(FPixelSize) / face->units_per_EM;
      auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      // The cell of the classic desktop is the Windows ascent and descent
      // of the OS/2 table; fonts without one give their hhea values.
      double a = face->ascender, d = -face->descender;
      if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        a = os2->usWinAscent;
        d = os2->usWinDescent;
      }
      if (cellHeight > 0 && a + d > 0) {
        ascent = cellHeight * a / (a + d);
        descent = cellHeight - RoundToInt(ascent);
      } else {
        ascent = a * scale;
        descent = d * scale;
      }
      if (face->underline_thickness > 0) {
        underline = -face->underline_position * scale;
        underlineSize = face->underline_thickness * scale;
      }
      if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
        strike = os2->yStrikeoutPosition * scale;
        strikeSize = os2->yStrikeoutSize * scale;
      }
      maxAdvance = face->max_advance_width * scale;
    } else if (primary) {
      const FT_Size_Metrics& m = primary->Size->metrics;
      ascent = m.ascender / 64.0;
      descent = -m.descender / 64.0;
      maxAdvance = m.max_advance / 64.0;
    }
    FMetrics.Ascent = std::max(1, RoundToInt(ascent));
    FMetrics.Descent = std::max(0, RoundToInt(descent));
    FMetrics.Height = FMetrics.Ascent + FMetrics.Descent;
    FMetrics.InternalLeading = std::max(0, FMetrics.Height - FPixelSize);
    FUnderlineThickness = std::max(1, RoundToInt(underlineSize));
    // The row whose centre is nearest to the line's centre.
    FUnderlinePosition = std::max(0, RoundToInt(underline - underlineSize / 2));
    // Keep the underline inside the cell so that a line's clip keeps it.
    if (FUnderlinePosition + FUnderlineThickness > FMetrics.Descent) {
      FUnderlinePosition = std::max(0, FMetrics.Descent - FUnderlineThickness);
    }
    FStrikeOutThickness = std::max(1, RoundToInt(strikeSize));
    FStrikeOutPosition = std::clamp(RoundToInt(strike) + FStrikeOutThickness / 2, FStrikeOutThickness,
                                    std::max(FStrikeOutThickness, FMetrics.Ascent));
    FMetrics.AverageCharWidth = GlyphOf(U'x').Advance;
    if (FMetrics.AverageCharWidth <= 0) FMetrics.AverageCharWidth = std::max(1, FPixelSize / 2);
    FMetrics.MaxCharWidth = std::max({RoundToInt(maxAdvance), FMetrics.AverageCharWidth,
                                      GlyphOf(U'\u4E2D').Advance});
  }

  FaceStore& FEngine;
  std::vector<FallbackFace> FFaces;
  int FPixelSize;
  FontMetrics FMetrics;
  int FUnderlinePosition = 1;
  int FUnderlineThickness = 1;
  int FStrikeOutPosition = 3;
  int FStrikeOutThickness = 1;
  // ASCII without hashing: most of the text the program draws.
  std::array<const Glyph*, 128> FAscii{};
  std::unordered_map<char32_t, const Glyph*> FGlyphs;
};

}  // namespace

struct FontEngine::Impl {
  FaceStore Store;
};

FaceStore::FaceStore() {
  if (FT_Init_FreeType(&Library) != 0) throw Error("cannot initialise FreeType");
  Config = FcInitLoadConfigAndFonts();
  if (!Config) Config = FcConfigCreate();
  if (!Config || !FcConfigParseAndLoadFromMemory(Config, reinterpret_cast<const FcChar8*>(Aliases), FcTrue)) {
    std::fprintf(stderr, "ostvane: could not load the font aliases; fonts may differ\n");
  }
}

FaceStore::~FaceStore() {
  Fonts.clear();
  Glyphs.clear();
  // FT_Done_Face frees the face's sizes too.
  for (auto& [key, face] : Faces) {
    if (face) FT_Done_Face(face);
  }
  if (Library) FT_Done_FreeType(Library);
  if (Config) FcConfigDestroy(Config);
}

std::vector<FallbackFace> FaceStore::Sort(const std::string& family, int pixelSize, bool bold,
                                                 bool italic, int charSet) {
  std::vector<FallbackFace> faces;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return faces;
  if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  // The same answer in every locale: CI runs with LANG=C.
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
  FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixelSize);
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(Config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcFontSet* set = FcFontSort(Config, pattern, FcTrue, nullptr, &result);
  for (int i = 0; set && i < set->nfont && int(faces.size()) < MaxFallbackFaces; ++i) {
    FcPattern* font = FcFontRenderPrepare(Config, pattern, set->fonts[i]);
    if (!font) continue;
    FallbackFace entry;
    FcChar8* text = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &text) == FcResultMatch) entry.File = reinterpret_cast<char*>(text);
    if (FcPatternGetString(font, FC_FAMILY, 0, &text) == FcResultMatch) entry.Family = reinterpret_cast<char*>(text);
    FcPatternGetInteger(font, FC_INDEX, 0, &entry.Index);
    FcCharSet* charset = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch) entry.Charset = FcCharSetCopy(charset);
    FcBool antialias = FcTrue, embeddedBitmap = FcTrue, hinting = FcTrue, autohint = FcFalse;
    int hintStyle = FC_HINT_SLIGHT, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetBool(font, FC_ANTIALIAS, 0, &antialias);
    FcPatternGetBool(font, FC_EMBEDDED_BITMAP, 0, &embeddedBitmap);
    FcPatternGetBool(font, FC_HINTING, 0, &hinting);
    FcPatternGetBool(font, FC_AUTOHINT, 0, &autohint);
    FcPatternGetInteger(font, FC_HINT_STYLE, 0, &hintStyle);
    FcPatternDestroy(font);
    // Weight and slant of the face itself: the prepared pattern already
    // claims the requested ones when fontconfig would synthesise them.
    FcPatternGetInteger(set->fonts[i], FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(set->fonts[i], FC_SLANT, 0, &slant);
    if (entry.File.empty()) {
      if (entry.Charset) FcCharSetDestroy(entry.Charset);
      continue;
    }
    LoadMode& mode = entry.Mode;
    // Bitmap strikes are only used where fontconfig allows them; the
    // aliases allow them for the Chinese fonts at small sizes.
    if (!embeddedBitmap) mode.Flags |= FT_LOAD_NO_BITMAP;
    if (!antialias) {
      mode.Flags |= FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME;
      mode.Render = FT_RENDER_MODE_MONO;
      if (!hinting) mode.Flags |= FT_LOAD_NO_HINTING;
    } else if (!hinting || hintStyle == FC_HINT_NONE) {
      mode.Flags |= FT_LOAD_NO_HINTING;
    } else if (hintStyle == FC_HINT_SLIGHT) {
      mode.Flags |= FT_LOAD_TARGET_LIGHT;
    }
    if (autohint) mode.Flags |= FT_LOAD_FORCE_AUTOHINT;
    mode.Embolden = bold && weight < FC_WEIGHT_DEMIBOLD;
    mode.Oblique = italic && slant == FC_SLANT_ROMAN;
    faces.push_back(std::move(entry));
  }
  if (set) FcFontSetDestroy(set);
  FcPatternDestroy(pattern);

  if (charSet == GB2312_CHARSET) {
    // The Chinese character set asks for a Chinese font, whatever family
    // was named: the first face that has common hanzi comes first.
    auto chinese = std::find_if(faces.begin(), faces.end(), [](const FallbackFace& f) {
      return f.Charset && FcCharSetHasChar(f.Charset, 0x4E2D) && FcCharSetHasChar(f.Charset, 0x6587);
    });
    if (chinese != faces.end()) std::rotate(faces.begin(), chinese, chinese + 1);
  }
  return faces;
}

bool FaceStore::Open(FallbackFace& entry, int pixelSize) {
  if (entry.Size) return true;
  if (entry.Failed) return false;
  entry.Failed = true;
  auto key = std::make_pair(entry.File, entry.Index);
  auto found = Faces.find(key);
  if (found == Faces.end()) {
    FT_Face face = nullptr;
    if (FT_New_Face(Library, entry.File.c_str(), entry.Index, &face) != 0) face = nullptr;
    found = Faces.emplace(key, face).first;
  }
  FT_Face face = found->second;
  if (!face) return false;
  auto sizeKey = std::make_pair(face, pixelSize);
  auto size = Sizes.find(sizeKey);
  if (size == Sizes.end()) {
    FT_Size created = nullptr;
    if (FT_New_Size(face, &created) != 0) return false;
    FT_Activate_Size(created);
    FT_Error error = 0;
    if (FT_IS_SCALABLE(face)) {
      // Picks the bitmap strike of this size when the face has one.
      error = FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
    } else if (face->num_fixed_sizes > 0) {
      int best = 0;
      for (int i = 1; i < face->num_fixed_sizes; ++i) {
        if (std::abs(face->available_sizes[i].y_ppem / 64 - pixelSize) <
            std::abs(face->available_sizes[best].y_ppem / 64 - pixelSize)) {
          best = i;
        }
      }
      error = FT_Select_Size(face, best);
    } else {
      error = 1;
    }
    if (error != 0) {
      FT_Done_Size(created);
      return false;
    }
    size = Sizes.emplace(sizeKey, created).first;
  }
  entry.Face = face;
  entry.Size = size->second;
  entry.Failed = false;
  if (FT_HAS_FIXED_SIZES(face) && !(entry.Mode.Flags & FT_LOAD_NO_BITMAP)) {
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
      if ((face->available_sizes[i].y_ppem + 32) / 64 == pixelSize) entry.HasStrike = true;
    }
    if (!entry.HasStrike && FT_IS_SCALABLE(face) && entry.Mode.Render == FT_RENDER_MODE_MONO) {
      entry.MissesStrike = true;
      entry.Mode.Flags &= ~(FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME);
      entry.Mode.Flags |= FT_LOAD_TARGET_LIGHT;
      entry.Mode.Render = FT_RENDER_MODE_NORMAL;
    }
  }
  return true;
}

const Glyph& FaceStore::Render(FallbackFace& entry, FT_UInt index) {
  const LoadMode& mode = entry.Mode;
  GlyphKey key{reinterpret_cast<std::uintptr_t>(entry.Size), index, mode.Flags, int(mode.Render),
               mode.Embolden, mode.Oblique};
  auto found = Glyphs.find(key);
  if (found != Glyphs.end()) return *found->second;

  auto glyph = std::make_unique<Glyph>();
  FT_Activate_Size(entry.Size);
  FT_Face face = entry.Face;
  FT_Error error = FT_Load_Glyph(face, index, mode.Flags);
  if (error != 0 && !(mode.Flags & FT_LOAD_NO_BITMAP)) {
    error = FT_Load_Glyph(face, index, mode.Flags | FT_LOAD_NO_BITMAP);
  }
  if (error == 0) {
    FT_GlyphSlot slot = face->glyph;
    glyph->Advance = int((slot->advance.x + 32) >> 6);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP) error = FT_Render_Glyph(slot, mode.Render);
    if (error == 0) {
      CopyCoverage(Library, slot->bitmap, *glyph);
      glyph->Left = slot->bitmap_left;
      glyph->Top = slot->bitmap_top;
    }
    if (mode.Oblique) Shear(*glyph);
    if (mode.Embolden) Embolden(*glyph);
    FindSpans(*glyph);
  }
  const Glyph& result = *glyph;
  Glyphs.emplace(key, std::move(glyph));
  return result;
}

FontEngine& FontEngine::Instance() {
  static FontEngine engine;
  return engine;
}

FontEngine::FontEngine() : FImpl(std::make_unique<Impl>()) {}
FontEngine::~FontEngine() = default;

FontInstance& FontEngine::Resolve(const Font& font) {
  const bool bold = HasStyle(font.Style, FontStyle::Bold);
  const bool italic = HasStyle(font.Style, FontStyle::Italic);
  FaceStore::FontKey key{font.Name, font.Height, bold, italic, font.CharSet};
  auto found = FImpl->Store.Fonts.find(key);
  if (found != FImpl->Store.Fonts.end()) return *found->second;

  int cellHeight = 0;
  int pixelSize = DefaultPixelSize;
  if (font.Height < 0) {
    pixelSize = font.Height < -MaxPixelSize ? MaxPixelSize : -font.Height;
  } else if (font.Height > 0) {
    cellHeight = std::min(font.Height, MaxPixelSize);
    pixelSize = cellHeight;
  }
  std::vector<FallbackFace> faces = FImpl->Store.Sort(font.Name, pixelSize, bold, italic, font.CharSet);
  if (cellHeight > 0) {
    // The em size that makes the first face's ascent and descent fill the
    // cell; fontconfig is asked again at that size because its rules
    // (strikes, antialiasing) depend on it.
    for (FallbackFace& f : faces) {
      if (!FImpl->Store.Open(f, pixelSize)) continue;
      FT_Face face = f.Face;
      auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      double a = face->ascender, d = -face->descender;
      if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        a = os2->usWinAscent;
        d = os2->usWinDescent;
      }
      if (FT_IS_SCALABLE(face) && a + d > 0) {
        pixelSize = std::max(1, RoundToInt(cellHeight * face->units_per_EM / (a + d)));
      }
      break;
    }
    if (pixelSize != cellHeight) {
      for (FallbackFace& f : faces) {
        if (f.Charset) FcCharSetDestroy(f.Charset);
      }
      faces = FImpl->Store.Sort(font.Name, pixelSize, bold, italic, font.CharSet);
    }
  }
  auto resolved = std::make_unique<ResolvedFont>(FImpl->Store, std::move(faces), pixelSize, cellHeight);
  FontInstance& result = *resolved;
  FImpl->Store.Fonts.emplace(std::move(key), std::move(resolved));
  return result;
}

}  // namespace gfx
