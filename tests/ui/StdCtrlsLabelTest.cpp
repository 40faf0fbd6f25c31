#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "gfx/TextFormat.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui::testing {
namespace {

class LabelTest : public FormTest {
 protected:
  void SetUp() override {
    Form = MakeForm(300, 200);
    LineHeight = gfx::MeasureFont(Form->Font()->ToGfxFont()).Height;
  }
  TLabel* MakeLabel(const std::string& caption, gfx::Rect bounds = {10, 10, 110, 30}) {
    auto* label = Add<TLabel>(Form, bounds);
    label->SetCaption(caption);
    return label;
  }
  int TextWidth(const std::string& text) { return gfx::MeasureText(Form->Font()->ToGfxFont(), text).Width; }
  // The columns and rows of the label that hold ink (not the face colour).
  gfx::Rect InkBounds(TControl* control) {
    Form->Show();
    App->ProcessMessages();
    gfx::Bitmap screen = Headless->Screen();
    gfx::Point origin = control->ClientToScreen(gfx::Point{0, 0});
    gfx::Pixel face = PixelOf(ColorToRGB(clBtnFace));
    gfx::Rect ink;
    for (int y = 0; y < control->Height(); ++y) {
      for (int x = 0; x < control->Width(); ++x) {
        if (screen.GetPixel(origin.X + x, origin.Y + y) != face) ink = ink.Union(gfx::Rect{x, y, x + 1, y + 1});
      }
    }
    return ink;
  }

