#include "ui/windowing/ClassicMenuDrawing.h"

#include <algorithm>

#include "gfx/TextFormat.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/Painting.h"
#include "ui/windowing/SystemMetrics.h"
#include "ui/windowing/WindowClass.h"
#include "ui/windowing/Windows.h"

namespace ui {

namespace {

gfx::Font FontOf(const ClassicMenuLook& look, const ClassicMenuEntry& entry) {
  gfx::Font font = look.Font;
  if (entry.Default) font.Style = gfx::FontStyle::Bold;
  return font;
}

void DrawTexts(gfx::Canvas& canvas, const ClassicMenuLook& look, const ClassicMenuEntry& entry, const gfx::Rect& r) {
  gfx::Rect text{r.Left + ClassicMenuCheckColumn, r.Top, r.Right - look.ArrowColumn, r.Bottom};
  canvas.DrawText(entry.Caption, text, gfx::DT_LEFT | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
  if (!entry.ShortCut.empty()) {
    canvas.DrawText(entry.ShortCut, text, gfx::DT_RIGHT | gfx::DT_VCENTER | gfx::DT_SINGLELINE | gfx::DT_NOPREFIX);
  }
}

void DrawCheck(gfx::Canvas& canvas, const ClassicMenuEntry& entry, const gfx::Rect& r, gfx::Color ink) {
  int cx = r.Left + ClassicMenuCheckColumn / 2;
  int cy = r.Top + r.Height() / 2;
  canvas.SetPen(ink);
  if (entry.Radio) {
    canvas.SetBrush(ink);
    canvas.Ellipse(gfx::Rect{cx - 3, cy - 3, cx + 3, cy + 3});
    canvas.SetBrush(0, gfx::BrushStyle::Clear);
    return;
  }
  // A tick of three one-pixel strokes, 7 x 5.
  for (int k = 0; k < 3; ++k) {
    canvas.MoveTo(cx - 3, cy - 1 + k);
    canvas.LineTo(cx - 1, cy + 1 + k);
    canvas.LineTo(cx + 4, cy - 4 + k);
  }
}

void DrawSubMenuArrow(gfx::Canvas& canvas, const ClassicMenuLook& look, const gfx::Rect& r, gfx::Color ink) {
  // A small triangle pointing right.
  int ax = r.Right - look.ArrowColumn / 2 - 2;
  int ay = r.Top + r.Height() / 2;
  canvas.SetPen(ink);
  for (int k = 0; k < 4; ++k) {
    canvas.MoveTo(ax + k, ay - 3 + k);
    canvas.LineTo(ax + k, ay + 4 - k);
  }
}

}  // namespace

std::string CaptionWithoutMarks(std::string_view caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&' && i + 1 < caption.size()) ++i;
    text += caption[i];
  }
  return text;
}

char32_t CaptionHotkey(std::string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(caption[i + 1]);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    return c < 0x80 ? char32_t(c) : 0;
  }
  return 0;
}

ClassicMenuLayout LayoutClassicMenu(const ClassicMenuLook& look, const std::vector<ClassicMenuEntry>& entries) {
  ClassicMenuLayout layout;
  int itemHeight = std::max(18, gfx::MeasureFont(look.Font).Height + look.ItemPadding);
  int textWidth = 0;
  int shortCutWidth = 0;
  int top = ClassicMenuFrameWidth;
  for (const ClassicMenuEntry& entry : entries) {
    int height = entry.Separator ? ClassicMenuSeparatorHeight : itemHeight;
    layout.ItemRects.push_back(gfx::Rect{ClassicMenuFrameWidth, top, 0, top + height});
    top += height;
    if (entry.Separator) continue;
    gfx::Font font = FontOf(look, entry);
    textWidth = std::max(textWidth, gfx::MeasureText(font, CaptionWithoutMarks(entry.Caption)).Width);
    if (!entry.ShortCut.empty()) shortCutWidth = std::max(shortCutWidth, gfx::MeasureText(font, entry.ShortCut).Width);
  }
  layout.Width = ClassicMenuCheckColumn + textWidth + (shortCutWidth ? look.ShortCutGap + shortCutWidth : 0) +
                 look.ArrowColumn + 2 * ClassicMenuFrameWidth;
  layout.Height = top + ClassicMenuFrameWidth;
  for (gfx::Rect& r : layout.ItemRects) r.Right = layout.Width - ClassicMenuFrameWidth;
  return layout;
}

