#include <memory>
#include <string>
#include <vector>

#include "TraySupport.h"
#include "core/Component.h"
#include "tray/TrayIcon.h"
#include "ui/classlib/Forms.h"
#include "ui/classlib/ImgList.h"
#include "ui/classlib/LayoutReader.h"
#include "ui/classlib/LayoutWriter.h"
#include "ui/classlib/Menus.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/NotifyIconBridge.h"
#include "ui/classlib/Properties.h"
#include "ui/windowing/Windows.h"

namespace tray {
namespace {

using platform::headless::NotifyIconCall;

// A menu that records where it was opened instead of running its loop.
class TRecordingMenu : public ui::TPopupMenu {
 public:
  using ui::TPopupMenu::TPopupMenu;
  std::vector<gfx::Point> Opened;
  void Popup(int x, int y) override { Opened.push_back({x, y}); }
};

gfx::Bitmap Filled(gfx::Pixel pixel) {
  gfx::Bitmap bitmap(16, 16);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) bitmap.SetPixel(x, y, pixel);
  }
  return bitmap;
}

class TrayIconTest : public testing::HeadlessTest {
 protected:
  TrayIconTest() {
    App = core::CreateUnowned<ui::TApplication>();
    Form = App->CreateForm<ui::TForm>();
  }
  ~TrayIconTest() override { App.reset(); }

  // A tray icon as the layout makes it: properties set while loading, then
  // the loading hook.
  TTrayIcon* MakeIcon(const std::string& hint = "Lumeth", bool visible = true) {
    auto* icon = core::Create<TTrayIcon>(*Form);
    icon->IncludeComponentState(core::csLoading);
    icon->SetHint(hint);
    icon->SetIconVisible(visible);
    icon->Loaded();
    Area().ClearCalls();
    return icon;
  }
  platform::headless::HeadlessNotifyIcon& Area() { return Headless->NotifyIconArea(); }
  const platform::NotifyIconState* Shown(const TTrayIcon* icon) { return Area().FindById(icon->IconKey()); }
  // The area sends a notice about the icon; the program handles it.
  void Notice(const TTrayIcon* icon, std::uint32_t code) {
    ASSERT_TRUE(Area().SendNotice(icon->IconKey(), code));
    ui::ProcessMessages();
  }
  // Records the mouse and click events of an icon as short words.
  void Record(TTrayIcon* icon) {
    icon->OnClick = [this](core::TComponent*) { Events.push_back("click"); };
    icon->OnMouseDown = [this](core::TComponent*, ui::TMouseButton button, ui::TShiftState shift, int x, int y) {
      Events.push_back("down" + std::to_string(int(button)));
      LastShift = shift;
      LastPoint = {x, y};
    };
    icon->OnMouseUp = [this](core::TComponent*, ui::TMouseButton button, ui::TShiftState, int, int) {
      Events.push_back("up" + std::to_string(int(button)));
    };
    icon->OnMouseMove = [this](core::TComponent*, ui::TShiftState, int x, int y) {
      Events.push_back("move");
      LastPoint = {x, y};
    };
    icon->OnMouseEnter = [this](core::TComponent*) { Events.push_back("enter"); };
    icon->OnMouseExit = [this](core::TComponent*) { Events.push_back("exit"); };
  }

  core::TComponentPtr<ui::TApplication> App;
  ui::TForm* Form = nullptr;
  std::vector<std::string> Events;
  ui::TShiftState LastShift;
  gfx::Point LastPoint;
};

using Words = std::vector<std::string>;

// ---- Loading and the record ----

