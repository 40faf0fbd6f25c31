// The X11 backend's translations that need no display: key symbols to
// virtual keys and characters, text between UTF-8 and Latin-1, and pixels
// to and from the server's other image layouts.

#include "platform/x11/XlibHeaders.h"

#include <bit>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/VirtualKeys.h"
#include "platform/x11/KeySymbols.h"
#include "platform/x11/PixelFormat.h"

namespace platform::x11 {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

TEST(KeySymbolTranslation, LettersDigitsAndFunctionKeys) {
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_a), 'A');
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_z), 'Z');
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_Q), 'Q');
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_0), '0');
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_9), '9');
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_F1), VK_F1);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_F12), VK_F12);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_F13), VK_F12 + 1);
}

TEST(KeySymbolTranslation, ModifiersAreGenericInEvents) {
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_Shift_L), VK_SHIFT);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_Shift_R), VK_SHIFT);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_Control_R), VK_CONTROL);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_Alt_L), VK_MENU);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_ISO_Level3_Shift), VK_MENU);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_Super_L), VK_LWIN);
}

TEST(KeySymbolTranslation, KeypadFollowsNumLock) {
  // With Num Lock the server's symbols are the digits, without it the
  // movement keys; each keeps its classic code.
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_KP_7), VK_NUMPAD0 + 7);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_KP_Home), VK_HOME);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_KP_Delete), VK_DELETE);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_KP_Decimal), VK_DECIMAL);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_KP_Enter), VK_RETURN);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_KP_Begin), VK_CLEAR);
}

TEST(KeySymbolTranslation, PunctuationByTheUsKey) {
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_semicolon), VK_OEM_1);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_comma), VK_OEM_COMMA);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_bracketleft), VK_OEM_4);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_apostrophe), VK_OEM_7);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_grave), VK_OEM_3);
}

TEST(KeySymbolTranslation, KeysWithoutCodeGiveZero) {
  EXPECT_EQ(VirtualKeyFromKeySymbol(0), 0);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_odiaeresis), 0);
  EXPECT_EQ(VirtualKeyFromKeySymbol(XK_dead_acute), 0);
  EXPECT_EQ(VirtualKeyFromKeySymbol(0x100626B), 0);
}

TEST(KeySymbolTranslation, VirtualKeysBackToSymbols) {
  EXPECT_THAT(KeySymbolsOfVirtualKey('A'), ElementsAre(XK_a));
  EXPECT_THAT(KeySymbolsOfVirtualKey('7'), ElementsAre(XK_7));
  EXPECT_THAT(KeySymbolsOfVirtualKey(VK_SHIFT), UnorderedElementsAre(XK_Shift_L, XK_Shift_R));
  EXPECT_THAT(KeySymbolsOfVirtualKey(VK_LSHIFT), ElementsAre(XK_Shift_L));
  EXPECT_THAT(KeySymbolsOfVirtualKey(VK_RCONTROL), ElementsAre(XK_Control_R));
  EXPECT_THAT(KeySymbolsOfVirtualKey(VK_F12 + 12), ElementsAre(XK_F24));
  EXPECT_THAT(KeySymbolsOfVirtualKey(VK_RETURN), UnorderedElementsAre(XK_Return, XK_KP_Enter));
  EXPECT_TRUE(KeySymbolsOfVirtualKey(VK_LBUTTON).empty());
  EXPECT_TRUE(KeySymbolsOfVirtualKey(0).empty());
  EXPECT_TRUE(KeySymbolsOfVirtualKey(-1).empty());
  EXPECT_TRUE(KeySymbolsOfVirtualKey(1000).empty());
}

TEST(KeySymbolTranslation, CharactersOfSymbols) {
  EXPECT_EQ(CharacterOfKeySymbol(XK_a), U'a');
  EXPECT_EQ(CharacterOfKeySymbol(XK_udiaeresis), U'ü');
  EXPECT_EQ(CharacterOfKeySymbol(0x100626B), U'扫');
  EXPECT_EQ(CharacterOfKeySymbol(0x101F600), U'\U0001F600');
  EXPECT_EQ(CharacterOfKeySymbol(XK_KP_5), U'5');
  EXPECT_EQ(CharacterOfKeySymbol(XK_KP_Multiply), U'*');
  EXPECT_EQ(CharacterOfKeySymbol(XK_Return), U'\r');
  EXPECT_EQ(CharacterOfKeySymbol(XK_Escape), U'\x1b');
  EXPECT_EQ(CharacterOfKeySymbol(XK_EuroSign), U'€');
  EXPECT_EQ(CharacterOfKeySymbol(XK_F1), 0);
  EXPECT_EQ(CharacterOfKeySymbol(XK_Shift_L), 0);
  EXPECT_EQ(CharacterOfKeySymbol(XK_dead_grave), 0);
  EXPECT_EQ(CharacterOfKeySymbol(0x7F), 0);
}

