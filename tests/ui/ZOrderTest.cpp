#include "UiTestSupport.h"

namespace ui::testing {
namespace {

constexpr UINT NoMoveNoSize = SWP_NOMOVE | SWP_NOSIZE;

// Two overlapping frames; the second, made last, is active with the focus
// in its child.
class ZOrderTest : public UiTest {
 protected:
  void SetUp() override {
    Back = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 400, 400});
    Front = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {200, 200, 500, 500});
    Edit = CreateChild(Front, {10, 10, 100, 40});
    SetFocus(Edit);
    ProcessMessages();
    Log.clear();
  }
  // Top-level windows of the test, topmost first, as the window system
  // orders them.
  std::vector<HWND> Stack() const {
    std::vector<HWND> order;
    for (HWND w = GetWindow(Back, GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT)) order.push_back(w);
    return order;
  }
  std::vector<UINT> ActivationMessages() const {
    std::vector<UINT> result;
    for (const auto& m : Log) {
      if (m.Message == WM_ACTIVATE || m.Message == WM_NCACTIVATE || m.Message == WM_SETFOCUS ||
          m.Message == WM_KILLFOCUS || m.Message == WM_ACTIVATEAPP) {
        result.push_back(m.Message);
      }
    }
    return result;
  }

  HWND Back = nullptr;
  HWND Front = nullptr;
  HWND Edit = nullptr;
};

TEST_F(ZOrderTest, RaisingWithoutActivationLeavesTheActiveWindowAndTheFocus) {
  ASSERT_EQ(Stack(), (std::vector<HWND>{Front, Back}));
  ASSERT_EQ(WindowFromPoint({300, 300}), Front);
  EXPECT_TRUE(SetWindowPos(Back, HWND_TOP, 0, 0, 0, 0, NoMoveNoSize | SWP_NOACTIVATE));
  EXPECT_EQ(Stack(), (std::vector<HWND>{Back, Front}));
  EXPECT_EQ(GetActiveWindow(), Front);
  EXPECT_EQ(GetFocus(), Edit);
  EXPECT_TRUE(ActivationMessages().empty());
  // The native windows follow, the keyboard focus does not.
  EXPECT_EQ(Headless->ZOrder().back(), Native(Back));
  EXPECT_EQ(Headless->FocusWindow(), Native(Front));
  EXPECT_EQ(WindowFromPoint({300, 300}), Back);
  ProcessMessages();
  EXPECT_EQ(Headless->WindowAt({300, 300}), Native(Back));
  // Keys still go to the edit.
  Headless->StrokeKey('A');
  ProcessMessages();
  EXPECT_EQ(Count(Edit, WM_CHAR), 1);
  EXPECT_EQ(Count(Back, WM_CHAR), 0);
}

TEST_F(ZOrderTest, RaisingWithActivationAndBringWindowToTopActivate) {
  SetWindowPos(Back, HWND_TOP, 0, 0, 0, 0, NoMoveNoSize);
  EXPECT_EQ(GetActiveWindow(), Back);
  EXPECT_EQ(Stack(), (std::vector<HWND>{Back, Front}));
  EXPECT_EQ(Headless->FocusWindow(), Native(Back));

  BringWindowToTop(Front);
  EXPECT_EQ(GetActiveWindow(), Front);
  EXPECT_EQ(Stack(), (std::vector<HWND>{Front, Back}));
  EXPECT_EQ(Headless->ZOrder().back(), Native(Front));
}

TEST_F(ZOrderTest, SetForegroundWindowActivatesAndBringsToTheTop) {
  SetForegroundWindow(Back);
  EXPECT_EQ(GetActiveWindow(), Back);
  EXPECT_EQ(Stack(), (std::vector<HWND>{Back, Front}));
  EXPECT_EQ(Headless->ZOrder().back(), Native(Back));
  EXPECT_EQ(Headless->FocusWindow(), Native(Back));
}

TEST_F(ZOrderTest, AClickThatActivatesAWindowBringsItToTheTop) {
  Headless->Click({150, 300});
  ProcessMessages();
  EXPECT_EQ(GetActiveWindow(), Back);
  EXPECT_EQ(Stack(), (std::vector<HWND>{Back, Front}));
  EXPECT_EQ(WindowFromPoint({300, 300}), Back);
  // The same when the system activates it (task bar, window switching).
  Headless->SystemActivate(Native(Front));
  ProcessMessages();
  EXPECT_EQ(GetActiveWindow(), Front);
  EXPECT_EQ(WindowFromPoint({300, 300}), Front);
}

