#include "platform/x11/XlibHeaders.h"

#include "platform/x11/NotifyIconX11.h"

#include <systemd/sd-bus.h>

#include <string>

namespace platform::x11 {
namespace {

constexpr const char* WatcherName = "org.kde.StatusNotifierWatcher";
constexpr const char* WatcherPath = "/StatusNotifierWatcher";

// Requests on windows that a tray destroyed meanwhile are part of a
// desktop's life; the default handler would end the process.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

}  // namespace

// ---- The status-notifier watcher ----

void NotifyIconX11::WatchWatcher() {
  FBus.AddMatch(std::string("type='signal',sender='org.freedesktop.DBus',"
                            "interface='org.freedesktop.DBus',member='NameOwnerChanged',arg0='") +
                    WatcherName + "'",
                [this](sd_bus_message* message) {
                  const char* name = nullptr;
                  const char* before = nullptr;
                  const char* now = nullptr;
                  if (sd_bus_message_read(message, "sss", &name, &before, &now) < 0) return;
                  if (now && *now) {
                    // A watcher came (or another took over): register the
                    // items with it and ask about its host.
                    for (auto& [key, icon] : FIcons) {
                      if (icon->Item) icon->Item->Register();
                    }
                    AskWatcher();
                    FAnnounceWatcher = true;
                  } else {
                    ++FWatcherQuestion;
                    FWatcher = WatcherState::Absent;
                    PlaceAll();
                  }
                });
  // A host that comes or goes changes whether the items are drawn.
  const std::string hostSignals =
      std::string("type='signal',interface='") + WatcherName + "',path='" + WatcherPath + "',member=";
  FBus.AddMatch(hostSignals + "'StatusNotifierHostRegistered'", [this](sd_bus_message*) {
    if (FWatcher != WatcherState::Ready) {
      AskWatcher();
      FAnnounceWatcher = true;
    }
  });
  FBus.AddMatch(hostSignals + "'StatusNotifierHostUnregistered'",
                [this](sd_bus_message*) { AskWatcher(); });
}

// Asked asynchronously: a watcher that lives in the host's process may be
// busy calling into one of our items, which only answers while we
// dispatch.
void NotifyIconX11::AskWatcher() {
  const std::uint64_t question = ++FWatcherQuestion;
  const bool sent = FBus.CallAsync(
      WatcherName, WatcherPath, "org.freedesktop.DBus.Properties", "Get",
      [](sd_bus_message* message) {
        return sd_bus_message_append(message, "ss", WatcherName, "IsStatusNotifierHostRegistered");
      },
      [this, question](sd_bus_message* reply) {
        if (question != FWatcherQuestion) return;
        int registered = 0;
        if (sd_bus_message_is_method_error(reply, nullptr)) {
          WatcherAnswered(WatcherState::Absent);
        } else if (sd_bus_message_read(reply, "v", "b", &registered) < 0) {
          WatcherAnswered(WatcherState::NoHost);
        } else {
          WatcherAnswered(registered ? WatcherState::Ready : WatcherState::NoHost);
        }
      });
  FWatcher = sent ? WatcherState::Unknown : WatcherState::Absent;
}

void NotifyIconX11::WatcherAnswered(WatcherState state) {
  FWatcher = state;
  PlaceAll();
  if (FAnnounceWatcher && state != WatcherState::Absent) QueueTaskbarCreated();
  FAnnounceWatcher = false;
}

// ---- The XEmbed tray ----

void NotifyIconX11::OpenDisplay(const std::string& name) {
  Display* display = XOpenDisplay(name.empty() ? nullptr : name.c_str());
  if (!display) return;
  XSetErrorHandler(IgnoreError);
  FContext.Display = display;
  FContext.Screen = DefaultScreen(display);
  FContext.Root = RootWindow(display, FContext.Screen);
  FContext.Depth = DefaultDepth(display, FContext.Screen);
  FContext.DoubleClickTime = FOptions.DoubleClickTime;
  XGCValues values{};
  values.graphics_exposures = False;
  FContext.Gc = XCreateGC(display, FContext.Root, GCGraphicsExposures, &values);

  Visual* visual = DefaultVisual(display, FContext.Screen);
  FContext.Format.RedMask = std::uint32_t(visual->red_mask);
  FContext.Format.GreenMask = std::uint32_t(visual->green_mask);
  FContext.Format.BlueMask = std::uint32_t(visual->blue_mask);
  FContext.Format.MostSignificantFirst = ImageByteOrder(display) == MSBFirst;
  FContext.Format.BitsPerPixel = 32;
  int count = 0;
  if (XPixmapFormatValues* formats = XListPixmapFormats(display, &count)) {
    for (int i = 0; i < count; ++i) {
      if (formats[i].depth == FContext.Depth) FContext.Format.BitsPerPixel = formats[i].bits_per_pixel;
    }
    XFree(formats);
  }

  const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(FContext.Screen);
  FTraySelection = XInternAtom(display, selection.c_str(), False);
  FManagerAtom = XInternAtom(display, "MANAGER", False);
  FContext.EmbedInfoAtom = XInternAtom(display, "_XEMBED_INFO", False);
  FContext.TrayOpcodeAtom = XInternAtom(display, "_NET_SYSTEM_TRAY_OPCODE", False);
  FContext.WindowTypeAtom = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
  FContext.TooltipTypeAtom = XInternAtom(display, "_NET_WM_WINDOW_TYPE_TOOLTIP", False);

  // A tray that starts announces itself with MANAGER on the root.
  XSelectInput(display, FContext.Root, StructureNotifyMask);
  FindTray();
}

void NotifyIconX11::FindTray() {
  Display* display = FContext.Display;
  // Under the grab the owner cannot go between the lookup and the
  // selection of its events.
  XGrabServer(display);
  FTrayOwner = XGetSelectionOwner(display, FTraySelection);
  if (FTrayOwner) XSelectInput(display, FTrayOwner, StructureNotifyMask);
  XUngrabServer(display);
  XFlush(display);
}

void NotifyIconX11::DispatchDisplay() {
  if (!FContext.Display) return;
  while (XPending(FContext.Display) > 0) {
    XEvent event;
    XNextEvent(FContext.Display, &event);
    HandleDisplayEvent(event);
  }
}

void NotifyIconX11::HandleDisplayEvent(XEvent& event) {
  if (event.type == ClientMessage && event.xclient.window == FContext.Root &&
      event.xclient.message_type == FManagerAtom && XId(event.xclient.data.l[1]) == FTraySelection) {
    // A tray started: the icons dock into it afresh.
    FTrayOwner = XId(event.xclient.data.l[2]);
    XSelectInput(FContext.Display, FTrayOwner, StructureNotifyMask);
    for (auto& [key, icon] : FIcons) icon->Tray.reset();
    PlaceAll();
    QueueTaskbarCreated();
    return;
  }
  if (event.type == DestroyNotify && FTrayOwner && event.xdestroywindow.window == FTrayOwner) {
    // The tray is gone: its icons came back to the root; they are
    // destroyed, and made again when a tray announces itself.
    FTrayOwner = 0;
    FindTray();
    PlaceAll();
    return;
  }
  for (auto& [key, icon] : FIcons) {
    if (icon->Tray && icon->Tray->Handle(event)) return;
  }
}

}  // namespace platform::x11
