#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "core/Exception.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui::testing {
namespace {

using platform::MouseButton;

// A horizontal bar 200 x 17 at (10, 10): arrows of 17 pixels, the track
// from 17 to 183, a thumb of 17 pixels without a page.
class ScrollBarTest : public FormTest {
 protected:
  void SetUp() override {
    Form = MakeForm(300, 200);
    Bar = Add<TScrollBar>(Form, {10, 10, 210, 27});
    Bar->OnChange = [this](core::TComponent*) { ++Changes; };
    Bar->OnScroll = [this](core::TComponent*, TScrollCode code, int& position) {
      Codes.push_back(code);
      if (Veto) position = Bar->Position();
    };
    Form->Show();
    App->ProcessMessages();
  }
  gfx::Point At(int x, int y = 8) const { return Bar->ClientToScreen(gfx::Point{x, y}); }
  void Press(gfx::Point point) {
    Headless->MoveMouse(point);
    Headless->PressMouse(MouseButton::Left);
    App->ProcessMessages();
  }
  void Release() {
    Headless->ReleaseMouse(MouseButton::Left);
    App->ProcessMessages();
  }
  void Wait(int milliseconds) {
    Headless->AdvanceClock(std::uint64_t(milliseconds));
    App->ProcessMessages();
  }

