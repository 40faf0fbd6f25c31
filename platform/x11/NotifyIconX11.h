#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Event.h"
#include "platform/NotifyIcon.h"
#include "platform/NotifyIconState.h"
#include "platform/x11/DBusConnection.h"
#include "platform/x11/NotifyIconItem.h"
#include "platform/x11/NotifyIconXEmbed.h"

struct pollfd;

namespace platform::x11 {

// Where an icon is shown now.
enum class NotifyIconHost : std::uint8_t {
  None,
  // A StatusNotifierItem that a registered host draws.
  StatusNotifierItem,
  // A window docked into an XEmbed tray.
  XEmbed,
};

// The notification area of a Linux desktop. Each icon is a
// StatusNotifierItem on the session bus when a watcher with a registered
// host is there, else a window docked into the XEmbed tray when one runs;
// with neither, the calls fail. Balloons are desktop notifications
// (org.freedesktop.Notifications), whose signals come back as the balloon
// notices. When a host appears the icons move to it by themselves, and a
// TaskbarCreated event tells the program, whose Add then succeeds again.
//
// The service has its own bus connection (the notification daemon sends
// its signals to the connection that asked, only) and its own X
// connection. It never blocks on a peer: the event loop polls the
// descriptors of PrepareWait and calls Dispatch.
class NotifyIconX11 : public NotifyIconService {
 public:
  struct Options {
    // The X display; empty for $DISPLAY.
    std::string DisplayName;
    // The application's name in the desktop notifications and the item's
    // title.
    std::string ApplicationName = "Ostvane";
    // Longest time between the presses of a double click on an XEmbed icon.
    int DoubleClickTime = 500;
    // How long a call may dispatch the bus while it waits to learn whether
    // a status-notifier host is there (only until the first answer).
    int StartupWaitMilliseconds = 1000;
  };

  explicit NotifyIconX11(Options options);
  NotifyIconX11() : NotifyIconX11(Options{}) {}
  ~NotifyIconX11() override;
  NotifyIconX11(const NotifyIconX11&) = delete;
  NotifyIconX11& operator=(const NotifyIconX11&) = delete;

  // ---- NotifyIconService ----
  bool Add(const NotifyIconData& data) override;
  bool Modify(const NotifyIconData& data) override;
  bool Delete(const NotifyIconData& data) override;
  bool SetVersion(const NotifyIconData& data) override;

  // ---- The event loop's side ----
  // Appends the descriptors the loop must poll and lowers timeout
  // (milliseconds, -1 for none) to when the service has something due;
  // flushes what waits to be sent.
  void PrepareWait(std::vector<pollfd>& descriptors, int& timeoutMilliseconds);
  // Handles whatever the connections hold, without waiting.
  void Dispatch();
  // Takes the oldest notice (NotifyIcon or TaskbarCreated); false when
  // there is none.
  bool NextEvent(Event& event);
  bool HasEvents() const { return !FEvents.empty(); }

  // ---- What the system sees, for tests and diagnostics ----
  bool HasSessionBus() const { return FBus.Connected(); }
  bool HasDisplay() const { return FContext.Display != nullptr; }
  NotifyIconHost HostOf(std::uintptr_t owner, std::uintptr_t id) const;
  // The item's bus name; empty when the icon has none.
  std::string ItemBusName(std::uintptr_t owner, std::uintptr_t id) const;
  // The XEmbed window; 0 when the icon is not docked that way.
  XId XEmbedWindow(std::uintptr_t owner, std::uintptr_t id) const;

 private:
  enum class WatcherState : std::uint8_t {
    Unknown,  // asked, no answer yet
    Absent,   // no watcher on the bus
    NoHost,   // a watcher, but nothing draws the items
    Ready,    // a watcher and a host
  };

  struct Icon {
    NotifyIconState State;
    std::unique_ptr<NotifyIconItem> Item;
    std::unique_ptr<NotifyIconXEmbed> Tray;
    NotifyIconHost Host = NotifyIconHost::None;
    // A TaskbarCreated was sent since the last Add: the next Add of the
    // icon is the program adding it again, and succeeds.
    bool AddAgain = false;
    // The desktop notification of the balloon shown now, 0 for none.
    std::uint32_t Notification = 0;
    // Counts the balloon requests, so that the answer to an older one is
    // recognised.
    std::uint64_t BalloonRequest = 0;
  };

  // ---- NotifyIconX11.cpp: icons and the loop ----
  Icon* Find(const NotifyIconKey& key);
  const Icon* Find(const NotifyIconKey& key) const;
  void Pass(Icon& icon, const NotifyIconChanges& changes);
  // Moves the icon to the host it should have now.
  void Place(const NotifyIconKey& key, Icon& icon);
  void PlaceAll();
  bool AnyHost() const;
  void QueueNotice(const NotifyIconKey& key, std::uint32_t code, gfx::Point position);
  void QueueNotice(const NotifyIconKey& key, std::uint32_t code);
  void QueueTaskbarCreated();
  gfx::Point PointerPosition();
  // Dispatches every connection until done() holds or the time passes.
  void DispatchUntil(const std::function<bool()>& done, int milliseconds);
  void DispatchBuses();

  // ---- NotifyIconX11.Hosts.cpp: the watcher and the XEmbed tray ----
  void WatchWatcher();
  void AskWatcher();
  void WatcherAnswered(WatcherState state);
  void OpenDisplay(const std::string& name);
  void FindTray();
  void DispatchDisplay();
  void HandleDisplayEvent(_XEvent& event);

  // ---- NotifyIconX11.Balloons.cpp: desktop notifications ----
  void WatchNotifications();
  void ShowBalloon(const NotifyIconKey& key, Icon& icon);
  void RemoveBalloon(Icon& icon);
  void CloseNotification(std::uint32_t id);
  void NotificationClosed(std::uint32_t id, std::uint32_t reason);
  void ActionInvoked(std::uint32_t id, const std::string& action);

  Options FOptions;
  DBusConnection FBus;
  std::map<NotifyIconKey, std::unique_ptr<Icon>> FIcons;
  int FNextItem = 1;
  std::deque<Event> FEvents;

  WatcherState FWatcher = WatcherState::Unknown;
  // Counts the questions to the watcher; only the last one's answer counts.
  std::uint64_t FWatcherQuestion = 0;
  // The answer awaited tells of a watcher or host that came: the program
  // hears TaskbarCreated.
  bool FAnnounceWatcher = false;

  // The notification daemon.
  bool FCapabilitiesKnown = false;
  bool FBodyMarkup = false;
  // Which icon each notification shown belongs to.
  std::map<std::uint32_t, NotifyIconKey> FNotifications;
  // Notifications whose end nobody is to hear of: replaced, closed with
  // their icon, or clicked (the click was the news).
  std::set<std::uint32_t> FSilentNotifications;

  // The X side: our own connection, the tray owner, the atoms.
  XEmbedContext FContext;
  XId FTraySelection = 0;
  XId FManagerAtom = 0;
  XId FTrayOwner = 0;
};

}  // namespace platform::x11
