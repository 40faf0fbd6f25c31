#pragma once

#include "gfx/Geometry.h"

namespace platform {

// One monitor of the desktop in screen coordinates. The work area is the
// part not covered by panels and task bars; it lies inside Bounds.
struct Monitor {
  gfx::Rect Bounds;
  gfx::Rect WorkArea;
  bool Primary = false;

  friend bool operator==(const Monitor&, const Monitor&) = default;
};

}  // namespace platform
