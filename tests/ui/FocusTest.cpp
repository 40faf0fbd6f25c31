#include "UiTestSupport.h"

namespace ui::testing {
namespace {

using platform::MouseButton;

class FocusTest : public UiTest {
 protected:
  void SetUp() override {
    First = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {0, 0, 200, 200});
    Second = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {300, 0, 500, 200});
    Edit = CreateChild(First, {10, 10, 100, 40});
    ProcessMessages();
    Log.clear();
  }
  // The activation and focus messages, in order, with their windows.
  std::vector<std::pair<HWND, UINT>> FocusMessages() const {
    std::vector<std::pair<HWND, UINT>> result;
    for (const auto& m : Log) {
      switch (m.Message) {
        case WM_ACTIVATE:
        case WM_NCACTIVATE:
        case WM_ACTIVATEAPP:
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_MOUSEACTIVATE:
          result.emplace_back(m.Window, m.Message);
          break;
        default:
          break;
      }
    }
    return result;
  }

  HWND First = nullptr;
  HWND Second = nullptr;
  HWND Edit = nullptr;
};

TEST_F(FocusTest, ClickingAnInactiveWindowActivatesIt) {
  ASSERT_EQ(GetActiveWindow(), Second);
  Headless->Click({100, 150});
  ProcessMessages();
  EXPECT_EQ(FocusMessages(), (std::vector<std::pair<HWND, UINT>>{{First, WM_MOUSEACTIVATE},
                                                                   {Second, WM_NCACTIVATE},
                                                                   {Second, WM_ACTIVATE},
                                                                   {First, WM_NCACTIVATE},
                                                                   {First, WM_ACTIVATE},
                                                                   {Second, WM_KILLFOCUS},
                                                                   {First, WM_SETFOCUS}}));
  EXPECT_EQ(LoWord(Last(First, WM_ACTIVATE)->WParam), WA_CLICKACTIVE);
  EXPECT_EQ(HandleFromParam(std::uintptr_t(Last(First, WM_ACTIVATE)->LParam)), Second);
  EXPECT_EQ(Count(First, WM_LBUTTONDOWN), 1);
  EXPECT_EQ(Headless->FocusWindow(), Native(First));
  EXPECT_EQ(Headless->ZOrder().back(), Native(First));
}

TEST_F(FocusTest, WmMouseActivateDecidesActivationAndWhetherTheClickIsEaten) {
  LRESULT answer = MA_NOACTIVATE;
  OnMessage = [&](HWND, UINT m, WPARAM, LPARAM, LRESULT& result) {
    if (m != WM_MOUSEACTIVATE) return false;
    result = answer;
    return true;
  };
  Headless->Click({100, 150});
  ProcessMessages();
  EXPECT_EQ(GetActiveWindow(), Second);
  EXPECT_EQ(Count(First, WM_LBUTTONDOWN), 1);
  answer = MA_ACTIVATEANDEAT;
  Headless->Click({100, 150});
  ProcessMessages();
  EXPECT_EQ(GetActiveWindow(), First);
  EXPECT_EQ(Count(First, WM_LBUTTONDOWN), 1);
  EXPECT_EQ(Count(First, WM_LBUTTONUP), 2);
}

TEST_F(FocusTest, SetFocusMovesTheFocusAndActivatesItsWindow) {
  EXPECT_EQ(SetFocus(Edit), Second);
  EXPECT_EQ(GetActiveWindow(), First);
  EXPECT_EQ(GetFocus(), Edit);
  EXPECT_EQ(HandleFromParam(Last(Edit, WM_SETFOCUS)->WParam), First);
  EXPECT_EQ(HandleFromParam(Last(First, WM_KILLFOCUS)->WParam), Edit);
  // Keys go to the focus window, characters as code points.
  Headless->StrokeKey('A');
  Headless->TypeText("中");
  ProcessMessages();
  EXPECT_EQ(Last(Edit, WM_KEYDOWN)->WParam, WPARAM('A'));
  EXPECT_EQ(Last(Edit, WM_KEYUP)->WParam, WPARAM('A'));
  std::vector<WPARAM> chars;
  for (const auto& m : Log) {
    if (m.Window == Edit && m.Message == WM_CHAR) chars.push_back(m.WParam);
  }
  EXPECT_EQ(chars, (std::vector<WPARAM>{'a', 0x4E2D}));
  // Disabling the focus window takes the focus away.
  EnableWindow(Edit, false);
  EXPECT_EQ(GetFocus(), nullptr);
  SetFocus(nullptr);
  EXPECT_EQ(GetActiveWindow(), First);
}

