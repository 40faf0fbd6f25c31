// Windows of the X11 backend on the virtual desktop (openbox): what the
// screen shows, what the window manager and other clients see of them,
// and which of the system's changes come back as events.

#include "X11DesktopFixture.h"

#include <gmock/gmock.h>

namespace platform::x11 {
namespace {

std::string Id(::Window window) { return std::to_string(window); }

using X11Window = X11DesktopTest;

TEST_F(X11Window, ShapedWindowShowsExactlyItsRegion) {
  const gfx::Rect bounds = gfx::Rect::FromSize(120, 100, 240, 160);
  const NativeWindow window = ShowSolidWindow(Platform(), FLog, WindowKind::Normal, bounds, Red);
  // Cut corners and a notch in the top edge, as a skin's region does.
  gfx::Region shape(gfx::Rect{0, 0, 240, 160});
  shape.Subtract(gfx::Rect{0, 0, 16, 16});
  shape.Subtract(gfx::Rect{224, 0, 240, 16});
  shape.Subtract(gfx::Rect{0, 144, 16, 160});
  shape.Subtract(gfx::Rect{224, 144, 240, 160});
  shape.Subtract(gfx::Rect{100, 0, 140, 30});
  Platform().SetWindowShape(window, &shape);

  // openbox gives its frame the window's shape when it hears of it.
  const gfx::Rect area = gfx::Rect::FromSize(100, 80, 280, 200);
  auto expected = [&](int x, int y) {
    return shape.Contains(gfx::Point{x - bounds.Left, y - bounds.Top});
  };
  gfx::Bitmap picture;
  PumpUntil(Platform(), FLog, [&](const EventLog&) {
    return Platform().CaptureScreen(area, picture) &&
           testing::ShowsExactly(picture, area, expected, Red);
  }, 2000);
  ASSERT_TRUE(Platform().CaptureScreen(area, picture));
  EXPECT_TRUE(testing::ShowsExactly(picture, area, expected, Red));

  // Back to a rectangle: the cut parts show the window again once
  // presented.
  Platform().SetWindowShape(window, nullptr);
  gfx::Bitmap surface(240, 160);
  surface.Fill(Red);
  PumpFor(Platform(), FLog, 100);
  Platform().PresentWindow(window, surface, surface.Bounds());
  XSync(Platform().XDisplay(), False);
  ASSERT_TRUE(Platform().CaptureScreen(area, picture));
  EXPECT_TRUE(testing::ShowsExactly(picture, area, [&](int x, int y) {
    return bounds.Contains(gfx::Point{x, y});
  }, Red));
}

TEST_F(X11Window, ShapedPopupShowsExactlyItsRegion) {
  const gfx::Rect bounds = gfx::Rect::FromSize(400, 300, 120, 90);
  const NativeWindow popup = ShowSolidWindow(Platform(), FLog, WindowKind::Popup, bounds, Blue);
  gfx::Region shape = gfx::Region::FromRects({gfx::Rect{0, 0, 120, 30}, gfx::Rect{30, 30, 90, 90}});
  Platform().SetWindowShape(popup, &shape);
  XSync(Platform().XDisplay(), False);
  const gfx::Rect area = gfx::Rect::FromSize(390, 290, 140, 110);
  gfx::Bitmap picture;
  ASSERT_TRUE(Platform().CaptureScreen(area, picture));
  EXPECT_TRUE(testing::ShowsExactly(picture, area, [&](int x, int y) {
    return shape.Contains(gfx::Point{x - bounds.Left, y - bounds.Top});
  }, Blue));
}

TEST_F(X11Window, PresentChangesOnlyTheDirtyRectangle) {
  const gfx::Rect bounds = gfx::Rect::FromSize(200, 200, 100, 80);
  const NativeWindow window = ShowSolidWindow(Platform(), FLog, WindowKind::Normal, bounds, Red);
  gfx::Bitmap surface(100, 80);
  surface.Fill(Blue);
  const gfx::Rect dirty{10, 20, 40, 35};
  Platform().PresentWindow(window, surface, dirty);
  // A dirty rectangle reaching out of the surface is cut to it.
  Platform().PresentWindow(window, surface, gfx::Rect{90, 70, 500, 500});
  XSync(Platform().XDisplay(), False);
  const gfx::Rect area = bounds;
  gfx::Bitmap picture;
  ASSERT_TRUE(Platform().CaptureScreen(area, picture));
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 100; ++x) {
      const bool blue = dirty.Contains(gfx::Point{x, y}) || (x >= 90 && y >= 70);
      ASSERT_EQ(picture.GetPixel(x, y), blue ? Blue : Red) << x << "," << y;
    }
  }
}

