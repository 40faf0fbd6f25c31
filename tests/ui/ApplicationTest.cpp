#include <gtest/gtest.h>

#include <stdexcept>

#include "FormTestSupport.h"
#include "core/Exception.h"
#include "ui/classlib/Dialogs.h"
#include "ui/classlib/ExtCtrls.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui::testing {
namespace {

using platform::VK_RETURN;

// What a modal box showed while it was up.
struct SeenBox {
  std::string Caption;
  std::vector<std::string> Buttons;
};

class ApplicationTest : public FormTest {
 protected:
  // Records every form that becomes active while it is the box of a modal
  // loop (the box is gone by the time the test looks).
  void WatchBoxes() {
    Screen->OnActiveFormChange = [this](core::TComponent*) {
      TCustomForm* form = Screen->ActiveForm();
      if (!form || !form->FormState().Contains(fsModal)) return;
      SeenBox box{form->Caption(), {}};
      for (int i = 0; i < form->ControlCount(); ++i) box.Buttons.push_back(form->Controls(i)->Caption());
      Boxes.push_back(box);
    };
  }
  std::vector<SeenBox> Boxes;
};

TEST_F(ApplicationTest, ErrorInAClickHandlerShowsTheErrorBoxAndTheLoopGoesOn) {
  TForm* form = MakeForm();
  auto* probe = Add<TProbeControl>(form, {10, 10, 110, 40});
  int clicks = 0;
  probe->OnClick = [&](core::TComponent*) {
    ++clicks;
    throw core::EConvertError("'abc' is not a valid integer value");
  };
  form->Show();
  App->ProcessMessages();
  WatchBoxes();

  // The click throws; the box comes up and Enter closes it.
  Headless->Click(Centre(probe));
  Headless->StrokeKey(VK_RETURN);
  App->ProcessMessages();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Caption, "Ostvane");
  EXPECT_EQ(Boxes[0].Buttons, (std::vector<std::string>{"OK"}));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Screen->FormCount(), 1) << "the box is gone";
  EXPECT_EQ(Screen->ActiveForm(), form);

  // The program goes on: the next click runs the handler again (later
  // than a double click).
  Headless->AdvanceClock(1000);
  Headless->Click(Centre(probe));
  Headless->StrokeKey(VK_RETURN);
  App->ProcessMessages();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(Boxes.size(), 2u);
}

// A push button's handler failing, by mouse and by the Space key: the
// button is released, the box shows, and the same button works after.
TEST_F(ApplicationTest, AFailingButtonHandlerLeavesTheButtonUsable) {
  TForm* form = MakeForm();
  auto* button = Add<TButton>(form, {10, 10, 110, 40});
  button->SetCaption("Go");
  auto* other = Add<TButton>(form, {10, 50, 110, 80});
  int clicks = 0;
  int otherClicks = 0;
  button->OnClick = [&](core::TComponent*) {
    ++clicks;
    if (clicks < 3) throw std::runtime_error("no network");
  };
  other->OnClick = [&](core::TComponent*) { ++otherClicks; };
  form->Show();
  App->ProcessMessages();
  WatchBoxes();

  Headless->Click(Centre(button));
  Headless->StrokeKey(VK_RETURN);
  App->ProcessMessages();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Caption, "Ostvane");
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(GetCapture(), nullptr);
  // Another control takes clicks at once.
  Headless->AdvanceClock(1000);
  Headless->Click(Centre(other));
  App->ProcessMessages();
  EXPECT_EQ(otherClicks, 1);

  button->SetFocus();
  App->ProcessMessages();
  // The box comes up on the key's release and Enter closes it.
  Headless->StrokeKey(platform::VK_SPACE);
  Headless->StrokeKey(VK_RETURN);
  App->ProcessMessages();
  EXPECT_EQ(Boxes.size(), 2u);
  EXPECT_FALSE(button->Pressed());
  Stroke(platform::VK_SPACE);
  EXPECT_EQ(clicks, 3);
  EXPECT_EQ(Boxes.size(), 2u);
  EXPECT_EQ(Screen->ActiveForm(), form);
}

