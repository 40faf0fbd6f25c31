// Input on the virtual desktop: the server's own input injection (xdotool
// drives XTest) must arrive as platform events with window positions,
// buttons, classic virtual keys and UTF-8 text, and focus changes must be
// reported only when the system makes them.

#include "X11DesktopFixture.h"

#include <gmock/gmock.h>

#include <clocale>
#include <thread>

namespace platform::x11 {
namespace {

using testing::EventsOf;

class X11Input : public X11DesktopTest {
 protected:
  void SetUp() override {
    X11DesktopTest::SetUp();
    if (IsSkipped()) return;
    // Start with the pointer away from where the windows go.
    ASSERT_EQ(RunCommand("xdotool mousemove 5 5"), 0);
  }
  // A focused normal window at bounds, with the log emptied.
  NativeWindow FocusedWindow(const gfx::Rect& bounds) {
    const NativeWindow window = ShowSolidWindow(Platform(), FLog, WindowKind::Normal, bounds, Grey);
    ForeignClient observer;
    const ::Window handle = Platform().XWindow(window);
    EXPECT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog&) { return observer.FocusedWindow() == handle; }));
    PumpFor(Platform(), FLog, 100);
    FLog.clear();
    return window;
  }

  // Runs an xdotool command and takes events until one of kind arrives
  // for window (and a little longer, for the events that follow it).
  void Inject(const std::string& arguments, EventKind kind, NativeWindow window) {
    ASSERT_EQ(RunCommand("xdotool " + arguments), 0) << arguments;
    ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
      return HasEvent(log, kind, window);
    })) << arguments;
    PumpFor(Platform(), FLog, 50);
  }

  std::string TypedText(NativeWindow window) {
    std::string text;
    for (const Event& e : EventsOf(FLog, EventKind::Text, window)) text += e.Text;
    return text;
  }
};

TEST_F(X11Input, ClicksArriveWithWindowPositionsAndButtons) {
  const NativeWindow window = FocusedWindow(gfx::Rect::FromSize(200, 150, 300, 200));
  Inject("mousemove 250 190 click 1", EventKind::MouseUp, window);
  auto downs = EventsOf(FLog, EventKind::MouseDown, window);
  auto ups = EventsOf(FLog, EventKind::MouseUp, window);
  ASSERT_EQ(downs.size(), 1u);
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(downs[0].Button, MouseButton::Left);
  EXPECT_EQ(downs[0].Position, (gfx::Point{50, 40}));
  EXPECT_EQ(downs[0].ScreenPosition, (gfx::Point{250, 190}));
  EXPECT_EQ(downs[0].Buttons, ButtonMaskLeft);
  EXPECT_EQ(ups[0].Buttons, 0);
  EXPECT_LE(downs[0].Time, ups[0].Time);
  EXPECT_LE(ups[0].Time, Platform().Now());

  FLog.clear();
  Inject("click 3", EventKind::MouseUp, window);
  EXPECT_EQ(EventsOf(FLog, EventKind::MouseDown, window).at(0).Button, MouseButton::Right);
  EXPECT_EQ(EventsOf(FLog, EventKind::MouseDown, window).at(0).Buttons, ButtonMaskRight);
  FLog.clear();
  Inject("click 2", EventKind::MouseUp, window);
  EXPECT_EQ(EventsOf(FLog, EventKind::MouseUp, window).at(0).Button, MouseButton::Middle);

  // Two buttons held: the set grows and shrinks one by one.
  FLog.clear();
  Inject("mousedown 1 mousedown 3 mouseup 1 mouseup 3", EventKind::MouseUp, window);
  PumpUntil(Platform(), FLog, [&](const EventLog& log) { return EventsOf(log, EventKind::MouseUp).size() == 2; });
  auto presses = EventsOf(FLog, EventKind::MouseDown, window);
  auto releases = EventsOf(FLog, EventKind::MouseUp, window);
  ASSERT_EQ(presses.size(), 2u);
  ASSERT_EQ(releases.size(), 2u);
  EXPECT_EQ(presses[1].Buttons, ButtonMaskLeft | ButtonMaskRight);
  EXPECT_EQ(releases[0].Buttons, ButtonMaskRight);
  EXPECT_EQ(releases[1].Buttons, 0);
}