TEST_F(TrayIconTest, LoadingAddsTheIconOnceEveryPropertyIsKnown) {
  auto* icon = core::Create<TTrayIcon>(*Form);
  icon->IncludeComponentState(core::csLoading);
  icon->SetHint("Lumeth");
  icon->SetIconVisible(true);
  icon->SetWantEnterExitEvents(true);
  EXPECT_TRUE(Area().Calls().empty()) << "no shell call while the layout is read";
  icon->Loaded();

  const platform::NotifyIconState* shown = Shown(icon);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->Tip, "Lumeth");
  EXPECT_EQ(shown->CallbackMessage, TrayCallbackMessage);
  ASSERT_EQ(Area().Calls().size(), 3u);
  EXPECT_EQ(Area().Calls()[0].Call, NotifyIconCall::Modify);
  EXPECT_FALSE(Area().Calls()[0].Result) << "the update before the icon is there fails";
  EXPECT_EQ(Area().Calls()[1].Call, NotifyIconCall::Add);
  EXPECT_EQ(Area().Calls()[2].Call, NotifyIconCall::SetVersion);
  EXPECT_TRUE(Area().Calls()[2].Result);

  const platform::NotifyIconData& data = icon->ShellData();
  EXPECT_EQ(data.Id, reinterpret_cast<std::uintptr_t>(icon));
  EXPECT_EQ(data.Owner, reinterpret_cast<std::uintptr_t>(TTrayIconHandler::Instance()->Handle()));
  EXPECT_EQ(data.Flags, 7u);
  EXPECT_EQ(data.CallbackMessage, 0x0800u);
}

TEST_F(TrayIconTest, TheTooltipIsTheHintCutTo127Characters) {
  TTrayIcon* icon = MakeIcon();
  icon->SetHint(std::string(200, 'h'));
  EXPECT_EQ(icon->ShellData().Tip, std::string(127, 'h'));
  EXPECT_EQ(Shown(icon)->Tip, std::string(127, 'h'));
  // Characters, not bytes: 130 three-byte characters keep 127 whole ones.
  std::string wide;
  for (int i = 0; i < 130; ++i) wide += "扫";
  icon->SetHint(wide);
  EXPECT_EQ(icon->ShellData().Tip, wide.substr(0, 127 * 3));

  icon->SetShowHint(false);
  EXPECT_EQ(Shown(icon)->Tip, "");
  icon->SetShowHint(true);
  icon->SetHint("");
  EXPECT_EQ(Shown(icon)->Tip, "");
}

TEST_F(TrayIconTest, IconChangesUpdateTheArea) {
  TTrayIcon* icon = MakeIcon();
  const gfx::Bitmap red = Filled(gfx::MakePixel(255, 0, 0));
  icon->Icon()->SetPicture(red);
  EXPECT_TRUE(Shown(icon)->Icon.SamePixels(red));
  ui::TIcon other;
  other.SetPicture(Filled(gfx::MakePixel(0, 0, 255)));
  Area().ClearCalls();
  icon->SetIcon(other);
  // One update, not one for the copy and one for the setter.
  EXPECT_EQ(Area().Calls().size(), 1u);
  EXPECT_TRUE(Shown(icon)->Icon.SamePixels(other.Picture()));
}

// ---- Balloons ----

TEST_F(TrayIconTest, BalloonTextsAreCutAndTheTimeoutIsInMilliseconds) {
  TTrayIcon* icon = MakeIcon();
  EXPECT_TRUE(icon->ShowBalloonMessage(std::string(80, 't'), std::string(300, 'x'), bkWarning, 10));
  const platform::NotifyIconState* shown = Shown(icon);
  ASSERT_TRUE(shown->Balloon.has_value());
  EXPECT_EQ(shown->Balloon->Title, std::string(63, 't'));
  EXPECT_EQ(shown->Balloon->Text, std::string(255, 'x'));
  EXPECT_EQ(shown->Balloon->Timeout, 10000u);
  EXPECT_EQ(shown->Balloon->Kind, platform::bkWarning);

  // A shown balloon is taken down first, then the new one goes up; later
  // calls no longer carry the balloon.
  ASSERT_EQ(Area().Calls().size(), 2u);
  EXPECT_EQ(Area().Calls()[0].Data.Flags, 7u | platform::NIF_INFO);
  EXPECT_EQ(Area().Calls()[0].Data.Info, "");
  EXPECT_EQ(Area().Calls()[1].Data.Info.size(), 255u);
  EXPECT_EQ(icon->ShellData().Flags, 7u);
  icon->SetHint("other");
  EXPECT_TRUE(Shown(icon)->Balloon.has_value());

  EXPECT_TRUE(icon->HideBalloonMessage());
  EXPECT_FALSE(Shown(icon)->Balloon.has_value());
  EXPECT_EQ(icon->ShellData().Flags, 7u);
}

TEST_F(TrayIconTest, TheScansRangeBalloon) {
  TTrayIcon* icon = MakeIcon();
  EXPECT_TRUE(icon->ShowBalloonMessage("Ostvane", "IP输入错误,请重新输入!", bkWarning, 10));
  EXPECT_EQ(Shown(icon)->Balloon,
            (platform::NotifyBalloon{"Ostvane", "IP输入错误,请重新输入!", 10000, platform::bkWarning}));
}

