#include "UiTestSupport.h"

namespace ui::testing {
namespace {

class MessageOrderTest : public UiTest {};

TEST_F(MessageOrderTest, CreationSendsTheFrameMessagesBeforeCreateThenSizeAndMove) {
  HWND window = CreateTopLevel();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(Messages(window), (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE,
                                                 WM_CREATE, WM_SIZE, WM_MOVE}));
  // WM_SIZE carries the client size the frame left; WM_MOVE the client
  // area's top-left on the screen.
  EXPECT_EQ(Last(window, WM_SIZE)->LParam, MakeLParam(192, 123));
  EXPECT_EQ(Last(window, WM_MOVE)->LParam, MakeLParam(104, 123));
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(MessageOrderTest, ShowingActivatesAfterThePositionChangeAndFocusesTheWindow) {
  HWND window = CreateTopLevel();
  Log.clear();
  EXPECT_FALSE(ShowWindow(window, SW_SHOW));
  EXPECT_EQ(Messages(window), (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING,
                                                 WM_WINDOWPOSCHANGED, WM_ACTIVATEAPP, WM_NCACTIVATE,
                                                 WM_NCPAINT, WM_ACTIVATE, WM_SETFOCUS}));
  EXPECT_EQ(Last(window, WM_SHOWWINDOW)->WParam, 1u);
  EXPECT_EQ(LoWord(Last(window, WM_ACTIVATE)->WParam), WA_ACTIVE);
  EXPECT_EQ(GetActiveWindow(), window);
  EXPECT_EQ(GetFocus(), window);
  EXPECT_TRUE(Headless->IsVisible(Native(window)));

  // The first paint draws the frame, erases and paints.
  Log.clear();
  ProcessMessages();
  EXPECT_EQ(Messages(window), (std::vector<UINT>{WM_PAINT, WM_NCPAINT, WM_ERASEBKGND}));
  // Showing a visible window again changes nothing.
  Log.clear();
  EXPECT_TRUE(ShowWindow(window, SW_SHOW));
  EXPECT_TRUE(Messages(window).empty());
}

TEST_F(MessageOrderTest, ResizingRecalculatesTheFrameAndReportsMoveAndSize) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ProcessMessages();
  Log.clear();
  MoveWindow(window, 50, 60, 400, 300, true);
  // A sizeable window's new size is held to its tracking sizes.
  EXPECT_EQ(Messages(window), (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_GETMINMAXINFO, WM_NCCALCSIZE,
                                                 WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE}));
  EXPECT_EQ(Last(window, WM_SIZE)->LParam, MakeLParam(392, 273));
  EXPECT_EQ(Headless->Bounds(Native(window)), (gfx::Rect{50, 60, 450, 360}));
  ProcessMessages();

  // A pure move needs no new frame and no paint.
  Log.clear();
  SetWindowPos(window, nullptr, 70, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ProcessMessages();
  EXPECT_EQ(Messages(window), (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}));
}

TEST_F(MessageOrderTest, WindowPosChangingMayRewriteTheRequest) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  OnMessage = [](HWND, UINT m, WPARAM, LPARAM lp, LRESULT&) {
    if (m == WM_WINDOWPOSCHANGING) FromLParam<WindowPos>(lp)->Width = 222;
    return false;
  };
  MoveWindow(window, 0, 0, 500, 400, true);
  gfx::Rect rect;
  GetWindowRect(window, rect);
  EXPECT_EQ(rect, (gfx::Rect{0, 0, 222, 400}));
}