TEST_F(X11Input, WheelNotchesAre120EachAndNoButtons) {
  const NativeWindow window = FocusedWindow(gfx::Rect::FromSize(200, 150, 300, 200));
  ASSERT_EQ(RunCommand("xdotool mousemove 300 200"), 0);
  Inject("click 4", EventKind::MouseWheel, window);
  Inject("click 5 click 5", EventKind::MouseWheel, window);
  PumpUntil(Platform(), FLog, [&](const EventLog& log) { return EventsOf(log, EventKind::MouseWheel).size() == 3; });
  auto wheel = EventsOf(FLog, EventKind::MouseWheel, window);
  ASSERT_EQ(wheel.size(), 3u);
  EXPECT_EQ(wheel[0].WheelDelta, 120);
  EXPECT_EQ(wheel[1].WheelDelta, -120);
  EXPECT_EQ(wheel[2].WheelDelta, -120);
  EXPECT_EQ(wheel[0].Position, (gfx::Point{100, 50}));
  EXPECT_FALSE(HasEvent(FLog, EventKind::MouseDown));
  EXPECT_FALSE(HasEvent(FLog, EventKind::MouseUp));
}

TEST_F(X11Input, PointerEntersMovesAndLeaves) {
  const NativeWindow window = FocusedWindow(gfx::Rect::FromSize(200, 150, 300, 200));
  Inject("mousemove 210 160", EventKind::MouseEnter, window);
  Inject("mousemove 260 170", EventKind::MouseMove, window);
  EXPECT_EQ(EventsOf(FLog, EventKind::MouseMove, window).back().Position, (gfx::Point{60, 20}));
  Inject("mousemove 700 500", EventKind::MouseLeave, window);
  EXPECT_EQ(EventsOf(FLog, EventKind::MouseEnter, window).size(), 1u);
  EXPECT_EQ(EventsOf(FLog, EventKind::MouseLeave, window).size(), 1u);
}

TEST_F(X11Input, GrabbingWindowGetsEverythingInItsCoordinates) {
  const NativeWindow left = FocusedWindow(gfx::Rect::FromSize(100, 100, 200, 200));
  const NativeWindow right =
      ShowSolidWindow(Platform(), FLog, WindowKind::Normal, gfx::Rect::FromSize(400, 100, 200, 200),
                      Grey, ShowMode::ShowNoActivate);
  Inject("mousemove 150 150", EventKind::MouseEnter, left);
  Platform().GrabPointer(left);
  FLog.clear();
  Inject("mousemove 450 150", EventKind::MouseMove, left);
  Inject("click 1", EventKind::MouseUp, left);
  auto moves = EventsOf(FLog, EventKind::MouseMove, left);
  EXPECT_EQ(moves.back().Position, (gfx::Point{350, 50}));
  EXPECT_EQ(EventsOf(FLog, EventKind::MouseDown, left).at(0).Position, (gfx::Point{350, 50}));
  // Nothing for the window under the pointer, and no crossings meanwhile.
  for (const Event& e : FLog) EXPECT_NE(e.Window, right);
  EXPECT_FALSE(HasEvent(FLog, EventKind::MouseLeave));
  EXPECT_FALSE(HasEvent(FLog, EventKind::MouseEnter));

  // Released: the pointer is over the other window now.
  FLog.clear();
  Platform().ReleasePointer();
  ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
    return HasEvent(log, EventKind::MouseEnter, right);
  }));
  EXPECT_TRUE(HasEvent(FLog, EventKind::MouseLeave, left));
  Inject("mousemove 460 160", EventKind::MouseMove, right);
}

