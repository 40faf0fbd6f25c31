#include "StatusNotifierTestBus.h"

#include <systemd/sd-bus.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace platform::x11::testing {
namespace {

constexpr const char* WatcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* WatcherPath = "/StatusNotifierWatcher";
constexpr const char* ItemInterface = "org.kde.StatusNotifierItem";
constexpr std::uint64_t CallTimeout = 5'000'000;  // microseconds

TestWatcher& WatcherOf(void* userdata) { return *static_cast<TestWatcher*>(userdata); }

// RegisterStatusNotifierItem names either a service (the item is at
// /StatusNotifierItem) or a path (the item is the sender's).
int OnRegisterItem(sd_bus_message* message, void* userdata, sd_bus_error*) {
  const char* argument = nullptr;
  int r = sd_bus_message_read(message, "s", &argument);
  if (r < 0) return r;
  std::string entry = argument[0] == '/'
                          ? std::string(sd_bus_message_get_sender(message)) + argument
                          : std::string(argument) + "/StatusNotifierItem";
  WatcherOf(userdata).Register(entry);
  return sd_bus_reply_method_return(message, nullptr);
}

int OnRegisterHost(sd_bus_message* message, void*, sd_bus_error*) {
  return sd_bus_reply_method_return(message, nullptr);
}

int GetItems(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* userdata,
             sd_bus_error*) {
  int r = sd_bus_message_open_container(reply, 'a', "s");
  if (r < 0) return r;
  for (const std::string& item : WatcherOf(userdata).ItemsLocked()) {
    if ((r = sd_bus_message_append(reply, "s", item.c_str())) < 0) return r;
  }
  return sd_bus_message_close_container(reply);
}

int GetHostRegistered(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                      void* userdata, sd_bus_error*) {
  return sd_bus_message_append(reply, "b", int(WatcherOf(userdata).HostRegistered()));
}

int GetProtocolVersion(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                       sd_bus_error*) {
  return sd_bus_message_append(reply, "i", 0);
}

const sd_bus_vtable WatcherTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("RegisterStatusNotifierItem", "s", "", OnRegisterItem, 0),
    SD_BUS_METHOD("RegisterStatusNotifierHost", "s", "", OnRegisterHost, 0),
    SD_BUS_PROPERTY("RegisteredStatusNotifierItems", "as", GetItems, 0, 0),
    SD_BUS_PROPERTY("IsStatusNotifierHostRegistered", "b", GetHostRegistered, 0, 0),
    SD_BUS_PROPERTY("ProtocolVersion", "i", GetProtocolVersion, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_SIGNAL("StatusNotifierItemRegistered", "s", 0),
    SD_BUS_SIGNAL("StatusNotifierItemUnregistered", "s", 0),
    SD_BUS_SIGNAL("StatusNotifierHostRegistered", "", 0),
    SD_BUS_SIGNAL("StatusNotifierHostUnregistered", "", 0),
    SD_BUS_VTABLE_END};

int OnNameOwnerChanged(sd_bus_message* message, void* userdata, sd_bus_error*) {
  const char *name = nullptr, *before = nullptr, *now = nullptr;
  if (sd_bus_message_read(message, "sss", &name, &before, &now) >= 0 && now && !*now) {
    WatcherOf(userdata).Drop(name);
  }
  return 0;
}

int OnItemSignal(sd_bus_message* message, void* userdata, sd_bus_error*) {
  std::string text = sd_bus_message_get_member(message);
  const char* status = nullptr;
  if (text == "NewStatus" && sd_bus_message_read(message, "s", &status) >= 0) {
    text += std::string(" ") + status;
  }
  WatcherOf(userdata).NoteSignal(std::move(text));
  return 0;
}

// Reads one pixmap array a(iiay), keeping the first picture.
void ReadPixmaps(sd_bus_message* reply, ItemProperties& properties) {
  if (sd_bus_message_enter_container(reply, 'a', "(iiay)") < 0) return;
  while (sd_bus_message_enter_container(reply, 'r', "iiay") > 0) {
    int width = 0, height = 0;
    const void* bytes = nullptr;
    std::size_t size = 0;
    sd_bus_message_read(reply, "ii", &width, &height);
    sd_bus_message_read_array(reply, 'y', &bytes, &size);
    if (properties.PixmapBytes.empty()) {
      properties.PixmapWidth = width;
      properties.PixmapHeight = height;
      const auto* first = static_cast<const std::uint8_t*>(bytes);
      properties.PixmapBytes.assign(first, first + size);
    }
    sd_bus_message_exit_container(reply);
  }
  sd_bus_message_exit_container(reply);
}

void ReadProperty(sd_bus_message* reply, const std::string& name, ItemProperties& properties) {
  char type = 0;
  const char* contents = nullptr;
  sd_bus_message_peek_type(reply, &type, &contents);
  const std::string signature = contents ? contents : "";
  if (signature == "s") {
    const char* text = nullptr;
    sd_bus_message_read(reply, "v", "s", &text);
    if (name == "Category") properties.Category = text;
    else if (name == "Id") properties.Id = text;
    else if (name == "Title") properties.Title = text;
    else if (name == "Status") properties.Status = text;
  } else if (name == "ItemIsMenu" && signature == "b") {
    int value = 1;
    sd_bus_message_read(reply, "v", "b", &value);
    properties.HasItemIsMenu = true;
    properties.ItemIsMenu = value != 0;
  } else if (name == "IconPixmap" && signature == "a(iiay)") {
    sd_bus_message_enter_container(reply, 'v', "a(iiay)");
    ReadPixmaps(reply, properties);
    sd_bus_message_exit_container(reply);
  } else if (name == "ToolTip" && signature == "(sa(iiay)ss)") {
    sd_bus_message_enter_container(reply, 'v', "(sa(iiay)ss)");
    sd_bus_message_enter_container(reply, 'r', "sa(iiay)ss");
    const char *icon = nullptr, *title = nullptr, *text = nullptr;
    sd_bus_message_read(reply, "s", &icon);
    sd_bus_message_skip(reply, "a(iiay)");
    sd_bus_message_read(reply, "ss", &title, &text);
    properties.ToolTipTitle = title ? title : "";
    sd_bus_message_exit_container(reply);
    sd_bus_message_exit_container(reply);
  } else {
    sd_bus_message_skip(reply, "v");
  }
}

}  // namespace

