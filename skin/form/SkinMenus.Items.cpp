// The look of one menu item, with and without the skin's menu-item object.
//
// With the object, the item's background is its skin rectangle (or the
// active one) cut in three and built to the item's width:
//
//   skinrect:  | left offset | middle, tiled or stretched | right offset |
//
// and the text area is the object's text rectangle, widened by what the
// item is wider than the skin rectangle.

#include <algorithm>

#include "gfx/Canvas.h"
#include "gfx/TextFormat.h"
#include "skin/data/SkinUtils.h"
#include "skin/data/skEffBmp.h"
#include "skin/form/SkinMenus.h"
#include "ui/classlib/Graphics.h"
#include "ui/classlib/ImgList.h"

namespace skin {

namespace {

// The plain look's colours (gfx::Color, as skins write them).
constexpr gfx::Color PlainActiveFill = 13811126;

gfx::Color System(ui::TColor color) { return ui::ColorToRGB(color); }

// Glyphs of the frame's own items, by item name.
enum class FrameGlyph { None, Close, Minimize, Maximize, Restore, RollUp, Tray };

FrameGlyph FrameGlyphOf(const std::string& name) {
  if (name == "SKF_CLOSE" || name == "TRAY_SKF_CLOSE") return FrameGlyph::Close;
  if (name == "SKF_MINITEM") return FrameGlyph::Minimize;
  if (name == "SKF_MAXITEM") return FrameGlyph::Maximize;
  if (name == "SKF_RESTORE" || name == "TRAY_SKF_RESTORE") return FrameGlyph::Restore;
  if (name == "SKF_ROLLUP") return FrameGlyph::RollUp;
  if (name == "SKF_MINTOTRAY") return FrameGlyph::Tray;
  return FrameGlyph::None;
}

void DrawFrameGlyph(gfx::Canvas& canvas, FrameGlyph glyph, int x, int y, gfx::Color color) {
  switch (glyph) {
    case FrameGlyph::Close: DrawCrossGlyph(canvas, x, y, color); break;
    case FrameGlyph::Minimize: DrawMinimizeGlyph(canvas, x, y, color); break;
    case FrameGlyph::Maximize: DrawMaximizeGlyph(canvas, x, y, color); break;
    case FrameGlyph::Restore: DrawRestoreGlyph(canvas, x, y, color); break;
    case FrameGlyph::RollUp: DrawUpTriangleGlyph(canvas, x, y, color); break;
    case FrameGlyph::Tray: DrawDotGlyph(canvas, x, y, color); break;
    case FrameGlyph::None: break;
  }
}

// A radio item's mark: a filled circle 6 pixels across.
void DrawRadioDot(gfx::Canvas& canvas, int x, int y, gfx::Color color) {
  gfx::CanvasState saved = canvas.SaveState();
  canvas.SetPen(color);
  canvas.SetBrush(color);
  canvas.Ellipse(x, y, x + 6, y + 6);
  canvas.RestoreState(saved);
}

// The three-part picture of width of the source rectangle, or an empty
// bitmap when the rectangle is not inside the picture.
gfx::Bitmap ThreePart(const gfx::Bitmap& picture, const TRect& source, int left, int right, bool stretch,
                      int width) {
  gfx::Bitmap part;
  if (picture.IsEmpty() || IsNullRect(source) || width < 1) return part;
  if (!RectInRect(source, picture.Bounds())) return part;
  BuildHorzThreePartImage(left, right, picture, stretch ? TileMode::Stretch : TileMode::Tile, width, source, part);
  return part;
}

}  // namespace

TskSkinMenuItem::TskSkinMenuItem(TskSkinPopupWindow& window, ui::TMenuItem& item, const TskDataSkinMenuItem* data,
                                 const gfx::Bitmap* activePicture)
    : FWindow(&window), FMenuItem(&item), FData(data), FActivePicture(activePicture) {}

bool TskSkinMenuItem::HasSubItems() const { return FMenuItem->Count() > 0; }

void TskSkinMenuItem::Draw(gfx::Canvas& canvas) const {
  const bool active = MouseActive || KeyboardSelected;
  if (FData && FWindow->PW()) {
    gfx::Rect textArea;
    DrawSkinBackground(canvas, textArea);
    if (FMenuItem->IsLine()) return;
    gfx::Color color = !FMenuItem->Enabled() ? FData->UnEnabledFontColor
                       : active              ? FData->ActiveFontColor
                                             : FData->FontColor;
    DrawContent(canvas, textArea, color, 16);
    return;
  }
  DrawPlainBackground(canvas);
  if (FMenuItem->IsLine()) return;
  gfx::Color color = !FMenuItem->Enabled() ? System(ui::clBtnShadow) : System(ui::clWindowText);
  DrawContent(canvas, ObjectRect, color, 19);
}

void TskSkinMenuItem::DrawSkinBackground(gfx::Canvas& canvas, gfx::Rect& textArea) const {
  const int width = ObjectRect.Width();
  const gfx::Bitmap* picture = FActivePicture;
  if (FMenuItem->IsLine()) {
    if (picture) {
      gfx::Bitmap divider = ThreePart(*picture, FData->DividerRect, FData->DividerLeftOffset,
                                      FData->DividerRightOffset, FData->DividerStretchEffect, width);
      if (!divider.IsEmpty()) canvas.Draw(ObjectRect.Left, ObjectRect.Top, divider);
    }
    return;
  }
  textArea = FData->TextRect.Offset(ObjectRect.Left, ObjectRect.Top);
  textArea.Right += width - RectWidth(FData->SkinRect);
  if (!picture) return;
  gfx::Bitmap normal = ThreePart(*picture, FData->SkinRect, FData->ItemLeftOffset, FData->ItemRightOffset,
                                 FData->StretchEffect, width);
  gfx::Bitmap active = ThreePart(*picture, FData->ActiveSkinRect, FData->ItemLeftOffset, FData->ItemRightOffset,
                                 FData->StretchEffect, width);
  const gfx::Bitmap* shown = (MouseActive || KeyboardSelected) && !active.IsEmpty() ? &active : &normal;
  // Between the two looks while the item morphs.
  if (FData->Morphing && FWindow->SkinEffects() && !normal.IsEmpty() && active.Dimensions() == normal.Dimensions() &&
      MorphKf > 0 && MorphKf < 1) {
    TskEffectBmp blended = TskEffectBmp::CreateFromBitmap(normal);
    blended.ApplyMorph(FData->MorphKind, TskEffectBmp::CreateFromBitmap(active), MorphKf);
    blended.Draw(canvas.Target(), ObjectRect.Left + canvas.Origin().X, ObjectRect.Top + canvas.Origin().Y);
    return;
  }
  if (!shown->IsEmpty()) canvas.Draw(ObjectRect.Left, ObjectRect.Top, *shown);
}

void TskSkinMenuItem::DrawPlainBackground(gfx::Canvas& canvas) const {
  const gfx::Rect& r = ObjectRect;
  const int gutter = FWindow->Images() ? FWindow->GlyphWidth() : 19;
  if ((MouseActive || KeyboardSelected) && Usable()) {
    canvas.SetBrush(PlainActiveFill);
    canvas.FillRect(r);
    canvas.FrameRect(r, System(ui::clNavy));
    return;
  }
  canvas.SetBrush(System(ui::clBtnFace));
  canvas.FillRect(gfx::Rect{r.Left, r.Top, r.Left + gutter, r.Bottom});
  canvas.SetBrush(System(ui::clWindow));
  canvas.FillRect(gfx::Rect{r.Left + gutter, r.Top, r.Right, r.Bottom});
  if (FMenuItem->IsLine()) {
    const int y = r.Top + r.Height() / 2;
    canvas.SetPen(System(ui::clBtnShadow));
    canvas.MoveTo(r.Left + gutter + 2, y);
    canvas.LineTo(r.Right, y);
  }
}

void TskSkinMenuItem::DrawContent(gfx::Canvas& canvas, const gfx::Rect& textArea, gfx::Color textColor,
                                  int rightMargin) const {
  const int middle = textArea.Top + textArea.Height() / 2;
  gfx::Font font = FWindow->ItemFont();
  font.Color = textColor;
  canvas.SetFont(font);
  canvas.Brush().Style = gfx::BrushStyle::Clear;

  gfx::Rect caption{textArea.Left + FWindow->GlyphWidth(), textArea.Top, textArea.Right - rightMargin,
                    textArea.Bottom};
  canvas.DrawText(FMenuItem->Caption(), caption, gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_LEFT);
  if (FMenuItem->ShortCut() != ui::scNone) {
    gfx::Rect shortcut{textArea.Left, textArea.Top, textArea.Right - rightMargin, textArea.Bottom};
    canvas.DrawText(ui::ShortCutToText(FMenuItem->ShortCut()), shortcut,
                    gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_RIGHT | gfx::DT_NOPREFIX);
  }
  if (HasSubItems()) {
    const int x = textArea.Right - 7;
    DrawArrowMark(canvas, gfx::Rect{x, middle - 4, x + 4, middle + 4}, textColor, ArrowDirection::Right);
  }

  // 4. The mark at the left: the item's image, else a frame glyph by the
  // item's name, else the check or radio mark.
  const int gx = textArea.Left + 2;
  const int gy = middle - 4;
  ui::TImageList* images = FWindow->Images();
  if (images && FMenuItem->ImageIndex() >= 0 && FMenuItem->ImageIndex() < images->Count()) {
    const int top = middle - images->Height() / 2;
    const gfx::Bitmap& image = images->Picture(FMenuItem->ImageIndex());
    if (images->BkColor() == ui::clNone) {
      canvas.Draw(gx, top, image);
    } else {
      canvas.DrawTransparent(gx, top, image, ui::ColorToRGB(images->BkColor()));
    }
    if (FMenuItem->Checked()) {
      canvas.FrameRect(gfx::Rect{gx - 1, top - 1, gx + images->Width() + 1, top + images->Height() + 1}, textColor);
    }
    return;
  }
  FrameGlyph glyph = FrameGlyphOf(FMenuItem->Name());
  if (glyph != FrameGlyph::None) {
    DrawFrameGlyph(canvas, glyph, gx, gy, textColor);
    return;
  }
  if (!FMenuItem->Checked()) return;
  if (FMenuItem->RadioItem()) {
    DrawRadioDot(canvas, gx + 1, gy + 1, textColor);
  } else {
    DrawCheckMark(canvas, gx, gy, textColor);
  }
}

}  // namespace skin
