// What lies under a control, painted into a memory picture, is exactly what
// the screen shows there when the control is hidden: the parent's pattern,
// a transparent label and a windowed sibling below it.

#include <gtest/gtest.h>

#include "skin/data/SkinUtils.ParentBackground.h"
#include "tests/ui/FormTestSupport.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui::testing {
namespace {

// A custom control painting a checker pattern of its own colour.
class TPatterned : public TCustomControl {
 public:
  explicit TPatterned(core::TComponent* owner) : TCustomControl(owner) {}
  TColor Ink = clRed;

 protected:
  void Paint() override {
    for (int y = 0; y < Height(); y += 4) {
      for (int x = 0; x < Width(); x += 4) {
        Canvas()->Brush()->SetColor(((x + y) / 4) % 2 ? Ink : clWhite);
        Canvas()->FillRect(gfx::Rect{x, y, x + 4, y + 4});
      }
    }
  }
};

class ParentBackgroundTest : public FormTest {
 protected:
  gfx::Bitmap ScreenUnder(TControl* control) {
    control->Hide();
    App->ProcessMessages();
    gfx::Point at = control->Parent()->ClientToScreen(control->BoundsRect().TopLeft());
    gfx::Bitmap screen = Headless->Screen();
    return screen.Crop(gfx::Rect::FromSize(at.X, at.Y, control->Width(), control->Height()));
  }
};

TEST_F(ParentBackgroundTest, ParentLabelAndWindowedSiblingUnderTheControl) {
  TForm* form = MakeForm(300, 200);
  auto* parent = Add<TPatterned>(form, {10, 10, 230, 170});
  auto* sibling = Add<TPatterned>(parent, {60, 40, 120, 90});
  sibling->Ink = clBlue;
  auto* label = Add<TLabel>(parent, {20, 20, 100, 40});
  label->SetTransparent(true);
  label->SetCaption("Under it");
  auto* control = Add<TProbeControl>(parent, {15, 15, 140, 100});
  form->Show();
  App->ProcessMessages();

  gfx::Bitmap drawn;
  skin::PaintParentBackground(*control, drawn);
  gfx::Bitmap boxDrawn;
  skin::PaintParentBackgroundForBox(*control, boxDrawn);
  const gfx::Bitmap expected = ScreenUnder(control);
  EXPECT_TRUE(drawn.SamePixels(expected));
  // The box variant leaves the windowed siblings out.
  EXPECT_EQ(boxDrawn.GetPixel(72 - 15, 48 - 15) & 0xFFFFFF, PixelOf(clWhite));
  EXPECT_FALSE(parent->ControlState().Contains(csPaintCopy));
}

TEST_F(ParentBackgroundTest, FormParentErasesAndPaintsItsWindowlessChildrenOnce) {
  TForm* form = MakeForm(300, 200);
  form->SetColor(clYellow);
  auto* label = Add<TLabel>(form, {20, 20, 100, 40});
  label->SetTransparent(true);
  label->SetCaption("On the form");
  auto* control = Add<TProbeControl>(form, {10, 10, 90, 60});
  form->Show();
  App->ProcessMessages();

  gfx::Bitmap drawn;
  skin::PaintParentBackground(*control, drawn);
  gfx::Bitmap boxDrawn;
  skin::PaintParentBackgroundForBox(*control, boxDrawn);
  const gfx::Bitmap expected = ScreenUnder(control);
  EXPECT_TRUE(drawn.SamePixels(expected));
  EXPECT_TRUE(boxDrawn.SamePixels(expected));
  EXPECT_FALSE(label->ControlState().Contains(csPaintCopy));
}

}  // namespace
}  // namespace ui::testing
