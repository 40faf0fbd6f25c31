#include "ui/windowing/Painting.h"

#include <algorithm>

#include "ui/windowing/Desktop.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/WindowStyles.h"

namespace ui {
namespace {

gfx::Rect ClientArea(const Window* window) {
  return gfx::Rect{0, 0, window->Client.Width(), window->Client.Height()};
}

bool HasFrame(const Window* window) {
  return window->Client != gfx::Rect{0, 0, window->Bounds.Width(), window->Bounds.Height()};
}

// Presenting many small rectangles one by one costs more than their bounds.
constexpr int MaxPresentedRects = 8;

}  // namespace

// ---- Desktop: invalidation ----

void Desktop::UpdatePaintPending(Window* window) {
  auto key = reinterpret_cast<std::uintptr_t>(window->Handle);
  if (!window->Update.IsEmpty() || window->FramePending) PaintPending.insert(key);
  else PaintPending.erase(key);
}

void Desktop::Invalidate(Window* window, const gfx::Region& clientArea, bool erase) {
  gfx::Region area = clientArea;
  area.Intersect(ClientArea(window));
  if (area.IsEmpty()) return;
  window->Update.Unite(area);
  if (erase) window->ErasePending = true;
  UpdatePaintPending(window);
}

void Desktop::InvalidateFrame(Window* window) {
  if (!HasFrame(window)) return;
  window->FramePending = true;
  UpdatePaintPending(window);
}

void Desktop::InvalidateTree(Window* window) {
  Invalidate(window, gfx::Region(ClientArea(window)), true);
  InvalidateFrame(window);
  for (Window* child : window->Children) InvalidateTree(child);
}

void Desktop::InvalidateUncovered(Window* parent, const gfx::Rect& area) {
  Invalidate(parent, gfx::Region(area), true);
  for (Window* child : parent->Children) {
    if (!(child->Style & WS_VISIBLE)) continue;
    gfx::Rect inWindow = area.Intersect(child->Bounds).Offset(-child->Bounds.Left, -child->Bounds.Top);
    if (inWindow.IsEmpty()) continue;
    gfx::Rect inClient = inWindow.Offset(-child->Client.Left, -child->Client.Top);
    if (inWindow.Intersect(child->Client) != inWindow) InvalidateFrame(child);
    InvalidateUncovered(child, inClient);
  }
}

void Desktop::Validate(Window* window, const gfx::Region& clientArea) {
  window->Update.Subtract(clientArea);
  if (window->Update.IsEmpty()) window->ErasePending = false;
  UpdatePaintPending(window);
}

void Desktop::PaintNow(Window* window) {
  if (!window->IsVisible() || (window->Update.IsEmpty() && !window->FramePending)) return;
  HWND handle = window->Handle;
  Send(handle, WM_PAINT, 0, 0);
  // A handler that ignored the message must not leave it pending forever.
  if ((window = Find(handle))) {
    window->FramePending = false;
    Validate(window, window->Update);
  }
}

// ---- Desktop: contexts and presentation ----

std::unique_ptr<DeviceContext> Desktop::MakeContext(Window* window, WindowArea area,
                                                    const gfx::Region* limit) const {
  Window* top = TopLevelOf(window);
  if (!top->Surface) {
    static const auto nothing = std::make_shared<gfx::Bitmap>();
    return std::make_unique<DeviceContext>(nothing, window->Handle, gfx::Point{}, gfx::Region());
  }
  gfx::Point offset = OffsetInTopLevel(window);
  gfx::Point origin = offset;
  if (area == WindowArea::Client) origin = gfx::Point{offset.X + window->Client.Left, offset.Y + window->Client.Top};
  gfx::Region clip = VisibleRegion(window, area);
  if (limit) {
    gfx::Region bounded = *limit;
    bounded.Offset(origin.X, origin.Y);
    clip.Intersect(bounded);
  }
  return std::make_unique<DeviceContext>(top->Surface->BackBuffer, window->Handle, origin, clip);
}

HDC Desktop::KeepContext(std::unique_ptr<DeviceContext> context) {
  Contexts.push_back(std::move(context));
  return Contexts.back().get();
}

bool Desktop::ReleaseContext(HDC context) {
  auto it = std::find_if(Contexts.begin(), Contexts.end(),
                         [&](const std::unique_ptr<DeviceContext>& c) { return c.get() == context; });
  if (it == Contexts.end()) return false;
  if (Window* window = Find(context->Window())) {
    Window* top = TopLevelOf(window);
    // Only pixels of the current surface can be shown.
    if (top->Surface && top->Surface->BackBuffer == context->Surface()) {
      gfx::Region touched = context->InitialClip();
      touched.Unite(context->Canvas().Clip());
      MarkDirty(top, touched);
    }
  }
  Contexts.erase(it);
  return true;
}

void Desktop::MarkDirty(Window* topLevel, const gfx::Region& surfaceArea) {
  if (!topLevel->Surface) return;
  gfx::Region area = surfaceArea;
  area.Intersect(topLevel->Surface->BackBuffer->Bounds());
  topLevel->Surface->Dirty.Unite(area);
}

void Desktop::FlushPresentation() {
  for (Window* top : TopLevels) {
    TopLevelSurface* surface = top->Surface.get();
    if (!surface || surface->Dirty.IsEmpty()) continue;
    std::vector<gfx::Rect> rects = surface->Dirty.Rects();
    if (int(rects.size()) > MaxPresentedRects) rects = {surface->Dirty.Bounds()};
    for (const gfx::Rect& r : rects) Platform.PresentWindow(surface->Native, *surface->BackBuffer, r);
    surface->Dirty = gfx::Region();
  }
}

void Desktop::ResizeSurface(Window* topLevel) {
  TopLevelSurface* surface = topLevel->Surface.get();
  if (!surface) return;
  int width = topLevel->Bounds.Width();
  int height = topLevel->Bounds.Height();
  if (surface->BackBuffer->Width() == width && surface->BackBuffer->Height() == height) return;
  // A fresh buffer: contexts still open on the old one keep it alive.
  auto resized = std::make_shared<gfx::Bitmap>(width, height);
  gfx::CopyRect(*resized, gfx::Point{}, *surface->BackBuffer, surface->BackBuffer->Bounds());
  surface->BackBuffer = std::move(resized);
  surface->Dirty = gfx::Region(surface->BackBuffer->Bounds());
}

// ---- Invalidation ----

bool InvalidateRect(HWND handle, const gfx::Rect* rect, bool erase) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return false;
  desktop->Invalidate(window, gfx::Region(rect ? *rect : ClientArea(window)), erase);
  return true;
}

