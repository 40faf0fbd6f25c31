// Check and radio boxes: toggled by a click over them and by Space, radio
// groups keep one box checked, OnClick follows the rules of each kind, and
// the looks of each state.

#include "SkinControlsTestSupport.h"
#include "skin/controls/SkinCtrls.h"

namespace skin::testing {
namespace {

class SkinCheckRadioTest : public SkinControlTest {
 protected:
  TskSkinCheckRadioBox* MakeBox(TskSkinData* skin, gfx::Rect bounds, bool radio = false) {
    auto* box = Add<TskSkinCheckRadioBox>(Form, bounds);
    box->SetName("MacList" + std::to_string(++Made));
    box->SetCaption(radio ? "Radio" : "Hide silent hosts");
    box->SetRadio(radio);
    if (radio) {
      box->SetSkinDataName("radiobox");
      box->SetGroupIndex(1);
    }
    box->SetSkinData(skin);
    box->OnClick = [this, box](core::TComponent*) { Clicked.push_back(box); };
    return box;
  }
  std::vector<TskSkinCheckRadioBox*> Clicked;
  int Made = 0;
};

TEST_F(SkinCheckRadioTest, CheckBoxTogglesOnClickAndSpaceButNotOnAReleaseOutside) {
  TskSkinCheckRadioBox* box = MakeBox(StoredSkin(), {20, 20, 170, 45});
  box->SetCanFocused(true);
  ShowForm();
  ClickOn(box);
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(box->Focused());
  Stroke(platform::VK_SPACE);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(Clicked.size(), 2u);

  Press(box);
  MoveTo(At(box, 300, 100));
  Release();
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(Clicked.size(), 2u);

  box->SetChecked(false);  // a check box reports every setting
  EXPECT_EQ(Clicked.size(), 3u);
}

TEST_F(SkinCheckRadioTest, RadioBoxChecksItselfAndUnchecksItsGroup) {
  TskSkinCheckRadioBox* first = MakeBox(StoredSkin(), {20, 20, 170, 45}, true);
  TskSkinCheckRadioBox* second = MakeBox(StoredSkin(), {20, 50, 170, 75}, true);
  TskSkinCheckRadioBox* other = MakeBox(StoredSkin(), {20, 80, 170, 105}, true);
  other->SetGroupIndex(2);
  other->SetChecked(true);
  first->SetChecked(true);
  Clicked.clear();
  ShowForm();
  ClickOn(second);
  EXPECT_TRUE(second->Checked());
  EXPECT_FALSE(first->Checked());
  EXPECT_TRUE(other->Checked());  // another group
  EXPECT_EQ(Clicked, std::vector<TskSkinCheckRadioBox*>{second});
  ClickOn(second);
  EXPECT_TRUE(second->Checked());
  EXPECT_EQ(Clicked.size(), 1u);
  second->SetChecked(false);  // unchecking a radio box raises nothing
  EXPECT_EQ(Clicked.size(), 1u);
}

TEST_F(SkinCheckRadioTest, LooksOfEachStateFlatAndFramedWithAndWithoutTheSkin) {
  struct Case {
    const char* Name;
    bool Skinned, Flat, Radio;
  };
  for (const Case& c : {Case{"checkbox-skin", true, true, false}, Case{"checkbox-default", false, true, false},
                        Case{"radiobox-skin", true, true, true}, Case{"checkbox-framed-skin", true, false, false},
                        Case{"checkbox-framed-default", false, false, false}}) {
    SCOPED_TRACE(c.Name);
    TskSkinCheckRadioBox* box = MakeBox(c.Skinned ? StoredSkin() : nullptr, {20, 20, 150, 44}, c.Radio);
    box->SetFlat(c.Flat);
    box->SetCanFocused(true);
    TskSkinCheckRadioBox* focusHolder = MakeBox(nullptr, {20, 200, 100, 220});
    focusHolder->SetCanFocused(true);
    ShowForm();
    focusHolder->SetFocus();
    MoveTo(At(box, 300, 200));
    const std::string base = std::string("controls/golden/") + c.Name;
    EXPECT_TRUE(MatchesGolden(Snapshot(box), base + "-normal.png"));
    MoveTo(Centre(box));
    EXPECT_TRUE(MatchesGolden(Snapshot(box), base + "-hot.png"));
    MoveTo(At(box, 300, 200));
    box->SetChecked(true);
    EXPECT_TRUE(MatchesGolden(Snapshot(box), base + "-checked.png"));
    box->SetFocus();
    App->ProcessMessages();
    EXPECT_TRUE(MatchesGolden(Snapshot(box), base + "-focused.png"));
    focusHolder->SetFocus();
    box->SetEnabled(false);
    App->ProcessMessages();
    EXPECT_TRUE(MatchesGolden(Snapshot(box), base + "-disabled.png"));
    box->Free();
    focusHolder->Free();
  }
}

}  // namespace
}  // namespace skin::testing