TEST_F(TrayIconTest, ABalloonWhileTheIconIsHiddenFails) {
  TTrayIcon* icon = MakeIcon("Lumeth", false);
  EXPECT_FALSE(icon->ShowBalloonMessage("Ostvane", "text", bkInfo, 5));
  EXPECT_EQ(Area().IconCount(), 0u);
  icon->SetIconVisible(true);
  icon->SetIconVisible(false);
  EXPECT_FALSE(icon->ShowBalloonMessage("Ostvane", "text", bkInfo, 5));
  EXPECT_EQ(Area().IconCount(), 0u);
}

// ---- Clicks ----

TEST_F(TrayIconTest, WithoutDoubleClickHandlerTheClickComesAtTheRelease) {
  TTrayIcon* icon = MakeIcon();
  Record(icon);
  Headless->SetCursorPosition({1000, 750});
  Notice(icon, ui::WM_LBUTTONDOWN);
  EXPECT_EQ(Events, Words{"down0"});
  EXPECT_TRUE(LastShift.Contains(ui::ssLeft));
  EXPECT_EQ(LastPoint, (gfx::Point{1000, 750}));
  Notice(icon, ui::WM_LBUTTONUP);
  EXPECT_EQ(Events, (Words{"down0", "click", "up0"}));
}

TEST_F(TrayIconTest, WithDoubleClickHandlerTheClickWaitsOneDoubleClickTime) {
  TTrayIcon* icon = MakeIcon();
  Record(icon);
  int doubleClicks = 0;
  icon->OnDblClick = [&](core::TComponent*) { ++doubleClicks; };
  Notice(icon, ui::WM_LBUTTONDOWN);
  Notice(icon, ui::WM_LBUTTONUP);
  EXPECT_EQ(Events, (Words{"down0", "up0"}));
  // The headless double-click time is 500 ms, counted from the press.
  Advance(499);
  EXPECT_EQ(Events, (Words{"down0", "up0"}));
  Advance(1);
  EXPECT_EQ(Events, (Words{"down0", "up0", "click"}));
  Advance(2000);
  EXPECT_EQ(Events.size(), 3u);
  EXPECT_EQ(doubleClicks, 0);
}

TEST_F(TrayIconTest, ADoubleClickGivesOnDblClickAlone) {
  TTrayIcon* icon = MakeIcon();
  Record(icon);
  icon->OnDblClick = [this](core::TComponent*) { Events.push_back("double"); };
  ASSERT_TRUE(Area().SendDoubleClick(icon->IconKey()));
  ui::ProcessMessages();
  Advance(500);
  Advance(500);
  EXPECT_EQ(Events, (Words{"down0", "up0", "double", "up0"}));
  // The next single click is reported again.
  Events.clear();
  Notice(icon, ui::WM_LBUTTONDOWN);
  Notice(icon, ui::WM_LBUTTONUP);
  Advance(500);
  EXPECT_EQ(Events, (Words{"down0", "up0", "click"}));
}

TEST_F(TrayIconTest, OtherButtonsRaiseDownAndUpOnly) {
  TTrayIcon* icon = MakeIcon();
  Record(icon);
  Notice(icon, ui::WM_RBUTTONDOWN);
  EXPECT_TRUE(LastShift.Contains(ui::ssRight));
  Notice(icon, ui::WM_RBUTTONUP);
  Notice(icon, ui::WM_MBUTTONDOWN);
  EXPECT_TRUE(LastShift.Contains(ui::ssMiddle));
  Notice(icon, ui::WM_MBUTTONUP);
  Notice(icon, ui::WM_RBUTTONDBLCLK);
  EXPECT_EQ(Events, (Words{"down1", "up1", "down2", "up2"}));
}

