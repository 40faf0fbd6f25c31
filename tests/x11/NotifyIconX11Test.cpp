#include "X11TestSupport.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <sstream>

#include "StatusNotifierTestBus.h"
#include "platform/x11/NotifyIconX11.h"

namespace platform::x11::testing {
namespace {

constexpr std::uintptr_t Owner = 0x5000;
constexpr std::uintptr_t IconId = 0x7f001230;
constexpr std::uint32_t CallbackMessage = 0x0800;
constexpr gfx::Pixel IconPixel = gfx::MakePixel(0xE0, 0x20, 0x20);
constexpr gfx::Pixel IconMarkPixel = gfx::MakePixel(0x20, 0x40, 0xE0);
const std::string ErrorText = "IP输入错误,请重新输入!";

// A 16x16 red icon with a blue square in its top-left quarter.
NotifyIconData IconRecord(const std::string& tip = "Lumeth") {
  NotifyIconData data;
  data.Owner = Owner;
  data.Id = IconId;
  data.Flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.CallbackMessage = CallbackMessage;
  data.Icon = gfx::Bitmap(16, 16);
  data.Icon.Fill(IconPixel);
  data.Icon.FillRect({0, 0, 8, 8}, IconMarkPixel);
  data.Tip = tip;
  return data;
}

NotifyIconData BalloonRecord(const std::string& title, const std::string& text,
                             std::uint32_t timeout, TBalloonKind kind) {
  NotifyIconData data = IconRecord();
  data.Flags = NIF_INFO;
  data.InfoTitle = title;
  data.Info = text;
  data.Timeout = timeout;
  data.InfoKind = kind;
  return data;
}

bool HaveSessionBus() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  return address && *address;
}

// Asks the bus driver, which answers by itself: safe to wait for.
bool NameHasOwner(const char* name) {
  sd_bus* bus = nullptr;
  if (sd_bus_open_user(&bus) < 0) return false;
  sd_bus_error error = SD_BUS_ERROR_NULL;
  sd_bus_message* reply = nullptr;
  int owned = 0;
  if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                         "NameHasOwner", &error, &reply, "s", name) >= 0) {
    sd_bus_message_read(reply, "b", &owned);
    sd_bus_message_unref(reply);
  }
  sd_bus_error_free(&error);
  sd_bus_flush_close_unref(bus);
  return owned != 0;
}

bool HaveTray() {
  ForeignClient client;
  const Atom selection = XInternAtom(client.Connection(), "_NET_SYSTEM_TRAY_S0", False);
  return XGetSelectionOwner(client.Connection(), selection) != 0;
}

// Balloons belong to an icon, and the icon needs a place.
bool HaveBalloons() { return NameHasOwner("org.freedesktop.Notifications") && HaveTray(); }

// The notice codes in the log; TaskbarCreated counts as 0. Pointer moves
// are left out unless asked for, since the pointer's path is not ours.
std::vector<std::uint32_t> Codes(const EventLog& log, bool withMoves = false) {
  std::vector<std::uint32_t> codes;
  for (const Event& e : log) {
    if (e.Kind == EventKind::TaskbarCreated) codes.push_back(0);
    if (e.Kind != EventKind::NotifyIcon) continue;
    if (e.Notice.Code == WM_MOUSEMOVE && !withMoves) continue;
    codes.push_back(e.Notice.Code);
  }
  return codes;
}

bool Contains(const std::vector<std::uint32_t>& codes, std::uint32_t code) {
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// Runs the service's side of an event loop until done() holds.
bool Pump(NotifyIconX11& service, EventLog& log, const std::function<bool()>& done,
          int milliseconds = 5000) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    service.Dispatch();
    Event event;
    while (service.NextEvent(event)) log.push_back(event);
    if (done()) return true;
    const auto now = Clock::now();
    if (now >= deadline) return false;
    int timeout = int(std::min<long long>(
        50, std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now).count()));
    std::vector<pollfd> descriptors;
    service.PrepareWait(descriptors, timeout);
    poll(descriptors.data(), descriptors.size(), timeout);
  }
}

