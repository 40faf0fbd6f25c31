// The skinned button driven like a user drives it: clicks need a press and
// a release over it, a held repeat button repeats, groups keep one button
// down, a handler may free the button, and the size and looks follow the
// skin's section.

#include "SkinControlsTestSupport.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/data/SkinUtils.h"

namespace skin::testing {
namespace {

using platform::VK_SPACE;

class SkinButtonTest : public SkinControlTest {
 protected:
  TskSkinButton* MakeButton(TskSkinData* skin, gfx::Rect bounds = {20, 20, 120, 45}) {
    auto* button = AddSkinned<TskSkinButton>(Form, bounds, skin);
    button->SetName("Button" + std::to_string(++Made));
    button->SetCaption("Scan");
    button->OnClick = [this](core::TComponent*) { ++Clicks; };
    return button;
  }
  int SectionHeight(TskSkinData* skin, const std::string& name) {
    return RectHeight(skin->SkinControls()[std::size_t(skin->FindControlIndex(name))]->SkinRect);
  }
  int Clicks = 0;
  int Made = 0;
};

TEST_F(SkinButtonTest, ClickNeedsPressAndReleaseOverTheButton) {
  TskSkinButton* button = MakeButton(StoredSkin());
  ShowForm();
  Press(button);
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(Clicks, 0);
  Release();
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(button->Down());

  // Out while held: the look goes up; back in: down again; released
  // outside: no click, up.
  Press(button);
  MoveTo(At(button, -30, -30));
  EXPECT_FALSE(button->MouseIn());
  MoveTo(Centre(button));
  EXPECT_TRUE(button->MouseIn());
  MoveTo(At(button, -30, -30));
  Release();
  EXPECT_EQ(Clicks, 1);
  EXPECT_FALSE(button->Down());
}

TEST_F(SkinButtonTest, HeldRepeatButtonClicksEveryIntervalWhileThePointerIsOnIt) {
  TskSkinButton* button = MakeButton(StoredSkin());
  button->SetRepeatMode(true);
  button->SetRepeatInterval(100);
  ShowForm();
  Press(button);
  EXPECT_EQ(Clicks, 0);  // the first click comes with the first tick
  Wait(100);
  EXPECT_EQ(Clicks, 1);
  Wait(100);
  EXPECT_EQ(Clicks, 2);
  MoveTo(At(button, -30, -30));
  Wait(300);
  EXPECT_EQ(Clicks, 2);
  MoveTo(Centre(button));
  Wait(100);
  EXPECT_EQ(Clicks, 3);
  Release();
  EXPECT_EQ(Clicks, 4);
  Wait(300);
  EXPECT_EQ(Clicks, 4);
}

TEST_F(SkinButtonTest, HandlerThatFreesTheButtonLeavesNothingTouchingIt) {
  for (bool repeat : {false, true}) {
    SCOPED_TRACE(repeat ? "repeat tick" : "release");
    TskSkinButton* button = MakeButton(StoredSkin());
    button->SetRepeatMode(repeat);
    button->OnClick = [&](core::TComponent*) {
      ++Clicks;
      button->Free();
    };
    ShowForm();
    Press(button);
    if (repeat) Wait(100);
    Release();
    Wait(500);
    EXPECT_EQ(Clicks, 1);
    Clicks = 0;
  }
}

TEST_F(SkinButtonTest, GroupKeepsOneButtonDownAndAllowAllUpReleases) {
  TskSkinButton* first = MakeButton(StoredSkin(), {20, 20, 120, 45});
  TskSkinButton* second = MakeButton(StoredSkin(), {20, 60, 120, 85});
  first->SetGroupIndex(1);
  second->SetGroupIndex(1);
  EXPECT_FALSE(first->CanFocused());
  ShowForm();
  ClickOn(first);
  ClickOn(first);
  EXPECT_TRUE(first->Down());
  EXPECT_EQ(Clicks, 1);  // clicked on the first press only
  ClickOn(second);
  EXPECT_TRUE(second->Down());
  EXPECT_FALSE(first->Down());
  EXPECT_EQ(Clicks, 2);

  second->SetAllowAllUp(true);
  ClickOn(second);
  EXPECT_FALSE(second->Down());
  EXPECT_EQ(Clicks, 3);
}

TEST_F(SkinButtonTest, SpaceClicksOnReleaseEscapeClicksTheCancelButton) {
  TskSkinButton* button = MakeButton(StoredSkin());
  TskSkinButton* cancel = MakeButton(StoredSkin(), {20, 60, 120, 85});
  cancel->SetCancel(true);
  ShowForm();
  button->SetFocus();
  App->ProcessMessages();
  Headless->PressKey(VK_SPACE);
  App->ProcessMessages();
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(Clicks, 0);
  Headless->ReleaseKey(VK_SPACE);
  App->ProcessMessages();
  EXPECT_EQ(Clicks, 1);
  Stroke(platform::VK_RETURN);
  EXPECT_EQ(Clicks, 2);
  Stroke(platform::VK_ESCAPE);
  EXPECT_EQ(Clicks, 3);
}

TEST_F(SkinButtonTest, SizeFollowsTheSectionAndAMissingSectionKeepsTheDefaultLook) {
  TskSkinData* skin = StoredSkin();
  TskSkinButton* button = MakeButton(skin);
  const int height = SectionHeight(skin, "button");
  EXPECT_EQ(button->Height(), height);
  EXPECT_EQ(button->Width(), 100);  // three parts along x: the width is free

  TskSkinButton* missing = MakeButton(nullptr, {20, 60, 120, 85});
  missing->SetSkinDataName("nosuchbutton");
  missing->SetSkinData(skin);
  EXPECT_EQ(missing->SkinIndex(), -1);
  EXPECT_EQ(missing->Height(), 25);
  ShowForm();
  ClickOn(missing);
  EXPECT_EQ(Clicks, 1);

  // A skin change re-reads the section: the name now exists.
  missing->SetSkinDataName("button");
  RelayChange(skin);
  EXPECT_EQ(missing->SkinIndex(), skin->FindControlIndex("button"));
  EXPECT_EQ(missing->Height(), height);
  // Without UseSkinSize any size stays.
  missing->SetUseSkinSize(false);
  missing->SetBounds(20, 60, 100, 40);
  EXPECT_EQ(missing->Height(), 40);
}

TEST_F(SkinButtonTest, LooksOfEachStateWithAndWithoutTheSkin) {
  for (bool skinned : {true, false}) {
    const std::string kind = skinned ? "skin" : "default";
    SCOPED_TRACE(kind);
    TskSkinButton* button = MakeButton(skinned ? StoredSkin() : nullptr);
    TskSkinButton* other = MakeButton(skinned ? StoredSkin() : nullptr, {20, 80, 120, 105});
    ShowForm();
    other->SetFocus();
    MoveTo(At(button, 200, 200));
    EXPECT_TRUE(MatchesGolden(Snapshot(button), "controls/golden/button-" + kind + "-normal.png"));
    MoveTo(Centre(button));
    EXPECT_TRUE(MatchesGolden(Snapshot(button), "controls/golden/button-" + kind + "-hot.png"));
    Headless->PressMouse(platform::MouseButton::Left);
    App->ProcessMessages();
    EXPECT_TRUE(MatchesGolden(Snapshot(button), "controls/golden/button-" + kind + "-pressed.png"));
    Release();
    MoveTo(At(button, 200, 200));
    EXPECT_TRUE(MatchesGolden(Snapshot(button), "controls/golden/button-" + kind + "-focused.png"));
    other->SetFocus();
    button->SetEnabled(false);
    App->ProcessMessages();
    EXPECT_TRUE(MatchesGolden(Snapshot(button), "controls/golden/button-" + kind + "-disabled.png"));
    button->Free();
    other->Free();
  }
}

}  // namespace
}  // namespace skin::testing
