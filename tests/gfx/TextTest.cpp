#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "gfx/Canvas.h"
#include "gfx/FontEngine.h"
#include "gfx/PngCodec.h"
#include "gfx/TextLayout.h"
#include "gfx/TextUtf8.h"

namespace gfx {
namespace {

constexpr Color White = MakeColor(255, 255, 255);
constexpr Color Black = MakeColor(0, 0, 0);
constexpr Color Red = MakeColor(255, 0, 0);

Font MakeFont(const char* name, int height, FontStyle style = FontStyle::None) {
  Font f;
  f.Name = name;
  f.Height = height;
  f.Style = style;
  return f;
}

Bitmap WhiteBitmap(int width, int height) {
  Bitmap b(width, height);
  b.Fill(ColorToPixel(White));
  return b;
}

// Pixels that are not white inside r, and their bounds.
struct Ink {
  int Count = 0;
  Rect Bounds;
};

Ink InkIn(const Bitmap& b, const Rect& r) {
  Ink ink;
  Rect area = r.Intersect(b.Bounds());
  for (int y = area.Top; y < area.Bottom; ++y) {
    for (int x = area.Left; x < area.Right; ++x) {
      if ((b.GetPixel(x, y) & 0xFFFFFF) != ColorToPixel(White)) {
        ++ink.Count;
        ink.Bounds = ink.Bounds.Union(Rect{x, y, x + 1, y + 1});
      }
    }
  }
  return ink;
}

Ink InkIn(const Bitmap& b) { return InkIn(b, b.Bounds()); }

// ------------------------------------------------------------- UTF-8

TEST(TextUtf8, DecodesValidTextOfEveryLength) {
  EXPECT_EQ(DecodeUtf8("aé扫𝄞"), std::u32string(U"aé扫𝄞"));
  EXPECT_EQ(EncodeUtf8(U"aé扫𝄞"), "aé扫𝄞");
  EXPECT_EQ(DecodeUtf8(""), std::u32string());
}

TEST(TextUtf8, EachIllFormedSequenceBecomesOneReplacement) {
  const char32_t R = ReplacementCharacter;
  // A stray continuation byte, a byte that never occurs, a truncated
  // three-byte sequence followed by ASCII, and a truncation at the end.
  EXPECT_EQ(DecodeUtf8("a\x80z"), (std::u32string{U'a', R, U'z'}));
  EXPECT_EQ(DecodeUtf8("\xFF"), (std::u32string{R}));
  EXPECT_EQ(DecodeUtf8("\xE6\x89z"), (std::u32string{R, U'z'}));
  EXPECT_EQ(DecodeUtf8("x\xE6\x89"), (std::u32string{U'x', R}));
  // Overlong "/" and an encoded surrogate are refused byte by byte.
  EXPECT_EQ(DecodeUtf8("\xC0\xAF"), (std::u32string{R, R}));
  EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), (std::u32string{R, R, R}));
  // Past U+10FFFF.
  EXPECT_EQ(DecodeUtf8("\xF4\x90\x80\x80"), (std::u32string{R, R, R, R}));
  EXPECT_EQ(EncodeUtf8(std::u32string{char32_t(0xD800), char32_t(0x110000)}), "\uFFFD\uFFFD");
}

// ------------------------------------------------------------- layout

// Every character 10 pixels wide, so that layouts are easy to predict.
TextMeasure TenPixels() { return TextMeasure{[](char32_t) { return 10; }, 40}; }

std::vector<std::u32string> Texts(const std::vector<TextLine>& lines) {
  std::vector<std::u32string> out;
  for (const TextLine& l : lines) out.push_back(l.Text);
  return out;
}

TEST(TextLayout, PrefixesMarkTheNextCharacter) {
  std::vector<bool> marks;
  EXPECT_EQ(StripPrefixes(U"&Save", marks), U"Save");
  EXPECT_EQ(marks, (std::vector<bool>{true, false, false, false}));
  EXPECT_EQ(StripPrefixes(U"a&&b&", marks), U"a&b");
  EXPECT_EQ(marks, (std::vector<bool>{false, false, false}));
  EXPECT_EQ(StripPrefixes(U"扫描(&S)", marks), U"扫描(S)");
  EXPECT_EQ(marks, (std::vector<bool>{false, false, false, true, false}));
}

