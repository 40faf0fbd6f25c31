#include "skin/data/SkinUtils.Readers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/MemIniFile.h"

namespace {

using core::TMemIniFile;
using namespace skin;

std::string ConversionMessage(const std::string& value, const char* key = "skinrect") {
  TMemIniFile ini("[button]\n" + std::string(key) + "=" + value + "\n");
  try {
    if (std::string(key) == "point") {
      ReadPoint(ini, "button", key);
    } else {
      ReadRect(ini, "button", key);
    }
  } catch (const core::EConvertError& error) {
    return error.what();
  }
  return "no error";
}

// --- Rectangles and points --------------------------------------------------

TEST(SkinRectReader, ReadsFourDecimalFields) {
  TMemIniFile ini("[caption1]\nskinrect=27,6,56,24\nspaced=1, 2, 3, 4\n");
  gfx::Rect r = ReadRect(ini, "caption1", "skinrect");
  EXPECT_EQ(r, (gfx::Rect{27, 6, 56, 24}));
  EXPECT_EQ(r.Width(), 29);
  EXPECT_EQ(r.Height(), 18);
  EXPECT_EQ(ReadRect(ini, "caption1", "spaced"), (gfx::Rect{1, 2, 3, 4}));
}

TEST(SkinRectReader, SkipsEveryCharacterButDigitsAndCommas) {
  TMemIniFile ini("[s]\nsigns=-1,+2,-3,4\nletters=1x2,3a,b4,5\npoint=-5,3\n");
  EXPECT_EQ(ReadRect(ini, "s", "signs"), (gfx::Rect{1, 2, 3, 4}));
  EXPECT_EQ(ReadRect(ini, "s", "letters"), (gfx::Rect{12, 3, 4, 5}));
  EXPECT_EQ(ReadPoint(ini, "s", "point"), (gfx::Point{5, 3}));
}

TEST(SkinRectReader, AbsentKeyOrSectionGivesTheNullValue) {
  TMemIniFile ini("[s]\nother=1\n");
  EXPECT_EQ(ReadRect(ini, "s", "skinrect"), gfx::Rect{});
  EXPECT_EQ(ReadPoint(ini, "s", "lefttoppoint"), gfx::Point{});
  EXPECT_EQ(ReadRect(ini, "absent", "skinrect"), gfx::Rect{});
}

TEST(SkinRectReader, ExtraFieldsAreIgnored) {
  TMemIniFile ini("[s]\nrect=1,2,3,4,5,6\npoint=7,8,9\n");
  EXPECT_EQ(ReadRect(ini, "s", "rect"), (gfx::Rect{1, 2, 3, 4}));
  EXPECT_EQ(ReadPoint(ini, "s", "point"), (gfx::Point{7, 8}));
}

TEST(SkinRectReader, FieldWithoutADigitEndsTheLoadNamingSectionAndKey) {
  // Too few fields, an empty field, an empty value, words, a number beyond
  // 32 bits: each is a conversion error.
  for (const char* value : {"1,2,3", "1,,3,4", "", "a,b,c,d", "1,2,3,-", "99999999999,0,0,0"}) {
    std::string message = ConversionMessage(value);
    EXPECT_EQ(message.rfind("Invalid value for [button] skinrect: '" + std::string(value) + "'", 0), 0u)
        << value << " -> " << message;
  }
  EXPECT_EQ(ConversionMessage("1,2,3", "skinrect"),
            "Invalid value for [button] skinrect: '1,2,3' ('' is not a valid integer value)");
  EXPECT_NE(ConversionMessage("5", "point").find("[button] point"), std::string::npos);
  EXPECT_EQ(ConversionMessage("-5,3", "point"), "no error");
}

TEST(SkinRectReader, ParseRectNamesTheGivenPlace) {
  try {
    ParseRect("1,2", "SKINAREAS", "area");
    FAIL();
  } catch (const core::EConvertError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Invalid value for [SKINAREAS] area: '1,2'", 0), 0u);
  }
}

TEST(SkinRectWriter, WritesDecimalFieldsWithoutBlanks) {
  TMemIniFile ini;
  WriteRect(ini, "s", "rect", gfx::Rect{27, 6, 56, 24});
  WritePoint(ini, "s", "point", gfx::Point{0, 19});
  EXPECT_EQ(ini.ReadString("s", "rect", ""), "27,6,56,24");
  EXPECT_EQ(ini.ReadString("s", "point", ""), "0,19");
  EXPECT_EQ(ReadRect(ini, "s", "rect"), (gfx::Rect{27, 6, 56, 24}));
  EXPECT_EQ(ReadPoint(ini, "s", "point"), (gfx::Point{0, 19}));
}

// --- Numbers, booleans, colours ---------------------------------------------

TEST(SkinBooleanReader, OnlyExactlyOneIsTrue) {
  TMemIniFile ini("[s]\none=1\ntwo=2\nminus=-1\nword=true\nhex=$1\nempty=\n");
  EXPECT_TRUE(ReadBoolean(ini, "s", "one"));
  EXPECT_TRUE(ReadBoolean(ini, "s", "hex"));
  for (const char* key : {"two", "minus", "word", "empty", "absent"}) {
    EXPECT_FALSE(ReadBoolean(ini, "s", key)) << key;
  }
  WriteBoolean(ini, "s", "one", false);
  WriteBoolean(ini, "s", "two", true);
  EXPECT_EQ(ini.ReadString("s", "one", ""), "0");
  EXPECT_EQ(ini.ReadString("s", "two", ""), "1");
}

TEST(SkinColorReader, ColourThatIsNotANumberTakesTheDefault) {
  TMemIniFile ini("[resizebutton]\ndisabledfontcolor=clGray\nfontcolor=8421504\nhex=$FF\n");
  EXPECT_EQ(ReadColor(ini, "resizebutton", "disabledfontcolor", 0), 0u);
  EXPECT_EQ(ReadColor(ini, "resizebutton", "fontcolor", 0), 8421504u);
  EXPECT_EQ(ReadColor(ini, "resizebutton", "hex", 0), 255u);
  EXPECT_EQ(ReadColor(ini, "resizebutton", "absent", 16711680), 16711680u);
}

TEST(SkinColorWriter, SystemColourValuesSurvive) {
  TMemIniFile ini;
  const gfx::Color btnFace = 0x8000000F;
  WriteColor(ini, "s", "white", 16777215);
  WriteColor(ini, "s", "system", btnFace);
  EXPECT_EQ(ini.ReadString("s", "white", ""), "16777215");
  EXPECT_EQ(ReadColor(ini, "s", "system", 0), btnFace);
}

// --- Font styles ------------------------------------------------------------

TEST(SkinFontStylesReader, FindsEachWordAnywhereWithItsCase) {
  struct Case {
    const char* Value;
    gfx::FontStyle Expected;
  };
  using gfx::FontStyle;
  for (const Case& c : std::vector<Case>{
           {"fsbold", FontStyle::Bold},
           {"fsbold,fsitalic", FontStyle::Bold | FontStyle::Italic},
           {"fsitalic fsbold", FontStyle::Bold | FontStyle::Italic},
           {"xxfsboldyy", FontStyle::Bold},
           {"fsunderline,fsstrikeout", FontStyle::Underline | FontStyle::StrikeOut},
           {"", FontStyle::None},
           {"FSBOLD", FontStyle::None},
           {"bold", FontStyle::None},
       }) {
    TMemIniFile ini("[s]\nfontstyle=" + std::string(c.Value) + "\n");
    EXPECT_EQ(ReadFontStyles(ini, "s", "fontstyle"), c.Expected) << c.Value;
  }
  EXPECT_EQ(ReadFontStyles(TMemIniFile(), "s", "fontstyle"), FontStyle::None);
}

TEST(SkinFontStylesWriter, JoinsWordsInTheFixedOrder) {
  using gfx::FontStyle;
  TMemIniFile ini;
  WriteFontStyles(ini, "s", "all", FontStyle::StrikeOut | FontStyle::Bold | FontStyle::Underline | FontStyle::Italic);
  WriteFontStyles(ini, "s", "none", FontStyle::None);
  EXPECT_EQ(ini.ReadString("s", "all", ""), "fsbold,fsitalic,fsunderline,fsstrikeout");
  EXPECT_EQ(ini.ReadString("s", "none", "x"), "");
}

// --- Keywords ---------------------------------------------------------------

TEST(SkinKeywordReaders, AlignmentFallsBackToRightButDefaultsToCentre) {
  TMemIniFile ini("[s]\nc=tacenter\nl=taleftjustify\nr=tarightjustify\nmisspelt=tacentre\n"
                  "upper=TACENTER\nempty=\n");
  EXPECT_EQ(ReadAlignment(ini, "s", "c"), TAlignment::taCenter);
  EXPECT_EQ(ReadAlignment(ini, "s", "l"), TAlignment::taLeftJustify);
  EXPECT_EQ(ReadAlignment(ini, "s", "r"), TAlignment::taRightJustify);
  EXPECT_EQ(ReadAlignment(ini, "s", "misspelt"), TAlignment::taRightJustify);
  EXPECT_EQ(ReadAlignment(ini, "s", "upper"), TAlignment::taRightJustify);
  EXPECT_EQ(ReadAlignment(ini, "s", "empty"), TAlignment::taRightJustify);
  EXPECT_EQ(ReadAlignment(ini, "s", "absent"), TAlignment::taCenter);
}

TEST(SkinKeywordReaders, MorphKindFallsBackToDefault) {
  const char* words[] = {"mkdefault",   "mkgradient",   "mkleftgradient", "mkrightgradient",
                         "mkleftslide", "mkrightslide", "mkpush"};
  for (int i = 0; i < 7; ++i) {
    TMemIniFile ini("[s]\nmorphkind=" + std::string(words[i]) + "\n");
    EXPECT_EQ(static_cast<int>(ReadMorphKind(ini, "s", "morphkind")), i) << words[i];
  }
  TMemIniFile ini("[s]\nunknown=mkfade\nupper=MKPUSH\n");
  EXPECT_EQ(ReadMorphKind(ini, "s", "unknown"), TskMorphKind::mkDefault);
  EXPECT_EQ(ReadMorphKind(ini, "s", "upper"), TskMorphKind::mkDefault);
  EXPECT_EQ(ReadMorphKind(ini, "s", "absent"), TskMorphKind::mkDefault);
}

TEST(SkinKeywordReaders, UnknownInactiveEffectIsGrayScaleNotTheDefault) {
  const char* words[] = {"iebrightness", "iedarkness", "iegrayscale", "ienoise", "iesplitblur", "ieinvert"};
  for (int i = 0; i < 6; ++i) {
    TMemIniFile ini("[FORMINFO]\ninactiveeffect=" + std::string(words[i]) + "\n");
    EXPECT_EQ(static_cast<int>(ReadInactiveEffect(ini, "FORMINFO", "inactiveeffect")), i) << words[i];
  }
  TMemIniFile ini("[FORMINFO]\ninactiveeffect=ieblur\n");
  EXPECT_EQ(ReadInactiveEffect(ini, "FORMINFO", "inactiveeffect"), TskInactiveEffect::ieGrayScale);
  EXPECT_EQ(ReadInactiveEffect(ini, "FORMINFO", "absent"), TskInactiveEffect::ieBrightness);
}

TEST(SkinKeywordReaders, UnknownCommandMinimizesToTheTray) {
  TMemIniFile ini("[b]\nclose=cmclose\nmisspelt=cmclos\nupper=cmClose\nrollup=cmrollup\n");
  EXPECT_EQ(ReadStdCommand(ini, "b", "close"), TskStdCommand::cmClose);
  EXPECT_EQ(ReadStdCommand(ini, "b", "rollup"), TskStdCommand::cmRollUp);
  EXPECT_EQ(ReadStdCommand(ini, "b", "misspelt"), TskStdCommand::cmMinimizeToTray);
  EXPECT_EQ(ReadStdCommand(ini, "b", "upper"), TskStdCommand::cmMinimizeToTray);
  EXPECT_EQ(ReadStdCommand(ini, "b", "absent"), TskStdCommand::cmDefault);
  EXPECT_EQ(static_cast<int>(TskStdCommand::cmMinimizeToTray), 6);
}

TEST(SkinKeywordReaders, OrientationWordsFallBackToVertical) {
  EXPECT_EQ(GaugeKindFromWord("gkhorizontal"), TskGaugeKind::gkHorizontal);
  EXPECT_EQ(GaugeKindFromWord("gkvertical"), TskGaugeKind::gkVertical);
  EXPECT_EQ(GaugeKindFromWord("sideways"), TskGaugeKind::gkVertical);
  EXPECT_EQ(FramesPlacementFromWord("fphorizontal"), TskFramesPlacement::fpHorizontal);
  EXPECT_EQ(FramesPlacementFromWord("FPHORIZONTAL"), TskFramesPlacement::fpVertical);
  EXPECT_EQ(RegulatorKindFromWord("rkround"), TskRegulatorKind::rkRound);
  EXPECT_EQ(RegulatorKindFromWord("rkhorizontal"), TskRegulatorKind::rkHorizontal);
  EXPECT_EQ(RegulatorKindFromWord("rkdiagonal"), TskRegulatorKind::rkVertical);
}

TEST(SkinKeywordWriters, EveryValueWritesAWordThatReadsBackToIt) {
  TMemIniFile ini;
  for (int i = 0; i < 3; ++i) {
    auto value = static_cast<TAlignment>(i);
    WriteAlignment(ini, "s", "k", value);
    EXPECT_EQ(ReadAlignment(ini, "s", "k"), value);
  }
  for (int i = 0; i < 7; ++i) {
    auto value = static_cast<TskMorphKind>(i);
    WriteMorphKind(ini, "s", "k", value);
    EXPECT_EQ(ReadMorphKind(ini, "s", "k"), value);
    auto command = static_cast<TskStdCommand>(i);
    WriteStdCommand(ini, "s", "k", command);
    EXPECT_EQ(ReadStdCommand(ini, "s", "k"), command);
  }
  for (int i = 0; i < 6; ++i) {
    auto value = static_cast<TskInactiveEffect>(i);
    WriteInactiveEffect(ini, "s", "k", value);
    EXPECT_EQ(ReadInactiveEffect(ini, "s", "k"), value);
  }
  EXPECT_EQ(StdCommandWord(TskStdCommand::cmMinimizeToTray), "cmminimizetotray");
  EXPECT_EQ(AlignmentWord(TAlignment::taLeftJustify), "taleftjustify");
  EXPECT_EQ(GaugeKindWord(TskGaugeKind::gkVertical), "gkvertical");
  EXPECT_EQ(FramesPlacementWord(TskFramesPlacement::fpVertical), "fpvertical");
  EXPECT_EQ(RegulatorKindWord(TskRegulatorKind::rkVertical), "rkvertical");
}

// --- Lists ------------------------------------------------------------------

TEST(SkinListReaders, TextLinesUseTheKeyAsPrefix) {
  TMemIniFile ini("[bitlabel]\nsymbolslinecount=3\nsymbolsline0=0123\nsymbolsline2=ABC\n");
  EXPECT_EQ(ReadStrings(ini, "bitlabel", "symbols"), (std::vector<std::string>{"0123", "", "ABC"}));
  EXPECT_TRUE(ReadStrings(ini, "bitlabel", "absent").empty());
}

TEST(SkinListReaders, NameListUsesPlainNumberKeys) {
  TMemIniFile ini("[PICTURES]\nactivepicturescount=2\n0=active.BMP\n1=pw.bmp\n2=ignored.bmp\n");
  EXPECT_EQ(ReadNameList(ini, "PICTURES", "activepictures"),
            (std::vector<std::string>{"active.BMP", "pw.bmp"}));
}

TEST(SkinListReaders, DamagedCountsStayBounded) {
  TMemIniFile ini("[s]\nnegativelinecount=-4\nhugecount=2147483647\n");
  EXPECT_TRUE(ReadStrings(ini, "s", "negative").empty());
  EXPECT_EQ(ReadNameList(ini, "s", "huge").size(), static_cast<std::size_t>(MaxListCount));
}

TEST(SkinListWriters, WriteCountThenNumberedKeys) {
  TMemIniFile ini;
  WriteStrings(ini, "b", "symbols", {"01", "23"});
  WriteNameList(ini, "PICTURES", "activepictures", {"a.bmp"});
  EXPECT_EQ(ini.GetText(),
            "[b]\r\nsymbolslinecount=2\r\nsymbolsline0=01\r\nsymbolsline1=23\r\n\r\n"
            "[PICTURES]\r\nactivepicturescount=1\r\n0=a.bmp\r\n\r\n");
  EXPECT_EQ(ReadStrings(ini, "b", "symbols"), (std::vector<std::string>{"01", "23"}));
}

}  // namespace
