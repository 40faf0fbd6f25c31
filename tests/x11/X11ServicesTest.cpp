// Services of the X11 backend on the virtual desktop: the clipboard shared
// with other programs, monitors and work areas, the wait and its wake-up,
// reading the screen, and the backend's registration.

#include "X11TestSupport.h"

#include <gmock/gmock.h>

#include <chrono>
#include <future>
#include <thread>

#include <unistd.h>

#include "platform/PlatformFactory.h"

namespace platform::x11 {
namespace {

using testing::EventLog;
using testing::ForeignClient;
using testing::RunCommand;

class X11Services : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_DISPLAY();
    FPlatform = std::make_unique<X11Platform>();
  }
  X11Platform& Platform() { return *FPlatform; }

  // Runs command on another thread while this one keeps answering the
  // clipboard requests it causes; returns its output.
  std::string RunWhilePumping(const std::string& command) {
    auto result = std::async(std::launch::async, [command] {
      std::string output;
      RunCommand(command, &output);
      return output;
    });
    EventLog log;
    while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
      Event event;
      while (Platform().NextEvent(event)) log.push_back(event);
      Platform().WaitForEvent(10);
    }
    return result.get();
  }

  // Puts text on the clipboard through xclip, which serves one request
  // and exits; returns once xclip owns the selection.
  void SetClipboardByXclip(const std::string& text) {
    ForeignClient observer;
    const Atom clipboard = XInternAtom(observer.Connection(), "CLIPBOARD", False);
    const ::Window before = XGetSelectionOwner(observer.Connection(), clipboard);
    char path[] = "/tmp/ostvane-clipboard-XXXXXX";
    const int descriptor = mkstemp(path);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(write(descriptor, text.data(), text.size()), ssize_t(text.size()));
    close(descriptor);
    const int status = RunCommand(std::string("xclip -selection clipboard -loops 1 -i ") + path +
                                  " >/dev/null 2>&1");
    unlink(path);
    ASSERT_EQ(status, 0);
    for (int i = 0; i < 500; ++i) {
      const ::Window owner = XGetSelectionOwner(observer.Connection(), clipboard);
      if (owner != 0 && owner != before) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    FAIL() << "xclip did not take the clipboard";
  }

  std::unique_ptr<X11Platform> FPlatform;
};

TEST_F(X11Services, ClipboardTextReachesOtherPrograms) {
  const std::string text = "192.168.1.7:00-1A-2B-3C-4D-5E 扫描 ✓";
  Platform().SetClipboardText(text);
  // Our own ownership is answered without asking the server.
  EXPECT_EQ(Platform().ClipboardText(), text);
  EXPECT_EQ(RunWhilePumping("xclip -selection clipboard -o"), text);
  std::string targets = RunWhilePumping("xclip -selection clipboard -t TARGETS -o");
  EXPECT_THAT(targets, ::testing::HasSubstr("UTF8_STRING"));
  EXPECT_THAT(targets, ::testing::HasSubstr("STRING"));
  // Old clients asking for STRING get Latin-1, with '?' for the rest.
  Platform().SetClipboardText("Grüße 扫");
  EXPECT_EQ(RunWhilePumping("xclip -selection clipboard -t STRING -o"), "Gr\xFC\xDF" "e ?");
}

TEST_F(X11Services, ClipboardTextOfOtherProgramsIsRead) {
  const std::string text = "hello 世界\nsecond line";
  SetClipboardByXclip(text);
  EXPECT_EQ(Platform().ClipboardText(), text);
}

TEST_F(X11Services, LargeClipboardTextComesInChunks) {
  // Beyond one request xclip hands the text over incrementally (INCR).
  std::string text;
  while (text.size() < 1536 * 1024) text += "192.168.1." + std::to_string(text.size() % 254) + " 扫描\n";
  SetClipboardByXclip(text);
  const std::string read = Platform().ClipboardText();
  EXPECT_EQ(read.size(), text.size());
  EXPECT_TRUE(read == text);
}

TEST_F(X11Services, TakingTheClipboardEndsOurOwnership) {
  Platform().SetClipboardText("ours");
  SetClipboardByXclip("theirs");
  // The server told us with SelectionClear; reading asks the new owner.
  EXPECT_EQ(Platform().ClipboardText(), "theirs");
}

