#include "skin/data/SkinData.Sections.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/MemIniFile.h"
#include "SkinSectionKeys.h"
#include "SkinSectionRoundTrip.h"

namespace {

using core::TMemIniFile;
using namespace skin;

// The window-level part of the program's own skin description, as far as
// these tests need it.
const char* const StoredWindowSections =
    "[PICTURES]\n"
    "picture=main.bmp\n"
    "mask=mask.bmp\n"
    "[FORMINFO]\n"
    "lefttoppoint=29,29\n"
    "righttoppoint=53,29\n"
    "leftbottompoint=6,118\n"
    "rightbottompoint=146,119\n"
    "clientrect=5,29,147,120\n"
    "bgpictureindex=-1\n"
    "maskrectarea=3,4,149,122\n"
    "hittestlefttoppoint=5,6\n"
    "hittestrighttoppoint=145,5\n"
    "hittestleftbottompoint=6,120\n"
    "hittestrightbottompoint=146,118\n"
    "rollupleftpoint=31,14\n"
    "rolluprightpoint=132,16\n"
    "mainmenurect=0,0,0,0\n"
    "iconrect=0,0,0,0\n"
    "mainmenupopupup=0\n"
    "borderwidth=3\n"
    "cursorindex=-1\n"
    "[POPUPWINDOW]\n"
    "windowpictureindex=1\n"
    "maskpictureindex=6\n"
    "lefttoppoint=24,8\n"
    "righttoppoint=58,10\n"
    "leftbottompoint=6,58\n"
    "rightbottompoint=38,60\n"
    "cursorindex=-1\n"
    "itemsrect=3,8,62,61\n"
    "scrollmarkercolor=8421504\n"
    "scrollmarkeractivecolor=0\n"
    "[HINTWINDOW]\n"
    "windowpictureindex=3\n"
    "maskpictureindex=7\n"
    "lefttoppoint=13,9\n"
    "righttoppoint=37,10\n"
    "leftbottompoint=3,17\n"
    "rightbottompoint=26,18\n"
    "clientrect=3,8,40,20\n"
    "fontname=宋体\n"
    "fontheight=12\n"
    "fontstyle=\n"
    "fontcolor=0\n";

// The frame objects of the program's skin.
const char* const StoredObjects =
    "[SKINOBJECTS]\n"
    "count=12\n"
    "0=MENUITEM:menuitem\n"
    "1=caption1:caption\n"
    "2=closebutton:stdbutton\n"
    "3=minimizebutton:stdbutton\n"
    "4=maximizebutton:stdbutton\n"
    "5=rollupbutton:stdbutton\n"
    "6=mainmenubaritem:mainmenubaritem\n"
    "7=sysmenubutton:stdbutton\n"
    "8=menubarsysmenubutton:mainmenubarbutton\n"
    "9=menubarclosebutton:mainmenubarbutton\n"
    "10=menubarmaxbutton:mainmenubarbutton\n"
    "11=menubarminbutton:mainmenubarbutton\n"
    "[MENUITEM]\n"
    "hint=\nrollup=0\nactivepictureindex=2\ncursorindex=-1\n"
    "skinrect=1,22,64,42\nactiveskinrect=1,1,64,21\nmorphing=0\nmorphkind=mkdefault\n"
    "itemleftoffset=0\nitemrightoffset=0\ndividerrect=1,41,64,48\n"
    "dividerleftoffset=3\ndividerrightoffset=3\ntextrect=2,2,60,18\n"
    "fontname=宋体\nfontheight=12\nfontstyle=\nfontcolor=0\nactivefontcolor=0\n"
    "unenabledfontcolor=8421504\n"
    "[caption1]\n"
    "rollup=0\nactivepictureindex=-1\ncursorindex=-1\nskinrect=27,6,56,24\n"
    "activeskinrect=0,0,0,0\nmorphing=0\nmorphkind=mkdefault\n"
    "defaultcaption=1\ntextrect=0,0,29,18\nfontname=宋体\nfontheight=14\nfontstyle=fsbold\n"
    "fontcolor=13948116\nactivefontcolor=16777215\nalignment=taleftjustify\n"
    "shadow=1\nshadowcolor=0\nactiveshadowcolor=0\n"
    "[closebutton]\n"
    "rollup=0\nactivepictureindex=0\ncursorindex=-1\nskinrect=127,4,148,25\n"
    "activeskinrect=42,0,63,21\ndownrect=21,0,42,21\nmorphing=0\nmorphkind=mkdefault\n"
    "groupindex=-1\ncommand=cmclose\n"
    "[maximizebutton]\n"
    "rollup=0\nactivepictureindex=0\ncursorindex=-1\nskinrect=104,4,125,25\n"
    "activeskinrect=42,21,63,42\ndownrect=21,21,42,42\ngroupindex=-1\ncommand=cmmaximize\n"
    "restorerect=0,61,21,82\nrestoreactiverect=42,61,63,82\nrestoredownrect=21,61,42,82\n"
    "[mainmenubaritem]\n"
    "activepictureindex=2\nskinrect=2,50,63,70\nactiveskinrect=2,72,63,92\n"
    "downrect=2,94,63,114\nitemleftoffset=2\nitemrightoffset=2\ntextrect=5,3,56,17\n"
    "fontheight=12\ndownfontcolor=16777215\nunenabledfontColor=8421504\n"
    "[menubarclosebutton]\n"
    "activepictureindex=0\nskinrect=1,161,20,180\nactiveskinrect=21,161,40,180\n"
    "downrect=41,161,60,180\ngroupindex=-1\ncommand=cmclose\n";

// --- [FORMINFO] -------------------------------------------------------------

TEST(SkinFormInfo, ReadsTheStoredSkinAndLeavesItsPointsAlone) {
  TMemIniFile ini(StoredWindowSections);
  TskDataSkinFormInfo info;
  info.LoadFromIni(ini, "mask.bmp");
  EXPECT_EQ(info.LeftTopPoint, (gfx::Point{29, 29}));
  EXPECT_EQ(info.RightTopPoint, (gfx::Point{53, 29}));
  EXPECT_EQ(info.LeftBottomPoint, (gfx::Point{6, 118}));
  EXPECT_EQ(info.RightBottomPoint, (gfx::Point{146, 119}));
  EXPECT_EQ(info.ClientRect, (gfx::Rect{5, 29, 147, 120}));
  EXPECT_EQ(info.MaskRectArea, (gfx::Rect{3, 4, 149, 122}));
  EXPECT_EQ(info.HitTestLeftTopPoint, (gfx::Point{5, 6}));
  EXPECT_EQ(info.HitTestRightBottomPoint, (gfx::Point{146, 118}));
  EXPECT_EQ(info.RollUpLeftPoint, (gfx::Point{31, 14}));
  EXPECT_EQ(info.RollUpRightPoint, (gfx::Point{132, 16}));
  EXPECT_EQ(info.BorderWidth, 3);
  EXPECT_EQ(info.BGPictureIndex, -1);
  EXPECT_EQ(info.MDIBGPictureIndex, -1);
  EXPECT_EQ(info.CursorIndex, -1);
  EXPECT_FALSE(info.MainMenuPopupUp);
  EXPECT_FALSE(info.AutoRenderingInactiveImage);
  EXPECT_EQ(info.InactiveEffect, TskInactiveEffect::ieBrightness);
}

struct FormInfoCase {
  const char* Name;
  const char* Keys;
  const char* MaskName;
  gfx::Rect MaskRectArea;
  gfx::Point HitTestLeftTop;
  gfx::Point HitTestRightBottom;
  gfx::Point LeftTop;
  gfx::Point RightTop;
  gfx::Point LeftBottom;
  gfx::Point RightBottom;
};

// The case prints as its name, not as the bytes (and addresses) it holds.
void PrintTo(const FormInfoCase& c, std::ostream* os) { *os << c.Name; }

class SkinFormInfoAdjustment : public ::testing::TestWithParam<FormInfoCase> {};

TEST_P(SkinFormInfoAdjustment, Applies) {
  const FormInfoCase& c = GetParam();
  TMemIniFile ini(std::string("[FORMINFO]\n") + c.Keys);
  TskDataSkinFormInfo info;
  info.LoadFromIni(ini, c.MaskName);
  EXPECT_EQ(info.MaskRectArea, c.MaskRectArea);
  EXPECT_EQ(info.HitTestLeftTopPoint, c.HitTestLeftTop);
  EXPECT_EQ(info.HitTestRightBottomPoint, c.HitTestRightBottom);
  EXPECT_EQ(info.LeftTopPoint, c.LeftTop);
  EXPECT_EQ(info.RightTopPoint, c.RightTop);
  EXPECT_EQ(info.LeftBottomPoint, c.LeftBottom);
  EXPECT_EQ(info.RightBottomPoint, c.RightBottom);

  // Adjusted values written and read again stay as they are.
  TMemIniFile saved;
  info.SaveToIni(saved);
  TskDataSkinFormInfo again;
  again.LoadFromIni(saved, c.MaskName);
  TMemIniFile savedAgain;
  again.SaveToIni(savedAgain);
  EXPECT_EQ(savedAgain.GetText(), saved.GetText());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SkinFormInfoAdjustment,
    ::testing::Values(
        // Without a mask the mask area and the hit-test points stay as read.
        FormInfoCase{"NoMaskKeepsMaskAreaAndNullHitTestPoints",
                     "clientrect=5,29,147,120\nmaskrectarea=10,40,20,50\n"
                     "lefttoppoint=29,29\nrighttoppoint=53,29\nleftbottompoint=6,118\nrightbottompoint=146,119\n",
                     "", {10, 40, 20, 50}, {}, {}, {29, 29}, {53, 29}, {6, 118}, {146, 119}},
        // A null mask area becomes the client rectangle; null hit-test
        // points take the corner points as read, before those are pulled in.
        FormInfoCase{"NullMaskAreaBecomesTheClientRect",
                     "clientrect=10,20,100,80\n"
                     "lefttoppoint=5,25\nrighttoppoint=95,15\nleftbottompoint=12,90\nrightbottompoint=120,70\n",
                     "mask.bmp", {10, 20, 100, 80}, {5, 25}, {120, 70}, {10, 25}, {95, 20}, {12, 80}, {100, 70}},
        FormInfoCase{"MaskAreaIsWidenedToCoverTheClientRect",
                     "clientrect=10,20,100,80\nmaskrectarea=15,5,90,120\n"
                     "lefttoppoint=20,30\nrighttoppoint=90,30\nleftbottompoint=20,70\nrightbottompoint=90,70\n"
                     "hittestlefttoppoint=1,2\nhittestrightbottompoint=0,7\n",
                     "mask.bmp", {10, 5, 100, 120}, {1, 2}, {90, 70}, {20, 30}, {90, 30}, {20, 70}, {90, 70}},
        // A null client rectangle still counts: widening takes the smaller
        // left and top, so the mask area reaches the origin.
        FormInfoCase{"NullClientRectStillWidens",
                     "maskrectarea=3,4,149,122\n", "mask.bmp", {0, 0, 149, 122}, {}, {}, {}, {}, {}, {}},
        // Left-top and right-bottom sharing an x (or a y): no pulling in.
        FormInfoCase{"DegenerateCutIsLeftAlone",
                     "clientrect=10,20,100,80\n"
                     "lefttoppoint=5,5\nrighttoppoint=200,5\nleftbottompoint=5,200\nrightbottompoint=5,200\n",
                     "", {}, {}, {}, {5, 5}, {200, 5}, {5, 200}, {5, 200}},
        FormInfoCase{"DegenerateCutSharingAY",
                     "clientrect=10,20,100,80\n"
                     "lefttoppoint=5,5\nrighttoppoint=200,5\nleftbottompoint=5,200\nrightbottompoint=150,5\n",
                     "", {}, {}, {}, {5, 5}, {200, 5}, {5, 200}, {150, 5}}),
    [](const ::testing::TestParamInfo<FormInfoCase>& info) { return std::string(info.param.Name); });

TEST(SkinFormInfo, MissingSectionGivesDefaults) {
  TskDataSkinFormInfo info;
  info.LoadFromIni(TMemIniFile(), "");
  EXPECT_EQ(info.ClientRect, gfx::Rect{});
  EXPECT_EQ(info.BGPictureIndex, -1);
  EXPECT_EQ(info.CursorIndex, -1);
  EXPECT_EQ(info.InactiveEffect, TskInactiveEffect::ieBrightness);
}

TEST(SkinFormInfo, UnknownInactiveEffectIsGrayScale) {
  TskDataSkinFormInfo info;
  info.LoadFromIni(TMemIniFile("[forminfo]\nautorenderinginactiveimage=1\ninactiveeffect=iesepia\n"), "");
  EXPECT_TRUE(info.AutoRenderingInactiveImage);
  EXPECT_EQ(info.InactiveEffect, TskInactiveEffect::ieGrayScale);
}

TEST(SkinFormInfo, MalformedPointEndsTheLoad) {
  TskDataSkinFormInfo info;
  EXPECT_THROW(info.LoadFromIni(TMemIniFile("[FORMINFO]\nlefttoppoint=29\n"), ""), core::EConvertError);
}

// --- Popup and hint windows ---------------------------------------------------

TEST(SkinWindowSections, PopupWindowReadsTheStoredSkin) {
  TskDataSkinPopupWindow popup;
  popup.LoadFromIni(TMemIniFile(StoredWindowSections));
  EXPECT_EQ(popup.WindowPictureIndex, 1);
  EXPECT_EQ(popup.MaskPictureIndex, 6);
  EXPECT_EQ(popup.LeftTopPoint, (gfx::Point{24, 8}));
  EXPECT_EQ(popup.RightBottomPoint, (gfx::Point{38, 60}));
  EXPECT_EQ(popup.ItemsRect, (gfx::Rect{3, 8, 62, 61}));
  EXPECT_EQ(popup.ScrollMarkerColor, 8421504u);
  EXPECT_EQ(popup.ScrollMarkerActiveColor, 0u);
  EXPECT_FALSE(popup.TopStretch);
}

TEST(SkinWindowSections, HintWindowStartsAtTwelveButReadsFourteenWhenAbsent) {
  TskDataSkinHintWindow hint;
  EXPECT_EQ(hint.FontHeight, 12);
  EXPECT_EQ(hint.FontName, "宋体");
  hint.LoadFromIni(TMemIniFile(StoredWindowSections));
  EXPECT_EQ(hint.WindowPictureIndex, 3);
  EXPECT_EQ(hint.MaskPictureIndex, 7);
  EXPECT_EQ(hint.ClientRect, (gfx::Rect{3, 8, 40, 20}));
  EXPECT_EQ(hint.FontHeight, 12);
  hint.LoadFromIni(TMemIniFile("[HINTWINDOW]\nwindowpictureindex=3\n"));
  EXPECT_EQ(hint.FontHeight, 14);
}

TEST(SkinWindowSections, EveryKeySurvivesSaveAndLoad) {
  struct Popup : TskDataSkinPopupWindow {
    explicit Popup(const std::string&) {}
  };
  struct Hint : TskDataSkinHintWindow {
    explicit Hint(const std::string&) {}
  };
  struct FormInfo : TskDataSkinFormInfo {
    explicit FormInfo(const std::string&) {}
    // Without a mask name and with points sharing nothing but in order, the
    // adjustments cannot alter generated values beyond the client rectangle
    // pull, which the round trip below tolerates by comparing saved texts.
    void LoadFromIni(const core::TMemIniFile& ini) { TskDataSkinFormInfo::LoadFromIni(ini, ""); }
  };
  auto check = [](auto make, const std::string& section) {
    std::vector<skintest::KeyValue> entries = skintest::NonDefaultEntries(make, section);
    auto first = make(section);
    first->LoadFromIni(TMemIniFile(skintest::SectionText(section, entries)));
    TMemIniFile saved;
    first->SaveToIni(saved);
    auto second = make(section);
    second->LoadFromIni(saved);
    TMemIniFile savedAgain;
    second->SaveToIni(savedAgain);
    EXPECT_EQ(savedAgain.GetText(), saved.GetText()) << section;
    EXPECT_EQ(skintest::FoldedKeys(entries), skintest::WindowSectionKeys().at(section));
    return std::make_pair(entries, skintest::SectionEntries(saved, section));
  };
  auto [popupIn, popupOut] = check([](const std::string& s) { return std::make_unique<Popup>(s); }, "POPUPWINDOW");
  EXPECT_EQ(popupOut, popupIn);
  auto [hintIn, hintOut] = check([](const std::string& s) { return std::make_unique<Hint>(s); }, "HINTWINDOW");
  EXPECT_EQ(hintOut, hintIn);
  auto [infoIn, infoOut] = check([](const std::string& s) { return std::make_unique<FormInfo>(s); }, "FORMINFO");
  // The corner points are pulled inside the generated client rectangle;
  // every other key comes back as written.
  ASSERT_EQ(infoOut.size(), infoIn.size());
  for (std::size_t i = 0; i < infoIn.size(); ++i) {
    EXPECT_EQ(infoOut[i].Key, infoIn[i].Key);
    if (skintest::EndsWith(infoIn[i].Key, "toppoint") || skintest::EndsWith(infoIn[i].Key, "bottompoint")) {
      if (infoIn[i].Key.rfind("hittest", 0) != 0) continue;
    }
    EXPECT_EQ(infoOut[i].Value, infoIn[i].Value) << infoIn[i].Key;
  }
}

// --- [SKINAREAS] ----------------------------------------------------------------

TEST(SkinAreas, ReadsNamedRectanglesInIndexOrder) {
  TMemIniFile ini("[SKINAREAS]\ncount=4\n1=logo:1,2,3,4\n0=title:5, 6, 7, 8\n2=noColon\n3=odd:name:9,10,11,12\n");
  std::vector<TskDataSkinArea> areas;
  LoadSkinAreas(ini, areas);
  ASSERT_EQ(areas.size(), 3u);
  EXPECT_EQ(areas[0], (TskDataSkinArea{"title", {5, 6, 7, 8}}));
  EXPECT_EQ(areas[1], (TskDataSkinArea{"logo", {1, 2, 3, 4}}));
  // Split at the first ":": the rest ("name:9,10,11,12") reads its digits.
  EXPECT_EQ(areas[2].SectionName, "odd");

  TMemIniFile saved;
  SaveSkinAreas(saved, areas);
  std::vector<TskDataSkinArea> again;
  LoadSkinAreas(saved, again);
  EXPECT_EQ(again, areas);
}

TEST(SkinAreas, MalformedRectangleNamesTheArea) {
  std::vector<TskDataSkinArea> areas;
  try {
    LoadSkinAreas(TMemIniFile("[SKINAREAS]\ncount=1\n0=logo:1,2\n"), areas);
    FAIL();
  } catch (const core::EConvertError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Invalid value for [SKINAREAS] logo: '1,2'", 0), 0u);
  }
}

// --- Skin objects: the stored skin ----------------------------------------------

class StoredSkinObjects : public ::testing::Test {
 protected:
  void SetUp() override { LoadSkinObjects(TMemIniFile(StoredObjects), FObjects); }

