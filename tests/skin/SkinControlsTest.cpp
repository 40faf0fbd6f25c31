#include "skin/data/SkinData.Controls.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/Exception.h"
#include "core/MemIniFile.h"
#include "SkinSectionKeys.h"
#include "SkinSectionRoundTrip.h"

namespace {

using core::TMemIniFile;
using namespace skin;

// The [SKINCONTROLS] list of the program's skin (51 entries, one of the
// unknown kind "header") and the sections its window uses.
const char* const StoredControls =
    "[SKINCONTROLS]\n"
    "count=51\n"
    "0=button:button\n1=toolpanel:panel\n2=toolbutton:button\n3=checkbox:checkradio\n"
    "4=gauge:gauge\n5=vgauge:gauge\n6=radiobox:checkradio\n7=panel:panel\n8=label:label\n"
    "9=trackbar:trackbar\n10=htrackbar:trackbar\n11=grid:grid\n12=tab:tab\n13=edit:edit\n"
    "14=memo:memo\n15=hscrollbar:scrollbar\n16=vscrollbar:scrollbar\n17=listbox:listbox\n"
    "18=combobox:combobox\n19=checklistbox:checklistbox\n20=spinedit:spinedit\n21=groupbox:panel\n"
    "22=stdlabel:stdlabel\n23=statuspanel:label\n24=statusbar:panel\n25=buttonedit:edit\n"
    "26=vupdown:updown\n27=hupdown:updown\n28=captionlistbox:listbox\n"
    "29=captionchecklistbox:checklistbox\n30=captioncombobox:combobox\n31=controlbar:controlbar\n"
    "32=mainmenubar:mainmenubar\n33=vsplitter:splitter\n34=hsplitter:splitter\n"
    "35=resizebutton:button\n36=bothhscrollbar:scrollbar\n37=rolluppanel:panel\n"
    "38=bigtoolpanel:panel\n39=bigtoolbutton:button\n40=toolmenubutton:menubutton\n"
    "41=toolmenutrackbutton:menubutton\n42=bigtoolmenubutton:menubutton\n"
    "43=bigtoolmenutrackbutton:menubutton\n44=scrollbox:scrollbox\n45=treeview:treeview\n"
    "46=listview:listview\n47=statusgauge:gauge\n48=richedit:richedit\n49=expanel:expanel\n"
    "50=header:header\n"
    "[button]\n"
    "pictureindex=4\nmaskpictureindex=-1\ncursorindex=-1\nskinrect=0,0,24,21\n"
    "lefttoppoint=4,8\nrighttoppoint=18,9\nleftbottompoint=0,0\nrightbottompoint=0,0\n"
    "clientrect=2,2,22,19\nfontname=宋体\nfontheight=12\nfontstyle=\nfontcolor=0\n"
    "activefontcolor=0\ndisabledfontcolor=8421504\ndownfontcolor=0\nmorphing=0\nmorphkind=mkdefault\n"
    "activeskinrect=48,0,72,21\ndownskinrect=24,0,48,21\ndisabledskinrect=0,0,0,0\n"
    "[resizebutton]\n"
    "pictureindex=4\nskinrect=0,0,24,21\ndisabledfontcolor=clGray\nfontcolor=255\n"
    "[checkbox]\n"
    "pictureindex=4\nskinrect=59,62,92,81\nlefttoppoint=5,8\nrighttoppoint=27,8\n"
    "clientrect=2,2,31,17\nfontname=宋体\nfontheight=12\nfontstyle=\nfontcolor=0\n"
    "activefontcolor=0\nmorphing=0\nmorphkind=mkdefault\nactiveskinrect=59,82,92,101\n"
    "checkimagearea=3,3,16,16\ntextarea=20,3,30,16\ncheckimagerect=17,77,30,90\n"
    "uncheckimagerect=4,77,17,90\n"
    "[groupbox]\n"
    "pictureindex=4\nskinrect=352,75,411,127\nlefttoppoint=5,20\nrighttoppoint=53,20\n"
    "leftbottompoint=5,45\nrightbottompoint=52,46\nclientrect=1,20,58,50\nbgpictureindex=-1\n"
    "captionrect=3,2,56,18\nalignment=tacenter\nfontname=宋体\nfontheight=12\nfontstyle=fsbold\n"
    "fontcolor=0\nrollupmarkerrect=1,2,3,4\nrestoremarkerrect=5,6,7,8\n"
    "[vscrollbar]\n"
    "pictureindex=4\nskinrect=224,25,241,93\nlefttoppoint=7,21\nrighttoppoint=0,0\n"
    "leftbottompoint=8,45\nrightbottompoint=0,0\nclientrect=1,18,16,50\ntrackarea=0,18,17,50\n"
    "upbuttonrect=2,52,15,66\nactiveupbuttonrect=244,36,257,50\ndownupbuttonrect=244,52,257,66\n"
    "downbuttonrect=2,2,15,16\nactivedownbuttonrect=244,3,257,17\ndowndownbuttonrect=244,19,257,33\n"
    "thumbrect=226,3,241,23\nactivethumbrect=244,73,259,93\ndownthumbrect=261,73,276,93\n"
    "thumboffset1=4\nthumboffset2=4\nglyphrect=281,78,288,88\nactiveglyphrect=0,0,0,0\n"
    "downglyphrect=0,0,0,0\n"
    "[bothhscrollbar]\n"
    "pictureindex=4\nskinrect=3,222,88,239\nlefttoppoint=20,8\nrighttoppoint=44,9\n"
    "clientrect=18,1,50,16\ntrackarea=18,1,50,16\nupbuttonrect=52,2,66,15\n"
    "downbuttonrect=2,2,16,15\nthumbrect=129,130,149,145\nthumboffset1=3\nthumboffset2=3\n"
    "[edit]\n"
    "pictureindex=4\nskinrect=225,98,282,119\nlefttoppoint=4,10\nrighttoppoint=51,11\n"
    "clientrect=3,3,54,21\nactiveskinrect=225,121,282,142\nfontname=宋体\nfontheight=12\n"
    "fontstyle=\nfontcolor=0\nactivefontcolor=0\nbuttonrect=0,0,0,0\nactivebuttonrect=0,0,0,0\n"
    "downbuttonrect=0,0,0,0\n"
    "[memo]\n"
    "pictureindex=4\nskinrect=141,4,200,56\nlefttoppoint=6,5\nrighttoppoint=52,6\n"
    "leftbottompoint=4,46\nrightbottompoint=53,45\nclientrect=3,3,56,49\nactiveskinrect=0,0,0,0\n"
    "fontname=宋体\nfontheight=12\nfontstyle=fsbold\nfontcolor=8421504\nactivefontcolor=0\n"
    "bgcolor=16250871\nactivebgcolor=16777215\n"
    "[stdlabel]\n"
    "pictureindex=-1\nskinrect=0,0,0,0\nfontname=宋体\nfontheight=12\nfontstyle=\nfontcolor=0\n"
    "[tab]\n"
    "pictureindex=4\nskinrect=141,4,200,56\ntabrect=4,106,63,124\nactivetabrect=4,126,63,145\n"
    "focustabrect=4,147,63,166\nmouseintabrect=4,167,63,185\nclientrect=2,2,57,50\n"
    "bgpictureindex=-1\nlefttoppoint=4,4\nrighttoppoint=54,4\nleftbottompoint=4,47\n"
    "rightbottompoint=54,47\ntableftoffset=3\ntabrightoffset=3\ntabsbgrect=145,8,196,26\n"
    "fontname=宋体\nfontheight=12\nfontstyle=\nfontcolor=0\nactivefontcolor=0\nfocusfontcolor=0\n"
    "mouseinfontcolor=0\nupdown=hupdown\n"
    "[listbox]\n"
    "pictureindex=4\nhscrollbarname=myhscrollbar\n";

class StoredSkinControls : public ::testing::Test {
 protected:
  void SetUp() override { LoadSkinControls(TMemIniFile(StoredControls), FControls); }

