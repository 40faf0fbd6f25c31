#include "platform/x11/XlibHeaders.h"

#include "platform/x11/X11Platform.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "platform/x11/KeySymbols.h"

namespace platform::x11 {
namespace {

// Xlib's default error handler ends the process. Requests on windows that
// another client or the window manager destroyed meanwhile, focus requests
// on a window not yet viewable and the like are expected in a desktop's
// life: they are ignored, and the calls that care check their results.
int IgnoreError(Display*, XErrorEvent*) { return 0; }

constexpr long WindowEvents = ExposureMask | KeyPressMask | KeyReleaseMask | ButtonPressMask |
                              ButtonReleaseMask | PointerMotionMask | EnterWindowMask |
                              LeaveWindowMask | FocusChangeMask | StructureNotifyMask |
                              PropertyChangeMask;

// X has no windows of zero size; such a window is one pixel large.
int NativeSide(int side) { return std::max(1, side); }

// The largest icon sent to the window manager; larger ones are scaled down
// so that the property stays far below the request size limit.
constexpr int MaxIconSide = 256;

}  // namespace

X11Platform::X11Platform(const char* displayName) {
  FDisplay = XOpenDisplay(displayName);
  if (!FDisplay) {
    const char* name = displayName ? displayName : std::getenv("DISPLAY");
    if (!name || !*name) {
      throw std::runtime_error("Cannot open the X display: DISPLAY is not set");
    }
    throw std::runtime_error(std::string("Cannot open the X display \"") + name + "\"");
  }
  XSetErrorHandler(IgnoreError);
  FScreen = DefaultScreen(FDisplay);
  FRoot = RootWindow(FDisplay, FScreen);
  FDepth = DefaultDepth(FDisplay, FScreen);
  InternAtoms();
  ReadPixelFormat();

  int eventBase = 0;
  int errorBase = 0;
  FHasShape = XShapeQueryExtension(FDisplay, &eventBase, &errorBase);
  int major = 0;
  int minor = 0;
  FHasRandr = XRRQueryExtension(FDisplay, &eventBase, &errorBase) &&
              XRRQueryVersion(FDisplay, &major, &minor) && (major > 1 || minor >= 5);
  // Without this the server reports a held key as release/press pairs; the
  // pair test in the key translation stays for servers that refuse.
  XkbSetDetectableAutoRepeat(FDisplay, True, nullptr);

  XGCValues values{};
  values.graphics_exposures = False;
  FGc = XCreateGC(FDisplay, FRoot, GCGraphicsExposures, &values);

  // Never mapped: owns the clipboard, receives the answers of other
  // clipboard owners, and is the input method's client window.
  XSetWindowAttributes attributes{};
  attributes.event_mask = PropertyChangeMask;
  FClipboardWindow = XCreateWindow(FDisplay, FRoot, -10, -10, 1, 1, 0, CopyFromParent,
                                   InputOutput, CopyFromParent, CWEventMask, &attributes);

  FWakeDescriptor = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (FWakeDescriptor < 0) {
    XCloseDisplay(FDisplay);
    throw std::runtime_error(std::string("Cannot create the wake-up descriptor: ") +
                             std::strerror(errno));
  }
  OpenInputMethod();
  XFlush(FDisplay);
}

X11Platform::~X11Platform() {
  FNotifyIcons.reset();
  if (FInputContext) XDestroyIC(FInputContext);
  if (FInputMethod) XCloseIM(FInputMethod);
  for (const auto& [id, data] : FWindows) {
    if (data.Handle) XDestroyWindow(FDisplay, data.Handle);
  }
  for (const auto& [shape, cursor] : FCursors) XFreeCursor(FDisplay, cursor);
  XDestroyWindow(FDisplay, FClipboardWindow);
  XFreeGC(FDisplay, FGc);
  XCloseDisplay(FDisplay);
  close(FWakeDescriptor);
}

NotifyIconService* X11Platform::NotifyIcons() {
  if (!FNotifyIcons) {
    NotifyIconX11::Options options;
    options.DisplayName = DisplayString(FDisplay);
    options.DoubleClickTime = DoubleClickTime();
    FNotifyIcons = std::make_unique<NotifyIconX11>(options);
  }
  return FNotifyIcons.get();
}

void X11Platform::InternAtoms() {
  // The order follows AtomSet, whose members are all XIds in a row.
  const char* names[] = {
      "WM_PROTOCOLS", "WM_DELETE_WINDOW", "WM_STATE", "WM_CHANGE_STATE", "_MOTIF_WM_HINTS",
      "_NET_WM_NAME", "_NET_WM_ICON_NAME", "_NET_WM_ICON", "_NET_WM_PID", "_NET_WM_WINDOW_TYPE",
      "_NET_WM_WINDOW_TYPE_NORMAL", "_NET_WM_WINDOW_TYPE_POPUP_MENU", "_NET_WM_STATE",
      "_NET_WM_STATE_HIDDEN", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_SKIP_TASKBAR",
      "_NET_WM_WINDOW_OPACITY", "_NET_ACTIVE_WINDOW", "_NET_WORKAREA", "_NET_CURRENT_DESKTOP",
      "_NET_SUPPORTING_WM_CHECK", "_NET_WM_USER_TIME", "UTF8_STRING", "CLIPBOARD", "TARGETS",
      "TEXT", "TIMESTAMP", "INCR", "MULTIPLE", "_OSTVANE_SELECTION", "_OSTVANE_TIME"};
  constexpr std::size_t count = sizeof names / sizeof names[0];
  static_assert(sizeof(AtomSet) == count * sizeof(XId));
  Atom atoms[count];
  XInternAtoms(FDisplay, const_cast<char**>(names), int(count), False, atoms);
  XId* target = reinterpret_cast<XId*>(&FAtoms);
  for (std::size_t i = 0; i < count; ++i) target[i] = atoms[i];
}

void X11Platform::ReadPixelFormat() {
  Visual* visual = DefaultVisual(FDisplay, FScreen);
  FFormat.RedMask = std::uint32_t(visual->red_mask);
  FFormat.GreenMask = std::uint32_t(visual->green_mask);
  FFormat.BlueMask = std::uint32_t(visual->blue_mask);
  FFormat.MostSignificantFirst = ImageByteOrder(FDisplay) == MSBFirst;
  FFormat.BitsPerPixel = 32;
  int count = 0;
  if (XPixmapFormatValues* formats = XListPixmapFormats(FDisplay, &count)) {
    for (int i = 0; i < count; ++i) {
      if (formats[i].depth == FDepth) FFormat.BitsPerPixel = formats[i].bits_per_pixel;
    }
    XFree(formats);
  }
}

void X11Platform::OpenInputMethod() {
  // The program's locale decides the input method; a locale Xlib does not
  // know leaves us without one, and the text comes from the key symbols.
  if (!XSupportsLocale()) return;
  if (XSetLocaleModifiers("")) FInputMethod = XOpenIM(FDisplay, nullptr, nullptr, nullptr);
  if (!FInputMethod && XSetLocaleModifiers("@im=none")) {
    // XMODIFIERS names an input method server that is not running.
    FInputMethod = XOpenIM(FDisplay, nullptr, nullptr, nullptr);
  }
  if (!FInputMethod) return;
  FInputContext = XCreateIC(FInputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                            XNClientWindow, FClipboardWindow, XNFocusWindow, FClipboardWindow,
                            nullptr);
  if (!FInputContext) {
    XCloseIM(FInputMethod);
    FInputMethod = nullptr;
    return;
  }
  FInputContextWindow = FClipboardWindow;
}

X11Platform::WindowData* X11Platform::Find(NativeWindow window) {
  auto it = FWindows.find(window);
  return it == FWindows.end() ? nullptr : &it->second;
}

const X11Platform::WindowData* X11Platform::Find(NativeWindow window) const {
  auto it = FWindows.find(window);
  return it == FWindows.end() ? nullptr : &it->second;
}

NativeWindow X11Platform::FromHandle(XId handle) const {
  auto it = FByHandle.find(handle);
  return it == FByHandle.end() ? NoWindow : it->second;
}

XId X11Platform::XWindow(NativeWindow window) const {
  const WindowData* data = Find(window);
  return data ? data->Handle : 0;
}

void X11Platform::SetCardinalProperty(XId window, XId property, const std::vector<long>& values) {
  // Format-32 property data is an array of long on the client side,
  // whatever the size of long.
  XChangeProperty(FDisplay, window, property, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(values.data()), int(values.size()));
}

// USPosition makes the window manager put the window exactly where the
// program asks instead of placing it by its own policy.
void X11Platform::SetNormalHints(const WindowData& data) {
  XSizeHints* hints = XAllocSizeHints();
  if (!hints) return;
  hints->flags = USPosition | PPosition | USSize | PSize;
  hints->x = data.Bounds.Left;
  hints->y = data.Bounds.Top;
  hints->width = NativeSide(data.Bounds.Width());
  hints->height = NativeSide(data.Bounds.Height());
  XSetWMNormalHints(FDisplay, data.Handle, hints);
  XFree(hints);
}

bool X11Platform::HasWindowManager() {
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* value = nullptr;
  bool found = false;
  if (XGetWindowProperty(FDisplay, FRoot, FAtoms.NetSupportingWmCheck, 0, 1, False, XA_WINDOW,
                         &type, &format, &count, &after, &value) == Success &&
      value) {
    if (type == XA_WINDOW && format == 32 && count == 1) {
      // A window manager that died leaves the property behind; its check
      // window is gone then.
      ::Window check = ::Window(reinterpret_cast<long*>(value)[0]);
      XWindowAttributes attributes;
      found = XGetWindowAttributes(FDisplay, check, &attributes) != 0;
    }
    XFree(value);
  }
  return found;
}

void X11Platform::SendWindowManagerMessage(XId window, XId type, const std::array<long, 5>& data) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = type;
  event.xclient.format = 32;
  for (int i = 0; i < 5; ++i) event.xclient.data.l[i] = data[std::size_t(i)];
  XSendEvent(FDisplay, FRoot, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

// ---- Windows ----

NativeWindow X11Platform::CreateWindow(const WindowOptions& options) {
  const NativeWindow id = FNextWindow++;
  WindowData data;
  data.Kind = options.Kind;
  data.Bounds = options.Bounds;
  if (options.Kind == WindowKind::Hidden) {
    // Nothing is ever shown of it, so nothing native is needed.
    FWindows.emplace(id, std::move(data));
    return id;
  }

  XSetWindowAttributes attributes{};
  // No background: the server leaves uncovered parts alone until we
  // present them, instead of flashing a colour first.
  attributes.background_pixmap = XNone;
  attributes.border_pixel = 0;
  attributes.bit_gravity = NorthWestGravity;
  attributes.event_mask = WindowEvents;
  attributes.override_redirect = options.Kind == WindowKind::Popup;
  attributes.save_under = options.Kind == WindowKind::Popup;
  const unsigned long mask =
      CWBackPixmap | CWBorderPixel | CWBitGravity | CWEventMask | CWOverrideRedirect | CWSaveUnder;
  data.Handle = XCreateWindow(FDisplay, FRoot, options.Bounds.Left, options.Bounds.Top,
                              unsigned(NativeSide(options.Bounds.Width())),
                              unsigned(NativeSide(options.Bounds.Height())), 0, CopyFromParent,
                              InputOutput, CopyFromParent, mask, &attributes);
  if (!data.Handle) throw std::runtime_error("XCreateWindow failed");

  XClassHint classHint{};
  classHint.res_name = const_cast<char*>("ostvane");
  classHint.res_class = const_cast<char*>("Ostvane");
  XSetClassHint(FDisplay, data.Handle, &classHint);
  Atom protocols[] = {Atom(FAtoms.WmDeleteWindow)};
  XSetWMProtocols(FDisplay, data.Handle, protocols, 1);
  SetCardinalProperty(data.Handle, FAtoms.NetWmPid, {long(getpid())});

  // Decorations off: the window system draws the whole rectangle itself.
  long motifHints[5] = {2 /* decorations field valid */, 0, 0, 0, 0};
  XChangeProperty(FDisplay, data.Handle, FAtoms.MotifWmHints, FAtoms.MotifWmHints, 32,
                  PropModeReplace, reinterpret_cast<unsigned char*>(motifHints), 5);
  long type = long(options.Kind == WindowKind::Popup ? FAtoms.NetWmWindowTypePopupMenu
                                                     : FAtoms.NetWmWindowTypeNormal);
  XChangeProperty(FDisplay, data.Handle, FAtoms.NetWmWindowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&type), 1);

  XWMHints* hints = XAllocWMHints();
  if (hints) {
    hints->flags = InputHint | StateHint;
    hints->input = options.Kind == WindowKind::Normal;
    hints->initial_state = NormalState;
    XSetWMHints(FDisplay, data.Handle, hints);
    XFree(hints);
  }
  SetNormalHints(data);

  FByHandle[data.Handle] = id;
  FWindows.emplace(id, std::move(data));
  SetWindowTitle(id, options.Title);
  XFlush(FDisplay);
  return id;
}

void X11Platform::DestroyWindow(NativeWindow window) {
  WindowData* data = Find(window);
  if (!data) return;
  if (FGrab == window) {
    XUngrabPointer(FDisplay, CurrentTime);
    FGrab = NoWindow;
  }
  if (data->Handle) {
    if (FInputContext && FInputContextWindow == data->Handle) {
      XSetICValues(FInputContext, XNFocusWindow, FClipboardWindow, nullptr);
      FInputContextWindow = FClipboardWindow;
    }
    XDestroyWindow(FDisplay, data->Handle);
    FByHandle.erase(data->Handle);
    XFlush(FDisplay);
  }
  FWindows.erase(window);
  if (FFocus == window) FFocus = NoWindow;
  if (FHover == window) FHover = NoWindow;
  FEvents.erase(std::remove_if(FEvents.begin(), FEvents.end(),
                               [&](const Event& e) { return e.Window == window; }),
                FEvents.end());
}

void X11Platform::SetWindowBounds(NativeWindow window, const gfx::Rect& bounds) {
  WindowData* data = Find(window);
  if (!data) return;
  data->Bounds = bounds;
  if (!data->Handle) return;
  gfx::Rect native = gfx::Rect::FromSize(bounds.Left, bounds.Top, NativeSide(bounds.Width()),
                                         NativeSide(bounds.Height()));
  // A move loop asks many times before the first answer comes back; the
  // answers to these requests must not read as the system's changes.
  data->PendingBounds.emplace_back(native, Now());
  if (data->PendingBounds.size() > 64) data->PendingBounds.pop_front();
  if (!data->Mapped) SetNormalHints(*data);
  XMoveResizeWindow(FDisplay, data->Handle, native.Left, native.Top, unsigned(native.Width()),
                    unsigned(native.Height()));
  XFlush(FDisplay);
}

void X11Platform::ShowWindow(NativeWindow window, ShowMode mode) {
  WindowData* data = Find(window);
  if (!data || !data->Handle) return;
  if (mode == ShowMode::Hide) {
    if (data->Mapped) {
      // Withdraw, so that the window manager forgets it too (an iconic
      // window is not mapped and would stay in its lists otherwise).
      XWithdrawWindow(FDisplay, data->Handle, FScreen);
      data->Mapped = false;
    }
    if (FFocus == window) SetProgramFocus(NoWindow);
    XFlush(FDisplay);
    return;
  }
  if (data->Kind == WindowKind::Popup) {
    // Override-redirect: mapped on top at once, the focus stays where it is.
    XMapRaised(FDisplay, data->Handle);
    data->Mapped = true;
    XFlush(FDisplay);
    return;
  }
  if (!data->Mapped) {
    SetNormalHints(*data);
    // A user time of 0 asks the window manager not to focus the window
    // when it appears.
    if (mode == ShowMode::ShowNoActivate) {
      SetCardinalProperty(data->Handle, FAtoms.NetWmUserTime, {0});
    } else {
      XDeleteProperty(FDisplay, data->Handle, FAtoms.NetWmUserTime);
    }
    XMapRaised(FDisplay, data->Handle);
    data->Mapped = true;
  }
  if (mode == ShowMode::Show && data->State == WindowState::Normal) {
    RequestActivation(window, *data);
  }
  XFlush(FDisplay);
}

void X11Platform::SetProgramFocus(NativeWindow window) {
  FFocus = window;
  FFocusSettling = true;
  FFocusChangedAt = Now();
}

void X11Platform::RequestActivation(NativeWindow window, WindowData& data) {
  if (data.Kind != WindowKind::Normal) {
    XRaiseWindow(FDisplay, data.Handle);
    return;
  }
  SetProgramFocus(window);
  if (HasWindowManager()) {
    // Source 1: a request of the application itself.
    SendWindowManagerMessage(data.Handle, FAtoms.NetActiveWindow,
                             {1, long(FLastServerTime), 0, 0, 0});
  } else {
    XRaiseWindow(FDisplay, data.Handle);
    XSetInputFocus(FDisplay, data.Handle, RevertToParent, CurrentTime);
  }
}

void X11Platform::SetWindowState(NativeWindow window, WindowState state) {
  WindowData* data = Find(window);
  if (!data) return;
  const bool changed = data->State != state;
  data->State = state;
  if (!data->Handle || !data->Mapped) return;
  if (changed) {
    data->StatePending = true;
    data->StateAskedAt = Now();
  }
  const bool managed = HasWindowManager();
  if (state == WindowState::Minimized) {
    if (FFocus == window) SetProgramFocus(NoWindow);
    // Without a window manager nobody can iconify; unmapping looks the same.
    if (managed) XIconifyWindow(FDisplay, data->Handle, FScreen);
    else XUnmapWindow(FDisplay, data->Handle);
  } else {
    XMapRaised(FDisplay, data->Handle);
    RequestActivation(window, *data);
  }
  XFlush(FDisplay);
}

void X11Platform::SetWindowTitle(NativeWindow window, std::string_view title) {
  WindowData* data = Find(window);
  if (!data || !data->Handle) return;
  std::string text(title);
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.c_str());
  XChangeProperty(FDisplay, data->Handle, FAtoms.NetWmName, FAtoms.Utf8String, 8,
                  PropModeReplace, bytes, int(text.size()));
  XChangeProperty(FDisplay, data->Handle, FAtoms.NetWmIconName, FAtoms.Utf8String, 8,
                  PropModeReplace, bytes, int(text.size()));
  // The old properties for window managers and tools that read only them:
  // STRING when Latin-1 holds the title, COMPOUND_TEXT otherwise.
  XTextProperty property{};
  char* list[] = {text.data()};
  if (Xutf8TextListToTextProperty(FDisplay, list, 1, XStdICCTextStyle, &property) >= Success) {
    XSetWMName(FDisplay, data->Handle, &property);
    XSetWMIconName(FDisplay, data->Handle, &property);
    XFree(property.value);
  } else {
    std::string latin1 = Utf8ToLatin1(text);
    XChangeProperty(FDisplay, data->Handle, XA_WM_NAME, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(latin1.c_str()), int(latin1.size()));
  }
  XFlush(FDisplay);
}

