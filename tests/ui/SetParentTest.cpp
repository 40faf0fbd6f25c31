#include "UiTestSupport.h"

namespace ui::testing {
namespace {

constexpr gfx::Color Red = gfx::MakeColor(255, 0, 0);
constexpr gfx::Color Grey = gfx::MakeColor(200, 200, 200);

// A frame at (100, 100) whose client area starts at (104, 123), holding
// two grey panels side by side; a red box sits in the left panel.
class SetParentTest : public UiTest {
 protected:
  void SetUp() override {
    Frame = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 500, 400});
    Left = CreateChild(Frame, {10, 10, 150, 200});
    Right = CreateChild(Frame, {200, 10, 340, 200});
    Box = CreateChild(Left, {5, 5, 45, 25});
    OnMessage = [this](HWND w, UINT m, WPARAM wp, LPARAM, LRESULT& result) {
      if (m != WM_ERASEBKGND || (w != Box && w != Left && w != Right)) return false;
      gfx::Rect client;
      GetClientRect(w, client);
      gfx::Canvas& canvas = reinterpret_cast<HDC>(wp)->Canvas();
      canvas.SetBrush(w == Box ? Red : Grey);
      canvas.FillRect(client);
      result = 1;
      return true;
    };
    InvalidateRect(Frame, nullptr, true);
    ProcessMessages();
    Log.clear();
  }
  gfx::Rect ScreenRect(HWND w) {
    gfx::Rect r;
    GetWindowRect(w, r);
    return r;
  }

  HWND Frame = nullptr;
  HWND Left = nullptr;
  HWND Right = nullptr;
  HWND Box = nullptr;
};

TEST_F(SetParentTest, AChildMovesToAnotherParentKeepingItsPositionInTheNewClientArea) {
  ASSERT_EQ(ScreenPixel(114 + 10, 133 + 10), PixelOf(Red));
  HWND sibling = CreateChild(Right, {50, 50, 60, 60});
  EXPECT_EQ(SetParent(Box, Right), Left);
  EXPECT_EQ(GetParent(Box), Right);
  EXPECT_TRUE(IsChild(Right, Box));
  EXPECT_FALSE(IsChild(Left, Box));
  EXPECT_TRUE(GetChildWindows(Left).empty());
  // On top of its new siblings.
  EXPECT_EQ(GetChildWindows(Right), (std::vector<HWND>{Box, sibling}));
  EXPECT_EQ(ScreenRect(Box), (gfx::Rect{304 + 5, 133 + 5, 304 + 45, 133 + 25}));
  EXPECT_EQ(GetWindowLong(Box, GWL_STYLE) & WS_CHILD, LONG_PTR(WS_CHILD));

  ProcessMessages();
  // The old place shows the left panel again, the new one the box.
  EXPECT_EQ(ScreenPixel(114 + 10, 133 + 10), PixelOf(Grey));
  EXPECT_EQ(ScreenPixel(304 + 10, 133 + 10), PixelOf(Red));
  EXPECT_EQ(WindowFromPoint({304 + 10, 133 + 10}), Box);
  EXPECT_EQ(WindowFromPoint({114 + 10, 133 + 10}), Left);
}

TEST_F(SetParentTest, TheFocusStaysWithinItsTopLevelWindowAndLeavesWithIt) {
  SetFocus(Box);
  ProcessMessages();
  Log.clear();
  SetParent(Box, Right);
  EXPECT_EQ(GetFocus(), Box);
  EXPECT_EQ(Count(Box, WM_KILLFOCUS), 0);

  HWND other = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 100, 800, 300});
  SetForegroundWindow(Frame);
  SetFocus(Box);
  ProcessMessages();
  Log.clear();
  SetParent(Box, other);
  // Focus lost properly: the box heard it, the frame stays active.
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(Count(Box, WM_KILLFOCUS), 1);
  EXPECT_EQ(GetActiveWindow(), Frame);
  EXPECT_EQ(Count(Frame, WM_ACTIVATE), 0);
  EXPECT_EQ(GetAncestor(Box, GA_ROOT), other);
}

TEST_F(SetParentTest, ACaptureInsideGoesWhenTheWindowLeavesItsTopLevelWindow) {
  HWND other = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 100, 800, 300});
  SetCapture(Box);
  SetParent(Box, Right);
  EXPECT_EQ(GetCapture(), Box);
  SetParent(Box, other);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Count(Box, WM_CAPTURECHANGED), 1);
  EXPECT_EQ(Headless->GrabWindow(), platform::NoWindow);
}

