#include "platform/x11/XlibHeaders.h"

#include "platform/x11/NotifyIconXEmbed.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gfx/Canvas.h"
#include "platform/NotifyIcon.h"

namespace platform::x11 {
namespace {

constexpr long SystemTrayRequestDock = 0;
constexpr long EmbedMapped = 1;

// Painted where the icon leaves room (these trays offer no transparency).
constexpr gfx::Pixel BlankPixel = gfx::MakePixel(0xD4, 0xD0, 0xC8);
// The classic tooltip: pale yellow, black text and frame.
constexpr gfx::Color TooltipBackground = 0x00E1FFFF;
constexpr gfx::Color TooltipText = 0x00000000;
constexpr int TooltipPadding = 4;
// Distance of the tooltip from the pointer.
constexpr int TooltipOffset = 20;
// Two presses count as a double click within this many pixels.
constexpr int DoubleClickSlack = 2;

struct ButtonCodes {
  std::uint32_t Down, Up, DoubleClick;
};

bool CodesOf(unsigned button, ButtonCodes& codes) {
  switch (button) {
    case Button1: codes = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK}; return true;
    case Button2: codes = {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}; return true;
    case Button3: codes = {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK}; return true;
    default: return false;  // the wheel and extra buttons have no notice
  }
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    std::string line = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    if (end == std::string::npos) return lines;
    start = end + 1;
  }
}

}  // namespace