void X11Platform::SetWindowIcon(NativeWindow window, const gfx::Bitmap& icon) {
  WindowData* data = Find(window);
  if (!data || !data->Handle) return;
  if (icon.IsEmpty()) {
    XDeleteProperty(FDisplay, data->Handle, FAtoms.NetWmIcon);
    XFlush(FDisplay);
    return;
  }
  const gfx::Bitmap* source = &icon;
  gfx::Bitmap scaled;
  if (icon.Width() > MaxIconSide || icon.Height() > MaxIconSide) {
    const int longest = std::max(icon.Width(), icon.Height());
    const int width = std::max(1, icon.Width() * MaxIconSide / longest);
    const int height = std::max(1, icon.Height() * MaxIconSide / longest);
    scaled = gfx::Bitmap(width, height);
    gfx::StretchRect(scaled, scaled.Bounds(), icon, icon.Bounds());
    source = &scaled;
  }
  // Width, height, then ARGB pixels; the bitmap has no alpha, so opaque.
  std::vector<long> values;
  values.reserve(2 + std::size_t(source->Width()) * std::size_t(source->Height()));
  values.push_back(source->Width());
  values.push_back(source->Height());
  for (int y = 0; y < source->Height(); ++y) {
    const gfx::Pixel* row = source->Row(y);
    for (int x = 0; x < source->Width(); ++x) values.push_back(long(0xFF000000u | (row[x] & 0xFFFFFFu)));
  }
  SetCardinalProperty(data->Handle, FAtoms.NetWmIcon, values);
  XFlush(FDisplay);
}

