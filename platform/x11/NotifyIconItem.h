#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "platform/x11/DBusConnection.h"

struct sd_bus_slot;

namespace platform::x11 {

// One icon as a StatusNotifierItem: its own bus connection that owns
// org.kde.StatusNotifierItem-<pid>-<serial> and exports /StatusNotifierItem.
// A connection of its own, because the object path is the same for every
// item and hosts find an item by its name. There is deliberately no Menu
// property: hosts that find the "no menu" path poll it without end.
class NotifyIconItem {
 public:
  // Called with a classic notice code (WM_LBUTTONDOWN ...) for each click
  // the host reports.
  using NoticeHandler = std::function<void(std::uint32_t code)>;

  NotifyIconItem(int serial, std::string title, NoticeHandler onNotice);
  ~NotifyIconItem();
  NotifyIconItem(const NotifyIconItem&) = delete;
  NotifyIconItem& operator=(const NotifyIconItem&) = delete;

  // The connection, name and object are there.
  bool Published() const { return FPublished; }
  const std::string& BusName() const { return FBusName; }
  DBusConnection& Connection() { return FConnection; }

  // Each change tells the hosts with the item's signals.
  void SetIcon(const gfx::Bitmap& icon);
  void SetTip(const std::string& tip);
  void SetHidden(bool hidden);

  // Tells the watcher about the item, asynchronously: the host reads the
  // item's properties while the watcher registers it.
  void Register();

  // ---- For the sd-bus object table ----
  struct PixmapBytes {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Argb;  // ARGB32, network byte order
  };
  const PixmapBytes& Pixmap() const { return FPixmap; }
  const std::string& Title() const { return FTitle; }
  const std::string& Tip() const { return FTip; }
  const char* Status() const { return FHidden ? "Passive" : "Active"; }
  void Notice(std::uint32_t down, std::uint32_t up);

 private:
  DBusConnection FConnection;
  sd_bus_slot* FObject = nullptr;
  bool FPublished = false;
  std::string FBusName;
  std::string FTitle;
  std::string FTip;
  bool FHidden = false;
  PixmapBytes FPixmap;
  NoticeHandler FOnNotice;
};

}  // namespace platform::x11
