#pragma once

#include <memory>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Geometry.h"
#include "gfx/Region.h"
#include "ui/windowing/DeviceContext.h"
#include "ui/windowing/MessageRecords.h"
#include "ui/windowing/WindowTypes.h"

// Invalidation and painting. Every top-level window has one surface that
// its whole tree paints into; a window's device context is clipped to the
// pixels of it that the window shows (inside its ancestors, not covered by
// siblings above it or by its own children, inside its region). What the
// contexts touched is presented to the platform, changed areas only, when
// the queue runs empty.
namespace ui {

// Adds a client rectangle (nullptr: the whole client area) to the update
// region; erase asks for WM_ERASEBKGND at BeginPaint.
bool InvalidateRect(HWND window, const gfx::Rect* rect, bool erase);
bool InvalidateRgn(HWND window, const gfx::Region* region, bool erase);
bool ValidateRect(HWND window, const gfx::Rect* rect);
bool ValidateRgn(HWND window, const gfx::Region* region);
// Sends WM_PAINT now when the window has something to paint, then
// presents.
bool UpdateWindow(HWND window);
// RDW_INVALIDATE, RDW_ERASE, RDW_FRAME, RDW_VALIDATE, RDW_ALLCHILDREN,
// RDW_UPDATENOW (and RDW_ERASENOW, which paints now as well).
bool RedrawWindow(HWND window, const gfx::Rect* rect, const gfx::Region* region, UINT flags);
// The bounds of the update region (client coordinates); false when empty.
bool GetUpdateRect(HWND window, gfx::Rect* rect);

// Sends WM_NCPAINT when the frame needs it, then WM_ERASEBKGND (wParam:
// the context) when erasing was asked for; validates and returns a context
// clipped to the update region with the origin at the client area.
HDC BeginPaint(HWND window, PaintStruct& paint);
bool EndPaint(HWND window, const PaintStruct& paint);
// A context over the client area.
HDC GetDC(HWND window);
// A context over the whole window, frame included (origin at the window's
// top-left corner).
HDC GetWindowDC(HWND window);
// The same, clipped to the frame (what WM_NCPAINT draws).
HDC GetNonClientDC(HWND window);
// Presents what the context drew and frees it.
int ReleaseDC(HWND window, HDC context);

// The canvas of a context (a memory context or one of the above).
inline gfx::Canvas& CanvasOf(HDC context) { return context->Canvas(); }

// Gets a context on construction and releases it on destruction. For a
// handle that names no window it draws into nothing.
class WindowDC {
 public:
  enum class Area { Client, Window, NonClient };
  explicit WindowDC(HWND window, Area area = Area::Client);
  ~WindowDC();
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;

  HDC Handle() const { return FContext; }
  gfx::Canvas& Canvas() { return FContext->Canvas(); }

 private:
  HWND FWindow;
  HDC FContext;
  gfx::Bitmap FNothing;
  std::unique_ptr<DeviceContext> FFallback;
};

}  // namespace ui
