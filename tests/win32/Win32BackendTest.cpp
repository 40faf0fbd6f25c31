// The Win32 backend on a real window system (Wine on the virtual desktop,
// scripts/test-windows.sh): windows appear with their shape and pixels,
// take clicks, and the notification-area icon comes and goes.
#include <chrono>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "gfx/Region.h"
#include "platform/ArpResolver.h"
#include "platform/NotifyIcon.h"
#include "platform/win32/Win32NotifyIcons.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WindowsHeaders.h"

namespace platform::win32 {
namespace {

constexpr gfx::Pixel Red = 0x00FF0000;
constexpr gfx::Pixel Blue = 0x000000FF;

class Win32BackendTest : public ::testing::Test {
 protected:
  // Takes events for up to limit, handing each to seen; stops early when
  // seen returns true. Returns whether it did.
  template <class Seen>
  bool PumpUntil(Seen seen, std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    Event event;
    while (std::chrono::steady_clock::now() < end) {
      while (Platform.NextEvent(event)) {
        if (seen(event)) return true;
      }
      Platform.WaitForEvent(20);
    }
    return false;
  }
  void Settle() {
    PumpUntil([](const Event&) { return false; }, std::chrono::milliseconds(400));
  }

  // A window at bounds showing surface, shaped by shape when given.
  NativeWindow ShowPicture(const gfx::Rect& bounds, const gfx::Bitmap& surface, const gfx::Region* shape) {
    WindowOptions options;
    options.Bounds = bounds;
    options.Title = "Ostvane backend test";
    const NativeWindow window = Platform.CreateWindow(options);
    Platform.SetWindowShape(window, shape);
    Platform.ShowWindow(window, ShowMode::Show);
    Platform.PresentWindow(window, surface, surface.Bounds());
    Settle();
    return window;
  }

