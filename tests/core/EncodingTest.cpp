#include <gtest/gtest.h>

#include <string>

#include "core/Encoding.h"

namespace core {
namespace {

// GBK bytes of the program's texts.
const std::string ScanMac = "\xC9\xA8\xC3\xE8MAC\xB5\xD8\xD6\xB7";             // 扫描MAC地址
const std::string HideSilent = "\xB2\xBB\xCF\xD4\xCA\xBE\xCE\xDE\xCF\xEC\xD3\xA6\xBD\xE1\xB9\xFB";  // 不显示无响应结果
const std::string SongTi = "\xCB\xCE\xCC\xE5";                                 // 宋体

TEST(Encoding, GbkConverterIsInstalled) { EXPECT_TRUE(IsGbkConversionAvailable()); }

TEST(Encoding, ChineseTextsBothWays) {
  EXPECT_EQ(GbkToUtf8(ScanMac), "扫描MAC地址");
  EXPECT_EQ(GbkToUtf8(HideSilent), "不显示无响应结果");
  EXPECT_EQ(GbkToUtf8(SongTi), "宋体");
  EXPECT_EQ(Utf8ToGbk("扫描MAC地址"), ScanMac);
  EXPECT_EQ(Utf8ToGbk("不显示无响应结果"), HideSilent);
  EXPECT_EQ(Utf8ToGbk("宋体"), SongTi);
  // The full-width hyphen of the separator labels.
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk("－")), "－");
}

TEST(Encoding, AsciiAndEmptyPassThrough) {
  EXPECT_EQ(GbkToUtf8(""), "");
  EXPECT_EQ(Utf8ToGbk(""), "");
  std::string ascii = "[FORMINFO]\r\nfontname=Arial\r\n";
  EXPECT_EQ(GbkToUtf8(ascii), ascii);
  EXPECT_EQ(Utf8ToGbk(ascii), ascii);
  // Embedded zero bytes are text like any other.
  std::string withZero("a\0b", 3);
  EXPECT_EQ(GbkToUtf8(withZero), withZero);
}

TEST(Encoding, LongTextCrossesTheInternalBlocks) {
  std::string gbk;
  std::string utf8;
  for (int i = 0; i < 2000; ++i) {
    gbk += SongTi + "x";
    utf8 += "宋体x";
  }
  EXPECT_EQ(GbkToUtf8(gbk), utf8);
  EXPECT_EQ(Utf8ToGbk(utf8), gbk);
}

TEST(Encoding, BadGbkBecomesQuestionMarksAndTheRestSurvives) {
  // 0xFF starts no GBK character (0x80 does: code page 936 has the euro sign there).
  EXPECT_EQ(GbkToUtf8("a\xFF" "b"), "a?b");
  EXPECT_EQ(GbkToUtf8("\xFF" + SongTi), "?宋体");
  EXPECT_EQ(GbkToUtf8("\x80"), "€");
  // A lead byte followed by a byte that cannot trail it: the lead is bad,
  // the other byte is read again on its own.
  EXPECT_EQ(GbkToUtf8("\xC9" "0" + SongTi), "?0宋体");
  // A lead byte cut off at the end.
  EXPECT_EQ(GbkToUtf8(SongTi + "\xC9"), "宋体?");
}

TEST(Encoding, UnconvertibleOrBadUtf8BecomesQuestionMarks) {
  // Characters outside GBK: one "?" per character, not per byte.
  EXPECT_EQ(Utf8ToGbk("a😀b"), "a?b");
  EXPECT_EQ(Utf8ToGbk("宋\u00A0体"), Utf8ToGbk("宋") + "?" + Utf8ToGbk("体"));
  // Bytes that are not UTF-8.
  EXPECT_EQ(Utf8ToGbk("x\xFFy"), "x?y");
  EXPECT_EQ(Utf8ToGbk("\xE5" "AB"), "?AB") << "a lead without its continuation eats nothing else";
  EXPECT_EQ(Utf8ToGbk("宋\xE4\xBD"), SongTi.substr(0, 2) + "?") << "a character cut off at the end";
}

}  // namespace
}  // namespace core
