#pragma once

#include <cstdint>
#include <string_view>

#include "ui/windowing/Messages.h"
#include "ui/windowing/WindowTypes.h"

// Sending, posting and receiving messages on the GUI thread.
//
// The queue hands out, in this order: posted messages, WM_QUIT, input
// (translated from the platform's events when it is taken, so hit testing
// sees the windows as they are then), WM_PAINT for a window with something
// to paint, and WM_TIMER for a due timer. Before it waits it presents what
// was painted.
//
// All of it belongs to the GUI thread; another thread can only end a wait,
// with Platform::Wake.
namespace ui {

// Calls the window's procedure now and returns its result; 0 for a window
// that does not exist (a destroyed one included). Re-entrant: a handler
// may send, process messages or destroy windows, its own included.
LRESULT SendMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues a message; false for a window that does not exist. nullptr posts
// to the thread (GetMessage returns it, DispatchMessage ignores it).
// Messages still queued for a window when it is destroyed are dropped.
bool PostMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
// Waits for the next message (filtering as PeekMessage); false for WM_QUIT.
bool GetMessage(TMsg& message, HWND window = nullptr, UINT first = 0, UINT last = 0);
// Takes (PM_REMOVE) or looks at (PM_NOREMOVE) the next message without
// waiting. A window filter matches the window and its descendants; first
// and last limit the message numbers (both 0: no limit).
bool PeekMessage(TMsg& message, HWND window, UINT first, UINT last, UINT remove);
// Calls the procedure of the message's window (or the timer's procedure).
// A WM_PAINT whose handler left the update region unpainted validates it,
// so a procedure that ignores WM_PAINT cannot make the queue spin.
LRESULT DispatchMessage(const TMsg& message);
// Characters come from the platform already (WM_CHAR follows WM_KEYDOWN by
// itself), so there is nothing to translate; kept for the classic loop.
bool TranslateMessage(const TMsg& message);
// Returns when a message is waiting (waiting for the next due timer).
void WaitMessage();
// GetMessage answers WM_QUIT with the code once the posted messages before
// it are handled.
void PostQuitMessage(int exitCode);
// Handles every message that is waiting (including those that handlers
// post meanwhile), then returns; a WM_QUIT stops it and stays queued.
// May be called from a handler: the messages of other windows and other
// handlers run inside it.
void ProcessMessages();
// The classic loop until WM_QUIT; returns the quit code.
int RunMessageLoop();

// A message number for a name, the same for the same name during the run
// (0xC000 and up), for messages agreed on by name between components.
UINT RegisterWindowMessage(std::string_view name);

// The platform clock in milliseconds.
std::uint64_t GetTickCount64();
std::uint32_t GetTickCount();

}  // namespace ui
