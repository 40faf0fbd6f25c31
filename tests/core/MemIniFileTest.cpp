#include "core/MemIniFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/StringList.h"

namespace {

using core::TMemIniFile;
using Lines = std::vector<std::string>;

// --- Reading the text -------------------------------------------------------

TEST(MemIniFileParsing, TrimsLinesKeysValuesAndSectionNames) {
  TMemIniFile ini("  [ main ]  \n"
                  "\t key  =  value with inner  blanks \t\n"
                  "empty=\n"
                  "  spaced   =   \n");
  EXPECT_TRUE(ini.SectionExists("main"));
  EXPECT_EQ(ini.ReadString("main", "key", "x"), "value with inner  blanks");
  EXPECT_EQ(ini.ReadSection("main"), (Lines{"key", "empty", "spaced"}));
}

TEST(MemIniFileParsing, SkipsCommentsEmptyLinesAndLinesBeforeTheFirstSection) {
  TMemIniFile ini("orphan=1\n"
                  "; comment=2\n"
                  "\n"
                  "[a]\n"
                  "   ; indented comment=3\n"
                  "key=1 ; not a comment\n");
  EXPECT_EQ(ini.ReadSections(), (Lines{"a"}));
  EXPECT_EQ(ini.ReadSection("a"), (Lines{"key"}));
  EXPECT_EQ(ini.ReadString("a", "key", ""), "1 ; not a comment");
  EXPECT_FALSE(ini.ValueExists("a", "; comment"));
}

TEST(MemIniFileParsing, SplitsAtTheFirstEqualsSign) {
  TMemIniFile ini("[a]\nkey=b=c\n=no key\n");
  EXPECT_EQ(ini.ReadString("a", "key", ""), "b=c");
  EXPECT_EQ(ini.ReadString("a", "", "default"), "no key");
}

TEST(MemIniFileParsing, KeepsLinesWithoutEqualsButNeverMatchesThem) {
  TMemIniFile ini("[a]\nflag\nkey=1\n");
  EXPECT_FALSE(ini.ValueExists("a", "flag"));
  EXPECT_EQ(ini.ReadString("a", "flag", "default"), "default");
  EXPECT_EQ(ini.ReadSection("a"), (Lines{"key"}));
  EXPECT_EQ(ini.ReadSectionValues("a"), (Lines{"flag", "key=1"}));
  EXPECT_EQ(ini.GetText(), "[a]\r\nflag\r\nkey=1\r\n\r\n");
}

TEST(MemIniFileParsing, BracketLineOnlyOpensASectionWhenClosed) {
  TMemIniFile ini("[a]\n[b\nkey=1\n[]\nempty=2\n");
  EXPECT_EQ(ini.ReadSections(), (Lines{"a", ""}));
  EXPECT_EQ(ini.ReadSectionValues("a"), (Lines{"[b", "key=1"}));
  EXPECT_EQ(ini.ReadString("", "empty", ""), "2");
}

TEST(MemIniFileParsing, AcceptsEveryLineBreakAndAByteOrderMark) {
  TMemIniFile ini("\xEF\xBB\xBF[a]\r\none=1\rtwo=2\nthree=3\r\n\r\nfour=4");
  EXPECT_EQ(ini.ReadSection("a"), (Lines{"one", "two", "three", "four"}));
}

TEST(MemIniFileParsing, KeepsUtf8TextAndFoldsOnlyAsciiLetters) {
  TMemIniFile ini("[字体]\nfontname=宋体\nÄ=1\n");
  EXPECT_EQ(ini.ReadString("字体", "FONTNAME", ""), "宋体");
  EXPECT_TRUE(ini.ValueExists("字体", "Ä"));
  EXPECT_FALSE(ini.ValueExists("字体", "ä"));
}

TEST(MemIniFileParsing, ReadsFromStringLists) {
  core::TStringList lines;
  lines.Add("[a]");
  lines.Add("key = 1");
  TMemIniFile ini;
  ini.SetStrings(lines);
  EXPECT_EQ(ini.ReadInteger("a", "key", 0), 1);

  core::TStringList out;
  out.Add("stale");
  ini.GetStrings(out);
  EXPECT_EQ(out.Text(), "[a]\r\nkey=1\r\n\r\n");
}

// --- Lookup rules -----------------------------------------------------------

TEST(MemIniFileLookup, SectionAndKeyNamesIgnoreLetterCase) {
  TMemIniFile ini("[FormInfo]\nunenabledfontcolor=5\nfontName=Arial\n");
  EXPECT_TRUE(ini.SectionExists("FORMINFO"));
  EXPECT_EQ(ini.ReadInteger("forminfo", "unenabledfontColor", 0), 5);
  EXPECT_EQ(ini.ReadString("FORMINFO", "FONTNAME", ""), "Arial");
}

TEST(MemIniFileLookup, FirstKeyOfANameWins) {
  TMemIniFile ini("[a]\nkey=first\nKEY=second\n");
  EXPECT_EQ(ini.ReadString("a", "key", ""), "first");
}

TEST(MemIniFileLookup, FirstSectionOfANameWins) {
  TMemIniFile ini("[a]\none=1\n[b]\n[A]\none=2\ntwo=2\n");
  EXPECT_EQ(ini.ReadSections(), (Lines{"a", "b", "A"}));
  EXPECT_EQ(ini.ReadInteger("a", "one", 0), 1);
  // The repeat's keys are not merged into the first section.
  EXPECT_FALSE(ini.ValueExists("a", "two"));
  EXPECT_EQ(ini.ReadSection("A"), (Lines{"one"}));
}

TEST(MemIniFileLookup, PresentEmptyValueIsNotTheDefault) {
  TMemIniFile ini("[a]\nname=\ncount=\n");
  EXPECT_EQ(ini.ReadString("a", "name", "default"), "");
  EXPECT_EQ(ini.ReadString("a", "absent", "default"), "default");
  EXPECT_EQ(ini.ReadString("absent", "name", "default"), "default");
  // An integer needs a number: empty is not one.
  EXPECT_EQ(ini.ReadInteger("a", "count", 7), 7);
}

TEST(MemIniFileLookup, IntegersInEveryAcceptedForm) {
  TMemIniFile ini("[n]\n"
                  "dec=8421504\nneg=-1\nplus=+5\n"
                  "dollar=$1F\nhex=0x1f\nupper=0X10\nwrap=$FFFFFFFF\nnegHex=-$10\n"
                  "max=2147483647\nmin=-2147483648\n"
                  "over=2147483648\nunder=-2147483649\nlongHex=$100000000\n"
                  "word=clGray\ntrail=12abc\nsign=-\nprefix=0x\nblank=1 2\n");
  EXPECT_EQ(ini.ReadInteger("n", "dec", 0), 8421504);
  EXPECT_EQ(ini.ReadInteger("n", "neg", 0), -1);
  EXPECT_EQ(ini.ReadInteger("n", "plus", 0), 5);
  EXPECT_EQ(ini.ReadInteger("n", "dollar", 0), 31);
  EXPECT_EQ(ini.ReadInteger("n", "hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger("n", "upper", 0), 16);
  EXPECT_EQ(ini.ReadInteger("n", "wrap", 0), -1);
  EXPECT_EQ(ini.ReadInteger("n", "negHex", 0), -16);
  EXPECT_EQ(ini.ReadInteger("n", "max", 0), 2147483647);
  EXPECT_EQ(ini.ReadInteger("n", "min", 0), -2147483647 - 1);
  for (const char* key : {"over", "under", "longHex", "word", "trail", "sign", "prefix", "blank"}) {
    EXPECT_EQ(ini.ReadInteger("n", key, 42), 42) << key;
  }
}

TEST(MemIniFileLookup, BooleansAreIntegersOtherThanZero) {
  TMemIniFile ini("[b]\none=1\ntwo=2\nzero=0\nword=yes\n");
  EXPECT_TRUE(ini.ReadBool("b", "one", false));
  EXPECT_TRUE(ini.ReadBool("b", "two", false));
  EXPECT_FALSE(ini.ReadBool("b", "zero", true));
  EXPECT_TRUE(ini.ReadBool("b", "word", true));
  EXPECT_FALSE(ini.ReadBool("b", "absent", false));
}

// --- Writing ----------------------------------------------------------------

TEST(MemIniFileWriting, ReplacesInPlaceAppendsKeysAndSections) {
  TMemIniFile ini("[a]\none=1\ntwo=2\n");
  ini.WriteString("A", "ONE", "uno");
  ini.WriteInteger("a", "three", -3);
  ini.WriteBool("b", "flag", true);
  ini.WriteString("b", "empty", "");
  EXPECT_EQ(ini.GetText(),
            "[a]\r\nONE=uno\r\ntwo=2\r\nthree=-3\r\n\r\n"
            "[b]\r\nflag=1\r\nempty=\r\n\r\n");
  // An empty value written stays present.
  EXPECT_EQ(ini.ReadString("b", "empty", "default"), "");
}

TEST(MemIniFileWriting, TextSurvivesAReadBack) {
  TMemIniFile ini;
  ini.WriteString("VERSION", "skinname", "测试");
  ini.WriteString("FORMINFO", "clientrect", "5,29,147,120");
  TMemIniFile copy(ini.GetText());
  EXPECT_EQ(copy.GetText(), ini.GetText());
  EXPECT_EQ(copy.GetStrings(), ini.GetStrings());
}

TEST(MemIniFileWriting, EraseSectionRemovesEveryRepeatOfTheName) {
  TMemIniFile ini("[a]\nkey=new\n[b]\nkey=b\n[A]\nkey=stale\n");
  ini.EraseSection("a");
  EXPECT_EQ(ini.ReadSections(), (Lines{"b"}));
  // Otherwise the stale repeat would come into view here.
  EXPECT_EQ(ini.ReadString("a", "key", "gone"), "gone");
  // The sections behind the erased ones are still found where they now are.
  EXPECT_EQ(ini.ReadString("B", "key", ""), "b");
  ini.EraseSection("absent");
  EXPECT_EQ(ini.ReadSections(), (Lines{"b"}));
  ini.WriteString("a", "key", "again");
  EXPECT_EQ(ini.ReadString("a", "key", ""), "again");
  EXPECT_EQ(ini.ReadString("b", "key", ""), "b");
}

TEST(MemIniFileWriting, DeleteKeyRemovesEveryLineOfTheKey) {
  TMemIniFile ini("[a]\nkey=1\nother=2\nKEY=3\n");
  ini.DeleteKey("A", "key");
  EXPECT_EQ(ini.ReadSectionValues("a"), (Lines{"other=2"}));
  EXPECT_EQ(ini.ReadInteger("a", "other", 0), 2);
  EXPECT_FALSE(ini.ValueExists("a", "key"));
  ini.DeleteKey("absent", "key");
}

TEST(MemIniFileLookup, ForEachValueWalksTheFirstSectionInTextOrder) {
  TMemIniFile ini("[list]\ncount=2\nno equals\n1=b\n0=a\n1=repeat\n[LIST]\n2=hidden\n");
  Lines seen;
  ini.ForEachValue("List", [&](std::string_view key, std::string_view value) {
    seen.push_back(std::string(key) + ":" + std::string(value));
  });
  EXPECT_EQ(seen, (Lines{"count:2", "1:b", "0:a", "1:repeat"}));
  ini.ForEachValue("absent", [&](std::string_view, std::string_view) { ADD_FAILURE(); });
}

TEST(MemIniFileWriting, ClearEmptiesEverything) {
  TMemIniFile ini("[a]\nkey=1\n");
  ini.Clear();
  EXPECT_TRUE(ini.ReadSections().empty());
  EXPECT_EQ(ini.GetText(), "");
}

// --- Files ------------------------------------------------------------------

class MemIniFileFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = std::filesystem::temp_directory_path() /
           ("ostvane-ini-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(FDir);
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }

  std::filesystem::path FDir;
};

TEST_F(MemIniFileFiles, SavesAndLoadsTheSameText) {
  TMemIniFile ini("[a]\nkey=值\n");
  std::string path = (FDir / "skin.ini").string();
  ini.SaveToFile(path);
  TMemIniFile loaded;
  loaded.LoadFromFile(path);
  EXPECT_EQ(loaded.GetText(), "[a]\r\nkey=值\r\n\r\n");
}

TEST_F(MemIniFileFiles, MissingFileRaisesAnOpenError) {
  TMemIniFile ini;
  std::string path = (FDir / "absent.ini").string();
  try {
    ini.LoadFromFile(path);
    FAIL() << "no error";
  } catch (const core::EFOpenError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Cannot open file \"" + path + "\". ", 0), 0u);
  }
  EXPECT_THROW(ini.SaveToFile((FDir / "no" / "dir.ini").string()), core::EFCreateError);
}

}  // namespace