TEST_F(TrayIconTest, DisabledIgnoresTheMouseButNotTheBalloon) {
  TTrayIcon* icon = MakeIcon();
  Record(icon);
  icon->OnBalloonHintShow = [this](core::TComponent*) { Events.push_back("balloon-show"); };
  icon->OnBalloonHintClick = [this](core::TComponent*) { Events.push_back("balloon-click"); };
  icon->SetWantEnterExitEvents(true);
  icon->SetEnabled(false);
  Notice(icon, ui::WM_MOUSEMOVE);
  Notice(icon, ui::WM_LBUTTONDOWN);
  Notice(icon, ui::WM_LBUTTONUP);
  Notice(icon, ui::WM_RBUTTONDOWN);
  Notice(icon, platform::NIN_BALLOONSHOW);
  Notice(icon, platform::NIN_BALLOONUSERCLICK);
  EXPECT_EQ(Events, (Words{"balloon-show", "balloon-click"}));
  icon->SetEnabled(true);
  Notice(icon, ui::WM_LBUTTONDOWN);
  EXPECT_EQ(Events.back(), "down0");
}

TEST_F(TrayIconTest, AClickHandlerMayFreeTheIcon) {
  TTrayIcon* icon = MakeIcon();
  Record(icon);
  icon->OnClick = [&](core::TComponent* sender) {
    Events.push_back("click");
    static_cast<TTrayIcon*>(sender)->Free();
  };
  Notice(icon, ui::WM_LBUTTONDOWN);
  Notice(icon, ui::WM_LBUTTONUP);
  EXPECT_EQ(Events, (Words{"down0", "click"}));
  EXPECT_EQ(Area().IconCount(), 0u);
  EXPECT_EQ(TTrayIconHandler::Instance(), nullptr);
}

TEST_F(TrayIconTest, ADelayedClickMayFreeTheIcon) {
  TTrayIcon* icon = MakeIcon();
  int clicks = 0;
  icon->OnDblClick = [](core::TComponent*) {};
  icon->OnClick = [&](core::TComponent* sender) {
    ++clicks;
    static_cast<TTrayIcon*>(sender)->Free();
  };
  Notice(icon, ui::WM_LBUTTONDOWN);
  Notice(icon, ui::WM_LBUTTONUP);
  Advance(500);
  Advance(500);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(TSimpleTimerHandler::Instance(), nullptr) << "the timers went with the icon";
}

// ---- Enter and exit ----

TEST_F(TrayIconTest, EnterAndExitFollowThePointer) {
  TTrayIcon* icon = MakeIcon();
  Record(icon);
  icon->SetWantEnterExitEvents(true);
  Headless->SetCursorPosition({1000, 750});
  Notice(icon, ui::WM_MOUSEMOVE);
  Notice(icon, ui::WM_MOUSEMOVE);
  EXPECT_EQ(Events, (Words{"enter", "move", "move"}));
  // Resting on the icon: the poll sees the same position.
  Advance(20);
  Advance(20);
  EXPECT_EQ(Events.size(), 3u);
  // Moving over the icon is reported by the area and refreshes the position.
  Headless->SetCursorPosition({1001, 750});
  Notice(icon, ui::WM_MOUSEMOVE);
  Advance(20);
  EXPECT_EQ(Events, (Words{"enter", "move", "move", "move"}));
  // A move the area did not report means the pointer left.
  Headless->SetCursorPosition({500, 300});
  Advance(20);
  EXPECT_EQ(Events.back(), "exit");
  Advance(100);
  EXPECT_EQ(Events.back(), "exit");
  EXPECT_EQ(Events.size(), 5u);
  Notice(icon, ui::WM_MOUSEMOVE);
  EXPECT_EQ(Events, (Words{"enter", "move", "move", "move", "exit", "enter", "move"}));
}

TEST_F(TrayIconTest, WithoutEnterExitEventsOnlyMovesAreReported) {
  TTrayIcon* icon = MakeIcon();
  Record(icon);
  Notice(icon, ui::WM_MOUSEMOVE);
  Headless->SetCursorPosition({10, 10});
  Advance(100);
  EXPECT_EQ(Events, Words{"move"});
}

// ---- Cycling ----

class TrayIconCycleTest : public TrayIconTest {
 protected:
  TrayIconCycleTest() {
    List = core::Create<ui::TImageList>(*Form);
    for (gfx::Pixel pixel : Colours) List->Add(Filled(pixel));
  }
  const gfx::Pixel Colours[3] = {gfx::MakePixel(255, 0, 0), gfx::MakePixel(0, 255, 0), gfx::MakePixel(0, 0, 255)};
  ui::TImageList* List = nullptr;
};

