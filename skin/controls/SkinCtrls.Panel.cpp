#include "skin/controls/SkinCtrls.Panel.h"

#include <algorithm>

#include "gfx/Canvas.h"
#include "gfx/TextFormat.h"
#include "skin/data/SkinUtils.h"

namespace skin {

namespace {

gfx::Color Rgb(ui::TColor color) { return ui::ColorToRGB(color); }

// Top-left and bottom-right one-pixel lines of r.
void Bevel(gfx::Canvas& canvas, const TRect& r, gfx::Color topLeft, gfx::Color bottomRight) {
  canvas.Frame3D(r, topLeft, bottomRight, 1);
}

}  // namespace

TskSkinPanel::TskSkinPanel(core::TComponent* owner) : TskSkinCustomControl(owner) {
  SetControlStyle(ui::TControlStyle{ui::csAcceptsControls, ui::csCaptureMouse, ui::csClickEvents,
                                    ui::csDoubleClicks, ui::csSetCaption, ui::csOpaque, ui::csReplicatable});
  SetSkinDataName("panel");
  SetBounds(0, 0, 150, 150);
}

TskSkinPanel::~TskSkinPanel() = default;

// ---- Properties ---------------------------------------------------------------

void TskSkinPanel::SetCheckedMode(bool value) {
  FCheckedMode = value;
  Invalidate();
}

void TskSkinPanel::SetChecked(bool value) {
  FChecked = value;
  if (FCheckedMode) Invalidate();
  if (FAutoEnabledControls && FCheckedMode) {
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetEnabled(FChecked);
  }
  if (OnChecked) OnChecked(this);
}

void TskSkinPanel::SetGlyph(const ui::TBitmap& glyph) {
  FGlyph.Assign(glyph);
  Invalidate();
}

void TskSkinPanel::SetNumGlyphs(int value) {
  FNumGlyphs = std::clamp(value, 1, 2);
  Invalidate();
}

void TskSkinPanel::SetSpacing(int value) {
  FSpacing = value;
  Invalidate();
}

void TskSkinPanel::SetRollUpMode(bool value) {
  FRollUpMode = value;
  if (FSkinIndex == -1 && FCaptionMode) Invalidate();
}

void TskSkinPanel::SetDefaultAlignment(ui::TAlignment value) {
  FDefaultAlignment = value;
  if (FSkinIndex == -1 && FCaptionMode) Invalidate();
}

void TskSkinPanel::SetDefaultCaptionHeight(int value) {
  FDefaultCaptionHeight = value;
  if (FSkinIndex == -1 && FCaptionMode) {
    Invalidate();
    Realign();
  }
}

void TskSkinPanel::SetBorderStyle(TskSkinBorderStyle value) {
  FBorderStyle = value;
  if (FSkinIndex == -1) {
    Invalidate();
    Realign();
  }
}

void TskSkinPanel::SetCaptionMode(bool value) {
  FCaptionMode = value;
  Invalidate();
  Realign();
}

void TskSkinPanel::SetRollUpState(bool value) {
  if (value == FRollUpState) return;
  if (!FRollUpMode) {
    FRollUpState = false;
    return;
  }
  FRollUpState = value;
  if (value) {
    RollUp();
  } else {
    Restore();
  }
  if (OnChangeRollUpState) OnChangeRollUpState(this);
}

int TskSkinPanel::RolledHeight() const {
  if (FSkinIndex == -1) return FDefaultCaptionHeight + 1;
  return Height() - RectHeight(FNewClRect);
}

void TskSkinPanel::RollUp() {
  if (FRealHeight != -1) return;
  FRealHeight = Height();
  DisableAlign();
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(false);
  SetHeight(RolledHeight());
}

void TskSkinPanel::Restore() {
  if (FRealHeight == -1) return;
  SetHeight(FRealHeight);
  FRealHeight = -1;
  for (int i = 0; i < ControlCount(); ++i) Controls(i)->SetVisible(true);
  EnableAlign();
}

void TskSkinPanel::SetBounds(int left, int top, int width, int height) {
  TskSkinCustomControl::SetBounds(left, top, width, height);
  if (FSkinIndex == -1) Invalidate();
}

// ---- Section --------------------------------------------------------------------

void TskSkinPanel::FindSkinSection() {
  TskSkinCustomControl::FindSkinSection();
  FBGPictureIndex = -1;
  const auto* section = dynamic_cast<const TskDataSkinPanelControl*>(Section());
  if (!section) return;
  FBGPictureIndex = section->BGPictureIndex;
  FCaptionRect = section->CaptionRect;
  FCaptionAlignment = ui::TAlignment(section->Alignment);
  FCaptionFontName = section->FontName;
  FCaptionFontHeight = section->FontHeight;
  FCaptionFontStyle = section->FontStyle;
  FCaptionFontColor = section->FontColor;
  FCheckImageRect = section->CheckImageRect;
  FUnCheckImageRect = section->UnCheckImageRect;
  FMarkFrameRect = section->MarkFrameRect;
  FFrameRect = section->FrameRect;
  FFrameTextRect = section->FrameTextRect;
  FFrameLeftOffset = section->FrameLeftOffset;
  FFrameRightOffset = section->FrameRightOffset;
}

void TskSkinPanel::ApplySkinChange() {
  const int realHeight = FRealHeight;
  ui::TControlGuard guard(this);
  TskSkinCustomControl::ApplySkinChange();
  if (guard.Destroyed()) return;
  if (FRollUpState && realHeight != -1) {
    // Rolled up stays rolled up, at the new skin's caption height.
    SetHeight(RolledHeight());
    FRealHeight = realHeight;
  } else {
    Realign();
  }
}

// The area the aligned children share.
void TskSkinPanel::AdjustClientRect(gfx::Rect& rect) const {
  if (FSkinIndex == -1 || Designing()) {
    if (FBorderStyle != bvNone) rect = rect.Inflate(-1, -1);
    if (FCaptionMode) rect.Top += FDefaultCaptionHeight;
    return;
  }
  if (FBGPictureIndex != -1 || (FBorderStyle == bvNone && !FCaptionMode && FResizeMode == 1)) return;
  rect = FNewClRect;
}

// ---- Painting ---------------------------------------------------------------------

void TskSkinPanel::Paint() {
  if (Width() < 1 || Height() < 1) return;
  FindSkinSection();
  const gfx::Bitmap* background = FSkinIndex != -1 && FBGPictureIndex != -1 ? ActivePicture(FBGPictureIndex) : nullptr;
  if (FSkinIndex != -1 && FBGPictureIndex != -1) {
    // A background picture covers the whole panel; an index the skin has
    // no picture for gives the button face instead of a read past the list.
    gfx::Canvas& canvas = Canvas()->Target();
    if (!background || background->IsEmpty()) {
      canvas.SetBrush(Rgb(ui::clBtnFace));
      canvas.FillRect(ClientRect());
      return;
    }
    for (int y = 0; y < Height(); y += background->Height()) {
      for (int x = 0; x < Width(); x += background->Width()) canvas.Draw(x, y, *background);
    }
    return;
  }
  TskSkinCustomControl::Paint();
}

void TskSkinPanel::DrawSkinImage(gfx::Bitmap& buffer) {
  if (FBorderStyle != bvNone || FResizeMode != 1 || FCaptionMode) {
    TskSkinCustomControl::DrawSkinImage(buffer);
    FNewCaptionRect = FResizeMode < 1 ? FCaptionRect : MoveSkinRect(FCaptionRect);
    if (!Caption().empty() && !IsNullRect(FCaptionRect)) {
      gfx::Canvas canvas(buffer);
      DrawSkinCaption(canvas, FNewCaptionRect);
    }
    return;
  }
  // No frame and no caption: the section's client part tiled all over.
  if (!FPicture) return;
  const TRect tile = FClRect.Offset(FSkinRect.Left, FSkinRect.Top);
  if (IsNullRect(tile)) return;
  gfx::Canvas canvas(buffer);
  for (int y = 0; y < buffer.Height(); y += RectHeight(tile)) {
    for (int x = 0; x < buffer.Width(); x += RectWidth(tile)) {
      const int w = std::min(RectWidth(tile), buffer.Width() - x);
      const int h = std::min(RectHeight(tile), buffer.Height() - y);
      canvas.CopyRect(TRect{x, y, x + w, y + h}, *FPicture, TRect{tile.Left, tile.Top, tile.Left + w, tile.Top + h});
    }
  }
}

int TskSkinPanel::ContentWidth(gfx::Canvas& canvas, int& textWidth) const {
  textWidth = canvas.TextWidth(Caption());
  int width = textWidth;
  if (!FGlyph.Empty()) width += FGlyph.Width() / FNumGlyphs + FSpacing;
  return width;
}

void TskSkinPanel::DrawGlyphAndText(gfx::Canvas& canvas, const TRect& area, int x, int textWidth) {
  const int textHeight = canvas.TextHeight(Caption());
  if (!FGlyph.Empty()) {
    const int cell = (!Enabled() && FNumGlyphs == 2) ? 2 : 1;
    const int gw = FGlyph.Width() / FNumGlyphs;
    DrawGlyphFromStrip(canvas, x, area.Top + RectHeight(area) / 2 - FGlyph.Height() / 2, cell, FNumGlyphs,
                       FGlyph.Bitmap());
    x += gw + FSpacing;
  }
  gfx::CanvasStateSaver saver(canvas);
  canvas.IntersectClipRect(area);
  canvas.Brush().Style = gfx::BrushStyle::Clear;
  TRect text{x, area.Top + RectHeight(area) / 2 - textHeight / 2, x + textWidth + 1, 0};
  text.Bottom = text.Top + textHeight;
  canvas.DrawText(Caption(), text, gfx::DT_SINGLELINE | gfx::DT_NOCLIP);
}

// A triangle of four rows, 1 to 7 pixels, centred in box: apex down when
// rolled up (it opens downwards), up when not.
void TskSkinPanel::DrawMarker(gfx::Canvas& canvas, const TRect& box, gfx::Color color) const {
  DrawArrowMark(canvas, box, color, FRollUpState ? ArrowDirection::Down : ArrowDirection::Up);
}

// The caption in the section's caption area:
// 1. room for the marker; 2. the check image; 3. font; 4. start x by the
// alignment; 5.-7. glyph, marker, frame behind the text; 8. the text.
void TskSkinPanel::DrawSkinCaption(gfx::Canvas& canvas, TRect area) {
  if (FRollUpMode) area.Right -= 12;  // 1
  if (FCheckedMode && FPicture) {  // 2
    const TRect& image = FChecked ? FCheckImageRect : FUnCheckImageRect;
    const int top = area.Top + RectHeight(area) / 2 - RectHeight(FCheckImageRect) / 2;
    gfx::Bitmap mark = FPicture->Crop(image);
    if (!mark.IsEmpty()) canvas.DrawTransparent(area.Left, top, mark);
    area.Left += RectWidth(FCheckImageRect) + 2;
  }
  gfx::Font font = SectionFont(FCaptionFontName, FCaptionFontHeight, FCaptionFontStyle);  // 3
  font.Color = FCaptionFontColor;
  canvas.SetFont(font);
  int textWidth = 0;
  const int content = ContentWidth(canvas, textWidth);  // 4
  int x = area.Left;
  if (FCaptionAlignment == ui::taRightJustify) {
    x = area.Right - content;
  } else if (FCaptionAlignment == ui::taCenter) {
    x = area.Left + RectWidth(area) / 2 - content / 2;
  }
  if (FRollUpMode) {  // 6
    const TRect box{area.Right + 1, area.Top, area.Right + 1 + MarkerWidth, area.Bottom};
    if (!IsNullRect(FMarkFrameRect) && FPicture) {
      canvas.CopyRect(TRect{box.Left, box.Top, box.Left + RectWidth(FMarkFrameRect), box.Top + RectHeight(FMarkFrameRect)},
                      *FPicture, FMarkFrameRect);
    }
    DrawMarker(canvas, box, FCaptionFontColor);
  }
  if (!IsNullRect(FFrameRect) && FPicture) {  // 7
    const int difference = RectWidth(FFrameRect) - RectWidth(FFrameTextRect);
    const int frameWidth = content + difference;
    const int frameX = FCaptionAlignment == ui::taLeftJustify ? x : x - difference / 2;
    gfx::Bitmap frame;
    BuildHorzThreePartImage(FFrameLeftOffset, FFrameRightOffset, *FPicture, TileMode::Tile, frameWidth, FFrameRect,
                            frame);
    canvas.Draw(frameX, FNewCaptionRect.Top, frame);
    x = frameX + FFrameTextRect.Left;
  }
  DrawGlyphAndText(canvas, area, x, textWidth);  // 5, 8
}

// Without a section: button face, a one-pixel bevel, and the caption band.
void TskSkinPanel::DrawDefaultImage(gfx::Bitmap& buffer) {
  gfx::Canvas canvas(buffer);
  const TRect r = ClientRect();
  canvas.SetBrush(Rgb(ui::clBtnFace));
  canvas.FillRect(r);
  const gfx::Color shadow = Rgb(ui::clBtnShadow);
  const gfx::Color highlight = Rgb(ui::clBtnHighlight);
  switch (FBorderStyle) {
    case bvFrame: canvas.FrameRect(r, shadow); break;
    case bvRaised: Bevel(canvas, r, highlight, shadow); break;
    case bvLowered: Bevel(canvas, r, shadow, highlight); break;
    case bvNone: break;
  }
  if (!FCaptionMode) return;
  TRect band;
  if (FBorderStyle == bvFrame) {
    band = TRect{0, 0, Width(), FDefaultCaptionHeight};
    canvas.FrameRect(band, shadow);
    band = canvas.Frame3D(band.Inflate(-1, -1), highlight, Rgb(ui::clBtnFace), 1);
  } else {
    band = TRect{1, 1, Width() - 1, FDefaultCaptionHeight};
    band = canvas.Frame3D(band, shadow, highlight, 1);
    band = canvas.Frame3D(band, highlight, shadow, 1);
  }
  DrawDefaultCaption(canvas, band);
}

void TskSkinPanel::DrawDefaultCaption(gfx::Canvas& canvas, TRect area) {
  if (FCheckedMode) area.Left += 20;
  if (FRollUpMode) area.Right -= MarkerWidth;
  gfx::Font font = PlainFont();
  canvas.SetFont(font);
  int textWidth = 0;
  const int content = ContentWidth(canvas, textWidth);
  int x = area.Left + 2;
  if (FDefaultAlignment == ui::taRightJustify) {
    x = area.Right - content;
  } else if (FDefaultAlignment == ui::taCenter) {
    x = area.Left + 2 + RectWidth(area) / 2 - content / 2;
  }
  if (FCheckedMode) {
    const int top = area.Top + RectHeight(area) / 2 - 7;
    const TRect box{5, top, 19, top + 14};
    canvas.FrameRect(box, Rgb(ui::clBtnShadow));
    if (FChecked) DrawCheckMark(canvas, box.Left + 3, box.Top + 2, Rgb(ui::clBtnText));
  }
  if (FRollUpMode) {
    DrawMarker(canvas, TRect{area.Right, area.Top, area.Right + MarkerWidth, area.Bottom}, Rgb(ui::clBtnText));
  }
  if (!Caption().empty() || !FGlyph.Empty()) DrawGlyphAndText(canvas, area, x, textWidth);
}

// ---- Input --------------------------------------------------------------------------

TRect TskSkinPanel::CaptionHitRect() const {
  if (FSkinIndex != -1) return FNewCaptionRect;
  return TRect{1, 1, Width() - 1, FDefaultCaptionHeight};
}

void TskSkinPanel::WMLButtonUp(ui::TMessage& message) {
  const gfx::Point point = ui::PointFromLParam(message.LParam);
  ui::TControlGuard guard(this);
  if (FCaptionMode && (FCheckedMode || FRollUpMode) && CaptionHitRect().Contains(point)) {
    if (FCheckedMode) SetChecked(!FChecked);
    if (guard.Destroyed()) return;
    if (FRollUpMode) SetRollUpState(!FRollUpState);
    if (guard.Destroyed()) return;
  }
  inherited::Dispatch(message);
}

void TskSkinPanel::Dispatch(ui::TMessage& message) {
  switch (message.Msg) {
    case ui::WM_LBUTTONUP: WMLButtonUp(message); break;
    case ui::CM_TEXTCHANGED:
      if (FCaptionMode) Invalidate();
      inherited::Dispatch(message);
      break;
    default: inherited::Dispatch(message); break;
  }
}

// ---- TskSkinGroupBox ---------------------------------------------------------------

TskSkinGroupBox::TskSkinGroupBox(core::TComponent* owner) : TskSkinPanel(owner) {
  SetSkinDataName("groupbox");
  SetCaptionMode(true);
}

}  // namespace skin
