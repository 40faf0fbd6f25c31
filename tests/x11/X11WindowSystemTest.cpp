// The whole stack on the virtual desktop: the window system above the X11
// backend shows a shaped top-level window with a child, runs its timer,
// and a click of the server's own input reaches the child as a message.

// The window system's headers first: Xlib's macros must not reach them.
#include "ui/windowing/Input.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/Timers.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/windowing/Windows.h"

#include "X11TestSupport.h"

#include <functional>

namespace platform::x11 {
namespace {

using testing::ForeignClient;
using testing::RunCommand;

constexpr gfx::Color FormColor = gfx::MakeColor(0x20, 0x60, 0x30);
constexpr gfx::Color ChildColor = gfx::MakeColor(0xE0, 0xC0, 0x10);

struct Received {
  ui::HWND Window;
  ui::UINT Message;
  ui::WPARAM WParam;
  ui::LPARAM LParam;
};

// Runs the message loop until condition holds or the time is up.
bool RunUntil(const std::function<bool()>& condition, int timeoutMilliseconds = 5000) {
  const std::uint64_t deadline = ui::GetTickCount64() + std::uint64_t(timeoutMilliseconds);
  while (ui::GetTickCount64() < deadline) {
    ui::ProcessMessages();
    if (condition()) return true;
    ui::WaitMessage();  // the test's timer wakes it at least every 50 ms
  }
  ui::ProcessMessages();
  return condition();
}

TEST(X11WindowSystem, ChildOfAShapedWindowGetsTheClick) {
  SKIP_WITHOUT_DISPLAY();
  auto backend = std::make_unique<X11Platform>();
  X11Platform& x11 = *backend;
  ui::WindowSystem system(std::move(backend));
  std::vector<Received> received;
  int ticks = 0;

  auto painter = [&](gfx::Color color) {
    return ui::MakeWindowProc([&, color](ui::HWND w, ui::UINT m, ui::WPARAM wp, ui::LPARAM lp) -> ui::LRESULT {
      received.push_back(Received{w, m, wp, lp});
      if (m == ui::WM_PAINT) {
        ui::PaintStruct paint;
        ui::HDC dc = ui::BeginPaint(w, paint);
        gfx::Rect client;
        ui::GetClientRect(w, client);
        ui::CanvasOf(dc).SetBrush(color);
        ui::CanvasOf(dc).FillRect(client);
        ui::EndPaint(w, paint);
        return 0;
      }
      if (m == ui::WM_TIMER) {
        ++ticks;
        return 0;
      }
      return ui::DefWindowProc(w, m, wp, lp);
    });
  };
  ui::WindowClass formClass;
  formClass.Name = "X11Form";
  formClass.Procedure = painter(FormColor);
  ASSERT_TRUE(ui::RegisterClass(formClass));
  ui::WindowClass childClass;
  childClass.Name = "X11Child";
  childClass.Procedure = painter(ChildColor);
  ASSERT_TRUE(ui::RegisterClass(childClass));

  const gfx::Rect bounds = gfx::Rect::FromSize(240, 180, 300, 200);
  ui::HWND form = ui::CreateWindowEx(0, "X11Form", "窗口系统", ui::WS_POPUP, bounds.Left, bounds.Top,
                                     bounds.Width(), bounds.Height(), nullptr);
  ASSERT_NE(form, nullptr);
  ui::HWND child = ui::CreateWindowEx(0, "X11Child", "", ui::WS_CHILD | ui::WS_VISIBLE, 100, 60,
                                      120, 50, form);
  ASSERT_NE(child, nullptr);
  gfx::Region shape(gfx::Rect{0, 0, 300, 200});
  shape.Subtract(gfx::Rect{0, 0, 20, 20});
  ui::SetWindowRgn(form, shape, false);
  ASSERT_NE(ui::SetTimer(form, 7, 50), 0u);
  ui::ShowWindow(form, ui::SW_SHOW);

  ForeignClient observer;
  const ::Window handle = x11.XWindow(system.NativeWindowOf(form));
  ASSERT_NE(handle, 0u);
  // Shown where asked, with the child painted inside and the cut corner
  // showing the desktop.
  gfx::Bitmap picture;
  ASSERT_TRUE(RunUntil([&] {
    if (!observer.Viewable(handle) || observer.RootPosition(handle) != bounds.TopLeft()) return false;
    if (!x11.CaptureScreen(bounds, picture)) return false;
    return picture.GetPixel(150, 80) == gfx::ColorToPixel(ChildColor) &&
           picture.GetPixel(50, 150) == gfx::ColorToPixel(FormColor) &&
           picture.GetPixel(5, 5) == testing::RootPixel;
  })) << "the window did not show as painted";
  EXPECT_TRUE(RunUntil([&] { return ticks >= 3; }));

  received.clear();
  ASSERT_EQ(RunCommand("xdotool mousemove 370 255 click 1"), 0);
  auto clicked = [&] {
    for (const Received& r : received) {
      if (r.Window == child && r.Message == ui::WM_LBUTTONDOWN) return true;
    }
    return false;
  };
  ASSERT_TRUE(RunUntil(clicked));
  for (const Received& r : received) {
    if (r.Window == child && r.Message == ui::WM_LBUTTONDOWN) {
      // Client coordinates of the child: 370 - 240 - 100, 255 - 180 - 60.
      EXPECT_EQ(ui::PointFromLParam(r.LParam), (gfx::Point{30, 15}));
      EXPECT_TRUE(r.WParam & ui::MK_LBUTTON);
    }
    EXPECT_FALSE(r.Window == form && r.Message == ui::WM_LBUTTONDOWN);
  }
  ui::KillTimer(form, 7);
  ui::DestroyWindow(form);
}

}  // namespace
}  // namespace platform::x11