void X11Platform::SetWindowShape(NativeWindow window, const gfx::Region* shape) {
  WindowData* data = Find(window);
  if (!data || !data->Handle || !FHasShape) return;
  if (!shape) {
    XShapeCombineMask(FDisplay, data->Handle, ShapeBounding, 0, 0, XNone, ShapeSet);
  } else {
    std::vector<XRectangle> rectangles;
    for (const gfx::Rect& r : shape->Rects()) {
      // The protocol's rectangles are 16-bit; windows are far smaller.
      gfx::Rect clipped = r.Intersect(gfx::Rect{-32768, -32768, 32767, 32767});
      if (clipped.IsEmpty()) continue;
      rectangles.push_back(XRectangle{short(clipped.Left), short(clipped.Top),
                                      static_cast<unsigned short>(clipped.Width()),
                                      static_cast<unsigned short>(clipped.Height())});
    }
    // The region's rectangles are banded, which the server can use as is.
    XShapeCombineRectangles(FDisplay, data->Handle, ShapeBounding, 0, 0, rectangles.data(),
                            int(rectangles.size()), ShapeSet, YXBanded);
  }
  XFlush(FDisplay);
}

void X11Platform::SetWindowOpacity(NativeWindow window, std::uint8_t opacity) {
  WindowData* data = Find(window);
  if (!data || !data->Handle) return;
  if (opacity == 255) {
    XDeleteProperty(FDisplay, data->Handle, FAtoms.NetWmWindowOpacity);
  } else {
    // The property's scale: 0xFFFFFFFF is opaque.
    const std::uint64_t value = (std::uint64_t(0xFFFFFFFF) * opacity) / 255;
    SetCardinalProperty(data->Handle, FAtoms.NetWmWindowOpacity, {long(value)});
  }
  XFlush(FDisplay);
}

