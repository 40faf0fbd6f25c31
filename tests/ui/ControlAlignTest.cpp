#include <gtest/gtest.h>

#include "FormTestSupport.h"

namespace ui::testing {
namespace {

// A control that keeps a width of its own whatever the alignment asks
// (as a skinned scroll bar keeps its skin's width).
class TFixedWidth : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  void SetBounds(int left, int top, int, int height) override { TCustomControl::SetBounds(left, top, 17, height); }
};

class ControlAlignTest : public FormTest {};

TEST_F(ControlAlignTest, AlignedChildrenShareTheClientAreaTopBottomLeftRightClient) {
  TForm* form = MakeForm(300, 200);
  auto* client = Add<TProbeControl>(form, {0, 0, 10, 10});
  auto* right = Add<TProbeControl>(form, {0, 0, 50, 10});
  auto* left = Add<TProbeControl>(form, {0, 0, 40, 10});
  auto* bottom = Add<TProbeControl>(form, {0, 0, 10, 30});
  auto* top = Add<TProbeControl>(form, {0, 0, 10, 20});
  client->SetAlign(alClient);
  right->SetAlign(alRight);
  left->SetAlign(alLeft);
  bottom->SetAlign(alBottom);
  top->SetAlign(alTop);

  EXPECT_EQ(top->BoundsRect(), (gfx::Rect{0, 0, 300, 20}));
  EXPECT_EQ(bottom->BoundsRect(), (gfx::Rect{0, 170, 300, 200}));
  EXPECT_EQ(left->BoundsRect(), (gfx::Rect{0, 20, 40, 170}));
  EXPECT_EQ(right->BoundsRect(), (gfx::Rect{250, 20, 300, 170}));
  EXPECT_EQ(client->BoundsRect(), (gfx::Rect{40, 20, 250, 170}));

  // The form grows: everything follows.
  form->SetClientSize(400, 300);
  EXPECT_EQ(bottom->BoundsRect(), (gfx::Rect{0, 270, 400, 300}));
  EXPECT_EQ(right->BoundsRect(), (gfx::Rect{350, 20, 400, 270}));
  EXPECT_EQ(client->BoundsRect(), (gfx::Rect{40, 20, 350, 270}));
}

TEST_F(ControlAlignTest, ControlsOfOneAlignmentKeepTheirOrderByPosition) {
  TForm* form = MakeForm(300, 200);
  auto* lower = Add<TProbeControl>(form, {0, 100, 10, 110});
  auto* upper = Add<TProbeControl>(form, {0, 50, 10, 60});
  // As a layout sets them: both aligned before the form aligns them.
  form->DisableAlign();
  lower->SetAlign(alTop);
  upper->SetAlign(alTop);
  form->EnableAlign();
  // upper sat above lower, so it stays first.
  EXPECT_EQ(upper->BoundsRect(), (gfx::Rect{0, 0, 300, 10}));
  EXPECT_EQ(lower->BoundsRect(), (gfx::Rect{0, 10, 300, 20}));

  auto* outer = Add<TProbeControl>(form, {280, 0, 300, 10});
  auto* inner = Add<TProbeControl>(form, {200, 0, 220, 10});
  form->DisableAlign();
  inner->SetAlign(alRight);
  outer->SetAlign(alRight);
  form->EnableAlign();
  // The rightmost stays rightmost.
  EXPECT_EQ(outer->BoundsRect(), (gfx::Rect{280, 20, 300, 200}));
  EXPECT_EQ(inner->BoundsRect(), (gfx::Rect{260, 20, 280, 200}));

  // A control aligned later goes where it stands among the others: this
  // one is above both top controls now.
  auto* first = Add<TProbeControl>(form, {0, 0, 10, 5});
  first->SetAlign(alTop);
  EXPECT_EQ(first->BoundsRect(), (gfx::Rect{0, 0, 300, 5}));
  EXPECT_EQ(upper->BoundsRect(), (gfx::Rect{0, 5, 300, 15}));
}

TEST_F(ControlAlignTest, ClientChildTakesWhatARightChildWithAFixedWidthLeaves) {
  // The scan log's layout: a scroll bar aligned right beside a memo that
  // fills the rest.
  TForm* form = MakeForm(490, 404);
  auto* memo = Add<TProbeControl>(form, {1, 23, 472, 427});
  auto* bar = Add<TFixedWidth>(form, {472, 23, 489, 427});
  bar->SetAlign(alRight);
  memo->SetAlign(alClient);
  EXPECT_EQ(bar->BoundsRect(), (gfx::Rect{473, 0, 490, 404}));
  EXPECT_EQ(memo->BoundsRect(), (gfx::Rect{0, 0, 473, 404}));
}

TEST_F(ControlAlignTest, HiddenChildrenTakeNoRoomUntilShown) {
  TForm* form = MakeForm(300, 200);
  auto* top = Add<TProbeControl>(form, {0, 0, 10, 20});
  auto* client = Add<TProbeControl>(form, {0, 0, 10, 10});
  top->SetAlign(alTop);
  client->SetAlign(alClient);
  top->SetVisible(false);
  EXPECT_EQ(client->BoundsRect(), (gfx::Rect{0, 0, 300, 200}));
  top->SetVisible(true);
  EXPECT_EQ(client->BoundsRect(), (gfx::Rect{0, 20, 300, 200}));
}

TEST_F(ControlAlignTest, AnchorsKeepDistancesWhenTheParentChangesSize) {
  TForm* form = MakeForm(300, 200);
  auto* pinned = Add<TProbeControl>(form, {200, 150, 280, 180});
  pinned->SetAnchors(TAnchors{akRight, akBottom});
  auto* stretched = Add<TProbeControl>(form, {10, 10, 290, 30});
  stretched->SetAnchors(TAnchors{akLeft, akTop, akRight});
  auto* centred = Add<TProbeControl>(form, {140, 90, 160, 110});
  centred->SetAnchors(TAnchors{});
  auto* still = Add<TProbeControl>(form, {10, 100, 20, 110});

  form->SetClientSize(400, 300);
  EXPECT_EQ(pinned->BoundsRect(), (gfx::Rect{300, 250, 380, 280}));
  EXPECT_EQ(stretched->BoundsRect(), (gfx::Rect{10, 10, 390, 30}));
  EXPECT_EQ(centred->BoundsRect(), (gfx::Rect{190, 140, 210, 160}));
  EXPECT_EQ(still->BoundsRect(), (gfx::Rect{10, 100, 20, 110}));

  // Back to the first size: no drift.
  form->SetClientSize(300, 200);
  EXPECT_EQ(pinned->BoundsRect(), (gfx::Rect{200, 150, 280, 180}));
  EXPECT_EQ(centred->BoundsRect(), (gfx::Rect{140, 90, 160, 110}));
}

TEST_F(ControlAlignTest, AlignmentWorksBeforeAndAfterTheWindowExists) {
  TForm* form = MakeForm(300, 200);
  auto* client = Add<TProbeControl>(form, {0, 0, 10, 10});
  client->SetAlign(alClient);
  EXPECT_FALSE(form->HandleAllocated());
  EXPECT_EQ(client->BoundsRect(), (gfx::Rect{0, 0, 300, 200}));
  form->Show();
  ASSERT_TRUE(client->HandleAllocated());
  gfx::Rect r;
  GetClientRect(client->Handle(), r);
  EXPECT_EQ(r, (gfx::Rect{0, 0, 300, 200}));
  // The user sizes the window through the window system.
  gfx::Rect window;
  GetWindowRect(form->Handle(), window);
  SetWindowPos(form->Handle(), nullptr, 0, 0, window.Width() + 20, window.Height() + 10, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(client->BoundsRect(), (gfx::Rect{0, 0, 320, 210}));
}

}  // namespace
}  // namespace ui::testing
