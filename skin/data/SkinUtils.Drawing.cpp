#include "skin/data/SkinUtils.h"

#include <string>

#include "gfx/Canvas.h"
#include "gfx/TextFormat.h"

namespace skin {

namespace {

constexpr std::string_view Ellipsis = "...";

// Start of the last UTF-8 character of text (text not empty): a cut never
// splits a character.
std::size_t LastCharacterStart(std::string_view text) {
  std::size_t i = text.size() - 1;
  while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i;
  return i;
}

// The helpers below set the pen and brush they need; the caller's tools
// come back afterwards.
class ToolsSaver {
 public:
  explicit ToolsSaver(gfx::Canvas& canvas)
      : FCanvas(canvas), FPen(canvas.Pen()), FBrush(canvas.Brush()) {}
  ~ToolsSaver() {
    FCanvas.Pen() = FPen;
    FCanvas.Brush() = FBrush;
  }
  ToolsSaver(const ToolsSaver&) = delete;
  ToolsSaver& operator=(const ToolsSaver&) = delete;

 private:
  gfx::Canvas& FCanvas;
  gfx::Pen FPen;
  gfx::Brush FBrush;
};

void Line(gfx::Canvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

// An outline in the pen colour, inside left alone.
void Outline(gfx::Canvas& canvas, int left, int top, int right, int bottom) {
  canvas.Rectangle(left, top, right, bottom);
}

}  // namespace

void DrawGlyphFromStrip(gfx::Canvas& canvas, int x, int y, int index, int count,
                        const gfx::Bitmap& strip) {
  if (strip.IsEmpty() || count < 1 || index < 1 || index > count) return;
  const int glyphWidth = strip.Width() / count;
  if (glyphWidth < 1) return;
  const gfx::Bitmap glyph =
      strip.Crop(TRect::FromSize((index - 1) * glyphWidth, 0, glyphWidth, strip.Height()));
  canvas.DrawTransparent(x, y, glyph);
}

std::string TruncateTextToWidth(gfx::Canvas& canvas, std::string_view text, int width) {
  if (text.empty() || canvas.TextWidth(text) <= width) return std::string(text);
  std::string candidate;
  while (!text.empty()) {
    text.remove_suffix(text.size() - LastCharacterStart(text));
    candidate.assign(text);
    candidate += Ellipsis;
    if (canvas.TextWidth(candidate) <= width) return candidate;
  }
  return std::string(Ellipsis);
}

void DrawTextVCenter(gfx::Canvas& canvas, std::string_view text, const TRect& rect) {
  TRect r = rect;
  canvas.DrawText(text, r, gfx::DT_SINGLELINE | gfx::DT_VCENTER);
}

void DrawArrowMark(gfx::Canvas& canvas, const TRect& rect, gfx::Color color,
                   ArrowDirection direction) {
  ToolsSaver saver(canvas);
  canvas.SetPen(color);
  // The 7-pixel base is centred on the rectangle's middle pixel; the four
  // lines of the triangle take the two pixels before the middle and the
  // one after it across the base.
  const int cx = rect.Left + RectWidth(rect) / 2;
  const int cy = rect.Top + RectHeight(rect) / 2;
  for (int i = 0; i < 4; ++i) {
    // Half length of line i counted from the tip: 0, 1, 2, 3.
    switch (direction) {
      case ArrowDirection::Left: Line(canvas, cx - 2 + i, cy - i, cx - 2 + i, cy + i + 1); break;
      case ArrowDirection::Right: Line(canvas, cx + 1 - i, cy - i, cx + 1 - i, cy + i + 1); break;
      case ArrowDirection::Up: Line(canvas, cx - i, cy - 2 + i, cx + i + 1, cy - 2 + i); break;
      case ArrowDirection::Down: Line(canvas, cx - i, cy + 1 - i, cx + i + 1, cy + 1 - i); break;
    }
  }
}

void DrawCheckMark(gfx::Canvas& canvas, int x, int y, gfx::Color color) {
  ToolsSaver saver(canvas);
  canvas.SetPen(color);
  for (int i = 0; i < 3; ++i) {
    canvas.Polyline({TPoint{x, y + 5 - i}, TPoint{x + 2, y + 7 - i}, TPoint{x + 7, y + 2 - i}});
  }
}

void DrawSquareMark(gfx::Canvas& canvas, int x, int y, gfx::Color color) {
  ToolsSaver saver(canvas);
  canvas.SetPen(color);
  canvas.SetBrush(color);
  canvas.Rectangle(x, y, x + 6, y + 6);
}

void DrawCrossGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color) {
  ToolsSaver saver(canvas);
  canvas.SetPen(color);
  Line(canvas, x + 1, y + 1, x + 9, y + 9);
  Line(canvas, x + 9, y + 1, x + 1, y + 9);
  Line(canvas, x + 2, y + 1, x + 10, y + 9);
  Line(canvas, x + 8, y + 1, x, y + 9);
}

void DrawBarGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color) {
  ToolsSaver saver(canvas);
  canvas.SetPen(color);
  canvas.SetBrush(color, gfx::BrushStyle::Clear);
  Outline(canvas, x + 1, y + 3, x + 9, y + 6);
}

void DrawMinimizeGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color) {
  ToolsSaver saver(canvas);
  canvas.SetPen(color);
  Line(canvas, x + 1, y + 8, x + 9, y + 8);
  Line(canvas, x + 1, y + 9, x + 9, y + 9);
}

void DrawMaximizeGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color) {
  ToolsSaver saver(canvas);
  canvas.SetPen(color);
  canvas.SetBrush(color, gfx::BrushStyle::Clear);
  Outline(canvas, x, y, x + 11, y + 10);
  Outline(canvas, x, y, x + 11, y + 2);
}

void DrawRestoreGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color) {
  ToolsSaver saver(canvas);
  canvas.SetPen(color);
  canvas.SetBrush(color, gfx::BrushStyle::Clear);
  Outline(canvas, x + 2, y, x + 10, y + 6);
  Outline(canvas, x + 2, y, x + 10, y + 2);
  Outline(canvas, x, y + 4, x + 7, y + 10);
  Outline(canvas, x, y + 4, x + 7, y + 6);
}

void DrawDownTriangleGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color) {
  ToolsSaver saver(canvas);
  canvas.SetPen(color);
  for (int i = 0; i <= 4; ++i) Line(canvas, x + 5 - i, y + 6 - i, x + 5 + i, y + 6 - i);
}

void DrawUpTriangleGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color) {
  ToolsSaver saver(canvas);
  canvas.SetPen(color);
  for (int i = 0; i <= 4; ++i) Line(canvas, x + 5 - i, y + 2 + i, x + 5 + i, y + 2 + i);
}

void DrawDotGlyph(gfx::Canvas& canvas, int x, int y, gfx::Color color) {
  ToolsSaver saver(canvas);
  canvas.SetPen(color);
  canvas.SetBrush(color);
  canvas.Rectangle(x + 2, y + 2, x + 7, y + 7);
}

}  // namespace skin
