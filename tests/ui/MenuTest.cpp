#include <gtest/gtest.h>

#include <algorithm>

#include "FormTestSupport.h"
#include "gfx/Font.h"
#include "ui/classlib/Menus.h"

namespace ui::testing {
namespace {

using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_RETURN;
using platform::VK_RIGHT;
using platform::VK_UP;

TEST(MenuShortCutTest, TextAndKeysConvertBothWays) {
  EXPECT_EQ(ShortCut('S', TShiftState{ssCtrl}), TShortCut(scCtrl | 'S'));
  EXPECT_EQ(ShortCutToText(ShortCut('S', TShiftState{ssCtrl})), "Ctrl+S");
  EXPECT_EQ(ShortCutToText(ShortCut(platform::VK_F10, TShiftState{ssShift})), "Shift+F10");
  EXPECT_EQ(ShortCutToText(ShortCut(platform::VK_DELETE, TShiftState{})), "Del");
  EXPECT_EQ(TextToShortCut("ctrl+shift+a"), TShortCut(scCtrl | scShift | 'A'));
  EXPECT_EQ(TextToShortCut("Alt+F4"), TShortCut(scAlt | platform::VK_F4));
  EXPECT_EQ(TextToShortCut("Hyper+Q"), 0);
  EXPECT_EQ(ShortCutToText(0), "");
  EXPECT_EQ(GetHotkey("&Open"), U'o');
  EXPECT_EQ(GetHotkey("Save && &Quit"), U'q');
  EXPECT_EQ(GetHotkey("None"), 0);
  EXPECT_EQ(StripHotkey("Save && &Quit"), "Save & Quit");
}

class MenuTest : public FormTest {
 protected:
  void SetUp() override {
    form = MakeForm(300, 200);
    target = Add<TProbeControl>(form, {10, 10, 110, 60});
    menu = core::Create<TPopupMenu>(*form);
    open = AddItem(menu->Items(), "&Open", [this](core::TComponent* s) { Clicked.push_back(s); });
    open->SetShortCut(ShortCut('O', TShiftState{ssCtrl}));
    AddItem(menu->Items(), "-", nullptr);
    disabled = AddItem(menu->Items(), "&Disabled", [this](core::TComponent* s) { Clicked.push_back(s); });
    disabled->SetEnabled(false);
    more = AddItem(menu->Items(), "&More", nullptr);
    deep = AddItem(more, "D&eep", [this](core::TComponent* s) { Clicked.push_back(s); });
    target->SetPopupMenu(menu);
    form->Show();
    App->ProcessMessages();
  }

  TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, std::function<void(core::TComponent*)> click) {
    auto* item = core::Create<TMenuItem>(*form);
    item->SetCaption(caption);
    if (click) item->OnClick = click;
    parent->Add(item);
    return item;
  }

  void Keys(std::initializer_list<int> keys) {
    for (int key : keys) Headless->StrokeKey(key);
  }

  int ItemHeight() const {
    TFont font;
    return std::max(18, gfx::MeasureFont(font.ToGfxFont()).Height + 5);
  }

