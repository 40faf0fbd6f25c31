// The skinned frame on the virtual desktop: the window is shaped by the
// skin's mask, moves by its caption and sizes by its border under the
// server's own pointer (XTest through xdotool), and closes from its close
// button; to the window manager it stays a normal titled window.

// The window system's headers first: Xlib's macros must not reach them.
#include "core/Component.h"
#include "skin/data/SkinData.h"
#include "skin/form/SkinForm.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Timers.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/windowing/Windows.h"

#include "X11TestSupport.h"

#include <functional>
#include <string>

namespace platform::x11 {
namespace {

using testing::ForeignClient;
using testing::RunCommand;

// Runs the message loop (the window system's, or the one given) until
// condition holds or five seconds have passed.
bool RunUntil(const std::function<bool()>& condition, const std::function<void()>& run = [] { ui::ProcessMessages(); }) {
  const std::uint64_t deadline = ui::GetTickCount64() + 5000;
  while (ui::GetTickCount64() < deadline) {
    run();
    if (condition()) return true;
    ui::WaitMessage();  // the test's timer wakes it at least every 50 ms
  }
  run();
  return condition();
}

// A form with the skinned frame and the stored skin, shown at bounds; its
// close requests are counted and refused.
struct SkinnedForm {
  explicit SkinnedForm(ui::TApplication& app, const gfx::Rect& bounds) {
    Form = app.CreateForm<ui::TForm>();
    Form->SetCaption("Ostvane");
    Frame = core::Create<skin::TskSkinForm>(*Form);
    auto* data = core::Create<skin::TskSkinData>(*Form);
    auto* stored = core::Create<skin::TskCompressedStoredSkin>(*Form);
    stored->BuildFromSkinFile(OSTVANE_SOURCE_DIR "/resources/skin/skin.ini");
    Frame->SetSkinData(data);
    Form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    data->SetCompressedStoredSkin(stored);
    Form->OnClose = [this](core::TComponent*, ui::TCloseAction& action) {
      ++Closes;
      action = ui::caNone;
    };
    Form->Show();
    Form->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
  }
  ui::TForm* Form = nullptr;
  skin::TskSkinForm* Frame = nullptr;
  int Closes = 0;
};

std::string Drag(gfx::Point from, gfx::Point to) {
  auto at = [](gfx::Point p) { return std::to_string(p.X) + " " + std::to_string(p.Y); };
  const gfx::Point middle{(from.X + to.X) / 2, (from.Y + to.Y) / 2};
  return "xdotool mousemove " + at(from) + " mousedown 1 mousemove " + at(middle) + " sleep 0.1 mousemove " +
         at(to) + " sleep 0.1 mouseup 1";
}

TEST(X11SkinForm, ShapedMovedSizedAndClosedByThePointer) {
  SKIP_WITHOUT_DISPLAY();
  auto backend = std::make_unique<X11Platform>();
  X11Platform& x11 = *backend;
  ui::WindowSystem system(std::move(backend));
  // The frame stops its own timers while a move or size runs.
  const ui::UINT_PTR wake = ui::SetTimer(nullptr, 0, 50, [](ui::HWND, ui::UINT, ui::UINT_PTR, std::uint32_t) {});
  {
    auto app = core::CreateUnowned<ui::TApplication>();
    const gfx::Rect bounds = gfx::Rect::FromSize(240, 180, 352, 225);
    SkinnedForm skinned(*app, bounds);
    ui::TForm* form = skinned.Form;
    skin::TskSkinForm* frame = skinned.Frame;
    const int& closes = skinned.Closes;

    ForeignClient observer;
    const ::Window handle = x11.XWindow(system.NativeWindowOf(form->Handle()));
    ASSERT_NE(handle, 0u);
    auto screenBounds = [&] {
      gfx::Rect r;
      ui::GetWindowRect(form->Handle(), r);
      return r;
    };
    // Shown where asked, its corner cut away by the mask: the desktop
    // shows through at the window's top-left pixel, the frame beside it.
    gfx::Bitmap picture;
    ASSERT_TRUE(RunUntil([&] {
      if (!observer.Viewable(handle) || observer.RootPosition(handle) != bounds.TopLeft()) return false;
      if (!x11.CaptureScreen(bounds, picture)) return false;
      return picture.GetPixel(0, 0) == testing::RootPixel && picture.GetPixel(10, 2) != testing::RootPixel;
    })) << "the shaped window did not show";
    // For the window manager it is an ordinary window with its title.
    std::string properties;
    ASSERT_EQ(RunCommand("xprop -id " + std::to_string(handle) + " _NET_WM_NAME _NET_WM_WINDOW_TYPE", &properties), 0);
    EXPECT_NE(properties.find("\"Ostvane\""), std::string::npos) << properties;
    EXPECT_EQ(properties.find("POPUP"), std::string::npos) << properties;

    // Moved by the caption.
    ASSERT_EQ(RunCommand(Drag({240 + 150, 180 + 15}, {240 + 190, 180 + 45})), 0);
    EXPECT_TRUE(RunUntil([&] { return screenBounds().TopLeft() == gfx::Point{280, 210}; }))
        << screenBounds().Left << "," << screenBounds().Top;
    EXPECT_TRUE(RunUntil([&] { return observer.RootPosition(handle) == gfx::Point{280, 210}; }));

    // Sized by the right border (351 is on the shape's right edge).
    ASSERT_EQ(RunCommand(Drag({280 + 351, 210 + 150}, {280 + 401, 210 + 150})), 0);
    EXPECT_TRUE(RunUntil([&] { return screenBounds().Width() == 402; })) << screenBounds().Width();
    EXPECT_EQ(frame->NewClRect(), (gfx::Rect{5, 29, 397, 220}));

    // Closed by its close button (right-top zone: 127,4,148,25 moved by dx).
    const gfx::Rect close = frame->AnchorSkinRect(gfx::Rect{127, 4, 148, 25});
    const gfx::Point centre{280 + (close.Left + close.Right) / 2, 210 + (close.Top + close.Bottom) / 2};
    ASSERT_EQ(RunCommand("xdotool mousemove " + std::to_string(centre.X) + " " + std::to_string(centre.Y) +
                         " sleep 0.2 click 1"),
              0);
    EXPECT_TRUE(RunUntil([&] { return closes == 1; }));
  }
  ui::KillTimer(nullptr, wake);
}

TEST(X11SkinForm, TheSystemMenuTakesNoFocusAndRunsItsItemsFromTheKeyboard) {
  SKIP_WITHOUT_DISPLAY();
  auto backend = std::make_unique<X11Platform>();
  X11Platform& x11 = *backend;
  ui::WindowSystem system(std::move(backend));
  const ui::UINT_PTR wake = ui::SetTimer(nullptr, 0, 50, [](ui::HWND, ui::UINT, ui::UINT_PTR, std::uint32_t) {});
  {
    auto app = core::CreateUnowned<ui::TApplication>();
    SkinnedForm skinned(*app, gfx::Rect::FromSize(240, 180, 352, 225));
    ui::TForm* form = skinned.Form;
    skin::TskSkinForm* frame = skinned.Frame;
    const int& closes = skinned.Closes;
    ForeignClient observer;
    const ::Window handle = x11.XWindow(system.NativeWindowOf(form->Handle()));
    // The application's loop: an open menu takes the keys through its hook.
    const auto appLoop = [&] { app->ProcessMessages(); };
    ASSERT_TRUE(RunUntil([&] { return observer.Viewable(handle) && observer.FocusedWindow() == handle; }, appLoop));

    skin::TskSkinMenu& menu = *frame->FormMenu();
    auto openByRightClick = [&] {
      EXPECT_EQ(RunCommand("xdotool mousemove 390 195 sleep 0.2 click 3"), 0);
      return RunUntil([&] { return menu.Visible(); }, appLoop);
    };
    ASSERT_TRUE(openByRightClick()) << "a right click on the caption opened no menu";
    const ::Window popup = x11.XWindow(system.NativeWindowOf(menu.PopupList().front()->Handle()));
    XWindowAttributes attributes{};
    ASSERT_TRUE(XGetWindowAttributes(observer.Connection(), popup, &attributes));
    EXPECT_TRUE(attributes.override_redirect);
    ASSERT_TRUE(RunUntil([&] { return observer.Viewable(popup); }, appLoop));
    EXPECT_EQ(observer.FocusedWindow(), handle) << "the menu took the focus";

    // Minimise, maximise, roll up, close: Down, Down lands on roll-up.
    ASSERT_EQ(RunCommand("xdotool key --delay 100 Down Down Return"), 0);
    EXPECT_TRUE(RunUntil([&] { return frame->RollUpState(); }, appLoop));
    EXPECT_FALSE(menu.Visible());

    // The accelerator of close.
    ASSERT_TRUE(openByRightClick());
    ASSERT_EQ(RunCommand("xdotool key c"), 0);
    EXPECT_TRUE(RunUntil([&] { return closes == 1; }, appLoop));
    EXPECT_FALSE(menu.Visible());
  }
  ui::KillTimer(nullptr, wake);
}

}  // namespace
}  // namespace platform::x11
