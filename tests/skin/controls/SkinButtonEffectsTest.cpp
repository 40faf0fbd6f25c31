// A skin that asks for effects: the button cross-fades to its active look
// in steps of 0.2 every 20 ms and back, and plays its frame strip forwards
// on entering; without the skin's effects it jumps and plays nothing.

#include "SkinControlsTestSupport.h"
#include "skin/controls/SkinCtrls.h"

namespace skin::testing {
namespace {

const std::string Controls = "count=1\r\n0=fancy:button\r\n";
const std::string Sections =
    "[fancy]\r\npictureindex=0\r\nskinrect=0,0,20,10\r\nlefttoppoint=4,4\r\nrighttoppoint=16,4\r\n"
    "clientrect=2,2,18,8\r\nactiveskinrect=20,0,40,10\r\nmorphing=1\r\nmorphkind=mkgradient\r\n"
    "animateskinrect=0,10,40,20\r\nframecount=4\r\nanimateinterval=25\r\n\r\n";

class SkinButtonEffectsTest : public SkinControlTest {};

TEST_F(SkinButtonEffectsTest, CrossFadeAndFrameAnimationFollowThePointer) {
  gfx::Bitmap picture(40, 30);
  picture.Fill(0x808080);
  TskSkinData* skin = MakeSkin(Controls, Sections, picture);
  auto* button = Add<TskSkinButton>(Form, {20, 20, 120, 30});
  button->SetSkinDataName("fancy");
  button->SetSkinData(skin);
  auto* other = Add<TskSkinButton>(Form, {20, 100, 120, 125});
  ShowForm();
  other->SetFocus();
  App->ProcessMessages();
  MoveTo(Centre(button));
  EXPECT_EQ(button->CurrentFrame(), 1);
  Wait(20);
  EXPECT_NEAR(button->MorphKf(), 0.2, 1e-9);
  for (int i = 0; i < 6; ++i) Wait(20);
  EXPECT_EQ(button->MorphKf(), 1.0);
  Wait(200);
  EXPECT_EQ(button->CurrentFrame(), 0);  // played to its end
  MoveTo(At(button, 300, 200));
  for (int i = 0; i < 6; ++i) Wait(20);
  EXPECT_EQ(button->MorphKf(), 0.0);

  skin->SetEnableSkinEffects(false);
  MoveTo(Centre(button));
  Wait(100);
  EXPECT_EQ(button->CurrentFrame(), 0);
  EXPECT_EQ(button->MorphKf(), 1.0);  // no steps: the look jumps
}

}  // namespace
}  // namespace skin::testing
