#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "ui/stdcontrols/ComCtrls.h"

namespace ui::testing {
namespace {

using platform::VK_CONTROL;
using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_SHIFT;
using platform::VK_TAB;

// A page control of 300 x 200 at (10, 10) with tabs of a fixed size
// (60 x 20), so that the geometry does not depend on the font.
class PageControlTest : public FormTest {
 protected:
  void SetUp() override {
    Form = MakeForm(400, 300);
    Pages = Add<TPageControl>(Form, {10, 10, 310, 210});
    Pages->SetTabWidth(60);
    Pages->SetTabHeight(20);
  }
  TTabSheet* AddPage(const std::string& caption) {
    auto* page = core::Create<TTabSheet>(*App->MainForm());
    page->SetPageControl(Pages);
    page->SetCaption(caption);
    return page;
  }
  void AddPages(int count) {
    for (int i = 0; i < count; ++i) Sheets.push_back(AddPage("Page " + std::to_string(i)));
  }
  void ShowForm() {
    Form->Show();
    App->ProcessMessages();
  }
  gfx::Point TabCentre(int index) {
    gfx::Rect r = Pages->TabRect(index);
    return Pages->ClientToScreen(gfx::Point{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }
  void ClickTab(int index) {
    Headless->Click(TabCentre(index));
    App->ProcessMessages();
  }

  TForm* Form = nullptr;
  TPageControl* Pages = nullptr;
  std::vector<TTabSheet*> Sheets;
};

TEST_F(PageControlTest, GeometryOfTheFourTabPositions) {
  AddPages(3);
  ShowForm();
  struct Expected {
    TTabPosition Position;
    gfx::Rect First;
    gfx::Rect Second;
    gfx::Rect Display;
  };
  const Expected cases[] = {
      {tpTop, {2, 2, 62, 22}, {62, 2, 122, 22}, {4, 26, 296, 196}},
      {tpBottom, {2, 178, 62, 198}, {62, 178, 122, 198}, {4, 4, 296, 174}},
      {tpLeft, {2, 2, 22, 62}, {2, 62, 22, 122}, {26, 4, 296, 196}},
      {tpRight, {278, 2, 298, 62}, {278, 62, 298, 122}, {4, 4, 274, 196}},
  };
  for (const Expected& c : cases) {
    SCOPED_TRACE(int(c.Position));
    Pages->SetTabPosition(c.Position);
    EXPECT_EQ(Pages->TabRect(0), c.First);
    EXPECT_EQ(Pages->TabRect(1), c.Second);
    EXPECT_EQ(Pages->DisplayRect(), c.Display);
    // The active page fills the display rectangle.
    EXPECT_EQ(Pages->ActivePage()->BoundsRect(), c.Display);
    EXPECT_EQ(Pages->IndexOfTabAt(c.Second.Left + 5, c.Second.Top + 5), 1);
  }
  EXPECT_TRUE(Pages->TabRect(3).IsEmpty());
  EXPECT_EQ(Pages->IndexOfTabAt(150, 150), -1);
}

TEST_F(PageControlTest, MultiLineRowsAreStretchedAndTheActiveRowLiesNextToThePage) {
  AddPages(6);
  Pages->SetMultiLine(true);
  ShowForm();
  // Four tabs of 60 fit into 296: two rows, each stretched to 296.
  EXPECT_EQ(Pages->RowCount(), 2);
  EXPECT_EQ(Pages->TabRect(0).Left, 2);
  EXPECT_EQ(Pages->TabRect(3).Right, 298);
  // The first row holds the active tab: it lies next to the page.
  EXPECT_EQ(Pages->TabRect(0).Top, 22);
  EXPECT_EQ(Pages->TabRect(4).Top, 2);
  EXPECT_EQ(Pages->DisplayRect(), (gfx::Rect{4, 46, 296, 196}));
  Pages->SetActivePage(Sheets[5]);
  EXPECT_EQ(Pages->TabRect(4).Top, 22);
  EXPECT_EQ(Pages->TabRect(0).Top, 2);
}

TEST_F(PageControlTest, ClickingATabChangesThePageWithEvents) {
  AddPages(3);
  std::vector<std::string> events;
  bool allow = true;
  Pages->OnChanging = [&](core::TComponent*, bool& allowChange) {
    events.push_back("changing " + std::to_string(Pages->ActivePageIndex()));
    allowChange = allow;
  };
  Pages->OnChange = [&](core::TComponent*) { events.push_back("change " + std::to_string(Pages->ActivePageIndex())); };
  ShowForm();
  EXPECT_EQ(Pages->ActivePage(), Sheets[0]);
  EXPECT_TRUE(Sheets[0]->Visible());
  ClickTab(2);
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  EXPECT_TRUE(Sheets[2]->Visible());
  EXPECT_FALSE(Sheets[0]->Visible());
  EXPECT_TRUE(Pages->Focused());
  EXPECT_EQ(events, (std::vector<std::string>{"changing 0", "change 2"}));
  allow = false;
  ClickTab(1);
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
  // Setting the page in code raises nothing.
  events.clear();
  Pages->SetActivePageIndex(0);
  EXPECT_TRUE(events.empty());
}

TEST_F(PageControlTest, ArrowsMoveBetweenTabsWhenTheStripHasTheFocus) {
  AddPages(3);
  ShowForm();
  Pages->SetFocus();
  App->ProcessMessages();
  Stroke(VK_RIGHT);
  EXPECT_EQ(Pages->TabIndex(), 1);
  Stroke(VK_RIGHT);
  Stroke(VK_RIGHT);
  EXPECT_EQ(Pages->TabIndex(), 2);
  Stroke(VK_LEFT);
  EXPECT_EQ(Pages->TabIndex(), 1);
}

TEST_F(PageControlTest, CtrlTabCyclesThePagesFromAControlOnAPage) {
  AddPages(3);
  auto* edit = core::Create<TEdit>(*App->MainForm());
  edit->SetParent(Sheets[0]);
  edit->SetBounds(10, 10, 100, 21);
  ShowForm();
  edit->SetFocus();
  App->ProcessMessages();
  Headless->PressKey(VK_CONTROL);
  Headless->StrokeKey(VK_TAB);
  Headless->ReleaseKey(VK_CONTROL);
  App->ProcessMessages();
  EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
  // The focus left the page that went out of sight.
  EXPECT_FALSE(edit->Focused());
  Headless->PressKey(VK_CONTROL);
  Headless->PressKey(VK_SHIFT);
  Headless->StrokeKey(VK_TAB);
  Headless->StrokeKey(VK_TAB);
  Headless->ReleaseKey(VK_SHIFT);
  Headless->ReleaseKey(VK_CONTROL);
  App->ProcessMessages();
  // Back past the first page to the last.
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
}

TEST_F(PageControlTest, HiddenTabsAreSkipped) {
  AddPages(3);
  ShowForm();
  Sheets[1]->SetTabVisible(false);
  EXPECT_EQ(Pages->VisibleTabCount(), 2);
  EXPECT_EQ(Sheets[2]->TabIndex(), 1);
  EXPECT_EQ(Pages->TabRect(1), (gfx::Rect{62, 2, 122, 22}));
  // Hiding the active tab shows the next page.
  Sheets[0]->SetTabVisible(false);
  EXPECT_EQ(Pages->ActivePage(), Sheets[2]);
}

TEST_F(PageControlTest, ASingleRowThatDoesNotFitScrollsWithTheUpDown) {
  AddPages(8);
  ShowForm();
  TUpDown* upDown = Pages->ScrollUpDown();
  ASSERT_NE(upDown, nullptr);
  EXPECT_EQ(GetClassName(upDown->Handle()), "msctls_updown32");
  EXPECT_EQ(upDown->BoundsRect(), (gfx::Rect{260, 2, 300, 22}));
  // Eight tabs of 60: from the fifth on they fit beside the buttons.
  EXPECT_EQ(upDown->Max(), 4);
  Pages->Perform(WM_HSCROLL, MakeWParam(int(SB_THUMBPOSITION), 2), 0);
  EXPECT_EQ(Pages->FirstVisibleTab(), 2);
  EXPECT_EQ(Pages->TabRect(2).Left, 2);
  EXPECT_EQ(Pages->TabRect(0).Left, -118);
  // The buttons scroll too.
  Headless->Click(upDown->ClientToScreen(gfx::Point{30, 10}));
  App->ProcessMessages();
  EXPECT_EQ(Pages->FirstVisibleTab(), 3);
  // Wide enough for every tab: the buttons go.
  Pages->SetWidth(500);
  App->ProcessMessages();
  EXPECT_EQ(Pages->ScrollUpDown(), nullptr);
  EXPECT_EQ(Pages->FirstVisibleTab(), 0);
  // Multi-line never scrolls.
  Pages->SetWidth(300);
  Pages->SetMultiLine(true);
  EXPECT_EQ(Pages->ScrollUpDown(), nullptr);
}

// The hooks a page control with another look uses.
class TShiftedPageControl : public TPageControl {
 public:
  using inherited = TPageControl;
  using TPageControl::TPageControl;
  std::vector<std::pair<int, int>> HotChanges;
  int TabsPainted = 0;

 protected:
  void AdjustTabRect(int, gfx::Rect& rect) override { rect = rect.Offset(0, 2); }
  void AdjustDisplayRect(gfx::Rect& rect) override { rect = rect.Inflate(3, 3); }
  void HotTabChanged(int previous, int current) override {
    HotChanges.emplace_back(previous, current);
    inherited::HotTabChanged(previous, current);
  }
  void PaintTab(gfx::Canvas& canvas, int index, const gfx::Rect& rect, bool hot, bool active) override {
    ++TabsPainted;
    inherited::PaintTab(canvas, index, rect, hot, active);
  }
};

TEST_F(PageControlTest, AnotherLookAdjustsRectanglesPaintsTabsAndTracksTheHotTab) {
  Pages->Free();
  Pages = Add<TShiftedPageControl>(Form, {10, 10, 310, 210});
  auto* shifted = static_cast<TShiftedPageControl*>(Pages);
  Pages->SetTabWidth(60);
  Pages->SetTabHeight(20);
  AddPages(3);
  ShowForm();
  EXPECT_EQ(Pages->TabRect(0), (gfx::Rect{2, 4, 62, 24}));
  EXPECT_EQ(Pages->DisplayRect(), (gfx::Rect{1, 23, 299, 199}));
  EXPECT_EQ(Sheets[0]->BoundsRect(), (gfx::Rect{1, 23, 299, 199}));
  EXPECT_GE(shifted->TabsPainted, 3);
  // Hit testing follows the adjusted rectangles.
  EXPECT_EQ(Pages->IndexOfTabAt(70, 23), 1);
  Headless->MoveMouse(TabCentre(1));
  App->ProcessMessages();
  EXPECT_EQ(Pages->HotTab(), 1);
  Headless->MoveMouse(TabCentre(2));
  App->ProcessMessages();
  Headless->MoveMouse(Form->ClientToScreen(gfx::Point{350, 250}));
  App->ProcessMessages();
  EXPECT_EQ(Pages->HotTab(), -1);
  EXPECT_EQ(shifted->HotChanges, (std::vector<std::pair<int, int>>{{-1, 1}, {1, 2}, {2, -1}}));
}

TEST_F(PageControlTest, FreeingPagesAndAHandlerFreeingThePageControl) {
  AddPages(3);
  ShowForm();
  Sheets[0]->Free();
  EXPECT_EQ(Pages->PageCount(), 2);
  EXPECT_EQ(Pages->ActivePage(), Sheets[1]);
  Pages->OnChange = [](core::TComponent* sender) { sender->Free(); };
  ClickTab(1);
  EXPECT_EQ(Form->ControlCount(), 0);
  EXPECT_TRUE(IsWindow(Form->Handle()));
}

TEST_F(PageControlTest, PaintsTheClassicFrameAndTabs) {
  AddPages(2);
  ShowForm();
  // The page frame's outer ring: light on top (outside the active tab),
  // dark on the right.
  gfx::Point top = Pages->ClientToScreen(gfx::Point{200, 22});
  gfx::Point right = Pages->ClientToScreen(gfx::Point{299, 100});
  EXPECT_EQ(ScreenPixel(top.X, top.Y), PixelOf(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(ScreenPixel(right.X, right.Y), PixelOf(ColorToRGB(cl3DDkShadow)));
  // The active tab covers the frame's edge below it.
  gfx::Point under = Pages->ClientToScreen(gfx::Point{30, 22});
  EXPECT_EQ(ScreenPixel(under.X, under.Y), PixelOf(ColorToRGB(clBtnFace)));
}

}  // namespace
}  // namespace ui::testing
