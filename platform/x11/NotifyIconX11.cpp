#include "platform/x11/XlibHeaders.h"

#include "platform/x11/NotifyIconX11.h"

#include <poll.h>

#include <chrono>

namespace platform::x11 {
namespace {

std::uint64_t SteadyMilliseconds() {
  using namespace std::chrono;
  return std::uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

// Lowers timeout to candidate; -1 stands for no limit on either side.
void Lower(int& timeout, int candidate) {
  if (candidate >= 0 && (timeout < 0 || candidate < timeout)) timeout = candidate;
}

}  // namespace

NotifyIconX11::NotifyIconX11(Options options)
    : FOptions(std::move(options)), FBus("ostvane-notify-area") {
  OpenDisplay(FOptions.DisplayName);
  if (!FBus.Connected()) {
    FWatcher = WatcherState::Absent;
    return;
  }
  WatchWatcher();
  WatchNotifications();
  AskWatcher();
}

NotifyIconX11::~NotifyIconX11() {
  // A balloon does not outlive its icon; the close request goes out with
  // the connection's last flush.
  for (auto& [key, icon] : FIcons) {
    if (icon->Notification) CloseNotification(icon->Notification);
  }
  FIcons.clear();
  if (FContext.Display) {
    XFreeGC(FContext.Display, FContext.Gc);
    XCloseDisplay(FContext.Display);
  }
}

// ---- The calls ----

bool NotifyIconX11::Add(const NotifyIconData& data) {
  const NotifyIconKey key = NotifyIconKey::Of(data);
  if (FWatcher == WatcherState::Unknown) {
    DispatchUntil([this] { return FWatcher != WatcherState::Unknown; },
                  FOptions.StartupWaitMilliseconds);
  }
  if (!AnyHost()) return false;

  if (Icon* icon = Find(key)) {
    // After TaskbarCreated the program adds its icons again; the service
    // kept them, so this starts the icon over with the record.
    if (!icon->AddAgain) return false;
    icon->AddAgain = false;
    std::optional<NotifyBalloon> balloon = std::move(icon->State.Balloon);
    icon->State = NotifyIconState{};
    icon->State.Key = key;
    icon->State.Balloon = std::move(balloon);
    NotifyIconChanges changes = ApplyNotifyIconData(icon->State, data);
    changes.Icon = changes.Tip = changes.Hidden = true;
    Pass(*icon, changes);
    Place(key, *icon);
    if (changes.ShowBalloon) ShowBalloon(key, *icon);
    return true;
  }

  auto created = std::make_unique<Icon>();
  Icon& icon = *created;
  icon.State.Key = key;
  const NotifyIconChanges changes = ApplyNotifyIconData(icon.State, data);
  if (FBus.Connected()) {
    icon.Item = std::make_unique<NotifyIconItem>(
        FNextItem++, FOptions.ApplicationName,
        [this, key](std::uint32_t code) { QueueNotice(key, code); });
    if (!icon.Item->Published()) icon.Item.reset();
  }
  if (icon.Item) {
    icon.Item->SetIcon(icon.State.Icon);
    icon.Item->SetTip(icon.State.Tip);
    icon.Item->SetHidden(icon.State.Hidden());
    if (FWatcher != WatcherState::Absent) icon.Item->Register();
  }
  if (!(FWatcher == WatcherState::Ready && icon.Item) && !FTrayOwner) return false;
  FIcons[key] = std::move(created);
  Place(key, icon);
  if (changes.ShowBalloon) ShowBalloon(key, icon);
  return true;
}

bool NotifyIconX11::Modify(const NotifyIconData& data) {
  const NotifyIconKey key = NotifyIconKey::Of(data);
  Icon* icon = Find(key);
  // Without an area the icon is not in it, whatever we remember.
  if (!icon || !AnyHost()) return false;
  const NotifyIconChanges changes = ApplyNotifyIconData(icon->State, data);
  Pass(*icon, changes);
  if (changes.Hidden) Place(key, *icon);
  if (changes.RemoveBalloon) RemoveBalloon(*icon);
  if (changes.ShowBalloon) ShowBalloon(key, *icon);
  return true;
}

bool NotifyIconX11::Delete(const NotifyIconData& data) {
  auto it = FIcons.find(NotifyIconKey::Of(data));
  if (it == FIcons.end()) return false;
  if (const std::uint32_t id = it->second->Notification) {
    FNotifications.erase(id);
    FSilentNotifications.insert(id);
    CloseNotification(id);
  }
  // The item's connection closes (the watcher forgets it) and the XEmbed
  // window is destroyed (the tray frees its place).
  FIcons.erase(it);
  return true;
}

bool NotifyIconX11::SetVersion(const NotifyIconData& data) {
  Icon* icon = Find(NotifyIconKey::Of(data));
  if (!icon || data.Version != NotifyIconClassicVersion) return false;
  icon->State.Version = data.Version;
  return true;
}

// ---- Icons ----

NotifyIconX11::Icon* NotifyIconX11::Find(const NotifyIconKey& key) {
  auto it = FIcons.find(key);
  return it == FIcons.end() ? nullptr : it->second.get();
}

const NotifyIconX11::Icon* NotifyIconX11::Find(const NotifyIconKey& key) const {
  auto it = FIcons.find(key);
  return it == FIcons.end() ? nullptr : it->second.get();
}

void NotifyIconX11::Pass(Icon& icon, const NotifyIconChanges& changes) {
  if (icon.Item) {
    if (changes.Icon) icon.Item->SetIcon(icon.State.Icon);
    if (changes.Tip) icon.Item->SetTip(icon.State.Tip);
    if (changes.Hidden) icon.Item->SetHidden(icon.State.Hidden());
  }
  if (icon.Tray) {
    if (changes.Icon) icon.Tray->SetIcon(icon.State.Icon);
    if (changes.Tip) icon.Tray->SetTip(icon.State.Tip);
  }
}

bool NotifyIconX11::AnyHost() const {
  return FWatcher == WatcherState::Ready || FTrayOwner != 0;
}

// A status-notifier host wins over the XEmbed tray: it is what the desktop
// shows today, and the tray is the fallback. A hidden icon keeps its item
// (marked passive) but gives up its tray window.
void NotifyIconX11::Place(const NotifyIconKey& key, Icon& icon) {
  NotifyIconHost host = NotifyIconHost::None;
  if (FWatcher == WatcherState::Ready && icon.Item) host = NotifyIconHost::StatusNotifierItem;
  else if (FTrayOwner && !icon.State.Hidden() && FContext.Display) host = NotifyIconHost::XEmbed;

  if (host != NotifyIconHost::XEmbed) {
    icon.Tray.reset();
  } else if (!icon.Tray) {
    icon.Tray = std::make_unique<NotifyIconXEmbed>(
        FContext, [this, key](std::uint32_t code, gfx::Point position) {
          QueueNotice(key, code, position);
        });
    icon.Tray->SetIcon(icon.State.Icon);
    icon.Tray->SetTip(icon.State.Tip);
    icon.Tray->Dock(FTrayOwner);
  }
  icon.Host = host;
}

void NotifyIconX11::PlaceAll() {
  for (auto& [key, icon] : FIcons) Place(key, *icon);
}

NotifyIconHost NotifyIconX11::HostOf(std::uintptr_t owner, std::uintptr_t id) const {
  const Icon* icon = Find(NotifyIconKey{owner, id});
  return icon ? icon->Host : NotifyIconHost::None;
}

std::string NotifyIconX11::ItemBusName(std::uintptr_t owner, std::uintptr_t id) const {
  const Icon* icon = Find(NotifyIconKey{owner, id});
  return icon && icon->Item ? icon->Item->BusName() : std::string();
}

XId NotifyIconX11::XEmbedWindow(std::uintptr_t owner, std::uintptr_t id) const {
  const Icon* icon = Find(NotifyIconKey{owner, id});
  return icon && icon->Tray ? icon->Tray->Window() : 0;
}

// ---- Notices ----

gfx::Point NotifyIconX11::PointerPosition() {
  if (!FContext.Display) return gfx::Point{};
  ::Window root = 0;
  ::Window child = 0;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned mask = 0;
  XQueryPointer(FContext.Display, FContext.Root, &root, &child, &rootX, &rootY, &x, &y, &mask);
  return gfx::Point{rootX, rootY};
}

void NotifyIconX11::QueueNotice(const NotifyIconKey& key, std::uint32_t code) {
  QueueNotice(key, code, PointerPosition());
}

void NotifyIconX11::QueueNotice(const NotifyIconKey& key, std::uint32_t code, gfx::Point position) {
  const Icon* icon = Find(key);
  if (!icon) return;
  Event event;
  event.Kind = EventKind::NotifyIcon;
  event.ScreenPosition = position;
  event.Notice = NotifyIconNotice{key.Owner, key.Id, icon->State.CallbackMessage, code};
  event.Time = SteadyMilliseconds();
  FEvents.push_back(event);
}

void NotifyIconX11::QueueTaskbarCreated() {
  for (auto& [key, icon] : FIcons) icon->AddAgain = true;
  Event event;
  event.Kind = EventKind::TaskbarCreated;
  event.Time = SteadyMilliseconds();
  FEvents.push_back(event);
}

bool NotifyIconX11::NextEvent(Event& event) {
  if (FEvents.empty()) return false;
  event = std::move(FEvents.front());
  FEvents.pop_front();
  return true;
}

// ---- The loop ----

void NotifyIconX11::PrepareWait(std::vector<pollfd>& descriptors, int& timeoutMilliseconds) {
  if (!FEvents.empty()) timeoutMilliseconds = 0;
  auto add = [&](const DBusConnection& connection) {
    if (!connection.Connected()) return;
    descriptors.push_back(pollfd{connection.Descriptor(), connection.PollEvents(), 0});
    Lower(timeoutMilliseconds, connection.TimeoutMilliseconds());
  };
  add(FBus);
  for (auto& [key, icon] : FIcons) {
    if (icon->Item) add(icon->Item->Connection());
  }
  if (FContext.Display) {
    XFlush(FContext.Display);
    // Events a request read along sit in Xlib's queue, where poll cannot
    // see them.
    if (XEventsQueued(FContext.Display, QueuedAlready) > 0) timeoutMilliseconds = 0;
    descriptors.push_back(pollfd{ConnectionNumber(FContext.Display), POLLIN, 0});
  }
}

void NotifyIconX11::Dispatch() {
  DispatchBuses();
  DispatchDisplay();
}

void NotifyIconX11::DispatchBuses() {
  if (FBus.Connected() && !FBus.Process()) {
    // The session bus went away, and the watcher with it.
    FWatcher = WatcherState::Absent;
    PlaceAll();
  }
  std::vector<NotifyIconItem*> items;
  for (auto& [key, icon] : FIcons) {
    if (icon->Item) items.push_back(icon->Item.get());
  }
  // Item handlers only queue notices, so the list stays valid.
  for (NotifyIconItem* item : items) item->Connection().Process();
}

void NotifyIconX11::DispatchUntil(const std::function<bool()>& done, int milliseconds) {
  const std::uint64_t deadline = SteadyMilliseconds() + std::uint64_t(std::max(0, milliseconds));
  for (;;) {
    DispatchBuses();
    if (done()) return;
    const std::uint64_t now = SteadyMilliseconds();
    if (now >= deadline || !FBus.Connected()) return;
    // Only the buses: a host may call into our items while it answers.
    std::vector<pollfd> descriptors;
    int timeout = int(deadline - now);
    auto add = [&](const DBusConnection& connection) {
      if (!connection.Connected()) return;
      descriptors.push_back(pollfd{connection.Descriptor(), connection.PollEvents(), 0});
      Lower(timeout, connection.TimeoutMilliseconds());
    };
    add(FBus);
    for (auto& [key, icon] : FIcons) {
      if (icon->Item) add(icon->Item->Connection());
    }
    poll(descriptors.data(), descriptors.size(), timeout);
  }
}

}  // namespace platform::x11
