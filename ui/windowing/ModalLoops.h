#pragma once

// The modal loops the default window procedure runs while the mouse button
// is held on the frame, and the steps they share with the window menu's
// loops. Internal to ui.

#include <functional>

#include "gfx/Geometry.h"
#include "ui/windowing/MessageRecords.h"
#include "ui/windowing/WindowTypes.h"

namespace ui {

// Moves (SC_MOVE) or sizes (SC_SIZE + the WMSZ_ edge in the low bits) the
// window with the pointer until the left button goes up (keeping the
// result) or Escape is pressed (restoring the rectangle). Sends
// WM_ENTERSIZEMOVE, WM_GETMINMAXINFO, WM_MOVING or WM_SIZING for every
// step (the handler may change the rectangle) and WM_EXITSIZEMOVE; other
// messages are dispatched meanwhile. Losing the capture or the activation
// ends it where the window is.
void RunSizeMoveLoop(HWND window, WPARAM command, gfx::Point start);

// Holds a default caption button (HTCLOSE, HTMAXBUTTON, HTMINBUTTON)
// pressed while the pointer is over it; a release over it sends the
// button's WM_SYSCOMMAND.
void RunFrameButtonLoop(HWND window, LRESULT button);

// ---- Shared steps ----

// Takes the next message for a modal loop, waiting when there is none.
// False once ended() is true, which is asked again after the platform's
// events are read and before the message is taken (reading them may
// change the activation), or for WM_QUIT, which is posted again for the
// program's own loop.
bool NextModalMessage(TMsg& message, const std::function<bool()>& ended);

// Pointer messages of the client and of the frame.
bool IsMouseMessage(UINT message);

// Starts moving or sizing a window: sends WM_ENTERSIZEMOVE, then
// WM_GETMINMAXINFO with the default tracking sizes, and takes the mouse
// capture. Gives the window's screen rectangle and the tracking sizes;
// false when the window went away meanwhile.
bool BeginSizeMove(HWND window, gfx::Rect& original, MinMaxInfo& limits);
// Ends it: releases the capture and sends WM_EXITSIZEMOVE, for a window
// that is still there.
void EndSizeMove(HWND window);

// The rectangle after dragging an edge (WMSZ_) by (dx, dy), kept within
// the tracking sizes by moving the dragged edge back (the opposite edge
// stays).
gfx::Rect SizedRect(const gfx::Rect& start, WPARAM edge, int dx, int dy, const MinMaxInfo& limits);

// Places a window at a screen rectangle (converted for child windows).
void PlaceWindowAt(HWND window, const gfx::Rect& screen);

}  // namespace ui