void X11Platform::PresentWindow(NativeWindow window, const gfx::Bitmap& surface,
                                const gfx::Rect& dirty) {
  WindowData* data = Find(window);
  if (!data || !data->Handle) return;
  const gfx::Rect area = dirty.Intersect(surface.Bounds());
  if (area.IsEmpty()) return;
  if (!FFormat.MatchesBitmap()) {
    PresentConverted(data->Handle, surface, area);
    return;
  }
  // The bitmap's rows are the image; XPutImage sends the dirty rectangle
  // of it and nothing more.
  XImage image{};
  image.width = surface.Width();
  image.height = surface.Height();
  image.format = ZPixmap;
  image.data = reinterpret_cast<char*>(const_cast<gfx::Pixel*>(surface.Data()));
  image.byte_order = FFormat.MostSignificantFirst ? MSBFirst : LSBFirst;
  image.bitmap_unit = 32;
  image.bitmap_bit_order = image.byte_order;
  image.bitmap_pad = 32;
  image.depth = FDepth;
  image.bytes_per_line = int(surface.Stride());
  image.bits_per_pixel = 32;
  image.red_mask = FFormat.RedMask;
  image.green_mask = FFormat.GreenMask;
  image.blue_mask = FFormat.BlueMask;
  XInitImage(&image);
  XPutImage(FDisplay, data->Handle, FGc, &image, area.Left, area.Top, area.Left, area.Top,
            unsigned(area.Width()), unsigned(area.Height()));
  XFlush(FDisplay);
}

