// ostvane-windemo: a window with rounded corners that draws every pixel
// itself, on the window system and whatever platform backend is linked in
// (the X11 one on a desktop; OSTVANE_PLATFORM=headless picks the other).
//
//   ostvane-windemo [--seconds N]
//
// Drag it by its blue band. The button-like child lights up under the
// pointer and darkens while pressed; a click counts. The clock runs on a
// one-second timer. A right click opens a small popup menu, which closes on
// a click elsewhere or Escape. --seconds ends the demo by itself (for
// scripted screenshots).

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <cstring>
#include <ctime>
#include <string>

#include "gfx/Canvas.h"
#include "gfx/TextFormat.h"
#include "platform/PlatformFactory.h"
#include "tools/DemoOptions.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/Timers.h"
#include "ui/windowing/WindowSystem.h"
#include "ui/windowing/Windows.h"

namespace {

using namespace ui;

constexpr int FormWidth = 360;
constexpr int FormHeight = 220;
constexpr int BandHeight = 34;
constexpr int CornerRadius = 16;
constexpr gfx::Rect ButtonBounds{120, 150, 240, 186};
constexpr gfx::Rect ClockArea{20, 50, 340, 110};
constexpr UINT_PTR ClockTimer = 1;
constexpr UINT_PTR QuitTimer = 2;
constexpr int MenuItemHeight = 24;
constexpr int MenuWidth = 190;
const char* const MenuItems[] = {"重置计数 Reset count", "闪烁 Beep", "退出 Quit"};
constexpr int MenuItemCount = 3;

constexpr gfx::Color Paper = gfx::MakeColor(0xF4, 0xF1, 0xE8);
constexpr gfx::Color Band = gfx::MakeColor(0x2F, 0x5D, 0x8A);
constexpr gfx::Color Ink = gfx::MakeColor(0x20, 0x20, 0x28);
constexpr gfx::Color White = gfx::MakeColor(0xFF, 0xFF, 0xFF);
constexpr gfx::Color ButtonNormal = gfx::MakeColor(0x4A, 0x7B, 0xD0);
constexpr gfx::Color ButtonHot = gfx::MakeColor(0x6A, 0x9B, 0xF0);
constexpr gfx::Color ButtonPressed = gfx::MakeColor(0x2A, 0x4B, 0x90);
constexpr gfx::Color MenuFace = gfx::MakeColor(0xFF, 0xFD, 0xF5);
constexpr gfx::Color MenuHot = gfx::MakeColor(0xD8, 0xE6, 0xF8);
constexpr gfx::Color Frame = gfx::MakeColor(0x60, 0x60, 0x68);

// What the demo shows; one instance, reached by the window procedures.
struct DemoState {
  HWND Form = nullptr;
  HWND Button = nullptr;
  HWND Menu = nullptr;
  bool ButtonHotNow = false;
  bool ButtonPressedNow = false;
  int Clicks = 0;
  int Seconds = 0;
  int MenuHotItem = -1;
  bool ClosingMenu = false;
};

DemoState Demo;

gfx::Font MakeFont(int height, gfx::FontStyle style, gfx::Color color) {
  gfx::Font font;
  font.Name = "Arial";
  font.Height = height;
  font.Style = style;
  font.Color = color;
  return font;
}

// A rectangle with quarter circles cut off its corners, row by row.
gfx::Region RoundedRegion(int width, int height, int radius) {
  std::vector<gfx::Rect> rows;
  for (int y = 0; y < height; ++y) {
    int inset = 0;
    const int fromEdge = std::min(y, height - 1 - y);
    if (fromEdge < radius) {
      const double dy = radius - fromEdge - 0.5;
      inset = int(std::lround(radius - std::sqrt(double(radius) * radius - dy * dy)));
    }
    rows.push_back(gfx::Rect{inset, y, width - inset, y + 1});
  }
  return gfx::Region::FromRects(rows);
}

void DrawCentered(gfx::Canvas& canvas, const gfx::Rect& area, const std::string& text) {
  gfx::Rect box = area;
  canvas.SetBrush(0, gfx::BrushStyle::Clear);
  canvas.DrawText(text, box, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
}

// ---- The popup menu ----

void CloseMenu() {
  if (!Demo.Menu || Demo.ClosingMenu) return;
  Demo.ClosingMenu = true;
  HWND menu = Demo.Menu;
  Demo.Menu = nullptr;
  DestroyWindow(menu);
  Demo.ClosingMenu = false;
}

void ChooseMenuItem(int item) {
  CloseMenu();
  switch (item) {
    case 0:
      Demo.Clicks = 0;
      Demo.Seconds = 0;
      InvalidateRect(Demo.Form, nullptr, false);
      InvalidateRect(Demo.Button, nullptr, false);
      break;
    case 1:
      MessageBeep(0);
      break;
    case 2:
      PostMessage(Demo.Form, WM_CLOSE);
      break;
    default:
      break;
  }
}

int MenuItemAt(gfx::Point client) {
  if (client.X < 0 || client.X >= MenuWidth || client.Y < 4) return -1;
  const int item = (client.Y - 4) / MenuItemHeight;
  return item < MenuItemCount ? item : -1;
}

// The menu holds the capture while it is open, so a click anywhere comes
// here: inside it chooses, outside it closes.
LRESULT MenuProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintStruct paint;
      HDC dc = BeginPaint(window, paint);
      gfx::Canvas& canvas = CanvasOf(dc);
      gfx::Rect client;
      GetClientRect(window, client);
      canvas.SetBrush(MenuFace);
      canvas.FillRect(client);
      canvas.FrameRect(client, Frame);
      canvas.SetFont(MakeFont(-13, gfx::FontStyle::None, Ink));
      for (int i = 0; i < MenuItemCount; ++i) {
        const gfx::Rect row{2, 4 + i * MenuItemHeight, MenuWidth - 2, 4 + (i + 1) * MenuItemHeight};
        if (i == Demo.MenuHotItem) {
          canvas.SetBrush(MenuHot);
          canvas.FillRect(row);
        }
        gfx::Rect text = row.Inflate(-10, 0);
        canvas.SetBrush(0, gfx::BrushStyle::Clear);
        canvas.DrawText(MenuItems[i], text, gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
      }
      EndPaint(window, paint);
      return 0;
    }
    case WM_MOUSEMOVE: {
      const int item = MenuItemAt(PointFromLParam(lParam));
      if (item != Demo.MenuHotItem) {
        Demo.MenuHotItem = item;
        InvalidateRect(window, nullptr, false);
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      if (MenuItemAt(PointFromLParam(lParam)) < 0) CloseMenu();
      return 0;
    case WM_LBUTTONUP: {
      const int item = MenuItemAt(PointFromLParam(lParam));
      if (item >= 0) ChooseMenuItem(item);
      return 0;
    }
    case WM_CAPTURECHANGED:
      // Someone else took the mouse (the window manager, another capture).
      if (HandleFromParam(std::uintptr_t(lParam)) != window) CloseMenu();
      return 0;
    default:
      return DefWindowProc(window, message, wParam, lParam);
  }
}

void OpenMenu(gfx::Point screen) {
  CloseMenu();
  Demo.MenuHotItem = -1;
  const int height = 8 + MenuItemCount * MenuItemHeight;
  Demo.Menu = CreateWindowEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, "DemoMenu", "", WS_POPUP,
                             screen.X, screen.Y, MenuWidth, height, Demo.Form);
  if (!Demo.Menu) return;
  ShowWindow(Demo.Menu, SW_SHOWNOACTIVATE);
  SetCapture(Demo.Menu);
}

// ---- The button-like child ----

// Hot follows the pointer over the button; pressed lasts from the press
// until the release or the loss of the capture; a release inside a
// pressed button is a click.
LRESULT ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintStruct paint;
      HDC dc = BeginPaint(window, paint);
      gfx::Canvas& canvas = CanvasOf(dc);
      gfx::Rect client;
      GetClientRect(window, client);
      const gfx::Color face = Demo.ButtonPressedNow ? ButtonPressed
                              : Demo.ButtonHotNow   ? ButtonHot
                                                    : ButtonNormal;
      canvas.SetBrush(face);
      canvas.FillRect(client);
      canvas.FrameRect(client, Band);
      canvas.SetFont(MakeFont(-13, gfx::FontStyle::Bold, White));
      gfx::Rect text = Demo.ButtonPressedNow ? client.Offset(1, 1) : client;
      DrawCentered(canvas, text, "点击 Click: " + std::to_string(Demo.Clicks));
      EndPaint(window, paint);
      return 0;
    }
    case WM_MOUSEMOVE: {
      gfx::Rect client;
      GetClientRect(window, client);
      const bool inside = client.Contains(PointFromLParam(lParam));
      if (inside && !Demo.ButtonHotNow) {
        TrackMouseEventInfo tracking;
        tracking.Flags = TME_LEAVE;
        tracking.Window = window;
        TrackMouseEvent(tracking);
      }
      if (inside != Demo.ButtonHotNow) {
        Demo.ButtonHotNow = inside;
        InvalidateRect(window, nullptr, false);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (GetCapture() != window) {
        Demo.ButtonHotNow = false;
        InvalidateRect(window, nullptr, false);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      Demo.ButtonPressedNow = true;
      SetCapture(window);
      InvalidateRect(window, nullptr, false);
      return 0;
    case WM_LBUTTONUP: {
      if (!Demo.ButtonPressedNow) return 0;
      gfx::Rect client;
      GetClientRect(window, client);
      Demo.ButtonPressedNow = false;
      ReleaseCapture();
      if (client.Contains(PointFromLParam(lParam))) ++Demo.Clicks;
      InvalidateRect(window, nullptr, false);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (Demo.ButtonPressedNow) {
        Demo.ButtonPressedNow = false;
        InvalidateRect(window, nullptr, false);
      }
      return 0;
    case WM_RBUTTONUP: {
      gfx::Point point = PointFromLParam(lParam);
      ClientToScreen(window, point);
      OpenMenu(point);
      return 0;
    }
    default:
      return DefWindowProc(window, message, wParam, lParam);
  }
}

// ---- The form ----

std::string ClockText() {
  const std::time_t now = std::time(nullptr);
  char text[32];
  std::strftime(text, sizeof text, "%H:%M:%S", std::localtime(&now));
  return text;
}

void PaintForm(HWND window) {
  PaintStruct paint;
  HDC dc = BeginPaint(window, paint);
  gfx::Canvas& canvas = CanvasOf(dc);
  canvas.SetBrush(Paper);
  canvas.FillRect(gfx::Rect{0, 0, FormWidth, FormHeight});
  canvas.SetBrush(Band);
  canvas.FillRect(gfx::Rect{0, 0, FormWidth, BandHeight});
  canvas.SetFont(MakeFont(-14, gfx::FontStyle::Bold, White));
  DrawCentered(canvas, gfx::Rect{0, 0, FormWidth, BandHeight}, "Ostvane 窗口演示");

  canvas.SetFont(MakeFont(-28, gfx::FontStyle::Bold, Ink));
  DrawCentered(canvas, gfx::Rect{ClockArea.Left, ClockArea.Top, ClockArea.Right, ClockArea.Top + 36},
               ClockText());
  canvas.SetFont(MakeFont(-12, gfx::FontStyle::None, Frame));
  DrawCentered(canvas, gfx::Rect{ClockArea.Left, ClockArea.Top + 36, ClockArea.Right, ClockArea.Bottom},
               "已运行 " + std::to_string(Demo.Seconds) + " 秒 · running " +
                   std::to_string(Demo.Seconds) + " s");
  DrawCentered(canvas, gfx::Rect{0, 118, FormWidth, 140}, "右键打开菜单 · right-click for a menu");
  EndPaint(window, paint);
}

LRESULT FormProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintForm(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_NCHITTEST: {
      // The band moves the window (the window system's own move loop).
      gfx::Point point = PointFromLParam(lParam);
      ScreenToClient(window, point);
      if (point.Y >= 0 && point.Y < BandHeight) return HTCAPTION;
      return HTCLIENT;
    }
    case WM_TIMER:
      if (wParam == ClockTimer) {
        ++Demo.Seconds;
        InvalidateRect(window, &ClockArea, false);
      } else if (wParam == QuitTimer) {
        PostMessage(window, WM_CLOSE);
      }
      return 0;
    case WM_RBUTTONUP: {
      gfx::Point point = PointFromLParam(lParam);
      ClientToScreen(window, point);
      OpenMenu(point);
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == WPARAM(platform::VK_ESCAPE)) CloseMenu();
      return 0;
    case WM_ACTIVATE:
      if (LoWord(wParam) == WA_INACTIVE) CloseMenu();
      return DefWindowProc(window, message, wParam, lParam);
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProc(window, message, wParam, lParam);
  }
}

bool Register(const char* name, LRESULT (*procedure)(HWND, UINT, WPARAM, LPARAM), UINT style) {
  WindowClass windowClass;
  windowClass.Name = name;
  windowClass.Procedure = MakeWindowProc(procedure);
  windowClass.Style = style;
  return RegisterClass(windowClass);
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<int> parsed = tools::ParseSecondsOption(argc, argv);
  if (!parsed) return 2;
  const int seconds = *parsed;
  std::unique_ptr<platform::Platform> backend = platform::CreatePlatformOrReport("ostvane-windemo");
  if (!backend) return 1;
  WindowSystem system(std::move(backend));
  Register("DemoForm", FormProcedure, 0);
  Register("DemoButton", ButtonProcedure, CS_DBLCLKS);
  Register("DemoMenu", MenuProcedure, 0);

  // In the middle of the primary monitor's work area.
  const platform::Monitor monitor = system.Platform().Monitors().front();
  const int x = monitor.WorkArea.Left + (monitor.WorkArea.Width() - FormWidth) / 2;
  const int y = monitor.WorkArea.Top + (monitor.WorkArea.Height() - FormHeight) / 2;
  Demo.Form = CreateWindowEx(0, "DemoForm", "Ostvane 窗口演示", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
                             x, y, FormWidth, FormHeight, nullptr);
  Demo.Button = CreateWindowEx(0, "DemoButton", "", WS_CHILD | WS_VISIBLE, ButtonBounds.Left,
                               ButtonBounds.Top, ButtonBounds.Width(), ButtonBounds.Height(),
                               Demo.Form);
  if (!Demo.Form || !Demo.Button) {
    std::fprintf(stderr, "ostvane-windemo: cannot create the window\n");
    return 1;
  }
  SetWindowRgn(Demo.Form, RoundedRegion(FormWidth, FormHeight, CornerRadius), false);
  SetTimer(Demo.Form, ClockTimer, 1000);
  if (seconds > 0) SetTimer(Demo.Form, QuitTimer, UINT(seconds) * 1000);
  ShowWindow(Demo.Form, SW_SHOW);
  return RunMessageLoop();
}