  template <class T>
  const T& Object(std::size_t index) {
    const T* object = dynamic_cast<const T*>(FObjects.at(index).get());
    if (object == nullptr) throw std::runtime_error("object " + std::to_string(index) + " has another class");
    return *object;
  }

  TskDataSkinObjectList FObjects;
};

TEST_F(StoredSkinObjects, BuildsTwelveObjectsOfTheirKinds) {
  ASSERT_EQ(FObjects.size(), 12u);
  const char* names[] = {"MENUITEM",        "caption1",      "closebutton",          "minimizebutton",
                         "maximizebutton",  "rollupbutton",  "mainmenubaritem",      "sysmenubutton",
                         "menubarsysmenubutton", "menubarclosebutton", "menubarmaxbutton", "menubarminbutton"};
  for (std::size_t i = 0; i < 12; ++i) EXPECT_EQ(FObjects[i]->SectionName, names[i]);
  EXPECT_NO_THROW(Object<TskDataSkinMenuItem>(0));
  EXPECT_NO_THROW(Object<TskDataSkinCaption>(1));
  EXPECT_NO_THROW(Object<TskDataSkinStdButton>(2));
  EXPECT_NO_THROW(Object<TskDataSkinMainMenuBarItem>(6));
  EXPECT_NO_THROW(Object<TskDataSkinMainMenuItem>(6));
  EXPECT_NO_THROW(Object<TskDataSkinMainMenuBarButton>(9));
  // A menu bar button is a standard button is a button.
  EXPECT_NO_THROW(Object<TskDataSkinButton>(9));
  EXPECT_EQ(dynamic_cast<const TskDataSkinMainMenuBarButton*>(FObjects[2].get()), nullptr);
}

TEST_F(StoredSkinObjects, MenuItemAndCaptionValues) {
  const auto& item = Object<TskDataSkinMenuItem>(0);
  EXPECT_EQ(item.ActivePictureIndex, 2);
  EXPECT_EQ(item.SkinRect, (gfx::Rect{1, 22, 64, 42}));
  EXPECT_EQ(item.DividerRect, (gfx::Rect{1, 41, 64, 48}));
  EXPECT_EQ(item.DividerLeftOffset, 3);
  EXPECT_EQ(item.TextRect, (gfx::Rect{2, 2, 60, 18}));
  EXPECT_EQ(item.FontHeight, 12);
  EXPECT_EQ(item.UnEnabledFontColor, 8421504u);

  const auto& caption = Object<TskDataSkinCaption>(1);
  EXPECT_EQ(caption.SkinRect, (gfx::Rect{27, 6, 56, 24}));
  EXPECT_TRUE(caption.DefaultCaption);
  EXPECT_EQ(caption.FontStyle, gfx::FontStyle::Bold);
  EXPECT_EQ(caption.FontColor, 13948116u);
  EXPECT_EQ(caption.ActiveFontColor, 16777215u);
  EXPECT_EQ(caption.Alignment, TAlignment::taLeftJustify);
  EXPECT_TRUE(caption.Shadow);
  EXPECT_FALSE(caption.Light);
}

TEST_F(StoredSkinObjects, ButtonsAndTheirCommands) {
  const auto& close = Object<TskDataSkinStdButton>(2);
  EXPECT_EQ(close.Command, TskStdCommand::cmClose);
  EXPECT_EQ(close.DownRect, (gfx::Rect{21, 0, 42, 21}));
  EXPECT_EQ(close.GroupIndex, -1);
  EXPECT_EQ(close.RestoreRect, gfx::Rect{});

  const auto& maximize = Object<TskDataSkinStdButton>(4);
  EXPECT_EQ(maximize.Command, TskStdCommand::cmMaximize);
  EXPECT_EQ(maximize.RestoreActiveRect, (gfx::Rect{42, 61, 63, 82}));
  EXPECT_EQ(maximize.RestoreInactiveRect, gfx::Rect{});

  // Sections named in the list but absent from the text take every default.
  const auto& rollup = Object<TskDataSkinStdButton>(5);
  EXPECT_EQ(rollup.Command, TskStdCommand::cmDefault);
  EXPECT_EQ(rollup.ActivePictureIndex, -1);
  EXPECT_EQ(rollup.GroupIndex, -1);

  const auto& menuBarClose = Object<TskDataSkinMainMenuBarButton>(9);
  EXPECT_EQ(menuBarClose.Command, TskStdCommand::cmClose);
  EXPECT_EQ(menuBarClose.DownRect, (gfx::Rect{41, 161, 60, 180}));
}

TEST_F(StoredSkinObjects, KeyNamesWrittenWithCapitalsAreFound) {
  const auto& item = Object<TskDataSkinMainMenuBarItem>(6);
  EXPECT_EQ(item.UnEnabledFontColor, 8421504u);
  EXPECT_EQ(item.DownFontColor, 16777215u);
  EXPECT_EQ(item.ItemLeftOffset, 2);
  EXPECT_EQ(item.FontName, "宋体");
  EXPECT_EQ(item.FontHeight, 12);

  TskDataSkinLabel label("label");
  label.LoadFromIni(TMemIniFile("[label]\nfontname=Arial\nFontHeight=9\n"));
  EXPECT_EQ(label.FontName, "Arial");
  EXPECT_EQ(label.FontHeight, 9);
}

// --- Skin objects: rules of the list and the classes ------------------------------

TEST(SkinObjects, EveryKindMakesItsClassAndNamesItself) {
  ASSERT_EQ(SkinObjectKinds().size(), 16u);
  for (std::string_view kind : SkinObjectKinds()) {
    auto object = CreateSkinObject(kind, "section");
    ASSERT_NE(object, nullptr) << kind;
    EXPECT_EQ(object->KindWord(), kind);
    EXPECT_EQ(object->SectionName, "section");
  }
  EXPECT_NE(dynamic_cast<TskDataSkinMainMenuBarButton*>(CreateSkinObject("mainmenubarbutton", "s").get()), nullptr);
  EXPECT_NE(dynamic_cast<TskDataSkinFrameRegulatorObject*>(CreateSkinObject("frameregulator", "s").get()), nullptr);
  EXPECT_NE(dynamic_cast<TskDataUserObject*>(CreateSkinObject("userobject", "s").get()), nullptr);
  EXPECT_EQ(CreateSkinObject("Caption", "s"), nullptr);
  EXPECT_EQ(CreateSkinObject("header", "s"), nullptr);
  EXPECT_EQ(CreateSkinObject("", "s"), nullptr);
}

TEST(SkinObjects, UnknownKindsAndEntriesWithoutColonAreSkipped) {
  TMemIniFile ini("[SKINOBJECTS]\ncount=5\n0=a:caption\n1=b:header\n2=nocolon\n3=c: caption\n4=d:label\n");
  TskDataSkinObjectList objects;
  LoadSkinObjects(ini, objects);
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0]->SectionName, "a");
  EXPECT_EQ(objects[1]->SectionName, "d");
}

