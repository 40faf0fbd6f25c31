// Skins with other [FORMINFO] values than the stored one: the frame takes
// every number from the skin.

#include "SkinFormTestSupport.h"
#include "ui/windowing/MessageRecords.h"

namespace skin::testing {
namespace {

using gfx::Point;
using gfx::Rect;

TEST_F(SkinFormTest, ACaptionAndButtonsRectangleLayOutTheCaptionButtons) {
  SkinCopy copy;
  copy.ReplaceLine("iconrect=0,0,0,0", "iconrect=0,0,0,0\r\nbuttonsrect=80,4,150,25\r\ncaptionrect=5,5,60,25\r\nbuttonsoffset=2");
  const Bytes skin = copy.Pack();
  MakeForm({100, 100, 452, 325}, &skin);  // 352 x 225: dx = 200
  ASSERT_EQ(SkinData->FormInfo().ButtonsOffset, 2);
  EXPECT_EQ(Frame->NewButtonsRect(), (Rect{280, 4, 350, 25}));
  EXPECT_EQ(Frame->NewCaptionRect(), (Rect{5, 5, 260, 25}));
  // From the row's right end leftwards: close, maximise, minimise, roll-up,
  // each 21 x 21 and 2 pixels apart, centred in the row's 21 pixels.
  EXPECT_EQ(ObjectRect("closebutton"), (Rect{329, 4, 350, 25}));
  EXPECT_EQ(ObjectRect("maximizebutton"), (Rect{306, 4, 327, 25}));
  EXPECT_EQ(ObjectRect("minimizebutton"), (Rect{283, 4, 304, 25}));
  EXPECT_EQ(ObjectRect("rollupbutton"), (Rect{260, 4, 281, 25}));
  // The system-menu button (17 x 16) at the caption's start, centred in it.
  EXPECT_EQ(ObjectRect("sysmenubutton"), (Rect{5, 7, 22, 23}));
  // The caption reaches the row.
  EXPECT_EQ(ObjectRect("caption1").Right, 260);
  Hover(Centre(ObjectRect("maximizebutton")));
  EXPECT_TRUE(Hot("maximizebutton"));
}

TEST_F(SkinFormTest, ASkinWithoutAMaskGivesARectangularWindow) {
  SkinCopy copy;
  copy.ReplaceLine("mask=mask.bmp", "mask=");
  const Bytes skin = copy.Pack();
  MakeForm({100, 100, 452, 325}, &skin);
  ASSERT_TRUE(Frame->SkinReady());
  EXPECT_FALSE(ui::GetWindowRgn(Window()).has_value());
  // Near the window's own edge, within the border width, it sizes.
  EXPECT_EQ(HitTest(200, 223), ui::HTBOTTOM);
  EXPECT_EQ(HitTest(0, 200), ui::HTLEFT);
  EXPECT_EQ(HitTest(200, 150), ui::HTCLIENT);
}

TEST_F(SkinFormTest, OtherCornerPointsAndClientRectangle) {
  SkinCopy copy;
  copy.ReplaceLine("clientrect=5,29,147,120", "clientrect=8,33,140,110");
  const Bytes skin = copy.Pack();
  MakeForm({100, 100, 452, 325}, &skin);
  Point origin;
  ui::ClientToScreen(Window(), origin);
  EXPECT_EQ(origin, (Point{108, 133}));
  Rect client;
  ui::GetClientRect(Window(), client);
  // 352 - 8 - (152 - 140), 225 - 33 - (125 - 110).
  EXPECT_EQ(client, (Rect{0, 0, 332, 177}));
  ui::MinMaxInfo info;
  ui::SendMessage(Window(), ui::WM_GETMINMAXINFO, 0, ui::ToLParam(&info));
  EXPECT_EQ(info.MinTrackSize, (Point{152, 125 - 77}));
}

}  // namespace
}  // namespace skin::testing

namespace skin::testing {
namespace {

TEST_F(SkinFormTest, AMorphingButtonStepsOnTheMorphTimer) {
  SkinCopy copy;
  copy.ReplaceLine("morphing=0\r\nmorphkind=mkdefault\r\ndownrect=21,0,42,21",
                   "morphing=1\r\nmorphkind=mkdefault\r\ndownrect=21,0,42,21");
  const Bytes skin = copy.Pack();
  MakeForm({100, 100, 452, 325}, &skin);
  TskActiveSkinObject& close = Object("closebutton");
  ASSERT_TRUE(close.MorphApplies());
  Hover(Centre(close.ObjectRect));
  ASSERT_TRUE(close.Active);
  // A step of 0.2 per 20 ms tick, up to the active look and back.
  const double start = close.MorphKf;
  Tick(25);
  EXPECT_NEAR(close.MorphKf, start + 0.2, 1e-9);
  for (int i = 0; i < 6; ++i) Tick(25);
  EXPECT_DOUBLE_EQ(close.MorphKf, 1.0);
  Hover(At(200, 150));
  EXPECT_FALSE(close.Active);
  for (int i = 0; i < 6; ++i) Tick(25);
  EXPECT_DOUBLE_EQ(close.MorphKf, 0.0);
}

}  // namespace
}  // namespace skin::testing
