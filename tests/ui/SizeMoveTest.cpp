#include "UiTestSupport.h"
#include "ui/windowing/SystemMetrics.h"

namespace ui::testing {
namespace {

using platform::MouseButton;

class SizeMoveTest : public UiTest {
 protected:
  void SetUp() override {
    Window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 300, 250});
    ProcessMessages();
    Log.clear();
  }
  // Press at from, move in steps to to, release; then let the queue run
  // (the modal loop runs inside the press's handler).
  void Drag(gfx::Point from, gfx::Point to, int steps = 4) {
    Headless->MoveMouse(from);
    Headless->PressMouse(MouseButton::Left);
    for (int i = 1; i <= steps; ++i) {
      Headless->MoveMouse({from.X + (to.X - from.X) * i / steps, from.Y + (to.Y - from.Y) * i / steps});
    }
    Headless->ReleaseMouse(MouseButton::Left);
    ProcessMessages();
  }
  gfx::Rect Bounds() {
    gfx::Rect r;
    GetWindowRect(Window, r);
    return r;
  }

  HWND Window = nullptr;
};

TEST_F(SizeMoveTest, DraggingTheCaptionMovesTheWindow) {
  Drag({150, 110}, {180, 130});
  EXPECT_EQ(Bounds(), (gfx::Rect{130, 120, 330, 270}));
  EXPECT_EQ(Headless->Bounds(Native(Window)), (gfx::Rect{130, 120, 330, 270}));
  std::vector<UINT> loop = MessagesWithout(Window, {WM_NCHITTEST, WM_SETCURSOR, WM_NCMOUSEMOVE, WM_WINDOWPOSCHANGING,
                                                    WM_WINDOWPOSCHANGED, WM_MOVE, WM_CAPTURECHANGED, WM_MOVING});
  EXPECT_EQ(loop, (std::vector<UINT>{WM_NCLBUTTONDOWN, WM_SYSCOMMAND, WM_ENTERSIZEMOVE, WM_GETMINMAXINFO,
                                     WM_EXITSIZEMOVE}));
  EXPECT_EQ(Last(Window, WM_SYSCOMMAND)->WParam, SC_MOVE | HTCAPTION);
  EXPECT_EQ(Count(Window, WM_MOVING), 4);
  // The loop held the capture and gave it back.
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Headless->GrabWindow(), platform::NoWindow);
  EXPECT_EQ(Count(Window, WM_LBUTTONUP), 0);
}

TEST_F(SizeMoveTest, WmMovingMayChangeTheRectangle) {
  // Snap to the screen's left edge within 20 pixels.
  OnMessage = [](HWND, UINT m, WPARAM, LPARAM lp, LRESULT&) {
    if (m == WM_MOVING) {
      gfx::Rect* r = FromLParam<gfx::Rect>(lp);
      if (r->Left < 20) *r = r->Offset(-r->Left, 0);
    }
    return false;
  };
  Drag({150, 110}, {65, 110});
  EXPECT_EQ(Bounds(), (gfx::Rect{0, 100, 200, 250}));
}

TEST_F(SizeMoveTest, SizingFollowsTheEdgeAndStaysWithinTheTrackingSizes) {
  OnMessage = [](HWND, UINT m, WPARAM, LPARAM lp, LRESULT&) {
    if (m == WM_GETMINMAXINFO) {
      auto* info = FromLParam<MinMaxInfo>(lp);
      info->MinTrackSize = {150, 100};
      info->MaxTrackSize = {250, 200};
    }
    return false;
  };
  // Bottom-right corner far out: the maximum tracking size.
  Drag({299, 249}, {600, 600});
  EXPECT_EQ(Bounds(), (gfx::Rect{100, 100, 350, 300}));
  EXPECT_EQ(Last(Window, WM_SIZING)->WParam, WMSZ_BOTTOMRIGHT);
  EXPECT_EQ(Last(Window, WM_SYSCOMMAND)->WParam, SC_SIZE | WMSZ_BOTTOMRIGHT);
  // The left edge far in: the minimum, with the right edge kept.
  Drag({100, 200}, {400, 200});
  EXPECT_EQ(Bounds(), (gfx::Rect{200, 100, 350, 300}));
  EXPECT_EQ(Last(Window, WM_SIZING)->WParam, WMSZ_LEFT);
  // The top edge up: the height grows to the maximum, the bottom stays.
  Drag({260, 100}, {260, 0});
  EXPECT_EQ(Bounds(), (gfx::Rect{200, 100, 350, 300}));
  EXPECT_EQ(Last(Window, WM_SIZING)->WParam, WMSZ_TOP);
}