void PumpFor(NotifyIconX11& service, EventLog& log, int milliseconds) {
  Pump(service, log, [] { return false; }, milliseconds);
}

template <typename T>
bool PumpFuture(NotifyIconX11& service, EventLog& log, std::future<T>& future) {
  return Pump(service, log, [&] {
    return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
  });
}

std::string Hex(unsigned long window) {
  std::ostringstream text;
  text << "0x" << std::hex << window;
  return text.str();
}

// The names of the windows above window in `xwininfo -root -tree`,
// nearest first (the tree lists children indented below their parent).
std::vector<std::string> AncestorLines(unsigned long window) {
  std::string tree;
  RunCommand("xwininfo -root -tree", &tree);
  std::vector<std::string> lines;
  std::istringstream stream(tree);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  auto indent = [](const std::string& line) { return line.find_first_not_of(' '); };
  const std::string id = Hex(window) + " ";
  std::vector<std::string> ancestors;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].find(id) == std::string::npos || lines[i].find_first_not_of(' ') == std::string::npos) continue;
    std::size_t depth = indent(lines[i]);
    for (std::size_t j = i; j-- > 0;) {
      if (lines[j].find("0x") == std::string::npos) continue;
      if (indent(lines[j]) < depth) {
        ancestors.push_back(lines[j]);
        depth = indent(lines[j]);
      }
    }
    break;
  }
  return ancestors;
}

bool WindowExists(ForeignClient& client, unsigned long window) {
  XWindowAttributes attributes{};
  client.Sync();
  return XGetWindowAttributes(client.Connection(), window, &attributes) != 0;
}

gfx::Point WindowCentre(ForeignClient& client, unsigned long window) {
  XWindowAttributes attributes{};
  XGetWindowAttributes(client.Connection(), window, &attributes);
  const gfx::Point origin = client.RootPosition(window);
  return gfx::Point{origin.X + attributes.width / 2, origin.Y + attributes.height / 2};
}

gfx::Pixel PixelOf(ForeignClient& client, unsigned long window, int x, int y) {
  XImage* image = XGetImage(client.Connection(), window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0;
  const gfx::Pixel pixel = gfx::Pixel(XGetPixel(image, 0, 0) & 0xFFFFFF);
  XDestroyImage(image);
  return pixel;
}

void Xdotool(const std::string& arguments) {
  ASSERT_EQ(RunCommand("xdotool " + arguments), 0) << arguments;
}

class NotifyIconX11Test : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveDisplay() || !HaveSessionBus()) GTEST_SKIP() << "needs DISPLAY and a session bus";
    // The pointer starts away from where icons and bubbles are.
    RunCommand("xdotool mousemove 200 200");
  }
};

// ---- Balloons ----

