// The skin menus on the headless desktop: opening, placement, the pointer
// with its timers, the keyboard through the application's message hook,
// and the look with the stored skin and without one.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "skin/data/SkinData.Container.h"
#include "skin/form/SkinMenus.h"
#include "tests/skin/GoldenImage.h"
#include "tests/ui/FormTestSupport.h"

namespace {

using namespace ui;
using namespace ui::testing;
using skin::TskMenuLevel;
using skin::TskPopupDirection;
using skin::TskSkinMenu;
using skin::TskSkinPopupWindow;

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A control that counts the menu's messages to it.
class TOpener : public TProbeControl {
 public:
  using TProbeControl::TProbeControl;
  int Closed = 0;
  int Commands = 0;
  void Dispatch(TMessage& message) override {
    if (message.Msg == skin::WMSKIN_MENUCLOSED) ++Closed;
    if (message.Msg == skin::WMSKIN_MENUCOMMAND) ++Commands;
    TProbeControl::Dispatch(message);
  }
};

class SkinMenuTest : public FormTest {
 protected:
  SkinMenuTest() {
    Form = MakeForm(400, 300);
    Form->Show();
    Menu = core::Create<TskSkinMenu>(*Form);
    Menu->SetForm(Form);
    Opener = Add<TOpener>(Form, {10, 10, 80, 30});
    Root = core::Create<TMenuItem>(*Form);
  }

  // Loads the program's stored skin as the build packs it.
  skin::TskSkinData* StoredSkin() {
    auto* stored = core::Create<skin::TskCompressedStoredSkin>(*Form);
    stored->SetCompressedData(
        skin::ParseCompressedSkinFile(ReadBytes(OSTVANE_BINARY_DIR "/resources/StoredSkin.skn")).Block);
    auto* data = core::Create<skin::TskSkinData>(*Form);
    data->SetCompressedStoredSkin(stored);
    EXPECT_FALSE(data->Empty());
    return data;
  }

  TMenuItem* AddItem(TMenuItem* parent, const std::string& caption, std::vector<std::string>* clicks = nullptr) {
    auto* item = core::Create<TMenuItem>(*Form);
    item->SetCaption(caption);
    if (clicks) item->OnClick = [clicks, caption](core::TComponent*) { clicks->push_back(caption); };
    parent->Add(item);
    return item;
  }

  void Open(gfx::Point at, skin::TskSkinData* skin = nullptr) {
    Menu->Popup(Opener, skin, TskPopupDirection::Down, Root, gfx::Rect{at.X, at.Y, at.X, at.Y}, 0);
    App->ProcessMessages();
  }
  TskSkinPopupWindow& Level(int index) { return *Menu->PopupList().at(std::size_t(index)); }
  gfx::Point ItemCentre(int level, int item) {
    const gfx::Rect& r = Level(level).ItemList().at(std::size_t(item))->ObjectRect;
    gfx::Point p{r.Left + r.Width() / 2, r.Top + r.Height() / 2};
    ClientToScreen(Level(level).Handle(), p);
    return p;
  }
  void Wait(std::uint64_t milliseconds) {
    for (std::uint64_t t = 0; t < milliseconds; t += 10) {
      Headless->AdvanceClock(10);
      App->ProcessMessages();
    }
  }