  // The section of that name, which must have class T.
  template <class T>
  const T& Section(const std::string& name) {
    for (const auto& control : FControls) {
      if (control->SectionName != name) continue;
      if (const T* section = dynamic_cast<const T*>(control.get())) return *section;
      throw std::runtime_error(name + " has another class");
    }
    throw std::runtime_error(name + " is missing");
  }

  TskDataSkinControlList FControls;
};

TEST_F(StoredSkinControls, FiftyOfFiftyOneEntriesTheHeaderSkipped) {
  ASSERT_EQ(FControls.size(), 50u);
  EXPECT_EQ(FControls[16]->SectionName, "vscrollbar");
  EXPECT_EQ(FControls.back()->SectionName, "expanel");
  for (const auto& control : FControls) EXPECT_NE(control->SectionName, "header");
}

TEST_F(StoredSkinControls, EachKindGetsItsClass) {
  // "groupbox" is listed with the kind "panel".
  EXPECT_NO_THROW(Section<TskDataSkinPanelControl>("groupbox"));
  EXPECT_NO_THROW(Section<TskDataSkinCheckRadioControl>("radiobox"));
  EXPECT_NO_THROW(Section<TskDataSkinLabelControl>("statuspanel"));
  EXPECT_NO_THROW(Section<TskDataSkinUpDownControl>("hupdown"));
  EXPECT_NO_THROW(Section<TskDataSkinMenuButtonControl>("toolmenubutton"));
  EXPECT_NO_THROW(Section<TskDataSkinSplitterControl>("vsplitter"));
  EXPECT_NO_THROW(Section<TskDataSkinExPanelControl>("expanel"));
  // Subclasses pass the checks of their bases.
  EXPECT_NO_THROW(Section<TskDataSkinEditControl>("memo"));
  EXPECT_NO_THROW(Section<TskDataSkinButtonControl>("toolmenubutton"));
  EXPECT_NO_THROW(Section<TskDataSkinListBox>("checklistbox"));
  EXPECT_NO_THROW(Section<TskDataSkinCustomControl>("button"));
  // The tab and the standard label do not derive from the custom control.
  EXPECT_THROW(Section<TskDataSkinCustomControl>("tab"), std::runtime_error);
  EXPECT_THROW(Section<TskDataSkinCustomControl>("stdlabel"), std::runtime_error);
  EXPECT_THROW(Section<TskDataSkinMemoControl>("edit"), std::runtime_error);
}

TEST_F(StoredSkinControls, Button) {
  const auto& button = Section<TskDataSkinButtonControl>("button");
  EXPECT_EQ(button.PictureIndex, 4);
  EXPECT_EQ(button.MaskPictureIndex, -1);
  EXPECT_EQ(button.SkinRect, (gfx::Rect{0, 0, 24, 21}));
  EXPECT_EQ(button.LeftTopPoint, (gfx::Point{4, 8}));
  EXPECT_EQ(button.RightTopPoint, (gfx::Point{18, 9}));
  EXPECT_EQ(button.LeftBottomPoint, gfx::Point{});
  EXPECT_EQ(button.ClientRect, (gfx::Rect{2, 2, 22, 19}));
  EXPECT_EQ(button.FontName, "宋体");
  EXPECT_EQ(button.FontHeight, 12);
  EXPECT_EQ(button.FontStyle, gfx::FontStyle::None);
  EXPECT_EQ(button.DisabledFontColor, 8421504u);
  EXPECT_EQ(button.ActiveSkinRect, (gfx::Rect{48, 0, 72, 21}));
  EXPECT_EQ(button.DownSkinRect, (gfx::Rect{24, 0, 48, 21}));
  EXPECT_TRUE(button.DisabledSkinRect.IsEmpty());
  // Absent keys.
  EXPECT_EQ(button.AnimateSkinRect, gfx::Rect{});
  EXPECT_EQ(button.FrameCount, 0);
  EXPECT_EQ(button.AnimateInterval, 25);
  EXPECT_FALSE(button.StretchEffect);
}

TEST_F(StoredSkinControls, ColourWordReadsAsTheDefault) {
  const auto& resize = Section<TskDataSkinButtonControl>("resizebutton");
  EXPECT_EQ(resize.DisabledFontColor, 0u);
  EXPECT_EQ(resize.FontColor, 255u);
}

TEST_F(StoredSkinControls, CheckBox) {
  const auto& check = Section<TskDataSkinCheckRadioControl>("checkbox");
  EXPECT_EQ(check.SkinRect, (gfx::Rect{59, 62, 92, 81}));
  EXPECT_EQ(check.ActiveSkinRect, (gfx::Rect{59, 82, 92, 101}));
  EXPECT_EQ(check.CheckImageArea, (gfx::Rect{3, 3, 16, 16}));
  EXPECT_EQ(check.TextArea, (gfx::Rect{20, 3, 30, 16}));
  EXPECT_EQ(check.CheckImageRect, (gfx::Rect{17, 77, 30, 90}));
  EXPECT_EQ(check.UnCheckImageRect, (gfx::Rect{4, 77, 17, 90}));
  EXPECT_EQ(check.ActiveCheckImageRect, gfx::Rect{});
  EXPECT_EQ(check.UnEnabledFontColor, 0u);
  EXPECT_EQ(check.FrameFontColor, 0u);
}

TEST_F(StoredSkinControls, GroupBoxIgnoresTheMarkerKeys) {
  const auto& group = Section<TskDataSkinPanelControl>("groupbox");
  EXPECT_EQ(group.SkinRect, (gfx::Rect{352, 75, 411, 127}));
  EXPECT_EQ(group.RightBottomPoint, (gfx::Point{52, 46}));
  EXPECT_EQ(group.ClientRect, (gfx::Rect{1, 20, 58, 50}));
  EXPECT_EQ(group.BGPictureIndex, -1);
  EXPECT_EQ(group.CaptionRect, (gfx::Rect{3, 2, 56, 18}));
  EXPECT_EQ(group.Alignment, TAlignment::taCenter);
  EXPECT_EQ(group.FontStyle, gfx::FontStyle::Bold);
  EXPECT_EQ(group.FrameRect, gfx::Rect{});
  TMemIniFile saved;
  group.SaveToIni(saved);
  EXPECT_FALSE(saved.ValueExists("groupbox", "rollupmarkerrect"));
}

TEST_F(StoredSkinControls, ScrollBars) {
  const auto& vertical = Section<TskDataSkinScrollBarControl>("vscrollbar");
  EXPECT_EQ(vertical.SkinRect, (gfx::Rect{224, 25, 241, 93}));
  EXPECT_EQ(vertical.LeftTopPoint, (gfx::Point{7, 21}));
  EXPECT_EQ(vertical.LeftBottomPoint, (gfx::Point{8, 45}));
  EXPECT_EQ(vertical.TrackArea, (gfx::Rect{0, 18, 17, 50}));
  EXPECT_EQ(vertical.UpButtonRect, (gfx::Rect{2, 52, 15, 66}));
  EXPECT_EQ(vertical.ActiveUpButtonRect, (gfx::Rect{244, 36, 257, 50}));
  EXPECT_EQ(vertical.DownUpButtonRect, (gfx::Rect{244, 52, 257, 66}));
  EXPECT_EQ(vertical.DownButtonRect, (gfx::Rect{2, 2, 15, 16}));
  EXPECT_EQ(vertical.ActiveDownButtonRect, (gfx::Rect{244, 3, 257, 17}));
  EXPECT_EQ(vertical.DownDownButtonRect, (gfx::Rect{244, 19, 257, 33}));
  EXPECT_EQ(vertical.ThumbRect, (gfx::Rect{226, 3, 241, 23}));
  EXPECT_EQ(vertical.ActiveThumbRect, (gfx::Rect{244, 73, 259, 93}));
  EXPECT_EQ(vertical.DownThumbRect, (gfx::Rect{261, 73, 276, 93}));
  EXPECT_EQ(vertical.ThumbOffset1, 4);
  EXPECT_EQ(vertical.ThumbOffset2, 4);
  EXPECT_FALSE(vertical.ThumbTransparent);
  EXPECT_EQ(vertical.GlyphRect, (gfx::Rect{281, 78, 288, 88}));

  const auto& horizontal = Section<TskDataSkinScrollBarControl>("bothhscrollbar");
  EXPECT_EQ(horizontal.UpButtonRect, (gfx::Rect{52, 2, 66, 15}));
  EXPECT_EQ(horizontal.ThumbOffset1, 3);
}

TEST_F(StoredSkinControls, EditAndMemo) {
  const auto& edit = Section<TskDataSkinEditControl>("edit");
  EXPECT_EQ(edit.ActiveSkinRect, (gfx::Rect{225, 121, 282, 142}));
  EXPECT_EQ(edit.RightTopPoint, (gfx::Point{51, 11}));
  EXPECT_EQ(edit.ButtonRect, gfx::Rect{});

  const auto& memo = Section<TskDataSkinMemoControl>("memo");
  EXPECT_EQ(memo.SkinRect, (gfx::Rect{141, 4, 200, 56}));
  EXPECT_EQ(memo.ClientRect, (gfx::Rect{3, 3, 56, 49}));
  EXPECT_EQ(memo.FontStyle, gfx::FontStyle::Bold);
  EXPECT_EQ(memo.FontColor, 8421504u);
  EXPECT_EQ(memo.BGColor, 16250871u);
  EXPECT_EQ(memo.ActiveBGColor, 16777215u);
}

TEST_F(StoredSkinControls, StandardLabelIsBlueWhenActive) {
  const auto& label = Section<TskDataSkinStdLabelControl>("stdlabel");
  EXPECT_EQ(label.PictureIndex, -1);
  EXPECT_EQ(label.FontHeight, 12);
  EXPECT_EQ(label.ActiveFontColor, 16711680u);
}

TEST_F(StoredSkinControls, TabReadsItsOwnCut) {
  const auto& tab = Section<TskDataSkinTabControl>("tab");
  EXPECT_EQ(tab.TabRect, (gfx::Rect{4, 106, 63, 124}));
  EXPECT_EQ(tab.ActiveTabRect, (gfx::Rect{4, 126, 63, 145}));
  EXPECT_EQ(tab.FocusTabRect, (gfx::Rect{4, 147, 63, 166}));
  EXPECT_EQ(tab.MouseInTabRect, (gfx::Rect{4, 167, 63, 185}));
  EXPECT_EQ(tab.ClientRect, (gfx::Rect{2, 2, 57, 50}));
  EXPECT_EQ(tab.LeftBottomPoint, (gfx::Point{4, 47}));
  EXPECT_EQ(tab.RightBottomPoint, (gfx::Point{54, 47}));
  EXPECT_EQ(tab.TabLeftOffset, 3);
  EXPECT_EQ(tab.TabsBGRect, (gfx::Rect{145, 8, 196, 26}));
  EXPECT_FALSE(tab.TabStretchEffect);
  EXPECT_EQ(tab.UpDown, "hupdown");
}

TEST_F(StoredSkinControls, ListBoxScrollBarNamesDefault) {
  const auto& list = Section<TskDataSkinListBox>("listbox");
  EXPECT_EQ(list.VScrollBarName, "vscrollbar");
  EXPECT_EQ(list.HScrollBarName, "myhscrollbar");
  EXPECT_EQ(list.BothHScrollBarName, "bothhscrollbar");
  EXPECT_EQ(list.CaptionFontName, "宋体");
  EXPECT_EQ(list.CaptionFontHeight, 14);
  // Listed but absent from the text: every key at its default.
  const auto& captionList = Section<TskDataSkinCheckListBox>("captionchecklistbox");
  EXPECT_EQ(captionList.PictureIndex, -1);
  EXPECT_EQ(captionList.VScrollBarName, "vscrollbar");
}

TEST(SkinControls, EveryKindMakesItsClassAndNamesItself) {
  ASSERT_EQ(SkinControlKinds().size(), 33u);
  for (std::string_view kind : SkinControlKinds()) {
    auto control = CreateSkinControl(kind, "section");
    ASSERT_NE(control, nullptr) << kind;
    EXPECT_EQ(control->KindWord(), kind);
    EXPECT_EQ(control->SectionName, "section");
  }
  struct Expectation {
    const char* Kind;
    bool (*IsRightClass)(const TskDataSkinControl*);
  };
  const Expectation expectations[] = {
      {"panel", [](const TskDataSkinControl* c) { return dynamic_cast<const TskDataSkinPanelControl*>(c) != nullptr; }},
      {"memo", [](const TskDataSkinControl* c) { return dynamic_cast<const TskDataSkinMemoControl*>(c) != nullptr; }},
      {"tab", [](const TskDataSkinControl* c) { return dynamic_cast<const TskDataSkinTabControl*>(c) != nullptr; }},
      {"animate", [](const TskDataSkinControl* c) { return dynamic_cast<const TskDataSkinFrameControl*>(c) != nullptr; }},
      {"switch", [](const TskDataSkinControl* c) { return dynamic_cast<const TskDataSkinSwitchControl*>(c) != nullptr; }},
      {"framegauge", [](const TskDataSkinControl* c) { return dynamic_cast<const TskDataSkinFrameGauge*>(c) != nullptr; }},
      {"frameregulator",
       [](const TskDataSkinControl* c) { return dynamic_cast<const TskDataSkinFrameRegulator*>(c) != nullptr; }},
      {"bevel", [](const TskDataSkinControl* c) { return dynamic_cast<const TskDataSkinBevel*>(c) != nullptr; }},
      {"scrollbox",
       [](const TskDataSkinControl* c) { return dynamic_cast<const TskDataSkinScrollBoxControl*>(c) != nullptr; }},
  };
  for (const Expectation& e : expectations) {
    EXPECT_TRUE(e.IsRightClass(CreateSkinControl(e.Kind, "s").get())) << e.Kind;
  }
  EXPECT_EQ(CreateSkinControl("header", "s"), nullptr);
  EXPECT_EQ(CreateSkinControl("Button", "s"), nullptr);
}

TEST(SkinControls, TwoEntriesOfOneNameAreBothBuilt) {
  TMemIniFile ini("[SKINCONTROLS]\ncount=2\n0=same:button\n1=same:edit\n[same]\nskinrect=1,2,3,4\n");
  TskDataSkinControlList controls;
  LoadSkinControls(ini, controls);
  ASSERT_EQ(controls.size(), 2u);
  // A lookup by name finds the first; it is a button although the second
  // entry is an edit.
  EXPECT_NE(dynamic_cast<TskDataSkinButtonControl*>(controls[0].get()), nullptr);
  EXPECT_EQ(controls[1]->SkinRect, (gfx::Rect{1, 2, 3, 4}));
}

TEST(SkinControls, AbsentListGivesNoControls) {
  TskDataSkinControlList controls;
  LoadSkinControls(TMemIniFile("[SKINCONTROLS]\n0=button:button\n"), controls);
  EXPECT_TRUE(controls.empty());
}

TEST(SkinControls, FrameControlWords) {
  TskDataSkinFrameRegulator regulator("r");
  regulator.LoadFromIni(TMemIniFile("[r]\nframesplacement=fpvertical\nkind=rkdial\n"));
  EXPECT_EQ(regulator.FramesCount, 1);
  EXPECT_EQ(regulator.FramesPlacement, TskFramesPlacement::fpVertical);
  EXPECT_EQ(regulator.Kind, TskRegulatorKind::rkVertical);
}

TEST(SkinControls, MalformedPointEndsTheLoad) {
  TMemIniFile ini("[SKINCONTROLS]\ncount=1\n0=b:button\n[b]\nlefttoppoint=4\n");
  TskDataSkinControlList controls;
  EXPECT_THROW(LoadSkinControls(ini, controls), core::EConvertError);
}

class SkinControlRoundTrip : public ::testing::TestWithParam<std::string_view> {};

TEST_P(SkinControlRoundTrip, EveryKeySurvives) {
  const std::string kind(GetParam());
  auto make = [&](const std::string& section) { return CreateSkinControl(kind, section); };
  const auto pinned = skintest::ControlSectionKeys().find(kind);
  ASSERT_NE(pinned, skintest::ControlSectionKeys().end()) << "no key list for " << kind;
  TMemIniFile defaults;
  make("ctl")->SaveToIni(defaults);
  EXPECT_EQ(skintest::FoldedKeys(skintest::SectionEntries(defaults, "ctl")), pinned->second);

  std::vector<skintest::KeyValue> input = skintest::NonDefaultEntries(make, "ctl");
  ASSERT_GE(input.size(), 4u);

  auto first = make("ctl");
  first->LoadFromIni(TMemIniFile(skintest::SectionText("ctl", input)));
  TMemIniFile saved;
  first->SaveToIni(saved);
  EXPECT_EQ(skintest::SectionEntries(saved, "ctl"), input);

  auto second = make("ctl");
  second->LoadFromIni(saved);
  TMemIniFile savedAgain;
  second->SaveToIni(savedAgain);
  EXPECT_EQ(savedAgain.GetText(), saved.GetText());
}

INSTANTIATE_TEST_SUITE_P(AllKinds, SkinControlRoundTrip, ::testing::ValuesIn(SkinControlKinds()),
                         [](const ::testing::TestParamInfo<std::string_view>& info) {
                           return std::string(info.param);
                         });

TEST(SkinControls, EveryKindOfTheFormatIsBuilt) {
  EXPECT_EQ(SkinControlKinds().size(), skintest::ControlSectionKeys().size());
  for (const auto& [kind, keys] : skintest::ControlSectionKeys()) {
    EXPECT_NE(CreateSkinControl(kind, "s"), nullptr) << kind;
  }
}

TEST(SkinControls, ListSurvivesSaveAndLoad) {
  TskDataSkinControlList controls;
  LoadSkinControls(TMemIniFile(StoredControls), controls);
  TMemIniFile saved;
  SaveSkinControls(saved, controls);
  EXPECT_EQ(saved.ReadInteger("SKINCONTROLS", "count", 0), 50);
  EXPECT_EQ(saved.ReadString("SKINCONTROLS", "21", ""), "groupbox:panel");

  TskDataSkinControlList again;
  LoadSkinControls(saved, again);
  ASSERT_EQ(again.size(), 50u);
  TMemIniFile savedAgain;
  SaveSkinControls(savedAgain, again);
  EXPECT_EQ(savedAgain.GetText(), saved.GetText());
}

}  // namespace