TEST_F(NotifyIconX11Test, ABalloonReachesTheDaemonAndItsExpiryComesBack) {
  if (!HaveBalloons()) GTEST_SKIP() << "needs a notification daemon and the XEmbed tray";
  NotificationMonitor monitor;
  ASSERT_TRUE(monitor.Monitoring());
  NotifyIconX11 service;
  ASSERT_TRUE(service.HasSessionBus());
  ASSERT_TRUE(service.Add(IconRecord())) << "the session has a tray";
  ASSERT_TRUE(service.Modify(BalloonRecord("Ostvane", ErrorText, 1000, bkWarning)));

  EventLog log;
  ASSERT_TRUE(Pump(service, log, [&] { return Contains(Codes(log), NIN_BALLOONTIMEOUT); }, 8000))
      << "the balloon never expired";
  EXPECT_EQ(Codes(log), (std::vector<std::uint32_t>{NIN_BALLOONSHOW, NIN_BALLOONTIMEOUT}));
  for (const Event& e : log) {
    if (e.Kind != EventKind::NotifyIcon) continue;
    EXPECT_EQ(e.Notice.Owner, Owner);
    EXPECT_EQ(e.Notice.Id, IconId);
    EXPECT_EQ(e.Notice.CallbackMessage, CallbackMessage);
    EXPECT_EQ(e.Window, NoWindow);
  }

  const auto calls = monitor.Calls();
  ASSERT_EQ(calls.size(), 1u);
  const NotificationCall& notify = calls[0];
  EXPECT_EQ(notify.Member, "Notify");
  EXPECT_EQ(notify.ApplicationName, "Ostvane");
  EXPECT_EQ(notify.ReplacesId, 0u);
  EXPECT_EQ(notify.IconName, "dialog-warning");
  EXPECT_EQ(notify.Summary, "Ostvane");
  EXPECT_EQ(notify.Body, ErrorText);
  EXPECT_EQ(notify.Actions, (std::vector<std::string>{"default", "Open"}));
  EXPECT_EQ(notify.Timeout, 1000);
}

TEST_F(NotifyIconX11Test, ABalloonRemovedOrDeletedWithItsIconIsClosed) {
  if (!HaveBalloons()) GTEST_SKIP() << "needs a notification daemon and the XEmbed tray";
  NotificationMonitor monitor;
  ASSERT_TRUE(monitor.Monitoring());
  NotifyIconX11 service;
  ASSERT_TRUE(service.Add(IconRecord()));
  EventLog log;

  // Removed by an empty text: the daemon closes it, the program hears a hide.
  ASSERT_TRUE(service.Modify(BalloonRecord("Ostvane", "first", 20000, bkInfo)));
  ASSERT_TRUE(Pump(service, log, [&] { return Contains(Codes(log), NIN_BALLOONSHOW); }));
  ASSERT_TRUE(service.Modify(BalloonRecord("", "", 0, bkNone)));
  ASSERT_TRUE(Pump(service, log, [&] { return Contains(Codes(log), NIN_BALLOONHIDE); }));
  EXPECT_EQ(Codes(log), (std::vector<std::uint32_t>{NIN_BALLOONSHOW, NIN_BALLOONHIDE}));

  // Plain text goes as it stands to a daemon without markup; a time-out of
  // 0 leaves the time to the daemon.
  log.clear();
  ASSERT_TRUE(service.Modify(BalloonRecord("T", "a < b & c > d", 0, bkError)));
  ASSERT_TRUE(Pump(service, log, [&] { return Contains(Codes(log), NIN_BALLOONSHOW); }));
  // Deleting the icon takes the balloon along, without notices to an icon
  // that is gone.
  ASSERT_TRUE(service.Delete(IconRecord()));
  PumpFor(service, log, 500);
  EXPECT_EQ(Codes(log), (std::vector<std::uint32_t>{NIN_BALLOONSHOW}));

  const auto calls = monitor.Calls();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].Member, "Notify");
  EXPECT_EQ(calls[0].IconName, "dialog-information");
  EXPECT_EQ(calls[1].Member, "CloseNotification");
  EXPECT_NE(calls[1].Id, 0u);
  EXPECT_EQ(calls[2].Member, "Notify");
  EXPECT_EQ(calls[2].Body, "a < b & c > d");
  EXPECT_EQ(calls[2].IconName, "dialog-error");
  EXPECT_EQ(calls[2].Timeout, -1);
  EXPECT_EQ(calls[2].ReplacesId, 0u) << "the first balloon was closed, not replaced";
  EXPECT_EQ(calls[3].Member, "CloseNotification");
  EXPECT_NE(calls[3].Id, calls[1].Id);
}

