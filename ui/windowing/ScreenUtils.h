#pragma once

#include <cstdint>

#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "ui/windowing/WindowTypes.h"

// Screen and window helpers the skin painters use.
namespace ui {

// Copies the screen area at (x, y) of the bitmap's size into the bitmap
// (what the user sees, the program's own windows included as last
// presented). Parts off every monitor come back black.
void CopyScreenRect(int x, int y, gfx::Bitmap& bitmap);
// Sets the opacity of a layered top-level window (as
// SetLayeredWindowAttributes with LWA_ALPHA); nothing for other windows.
void SetWindowAlpha(HWND window, std::uint8_t alpha);
// More than one monitor.
bool IsMultiMonitor();
// The primary monitor's work area (workArea true) or the whole primary
// screen.
enum class ScreenArea { Whole, WorkArea };
void GetScreenArea(ScreenArea area, gfx::Rect& rect);
// The area of the monitor nearest the window (the primary screen on a
// single-monitor desktop).
void GetMonitorArea(HWND window, ScreenArea area, gfx::Rect& rect);
// The union of all monitors.
gfx::Rect GetVirtualScreen();
// The monitors: the one nearest a rectangle (largest overlap, else
// shortest distance).
gfx::Rect MonitorBoundsNear(const gfx::Rect& rect, ScreenArea area);

// The system version the program reports: 5.1. The skin code chooses its
// translucency paths by the version of the classic desktop it was written
// for, where 5.0 to 5.2 had layered windows. Every backend here offers
// whole-window opacity (or ignores it harmlessly), so answering as that
// generation keeps those paths working instead of switching them off.
constexpr int SystemMajorVersion = 5;
constexpr int SystemMinorVersion = 1;
// The generation tests for a given version: 5.1 exactly, and 5.0 to 5.2.
bool IsWindowsXP(int majorVersion, int minorVersion);
bool IsWindows2000Family(int majorVersion, int minorVersion);
// The same for the version the program reports.
bool IsWindowsXP();
bool IsWindows2000Family();

}  // namespace ui