// The server wants another layout (another depth, channel order or byte
// order): the dirty rectangle is packed into it row by row first.
void X11Platform::PresentConverted(XId handle, const gfx::Bitmap& surface, const gfx::Rect& area) {
  const int width = area.Width();
  const int height = area.Height();
  const int bytesPerLine = ((width * FFormat.BitsPerPixel + 31) / 32) * 4;
  FConversion.assign(std::size_t(bytesPerLine) * std::size_t(height), 0);
  for (int y = 0; y < height; ++y) {
    PackPixels(FFormat, surface.Row(area.Top + y) + area.Left, width,
               FConversion.data() + std::size_t(y) * std::size_t(bytesPerLine));
  }
  XImage image{};
  image.width = width;
  image.height = height;
  image.format = ZPixmap;
  image.data = reinterpret_cast<char*>(FConversion.data());
  image.byte_order = FFormat.MostSignificantFirst ? MSBFirst : LSBFirst;
  image.bitmap_unit = 32;
  image.bitmap_bit_order = image.byte_order;
  image.bitmap_pad = 32;
  image.depth = FDepth;
  image.bytes_per_line = bytesPerLine;
  image.bits_per_pixel = FFormat.BitsPerPixel;
  image.red_mask = FFormat.RedMask;
  image.green_mask = FFormat.GreenMask;
  image.blue_mask = FFormat.BlueMask;
  XInitImage(&image);
  XPutImage(FDisplay, handle, FGc, &image, 0, 0, area.Left, area.Top, unsigned(width),
            unsigned(height));
  XFlush(FDisplay);
}