TEST_F(NotifyIconX11Test, ANewBalloonReplacesTheOneShown) {
  if (!HaveBalloons()) GTEST_SKIP() << "needs a notification daemon and the XEmbed tray";
  NotificationMonitor monitor;
  ASSERT_TRUE(monitor.Monitoring());
  NotifyIconX11 service;
  ASSERT_TRUE(service.Add(IconRecord()));
  EventLog log;
  ASSERT_TRUE(service.Modify(BalloonRecord("one", "first", 20000, bkInfo)));
  ASSERT_TRUE(Pump(service, log, [&] { return Codes(log).size() == 1; }));
  ASSERT_TRUE(service.Modify(BalloonRecord("two", "second", 1000, bkInfo)));
  ASSERT_TRUE(Pump(service, log, [&] { return Contains(Codes(log), NIN_BALLOONTIMEOUT); }, 8000));
  EXPECT_EQ(Codes(log),
            (std::vector<std::uint32_t>{NIN_BALLOONSHOW, NIN_BALLOONSHOW, NIN_BALLOONTIMEOUT}));
  const auto calls = monitor.Calls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].ReplacesId, 0u);
  EXPECT_NE(calls[1].ReplacesId, 0u) << "the second bubble takes the first one's place";
}

TEST_F(NotifyIconX11Test, AClickOnTheBubbleIsReportedOnce) {
  if (!HaveBalloons()) GTEST_SKIP() << "needs a notification daemon and the XEmbed tray";
  NotifyIconX11 service;
  ASSERT_TRUE(service.Add(IconRecord()));
  EventLog log;
  // A text of its own: the daemon merges a bubble equal to one still shown.
  ASSERT_TRUE(service.Modify(BalloonRecord("Ostvane", "点击这里", 20000, bkWarning)));
  ASSERT_TRUE(Pump(service, log, [&] { return Contains(Codes(log), NIN_BALLOONSHOW); }));
  PumpFor(service, log, 300);  // the bubble is drawn after the answer
  // The session's daemon puts its 300-pixel bubble 10 pixels from the top
  // right corner, 40 from the top.
  Xdotool("mousemove 860 55 click 1");
  ASSERT_TRUE(Pump(service, log, [&] { return Contains(Codes(log), NIN_BALLOONUSERCLICK); }));
  PumpFor(service, log, 500);
  EXPECT_EQ(Codes(log), (std::vector<std::uint32_t>{NIN_BALLOONSHOW, NIN_BALLOONUSERCLICK}))
      << "the close after the click is not a second notice";
}

// ---- The XEmbed tray ----

TEST_F(NotifyIconX11Test, WithoutAWatcherTheIconDocksIntoTheTray) {
  if (!HaveTray() || NameHasOwner("org.kde.StatusNotifierWatcher")) {
    GTEST_SKIP() << "needs the XEmbed tray and no status-notifier watcher";
  }
  NotifyIconX11 service;
  ASSERT_TRUE(service.Add(IconRecord()));
  EXPECT_EQ(service.HostOf(Owner, IconId), NotifyIconHost::XEmbed);
  const unsigned long window = service.XEmbedWindow(Owner, IconId);
  ASSERT_NE(window, 0u);

  ForeignClient observer;
  EventLog log;
  ASSERT_TRUE(Pump(service, log, [&] { return observer.Viewable(window); }))
      << "the tray never mapped the icon";
  std::vector<std::string> ancestors = AncestorLines(window);
  ASSERT_FALSE(ancestors.empty()) << "not in the window tree";
  EXPECT_TRUE(std::any_of(ancestors.begin(), ancestors.end(), [](const std::string& line) {
    return line.find("\"trayer\"") != std::string::npos;
  })) << "not inside trayer; nearest parent: " << ancestors.front();

  // The icon is painted: the tray gave it 22x22 (or what it chose), and the
  // picture fills the largest square.
  XWindowAttributes attributes{};
  XGetWindowAttributes(observer.Connection(), window, &attributes);
  EXPECT_GE(attributes.width, 16);
  EXPECT_GE(attributes.height, 16);
  PumpFor(service, log, 200);
  const int side = std::min(attributes.width, attributes.height);
  const int left = (attributes.width - side) / 2;
  const int top = (attributes.height - side) / 2;
  EXPECT_EQ(PixelOf(observer, window, left + side * 3 / 4, top + side * 3 / 4), IconPixel);
  EXPECT_EQ(PixelOf(observer, window, left + side / 4, top + side / 4), IconMarkPixel);

  // Deleting it takes the window out of the tray.
  ASSERT_TRUE(service.Delete(IconRecord()));
  EXPECT_FALSE(WindowExists(observer, window));
  EXPECT_TRUE(AncestorLines(window).empty());
  EXPECT_FALSE(service.Delete(IconRecord())) << "already gone";
}