TEST(SkinObjects, EntriesComeInIndexOrderUpToTheCount) {
  TMemIniFile ini("[SKINOBJECTS]\ncount=3\n2=c:switch\n0=a:switch\n01=x:switch\n3=beyond:switch\n0=dup:switch\n");
  TskDataSkinObjectList objects;
  LoadSkinObjects(ini, objects);
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0]->SectionName, "a");
  EXPECT_EQ(objects[1]->SectionName, "c");
}

TEST(SkinObjects, DamagedCountCostsNothing) {
  TMemIniFile ini("[SKINOBJECTS]\ncount=2147483647\n0=a:switch\n");
  TskDataSkinObjectList objects;
  LoadSkinObjects(ini, objects);
  EXPECT_EQ(objects.size(), 1u);
}

TEST(SkinObjects, TwoEntriesOfOneNameReadTheSameSection) {
  TMemIniFile ini("[SKINOBJECTS]\ncount=2\n0=twice:stdbutton\n1=twice:stdbutton\n"
                  "[twice]\ncommand=cmsysmenu\n[TWICE]\ncommand=cmclose\n");
  TskDataSkinObjectList objects;
  LoadSkinObjects(ini, objects);
  ASSERT_EQ(objects.size(), 2u);
  for (const auto& object : objects) {
    EXPECT_EQ(static_cast<const TskDataSkinStdButton&>(*object).Command, TskStdCommand::cmSysMenu);
  }
}

