#include "platform/x11/NotifyIconX11.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <climits>

namespace platform::x11 {
namespace {

constexpr const char* NotificationsName = "org.freedesktop.Notifications";
constexpr const char* NotificationsPath = "/org/freedesktop/Notifications";
constexpr const char* NotificationsInterface = "org.freedesktop.Notifications";

// Reasons of NotificationClosed.
constexpr std::uint32_t ClosedExpired = 1;

const char* IconNameOf(TBalloonKind kind) {
  switch (kind) {
    case bkInfo: return "dialog-information";
    case bkWarning: return "dialog-warning";
    case bkError: return "dialog-error";
    default: return "";
  }
}

// Daemons that read markup in the body would take "a<b" for a tag.
std::string EscapeMarkup(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      default: escaped += c; break;
    }
  }
  return escaped;
}

}  // namespace

void NotifyIconX11::WatchNotifications() {
  // The daemon sends these to the connection that asked for the
  // notification, only: this one, for as long as the service lives.
  const std::string signal = std::string("type='signal',interface='") + NotificationsInterface +
                             "',path='" + NotificationsPath + "',member=";
  FBus.AddMatch(signal + "'NotificationClosed'", [this](sd_bus_message* message) {
    std::uint32_t id = 0;
    std::uint32_t reason = 0;
    if (sd_bus_message_read(message, "uu", &id, &reason) >= 0) NotificationClosed(id, reason);
  });
  FBus.AddMatch(signal + "'ActionInvoked'", [this](sd_bus_message* message) {
    std::uint32_t id = 0;
    const char* action = nullptr;
    if (sd_bus_message_read(message, "us", &id, &action) >= 0 && action) ActionInvoked(id, action);
  });
  const bool sent = FBus.CallAsync(
      NotificationsName, NotificationsPath, NotificationsInterface, "GetCapabilities", nullptr,
      [this](sd_bus_message* reply) {
        FCapabilitiesKnown = true;
        if (sd_bus_message_is_method_error(reply, nullptr)) return;
        if (sd_bus_message_enter_container(reply, 'a', "s") < 0) return;
        const char* capability = nullptr;
        while (sd_bus_message_read(reply, "s", &capability) > 0) {
          if (std::string_view(capability) == "body-markup") FBodyMarkup = true;
        }
        sd_bus_message_exit_container(reply);
      });
  if (!sent) FCapabilitiesKnown = true;
}

void NotifyIconX11::ShowBalloon(const NotifyIconKey& key, Icon& icon) {
  if (!FBus.Connected() || !icon.State.Balloon) return;
  if (!FCapabilitiesKnown) {
    // Asked at start; the daemon answers by itself, so this is short.
    DispatchUntil([this] { return FCapabilitiesKnown; }, FOptions.StartupWaitMilliseconds);
  }
  const NotifyBalloon balloon = *icon.State.Balloon;
  const std::uint64_t request = ++icon.BalloonRequest;
  const std::uint32_t replaces = icon.Notification;
  const std::string body = FBodyMarkup ? EscapeMarkup(balloon.Text) : balloon.Text;
  // 0 leaves the time to the daemon, as the classic area chose its own.
  const std::int32_t timeout =
      balloon.Timeout == 0 ? -1 : std::int32_t(std::min<std::uint32_t>(balloon.Timeout, INT32_MAX));
  const std::string application = FOptions.ApplicationName;

  FBus.CallAsync(
      NotificationsName, NotificationsPath, NotificationsInterface, "Notify",
      [&](sd_bus_message* message) {
        int r = sd_bus_message_append(message, "susss", application.c_str(), replaces,
                                      IconNameOf(balloon.Kind), balloon.Title.c_str(), body.c_str());
        if (r < 0) return r;
        // The "default" action makes a click on the bubble come back.
        if ((r = sd_bus_message_append(message, "as", 2, "default", "Open")) < 0) return r;
        if ((r = sd_bus_message_open_container(message, 'a', "{sv}")) < 0) return r;
        if ((r = sd_bus_message_close_container(message)) < 0) return r;
        return sd_bus_message_append(message, "i", timeout);
      },
      [this, key, request](sd_bus_message* reply) {
        std::uint32_t id = 0;
        if (sd_bus_message_is_method_error(reply, nullptr) ||
            sd_bus_message_read(reply, "u", &id) < 0 || id == 0) {
          return;
        }
        Icon* icon = Find(key);
        if (!icon || icon->BalloonRequest != request) {
          // Removed, replaced or deleted meanwhile. A newer request that
          // replaces this very notification keeps it.
          if (!icon || icon->Notification != id) {
            FSilentNotifications.insert(id);
            CloseNotification(id);
          }
          return;
        }
        FSilentNotifications.erase(id);
        FNotifications[id] = key;
        icon->Notification = id;
        QueueNotice(key, NIN_BALLOONSHOW);
      });
}

void NotifyIconX11::RemoveBalloon(Icon& icon) {
  // Also makes the answer to a request still on its way stale.
  ++icon.BalloonRequest;
  if (!icon.Notification) return;
  // The daemon answers with NotificationClosed(id, 3): NIN_BALLOONHIDE.
  CloseNotification(icon.Notification);
  icon.Notification = 0;
}

void NotifyIconX11::CloseNotification(std::uint32_t id) {
  FBus.CallAsync(
      NotificationsName, NotificationsPath, NotificationsInterface, "CloseNotification",
      [id](sd_bus_message* message) { return sd_bus_message_append(message, "u", id); }, nullptr);
}

//   reason               notice
//   1 expired            NIN_BALLOONTIMEOUT
//   2 dismissed by user  NIN_BALLOONHIDE
//   3 closed by a call   NIN_BALLOONHIDE
//   4 undefined          NIN_BALLOONHIDE
void NotifyIconX11::NotificationClosed(std::uint32_t id, std::uint32_t reason) {
  if (FSilentNotifications.erase(id)) {
    FNotifications.erase(id);
    return;
  }
  auto it = FNotifications.find(id);
  if (it == FNotifications.end()) return;
  const NotifyIconKey key = it->second;
  FNotifications.erase(it);
  Icon* icon = Find(key);
  if (!icon) return;
  if (icon->Notification == id) {
    icon->Notification = 0;
    icon->State.Balloon.reset();
  }
  QueueNotice(key, reason == ClosedExpired ? NIN_BALLOONTIMEOUT : NIN_BALLOONHIDE);
}

// A click on the bubble is the whole news: the close that follows it is
// not reported as a hide.
void NotifyIconX11::ActionInvoked(std::uint32_t id, const std::string& action) {
  if (action != "default") return;
  auto it = FNotifications.find(id);
  if (it == FNotifications.end()) return;
  const NotifyIconKey key = it->second;
  FNotifications.erase(it);
  FSilentNotifications.insert(id);
  Icon* icon = Find(key);
  if (!icon) return;
  if (icon->Notification == id) {
    icon->Notification = 0;
    icon->State.Balloon.reset();
  }
  QueueNotice(key, NIN_BALLOONUSERCLICK);
}

}  // namespace platform::x11