TEST_F(X11Input, KeysGiveVirtualKeysAndText) {
  const NativeWindow window = FocusedWindow(gfx::Rect::FromSize(200, 150, 300, 200));
  Inject("key a", EventKind::KeyUp, window);
  auto downs = EventsOf(FLog, EventKind::KeyDown, window);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].VirtualKey, 'A');
  EXPECT_FALSE(downs[0].Repeat);
  EXPECT_EQ(downs[0].Modifiers, 0);
  EXPECT_EQ(TypedText(window), "a");
  EXPECT_EQ(EventsOf(FLog, EventKind::KeyUp, window).at(0).VirtualKey, 'A');
  // The text follows its key's KeyDown.
  ASSERT_GE(FLog.size(), 3u);
  EXPECT_EQ(FLog[0].Kind, EventKind::KeyDown);
  EXPECT_EQ(FLog[1].Kind, EventKind::Text);

  FLog.clear();
  Inject("key shift+a", EventKind::KeyUp, window);
  PumpUntil(Platform(), FLog, [&](const EventLog& log) { return EventsOf(log, EventKind::KeyUp).size() == 2; });
  downs = EventsOf(FLog, EventKind::KeyDown, window);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].VirtualKey, VK_SHIFT);
  EXPECT_EQ(downs[0].Modifiers, ModifierShift);
  EXPECT_EQ(downs[1].VirtualKey, 'A');
  EXPECT_EQ(downs[1].Modifiers, ModifierShift);
  EXPECT_EQ(TypedText(window), "A");
  EXPECT_EQ(EventsOf(FLog, EventKind::KeyUp, window).back().Modifiers, 0);

  FLog.clear();
  Inject("key ctrl+c", EventKind::KeyUp, window);
  PumpUntil(Platform(), FLog, [&](const EventLog& log) { return EventsOf(log, EventKind::KeyUp).size() == 2; });
  downs = EventsOf(FLog, EventKind::KeyDown, window);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[1].VirtualKey, 'C');
  EXPECT_EQ(downs[1].Modifiers, ModifierControl);
  EXPECT_EQ(TypedText(window), "\x03");  // as the classic character message
}

TEST_F(X11Input, EditingAndFunctionKeys) {
  const NativeWindow window = FocusedWindow(gfx::Rect::FromSize(200, 150, 300, 200));
  struct Case {
    const char* Name;
    int VirtualKey;
    const char* Text;
  } cases[] = {
      {"Return", VK_RETURN, "\r"}, {"BackSpace", VK_BACK, "\b"}, {"Tab", VK_TAB, "\t"},
      {"Escape", VK_ESCAPE, "\x1b"}, {"space", VK_SPACE, " "}, {"Delete", VK_DELETE, ""},
      {"F5", VK_F5, ""}, {"Left", VK_LEFT, ""}, {"Next", VK_NEXT, ""}, {"Home", VK_HOME, ""},
      {"KP_Add", VK_ADD, "+"}, {"5", '5', "5"}, {"minus", VK_OEM_MINUS, "-"},
  };
  for (const Case& c : cases) {
    FLog.clear();
    Inject(std::string("key ") + c.Name, EventKind::KeyUp, window);
    auto downs = EventsOf(FLog, EventKind::KeyDown, window);
    ASSERT_EQ(downs.size(), 1u) << c.Name;
    EXPECT_EQ(downs[0].VirtualKey, c.VirtualKey) << c.Name;
    EXPECT_EQ(TypedText(window), c.Text) << c.Name;
  }
}

// Binds key symbols to unused key codes for the test's time, as a
// keyboard layout with those characters would. (xdotool would bind them
// itself for each character and unbind them before we read the event.)
class ExtraKeys {
 public:
  explicit ExtraKeys(const std::vector<KeySym>& symbols) {
    Display* display = FClient.Connection();
    int first = 0;
    int last = 0;
    XDisplayKeycodes(display, &first, &last);
    int perCode = 0;
    KeySym* map = XGetKeyboardMapping(display, KeyCode(first), last - first + 1, &perCode);
    for (int code = last; code >= first && FCodes.size() < symbols.size(); --code) {
      bool unused = true;
      for (int i = 0; i < perCode; ++i) unused = unused && map[(code - first) * perCode + i] == 0;
      if (unused) FCodes.push_back(KeyCode(code));
    }
    XFree(map);
    for (std::size_t i = 0; i < FCodes.size(); ++i) {
      KeySym bound[2] = {symbols[i], symbols[i]};
      XChangeKeyboardMapping(display, FCodes[i], 2, bound, 1);
    }
    FClient.Sync();
  }
  ~ExtraKeys() {
    for (KeyCode code : FCodes) {
      KeySym none[2] = {0, 0};
      XChangeKeyboardMapping(FClient.Connection(), code, 2, none, 1);
    }
    FClient.Sync();
  }
  std::size_t Count() const { return FCodes.size(); }