TEST(SkinObjects, MisspeltCommandMinimizesToTheTray) {
  TskDataSkinStdButton button("b");
  button.LoadFromIni(TMemIniFile("[b]\ncommand=cmclsoe\n"));
  EXPECT_EQ(button.Command, TskStdCommand::cmMinimizeToTray);
  TMemIniFile saved;
  button.SaveToIni(saved);
  EXPECT_EQ(saved.ReadString("b", "command", ""), "cmminimizetotray");
}

TEST(SkinObjects, AnimationNeverMorphs) {
  TskDataSkinAnimate animate("a");
  animate.LoadFromIni(TMemIniFile("[a]\nmorphing=1\nmorphkind=mkpush\n"));
  EXPECT_FALSE(animate.Morphing);
  EXPECT_EQ(animate.MorphKind, TskMorphKind::mkPush);
  EXPECT_EQ(animate.CountFrames, 1);
  EXPECT_EQ(animate.TimerInterval, 50);
}

TEST(SkinObjects, UserObjectReadsOnlyItsThreeKeys) {
  TskDataUserObject user("u");
  user.LoadFromIni(TMemIniFile("[u]\nhint=ignored\nactivepictureindex=3\nrollup=1\nskinrect=1,2,3,4\ncursorindex=2\n"));
  EXPECT_TRUE(user.RollUp);
  EXPECT_EQ(user.SkinRect, (gfx::Rect{1, 2, 3, 4}));
  EXPECT_EQ(user.CursorIndex, 2);
  EXPECT_EQ(user.Hint, "");
  EXPECT_EQ(user.ActivePictureIndex, -1);
  TMemIniFile saved;
  user.SaveToIni(saved);
  EXPECT_EQ(saved.ReadSection("u"), (std::vector<std::string>{"rollup", "skinrect", "cursorindex"}));
}

