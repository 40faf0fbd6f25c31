#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Color.h"
#include "gfx/Geometry.h"
#include "gfx/Region.h"
#include "ui/windowing/MessageRecords.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/WindowClass.h"
#include "ui/windowing/WindowStyles.h"
#include "ui/windowing/WindowTypes.h"

// The windows of the window system: creating and destroying them, their
// tree, procedures, styles, geometry, visibility, text, region and
// opacity. Every function taking an HWND does nothing (and returns false,
// nullptr or 0) for a handle that names no window.
namespace ui {

// Position or size left to the window system.
constexpr int CW_USEDEFAULT = int(0x80000000u);

// Registers a window class; false when the name is taken.
bool RegisterClass(const WindowClass& windowClass);
bool UnregisterClass(std::string_view name);

// Creates a window of a registered class. With WS_CHILD and a parent it is
// a child window; with HWND_MESSAGE as parent a hidden message-only window;
// otherwise a top-level window (parent: its owner) with a native window.
// Sends WM_GETMINMAXINFO (top-level), WM_NCCREATE, WM_NCCALCSIZE,
// WM_CREATE, WM_SIZE and WM_MOVE, then shows it when WS_VISIBLE is set.
// nullptr when the class is unknown, the parent invalid, or WM_NCCREATE
// answers FALSE or WM_CREATE answers -1.
HWND CreateWindowEx(DWORD exStyle, std::string_view className, std::string_view windowName,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    void* createParams = nullptr);
// Destroys owned windows first, hides the window, takes focus, activation
// and capture away, sends WM_DESTROY (parent before children) and
// WM_NCDESTROY (children before parent), then forgets it: its timers and
// queued messages go with it. May be called from the window's own handler.
bool DestroyWindow(HWND window);
bool IsWindow(HWND window);

// ---- Tree ----
// The parent of a child window, the owner of a top-level window.
HWND GetParent(HWND window);
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;
HWND GetAncestor(HWND window, UINT flags);
// True when window is a descendant of parent (not parent itself).
bool IsChild(HWND parent, HWND window);
// GW_CHILD (topmost child), GW_HWNDNEXT (the sibling below), GW_HWNDPREV,
// GW_HWNDFIRST, GW_HWNDLAST, GW_OWNER.
HWND GetWindow(HWND window, UINT relation);
// Moves a window under another parent, keeping its position numbers (now
// in the new parent's client coordinates). With a parent it becomes a
// child (WS_CHILD set, its native window goes); with nullptr a top-level
// window (WS_CHILD cleared, a native window is made). It lands on top of
// its new siblings; the old and new places are repainted; a focus inside it
// stays only when it remains in the same top-level window, and the
// activation moves on when an active top-level window becomes a child.
// Returns the old parent (nullptr for a top-level window, or on failure:
// no window, a parent that is the window or one of its descendants, a
// message-only window or parent, a window being destroyed).
HWND SetParent(HWND window, HWND newParent);
// Direct children, topmost first.
std::vector<HWND> GetChildWindows(HWND parent);
// Top-level and message-only windows from the bottom of the stack up
// (creation order until a window is re-ordered; topmost ones last).
std::vector<HWND> GetTopLevelWindows();
std::string GetClassName(HWND window);

// ---- Procedures ----
WNDPROC GetWindowProc(HWND window);
// Installs a procedure and returns the one it replaces, which the new one
// calls (CallWindowProc) for what it does not handle. Remove a hook by
// installing the returned procedure again; hooks are removed in the
// reverse order of installing. nullptr means DefWindowProc.
WNDPROC SetWindowProc(HWND window, WNDPROC procedure);
LRESULT CallWindowProc(const WNDPROC& procedure, HWND window, UINT message, WPARAM wParam,
                       LPARAM lParam);
// The default behaviour of every message (frame, hit testing, move and
// size loops, activation, cursor, system commands ...).
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Styles and data ----
// GWL_STYLE, GWL_EXSTYLE, GWL_ID, GWL_USERDATA, GWL_HWNDPARENT. Changing
// the frame styles takes effect at SetWindowPos(SWP_FRAMECHANGED).
LONG_PTR GetWindowLong(HWND window, int index);
LONG_PTR SetWindowLong(HWND window, int index, LONG_PTR value);

// ---- Geometry ----
// The outer rectangle on the screen.
bool GetWindowRect(HWND window, gfx::Rect& rect);
// The client area: (0, 0, width, height).
bool GetClientRect(HWND window, gfx::Rect& rect);
bool ClientToScreen(HWND window, gfx::Point& point);
bool ScreenToClient(HWND window, gfx::Point& point);
// A point from one window's client coordinates to another's (nullptr:
// the screen).
gfx::Point MapWindowPoint(HWND from, HWND to, gfx::Point point);
// Moves, sizes, re-orders, shows or hides (SWP_ flags). Re-ordering a
// top-level window: HWND_TOP and HWND_NOTOPMOST put it above the other
// normal windows, HWND_TOPMOST above everything (and makes it topmost),
// HWND_BOTTOM below everything (and not topmost); topmost windows always
// stay above normal ones. A top-level window raised without
// SWP_NOACTIVATE is also activated; with it, the active window and the
// focus stay as they are. Sends
// WM_WINDOWPOSCHANGING (the handler may change the WindowPos), WM_NCCALCSIZE
// when the size or frame changes, and WM_WINDOWPOSCHANGED (whose default
// sends WM_MOVE and WM_SIZE). The default WM_WINDOWPOSCHANGING holds a new
// size of a sizeable (WS_THICKFRAME) top-level window to the tracking sizes
// WM_GETMINMAXINFO answers (the minimum not while minimised). x, y: parent
// client coordinates, or the screen for top-level windows.
bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
bool MoveWindow(HWND window, int x, int y, int width, int height, bool repaint);
// Raises a window to the top of its siblings; a top-level window is also
// activated (SetWindowPos with HWND_TOP and SWP_NOACTIVATE raises
// without activating).
bool BringWindowToTop(HWND window);

// ---- Visibility and state ----
// SW_ commands; true when the window was visible before.
bool ShowWindow(HWND window, int command);
// WS_VISIBLE of the window and all its ancestors.
bool IsWindowVisible(HWND window);
bool IsIconic(HWND window);
bool IsZoomed(HWND window);
// Sends WM_ENABLE; a window being disabled loses focus and capture. True
// when the window was disabled before.
bool EnableWindow(HWND window, bool enable);
bool IsWindowEnabled(HWND window);
// The topmost visible, enabled window under a screen point.
HWND WindowFromPoint(gfx::Point screen);
// The child of parent under a point of parent's client area (parent itself
// when no child is there, nullptr outside the parent).
HWND ChildWindowFromPoint(HWND parent, gfx::Point client);

// ---- Text and icon ----
// Through WM_SETTEXT / WM_GETTEXT (UTF-8).
bool SetWindowText(HWND window, std::string_view text);
std::string GetWindowText(HWND window);
int GetWindowTextLength(HWND window);
// The icon of a top-level window (caption and task bar).
bool SetWindowIcon(HWND window, const gfx::Bitmap& icon);

// ---- Region and opacity ----
// The window's shape in window coordinates (none: rectangular). Hit
// testing and painting respect it; a top-level window's native shape
// follows it. redraw repaints what changed.
bool SetWindowRgn(HWND window, std::optional<gfx::Region> region, bool redraw);
std::optional<gfx::Region> GetWindowRgn(HWND window);
// Opacity of a top-level window with WS_EX_LAYERED (LWA_ALPHA); colour
// keys are not supported and ignored. False without WS_EX_LAYERED.
bool SetLayeredWindowAttributes(HWND window, gfx::Color key, std::uint8_t alpha, DWORD flags);
bool GetLayeredWindowAttributes(HWND window, std::uint8_t& alpha);

}  // namespace ui
