#include <algorithm>
#include <cstring>

#include "ui/windowing/DefaultFrame.h"
#include "ui/windowing/Desktop.h"
#include "ui/windowing/Input.h"
#include "ui/windowing/MessageLoop.h"
#include "ui/windowing/ModalLoops.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/SystemMenu.h"
#include "ui/windowing/SystemMetrics.h"
#include "ui/windowing/Windows.h"

namespace ui {
namespace {

gfx::Size SizeOf(const Window* window) { return window->Size(); }

bool HasDefaultFrame(const Window* window) {
  DefaultFrameMetrics metrics = GetDefaultFrameMetrics(window->Style, window->ExStyle);
  return metrics.Border || metrics.Edge || metrics.Caption;
}

// ---- One handler per message ----

LRESULT WMNCCreate(Window* window, LPARAM lParam) {
  if (auto* create = FromLParam<CreateStruct>(lParam)) {
    window->Text = create->WindowName;
  }
  return 1;
}

LRESULT WMNCCalcSize(Window* window, WPARAM wParam, LPARAM lParam) {
  if (wParam) {
    auto* params = FromLParam<CalcSizeParams>(lParam);
    params->Rects[0] = DefaultClientRect(window->Style, window->ExStyle, params->Rects[0]);
  } else {
    auto* rect = FromLParam<gfx::Rect>(lParam);
    *rect = DefaultClientRect(window->Style, window->ExStyle, *rect);
  }
  return 0;
}

LRESULT WMNCHitTest(Window* window, LPARAM lParam) {
  gfx::Point screen = PointFromLParam(lParam);
  gfx::Rect bounds = Desktop::ScreenBounds(window);
  gfx::Point point{screen.X - bounds.Left, screen.Y - bounds.Top};
  if (window->Shape && !window->Shape->Contains(point)) return HTNOWHERE;
  return DefaultFrameHitTest(window->Style, window->ExStyle, SizeOf(window), window->Client, point);
}

void WMNCPaint(HWND handle, Window* window) {
  if (!HasDefaultFrame(window)) return;
  DefaultFrameLook look;
  look.Active = window->FrameActive;
  look.PressedButton = window->PressedFrameButton;
  look.Title = window->Text;
  look.Icon = &window->Icon;
  WindowDC context(handle, WindowDC::Area::NonClient);
  PaintDefaultFrame(context.Canvas(), window->Style, window->ExStyle, SizeOf(window), window->Client, look);
}

LRESULT WMNCActivate(Desktop& desktop, HWND handle, Window* window, WPARAM wParam) {
  window->FrameActive = wParam != 0;
  if (HasDefaultFrame(window)) {
    desktop.Send(handle, WM_NCPAINT, 1, 0);
  }
  return 1;
}

LRESULT WMSetCursor(Desktop& desktop, HWND handle, Window* window, WPARAM wParam, LPARAM lParam) {
  // A parent may choose the pointer for its children.
  if (window->Parent && desktop.Send(window->Parent->Handle, WM_SETCURSOR, wParam, lParam)) return 1;
  if (!(window = desktop.Find(handle))) return 1;
  auto hit = LRESULT(std::int16_t(LoWord(std::uintptr_t(lParam))));
  UINT mouseMessage = HiWord(std::uintptr_t(lParam));
  CursorShape shape = CursorShape::Arrow;
  switch (hit) {
    case HTLEFT:
    case HTRIGHT: shape = CursorShape::SizeWE; break;
    case HTTOP:
    case HTBOTTOM: shape = CursorShape::SizeNS; break;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: shape = CursorShape::SizeNWSE; break;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: shape = CursorShape::SizeNESW; break;
    case HTCLIENT: shape = window->Class->Cursor; break;
    case HTERROR:
      if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN || mouseMessage == WM_MBUTTONDOWN) {
        desktop.Platform.Beep();
      }
      break;
    default: break;
  }
  SetCursor(shape);
  return 1;
}

LRESULT WMMouseActivate(Desktop& desktop, Window* window, WPARAM wParam, LPARAM lParam) {
  if (window->Parent) {
    if (LRESULT answer = desktop.Send(window->Parent->Handle, WM_MOUSEACTIVATE, wParam, lParam)) return answer;
  }
  return (window->ExStyle & WS_EX_NOACTIVATE) ? MA_NOACTIVATE : MA_ACTIVATE;
}

void WMWindowPosChanged(Desktop& desktop, HWND handle, LPARAM lParam) {
  const WindowPos* position = FromLParam<WindowPos>(lParam);
  UINT flags = position->Flags;
  Window* window = desktop.Find(handle);
  if (!window) return;
  if (!(flags & SWP_NOMOVE)) {
    gfx::Point origin{window->Bounds.Left + window->Client.Left, window->Bounds.Top + window->Client.Top};
    desktop.Send(handle, WM_MOVE, 0, MakeLParam(origin.X, origin.Y));
    if (!(window = desktop.Find(handle))) return;
  }
  if (!(flags & SWP_NOSIZE) || (flags & SWP_FRAMECHANGED)) {
    WPARAM kind = (window->Style & WS_MINIMIZE) ? SIZE_MINIMIZED
                  : (window->Style & WS_MAXIMIZE) ? SIZE_MAXIMIZED
                                                  : SIZE_RESTORED;
    desktop.Send(handle, WM_SIZE, kind, MakeLParam(window->Client.Width(), window->Client.Height()));
  }
}

LRESULT WMEraseBackground(Window* window, WPARAM wParam) {
  if (!window->Class->Background || !wParam) return 0;
  gfx::Canvas& canvas = reinterpret_cast<HDC>(wParam)->Canvas();
  gfx::CanvasStateSaver saver(canvas);
  canvas.SetBrush(*window->Class->Background);
  canvas.FillRect(gfx::Rect{0, 0, window->Client.Width(), window->Client.Height()});
  return 1;
}

LRESULT WMGetText(Window* window, WPARAM wParam, LPARAM lParam) {
  char* buffer = FromLParam<char>(lParam);
  if (!buffer || wParam == 0) return 0;
  std::size_t count = std::min<std::size_t>(window->Text.size(), std::size_t(wParam) - 1);
  // Never cut a character in two.
  while (count > 0 && count < window->Text.size() && (static_cast<unsigned char>(window->Text[count]) & 0xC0) == 0x80) {
    --count;
  }
  std::memcpy(buffer, window->Text.data(), count);
  buffer[count] = '\0';
  return LRESULT(count);
}

LRESULT WMSetText(Desktop& desktop, Window* window, LPARAM lParam) {
  const char* text = FromLParam<const char>(lParam);
  window->Text = text ? text : "";
  if (window->Surface) desktop.Platform.SetWindowTitle(window->Surface->Native, window->Text);
  if (GetDefaultFrameMetrics(window->Style, window->ExStyle).Caption) desktop.InvalidateFrame(window);
  return 1;
}

// The caption's icon place on the screen (the caption's left end when
// the frame shows no icon).
gfx::Rect WindowMenuAnchor(Window* window) {
  gfx::Rect bounds = Desktop::ScreenBounds(window);
  gfx::Rect anchor = DefaultFrameButtonRect(window->Style, window->ExStyle, SizeOf(window), HTSYSMENU);
  if (anchor.IsEmpty()) {
    gfx::Rect caption = DefaultCaptionRect(window->Style, window->ExStyle, SizeOf(window));
    anchor = gfx::Rect{caption.Left, caption.Top, caption.Left, caption.Bottom};
  }
  return anchor.Offset(bounds.Left, bounds.Top);
}

void WMSysCommand(Desktop& desktop, HWND handle, WPARAM wParam, LPARAM lParam) {
  switch (wParam & SC_COMMAND_MASK) {
    case SC_CLOSE: desktop.Send(handle, WM_CLOSE, 0, 0); break;
    case SC_MINIMIZE: ShowWindow(handle, SW_MINIMIZE); break;
    case SC_MAXIMIZE: ShowWindow(handle, SW_MAXIMIZE); break;
    case SC_RESTORE: ShowWindow(handle, SW_RESTORE); break;
    case SC_MOVE:
    case SC_SIZE:
      // The mouse-driven loops carry the hit-test place in the low bits;
      // without it (the window menu) the keyboard drives.
      if (wParam & 0xF) RunSizeMoveLoop(handle, wParam, PointFromLParam(lParam));
      else RunKeyboardSizeMoveLoop(handle, wParam);
      break;
    case SC_KEYMENU:
      // Alt+Space opens the window menu below the caption's icon; Alt or
      // F10 alone opens nothing, as there is no menu bar.
      if (lParam == LPARAM(' ')) {
        if (Window* window = desktop.Find(handle)) {
          gfx::Rect anchor = WindowMenuAnchor(window);
          ShowSystemMenu(handle, gfx::Point{anchor.Left, anchor.Bottom}, MenuOpenedBy::Keyboard);
        }
      }
      break;
    case SC_MOUSEMENU:
      if (Window* window = desktop.Find(handle)) {
        gfx::Rect anchor = WindowMenuAnchor(window);
        ShowSystemMenu(handle, gfx::Point{anchor.Left, anchor.Bottom}, MenuOpenedBy::Mouse, anchor);
      }
      break;
    default: break;
  }
}

// A right click on the caption (or on the icon) opens the window menu at
// the pointer; elsewhere the message goes up to the parent.
LRESULT WMContextMenu(Desktop& desktop, HWND handle, Window* window, WPARAM wParam, LPARAM lParam) {
  // lParam -1 is the keyboard's context-menu request, which has no place.
  if (lParam != -1 && (window->Style & WS_SYSMENU) && (window->Style & WS_CAPTION) == WS_CAPTION) {
    LRESULT hit = desktop.Send(handle, WM_NCHITTEST, 0, lParam);
    if (!(window = desktop.Find(handle))) return 0;
    if (hit == HTCAPTION || hit == HTSYSMENU) {
      ShowSystemMenu(handle, PointFromLParam(lParam), MenuOpenedBy::Mouse);
      return 0;
    }
  }
  if (window->Parent) return desktop.Send(window->Parent->Handle, WM_CONTEXTMENU, wParam, lParam);
  return 0;
}

void WMNCLButtonDown(Desktop& desktop, HWND handle, WPARAM wParam, LPARAM lParam) {
  LRESULT hit = LRESULT(wParam);
  switch (hit) {
    case HTCAPTION:
      desktop.Send(handle, WM_SYSCOMMAND, SC_MOVE | WPARAM(HTCAPTION), lParam);
      break;
    case HTLEFT:
    case HTRIGHT:
    case HTTOP:
    case HTTOPLEFT:
    case HTTOPRIGHT:
    case HTBOTTOM:
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
      desktop.Send(handle, WM_SYSCOMMAND, SC_SIZE | WPARAM(hit - HTLEFT + WMSZ_LEFT), lParam);
      break;
    case HTCLOSE:
    case HTMAXBUTTON:
    case HTMINBUTTON:
      RunFrameButtonLoop(handle, hit);
      break;
    case HTSYSMENU:
      desktop.Send(handle, WM_SYSCOMMAND, SC_MOUSEMENU | WPARAM(HTSYSMENU), lParam);
      break;
    default:
      break;
  }
}

void WMNCLButtonDoubleClick(Desktop& desktop, HWND handle, Window* window, WPARAM wParam, LPARAM lParam) {
  if (LRESULT(wParam) == HTCAPTION && (window->Style & WS_MAXIMIZEBOX)) {
    desktop.Send(handle, WM_SYSCOMMAND, (window->Style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, lParam);
  } else if (LRESULT(wParam) == HTSYSMENU) {
    desktop.Send(handle, WM_SYSCOMMAND, SC_CLOSE, lParam);
  }
}

HWND TopLevelHandle(Window* window) { return Desktop::TopLevelOf(window)->Handle; }

// The keyboard's context-menu request: the point (-1, -1) tells the
// handler to place the menu itself (at the focus, say).
void KeyboardContextMenu(Desktop& desktop, HWND handle) {
  desktop.Send(handle, WM_CONTEXTMENU, HandleToWParam(handle), MakeLParam(-1, -1));
}

void WMSysKeyDown(Desktop& desktop, HWND handle, Window* window, WPARAM wParam, LPARAM lParam) {
  bool alt = (lParam & (LPARAM(1) << 29)) != 0;
  if (alt && wParam == WPARAM(platform::VK_F4)) {
    desktop.Send(TopLevelHandle(window), WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (wParam == WPARAM(platform::VK_F10) && (GetKeyState(platform::VK_SHIFT) & 0x8000)) {
    KeyboardContextMenu(desktop, handle);
  }
}

void WMSysKeyUp(Desktop& desktop, HWND handle, Window* window, WPARAM wParam) {
  // Shift+F10 asked for the context menu; only F10 alone opens the menu.
  bool menuKey = (wParam == WPARAM(platform::VK_F10) && desktop.F10Alone) ||
                 (wParam == WPARAM(platform::VK_MENU) && desktop.AltReleasedAlone);
  desktop.AltReleasedAlone = false;
  if (wParam == WPARAM(platform::VK_F10)) desktop.F10Alone = false;
  if (menuKey) desktop.Send(TopLevelHandle(window), WM_SYSCOMMAND, SC_KEYMENU, 0);
  else if (wParam == WPARAM(platform::VK_APPS)) KeyboardContextMenu(desktop, handle);
}

// Sizeable top-level windows keep within their tracking sizes whoever
// sizes them, not only the size loop.
void WMWindowPosChanging(Desktop& desktop, HWND handle, Window* window, LPARAM lParam) {
  auto* position = FromLParam<WindowPos>(lParam);
  if ((position->Flags & SWP_NOSIZE) || window->Parent || window->MessageOnly || !(window->Style & WS_THICKFRAME)) {
    return;
  }
  // A move keeps the size it has (the move loop asks on every step).
  if (position->Width == window->Bounds.Width() && position->Height == window->Bounds.Height()) return;
  MinMaxInfo info = DefaultMinMaxInfo(window);
  desktop.Send(handle, WM_GETMINMAXINFO, 0, ToLParam(&info));
  position->Width = std::min(position->Width, info.MaxTrackSize.X);
  position->Height = std::min(position->Height, info.MaxTrackSize.Y);
  // A minimised window is as small as the platform makes it.
  if (desktop.Find(handle) && !(window->Style & WS_MINIMIZE)) {
    position->Width = std::max(position->Width, info.MinTrackSize.X);
    position->Height = std::max(position->Height, info.MinTrackSize.Y);
  }
}

void WMSysChar(Desktop& desktop, Window* window, WPARAM wParam, LPARAM lParam) {
  if (lParam & (LPARAM(1) << 29)) {
    desktop.Send(TopLevelHandle(window), WM_SYSCOMMAND, SC_KEYMENU, LPARAM(wParam));
  }
}

}  // namespace

LRESULT DefWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return 0;
  switch (message) {
    case WM_NCCREATE: return WMNCCreate(window, lParam);
    case WM_NCCALCSIZE: return WMNCCalcSize(window, wParam, lParam);
    case WM_NCHITTEST: return WMNCHitTest(window, lParam);
    case WM_NCPAINT: WMNCPaint(handle, window); return 0;
    case WM_NCACTIVATE: return WMNCActivate(*desktop, handle, window, wParam);
    case WM_ACTIVATE:
      if (LoWord(wParam) != WA_INACTIVE && !(window->Style & WS_MINIMIZE)) desktop->ChangeFocus(handle);
      return 0;
    case WM_MOUSEACTIVATE: return WMMouseActivate(*desktop, window, wParam, lParam);
    case WM_SETCURSOR: return WMSetCursor(*desktop, handle, window, wParam, lParam);
    case WM_WINDOWPOSCHANGING: WMWindowPosChanging(*desktop, handle, window, lParam); return 0;
    case WM_WINDOWPOSCHANGED: WMWindowPosChanged(*desktop, handle, lParam); return 0;
    case WM_ERASEBKGND: return WMEraseBackground(window, wParam);
    case WM_PAINT: {
      PaintStruct paint;
      BeginPaint(handle, paint);
      EndPaint(handle, paint);
      return 0;
    }
    case WM_GETTEXT: return WMGetText(window, wParam, lParam);
    case WM_GETTEXTLENGTH: return LRESULT(window->Text.size());
    case WM_SETTEXT: return WMSetText(*desktop, window, lParam);
    case WM_CLOSE: DestroyWindow(handle); return 0;
    case WM_SYSCOMMAND: WMSysCommand(*desktop, handle, wParam, lParam); return 0;
    case WM_NCLBUTTONDOWN: WMNCLButtonDown(*desktop, handle, wParam, lParam); return 0;
    case WM_NCLBUTTONDBLCLK: WMNCLButtonDoubleClick(*desktop, handle, window, wParam, lParam); return 0;
    case WM_RBUTTONUP: {
      gfx::Point point = PointFromLParam(lParam);
      ClientToScreen(handle, point);
      desktop->Send(handle, WM_CONTEXTMENU, WPARAM(handle), PointToLParam(point));
      return 0;
    }
    case WM_NCRBUTTONUP:
      desktop->Send(handle, WM_CONTEXTMENU, WPARAM(handle), lParam);
      return 0;
    case WM_CONTEXTMENU: return WMContextMenu(*desktop, handle, window, wParam, lParam);
    case WM_MOUSEWHEEL:
      // Children pass these up until someone takes them.
      if (window->Parent) return desktop->Send(window->Parent->Handle, message, wParam, lParam);
      return 0;
    case WM_SYSKEYDOWN: WMSysKeyDown(*desktop, handle, window, wParam, lParam); return 0;
    case WM_SYSKEYUP: WMSysKeyUp(*desktop, handle, window, wParam); return 0;
    case WM_KEYUP:
      if (wParam == WPARAM(platform::VK_APPS)) KeyboardContextMenu(*desktop, handle);
      return 0;
    case WM_SYSCHAR: WMSysChar(*desktop, window, wParam, lParam); return 0;
    case WM_CANCELMODE:
      if (desktop->Capture == handle) desktop->ChangeCapture(nullptr);
      return 0;
    default:
      return 0;
  }
}

}  // namespace ui