  TForm* form = nullptr;
  TProbeControl* target = nullptr;
  TPopupMenu* menu = nullptr;
  TMenuItem* open = nullptr;
  TMenuItem* disabled = nullptr;
  TMenuItem* more = nullptr;
  TMenuItem* deep = nullptr;
  std::vector<core::TComponent*> Clicked;
};

TEST_F(MenuTest, ShortCutOfTheFocusedControlsMenuRunsTheItem) {
  Headless->PressKey(platform::VK_CONTROL);
  Headless->StrokeKey('O');
  Headless->ReleaseKey(platform::VK_CONTROL);
  App->ProcessMessages();
  EXPECT_EQ(Clicked, (std::vector<core::TComponent*>{open}));
  EXPECT_TRUE(target->KeysDown.empty() ||
              std::find(target->KeysDown.begin(), target->KeysDown.end(), 'O') == target->KeysDown.end());
  // A disabled item's shortcut does nothing.
  open->SetEnabled(false);
  Headless->PressKey(platform::VK_CONTROL);
  Headless->StrokeKey('O');
  Headless->ReleaseKey(platform::VK_CONTROL);
  App->ProcessMessages();
  EXPECT_EQ(Clicked.size(), 1u);
}

TEST_F(MenuTest, KeyboardChoosesSkippingSeparatorsAndOpensSubMenus) {
  Keys({VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE});
  menu->Popup(200, 200);
  // Down selects Open, then skips the line to Disabled, which cannot run.
  EXPECT_TRUE(Clicked.empty());
  EXPECT_EQ(menu->LastChoice(), nullptr);

  Keys({VK_UP, VK_RIGHT, VK_RETURN});
  menu->Popup(200, 200);
  EXPECT_EQ(Clicked, (std::vector<core::TComponent*>{deep}));
  EXPECT_EQ(menu->LastChoice(), deep);
  for (HWND window : GetTopLevelWindows()) EXPECT_NE(GetClassName(window), "OstvaneMenu") << "menus are gone";
}

TEST_F(MenuTest, EscapeClosesOneLevelAtATime) {
  // Up from nothing selects the last item; More's sub-menu opens and
  // closes again, and two more steps reach Open over the separator.
  Keys({VK_UP, VK_RIGHT, VK_ESCAPE, VK_UP, VK_UP, VK_RETURN});
  menu->Popup(200, 200);
  EXPECT_EQ(Clicked, (std::vector<core::TComponent*>{open}));
  Keys({VK_ESCAPE});
  menu->Popup(200, 200);
  EXPECT_EQ(menu->LastChoice(), nullptr);
}

TEST_F(MenuTest, AcceleratorLettersChooseItems) {
  Keys({'M', 'E'});
  menu->Popup(200, 200);
  EXPECT_EQ(Clicked, (std::vector<core::TComponent*>{deep}));
}

TEST_F(MenuTest, RightClickOpensTheControlsMenuAndAClickChooses) {
  gfx::Point at = Centre(target);
  Headless->Click(at, platform::MouseButton::Right);
  // The first item lies below the frame at the click point.
  Headless->Click(gfx::Point{at.X + 20, at.Y + 3 + ItemHeight() / 2});
  App->ProcessMessages();
  EXPECT_EQ(Clicked, (std::vector<core::TComponent*>{open}));
  EXPECT_EQ(menu->PopupComponent(), target);
}

TEST_F(MenuTest, ClickOutsideCancels) {
  gfx::Point at = Centre(target);
  Headless->Click(at, platform::MouseButton::Right);
  Headless->Click(gfx::Point{at.X - 50, at.Y - 30});
  App->ProcessMessages();
  EXPECT_TRUE(Clicked.empty());
  EXPECT_EQ(menu->LastChoice(), nullptr);
}

TEST_F(MenuTest, MenuShowsInTheClassicLookNearTheScreenEdge) {
  // The menu's loop waits for a timer of the test: the clock moves on
  // while it waits, and the timer looks at the screen.
  Headless->SetWaitClock(platform::headless::WaitClock::AdvanceOnWait);
  bool looked = false;
  SetTimer(nullptr, 0, 50, [&](HWND, UINT, UINT_PTR id, std::uint32_t) {
    KillTimer(nullptr, id);
    looked = true;
    gfx::Bitmap screen = Headless->Screen();
    // Near the bottom right corner of the work area the menu opens left
    // of and above the point: its face in the menu colour, its outer
    // frame in the dark shadow, the desktop right of it.
    EXPECT_EQ(screen.GetPixel(1014, 695), PixelOf(ColorToRGB(clMenu)));
    EXPECT_EQ(screen.GetPixel(1019, 690), PixelOf(ColorToRGB(cl3DDkShadow)));
    EXPECT_EQ(screen.GetPixel(1019, 699), PixelOf(ColorToRGB(cl3DDkShadow)));
    EXPECT_EQ(screen.GetPixel(1021, 690), gfx::MakePixel(0x3A, 0x6E, 0xA5));
    Headless->StrokeKey(VK_ESCAPE);
  });
  menu->Popup(1020, 700);
  EXPECT_TRUE(looked);
}

TEST_F(MenuTest, AFormsMenuOpensInItsClientAreaAndTheWindowMenuOnItsCaption) {
  form->SetPopupMenu(menu);
  // Each right click opens a menu whose loop waits; a timer of the test
  // notes which menu is showing and closes it.
  Headless->SetWaitClock(platform::headless::WaitClock::AdvanceOnWait);
  auto openMenu = [&](gfx::Point at) {
    std::string shown;
    SetTimer(nullptr, 0, 50, [&](HWND, UINT, UINT_PTR id, std::uint32_t) {
      KillTimer(nullptr, id);
      for (HWND window : GetTopLevelWindows()) {
        std::string name = GetClassName(window);
        if (IsWindowVisible(window) && (name == "OstvaneMenu" || name == "OstvaneWindowMenu")) shown += name + " ";
      }
      Headless->StrokeKey(VK_ESCAPE);
    });
    Headless->AdvanceClock(1000);  // no double click with the last one
    Headless->Click(at, platform::MouseButton::Right);
    App->ProcessMessages();
    return shown;
  };
  gfx::Point client = form->ClientToScreen(gfx::Point{0, 0});
  // The caption: the window menu, not the form's.
  EXPECT_EQ(openMenu(gfx::Point{client.X + 150, client.Y - 8}), "OstvaneWindowMenu ");
  EXPECT_EQ(menu->PopupComponent(), nullptr);
  // The client area, away from the target: the form's menu.
  EXPECT_EQ(openMenu(gfx::Point{client.X + 250, client.Y + 150}), "OstvaneMenu ");
  EXPECT_EQ(menu->PopupComponent(), form);
  // The target's own right click still opens the menu for the target.
  EXPECT_EQ(openMenu(Centre(target)), "OstvaneMenu ");
  EXPECT_EQ(menu->PopupComponent(), target);
  EXPECT_TRUE(Clicked.empty());
}

TEST_F(MenuTest, ItemHandlerMayFreeTheMenu) {
  open->OnClick = [this](core::TComponent*) { menu->Free(); };
  Keys({VK_DOWN, VK_RETURN});
  menu->Popup(200, 200);
  EXPECT_EQ(target->PopupMenu(), nullptr);
  EXPECT_EQ(form->FindComponent("Open1"), nullptr);
}

}  // namespace
}  // namespace ui::testing