TEST(TextLayout, LineBreaksAndEmptyText) {
  EXPECT_TRUE(LayoutText(U"", 0, 100, TenPixels()).empty());
  EXPECT_EQ(Texts(LayoutText(U"a\r\nb\nc\rd\n", 0, 100, TenPixels())),
            (std::vector<std::u32string>{U"a", U"b", U"c", U"d"}));
  EXPECT_EQ(Texts(LayoutText(U"a\n\nb", 0, 100, TenPixels())),
            (std::vector<std::u32string>{U"a", U"", U"b"}));
  auto single = LayoutText(U"a\nb", DT_SINGLELINE, 100, TenPixels());
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single[0].Text, U"a\nb");
}

TEST(TextLayout, WordBreakWrapsBetweenWordsAndDropsTheBreakingSpaces) {
  auto lines = LayoutText(U"aaa bbb  ccc", DT_WORDBREAK, 75, TenPixels());
  EXPECT_EQ(Texts(lines), (std::vector<std::u32string>{U"aaa bbb", U"ccc"}));
  EXPECT_EQ(lines[0].Width(), 70);
  // A word longer than the line is kept whole.
  EXPECT_EQ(Texts(LayoutText(U"abcdefgh ij", DT_WORDBREAK, 35, TenPixels())),
            (std::vector<std::u32string>{U"abcdefgh", U"ij"}));
  // Chinese text breaks between characters, but not before a comma.
  EXPECT_EQ(Texts(LayoutText(U"扫描地址，结果", DT_WORDBREAK, 40, TenPixels())),
            (std::vector<std::u32string>{U"扫描地", U"址，结果"}));
  // Without DT_WORDBREAK nothing wraps.
  EXPECT_EQ(LayoutText(U"aaa bbb ccc", 0, 35, TenPixels()).size(), 1u);
}

TEST(TextLayout, TabsExpandOnlyWhenAsked) {
  auto expanded = LayoutText(U"a\tb", DT_EXPANDTABS, 100, TenPixels());
  EXPECT_EQ(expanded[0].Positions, (std::vector<int>{0, 10, 40, 50}));
  auto plain = LayoutText(U"a\tb", 0, 100, TenPixels());
  EXPECT_EQ(plain[0].Positions, (std::vector<int>{0, 10, 10, 20}));
}

TEST(TextLayout, EndEllipsisCutsLinesThatDoNotFit) {
  auto lines = LayoutText(U"abcdefg", DT_END_ELLIPSIS, 55, TenPixels());
  EXPECT_EQ(lines[0].Text, U"ab...");
  EXPECT_EQ(Texts(LayoutText(U"abc", DT_END_ELLIPSIS, 30, TenPixels())), (std::vector<std::u32string>{U"abc"}));
  EXPECT_EQ(Texts(LayoutText(U"abc", DT_END_ELLIPSIS, 5, TenPixels())), (std::vector<std::u32string>{U"..."}));
}

// ------------------------------------------------------------- fonts

TEST(Fonts, AliasesResolveTheSameInEveryLocale) {
  FontEngine& engine = FontEngine::Instance();
  EXPECT_EQ(engine.Resolve(MakeFont("宋体", -12)).PrimaryFamily(), "AR PL UMing CN");
  EXPECT_EQ(engine.Resolve(MakeFont("SimSun", -12)).PrimaryFamily(), "AR PL UMing CN");
  EXPECT_EQ(engine.Resolve(MakeFont("MS Sans Serif", -11)).PrimaryFamily(), "Liberation Sans");
  EXPECT_EQ(engine.Resolve(MakeFont("Arial", -12)).PrimaryFamily(), "Liberation Sans");
}

TEST(Fonts, LatinFontFallsBackPerCharacter) {
  FontInstance& arial = FontEngine::Instance().Resolve(MakeFont("Arial", -12));
  EXPECT_EQ(arial.FamilyOf(U'A'), "Liberation Sans");
  EXPECT_EQ(arial.FamilyOf(U'扫'), "WenQuanYi Zen Hei Sharp");
  EXPECT_GT(arial.Advance(U'扫'), 0);

  Bitmap b = WhiteBitmap(40, 20);
  Canvas c(b);
  c.SetFont(MakeFont("Arial", -12));
  c.TextOut(0, 0, "A扫");
  int a = arial.Advance(U'A');
  EXPECT_GT(InkIn(b, Rect{0, 0, a, 20}).Count, 0);
  EXPECT_GT(InkIn(b, Rect{a, 0, 40, 20}).Count, 20);
}