TEST_F(X11Window, NormalWindowLandsWhereAskedWithoutFrame) {
  const gfx::Rect bounds = gfx::Rect::FromSize(333, 222, 150, 100);
  const NativeWindow window = ShowSolidWindow(Platform(), FLog, WindowKind::Normal, bounds, Red);
  ForeignClient observer;
  const ::Window handle = Platform().XWindow(window);
  EXPECT_EQ(observer.RootPosition(handle), bounds.TopLeft());
  // Reparented into a frame that adds nothing around the window.
  EXPECT_NE(observer.TopLevelOf(handle), handle);
  EXPECT_THAT(observer.CardinalProperty(handle, "_NET_FRAME_EXTENTS"),
              ::testing::ElementsAre(0, 0, 0, 0));
  // Our own moves do not come back as news.
  Platform().SetWindowBounds(window, gfx::Rect::FromSize(300, 250, 180, 90));
  for (int i = 1; i <= 10; ++i) {
    Platform().SetWindowBounds(window, gfx::Rect::FromSize(300 + i * 5, 250 + i * 3, 180, 90));
  }
  EXPECT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog&) {
    return observer.RootPosition(handle) == gfx::Point{350, 280};
  }));
  PumpFor(Platform(), FLog, 300);
  EXPECT_FALSE(HasEvent(FLog, EventKind::BoundsChanged));
}

TEST_F(X11Window, MovesBySomeoneElseAreReported) {
  const gfx::Rect bounds = gfx::Rect::FromSize(100, 120, 160, 100);
  const NativeWindow window = ShowSolidWindow(Platform(), FLog, WindowKind::Normal, bounds, Red);
  const ::Window handle = Platform().XWindow(window);
  ASSERT_EQ(RunCommand("xdotool windowmove " + Id(handle) + " 260 180"), 0);
  ASSERT_EQ(RunCommand("xdotool windowsize " + Id(handle) + " 200 110"), 0);
  EXPECT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
    auto changes = testing::EventsOf(log, EventKind::BoundsChanged, window);
    return !changes.empty() && changes.back().Area == gfx::Rect::FromSize(260, 180, 200, 110);
  }));
}

TEST_F(X11Window, PopupTakesNoFocusAndStaysOnTop) {
  const NativeWindow main = ShowSolidWindow(Platform(), FLog, WindowKind::Normal,
                                            gfx::Rect::FromSize(100, 100, 300, 200), Red);
  ForeignClient observer;
  const ::Window mainHandle = Platform().XWindow(main);
  ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog&) {
    return observer.FocusedWindow() == mainHandle && observer.ActiveWindow() == mainHandle;
  })) << "the shown window did not get the focus";

  const NativeWindow popup = ShowSolidWindow(Platform(), FLog, WindowKind::Popup,
                                             gfx::Rect::FromSize(150, 150, 120, 80), Blue);
  Platform().ActivateWindow(popup);
  ASSERT_EQ(RunCommand("xdotool mousemove 200 180 click 1"), 0);
  ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
    return HasEvent(log, EventKind::MouseUp, popup);
  }));
  PumpFor(Platform(), FLog, 200);
  EXPECT_EQ(observer.FocusedWindow(), mainHandle);
  EXPECT_EQ(observer.ActiveWindow(), mainHandle);
  EXPECT_FALSE(HasEvent(FLog, EventKind::FocusOut));

  // The popup is above the main window's frame, and stays there when the
  // main window is activated again.
  Platform().ActivateWindow(main);
  PumpFor(Platform(), FLog, 200);
  gfx::Bitmap picture;
  ASSERT_TRUE(Platform().CaptureScreen(gfx::Rect::FromSize(200, 180, 1, 1), picture));
  EXPECT_EQ(picture.GetPixel(0, 0), Blue);
  XWindowAttributes attributes{};
  XGetWindowAttributes(observer.Connection(), Platform().XWindow(popup), &attributes);
  EXPECT_TRUE(attributes.override_redirect);
}

TEST_F(X11Window, MinimiseAndRestoreByTheProgramAreSilent) {
  const NativeWindow window = ShowSolidWindow(Platform(), FLog, WindowKind::Normal,
                                              gfx::Rect::FromSize(150, 150, 200, 100), Red);
  ForeignClient observer;
  const ::Window handle = Platform().XWindow(window);
  Platform().SetWindowState(window, WindowState::Minimized);
  EXPECT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog&) {
    return observer.WmState(handle) == IconicState && !observer.Viewable(handle);
  }));
  Platform().SetWindowState(window, WindowState::Normal);
  EXPECT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog&) {
    return observer.WmState(handle) == NormalState && observer.Viewable(handle) &&
           observer.FocusedWindow() == handle;
  }));
  PumpFor(Platform(), FLog, 1200);
  EXPECT_FALSE(HasEvent(FLog, EventKind::StateChanged));
  EXPECT_FALSE(HasEvent(FLog, EventKind::FocusIn));
}