TEST_F(NotifyIconX11Test, ClicksOnTheDockedIconBecomeButtonNotices) {
  if (!HaveTray() || NameHasOwner("org.kde.StatusNotifierWatcher")) {
    GTEST_SKIP() << "needs the XEmbed tray and no status-notifier watcher";
  }
  NotifyIconX11 service;
  ASSERT_TRUE(service.Add(IconRecord("扫描器\n共发现 3 台主机")));
  const unsigned long window = service.XEmbedWindow(Owner, IconId);
  ForeignClient observer;
  EventLog log;
  ASSERT_TRUE(Pump(service, log, [&] { return observer.Viewable(window); }));
  PumpFor(service, log, 200);
  const gfx::Point centre = WindowCentre(observer, window);
  log.clear();

  // Over the icon: a move notice, and the tooltip above the bottom tray.
  Xdotool("mousemove " + std::to_string(centre.X) + " " + std::to_string(centre.Y));
  ASSERT_TRUE(Pump(service, log, [&] { return Contains(Codes(log, true), WM_MOUSEMOVE); }));
  PumpFor(service, log, 200);
  {
    XImage* band = XGetImage(observer.Connection(), observer.Root(), 0, centre.Y - 80, 1024, 60,
                             AllPlanes, ZPixmap);
    ASSERT_NE(band, nullptr);
    int tooltipPixels = 0;
    for (int y = 0; y < 60; ++y) {
      for (int x = 0; x < 1024; ++x) {
        if ((XGetPixel(band, x, y) & 0xFFFFFF) == 0xFFFFE1) ++tooltipPixels;
      }
    }
    XDestroyImage(band);
    EXPECT_GT(tooltipPixels, 200) << "no tooltip above the icon";
  }

  Xdotool("click 1");
  ASSERT_TRUE(Pump(service, log, [&] { return Codes(log).size() >= 2; }));
  Xdotool("click 3");
  ASSERT_TRUE(Pump(service, log, [&] { return Codes(log).size() >= 4; }));
  Xdotool("click 2");
  ASSERT_TRUE(Pump(service, log, [&] { return Codes(log).size() >= 6; }));
  // Wait out the double-click time, then a double click.
  PumpFor(service, log, 600);
  Xdotool("click --repeat 2 --delay 80 1");
  ASSERT_TRUE(Pump(service, log, [&] { return Codes(log).size() >= 10; }));
  EXPECT_EQ(Codes(log), (std::vector<std::uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN,
                                                    WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP,
                                                    WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                                    WM_LBUTTONUP}));
  for (const Event& e : log) {
    EXPECT_EQ(e.Notice.Id, IconId);
    EXPECT_EQ(e.ScreenPosition, centre) << "notice " << e.Notice.Code;
  }
}

// ---- Status-notifier hosts ----