TEST(SkinObjects, DefaultsOfTheOtherClasses) {
  TskDataSkinBitLabel bitLabel("b");
  bitLabel.LoadFromIni(TMemIniFile());
  EXPECT_EQ(bitLabel.TransparentColor, 16711935u);
  TskDataSkinGauge gauge("g");
  gauge.LoadFromIni(TMemIniFile("[g]\nkind=gkvertical\n"));
  EXPECT_EQ(gauge.Kind, TskGaugeKind::gkVertical);
  TskDataSkinFrameRegulatorObject regulator("r");
  regulator.LoadFromIni(TMemIniFile("[r]\nframesplacement=fpvertical\nkind=rkhorizontal\n"));
  EXPECT_EQ(regulator.FramesPlacement, TskFramesPlacement::fpVertical);
  EXPECT_EQ(regulator.Kind, TskRegulatorKind::rkHorizontal);
  EXPECT_EQ(regulator.CountFrames, 0);
}

TEST(SkinObjects, MalformedRectangleEndsTheLoadAndKeepsWhatWasBuilt) {
  TMemIniFile ini("[SKINOBJECTS]\ncount=3\n0=good:button\n1=bad:button\n2=later:button\n"
                  "[bad]\ndownrect=1,2,,4\n");
  TskDataSkinObjectList objects;
  try {
    LoadSkinObjects(ini, objects);
    FAIL();
  } catch (const core::EConvertError& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Invalid value for [bad] downrect: '1,2,,4'", 0), 0u);
  }
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[1]->SectionName, "bad");
}

