// The frame's geometry with the stored skin, against values worked out by
// hand from its [FORMINFO]: picture 152 x 125, client rectangle
// 5,29,147,120, corner points LT 29,29 RT 53,29 LB 6,118 RB 146,119, mask
// area 3,4,149,122, border width 3.

#include "SkinFormTestSupport.h"
#include "gfx/BmpCodec.h"
#include "ui/windowing/MessageRecords.h"

namespace skin::testing {
namespace {

using gfx::Point;
using gfx::Rect;

TEST_F(SkinFormTest, TheClientAreaStartsAtTheSkinsClientRectangle) {
  MakeForm({100, 100, 452, 325});
  ASSERT_TRUE(Frame->SkinReady());
  Point origin;
  ui::ClientToScreen(Window(), origin);
  EXPECT_EQ(origin, (Point{105, 129}));
  Rect client;
  ui::GetClientRect(Window(), client);
  // 352 - 5 - (152 - 147) and 225 - 29 - (125 - 120).
  EXPECT_EQ(client, (Rect{0, 0, 342, 191}));
  EXPECT_EQ(Frame->NewClRect(), (Rect{5, 29, 347, 220}));
  // The form's own frame is gone for good: no caption style on the window.
  EXPECT_EQ(ui::GetWindowLong(Window(), ui::GWL_STYLE) & ui::WS_CAPTION, 0);
  Form->SetBorderStyle(ui::bsSingle);  // makes the window again
  Run();
  EXPECT_EQ(ui::GetWindowLong(Window(), ui::GWL_STYLE) & ui::WS_CAPTION, 0);
  ui::ClientToScreen(Window(), origin = Point{});
  EXPECT_EQ(origin, (Point{105, 129}));
}

TEST_F(SkinFormTest, AWindowTheSizeOfThePictureShowsThePicture) {
  // No caption text: every frame pixel is then the picture's own.
  MakeForm({100, 100, 252, 225}, &StoredSkinBytes(), "");
  ASSERT_EQ(Bounds().Width(), 152);
  ASSERT_EQ(Bounds().Height(), 125);
  const gfx::Bitmap picture = gfx::LoadBmpFile(StoredSkinDir + "/main.bmp");
  const gfx::Bitmap& shown = Headless->Pixels(System->NativeWindowOf(Window()));
  const gfx::Region region = *ui::GetWindowRgn(Window());
  int compared = 0;
  for (int y = 0; y < 125; ++y) {
    for (int x = 0; x < 152; ++x) {
      if (Rect{5, 29, 147, 120}.Contains(Point{x, y}) || !region.Contains(Point{x, y})) continue;
      ASSERT_EQ(shown.GetPixel(x, y) & 0xFFFFFF, picture.GetPixel(x, y) & 0xFFFFFF) << x << "," << y;
      ++compared;
    }
  }
  EXPECT_GT(compared, 3000);
}

TEST_F(SkinFormTest, AnchorSkinRectKeepsCornersAndStretchesSpans) {
  MakeForm({100, 100, 452, 325});  // 352 x 225: dx = 200, dy = 100
  struct Case {
    Rect In, Out;
  } cases[] = {
      {{2, 2, 10, 10}, {2, 2, 10, 10}},                  // left-top zone
      {{127, 4, 148, 25}, {327, 4, 348, 25}},            // right-top zone
      {{1, 119, 5, 124}, {1, 219, 5, 224}},              // left-bottom zone
      {{147, 120, 150, 124}, {347, 220, 350, 224}},      // right-bottom zone
      {{5, 5, 148, 121}, {5, 5, 348, 221}},              // left-top to right-bottom
      {{27, 6, 56, 24}, {27, 6, 256, 24}},               // left-top to right-top
      {{2, 119, 148, 124}, {2, 219, 348, 224}},          // left-bottom to right-bottom
      {{1, 5, 4, 120}, {1, 5, 4, 220}},                  // left-top to left-bottom
      {{147, 5, 150, 121}, {347, 5, 350, 221}},          // right-top to right-bottom
      {{60, 60, 70, 70}, {60, 60, 70, 70}},              // nowhere
      // A zone's right and bottom edges are outside it.
      {{20, 20, 29, 29}, {20, 20, 29, 29}},
  };
  for (const Case& c : cases) EXPECT_EQ(Frame->AnchorSkinRect(c.In), c.Out) << c.In.Left << "," << c.In.Top;
  EXPECT_EQ(ObjectRect("closebutton"), (Rect{327, 4, 348, 25}));
  EXPECT_EQ(ObjectRect("caption1"), (Rect{27, 6, 256, 24}));
  EXPECT_EQ(ObjectRect("sysmenubutton"), (Rect{6, 7, 23, 23}));
}

TEST_F(SkinFormTest, TheRegionHoldsTheStretchedMaskAreaWhateverTheMaskSays) {
  // A mask with no black pixel at all: only the mask area is inside.
  SkinCopy copy;
  gfx::Bitmap white(152, 125);
  white.Fill(gfx::MakePixel(255, 255, 255));
  white.SetSourceBits(1);
  gfx::SaveBmpFile(copy.File("mask.bmp"), white);
  const Bytes skin = copy.Pack();
  for (const Bytes* which : {&StoredSkinBytes(), &skin}) {
    MakeForm({100, 100, 452, 325}, which);
    const Rect area{3, 4, 349, 222};
    EXPECT_EQ(Frame->NewMaskRectArea(), area);
    const auto region = ui::GetWindowRgn(Window());
    ASSERT_TRUE(region.has_value());
    EXPECT_TRUE(gfx::Region(area).Subtract(*region).IsEmpty());
    if (which == &skin) {
      EXPECT_EQ(*region, gfx::Region(area));
    } else {
      // The stored mask cuts the corners.
      EXPECT_FALSE(region->Contains(Point{0, 0}));
    }
  }
}

TEST_F(SkinFormTest, SnappingNeedsLessThanTheMagneticDistance) {
  MakeForm({100, 100, 452, 325});
  Frame->Magnetic = true;
  Frame->MagneticSize = 5;
  auto moving = [&](Rect proposed) {
    ui::SendMessage(Window(), ui::WM_MOVING, ui::WMSZ_LEFT, ui::ToLParam(&proposed));
    return proposed;
  };
  // The work area is 0,0,1024,740.
  EXPECT_EQ(moving({4, 300, 356, 525}), (Rect{0, 300, 352, 525}));
  EXPECT_EQ(moving({5, 300, 357, 525}), (Rect{5, 300, 357, 525}));
  EXPECT_EQ(moving({-4, 300, 348, 525}), (Rect{0, 300, 352, 525}));
  EXPECT_EQ(moving({600, 300 + 740 - 225 - 300 - 4, 952, 740 - 4}), (Rect{600, 515, 952, 740}));
  EXPECT_EQ(moving({676, 5, 1028, 230}), (Rect{672, 5, 1024, 230}));
  // A maximised window cannot be moved.
  Frame->SetSkinWindowState(wsMaximized);
  Run();
  EXPECT_EQ(moving({10, 10, 100, 100}), Bounds());
}

TEST_F(SkinFormTest, SizeLimitsComeFromThePictureAndTheWorkArea) {
  MakeForm({100, 100, 452, 325});
  ui::MinMaxInfo info;
  ui::SendMessage(Window(), ui::WM_GETMINMAXINFO, 0, ui::ToLParam(&info));
  // The frame without its client part: 125 - 91.
  EXPECT_EQ(info.MinTrackSize, (Point{152, 34}));
  EXPECT_EQ(info.MaxTrackSize, (Point{1024, 740}));
  Frame->MinWidth = 300;
  Frame->MinHeight = 200;
  Frame->MaxWidth = 800;
  ui::SendMessage(Window(), ui::WM_GETMINMAXINFO, 0, ui::ToLParam(&info));
  EXPECT_EQ(info.MinTrackSize, (Point{300, 200}));
  EXPECT_EQ(info.MaxTrackSize, (Point{800, 740}));
}

class FullScreenMonitorTest : public SkinFormTest {
 protected:
  platform::headless::HeadlessOptions Options() const override {
    platform::headless::HeadlessOptions options;
    options.WorkArea = Rect{0, 0, 1024, 768};
    return options;
  }
};

TEST_F(FullScreenMonitorTest, MaximisingWithoutATaskBarLeavesOnePixelOnEverySide) {
  MakeForm({100, 100, 452, 325});
  Frame->SetSkinWindowState(wsMaximized);
  Run();
  EXPECT_EQ(Bounds(), (Rect{1, 1, 1023, 767}));
  Frame->SetSkinWindowState(wsNormal);
  Run();
  EXPECT_EQ(Bounds(), (Rect{100, 100, 452, 325}));
}

TEST_F(SkinFormTest, MaximisingFillsTheWorkAreaAndRestores) {
  MakeForm({100, 100, 452, 325});
  Frame->SetSkinWindowState(wsMaximized);
  Run();
  EXPECT_EQ(Bounds(), (Rect{0, 0, 1024, 740}));
  EXPECT_FALSE(ui::IsZoomed(Window()));  // a normal window to the system
  EXPECT_EQ(HitTest(1023, 739), HTOBJECT);  // no sizing borders
  Frame->SetSkinWindowState(wsNormal);
  Run();
  EXPECT_EQ(Bounds(), (Rect{100, 100, 452, 325}));
}

TEST_F(SkinFormTest, ARolledUpWindowKeepsOnlyItsFrameAndComesBack) {
  MakeForm({100, 100, 452, 325});
  EXPECT_EQ(HitTest(200, 224), ui::HTBOTTOM);
  Frame->RollUp(true);
  Run();
  EXPECT_EQ(Bounds(), (Rect{100, 100, 452, 134}));
  EXPECT_NE(HitTest(200, 33), ui::HTBOTTOM);
  EXPECT_NE(HitTest(351, 20), ui::HTRIGHT);
  Frame->RollUp(false);
  Run();
  EXPECT_EQ(Bounds(), (Rect{100, 100, 452, 325}));
}

TEST_F(SkinFormTest, HitTestingFollowsTheShapeAndTheHitTestPoints) {
  MakeForm({100, 100, 452, 325});
  EXPECT_EQ(HitTest(200, 150), ui::HTCLIENT);
  EXPECT_EQ(HitTest(200, 15), ui::HTCAPTION);     // on caption1
  EXPECT_EQ(HitTest(337, 14), HTOBJECT);          // on the close button
  EXPECT_EQ(HitTest(200, 1), ui::HTTOP);
  EXPECT_EQ(HitTest(1, 200), ui::HTLEFT);
  EXPECT_EQ(HitTest(351, 200), ui::HTRIGHT);
  EXPECT_EQ(HitTest(200, 224), ui::HTBOTTOM);
  EXPECT_EQ(HitTest(350, 222), ui::HTBOTTOMRIGHT);
  EXPECT_EQ(HitTest(2, 5), ui::HTTOPLEFT);
  // Deep in the frame, away from the shape's edge.
  EXPECT_EQ(HitTest(100, 26), HTOBJECT);
  Frame->Sizeable = false;
  EXPECT_EQ(HitTest(200, 224), HTOBJECT);
}

}  // namespace
}  // namespace skin::testing
