#include "UiTestSupport.h"
#include "ui/windowing/SystemMenu.h"
#include "ui/windowing/SystemMetrics.h"

namespace ui::testing {
namespace {

using platform::MouseButton;

constexpr UINT_PTR MenuProbeTimer = 77;

class SystemMenuTest : public UiTest {
 protected:
  void SetUp() override {
    Window = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {100, 100, 300, 250});
    ProcessMessages();
    Log.clear();
  }

  // Runs action while the menu is open: the program's waits move the clock,
  // so a timer of the window fires inside the menu's loop. The action must
  // close the menu (a key or a click).
  void WhileMenuOpen(std::function<void(HWND menu, gfx::Rect bounds)> action) {
    Headless->SetWaitClock(platform::headless::WaitClock::AdvanceOnWait);
    SetTimer(Window, MenuProbeTimer, 50);
    Probe = [this, action](HWND w, UINT m, WPARAM wp, LPARAM, LRESULT&) {
      if (m != WM_TIMER || wp != MenuProbeTimer) return false;
      KillTimer(w, MenuProbeTimer);
      HWND menu = OpenMenuWindow();
      gfx::Rect bounds;
      GetWindowRect(menu, bounds);
      ProbeRan = true;
      action(menu, bounds);
      return true;
    };
  }

  HWND OpenMenuWindow() const {
    for (HWND w : GetTopLevelWindows()) {
      if (GetClassName(w) == "OstvaneWindowMenu" && IsWindowVisible(w)) return w;
    }
    return nullptr;
  }

  void AltSpace() {
    Headless->PressKey(platform::VK_MENU);
    Headless->StrokeKey(platform::VK_SPACE);
    Headless->ReleaseKey(platform::VK_MENU);
  }

  std::vector<WPARAM> SysCommands() const {
    std::vector<WPARAM> commands;
    for (const auto& m : Log) {
      if (m.Window == Window && m.Message == WM_SYSCOMMAND) commands.push_back(m.WParam & SC_COMMAND_MASK);
    }
    return commands;
  }

  void SetUpHandlers() {
    OnMessage = [this](HWND w, UINT m, WPARAM wp, LPARAM lp, LRESULT& result) {
      if (Probe && Probe(w, m, wp, lp, result)) return true;
      if (Extra && Extra(w, m, wp, lp, result)) return true;
      return false;
    };
  }