  TForm* Form = nullptr;
  TScrollBar* Bar = nullptr;
  int Changes = 0;
  std::vector<TScrollCode> Codes;
  bool Veto = false;
};

TEST_F(ScrollBarTest, GeometryOfArrowsTrackAndThumb) {
  EXPECT_EQ(Bar->DecreaseArrowRect(), (gfx::Rect{0, 0, 17, 17}));
  EXPECT_EQ(Bar->IncreaseArrowRect(), (gfx::Rect{183, 0, 200, 17}));
  EXPECT_EQ(Bar->TrackRect(), (gfx::Rect{17, 0, 183, 17}));
  EXPECT_EQ(Bar->ThumbRect(), (gfx::Rect{17, 0, 34, 17}));
  Bar->SetPosition(100);
  EXPECT_EQ(Bar->ThumbRect(), (gfx::Rect{166, 0, 183, 17}));
  // A page makes the thumb its share of the track.
  Bar->SetParams(0, 0, 99);
  Bar->SetPageSize(50);
  EXPECT_EQ(Bar->ThumbRect().Width(), 83);
  // No range, no thumb.
  Bar->SetParams(0, 0, 0);
  EXPECT_TRUE(Bar->ThumbRect().IsEmpty());
}

TEST_F(ScrollBarTest, AnArrowStepsAtOnceThenRepeatsAfterAPause) {
  Press(At(191));
  EXPECT_EQ(Bar->Position(), 1);
  Wait(499);
  EXPECT_EQ(Bar->Position(), 1);
  Wait(1);
  EXPECT_EQ(Bar->Position(), 2);
  Wait(50);
  Wait(50);
  EXPECT_EQ(Bar->Position(), 4);
  // Off the arrow the repeat pauses; back on it, it goes on.
  Headless->MoveMouse(At(100));
  App->ProcessMessages();
  Wait(50);
  Wait(50);
  EXPECT_EQ(Bar->Position(), 4);
  Headless->MoveMouse(At(191));
  App->ProcessMessages();
  Wait(50);
  EXPECT_EQ(Bar->Position(), 5);
  Release();
  Wait(500);
  EXPECT_EQ(Bar->Position(), 5);
  EXPECT_EQ(Codes.back(), scEndScroll);
  // The decreasing arrow steps back.
  Press(At(8));
  Release();
  EXPECT_EQ(Bar->Position(), 4);
}

TEST_F(ScrollBarTest, APageClickRepeatsUntilTheThumbReachesThePointer) {
  Bar->SetLargeChange(10);
  Press(At(150));
  EXPECT_EQ(Bar->Position(), 10);
  Wait(500);
  EXPECT_EQ(Bar->Position(), 20);
  for (int i = 0; i < 10; ++i) Wait(50);
  // Position 80 puts the thumb under x 150: the repeat stopped there.
  EXPECT_EQ(Bar->Position(), 80);
  EXPECT_TRUE(Bar->ThumbRect().Contains(gfx::Point{150, 8}));
  Release();
  // The page before the thumb.
  Press(At(20));
  Release();
  EXPECT_EQ(Bar->Position(), 70);
  EXPECT_EQ(Codes.front(), scPageDown);
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksAndEndsWithThePosition) {
  Press(At(25));
  Headless->MoveMouse(At(99));
  App->ProcessMessages();
  // 74 of 149 free pixels: half the range.
  EXPECT_EQ(Bar->Position(), 50);
  Headless->MoveMouse(At(400));
  App->ProcessMessages();
  EXPECT_EQ(Bar->Position(), 100);
  Release();
  ASSERT_GE(Codes.size(), 3u);
  EXPECT_EQ(Codes[0], scTrack);
  EXPECT_EQ(Codes[Codes.size() - 2], scPosition);
  EXPECT_EQ(Codes.back(), scEndScroll);
}

TEST_F(ScrollBarTest, PositionIsClampedIntoTheRange) {
  Bar->SetParams(0, 0, 99);
  Bar->SetPageSize(10);
  Bar->SetPosition(95);
  EXPECT_EQ(Bar->Position(), 90);
  Bar->SetPosition(-5);
  EXPECT_EQ(Bar->Position(), 0);
  Changes = 0;
  Bar->SetPosition(0);
  EXPECT_EQ(Changes, 0);
  // A page larger than the range is cut to it.
  Bar->SetPageSize(500);
  EXPECT_EQ(Bar->PageSize(), 100);
  EXPECT_THROW(Bar->SetParams(0, 10, 5), core::EInvalidOperation);
  // Narrowing the range pulls the position in and tells OnChange.
  Bar->SetPageSize(0);
  Bar->SetPosition(80);
  Changes = 0;
  Bar->SetMax(50);
  EXPECT_EQ(Bar->Position(), 50);
  EXPECT_EQ(Changes, 1);
}

TEST_F(ScrollBarTest, OnScrollMayKeepThePosition) {
  Veto = true;
  Press(At(191));
  Release();
  EXPECT_EQ(Bar->Position(), 0);
  EXPECT_EQ(Changes, 0);
}

TEST_F(ScrollBarTest, ArrowKeysHomeAndEndWhenFocused) {
  Bar->SetFocus();
  App->ProcessMessages();
  Stroke(platform::VK_RIGHT);
  Stroke(platform::VK_DOWN);
  EXPECT_EQ(Bar->Position(), 2);
  Stroke(platform::VK_END);
  EXPECT_EQ(Bar->Position(), 100);
  Stroke(platform::VK_LEFT);
  EXPECT_EQ(Bar->Position(), 99);
  Stroke(platform::VK_HOME);
  EXPECT_EQ(Bar->Position(), 0);
}

TEST_F(ScrollBarTest, AVerticalBarRunsTopToBottom) {
  Bar->SetKind(sbVertical);
  // The bar turned round.
  EXPECT_EQ(Bar->Width(), 17);
  EXPECT_EQ(Bar->Height(), 200);
  EXPECT_EQ(Bar->IncreaseArrowRect(), (gfx::Rect{0, 183, 17, 200}));
  Bar->SetHeight(150);
  App->ProcessMessages();
  Press(Bar->ClientToScreen(gfx::Point{8, 141}));
  Release();
  EXPECT_EQ(Bar->Position(), 1);
}

TEST_F(ScrollBarTest, AnOnChangeHandlerMayFreeTheBarDuringARepeat) {
  Bar->OnChange = [](core::TComponent* sender) { sender->Free(); };
  Press(At(191));
  Wait(500);
  Release();
  EXPECT_EQ(Form->ControlCount(), 0);
}

}  // namespace
}  // namespace ui::testing