TEST_F(NotifyIconX11Test, WithAHostTheIconIsAStatusNotifierItem) {
  if (NameHasOwner("org.kde.StatusNotifierWatcher")) GTEST_SKIP() << "a watcher runs already";
  TestWatcher watcher(true);
  ASSERT_TRUE(watcher.Owned());
  NotifyIconX11 service;
  ASSERT_TRUE(service.Add(IconRecord()));
  EXPECT_EQ(service.HostOf(Owner, IconId), NotifyIconHost::StatusNotifierItem);
  EXPECT_EQ(service.XEmbedWindow(Owner, IconId), 0u) << "not in the tray as well";
  const std::string name = service.ItemBusName(Owner, IconId);
  EXPECT_EQ(name.rfind("org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-", 0), 0u) << name;

  EventLog log;
  ASSERT_TRUE(Pump(service, log, [&] {
    return watcher.Items() == std::vector<std::string>{name + "/StatusNotifierItem"};
  })) << "never registered";

  auto read = watcher.GetAll(name);
  ASSERT_TRUE(PumpFuture(service, log, read));
  ItemProperties properties = read.get();
  ASSERT_TRUE(properties.Answered);
  EXPECT_EQ(properties.Category, "ApplicationStatus");
  EXPECT_EQ(properties.Id, "ostvane");
  EXPECT_EQ(properties.Title, "Ostvane");
  EXPECT_EQ(properties.Status, "Active");
  EXPECT_TRUE(properties.HasItemIsMenu);
  EXPECT_FALSE(properties.ItemIsMenu);
  EXPECT_EQ(std::count(properties.Names.begin(), properties.Names.end(), "Menu"), 0)
      << "a Menu property makes hosts poll a menu that is not there";
  EXPECT_EQ(properties.ToolTipTitle, "Lumeth");
  ASSERT_EQ(properties.PixmapWidth, 16);
  ASSERT_EQ(properties.PixmapHeight, 16);
  ASSERT_EQ(properties.PixmapBytes.size(), 16u * 16u * 4u);
  // ARGB, most significant byte first: the top-left pixel is the blue mark,
  // the bottom-right one red.
  EXPECT_EQ(std::vector<std::uint8_t>(properties.PixmapBytes.begin(), properties.PixmapBytes.begin() + 4),
            (std::vector<std::uint8_t>{0xFF, 0x20, 0x40, 0xE0}));
  EXPECT_EQ(std::vector<std::uint8_t>(properties.PixmapBytes.end() - 4, properties.PixmapBytes.end()),
            (std::vector<std::uint8_t>{0xFF, 0xE0, 0x20, 0x20}));

  // The host's clicks: the context menu (with coordinates that are not the
  // screen's), activation, secondary activation.
  for (const char* method : {"ContextMenu", "Activate", "SecondaryActivate"}) {
    auto call = watcher.CallItem(name, method, 2, 2);
    ASSERT_TRUE(PumpFuture(service, log, call));
    EXPECT_TRUE(call.get()) << method;
  }
  PumpFor(service, log, 100);
  EXPECT_EQ(Codes(log), (std::vector<std::uint32_t>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDOWN,
                                                    WM_LBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}));

  // Changes reach the host as signals, and reading again shows them.
  NotifyIconData change = IconRecord("scanning");
  change.Flags = NIF_TIP | NIF_STATE;
  change.State = NIS_HIDDEN;
  change.StateMask = NIS_HIDDEN;
  ASSERT_TRUE(service.Modify(change));
  ASSERT_TRUE(Pump(service, log, [&] {
    auto signals = watcher.ItemSignals();
    return std::count(signals.begin(), signals.end(), "NewToolTip") > 0 &&
           std::count(signals.begin(), signals.end(), "NewStatus Passive") > 0;
  }));
  read = watcher.GetAll(name);
  ASSERT_TRUE(PumpFuture(service, log, read));
  properties = read.get();
  EXPECT_EQ(properties.ToolTipTitle, "scanning");
  EXPECT_EQ(properties.Status, "Passive");

  // The bus takes only UTF-8: a tip that is not reaches the host mended
  // instead of breaking the property.
  ASSERT_TRUE(service.Modify(IconRecord("bad \xff byte")));
  read = watcher.GetAll(name);
  ASSERT_TRUE(PumpFuture(service, log, read));
  properties = read.get();
  EXPECT_TRUE(properties.Answered);
  EXPECT_EQ(properties.ToolTipTitle, "bad \xEF\xBF\xBD byte");

  // Deleting the icon unregisters it.
  ASSERT_TRUE(service.Delete(IconRecord()));
  EXPECT_TRUE(Pump(service, log, [&] { return watcher.Items().empty(); }));
}