bool InvalidateRgn(HWND handle, const gfx::Region* region, bool erase) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return false;
  desktop->Invalidate(window, region ? *region : gfx::Region(ClientArea(window)), erase);
  return true;
}

bool ValidateRect(HWND handle, const gfx::Rect* rect) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return false;
  desktop->Validate(window, gfx::Region(rect ? *rect : ClientArea(window)));
  return true;
}

bool ValidateRgn(HWND handle, const gfx::Region* region) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return false;
  desktop->Validate(window, region ? *region : gfx::Region(ClientArea(window)));
  return true;
}

bool UpdateWindow(HWND handle) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return false;
  desktop->PaintNow(window);
  desktop->FlushPresentation();
  return true;
}

namespace {

void PaintTreeNow(Desktop& desktop, HWND handle) {
  Window* window = desktop.Find(handle);
  if (!window) return;
  desktop.PaintNow(window);
  if (!(window = desktop.Find(handle))) return;
  std::vector<HWND> children;
  for (Window* child : window->Children) children.push_back(child->Handle);
  for (HWND child : children) PaintTreeNow(desktop, child);
}

void RedrawOne(Desktop& desktop, Window* window, const gfx::Region& area, UINT flags, bool recurse) {
  if (flags & RDW_INVALIDATE) {
    desktop.Invalidate(window, area, (flags & RDW_ERASE) != 0);
    if (flags & RDW_FRAME) desktop.InvalidateFrame(window);
  }
  if (flags & RDW_VALIDATE) {
    desktop.Validate(window, area);
    if (flags & RDW_NOFRAME) window->FramePending = false;
    desktop.UpdatePaintPending(window);
  }
  if (!recurse) return;
  for (Window* child : window->Children) {
    gfx::Region inChild = area;
    inChild.Offset(-child->Bounds.Left - child->Client.Left, -child->Bounds.Top - child->Client.Top);
    RedrawOne(desktop, child, inChild, flags, true);
  }
}

}  // namespace

