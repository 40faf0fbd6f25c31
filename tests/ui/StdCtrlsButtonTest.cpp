#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui::testing {
namespace {

using platform::MouseButton;
using platform::VK_ESCAPE;
using platform::VK_RETURN;
using platform::VK_SPACE;

class ButtonTest : public FormTest {
 protected:
  void SetUp() override {
    Form = MakeForm(300, 200);
    Button = Add<TButton>(Form, {10, 10, 85, 35});
    Button->SetCaption("&Go");
    Button->OnClick = [this](core::TComponent* sender) {
      EXPECT_EQ(sender, Button);
      ++Clicks;
    };
  }
  void ShowForm() {
    Form->Show();
    App->ProcessMessages();
  }
  gfx::Point Outside() const { return Button->ClientToScreen(gfx::Point{150, 100}); }

  TForm* Form = nullptr;
  TButton* Button = nullptr;
  int Clicks = 0;
};

TEST_F(ButtonTest, PressAndReleaseInsideClicksAndTakesTheFocus) {
  ShowForm();
  Headless->MoveMouse(Centre(Button));
  Headless->PressMouse(MouseButton::Left);
  App->ProcessMessages();
  EXPECT_TRUE(Button->Pressed());
  EXPECT_TRUE(Button->Focused());
  EXPECT_EQ(Clicks, 0);
  Headless->ReleaseMouse(MouseButton::Left);
  App->ProcessMessages();
  EXPECT_FALSE(Button->Pressed());
  EXPECT_EQ(Clicks, 1);
}

TEST_F(ButtonTest, ReleaseOutsideIsNoClickAndTheLookFollowsThePointer) {
  ShowForm();
  Headless->MoveMouse(Centre(Button));
  Headless->PressMouse(MouseButton::Left);
  App->ProcessMessages();
  Headless->MoveMouse(Outside());
  App->ProcessMessages();
  EXPECT_FALSE(Button->Pressed());
  Headless->MoveMouse(Centre(Button));
  App->ProcessMessages();
  EXPECT_TRUE(Button->Pressed());
  Headless->MoveMouse(Outside());
  Headless->ReleaseMouse(MouseButton::Left);
  App->ProcessMessages();
  EXPECT_EQ(Clicks, 0);
  EXPECT_FALSE(Button->Pressed());
}

TEST_F(ButtonTest, SpaceClicksOnReleaseAndEnterClicksTheFocusedButton) {
  ShowForm();
  Button->SetFocus();
  App->ProcessMessages();
  Headless->PressKey(VK_SPACE);
  App->ProcessMessages();
  EXPECT_TRUE(Button->Pressed());
  EXPECT_EQ(Clicks, 0);
  Headless->ReleaseKey(VK_SPACE);
  App->ProcessMessages();
  EXPECT_EQ(Clicks, 1);
  Stroke(VK_RETURN);
  EXPECT_EQ(Clicks, 2);
}

TEST_F(ButtonTest, DefaultAndCancelButtonsAnswerEnterAndEscape) {
  auto* edit = Add<TEdit>(Form, {10, 50, 110, 71});
  auto* cancel = Add<TButton>(Form, {100, 10, 175, 35});
  Button->SetDefault(true);
  cancel->SetCancel(true);
  cancel->SetModalResult(mrCancel);
  int cancels = 0;
  cancel->OnClick = [&](core::TComponent*) { ++cancels; };
  ShowForm();
  edit->SetFocus();
  App->ProcessMessages();
  EXPECT_TRUE(Button->Active());
  Stroke(VK_RETURN);
  EXPECT_EQ(Clicks, 1);
  Stroke(VK_ESCAPE);
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(Form->ModalResult(), mrCancel);
  // With the focus on another button, Enter is that button's.
  cancel->SetFocus();
  App->ProcessMessages();
  EXPECT_FALSE(Button->Active());
  Stroke(VK_RETURN);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(cancels, 2);
}

TEST_F(ButtonTest, ModalResultEndsAModalForm) {
  Button->SetModalResult(mrOk);
  TForm* dialog = App->CreateForm<TForm>();
  dialog->SetBounds(200, 200, 200, 100);
  auto* ok = core::Create<TButton>(*dialog);
  ok->SetParent(dialog);
  ok->SetBounds(10, 10, 75, 25);
  ok->SetModalResult(mrOk);
  ok->SetDefault(true);
  // Enter arrives once the dialog runs its own loop.
  Headless->SetWaitClock(platform::headless::WaitClock::AdvanceOnWait);
  UINT_PTR timer = SetTimer(nullptr, 0, 10, [this](HWND, UINT, UINT_PTR id, std::uint32_t) {
    KillTimer(nullptr, id);
    Headless->StrokeKey(VK_RETURN);
  });
  EXPECT_NE(timer, 0u);
  EXPECT_EQ(dialog->ShowModal(), mrOk);
}

TEST_F(ButtonTest, TheCaptionsAcceleratorClicks) {
  auto* other = Add<TButton>(Form, {100, 10, 175, 35});
  ShowForm();
  other->SetFocus();
  App->ProcessMessages();
  Stroke('G');
  EXPECT_EQ(Clicks, 1);
  EXPECT_TRUE(Button->Focused());
}

TEST_F(ButtonTest, PaintsTheClassicFaceWithAFocusRectangle) {
  auto* other = Add<TButton>(Form, {100, 10, 175, 35});
  ShowForm();
  other->SetFocus();
  App->ProcessMessages();
  gfx::Point corner = Button->ClientToScreen(gfx::Point{0, 0});
  gfx::Point focusCorner = Button->ClientToScreen(gfx::Point{4, 4});
  EXPECT_EQ(ScreenPixel(corner.X, corner.Y), PixelOf(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(ScreenPixel(focusCorner.X, focusCorner.Y), PixelOf(ColorToRGB(clBtnFace)));
  Button->SetFocus();
  App->ProcessMessages();
  // Focused, it is the default look (a dark ring) with the dotted frame.
  EXPECT_EQ(ScreenPixel(corner.X, corner.Y), PixelOf(ColorToRGB(cl3DDkShadow)));
  EXPECT_EQ(ScreenPixel(focusCorner.X, focusCorner.Y), PixelOf(ColorToRGB(clBtnText)));
}

TEST_F(ButtonTest, AClickHandlerMayFreeTheButton) {
  ShowForm();
  Button->OnClick = [](core::TComponent* sender) { sender->Free(); };
  ClickOn(Button);
  EXPECT_EQ(Form->ControlCount(), 0);

  auto* second = Add<TButton>(Form, {10, 10, 85, 35});
  second->OnClick = [](core::TComponent* sender) { sender->Free(); };
  second->SetFocus();
  App->ProcessMessages();
  Headless->StrokeKey(VK_SPACE);
  App->ProcessMessages();
  EXPECT_EQ(Form->ControlCount(), 0);

  auto* third = Add<TButton>(Form, {10, 10, 85, 35});
  third->SetDefault(true);
  third->OnClick = [](core::TComponent* sender) { sender->Free(); };
  auto* edit = Add<TEdit>(Form, {10, 50, 110, 71});
  edit->SetFocus();
  App->ProcessMessages();
  Stroke(VK_RETURN);
  EXPECT_EQ(Form->ControlCount(), 1);
  EXPECT_TRUE(IsWindow(Form->Handle()));
}

// ---- Check box and radio button ----

class CheckBoxTest : public FormTest {};

TEST_F(CheckBoxTest, AClickTogglesAndRaisesOnClick) {
  TForm* form = MakeForm();
  auto* box = Add<TCheckBox>(form, {10, 10, 160, 35});
  box->SetCaption("Hide silent hosts");
  std::vector<bool> seen;
  box->OnClick = [&](core::TComponent*) { seen.push_back(box->Checked()); };
  form->Show();
  App->ProcessMessages();
  ClickOn(box);
  ClickOn(box);
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  EXPECT_TRUE(box->Focused());
  // Space toggles on its release.
  Headless->PressKey(VK_SPACE);
  App->ProcessMessages();
  EXPECT_FALSE(box->Checked());
  Headless->ReleaseKey(VK_SPACE);
  App->ProcessMessages();
  EXPECT_TRUE(box->Checked());
}

TEST_F(CheckBoxTest, ReleaseOutsideDoesNotToggle) {
  TForm* form = MakeForm();
  auto* box = Add<TCheckBox>(form, {10, 10, 160, 35});
  form->Show();
  App->ProcessMessages();
  Headless->MoveMouse(Centre(box));
  Headless->PressMouse(MouseButton::Left);
  Headless->MoveMouse(box->ClientToScreen(gfx::Point{200, 100}));
  Headless->ReleaseMouse(MouseButton::Left);
  App->ProcessMessages();
  EXPECT_FALSE(box->Checked());
}

TEST_F(CheckBoxTest, ProgramChangesRaiseOnClickOnlyWhenTheStateChanges) {
  TForm* form = MakeForm();
  auto* box = Add<TCheckBox>(form, {10, 10, 160, 35});
  int clicks = 0;
  box->OnClick = [&](core::TComponent*) { ++clicks; };
  box->SetChecked(true);
  box->SetChecked(true);
  box->SetChecked(false);
  EXPECT_EQ(clicks, 2);
}

TEST_F(CheckBoxTest, AllowGrayedAddsTheThirdState) {
  TForm* form = MakeForm();
  auto* box = Add<TCheckBox>(form, {10, 10, 160, 35});
  box->SetAllowGrayed(true);
  form->Show();
  App->ProcessMessages();
  std::vector<TCheckBoxState> states;
  for (int i = 0; i < 3; ++i) {
    ClickOn(box);
    states.push_back(box->State());
  }
  EXPECT_EQ(states, (std::vector<TCheckBoxState>{cbChecked, cbGrayed, cbUnchecked}));
  EXPECT_EQ(box->Perform(BM_GETCHECK, 0, 0), LRESULT(BST_UNCHECKED));
}

TEST_F(CheckBoxTest, TheTickIsDrawnInTheBox) {
  TForm* form = MakeForm();
  auto* box = Add<TCheckBox>(form, {10, 10, 160, 27});
  form->Show();
  App->ProcessMessages();
  // The box is 13 pixels square, vertically centred; the tick's lowest
  // pixel lies in its third column.
  gfx::Point tick = box->ClientToScreen(gfx::Point{2 + 1 + 2, 2 + 1 + 4 + 2});
  EXPECT_EQ(ScreenPixel(tick.X, tick.Y), PixelOf(ColorToRGB(clWindow)));
  box->SetChecked(true);
  App->ProcessMessages();
  EXPECT_EQ(ScreenPixel(tick.X, tick.Y), PixelOf(ColorToRGB(clWindowText)));
}

TEST_F(CheckBoxTest, RadioButtonsOfOneParentExcludeEachOther) {
  TForm* form = MakeForm();
  auto* first = Add<TRadioButton>(form, {10, 10, 120, 27});
  auto* second = Add<TRadioButton>(form, {10, 40, 120, 57});
  std::vector<std::string> clicks;
  first->OnClick = [&](core::TComponent*) { clicks.push_back("first"); };
  second->OnClick = [&](core::TComponent*) { clicks.push_back("second"); };
  form->Show();
  App->ProcessMessages();
  ClickOn(first);
  ClickOn(second);
  EXPECT_TRUE(second->Checked());
  EXPECT_FALSE(first->Checked());
  // A checked radio button stays checked and says nothing.
  ClickOn(second);
  EXPECT_EQ(clicks, (std::vector<std::string>{"first", "second"}));
}

TEST_F(CheckBoxTest, ARadioButtonIsASunkenRingWithADotWhenChecked) {
  TForm* form = MakeForm();
  // 17 pixels high: the 13-pixel box starts 2 pixels down.
  auto* radio = Add<TRadioButton>(form, {10, 10, 120, 27});
  form->Show();
  App->ProcessMessages();
  auto at = [&](int x, int y) {
    gfx::Point p = radio->ClientToScreen(gfx::Point{x, 2 + y});
    return ScreenPixel(p.X, p.Y);
  };
  // Outer ring: shadow above, highlight below; inner ring: dark shadow
  // above, light below; the well in the window colour.
  EXPECT_EQ(at(5, 0), PixelOf(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(at(5, 11), PixelOf(ColorToRGB(clBtnHighlight)));
  EXPECT_EQ(at(5, 1), PixelOf(ColorToRGB(cl3DDkShadow)));
  EXPECT_EQ(at(5, 10), PixelOf(ColorToRGB(cl3DLight)));
  EXPECT_EQ(at(5, 5), PixelOf(ColorToRGB(clWindow)));
  // Outside the ring the face shows.
  EXPECT_EQ(at(0, 0), PixelOf(ColorToRGB(clBtnFace)));
  radio->SetChecked(true);
  App->ProcessMessages();
  EXPECT_EQ(at(5, 5), PixelOf(ColorToRGB(clWindowText)));
  EXPECT_EQ(at(4, 4), PixelOf(ColorToRGB(clWindow))) << "the dot's corners are cut";
  radio->SetEnabled(false);
  App->ProcessMessages();
  EXPECT_EQ(at(5, 5), PixelOf(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(at(3, 5), PixelOf(ColorToRGB(clBtnFace)));
}

TEST_F(CheckBoxTest, AnOnClickHandlerMayFreeTheBox) {
  TForm* form = MakeForm();
  auto* box = Add<TCheckBox>(form, {10, 10, 160, 35});
  box->OnClick = [](core::TComponent* sender) { sender->Free(); };
  form->Show();
  App->ProcessMessages();
  ClickOn(box);
  EXPECT_EQ(form->ControlCount(), 0);
}

TEST_F(CheckBoxTest, GroupBoxLeavesRoomForItsCaption) {
  TForm* form = MakeForm();
  auto* group = Add<TGroupBox>(form, {10, 10, 210, 110});
  group->SetCaption("Scan");
  auto* inner = core::Create<TEdit>(*App->MainForm());
  inner->SetParent(group);
  inner->SetAlign(alClient);
  form->Show();
  App->ProcessMessages();
  int captionHeight = gfx::MeasureFont(group->Font()->ToGfxFont()).Height;
  EXPECT_EQ(inner->BoundsRect(), (gfx::Rect{2, captionHeight + 2, 198, 98}));
}

}  // namespace
}  // namespace ui::testing