  TForm* Form = nullptr;
  int LineHeight = 0;
};

TEST_F(LabelTest, AutoSizeTakesTheTextsSizeAndOneLineWhenEmpty) {
  TLabel* label = MakeLabel("Hello");
  EXPECT_EQ(label->Width(), TextWidth("Hello"));
  EXPECT_EQ(label->Height(), LineHeight);
  label->SetCaption("");
  EXPECT_EQ(label->Height(), LineHeight);
  EXPECT_EQ(label->Width(), TextWidth(" "));
  // A right-aligned label keeps its right edge.
  TLabel* right = MakeLabel("", {100, 40, 200, 60});
  right->SetAutoSize(false);
  right->SetAlignment(taRightJustify);
  right->SetAutoSize(true);
  right->SetCaption("abc");
  EXPECT_EQ(right->Left() + right->Width(), 200);
  EXPECT_EQ(right->Width(), TextWidth("abc"));
}

TEST_F(LabelTest, AlignmentAndLayoutPlaceTheText) {
  TLabel* label = MakeLabel("abc", {10, 10, 210, 60});
  label->SetAutoSize(false);
  label->SetBounds(10, 10, 200, 50);
  gfx::Rect left = InkBounds(label);
  EXPECT_LT(left.Left, 3);
  EXPECT_LT(left.Top, LineHeight);
  label->SetAlignment(taRightJustify);
  label->SetLayout(tlBottom);
  gfx::Rect right = InkBounds(label);
  EXPECT_GT(right.Left, 150);
  EXPECT_GE(right.Top, 50 - LineHeight);
  label->SetAlignment(taCenter);
  label->SetLayout(tlCenter);
  gfx::Rect centre = InkBounds(label);
  EXPECT_NEAR((centre.Left + centre.Right) / 2, 100, 3);
  EXPECT_NEAR((centre.Top + centre.Bottom) / 2, 25, 4);
}

TEST_F(LabelTest, WordWrapBreaksIntoLinesAndAutoSizeGrowsTheHeight) {
  TLabel* label = MakeLabel("", {10, 10, 70, 30});
  label->SetWordWrap(true);
  label->SetCaption("one two three four five");
  EXPECT_GE(label->Height(), 3 * LineHeight);
  EXPECT_LE(label->Width(), 60);
  EXPECT_EQ(label->Height() % LineHeight, 0);
}

TEST_F(LabelTest, TheAmpersandMarksTheAcceleratorOfTheFocusControl) {
  auto* edit = Add<TEdit>(Form, {120, 10, 220, 31});
  auto* button = Add<TButton>(Form, {120, 50, 195, 75});
  TLabel* label = MakeLabel("&Name");
  label->SetFocusControl(edit);
  EXPECT_EQ(label->Width(), TextWidth("Name"));
  Form->Show();
  App->ProcessMessages();
  button->SetFocus();
  App->ProcessMessages();
  Stroke('N');
  EXPECT_TRUE(edit->Focused());
  // Without ShowAccelChar the ampersand is plain text and no accelerator.
  label->SetShowAccelChar(false);
  EXPECT_EQ(label->Width(), TextWidth("&Name"));
  button->SetFocus();
  App->ProcessMessages();
  Stroke('N');
  EXPECT_TRUE(button->Focused());
  // The focus control going away clears the reference.
  edit->Free();
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(LabelTest, ADisabledLabelIsEmbossed) {
  TLabel* label = MakeLabel("WWW");
  label->SetEnabled(false);
  Form->Show();
  App->ProcessMessages();
  gfx::Bitmap screen = Headless->Screen();
  gfx::Point origin = label->ClientToScreen(gfx::Point{0, 0});
  bool highlight = false;
  bool shadow = false;
  bool black = false;
  for (int y = 0; y < label->Height(); ++y) {
    for (int x = 0; x < label->Width(); ++x) {
      gfx::Pixel p = screen.GetPixel(origin.X + x, origin.Y + y);
      highlight |= p == PixelOf(ColorToRGB(clBtnHighlight));
      shadow |= p == PixelOf(ColorToRGB(clBtnShadow));
      black |= p == gfx::MakePixel(0, 0, 0);
    }
  }
  EXPECT_TRUE(highlight);
  EXPECT_TRUE(shadow);
  EXPECT_FALSE(black);
}

TEST_F(LabelTest, TransparentLetsTheParentShowThrough) {
  TLabel* label = MakeLabel("", {10, 10, 110, 30});
  label->SetAutoSize(false);
  label->SetColor(clYellow);
  Form->Show();
  App->ProcessMessages();
  gfx::Point inside = label->ClientToScreen(gfx::Point{50, 5});
  EXPECT_EQ(ScreenPixel(inside.X, inside.Y), PixelOf(ColorToRGB(clYellow)));
  label->SetTransparent(true);
  App->ProcessMessages();
  EXPECT_EQ(ScreenPixel(inside.X, inside.Y), PixelOf(ColorToRGB(clBtnFace)));
}

// The skinned label's way in: the text-drawing step with its flags.
class TRecordingLabel : public TLabel {
 public:
  using inherited = TLabel;
  using TLabel::TLabel;
  std::vector<unsigned> Flags;

 protected:
  void DoDrawText(gfx::Rect& rect, unsigned flags) override {
    Flags.push_back(flags);
    Canvas()->Font()->SetColor(clRed);
    inherited::DoDrawText(rect, flags);
  }
};

TEST_F(LabelTest, DoDrawTextMeasuresAndPaints) {
  auto* label = Add<TRecordingLabel>(Form, {10, 10, 110, 30});
  label->SetCaption("x");
  ASSERT_FALSE(label->Flags.empty());
  EXPECT_TRUE(label->Flags.back() & gfx::DT_CALCRECT);
  label->Flags.clear();
  gfx::Rect ink = InkBounds(label);
  ASSERT_FALSE(label->Flags.empty());
  EXPECT_FALSE(label->Flags.back() & gfx::DT_CALCRECT);
  EXPECT_FALSE(ink.IsEmpty());
  // The override's colour is the one drawn (the glyph edges blend into
  // the face).
  gfx::Bitmap screen = Headless->Screen();
  gfx::Point origin = label->ClientToScreen(gfx::Point{0, 0});
  bool red = false;
  for (int y = ink.Top; y < ink.Bottom; ++y) {
    for (int x = ink.Left; x < ink.Right; ++x) {
      gfx::Pixel p = screen.GetPixel(origin.X + x, origin.Y + y);
      red |= gfx::PixelRed(p) > 230 && gfx::PixelGreen(p) < 60 && gfx::PixelBlue(p) < 60;
    }
  }
  EXPECT_TRUE(red);
}

}  // namespace
}  // namespace ui::testing
