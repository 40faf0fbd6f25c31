#include <gtest/gtest.h>

#include "core/Exception.h"
#include "core/Format.h"
#include "core/StringUtils.h"

namespace core {
namespace {

std::string ConvertMessage(std::string_view text) {
  try {
    StrToInt(text);
  } catch (const EConvertError& error) {
    return error.what();
  }
  return "no error";
}

TEST(StrToInt, AcceptsDecimalWithSignAndLeadingBlanks) {
  EXPECT_EQ(StrToInt("0"), 0);
  EXPECT_EQ(StrToInt("8421504"), 8421504);
  EXPECT_EQ(StrToInt("-1"), -1);
  EXPECT_EQ(StrToInt("+42"), 42);
  EXPECT_EQ(StrToInt("  \t17"), 17);
  EXPECT_EQ(StrToInt("007"), 7);
}

TEST(StrToInt, AcceptsHexadecimalForms) {
  EXPECT_EQ(StrToInt("$1F"), 31);
  EXPECT_EQ(StrToInt("0x1F"), 31);
  EXPECT_EQ(StrToInt("0X1f"), 31);
  EXPECT_EQ(StrToInt("-$10"), -16);
  // Eight hex digits wrap to the signed value, as colours are written.
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt("0x80000000"), INT32_MIN);
}

TEST(StrToInt, RangeLimits) {
  EXPECT_EQ(StrToInt("2147483647"), 2147483647);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  EXPECT_THROW(StrToInt("2147483648"), EConvertError);
  EXPECT_THROW(StrToInt("-2147483649"), EConvertError);
  EXPECT_THROW(StrToInt("99999999999999999999999"), EConvertError);
  EXPECT_THROW(StrToInt("$100000000"), EConvertError);
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
}

TEST(StrToInt, RefusesMalformedTextWithTheClassicMessage) {
  for (std::string_view bad : {"", " ", "-", "+", "$", "0x", "12 ", "1 2", "abc", "1.5", "--1", "$G", "clGray",
                               "1,2", "\xE5\xAE\x8B"}) {
    EXPECT_EQ(ConvertMessage(bad), "'" + std::string(bad) + "' is not a valid integer value") << bad;
  }
  EXPECT_EQ(ConvertMessage("abc"), "'abc' is not a valid integer value");
}

TEST(StrToInt, DefaultAndTryVariants) {
  EXPECT_EQ(StrToIntDef("clGray", 13948116), 13948116);
  EXPECT_EQ(StrToIntDef("5", -1), 5);
  int value = 99;
  EXPECT_FALSE(TryStrToInt("x", value));
  EXPECT_EQ(value, 99);
  EXPECT_TRUE(TryStrToInt("-7", value));
  EXPECT_EQ(value, -7);
}

TEST(IntToText, DecimalAndHexadecimal) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-2147483648LL), "-2147483648");
  EXPECT_EQ(IntToHex(10, 2), "0A");
  EXPECT_EQ(IntToHex(0x1A2B, 2), "1A2B");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(255, 8), "000000FF");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
  EXPECT_EQ(IntToHex(std::int64_t(-1), 2), "FFFFFFFFFFFFFFFF");
}

TEST(TextHelpers, TrimRemovesControlsAndBlanksOnly) {
  EXPECT_EQ(Trim("  \t a b \r\n"), "a b");
  EXPECT_EQ(TrimLeft("\x01 x "), "x ");
  EXPECT_EQ(TrimRight(" x \x1F"), " x");
  EXPECT_EQ(Trim(""), "");
  EXPECT_EQ(Trim("   "), "");
  // Multi-byte characters are above ' ' byte by byte and stay.
  EXPECT_EQ(Trim(" 宋体 "), "宋体");
}

TEST(TextHelpers, CaseFoldingIsAsciiOnly) {
  EXPECT_EQ(UpperCase("fontName 宋体"), "FONTNAME 宋体");
  EXPECT_EQ(LowerCase("unenabledfontColor"), "unenabledfontcolor");
  EXPECT_TRUE(SameText("FORMINFO", "forminfo"));
  EXPECT_FALSE(SameText("button", "buttons"));
  EXPECT_EQ(CompareText("abc", "ABC"), 0);
  EXPECT_LT(CompareText("abc", "abd"), 0);
  EXPECT_GT(CompareText("b", "A"), 0);
  EXPECT_LT(CompareText("ab", "abc"), 0);
  // Folding to upper case puts "_" after the letters.
  EXPECT_GT(CompareText("_", "a"), 0);
}

TEST(TextHelpers, Identifiers) {
  EXPECT_TRUE(IsValidIdent("skSkinData1"));
  EXPECT_TRUE(IsValidIdent("_x"));
  EXPECT_FALSE(IsValidIdent(""));
  EXPECT_FALSE(IsValidIdent("1abc"));
  EXPECT_FALSE(IsValidIdent("a b"));
  EXPECT_FALSE(IsValidIdent("扫描"));
}

TEST(Format, Directives) {
  EXPECT_EQ(Format("Cannot create file \"%s\". %s", "/x/mac.txt", std::string("No such file")),
            "Cannot create file \"/x/mac.txt\". No such file");
  EXPECT_EQ(Format("List index out of bounds (%d)", -1), "List index out of bounds (-1)");
  EXPECT_EQ(Format("%x %X %u", 255, 255, 7u), "ff FF 7");
  EXPECT_EQ(Format("%02X-%02X", 0x0A, 0xBC), "0A-BC");
  EXPECT_EQ(Format("[%5d][%-5d][%05d]", 42, 42, -42), "[   42][42   ][-0042]");
  EXPECT_EQ(Format("%.3d|%.2s|%c|100%%", 7, "abc", 'z'), "007|ab|z|100%");
  EXPECT_EQ(Format("no directives"), "no directives");
}

TEST(Format, MismatchOrMissingArgumentRaises) {
  EXPECT_THROW(Format("%d", "text"), EConvertError);
  EXPECT_THROW(Format("%s", 5), EConvertError);
  EXPECT_THROW(Format("%s %s", "one"), EConvertError);
  EXPECT_THROW(Format("%q", 1), EConvertError);
  EXPECT_THROW(Format("trailing %"), EConvertError);
  try {
    Format("%d", "x");
  } catch (const EConvertError& error) {
    EXPECT_STREQ(error.what(), "Format '%d' invalid or incompatible with argument");
  }
}

}  // namespace
}  // namespace core
