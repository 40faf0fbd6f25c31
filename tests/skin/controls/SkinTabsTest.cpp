// The skinned page control: where its pages and tabs go for each tab
// position, hot tracking that draws only the tabs that change, and the
// looks with the stored skin and without one.

#include "SkinControlsTestSupport.h"
#include "skin/controls/SkinTabs.h"
#include "skin/data/SkinUtils.h"

namespace skin::testing {
namespace {

// Counts what is drawn.
class TCountingPageControl : public TskSkinPageControl {
 public:
  using TskSkinPageControl::TskSkinPageControl;
  std::vector<int> DrawnTabs;
  int Paints = 0;

 protected:
  void Paint() override {
    ++Paints;
    TskSkinPageControl::Paint();
  }
  void DrawTab(gfx::Canvas& canvas, int tabIndex, const gfx::Rect& rect, bool hot, bool active) override {
    DrawnTabs.push_back(tabIndex);
    TskSkinPageControl::DrawTab(canvas, tabIndex, rect, hot, active);
  }
};

class SkinTabsTest : public SkinControlTest {
 protected:
  TCountingPageControl* MakePages(TskSkinData* skin, ui::TTabPosition position, int pages) {
    auto* control = Add<TCountingPageControl>(Form, {10, 10, 310, 210});
    control->SetTabPosition(position);
    control->SetMultiLine(true);
    for (int i = 0; i < pages; ++i) {
      auto* page = core::Create<TskSkinTabSheet>(*Form);
      page->SetCaption("Page " + std::to_string(i + 1));
      page->SetPageControl(control);
    }
    control->SetActivePageIndex(0);
    control->SetSkinData(skin);
    return control;
  }
};

TEST_F(SkinTabsTest, ThePageLiesBesideTheTabsOnEachSide) {
  for (TskSkinData* skin : {StoredSkin(), static_cast<TskSkinData*>(nullptr)}) {
    for (ui::TTabPosition position : {ui::tpTop, ui::tpBottom, ui::tpLeft, ui::tpRight}) {
      SCOPED_TRACE(std::string(skin ? "skin " : "default ") + std::to_string(int(position)));
      TCountingPageControl* control = MakePages(skin, position, 2);
      ShowForm();
      const ui::TTabSheet* page = control->ActivePage();
      const gfx::Rect pageRect = page->BoundsRect();
      for (int i = 0; i < 2; ++i) {
        const gfx::Rect tab = control->TabRect(i);
        ASSERT_FALSE(tab.IsEmpty());
        switch (position) {
          case ui::tpTop: EXPECT_LE(tab.Bottom, pageRect.Top); break;
          case ui::tpBottom: EXPECT_GE(tab.Top, pageRect.Bottom); break;
          case ui::tpLeft: EXPECT_LE(tab.Right, pageRect.Left); break;
          case ui::tpRight: EXPECT_GE(tab.Left, pageRect.Right); break;
        }
      }
      if (skin) {  // the item height is the tab picture's
        const auto* section = control->Section();
        ASSERT_NE(section, nullptr);
        const gfx::Rect tab = control->TabRect(1);
        const bool turned = position == ui::tpLeft || position == ui::tpRight;
        EXPECT_EQ(turned ? tab.Width() : tab.Height(), RectHeight(section->TabRect));
      }
      control->Free();
    }
  }
}

TEST_F(SkinTabsTest, HotTrackingDrawsOnlyTheTabsThatChange) {
  TCountingPageControl* control = MakePages(StoredSkin(), ui::tpBottom, 3);
  ShowForm();
  auto centreOf = [&](int tab) {
    const gfx::Rect r = control->TabRect(tab);
    return At(control, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  };
  control->Paints = 0;
  control->DrawnTabs.clear();
  MoveTo(centreOf(1));
  EXPECT_EQ(control->DrawnTabs, std::vector<int>{1});
  EXPECT_EQ(control->HotTabIndex(), 1);
  control->DrawnTabs.clear();
  MoveTo(centreOf(2));
  EXPECT_EQ(control->DrawnTabs, (std::vector<int>{1, 2}));
  control->DrawnTabs.clear();
  MoveTo(centreOf(0));  // the active tab: only the one left is drawn
  EXPECT_EQ(control->DrawnTabs, std::vector<int>{2});
  control->DrawnTabs.clear();
  MoveTo(gfx::Point{centreOf(0).X + 1, centreOf(0).Y});
  EXPECT_TRUE(control->DrawnTabs.empty());
  EXPECT_EQ(control->Paints, 0);
}

TEST_F(SkinTabsTest, LooksWithTheStoredSkinAndWithout) {
  for (bool skinned : {true, false}) {
    SCOPED_TRACE(skinned ? "skin" : "default");
    TCountingPageControl* control = MakePages(skinned ? StoredSkin() : nullptr, ui::tpBottom, 2);
    control->SetBounds(10, 10, 200, 120);
    ShowForm();
    MoveTo(At(control, 5, 5));
    const std::string base = std::string("controls/golden/tabs-") + (skinned ? "skin" : "default");
    gfx::Bitmap picture;
    auto shot = [&] {
      App->ProcessMessages();
      const gfx::Point origin = control->ClientToScreen(gfx::Point{0, 0});
      Headless->CaptureScreen(gfx::Rect{origin.X, origin.Y, origin.X + 200, origin.Y + 120}, picture);
      return picture;
    };
    EXPECT_TRUE(MatchesGolden(shot(), base + "-normal.png"));
    const gfx::Rect tab = control->TabRect(1);
    MoveTo(At(control, (tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2));
    EXPECT_TRUE(MatchesGolden(shot(), base + "-hot.png"));
    control->Free();
  }
}

}  // namespace
}  // namespace skin::testing

namespace skin::testing {
namespace {

TEST_F(SkinTabsTest, OneLineOfTabsScrollsWithTheSkinnedUpDown) {
  TCountingPageControl* control = MakePages(StoredSkin(), ui::tpTop, 8);
  control->SetMultiLine(false);
  control->SetBounds(10, 10, 200, 120);
  ShowForm();
  TskSkinUpDown* upDown = control->SkinScrollUpDown();
  ASSERT_NE(upDown, nullptr);
  EXPECT_EQ(control->ScrollUpDown(), nullptr);  // the class library's is never made
  EXPECT_EQ(upDown->SkinDataName(), control->Section()->UpDown);
  EXPECT_EQ(upDown->Left() + upDown->Width(), control->ClientWidth());
  const int firstLeft = control->TabRect(0).Left;
  upDown->SetPosition(1);
  App->ProcessMessages();
  EXPECT_EQ(control->FirstVisibleTab(), 1);
  EXPECT_LT(control->TabRect(0).Right, firstLeft + 1);
  control->SetMultiLine(true);
  EXPECT_EQ(control->SkinScrollUpDown(), nullptr);
}

}  // namespace
}  // namespace skin::testing
