#include "platform/win32/Win32Platform.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/win32/Utf16.h"
#include "platform/win32/Win32NotifyIcons.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/WindowsHeaders.h"

namespace platform::win32 {

namespace {

constexpr wchar_t WindowClassName[] = L"OstvaneWindow";

LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);

void RegisterWindowClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  // No CS_DBLCLKS: the window system tells double clicks itself, from the
  // same double-click time.
  windowClass.style = 0;
  windowClass.lpfnWndProc = WindowProcedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = nullptr;
  windowClass.hbrBackground = nullptr;
  windowClass.lpszClassName = WindowClassName;
  if (!RegisterClassExW(&windowClass)) throw std::runtime_error("Cannot register the window class");
  registered = true;
}

std::uint8_t ModifiersNow() {
  std::uint8_t modifiers = 0;
  if (GetKeyState(VK_SHIFT) < 0) modifiers |= ModifierShift;
  if (GetKeyState(VK_CONTROL) < 0) modifiers |= ModifierControl;
  if (GetKeyState(VK_MENU) < 0) modifiers |= ModifierAlt;
  return modifiers;
}

std::uint8_t ButtonsOf(WPARAM keys) {
  std::uint8_t buttons = 0;
  if (keys & MK_LBUTTON) buttons |= ButtonMaskLeft;
  if (keys & MK_RBUTTON) buttons |= ButtonMaskRight;
  if (keys & MK_MBUTTON) buttons |= ButtonMaskMiddle;
  if (keys & MK_XBUTTON1) buttons |= ButtonMaskX1;
  if (keys & MK_XBUTTON2) buttons |= ButtonMaskX2;
  return buttons;
}

