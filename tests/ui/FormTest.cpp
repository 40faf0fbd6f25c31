#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "core/Exception.h"
#include "ui/windowing/DefaultFrame.h"

namespace ui::testing {
namespace {

class FormBehaviourTest : public FormTest {};

TEST_F(FormBehaviourTest, ScreenCentredFormSitsInTheMiddleOfTheScreen) {
  TForm* form = MakeForm(688, 450);
  form->SetPosition(poScreenCenter);
  form->SetBounds(242, 177, form->Width(), form->Height());
  form->Show();
  gfx::Rect work = Screen->WorkAreaRect();
  EXPECT_EQ(work, (gfx::Rect{0, 0, 1024, 740}));
  // The whole screen, not the work area above the task bar.
  EXPECT_EQ(form->Left(), (1024 - form->Width()) / 2);
  EXPECT_EQ(form->Top(), (768 - form->Height()) / 2);
  EXPECT_EQ(form->ClientWidth(), 688);
  EXPECT_EQ(form->ClientHeight(), 450);
  gfx::Rect window;
  GetWindowRect(form->Handle(), window);
  EXPECT_EQ(window, form->BoundsRect());
  // Only the first showing places it.
  form->Hide();
  form->SetLeft(5);
  form->Show();
  EXPECT_EQ(form->Left(), 5);
}

TEST_F(FormBehaviourTest, DesignedPositionAndClientSizeBeforeTheWindowExists) {
  TForm* form = MakeForm(200, 100);
  form->SetBorderStyle(bsSingle);
  form->SetClientSize(200, 100);
  gfx::Rect predicted = form->ClientRect();
  form->Show();
  gfx::Rect actual;
  GetClientRect(form->Handle(), actual);
  EXPECT_EQ(predicted, actual);
  EXPECT_EQ(actual, (gfx::Rect{0, 0, 200, 100}));
}

TEST_F(FormBehaviourTest, BorderStyleAndIconsChooseTheWindowStyles) {
  TForm* form = MakeForm();
  form->Show();
  auto style = [&] { return DWORD(GetWindowLong(form->Handle(), GWL_STYLE)); };
  EXPECT_TRUE(style() & WS_THICKFRAME);
  EXPECT_TRUE(style() & WS_MAXIMIZEBOX);
  form->SetBorderIcons(TBorderIcons{});
  EXPECT_FALSE(style() & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_TRUE(IsWindowVisible(form->Handle())) << "re-created windows keep showing";
  form->SetBorderStyle(bsNone);
  EXPECT_EQ(style() & WS_CAPTION, 0u);
  EXPECT_EQ(form->ClientWidth(), form->Width());
  form->SetBorderStyle(bsDialog);
  EXPECT_TRUE(DWORD(GetWindowLong(form->Handle(), GWL_EXSTYLE)) & WS_EX_DLGMODALFRAME);
}

TEST_F(FormBehaviourTest, CaptionIsTheWindowTitle) {
  TForm* form = MakeForm();
  form->SetCaption("Ostvane V1.0");
  form->Show();
  EXPECT_EQ(Headless->Title(Native(form->Handle())), "Ostvane V1.0");
  form->SetCaption("扫描MAC地址");
  EXPECT_EQ(GetWindowText(form->Handle()), "扫描MAC地址");
}

TEST_F(FormBehaviourTest, ShowModalReturnsTheModalResultAndDisablesOtherForms) {
  TForm* main = MakeForm();
  main->Show();
  TForm* dialog = App->CreateForm<TForm>();
  auto* ok = Add<TProbeControl>(dialog, {10, 10, 80, 35});
  ok->OnClick = [&](core::TComponent*) { dialog->SetModalResult(mrOk); };
  bool mainDisabledMeanwhile = false;
  dialog->OnActivate = [&](core::TComponent*) {
    mainDisabledMeanwhile = !IsWindowEnabled(main->Handle());
    // The user clicks OK once the dialog is up.
    Headless->Click(Centre(ok));
  };
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_TRUE(mainDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(main->Handle()));
  EXPECT_FALSE(dialog->Visible());
  EXPECT_EQ(Screen->ActiveForm(), main);

  // Closing a modal form answers mrCancel.
  dialog->OnActivate = nullptr;
  dialog->OnShow = [&](core::TComponent*) { PostMessage(dialog->Handle(), WM_CLOSE, 0, 0); };
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  // A visible form cannot become modal.
  dialog->Show();
  EXPECT_THROW(dialog->ShowModal(), core::EInvalidOperation);
}

TEST_F(FormBehaviourTest, OnCloseQueryCanKeepAModalFormOpen) {
  TForm* dialog = MakeForm();
  int asked = 0;
  dialog->OnCloseQuery = [&](core::TComponent*, bool& canClose) { canClose = ++asked > 1; };
  dialog->OnShow = [&](core::TComponent*) {
    PostMessage(dialog->Handle(), WM_CLOSE, 0, 0);
    PostMessage(dialog->Handle(), WM_CLOSE, 0, 0);
  };
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
  EXPECT_EQ(asked, 2);
}

TEST_F(FormBehaviourTest, EventsOfShowingActivationAndHiding) {
  TForm* form = MakeForm();
  std::vector<std::string> events;
  form->OnShow = [&](core::TComponent*) { events.push_back("show"); };
  form->OnActivate = [&](core::TComponent*) { events.push_back("activate"); };
  form->OnDeactivate = [&](core::TComponent*) { events.push_back("deactivate"); };
  form->OnHide = [&](core::TComponent*) { events.push_back("hide"); };
  form->Show();
  TForm* other = App->CreateForm<TForm>();
  other->Show();
  form->Hide();
  EXPECT_EQ(events, (std::vector<std::string>{"show", "activate", "deactivate", "hide"}));
  EXPECT_TRUE(form->FormState().Contains(fsVisible) == false);
}

TEST_F(FormBehaviourTest, WindowStateMaximisesToTheWorkArea) {
  TForm* form = MakeForm();
  form->SetWindowState(wsMaximized);
  form->Show();
  EXPECT_EQ(form->WindowState(), wsMaximized);
  gfx::Rect window;
  GetWindowRect(form->Handle(), window);
  EXPECT_LE(window.Left, 0);
  EXPECT_GE(window.Right, 1024);
  form->SetWindowState(wsNormal);
  EXPECT_EQ(form->WindowState(), wsNormal);
}

TEST_F(FormBehaviourTest, ScreenListsFormsInCreationOrderOwnerFirstOnRequest) {
  TForm* first = MakeForm();
  TForm* second = App->CreateForm<TForm>();
  TForm* third = App->CreateForm<TForm>();
  auto* control = Add<TProbeControl>(second, {0, 0, 10, 10});
  ASSERT_EQ(Screen->FormCount(), 3);
  EXPECT_EQ(Screen->Forms(0), first);
  EXPECT_EQ(Screen->Forms(2), third);
  EXPECT_EQ(Screen->FormsOwnerFirst(second), (std::vector<TCustomForm*>{second, first, third}));
  auto* component = core::Create<core::TComponent>(*third);
  EXPECT_EQ(Screen->FormsOwnerFirst(component), (std::vector<TCustomForm*>{third, first, second}));
  EXPECT_EQ(Screen->FormsOwnerFirst(control), (std::vector<TCustomForm*>{second, first, third}));
  EXPECT_EQ(Screen->FormsOwnerFirst(nullptr), (std::vector<TCustomForm*>{first, second, third}));
  second->Free();
  EXPECT_FALSE(Screen->HasForm(second));
  EXPECT_EQ(Screen->FormCount(), 2);
}

TEST_F(FormBehaviourTest, ReplacedWindowProcSeesEveryMessageAndSurvivesRecreation) {
  // The skin frame's way in: it takes over the form's WindowProc.
  TForm* form = MakeForm();
  std::vector<UINT> seen;
  TWndMethod original = form->WindowProc();
  form->SetWindowProc([&](TMessage& message) {
    seen.push_back(message.Msg);
    original(message);
  });
  form->Show();
  form->RecreateWnd();
  seen.clear();
  InvalidateRect(form->Handle(), nullptr, true);
  App->ProcessMessages();
  EXPECT_NE(std::find(seen.begin(), seen.end(), UINT(WM_PAINT)), seen.end());
  EXPECT_EQ(form->Perform(WM_NULL), 0);
  EXPECT_EQ(seen.back(), UINT(WM_NULL));
  form->SetWindowProc(nullptr);
  seen.clear();
  form->Perform(WM_NULL);
  EXPECT_TRUE(seen.empty());
}

TEST_F(FormBehaviourTest, OnDestroyRunsWhenReleasedOrWhenTheApplicationEnds) {
  TForm* main = MakeForm();
  TForm* other = App->CreateForm<TForm>();
  std::vector<std::string> destroyed;
  main->OnDestroy = [&](core::TComponent*) { destroyed.push_back("main"); };
  other->OnDestroy = [&](core::TComponent*) { destroyed.push_back("other"); };
  other->Release();
  EXPECT_TRUE(destroyed.empty()) << "not before the messages already waiting";
  App->ProcessMessages();
  EXPECT_EQ(destroyed, (std::vector<std::string>{"other"}));
  App.reset();
  EXPECT_EQ(destroyed, (std::vector<std::string>{"other", "main"}));
  EXPECT_EQ(Application, nullptr);
  EXPECT_EQ(Screen, nullptr);
}

TEST_F(FormBehaviourTest, IconOfTheFormOrOfTheApplicationGoesToTheWindow) {
  gfx::Bitmap blue(16, 16);
  blue.Fill(gfx::MakePixel(0, 0, 255));
  App->Icon()->SetPicture(blue);
  TForm* form = MakeForm();
  form->Show();
  EXPECT_TRUE(Headless->Icon(Native(form->Handle())).SamePixels(blue));
  gfx::Bitmap red(32, 32);
  red.Fill(gfx::MakePixel(255, 0, 0));
  form->Icon()->SetPicture(red);
  EXPECT_TRUE(Headless->Icon(Native(form->Handle())).SamePixels(red));
}

TEST_F(FormBehaviourTest, OnMessageSeesQueuedMessagesAndMayTakeThem) {
  TForm* form = MakeForm();
  form->Show();
  int taken = 0;
  App->OnMessage = [&](TMsg& message, bool& handled) {
    if (message.Message == WM_USER + 5) {
      ++taken;
      handled = true;
    }
  };
  std::vector<UINT> reached;
  form->SetWindowProc([&, original = form->WindowProc()](TMessage& message) {
    reached.push_back(message.Msg);
    original(message);
  });
  PostMessage(form->Handle(), WM_USER + 5, 0, 0);
  PostMessage(form->Handle(), WM_USER + 6, 0, 0);
  App->ProcessMessages();
  EXPECT_EQ(taken, 1);
  EXPECT_EQ(std::count(reached.begin(), reached.end(), UINT(WM_USER + 5)), 0);
  EXPECT_EQ(std::count(reached.begin(), reached.end(), UINT(WM_USER + 6)), 1);
  form->SetWindowProc(nullptr);
}

TEST_F(FormBehaviourTest, ScreenDescribesTheMonitorsAndOverridesTheCursor) {
  EXPECT_EQ(Screen->Width(), 1024);
  EXPECT_EQ(Screen->Height(), 768);
  ASSERT_EQ(Screen->MonitorCount(), 1);
  EXPECT_TRUE(Screen->Monitors(0).Primary);
  EXPECT_EQ(Screen->Monitors(0).WorkareaRect, Screen->WorkAreaRect());
  EXPECT_THROW(Screen->Monitors(1), core::EListError);
  TForm* form = MakeForm();
  auto* probe = Add<TProbeControl>(form, {10, 10, 110, 60});
  probe->SetCursor(crIBeam);
  form->Show();
  App->ProcessMessages();
  Headless->MoveMouse(Centre(probe));
  App->ProcessMessages();
  EXPECT_EQ(Headless->CurrentCursor(), platform::CursorShape::IBeam);
  Screen->SetCursor(crHourGlass);
  Headless->MoveMouse(Centre(probe));
  App->ProcessMessages();
  EXPECT_EQ(Headless->CurrentCursor(), platform::CursorShape::Wait);
}

}  // namespace
}  // namespace ui::testing
