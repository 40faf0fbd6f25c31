#pragma once

#include <string>

#include "gfx/Bitmap.h"
#include "gfx/Canvas.h"
#include "gfx/Geometry.h"
#include "ui/windowing/WindowTypes.h"

// The classic window frame that the default window procedure computes
// (WM_NCCALCSIZE), draws (WM_NCPAINT) and hit-tests (WM_NCHITTEST), so that
// a window without a skin looks and behaves like a desktop window on every
// platform; native windows never get a system frame.
//
//   +------------------------------------------------+  Border rings:
//   | [icon] Title                       [_][#] [X]  |  4 px with
//   |------------------------------------------------|  WS_THICKFRAME,
//   |                                                |  3 px fixed,
//   |                client area                     |  1 px WS_BORDER
//   |                                                |
//   +------------------------------------------------+
//
// Caption bar 18 px (15 for tool windows) plus a 1 px line; buttons
// 16 x 14 with 2 px margins, minimise and maximise side by side, the
// close button 2 px apart from them.
namespace ui {

struct DefaultFrameMetrics {
  int Border = 0;      // width of the frame rings
  int Edge = 0;        // client edge inside the frame (2 sunken, 1 static)
  int CaptionBar = 0;  // height of the caption bar, 0 without a caption
  int Caption = 0;     // the bar and the line under it
};

DefaultFrameMetrics GetDefaultFrameMetrics(DWORD style, DWORD exStyle);
// The client rectangle for a window rectangle (same coordinates).
gfx::Rect DefaultClientRect(DWORD style, DWORD exStyle, const gfx::Rect& windowRect);
// The caption bar in window coordinates; empty without a caption.
gfx::Rect DefaultCaptionRect(DWORD style, DWORD exStyle, gfx::Size windowSize);
// HTCLOSE, HTMAXBUTTON, HTMINBUTTON or HTSYSMENU (the icon) in window
// coordinates; empty when the frame does not show it.
gfx::Rect DefaultFrameButtonRect(DWORD style, DWORD exStyle, gfx::Size windowSize,
                                 LRESULT hitCode);
// Whether a shown caption button can be pressed (a minimise button without
// WS_MINIMIZEBOX is drawn greyed).
bool DefaultFrameButtonEnabled(DWORD style, LRESULT hitCode);
// The hit-test code of a point in window coordinates. A maximised window
// has no sizing borders.
LRESULT DefaultFrameHitTest(DWORD style, DWORD exStyle, gfx::Size windowSize,
                            const gfx::Rect& client, gfx::Point point);

struct DefaultFrameLook {
  bool Active = false;
  LRESULT PressedButton = 0;
  std::string Title;
  const gfx::Bitmap* Icon = nullptr;
};

// Draws the frame onto a canvas whose origin is the window's top-left.
void PaintDefaultFrame(gfx::Canvas& canvas, DWORD style, DWORD exStyle, gfx::Size windowSize,
                       const gfx::Rect& client, const DefaultFrameLook& look);

}  // namespace ui
