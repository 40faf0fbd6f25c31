// The skinned scroll bar: its position arithmetic, the thumb following a
// drag, arrows and page areas repeating after 500 ms every 50 ms, keys and
// wheel, its width from the skin, and its looks.

#include "SkinControlsTestSupport.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/data/SkinUtils.h"

namespace skin::testing {
namespace {

using Part = TskSkinScrollBar::Part;

class SkinScrollBarTest : public SkinControlTest {
 protected:
  TskSkinScrollBar* MakeBar(TskSkinData* skin, gfx::Rect bounds = {20, 20, 37, 220}) {
    auto* bar = Add<TskSkinScrollBar>(Form, bounds);
    bar->SetName("macbar");
    bar->SetKind(ui::sbVertical);
    bar->SetSkinDataName("vscrollbar");
    bar->SetSkinData(skin);
    bar->OnChange = [this](core::TComponent*) { ++Changes; };
    return bar;
  }
  gfx::Point CentreOf(TskSkinScrollBar* bar, Part part) {
    const gfx::Rect r = bar->PartRect(part);
    return At(bar, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  int Changes = 0;
};

TEST_F(SkinScrollBarTest, PositionStaysInItsRangeAndOnlyRealChangesAreReported) {
  TskSkinScrollBar* bar = MakeBar(nullptr);
  bar->SetRange(0, 99, 10, 95);
  EXPECT_EQ(bar->Position(), 90);
  EXPECT_EQ(Changes, 0);  // SetRange never reports
  bar->SetPosition(90);
  EXPECT_EQ(Changes, 0);
  bar->SetPosition(-5);
  EXPECT_EQ(bar->Position(), 0);
  EXPECT_EQ(Changes, 1);
  bar->SetPageSize(200);  // does not fit: refused
  EXPECT_EQ(bar->PageSize(), 10);
  bar->SetRange(5, 5, 0, 5);
  bar->CalcRects();
  EXPECT_EQ(bar->PartRect(Part::Thumb).Top, bar->TrackArea().Top);
  // A page too small for its share keeps 16 pixels of thumb.
  bar->SetRange(0, 10000, 1, 0);
  bar->CalcRects();
  EXPECT_EQ(bar->PartRect(Part::Thumb).Height(), 16);
}

TEST_F(SkinScrollBarTest, ThumbFollowsADragAndTheDragEndsWithOnLastChange) {
  for (TskSkinData* skin : {StoredSkin(), static_cast<TskSkinData*>(nullptr)}) {
    SCOPED_TRACE(skin ? "skin" : "default");
    TskSkinScrollBar* bar = MakeBar(skin);
    int last = 0;
    bar->OnLastChange = [&](core::TComponent*) { ++last; };
    ShowForm();
    bar->CalcRects();
    const gfx::Point start = CentreOf(bar, Part::Thumb);
    MoveTo(start);
    Headless->PressMouse(platform::MouseButton::Left);
    App->ProcessMessages();
    EXPECT_TRUE(bar->ThumbDown());
    // Half the thumb's travel gives half the range.
    const int travel = bar->TrackArea().Height() - bar->PartRect(Part::Thumb).Height();
    MoveTo(gfx::Point{start.X, start.Y + travel / 2});
    EXPECT_NEAR(bar->Position(), 50, 1);
    EXPECT_EQ(bar->PartRect(Part::Thumb).Top - bar->TrackArea().Top, travel / 2);
    MoveTo(gfx::Point{start.X, start.Y + 1000});
    EXPECT_EQ(bar->Position(), 100);
    MoveTo(gfx::Point{start.X, start.Y - 1000});
    EXPECT_EQ(bar->Position(), 0);
    Release();
    EXPECT_EQ(last, 1);
    EXPECT_FALSE(bar->ThumbDown());
    bar->Free();
  }
}

TEST_F(SkinScrollBarTest, ArrowStepsAtOnceThenAfter500msEvery50msWhileThePointerIsOnIt) {
  TskSkinScrollBar* bar = MakeBar(StoredSkin());
  ShowForm();
  bar->CalcRects();
  MoveTo(CentreOf(bar, Part::IncreaseArrow));
  Headless->PressMouse(platform::MouseButton::Left);
  App->ProcessMessages();
  EXPECT_EQ(bar->Position(), 1);
  Wait(499);
  EXPECT_EQ(bar->Position(), 1);
  Wait(1);
  EXPECT_EQ(bar->Position(), 1);  // the pause ends here
  Wait(50);
  EXPECT_EQ(bar->Position(), 2);
  Wait(50);
  EXPECT_EQ(bar->Position(), 3);
  MoveTo(At(bar, 200, 100));  // off the arrow: paused
  Wait(200);
  EXPECT_EQ(bar->Position(), 3);
  MoveTo(CentreOf(bar, Part::IncreaseArrow));
  Wait(50);
  EXPECT_EQ(bar->Position(), 4);
  Release();
  Wait(200);
  EXPECT_EQ(bar->Position(), 4);
}

TEST_F(SkinScrollBarTest, PageClickRepeatsUntilTheThumbReachesThePointer) {
  TskSkinScrollBar* bar = MakeBar(StoredSkin());
  bar->SetLargeChange(10);
  int pages = 0;
  bar->OnPageDown = [&](core::TComponent*) { ++pages; };
  ShowForm();
  bar->CalcRects();
  const gfx::Rect track = bar->TrackArea();
  MoveTo(At(bar, (track.Left + track.Right) / 2, track.Bottom - 3));
  Headless->PressMouse(platform::MouseButton::Left);
  App->ProcessMessages();
  EXPECT_EQ(bar->Position(), 10);
  Wait(500);
  EXPECT_EQ(bar->Position(), 10);
  Wait(50);
  EXPECT_EQ(bar->Position(), 20);
  for (int i = 0; i < 20; ++i) Wait(50);
  EXPECT_EQ(bar->Position(), 100);
  EXPECT_EQ(pages, 10);
  Release();
}

TEST_F(SkinScrollBarTest, KeysAndWheelStepTheFocusedBar) {
  TskSkinScrollBar* bar = MakeBar(StoredSkin());
  bar->SetCanFocused(true);
  EXPECT_TRUE(bar->TabStop());
  ShowForm();
  bar->SetFocus();
  App->ProcessMessages();
  Stroke(platform::VK_DOWN);
  Stroke(platform::VK_RIGHT);
  EXPECT_EQ(bar->Position(), 2);
  Stroke(platform::VK_UP);
  EXPECT_EQ(bar->Position(), 1);
  MoveTo(Centre(bar));
  Headless->TurnWheel(-1);
  App->ProcessMessages();
  EXPECT_EQ(bar->Position(), 2);
  Headless->TurnWheel(1);
  App->ProcessMessages();
  EXPECT_EQ(bar->Position(), 1);
}

TEST_F(SkinScrollBarTest, WidthComesFromTheSectionAndFollowsASkinChange) {
  TskSkinData* skin = StoredSkin();
  const int width = RectWidth(skin->SkinControls()[std::size_t(skin->FindControlIndex("vscrollbar"))]->SkinRect);
  TskSkinScrollBar* bar = MakeBar(nullptr, {20, 20, 45, 220});
  EXPECT_EQ(bar->Width(), 25);
  bar->SetSkinData(skin);
  EXPECT_EQ(bar->Width(), width);
  EXPECT_EQ(bar->Height(), 200);
  bar->SetSkinDataName("nosuchbar");
  bar->SetDefaultWidth(30);
  RelayChange(skin);
  EXPECT_EQ(bar->Width(), 30);
  bar->SetSkinDataName("vscrollbar");
  RelayChange(skin);
  EXPECT_EQ(bar->Width(), width);
}

TEST_F(SkinScrollBarTest, LooksWithAndWithoutTheSkin) {
  for (bool skinned : {true, false}) {
    const std::string kind = skinned ? "skin" : "default";
    SCOPED_TRACE(kind);
    TskSkinScrollBar* bar = MakeBar(skinned ? StoredSkin() : nullptr, {20, 20, 37, 140});
    bar->SetPosition(30);
    ShowForm();
    bar->CalcRects();
    MoveTo(At(bar, 200, 200));
    EXPECT_TRUE(MatchesGolden(Snapshot(bar), "controls/golden/vscrollbar-" + kind + "-normal.png"));
    MoveTo(CentreOf(bar, Part::Thumb));
    EXPECT_TRUE(MatchesGolden(Snapshot(bar), "controls/golden/vscrollbar-" + kind + "-hot.png"));
    Headless->PressMouse(platform::MouseButton::Left);
    App->ProcessMessages();
    EXPECT_TRUE(MatchesGolden(Snapshot(bar), "controls/golden/vscrollbar-" + kind + "-pressed.png"));
    Release();
    MoveTo(CentreOf(bar, Part::DecreaseArrow));
    Headless->PressMouse(platform::MouseButton::Left);
    App->ProcessMessages();
    EXPECT_TRUE(MatchesGolden(Snapshot(bar), "controls/golden/vscrollbar-" + kind + "-arrow-pressed.png"));
    Release();
    MoveTo(At(bar, 200, 200));
    bar->SetPageSize(40);
    EXPECT_TRUE(MatchesGolden(Snapshot(bar), "controls/golden/vscrollbar-" + kind + "-page.png"));
    bar->SetEnabled(false);
    EXPECT_TRUE(MatchesGolden(Snapshot(bar), "controls/golden/vscrollbar-" + kind + "-disabled.png"));
    bar->Free();
  }
}

}  // namespace
}  // namespace skin::testing