NotifyIconXEmbed::NotifyIconXEmbed(const XEmbedContext& context, NoticeHandler onNotice)
    : FContext(context), FOnNotice(std::move(onNotice)) {
  Display* display = FContext.Display;
  XSetWindowAttributes attributes{};
  attributes.background_pixel = BlankPixel;
  attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | EnterWindowMask |
                          LeaveWindowMask | PointerMotionMask | StructureNotifyMask;
  FWindow = XCreateWindow(display, FContext.Root, 0, 0, IconSide, IconSide, 0, CopyFromParent,
                          InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
  // The tray maps the window itself once it has taken it.
  const long info[2] = {0, EmbedMapped};
  XChangeProperty(display, FWindow, FContext.EmbedInfoAtom, FContext.EmbedInfoAtom, 32,
                  PropModeReplace, reinterpret_cast<const unsigned char*>(info), 2);
  // Without a minimum size the tray's socket gives the icon one pixel of
  // width.
  XSizeHints hints{};
  hints.flags = PMinSize | PBaseSize;
  hints.min_width = hints.base_width = IconSide;
  hints.min_height = hints.base_height = IconSide;
  XSetWMNormalHints(display, FWindow, &hints);
  XStoreName(display, FWindow, "Ostvane");
}

NotifyIconXEmbed::~NotifyIconXEmbed() {
  // The tray sees the window go and frees its place.
  if (FTooltip) XDestroyWindow(FContext.Display, FTooltip);
  XDestroyWindow(FContext.Display, FWindow);
  XFlush(FContext.Display);
}

void NotifyIconXEmbed::Dock(XId trayOwner) {
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = trayOwner;
  message.xclient.message_type = FContext.TrayOpcodeAtom;
  message.xclient.format = 32;
  message.xclient.data.l[0] = CurrentTime;
  message.xclient.data.l[1] = SystemTrayRequestDock;
  message.xclient.data.l[2] = long(FWindow);
  XSendEvent(FContext.Display, trayOwner, False, NoEventMask, &message);
  XFlush(FContext.Display);
}

void NotifyIconXEmbed::SetIcon(const gfx::Bitmap& icon) {
  FIcon = icon;
  Paint();
}

void NotifyIconXEmbed::SetTip(const std::string& tip) {
  FTip = tip;
  if (!FTooltipShown) return;
  if (FTip.empty()) {
    HideTooltip();
    return;
  }
  // Shown while the text changes: redrawn at its place.
  ::Window root = 0;
  ::Window child = 0;
  int rootX = 0, rootY = 0, x = 0, y = 0;
  unsigned mask = 0;
  XQueryPointer(FContext.Display, FContext.Root, &root, &child, &rootX, &rootY, &x, &y, &mask);
  ShowTooltip(gfx::Point{rootX, rootY});
}

bool NotifyIconXEmbed::Handle(XEvent& event) {
  if (event.xany.window == FTooltip && FTooltip) {
    if (event.type == EventExpose && event.xexpose.count == 0) PaintTooltip();
    return true;
  }
  if (event.xany.window != FWindow) return false;
  switch (event.type) {
    case EventExpose:
      if (event.xexpose.count == 0) Paint();
      break;
    case ConfigureNotify:
      FSize = gfx::Size{event.xconfigure.width, event.xconfigure.height};
      break;
    case ReparentNotify:
      FDocked = event.xreparent.parent != FContext.Root;
      // A tray that goes away hands its icons back to the root, mapped.
      if (!FDocked) XUnmapWindow(FContext.Display, FWindow);
      break;
    case EnterNotify:
      ShowTooltip(gfx::Point{event.xcrossing.x_root, event.xcrossing.y_root});
      if (FOnNotice) FOnNotice(WM_MOUSEMOVE, gfx::Point{event.xcrossing.x_root, event.xcrossing.y_root});
      break;
    case LeaveNotify:
      HideTooltip();
      break;
    case MotionNotify:
      if (FOnNotice) FOnNotice(WM_MOUSEMOVE, gfx::Point{event.xmotion.x_root, event.xmotion.y_root});
      break;
    case ButtonPress:
      HideTooltip();
      Button(event, true);
      break;
    case ButtonRelease:
      Button(event, false);
      break;
    default:
      break;
  }
  return true;
}

// The classic area reports the second press of a double click as a
// double click instead of a press, so a double click is down, up, double
// click, up.
void NotifyIconXEmbed::Button(const XEvent& event, bool pressed) {
  const XButtonEvent& button = event.xbutton;
  ButtonCodes codes{};
  if (!CodesOf(button.button, codes) || !FOnNotice) return;
  const gfx::Point point{button.x_root, button.y_root};
  if (!pressed) {
    FOnNotice(codes.Up, point);
    return;
  }
  const bool doubleClick = button.button == FLastButton &&
                           button.time - FLastPressTime <= static_cast<unsigned long>(FContext.DoubleClickTime) &&
                           std::abs(point.X - FLastPressPoint.X) <= DoubleClickSlack &&
                           std::abs(point.Y - FLastPressPoint.Y) <= DoubleClickSlack;
  if (doubleClick) {
    // A third press starts over.
    FLastButton = 0;
    FOnNotice(codes.DoubleClick, point);
    return;
  }
  FLastButton = button.button;
  FLastPressTime = button.time;
  FLastPressPoint = point;
  FOnNotice(codes.Down, point);
}

void NotifyIconXEmbed::Paint() {
  if (FSize.Width <= 0 || FSize.Height <= 0) return;
  gfx::Bitmap surface(FSize.Width, FSize.Height);
  surface.Fill(BlankPixel);
  if (!FIcon.IsEmpty()) {
    // The largest square that fits, centred; the picture is stretched into
    // it by nearest neighbour.
    const int side = std::min(FSize.Width, FSize.Height);
    const gfx::Rect target = gfx::Rect::FromSize((FSize.Width - side) / 2, (FSize.Height - side) / 2,
                                                 side, side);
    gfx::StretchRect(surface, target, FIcon, FIcon.Bounds());
  }
  PutBitmap(FWindow, surface);
}

void NotifyIconXEmbed::ShowTooltip(gfx::Point pointer) {
  if (FTip.empty()) return;
  const std::vector<std::string> lines = Lines(FTip);
  // Measured on a scratch canvas, then drawn on one of the right size.
  gfx::Bitmap scratch(1, 1);
  gfx::Canvas measure(scratch);
  int width = 0;
  int lineHeight = measure.TextMetrics().Height;
  for (const std::string& line : lines) width = std::max(width, measure.TextWidth(line));
  width += 2 * TooltipPadding;
  const int height = lineHeight * int(lines.size()) + 2 * TooltipPadding;

  FTooltipPicture = gfx::Bitmap(width, height);
  gfx::Canvas canvas(FTooltipPicture);
  canvas.SetBrush(TooltipBackground);
  canvas.SetPen(TooltipText);
  canvas.Rectangle(FTooltipPicture.Bounds());
  canvas.SetBrush(TooltipBackground, gfx::BrushStyle::Clear);
  gfx::Font font = canvas.Font();
  font.Color = TooltipText;
  canvas.SetFont(font);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    canvas.TextOut(TooltipPadding, TooltipPadding + int(i) * lineHeight, lines[i]);
  }

  // Below the pointer, or above it when the tray sits at the bottom.
  const int screenWidth = DisplayWidth(FContext.Display, FContext.Screen);
  const int screenHeight = DisplayHeight(FContext.Display, FContext.Screen);
  int x = std::clamp(pointer.X - width / 2, 0, std::max(0, screenWidth - width));
  int y = pointer.Y + TooltipOffset;
  if (y + height > screenHeight) y = std::max(0, pointer.Y - TooltipOffset - height);

  Display* display = FContext.Display;
  if (!FTooltip) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.save_under = True;
    attributes.event_mask = ExposureMask;
    attributes.background_pixel = 0xFFFFE1;
    FTooltip = XCreateWindow(display, FContext.Root, x, y, unsigned(width), unsigned(height), 0,
                             CopyFromParent, InputOutput, CopyFromParent,
                             CWOverrideRedirect | CWSaveUnder | CWEventMask | CWBackPixel,
                             &attributes);
    const long type = long(FContext.TooltipTypeAtom);
    XChangeProperty(display, FTooltip, FContext.WindowTypeAtom, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&type), 1);
  } else {
    XMoveResizeWindow(display, FTooltip, x, y, unsigned(width), unsigned(height));
  }
  XMapRaised(display, FTooltip);
  FTooltipShown = true;
  PaintTooltip();
}