gfx::Point PointOf(LPARAM lParam) {
  return gfx::Point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

LPCWSTR SystemCursor(CursorShape shape) {
  switch (shape) {
    case CursorShape::Arrow: return IDC_ARROW;
    case CursorShape::IBeam: return IDC_IBEAM;
    case CursorShape::Wait: return IDC_WAIT;
    case CursorShape::AppStarting: return IDC_APPSTARTING;
    case CursorShape::Cross: return IDC_CROSS;
    case CursorShape::UpArrow: return IDC_UPARROW;
    case CursorShape::SizeNS: return IDC_SIZENS;
    case CursorShape::SizeWE: return IDC_SIZEWE;
    case CursorShape::SizeNWSE: return IDC_SIZENWSE;
    case CursorShape::SizeNESW: return IDC_SIZENESW;
    case CursorShape::SizeAll: return IDC_SIZEALL;
    case CursorShape::No: return IDC_NO;
    case CursorShape::Hand: return IDC_HAND;
    case CursorShape::Help: return IDC_HELP;
    case CursorShape::Hidden: return nullptr;
  }
  return IDC_ARROW;
}

// UTF-16 from WM_CHAR, surrogate pairs joined.
std::string TextOfCharacter(Win32Platform::WindowRecord&, WPARAM unit) {
  static wchar_t pendingHigh = 0;
  const wchar_t c = static_cast<wchar_t>(unit);
  if (c >= 0xD800 && c <= 0xDBFF) {
    pendingHigh = c;
    return {};
  }
  if (c >= 0xDC00 && c <= 0xDFFF) {
    if (!pendingHigh) return {};
    const wchar_t pair[2] = {pendingHigh, c};
    pendingHigh = 0;
    return ToUtf8(std::wstring_view(pair, 2));
  }
  pendingHigh = 0;
  return ToUtf8(std::wstring_view(&c, 1));
}

LRESULT HandleMessage(Win32Platform::WindowRecord& record, UINT message, WPARAM wParam, LPARAM lParam) {
  Win32Platform& platform = *record.Owner;
  const HWND handle = record.Handle;
  Event event;
  event.Window = record.Id;
  event.Time = TickNow();
  auto mouse = [&](EventKind kind, MouseButton button) {
    event.Kind = kind;
    event.Button = button;
    event.Position = PointOf(lParam);
    POINT screen{event.Position.X, event.Position.Y};
    ClientToScreen(handle, &screen);
    event.ScreenPosition = gfx::Point{screen.x, screen.y};
    event.Buttons = ButtonsOf(wParam);
    event.Modifiers = ModifiersNow();
    platform.Post(event);
    return LRESULT(0);
  };
  switch (message) {
    case WM_MOUSEMOVE: {
      if (!record.PointerInside) {
        record.PointerInside = true;
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, handle, 0};
        TrackMouseEvent(&track);
        Event enter = event;
        enter.Kind = EventKind::MouseEnter;
        enter.Position = PointOf(lParam);
        platform.Post(enter);
      }
      return mouse(EventKind::MouseMove, MouseButton::None);
    }
    case WM_MOUSELEAVE: {
      record.PointerInside = false;
      // While the window holds the capture the pointer still belongs to it.
      if (GetCapture() == handle) return 0;
      event.Kind = EventKind::MouseLeave;
      platform.Post(event);
      return 0;
    }
    case WM_LBUTTONDOWN: return mouse(EventKind::MouseDown, MouseButton::Left);
    case WM_LBUTTONUP: return mouse(EventKind::MouseUp, MouseButton::Left);
    case WM_RBUTTONDOWN: return mouse(EventKind::MouseDown, MouseButton::Right);
    case WM_RBUTTONUP: return mouse(EventKind::MouseUp, MouseButton::Right);
    case WM_MBUTTONDOWN: return mouse(EventKind::MouseDown, MouseButton::Middle);
    case WM_MBUTTONUP: return mouse(EventKind::MouseUp, MouseButton::Middle);
    case WM_XBUTTONDOWN:
    case WM_XBUTTONUP: {
      const MouseButton button = HIWORD(wParam) == XBUTTON1 ? MouseButton::X1 : MouseButton::X2;
      mouse(message == WM_XBUTTONDOWN ? EventKind::MouseDown : EventKind::MouseUp, button);
      return TRUE;
    }
    case WM_MOUSEWHEEL: {
      // The wheel reports the pointer on the screen.
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      event.Kind = EventKind::MouseWheel;
      event.ScreenPosition = gfx::Point{at.x, at.y};
      ScreenToClient(handle, &at);
      event.Position = gfx::Point{at.x, at.y};
      event.WheelDelta = GET_WHEEL_DELTA_WPARAM(wParam);
      event.Buttons = ButtonsOf(GET_KEYSTATE_WPARAM(wParam));
      event.Modifiers = ModifiersNow();
      platform.Post(event);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
      event.Kind = down ? EventKind::KeyDown : EventKind::KeyUp;
      event.VirtualKey = int(wParam);
      event.Repeat = down && (lParam & (1 << 30)) != 0;
      event.Modifiers = ModifiersNow();
      platform.Post(event);
      // Alt+F4 and the Alt menu are the window system's business.
      return 0;
    }
    case WM_CHAR:
    case WM_SYSCHAR: {
      event.Kind = EventKind::Text;
      event.Text = TextOfCharacter(record, wParam);
      if (!event.Text.empty()) platform.Post(event);
      return 0;
    }
    case WM_IME_COMPOSITION: {
      if (!(lParam & GCS_RESULTSTR)) break;
      HIMC context = ImmGetContext(handle);
      if (!context) break;
      const LONG bytes = ImmGetCompositionStringW(context, GCS_RESULTSTR, nullptr, 0);
      std::wstring result(std::size_t(std::max<LONG>(bytes, 0)) / sizeof(wchar_t), L'\0');
      if (bytes > 0) ImmGetCompositionStringW(context, GCS_RESULTSTR, result.data(), DWORD(bytes));
      ImmReleaseContext(handle, context);
      event.Kind = EventKind::Text;
      event.Text = ToUtf8(result);
      if (!event.Text.empty()) platform.Post(event);
      // The result is taken: no WM_IME_CHAR (and so no WM_CHAR) for it.
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      if (record.Echo) return 0;
      event.Kind = message == WM_SETFOCUS ? EventKind::FocusIn : EventKind::FocusOut;
      platform.Post(event);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      if (record.Kind == WindowKind::Popup) return MA_NOACTIVATE;
      break;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        const LPCWSTR shape = SystemCursor(record.Cursor);
        SetCursor(shape ? LoadCursorW(nullptr, shape) : nullptr);
        return TRUE;
      }
      break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC target = BeginPaint(handle, &paint);
      if (record.SurfaceDC) {
        BitBlt(target, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
               paint.rcPaint.bottom - paint.rcPaint.top, record.SurfaceDC, paint.rcPaint.left, paint.rcPaint.top,
               SRCCOPY);
      } else {
        event.Kind = EventKind::Expose;
        event.Area = gfx::Rect{paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom};
        platform.Post(event);
      }
      EndPaint(handle, &paint);
      return 0;
    }
    case WM_CLOSE:
      event.Kind = EventKind::CloseRequest;
      platform.Post(event);
      return 0;
    case WM_SIZE: {
      const bool minimized = wParam == SIZE_MINIMIZED;
      if ((wParam == SIZE_MINIMIZED || wParam == SIZE_RESTORED) && minimized != record.Minimized) {
        record.Minimized = minimized;
        if (!record.Echo) {
          event.Kind = EventKind::StateChanged;
          event.State = minimized ? WindowState::Minimized : WindowState::Normal;
          platform.Post(event);
        }
      }
      return 0;
    }
    case WM_WINDOWPOSCHANGED: {
      const auto* position = reinterpret_cast<const WINDOWPOS*>(lParam);
      if (record.Minimized || (position->flags & SWP_NOMOVE && position->flags & SWP_NOSIZE)) return 0;
      const gfx::Rect bounds{position->x, position->y, position->x + position->cx, position->y + position->cy};
      if (bounds == record.Bounds) return 0;
      record.Bounds = bounds;
      if (record.Echo) return 0;
      event.Kind = EventKind::BoundsChanged;
      event.Area = bounds;
      platform.Post(event);
      return 0;
    }
    default: break;
  }
  return DefWindowProcW(handle, message, wParam, lParam);
}