TEST_F(ApplicationTest, OnExceptionReplacesTheBox) {
  TForm* form = MakeForm();
  auto* probe = Add<TProbeControl>(form, {10, 10, 110, 40});
  probe->OnClick = [&](core::TComponent*) { throw std::runtime_error("disk full"); };
  std::vector<std::string> errors;
  core::TComponent* sender = nullptr;
  App->OnException = [&](core::TComponent* s, const std::exception& e) {
    sender = s;
    errors.push_back(e.what());
  };
  form->Show();
  App->ProcessMessages();
  WatchBoxes();
  ClickOn(probe);
  EXPECT_EQ(errors, (std::vector<std::string>{"disk full"}));
  EXPECT_EQ(sender, probe);
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(ApplicationTest, RunEndsWhenTheMainFormCloses) {
  TForm* form = MakeForm();
  bool closed = false;
  form->OnClose = [&](core::TComponent*, TCloseAction&) { closed = true; };
  form->Show();
  App->ProcessMessages();
  // Alt+F4 on the main form: the close request ends the loop.
  Headless->PressKey(platform::VK_MENU);
  Headless->StrokeKey(platform::VK_F4);
  Headless->ReleaseKey(platform::VK_MENU);
  App->Run();
  EXPECT_TRUE(closed);
  EXPECT_TRUE(App->Terminated());
  EXPECT_TRUE(form->Visible());
}

TEST_F(ApplicationTest, CloseQueryCanRefuseAndCloseActionDecides) {
  TForm* main = MakeForm();
  TForm* other = App->CreateForm<TForm>();
  main->Show();
  other->Show();
  bool allow = false;
  other->OnCloseQuery = [&](core::TComponent*, bool& canClose) { canClose = allow; };
  other->Close();
  EXPECT_TRUE(other->Visible());
  allow = true;
  other->Close();
  EXPECT_FALSE(other->Visible()) << "caHide by default";
  other->Show();
  other->OnClose = [](core::TComponent*, TCloseAction& action) { action = caFree; };
  other->Close();
  App->ProcessMessages();
  EXPECT_EQ(Screen->FormCount(), 1) << "caFree releases the form";
  EXPECT_FALSE(App->Terminated());
}

TEST_F(ApplicationTest, ProcessMessagesWithinAHandlerKeepsTheWindowAlive) {
  // The scan's pattern: a long handler that lets the loop run between
  // steps, and a second button that stops it.
  TForm* form = MakeForm();
  auto* start = Add<TProbeControl>(form, {10, 10, 110, 40});
  auto* stop = Add<TProbeControl>(form, {10, 50, 110, 80});
  bool stopRequested = false;
  int steps = 0;
  stop->OnClick = [&](core::TComponent*) { stopRequested = true; };
  start->OnClick = [&](core::TComponent*) {
    while (!stopRequested && steps < 100) {
      ++steps;
      if (steps == 3) Headless->Click(Centre(stop));
      App->ProcessMessages();
    }
  };
  form->Show();
  App->ProcessMessages();
  ClickOn(start);
  EXPECT_TRUE(stopRequested);
  EXPECT_EQ(steps, 3);
}

TEST_F(ApplicationTest, HooksSeeTheApplicationWindowsMessagesFirst) {
  std::vector<UINT> seen;
  int id = App->HookMainWindow([&](TMessage& message) {
    seen.push_back(message.Msg);
    return message.Msg == WM_USER;
  });
  MakeForm()->Show();
  App->Minimize();
  SendMessage(App->Handle(), WM_USER, 0, 0);
  App->UnhookMainWindow(id);
  SendMessage(App->Handle(), WM_USER + 1, 0, 0);
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen[0], UINT(WM_SIZE));
  EXPECT_EQ(seen.back(), UINT(WM_USER));
  EXPECT_EQ(App->MainForm()->WindowState(), wsMinimized);
}

TEST_F(ApplicationTest, TimerTicksWithTheClockWhileEnabled) {
  TForm* form = MakeForm();
  auto* timer = core::Create<TTimer>(*form);
  int ticks = 0;
  timer->SetInterval(100);
  timer->SetOnTimer([&](core::TComponent* sender) {
    EXPECT_EQ(sender, timer);
    ++ticks;
  });
  App->ProcessMessages();
  EXPECT_EQ(ticks, 0);
  Headless->AdvanceClock(99);
  App->ProcessMessages();
  EXPECT_EQ(ticks, 0);
  Headless->AdvanceClock(1);
  App->ProcessMessages();
  EXPECT_EQ(ticks, 1);
  // Several periods while busy give one tick.
  Headless->AdvanceClock(350);
  App->ProcessMessages();
  EXPECT_EQ(ticks, 2);
  timer->SetEnabled(false);
  Headless->AdvanceClock(500);
  App->ProcessMessages();
  EXPECT_EQ(ticks, 2);
  // A handler that frees its timer.
  timer->SetEnabled(true);
  timer->SetOnTimer([&](core::TComponent* sender) {
    ++ticks;
    sender->Free();
  });
  Headless->AdvanceClock(100);
  App->ProcessMessages();
  Headless->AdvanceClock(100);
  App->ProcessMessages();
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(form->ComponentCount(), 0);
}

}  // namespace
}  // namespace ui::testing
