#include "ui/windowing/DeviceContext.h"

namespace ui {

DeviceContext::DeviceContext(gfx::Bitmap& target)
    : FCanvas(target), FInitialClip(target.Bounds()) {}

DeviceContext::DeviceContext(std::shared_ptr<gfx::Bitmap> surface, HWND window, gfx::Point origin,
                             const gfx::Region& clip)
    : FSurface(std::move(surface)), FCanvas(*FSurface), FWindow(window), FInitialClip(clip) {
  FCanvas.SetOrigin(origin);
  FCanvas.SetClip(clip);
}

}  // namespace ui