  HWND Window = nullptr;
  Handler Probe;
  Handler Extra;
  bool ProbeRan = false;
};

bool Grayed(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

TEST_F(SystemMenuTest, AltSpaceOpensTheMenuBelowTheIconAndEscapeClosesItWithoutACommand) {
  SetUpHandlers();
  gfx::Rect seen;
  bool focusKept = false;
  WhileMenuOpen([&](HWND menu, gfx::Rect bounds) {
    seen = bounds;
    // The menu takes neither the activation nor the focus.
    focusKept = GetActiveWindow() == Window && GetFocus() == Window && menu != nullptr;
    Headless->StrokeKey(platform::VK_ESCAPE);
  });
  AltSpace();
  ProcessMessages();
  ASSERT_TRUE(ProbeRan);
  EXPECT_TRUE(focusKept);
  // Below the caption's icon (4 px frame, icon at 2, 1; 16 px square).
  EXPECT_EQ(seen.TopLeft(), (gfx::Point{106, 121}));
  EXPECT_GT(seen.Height(), 6 * 16);
  EXPECT_EQ(OpenMenuWindow(), nullptr);
  EXPECT_EQ(SysCommands(), (std::vector<WPARAM>{SC_KEYMENU}));
  EXPECT_EQ(Last(Window, WM_SYSCOMMAND)->LParam, LPARAM(' '));
  std::vector<UINT> menu = MessagesWithout(Window, {WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR, WM_SYSCOMMAND,
                                                    WM_TIMER, WM_CAPTURECHANGED, WM_KEYDOWN, WM_KEYUP});
  EXPECT_EQ(menu, (std::vector<UINT>{WM_INITMENU, WM_INITMENUPOPUP, WM_ENTERMENULOOP, WM_EXITMENULOOP}));
  EXPECT_EQ(HiWord(std::uintptr_t(Last(Window, WM_INITMENUPOPUP)->LParam)), SystemMenuPopupFlag);
  EXPECT_TRUE(IsWindow(Window));
  // The menu's capture is gone with it.
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(SystemMenuTest, AltAloneAndWindowsWithoutAWindowMenuOpenNothing) {
  Headless->PressKey(platform::VK_MENU);
  Headless->ReleaseKey(platform::VK_MENU);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_INITMENU), 0);
  EXPECT_EQ(Last(Window, WM_SYSCOMMAND)->WParam, SC_KEYMENU);

  HWND plain = CreateTopLevel(WS_CAPTION | WS_VISIBLE, {400, 100, 600, 250});
  ProcessMessages();
  EXPECT_EQ(GetSystemMenu(plain, false), nullptr);
  EXPECT_EQ(PrepareSystemMenu(plain), nullptr);
  Log.clear();
  AltSpace();
  ProcessMessages();
  EXPECT_EQ(Count(plain, WM_SYSCOMMAND), 1);
  EXPECT_EQ(Count(plain, WM_INITMENU), 0);
  EXPECT_EQ(OpenMenuWindow(), nullptr);
}

TEST_F(SystemMenuTest, ChoosingCloseByItsLetterSendsScCloseThenWmClose) {
  AltSpace();
  Headless->StrokeKey('C');
  ProcessMessages();
  EXPECT_EQ(SysCommands(), (std::vector<WPARAM>{SC_KEYMENU, SC_CLOSE}));
  // A keyboard choice carries no pointer.
  EXPECT_EQ(Last(Window, WM_SYSCOMMAND)->LParam, 0);
  std::vector<UINT> tail = MessagesWithout(Window, {WM_KEYUP, WM_SYSKEYUP, WM_CAPTURECHANGED});
  auto command = std::find(tail.begin(), tail.end(), WM_EXITMENULOOP);
  ASSERT_NE(command, tail.end());
  ASSERT_GE(tail.end() - command, 3);
  EXPECT_EQ(command[1], WM_SYSCOMMAND);
  EXPECT_EQ(command[2], WM_CLOSE);
  EXPECT_FALSE(IsWindow(Window));
}

TEST_F(SystemMenuTest, RightClickOnTheCaptionOpensTheMenuAtThePointerAndAClickChoosesAnItem) {
  SetUpHandlers();
  gfx::Rect seen;
  gfx::Point clicked;
  WhileMenuOpen([&](HWND, gfx::Rect bounds) {
    seen = bounds;
    // The last item, Close.
    clicked = gfx::Point{bounds.Left + 30, bounds.Bottom - 10};
    Headless->Click(clicked);
  });
  Headless->Click({180, 112}, MouseButton::Right);
  ProcessMessages();
  ASSERT_TRUE(ProbeRan);
  EXPECT_EQ(seen.TopLeft(), (gfx::Point{180, 112}));
  EXPECT_EQ(Last(Window, WM_CONTEXTMENU)->LParam, PointToLParam({180, 112}));
  EXPECT_EQ(SysCommands(), (std::vector<WPARAM>{SC_CLOSE}));
  EXPECT_EQ(Log.back().Message, WM_NCDESTROY);
  EXPECT_FALSE(IsWindow(Window));
  bool closeSeen = false;
  for (const auto& m : Log) {
    if (m.Message == WM_SYSCOMMAND) {
      EXPECT_EQ(m.LParam, PointToLParam(clicked));
    }
    closeSeen = closeSeen || m.Message == WM_CLOSE;
  }
  EXPECT_TRUE(closeSeen);
}

TEST_F(SystemMenuTest, RightClickInTheClientAreaOrOnAChildOpensNothing) {
  HWND child = CreateChild(Window, {10, 10, 60, 40});
  ProcessMessages();
  Log.clear();
  Headless->Click({200, 200}, MouseButton::Right);
  Headless->Click({130, 145}, MouseButton::Right);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_CONTEXTMENU), 2);
  EXPECT_EQ(Count(child, WM_CONTEXTMENU), 1);
  EXPECT_EQ(Count(Window, WM_INITMENU), 0);
}

TEST_F(SystemMenuTest, AClickOutsideClosesTheMenuAndIsNotPassedOn) {
  SetUpHandlers();
  HWND other = CreateTopLevel(WS_OVERLAPPEDWINDOW | WS_VISIBLE, {500, 400, 700, 600});
  SetForegroundWindow(Window);
  ProcessMessages();
  Log.clear();
  WhileMenuOpen([&](HWND, gfx::Rect) { Headless->Click({600, 500}); });
  Headless->Click({180, 112}, MouseButton::Right);
  ProcessMessages();
  ASSERT_TRUE(ProbeRan);
  EXPECT_EQ(OpenMenuWindow(), nullptr);
  EXPECT_TRUE(SysCommands().empty());
  EXPECT_EQ(Count(other, WM_LBUTTONDOWN), 0);
  EXPECT_EQ(GetActiveWindow(), Window);
}

