// The window frame (main.bmp, mask.bmp) and the caption buttons' looks
// (active.BMP).

#include "Glyphs.h"
#include "Layout.h"
#include "Pictures.h"
#include "Theme.h"

namespace skingen {

namespace {

using namespace layout;

// The window's outline: round at the top, slightly round at the bottom.
RoundedShape WindowShape() {
  return RoundedShape{Rect{0, 0, FrameWidth, FrameHeight}, FrameTopRadius, FrameTopRadius, FrameBottomRadius,
                      FrameBottomRadius};
}

// The caption colour of frame row y.
Pixel CaptionAt(int y) {
  const int first = 2;
  const int last = FrameClient.Top - 2;
  return theme::Caption.At(double(y - first) / double(last - first));
}

// Fills r with the caption gradient as it lies behind frame rows from
// frameTop on, so a look drawn there blends its corners like the frame.
void CaptionBackground(Bitmap& bitmap, const Rect& r, int frameTop) {
  for (int y = r.Top; y < r.Bottom; ++y) HLine(bitmap, r.Left, r.Right, y, CaptionAt(frameTop + y - r.Top));
}

enum class Look { Normal, Hot, Down, Disabled };

// One caption button look over what is already there.
void DrawCaptionButton(Bitmap& bitmap, const Rect& r, Pattern glyph, Look look, bool close) {
  const TileStyle* style = &theme::CaptionButtonNormal;
  if (look == Look::Hot) style = close ? &theme::CloseButtonHot : &theme::CaptionButtonHot;
  if (look == Look::Down) style = close ? &theme::CloseButtonDown : &theme::CaptionButtonDown;
  if (look == Look::Disabled) style = &theme::CaptionButtonDisabled;
  DrawTile(bitmap, r, *style);
  const int offset = look == Look::Down ? 1 : 0;
  if (look == Look::Disabled) {
    DrawPatternCentred(bitmap, r, glyph, theme::CaptionGlyphDisabled);
    return;
  }
  DrawPatternCentred(bitmap, r, glyph, theme::CaptionGlyphShadow, offset + 1, offset + 1);
  DrawPatternCentred(bitmap, r, glyph, look == Look::Normal ? theme::CaptionGlyph : theme::White, offset, offset);
}

// The system-menu button: the emblem alone, on a tile when hot or pressed.
void DrawSysMenuButton(Bitmap& bitmap, const Rect& r, Look look) {
  int offset = 0;
  Pixel ink = theme::CaptionGlyph;
  if (look == Look::Hot) DrawTile(bitmap, r, theme::CaptionButtonHot);
  if (look == Look::Down) {
    DrawTile(bitmap, r, theme::CaptionButtonDown);
    offset = 1;
  }
  if (look == Look::Disabled) {
    DrawPatternCentred(bitmap, r, glyph::Network, theme::CaptionGlyphDisabled);
    return;
  }
  if (look != Look::Normal) ink = theme::White;
  DrawPatternCentred(bitmap, r, glyph::Network, theme::CaptionGlyphShadow, offset + 1, offset + 1);
  DrawPatternCentred(bitmap, r, glyph::Network, ink, offset, offset);
}

void DrawMenuBarButton(Bitmap& bitmap, const Rect& r, Pattern glyph, Look look) {
  Pixel ink = theme::Ink;
  int offset = 0;
  if (look == Look::Hot) DrawTile(bitmap, r, theme::MenuBarHot);
  if (look == Look::Down) {
    DrawTile(bitmap, r, theme::MenuBarDown);
    ink = theme::White;
    offset = 1;
  }
  if (look == Look::Disabled) ink = theme::InkDisabled;
  DrawPatternCentred(bitmap, r, glyph, ink, offset, offset);
}

}  // namespace

Bitmap DrawFramePicture() {
  Bitmap frame(FrameWidth, FrameHeight);
  const std::vector<bool> inside = SolidShape(FrameWidth, FrameHeight, WindowShape());
  const std::vector<int> ring = RingDistances(FrameWidth, FrameHeight, inside);
  auto ringAt = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= FrameWidth || y >= FrameHeight) return 0;
    return ring[std::size_t(y) * FrameWidth + x];
  };
  const Rect client = FrameClient;
  for (int y = 0; y < FrameHeight; ++y) {
    for (int x = 0; x < FrameWidth; ++x) {
      const int d = ringAt(x, y);
      Pixel p = theme::FrameBody;
      if (d <= 1) {
        // The outline; outside the mask it is never seen.
        p = theme::FrameOutline;
      } else if (d == 2) {
        // Lit from the top left: the ring under the outline is light where
        // the outline lies above or left of it, dark elsewhere.
        const bool lit = ringAt(x, y - 1) == 1 || ringAt(x - 1, y) == 1;
        p = lit ? theme::FrameLight : theme::FrameShadow;
      } else if (y < client.Top - 1) {
        p = CaptionAt(y);
      } else if (client.Contains(gfx::Point{x, y})) {
        p = theme::Page;
      } else if (client.Inflate(1, 1).Contains(gfx::Point{x, y})) {
        p = theme::FrameInner;
      }
      frame.SetPixel(x, y, p);
    }
  }

  DrawSysMenuButton(frame, SysMenuRect, Look::Normal);
  DrawCaptionButton(frame, RollUpButtonRect, glyph::RollUp, Look::Normal, false);
  DrawCaptionButton(frame, MinimizeButtonRect, glyph::Minimize, Look::Normal, false);
  DrawCaptionButton(frame, MaximizeButtonRect, glyph::Maximize, Look::Normal, false);
  DrawCaptionButton(frame, CloseButtonRect, glyph::Close, Look::Normal, true);
  return frame;
}

