// The services of the Win32 backend: clipboard, pointer, keys, monitors,
// the system's settings and sounds, the program's path, screen capture.
#include <cstring>

#include "platform/win32/Utf16.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32Window.h"
#include "platform/win32/WindowsHeaders.h"

namespace platform::win32 {

namespace {

// The clipboard may be held by another program for a moment.
bool OpenClipboardRetrying(HWND owner) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(handle, &info)) return TRUE;
  Monitor monitor;
  monitor.Bounds = gfx::Rect{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
  monitor.WorkArea = gfx::Rect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
  monitor.Primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
  auto& monitors = *reinterpret_cast<std::vector<Monitor>*>(list);
  if (monitor.Primary) {
    monitors.insert(monitors.begin(), monitor);
  } else {
    monitors.push_back(monitor);
  }
  return TRUE;
}

}  // namespace

HICON CreateIconFromBitmap(const gfx::Bitmap& picture, int size) {
  if (picture.IsEmpty() || size <= 0) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!colour) return nullptr;
  // Nearest-neighbour to the system's icon size, every pixel opaque.
  auto* out = static_cast<std::uint32_t*>(bits);
  for (int y = 0; y < size; ++y) {
    const gfx::Pixel* row = picture.Row(y * picture.Height() / size);
    for (int x = 0; x < size; ++x) out[y * size + x] = row[x * picture.Width() / size] | 0xFF000000u;
  }
  HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
  HDC maskDC = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(maskDC, mask);
  PatBlt(maskDC, 0, 0, size, size, BLACKNESS);
  SelectObject(maskDC, old);
  DeleteDC(maskDC);
  ICONINFO icon{};
  icon.fIcon = TRUE;
  icon.hbmColor = colour;
  icon.hbmMask = mask;
  HICON result = CreateIconIndirect(&icon);
  DeleteObject(colour);
  DeleteObject(mask);
  return result;
}

std::string Win32Platform::ClipboardText() {
  if (!OpenClipboardRetrying(nullptr)) return {};
  std::string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* wide = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = ToUtf8(wide);
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void Win32Platform::SetClipboardText(std::string_view text) {
  const std::wstring wide = ToWide(text);
  HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
  if (!data) return;
  auto* target = static_cast<wchar_t*>(GlobalLock(data));
  std::memcpy(target, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(data);
  if (!OpenClipboardRetrying(nullptr)) {
    GlobalFree(data);
    return;
  }
  EmptyClipboard();
  // On success the clipboard owns the memory.
  if (!SetClipboardData(CF_UNICODETEXT, data)) GlobalFree(data);
  CloseClipboard();
}

gfx::Point Win32Platform::CursorPosition() {
  POINT at{};
  GetCursorPos(&at);
  return gfx::Point{at.x, at.y};
}

void Win32Platform::SetCursorPosition(gfx::Point position) { SetCursorPos(position.X, position.Y); }

bool Win32Platform::IsKeyDown(int virtualKey) {
  if (virtualKey <= 0 || virtualKey > 0xFF) return false;
  return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

std::vector<Monitor> Win32Platform::Monitors() {
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  if (monitors.empty()) {
    // Never empty: the primary screen as the system metrics give it.
    Monitor monitor;
    monitor.Bounds = gfx::Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    monitor.WorkArea = monitor.Bounds;
    monitor.Primary = true;
    monitors.push_back(monitor);
  }
  return monitors;
}

int Win32Platform::DoubleClickTime() { return int(GetDoubleClickTime()); }

void Win32Platform::Beep() { MessageBeep(MB_OK); }

std::string Win32Platform::ProgramFilePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return ToUtf8(path);
    }
    path.resize(path.size() * 2);
  }
}

bool Win32Platform::CaptureScreen(const gfx::Rect& area, gfx::Bitmap& picture) {
  if (area.IsEmpty()) {
    picture.SetSize(0, 0);
    return true;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = area.Width();
  info.bmiHeader.biHeight = -area.Height();
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP target = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!target) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, target);
  // Outside every monitor the copy leaves the black the bitmap starts with.
  PatBlt(memory, 0, 0, area.Width(), area.Height(), BLACKNESS);
  const BOOL copied = BitBlt(memory, 0, 0, area.Width(), area.Height(), screen, area.Left, area.Top, SRCCOPY);
  GdiFlush();
  picture.SetSize(area.Width(), area.Height());
  const auto* in = static_cast<const std::uint32_t*>(bits);
  for (int y = 0; y < area.Height(); ++y) {
    gfx::Pixel* row = picture.Row(y);
    for (int x = 0; x < area.Width(); ++x) row[x] = in[std::size_t(y) * std::size_t(area.Width()) + std::size_t(x)] & 0x00FFFFFFu;
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  DeleteObject(target);
  return copied != FALSE;
}

}  // namespace platform::win32