TEST_F(SystemMenuTest, ThePressOnTheIconOpensTheMenuAndASecondPressClosesTheWindow) {
  SetUpHandlers();
  gfx::Rect seen;
  WhileMenuOpen([&](HWND, gfx::Rect bounds) {
    seen = bounds;
    Headless->StrokeKey(platform::VK_ESCAPE);
  });
  Headless->Click({110, 110});
  ProcessMessages();
  ASSERT_TRUE(ProbeRan);
  EXPECT_EQ(seen.TopLeft(), (gfx::Point{106, 121}));
  EXPECT_EQ(Last(Window, WM_NCLBUTTONDOWN)->WParam, WPARAM(HTSYSMENU));
  EXPECT_EQ(SysCommands(), (std::vector<WPARAM>{SC_MOUSEMENU}));

  // Two quick presses: the second lands on the icon while the menu is open.
  Headless->SetWaitClock(platform::headless::WaitClock::Still);
  Headless->AdvanceClock(1000);  // not a double click with the first press
  Probe = nullptr;
  Log.clear();
  Headless->Click({110, 110});
  Headless->Click({110, 110});
  ProcessMessages();
  EXPECT_EQ(SysCommands(), (std::vector<WPARAM>{SC_MOUSEMENU, SC_CLOSE}));
  EXPECT_FALSE(IsWindow(Window));
}

TEST_F(SystemMenuTest, ItemsFollowTheStylesAndTheState) {
  HMENU menu = PrepareSystemMenu(Window);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(GetMenuItemCount(menu), 7);
  std::vector<UINT> ids;
  for (int i = 0; i < 7; ++i) ids.push_back(GetMenuItemID(menu, i));
  EXPECT_EQ(ids, (std::vector<UINT>{SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, 0, SC_CLOSE}));
  EXPECT_TRUE(GetMenuState(menu, 5, MF_BYPOSITION) & MF_SEPARATOR);
  EXPECT_TRUE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_DEFAULT);
  EXPECT_TRUE(Grayed(menu, SC_RESTORE));
  EXPECT_FALSE(Grayed(menu, SC_MOVE));
  EXPECT_FALSE(Grayed(menu, SC_SIZE));
  EXPECT_FALSE(Grayed(menu, SC_MINIMIZE));
  EXPECT_FALSE(Grayed(menu, SC_MAXIMIZE));
  EXPECT_FALSE(Grayed(menu, SC_CLOSE));

  ShowWindow(Window, SW_SHOWMAXIMIZED);
  menu = PrepareSystemMenu(Window);
  EXPECT_FALSE(Grayed(menu, SC_RESTORE));
  EXPECT_TRUE(Grayed(menu, SC_MOVE));
  EXPECT_TRUE(Grayed(menu, SC_SIZE));
  EXPECT_FALSE(Grayed(menu, SC_MINIMIZE));
  EXPECT_TRUE(Grayed(menu, SC_MAXIMIZE));

  ShowWindow(Window, SW_MINIMIZE);
  menu = PrepareSystemMenu(Window);
  EXPECT_FALSE(Grayed(menu, SC_RESTORE));
  EXPECT_TRUE(Grayed(menu, SC_SIZE));
  EXPECT_TRUE(Grayed(menu, SC_MINIMIZE));

  // A fixed dialog frame: no sizing, no boxes.
  HWND dialog = CreateTopLevel(WS_CAPTION | WS_SYSMENU | WS_VISIBLE, {400, 100, 600, 250});
  menu = PrepareSystemMenu(dialog);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(Grayed(menu, SC_RESTORE));
  EXPECT_FALSE(Grayed(menu, SC_MOVE));
  EXPECT_TRUE(Grayed(menu, SC_SIZE));
  EXPECT_TRUE(Grayed(menu, SC_MINIMIZE));
  EXPECT_TRUE(Grayed(menu, SC_MAXIMIZE));
  EXPECT_FALSE(Grayed(menu, SC_CLOSE));

  HWND noMaximize = CreateTopLevel((WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX) | WS_VISIBLE, {400, 300, 600, 450});
  menu = PrepareSystemMenu(noMaximize);
  EXPECT_FALSE(Grayed(menu, SC_MINIMIZE));
  EXPECT_TRUE(Grayed(menu, SC_MAXIMIZE));
}