Bitmap DrawFrameMask() {
  Bitmap mask(FrameWidth, FrameHeight);
  const std::vector<bool> inside = SolidShape(FrameWidth, FrameHeight, WindowShape());
  for (int y = 0; y < FrameHeight; ++y) {
    for (int x = 0; x < FrameWidth; ++x) {
      mask.SetPixel(x, y, inside[std::size_t(y) * FrameWidth + x] ? 0x000000 : 0xFFFFFF);
    }
  }
  return mask;
}

Bitmap DrawActivePicture() {
  Bitmap active(ActiveWidth, ActiveHeight);
  active.Fill(theme::CaptionMiddle);

  struct ButtonRow {
    int Y;
    Pattern Glyph;
    bool Close;
  };
  const ButtonRow rows[] = {
      {CloseLooksY, glyph::Close, true},       {MaximizeLooksY, glyph::Maximize, false},
      {MinimizeLooksY, glyph::Minimize, false}, {RestoreLooksY, glyph::Restore, false},
      {RollUpLooksY, glyph::RollUp, false},     {RollDownLooksY, glyph::RollDown, false},
  };
  const int buttonTop = CloseButtonRect.Top;
  for (const ButtonRow& row : rows) {
    const struct {
      int X;
      Look L;
    } looks[] = {{LookNormalX, Look::Normal}, {LookDownX, Look::Down}, {LookHotX, Look::Hot},
                 {LookDisabledX, Look::Disabled}};
    for (const auto& look : looks) {
      const Rect r = CaptionLook(look.X, row.Y);
      CaptionBackground(active, r, buttonTop);
      DrawCaptionButton(active, r, row.Glyph, look.L, row.Close);
    }
  }

  const struct {
    Rect R;
    Look L;
  } sysLooks[] = {{SysMenuNormal, Look::Normal}, {SysMenuHot, Look::Hot}, {SysMenuPressed, Look::Down},
                  {SysMenuDisabled, Look::Disabled}};
  for (const auto& look : sysLooks) {
    CaptionBackground(active, look.R, SysMenuRect.Top);
    DrawSysMenuButton(active, look.R, look.L);
  }

  // The menu-bar buttons sit on the light menu bar.
  Fill(active, Rect{0, MenuBarMaxY - 1, ActiveWidth, ActiveHeight}, theme::MenuBar);
  const struct {
    int Y;
    Pattern Glyph;
  } barButtons[] = {{MenuBarMaxY, glyph::SmallMaximize},
                    {MenuBarCloseY, glyph::SmallClose},
                    {MenuBarMinY, glyph::SmallMinimize},
                    {MenuBarSysMenuY, glyph::SmallNetwork}};
  for (const auto& button : barButtons) {
    const Look looks[] = {Look::Normal, Look::Hot, Look::Down, Look::Disabled};
    for (int i = 0; i < 4; ++i) DrawMenuBarButton(active, MenuBarLook(i, button.Y), button.Glyph, looks[i]);
  }
  return active;
}

}  // namespace skingen