TEST_F(FocusTest, LosingTheDesktopToAnotherProgramDeactivatesTheProgram) {
  SetFocus(Edit);
  Log.clear();
  Headless->SystemActivate(platform::NoWindow);
  ProcessMessages();
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(Count(Edit, WM_KILLFOCUS), 1);
  EXPECT_EQ(Last(First, WM_ACTIVATEAPP)->WParam, 0u);
  EXPECT_EQ(Last(Second, WM_ACTIVATEAPP)->WParam, 0u);
  // Coming back through the system activates the window it chose.
  Headless->SystemActivate(Native(Second));
  ProcessMessages();
  EXPECT_EQ(GetActiveWindow(), Second);
  EXPECT_EQ(GetFocus(), Second);
  EXPECT_EQ(Last(First, WM_ACTIVATEAPP)->WParam, 1u);
}

TEST_F(FocusTest, SwitchingBetweenOurWindowsByTheSystemKeepsTheProgramActive) {
  Headless->SystemActivate(Native(First));
  ProcessMessages();
  EXPECT_EQ(GetActiveWindow(), First);
  EXPECT_EQ(Count(First, WM_ACTIVATEAPP), 0);
  EXPECT_EQ(Count(Second, WM_ACTIVATEAPP), 0);
  EXPECT_EQ(LoWord(Last(Second, WM_ACTIVATE)->WParam), WA_INACTIVE);
}

TEST_F(FocusTest, HidingTheActiveWindowActivatesAnother) {
  ShowWindow(Second, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), First);
  // Windows that never take the activation stay out of it.
  HWND popup = CreateTopLevel(WS_POPUP | WS_VISIBLE, {0, 0, 50, 50}, WS_EX_NOACTIVATE | WS_EX_TOPMOST);
  EXPECT_EQ(GetActiveWindow(), First);
  SetActiveWindow(popup);
  EXPECT_EQ(GetActiveWindow(), First);
  EXPECT_EQ(Headless->Kind(Native(popup)), platform::WindowKind::Popup);
  Headless->Click({10, 10});
  ProcessMessages();
  EXPECT_EQ(GetActiveWindow(), First);
  EXPECT_EQ(Count(popup, WM_LBUTTONDOWN), 1);
}

TEST_F(FocusTest, AltF4ClosesTheActiveWindowAndAltAloneAsksForTheMenu) {
  Headless->PressKey(platform::VK_MENU);
  Headless->ReleaseKey(platform::VK_MENU);
  ProcessMessages();
  ASSERT_NE(Last(Second, WM_SYSCOMMAND), nullptr);
  EXPECT_EQ(Last(Second, WM_SYSCOMMAND)->WParam, SC_KEYMENU);
  EXPECT_EQ(Count(Second, WM_SYSKEYDOWN), 1);
  Headless->PressKey(platform::VK_MENU);
  Headless->StrokeKey(platform::VK_F4);
  Headless->ReleaseKey(platform::VK_MENU);
  ProcessMessages();
  EXPECT_FALSE(IsWindow(Second));
  EXPECT_EQ(Count(Second, WM_SYSCOMMAND), 2);
  EXPECT_EQ(GetActiveWindow(), First);
}