LRESULT CALLBACK WindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* record = static_cast<Win32Platform::WindowRecord*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    record->Handle = handle;
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  }
  auto* record = reinterpret_cast<Win32Platform::WindowRecord*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  if (!record) return DefWindowProcW(handle, message, wParam, lParam);
  return HandleMessage(*record, message, wParam, lParam);
}

void ReleaseSurface(Win32Platform::WindowRecord& record) {
  if (record.SurfaceDC) {
    SelectObject(record.SurfaceDC, record.SurfaceOld);
    DeleteDC(record.SurfaceDC);
  }
  if (record.Surface) DeleteObject(record.Surface);
  record.SurfaceDC = nullptr;
  record.Surface = nullptr;
  record.SurfaceBits = nullptr;
  record.SurfaceWidth = record.SurfaceHeight = 0;
}

// Keeps a DIB of the surface's size for the window.
bool EnsureSurface(Win32Platform::WindowRecord& record, int width, int height) {
  if (record.SurfaceDC && record.SurfaceWidth == width && record.SurfaceHeight == height) return true;
  ReleaseSurface(record);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down, as gfx::Bitmap
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  record.Surface = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &record.SurfaceBits, nullptr, 0);
  if (!record.Surface) return false;
  record.SurfaceDC = CreateCompatibleDC(nullptr);
  record.SurfaceOld = SelectObject(record.SurfaceDC, record.Surface);
  record.SurfaceWidth = width;
  record.SurfaceHeight = height;
  return true;
}

struct EchoScope {
  explicit EchoScope(Win32Platform::WindowRecord& record) : Record(record) { ++Record.Echo; }
  ~EchoScope() { --Record.Echo; }
  Win32Platform::WindowRecord& Record;
};

}  // namespace