  TForm* Form = nullptr;
  TskSkinMenu* Menu = nullptr;
  TOpener* Opener = nullptr;
  TMenuItem* Root = nullptr;
  std::vector<std::string> Clicks;
};

TEST(SkinMenuPlacement, OpensBelowAboveOrBesideItsRectangle) {
  const gfx::Rect work{0, 0, 1024, 740};
  const gfx::Size size{100, 200};
  // Below a point when it fits, above it near the bottom.
  EXPECT_EQ(PlaceMenuWindow({50, 50, 50, 50}, work, size, 8, TskMenuLevel::First, TskPopupDirection::Down, false),
            (gfx::Point{50, 50}));
  EXPECT_EQ(PlaceMenuWindow({50, 700, 50, 700}, work, size, 8, TskMenuLevel::First, TskPopupDirection::Down, false),
            (gfx::Point{50, 500}));
  // Upwards when asked and it fits; kept inside on the right.
  EXPECT_EQ(PlaceMenuWindow({980, 300, 990, 320}, work, size, 8, TskMenuLevel::First, TskPopupDirection::Up, false),
            (gfx::Point{924, 100}));
  // A submenu lines its first item up with its parent item, beside it,
  // and flips to the left at the right edge.
  EXPECT_EQ(PlaceMenuWindow({200, 100, 300, 120}, work, size, 8, TskMenuLevel::Submenu, TskPopupDirection::Down, false),
            (gfx::Point{301, 92}));
  EXPECT_EQ(PlaceMenuWindow({900, 100, 1000, 120}, work, size, 8, TskMenuLevel::Submenu, TskPopupDirection::Down, false),
            (gfx::Point{799, 92}));
  // Near the bottom a submenu ends at its parent's bottom.
  EXPECT_EQ(PlaceMenuWindow({200, 600, 300, 620}, work, size, 8, TskMenuLevel::Submenu, TskPopupDirection::Down, false),
            (gfx::Point{301, 428}));
  // Cut to the work area: at its top.
  EXPECT_EQ(PlaceMenuWindow({50, 300, 50, 300}, work, gfx::Size{100, 740}, 8, TskMenuLevel::First,
                            TskPopupDirection::Down, true),
            (gfx::Point{51, 0}));
}

TEST_F(SkinMenuTest, OpeningSelectsTheFirstUsableItemAndEnterRunsIt) {
  AddItem(Root, "-");
  AddItem(Root, "Disabled", &Clicks)->SetEnabled(false);
  AddItem(Root, "&Open", &Clicks);
  AddItem(Root, "Close", &Clicks);
  Opener->SetFocus();
  Open({120, 120});
  ASSERT_EQ(Menu->PopupList().size(), 1u);
  TskSkinPopupWindow& window = Level(0);
  EXPECT_EQ(window.ActiveItem(), 2);
  // The menu never takes the activation from the form.
  EXPECT_EQ(GetActiveWindow(), Form->Handle());
  EXPECT_TRUE(Headless->IsTopmost(Native(window.Handle())));

  // Up wraps over the separator and the disabled item to the last item.
  Stroke(platform::VK_DOWN);
  Stroke(platform::VK_DOWN);
  EXPECT_EQ(Level(0).ActiveItem(), 2);
  Stroke(platform::VK_RETURN);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"&Open"}));
  EXPECT_FALSE(Menu->Visible());
  EXPECT_EQ(Opener->Closed, 1);
  EXPECT_EQ(Opener->Commands, 1);
  // The keys went to the menu, not to the focused control.
  EXPECT_TRUE(Opener->KeysDown.empty());
}

TEST_F(SkinMenuTest, SeparatorsAndDisabledItemsCannotBeChosen) {
  AddItem(Root, "First", &Clicks);
  AddItem(Root, "-", &Clicks);
  AddItem(Root, "Disabled", &Clicks)->SetEnabled(false);
  Open({120, 120});
  Headless->Click(ItemCentre(0, 1));
  App->ProcessMessages();
  Headless->Click(ItemCentre(0, 2));
  App->ProcessMessages();
  EXPECT_TRUE(Clicks.empty());
  EXPECT_TRUE(Menu->Visible());
  EXPECT_FALSE(Level(0).ItemList()[1]->MouseActive);
  EXPECT_FALSE(Level(0).ItemList()[2]->MouseActive);
  Headless->Click(ItemCentre(0, 0));
  App->ProcessMessages();
  EXPECT_EQ(Clicks, (std::vector<std::string>{"First"}));
}

TEST_F(SkinMenuTest, ASubmenuOpensAfterHalfASecondOrAtOnceOnAClick) {
  AddItem(Root, "Plain");
  TMenuItem* more = AddItem(Root, "More");
  AddItem(more, "Inner", &Clicks);
  Open({120, 120});
  Headless->MoveMouse(ItemCentre(0, 1));
  Wait(450);
  EXPECT_EQ(Menu->PopupList().size(), 1u);
  Wait(100);
  ASSERT_EQ(Menu->PopupList().size(), 2u);
  // Beside its item.
  EXPECT_GE(Level(1).Left(), Level(0).Left() + Level(0).Width() - 3);

  Headless->MoveMouse(ItemCentre(0, 0));
  Wait(60);
  EXPECT_EQ(Menu->PopupList().size(), 1u);
  Headless->Click(ItemCentre(0, 1));
  App->ProcessMessages();
  EXPECT_EQ(Menu->PopupList().size(), 2u);
  Headless->Click(ItemCentre(1, 0));
  App->ProcessMessages();
  EXPECT_EQ(Clicks, (std::vector<std::string>{"Inner"}));
  EXPECT_FALSE(Menu->Visible());
}

TEST_F(SkinMenuTest, EscapeClosesOnlyTheDeepestWindow) {
  TMenuItem* more = AddItem(Root, "More");
  AddItem(more, "Inner");
  Open({120, 120});
  Stroke(platform::VK_RIGHT);
  ASSERT_EQ(Menu->PopupList().size(), 2u);
  Stroke(platform::VK_ESCAPE);
  EXPECT_EQ(Menu->PopupList().size(), 1u);
  EXPECT_TRUE(Menu->Visible());
  EXPECT_EQ(Opener->Closed, 0);
  Stroke(platform::VK_ESCAPE);
  EXPECT_FALSE(Menu->Visible());
  EXPECT_EQ(Opener->Closed, 1);
}

TEST_F(SkinMenuTest, AnAcceleratorRunsItsItemAndItsCharacterReachesNoControl) {
  AddItem(Root, "&Restore", &Clicks);
  AddItem(Root, "&Close", &Clicks);
  Opener->SetFocus();
  Open({120, 120});
  Stroke('C');
  EXPECT_EQ(Clicks, (std::vector<std::string>{"&Close"}));
  EXPECT_TRUE(Opener->Typed.empty());
  // Keys reach the control again once the menu is closed.
  Stroke('X');
  EXPECT_EQ(Opener->Typed, U"x");
}

