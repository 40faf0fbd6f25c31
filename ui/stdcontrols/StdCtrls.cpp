#include "ui/stdcontrols/StdCtrls.h"

#include <cwctype>

#include "gfx/TextFormat.h"
#include "gfx/TextLayout.h"
#include "gfx/TextUtf8.h"

namespace ui::classic {

namespace {

gfx::Color Rgb(TColor color) { return ColorToRGB(color); }

}  // namespace

gfx::Rect DrawFrame(gfx::Canvas& canvas, const gfx::Rect& r, FrameKind kind) {
  switch (kind) {
    case FrameKind::Raised: {
      gfx::Rect inner = canvas.Frame3D(r, Rgb(clBtnHighlight), Rgb(cl3DDkShadow), 1);
      return canvas.Frame3D(inner, Rgb(cl3DLight), Rgb(clBtnShadow), 1);
    }
    case FrameKind::Sunken: {
      gfx::Rect inner = canvas.Frame3D(r, Rgb(clBtnShadow), Rgb(clBtnHighlight), 1);
      return canvas.Frame3D(inner, Rgb(cl3DDkShadow), Rgb(cl3DLight), 1);
    }
    case FrameKind::Pressed: {
      canvas.FrameRect(r, Rgb(cl3DDkShadow));
      gfx::Rect inner = r.Inflate(-1, -1);
      canvas.FrameRect(inner, Rgb(clBtnShadow));
      return inner.Inflate(-1, -1);
    }
    case FrameKind::Etched: {
      // The shadow ring one pixel up and left of the highlight ring.
      canvas.FrameRect(gfx::Rect{r.Left + 1, r.Top + 1, r.Right, r.Bottom}, Rgb(clBtnHighlight));
      canvas.FrameRect(gfx::Rect{r.Left, r.Top, r.Right - 1, r.Bottom - 1}, Rgb(clBtnShadow));
      return r.Inflate(-2, -2);
    }
    case FrameKind::RaisedSingle:
      return canvas.Frame3D(r, Rgb(clBtnHighlight), Rgb(clBtnShadow), 1);
  }
  return r;
}

void DrawFocusRect(gfx::Canvas& canvas, const gfx::Rect& r, TColor color) {
  if (r.IsEmpty()) return;
  gfx::Color c = Rgb(color);
  // Every other pixel along the outline, the phase kept round the corners.
  for (int x = r.Left; x < r.Right; x += 2) canvas.SetPixel(x, r.Top, c);
  for (int y = r.Top + ((r.Right - r.Left) % 2 == 0 ? 1 : 0); y < r.Bottom; y += 2) canvas.SetPixel(r.Right - 1, y, c);
  for (int x = r.Left + ((r.Bottom - r.Top) % 2 == 0 ? 1 : 0); x < r.Right; x += 2) canvas.SetPixel(x, r.Bottom - 1, c);
  for (int y = r.Top; y < r.Bottom; y += 2) canvas.SetPixel(r.Left, y, c);
}

void DrawArrow(gfx::Canvas& canvas, const gfx::Rect& r, int direction, TColor color, int size) {
  gfx::BrushStyle style = canvas.Brush().Style;
  gfx::Color previous = canvas.Brush().Color;
  canvas.SetBrush(Rgb(color));
  int cx = r.Left + r.Width() / 2;
  int cy = r.Top + r.Height() / 2;
  int x0 = cx - size / 2;
  int y0 = cy - size / 2;
  // Row i from the tip is 2i + 1 pixels long.
  for (int i = 0; i < size; ++i) {
    switch (direction) {
      case 0: canvas.FillRect(gfx::Rect{cx - i, y0 + i, cx + i + 1, y0 + i + 1}); break;
      case 2: canvas.FillRect(gfx::Rect{cx - i, y0 + size - 1 - i, cx + i + 1, y0 + size - i}); break;
      case 3: canvas.FillRect(gfx::Rect{x0 + i, cy - i, x0 + i + 1, cy + i + 1}); break;
      default: canvas.FillRect(gfx::Rect{x0 + size - 1 - i, cy - i, x0 + size - i, cy + i + 1}); break;
    }
  }
  canvas.SetBrush(previous, style);
}

void DrawEmbossedText(gfx::Canvas& canvas, std::string_view text, gfx::Rect rect, unsigned format) {
  gfx::BrushStyle style = canvas.Brush().Style;
  canvas.Brush().Style = gfx::BrushStyle::Clear;
  gfx::Color color = canvas.Font().Color;
  gfx::Rect shifted = rect.Offset(1, 1);
  canvas.Font().Color = Rgb(clBtnHighlight);
  canvas.DrawText(text, shifted, format);
  canvas.Font().Color = Rgb(clBtnShadow);
  canvas.DrawText(text, rect, format);
  canvas.Font().Color = color;
  canvas.Brush().Style = style;
}

char32_t AcceleratorOf(std::string_view caption) {
  std::u32string text = gfx::DecodeUtf8(caption);
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != U'&') continue;
    if (text[i + 1] == U'&') {
      ++i;
      continue;
    }
    return text[i + 1];
  }
  return 0;
}

bool IsAccelerator(char32_t key, std::string_view caption) {
  char32_t accelerator = AcceleratorOf(caption);
  if (!accelerator || !key) return false;
  auto fold = [](char32_t c) { return c < 0x80 ? char32_t(std::towupper(wint_t(c))) : c; };
  return fold(key) == fold(accelerator);
}

}  // namespace ui::classic