// As on the classic desktop, the activation moves on while the window is
// being hidden, before WM_WINDOWPOSCHANGED.
TEST_F(MessageOrderTest, DestroyingTheActiveWindowHidesDeactivatesThenDestroys) {
  HWND window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ProcessMessages();
  Log.clear();
  EXPECT_TRUE(DestroyWindow(window));
  EXPECT_EQ(Messages(window),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_NCACTIVATE, WM_NCPAINT, WM_ACTIVATE,
                               WM_KILLFOCUS, WM_ACTIVATEAPP, WM_WINDOWPOSCHANGED, WM_DESTROY,
                               WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(Headless->ZOrder().size(), 0u);
  EXPECT_FALSE(DestroyWindow(window));
}

TEST_F(MessageOrderTest, DestroyNotifiesParentsFirstAndFreesChildrenFirst) {
  HWND parent = CreateTopLevel(WS_OVERLAPPEDWINDOW);
  HWND child = CreateChild(parent, {10, 10, 50, 50});
  HWND grandChild = CreateChild(child, {1, 1, 5, 5});
  Log.clear();
  DestroyWindow(parent);
  std::vector<std::pair<HWND, UINT>> order;
  for (const auto& m : Log) {
    if (m.Message == WM_DESTROY || m.Message == WM_NCDESTROY) order.emplace_back(m.Window, m.Message);
  }
  EXPECT_EQ(order, (std::vector<std::pair<HWND, UINT>>{{parent, WM_DESTROY},
                                                        {child, WM_DESTROY},
                                                        {grandChild, WM_DESTROY},
                                                        {grandChild, WM_NCDESTROY},
                                                        {child, WM_NCDESTROY},
                                                        {parent, WM_NCDESTROY}}));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(grandChild));
}

TEST_F(MessageOrderTest, ChildCreationAndDestructionAreAnnouncedToTheParent) {
  HWND parent = CreateTopLevel();
  HWND child = CreateChild(parent, {0, 0, 10, 10});
  const LoggedMessage* created = Last(parent, WM_PARENTNOTIFY);
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(LoWord(created->WParam), WM_CREATE);
  EXPECT_EQ(HandleFromParam(std::uintptr_t(created->LParam)), child);
  DestroyWindow(child);
  EXPECT_EQ(LoWord(Last(parent, WM_PARENTNOTIFY)->WParam), WM_DESTROY);
  EXPECT_TRUE(GetChildWindows(parent).empty());
}

TEST_F(MessageOrderTest, OwnedWindowsAreDestroyedWithTheirOwner) {
  HWND owner = CreateTopLevel();
  HWND popup = CreateWindowEx(WS_EX_TOOLWINDOW, "Logged", "", WS_POPUP, 0, 0, 10, 10, owner);
  EXPECT_EQ(GetParent(popup), owner);
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(popup));
  // The owned window went first.
  auto destroyOf = [&](HWND w) {
    for (std::size_t i = 0; i < Log.size(); ++i) {
      if (Log[i].Window == w && Log[i].Message == WM_DESTROY) return i;
    }
    return Log.size();
  };
  EXPECT_LT(destroyOf(popup), destroyOf(owner));
}

TEST_F(MessageOrderTest, RefusingCreationGivesNoWindow) {
  OnMessage = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& result) {
    if (m != WM_CREATE) return false;
    result = -1;
    return true;
  };
  EXPECT_EQ(CreateTopLevel(), nullptr);
  EXPECT_EQ(Messages().back(), WM_NCDESTROY);
  EXPECT_TRUE(GetTopLevelWindows().empty());
  EXPECT_EQ(Headless->ZOrder().size(), 0u);

  OnMessage = [](HWND, UINT m, WPARAM, LPARAM, LRESULT& result) {
    if (m != WM_NCCREATE) return false;
    result = 0;
    return true;
  };
  EXPECT_EQ(CreateTopLevel(), nullptr);
  EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr), nullptr);
}

TEST_F(MessageOrderTest, MessageOnlyWindowsHaveNoNativeWindowAndNeverShow) {
  HWND hidden = CreateWindowEx(0, "Logged", "", 0, 0, 0, 0, 0, HWND_MESSAGE);
  ASSERT_NE(hidden, nullptr);
  EXPECT_EQ(Native(hidden), platform::NoWindow);
  ShowWindow(hidden, SW_SHOW);
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(SendMessage(hidden, WM_USER), 0);
  EXPECT_TRUE(PostMessage(hidden, WM_USER + 1));
  ProcessMessages();
  EXPECT_EQ(Count(hidden, WM_USER + 1), 1);
}

}  // namespace
}  // namespace ui::testing