TEST_F(X11Services, ClipboardWithoutOwnerIsEmpty) {
  ForeignClient other;
  const Atom clipboard = XInternAtom(other.Connection(), "CLIPBOARD", False);
  const ::Window owner = XCreateSimpleWindow(other.Connection(), other.Root(), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(other.Connection(), clipboard, owner, CurrentTime);
  XDestroyWindow(other.Connection(), owner);
  other.Sync();
  EXPECT_EQ(Platform().ClipboardText(), "");
}

TEST_F(X11Services, OwnerThatNeverAnswersTimesOut) {
  // Another client owns the clipboard but does not read its requests.
  ForeignClient silent;
  const Atom clipboard = XInternAtom(silent.Connection(), "CLIPBOARD", False);
  const ::Window owner = XCreateSimpleWindow(silent.Connection(), silent.Root(), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(silent.Connection(), clipboard, owner, CurrentTime);
  silent.Sync();
  const std::uint64_t start = Platform().Now();
  EXPECT_EQ(Platform().ClipboardText(), "");
  EXPECT_LT(Platform().Now() - start, 10000u);
}

TEST_F(X11Services, OneMonitorWithTheTrayStrutOutOfItsWorkArea) {
  const std::vector<Monitor> monitors = Platform().Monitors();
  ASSERT_EQ(monitors.size(), 1u);
  EXPECT_TRUE(monitors[0].Primary);
  EXPECT_EQ(monitors[0].Bounds, gfx::Rect(0, 0, 1024, 768));
  // trayer's strut takes the bottom 24 pixels.
  EXPECT_EQ(monitors[0].WorkArea, gfx::Rect(0, 0, 1024, 744));
}

TEST_F(X11Services, VirtualMonitorsGetTheirShareOfTheWorkArea) {
  ASSERT_EQ(RunCommand("xrandr --setmonitor OstvaneL 512/135x768/203+0+0 screen"), 0);
  ASSERT_EQ(RunCommand("xrandr --setmonitor OstvaneR 512/135x768/203+512+0 none"), 0);
  const std::vector<Monitor> monitors = Platform().Monitors();
  RunCommand("xrandr --delmonitor OstvaneL; xrandr --delmonitor OstvaneR");
  ASSERT_EQ(monitors.size(), 2u);
  EXPECT_TRUE(monitors[0].Primary);
  EXPECT_FALSE(monitors[1].Primary);
  std::vector<gfx::Rect> bounds{monitors[0].Bounds, monitors[1].Bounds};
  EXPECT_THAT(bounds, ::testing::UnorderedElementsAre(gfx::Rect(0, 0, 512, 768),
                                                      gfx::Rect(512, 0, 1024, 768)));
  for (const Monitor& m : monitors) {
    EXPECT_EQ(m.WorkArea, (gfx::Rect{m.Bounds.Left, 0, m.Bounds.Right, 744}));
  }
}

TEST_F(X11Services, WaitEndsByTimeoutOrWake) {
  // Nothing happens: the wait lasts its time-out (no shorter).
  std::uint64_t start = Platform().Now();
  Platform().WaitForEvent(150);
  EXPECT_GE(Platform().Now() - start, 150u);

  // A wake from another thread ends a wait without limit.
  start = Platform().Now();
  std::thread waker([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    Platform().Wake();
  });
  Platform().WaitForEvent(InfiniteTimeout);
  waker.join();
  EXPECT_GE(Platform().Now() - start, 90u);

  // A wake before the wait ends the next one at once, and only that one.
  Platform().Wake();
  start = Platform().Now();
  Platform().WaitForEvent(5000);
  EXPECT_LT(Platform().Now() - start, 4000u);
  start = Platform().Now();
  Platform().WaitForEvent(100);
  EXPECT_GE(Platform().Now() - start, 100u);
}

TEST_F(X11Services, WaitReturnsForAnEventFromTheServer) {
  WindowOptions options;
  options.Kind = WindowKind::Popup;
  options.Bounds = gfx::Rect::FromSize(10, 10, 50, 50);
  const NativeWindow popup = Platform().CreateWindow(options);
  Platform().ShowWindow(popup, ShowMode::Show);
  const std::uint64_t start = Platform().Now();
  Platform().WaitForEvent(20000);  // ends with the expose of the new window
  EXPECT_LT(Platform().Now() - start, 5000u);
  Event event;
  ASSERT_TRUE(Platform().NextEvent(event));
  EXPECT_EQ(event.Kind, EventKind::Expose);
  EXPECT_EQ(event.Window, popup);
}

TEST_F(X11Services, CaptureReadsTheScreenAndBlackOutside) {
  gfx::Bitmap picture;
  ASSERT_TRUE(Platform().CaptureScreen(gfx::Rect::FromSize(-10, -5, 30, 20), picture));
  ASSERT_EQ(picture.Width(), 30);
  ASSERT_EQ(picture.Height(), 20);
  EXPECT_EQ(picture.GetPixel(0, 0), 0u);
  EXPECT_EQ(picture.GetPixel(9, 19), 0u);
  EXPECT_EQ(picture.GetPixel(29, 4), 0u);
  EXPECT_EQ(picture.GetPixel(10, 5), testing::RootPixel);
  EXPECT_EQ(picture.GetPixel(29, 19), testing::RootPixel);
  ASSERT_TRUE(Platform().CaptureScreen(gfx::Rect{5, 5, 5, 5}, picture));
  EXPECT_TRUE(picture.IsEmpty());
}

TEST_F(X11Services, SmallServices) {
  EXPECT_EQ(Platform().Name(), "x11");
  EXPECT_EQ(Platform().DoubleClickTime(), 500);
  EXPECT_THAT(Platform().ProgramFilePath(), ::testing::EndsWith("/x11_tests"));
  Platform().Beep();
  for (int shape = 0; shape <= int(CursorShape::Hidden); ++shape) {
    WindowOptions options;
    options.Bounds = gfx::Rect::FromSize(0, 0, 10, 10);
    const NativeWindow window = Platform().CreateWindow(options);
    Platform().SetWindowCursor(window, CursorShape(shape));
    Platform().DestroyWindow(window);
  }
  XSync(Platform().XDisplay(), False);
  EXPECT_TRUE(Platform().ServerPixelFormat().MatchesBitmap());
}

TEST(X11Registration, PreferredWhenLinkedIn) {
  const std::vector<std::string> names = RegisteredBackends();
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), "x11");
  SKIP_WITHOUT_DISPLAY();
  EXPECT_EQ(CreatePlatform("x11")->Name(), "x11");
}

TEST(X11Registration, NoDisplayIsAClearError) {
  try {
    X11Platform platform(":987");
    FAIL() << "opened a display that does not exist";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Cannot open the X display \":987\"");
  }
  const char* saved = std::getenv("DISPLAY");
  const std::string display = saved ? saved : "";
  unsetenv("DISPLAY");
  try {
    CreatePlatform("x11");
    ADD_FAILURE() << "created without a display";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Cannot open the X display: DISPLAY is not set");
  }
  if (saved) setenv("DISPLAY", display.c_str(), 1);
}

}  // namespace
}  // namespace platform::x11
