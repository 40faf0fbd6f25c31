#include "gfx/Canvas.h"

namespace gfx {

Canvas::Canvas(Bitmap& target) : FTarget(&target) {}

void Canvas::SetPen(gfx::Color color, PenStyle style) { FPen = gfx::Pen{color, style}; }
void Canvas::SetBrush(gfx::Color color, BrushStyle style) { FBrush = gfx::Brush{color, style}; }

Region Canvas::Clip() const {
  Region r(FTarget->Bounds());
  if (FClip) r.Intersect(*FClip);
  return r;
}
void Canvas::SetClip(const Region& deviceRegion) {
  FClip = deviceRegion;
  FClipRectsValid = false;
}
void Canvas::IntersectClipRect(const Rect&) {}
void Canvas::ExcludeClipRect(const Rect&) {}
Rect Canvas::ClipBox() const { return Rect{}; }
bool Canvas::RectVisible(const Rect&) const { return false; }
CanvasState Canvas::SaveState() const {
  return CanvasState{FPen, FBrush, FFont, FOrigin, FPenPosition, FClip};
}
void Canvas::RestoreState(const CanvasState& state) {
  FPen = state.Pen;
  FBrush = state.Brush;
  FFont = state.Font;
  FOrigin = state.Origin;
  FPenPosition = state.PenPosition;
  FClip = state.Clip;
  FClipRectsValid = false;
}
void Canvas::LineTo(int x, int y) { FPenPosition = Point{x, y}; }
void Canvas::Polyline(std::span<const Point>) {}
void Canvas::Rectangle(const Rect&) {}
void Canvas::FillRect(const Rect&) {}
void Canvas::FillRegion(const Region&) {}
void Canvas::FrameRect(const Rect&) {}
void Canvas::FrameRect(const Rect&, gfx::Color) {}
Rect Canvas::Frame3D(const Rect& r, gfx::Color, gfx::Color, int width) {
  return r.Inflate(-width, -width);
}
void Canvas::Ellipse(const Rect&) {}
gfx::Color Canvas::GetPixel(int, int) const { return InvalidColor; }
void Canvas::SetPixel(int, int, gfx::Color) {}
void Canvas::Draw(int, int, const Bitmap&) {}
void Canvas::CopyRect(const Rect&, const Bitmap&, const Rect&) {}
void Canvas::StretchDraw(const Rect&, const Bitmap&) {}
void Canvas::DrawTransparent(int, int, const Bitmap&, gfx::Color) {}
void Canvas::DrawTransparent(int, int, const Bitmap&) {}
void Canvas::CopyRectTransparent(const Rect&, const Bitmap&, const Rect&, gfx::Color) {}
FontMetrics Canvas::TextMetrics() const { return MeasureFont(FFont); }
Size Canvas::TextExtent(std::string_view text) const { return MeasureText(FFont, text); }
void Canvas::TextOut(int, int, std::string_view) {}
void Canvas::TextRect(const Rect&, int, int, std::string_view) {}
int Canvas::DrawText(std::string_view, Rect&, unsigned) { return 0; }

}  // namespace gfx
