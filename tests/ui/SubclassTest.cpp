#include "UiTestSupport.h"

namespace ui::testing {
namespace {

class SubclassTest : public UiTest {
 protected:
  // A hook in front of a window's procedure that answers one message.
  struct Hook {
    UINT Answers = 0;
    LRESULT Result = 0;
    WNDPROC Previous;
    WNDPROC Installed;
    int Calls = 0;

    void Install(HWND window) {
      Installed = MakeWindowProc([this](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        ++Calls;
        if (m == Answers) return Result;
        return CallWindowProc(Previous, w, m, wp, lp);
      });
      Previous = SetWindowProc(window, Installed);
    }
    // Puts the procedure it replaced back; returns what it took off.
    WNDPROC Remove(HWND window) { return SetWindowProc(window, Previous); }
  };
};

TEST_F(SubclassTest, TwoHooksSeeMessagesFirstAndAreRemovedInReverse) {
  HWND window = CreateTopLevel();
  OnMessage = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& result) {
    if (m != WM_USER) return false;
    result = 1;
    return true;
  };
  WNDPROC original = GetWindowProc(window);
  Hook first;
  first.Answers = WM_USER + 1;
  first.Result = 10;
  Hook second;
  second.Answers = WM_USER + 2;
  second.Result = 20;
  first.Install(window);
  second.Install(window);
  EXPECT_EQ(first.Previous, original);
  EXPECT_EQ(second.Previous, first.Installed);

  EXPECT_EQ(SendMessage(window, WM_USER), 1);
  EXPECT_EQ(SendMessage(window, WM_USER + 1), 10);
  EXPECT_EQ(SendMessage(window, WM_USER + 2), 20);
  // Every message passed the outer hook; the inner one saw all but its own.
  EXPECT_EQ(second.Calls, 3);
  EXPECT_EQ(first.Calls, 2);
  EXPECT_EQ(Count(window, WM_USER), 1);
  EXPECT_EQ(Count(window, WM_USER + 1), 0);

  EXPECT_EQ(second.Remove(window), second.Installed);
  EXPECT_EQ(SendMessage(window, WM_USER + 2), 0);
  EXPECT_EQ(SendMessage(window, WM_USER + 1), 10);
  EXPECT_EQ(first.Remove(window), first.Installed);
  EXPECT_EQ(GetWindowProc(window), original);
  EXPECT_EQ(SendMessage(window, WM_USER + 1), 0);
  EXPECT_EQ(Count(window, WM_USER + 1), 1);
}

TEST_F(SubclassTest, AHookMayRemoveItselfWhileItRuns) {
  HWND window = CreateTopLevel();
  WNDPROC previous;
  int afterRemoval = 0;
  WNDPROC hook = MakeWindowProc([&](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
    if (m == WM_USER) {
      SetWindowProc(w, previous);
      // The closure is still alive: its captures can be used.
      ++afterRemoval;
      return CallWindowProc(previous, w, m, wp, lp) + 5;
    }
    return CallWindowProc(previous, w, m, wp, lp);
  });
  previous = SetWindowProc(window, hook);
  hook.reset();  // the window holds the only reference now
  EXPECT_EQ(SendMessage(window, WM_USER), 5);
  EXPECT_EQ(afterRemoval, 1);
  EXPECT_EQ(SendMessage(window, WM_USER), 0);
  EXPECT_EQ(afterRemoval, 1);
  EXPECT_EQ(Count(window, WM_USER), 2);
  DestroyWindow(window);
}

TEST_F(SubclassTest, WithoutAProcedureTheDefaultAnswers) {
  HWND window = CreateTopLevel();
  SetWindowProc(window, nullptr);
  EXPECT_EQ(SendMessage(window, WM_NCHITTEST, 0, MakeLParam(200, 110)), HTCAPTION);
  EXPECT_EQ(CallWindowProc(nullptr, window, WM_GETTEXTLENGTH, 0, 0), 4);
  // Old handles and destroyed windows give nothing back.
  DestroyWindow(window);
  EXPECT_EQ(SetWindowProc(window, nullptr), nullptr);
  EXPECT_EQ(GetWindowProc(window), nullptr);
  EXPECT_EQ(SendMessage(window, WM_GETTEXTLENGTH), 0);
}

TEST_F(SubclassTest, WindowLongsKeepStylesAndData) {
  HWND window = CreateTopLevel();
  EXPECT_EQ(DWORD(GetWindowLong(window, GWL_STYLE)), WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(SetWindowLong(window, GWL_USERDATA, 1234), 0);
  EXPECT_EQ(GetWindowLong(window, GWL_USERDATA), 1234);
  SetWindowLong(window, GWL_ID, 7);
  EXPECT_EQ(GetWindowLong(window, GWL_ID), 7);
  // The frame follows a style change at SWP_FRAMECHANGED.
  SetWindowLong(window, GWL_STYLE, LONG_PTR(WS_POPUP));
  gfx::Rect client;
  GetClientRect(window, client);
  EXPECT_EQ(client, (gfx::Rect{0, 0, 192, 123}));
  SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  GetClientRect(window, client);
  EXPECT_EQ(client, (gfx::Rect{0, 0, 200, 150}));
  EXPECT_EQ(GetClassName(window), "Logged");
}

}  // namespace
}  // namespace ui::testing