std::uint64_t TickNow() { return GetTickCount64(); }

Win32Platform::Win32Platform() {
  RegisterWindowClass();
  FWakeEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (!FWakeEvent) throw std::runtime_error("Cannot create the wake-up event");
  FNotifyIcons = std::make_unique<Win32NotifyIcons>(*this);
}

Win32Platform::~Win32Platform() {
  FNotifyIcons.reset();
  while (!FWindows.empty()) DestroyWindow(FWindows.begin()->first);
  CloseHandle(FWakeEvent);
}

Win32Platform::WindowRecord* Win32Platform::Find(NativeWindow window) const {
  const auto found = FWindows.find(window);
  return found == FWindows.end() ? nullptr : found->second.get();
}

void* Win32Platform::WindowHandle(NativeWindow window) const {
  const WindowRecord* record = Find(window);
  return record ? record->Handle : nullptr;
}

NativeWindow Win32Platform::CreateWindow(const WindowOptions& options) {
  auto record = std::make_unique<WindowRecord>();
  record->Owner = this;
  record->Id = FNextWindow++;
  record->Kind = options.Kind;
  record->Bounds = options.Bounds;
  if (options.Kind != WindowKind::Hidden) {
    // Normal windows keep the system menu and the minimise box so that the
    // task bar can minimise and restore them; the frame is never drawn.
    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    DWORD extended = 0;
    if (options.Kind == WindowKind::Normal) {
      style |= WS_SYSMENU | WS_MINIMIZEBOX;
      extended |= WS_EX_APPWINDOW;
    } else {
      extended |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    }
    const gfx::Rect& b = options.Bounds;
    const std::wstring title = ToWide(options.Title);
    HWND handle = CreateWindowExW(extended, WindowClassName, title.c_str(), style, b.Left, b.Top, b.Width(),
                                  b.Height(), nullptr, nullptr, GetModuleHandleW(nullptr), record.get());
    if (!handle) throw std::runtime_error("Cannot create a window");
  }
  const NativeWindow id = record->Id;
  FWindows.emplace(id, std::move(record));
  return id;
}

void Win32Platform::DestroyWindow(NativeWindow window) {
  const auto found = FWindows.find(window);
  if (found == FWindows.end()) return;
  WindowRecord& record = *found->second;
  if (record.Handle) {
    if (GetCapture() == record.Handle) ReleaseCapture();
    SetWindowLongPtrW(record.Handle, GWLP_USERDATA, 0);
    ::DestroyWindow(record.Handle);
  }
  ReleaseSurface(record);
  if (record.BigIcon) DestroyIcon(record.BigIcon);
  if (record.SmallIcon) DestroyIcon(record.SmallIcon);
  FWindows.erase(found);
  std::erase_if(FEvents, [&](const Event& e) { return e.Window == window; });
}

void Win32Platform::SetWindowBounds(NativeWindow window, const gfx::Rect& bounds) {
  WindowRecord* record = Find(window);
  if (!record) return;
  record->Bounds = bounds;
  if (!record->Handle) return;
  EchoScope echo(*record);
  SetWindowPos(record->Handle, nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Platform::ShowWindow(NativeWindow window, ShowMode mode) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle) return;
  EchoScope echo(*record);
  switch (mode) {
    case ShowMode::Hide: ::ShowWindow(record->Handle, SW_HIDE); break;
    case ShowMode::Show:
      if (record->Kind == WindowKind::Popup) {
        ::ShowWindow(record->Handle, SW_SHOWNOACTIVATE);
      } else {
        ::ShowWindow(record->Handle, SW_SHOW);
        SetForegroundWindow(record->Handle);
        SetFocus(record->Handle);
      }
      break;
    case ShowMode::ShowNoActivate: ::ShowWindow(record->Handle, SW_SHOWNOACTIVATE); break;
  }
}