 private:
  ForeignClient FClient;
  std::vector<KeyCode> FCodes;
};

TEST_F(X11Input, TypedTextArrivesAsUtf8) {
  const NativeWindow window = FocusedWindow(gfx::Rect::FromSize(200, 150, 300, 200));
  ExtraKeys keys({XK_udiaeresis, XK_ssharp, 0x100626B /* 扫 */, 0x10063CF /* 描 */});
  ASSERT_EQ(keys.Count(), 4u);
  PumpFor(Platform(), FLog, 100);
  const std::string text = "Grüße 扫描 192.168.1.7";
  ASSERT_EQ(RunCommand("xdotool type --delay 5 " + testing::ShellQuote(text)), 0);
  EXPECT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog&) { return TypedText(window) == text; }))
      << "typed: " << TypedText(window);
}

TEST_F(X11Input, TypedTextUnderAUtf8LocaleComesFromTheInputMethod) {
  // A program that set a UTF-8 locale gets its text from Xlib's input
  // method; without one the backend reads the key symbols itself.
  const std::string previous = std::setlocale(LC_CTYPE, nullptr);
  if (!std::setlocale(LC_CTYPE, "C.UTF-8")) GTEST_SKIP() << "no C.UTF-8 locale";
  FPlatform = std::make_unique<X11Platform>();
  const bool inputMethod = Platform().HasInputMethod();
  const NativeWindow window = FocusedWindow(gfx::Rect::FromSize(200, 150, 300, 200));
  {
    ExtraKeys keys({XK_udiaeresis, 0x100626B /* 扫 */});
    PumpFor(Platform(), FLog, 100);
    ASSERT_EQ(RunCommand("xdotool type --delay 5 " + testing::ShellQuote("ü扫 ok")), 0);
    EXPECT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog&) { return TypedText(window) == "ü扫 ok"; }))
        << "typed: " << TypedText(window);
  }
  FPlatform.reset();
  std::setlocale(LC_CTYPE, previous.c_str());
  EXPECT_TRUE(inputMethod);
}

TEST_F(X11Input, HeldKeyRepeats) {
  const NativeWindow window = FocusedWindow(gfx::Rect::FromSize(200, 150, 300, 200));
  // The server repeats a held key after its delay (660 ms on Xvfb).
  ASSERT_EQ(RunCommand("xdotool keydown x sleep 1.2 keyup x"), 0);
  ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
    return HasEvent(log, EventKind::KeyUp, window);
  }));
  auto downs = EventsOf(FLog, EventKind::KeyDown, window);
  ASSERT_GE(downs.size(), 2u);
  EXPECT_FALSE(downs[0].Repeat);
  for (std::size_t i = 1; i < downs.size(); ++i) EXPECT_TRUE(downs[i].Repeat) << i;
  EXPECT_EQ(EventsOf(FLog, EventKind::KeyUp, window).size(), 1u);
  EXPECT_EQ(EventsOf(FLog, EventKind::Text, window).size(), downs.size());
}

