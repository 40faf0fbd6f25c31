#pragma once

#include <string>

#include "gfx/Geometry.h"
#include "ui/windowing/WindowTypes.h"

namespace ui {

// WM_NCCREATE and WM_CREATE: lParam points to this.
struct CreateStruct {
  void* CreateParams = nullptr;
  HWND Parent = nullptr;  // the parent of a child, the owner of a top-level
  std::string ClassName;
  std::string WindowName;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  // Position (parent client or screen coordinates) and size asked for.
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
};

// WM_GETMINMAXINFO: lParam points to this, filled with the defaults; the
// handler may change any of it.
struct MinMaxInfo {
  // Size and position of the maximised window.
  gfx::Point MaxSize;
  gfx::Point MaxPosition;
  // Smallest and largest size the size loop allows.
  gfx::Point MinTrackSize;
  gfx::Point MaxTrackSize;
};

// WM_WINDOWPOSCHANGING (changeable) and WM_WINDOWPOSCHANGED: lParam points
// to this. X and Y are in the parent's client coordinates (screen for a
// top-level window).
struct WindowPos {
  HWND Window = nullptr;
  HWND InsertAfter = nullptr;
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  UINT Flags = 0;
};

// WM_NCCALCSIZE with wParam TRUE: lParam points to this. On entry Rects[0]
// is the proposed window rectangle, Rects[1] the old window rectangle and
// Rects[2] the old client rectangle (all in the parent's coordinates); the
// handler turns Rects[0] into the new client rectangle. With wParam FALSE
// lParam points to a single gfx::Rect used the same way.
struct CalcSizeParams {
  gfx::Rect Rects[3];
  WindowPos* Position = nullptr;
};

// BeginPaint's answer.
struct PaintStruct {
  HDC DC = nullptr;
  // True when the background still needs erasing (WM_ERASEBKGND returned 0).
  bool Erase = false;
  // Bounds of the update region, client coordinates.
  gfx::Rect Paint;
};

// TrackMouseEvent's argument.
struct TrackMouseEventInfo {
  DWORD Flags = 0;
  HWND Window = nullptr;
  DWORD HoverTime = 0;
};

}  // namespace ui