void Win32Platform::SetWindowState(NativeWindow window, WindowState state) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle) return;
  EchoScope echo(*record);
  ::ShowWindow(record->Handle, state == WindowState::Minimized ? SW_MINIMIZE : SW_RESTORE);
}

void Win32Platform::SetWindowTitle(NativeWindow window, std::string_view title) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle) return;
  SetWindowTextW(record->Handle, ToWide(title).c_str());
}

void Win32Platform::SetWindowIcon(NativeWindow window, const gfx::Bitmap& icon) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle) return;
  HICON big = icon.IsEmpty() ? nullptr : CreateIconFromBitmap(icon, GetSystemMetrics(SM_CXICON));
  HICON small = icon.IsEmpty() ? nullptr : CreateIconFromBitmap(icon, GetSystemMetrics(SM_CXSMICON));
  SendMessageW(record->Handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageW(record->Handle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  if (record->BigIcon) DestroyIcon(record->BigIcon);
  if (record->SmallIcon) DestroyIcon(record->SmallIcon);
  record->BigIcon = big;
  record->SmallIcon = small;
}

void Win32Platform::SetWindowShape(NativeWindow window, const gfx::Region* shape) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle) return;
  HRGN region = nullptr;
  if (shape) {
    // One RGNDATA of the region's rectangles: a shape of many rows is one
    // call, not one combine per row.
    const std::vector<gfx::Rect> rects = shape->Rects();
    std::vector<std::uint8_t> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
    header->dwSize = sizeof(RGNDATAHEADER);
    header->iType = RDH_RECTANGLES;
    header->nCount = DWORD(rects.size());
    header->nRgnSize = DWORD(rects.size() * sizeof(RECT));
    const gfx::Rect bounds = shape->Bounds();
    header->rcBound = RECT{bounds.Left, bounds.Top, bounds.Right, bounds.Bottom};
    auto* out = reinterpret_cast<RECT*>(data.data() + sizeof(RGNDATAHEADER));
    for (std::size_t i = 0; i < rects.size(); ++i)
      out[i] = RECT{rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom};
    region = ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
    if (!region) region = CreateRectRgn(0, 0, 0, 0);
  }
  // The system owns the region from here on.
  SetWindowRgn(record->Handle, region, TRUE);
}

void Win32Platform::SetWindowOpacity(NativeWindow window, std::uint8_t opacity) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle || record->Opacity == opacity) return;
  record->Opacity = opacity;
  const LONG_PTR extended = GetWindowLongPtrW(record->Handle, GWL_EXSTYLE);
  if (opacity == 255) {
    // Opaque windows leave the layered mode, which costs a redirection.
    SetWindowLongPtrW(record->Handle, GWL_EXSTYLE, extended & ~LONG_PTR(WS_EX_LAYERED));
    RedrawWindow(record->Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    return;
  }
  SetWindowLongPtrW(record->Handle, GWL_EXSTYLE, extended | WS_EX_LAYERED);
  SetLayeredWindowAttributes(record->Handle, 0, opacity, LWA_ALPHA);
}

void Win32Platform::PresentWindow(NativeWindow window, const gfx::Bitmap& surface, const gfx::Rect& dirty) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle || surface.IsEmpty()) return;
  const bool fresh = !record->SurfaceDC || record->SurfaceWidth != surface.Width() ||
                     record->SurfaceHeight != surface.Height();
  if (!EnsureSurface(*record, surface.Width(), surface.Height())) return;
  GdiFlush();
  // A new copy takes every pixel; later ones the dirty part only.
  gfx::Rect area = fresh ? surface.Bounds() : dirty.Intersect(surface.Bounds());
  if (area.IsEmpty()) return;
  auto* bits = static_cast<std::uint8_t*>(record->SurfaceBits);
  const std::size_t stride = surface.Stride();
  for (int y = area.Top; y < area.Bottom; ++y) {
    std::memcpy(bits + std::size_t(y) * stride + std::size_t(area.Left) * sizeof(gfx::Pixel),
                surface.Row(y) + area.Left, std::size_t(area.Width()) * sizeof(gfx::Pixel));
  }
  HDC target = GetDC(record->Handle);
  BitBlt(target, area.Left, area.Top, area.Width(), area.Height(), record->SurfaceDC, area.Left, area.Top, SRCCOPY);
  ReleaseDC(record->Handle, target);
}

