#pragma once

// Every X11 header the backend uses, included in one place. Xlib defines
// plain macros (None, FocusIn, FocusOut, Expose, CursorShape, Bool, Status) that collide with the
// enumerators of the platform interface, so they are turned into constants
// of our own here and the macros removed. Include this before any other
// header that might pull Xlib in, and never from outside platform/x11/ and
// the x11 tests.

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/shape.h>
#include <X11/keysym.h>

namespace platform::x11 {

constexpr long XNone = None;
constexpr int EventFocusIn = FocusIn;
constexpr int EventFocusOut = FocusOut;
constexpr int EventExpose = Expose;
constexpr int CursorShapeClass = CursorShape;
// Bool and Status are plain ints in Xlib.
using XBool = Bool;
using XStatus = Status;

}  // namespace platform::x11

#undef None
#undef FocusIn
#undef FocusOut
#undef Expose
#undef CursorShape
#undef Bool
#undef Status