// Whoever sizes a sizeable top-level window, it keeps within its tracking
// sizes; windows without a sizing border and child windows do not ask.
TEST_F(SizeMoveTest, SetWindowPosKeepsSizeableWindowsWithinTheirTrackingSizes) {
  OnMessage = [](HWND, UINT m, WPARAM, LPARAM lp, LRESULT&) {
    if (m == WM_GETMINMAXINFO) {
      auto* info = FromLParam<MinMaxInfo>(lp);
      info->MinTrackSize = {150, 100};
      info->MaxTrackSize = {250, 200};
    }
    return false;
  };
  MoveWindow(Window, 10, 20, 900, 40, true);
  EXPECT_EQ(Bounds(), (gfx::Rect{10, 20, 260, 120}));
  SetWindowPos(Window, nullptr, 0, 0, 5, 500, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(Bounds(), (gfx::Rect{10, 20, 160, 220}));
  ShowWindow(Window, SW_MAXIMIZE);
  EXPECT_EQ(Bounds().Width(), 250);
  HWND fixed = CreateTopLevel(WS_POPUP | WS_CAPTION | WS_VISIBLE, {0, 0, 300, 300});
  HWND child = CreateChild(Window, {0, 0, 10, 10}, WS_CHILD | WS_THICKFRAME);
  Log.clear();
  MoveWindow(fixed, 0, 0, 900, 20, true);
  MoveWindow(child, 0, 0, 900, 5, true);
  gfx::Rect r;
  GetWindowRect(fixed, r);
  EXPECT_EQ(r, (gfx::Rect{0, 0, 900, 20}));
  EXPECT_EQ(Count(fixed, WM_GETMINMAXINFO) + Count(child, WM_GETMINMAXINFO), 0);
}

TEST_F(SizeMoveTest, TheSystemSettingSaysWholeWindowsAreDragged) {
  bool full = false;
  EXPECT_TRUE(SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &full));
  EXPECT_TRUE(full);
  EXPECT_FALSE(SystemParametersInfo(0xFFFF, 0, &full));
}

TEST_F(SizeMoveTest, WmSizingMayChangeTheRectangle) {
  // Widths in steps of 50.
  OnMessage = [](HWND, UINT m, WPARAM, LPARAM lp, LRESULT&) {
    if (m == WM_SIZING) {
      gfx::Rect* r = FromLParam<gfx::Rect>(lp);
      r->Right = r->Left + r->Width() / 50 * 50;
    }
    return false;
  };
  Drag({299, 180}, {372, 180});
  EXPECT_EQ(Bounds(), (gfx::Rect{100, 100, 350, 250}));
  gfx::Rect client;
  GetClientRect(Window, client);
  EXPECT_EQ(client, (gfx::Rect{0, 0, 242, 123}));
}

TEST_F(SizeMoveTest, EscapeRestoresTheRectangle) {
  Headless->MoveMouse({150, 110});
  Headless->PressMouse(MouseButton::Left);
  Headless->MoveMouse({250, 210});
  Headless->StrokeKey(platform::VK_ESCAPE);
  Headless->MoveMouse({260, 220});
  Headless->ReleaseMouse(MouseButton::Left);
  ProcessMessages();
  EXPECT_EQ(Bounds(), (gfx::Rect{100, 100, 300, 250}));
  EXPECT_EQ(Count(Window, WM_EXITSIZEMOVE), 1);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SizeMoveTest, AWindowDestroyedDuringTheLoopEndsIt) {
  OnMessage = [](HWND w, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_MOVING) DestroyWindow(w);
    return false;
  };
  Drag({150, 110}, {200, 150});
  EXPECT_FALSE(IsWindow(Window));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Headless->GrabWindow(), platform::NoWindow);
}

TEST_F(SizeMoveTest, LosingTheActivationEndsTheLoopWhereTheWindowIs) {
  HWND other = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {400, 300, 600, 450});
  // The program's waits move the clock, so a timer fires inside the loop.
  Headless->SetWaitClock(platform::headless::WaitClock::AdvanceOnWait);
  // Another program's window, then another window of this one, takes the
  // activation after the first step of the drag.
  for (platform::NativeWindow taker : {platform::NoWindow, Native(other)}) {
    SetActiveWindow(Window);
    MoveWindow(Window, 100, 100, 200, 150, true);
    Headless->AdvanceClock(1000);  // no double click with the last drag
    ProcessMessages();
    Log.clear();
    SetTimer(Window, 1, 50);
    bool taken = false;
    OnMessage = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT&) {
      if (m != WM_TIMER) return false;
      KillTimer(w, 1);
      taken = true;
      Headless->SystemActivate(taker);
      // Neither these moves nor the release reach the loop.
      Headless->MoveMouse({200, 160});
      Headless->ReleaseMouse(MouseButton::Left);
      return true;
    };
    Headless->MoveMouse({150, 110});
    Headless->PressMouse(MouseButton::Left);
    Headless->MoveMouse({160, 120});
    ProcessMessages();
    ASSERT_TRUE(taken);
    EXPECT_EQ(Bounds(), (gfx::Rect{110, 110, 310, 260}));
    EXPECT_EQ(Count(Window, WM_MOVING), 1);
    EXPECT_EQ(Count(Window, WM_EXITSIZEMOVE), 1);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Headless->GrabWindow(), platform::NoWindow);
    EXPECT_NE(GetActiveWindow(), Window);
    OnMessage = nullptr;
  }
}