TEST_F(NotifyIconX11Test, AWatcherThatComesLaterTakesTheIconAndAnnouncesItself) {
  if (!HaveTray() || NameHasOwner("org.kde.StatusNotifierWatcher")) {
    GTEST_SKIP() << "needs the XEmbed tray and no status-notifier watcher";
  }
  NotifyIconX11 service;
  ASSERT_TRUE(service.Add(IconRecord()));
  ASSERT_EQ(service.HostOf(Owner, IconId), NotifyIconHost::XEmbed);
  const unsigned long window = service.XEmbedWindow(Owner, IconId);
  EventLog log;
  {
    auto watcher = std::make_unique<TestWatcher>(true);
    ASSERT_TRUE(watcher->Owned());
    ASSERT_TRUE(Pump(service, log, [&] { return Contains(Codes(log), 0); })) << "no TaskbarCreated";
    EXPECT_EQ(service.HostOf(Owner, IconId), NotifyIconHost::StatusNotifierItem);
    ForeignClient observer;
    EXPECT_FALSE(WindowExists(observer, window)) << "left in the tray as well";
    ASSERT_TRUE(Pump(service, log, [&] { return watcher->Items().size() == 1; }));
    // The program adds its icon again after the notice: that works once.
    EXPECT_TRUE(service.Add(IconRecord("again")));
    EXPECT_FALSE(service.Add(IconRecord()));
    auto read = watcher->GetAll(service.ItemBusName(Owner, IconId));
    ASSERT_TRUE(PumpFuture(service, log, read));
    EXPECT_EQ(read.get().ToolTipTitle, "again");
  }
  // The watcher goes: the icon falls back to the tray.
  ASSERT_TRUE(Pump(service, log, [&] {
    return service.HostOf(Owner, IconId) == NotifyIconHost::XEmbed;
  }));
  EXPECT_NE(service.XEmbedWindow(Owner, IconId), 0u);
  EXPECT_TRUE(service.Modify(IconRecord()));
}

TEST_F(NotifyIconX11Test, AWatcherWithoutAHostLeavesTheIconInTheTrayUntilAHostComes) {
  if (!HaveTray() || NameHasOwner("org.kde.StatusNotifierWatcher")) {
    GTEST_SKIP() << "needs the XEmbed tray and no status-notifier watcher";
  }
  TestWatcher watcher(false);
  ASSERT_TRUE(watcher.Owned());
  NotifyIconX11 service;
  ASSERT_TRUE(service.Add(IconRecord()));
  EXPECT_EQ(service.HostOf(Owner, IconId), NotifyIconHost::XEmbed);
  EventLog log;
  // Registered all the same, so that a host that comes finds it.
  ASSERT_TRUE(Pump(service, log, [&] { return watcher.Items().size() == 1; }));
  watcher.SetHostRegistered(true);
  ASSERT_TRUE(Pump(service, log, [&] { return Contains(Codes(log), 0); }));
  EXPECT_EQ(service.HostOf(Owner, IconId), NotifyIconHost::StatusNotifierItem);
  EXPECT_EQ(service.XEmbedWindow(Owner, IconId), 0u);
}

// ---- Through the platform's event loop ----