TEST_F(X11Window, MinimiseAndRestoreBySomeoneElseAreReported) {
  const NativeWindow window = ShowSolidWindow(Platform(), FLog, WindowKind::Normal,
                                              gfx::Rect::FromSize(150, 150, 200, 100), Red);
  const ::Window handle = Platform().XWindow(window);
  ASSERT_EQ(RunCommand("xdotool windowminimize " + Id(handle)), 0);
  ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
    auto states = testing::EventsOf(log, EventKind::StateChanged, window);
    return !states.empty() && states.back().State == WindowState::Minimized;
  }));
  ASSERT_EQ(RunCommand("xdotool windowactivate " + Id(handle)), 0);
  EXPECT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
    auto states = testing::EventsOf(log, EventKind::StateChanged, window);
    return states.size() == 2 && states.back().State == WindowState::Normal;
  }));
}

TEST_F(X11Window, TitleIconAndOpacityAreReadableByOtherPrograms) {
  const NativeWindow window = ShowSolidWindow(Platform(), FLog, WindowKind::Normal,
                                              gfx::Rect::FromSize(150, 150, 200, 100), Red);
  const ::Window handle = Platform().XWindow(window);
  Platform().SetWindowTitle(window, "扫描器 Ostvane");
  gfx::Bitmap icon(2, 1);
  icon.SetPixel(0, 0, gfx::MakePixel(0x12, 0x34, 0x56));
  icon.SetPixel(1, 0, gfx::MakePixel(0xFF, 0x00, 0x80));
  Platform().SetWindowIcon(window, icon);
  Platform().SetWindowOpacity(window, 128);
  XSync(Platform().XDisplay(), False);

  std::string output;
  ASSERT_EQ(RunCommand("xprop -id " + Id(handle) + " _NET_WM_NAME WM_NAME _NET_WM_ICON "
                       "_NET_WM_WINDOW_OPACITY _MOTIF_WM_HINTS _NET_WM_WINDOW_TYPE",
                       &output),
            0);
  EXPECT_THAT(output, ::testing::HasSubstr("_NET_WM_NAME(UTF8_STRING) = \"扫描器 Ostvane\""));
  EXPECT_THAT(output, ::testing::HasSubstr("WM_NAME("));
  // 0xFFFFFFFF * 128 / 255
  EXPECT_THAT(output, ::testing::HasSubstr("_NET_WM_WINDOW_OPACITY(CARDINAL) = 2155905152"));
  EXPECT_THAT(output, ::testing::HasSubstr("_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x2, 0x0, 0x0, 0x0, 0x0"));
  EXPECT_THAT(output, ::testing::HasSubstr("_NET_WM_WINDOW_TYPE_NORMAL"));
  ForeignClient observer;
  EXPECT_THAT(observer.CardinalProperty(handle, "_NET_WM_ICON"),
              ::testing::ElementsAre(2, 1, 0xFF123456, 0xFFFF0080));
  // The window manager shows the title too.
  ASSERT_EQ(RunCommand("xdotool getwindowname " + Id(handle), &output), 0);
  EXPECT_EQ(output, "扫描器 Ostvane\n");

  // Opaque again and the default icon: the properties go away.
  Platform().SetWindowOpacity(window, 255);
  Platform().SetWindowIcon(window, gfx::Bitmap());
  XSync(Platform().XDisplay(), False);
  EXPECT_FALSE(observer.HasProperty(handle, "_NET_WM_WINDOW_OPACITY"));
  // openbox puts its default icon on windows that have none; ours is gone.
  EXPECT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog&) {
    std::vector<long> values = observer.CardinalProperty(handle, "_NET_WM_ICON");
    return values.size() < 2 || values[0] != 2 || values[1] != 1;
  }));
}

TEST_F(X11Window, LargeIconIsScaledDown) {
  WindowOptions options;
  options.Bounds = gfx::Rect::FromSize(10, 10, 50, 50);
  const NativeWindow window = Platform().CreateWindow(options);
  gfx::Bitmap icon(1024, 512);
  icon.Fill(Red);
  Platform().SetWindowIcon(window, icon);
  XSync(Platform().XDisplay(), False);
  ForeignClient observer;
  std::vector<long> values = observer.CardinalProperty(Platform().XWindow(window), "_NET_WM_ICON");
  ASSERT_EQ(values.size(), 2u + 256u * 128u);
  EXPECT_EQ(values[0], 256);
  EXPECT_EQ(values[1], 128);
  EXPECT_EQ(std::uint32_t(values[2]), 0xFF000000u | Red);
}

