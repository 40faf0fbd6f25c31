#include <gtest/gtest.h>

#include <stdexcept>

#include "FormTestSupport.h"
#include "core/Exception.h"

namespace ui::testing {
namespace {

using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_TAB;
using platform::VK_UP;

class ControlInputTest : public FormTest {};

TEST_F(ControlInputTest, ClickRaisesMouseDownClickMouseUpInOrder) {
  TForm* form = MakeForm();
  auto* probe = Add<TProbeControl>(form, {10, 10, 110, 40});
  std::vector<std::string> events;
  probe->OnMouseDown = [&](core::TComponent* sender, TMouseButton button, TShiftState shift, int x, int y) {
    EXPECT_EQ(sender, probe);
    EXPECT_EQ(button, mbLeft);
    EXPECT_TRUE(shift.Contains(ssLeft));
    events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
  };
  probe->OnClick = [&](core::TComponent*) { events.push_back("click"); };
  probe->OnMouseUp = [&](core::TComponent*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
  form->Show();
  App->ProcessMessages();
  ClickOn(probe);
  EXPECT_EQ(events, (std::vector<std::string>{"down 50,15", "click", "up"}));
}

TEST_F(ControlInputTest, ReleaseOutsideTheControlIsNoClick) {
  TForm* form = MakeForm();
  auto* probe = Add<TProbeControl>(form, {10, 10, 110, 40});
  int clicks = 0;
  probe->OnClick = [&](core::TComponent*) { ++clicks; };
  form->Show();
  App->ProcessMessages();
  Headless->MoveMouse(Centre(probe));
  Headless->PressMouse(platform::MouseButton::Left);
  App->ProcessMessages();
  EXPECT_TRUE(probe->MouseCapture());
  Headless->MoveMouse(probe->ClientToScreen(gfx::Point{200, 100}));
  Headless->ReleaseMouse(platform::MouseButton::Left);
  App->ProcessMessages();
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(probe->MouseCapture());
}

TEST_F(ControlInputTest, HandlerMayDestroyItsSender) {
  TForm* form = MakeForm();
  auto* probe = Add<TProbeControl>(form, {10, 10, 110, 40});
  auto* swatch = Add<TSwatch>(form, {10, 60, 110, 90});
  bool mouseUpAfterFree = false;
  probe->OnClick = [&](core::TComponent* sender) { sender->Free(); };
  probe->OnMouseUp = [&](core::TComponent*, TMouseButton, TShiftState, int, int) { mouseUpAfterFree = true; };
  swatch->OnClick = [&](core::TComponent* sender) { sender->Free(); };
  swatch->OnMouseUp = [&](core::TComponent*, TMouseButton, TShiftState, int, int) { mouseUpAfterFree = true; };
  form->Show();
  App->ProcessMessages();
  gfx::Point probeCentre = Centre(probe);
  gfx::Point swatchCentre = Centre(swatch);
  Headless->Click(probeCentre);
  App->ProcessMessages();
  EXPECT_EQ(form->ControlCount(), 1);
  Headless->Click(swatchCentre);
  App->ProcessMessages();
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_FALSE(mouseUpAfterFree);
  // The form goes on working.
  Headless->Click(swatchCentre);
  App->ProcessMessages();
  EXPECT_TRUE(IsWindow(form->Handle()));
}

TEST_F(ControlInputTest, WindowlessChildIsPaintedByItsParentClippedToItsBounds) {
  TForm* form = MakeForm(200, 100);
  auto* swatch = Add<TSwatch>(form, {20, 10, 60, 30});
  swatch->PaintColor = clRed;
  form->Show();
  App->ProcessMessages();
  EXPECT_GE(swatch->Paints, 1);
  gfx::Point inside = swatch->ClientToScreen(gfx::Point{0, 0});
  gfx::Point lastInside = swatch->ClientToScreen(gfx::Point{39, 19});
  gfx::Point leftOf = swatch->ClientToScreen(gfx::Point{-1, 0});
  gfx::Point below = swatch->ClientToScreen(gfx::Point{0, 20});
  EXPECT_EQ(ScreenPixel(inside.X, inside.Y), gfx::MakePixel(255, 0, 0));
  EXPECT_EQ(ScreenPixel(lastInside.X, lastInside.Y), gfx::MakePixel(255, 0, 0));
  EXPECT_EQ(ScreenPixel(leftOf.X, leftOf.Y), PixelOf(ColorToRGB(clBtnFace)));
  EXPECT_EQ(ScreenPixel(below.X, below.Y), PixelOf(ColorToRGB(clBtnFace)));

  // Moving it repaints both places.
  swatch->SetLeft(100);
  App->ProcessMessages();
  EXPECT_EQ(ScreenPixel(inside.X, inside.Y), PixelOf(ColorToRGB(clBtnFace)));
  gfx::Point moved = swatch->ClientToScreen(gfx::Point{0, 0});
  EXPECT_EQ(ScreenPixel(moved.X, moved.Y), gfx::MakePixel(255, 0, 0));
}

TEST_F(ControlInputTest, MouseEnterAndLeaveFollowThePointerOverWindowlessAndWindowedControls) {
  TForm* form = MakeForm(300, 200);
  auto* probe = Add<TProbeControl>(form, {10, 10, 110, 40});
  auto* swatch = Add<TSwatch>(form, {10, 60, 110, 90});
  std::vector<std::string> swatchEvents;
  swatch->OnMouseEnter = [&](core::TComponent*) { swatchEvents.push_back("enter"); };
  swatch->OnMouseLeave = [&](core::TComponent*) { swatchEvents.push_back("leave"); };
  form->Show();
  App->ProcessMessages();
  Headless->MoveMouse(Centre(probe));
  App->ProcessMessages();
  Headless->MoveMouse(Centre(swatch));
  App->ProcessMessages();
  Headless->MoveMouse(swatch->ClientToScreen(gfx::Point{0, 50}));
  App->ProcessMessages();
  std::erase(probe->Events, "focus");
  EXPECT_EQ(probe->Events, (std::vector<std::string>{"enter-mouse", "leave-mouse"}));
  EXPECT_EQ(swatchEvents, (std::vector<std::string>{"enter", "leave"}));
  EXPECT_EQ(GetMouseControl(), form);
}

class FormFocusTest : public FormTest {
 protected:
  // a (tab 2), b (tab 0), c (tab 1) on the form; d and e in a group.
  void SetUp() override {
    form = MakeForm(300, 200);
    a = Add<TProbeControl>(form, {10, 10, 60, 30});
    b = Add<TProbeControl>(form, {10, 40, 60, 60});
    c = Add<TProbeControl>(form, {10, 70, 60, 90});
    group = Add<TProbeControl>(form, {100, 10, 290, 190});
    d = Add<TProbeControl>(group, {10, 10, 60, 30});
    e = Add<TProbeControl>(group, {10, 40, 60, 60});
    group->SetTabStop(false);
    a->SetTabOrder(2);
    b->SetTabOrder(0);
    c->SetTabOrder(1);
  }
  TWinControl* Focus() const { return FindControl(GetFocus()); }

  TForm* form = nullptr;
  TProbeControl* a = nullptr;
  TProbeControl* b = nullptr;
  TProbeControl* c = nullptr;
  TProbeControl* group = nullptr;
  TProbeControl* d = nullptr;
  TProbeControl* e = nullptr;
};

TEST_F(FormFocusTest, ShowingFocusesTheFirstControlInTabOrder) {
  EXPECT_EQ(a->TabOrder(), 2);
  EXPECT_EQ(b->TabOrder(), 0);
  form->Show();
  App->ProcessMessages();
  EXPECT_EQ(Focus(), b);
  EXPECT_EQ(form->ActiveControl(), b);
  EXPECT_EQ(b->Events, (std::vector<std::string>{"focus"}));
}

TEST_F(FormFocusTest, TabAndShiftTabFollowTheTabOrderAcrossGroupsAndWrap) {
  form->Show();
  App->ProcessMessages();
  std::vector<TWinControl*> order;
  for (int i = 0; i < 6; ++i) {
    order.push_back(Focus());
    Stroke(VK_TAB);
  }
  EXPECT_EQ(order, (std::vector<TWinControl*>{b, c, a, d, e, b}));
  EXPECT_EQ(Focus(), c);
  StrokeShifted(VK_TAB);
  EXPECT_EQ(Focus(), b);
  StrokeShifted(VK_TAB);
  EXPECT_EQ(Focus(), e);
  StrokeShifted(VK_TAB);
  EXPECT_EQ(Focus(), d);
  // The Tab key never reaches the controls' own key events.
  EXPECT_TRUE(d->KeysDown.empty());
  EXPECT_TRUE(d->Typed.empty());
}

TEST_F(FormFocusTest, ArrowsMoveWithinTheGroupOnly) {
  form->Show();
  App->ProcessMessages();
  d->SetFocus();
  Stroke(VK_DOWN);
  EXPECT_EQ(Focus(), e);
  Stroke(VK_DOWN);
  EXPECT_EQ(Focus(), d);
  Stroke(VK_UP);
  EXPECT_EQ(Focus(), e);
  // A control that wants the arrows keeps them.
  e->DialogCode = DLGC_WANTARROWS;
  Stroke(VK_RIGHT);
  EXPECT_EQ(Focus(), e);
  EXPECT_EQ(e->KeysDown, (std::vector<int>{VK_RIGHT}));
}

TEST_F(FormFocusTest, TabSkipsHiddenDisabledAndNonTabStopControls) {
  form->Show();
  App->ProcessMessages();
  c->SetEnabled(false);
  a->SetVisible(false);
  e->SetTabStop(false);
  std::vector<TWinControl*> order;
  for (int i = 0; i < 3; ++i) {
    order.push_back(Focus());
    Stroke(VK_TAB);
  }
  EXPECT_EQ(order, (std::vector<TWinControl*>{b, d, b}));
}

TEST_F(FormFocusTest, HidingTheFocusedControlMovesTheFocusToTheForm) {
  form->Show();
  App->ProcessMessages();
  EXPECT_EQ(Focus(), b);
  b->SetVisible(false);
  EXPECT_EQ(GetFocus(), form->Handle());
  EXPECT_EQ(form->ActiveControl(), nullptr);
  // Tab starts over from the first control that can take it.
  Stroke(VK_TAB);
  EXPECT_EQ(Focus(), c);
}

TEST_F(FormFocusTest, EnterAndEscapeReachTheDefaultAndCancelControls) {
  a->Default = true;
  d->Cancel = true;
  int aClicks = 0;
  int dClicks = 0;
  a->OnClick = [&](core::TComponent*) { ++aClicks; };
  d->OnClick = [&](core::TComponent*) { ++dClicks; };
  form->Show();
  App->ProcessMessages();
  Stroke(VK_RETURN);
  Stroke(VK_ESCAPE);
  EXPECT_EQ(aClicks, 1);
  EXPECT_EQ(dClicks, 1);
  // The focused control saw neither key nor their characters.
  EXPECT_TRUE(b->KeysDown.empty());
  EXPECT_TRUE(b->Typed.empty());
  // A control that wants every key gets Enter itself.
  b->DialogCode = DLGC_WANTALLKEYS;
  Stroke(VK_RETURN);
  EXPECT_EQ(aClicks, 1);
  EXPECT_EQ(b->KeysDown, (std::vector<int>{VK_RETURN}));
  EXPECT_EQ(b->Typed, U"\r");
}

// The character of a key the form took belongs to that keystroke only: a
// keystroke whose character never comes (only the key-down was sent, or
// the key makes none) must not eat the next character typed.
TEST_F(FormFocusTest, ADialogKeySwallowsOnlyItsOwnCharacter) {
  a->Default = true;
  d->Cancel = true;
  form->Show();
  App->ProcessMessages();
  ASSERT_EQ(Focus(), b);

  // Enter as a key-down alone, then text from an input method.
  Headless->PressKey(VK_RETURN);
  App->ProcessMessages();
  Headless->TypeText("x");
  App->ProcessMessages();
  Headless->ReleaseKey(VK_RETURN);
  App->ProcessMessages();
  EXPECT_EQ(a->Events, (std::vector<std::string>{"enter"}));
  EXPECT_EQ(b->Typed, U"x");

  // Escape pressed and released without a character, then text.
  Headless->PressKey(VK_ESCAPE);
  Headless->ReleaseKey(VK_ESCAPE);
  Headless->TypeText("\ry");
  App->ProcessMessages();
  EXPECT_EQ(d->Events, (std::vector<std::string>{"escape"}));
  EXPECT_EQ(b->Typed, U"x\ry");

  // An arrow that moves the focus makes no character to swallow.
  d->SetFocus();
  Headless->PressKey(VK_DOWN);
  App->ProcessMessages();
  ASSERT_EQ(Focus(), e);
  Headless->TypeText("q");
  Headless->ReleaseKey(VK_DOWN);
  App->ProcessMessages();
  EXPECT_EQ(e->Typed, U"q");

  // A full stroke still loses its own character, on the control that has
  // the focus when it comes.
  Stroke(VK_TAB);
  EXPECT_EQ(Focus(), b);
  Stroke(VK_RETURN);
  EXPECT_EQ(b->Typed, U"x\ry");
  EXPECT_EQ(a->Events, (std::vector<std::string>{"enter", "enter"}));
}

TEST_F(FormFocusTest, AShortCutSwallowsItsCharacterButNotTheNextOne) {
  int taken = 0;
  form->OnShortCut = [&](TMessage& message, bool& handled) {
    if (message.WParam == 'S' && KeyboardShiftState().Contains(ssCtrl)) {
      ++taken;
      handled = true;
    }
  };
  form->Show();
  App->ProcessMessages();
  // The character of Ctrl+S may come as the letter or as its control code.
  Headless->PressKey(platform::VK_CONTROL);
  Headless->StrokeKey('S');
  Headless->PressKey('S');
  Headless->TypeText("\x13");
  Headless->ReleaseKey('S');
  Headless->ReleaseKey(platform::VK_CONTROL);
  App->ProcessMessages();
  EXPECT_EQ(taken, 2);
  EXPECT_EQ(b->Typed, U"");
  // A key-down of the shortcut whose character never comes.
  Headless->PressKey(platform::VK_CONTROL);
  Headless->PressKey('S');
  App->ProcessMessages();
  Headless->ReleaseKey(platform::VK_CONTROL);
  Headless->TypeText("k");
  App->ProcessMessages();
  EXPECT_EQ(taken, 3);
  EXPECT_EQ(b->Typed, U"k");
}

TEST_F(FormFocusTest, KeyPreviewLetsTheFormSeeKeysFirst) {
  form->SetKeyPreview(true);
  std::vector<std::string> seen;
  form->OnKeyDown = [&](core::TComponent*, int& key, TShiftState) {
    seen.push_back("form");
    if (key == 'X') key = 0;
  };
  b->OnKeyDown = [&](core::TComponent*, int&, TShiftState) { seen.push_back("control"); };
  form->Show();
  App->ProcessMessages();
  Stroke('A');
  Stroke('X');
  EXPECT_EQ(seen, (std::vector<std::string>{"form", "control", "form"}));
}

TEST_F(FormFocusTest, ShortCutEventTakesKeysBeforeTheControl) {
  bool taken = false;
  form->OnShortCut = [&](TMessage& message, bool& handled) {
    if (message.WParam == 'S' && KeyboardShiftState().Contains(ssCtrl)) {
      taken = true;
      handled = true;
    }
  };
  form->Show();
  App->ProcessMessages();
  Headless->PressKey(platform::VK_CONTROL);
  Headless->StrokeKey('S');
  Headless->ReleaseKey(platform::VK_CONTROL);
  App->ProcessMessages();
  EXPECT_TRUE(taken);
  EXPECT_TRUE(std::find(b->KeysDown.begin(), b->KeysDown.end(), 'S') == b->KeysDown.end());
}

TEST_F(FormFocusTest, OnExitAndOnEnterRunWhenTheFocusMoves) {
  std::vector<std::string> events;
  b->OnExit = [&](core::TComponent*) { events.push_back("b exit"); };
  c->OnEnter = [&](core::TComponent*) { events.push_back("c enter"); };
  form->Show();
  App->ProcessMessages();
  Stroke(VK_TAB);
  EXPECT_EQ(events, (std::vector<std::string>{"b exit", "c enter"}));
  a->SetEnabled(false);
  EXPECT_THROW(a->SetFocus(), core::EInvalidOperation);
  EXPECT_EQ(Focus(), c);
}

}  // namespace
}  // namespace ui::testing