TEST(Fonts, ChineseCharacterSetPrefersAChineseFont) {
  Font f = MakeFont("MS Sans Serif", -12);
  f.CharSet = GB2312_CHARSET;
  EXPECT_EQ(FontEngine::Instance().Resolve(f).PrimaryFamily(), "WenQuanYi Zen Hei Sharp");
}

TEST(Fonts, NegativeHeightIsTheEmSizePositiveTheCell) {
  for (const char* name : {"宋体", "MS Sans Serif"}) {
    FontMetrics em = MeasureFont(MakeFont(name, -16));
    EXPECT_EQ(em.PixelSize, 16) << name;
    EXPECT_GE(em.Height, 16) << name;
    EXPECT_EQ(em.Height, em.Ascent + em.Descent) << name;
    EXPECT_EQ(em.InternalLeading, em.Height - 16) << name;

    FontMetrics cell = MeasureFont(MakeFont(name, 16));
    EXPECT_EQ(cell.Height, 16) << name;
    EXPECT_LE(cell.PixelSize, 16) << name;
    EXPECT_GT(cell.PixelSize, 10) << name;

    EXPECT_EQ(MeasureFont(MakeFont(name, 0)), MeasureFont(MakeFont(name, -12))) << name;
    EXPECT_GT(em.AverageCharWidth, 0) << name;
    EXPECT_GE(em.MaxCharWidth, em.AverageCharWidth) << name;
  }
}

TEST(Fonts, UnknownFamilyAndAbsurdSizesStillDraw) {
  Bitmap b = WhiteBitmap(64, 64);
  Canvas c(b);
  c.SetFont(MakeFont("No Such Family 12345", -12));
  c.TextOut(0, 0, "Ab扫");
  EXPECT_GT(InkIn(b).Count, 0);
  c.SetFont(MakeFont("Arial", -100000));
  EXPECT_LE(c.TextMetrics().PixelSize, 1024);
  c.SetFont(MakeFont("Arial", 1));
  c.TextOut(0, 40, "tiny");
}

TEST(Fonts, BoldIsHeavierAndSynthesisedForFamiliesWithoutBold) {
  for (const char* name : {"宋体", "Arial"}) {
    Bitmap regular = WhiteBitmap(80, 20), bold = WhiteBitmap(80, 20);
    Canvas r(regular), b(bold);
    r.SetFont(MakeFont(name, -12));
    b.SetFont(MakeFont(name, -12, FontStyle::Bold));
    r.TextOut(0, 0, "扫描MAC");
    b.TextOut(0, 0, "扫描MAC");
    EXPECT_GT(InkIn(bold).Count, InkIn(regular).Count * 11 / 10) << name;
  }
}

// ------------------------------------------------------------- canvas text

TEST(CanvasText, ExtentOfEmptyAndPlainText) {
  Bitmap b = WhiteBitmap(4, 4);
  Canvas c(b);
  c.SetFont(MakeFont("MS Sans Serif", -12));
  FontMetrics m = c.TextMetrics();
  EXPECT_EQ(c.TextExtent(""), (Size{0, m.Height}));
  FontInstance& font = FontEngine::Instance().Resolve(c.Font());
  EXPECT_EQ(c.TextWidth("IP地址"), font.Advance(U'I') + font.Advance(U'P') + font.Advance(U'地') + font.Advance(U'址'));
  EXPECT_EQ(c.TextHeight("IP"), m.Height);
  // "&" is an ordinary character for the extent.
  EXPECT_GT(c.TextWidth("&a"), c.TextWidth("a"));
}