void X11Platform::ActivateWindow(NativeWindow window) {
  WindowData* data = Find(window);
  if (!data || !data->Handle || !data->Mapped) return;
  if (data->Kind == WindowKind::Popup) {
    XRaiseWindow(FDisplay, data->Handle);
  } else {
    RequestActivation(window, *data);
  }
  XFlush(FDisplay);
}

void X11Platform::RaiseWindow(NativeWindow window) {
  WindowData* data = Find(window);
  if (!data || !data->Handle) return;
  // A plain restack request: the window manager raises the frame and
  // leaves the input focus where it is (no activation message).
  XRaiseWindow(FDisplay, data->Handle);
  if (data->Kind != WindowKind::Popup) {
    // Our popups (menus, hints) stay above the window just raised.
    for (const auto& [id, other] : FWindows) {
      if (other.Kind == WindowKind::Popup && other.Handle && other.Mapped) XRaiseWindow(FDisplay, other.Handle);
    }
  }
  XFlush(FDisplay);
}

void X11Platform::LowerWindow(NativeWindow window) {
  WindowData* data = Find(window);
  if (!data || !data->Handle) return;
  XLowerWindow(FDisplay, data->Handle);
  XFlush(FDisplay);
}

void X11Platform::SetWindowTopmost(NativeWindow window, bool topmost) {
  WindowData* data = Find(window);
  // Popups are override-redirect windows, above the managed ones anyway.
  if (!data || !data->Handle || data->Kind == WindowKind::Popup) return;
  if (data->Mapped && HasWindowManager()) {
    // _NET_WM_STATE: action 1 adds, 0 removes; source 1 is an application.
    SendWindowManagerMessage(data->Handle, FAtoms.NetWmState,
                             {topmost ? 1 : 0, long(FAtoms.NetWmStateAbove), 0, 1, 0});
  } else if (topmost) {
    // Read by the window manager when the window is mapped.
    long above = long(FAtoms.NetWmStateAbove);
    XChangeProperty(FDisplay, data->Handle, FAtoms.NetWmState, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&above), 1);
  } else {
    XDeleteProperty(FDisplay, data->Handle, FAtoms.NetWmState);
  }
  XFlush(FDisplay);
}

void X11Platform::GrabPointer(NativeWindow window) {
  WindowData* data = Find(window);
  if (!data || !data->Handle) return;
  // owner_events off: every pointer event goes to the grabbing window, in
  // its coordinates, even over our other windows.
  const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                        EnterWindowMask | LeaveWindowMask;
  if (XGrabPointer(FDisplay, data->Handle, False, mask, GrabModeAsync, GrabModeAsync, XNone,
                   XNone, CurrentTime) == GrabSuccess) {
    FGrab = window;
  }
  XFlush(FDisplay);
}

void X11Platform::ReleasePointer() {
  if (FGrab == NoWindow) return;
  XUngrabPointer(FDisplay, CurrentTime);
  FGrab = NoWindow;
  XFlush(FDisplay);
}

void X11Platform::SetWindowCursor(NativeWindow window, CursorShape shape) {
  WindowData* data = Find(window);
  if (!data || !data->Handle) return;
  XDefineCursor(FDisplay, data->Handle, CursorOf(shape));
  XFlush(FDisplay);
}

}  // namespace platform::x11
