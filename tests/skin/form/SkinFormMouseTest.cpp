// Real pointer input through the stored skin's frame on the headless
// desktop: hover, the press rules of the caption buttons, the system-menu
// button, the caption double click.

#include "SkinFormTestSupport.h"
#include "gfx/BmpCodec.h"
#include "platform/VirtualKeys.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace skin::testing {
namespace {

using gfx::Point;
using gfx::Rect;

class SkinFormMouseTest : public SkinFormTest {
 protected:
  void SetUp() override {
    SkinFormTest::SetUp();
    MakeForm({100, 100, 452, 325});
    Form->OnClose = [this](core::TComponent*, ui::TCloseAction& action) {
      ++Closes;
      action = ui::caNone;
    };
  }
  // Whether the window shows sourceRect of picture at the object's place.
  bool Shows(const std::string& object, const gfx::Bitmap& picture, const Rect& sourceRect) {
    const gfx::Bitmap& shown = Headless->Pixels(System->NativeWindowOf(Window()));
    const Rect r = ObjectRect(object);
    for (int y = 0; y < r.Height(); ++y) {
      for (int x = 0; x < r.Width(); ++x) {
        if ((shown.GetPixel(r.Left + x, r.Top + y) & 0xFFFFFF) !=
            (picture.GetPixel(sourceRect.Left + x, sourceRect.Top + y) & 0xFFFFFF)) {
          return false;
        }
      }
    }
    return true;
  }
  int Closes = 0;
  const gfx::Bitmap Active = gfx::LoadBmpFile(StoredSkinDir + "/active.BMP");
  const gfx::Bitmap Main = gfx::LoadBmpFile(StoredSkinDir + "/main.bmp");
};

TEST_F(SkinFormMouseTest, HoverMakesAButtonHotOnlyWhileTheWindowIsActive) {
  Hover(Centre(ObjectRect("closebutton")));
  EXPECT_TRUE(Hot("closebutton"));
  EXPECT_TRUE(Shows("closebutton", Active, {42, 0, 63, 21}));
  Hover(Centre(ObjectRect("maximizebutton")));
  EXPECT_FALSE(Hot("closebutton"));
  EXPECT_TRUE(Hot("maximizebutton"));
  // Another window takes the activation: the frame's buttons are normal
  // again and stay so under the pointer.
  ui::TForm* other = App->CreateForm<ui::TForm>();
  other->SetBounds(600, 400, 200, 150);
  other->Show();
  Run();
  ASSERT_FALSE(Form->Active());
  EXPECT_FALSE(Hot("maximizebutton"));
  Hover(Centre(ObjectRect("closebutton")));
  EXPECT_FALSE(Hot("closebutton"));
}

TEST_F(SkinFormMouseTest, CloseRunsOnlyWhenReleasedOverTheButton) {
  Press(Centre(ObjectRect("closebutton")));
  EXPECT_TRUE(Shows("closebutton", Active, {21, 0, 42, 21}));  // pressed look
  Headless->MoveMouse(At(200, 150));
  Release();
  EXPECT_EQ(Closes, 0);
  EXPECT_EQ(ui::GetCapture(), nullptr);
  // Away and back while held: the release over it counts.
  Press(Centre(ObjectRect("closebutton")));
  Hover(At(200, 150));
  Hover(Centre(ObjectRect("closebutton")));
  Release();
  EXPECT_EQ(Closes, 1);
}

TEST_F(SkinFormMouseTest, WhileAButtonIsHeldNoOtherBecomesHot) {
  Press(Centre(ObjectRect("closebutton")));
  Hover(Centre(ObjectRect("maximizebutton")));
  EXPECT_FALSE(Hot("maximizebutton"));
  EXPECT_FALSE(Hot("closebutton"));
  Release();
  EXPECT_EQ(Closes, 0);
  EXPECT_FALSE(ui::IsZoomed(Window()));
  EXPECT_EQ(Frame->SkinWindowState(), wsNormal);
  Hover(Centre(ObjectRect("maximizebutton")));
  EXPECT_TRUE(Hot("maximizebutton"));
}

TEST_F(SkinFormMouseTest, ADoubleClickOnTheSystemMenuButtonCloses) {
  const Point button = Centre(ObjectRect("sysmenubutton"));
  Headless->MoveMouse(button);
  Headless->Click(button);
  Headless->Click(button);
  Run();
  EXPECT_EQ(Closes, 1);
  EXPECT_EQ(ui::GetCapture(), nullptr);
  EXPECT_FALSE(static_cast<TskSkinButtonObject&>(Object("sysmenubutton")).Down);
}

TEST_F(SkinFormMouseTest, TheMaximiseButtonShowsItsRestoreLookWhileMaximised) {
  EXPECT_TRUE(Shows("maximizebutton", Main, {104, 4, 125, 25}));
  Press(Centre(ObjectRect("maximizebutton")));
  Release();
  Tick();
  ASSERT_EQ(Frame->SkinWindowState(), wsMaximized);
  EXPECT_EQ(Bounds(), (Rect{0, 0, 1024, 740}));
  EXPECT_EQ(ObjectRect("maximizebutton"), (Rect{976, 4, 997, 25}));
  EXPECT_TRUE(Shows("maximizebutton", Active, {0, 61, 21, 82}));
  Press(Centre(ObjectRect("maximizebutton")));
  Release();
  EXPECT_EQ(Frame->SkinWindowState(), wsNormal);
  EXPECT_EQ(Bounds(), (Rect{100, 100, 452, 325}));
  Hover(At(200, 150));
  EXPECT_TRUE(Shows("maximizebutton", Main, {104, 4, 125, 25}));
}

TEST_F(SkinFormMouseTest, TheCaptionDoubleClickMaximisesRestoresAndRollsUp) {
  auto doubleClick = [&](Point at) {
    Headless->MoveMouse(at);
    Headless->Click(at);
    Headless->Click(at);
    Run();
  };
  doubleClick(At(150, 15));
  EXPECT_EQ(Frame->SkinWindowState(), wsMaximized);
  EXPECT_EQ(Bounds(), (Rect{0, 0, 1024, 740}));
  doubleClick(At(150, 15));
  EXPECT_EQ(Frame->SkinWindowState(), wsNormal);
  EXPECT_EQ(Bounds(), (Rect{100, 100, 452, 325}));
  Frame->Sizeable = false;
  doubleClick(At(150, 15));
  EXPECT_TRUE(Frame->RollUpState());
  EXPECT_EQ(Bounds(), (Rect{100, 100, 452, 134}));
  doubleClick(At(150, 15));
  EXPECT_FALSE(Frame->RollUpState());
  EXPECT_EQ(Bounds(), (Rect{100, 100, 452, 325}));
}

TEST_F(SkinFormMouseTest, TheCaptionMovesAndTheBorderSizesTheWindow) {
  // The move and size loops run inside the press: the whole drag is queued
  // before the messages are handled.
  auto drag = [&](Point from, Point to) {
    Headless->MoveMouse(from);
    Headless->PressMouse(platform::MouseButton::Left);
    Headless->MoveMouse(Point{(from.X + to.X) / 2, (from.Y + to.Y) / 2});
    Headless->MoveMouse(to);
    Headless->ReleaseMouse(platform::MouseButton::Left);
    Run();
  };
  drag(At(150, 15), At(190, 45));
  EXPECT_EQ(Bounds(), (Rect{140, 130, 492, 355}));
  drag(At(351, 150), At(401, 150));
  EXPECT_EQ(Bounds(), (Rect{140, 130, 542, 355}));
  // The frame followed the new size.
  EXPECT_EQ(ObjectRect("closebutton"), (Rect{377, 4, 398, 25}));
  EXPECT_EQ(Frame->NewMaskRectArea(), (Rect{3, 4, 399, 222}));
  // And the objects work again at once.
  Hover(Centre(ObjectRect("closebutton")));
  EXPECT_TRUE(Hot("closebutton"));
}

TEST_F(SkinFormMouseTest, TheSystemMenuIsASkinMenuThatTheKeysAndAPressOnAChildClose) {
  auto* child = core::Create<ui::TGroupBox>(*Form);
  child->SetParent(Form);
  child->SetBounds(10, 10, 60, 40);
  Run();
  // A right click on the caption opens it at the pointer, from the skin.
  const Point caption = At(150, 12);
  Headless->Click(caption, platform::MouseButton::Right);
  Run();
  TskSkinMenu* menu = Frame->FormMenu();
  ASSERT_TRUE(menu->Visible());
  const TskSkinPopupWindow& window = *menu->PopupList().front();
  EXPECT_NE(window.PW(), nullptr);
  EXPECT_EQ(ui::GetActiveWindow(), Window());
  // The last item closes: up from the first wraps to it.
  Headless->StrokeKey(platform::VK_UP);
  Run();
  Headless->StrokeKey(platform::VK_RETURN);
  Run();
  EXPECT_EQ(Closes, 1);
  EXPECT_FALSE(menu->Visible());

  Headless->Click(caption, platform::MouseButton::Right);
  Run();
  ASSERT_TRUE(menu->Visible());
  Headless->Click(child->ClientToScreen(Point{5, 5}));
  Run();
  EXPECT_FALSE(menu->Visible());
  EXPECT_EQ(Closes, 1);
}

}  // namespace
}  // namespace skin::testing
