#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "platform/win32/WindowsHeaders.h"
#include "platform/win32/Win32Platform.h"

namespace platform::win32 {

// What the backend knows of one window. The window system draws every
// pixel, so the HWND has no frame and no background of its own.
struct Win32Platform::WindowRecord {
  Win32Platform* Owner = nullptr;
  NativeWindow Id = NoWindow;
  WindowKind Kind = WindowKind::Normal;
  HWND Handle = nullptr;
  gfx::Rect Bounds;
  // The last presented pixels, top-down 32-bit, what WM_PAINT copies from.
  HDC SurfaceDC = nullptr;
  HBITMAP Surface = nullptr;
  HGDIOBJ SurfaceOld = nullptr;
  void* SurfaceBits = nullptr;
  int SurfaceWidth = 0;
  int SurfaceHeight = 0;
  HICON BigIcon = nullptr;
  HICON SmallIcon = nullptr;
  CursorShape Cursor = CursorShape::Arrow;
  std::uint8_t Opacity = 255;
  bool PointerInside = false;
  bool Minimized = false;
  // Set while the backend itself moves, shows or focuses the window, so that
  // the system's echo of it is not reported as the system's own change.
  int Echo = 0;
};

// Converts a 32-bit BGRX bitmap into an icon (all pixels opaque).
HICON CreateIconFromBitmap(const gfx::Bitmap& picture, int size);

// The system's time in the platform's clock.
std::uint64_t TickNow();

}  // namespace platform::win32
