#include "ui/windowing/WindowSystem.h"

#include <algorithm>

#include "core/Exception.h"
#include "ui/windowing/Desktop.h"
#include "ui/windowing/SystemMetrics.h"
#include "ui/windowing/Windows.h"
#include "ui/windowing/WindowStyles.h"

namespace ui {
namespace {

// One GUI thread, one window system.
WindowSystem* CurrentSystem = nullptr;

}  // namespace

bool Window::IsVisible() const {
  for (const Window* w = this; w; w = w->Parent) {
    if (!(w->Style & WS_VISIBLE)) return false;
  }
  return true;
}

// ---- WindowSystem ----

WindowSystem::WindowSystem(std::unique_ptr<platform::Platform> platform)
    : FPlatform(std::move(platform)) {
  if (!FPlatform) throw core::EInvalidOperation("The window system needs a platform backend");
  if (CurrentSystem) throw core::EInvalidOperation("A window system is already running");
  FDesktop = std::make_unique<Desktop>(*FPlatform);
  CurrentSystem = this;
  WindowClass standard;
  standard.Name = DefaultWindowClassName;
  standard.Style = CS_DBLCLKS;
  standard.Background = GetSysColor(COLOR_BTNFACE);
  RegisterClass(standard);
}

WindowSystem::~WindowSystem() {
  FDesktop.reset();
  CurrentSystem = nullptr;
}

WindowSystem* WindowSystem::Current() { return CurrentSystem; }

platform::NativeWindow WindowSystem::NativeWindowOf(HWND window) const {
  Window* w = FDesktop->Find(window);
  return w && w->Surface ? w->Surface->Native : platform::NoWindow;
}

HWND WindowSystem::WindowFromNative(platform::NativeWindow native) const {
  Window* w = FDesktop->FromNative(native);
  return w ? w->Handle : nullptr;
}

void WindowSystem::SetErrorHandler(std::function<void(std::exception_ptr)> handler) {
  FDesktop->ErrorHandler = std::move(handler);
}

Desktop& CurrentDesktop() {
  if (!CurrentSystem) throw core::EInvalidOperation("No window system is running");
  return CurrentSystem->State();
}

Desktop* CurrentDesktopOrNull() { return CurrentSystem ? &CurrentSystem->State() : nullptr; }

// ---- Desktop: lookup and geometry ----

Desktop::Desktop(platform::Platform& platform) : Platform(platform) {}

Desktop::~Desktop() {
  // Silent: no procedure is called (see ~WindowSystem).
  for (Window* top : TopLevels) {
    if (top->Surface) Platform.DestroyWindow(top->Surface->Native);
  }
  if (Capture) Platform.ReleasePointer();
}

Window* Desktop::Find(HWND window) const {
  if (!window) return nullptr;
  auto it = Windows.find(reinterpret_cast<std::uintptr_t>(window));
  return it == Windows.end() ? nullptr : it->second.get();
}

Window* Desktop::FromNative(platform::NativeWindow native) const {
  if (native == platform::NoWindow) return nullptr;
  for (Window* top : TopLevels) {
    if (top->Surface && top->Surface->Native == native) return top;
  }
  return nullptr;
}

Window* Desktop::TopLevelOf(Window* window) {
  while (window && window->Parent) window = window->Parent;
  return window;
}

gfx::Point Desktop::OffsetInTopLevel(const Window* window) {
  gfx::Point offset;
  for (const Window* w = window; w->Parent; w = w->Parent) {
    offset.X += w->Bounds.Left + w->Parent->Client.Left;
    offset.Y += w->Bounds.Top + w->Parent->Client.Top;
  }
  return offset;
}

gfx::Rect Desktop::ScreenBounds(const Window* window) {
  if (!window->Parent) return window->Bounds;
  gfx::Point origin = ClientOriginOnScreen(window->Parent);
  return window->Bounds.Offset(origin.X, origin.Y);
}

gfx::Point Desktop::ClientOriginOnScreen(const Window* window) {
  gfx::Rect bounds = ScreenBounds(window);
  return gfx::Point{bounds.Left + window->Client.Left, bounds.Top + window->Client.Top};
}

namespace {

// A window's outline in its top-level window's coordinates: its rectangle
// cut to its region.
gfx::Region Outline(const Window* window) {
  gfx::Point offset = Desktop::OffsetInTopLevel(window);
  gfx::Region outline(gfx::Rect::FromSize(offset.X, offset.Y, window->Bounds.Width(),
                                          window->Bounds.Height()));
  if (window->Shape) {
    gfx::Region shape = *window->Shape;
    shape.Offset(offset.X, offset.Y);
    outline.Intersect(shape);
  }
  return outline;
}

}  // namespace

gfx::Region Desktop::VisibleRegion(const Window* window, WindowArea area) const {
  const Window* top = window;
  while (top->Parent) top = top->Parent;
  if (!window->IsVisible() || !top->Surface || window->Destroying) return gfx::Region();
  gfx::Region visible = Outline(window);
  for (const Window* ancestor = window->Parent; ancestor; ancestor = ancestor->Parent) {
    gfx::Point offset = OffsetInTopLevel(ancestor);
    visible.Intersect(ancestor->Client.Offset(offset.X, offset.Y));
    visible.Intersect(Outline(ancestor));
  }
  // Siblings above this window and above each ancestor cover it.
  for (const Window* w = window; w->Parent; w = w->Parent) {
    const auto& siblings = w->Parent->Children;
    auto it = std::find(siblings.begin(), siblings.end(), w);
    for (++it; it != siblings.end(); ++it) {
      if ((*it)->Style & WS_VISIBLE) visible.Subtract(Outline(*it));
    }
  }
  gfx::Point offset = OffsetInTopLevel(window);
  gfx::Rect client = window->Client.Offset(offset.X, offset.Y);
  if (area == WindowArea::Client) visible.Intersect(client);
  if (area == WindowArea::NonClient) visible.Subtract(client);
  if (area != WindowArea::NonClient) {
    for (const Window* child : window->Children) {
      if (child->Style & WS_VISIBLE) visible.Subtract(Outline(child));
    }
  }
  return visible;
}

Window* Desktop::ChildFromScreenPoint(Window* topLevel, gfx::Point screen) const {
  if (!topLevel || !(topLevel->Style & WS_VISIBLE)) return nullptr;
  auto holds = [](const Window* w, gfx::Point screenPoint) {
    gfx::Rect bounds = ScreenBounds(w);
    if (!bounds.Contains(screenPoint)) return false;
    if (!w->Shape) return true;
    return w->Shape->Contains(gfx::Point{screenPoint.X - bounds.Left, screenPoint.Y - bounds.Top});
  };
  if (!holds(topLevel, screen)) return nullptr;
  Window* current = topLevel;
  for (;;) {
    gfx::Point origin = ClientOriginOnScreen(current);
    gfx::Rect clientOnScreen{origin.X, origin.Y, origin.X + current->Client.Width(),
                             origin.Y + current->Client.Height()};
    if (!clientOnScreen.Contains(screen)) return current;
    Window* found = nullptr;
    for (auto it = current->Children.rbegin(); it != current->Children.rend(); ++it) {
      Window* child = *it;
      if (!(child->Style & WS_VISIBLE) || (child->Style & WS_DISABLED)) continue;
      if (holds(child, screen)) {
        found = child;
        break;
      }
    }
    if (!found) return current;
    current = found;
  }
}

}  // namespace ui
