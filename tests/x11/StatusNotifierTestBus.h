#pragma once

// The other side of the session bus for the notification-area tests: a
// small status-notifier watcher that also plays the host, and a monitor
// that sees the calls to the notification daemon (whose signals go to one
// connection only, so a plain match rule would see nothing). Each runs on
// its own thread with its own connection, because the item under test
// answers only while the test's thread dispatches it.

#include <atomic>
#include <cstdint>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct sd_bus;
struct sd_bus_message;
struct sd_bus_slot;

namespace platform::x11::testing {

// What a host reads from an item with GetAll.
struct ItemProperties {
  bool Answered = false;
  std::vector<std::string> Names;
  std::string Category, Id, Title, Status;
  bool HasItemIsMenu = false;
  bool ItemIsMenu = true;
  int PixmapWidth = 0;
  int PixmapHeight = 0;
  std::vector<std::uint8_t> PixmapBytes;  // the first pixmap, ARGB32 big-endian
  std::string ToolTipTitle;
};

// Runs tasks on a thread that owns a bus connection and processes it.
class BusThread {
 public:
  BusThread();
  virtual ~BusThread();
  bool Connected() const { return FBus != nullptr; }

 protected:
  // Starts the thread; call at the end of the derived constructor.
  void Start();
  // Stops it; call first in the derived destructor.
  void Stop();
  // Runs task on the thread; the future tells when it ran.
  std::future<void> Post(std::function<void(sd_bus*)> task);
  sd_bus* Bus() const { return FBus; }
  // Called on the thread for each message sd-bus hands back unhandled
  // (only a monitor gets those).
  virtual void Seen(sd_bus_message*) {}

  sd_bus* FBus = nullptr;
  mutable std::mutex FMutex;

 private:
  void Run();

  std::thread FThread;
  std::atomic<bool> FStop{false};
  std::vector<std::packaged_task<void(sd_bus*)>> FTasks;
};

// Owns org.kde.StatusNotifierWatcher and exports /StatusNotifierWatcher.
class TestWatcher : public BusThread {
 public:
  explicit TestWatcher(bool hostRegistered = true);
  ~TestWatcher() override;

  // The name is ours.
  bool Owned() const { return FOwned; }
  // Registered items, "service/path".
  std::vector<std::string> Items();
  // Item signals seen, "NewToolTip", "NewStatus Passive" ...
  std::vector<std::string> ItemSignals();
  // A host comes (with its signal) or goes.
  void SetHostRegistered(bool registered);

  // ---- Playing the host; the answer comes when the item answered ----
  std::future<ItemProperties> GetAll(const std::string& service);
  // Activate, SecondaryActivate or ContextMenu with x, y; true when the
  // item answered without error.
  std::future<bool> CallItem(const std::string& service, const std::string& method, int x, int y);

  // ---- For the object table ----
  void Register(const std::string& entry);
  void Drop(const std::string& service);
  bool HostRegistered() const { return FHostRegistered; }
  std::vector<std::string> ItemsLocked() const;
  void NoteSignal(std::string text);

 private:
  bool FOwned = false;
  std::atomic<bool> FHostRegistered;
  std::vector<std::string> FItems;
  std::vector<std::string> FSignals;
  sd_bus_slot* FObject = nullptr;
};

// A call to the notification daemon, as the monitor saw it.
struct NotificationCall {
  std::string Member;  // Notify or CloseNotification
  std::string ApplicationName;
  std::uint32_t ReplacesId = 0;
  std::string IconName, Summary, Body;
  std::vector<std::string> Actions;
  std::int32_t Timeout = 0;
  std::uint32_t Id = 0;  // CloseNotification
};

class NotificationMonitor : public BusThread {
 public:
  NotificationMonitor();
  ~NotificationMonitor() override;
  bool Monitoring() const { return FMonitoring; }
  std::vector<NotificationCall> Calls();

 protected:
  void Seen(sd_bus_message* message) override;

 private:
  bool FMonitoring = false;
  std::vector<NotificationCall> FCalls;
};

}  // namespace platform::x11::testing