TEST_F(SkinMenuTest, NearTheBottomTheMenuOpensUpwards) {
  for (const char* caption : {"A", "B", "C"}) AddItem(Root, caption);
  Open({300, 730});
  const TskSkinPopupWindow& window = Level(0);
  EXPECT_EQ(window.Top() + window.Height(), 730);
}

TEST_F(SkinMenuTest, AMenuTallerThanTheWorkAreaStartsAtItsTopAndScrolls) {
  for (int i = 0; i < 60; ++i) AddItem(Root, "Item " + std::to_string(i));
  Open({300, 300});
  TskSkinPopupWindow& window = Level(0);
  EXPECT_EQ(window.Top(), 0);
  EXPECT_EQ(window.Height(), 740);
  ASSERT_TRUE(window.Scroll());
  EXPECT_EQ(window.VisibleStartIndex(), 0);
  const int shown = window.VisibleCount();
  EXPECT_LT(shown, 60);
  // Up from the first item wraps to the last one, which scrolls into view.
  Stroke(platform::VK_UP);
  EXPECT_EQ(window.ActiveItem(), 59);
  EXPECT_TRUE(window.ItemList().back()->Visible);
  EXPECT_GT(window.VisibleStartIndex(), 0);
  // The top marker scrolls back, one item every 100 ms.
  const int start = window.VisibleStartIndex();
  gfx::Point marker{window.Left() + window.Width() / 2, window.Top() + 3 + 5};
  Headless->MoveMouse(marker);
  Wait(60);
  EXPECT_EQ(window.ScrollCode(), 1);
  Wait(300);
  EXPECT_LT(window.VisibleStartIndex(), start);
  gfx::Bitmap picture = window.RenderPicture();
  // Both markers are drawn: the active one in the plain look's text colour.
  auto inMarker = [&](int top) {
    for (int y = top; y < top + 10; ++y) {
      for (int x = 3; x < window.Width() - 3; ++x) {
        if ((picture.GetPixel(x, y) & 0xFFFFFF) == 0) return true;
      }
    }
    return false;
  };
  EXPECT_TRUE(inMarker(3));
  EXPECT_FALSE(inMarker(window.Height() - 13));
}

// The look of a menu with a submenu, a separator, a disabled and a checked
// item: with the stored skin and in the plain look.
TEST_F(SkinMenuTest, LooksWithTheStoredSkinAndWithout) {
  AddItem(Root, "最小化(&N)")->SetName("SKF_MINITEM");
  AddItem(Root, "Checked")->SetChecked(true);
  AddItem(Root, "-");
  AddItem(Root, "Disabled")->SetEnabled(false);
  TMenuItem* more = AddItem(Root, "More");
  AddItem(more, "Inner");
  TMenuItem* close = AddItem(Root, "关闭(&C)");
  close->SetShortCut(TextToShortCut("Alt+F4"));

  Open({120, 120});
  EXPECT_TRUE(skin::testing::MatchesGolden(Level(0).RenderPicture(), "form/golden/menu-plain.png"));
  Menu->CloseAll();
  App->ProcessMessages();

  skin::TskSkinData* skin = StoredSkin();
  Open({120, 120}, skin);
  ASSERT_NE(Level(0).PW(), nullptr);
  EXPECT_TRUE(skin::testing::MatchesGolden(Level(0).RenderPicture(), "form/golden/menu-skin.png"));
  // The window's shape comes from the popup-window mask.
  EXPECT_TRUE(Headless->Shape(Native(Level(0).Handle())).has_value());
}

}  // namespace

namespace {

TEST_F(SkinMenuTest, APopupMenuOpensThroughTheSkinMenuOfItsForm) {
  auto* popup = core::Create<skin::TskSkinPopupMenu>(*Form);
  AddItem(popup->Items(), "Copy", &Clicks);
  int popups = 0;
  popup->OnPopup = [&](core::TComponent*) { ++popups; };
  popup->SetPopupComponent(Opener);
  // The edit variant needs a skin.
  EXPECT_FALSE(popup->PopupFromControl(*Opener, 200, 200));
  popup->Popup(200, 210);
  App->ProcessMessages();
  EXPECT_EQ(popups, 1);
  ASSERT_TRUE(Menu->Visible());
  EXPECT_EQ(Level(0).Left(), 200);
  EXPECT_EQ(Level(0).Top(), 210);
  Stroke(platform::VK_RETURN);
  EXPECT_EQ(Clicks, (std::vector<std::string>{"Copy"}));
  EXPECT_EQ(Opener->Commands, 1);

  // A form without a skinned frame has no skin menu: nothing opens.
  Menu->SetForm(nullptr);
  popup->Popup(200, 210);
  App->ProcessMessages();
  EXPECT_FALSE(Menu->Visible());
}

}  // namespace