TEST_F(NotifyIconX11Test, ThePlatformWaitsForAndDeliversTheNotices) {
  if (!HaveBalloons()) GTEST_SKIP() << "needs a notification daemon and the XEmbed tray";
  X11Platform platform;
  NotifyIconService* service = platform.NotifyIcons();
  ASSERT_NE(service, nullptr);
  EXPECT_EQ(platform.NotifyIcons(), service) << "one area per platform";
  ASSERT_TRUE(service->Add(IconRecord()));
  ASSERT_TRUE(service->Modify(BalloonRecord("Ostvane", "through the platform", 1000, bkInfo)));

  // WaitForEvent sleeps in poll until the daemon's answers come.
  EventLog log;
  ASSERT_TRUE(PumpUntil(platform, log, [](const EventLog& events) {
    return Contains(Codes(events), NIN_BALLOONTIMEOUT);
  }, 8000));
  EXPECT_EQ(Codes(log), (std::vector<std::uint32_t>{NIN_BALLOONSHOW, NIN_BALLOONTIMEOUT}));

  // A click on the docked icon, from the X side.
  const unsigned long window = dynamic_cast<NotifyIconX11&>(*service).XEmbedWindow(Owner, IconId);
  ForeignClient observer;
  ASSERT_TRUE(PumpUntil(platform, log, [&](const EventLog&) { return observer.Viewable(window); }));
  const gfx::Point centre = WindowCentre(observer, window);
  log.clear();
  Xdotool("mousemove " + std::to_string(centre.X) + " " + std::to_string(centre.Y) + " click 3");
  ASSERT_TRUE(PumpUntil(platform, log, [](const EventLog& events) { return Codes(events).size() >= 2; }));
  EXPECT_EQ(Codes(log), (std::vector<std::uint32_t>{WM_RBUTTONDOWN, WM_RBUTTONUP}));
  for (const Event& e : log) EXPECT_EQ(e.Kind, EventKind::NotifyIcon);
}

// ---- No area at all (run on a desktop started with DESK_TRAY=none) ----

TEST_F(NotifyIconX11Test, WithoutAnAreaTheCallsFailUntilATrayStarts) {
  if (HaveTray() || NameHasOwner("org.kde.StatusNotifierWatcher")) {
    GTEST_SKIP() << "needs a desktop without a tray or watcher";
  }
  NotifyIconX11 service;
  EXPECT_FALSE(service.Add(IconRecord()));
  EXPECT_FALSE(service.Modify(IconRecord()));
  EXPECT_FALSE(service.Modify(BalloonRecord("Ostvane", "no icon, no balloon", 1000, bkInfo)));
  EXPECT_FALSE(service.Delete(IconRecord()));

  if (RunCommand("command -v trayer >/dev/null") != 0) GTEST_SKIP() << "no trayer to start";
  const pid_t tray = fork();
  ASSERT_GE(tray, 0);
  if (tray == 0) {
    execlp("trayer", "trayer", "--edge", "bottom", "--align", "right", "--height", "24",
           "--widthtype", "request", static_cast<char*>(nullptr));
    _exit(127);
  }
  EventLog log;
  const bool announced = Pump(service, log, [&] { return Contains(Codes(log), 0); }, 10000);
  if (announced) {
    EXPECT_TRUE(service.Add(IconRecord()));
    EXPECT_EQ(service.HostOf(Owner, IconId), NotifyIconHost::XEmbed);
    ForeignClient observer;
    const unsigned long window = service.XEmbedWindow(Owner, IconId);
    EXPECT_TRUE(Pump(service, log, [&] { return observer.Viewable(window); }));
  }
  kill(tray, SIGTERM);
  waitpid(tray, nullptr, 0);
  ASSERT_TRUE(announced) << "the tray's MANAGER notice never came";
  // The tray is gone again: the icon has no place, and changes fail.
  EXPECT_TRUE(Pump(service, log, [&] { return service.HostOf(Owner, IconId) == NotifyIconHost::None; }));
  EXPECT_FALSE(service.Modify(IconRecord()));
}

}  // namespace
}  // namespace platform::x11::testing
