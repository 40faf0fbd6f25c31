#include "ui/windowing/ModalLoops.h"

#include <algorithm>

#include "ui/windowing/DefaultFrame.h"
#include "ui/windowing/Desktop.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/ScreenUtils.h"
#include "ui/windowing/Windows.h"

namespace ui {

bool NextModalMessage(TMsg& message, const std::function<bool()>& ended) {
  for (;;) {
    if (ended()) return false;
    // Reading the platform's events may change the activation on its way
    // to the next message: look again before taking it (a message left
    // queued goes to the program's loop) or waiting.
    bool waiting = PeekMessage(message, nullptr, 0, 0, PM_NOREMOVE);
    if (ended()) return false;
    if (!waiting) {
      WaitMessage();
      continue;
    }
    PeekMessage(message, nullptr, 0, 0, PM_REMOVE);
    if (message.Message == WM_QUIT) {
      // The quit belongs to the loop that ends the program.
      PostQuitMessage(int(message.WParam));
      return false;
    }
    return true;
  }
}

bool IsMouseMessage(UINT message) {
  return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
         (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool BeginSizeMove(HWND window, gfx::Rect& original, MinMaxInfo& limits) {
  Desktop& desktop = CurrentDesktop();
  desktop.Send(window, WM_ENTERSIZEMOVE, 0, 0);
  Window* w = desktop.Find(window);
  if (!w) return false;
  original = Desktop::ScreenBounds(w);
  limits = MinMaxInfo{};
  limits.MinTrackSize = gfx::Point{1, 1};
  gfx::Rect screen = GetVirtualScreen();
  limits.MaxTrackSize = gfx::Point{screen.Width() + 16, screen.Height() + 16};
  if (DefaultFrameMetrics frame = GetDefaultFrameMetrics(w->Style, w->ExStyle); frame.Caption) {
    limits.MinTrackSize = gfx::Point{112, frame.Caption + 2 * (frame.Border + frame.Edge)};
  }
  desktop.Send(window, WM_GETMINMAXINFO, 0, ToLParam(&limits));
  if (!desktop.Find(window)) return false;
  SetCapture(window);
  return true;
}

void EndSizeMove(HWND window) {
  Desktop& desktop = CurrentDesktop();
  if (desktop.Find(window) && GetCapture() == window) ReleaseCapture();
  if (desktop.Find(window)) desktop.Send(window, WM_EXITSIZEMOVE, 0, 0);
}

gfx::Rect SizedRect(const gfx::Rect& start, WPARAM edge, int dx, int dy, const MinMaxInfo& limits) {
  gfx::Rect r = start;
  bool left = edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT;
  bool right = edge == WMSZ_RIGHT || edge == WMSZ_TOPRIGHT || edge == WMSZ_BOTTOMRIGHT;
  bool top = edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT;
  bool bottom = edge == WMSZ_BOTTOM || edge == WMSZ_BOTTOMLEFT || edge == WMSZ_BOTTOMRIGHT;
  if (left) r.Left += dx;
  if (right) r.Right += dx;
  if (top) r.Top += dy;
  if (bottom) r.Bottom += dy;
  int width = std::clamp(r.Width(), limits.MinTrackSize.X, std::max(limits.MinTrackSize.X, limits.MaxTrackSize.X));
  int height = std::clamp(r.Height(), limits.MinTrackSize.Y, std::max(limits.MinTrackSize.Y, limits.MaxTrackSize.Y));
  if (left) r.Left = r.Right - width;
  else r.Right = r.Left + width;
  if (top) r.Top = r.Bottom - height;
  else r.Bottom = r.Top + height;
  return r;
}

void PlaceWindowAt(HWND window, const gfx::Rect& screen) {
  gfx::Point topLeft = screen.TopLeft();
  if (HWND parent = GetAncestor(window, GA_PARENT)) ScreenToClient(parent, topLeft);
  SetWindowPos(window, nullptr, topLeft.X, topLeft.Y, screen.Width(), screen.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void RunSizeMoveLoop(HWND window, WPARAM command, gfx::Point start) {
  Desktop& desktop = CurrentDesktop();
  Window* w = desktop.Find(window);
  if (!w || (w->Style & (WS_MINIMIZE | WS_MAXIMIZE))) return;
  bool sizing = (command & SC_COMMAND_MASK) == SC_SIZE;
  WPARAM edge = command & 0xF;
  if (sizing && (edge < WMSZ_LEFT || edge > WMSZ_BOTTOMRIGHT)) return;

  gfx::Rect original;
  MinMaxInfo limits;
  if (!BeginSizeMove(window, original, limits)) return;

  gfx::Rect current = original;
  // Losing the capture or the activation ends the loop where it is.
  HWND active = GetActiveWindow();
  auto ended = [&] { return !desktop.Find(window) || GetCapture() != window || GetActiveWindow() != active; };
  TMsg message;
  while (NextModalMessage(message, ended)) {
    // Taking a message may run handlers (activation), which may destroy it.
    if (!desktop.Find(window)) break;
    if (message.Message == WM_KEYDOWN && message.WParam == WPARAM(platform::VK_ESCAPE)) {
      if (desktop.Find(window)) PlaceWindowAt(window, original);
      break;
    }
    if (message.Message == WM_KEYDOWN && message.WParam == WPARAM(platform::VK_RETURN)) break;
    if (message.Window == window && message.Message == WM_LBUTTONUP) break;
    if (message.Window == window && message.Message == WM_MOUSEMOVE) {
      int dx = message.Point.X - start.X;
      int dy = message.Point.Y - start.Y;
      gfx::Rect proposed;
      if (sizing) {
        proposed = SizedRect(original, edge, dx, dy, limits);
        desktop.Send(window, WM_SIZING, edge, ToLParam(&proposed));
      } else {
        proposed = original.Offset(dx, dy);
        desktop.Send(window, WM_MOVING, 0, ToLParam(&proposed));
      }
      if (!desktop.Find(window)) break;
      if (proposed != current) {
        PlaceWindowAt(window, proposed);
        current = proposed;
      }
      continue;
    }
    // The loop owns the pointer; everything else runs as usual.
    if (message.Window == window && IsMouseMessage(message.Message)) continue;
    DispatchMessage(message);
  }
  EndSizeMove(window);
}

// The default caption buttons:
//
//   event                           | button drawn | result
//   --------------------------------+--------------+------------------------
//   press on the button             | pressed      | the loop starts
//   pointer moves off the button    | up           |
//   pointer moves back over it      | pressed      |
//   release over the button         | up           | its WM_SYSCOMMAND
//   release elsewhere, Escape,      | up           | nothing
//   capture taken away              |              |
//
// A greyed button (no WS_MINIMIZEBOX / WS_MAXIMIZEBOX) does not press.
void RunFrameButtonLoop(HWND window, LRESULT button) {
  Desktop& desktop = CurrentDesktop();
  Window* w = desktop.Find(window);
  if (!w || !DefaultFrameButtonEnabled(w->Style, button)) return;
  auto buttonRect = [&]() {
    Window* current = desktop.Find(window);
    gfx::Rect r = DefaultFrameButtonRect(current->Style, current->ExStyle, current->Size(), button);
    gfx::Rect bounds = Desktop::ScreenBounds(current);
    return r.Offset(bounds.Left, bounds.Top);
  };
  auto show = [&](bool pressed) {
    Window* current = desktop.Find(window);
    if (!current) return;
    LRESULT wanted = pressed ? button : 0;
    if (current->PressedFrameButton == wanted) return;
    current->PressedFrameButton = wanted;
    desktop.Send(window, WM_NCPAINT, 1, 0);
  };
  SetCapture(window);
  show(true);
  bool chosen = false;
  gfx::Point releasedAt;
  TMsg message;
  while (NextModalMessage(message, [&] { return !desktop.Find(window) || GetCapture() != window; })) {
    if (!desktop.Find(window)) break;
    if (message.Message == WM_KEYDOWN && message.WParam == WPARAM(platform::VK_ESCAPE)) break;
    if (message.Window == window && message.Message == WM_MOUSEMOVE) {
      show(buttonRect().Contains(message.Point));
      continue;
    }
    if (message.Window == window && message.Message == WM_LBUTTONUP) {
      chosen = buttonRect().Contains(message.Point);
      releasedAt = message.Point;
      break;
    }
    if (message.Window == window && IsMouseMessage(message.Message)) continue;
    DispatchMessage(message);
  }
  show(false);
  if (desktop.Find(window) && GetCapture() == window) ReleaseCapture();
  if (!chosen || !(w = desktop.Find(window))) return;
  WPARAM command = button == HTCLOSE ? SC_CLOSE
                   : button == HTMINBUTTON ? SC_MINIMIZE
                   : (w->Style & WS_MAXIMIZE) ? SC_RESTORE
                                              : SC_MAXIMIZE;
  desktop.Send(window, WM_SYSCOMMAND, command, PointToLParam(releasedAt));
}

}  // namespace ui