TEST_F(TrayIconCycleTest, TheIconStepsThroughTheListAndWraps) {
  TTrayIcon* icon = MakeIcon();
  std::vector<int> next;
  icon->OnCycle = [&](core::TComponent*, int index) { next.push_back(index); };
  icon->SetIconList(List);
  icon->SetCycleInterval(400);
  icon->SetCycleIcons(true);
  EXPECT_EQ(icon->IconIndex(), 0);
  EXPECT_TRUE(Shown(icon)->Icon.SamePixels(List->Picture(0)));
  Advance(399);
  EXPECT_TRUE(next.empty());
  Advance(1);
  EXPECT_EQ(next, std::vector<int>{1});
  EXPECT_EQ(icon->IconIndex(), 1);
  EXPECT_TRUE(Shown(icon)->Icon.SamePixels(List->Picture(1)));
  Advance(400);
  Advance(400);
  EXPECT_EQ(next, (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(icon->IconIndex(), 0);

  // A new interval starts again at picture 0.
  Advance(400);
  EXPECT_EQ(icon->IconIndex(), 1);
  icon->SetCycleInterval(100);
  EXPECT_EQ(icon->IconIndex(), 0);
  Advance(100);
  EXPECT_EQ(icon->IconIndex(), 1);
  icon->SetCycleIcons(false);
  Advance(1000);
  EXPECT_EQ(icon->IconIndex(), 1);
}

TEST_F(TrayIconCycleTest, CyclingWithoutAListDoesNothing) {
  TTrayIcon* icon = MakeIcon();
  int cycles = 0;
  icon->OnCycle = [&](core::TComponent*, int) { ++cycles; };
  icon->SetCycleInterval(100);
  icon->SetCycleIcons(true);
  Advance(100);
  Advance(100);
  EXPECT_EQ(cycles, 0);
}

TEST_F(TrayIconCycleTest, TheIndexIsClampedToTheList) {
  TTrayIcon* icon = MakeIcon();
  icon->SetIconIndex(2);
  EXPECT_EQ(icon->IconIndex(), 0) << "without a list";
  icon->SetIconList(List);
  icon->SetIconIndex(9);
  EXPECT_EQ(icon->IconIndex(), 2);
  EXPECT_TRUE(Shown(icon)->Icon.SamePixels(List->Picture(2)));
  icon->SetIconIndex(-3);
  EXPECT_EQ(icon->IconIndex(), 0);
  // An emptied list has nothing to show, and cycling over it is quiet.
  List->Clear();
  icon->SetIconIndex(1);
  EXPECT_EQ(icon->IconIndex(), 0);
  icon->SetCycleInterval(50);
  icon->SetCycleIcons(true);
  Advance(50);
  EXPECT_EQ(icon->IconIndex(), 0);
}

TEST_F(TrayIconCycleTest, AFreedListIsForgotten) {
  TTrayIcon* icon = MakeIcon();
  icon->SetIconList(List);
  icon->SetIconIndex(2);
  List->Free();
  EXPECT_EQ(icon->IconList(), nullptr);
  EXPECT_EQ(icon->IconIndex(), 0);
}

// ---- Popup menu ----

TEST_F(TrayIconTest, TheRightButtonOpensThePopupMenuAtThePointer) {
  TTrayIcon* icon = MakeIcon();
  auto* menu = core::Create<TRecordingMenu>(*Form);
  icon->SetPopupMenu(menu);
  Headless->SetCursorPosition({900, 700});
  Notice(icon, ui::WM_RBUTTONDOWN);
  ASSERT_EQ(menu->Opened.size(), 1u);
  EXPECT_EQ(menu->Opened[0], (gfx::Point{900, 700}));
  EXPECT_EQ(menu->PopupComponent(), icon);
  // The left button only with LeftPopup.
  Notice(icon, ui::WM_LBUTTONDOWN);
  EXPECT_EQ(menu->Opened.size(), 1u);
  icon->SetLeftPopup(true);
  Notice(icon, ui::WM_LBUTTONDOWN);
  EXPECT_EQ(menu->Opened.size(), 2u);
  menu->SetAutoPopup(false);
  Notice(icon, ui::WM_RBUTTONDOWN);
  EXPECT_EQ(menu->Opened.size(), 2u);
  menu->Free();
  EXPECT_EQ(icon->PopupMenu(), nullptr);
}

TEST_F(TrayIconTest, ADoubleClickRunsTheMenusDefaultItem) {
  TTrayIcon* icon = MakeIcon();
  auto* menu = core::Create<TRecordingMenu>(*Form);
  std::vector<std::string> clicked;
  for (const char* name : {"first", "second", "third"}) {
    auto* item = core::Create<ui::TMenuItem>(*Form);
    item->SetCaption(name);
    item->SetDefault(std::string(name) != "first");
    item->OnClick = [&clicked, name](core::TComponent*) { clicked.push_back(name); };
    menu->Items()->Add(item);
  }
  icon->SetPopupMenu(menu);
  Notice(icon, ui::WM_LBUTTONDBLCLK);
  EXPECT_EQ(clicked, std::vector<std::string>{"second"});
  icon->SetLeftPopup(true);
  Notice(icon, ui::WM_LBUTTONDBLCLK);
  EXPECT_EQ(clicked.size(), 1u);
}

// ---- The area and the windows ----

TEST_F(TrayIconTest, FreeingTheIconRemovesItAndTheSharedWindow) {
  TTrayIcon* first = MakeIcon();
  TTrayIcon* second = MakeIcon("second");
  EXPECT_EQ(Area().IconCount(), 2u);
  ASSERT_NE(TTrayIconHandler::Instance(), nullptr);
  EXPECT_EQ(TTrayIconHandler::Instance()->UserCount(), 2u);
  const ui::HWND window = TTrayIconHandler::Instance()->Handle();
  first->Free();
  EXPECT_EQ(Area().IconCount(), 1u);
  EXPECT_TRUE(ui::IsWindow(window));
  second->Free();
  EXPECT_EQ(Area().IconCount(), 0u);
  EXPECT_EQ(TTrayIconHandler::Instance(), nullptr);
  EXPECT_FALSE(ui::IsWindow(window));
}

TEST_F(TrayIconTest, ARestartedAreaGetsTheVisibleIconsBack) {
  TTrayIcon* visible = MakeIcon("visible");
  TTrayIcon* hidden = MakeIcon("hidden", false);
  Area().RestartArea();
  EXPECT_EQ(Area().IconCount(), 0u);
  ui::ProcessMessages();
  ASSERT_NE(Shown(visible), nullptr);
  EXPECT_EQ(Shown(visible)->Tip, "visible");
  EXPECT_EQ(Shown(hidden), nullptr);
}

TEST_F(TrayIconTest, MinimisingTheOwnerSendsItToTheTray) {
  TTrayIcon* icon = MakeIcon("Lumeth", false);
  Form->Show();
  const ui::HWND window = Form->Handle();
  int minimised = 0;
  icon->OnMinimizeToTray = [&](core::TComponent*) { ++minimised; };
  // Without MinimizeToTray the window minimises as usual.
  ui::SendMessage(window, ui::WM_SYSCOMMAND, ui::SC_MINIMIZE);
  EXPECT_EQ(Area().IconCount(), 0u);
  EXPECT_EQ(minimised, 0);
  Form->Show();
  ui::ShowWindow(window, ui::SW_RESTORE);

  icon->SetMinimizeToTray(true);
  icon->OnMinimizeToTray = [&](core::TComponent*) { ++minimised; };
  EXPECT_EQ(ui::SendMessage(window, ui::WM_SYSCOMMAND, ui::SC_MINIMIZE), 1);
  EXPECT_EQ(minimised, 1);
  EXPECT_FALSE(Form->Visible());
  EXPECT_TRUE(icon->IconVisible());
  EXPECT_NE(Shown(icon), nullptr);

  // The owner's owner being minimised hides it the same way.
  Form->Show();
  EXPECT_EQ(ui::SendMessage(window, ui::WM_SHOWWINDOW, 0, 1), 1);
  EXPECT_EQ(minimised, 2);
  EXPECT_FALSE(Form->Visible());
}

TEST_F(TrayIconTest, TheOwnersWindowProcedureComesBackWithTheIcon) {
  const ui::HWND window = Form->Handle();
  const ui::WNDPROC before = ui::GetWindowProc(window);
  TTrayIcon* icon = MakeIcon();
  EXPECT_NE(ui::GetWindowProc(window), before);
  icon->Free();
  EXPECT_EQ(ui::GetWindowProc(window), before);
}

TEST_F(TrayIconTest, AHookInstalledAfterTheIconKeepsWorkingWhenTheIconGoes) {
  const ui::HWND window = Form->Handle();
  TTrayIcon* icon = MakeIcon();
  int seen = 0;
  ui::WNDPROC previous;
  ui::WNDPROC later = ui::MakeWindowProc([&](ui::HWND w, ui::UINT m, ui::WPARAM wp, ui::LPARAM lp) {
    if (m == ui::WM_USER + 7) ++seen;
    return ui::CallWindowProc(previous, w, m, wp, lp);
  });
  previous = ui::SetWindowProc(window, later);
  icon->Free();
  ui::SendMessage(window, ui::WM_USER + 7);
  ui::SendMessage(window, ui::WM_SYSCOMMAND, ui::SC_MINIMIZE);
  EXPECT_EQ(seen, 1);
  ui::SetWindowProc(window, previous);
}

TEST_F(TrayIconTest, TheApplicationMinimisingSendsTheMainFormToTheTray) {
  TTrayIcon* icon = MakeIcon("Lumeth", false);
  Form->Show();
  icon->SetMinimizeToTray(true);
  App->Minimize();
  EXPECT_FALSE(Form->Visible());
  EXPECT_NE(Shown(icon), nullptr);
  // The restore command shows the main form again.
  ui::SendMessage(App->Handle(), ui::WM_SYSCOMMAND, ui::SC_RESTORE);
  EXPECT_TRUE(Form->Visible());
}

TEST_F(TrayIconTest, StartupCanKeepTheMainFormHidden) {
  auto* icon = core::Create<TTrayIcon>(*Form);
  icon->OnStartup = [](core::TComponent*, bool& show) { show = false; };
  icon->IncludeComponentState(core::csLoading);
  icon->SetIconVisible(true);
  icon->Loaded();
  EXPECT_FALSE(App->ShowMainForm());
  EXPECT_FALSE(Form->Visible());
  EXPECT_NE(Shown(icon), nullptr);
}

}  // namespace
}  // namespace tray