// Load, save and load again gives the same object, for every class: each key
// is given a value of its own, and the saved section must repeat the input
// key for key, in reading order.
class SkinObjectRoundTrip : public ::testing::TestWithParam<std::string_view> {};

TEST_P(SkinObjectRoundTrip, EveryKeySurvives) {
  const std::string kind(GetParam());
  auto make = [&](const std::string& section) { return CreateSkinObject(kind, section); };
  const auto pinned = skintest::ObjectSectionKeys().find(kind);
  ASSERT_NE(pinned, skintest::ObjectSectionKeys().end()) << "no key list for " << kind;
  TMemIniFile defaults;
  make("obj")->SaveToIni(defaults);
  EXPECT_EQ(skintest::FoldedKeys(skintest::SectionEntries(defaults, "obj")), pinned->second);

  std::vector<skintest::KeyValue> input = skintest::NonDefaultEntries(make, "obj");
  ASSERT_FALSE(input.empty());

  auto first = make("obj");
  first->LoadFromIni(TMemIniFile(skintest::SectionText("obj", input)));
  TMemIniFile saved;
  first->SaveToIni(saved);

  std::vector<skintest::KeyValue> expected = input;
  if (kind == "animate") {
    for (auto& entry : expected) {
      if (entry.Key == "morphing") entry.Value = "0";
    }
  }
  EXPECT_EQ(skintest::SectionEntries(saved, "obj"), expected);

  auto second = make("obj");
  second->LoadFromIni(saved);
  TMemIniFile savedAgain;
  second->SaveToIni(savedAgain);
  EXPECT_EQ(savedAgain.GetText(), saved.GetText());
}

