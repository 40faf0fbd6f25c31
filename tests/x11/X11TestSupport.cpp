#include "X11TestSupport.h"

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <thread>

namespace platform::x11::testing {

int RunCommand(const std::string& command, std::string* output) {
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return -1;
  std::string text;
  char buffer[4096];
  std::size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
  const int status = pclose(pipe);
  if (output) *output = std::move(text);
  if (status < 0 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += "'\\''";
    else quoted += c;
  }
  return quoted + "'";
}

bool PumpUntil(X11Platform& platform, EventLog& log,
               const std::function<bool(const EventLog&)>& condition, int timeoutMilliseconds) {
  const std::uint64_t deadline = platform.Now() + std::uint64_t(timeoutMilliseconds);
  for (;;) {
    Event event;
    while (platform.NextEvent(event)) log.push_back(event);
    if (condition(log)) return true;
    const std::uint64_t now = platform.Now();
    if (now >= deadline) return false;
    platform.WaitForEvent(int(std::min<std::uint64_t>(deadline - now, 50)));
  }
}

void PumpFor(X11Platform& platform, EventLog& log, int milliseconds) {
  PumpUntil(platform, log, [](const EventLog&) { return false; }, milliseconds);
}

std::vector<Event> EventsOf(const EventLog& log, EventKind kind, NativeWindow window) {
  std::vector<Event> found;
  for (const Event& e : log) {
    if (e.Kind == kind && (window == NoWindow || e.Window == window)) found.push_back(e);
  }
  return found;
}

bool HasEvent(const EventLog& log, EventKind kind, NativeWindow window) {
  return !EventsOf(log, kind, window).empty();
}

NativeWindow ShowSolidWindow(X11Platform& platform, EventLog& log, WindowKind kind,
                             const gfx::Rect& bounds, gfx::Pixel pixel, ShowMode mode) {
  WindowOptions options;
  options.Kind = kind;
  options.Bounds = bounds;
  options.Title = "x11 test";
  const NativeWindow window = platform.CreateWindow(options);
  gfx::Bitmap surface(bounds.Width(), bounds.Height());
  surface.Fill(pixel);
  platform.ShowWindow(window, mode);
  ForeignClient observer;
  const ::Window handle = platform.XWindow(window);
  const bool managed = kind == WindowKind::Normal;
  // Viewable at the asked place, inside the window manager's frame for
  // managed windows, and exposed: only then do presented pixels stay.
  const bool ready = PumpUntil(platform, log, [&](const EventLog& events) {
    if (!observer.Viewable(handle)) return false;
    if (observer.RootPosition(handle) != bounds.TopLeft()) return false;
    if (managed && observer.TopLevelOf(handle) == handle) return false;
    return HasEvent(events, EventKind::Expose, window);
  });
  EXPECT_TRUE(ready) << "window did not appear at " << bounds.Left << "," << bounds.Top;
  platform.PresentWindow(window, surface, surface.Bounds());
  XSync(platform.XDisplay(), False);
  return window;
}

ForeignClient::ForeignClient() {
  FDisplay = XOpenDisplay(nullptr);
  if (!FDisplay) throw std::runtime_error("the test cannot open the display");
}

ForeignClient::~ForeignClient() { XCloseDisplay(FDisplay); }

::Window ForeignClient::FocusedWindow() {
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(FDisplay, &focus, &revert);
  return focus;
}

::Window ForeignClient::ActiveWindow() {
  std::vector<long> values = CardinalProperty(Root(), "_NET_ACTIVE_WINDOW");
  return values.empty() ? 0 : ::Window(values[0]);
}

gfx::Point ForeignClient::RootPosition(::Window window) {
  int x = 0;
  int y = 0;
  ::Window child = 0;
  XTranslateCoordinates(FDisplay, window, Root(), 0, 0, &x, &y, &child);
  return gfx::Point{x, y};
}

bool ForeignClient::Viewable(::Window window) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(FDisplay, window, &attributes)) return false;
  return attributes.map_state == IsViewable;
}

::Window ForeignClient::TopLevelOf(::Window window) {
  for (;;) {
    ::Window root = 0;
    ::Window parent = 0;
    ::Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(FDisplay, window, &root, &parent, &children, &count)) return window;
    if (children) XFree(children);
    if (parent == root || parent == 0) return window;
    window = parent;
  }
}

std::vector<long> ForeignClient::CardinalProperty(::Window window, const char* name) {
  std::vector<long> values;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* value = nullptr;
  const Atom property = XInternAtom(FDisplay, name, False);
  if (XGetWindowProperty(FDisplay, window, property, 0, 1 << 20, False, AnyPropertyType, &type,
                         &format, &count, &after, &value) == Success &&
      value) {
    if (format == 32) {
      // Xlib hands format-32 data out as sign-extended longs.
      const long* data = reinterpret_cast<const long*>(value);
      for (unsigned long i = 0; i < count; ++i) values.push_back(long(std::uint32_t(data[i])));
    }
    XFree(value);
  }
  return values;
}

bool ForeignClient::HasProperty(::Window window, const char* name) {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* value = nullptr;
  const Atom property = XInternAtom(FDisplay, name, False);
  if (XGetWindowProperty(FDisplay, window, property, 0, 1, False, AnyPropertyType, &type, &format,
                         &count, &after, &value) != Success) {
    return false;
  }
  if (value) XFree(value);
  return type != 0;
}

std::string ForeignClient::StringProperty(::Window window, const char* name) {
  std::string text;
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* value = nullptr;
  const Atom property = XInternAtom(FDisplay, name, False);
  if (XGetWindowProperty(FDisplay, window, property, 0, 1 << 20, False, AnyPropertyType, &type,
                         &format, &count, &after, &value) == Success &&
      value) {
    if (format == 8) text.assign(reinterpret_cast<const char*>(value), count);
    XFree(value);
  }
  return text;
}

long ForeignClient::WmState(::Window window) {
  std::vector<long> values = CardinalProperty(window, "WM_STATE");
  return values.empty() ? 0 : values[0];
}

::Window ForeignClient::CreateMappedWindow(const gfx::Rect& bounds) {
  const ::Window window = XCreateSimpleWindow(
      FDisplay, Root(), bounds.Left, bounds.Top, unsigned(bounds.Width()),
      unsigned(bounds.Height()), 0, 0, 0xFFFFFF);
  XSizeHints hints{};
  hints.flags = USPosition | USSize;
  XSetWMNormalHints(FDisplay, window, &hints);
  XMapRaised(FDisplay, window);
  XSync(FDisplay, False);
  for (int i = 0; i < 200 && (!Viewable(window) || TopLevelOf(window) == window); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return window;
}

::testing::AssertionResult ShowsExactly(const gfx::Bitmap& picture, const gfx::Rect& area,
                                        const std::function<bool(int, int)>& expected,
                                        gfx::Pixel pixel) {
  std::ostringstream mismatches;
  int count = 0;
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const int screenX = area.Left + x;
      const int screenY = area.Top + y;
      const gfx::Pixel want = expected(screenX, screenY) ? pixel : RootPixel;
      const gfx::Pixel got = picture.GetPixel(x, y);
      if (got != want) {
        if (count < 8) {
          mismatches << " (" << screenX << "," << screenY << "): 0x" << std::hex << got
                     << " not 0x" << want << std::dec;
        }
        ++count;
      }
    }
  }
  if (count == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << count << " pixels differ:" << mismatches.str();
}

}  // namespace platform::x11::testing
