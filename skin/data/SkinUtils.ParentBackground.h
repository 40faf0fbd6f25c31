#pragma once

// What lies under a control: its parent's background and the siblings
// below it, painted into a memory picture through the ordinary paint
// messages (WM_ERASEBKGND and WM_PAINT with the context in wParam). The
// skinned controls blend over it (alpha) or draw their flat looks on it.

#include "gfx/Bitmap.h"
#include "ui/windowing/WindowTypes.h"

namespace ui {
class TControl;
class TWinControl;
}  // namespace ui

namespace skin {

// Paints into context, whose origin is the control's top-left corner, what
// lies under control: the parent's background (a form erases, any other
// parent erases and paints itself with its windowless children), then every
// visible windowed custom control before control among its siblings that
// overlaps it, with their own children (PaintChildControls). A form
// parent's windowless children are painted one by one; another parent's
// came with its own paint, so none is painted twice (a transparent text
// drawn twice over itself would come out heavier). Nothing for a control
// without a parent.
void PaintParentBackground(ui::TControl& control, ui::HDC context);
// The same into a picture of the control's size.
void PaintParentBackground(ui::TControl& control, gfx::Bitmap& target);

// The variant of the check and radio boxes: the parent (clipped to its
// client area, marked csPaintCopy while it paints) and the windowless
// siblings before control that overlap it, each marked csPaintCopy.
void PaintParentBackgroundForBox(ui::TControl& control, ui::HDC context);
void PaintParentBackgroundForBox(ui::TControl& control, gfx::Bitmap& target);

// Paints the visible windowed custom controls among parent's children into
// context (origin at parent's top-left corner), each clipped to its bounds,
// and their children in turn.
void PaintChildControls(ui::TWinControl& parent, ui::HDC context);

}  // namespace skin
