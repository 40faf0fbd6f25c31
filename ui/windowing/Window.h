#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "gfx/Region.h"
#include "platform/NativeWindow.h"
#include "ui/windowing/WindowClass.h"
#include "ui/windowing/WindowTypes.h"

namespace ui {

class WindowMenu;

// The surface of a top-level window: the native window, the back buffer
// every window of the tree paints into, and the part of it not yet
// presented.
struct TopLevelSurface {
  platform::NativeWindow Native = platform::NoWindow;
  std::shared_ptr<gfx::Bitmap> BackBuffer;
  gfx::Region Dirty;
};

// One window of the tree. Internal to the window system: everything above
// it names windows by HWND only.
struct Window {
  HWND Handle = nullptr;
  // The parent of a child window; nullptr for top-level and message-only
  // windows.
  Window* Parent = nullptr;
  // The owner of a top-level window (popups close with it).
  HWND Owner = nullptr;
  // Child windows, bottom to top.
  std::vector<Window*> Children;
  std::shared_ptr<const WindowClass> Class;
  WNDPROC Procedure;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  LONG_PTR Id = 0;
  LONG_PTR UserData = 0;
  // Outer rectangle in the parent's client coordinates (screen coordinates
  // for top-level windows).
  gfx::Rect Bounds;
  // Client rectangle relative to the window's top-left corner.
  gfx::Rect Client;
  std::string Text;
  gfx::Bitmap Icon;
  // The window region (SetWindowRgn), window coordinates.
  std::optional<gfx::Region> Shape;
  // What needs painting, client coordinates, and whether the background
  // and the non-client area need it too.
  gfx::Region Update;
  bool ErasePending = false;
  bool FramePending = false;
  // The frame is drawn active (the last WM_NCACTIVATE).
  bool FrameActive = false;
  // A caption button held down by the default frame's button loop.
  LRESULT PressedFrameButton = 0;
  std::uint8_t Alpha = 255;
  // The window menu: the copy its owner asked for (GetSystemMenu), and
  // the standard one last prepared for showing.
  std::shared_ptr<WindowMenu> OwnMenu;
  std::shared_ptr<WindowMenu> PreparedMenu;
  // Bounds before maximising.
  std::optional<gfx::Rect> RestoreBounds;
  bool MessageOnly = false;
  // Set once WM_DESTROY is on its way; nothing new is started for it.
  bool Destroying = false;
  // Top-level windows with a native window.
  std::unique_ptr<TopLevelSurface> Surface;

  bool IsChild() const { return Parent != nullptr; }
  bool IsVisible() const;  // this and every ancestor have WS_VISIBLE
  gfx::Size Size() const { return gfx::Size{Bounds.Width(), Bounds.Height()}; }
};

}  // namespace ui
