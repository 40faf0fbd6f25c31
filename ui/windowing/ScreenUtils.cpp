#include "ui/windowing/ScreenUtils.h"

#include <algorithm>
#include <climits>

#include "ui/windowing/Desktop.h"
#include "ui/windowing/Windows.h"

namespace ui {

void CopyScreenRect(int x, int y, gfx::Bitmap& bitmap) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop || bitmap.IsEmpty()) return;
  // The screen must show what was painted so far.
  desktop->FlushPresentation();
  gfx::Bitmap captured;
  if (!desktop->Platform.CaptureScreen(gfx::Rect::FromSize(x, y, bitmap.Width(), bitmap.Height()), captured)) {
    return;
  }
  gfx::CopyRect(bitmap, gfx::Point{}, captured, captured.Bounds());
}

void SetWindowAlpha(HWND window, std::uint8_t alpha) {
  SetLayeredWindowAttributes(window, 0, alpha, LWA_ALPHA);
}

bool IsMultiMonitor() {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop && desktop->Platform.Monitors().size() > 1;
}

void GetScreenArea(ScreenArea area, gfx::Rect& rect) {
  Desktop* desktop = CurrentDesktopOrNull();
  rect = gfx::Rect{};
  if (!desktop) return;
  auto monitors = desktop->Platform.Monitors();
  if (monitors.empty()) return;
  rect = area == ScreenArea::WorkArea ? monitors.front().WorkArea : monitors.front().Bounds;
}

gfx::Rect GetVirtualScreen() {
  Desktop* desktop = CurrentDesktopOrNull();
  gfx::Rect all;
  if (!desktop) return all;
  for (const platform::Monitor& m : desktop->Platform.Monitors()) all = all.Union(m.Bounds);
  return all;
}

gfx::Rect MonitorBoundsNear(const gfx::Rect& rect, ScreenArea area) {
  Desktop* desktop = CurrentDesktopOrNull();
  if (!desktop) return gfx::Rect{};
  auto monitors = desktop->Platform.Monitors();
  if (monitors.empty()) return gfx::Rect{};
  const platform::Monitor* best = &monitors.front();
  long long bestOverlap = -1;
  long long bestDistance = LLONG_MAX;
  for (const platform::Monitor& m : monitors) {
    gfx::Rect common = m.Bounds.Intersect(rect);
    long long overlap = common.IsEmpty() ? 0 : (long long)common.Width() * common.Height();
    int dx = std::max({m.Bounds.Left - rect.Right, rect.Left - m.Bounds.Right, 0});
    int dy = std::max({m.Bounds.Top - rect.Bottom, rect.Top - m.Bounds.Bottom, 0});
    long long distance = (long long)dx * dx + (long long)dy * dy;
    if (overlap > bestOverlap || (overlap == 0 && bestOverlap == 0 && distance < bestDistance)) {
      best = &m;
      bestOverlap = overlap;
      bestDistance = distance;
    }
  }
  return area == ScreenArea::WorkArea ? best->WorkArea : best->Bounds;
}

void GetMonitorArea(HWND window, ScreenArea area, gfx::Rect& rect) {
  gfx::Rect bounds;
  if (!IsMultiMonitor() || !GetWindowRect(window, bounds)) {
    GetScreenArea(area, rect);
    return;
  }
  rect = MonitorBoundsNear(bounds, area);
}

bool IsWindowsXP(int majorVersion, int minorVersion) { return majorVersion == 5 && minorVersion == 1; }

bool IsWindows2000Family(int majorVersion, int minorVersion) {
  return majorVersion == 5 && minorVersion >= 0 && minorVersion <= 2;
}

bool IsWindowsXP() { return IsWindowsXP(SystemMajorVersion, SystemMinorVersion); }

bool IsWindows2000Family() { return IsWindows2000Family(SystemMajorVersion, SystemMinorVersion); }

}  // namespace ui
