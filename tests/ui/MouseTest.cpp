#include "UiTestSupport.h"

namespace ui::testing {
namespace {

using platform::MouseButton;

class MouseTest : public UiTest {
 protected:
  void SetUp() override {
    Window = CreateTopLevel(WS_POPUP | WS_VISIBLE, {100, 100, 300, 300});
    Child = CreateChild(Window, {50, 50, 100, 100});
    ProcessMessages();
    Log.clear();
  }
  void TrackLeave(HWND window, DWORD flags = TME_LEAVE) {
    TrackMouseEventInfo info;
    info.Flags = flags;
    info.Window = window;
    TrackMouseEvent(info);
  }

  HWND Window = nullptr;
  HWND Child = nullptr;
};

TEST_F(MouseTest, TheCaptureWindowGetsTheMouseOutsideItself) {
  Headless->MoveMouse({120, 120});
  Headless->PressMouse(MouseButton::Left);
  ProcessMessages();
  Log.clear();
  EXPECT_EQ(SetCapture(Window), nullptr);
  EXPECT_EQ(Headless->GrabWindow(), Native(Window));
  Headless->MoveMouse({20, 30});
  Headless->MoveMouse({170, 170});  // over the child
  Headless->ReleaseMouse(MouseButton::Left);
  ProcessMessages();
  // Client messages in the capture window's coordinates, no hit testing.
  std::vector<LoggedMessage> moves;
  for (const auto& m : Log) {
    if (m.Message == WM_MOUSEMOVE) moves.push_back(m);
  }
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[0].Window, Window);
  EXPECT_EQ(PointFromLParam(moves[0].LParam), (gfx::Point{-80, -70}));
  EXPECT_EQ(moves[1].Window, Window);
  EXPECT_EQ(Count(Child, WM_MOUSEMOVE), 0);
  EXPECT_EQ(Count(Window, WM_NCHITTEST), 0);
  EXPECT_EQ(Count(Window, WM_LBUTTONUP), 1);

  ReleaseCapture();
  ASSERT_NE(Last(Window, WM_CAPTURECHANGED), nullptr);
  EXPECT_EQ(Last(Window, WM_CAPTURECHANGED)->LParam, 0);
  EXPECT_EQ(Headless->GrabWindow(), platform::NoWindow);
  Headless->MoveMouse({20, 30});
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_MOUSEMOVE), 2);
  EXPECT_EQ(Count(Window, WM_NCHITTEST), 0);
}

TEST_F(MouseTest, CaptureMovesAndEndsWithItsWindow) {
  SetCapture(Window);
  EXPECT_EQ(SetCapture(Child), Window);
  EXPECT_EQ(HandleFromParam(std::uintptr_t(Last(Window, WM_CAPTURECHANGED)->LParam)), Child);
  EXPECT_EQ(GetCapture(), Child);
  DestroyWindow(Child);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Headless->GrabWindow(), platform::NoWindow);
  // Hiding gives the capture up too.
  SetCapture(Window);
  ShowWindow(Window, SW_HIDE);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MouseTest, MouseLeaveComesOnceWhenThePointerLeavesTheClientArea) {
  Headless->MoveMouse({120, 120});
  ProcessMessages();
  TrackLeave(Window);
  Headless->MoveMouse({130, 130});
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_MOUSELEAVE), 0);
  // Over a child is no longer over the window's own client area.
  Headless->MoveMouse({170, 170});
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_MOUSELEAVE), 1);
  TrackLeave(Child);
  Headless->MoveMouse({500, 500});
  Headless->MoveMouse({120, 120});
  Headless->MoveMouse({510, 510});
  ProcessMessages();
  EXPECT_EQ(Count(Child, WM_MOUSELEAVE), 1);
  EXPECT_EQ(Count(Window, WM_MOUSELEAVE), 1);
}

TEST_F(MouseTest, TrackingWhileNotOverTheWindowLeavesAtOnceAndCancelStops) {
  Headless->MoveMouse({500, 500});
  ProcessMessages();
  TrackLeave(Window);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_MOUSELEAVE), 1);
  Headless->MoveMouse({120, 120});
  ProcessMessages();
  TrackLeave(Window);
  TrackLeave(Window, TME_LEAVE | TME_CANCEL);
  Headless->MoveMouse({500, 500});
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_MOUSELEAVE), 1);
}

TEST_F(MouseTest, NonClientLeaveComesWhenThePointerMovesIntoTheClientArea) {
  HWND framed = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {500, 100, 700, 300});
  ProcessMessages();
  Headless->MoveMouse({550, 110});  // caption
  ProcessMessages();
  TrackLeave(framed, TME_LEAVE | TME_NONCLIENT);
  Headless->MoveMouse({560, 112});
  ProcessMessages();
  EXPECT_EQ(Count(framed, WM_NCMOUSELEAVE), 0);
  EXPECT_EQ(Count(framed, WM_NCMOUSEMOVE), 2);
  Headless->MoveMouse({560, 200});
  ProcessMessages();
  EXPECT_EQ(Count(framed, WM_NCMOUSELEAVE), 1);
  EXPECT_EQ(Count(framed, WM_MOUSELEAVE), 0);
}

TEST_F(MouseTest, LeavingTheNativeWindowEndsTrackingEvenWithoutAMove) {
  Headless->MoveMouse({120, 120});
  ProcessMessages();
  TrackLeave(Window);
  // Another window comes up under the pointer.
  HWND cover = CreateTopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 400, 400});
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_MOUSELEAVE), 1);
  DestroyWindow(cover);
}

