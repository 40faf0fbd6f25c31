#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/headless/HeadlessPlatform.h"

namespace platform::headless {
namespace {

class HeadlessPlatformTest : public ::testing::Test {
 protected:
  NativeWindow Open(gfx::Rect bounds, WindowKind kind = WindowKind::Normal, ShowMode show = ShowMode::ShowNoActivate) {
    NativeWindow window = Headless.CreateWindow(WindowOptions{kind, bounds, "w"});
    Headless.ShowWindow(window, show);
    return window;
  }
  std::vector<Event> Drain() {
    std::vector<Event> events;
    Event e;
    while (Headless.NextEvent(e)) events.push_back(e);
    return events;
  }
  static std::vector<std::pair<EventKind, NativeWindow>> Kinds(const std::vector<Event>& events) {
    std::vector<std::pair<EventKind, NativeWindow>> kinds;
    for (const auto& e : events) kinds.emplace_back(e.Kind, e.Window);
    return kinds;
  }

  HeadlessPlatform Headless;
};

TEST_F(HeadlessPlatformTest, TheTopmostWindowUnderThePointerGetsTheMouse) {
  NativeWindow below = Open({0, 0, 100, 100});
  NativeWindow above = Open({50, 50, 150, 150});
  Drain();
  Headless.MoveMouse({60, 70});
  auto events = Drain();
  ASSERT_EQ(Kinds(events), (std::vector<std::pair<EventKind, NativeWindow>>{{EventKind::MouseEnter, above},
                                                                             {EventKind::MouseMove, above}}));
  EXPECT_EQ(events[1].Position, (gfx::Point{10, 20}));
  EXPECT_EQ(events[1].ScreenPosition, (gfx::Point{60, 70}));
  Headless.MoveMouse({20, 20});
  EXPECT_EQ(Kinds(Drain()), (std::vector<std::pair<EventKind, NativeWindow>>{{EventKind::MouseLeave, above},
                                                                             {EventKind::MouseEnter, below},
                                                                             {EventKind::MouseMove, below}}));
  // A shape lets the pointer through to the window below.
  gfx::Region shape(gfx::Rect{50, 50, 100, 100});
  Headless.SetWindowShape(above, &shape);
  EXPECT_EQ(Headless.WindowAt({60, 60}), below);
  EXPECT_EQ(Headless.WindowAt({120, 120}), above);
  // Hidden and minimised windows are not there.
  Headless.SetWindowState(above, WindowState::Minimized);
  EXPECT_EQ(Headless.WindowAt({120, 120}), NoWindow);
}

TEST_F(HeadlessPlatformTest, GrabsHoldThePointerAndCrossingsWaitUntilTheyEnd) {
  NativeWindow left = Open({0, 0, 100, 100});
  NativeWindow right = Open({200, 0, 300, 100});
  Headless.MoveMouse({50, 50});
  Drain();
  Headless.GrabPointer(left);
  Headless.MoveMouse({250, 50});
  auto events = Drain();
  ASSERT_EQ(Kinds(events), (std::vector<std::pair<EventKind, NativeWindow>>{{EventKind::MouseMove, left}}));
  EXPECT_EQ(events[0].Position, (gfx::Point{250, 50}));
  Headless.ReleasePointer();
  EXPECT_EQ(Kinds(Drain()), (std::vector<std::pair<EventKind, NativeWindow>>{{EventKind::MouseLeave, left},
                                                                             {EventKind::MouseEnter, right}}));
  // A press holds the pointer for its window until the last release.
  Headless.PressMouse(MouseButton::Left);
  Headless.MoveMouse({50, 50});
  Headless.PressMouse(MouseButton::Right);
  Headless.ReleaseMouse(MouseButton::Left);
  Headless.ReleaseMouse(MouseButton::Right);
  events = Drain();
  ASSERT_EQ(events.size(), 7u);
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(events[i].Window, right);
  EXPECT_EQ(events[3].Buttons, ButtonMaskRight);
  EXPECT_EQ(events[4].Buttons, 0);
  EXPECT_EQ(Kinds({events[5], events[6]}), (std::vector<std::pair<EventKind, NativeWindow>>{
                                               {EventKind::MouseLeave, right}, {EventKind::MouseEnter, left}}));
}

TEST_F(HeadlessPlatformTest, KeysGoToTheFocusedWindowWithModifiersAndText) {
  NativeWindow window = Open({0, 0, 10, 10}, WindowKind::Normal, ShowMode::Show);
  EXPECT_EQ(Headless.FocusWindow(), window);
  EXPECT_TRUE(Drain().empty());  // the program's own activation is not reported
  Headless.PressKey(VK_LSHIFT);
  Headless.StrokeKey('Q');
  Headless.ReleaseKey(VK_LSHIFT);
  Headless.StrokeKey('Q');
  Headless.TypeText("é中");
  auto events = Drain();
  // Shift down; Q down, text, up; shift up; Q down, text, up; 2 texts.
  ASSERT_EQ(events.size(), 10u);
  EXPECT_EQ(events[0].VirtualKey, VK_SHIFT);
  EXPECT_EQ(events[1].Modifiers, ModifierShift);
  EXPECT_EQ(events[2].Text, "Q");
  EXPECT_EQ(events[4].Kind, EventKind::KeyUp);
  EXPECT_EQ(events[6].Text, "q");
  EXPECT_EQ(events[6].Modifiers, 0);
  EXPECT_EQ(events[8].Text, "é");
  EXPECT_EQ(events[9].Text, "中");
  EXPECT_TRUE(Headless.IsKeyDown(VK_SHIFT) == false);
  Headless.PressKey(VK_RCONTROL);
  EXPECT_TRUE(Headless.IsKeyDown(VK_CONTROL));
  Headless.PressKey(VK_RCONTROL);
  events = Drain();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_FALSE(events[0].Repeat);
  EXPECT_TRUE(events[1].Repeat);
  Headless.PressMouse(MouseButton::Left);
  EXPECT_TRUE(Headless.IsKeyDown(VK_LBUTTON));
}

TEST_F(HeadlessPlatformTest, PopupsStayAboveAndNeverTakeTheFocus) {
  NativeWindow normal = Open({0, 0, 100, 100}, WindowKind::Normal, ShowMode::Show);
  NativeWindow popup = Open({0, 0, 50, 50}, WindowKind::Popup, ShowMode::Show);
  NativeWindow other = Open({0, 0, 100, 100}, WindowKind::Normal, ShowMode::Show);
  EXPECT_EQ(Headless.ZOrder(), (std::vector<NativeWindow>{normal, other, popup}));
  EXPECT_EQ(Headless.FocusWindow(), other);
  Headless.ActivateWindow(normal);
  EXPECT_EQ(Headless.ZOrder(), (std::vector<NativeWindow>{other, normal, popup}));
  Headless.ActivateWindow(popup);
  EXPECT_EQ(Headless.FocusWindow(), normal);
  // The system switching windows is reported as focus out, then in.
  Headless.SystemActivate(other);
  EXPECT_EQ(Kinds(Drain()), (std::vector<std::pair<EventKind, NativeWindow>>{{EventKind::FocusOut, normal},
                                                                             {EventKind::FocusIn, other}}));
}

TEST_F(HeadlessPlatformTest, TheScreenComposesShapesAndOpacity) {
  NativeWindow back = Open({0, 0, 4, 1});
  NativeWindow front = Open({0, 0, 4, 1});
  gfx::Bitmap white(4, 1);
  white.Fill(gfx::MakePixel(255, 255, 255));
  gfx::Bitmap black(4, 1);
  Headless.PresentWindow(back, black, black.Bounds());
  // Only the dirty part of a presentation is taken.
  Headless.PresentWindow(front, white, gfx::Rect{0, 0, 3, 1});
  EXPECT_EQ(Headless.Pixels(front).GetPixel(3, 0), 0u);
  EXPECT_EQ(Headless.PresentCount(front), 1);
  gfx::Region shape(gfx::Rect{1, 0, 4, 1});
  Headless.SetWindowShape(front, &shape);
  Headless.SetWindowOpacity(front, 51);
  gfx::Bitmap screen = Headless.Screen();
  EXPECT_EQ(screen.GetPixel(0, 0), 0u);
  EXPECT_EQ(screen.GetPixel(1, 0), gfx::MakePixel(51, 51, 51));
  EXPECT_EQ(screen.GetPixel(3, 0), 0u);
  EXPECT_EQ(screen.GetPixel(4, 0), gfx::MakePixel(0x3A, 0x6E, 0xA5));
  // Resizing keeps the top-left pixels.
  Headless.SetWindowBounds(front, {0, 0, 2, 2});
  EXPECT_EQ(Headless.Pixels(front).GetPixel(1, 0), gfx::MakePixel(255, 255, 255));
  EXPECT_EQ(Headless.Pixels(front).GetPixel(1, 1), 0u);
  // Reading the screen off its edge gives black.
  gfx::Bitmap picture;
  EXPECT_TRUE(Headless.CaptureScreen({-1, 0, 2, 1}, picture));
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.GetPixel(0, 0), 0u);
}

TEST_F(HeadlessPlatformTest, EventsOfDestroyedWindowsAreDropped) {
  NativeWindow window = Open({0, 0, 100, 100});
  Headless.MoveMouse({10, 10});
  Headless.RequestClose(window);
  Headless.DestroyWindow(window);
  EXPECT_TRUE(Drain().empty());
  EXPECT_FALSE(Headless.IsWindow(window));
  // Calls naming it are ignored.
  Headless.SetWindowBounds(window, {0, 0, 1, 1});
  Headless.GrabPointer(window);
  EXPECT_EQ(Headless.GrabWindow(), NoWindow);
  EXPECT_NE(Headless.CreateWindow(WindowOptions{}), window);
}

TEST_F(HeadlessPlatformTest, TheClockMovesOnlyWhenTold) {
  std::uint64_t start = Headless.Now();
  Headless.WaitForEvent(500);
  EXPECT_EQ(Headless.Now(), start);
  Headless.AdvanceClock(20);
  EXPECT_EQ(Headless.Now(), start + 20);
  Headless.SetWaitClock(WaitClock::AdvanceOnWait);
  Headless.WaitForEvent(500);
  EXPECT_EQ(Headless.Now(), start + 520);
  // A pending event ends the wait without moving the clock.
  NativeWindow window = Open({0, 0, 10, 10});
  Headless.RequestClose(window);
  Headless.WaitForEvent(500);
  EXPECT_EQ(Headless.Now(), start + 520);
}

TEST_F(HeadlessPlatformTest, WakeEndsAnEndlessWaitFromAnotherThread) {
  std::thread waker([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    Headless.Wake();
  });
  Headless.WaitForEvent(InfiniteTimeout);
  waker.join();
  // A wake given before the wait is not lost.
  Headless.Wake();
  Headless.WaitForEvent(InfiniteTimeout);
  SUCCEED();
}

TEST_F(HeadlessPlatformTest, ServicesKeepWhatTheyAreGiven) {
  Headless.SetClipboardText("192.168.1.7:00-1A-2B-3C-4D-5E");
  EXPECT_EQ(Headless.ClipboardText(), "192.168.1.7:00-1A-2B-3C-4D-5E");
  Headless.Beep();
  Headless.Beep();
  EXPECT_EQ(Headless.BeepCount(), 2);
  ASSERT_EQ(Headless.Monitors().size(), 1u);
  EXPECT_EQ(Headless.Monitors()[0].WorkArea, (gfx::Rect{0, 0, 1024, 740}));
  EXPECT_TRUE(Headless.Monitors()[0].Primary);
  NativeWindow window = Open({0, 0, 10, 10});
  Headless.SetWindowCursor(window, CursorShape::IBeam);
  Headless.MoveMouse({5, 5});
  EXPECT_EQ(Headless.CurrentCursor(), CursorShape::IBeam);
  Headless.MoveMouse({50, 50});
  EXPECT_EQ(Headless.CurrentCursor(), CursorShape::Arrow);
  gfx::Bitmap icon(16, 16);
  Headless.SetWindowIcon(window, icon);
  EXPECT_EQ(Headless.Icon(window).Width(), 16);
  Headless.SetWindowTitle(window, "Ostvane");
  EXPECT_EQ(Headless.Title(window), "Ostvane");
}

}  // namespace
}  // namespace platform::headless
