#pragma once

#include "gfx/Geometry.h"

namespace skin {

// The skin code speaks of points and rectangles by their classic names;
// they are the pixel layer's types.
using TRect = gfx::Rect;
using TPoint = gfx::Point;

}  // namespace skin
