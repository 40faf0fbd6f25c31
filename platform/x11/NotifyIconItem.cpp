#include "platform/x11/NotifyIconItem.h"

#include <systemd/sd-bus.h>
#include <unistd.h>

#include "platform/NotifyIcon.h"

namespace platform::x11 {
namespace {

constexpr const char* ItemPath = "/StatusNotifierItem";
constexpr const char* ItemInterface = "org.kde.StatusNotifierItem";

NotifyIconItem& ItemOf(void* userdata) { return *static_cast<NotifyIconItem*>(userdata); }

int AppendPixmaps(sd_bus_message* reply, const NotifyIconItem::PixmapBytes& pixmap) {
  int r = sd_bus_message_open_container(reply, 'a', "(iiay)");
  if (r < 0) return r;
  if (!pixmap.Argb.empty()) {
    if ((r = sd_bus_message_open_container(reply, 'r', "iiay")) < 0) return r;
    if ((r = sd_bus_message_append(reply, "ii", pixmap.Width, pixmap.Height)) < 0) return r;
    r = sd_bus_message_append_array(reply, 'y', pixmap.Argb.data(), pixmap.Argb.size());
    if (r < 0) return r;
    if ((r = sd_bus_message_close_container(reply)) < 0) return r;
  }
  return sd_bus_message_close_container(reply);
}

int GetText(sd_bus* , const char*, const char*, const char* property, sd_bus_message* reply,
            void* userdata, sd_bus_error*) {
  NotifyIconItem& item = ItemOf(userdata);
  const std::string name = property;
  if (name == "Category") return sd_bus_message_append(reply, "s", "ApplicationStatus");
  if (name == "Id") return sd_bus_message_append(reply, "s", "ostvane");
  if (name == "Title") return sd_bus_message_append(reply, "s", item.Title().c_str());
  if (name == "Status") return sd_bus_message_append(reply, "s", item.Status());
  // Empty names: the host draws IconPixmap.
  return sd_bus_message_append(reply, "s", "");
}

int GetWindowId(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                sd_bus_error*) {
  return sd_bus_message_append(reply, "i", 0);
}

int GetItemIsMenu(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                  sd_bus_error*) {
  return sd_bus_message_append(reply, "b", 0);
}

int GetIconPixmap(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
                  void* userdata, sd_bus_error*) {
  return AppendPixmaps(reply, ItemOf(userdata).Pixmap());
}

int GetEmptyPixmaps(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                    sd_bus_error*) {
  return AppendPixmaps(reply, NotifyIconItem::PixmapBytes{});
}

int GetToolTip(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply,
               void* userdata, sd_bus_error*) {
  NotifyIconItem& item = ItemOf(userdata);
  int r = sd_bus_message_open_container(reply, 'r', "sa(iiay)ss");
  if (r < 0) return r;
  if ((r = sd_bus_message_append(reply, "s", "")) < 0) return r;
  if ((r = AppendPixmaps(reply, item.Pixmap())) < 0) return r;
  if ((r = sd_bus_message_append(reply, "ss", item.Tip().c_str(), "")) < 0) return r;
  return sd_bus_message_close_container(reply);
}

// Hosts name the click by method; the classic area has a button for each.
// There is no double click: hosts report clicks one by one, and most of
// them turn a double click into two activations (or two context menus).
//
//   host call            notices
//   Activate(x, y)       WM_LBUTTONDOWN, WM_LBUTTONUP
//   ContextMenu(x, y)    WM_RBUTTONDOWN, WM_RBUTTONUP
//   SecondaryActivate    WM_MBUTTONDOWN, WM_MBUTTONUP
//   Scroll(delta, dir)   WM_MOUSEMOVE (the classic area has no wheel notice;
//                        the pointer is over the icon, which is what a move says)
//
// The coordinates the host passes are not always screen coordinates (one
// host sends 2, 2 for every context menu); the notices carry the pointer
// position instead.
int OnActivate(sd_bus_message* message, void* userdata, sd_bus_error*) {
  ItemOf(userdata).Notice(WM_LBUTTONDOWN, WM_LBUTTONUP);
  return sd_bus_reply_method_return(message, nullptr);
}

int OnContextMenu(sd_bus_message* message, void* userdata, sd_bus_error*) {
  ItemOf(userdata).Notice(WM_RBUTTONDOWN, WM_RBUTTONUP);
  return sd_bus_reply_method_return(message, nullptr);
}

int OnSecondaryActivate(sd_bus_message* message, void* userdata, sd_bus_error*) {
  ItemOf(userdata).Notice(WM_MBUTTONDOWN, WM_MBUTTONUP);
  return sd_bus_reply_method_return(message, nullptr);
}

int OnScroll(sd_bus_message* message, void* userdata, sd_bus_error*) {
  ItemOf(userdata).Notice(WM_MOUSEMOVE, 0);
  return sd_bus_reply_method_return(message, nullptr);
}

const sd_bus_vtable ItemTable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("Category", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Id", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Title", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("Status", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_EMITS_INVALIDATION),
    SD_BUS_PROPERTY("WindowId", "i", GetWindowId, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconName", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("IconPixmap", "a(iiay)", GetIconPixmap, 0,
                    SD_BUS_VTABLE_PROPERTY_EMITS_INVALIDATION),
    SD_BUS_PROPERTY("OverlayIconName", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("OverlayIconPixmap", "a(iiay)", GetEmptyPixmaps, 0,
                    SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("AttentionIconName", "s", GetText, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("AttentionIconPixmap", "a(iiay)", GetEmptyPixmaps, 0,
                    SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_PROPERTY("ToolTip", "(sa(iiay)ss)", GetToolTip, 0,
                    SD_BUS_VTABLE_PROPERTY_EMITS_INVALIDATION),
    SD_BUS_PROPERTY("ItemIsMenu", "b", GetItemIsMenu, 0, SD_BUS_VTABLE_PROPERTY_CONST),
    SD_BUS_METHOD("Activate", "ii", "", OnActivate, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("SecondaryActivate", "ii", "", OnSecondaryActivate, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("ContextMenu", "ii", "", OnContextMenu, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Scroll", "is", "", OnScroll, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_SIGNAL("NewTitle", "", 0),
    SD_BUS_SIGNAL("NewIcon", "", 0),
    SD_BUS_SIGNAL("NewToolTip", "", 0),
    SD_BUS_SIGNAL("NewStatus", "s", 0),
    SD_BUS_VTABLE_END};

}  // namespace

NotifyIconItem::NotifyIconItem(int serial, std::string title, NoticeHandler onNotice)
    : FConnection("ostvane-notify-icon"), FTitle(std::move(title)), FOnNotice(std::move(onNotice)) {
  FBusName = "org.kde.StatusNotifierItem-" + std::to_string(getpid()) + "-" + std::to_string(serial);
  if (!FConnection.Connected()) return;
  if (sd_bus_add_object_vtable(FConnection.Bus(), &FObject, ItemPath, ItemInterface, ItemTable,
                               this) < 0) {
    return;
  }
  FPublished = FConnection.RequestName(FBusName);
}

NotifyIconItem::~NotifyIconItem() {
  // Closing the connection (the member's destructor) drops the name; the
  // watcher and the host see the owner go and forget the item.
  if (FObject) sd_bus_slot_unref(FObject);
}

void NotifyIconItem::SetIcon(const gfx::Bitmap& icon) {
  FPixmap = PixmapBytes{};
  if (!icon.IsEmpty()) {
    FPixmap.Width = icon.Width();
    FPixmap.Height = icon.Height();
    FPixmap.Argb.reserve(std::size_t(icon.Width()) * std::size_t(icon.Height()) * 4);
    for (int y = 0; y < icon.Height(); ++y) {
      const gfx::Pixel* row = icon.Row(y);
      for (int x = 0; x < icon.Width(); ++x) {
        // Our pictures have no alpha: every pixel is opaque.
        FPixmap.Argb.push_back(0xFF);
        FPixmap.Argb.push_back(gfx::PixelRed(row[x]));
        FPixmap.Argb.push_back(gfx::PixelGreen(row[x]));
        FPixmap.Argb.push_back(gfx::PixelBlue(row[x]));
      }
    }
  }
  if (FPublished) {
    FConnection.EmitSignal(ItemPath, ItemInterface, "NewIcon");
    // Hosts that show the icon in the tooltip read it again with it.
    FConnection.EmitSignal(ItemPath, ItemInterface, "NewToolTip");
  }
}

void NotifyIconItem::SetTip(const std::string& tip) {
  FTip = tip;
  if (FPublished) FConnection.EmitSignal(ItemPath, ItemInterface, "NewToolTip");
}

void NotifyIconItem::SetHidden(bool hidden) {
  if (hidden == FHidden) return;
  FHidden = hidden;
  if (FPublished) sd_bus_emit_signal(FConnection.Bus(), ItemPath, ItemInterface, "NewStatus", "s", Status());
}

void NotifyIconItem::Register() {
  if (!FPublished) return;
  const std::string name = FBusName;
  FConnection.CallAsync(
      "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher", "org.kde.StatusNotifierWatcher",
      "RegisterStatusNotifierItem",
      [name](sd_bus_message* message) { return sd_bus_message_append(message, "s", name.c_str()); },
      nullptr);
}

void NotifyIconItem::Notice(std::uint32_t down, std::uint32_t up) {
  if (!FOnNotice) return;
  FOnNotice(down);
  if (up) FOnNotice(up);
}

}  // namespace platform::x11