TEST(TextConversion, Utf8OfEveryLength) {
  std::string text;
  for (char32_t c : {U'A', U'é', U'扫', U'\U0001F600'}) AppendUtf8(text, c);
  EXPECT_EQ(text, "Aé扫😀");
  // Surrogates and values beyond Unicode are no characters.
  text.clear();
  AppendUtf8(text, 0xD800);
  AppendUtf8(text, 0x110000);
  EXPECT_EQ(text, "");
}

TEST(TextConversion, Latin1BothWays) {
  EXPECT_EQ(Latin1ToUtf8("Gr\xFC\xDF" "e", 5), "Grüße");
  EXPECT_EQ(Latin1ToUtf8("", 0), "");
  EXPECT_EQ(Utf8ToLatin1("Grüße 扫 😀"), "Gr\xFC\xDF" "e ? ?");
  // Malformed input: stray continuation, truncated sequence, overlong NUL.
  EXPECT_EQ(Utf8ToLatin1("a\x80" "b"), "a?b");
  EXPECT_EQ(Utf8ToLatin1("a\xE6\x89"), "a??");
  EXPECT_EQ(Utf8ToLatin1("\xC0\x80"), "??");
}

TEST(ServerPixelFormat, BitmapLayoutNeedsNoConversion) {
  PixelFormat format;
  EXPECT_EQ(format.MatchesBitmap(), std::endian::native == std::endian::little);
  format.BitsPerPixel = 24;
  EXPECT_FALSE(format.MatchesBitmap());
}

TEST(ServerPixelFormat, PacksAndUnpacksOtherLayouts) {
  const gfx::Pixel pixels[] = {gfx::MakePixel(0xFF, 0x00, 0x00), gfx::MakePixel(0x00, 0xFF, 0x00),
                               gfx::MakePixel(0x00, 0x00, 0xFF), gfx::MakePixel(0x12, 0x34, 0x56)};
  struct Case {
    const char* Name;
    PixelFormat Format;
    std::vector<std::uint8_t> Packed;  // the first pixel, pure red
  } cases[] = {
      {"32 bit LSB", {32, false, 0xFF0000, 0xFF00, 0xFF}, {0x00, 0x00, 0xFF, 0x00}},
      {"32 bit MSB", {32, true, 0xFF0000, 0xFF00, 0xFF}, {0x00, 0xFF, 0x00, 0x00}},
      {"32 bit BGR", {32, false, 0xFF, 0xFF00, 0xFF0000}, {0xFF, 0x00, 0x00, 0x00}},
      {"24 bit MSB", {24, true, 0xFF0000, 0xFF00, 0xFF}, {0xFF, 0x00, 0x00}},
      {"16 bit 565 LSB", {16, false, 0xF800, 0x07E0, 0x001F}, {0x00, 0xF8}},
      {"16 bit 565 MSB", {16, true, 0xF800, 0x07E0, 0x001F}, {0xF8, 0x00}},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> packed(std::size_t(c.Format.BytesPerPixel()) * 4);
    PackPixels(c.Format, pixels, 4, packed.data());
    EXPECT_TRUE(std::equal(c.Packed.begin(), c.Packed.end(), packed.begin())) << c.Name;
    gfx::Pixel back[4];
    UnpackPixels(c.Format, packed.data(), 4, back);
    EXPECT_EQ(back[0], pixels[0]) << c.Name;
    EXPECT_EQ(back[1], pixels[1]) << c.Name;
    EXPECT_EQ(back[2], pixels[2]) << c.Name;
    if (c.Format.BitsPerPixel >= 24) {
      EXPECT_EQ(back[3], pixels[3]) << c.Name;
    } else {
      // Five and six bits keep the top of each channel, widened again
      // to the full range.
      EXPECT_NEAR(gfx::PixelRed(back[3]), 0x12, 8) << c.Name;
      EXPECT_NEAR(gfx::PixelGreen(back[3]), 0x34, 4) << c.Name;
      EXPECT_NEAR(gfx::PixelBlue(back[3]), 0x56, 8) << c.Name;
    }
  }
}

TEST(ServerPixelFormat, WideChannelsScaleToTheirTop) {
  // 10 bits a channel (depth 30): 255 is the top value, 0 stays 0.
  const PixelFormat format{32, false, 0x3FF00000, 0x000FFC00, 0x000003FF};
  const gfx::Pixel pixels[] = {gfx::MakePixel(0xFF, 0x00, 0xFF)};
  std::uint8_t packed[4];
  PackPixels(format, pixels, 1, packed);
  std::uint32_t value = packed[0] | packed[1] << 8 | packed[2] << 16 | std::uint32_t(packed[3]) << 24;
  EXPECT_EQ(value, 0x3FF003FFu);
  gfx::Pixel back;
  UnpackPixels(format, packed, 1, &back);
  EXPECT_EQ(back, pixels[0]);
}

}  // namespace
}  // namespace platform::x11
