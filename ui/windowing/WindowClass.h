#pragma once

#include <optional>
#include <string>

#include "gfx/Color.h"
#include "platform/CursorShape.h"
#include "ui/windowing/WindowTypes.h"

namespace ui {

// What windows of one kind share: the procedure they start with, the class
// styles (CS_DBLCLKS ...), the pointer over their client area and the
// colour the default procedure erases their background with.
struct WindowClass {
  std::string Name;
  // nullptr: the windows start with DefWindowProc.
  WNDPROC Procedure;
  UINT Style = 0;
  platform::CursorShape Cursor = platform::CursorShape::Arrow;
  // None: WM_ERASEBKGND leaves the background alone.
  std::optional<gfx::Color> Background;
};

// The class registered by the window system itself: DefWindowProc, double
// clicks, the button-face background.
constexpr const char* DefaultWindowClassName = "OstvaneWindow";

}  // namespace ui