bool RedrawWindow(HWND handle, const gfx::Rect* rect, const gfx::Region* region, UINT flags) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return false;
  gfx::Region area = region ? *region : gfx::Region(rect ? *rect : ClientArea(window));
  bool children = (flags & RDW_ALLCHILDREN) != 0;
  RedrawOne(*desktop, window, area, flags, children);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) {
    if (children) PaintTreeNow(*desktop, handle);
    else if ((window = desktop->Find(handle))) desktop->PaintNow(window);
    desktop->FlushPresentation();
  }
  return true;
}

bool GetUpdateRect(HWND handle, gfx::Rect* rect) {
  Window* window = CurrentDesktopOrNull() ? CurrentDesktop().Find(handle) : nullptr;
  if (!window) return false;
  if (rect) *rect = window->Update.Bounds();
  return !window->Update.IsEmpty();
}

// ---- Contexts ----

HDC BeginPaint(HWND handle, PaintStruct& paint) {
  paint = PaintStruct{};
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return nullptr;
  if (window->FramePending) {
    window->FramePending = false;
    desktop->UpdatePaintPending(window);
    desktop->Send(handle, WM_NCPAINT, 1, 0);
    if (!(window = desktop->Find(handle))) return nullptr;
  }
  gfx::Region update = window->Update;
  bool erase = window->ErasePending;
  window->Update = gfx::Region();
  window->ErasePending = false;
  desktop->UpdatePaintPending(window);
  HDC context = desktop->KeepContext(desktop->MakeContext(window, WindowArea::Client, &update));
  paint.DC = context;
  paint.Paint = update.Bounds();
  if (erase) {
    LRESULT erased = desktop->Send(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
    paint.Erase = erased == 0;
  }
  return context;
}

bool EndPaint(HWND, const PaintStruct& paint) {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop && paint.DC && desktop->ReleaseContext(paint.DC);
}

namespace {

HDC GetContext(HWND handle, WindowArea area) {
  Desktop* desktop = CurrentDesktopOrNull();
  Window* window = desktop ? desktop->Find(handle) : nullptr;
  if (!window) return nullptr;
  return desktop->KeepContext(desktop->MakeContext(window, area, nullptr));
}

}  // namespace

HDC GetDC(HWND window) { return GetContext(window, WindowArea::Client); }
HDC GetWindowDC(HWND window) { return GetContext(window, WindowArea::Whole); }
HDC GetNonClientDC(HWND window) { return GetContext(window, WindowArea::NonClient); }

int ReleaseDC(HWND, HDC context) {
  Desktop* desktop = CurrentDesktopOrNull();
  return desktop && context && desktop->ReleaseContext(context) ? 1 : 0;
}

WindowDC::WindowDC(HWND window, Area area) : FWindow(window), FContext(nullptr) {
  switch (area) {
    case Area::Client: FContext = GetDC(window); break;
    case Area::Window: FContext = GetWindowDC(window); break;
    case Area::NonClient: FContext = GetNonClientDC(window); break;
  }
  if (!FContext) {
    FFallback = std::make_unique<DeviceContext>(FNothing);
    FContext = FFallback.get();
  }
}

WindowDC::~WindowDC() {
  if (!FFallback) ReleaseDC(FWindow, FContext);
}

}  // namespace ui
