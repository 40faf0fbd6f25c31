// The skinned memo and its external bar: range and position after
// appends, clearing and resizing; the bar scrolls the memo; the memo goes
// on without its bar; the looks with the stored skin and without.

#include "SkinControlsTestSupport.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"

namespace skin::testing {
namespace {

class SkinMemoTest : public SkinControlTest {
 protected:
  void MakeLog(TskSkinData* skin) {
    Memo = Add<TskSkinMemo>(Form, {10, 10, 210, 110});
    Bar = Add<TskSkinScrollBar>(Form, {210, 10, 227, 110});
    Bar->SetKind(ui::sbVertical);
    Bar->SetSkinDataName("vscrollbar");
    Bar->SetSkinData(skin);
    Memo->SetSkinData(skin);
    Memo->SetVScrollBar(Bar);
  }
  // The bar stands where the memo is: its range is the rows, its page the
  // rows shown plus one, its position the first row shown.
  void ExpectInStep(bool scrolledToEnd) {
    const int count = Memo->RowCount();
    if (count <= Memo->VisibleRowCount()) {
      EXPECT_EQ(Bar->Max(), 0);
      EXPECT_FALSE(Bar->Enabled());
      return;
    }
    EXPECT_TRUE(Bar->Enabled());
    EXPECT_EQ(Bar->Max(), count);
    EXPECT_EQ(Bar->PageSize(), Memo->VisibleRowCount() + 1);
    EXPECT_EQ(Bar->Position(), Memo->FirstVisibleRow());
    if (scrolledToEnd) {
      EXPECT_EQ(Bar->Position(), Bar->Max() - Bar->PageSize() + 1);
    }
  }
  TskSkinMemo* Memo = nullptr;
  TskSkinScrollBar* Bar = nullptr;
};

TEST_F(SkinMemoTest, TheBarFollowsAppendsClearAndResize) {
  MakeLog(StoredSkin());
  ShowForm();
  int added = 0;
  for (int target : {1, 30, 100000}) {
    SCOPED_TRACE(target);
    while (added < target) Memo->Lines()->Add("192.168.1." + std::to_string(++added) + ":00-1A-2B-3C-4D-5E");
    ExpectInStep(true);
  }
  EXPECT_GT(Bar->Position(), 0xFFFF);  // past the 16-bit thumb message
  Bar->SetPosition(70000);
  EXPECT_EQ(Memo->FirstVisibleRow(), 70000);

  Memo->SetBounds(10, 10, 200, 200);
  ExpectInStep(false);
  Memo->Lines()->Clear();
  ExpectInStep(false);
  EXPECT_EQ(Bar->Max(), 0);
  EXPECT_FALSE(Bar->Enabled());
}

TEST_F(SkinMemoTest, DraggingTheThumbScrollsTheMemo) {
  MakeLog(StoredSkin());
  ShowForm();
  for (int i = 0; i < 100; ++i) Memo->Lines()->Add("line " + std::to_string(i));
  Memo->ScrollToRow(0);
  ExpectInStep(false);
  EXPECT_EQ(Bar->Position(), 0);
  const TRect thumb = Bar->PartRect(TskSkinScrollBar::Thumb);
  MoveTo(At(Bar, (thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2));
  Headless->PressMouse(platform::MouseButton::Left);
  App->ProcessMessages();
  MoveTo(At(Bar, (thumb.Left + thumb.Right) / 2, (thumb.Top + thumb.Bottom) / 2 + 30));
  Release();
  EXPECT_GT(Bar->Position(), 0);
  EXPECT_EQ(Memo->FirstVisibleRow(), Bar->Position());
  ExpectInStep(false);
}

TEST_F(SkinMemoTest, TheMemoGoesOnWhenItsBarIsFreed) {
  MakeLog(nullptr);
  ShowForm();
  Bar->Free();
  EXPECT_EQ(Memo->VScrollBar(), nullptr);
  for (int i = 0; i < 50; ++i) Memo->Lines()->Add("x");
  EXPECT_EQ(Memo->Lines()->Count(), 50);
}

TEST_F(SkinMemoTest, LooksWithTheStoredSkinAndWithout) {
  for (bool skinned : {true, false}) {
    for (bool bitmapBackground : {false, true}) {
      SCOPED_TRACE(std::string(skinned ? "skin" : "default") + (bitmapBackground ? " bitmap" : ""));
      MakeLog(skinned ? StoredSkin() : nullptr);
      Memo->SetBitMapBG(bitmapBackground);
      for (int i = 1; i <= 8; ++i) Memo->Lines()->Add("192.168.1." + std::to_string(i) + ":00-1A-2B-3C-4D-5E");
      ShowForm();
      MoveTo(At(Memo, 400, 300));
      gfx::Bitmap picture;
      const gfx::Point origin = Form->ClientToScreen(gfx::Point{10, 10});
      Headless->CaptureScreen(gfx::Rect{origin.X, origin.Y, origin.X + 217, origin.Y + 100}, picture);
      const std::string name = std::string("controls/golden/memo-") + (skinned ? "skin" : "default") +
                               (bitmapBackground ? "-bitmap" : "") + ".png";
      EXPECT_TRUE(MatchesGolden(picture, name));
      Memo->Free();
      Bar->Free();
    }
  }
}

}  // namespace
}  // namespace skin::testing
