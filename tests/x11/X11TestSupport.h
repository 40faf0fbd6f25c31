#pragma once

// Helpers of the tests on a real X display (the project's virtual desktop):
// waiting for the server and the window manager, another X client to look
// at our windows from outside, and the command-line tools that inject input
// and use the clipboard as other programs would.

#include "platform/x11/XlibHeaders.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/x11/X11Platform.h"

namespace platform::x11::testing {

// The virtual desktop paints its root window in this colour.
constexpr gfx::Pixel RootPixel = gfx::MakePixel(0x3A, 0x6E, 0xA5);

inline bool HaveDisplay() {
  const char* display = std::getenv("DISPLAY");
  return display && *display;
}

#define SKIP_WITHOUT_DISPLAY() \
  if (!::platform::x11::testing::HaveDisplay()) GTEST_SKIP() << "DISPLAY is not set"

// Runs a shell command; its standard output goes to output when given.
// Returns the exit status (-1 when it could not run).
int RunCommand(const std::string& command, std::string* output = nullptr);

// Quotes text for the shell.
std::string ShellQuote(const std::string& text);

using EventLog = std::vector<Event>;

// Takes events into log until condition holds for it or timeoutMilliseconds
// pass; true when it held. Waiting is for the server and window manager to
// act, never a check of speed.
bool PumpUntil(X11Platform& platform, EventLog& log, const std::function<bool(const EventLog&)>& condition,
               int timeoutMilliseconds = 5000);
// Takes every event that arrives within milliseconds into log.
void PumpFor(X11Platform& platform, EventLog& log, int milliseconds);

// Events of one kind (and window, unless NoWindow) in the log.
std::vector<Event> EventsOf(const EventLog& log, EventKind kind, NativeWindow window = NoWindow);
bool HasEvent(const EventLog& log, EventKind kind, NativeWindow window = NoWindow);

// Creates a window of kind, presents a solid pixel to it and shows it, then
// waits until it is viewable where asked (and, for normal windows, managed
// by the window manager).
NativeWindow ShowSolidWindow(X11Platform& platform, EventLog& log, WindowKind kind,
                             const gfx::Rect& bounds, gfx::Pixel pixel,
                             ShowMode mode = ShowMode::Show);

// A second X client: what other programs and the window manager see.
class ForeignClient {
 public:
  ForeignClient();
  ~ForeignClient();
  Display* Connection() const { return FDisplay; }
  ::Window Root() const { return DefaultRootWindow(FDisplay); }

  ::Window FocusedWindow();
  // _NET_ACTIVE_WINDOW of the root, 0 when unset.
  ::Window ActiveWindow();
  // The window's top-left corner on the root.
  gfx::Point RootPosition(::Window window);
  bool Viewable(::Window window);
  // The client window's top-level ancestor below the root (the window
  // manager's frame, or the window itself).
  ::Window TopLevelOf(::Window window);
  std::vector<long> CardinalProperty(::Window window, const char* name);
  bool HasProperty(::Window window, const char* name);
  std::string StringProperty(::Window window, const char* name);
  // WM_STATE: 1 normal, 3 iconic, 0 when unset.
  long WmState(::Window window);
  // A plain managed window of this client, mapped and waited for.
  ::Window CreateMappedWindow(const gfx::Rect& bounds);
  void Sync() { XSync(FDisplay, False); }

 private:
  Display* FDisplay = nullptr;
};

// The root colour everywhere in picture except where expected(x, y) says
// the window shows: there it must be pixel. Reports the first few
// mismatches with their screen positions.
::testing::AssertionResult ShowsExactly(const gfx::Bitmap& picture, const gfx::Rect& area,
                                        const std::function<bool(int, int)>& expected,
                                        gfx::Pixel pixel);

}  // namespace platform::x11::testing