namespace tray {
namespace {

// ---- Stored layouts ----

class TrayIconLayoutTest : public TrayIconTest {
 protected:
  TrayIconLayoutTest() {
    ui::RegisterClassLibraryClasses();
    RegisterTrayClasses();
  }
};

// The main window's tray icon, as its layout stores it.
const char* const TrayLayout = R"(object TrayForm: TForm
  Left = 0
  Top = 0
  object TextTrayIcon: TTrayIcon
    CycleInterval = 400
    Hint = 'Lumeth'
    IconVisible = True
    WantEnterExitEvents = True
  end
end
)";

TEST_F(TrayIconLayoutTest, TheLayoutsIconIsAddedWhenLoadingCompletes) {
  auto* form = App->CreateForm<ui::TForm>();
  ui::ReadLayout(*form, TrayLayout);
  auto* icon = dynamic_cast<TTrayIcon*>(form->FindComponent("TextTrayIcon"));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->CycleInterval(), 400u);
  EXPECT_TRUE(icon->WantEnterExitEvents());
  ASSERT_NE(Shown(icon), nullptr);
  EXPECT_EQ(Shown(icon)->Tip, "Lumeth");
  std::vector<NotifyIconCall> calls;
  for (const auto& call : Area().Calls()) calls.push_back(call.Call);
  EXPECT_EQ(calls, (std::vector<NotifyIconCall>{NotifyIconCall::Modify, NotifyIconCall::Add,
                                                NotifyIconCall::SetVersion}));
  // Written back, the icon's part reads the same.
  const std::string text = TrayLayout;
  const std::string part = text.substr(text.find("  object"), text.rfind("end\n") - text.find("  object"));
  EXPECT_NE(ui::WriteLayout(*form).find(part), std::string::npos) << ui::WriteLayout(*form);
}

TEST_F(TrayIconLayoutTest, TheCycleIntervalIsAlwaysStored) {
  auto* form = App->CreateForm<ui::TForm>();
  form->SetName("F");
  core::Create<TTrayIcon>(*form)->SetName("Icon1");
  const std::string text = ui::WriteLayout(*form);
  EXPECT_NE(text.find("object Icon1: TTrayIcon\n    CycleInterval = 0\n  end"), std::string::npos) << text;
}

}  // namespace
}  // namespace tray
