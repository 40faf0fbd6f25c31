#pragma once

#include <memory>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Region.h"
#include "ui/windowing/WindowTypes.h"

namespace ui {

// A canvas bound to where it draws: a window's part of its top-level
// window's surface (window, client and paint contexts, handed out by
// GetWindowDC, GetDC and BeginPaint), or a bitmap of the caller (a memory
// context, made directly). Window contexts start with the origin at the
// window's or client area's top-left corner and a clip that keeps them on
// the window's visible pixels; what they may have touched is presented
// when they are released.
class DeviceContext {
 public:
  // A memory context over a bitmap the caller keeps alive.
  explicit DeviceContext(gfx::Bitmap& target);
  // A window context. The surface is shared so that a context outliving a
  // resize or its window draws into the old surface harmlessly.
  DeviceContext(std::shared_ptr<gfx::Bitmap> surface, HWND window, gfx::Point origin,
                const gfx::Region& clip);

  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  gfx::Canvas& Canvas() { return FCanvas; }
  const gfx::Canvas& Canvas() const { return FCanvas; }
  // The window the context draws for; nullptr for a memory context.
  HWND Window() const { return FWindow; }
  // The pixels the context was allowed to draw when it was made, surface
  // coordinates (the whole bitmap for a memory context).
  const gfx::Region& InitialClip() const { return FInitialClip; }
  const std::shared_ptr<gfx::Bitmap>& Surface() const { return FSurface; }

 private:
  std::shared_ptr<gfx::Bitmap> FSurface;
  gfx::Canvas FCanvas;
  HWND FWindow = nullptr;
  gfx::Region FInitialClip;
};

}  // namespace ui
