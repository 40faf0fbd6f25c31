#include <gtest/gtest.h>

#include "platform/headless/HeadlessPlatform.h"
#include "ui/windowing/ScreenUtils.h"
#include "ui/windowing/SystemMetrics.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/windowing/Windows.h"

namespace ui {
namespace {

using platform::Monitor;

// Two monitors side by side; the right one has its task bar on the left.
std::unique_ptr<WindowSystem> TwoMonitors() {
  platform::headless::HeadlessOptions options;
  options.ScreenSize = {1824, 768};
  options.Monitors = {Monitor{{0, 0, 1024, 768}, {0, 0, 1024, 740}, true},
                      Monitor{{1024, 0, 1824, 600}, {1064, 0, 1824, 600}, false}};
  return std::make_unique<WindowSystem>(std::make_unique<platform::headless::HeadlessPlatform>(options));
}

TEST(ScreenUtilsTest, OneMonitorAnswersWithThePrimaryScreen) {
  WindowSystem system(std::make_unique<platform::headless::HeadlessPlatform>());
  EXPECT_FALSE(IsMultiMonitor());
  gfx::Rect rect;
  GetScreenArea(ScreenArea::WorkArea, rect);
  EXPECT_EQ(rect, (gfx::Rect{0, 0, 1024, 740}));
  GetScreenArea(ScreenArea::Whole, rect);
  EXPECT_EQ(rect, (gfx::Rect{0, 0, 1024, 768}));
  HWND window = CreateWindowEx(0, DefaultWindowClassName, "", WS_POPUP, 2000, 0, 10, 10, nullptr);
  GetMonitorArea(window, ScreenArea::WorkArea, rect);
  EXPECT_EQ(rect, (gfx::Rect{0, 0, 1024, 740}));
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
  EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
  DestroyWindow(window);
}

TEST(ScreenUtilsTest, SeveralMonitorsAnswerWithTheOneNearestTheWindow) {
  auto system = TwoMonitors();
  EXPECT_TRUE(IsMultiMonitor());
  HWND window = CreateWindowEx(0, DefaultWindowClassName, "", WS_POPUP, 1000, 100, 200, 100, nullptr);
  gfx::Rect rect;
  GetMonitorArea(window, ScreenArea::WorkArea, rect);
  EXPECT_EQ(rect, (gfx::Rect{1064, 0, 1824, 600}));
  GetMonitorArea(window, ScreenArea::Whole, rect);
  EXPECT_EQ(rect, (gfx::Rect{1024, 0, 1824, 600}));
  // Off every monitor: the nearest one.
  MoveWindow(window, 1500, 700, 50, 50, false);
  GetMonitorArea(window, ScreenArea::Whole, rect);
  EXPECT_EQ(rect, (gfx::Rect{1024, 0, 1824, 600}));
  MoveWindow(window, -300, 100, 50, 50, false);
  GetMonitorArea(window, ScreenArea::Whole, rect);
  EXPECT_EQ(rect, (gfx::Rect{0, 0, 1024, 768}));
  // The work area stays the primary one's.
  GetScreenArea(ScreenArea::WorkArea, rect);
  EXPECT_EQ(rect, (gfx::Rect{0, 0, 1024, 740}));
  EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 1824);
  DestroyWindow(window);
}

TEST(ScreenUtilsTest, MaximisingFillsTheWorkAreaOfTheWindowsMonitor) {
  auto system = TwoMonitors();
  HWND window = CreateWindowEx(0, DefaultWindowClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 1200, 100,
                               300, 200, nullptr);
  ShowWindow(window, SW_MAXIMIZE);
  gfx::Rect rect;
  GetWindowRect(window, rect);
  // The sizing border lies outside the work area.
  EXPECT_EQ(rect, (gfx::Rect{1060, -4, 1828, 604}));
  ShowWindow(window, SW_RESTORE);
  GetWindowRect(window, rect);
  EXPECT_EQ(rect, (gfx::Rect{1200, 100, 1500, 300}));
  DestroyWindow(window);
}

// The translucency paths need both answers true; each test draws its line
// where the classic desktop drew it.
TEST(ScreenUtilsTest, TheSystemAnswersAsTheLayeredWindowGeneration) {
  struct Case {
    int Major, Minor;
    bool XP, Family;
  };
  const Case cases[] = {{4, 9, false, false}, {5, 0, false, true}, {5, 1, true, true},
                        {5, 2, false, true},  {5, 3, false, false}, {6, 1, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Major) + "." + std::to_string(c.Minor));
    EXPECT_EQ(IsWindowsXP(c.Major, c.Minor), c.XP);
    EXPECT_EQ(IsWindows2000Family(c.Major, c.Minor), c.Family);
  }
  // The version reported must stay inside both.
  EXPECT_TRUE(IsWindowsXP());
  EXPECT_TRUE(IsWindows2000Family());
}

TEST(ScreenUtilsTest, OnlyOneWindowSystemRunsAtATime) {
  WindowSystem system(std::make_unique<platform::headless::HeadlessPlatform>());
  EXPECT_EQ(WindowSystem::Current(), &system);
  EXPECT_ANY_THROW(WindowSystem second(std::make_unique<platform::headless::HeadlessPlatform>()));
  EXPECT_EQ(WindowSystem::Current(), &system);
}

}  // namespace
}  // namespace ui
