#include "ui/windowing/DefaultFrame.h"

#include <algorithm>

#include "gfx/TextFormat.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/SystemMetrics.h"
#include "ui/windowing/WindowStyles.h"

namespace ui {
namespace {

// Sizing corners reach this far along the edges, so that they are easy to
// grab on a thin border.
int CornerLength(const DefaultFrameMetrics& metrics) {
  return metrics.Border + std::max(metrics.CaptionBar, 14);
}

gfx::Color Mix(gfx::Color from, gfx::Color to, int step, int steps) {
  auto channel = [&](std::uint8_t a, std::uint8_t b) {
    return std::uint8_t(a + (int(b) - int(a)) * step / std::max(1, steps));
  };
  return gfx::MakeColor(channel(gfx::ColorRed(from), gfx::ColorRed(to)),
                        channel(gfx::ColorGreen(from), gfx::ColorGreen(to)),
                        channel(gfx::ColorBlue(from), gfx::ColorBlue(to)));
}

void Pixel(gfx::Canvas& canvas, int x, int y, gfx::Color color) { canvas.SetPixel(x, y, color); }

void Fill(gfx::Canvas& canvas, const gfx::Rect& r, gfx::Color color) {
  canvas.SetBrush(color);
  canvas.FillRect(r);
}

void DrawGlyph(gfx::Canvas& canvas, const gfx::Rect& button, LRESULT code, bool maximized, int shift,
               gfx::Color color) {
  int x = button.Left + (button.Width() - 8) / 2 + shift;
  int y = button.Top + (button.Height() - 7) / 2 + shift;
  switch (code) {
    case HTCLOSE:
      // An X of two-pixel strokes, 8 x 7.
      for (int i = 0; i < 7; ++i) {
        Pixel(canvas, x + i, y + i, color);
        Pixel(canvas, x + i + 1, y + i, color);
        Pixel(canvas, x + 7 - i, y + i, color);
        Pixel(canvas, x + 6 - i, y + i, color);
      }
      break;
    case HTMINBUTTON:
      Fill(canvas, gfx::Rect{x + 1, y + 5, x + 7, y + 7}, color);
      break;
    case HTMAXBUTTON:
      if (!maximized) {
        canvas.FrameRect(gfx::Rect{x - 1, y - 1, x + 8, y + 8}, color);
        Fill(canvas, gfx::Rect{x - 1, y - 1, x + 8, y + 1}, color);
      } else {
        canvas.FrameRect(gfx::Rect{x + 1, y - 1, x + 8, y + 5}, color);
        Fill(canvas, gfx::Rect{x + 1, y - 1, x + 8, y + 1}, color);
        Fill(canvas, gfx::Rect{x - 1, y + 2, x + 6, y + 8}, GetSysColor(COLOR_BTNFACE));
        canvas.FrameRect(gfx::Rect{x - 1, y + 2, x + 6, y + 8}, color);
        Fill(canvas, gfx::Rect{x - 1, y + 2, x + 6, y + 4}, color);
      }
      break;
    default:
      break;
  }
}

// Caption buttons: a raised face; pressed, sunken with the glyph one
// pixel down and right; disabled, the glyph embossed in grey.
void DrawCaptionButton(gfx::Canvas& canvas, const gfx::Rect& r, LRESULT code, bool pressed,
                       bool enabled, bool maximized) {
  Fill(canvas, r, GetSysColor(COLOR_BTNFACE));
  if (pressed) {
    gfx::Rect inner = canvas.Frame3D(r, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT), 1);
    canvas.Frame3D(inner, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_3DLIGHT), 1);
  } else {
    gfx::Rect inner = canvas.Frame3D(r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_3DDKSHADOW), 1);
    canvas.Frame3D(inner, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_BTNSHADOW), 1);
  }
  if (enabled) {
    DrawGlyph(canvas, r, code, maximized, pressed ? 1 : 0, GetSysColor(COLOR_BTNTEXT));
  } else {
    DrawGlyph(canvas, r, code, maximized, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawGlyph(canvas, r, code, maximized, 0, GetSysColor(COLOR_BTNSHADOW));
  }
}

}  // namespace