TEST_F(SystemMenuTest, AGreyedItemCannotBeChosen) {
  ShowWindow(Window, SW_SHOWMAXIMIZED);
  ProcessMessages();
  Log.clear();
  AltSpace();
  Headless->StrokeKey('X');  // Maximise, greyed while maximised
  Headless->StrokeKey('M');  // Move, greyed too
  Headless->StrokeKey(platform::VK_ESCAPE);
  ProcessMessages();
  EXPECT_EQ(SysCommands(), (std::vector<WPARAM>{SC_KEYMENU}));
  EXPECT_TRUE(IsZoomed(Window));
}

TEST_F(SystemMenuTest, TheKeyboardSelectionSkipsGreyedItemsAndEnterChooses) {
  // Opened from the keyboard, the first usable item (Move) is selected;
  // Down goes to Size, Up twice wraps past the greyed Restore to Close.
  AltSpace();
  Headless->StrokeKey(platform::VK_DOWN);
  Headless->StrokeKey(platform::VK_UP);
  Headless->StrokeKey(platform::VK_UP);
  Headless->StrokeKey(platform::VK_RETURN);
  ProcessMessages();
  EXPECT_EQ(SysCommands(), (std::vector<WPARAM>{SC_KEYMENU, SC_CLOSE}));
  EXPECT_FALSE(IsWindow(Window));
}

TEST_F(SystemMenuTest, TheOwnerCanChangeItsCopyBeforeAndWhileItOpens) {
  HMENU menu = GetSystemMenu(Window, false);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetSystemMenu(Window, false), menu);
  EXPECT_EQ(EnableMenuItem(menu, SC_CLOSE, MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(menu, 0x4242, MF_GRAYED), MenuItemNotFound);
  ASSERT_TRUE(AppendMenu(menu, MF_SEPARATOR, 0, ""));
  ASSERT_TRUE(AppendMenu(menu, MF_ENABLED, 0x0100, "&Hello\tCtrl+H"));
  EXPECT_EQ(GetMenuString(menu, 0x0100, MF_BYCOMMAND), "&Hello");
  EXPECT_EQ(GetMenuItemCount(menu), 9);
  ASSERT_TRUE(InsertMenu(menu, SC_RESTORE, MF_BYCOMMAND, 0x0200, "&Top"));
  EXPECT_EQ(GetMenuItemID(menu, 0), 0x0200u);
  ASSERT_TRUE(DeleteMenu(menu, 0, MF_BYPOSITION));
  EXPECT_FALSE(DeleteMenu(menu, 0x0200, MF_BYCOMMAND));
  EXPECT_EQ(CheckMenuItem(menu, 0x0100, MF_CHECKED), 0u);
  EXPECT_EQ(CheckMenuItem(menu, 0x0100, 0), MF_CHECKED);
  // By position past the end, or a separator by command, is no item.
  EXPECT_EQ(GetMenuState(menu, 99, MF_BYPOSITION), MenuItemNotFound);
  EXPECT_EQ(GetMenuItemID(menu, 99), MenuItemNotFound);
  EXPECT_EQ(GetMenuState(menu, 0, MF_BYCOMMAND), MenuItemNotFound);

  // While it opens, the window greys Move; its copy keeps Close greyed.
  OnMessage = [&](HWND, UINT m, WPARAM wp, LPARAM, LRESULT&) {
    if (m == WM_INITMENUPOPUP) {
      EXPECT_EQ(reinterpret_cast<HMENU>(wp), menu);
      EnableMenuItem(reinterpret_cast<HMENU>(wp), SC_MOVE, MF_GRAYED);
    }
    return false;
  };
  AltSpace();
  Headless->StrokeKey('C');
  Headless->StrokeKey('M');
  Headless->StrokeKey('H');
  ProcessMessages();
  EXPECT_EQ(SysCommands(), (std::vector<WPARAM>{SC_KEYMENU, 0x0100}));
  EXPECT_TRUE(IsWindow(Window));

  // Reverting gives the standard menu back.
  OnMessage = nullptr;
  EXPECT_EQ(GetSystemMenu(Window, true), nullptr);
  HMENU standard = PrepareSystemMenu(Window);
  EXPECT_EQ(GetMenuItemCount(standard), 7);
  EXPECT_FALSE(Grayed(standard, SC_CLOSE));
}