void Win32Platform::ActivateWindow(NativeWindow window) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle) return;
  EchoScope echo(*record);
  if (record->Kind == WindowKind::Popup) {
    SetWindowPos(record->Handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return;
  }
  SetForegroundWindow(record->Handle);
  SetActiveWindow(record->Handle);
  SetFocus(record->Handle);
}

void Win32Platform::RaiseWindow(NativeWindow window) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle) return;
  EchoScope echo(*record);
  SetWindowPos(record->Handle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Platform::LowerWindow(NativeWindow window) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle) return;
  EchoScope echo(*record);
  // Popups stay above the normal windows, so they sink only to the last
  // topmost place.
  HWND after = record->Kind == WindowKind::Popup ? HWND_TOPMOST : HWND_BOTTOM;
  SetWindowPos(record->Handle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Platform::SetWindowTopmost(NativeWindow window, bool topmost) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle || record->Kind != WindowKind::Normal) return;
  EchoScope echo(*record);
  SetWindowPos(record->Handle, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Win32Platform::GrabPointer(NativeWindow window) {
  WindowRecord* record = Find(window);
  if (!record || !record->Handle) return;
  SetCapture(record->Handle);
}

void Win32Platform::ReleasePointer() { ReleaseCapture(); }

void Win32Platform::SetWindowCursor(NativeWindow window, CursorShape shape) {
  WindowRecord* record = Find(window);
  if (!record) return;
  record->Cursor = shape;
  // Takes effect at once when the pointer is over the window.
  POINT at;
  if (record->Handle && GetCursorPos(&at) && WindowFromPoint(at) == record->Handle) {
    const LPCWSTR cursor = SystemCursor(shape);
    SetCursor(cursor ? LoadCursorW(nullptr, cursor) : nullptr);
  }
}

void Win32Platform::Post(Event event) { FEvents.push_back(std::move(event)); }

void Win32Platform::PostNotifyIcon(std::uintptr_t owner, std::uintptr_t id, std::uint32_t message,
                                   std::uint32_t code) {
  Event event;
  event.Kind = EventKind::NotifyIcon;
  event.Notice = NotifyIconNotice{owner, id, message, code};
  POINT at{};
  GetCursorPos(&at);
  event.ScreenPosition = gfx::Point{at.x, at.y};
  event.Time = TickNow();
  Post(std::move(event));
}

void Win32Platform::Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Not ours to end the loop: the window system does that. Keep it for
      // whoever runs a loop of the system's own.
      PostQuitMessage(int(message.wParam));
      break;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool Win32Platform::NextEvent(Event& event) {
  if (FEvents.empty()) Pump();
  while (!FEvents.empty()) {
    event = std::move(FEvents.front());
    FEvents.pop_front();
    if (event.Window == NoWindow || Find(event.Window)) return true;
  }
  return false;
}

void Win32Platform::WaitForEvent(int timeoutMilliseconds) {
  if (!FEvents.empty()) return;
  Pump();
  if (!FEvents.empty()) return;
  const DWORD timeout = timeoutMilliseconds < 0 ? INFINITE : DWORD(timeoutMilliseconds);
  HANDLE wake = FWakeEvent;
  MsgWaitForMultipleObjectsEx(1, &wake, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

void Win32Platform::Wake() { SetEvent(FWakeEvent); }

std::uint64_t Win32Platform::Now() { return TickNow(); }

NotifyIconService* Win32Platform::NotifyIcons() { return FNotifyIcons.get(); }

}  // namespace platform::win32
