#include "platform/x11/XlibHeaders.h"

#include "platform/x11/X11Platform.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/x11/KeySymbols.h"

namespace platform::x11 {
namespace {

// How long another clipboard owner may take to answer (per chunk).
constexpr std::uint64_t SelectionTimeout = 2000;

struct SelectionWait {
  XId Window;
  int Type;
  XId Property;
  int State;  // PropertyNotify: PropertyNewValue or PropertyDelete; -1 any
};

XBool MatchesSelectionWait(Display*, XEvent* event, XPointer argument) {
  const auto* wait = reinterpret_cast<const SelectionWait*>(argument);
  if (event->xany.window != wait->Window || event->type != wait->Type) return False;
  if (event->type != PropertyNotify) return True;
  return event->xproperty.atom == wait->Property &&
         (wait->State < 0 || event->xproperty.state == wait->State);
}

XBool IsClipboardTraffic(Display*, XEvent* event, XPointer argument) {
  const XId window = *reinterpret_cast<const XId*>(argument);
  return event->xany.window == window &&
         (event->type == PropertyNotify || event->type == SelectionNotify);
}

}  // namespace

// ---- Clipboard ----

// Waits for one event of the selection protocol on our clipboard window,
// leaving every other event queued for the program.
bool X11Platform::WaitForSelectionEvent(XEvent& event, int type, std::uint64_t deadline) {
  SelectionWait wait{FClipboardWindow, type, FAtoms.SelectionProperty, PropertyNewValue};
  for (;;) {
    if (XCheckIfEvent(FDisplay, &event, MatchesSelectionWait, reinterpret_cast<XPointer>(&wait))) {
      return true;
    }
    const std::uint64_t now = Now();
    if (now >= deadline) return false;
    pollfd descriptor{ConnectionNumber(FDisplay), POLLIN, 0};
    poll(&descriptor, 1, int(deadline - now));
  }
}

// A server timestamp for owning the selection: the time of a property
// change of our own (the protocol wants a real time, not CurrentTime).
unsigned long X11Platform::ServerTime() {
  XChangeProperty(FDisplay, FClipboardWindow, FAtoms.TimeProperty, XA_STRING, 8, PropModeAppend,
                  nullptr, 0);
  SelectionWait wait{FClipboardWindow, PropertyNotify, FAtoms.TimeProperty, -1};
  XEvent event;
  const std::uint64_t deadline = Now() + SelectionTimeout;
  for (;;) {
    if (XCheckIfEvent(FDisplay, &event, MatchesSelectionWait, reinterpret_cast<XPointer>(&wait))) {
      FLastServerTime = event.xproperty.time;
      return event.xproperty.time;
    }
    const std::uint64_t now = Now();
    if (now >= deadline) return CurrentTime;
    pollfd descriptor{ConnectionNumber(FDisplay), POLLIN, 0};
    poll(&descriptor, 1, int(deadline - now));
  }
}

void X11Platform::SetClipboardText(std::string_view text) {
  FClipboardText = std::string(text);
  FClipboardTime = ServerTime();
  XSetSelectionOwner(FDisplay, FAtoms.Clipboard, FClipboardWindow, FClipboardTime);
  XFlush(FDisplay);
}

// Reads (and deletes) the answer property; an INCR answer announces that
// the text follows in chunks, each one a new value of the property that we
// delete to ask for the next, until an empty one.
std::string X11Platform::ReadSelectionProperty(std::uint64_t deadline) {
  auto read = [&](Atom& type, std::string& data) {
    data.clear();
    type = 0;
    long offset = 0;
    for (;;) {
      int format = 0;
      unsigned long count = 0;
      unsigned long after = 0;
      unsigned char* value = nullptr;
      if (XGetWindowProperty(FDisplay, FClipboardWindow, FAtoms.SelectionProperty, offset,
                             0x100000, False, AnyPropertyType, &type, &format, &count, &after,
                             &value) != Success) {
        return false;
      }
      if (value) {
        const std::size_t bytes = count * std::size_t(format == 32 ? sizeof(long) : format / 8);
        data.append(reinterpret_cast<const char*>(value), bytes);
        XFree(value);
      }
      if (after == 0) break;
      offset += long(count * std::size_t(format) / 32);
    }
    XDeleteProperty(FDisplay, FClipboardWindow, FAtoms.SelectionProperty);
    XFlush(FDisplay);
    return true;
  };

  Atom type = 0;
  std::string data;
  if (!read(type, data)) return {};
  if (type != FAtoms.Incr) return data;

  // The deletion above makes the owner send the first chunk; the
  // notifications up to our deletion's own (the announcement's among them)
  // are stale and dropped.
  SelectionWait any{FClipboardWindow, PropertyNotify, FAtoms.SelectionProperty, -1};
  XEvent event;
  for (;;) {
    if (XCheckIfEvent(FDisplay, &event, MatchesSelectionWait, reinterpret_cast<XPointer>(&any))) {
      if (event.xproperty.state == PropertyDelete) break;
      continue;
    }
    const std::uint64_t now = Now();
    if (now >= deadline) return {};
    pollfd descriptor{ConnectionNumber(FDisplay), POLLIN, 0};
    poll(&descriptor, 1, int(deadline - now));
  }
  std::string text;
  for (;;) {
    if (!WaitForSelectionEvent(event, PropertyNotify, deadline)) return {};
    std::string chunk;
    if (!read(type, chunk)) return {};
    if (chunk.empty()) return text;
    text += chunk;
    deadline = Now() + SelectionTimeout;
  }
}

std::string X11Platform::ClipboardText() {
  const ::Window owner = XGetSelectionOwner(FDisplay, FAtoms.Clipboard);
  if (owner == XNone) return {};
  if (owner == FClipboardWindow) return FClipboardText;

  // Leftovers of an earlier exchange must not be taken for this one's.
  XSync(FDisplay, False);
  XEvent stale;
  XId window = FClipboardWindow;
  while (XCheckIfEvent(FDisplay, &stale, IsClipboardTraffic, reinterpret_cast<XPointer>(&window))) {
  }

  const XId targets[] = {FAtoms.Utf8String, XA_STRING};
  for (XId target : targets) {
    XDeleteProperty(FDisplay, FClipboardWindow, FAtoms.SelectionProperty);
    XConvertSelection(FDisplay, FAtoms.Clipboard, target, FAtoms.SelectionProperty,
                      FClipboardWindow, FLastServerTime ? FLastServerTime : CurrentTime);
    XFlush(FDisplay);
    const std::uint64_t deadline = Now() + SelectionTimeout;
    XEvent event;
    if (!WaitForSelectionEvent(event, SelectionNotify, deadline)) return {};
    if (event.xselection.property == XNone) continue;  // this type refused
    std::string text = ReadSelectionProperty(deadline);
    if (target == XA_STRING) text = Latin1ToUtf8(text.data(), int(text.size()));
    return text;
  }
  return {};
}

void X11Platform::AnswerSelectionRequest(XEvent& event) {
  const XSelectionRequestEvent& request = event.xselectionrequest;
  XEvent reply{};
  reply.xselection.type = SelectionNotify;
  reply.xselection.display = FDisplay;
  reply.xselection.requestor = request.requestor;
  reply.xselection.selection = request.selection;
  reply.xselection.target = request.target;
  reply.xselection.time = request.time;
  reply.xselection.property = XNone;
  // Clients of the old protocol name no property: the target is used.
  const Atom property = request.property != XNone ? request.property : request.target;
  // What fits into one request; larger texts are refused rather than cut.
  long maximum = XExtendedMaxRequestSize(FDisplay);
  if (maximum == 0) maximum = XMaxRequestSize(FDisplay);
  const std::size_t limit = std::size_t(maximum) * 4 - 1024;

  auto answer = [&](Atom type, int format, const void* data, std::size_t count) {
    XChangeProperty(FDisplay, request.requestor, property, type, format, PropModeReplace,
                    static_cast<const unsigned char*>(data), int(count));
    reply.xselection.property = property;
  };
  const bool ours = request.owner == FClipboardWindow && request.selection == FAtoms.Clipboard &&
                    (request.time == CurrentTime || request.time >= FClipboardTime);
  if (ours) {
    if (request.target == FAtoms.Targets) {
      const long targets[] = {long(FAtoms.Targets), long(FAtoms.Utf8String), long(XA_STRING),
                              long(FAtoms.Text), long(FAtoms.Timestamp)};
      answer(XA_ATOM, 32, targets, sizeof targets / sizeof targets[0]);
    } else if (request.target == FAtoms.Utf8String || request.target == FAtoms.Text) {
      if (FClipboardText.size() <= limit) {
        answer(FAtoms.Utf8String, 8, FClipboardText.data(), FClipboardText.size());
      }
    } else if (request.target == XA_STRING) {
      const std::string latin1 = Utf8ToLatin1(FClipboardText);
      if (latin1.size() <= limit) answer(XA_STRING, 8, latin1.data(), latin1.size());
    } else if (request.target == FAtoms.Timestamp) {
      const long time = long(FClipboardTime);
      answer(XA_INTEGER, 32, &time, 1);
    }
  }
  XSendEvent(FDisplay, request.requestor, False, 0, &reply);
  XFlush(FDisplay);
}

// ---- Pointer and keyboard ----

XId X11Platform::CursorOf(CursorShape shape) {
  auto it = FCursors.find(shape);
  if (it != FCursors.end()) return it->second;
  Cursor cursor = 0;
  if (shape == CursorShape::Hidden) {
    // A cursor whose one pixel is masked out.
    const char empty = 0;
    Pixmap pixmap = XCreateBitmapFromData(FDisplay, FRoot, &empty, 1, 1);
    XColor black{};
    cursor = XCreatePixmapCursor(FDisplay, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(FDisplay, pixmap);
  } else {
    unsigned glyph = XC_left_ptr;
    switch (shape) {
      case CursorShape::Arrow: glyph = XC_left_ptr; break;
      case CursorShape::IBeam: glyph = XC_xterm; break;
      case CursorShape::Wait: glyph = XC_watch; break;
      case CursorShape::AppStarting: glyph = XC_watch; break;
      case CursorShape::Cross: glyph = XC_crosshair; break;
      case CursorShape::UpArrow: glyph = XC_sb_up_arrow; break;
      case CursorShape::SizeNS: glyph = XC_sb_v_double_arrow; break;
      case CursorShape::SizeWE: glyph = XC_sb_h_double_arrow; break;
      case CursorShape::SizeNWSE: glyph = XC_bottom_right_corner; break;
      case CursorShape::SizeNESW: glyph = XC_bottom_left_corner; break;
      case CursorShape::SizeAll: glyph = XC_fleur; break;
      case CursorShape::No: glyph = XC_X_cursor; break;
      case CursorShape::Hand: glyph = XC_hand2; break;
      case CursorShape::Help: glyph = XC_question_arrow; break;
      case CursorShape::Hidden: break;
    }
    cursor = XCreateFontCursor(FDisplay, glyph);
  }
  FCursors[shape] = cursor;
  return cursor;
}

gfx::Point X11Platform::CursorPosition() {
  ::Window root = 0;
  ::Window child = 0;
  int rootX = 0;
  int rootY = 0;
  int x = 0;
  int y = 0;
  unsigned mask = 0;
  XQueryPointer(FDisplay, FRoot, &root, &child, &rootX, &rootY, &x, &y, &mask);
  return gfx::Point{rootX, rootY};
}

void X11Platform::SetCursorPosition(gfx::Point position) {
  XWarpPointer(FDisplay, XNone, FRoot, 0, 0, 0, 0, position.X, position.Y);
  XFlush(FDisplay);
}

bool X11Platform::IsKeyDown(int virtualKey) {
  unsigned buttonMask = 0;
  switch (virtualKey) {
    case VK_LBUTTON: buttonMask = Button1Mask; break;
    case VK_MBUTTON: buttonMask = Button2Mask; break;
    case VK_RBUTTON: buttonMask = Button3Mask; break;
    case VK_XBUTTON1: return (FExtraButtons & ButtonMaskX1) != 0;
    case VK_XBUTTON2: return (FExtraButtons & ButtonMaskX2) != 0;
    default: break;
  }
  if (buttonMask) {
    ::Window root = 0;
    ::Window child = 0;
    int rootX = 0;
    int rootY = 0;
    int x = 0;
    int y = 0;
    unsigned mask = 0;
    XQueryPointer(FDisplay, FRoot, &root, &child, &rootX, &rootY, &x, &y, &mask);
    return (mask & buttonMask) != 0;
  }
  const std::vector<KeySymbol> symbols = KeySymbolsOfVirtualKey(virtualKey);
  if (symbols.empty()) return false;
  char keys[32] = {};
  XQueryKeymap(FDisplay, keys);
  for (KeySymbol symbol : symbols) {
    const KeyCode code = XKeysymToKeycode(FDisplay, symbol);
    if (code != 0 && (keys[code / 8] & (1 << (code % 8)))) return true;
  }
  return false;
}

// ---- Monitors ----

// The work area of the current desktop, which window managers give as one
// rectangle over all monitors; empty when none is published.
std::vector<gfx::Rect> X11Platform::WorkAreas() {
  auto readLongs = [&](XId property, long length) {
    std::vector<long> values;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* value = nullptr;
    if (XGetWindowProperty(FDisplay, FRoot, property, 0, length, False, XA_CARDINAL, &type,
                           &format, &count, &after, &value) == Success &&
        value) {
      if (format == 32) {
        const long* data = reinterpret_cast<const long*>(value);
        values.assign(data, data + count);
      }
      XFree(value);
    }
    return values;
  };
  const std::vector<long> areas = readLongs(FAtoms.NetWorkArea, 4 * 64);
  const std::vector<long> current = readLongs(FAtoms.NetCurrentDesktop, 1);
  std::size_t desktop = current.empty() ? 0 : std::size_t(std::max(0L, current[0]));
  if ((desktop + 1) * 4 > areas.size()) desktop = 0;
  if (areas.size() < 4) return {};
  const long* a = areas.data() + desktop * 4;
  return {gfx::Rect::FromSize(int(a[0]), int(a[1]), int(a[2]), int(a[3]))};
}

std::vector<Monitor> X11Platform::Monitors() {
  std::vector<Monitor> monitors;
  if (FHasRandr) {
    int count = 0;
    if (XRRMonitorInfo* info = XRRGetMonitors(FDisplay, FRoot, True, &count)) {
      for (int i = 0; i < count; ++i) {
        Monitor m;
        m.Bounds = gfx::Rect::FromSize(info[i].x, info[i].y, info[i].width, info[i].height);
        m.Primary = info[i].primary != 0;
        if (!m.Bounds.IsEmpty()) monitors.push_back(m);
      }
      XRRFreeMonitors(info);
    }
  }
  if (monitors.empty()) {
    Monitor whole;
    whole.Bounds = gfx::Rect{0, 0, DisplayWidth(FDisplay, FScreen), DisplayHeight(FDisplay, FScreen)};
    whole.Primary = true;
    monitors.push_back(whole);
  }
  std::stable_partition(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.Primary; });
  if (!monitors.front().Primary) monitors.front().Primary = true;
  for (std::size_t i = 1; i < monitors.size(); ++i) monitors[i].Primary = false;

  const std::vector<gfx::Rect> areas = WorkAreas();
  for (Monitor& m : monitors) {
    m.WorkArea = m.Bounds;
    if (!areas.empty()) {
      const gfx::Rect inside = areas.front().Intersect(m.Bounds);
      if (!inside.IsEmpty()) m.WorkArea = inside;
    }
  }
  return monitors;
}

// ---- The rest ----

int X11Platform::DoubleClickTime() {
  // The classic default, unless the X resources say otherwise
  // (ostvane.doubleClickTime: 400).
  if (const char* value = XGetDefault(FDisplay, "ostvane", "doubleClickTime")) {
    char* end = nullptr;
    const long milliseconds = std::strtol(value, &end, 10);
    if (end != value && milliseconds >= 100 && milliseconds <= 5000) return int(milliseconds);
  }
  return 500;
}

void X11Platform::Beep() {
  XBell(FDisplay, 0);
  XFlush(FDisplay);
}

std::string X11Platform::ProgramFilePath() {
  std::string path(256, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return {};
    if (std::size_t(length) < path.size()) {
      path.resize(std::size_t(length));
      return path;
    }
    path.resize(path.size() * 2);
  }
}

bool X11Platform::CaptureScreen(const gfx::Rect& area, gfx::Bitmap& picture) {
  picture = gfx::Bitmap(std::max(0, area.Width()), std::max(0, area.Height()));
  if (picture.IsEmpty()) return true;
  for (const Monitor& monitor : Monitors()) {
    const gfx::Rect part = area.Intersect(monitor.Bounds);
    if (part.IsEmpty()) continue;
    XImage* image = XGetImage(FDisplay, FRoot, part.Left, part.Top, unsigned(part.Width()),
                              unsigned(part.Height()), AllPlanes, ZPixmap);
    if (!image) return false;
    PixelFormat format;
    format.BitsPerPixel = image->bits_per_pixel;
    format.MostSignificantFirst = image->byte_order == MSBFirst;
    format.RedMask = std::uint32_t(image->red_mask);
    format.GreenMask = std::uint32_t(image->green_mask);
    format.BlueMask = std::uint32_t(image->blue_mask);
    for (int y = 0; y < part.Height(); ++y) {
      const auto* source =
          reinterpret_cast<const std::uint8_t*>(image->data) + std::size_t(y) * std::size_t(image->bytes_per_line);
      gfx::Pixel* target = picture.Row(part.Top - area.Top + y) + (part.Left - area.Left);
      UnpackPixels(format, source, part.Width(), target);
    }
    XDestroyImage(image);
  }
  return true;
}

}  // namespace platform::x11