TEST_F(ZOrderTest, TopmostWindowsStayAboveTheOthers) {
  SetWindowPos(Back, HWND_TOPMOST, 0, 0, 0, 0, NoMoveNoSize | SWP_NOACTIVATE);
  EXPECT_TRUE(GetWindowLong(Back, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(Stack(), (std::vector<HWND>{Back, Front}));
  // Raising a normal window keeps it below the topmost one, natively too.
  SetWindowPos(Front, HWND_TOP, 0, 0, 0, 0, NoMoveNoSize | SWP_NOACTIVATE);
  EXPECT_EQ(Stack(), (std::vector<HWND>{Back, Front}));
  EXPECT_EQ(Headless->ZOrder().back(), Native(Back));
  EXPECT_EQ(WindowFromPoint({300, 300}), Back);
  // Even when it is activated.
  HWND third = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {250, 250, 450, 450});
  EXPECT_EQ(GetActiveWindow(), third);
  EXPECT_EQ(Stack(), (std::vector<HWND>{Back, third, Front}));
  EXPECT_EQ(Headless->ZOrder().back(), Native(Back));

  // HWND_NOTOPMOST puts it on top of the normal windows.
  SetWindowPos(Back, HWND_NOTOPMOST, 0, 0, 0, 0, NoMoveNoSize | SWP_NOACTIVATE);
  EXPECT_FALSE(GetWindowLong(Back, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(Stack(), (std::vector<HWND>{Back, third, Front}));
  SetWindowPos(Back, HWND_BOTTOM, 0, 0, 0, 0, NoMoveNoSize | SWP_NOACTIVATE);
  EXPECT_EQ(Stack(), (std::vector<HWND>{third, Front, Back}));
  EXPECT_EQ(GetActiveWindow(), third);
  // Lowered natively too: the front window shows where they overlap.
  EXPECT_EQ(Headless->ZOrder().front(), Native(Back));
  EXPECT_EQ(WindowFromPoint({210, 210}), Front);
  ProcessMessages();
  EXPECT_EQ(Headless->WindowAt({210, 210}), Native(Front));
}

TEST_F(ZOrderTest, PopupsStayAboveARaisedWindow) {
  HWND popup = CreateWindowEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, "Logged", "", WS_POPUP,
                              150, 150, 100, 100, Front);
  ShowWindow(popup, SW_SHOWNA);
  EXPECT_EQ(GetActiveWindow(), Front);
  SetWindowPos(Back, HWND_TOP, 0, 0, 0, 0, NoMoveNoSize | SWP_NOACTIVATE);
  EXPECT_EQ(Headless->ZOrder().back(), Native(popup));
  EXPECT_EQ(Stack().front(), popup);
  EXPECT_EQ(WindowFromPoint({160, 160}), popup);
  // Raising the popup itself neither activates it nor moves the focus.
  SetWindowPos(popup, HWND_TOP, 0, 0, 0, 0, NoMoveNoSize);
  EXPECT_EQ(GetActiveWindow(), Front);
  EXPECT_EQ(GetFocus(), Edit);
}

TEST_F(ZOrderTest, AHiddenWindowIsRestackedWithoutShowingOrActivating) {
  ShowWindow(Back, SW_HIDE);
  Log.clear();
  SetWindowPos(Back, HWND_TOP, 0, 0, 0, 0, NoMoveNoSize);
  EXPECT_FALSE(IsWindowVisible(Back));
  EXPECT_EQ(GetActiveWindow(), Front);
  EXPECT_TRUE(ActivationMessages().empty());
  EXPECT_EQ(Stack().front(), Back);
}

TEST_F(ZOrderTest, ChildrenAreRestackedAndRepaintedWithoutActivation) {
  HWND lower = CreateChild(Back, {10, 10, 110, 110});
  HWND upper = CreateChild(Back, {50, 50, 150, 150});
  ProcessMessages();
  Log.clear();
  SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, NoMoveNoSize);
  EXPECT_EQ(GetChildWindows(Back), (std::vector<HWND>{lower, upper}));
  EXPECT_EQ(GetActiveWindow(), Front);
  EXPECT_TRUE(ActivationMessages().empty());
  ProcessMessages();
  EXPECT_GE(Count(lower, WM_PAINT), 1);
  SetWindowPos(lower, upper, 0, 0, 0, 0, NoMoveNoSize | SWP_NOACTIVATE);
  EXPECT_EQ(GetChildWindows(Back), (std::vector<HWND>{upper, lower}));
}

}  // namespace
}  // namespace ui::testing
