#include "UiTestSupport.h"

#include <chrono>
#include <stdexcept>
#include <thread>

namespace ui::testing {
namespace {

class MessageLoopTest : public UiTest {};

TEST_F(MessageLoopTest, PostedMessagesArriveInOrderBeforeQuit) {
  HWND window = CreateTopLevel();
  PostMessage(window, WM_USER + 1, 11, 12);
  PostMessage(window, WM_USER + 2);
  PostQuitMessage(3);
  PostMessage(window, WM_USER + 3);
  std::vector<UINT> seen;
  TMsg message;
  while (GetMessage(message)) {
    seen.push_back(message.Message);
    DispatchMessage(message);
  }
  EXPECT_EQ(message.WParam, 3u);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 3}));
  EXPECT_EQ(Log[Log.size() - 3].WParam, 11u);
}

TEST_F(MessageLoopTest, ProcessMessagesStopsAtQuitAndLeavesIt) {
  HWND window = CreateTopLevel();
  PostQuitMessage(5);
  PostMessage(window, WM_USER);
  ProcessMessages();
  EXPECT_EQ(Count(window, WM_USER), 1);
  ProcessMessages();
  EXPECT_EQ(RunMessageLoop(), 5);
}

TEST_F(MessageLoopTest, PeekCanLookWithoutTakingAndFilter) {
  HWND first = CreateTopLevel();
  HWND second = CreateTopLevel();
  HWND child = CreateChild(second, {0, 0, 5, 5});
  PostMessage(first, WM_USER);
  PostMessage(child, WM_USER + 1);
  PostMessage(second, WM_APP);
  TMsg message;
  ASSERT_TRUE(PeekMessage(message, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(message.Window, first);
  ASSERT_TRUE(PeekMessage(message, second, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.Window, child);
  ASSERT_TRUE(PeekMessage(message, nullptr, WM_APP, WM_APP, PM_REMOVE));
  EXPECT_EQ(message.Window, second);
  ASSERT_TRUE(PeekMessage(message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.Message, WM_USER);
  EXPECT_FALSE(PeekMessage(message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageLoopTest, MessagesToDestroyedWindowsAreDropped) {
  HWND window = CreateTopLevel();
  PostMessage(window, WM_USER);
  DestroyWindow(window);
  EXPECT_FALSE(PostMessage(window, WM_USER + 1));
  EXPECT_EQ(SendMessage(window, WM_USER), 0);
  TMsg message;
  EXPECT_FALSE(PeekMessage(message, nullptr, 0, 0, PM_REMOVE));
  // A handle stays dead even when new windows are made.
  for (int i = 0; i < 10; ++i) EXPECT_NE(CreateTopLevel(), window);
  EXPECT_FALSE(IsWindow(window));
  // Thread messages are taken but not dispatched.
  EXPECT_TRUE(PostMessage(nullptr, WM_USER + 5));
  ASSERT_TRUE(PeekMessage(message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.Window, nullptr);
  EXPECT_EQ(DispatchMessage(message), 0);
}

TEST_F(MessageLoopTest, AHandlerCallingProcessMessagesRunsOtherHandlersInside) {
  HWND first = CreateTopLevel();
  HWND second = CreateTopLevel();
  std::vector<std::string> order;
  OnMessage = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_USER && w == first) {
      order.push_back("first begins");
      PostMessage(second, WM_USER);
      ProcessMessages();
      order.push_back("first ends");
    } else if (m == WM_USER && w == second) {
      order.push_back("second");
    }
    return false;
  };
  PostMessage(first, WM_USER);
  ProcessMessages();
  EXPECT_EQ(order, (std::vector<std::string>{"first begins", "second", "first ends"}));
  // A send from inside a send returns into the outer handler.
  OnMessage = [&](HWND w, UINT m, WPARAM wp, LPARAM, LRESULT& result) {
    if (m != WM_USER + 10) return false;
    result = wp == 0 ? SendMessage(second, WM_USER + 10, 1) + 1 : 41;
    (void)w;
    return true;
  };
  EXPECT_EQ(SendMessage(first, WM_USER + 10), 42);
}

TEST_F(MessageLoopTest, AHandlerMayDestroyItsOwnWindow) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = CreateChild(window, {10, 10, 50, 50});
  ProcessMessages();
  int after = 0;
  OnMessage = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT& result) {
    if (m == WM_LBUTTONDOWN && w == child) {
      PostMessage(child, WM_USER);
      DestroyWindow(window);
      // Everything the handler still touches is its own.
      ++after;
      result = 0;
      return true;
    }
    return false;
  };
  gfx::Point inChild{0, 0};
  ClientToScreen(child, inChild);
  Headless->MoveMouse({inChild.X + 5, inChild.Y + 5});
  Headless->PressMouse(platform::MouseButton::Left);
  Headless->MoveMouse({inChild.X + 6, inChild.Y + 6});
  Headless->ReleaseMouse(platform::MouseButton::Left);
  SetTimer(window, 1, 10);
  Headless->AdvanceClock(10);
  ProcessMessages();
  EXPECT_EQ(after, 1);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_EQ(Count(child, WM_LBUTTONUP), 0);
  EXPECT_EQ(Count(child, WM_USER), 0);
  EXPECT_EQ(Count(window, WM_TIMER), 0);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST_F(MessageLoopTest, DestroyingDuringCreateOrDestroyIsSafe) {
  OnMessage = [](HWND w, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_CREATE) DestroyWindow(w);
    return false;
  };
  EXPECT_EQ(CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE), nullptr);
  // A second DestroyWindow from WM_DESTROY is refused, not repeated.
  int destroys = 0;
  OnMessage = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m == WM_DESTROY) {
      ++destroys;
      EXPECT_FALSE(DestroyWindow(w));
    }
    return false;
  };
  HWND window = CreateTopLevel();
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(destroys, 1);
}

