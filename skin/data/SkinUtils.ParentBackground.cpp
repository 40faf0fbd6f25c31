#include "skin/data/SkinUtils.ParentBackground.h"

#include <algorithm>
#include <vector>

#include "gfx/Canvas.h"
#include "ui/classlib/Controls.h"
#include "ui/classlib/Forms.h"
#include "ui/windowing/DeviceContext.h"
#include "ui/windowing/Messages.h"

namespace skin {

namespace {

bool IsForm(const ui::TWinControl& control) { return dynamic_cast<const ui::TCustomForm*>(&control) != nullptr; }
bool IsWindowless(const ui::TControl& control) { return dynamic_cast<const ui::TWinControl*>(&control) == nullptr; }
bool IsCustomControl(const ui::TControl& control) { return dynamic_cast<const ui::TCustomControl*>(&control) != nullptr; }

// The siblings before control in its parent's list (windowless ones first,
// then windowed ones, as TWinControl keeps them). A copy: painting may not
// change the list, but a paint handler is foreign code.
std::vector<ui::TControl*> SiblingsBefore(const ui::TControl& control) {
  std::vector<ui::TControl*> result;
  ui::TWinControl* parent = control.Parent();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    ui::TControl* sibling = parent->Controls(i);
    if (sibling == &control) break;
    result.push_back(sibling);
  }
  return result;
}

bool Overlaps(const ui::TControl& a, const ui::TControl& b) {
  return !a.BoundsRect().Intersect(b.BoundsRect()).IsEmpty();
}

// Paints one control through WM_PAINT into context, whose origin is its
// parent's client origin, clipped to the control's bounds.
void PaintOne(ui::TControl& control, ui::HDC context) {
  gfx::Canvas& canvas = context->Canvas();
  gfx::CanvasStateSaver saver(canvas);
  canvas.MoveOrigin(control.Left(), control.Top());
  canvas.IntersectClipRect(gfx::Rect{0, 0, control.Width(), control.Height()});
  control.Perform(ui::WM_PAINT, ui::WPARAM(context), 0);
}

// A windowed custom control with its own windowed children.
void PaintWindowed(ui::TWinControl& control, ui::HDC context) {
  gfx::Canvas& canvas = context->Canvas();
  ui::TControlGuard guard(&control);
  PaintOne(control, context);
  if (guard.Destroyed()) return;
  gfx::CanvasStateSaver saver(canvas);
  canvas.MoveOrigin(control.Left(), control.Top());
  canvas.IntersectClipRect(gfx::Rect{0, 0, control.Width(), control.Height()});
  PaintChildControls(control, context);
}

void WithPaintCopy(ui::TControl& control, auto paint) {
  ui::TControlState state = control.ControlState();
  const bool had = state.Contains(ui::csPaintCopy);
  control.SetControlState(state | ui::TControlState{ui::csPaintCopy});
  ui::TControlGuard guard(&control);
  paint();
  if (guard.Alive() && !had) {
    ui::TControlState now = control.ControlState();
    now.Exclude(ui::csPaintCopy);
    control.SetControlState(now);
  }
}

}  // namespace

void PaintChildControls(ui::TWinControl& parent, ui::HDC context) {
  std::vector<ui::TControl*> children;
  for (int i = 0; i < parent.ControlCount(); ++i) children.push_back(parent.Controls(i));
  ui::TControlGuard guard(&parent);
  for (ui::TControl* child : children) {
    if (IsWindowless(*child) || !IsCustomControl(*child) || !child->Visible()) continue;
    if (child->Width() <= 0 || child->Height() <= 0) continue;
    PaintWindowed(static_cast<ui::TWinControl&>(*child), context);
    if (guard.Destroyed()) return;
  }
}

void PaintParentBackground(ui::TControl& control, ui::HDC context) {
  ui::TWinControl* parent = control.Parent();
  if (!parent || !context) return;
  gfx::Canvas& canvas = context->Canvas();
  gfx::CanvasStateSaver saver(canvas);
  // From here on the context speaks the parent's client coordinates.
  canvas.MoveOrigin(-control.Left(), -control.Top());
  const bool form = IsForm(*parent);
  const std::vector<ui::TControl*> siblings = SiblingsBefore(control);
  ui::TControlGuard guard(&control);
  parent->Perform(ui::WM_ERASEBKGND, ui::WPARAM(context), 0);
  if (!form && guard.Alive()) parent->Perform(ui::WM_PAINT, ui::WPARAM(context), 0);
  for (ui::TControl* sibling : siblings) {
    if (guard.Destroyed()) return;
    if (!sibling->Visible() || !Overlaps(*sibling, control)) continue;
    if (IsWindowless(*sibling)) {
      // A parent other than a form painted them with itself.
      if (form) PaintOne(*sibling, context);
    } else if (IsCustomControl(*sibling)) {
      PaintWindowed(static_cast<ui::TWinControl&>(*sibling), context);
    }
  }
}

void PaintParentBackground(ui::TControl& control, gfx::Bitmap& target) {
  target.SetSize(std::max(0, control.Width()), std::max(0, control.Height()));
  ui::DeviceContext context(target);
  PaintParentBackground(control, &context);
}

void PaintParentBackgroundForBox(ui::TControl& control, ui::HDC context) {
  ui::TWinControl* parent = control.Parent();
  if (!parent || !context) return;
  gfx::Canvas& canvas = context->Canvas();
  gfx::CanvasStateSaver saver(canvas);
  canvas.MoveOrigin(-control.Left(), -control.Top());
  gfx::Rect client = parent->ClientRect();
  canvas.IntersectClipRect(gfx::Rect{0, 0, client.Width(), client.Height()});
  const bool form = IsForm(*parent);
  const std::vector<ui::TControl*> siblings = SiblingsBefore(control);
  ui::TControlGuard guard(&control);
  WithPaintCopy(*parent, [&] {
    parent->Perform(ui::WM_ERASEBKGND, ui::WPARAM(context), 0);
    if (!form && guard.Alive()) parent->Perform(ui::WM_PAINT, ui::WPARAM(context), 0);
  });
  if (!form) return;  // the parent's paint brought its windowless children
  for (ui::TControl* sibling : siblings) {
    if (guard.Destroyed()) return;
    if (!IsWindowless(*sibling) || !sibling->Visible() || !Overlaps(*sibling, control)) continue;
    WithPaintCopy(*sibling, [&] { PaintOne(*sibling, context); });
  }
}

void PaintParentBackgroundForBox(ui::TControl& control, gfx::Bitmap& target) {
  target.SetSize(std::max(0, control.Width()), std::max(0, control.Height()));
  ui::DeviceContext context(target);
  PaintParentBackgroundForBox(control, &context);
}

}  // namespace skin