  Win32Platform Platform;
};

TEST_F(Win32BackendTest, ShapedWindowShowsItsPixelsInsideTheShapeOnly) {
  const gfx::Rect bounds{100, 100, 180, 160};
  gfx::Bitmap surface(bounds.Width(), bounds.Height());
  surface.Fill(Red);
  surface.FillRect(gfx::Rect{0, 0, 80, 10}, Blue);
  // The shape leaves out the right half below row 30.
  const gfx::Region shape = gfx::Region::FromRects({gfx::Rect{0, 0, 80, 30}, gfx::Rect{0, 30, 40, 60}});
  const NativeWindow window = ShowPicture(bounds, surface, &shape);
  ASSERT_NE(Platform.WindowHandle(window), nullptr);

  gfx::Bitmap screen;
  ASSERT_TRUE(Platform.CaptureScreen(bounds, screen));
  EXPECT_EQ(screen.GetPixel(5, 5), Blue);
  EXPECT_EQ(screen.GetPixel(79, 9), Blue);
  EXPECT_EQ(screen.GetPixel(5, 10), Red);
  EXPECT_EQ(screen.GetPixel(79, 29), Red);
  EXPECT_EQ(screen.GetPixel(39, 59), Red);
  // Cut away: what lies behind shows.
  EXPECT_NE(screen.GetPixel(41, 31), Red);
  EXPECT_NE(screen.GetPixel(79, 59), Red);

  // A later present of a dirty part changes that part only.
  surface.FillRect(gfx::Rect{0, 20, 10, 30}, Blue);
  Platform.PresentWindow(window, surface, gfx::Rect{0, 20, 10, 30});
  Settle();
  ASSERT_TRUE(Platform.CaptureScreen(bounds, screen));
  EXPECT_EQ(screen.GetPixel(5, 25), Blue);
  EXPECT_EQ(screen.GetPixel(15, 25), Red);
  Platform.DestroyWindow(window);
}

TEST_F(Win32BackendTest, ClickArrivesAsPressAndReleaseInWindowCoordinates) {
  const gfx::Rect bounds{200, 150, 300, 230};
  gfx::Bitmap surface(bounds.Width(), bounds.Height());
  surface.Fill(Blue);
  const NativeWindow window = ShowPicture(bounds, surface, nullptr);

  Platform.SetCursorPosition(gfx::Point{230, 170});
  Settle();
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ASSERT_EQ(SendInput(2, clicks, sizeof(INPUT)), 2u);

  std::vector<Event> buttons;
  PumpUntil([&](const Event& e) {
    if (e.Window == window && (e.Kind == EventKind::MouseDown || e.Kind == EventKind::MouseUp)) buttons.push_back(e);
    return buttons.size() == 2;
  });
  ASSERT_EQ(buttons.size(), 2u);
  EXPECT_EQ(buttons[0].Kind, EventKind::MouseDown);
  EXPECT_EQ(buttons[0].Button, MouseButton::Left);
  EXPECT_EQ(buttons[0].Position, (gfx::Point{30, 20}));
  EXPECT_EQ(buttons[0].ScreenPosition, (gfx::Point{230, 170}));
  EXPECT_EQ(buttons[1].Kind, EventKind::MouseUp);
  EXPECT_EQ(buttons[1].Position, (gfx::Point{30, 20}));
  Platform.DestroyWindow(window);
}

TEST_F(Win32BackendTest, CloseFromTheSystemIsACloseRequestAndLeavesTheWindow) {
  gfx::Bitmap surface(40, 30);
  surface.Fill(Blue);
  const NativeWindow window = ShowPicture(gfx::Rect{50, 50, 90, 80}, surface, nullptr);
  PostMessageW(static_cast<HWND>(Platform.WindowHandle(window)), WM_CLOSE, 0, 0);
  EXPECT_TRUE(PumpUntil([&](const Event& e) { return e.Kind == EventKind::CloseRequest && e.Window == window; }));
  // Closing is the program's decision: the window is still there.
  EXPECT_TRUE(IsWindow(static_cast<HWND>(Platform.WindowHandle(window))));
  Platform.DestroyWindow(window);
  EXPECT_EQ(Platform.WindowHandle(window), nullptr);
}

TEST_F(Win32BackendTest, TrayIconIsAddedOnceModifiedAndRemoved) {
  NotifyIconService* icons = Platform.NotifyIcons();
  ASSERT_NE(icons, nullptr);
  NotifyIconData data;
  data.Owner = 7;
  data.Id = 1;
  data.Flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.CallbackMessage = 0x0400 + 9;
  data.Icon = gfx::Bitmap(16, 16);
  data.Icon.Fill(Red);
  data.Tip = "Ostvane";
  ASSERT_TRUE(icons->Add(data));
  EXPECT_FALSE(icons->Add(data));

  data.Flags = NIF_INFO;
  data.Info = "Scan finished";
  data.InfoTitle = "Ostvane";
  data.InfoKind = bkInfo;
  EXPECT_TRUE(icons->Modify(data));

  EXPECT_TRUE(icons->Delete(data));
  EXPECT_FALSE(icons->Modify(data));
  EXPECT_FALSE(icons->Delete(data));
}

TEST_F(Win32BackendTest, TaskbarCreatedLetsTheKnownIconsBeAddedAgain) {
  auto& icons = static_cast<Win32NotifyIcons&>(*Platform.NotifyIcons());
  NotifyIconData data;
  data.Owner = 7;
  data.Id = 2;
  data.Flags = NIF_MESSAGE | NIF_TIP;
  data.Tip = "Ostvane";
  ASSERT_TRUE(icons.Add(data));
  // What the shell broadcasts when the area starts again.
  SendMessageW(static_cast<HWND>(icons.Window()), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(PumpUntil([](const Event& e) { return e.Kind == EventKind::TaskbarCreated; }));
  EXPECT_TRUE(icons.Add(data));
  EXPECT_TRUE(icons.Delete(data));
}

// The resolver refuses what no host answers for without asking the system;
// loopback reaches SendARP, which fails for it (Wine's is a stub that always
// fails). No request leaves the machine.
TEST(Win32ArpResolver, AddressesNoHostAnswersForGiveNothing) {
  const auto resolver = CreateSystemArpResolver();
  for (const char* text : {"not an address", "255.255.255.255", "0.0.0.0", "224.0.0.1", "127.0.0.1"}) {
    EXPECT_EQ(resolver->Resolve(InetAddr(text)), std::nullopt) << text;
  }
}

}  // namespace
}  // namespace platform::win32
