#include "platform/x11/DBusConnection.h"

#include <poll.h>
#include <systemd/sd-bus.h>
#include <time.h>

#include <memory>

namespace platform::x11 {
namespace {

// What a call or match keeps alive: the handler, freed by sd-bus when the
// slot goes (answer handled, connection closed).
template <typename Handler>
struct Callback {
  Handler Function;
};

template <typename Handler>
void FreeCallback(void* userdata) {
  delete static_cast<Callback<Handler>*>(userdata);
}

int OnReply(sd_bus_message* reply, void* userdata, sd_bus_error*) {
  auto* callback = static_cast<Callback<DBusConnection::ReplyHandler>*>(userdata);
  if (callback->Function) callback->Function(reply);
  return 0;
}

int OnSignal(sd_bus_message* message, void* userdata, sd_bus_error*) {
  static_cast<Callback<DBusConnection::SignalHandler>*>(userdata)->Function(message);
  return 0;
}

// Hands the slot to the bus, which frees it (and the callback with it)
// after the answer or with the connection.
template <typename Handler>
void MakeFloating(sd_bus_slot* slot) {
  sd_bus_slot_set_destroy_callback(slot, FreeCallback<Handler>);
  sd_bus_slot_set_floating(slot, 1);
  sd_bus_slot_unref(slot);
}

std::uint64_t MonotonicMicroseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return std::uint64_t(now.tv_sec) * 1000000u + std::uint64_t(now.tv_nsec) / 1000u;
}

}  // namespace

DBusConnection::DBusConnection(const char* description) {
  sd_bus* bus = nullptr;
  if (sd_bus_open_user(&bus) < 0) return;
  sd_bus_set_description(bus, description);
  FBus = bus;
}

DBusConnection::~DBusConnection() { Close(); }

void DBusConnection::Close() {
  if (!FBus) return;
  // Sends what is queued (a last CloseNotification), then lets go; the
  // floating slots and their callbacks go with the connection.
  sd_bus_flush_close_unref(FBus);
  FBus = nullptr;
}

int DBusConnection::Descriptor() const { return FBus ? sd_bus_get_fd(FBus) : -1; }

short DBusConnection::PollEvents() const {
  if (!FBus) return 0;
  const int events = sd_bus_get_events(FBus);
  return events < 0 ? short(POLLIN) : short(events);
}

int DBusConnection::TimeoutMilliseconds() const {
  if (!FBus) return -1;
  std::uint64_t until = 0;
  if (sd_bus_get_timeout(FBus, &until) < 0 || until == UINT64_MAX) return -1;
  const std::uint64_t now = MonotonicMicroseconds();
  if (until <= now) return 0;
  const std::uint64_t milliseconds = (until - now + 999) / 1000;
  return milliseconds > 60000 ? 60000 : int(milliseconds);
}

bool DBusConnection::Process() {
  if (!FBus) return false;
  for (;;) {
    const int r = sd_bus_process(FBus, nullptr);
    if (r < 0) {
      Close();
      return false;
    }
    // A handler may have closed nothing of ours, but the loop re-checks.
    if (r == 0 || !FBus) return FBus != nullptr;
  }
}

void DBusConnection::Wait(int milliseconds) {
  if (!FBus) return;
  sd_bus_wait(FBus, milliseconds < 0 ? UINT64_MAX : std::uint64_t(milliseconds) * 1000u);
}

bool DBusConnection::CallAsync(const char* destination, const char* path, const char* interface,
                               const char* member, const ArgumentWriter& arguments,
                               ReplyHandler onReply) {
  if (!FBus) return false;
  sd_bus_message* message = nullptr;
  if (sd_bus_message_new_method_call(FBus, &message, destination, path, interface, member) < 0) {
    return false;
  }
  std::unique_ptr<sd_bus_message, decltype(&sd_bus_message_unref)> owned(message,
                                                                        sd_bus_message_unref);
  if (arguments && arguments(message) < 0) return false;
  auto callback = std::make_unique<Callback<ReplyHandler>>(Callback<ReplyHandler>{std::move(onReply)});
  sd_bus_slot* slot = nullptr;
  if (sd_bus_call_async(FBus, &slot, message, OnReply, callback.get(), 0) < 0) return false;
  callback.release();
  MakeFloating<ReplyHandler>(slot);
  return true;
}

bool DBusConnection::AddMatch(const std::string& rule, SignalHandler handler) {
  if (!FBus) return false;
  auto callback = std::make_unique<Callback<SignalHandler>>(Callback<SignalHandler>{std::move(handler)});
  sd_bus_slot* slot = nullptr;
  // The asynchronous form installs the local filter at once; the bus
  // confirms the rule later.
  if (sd_bus_add_match_async(FBus, &slot, rule.c_str(), OnSignal, nullptr, callback.get()) < 0) {
    return false;
  }
  callback.release();
  MakeFloating<SignalHandler>(slot);
  return true;
}

bool DBusConnection::RequestName(const std::string& name) {
  // The bus driver answers by itself and never calls back, so waiting for
  // it is safe.
  return FBus && sd_bus_request_name(FBus, name.c_str(), 0) >= 0;
}

bool DBusConnection::EmitSignal(const char* path, const char* interface, const char* member) {
  return FBus && sd_bus_emit_signal(FBus, path, interface, member, nullptr) >= 0;
}

std::string DBusErrorName(sd_bus_message* reply) {
  const sd_bus_error* error = sd_bus_message_get_error(reply);
  return error && error->name ? error->name : "";
}

}  // namespace platform::x11