TEST_F(SizeMoveTest, OtherMessagesRunDuringTheLoop) {
  PostMessage(Window, WM_USER);
  Headless->MoveMouse({150, 110});
  Headless->PressMouse(MouseButton::Left);
  Headless->MoveMouse({160, 120});
  Headless->ReleaseMouse(MouseButton::Left);
  // The posted message is handled before the press; timers run inside.
  SetTimer(Window, 1, 100);
  Headless->AdvanceClock(100);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_USER), 1);
  EXPECT_EQ(Count(Window, WM_TIMER), 1);
  EXPECT_EQ(Bounds(), (gfx::Rect{110, 110, 310, 260}));
}

TEST_F(SizeMoveTest, CaptionButtonsActOnReleaseOverThem) {
  // Pressed on close, released elsewhere: nothing.
  Drag({285, 110}, {200, 110}, 1);
  EXPECT_TRUE(IsWindow(Window));
  EXPECT_EQ(Count(Window, WM_SYSCOMMAND), 0);
  // Maximise, then restore through the same button.
  Headless->Click({265, 110});
  ProcessMessages();
  EXPECT_TRUE(IsZoomed(Window));
  EXPECT_EQ(Bounds(), (gfx::Rect{-4, -4, 1028, 744}));
  gfx::Rect maximise = Bounds();
  Headless->Click({maximise.Right - 4 - 2 - 16 - 2 - 8, 10});
  ProcessMessages();
  EXPECT_FALSE(IsZoomed(Window));
  EXPECT_EQ(Bounds(), (gfx::Rect{100, 100, 300, 250}));
  // Minimise.
  Headless->Click({250, 110});
  ProcessMessages();
  EXPECT_TRUE(IsIconic(Window));
  EXPECT_EQ(Headless->State(Native(Window)), platform::WindowState::Minimized);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  ShowWindow(Window, SW_RESTORE);
  EXPECT_FALSE(IsIconic(Window));
  EXPECT_EQ(GetActiveWindow(), Window);
  // Close.
  Headless->Click({285, 110});
  ProcessMessages();
  EXPECT_FALSE(IsWindow(Window));
}

TEST_F(SizeMoveTest, DoubleClickOnTheCaptionMaximisesAndRestores) {
  Headless->Click({150, 110});
  Headless->AdvanceClock(100);
  Headless->Click({151, 111});
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_NCLBUTTONDBLCLK), 1);
  EXPECT_TRUE(IsZoomed(Window));
  // Too slow is two single clicks.
  Headless->Click({150, 10});
  Headless->AdvanceClock(600);
  Headless->Click({150, 10});
  ProcessMessages();
  EXPECT_TRUE(IsZoomed(Window));
  Headless->AdvanceClock(600);
  Headless->Click({150, 10});
  Headless->Click({150, 10});
  ProcessMessages();
  EXPECT_FALSE(IsZoomed(Window));
}

TEST_F(SizeMoveTest, SizingBordersSetTheSizingCursors) {
  Headless->MoveMouse({100, 180});
  ProcessMessages();
  EXPECT_EQ(Headless->CurrentCursor(), platform::CursorShape::SizeWE);
  Headless->MoveMouse({299, 249});
  ProcessMessages();
  EXPECT_EQ(Headless->CurrentCursor(), platform::CursorShape::SizeNWSE);
  Headless->MoveMouse({299, 100});
  ProcessMessages();
  EXPECT_EQ(Headless->CurrentCursor(), platform::CursorShape::SizeNESW);
  Headless->MoveMouse({200, 100});
  ProcessMessages();
  EXPECT_EQ(Headless->CurrentCursor(), platform::CursorShape::SizeNS);
  Headless->MoveMouse({200, 200});
  ProcessMessages();
  EXPECT_EQ(Headless->CurrentCursor(), platform::CursorShape::Arrow);
}

}  // namespace
}  // namespace ui::testing