void NotifyIconXEmbed::HideTooltip() {
  if (!FTooltipShown) return;
  XUnmapWindow(FContext.Display, FTooltip);
  XFlush(FContext.Display);
  FTooltipShown = false;
}

void NotifyIconXEmbed::PaintTooltip() {
  if (FTooltipShown && !FTooltipPicture.IsEmpty()) PutBitmap(FTooltip, FTooltipPicture);
}

void NotifyIconXEmbed::PutBitmap(XId window, const gfx::Bitmap& picture) {
  // The pictures are small: always packed into the server's layout.
  const PixelFormat& format = FContext.Format;
  const int width = picture.Width();
  const int height = picture.Height();
  const int bytesPerLine = ((width * format.BitsPerPixel + 31) / 32) * 4;
  std::vector<std::uint8_t> rows(std::size_t(bytesPerLine) * std::size_t(height), 0);
  for (int y = 0; y < height; ++y) {
    PackPixels(format, picture.Row(y), width, rows.data() + std::size_t(y) * std::size_t(bytesPerLine));
  }
  XImage image{};
  image.width = width;
  image.height = height;
  image.format = ZPixmap;
  image.data = reinterpret_cast<char*>(rows.data());
  image.byte_order = format.MostSignificantFirst ? MSBFirst : LSBFirst;
  image.bitmap_unit = 32;
  image.bitmap_bit_order = image.byte_order;
  image.bitmap_pad = 32;
  image.depth = FContext.Depth;
  image.bytes_per_line = bytesPerLine;
  image.bits_per_pixel = format.BitsPerPixel;
  image.red_mask = format.RedMask;
  image.green_mask = format.GreenMask;
  image.blue_mask = format.BlueMask;
  XInitImage(&image);
  XPutImage(FContext.Display, window, FContext.Gc, &image, 0, 0, 0, 0, unsigned(width),
            unsigned(height));
  XFlush(FContext.Display);
}

}  // namespace platform::x11