TEST_F(SystemMenuTest, MoveAndSizeFromTheMenuFollowTheArrowKeys) {
  AltSpace();
  Headless->StrokeKey('M');
  Headless->StrokeKey(platform::VK_RIGHT);
  Headless->StrokeKey(platform::VK_RIGHT);
  Headless->StrokeKey(platform::VK_DOWN);
  Headless->StrokeKey(platform::VK_RETURN);
  ProcessMessages();
  gfx::Rect r;
  GetWindowRect(Window, r);
  EXPECT_EQ(r, (gfx::Rect{116, 108, 316, 258}));
  EXPECT_EQ(Count(Window, WM_MOVING), 3);
  EXPECT_EQ(Count(Window, WM_ENTERSIZEMOVE), 1);
  EXPECT_EQ(Count(Window, WM_EXITSIZEMOVE), 1);
  EXPECT_EQ(GetCapture(), nullptr);

  // Size: the first arrow picks the edge; Ctrl steps one pixel.
  AltSpace();
  Headless->StrokeKey('S');
  Headless->StrokeKey(platform::VK_LEFT);
  Headless->PressKey(platform::VK_CONTROL);
  Headless->StrokeKey(platform::VK_LEFT);
  Headless->ReleaseKey(platform::VK_CONTROL);
  Headless->StrokeKey(platform::VK_UP);
  Headless->StrokeKey(platform::VK_RETURN);
  ProcessMessages();
  GetWindowRect(Window, r);
  EXPECT_EQ(r, (gfx::Rect{107, 100, 316, 258}));
  EXPECT_EQ(Last(Window, WM_SIZING)->WParam, WMSZ_TOPLEFT);

  // Escape puts the window back.
  AltSpace();
  Headless->StrokeKey('M');
  Headless->StrokeKey(platform::VK_LEFT);
  Headless->StrokeKey(platform::VK_ESCAPE);
  ProcessMessages();
  GetWindowRect(Window, r);
  EXPECT_EQ(r, (gfx::Rect{107, 100, 316, 258}));
}

TEST_F(SystemMenuTest, TheOpenMenuIsDrawnWithItsItems) {
  SetUpHandlers();
  gfx::Pixel selected = 0;
  gfx::Pixel frame = 0;
  bool aboveWindow = false;
  WhileMenuOpen([&](HWND menu, gfx::Rect bounds) {
    ProcessMessages();  // its first paint
    // Six items, a separator of 8 and a 3 px frame above and below.
    int itemHeight = (bounds.Height() - 6 - 8) / 6;
    // From the keyboard Move (the second item) is selected.
    selected = ScreenPixel(bounds.Left + 6, bounds.Top + 3 + itemHeight + 2);
    frame = ScreenPixel(bounds.Left + 1, bounds.Top + 1);
    aboveWindow = Headless->WindowAt({bounds.Left + 5, bounds.Top + 5}) == Native(menu);
    Headless->StrokeKey(platform::VK_ESCAPE);
  });
  AltSpace();
  ProcessMessages();
  ASSERT_TRUE(ProbeRan);
  EXPECT_EQ(selected, PixelOf(GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_EQ(frame, PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_TRUE(aboveWindow);
}

TEST_F(SystemMenuTest, NearTheBottomOfTheWorkAreaTheMenuOpensUpwards) {
  MoveWindow(Window, 100, 640, 200, 90, true);
  ProcessMessages();
  SetUpHandlers();
  gfx::Rect seen;
  WhileMenuOpen([&](HWND, gfx::Rect bounds) {
    seen = bounds;
    Headless->StrokeKey(platform::VK_ESCAPE);
  });
  Headless->Click({180, 650}, MouseButton::Right);
  ProcessMessages();
  ASSERT_TRUE(ProbeRan);
  EXPECT_EQ(seen.Bottom, 650);
  EXPECT_EQ(seen.Left, 180);
}

TEST_F(SystemMenuTest, LosingTheActivationClosesTheMenuWithoutACommand) {
  SetUpHandlers();
  WhileMenuOpen([&](HWND, gfx::Rect) { Headless->SystemActivate(platform::NoWindow); });
  AltSpace();
  ProcessMessages();
  ASSERT_TRUE(ProbeRan);
  EXPECT_EQ(OpenMenuWindow(), nullptr);
  EXPECT_EQ(SysCommands(), (std::vector<WPARAM>{SC_KEYMENU}));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Count(Window, WM_EXITMENULOOP), 1);
}

TEST_F(SystemMenuTest, DestroyingTheWindowWhileTheMenuIsOpenEndsTheMenu) {
  SetUpHandlers();
  WhileMenuOpen([&](HWND, gfx::Rect) { DestroyWindow(Window); });
  AltSpace();
  ProcessMessages();
  ASSERT_TRUE(ProbeRan);
  EXPECT_FALSE(IsWindow(Window));
  EXPECT_EQ(OpenMenuWindow(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
}  // namespace ui::testing