TEST_F(X11Input, FocusChangesOfTheSystemAreReportedAndOursAreNot) {
  const NativeWindow window = FocusedWindow(gfx::Rect::FromSize(100, 100, 300, 200));
  PumpFor(Platform(), FLog, 1100);  // our own activation has settled
  EXPECT_FALSE(HasEvent(FLog, EventKind::FocusIn));
  EXPECT_FALSE(HasEvent(FLog, EventKind::FocusOut));

  // Another program's window takes the focus.
  ForeignClient other;
  const ::Window foreign = other.CreateMappedWindow(gfx::Rect::FromSize(500, 300, 200, 150));
  ASSERT_EQ(RunCommand("xdotool windowactivate --sync " + std::to_string(foreign)), 0);
  ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
    return HasEvent(log, EventKind::FocusOut, window);
  }));
  EXPECT_FALSE(HasEvent(FLog, EventKind::FocusIn));

  // The user comes back by the window manager.
  FLog.clear();
  ASSERT_EQ(RunCommand("xdotool windowactivate --sync " + std::to_string(Platform().XWindow(window))), 0);
  ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
    return HasEvent(log, EventKind::FocusIn, window);
  }));

  // The program activates it itself after the other window had it: silent.
  ASSERT_EQ(RunCommand("xdotool windowactivate --sync " + std::to_string(foreign)), 0);
  ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog& log) {
    return HasEvent(log, EventKind::FocusOut, window);
  }));
  FLog.clear();
  Platform().ActivateWindow(window);
  ASSERT_TRUE(PumpUntil(Platform(), FLog, [&](const EventLog&) {
    return other.FocusedWindow() == Platform().XWindow(window);
  }));
  PumpFor(Platform(), FLog, 1100);
  EXPECT_FALSE(HasEvent(FLog, EventKind::FocusIn));
  EXPECT_FALSE(HasEvent(FLog, EventKind::FocusOut));
}

TEST_F(X11Input, ShowWithoutActivationLeavesTheFocus) {
  const NativeWindow first = FocusedWindow(gfx::Rect::FromSize(100, 100, 300, 200));
  const NativeWindow second = ShowSolidWindow(Platform(), FLog, WindowKind::Normal,
                                              gfx::Rect::FromSize(450, 100, 200, 200), Grey,
                                              ShowMode::ShowNoActivate);
  ForeignClient observer;
  PumpFor(Platform(), FLog, 500);
  EXPECT_EQ(observer.FocusedWindow(), Platform().XWindow(first));
  EXPECT_NE(Platform().XWindow(second), 0u);
  EXPECT_FALSE(HasEvent(FLog, EventKind::FocusOut));
}

TEST_F(X11Input, KeyStateAndPointerServices) {
  SKIP_WITHOUT_DISPLAY();
  Platform().SetCursorPosition(gfx::Point{123, 234});
  EXPECT_EQ(Platform().CursorPosition(), (gfx::Point{123, 234}));
  std::string output;
  ASSERT_EQ(RunCommand("xdotool getmouselocation", &output), 0);
  EXPECT_THAT(output, ::testing::StartsWith("x:123 y:234 "));

  EXPECT_FALSE(Platform().IsKeyDown(VK_SHIFT));
  ASSERT_EQ(RunCommand("xdotool keydown shift"), 0);
  EXPECT_TRUE(Platform().IsKeyDown(VK_SHIFT));
  EXPECT_TRUE(Platform().IsKeyDown(VK_LSHIFT));
  EXPECT_FALSE(Platform().IsKeyDown(VK_RSHIFT));
  ASSERT_EQ(RunCommand("xdotool keyup shift keydown a"), 0);
  EXPECT_FALSE(Platform().IsKeyDown(VK_SHIFT));
  EXPECT_TRUE(Platform().IsKeyDown('A'));
  ASSERT_EQ(RunCommand("xdotool keyup a mousedown 1"), 0);
  EXPECT_FALSE(Platform().IsKeyDown('A'));
  EXPECT_TRUE(Platform().IsKeyDown(VK_LBUTTON));
  EXPECT_FALSE(Platform().IsKeyDown(VK_RBUTTON));
  ASSERT_EQ(RunCommand("xdotool mouseup 1"), 0);
  EXPECT_FALSE(Platform().IsKeyDown(VK_LBUTTON));
  EXPECT_FALSE(Platform().IsKeyDown(0));
  EXPECT_FALSE(Platform().IsKeyDown(VirtualKeyCount + 5));
}

}  // namespace
}  // namespace platform::x11