// The keyboard's context-menu requests carry no place: (-1, -1). F10
// alone still asks for the menu, Shift+F10 does not.
TEST_F(FocusTest, ShiftF10AndTheApplicationKeyAskForAContextMenuWithoutAPlace) {
  SetFocus(Edit);
  Log.clear();
  Headless->PressKey(platform::VK_SHIFT);
  Headless->StrokeKey(platform::VK_F10);
  Headless->ReleaseKey(platform::VK_SHIFT);
  ProcessMessages();
  ASSERT_EQ(Count(Edit, WM_CONTEXTMENU), 1);
  EXPECT_EQ(HandleFromParam(Last(Edit, WM_CONTEXTMENU)->WParam), Edit);
  EXPECT_EQ(Last(Edit, WM_CONTEXTMENU)->LParam, MakeLParam(-1, -1));
  EXPECT_EQ(Count(First, WM_CONTEXTMENU), 1);  // passed up by the default
  EXPECT_EQ(Count(First, WM_SYSCOMMAND), 0);
  Headless->StrokeKey(platform::VK_APPS);
  ProcessMessages();
  ASSERT_EQ(Count(Edit, WM_CONTEXTMENU), 2);
  EXPECT_EQ(Last(Edit, WM_CONTEXTMENU)->LParam, MakeLParam(-1, -1));
  Headless->StrokeKey(platform::VK_F10);
  ProcessMessages();
  EXPECT_EQ(Count(Edit, WM_CONTEXTMENU), 2);
  ASSERT_EQ(Count(First, WM_SYSCOMMAND), 1);
  EXPECT_EQ(Last(First, WM_SYSCOMMAND)->WParam, SC_KEYMENU);
}

// A handler that acts on a key takes its character from the queue too,
// and only the character that keystroke typed.
TEST_F(FocusTest, AHandlerTakesTheCharacterOfTheKeyItHandled) {
  SetFocus(Edit);
  OnMessage = [](HWND, UINT m, WPARAM wp, LPARAM, LRESULT&) {
    if (m == WM_KEYDOWN && wp != WPARAM('B')) SwallowCharOfKey(int(wp));
    return false;
  };
  auto typed = [&] {
    std::u32string result;
    for (const auto& m : Log) {
      if (m.Message == WM_CHAR) result += char32_t(m.WParam);
    }
    return result;
  };
  Headless->StrokeKey(platform::VK_RETURN);
  Headless->StrokeKey('A');
  Headless->StrokeKey('B');
  ProcessMessages();
  EXPECT_EQ(typed(), U"b");
  // A key-down whose character never comes, or one released before it
  // came, or a key that types nothing, leaves the next character alone.
  Headless->PressKey('A');
  Headless->TypeText("x");
  Headless->ReleaseKey('A');
  Headless->PressKey(platform::VK_RETURN);
  Headless->ReleaseKey(platform::VK_RETURN);
  Headless->TypeText("\r");
  Headless->PressKey(platform::VK_DOWN);
  Headless->TypeText("q");
  Headless->ReleaseKey(platform::VK_DOWN);
  ProcessMessages();
  EXPECT_EQ(typed(), U"bx\rq");
  // Nor does a look at the queue show the character taken.
  Headless->StrokeKey('C');
  TMsg message;
  while (PeekMessage(message, nullptr, 0, 0, PM_NOREMOVE) && message.Message != WM_CHAR) {
    PeekMessage(message, nullptr, 0, 0, PM_REMOVE);
    DispatchMessage(message);
  }
  EXPECT_NE(message.Message, WM_CHAR);
  ProcessMessages();
  EXPECT_EQ(typed(), U"bx\rq");
}

TEST_F(FocusTest, TheSystemsCloseRequestBecomesScClose) {
  Headless->RequestClose(Native(First));
  ProcessMessages();
  EXPECT_EQ(Last(First, WM_SYSCOMMAND)->WParam, SC_CLOSE);
  EXPECT_EQ(Count(First, WM_CLOSE), 1);
  EXPECT_FALSE(IsWindow(First));
}

TEST_F(FocusTest, TheSystemsStateAndBoundsChangesReachTheWindow) {
  platform::Event minimised;
  minimised.Kind = platform::EventKind::StateChanged;
  minimised.Window = Native(Second);
  minimised.State = platform::WindowState::Minimized;
  Headless->InjectEvent(minimised);
  platform::Event moved;
  moved.Kind = platform::EventKind::BoundsChanged;
  moved.Window = Native(First);
  moved.Area = gfx::Rect{20, 30, 320, 230};
  Headless->InjectEvent(moved);
  ProcessMessages();
  EXPECT_TRUE(IsIconic(Second));
  EXPECT_EQ(Last(Second, WM_SIZE)->WParam, SIZE_MINIMIZED);
  gfx::Rect bounds;
  GetWindowRect(First, bounds);
  EXPECT_EQ(bounds, (gfx::Rect{20, 30, 320, 230}));
  EXPECT_EQ(Last(First, WM_SIZE)->LParam, MakeLParam(292, 173));
}

}  // namespace
}  // namespace ui::testing