TEST_F(X11Window, CloseShortcutOfTheWindowManagerAsksToClose) {
  const NativeWindow window = ShowSolidWindow(Platform(), FLog, WindowKind::Normal,
                                              gfx::Rect::FromSize(150, 150, 200, 100), Red);
  ForeignClient observer;
  const ::Window handle = Platform().XWindow(window);
  ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog&) { return observer.FocusedWindow() == handle; }));
  // openbox binds Alt+F4 to its close action, which sends WM_DELETE_WINDOW.
  ASSERT_EQ(RunCommand("xdotool key alt+F4"), 0);
  EXPECT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
    return HasEvent(log, EventKind::CloseRequest, window);
  }));
  // Only a request: the window is still there.
  EXPECT_TRUE(observer.Viewable(handle));
}

TEST_F(X11Window, ExposedAreaIsReportedInWindowCoordinates) {
  const gfx::Rect bounds = gfx::Rect::FromSize(300, 300, 200, 150);
  const NativeWindow window = ShowSolidWindow(Platform(), FLog, WindowKind::Normal, bounds, Red);
  auto exposes = testing::EventsOf(FLog, EventKind::Expose, window);
  ASSERT_FALSE(exposes.empty());
  EXPECT_EQ(exposes.front().Area, gfx::Rect(0, 0, 200, 150));
  // A popup over part of it goes away: that part is exposed again.
  FLog.clear();
  const NativeWindow popup = ShowSolidWindow(Platform(), FLog, WindowKind::Popup,
                                             gfx::Rect::FromSize(350, 320, 60, 40), Blue);
  FLog.clear();
  Platform().DestroyWindow(popup);
  ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
    return HasEvent(log, EventKind::Expose, window);
  }));
  EXPECT_EQ(testing::EventsOf(FLog, EventKind::Expose, window).front().Area,
            gfx::Rect::FromSize(50, 20, 60, 40));
}

TEST_F(X11Window, HiddenWindowsHaveNothingNative) {
  WindowOptions options;
  options.Kind = WindowKind::Hidden;
  options.Bounds = gfx::Rect::FromSize(0, 0, 10, 10);
  const NativeWindow hidden = Platform().CreateWindow(options);
  EXPECT_NE(hidden, NoWindow);
  EXPECT_EQ(Platform().XWindow(hidden), 0u);
  // Every call on it is harmless.
  Platform().ShowWindow(hidden, ShowMode::Show);
  Platform().SetWindowTitle(hidden, "x");
  gfx::Bitmap surface(10, 10);
  Platform().PresentWindow(hidden, surface, surface.Bounds());
  Platform().GrabPointer(hidden);
  Platform().DestroyWindow(hidden);
  Platform().DestroyWindow(hidden);
  // Values that name no window are ignored too.
  Platform().ShowWindow(12345, ShowMode::Show);
  EXPECT_EQ(Platform().XWindow(12345), 0u);
}

TEST_F(X11Window, ZeroSizedWindowIsAccepted) {
  WindowOptions options;
  options.Bounds = gfx::Rect::FromSize(50, 50, 0, 0);
  const NativeWindow window = Platform().CreateWindow(options);
  Platform().ShowWindow(window, ShowMode::ShowNoActivate);
  Platform().SetWindowBounds(window, gfx::Rect{60, 60, 40, 40});  // inverted
  PumpFor(Platform(), FLog, 300);
  XSync(Platform().XDisplay(), False);
  EXPECT_NE(Platform().XWindow(window), 0u);
  EXPECT_FALSE(HasEvent(FLog, EventKind::BoundsChanged));
}

TEST_F(X11Window, EventsOfDestroyedWindowsAreDropped) {
  const NativeWindow window = ShowSolidWindow(Platform(), FLog, WindowKind::Popup,
                                              gfx::Rect::FromSize(600, 100, 80, 80), Blue);
  ASSERT_EQ(RunCommand("xdotool mousemove 640 140 click 1"), 0);
  XSync(Platform().XDisplay(), False);
  Platform().DestroyWindow(window);
  FLog.clear();
  PumpFor(Platform(), FLog, 300);
  for (const Event& e : FLog) EXPECT_NE(e.Window, window);
}

}  // namespace
}  // namespace platform::x11