void PaintClassicMenu(gfx::Canvas& canvas, const ClassicMenuLook& look, const std::vector<ClassicMenuEntry>& entries,
                      const ClassicMenuLayout& layout, int selected) {
  gfx::CanvasStateSaver saver(canvas);
  gfx::Rect bounds{0, 0, layout.Width, layout.Height};
  canvas.SetBrush(GetSysColor(COLOR_MENU));
  canvas.FillRect(bounds);
  gfx::Rect inner = canvas.Frame3D(bounds, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW), 1);
  canvas.Frame3D(inner, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW), 1);
  for (std::size_t i = 0; i < entries.size() && i < layout.ItemRects.size(); ++i) {
    const ClassicMenuEntry& entry = entries[i];
    gfx::Rect r = layout.ItemRects[i];
    if (entry.Separator) {
      int y = r.Top + r.Height() / 2 - 1;
      canvas.SetBrush(GetSysColor(COLOR_BTNSHADOW));
      canvas.FillRect(gfx::Rect{r.Left + 1, y, r.Right - 1, y + 1});
      canvas.SetBrush(GetSysColor(COLOR_BTNHIGHLIGHT));
      canvas.FillRect(gfx::Rect{r.Left + 1, y + 1, r.Right - 1, y + 2});
      continue;
    }
    bool isSelected = int(i) == selected;
    if (isSelected) {
      canvas.SetBrush(GetSysColor(COLOR_HIGHLIGHT));
      canvas.FillRect(r);
    }
    gfx::Font font = FontOf(look, entry);
    if (!entry.Enabled) {
      if (look.EmbossGrayed && !isSelected) {
        font.Color = GetSysColor(COLOR_BTNHIGHLIGHT);
        canvas.SetFont(font);
        canvas.SetBrush(0, gfx::BrushStyle::Clear);
        DrawTexts(canvas, look, entry, r.Offset(1, 1));
      }
      font.Color = GetSysColor(COLOR_GRAYTEXT);
    } else {
      font.Color = GetSysColor(isSelected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    }
    canvas.SetFont(font);
    canvas.SetBrush(0, gfx::BrushStyle::Clear);
    if (entry.Checked) DrawCheck(canvas, entry, r, font.Color);
    DrawTexts(canvas, look, entry, r);
    if (entry.SubMenu) DrawSubMenuArrow(canvas, look, r, font.Color);
  }
}

HWND CreateClassicMenuWindow(const char* className, const gfx::Rect& bounds, HWND owner,
                             std::function<void(HWND, gfx::Canvas&)> paint) {
  WindowClass windowClass;
  windowClass.Name = className;
  windowClass.Style = CS_SAVEBITS;
  RegisterClass(windowClass);  // false when it is there already
  HWND window = CreateWindowEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, className, "", WS_POPUP,
                               bounds.Left, bounds.Top, bounds.Width(), bounds.Height(), owner);
  if (!window) return nullptr;
  SetWindowProc(window, MakeWindowProc([paint = std::move(paint)](HWND w, UINT message, WPARAM wParam,
                                                                   LPARAM lParam) -> LRESULT {
    switch (message) {
      case WM_PAINT: {
        PaintStruct ps;
        HDC context = BeginPaint(w, ps);
        if (context) paint(w, context->Canvas());
        EndPaint(w, ps);
        return 0;
      }
      case WM_ERASEBKGND: return 1;
      case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
      default: return DefWindowProc(w, message, wParam, lParam);
    }
  }));
  return window;
}

bool RouteMenuKeyboardMessage(const TMsg& message, const std::function<void(int)>& key,
                              const std::function<void(char32_t)>& character) {
  switch (message.Message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: key(int(message.WParam)); return true;
    case WM_CHAR:
    case WM_SYSCHAR: character(char32_t(message.WParam)); return true;
    case WM_KEYUP:
    case WM_SYSKEYUP: return true;
    default: return false;
  }
}

}  // namespace ui