INSTANTIATE_TEST_SUITE_P(AllKinds, SkinObjectRoundTrip, ::testing::ValuesIn(SkinObjectKinds()),
                         [](const ::testing::TestParamInfo<std::string_view>& info) {
                           return std::string(info.param);
                         });

TEST(SkinObjects, EveryKindOfTheFormatIsBuilt) {
  EXPECT_EQ(SkinObjectKinds().size(), skintest::ObjectSectionKeys().size());
  for (const auto& [kind, keys] : skintest::ObjectSectionKeys()) {
    EXPECT_NE(CreateSkinObject(kind, "s"), nullptr) << kind;
  }
}

TEST(SkinObjects, SavingReplacesTheWholeSection) {
  TMemIniFile ini("[b]\nstale=1\ncommand=cmclose\n");
  TskDataSkinStdButton button("b");
  button.LoadFromIni(ini);
  button.SaveToIni(ini);
  EXPECT_FALSE(ini.ValueExists("b", "stale"));
  EXPECT_EQ(ini.ReadSection("b").front(), "hint");
}

TEST(SkinObjects, ListSurvivesSaveAndLoad) {
  TskDataSkinObjectList objects;
  LoadSkinObjects(TMemIniFile(StoredObjects), objects);
  TMemIniFile saved;
  SaveSkinObjects(saved, objects);
  EXPECT_EQ(saved.ReadString("SKINOBJECTS", "9", ""), "menubarclosebutton:mainmenubarbutton");

  TskDataSkinObjectList again;
  LoadSkinObjects(saved, again);
  ASSERT_EQ(again.size(), objects.size());
  TMemIniFile savedAgain;
  SaveSkinObjects(savedAgain, again);
  EXPECT_EQ(savedAgain.GetText(), saved.GetText());
}

}  // namespace