TEST_F(SetParentTest, AChildBecomesATopLevelWindowAndBack) {
  EXPECT_EQ(Native(Box), platform::NoWindow);
  EXPECT_EQ(SetParent(Box, nullptr), Left);
  platform::NativeWindow native = Native(Box);
  ASSERT_NE(native, platform::NoWindow);
  EXPECT_EQ(GetWindowLong(Box, GWL_STYLE) & WS_CHILD, 0);
  EXPECT_EQ(GetParent(Box), nullptr);
  EXPECT_EQ(GetAncestor(Box, GA_ROOT), Box);
  // Its numbers are screen coordinates now.
  EXPECT_EQ(ScreenRect(Box), (gfx::Rect{5, 5, 45, 25}));
  EXPECT_EQ(Headless->Bounds(native), (gfx::Rect{5, 5, 45, 25}));
  EXPECT_TRUE(Headless->IsVisible(native));
  ProcessMessages();
  EXPECT_EQ(ScreenPixel(10, 10), PixelOf(Red));
  EXPECT_EQ(ScreenPixel(114 + 10, 133 + 10), PixelOf(Grey));
  // Raised, not activated.
  EXPECT_EQ(GetActiveWindow(), Frame);
  EXPECT_EQ(Headless->ZOrder().back(), native);

  // Back into the frame: the native window goes, the pixels follow.
  MoveWindow(Box, 20, 30, 40, 20, true);
  EXPECT_EQ(SetParent(Box, Frame), nullptr);
  EXPECT_FALSE(Headless->IsWindow(native));
  EXPECT_EQ(Native(Box), platform::NoWindow);
  EXPECT_EQ(GetParent(Box), Frame);
  EXPECT_EQ(GetChildWindows(Frame).front(), Box);
  EXPECT_EQ(ScreenRect(Box), (gfx::Rect{124, 153, 164, 173}));
  ProcessMessages();
  EXPECT_EQ(ScreenPixel(130, 160), PixelOf(Red));
  EXPECT_EQ(ScreenPixel(10, 10), Headless->Screen().GetPixel(1000, 10));  // the desktop
}

TEST_F(SetParentTest, AnActiveTopLevelWindowThatBecomesAChildHandsOnTheActivation) {
  HWND tool = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {600, 100, 800, 300});
  HWND toolChild = CreateChild(tool, {10, 10, 50, 50});
  SetFocus(toolChild);
  ProcessMessages();
  ASSERT_EQ(GetActiveWindow(), tool);
  Log.clear();
  SetParent(tool, Right);
  EXPECT_EQ(GetActiveWindow(), Frame);
  EXPECT_EQ(Count(tool, WM_ACTIVATE), 1);
  EXPECT_EQ(Count(Frame, WM_ACTIVATE), 1);
  EXPECT_EQ(GetFocus(), Frame);
  EXPECT_EQ(Count(toolChild, WM_KILLFOCUS), 1);
  EXPECT_EQ(GetAncestor(toolChild, GA_ROOT), Frame);
  // Clicking into it now activates nothing new and focuses normally.
  SetFocus(toolChild);
  EXPECT_EQ(GetFocus(), toolChild);
}

TEST_F(SetParentTest, ImpossibleMovesChangeNothing) {
  EXPECT_EQ(SetParent(Left, Box), nullptr);   // into its own descendant
  EXPECT_EQ(SetParent(Left, Left), nullptr);  // into itself
  EXPECT_EQ(SetParent(nullptr, Left), nullptr);
  EXPECT_EQ(SetParent(Box, reinterpret_cast<HWND>(std::intptr_t(0x7777))), nullptr);
  HWND message = CreateWindowEx(0, "Logged", "", 0, 0, 0, 0, 0, HWND_MESSAGE);
  EXPECT_EQ(SetParent(message, Left), nullptr);
  EXPECT_EQ(SetParent(Box, message), nullptr);
  EXPECT_EQ(GetParent(Left), Frame);
  EXPECT_EQ(GetParent(Box), Left);
  EXPECT_TRUE(Log.empty() || Count(Box, WM_KILLFOCUS) == 0);
}

TEST_F(SetParentTest, TheSameParentOnlyRaisesTheWindow) {
  HWND top = CreateChild(Left, {0, 0, 20, 20});
  ASSERT_EQ(GetChildWindows(Left).front(), top);
  EXPECT_EQ(SetParent(Box, Left), Left);
  EXPECT_EQ(GetChildWindows(Left), (std::vector<HWND>{Box, top}));
}

TEST_F(SetParentTest, DestroyingTheOldAndNewParentsAfterwardsTakesOnlyTheirOwnChildren) {
  SetParent(Box, Right);
  DestroyWindow(Left);
  EXPECT_TRUE(IsWindow(Box));
  DestroyWindow(Right);
  EXPECT_FALSE(IsWindow(Box));
}

}  // namespace
}  // namespace ui::testing