DefaultFrameMetrics GetDefaultFrameMetrics(DWORD style, DWORD exStyle) {
  DefaultFrameMetrics metrics;
  if (style & WS_THICKFRAME) metrics.Border = 4;
  else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) metrics.Border = 3;
  else if (style & WS_BORDER) metrics.Border = 1;
  if (exStyle & WS_EX_CLIENTEDGE) metrics.Edge = 2;
  else if (exStyle & WS_EX_STATICEDGE) metrics.Edge = 1;
  if ((style & WS_CAPTION) == WS_CAPTION) {
    metrics.CaptionBar = (exStyle & WS_EX_TOOLWINDOW) ? 15 : 18;
    metrics.Caption = metrics.CaptionBar + 1;
  }
  return metrics;
}

gfx::Rect DefaultClientRect(DWORD style, DWORD exStyle, const gfx::Rect& windowRect) {
  DefaultFrameMetrics metrics = GetDefaultFrameMetrics(style, exStyle);
  int inset = metrics.Border + metrics.Edge;
  gfx::Rect client{windowRect.Left + inset, windowRect.Top + inset + metrics.Caption,
                   windowRect.Right - inset, windowRect.Bottom - inset};
  client.Right = std::max(client.Right, client.Left);
  client.Bottom = std::max(client.Bottom, client.Top);
  return client;
}

gfx::Rect DefaultCaptionRect(DWORD style, DWORD exStyle, gfx::Size windowSize) {
  DefaultFrameMetrics metrics = GetDefaultFrameMetrics(style, exStyle);
  if (!metrics.CaptionBar) return gfx::Rect{};
  int b = metrics.Border;
  return gfx::Rect{b, b, std::max(b, windowSize.Width - b), b + metrics.CaptionBar};
}

gfx::Rect DefaultFrameButtonRect(DWORD style, DWORD exStyle, gfx::Size windowSize, LRESULT hitCode) {
  DefaultFrameMetrics metrics = GetDefaultFrameMetrics(style, exStyle);
  if (!metrics.CaptionBar || !(style & WS_SYSMENU)) return gfx::Rect{};
  int b = metrics.Border;
  bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
  int height = metrics.CaptionBar - 4;
  int width = height + 2;
  int top = b + 2;
  gfx::Rect close{windowSize.Width - b - 2 - width, top, windowSize.Width - b - 2, top + height};
  bool minMax = !tool && (style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  gfx::Rect maximize = close.Offset(-width - 2, 0);
  gfx::Rect minimize = maximize.Offset(-width, 0);
  switch (hitCode) {
    case HTCLOSE: return close;
    case HTMAXBUTTON: return minMax ? maximize : gfx::Rect{};
    case HTMINBUTTON: return minMax ? minimize : gfx::Rect{};
    case HTSYSMENU: return tool ? gfx::Rect{} : gfx::Rect{b + 2, b + 1, b + 18, b + 17};
    default: return gfx::Rect{};
  }
}

bool DefaultFrameButtonEnabled(DWORD style, LRESULT hitCode) {
  if (hitCode == HTMINBUTTON) return (style & WS_MINIMIZEBOX) != 0;
  if (hitCode == HTMAXBUTTON) return (style & WS_MAXIMIZEBOX) != 0;
  return true;
}

LRESULT DefaultFrameHitTest(DWORD style, DWORD exStyle, gfx::Size windowSize,
                            const gfx::Rect& client, gfx::Point point) {
  int width = windowSize.Width;
  int height = windowSize.Height;
  if (!gfx::Rect{0, 0, width, height}.Contains(point)) return HTNOWHERE;
  if (client.Contains(point)) return HTCLIENT;
  DefaultFrameMetrics metrics = GetDefaultFrameMetrics(style, exStyle);
  if ((style & WS_THICKFRAME) && !(style & (WS_MAXIMIZE | WS_MINIMIZE))) {
    int b = metrics.Border;
    int corner = CornerLength(metrics);
    if (point.Y < b) return point.X < corner ? HTTOPLEFT : point.X >= width - corner ? HTTOPRIGHT : HTTOP;
    if (point.Y >= height - b) {
      return point.X < corner ? HTBOTTOMLEFT : point.X >= width - corner ? HTBOTTOMRIGHT : HTBOTTOM;
    }
    if (point.X < b) return point.Y < corner ? HTTOPLEFT : point.Y >= height - corner ? HTBOTTOMLEFT : HTLEFT;
    if (point.X >= width - b) {
      return point.Y < corner ? HTTOPRIGHT : point.Y >= height - corner ? HTBOTTOMRIGHT : HTRIGHT;
    }
  }
  if (DefaultCaptionRect(style, exStyle, windowSize).Contains(point)) {
    for (LRESULT code : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON, HTSYSMENU}) {
      if (DefaultFrameButtonRect(style, exStyle, windowSize, code).Contains(point)) return code;
    }
    return HTCAPTION;
  }
  return HTBORDER;
}