// ---- BusThread ----

BusThread::BusThread() = default;

BusThread::~BusThread() {
  Stop();
  if (FBus) sd_bus_flush_close_unref(FBus);
}

void BusThread::Start() {
  if (FBus) FThread = std::thread([this] { Run(); });
}

void BusThread::Stop() {
  FStop = true;
  if (FThread.joinable()) FThread.join();
}

std::future<void> BusThread::Post(std::function<void(sd_bus*)> task) {
  std::packaged_task<void(sd_bus*)> packaged(std::move(task));
  std::future<void> done = packaged.get_future();
  std::lock_guard lock(FMutex);
  FTasks.push_back(std::move(packaged));
  return done;
}

void BusThread::Run() {
  while (!FStop) {
    std::vector<std::packaged_task<void(sd_bus*)>> tasks;
    {
      std::lock_guard lock(FMutex);
      tasks.swap(FTasks);
    }
    for (auto& task : tasks) task(FBus);
    for (;;) {
      sd_bus_message* unhandled = nullptr;
      const int r = sd_bus_process(FBus, sd_bus_is_monitor(FBus) ? &unhandled : nullptr);
      if (unhandled) {
        Seen(unhandled);
        sd_bus_message_unref(unhandled);
        continue;
      }
      if (r <= 0) break;
    }
    sd_bus_wait(FBus, 20'000);
  }
}

// ---- TestWatcher ----

TestWatcher::TestWatcher(bool hostRegistered) : FHostRegistered(hostRegistered) {
  if (sd_bus_open_user(&FBus) < 0) {
    FBus = nullptr;
    return;
  }
  sd_bus_set_method_call_timeout(FBus, CallTimeout);
  sd_bus_add_object_vtable(FBus, &FObject, WatcherPath, WatcherName, WatcherTable, this);
  sd_bus_match_signal(FBus, nullptr, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                      "org.freedesktop.DBus", "NameOwnerChanged", OnNameOwnerChanged, this);
  sd_bus_match_signal(FBus, nullptr, nullptr, nullptr, ItemInterface, nullptr, OnItemSignal, this);
  FOwned = sd_bus_request_name(FBus, WatcherName, 0) >= 0;
  Start();
}

TestWatcher::~TestWatcher() {
  Stop();
  if (FObject) sd_bus_slot_unref(FObject);
}

std::vector<std::string> TestWatcher::Items() {
  std::lock_guard lock(FMutex);
  return FItems;
}

std::vector<std::string> TestWatcher::ItemSignals() {
  std::lock_guard lock(FMutex);
  return FSignals;
}

void TestWatcher::Register(const std::string& entry) {
  {
    std::lock_guard lock(FMutex);
    if (std::find(FItems.begin(), FItems.end(), entry) != FItems.end()) return;
    FItems.push_back(entry);
  }
  sd_bus_emit_signal(FBus, WatcherPath, WatcherName, "StatusNotifierItemRegistered", "s", entry.c_str());
}

void TestWatcher::Drop(const std::string& service) {
  std::vector<std::string> dropped;
  {
    std::lock_guard lock(FMutex);
    const std::string prefix = service + "/";
    for (auto it = FItems.begin(); it != FItems.end();) {
      if (it->compare(0, prefix.size(), prefix) == 0) {
        dropped.push_back(*it);
        it = FItems.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (const std::string& entry : dropped) {
    sd_bus_emit_signal(FBus, WatcherPath, WatcherName, "StatusNotifierItemUnregistered", "s",
                       entry.c_str());
  }
}

void TestWatcher::NoteSignal(std::string text) {
  std::lock_guard lock(FMutex);
  FSignals.push_back(std::move(text));
}

std::vector<std::string> TestWatcher::ItemsLocked() const {
  // Called by the object table on the watcher's own thread.
  std::lock_guard lock(FMutex);
  return FItems;
}

void TestWatcher::SetHostRegistered(bool registered) {
  Post([this, registered](sd_bus* bus) {
    FHostRegistered = registered;
    sd_bus_emit_signal(bus, WatcherPath, WatcherName,
                       registered ? "StatusNotifierHostRegistered" : "StatusNotifierHostUnregistered",
                       nullptr);
  }).wait();
}

std::future<ItemProperties> TestWatcher::GetAll(const std::string& service) {
  auto promise = std::make_shared<std::promise<ItemProperties>>();
  std::future<ItemProperties> result = promise->get_future();
  Post([service, promise](sd_bus* bus) {
    ItemProperties properties;
    sd_bus_error error = SD_BUS_ERROR_NULL;
    sd_bus_message* reply = nullptr;
    if (sd_bus_call_method(bus, service.c_str(), "/StatusNotifierItem",
                           "org.freedesktop.DBus.Properties", "GetAll", &error, &reply, "s",
                           ItemInterface) >= 0) {
      properties.Answered = true;
      sd_bus_message_enter_container(reply, 'a', "{sv}");
      while (sd_bus_message_enter_container(reply, 'e', "sv") > 0) {
        const char* name = nullptr;
        sd_bus_message_read(reply, "s", &name);
        properties.Names.push_back(name);
        ReadProperty(reply, name, properties);
        sd_bus_message_exit_container(reply);
      }
      sd_bus_message_unref(reply);
    }
    sd_bus_error_free(&error);
    promise->set_value(std::move(properties));
  });
  return result;
}

std::future<bool> TestWatcher::CallItem(const std::string& service, const std::string& method, int x,
                                        int y) {
  auto promise = std::make_shared<std::promise<bool>>();
  std::future<bool> result = promise->get_future();
  Post([service, method, x, y, promise](sd_bus* bus) {
    sd_bus_error error = SD_BUS_ERROR_NULL;
    const int r = sd_bus_call_method(bus, service.c_str(), "/StatusNotifierItem", ItemInterface,
                                     method.c_str(), &error, nullptr, "ii", x, y);
    sd_bus_error_free(&error);
    promise->set_value(r >= 0);
  });
  return result;
}

// ---- NotificationMonitor ----

NotificationMonitor::NotificationMonitor() {
  const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
  if (!address || sd_bus_new(&FBus) < 0) {
    FBus = nullptr;
    return;
  }
  sd_bus_set_address(FBus, address);
  sd_bus_set_monitor(FBus, 1);
  sd_bus_set_bus_client(FBus, 1);
  if (sd_bus_start(FBus) < 0) return;
  sd_bus_message* call = nullptr;
  sd_bus_message_new_method_call(FBus, &call, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                                 "org.freedesktop.DBus.Monitoring", "BecomeMonitor");
  sd_bus_message_append(call, "as", 2,
                        "type='method_call',interface='org.freedesktop.Notifications',member='Notify'",
                        "type='method_call',interface='org.freedesktop.Notifications',"
                        "member='CloseNotification'");
  sd_bus_message_append(call, "u", 0u);
  sd_bus_error error = SD_BUS_ERROR_NULL;
  FMonitoring = sd_bus_call(FBus, call, CallTimeout, &error, nullptr) >= 0;
  sd_bus_error_free(&error);
  sd_bus_message_unref(call);
  Start();
}

NotificationMonitor::~NotificationMonitor() { Stop(); }

std::vector<NotificationCall> NotificationMonitor::Calls() {
  std::lock_guard lock(FMutex);
  return FCalls;
}

void NotificationMonitor::Seen(sd_bus_message* message) {
  if (!sd_bus_message_is_method_call(message, "org.freedesktop.Notifications", nullptr)) return;
  NotificationCall call;
  call.Member = sd_bus_message_get_member(message);
  if (call.Member == "Notify") {
    const char *application = nullptr, *icon = nullptr, *summary = nullptr, *body = nullptr;
    if (sd_bus_message_read(message, "susss", &application, &call.ReplacesId, &icon, &summary,
                            &body) < 0) {
      return;
    }
    call.ApplicationName = application;
    call.IconName = icon;
    call.Summary = summary;
    call.Body = body;
    char** actions = nullptr;
    if (sd_bus_message_read_strv(message, &actions) >= 0 && actions) {
      for (char** action = actions; *action; ++action) {
        call.Actions.push_back(*action);
        std::free(*action);
      }
      std::free(actions);
    }
    sd_bus_message_skip(message, "a{sv}");
    sd_bus_message_read(message, "i", &call.Timeout);
  } else if (call.Member == "CloseNotification") {
    sd_bus_message_read(message, "u", &call.Id);
  }
  std::lock_guard lock(FMutex);
  FCalls.push_back(std::move(call));
}

}  // namespace platform::x11::testing
