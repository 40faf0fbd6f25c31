#pragma once

// The modal loops the default window procedure runs while the mouse button
// is held on the frame. Internal to ui.

#include "gfx/Geometry.h"
#include "ui/WindowTypes.h"

namespace ui {

// Moves (SC_MOVE) or sizes (SC_SIZE + the WMSZ_ edge in the low bits) the
// window with the pointer until the left button goes up (keeping the
// result) or Escape is pressed (restoring the rectangle). Sends
// WM_ENTERSIZEMOVE, WM_GETMINMAXINFO, WM_MOVING or WM_SIZING for every
// step (the handler may change the rectangle) and WM_EXITSIZEMOVE; other
// messages are dispatched meanwhile.
void RunSizeMoveLoop(HWND window, WPARAM command, gfx::Point start);

// Holds a default caption button (HTCLOSE, HTMAXBUTTON, HTMINBUTTON)
// pressed while the pointer is over it; a release over it sends the
// button's WM_SYSCOMMAND.
void RunFrameButtonLoop(HWND window, LRESULT button);

}  // namespace ui