void PaintDefaultFrame(gfx::Canvas& canvas, DWORD style, DWORD exStyle, gfx::Size windowSize,
                       const gfx::Rect& client, const DefaultFrameLook& look) {
  gfx::CanvasStateSaver saver(canvas);
  DefaultFrameMetrics metrics = GetDefaultFrameMetrics(style, exStyle);
  gfx::Rect r{0, 0, windowSize.Width, windowSize.Height};
  if (metrics.Border == 1) {
    canvas.FrameRect(r, GetSysColor(COLOR_WINDOWFRAME));
  } else if (metrics.Border >= 2) {
    // Light outer edge, then highlight, then the face.
    r = canvas.Frame3D(r, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW), 1);
    r = canvas.Frame3D(r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW), 1);
    for (int ring = 2; ring < metrics.Border; ++ring) {
      canvas.FrameRect(r, GetSysColor(COLOR_BTNFACE));
      r = r.Inflate(-1, -1);
    }
  }
  if (metrics.Edge > 0) {
    gfx::Rect edge = client.Inflate(metrics.Edge, metrics.Edge);
    gfx::Rect inner = canvas.Frame3D(edge, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT), 1);
    if (metrics.Edge > 1) canvas.Frame3D(inner, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT), 1);
  }
  gfx::Rect bar = DefaultCaptionRect(style, exStyle, windowSize);
  if (bar.IsEmpty()) return;
  gfx::Color from = GetSysColor(look.Active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
  gfx::Color to = GetSysColor(look.Active ? COLOR_GRADIENTACTIVECAPTION : COLOR_GRADIENTINACTIVECAPTION);
  for (int x = bar.Left; x < bar.Right; ++x) {
    Fill(canvas, gfx::Rect{x, bar.Top, x + 1, bar.Bottom}, Mix(from, to, x - bar.Left, bar.Width() - 1));
  }
  Fill(canvas, gfx::Rect{bar.Left, bar.Bottom, bar.Right, bar.Bottom + 1}, GetSysColor(COLOR_BTNFACE));

  gfx::Rect icon = DefaultFrameButtonRect(style, exStyle, windowSize, HTSYSMENU);
  if (!icon.IsEmpty() && look.Icon && !look.Icon->IsEmpty()) canvas.StretchDraw(icon, *look.Icon);
  int textLeft = icon.IsEmpty() ? bar.Left + 2 : icon.Right + 2;
  int textRight = bar.Right - 2;
  bool maximized = (style & WS_MAXIMIZE) != 0;
  for (LRESULT code : {HTMINBUTTON, HTMAXBUTTON, HTCLOSE}) {
    gfx::Rect button = DefaultFrameButtonRect(style, exStyle, windowSize, code);
    if (button.IsEmpty()) continue;
    textRight = std::min(textRight, button.Left - 2);
    DrawCaptionButton(canvas, button, code, look.PressedButton == code,
                      DefaultFrameButtonEnabled(style, code), maximized);
  }
  if (!look.Title.empty() && textRight > textLeft) {
    // The classic caption face: a bold sans serif; other scripts fall back
    // character by character.
    gfx::Font font;
    font.Name = "MS Sans Serif";
    font.Height = -11;
    font.Style = gfx::FontStyle::Bold;
    font.Color = GetSysColor(look.Active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT);
    canvas.SetFont(font);
    canvas.SetBrush(0, gfx::BrushStyle::Clear);
    gfx::Rect text{textLeft, bar.Top, textRight, bar.Bottom};
    canvas.DrawText(look.Title, text,
                    gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_END_ELLIPSIS | gfx::DT_NOPREFIX);
  }
}

}  // namespace ui