TEST_F(MessageLoopTest, ExceptionsFromHandlersGoToTheErrorHandler) {
  HWND window = CreateTopLevel();
  OnMessage = [](HWND, UINT m, WPARAM, LPARAM, LRESULT&) -> bool {
    if (m == WM_USER) throw std::runtime_error("'abc' is not a valid integer value");
    return false;
  };
  // Without a handler the exception reaches the caller.
  PostMessage(window, WM_USER);
  EXPECT_THROW(ProcessMessages(), std::runtime_error);
  std::vector<std::string> errors;
  System->SetErrorHandler([&](std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      errors.push_back(e.what());
    }
  });
  PostMessage(window, WM_USER);
  PostMessage(window, WM_USER + 1);
  ProcessMessages();
  EXPECT_EQ(errors, (std::vector<std::string>{"'abc' is not a valid integer value"}));
  EXPECT_EQ(Count(window, WM_USER + 1), 1);
}

TEST_F(MessageLoopTest, AProcedureIgnoringWmPaintDoesNotMakeTheQueueSpin) {
  HWND window = CreateTopLevel(WS_POPUP | WS_VISIBLE);
  OnMessage = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& result) {
    result = 0;
    return m == WM_PAINT;
  };
  InvalidateRect(window, nullptr, true);
  ProcessMessages();
  EXPECT_EQ(Count(window, WM_PAINT), 1);
  gfx::Rect update;
  EXPECT_FALSE(GetUpdateRect(window, &update));
}

TEST_F(MessageLoopTest, AWakeFromAnotherThreadEndsAWait) {
  std::thread waker([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Headless->Wake();
  });
  WaitMessage();  // no timer: waits for the wake
  waker.join();
  SUCCEED();
}

}  // namespace
}  // namespace ui::testing

namespace ui::testing {
namespace {

// Whatever message a window is destroyed in, the window system carries on
// without touching it again (run under AddressSanitizer).
TEST_F(MessageLoopTest, AWindowMayBeDestroyedInAnyMessageOfAClickAndDrag) {
  const UINT messages[] = {WM_NCHITTEST,     WM_SETCURSOR,       WM_MOUSEACTIVATE,     WM_NCACTIVATE,
                           WM_ACTIVATE,      WM_SETFOCUS,
                           WM_NCLBUTTONDOWN, WM_SYSCOMMAND,      WM_ENTERSIZEMOVE,     WM_GETMINMAXINFO,
                           WM_MOVING,        WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE,
                           WM_CAPTURECHANGED, WM_EXITSIZEMOVE,   WM_NCMOUSEMOVE,       WM_PAINT,
                           WM_NCPAINT,       WM_ERASEBKGND,      WM_SHOWWINDOW,        WM_SIZE,
                           WM_NCCALCSIZE,    WM_CREATE};
  for (UINT doomed : messages) {
    SCOPED_TRACE(doomed);
    HWND other = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {500, 100, 700, 300});
    HWND window = nullptr;
    bool armed = true;
    OnMessage = [&](HWND w, UINT m, WPARAM, LPARAM, LRESULT&) {
      if (armed && m == doomed && w != other) {
        armed = false;
        DestroyWindow(w);
      }
      return false;
    };
    window = CreateTopLevel(WS_OVERLAPPEDWINDOW, {100, 100, 300, 250});
    if (window) {
      ShowWindow(window, SW_SHOWNA);
      ProcessMessages();
      Headless->MoveMouse({150, 110});
      Headless->PressMouse(platform::MouseButton::Left);
      Headless->MoveMouse({170, 130});
      Headless->MoveMouse({190, 150});
      Headless->ReleaseMouse(platform::MouseButton::Left);
      ProcessMessages();
      MoveWindow(window, 0, 0, 250, 250, true);
      ProcessMessages();
    }
    OnMessage = nullptr;
    EXPECT_FALSE(armed);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(GetCapture(), nullptr);
    DestroyWindow(other);
    ProcessMessages();
  }
}

}  // namespace
}  // namespace ui::testing

namespace ui::testing {
namespace {

TEST_F(MessageLoopTest, RegisteredMessagesAreStablePerName) {
  UINT first = RegisterWindowMessage("TaskbarCreated");
  EXPECT_GE(first, 0xC000u);
  EXPECT_EQ(RegisterWindowMessage("TaskbarCreated"), first);
  EXPECT_NE(RegisterWindowMessage("Another"), first);
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

}  // namespace
}  // namespace ui::testing