TEST_F(MouseTest, ClickMessagesCarryButtonsAndModifiers) {
  Headless->MoveMouse({160, 160});
  Headless->PressKey(platform::VK_CONTROL);
  Headless->PressMouse(MouseButton::Right);
  Headless->ReleaseMouse(MouseButton::Right);
  ProcessMessages();
  EXPECT_EQ(Last(Child, WM_RBUTTONDOWN)->WParam, MK_RBUTTON | MK_CONTROL);
  EXPECT_EQ(Last(Child, WM_RBUTTONDOWN)->LParam, MakeLParam(10, 10));
  EXPECT_EQ(Last(Child, WM_RBUTTONUP)->WParam, MK_CONTROL);
  // The default passes the context menu request to the parent.
  EXPECT_EQ(Count(Child, WM_CONTEXTMENU), 1);
  ASSERT_EQ(Count(Window, WM_CONTEXTMENU), 1);
  EXPECT_EQ(PointFromLParam(Last(Window, WM_CONTEXTMENU)->LParam), (gfx::Point{160, 160}));
}

// The parents of a pressed child hear of it before the child does, each in
// its own client coordinates, and always as the button's down message;
// WS_EX_NOPARENTNOTIFY on a window of the chain stops it there.
TEST_F(MouseTest, APressOnAChildIsAnnouncedToItsAncestors) {
  HWND grandchild = CreateChild(Child, {10, 10, 30, 30});
  ProcessMessages();
  auto notices = [&](HWND window) {
    std::vector<std::pair<UINT, gfx::Point>> result;
    for (const auto& m : Log) {
      if (m.Window == window && m.Message == WM_PARENTNOTIFY) result.emplace_back(LoWord(m.WParam), PointFromLParam(m.LParam));
    }
    return result;
  };
  using Notices = std::vector<std::pair<UINT, gfx::Point>>;
  Log.clear();
  Headless->Click({165, 165}, MouseButton::Right);
  Headless->Click({165, 165}, MouseButton::Middle);
  Headless->Click({165, 165});
  Headless->Click({165, 165});  // a double click
  ProcessMessages();
  Notices expected{{WM_RBUTTONDOWN, {15, 15}}, {WM_MBUTTONDOWN, {15, 15}}, {WM_LBUTTONDOWN, {15, 15}}, {WM_LBUTTONDOWN, {15, 15}}};
  EXPECT_EQ(notices(Child), expected);
  for (auto& notice : expected) notice.second = {65, 65};
  EXPECT_EQ(notices(Window), expected);
  EXPECT_EQ(Count(grandchild, WM_LBUTTONDBLCLK), 1);
  EXPECT_TRUE(notices(grandchild).empty());
  // Before the child's own press (and its activation question).
  std::vector<UINT> order = Messages();
  EXPECT_LT(std::find(order.begin(), order.end(), WM_PARENTNOTIFY) - order.begin(),
            std::find(order.begin(), order.end(), WM_RBUTTONDOWN) - order.begin());

  SetWindowLong(Child, GWL_EXSTYLE, WS_EX_NOPARENTNOTIFY);
  Log.clear();
  Headless->AdvanceClock(1000);
  Headless->Click({165, 165});
  ProcessMessages();
  EXPECT_EQ(notices(Child), (Notices{{WM_LBUTTONDOWN, {15, 15}}}));
  EXPECT_TRUE(notices(Window).empty());
  SetWindowLong(grandchild, GWL_EXSTYLE, WS_EX_NOPARENTNOTIFY);
  Headless->Click({165, 165});
  Headless->Click({110, 110});  // the top-level window itself has no parent to tell
  ProcessMessages();
  EXPECT_EQ(Count(Child, WM_PARENTNOTIFY), 1);
  EXPECT_EQ(Count(Window, WM_PARENTNOTIFY), 0);
}

TEST_F(MouseTest, DisabledChildrenLetTheParentHaveTheMouse) {
  EnableWindow(Child, false);
  Headless->Click({160, 160});
  ProcessMessages();
  EXPECT_EQ(Count(Child, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(Count(Window, WM_LBUTTONDOWN), 1);
  EXPECT_EQ(Last(Child, WM_ENABLE)->WParam, 0u);
  EXPECT_FALSE(IsWindowEnabled(Child));
}

TEST_F(MouseTest, TransparentHitTestPassesThePointToTheParent) {
  OnMessage = [this](HWND w, UINT m, WPARAM, LPARAM, LRESULT& result) {
    if (w != Child || m != WM_NCHITTEST) return false;
    result = HTTRANSPARENT;
    return true;
  };
  Headless->Click({160, 160});
  ProcessMessages();
  EXPECT_EQ(Count(Child, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(Last(Window, WM_LBUTTONDOWN)->LParam, MakeLParam(60, 60));
}

TEST_F(MouseTest, TheWheelGoesToTheFocusWindow) {
  SetFocus(Child);
  Headless->MoveMouse({110, 110});
  Headless->TurnWheel(-2);
  ProcessMessages();
  ASSERT_EQ(Count(Child, WM_MOUSEWHEEL), 1);
  EXPECT_EQ(WheelDeltaFromWParam(Last(Child, WM_MOUSEWHEEL)->WParam), -240);
  // Unhandled, it goes up to the parent.
  EXPECT_EQ(Count(Window, WM_MOUSEWHEEL), 1);
}

}  // namespace
}  // namespace ui::testing
