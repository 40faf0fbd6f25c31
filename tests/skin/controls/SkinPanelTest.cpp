// Group boxes and panels: where the aligned children go with and without
// the skin, the checked and roll-up modes, and their looks.

#include "SkinControlsTestSupport.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/data/SkinUtils.h"

namespace skin::testing {
namespace {

class SkinPanelTest : public SkinControlTest {
 protected:
  TskSkinGroupBox* MakeBox(TskSkinData* skin) {
    auto* box = AddSkinned<TskSkinGroupBox>(Form, {10, 10, 210, 130}, skin);
    box->SetCaption("MacLog");
    Child = Add<ui::testing::TProbeControl>(box, {0, 0, 10, 10});
    Child->SetAlign(ui::alClient);
    return box;
  }
  ui::testing::TProbeControl* Child = nullptr;
};

TEST_F(SkinPanelTest, AlignedChildSitsInsideTheFrame) {
  TskSkinGroupBox* plain = MakeBox(nullptr);
  EXPECT_EQ(Child->BoundsRect(), (gfx::Rect{1, 1 + 22, 199, 119}));
  plain->SetDefaultCaptionHeight(30);
  EXPECT_EQ(Child->BoundsRect(), (gfx::Rect{1, 1 + 30, 199, 119}));
  plain->SetBorderStyle(bvNone);
  EXPECT_EQ(Child->BoundsRect(), (gfx::Rect{0, 30, 200, 120}));

  TskSkinData* skin = StoredSkin();
  MakeBox(skin);
  const auto& section =
      static_cast<const TskDataSkinPanelControl&>(*skin->SkinControls()[std::size_t(skin->FindControlIndex("groupbox"))]);
  const int dx = 200 - RectWidth(section.SkinRect);
  const int dy = 120 - RectHeight(section.SkinRect);
  const gfx::Rect& client = section.ClientRect;
  EXPECT_EQ(Child->BoundsRect(), (gfx::Rect{client.Left, client.Top, client.Right + dx, client.Bottom + dy}));
}

TEST_F(SkinPanelTest, CheckedEnablesTheChildrenAndRollUpNeedsItsMode) {
  TskSkinGroupBox* box = MakeBox(nullptr);
  int checkedEvents = 0;
  box->OnChecked = [&](core::TComponent*) { ++checkedEvents; };
  box->SetChecked(false);
  EXPECT_EQ(checkedEvents, 1);  // raised even without CheckedMode
  EXPECT_TRUE(Child->Enabled());
  box->SetCheckedMode(true);
  box->SetChecked(false);
  EXPECT_FALSE(Child->Enabled());
  ShowForm();
  // A click in the caption band toggles it.
  Headless->Click(At(box, 100, 10));
  App->ProcessMessages();
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(Child->Enabled());

  box->SetRollUpState(true);
  EXPECT_FALSE(box->RollUpState());
  box->SetRollUpMode(true);
  box->SetRollUpState(true);
  EXPECT_EQ(box->Height(), 23);
  EXPECT_EQ(box->RealHeight(), 120);
  EXPECT_FALSE(Child->Visible());
  box->SetRollUpState(false);
  EXPECT_EQ(box->Height(), 120);
  EXPECT_EQ(box->RealHeight(), -1);
  EXPECT_TRUE(Child->Visible());
}

TEST_F(SkinPanelTest, LooksWithAndWithoutTheSkin) {
  for (bool skinned : {true, false}) {
    const std::string kind = skinned ? "skin" : "default";
    TskSkinGroupBox* box = MakeBox(skinned ? StoredSkin() : nullptr);
    Child->Free();
    box->SetBounds(10, 10, 160, 90);
    ShowForm();
    EXPECT_TRUE(MatchesGolden(Snapshot(box), "controls/golden/groupbox-" + kind + ".png"));
    box->SetCheckedMode(true);
    box->SetRollUpMode(true);
    box->SetChecked(true);
    EXPECT_TRUE(MatchesGolden(Snapshot(box), "controls/golden/groupbox-" + kind + "-checked.png"));
    box->Free();
  }
}

}  // namespace
}  // namespace skin::testing