TEST(CanvasText, TextOutFillsTheCellUnlessTheBrushIsClear) {
  Bitmap b = WhiteBitmap(60, 30);
  Canvas c(b);
  c.SetFont(MakeFont("MS Sans Serif", -12));
  c.SetBrush(Red);
  c.TextOut(3, 2, "Hi");
  Size extent = c.TextExtent("Hi");
  EXPECT_EQ(c.PenPos(), (Point{3 + extent.Width, 2}));
  Rect cell = Rect::FromSize(3, 2, extent.Width, extent.Height);
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      Pixel p = b.GetPixel(x, y);
      if (!cell.Contains({x, y})) {
        ASSERT_EQ(p, ColorToPixel(White)) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(b.GetPixel(3, 2), ColorToPixel(Red));
  EXPECT_EQ(b.GetPixel(cell.Right - 1, cell.Bottom - 1), ColorToPixel(Red));

  Bitmap clear = WhiteBitmap(60, 30);
  Canvas t(clear);
  t.SetFont(MakeFont("MS Sans Serif", -12));
  t.SetBrush(Red, BrushStyle::Clear);
  t.TextOut(3, 2, "Hi");
  Ink ink = InkIn(clear);
  EXPECT_GT(ink.Count, 0);
  for (int y = 0; y < clear.Height(); ++y) {
    for (int x = 0; x < clear.Width(); ++x) ASSERT_NE(clear.GetPixel(x, y), ColorToPixel(Red));
  }
}

TEST(CanvasText, CalcRectMeasuresAndWordBreakMeasuresTheWrappedHeight) {
  Bitmap b = WhiteBitmap(4, 4);
  Canvas c(b);
  c.SetFont(MakeFont("宋体", -12));
  const int line = c.TextMetrics().Height;

  Rect r{10, 20, 10, 20};
  EXPECT_EQ(c.DrawText("扫描MAC地址", r, DT_CALCRECT | DT_SINGLELINE), line);
  EXPECT_EQ(r, (Rect{10, 20, 10 + c.TextWidth("扫描MAC地址"), 20 + line}));

  Rect empty{0, 0, 50, 50};
  EXPECT_EQ(c.DrawText("", empty, DT_CALCRECT), 0);
  EXPECT_EQ(empty, (Rect{0, 0, 0, 0}));

  const std::string text = "不显示 无响应 结果 scan the whole network";
  Rect wrapped{0, 0, 60, 0};
  int height = c.DrawText(text, wrapped, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_GT(height, line);
  EXPECT_EQ(height % line, 0);
  EXPECT_EQ(wrapped.Bottom, height);
  EXPECT_LE(wrapped.Right, 60);
  EXPECT_GT(wrapped.Right, 0);

  Rect twoLines{0, 0, 200, 0};
  EXPECT_EQ(c.DrawText("a\r\nb", twoLines, DT_CALCRECT), 2 * line);
  // The "&" prefix takes no room.
  Rect prefixed{0, 0, 0, 0}, plain{0, 0, 0, 0};
  c.DrawText("&Scan", prefixed, DT_CALCRECT | DT_SINGLELINE);
  c.DrawText("Scan", plain, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(prefixed, plain);
}

TEST(CanvasText, CentreAndRightAlignmentPositions) {
  for (unsigned align : {DT_LEFT, DT_CENTER, DT_RIGHT}) {
    Bitmap b = WhiteBitmap(120, 40);
    Canvas c(b);
    c.SetFont(MakeFont("MS Sans Serif", -12));
    c.SetBrush(Red);
    Rect r{10, 5, 110, 35};
    int result = c.DrawText("IP地址", r, align | DT_SINGLELINE | DT_VCENTER);
    const int width = c.TextWidth("IP地址"), height = c.TextMetrics().Height;
    // The opaque brush marks the cell exactly.
    int left = align == DT_CENTER ? 10 + (100 - width) / 2 : align == DT_RIGHT ? 110 - width : 10;
    int top = 5 + (30 - height) / 2;
    EXPECT_EQ(InkIn(b).Bounds, Rect::FromSize(left, top, width, height)) << align;
    EXPECT_EQ(result, top - 5 + height) << "DT_VCENTER returns the bottom of the text";
  }
}

TEST(CanvasText, PrefixUnderlinesTheAcceleratorUnlessNoPrefix) {
  Bitmap b = WhiteBitmap(80, 40);
  Canvas c(b);
  c.SetFont(MakeFont("MS Sans Serif", -12));
  c.SetBrush(White, BrushStyle::Clear);
  FontInstance& font = FontEngine::Instance().Resolve(c.Font());
  const FontMetrics& m = font.Metrics();
  const int underline = m.Ascent + font.UnderlinePosition();

  Rect r{0, 0, 80, 20};
  c.DrawText("&Save", r, DT_SINGLELINE);
  const int s = font.Advance(U'S');
  // Under "S" a full line, under "ave" nothing on that row.
  EXPECT_EQ(InkIn(b, Rect{0, underline, s, underline + 1}).Count, s);
  EXPECT_EQ(InkIn(b, Rect{s, underline, 80, underline + 1}).Count, 0);

  Rect literal{0, 20, 80, 40};
  c.DrawText("&Save", literal, DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(InkIn(b, Rect{0, 20, 80, 40}).Bounds.Right - 1 >= c.TextWidth("&Save") - 2, true);
  EXPECT_EQ(InkIn(b, Rect{0, 20 + underline, 80, 21 + underline}).Count, 0);
}

TEST(CanvasText, UnderlineAndStrikeOutStylesSpanTheText) {
  Bitmap b = WhiteBitmap(80, 20);
  Canvas c(b);
  c.SetFont(MakeFont("MS Sans Serif", -12, FontStyle::Underline | FontStyle::StrikeOut));
  c.SetBrush(White, BrushStyle::Clear);
  c.TextOut(2, 0, "a b");
  FontInstance& font = FontEngine::Instance().Resolve(c.Font());
  const int width = c.TextWidth("a b");
  const int baseline = font.Metrics().Ascent;
  const int underline = baseline + font.UnderlinePosition();
  const int strike = baseline - font.StrikeOutPosition();
  EXPECT_EQ(InkIn(b, Rect{0, underline, 80, underline + 1}).Bounds, (Rect{2, underline, 2 + width, underline + 1}));
  EXPECT_EQ(InkIn(b, Rect{0, strike, 80, strike + 1}).Count, width);
}

TEST(CanvasText, TextStaysInsideTheClipRegionAndTheRectangle) {
  Bitmap b = WhiteBitmap(100, 40);
  Canvas c(b);
  c.SetFont(MakeFont("宋体", -12));
  c.SetBrush(White, BrushStyle::Clear);
  c.SetOrigin(5, 0);
  c.SetClip(Region(Rect{0, 0, 40, 20}));
  c.TextOut(0, 2, "扫描MAC地址 IP地址: 192.168.1.7");
  EXPECT_GT(InkIn(b, Rect{0, 0, 40, 20}).Count, 20);
  EXPECT_EQ(InkIn(b, Rect{40, 0, 100, 40}).Count, 0);
  c.ClearClip();

  // DrawText clips to its rectangle unless DT_NOCLIP.
  Rect r{0, 20, 30, 40};
  c.DrawText("扫描MAC地址", r, DT_SINGLELINE);
  EXPECT_GT(InkIn(b, Rect{5, 20, 35, 40}).Count, 0);
  EXPECT_EQ(InkIn(b, Rect{35, 20, 100, 40}).Count, 0);
  Rect n{0, 20, 30, 40};
  c.DrawText("扫描MAC地址", n, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(InkIn(b, Rect{35, 20, 100, 40}).Count, 0);
}

TEST(CanvasText, TextRectFillsItsRectangleAndClipsToIt) {
  Bitmap b = WhiteBitmap(60, 20);
  Canvas c(b);
  c.SetFont(MakeFont("MS Sans Serif", -12));
  c.SetBrush(Red);
  c.TextRect(Rect{5, 2, 25, 18}, 8, 3, "WWWWWW");
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 60; ++x) {
      bool inside = Rect{5, 2, 25, 18}.Contains({x, y});
      Pixel p = b.GetPixel(x, y);
      if (!inside) {
        ASSERT_EQ(p, ColorToPixel(White)) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(b.GetPixel(5, 2), ColorToPixel(Red));
  EXPECT_GT(InkIn(b, Rect{8, 3, 25, 18}).Count, 0);
}

TEST(CanvasText, IllFormedTextDrawsReplacementsWithoutFault) {
  Bitmap b = WhiteBitmap(80, 20);
  Canvas c(b);
  c.SetFont(MakeFont("MS Sans Serif", -12));
  c.TextOut(0, 0, std::string("ok\xE6\x89\xFF\x80", 6));
  EXPECT_GT(InkIn(b).Count, 0);
  Rect r{0, 0, 80, 20};
  c.DrawText(std::string("\xF4\x90\x80\x80&", 5), r, DT_WORDBREAK | DT_EXPANDTABS);
}

TEST(CanvasText, ArbitraryBytesAndFlagsNeverFault) {
  // Skin texts are input: any bytes, any flags, any rectangle.
  Bitmap b = WhiteBitmap(50, 30);
  Canvas c(b);
  c.SetFont(MakeFont("宋体", -12));
  std::uint32_t seed = 12345;
  auto next = [&] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
  const char pieces[][5] = {"&", "&&", " ", "\t", "\r\n", "\n", "扫", "a", "\xE6", "\x80", "...", "，"};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int n = int(next() % 24); n > 0; --n) text += pieces[next() % std::size(pieces)];
    Rect r{int(next() % 60) - 5, int(next() % 40) - 5, int(next() % 60) - 5, int(next() % 40) - 5};
    unsigned format = unsigned(next()) & (DT_CENTER | DT_RIGHT | DT_VCENTER | DT_BOTTOM | DT_WORDBREAK |
                                          DT_SINGLELINE | DT_EXPANDTABS | DT_NOCLIP | DT_CALCRECT |
                                          DT_NOPREFIX | DT_END_ELLIPSIS);
    c.DrawText(text, r, format);
    c.TextOut(int(next() % 60) - 10, int(next() % 40) - 10, text);
  }
}

// ------------------------------------------------------------- the program's texts

// The texts of the main window, drawn at 12 pixels the way the skin draws
// them, must be legible: every character has its own glyph (no missing
// glyph boxes), ink inside its own cell, and crisp (unblended) pixels. A
// 4x picture is written for people to look at.
TEST(ProgramTexts, ChineseTextsRenderLegiblyAt12Pixels) {
  const std::vector<std::string> texts = {"扫描MAC地址", "不显示无响应结果", "IP地址: 192.168.1.7"};
  const std::vector<Font> fonts = {MakeFont("宋体", -12), MakeFont("MS Sans Serif", -12),
                                   MakeFont("MS Sans Serif", -11)};
  Bitmap sheet = WhiteBitmap(3 * 130, int(fonts.size()) * 18);
  Canvas c(sheet);
  c.SetBrush(White, BrushStyle::Clear);
  for (std::size_t f = 0; f < fonts.size(); ++f) {
    c.SetFont(fonts[f]);
    FontInstance& font = FontEngine::Instance().Resolve(fonts[f]);
    const Glyph& missing = font.GlyphOf(char32_t(0x10FFFD));
    std::set<std::vector<std::uint8_t>> shapes;
    for (std::size_t t = 0; t < texts.size(); ++t) {
      const int x = int(t) * 130, y = int(f) * 18 + 2;
      c.TextOut(x, y, texts[t]);
      int pen = x;
      for (char32_t ch : DecodeUtf8(texts[t])) {
        const Glyph& g = font.GlyphOf(ch);
        const int advance = g.Advance;
        SCOPED_TRACE(fonts[f].Name + " " + std::to_string(fonts[f].Height) + " U+" + std::to_string(ch));
        if (ch >= 0x4E00) {
          EXPECT_FALSE(font.FamilyOf(ch).empty());
          EXPECT_NE(g.Coverage, missing.Coverage);
          EXPECT_GT(InkIn(sheet, Rect{pen, y, pen + advance, y + 16}).Count, 12);
          for (std::uint8_t v : g.Coverage) ASSERT_TRUE(v == 0 || v == 255) << "blurred CJK glyph";
          shapes.insert(g.Coverage);
        }
        pen += advance;
      }
    }
    // 扫描地址 and 不显示无响应结果 (地址 comes twice): twelve different shapes.
    EXPECT_EQ(shapes.size(), 12u) << fonts[f].Name;
  }

  Bitmap zoomed(sheet.Width() * 4, sheet.Height() * 4);
  StretchRect(zoomed, zoomed.Bounds(), sheet, sheet.Bounds());
  std::filesystem::create_directories(OSTVANE_BINARY_DIR "/test-output");
  SavePngFile(OSTVANE_BINARY_DIR "/test-output/program-texts-12px-x4.png", zoomed);
}

}  // namespace
}  // namespace gfx
