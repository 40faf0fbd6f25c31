#pragma once

// The skinned container: a frame from the skin (or a plain bevel), an
// optional caption band with text, glyph, check mark and roll-up marker,
// and the children placed inside the skin's client rectangle.

#include <string>

#include "skin/controls/SkinCtrls.Control.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace skin {

enum TskSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };

class TskSkinPanel : public TskSkinCustomControl {
 public:
  using inherited = TskSkinCustomControl;
  static void DefineProperties(ui::TPropertyList<TskSkinPanel>& list);

  // The roll-up marker's box right of the caption.
  static constexpr int MarkerWidth = 10;

  explicit TskSkinPanel(core::TComponent* owner);
  ~TskSkinPanel() override;

  bool CheckedMode() const { return FCheckedMode; }
  void SetCheckedMode(bool value);
  bool Checked() const { return FChecked; }
  // Enables or disables the children (AutoEnabledControls in CheckedMode)
  // and raises OnChecked, always.
  void SetChecked(bool value);
  bool AutoEnabledControls() const { return FAutoEnabledControls; }
  void SetAutoEnabledControls(bool value) { FAutoEnabledControls = value; }
  ui::TBitmap* Glyph() { return &FGlyph; }
  void SetGlyph(const ui::TBitmap& glyph);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);
  int RealHeight() const { return FRealHeight; }
  void SetRealHeight(int value) { FRealHeight = value; }
  bool RollUpMode() const { return FRollUpMode; }
  void SetRollUpMode(bool value);
  bool RollUpState() const { return FRollUpState; }
  // Forced to false while RollUpMode is off.
  void SetRollUpState(bool value);
  bool CaptionMode() const { return FCaptionMode; }
  virtual void SetCaptionMode(bool value);
  TskSkinBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TskSkinBorderStyle value);
  int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
  virtual void SetDefaultCaptionHeight(int value);
  ui::TAlignment DefaultAlignment() const { return FDefaultAlignment; }
  void SetDefaultAlignment(ui::TAlignment value);

  // The caption area at the control's size (the section's captionrect
  // moved), valid after a paint with a section.
  const TRect& NewCaptionRect() const { return FNewCaptionRect; }

  ui::TNotifyEvent OnChecked;
  ui::TNotifyEvent OnChangeRollUpState;

  void FindSkinSection() override;
  void ApplySkinChange() override;
  void SetBounds(int left, int top, int width, int height) override;
  void Dispatch(ui::TMessage& message) override;

 protected:
  void AdjustClientRect(gfx::Rect& rect) const override;
  void Paint() override;
  void DrawSkinImage(gfx::Bitmap& buffer) override;
  void DrawDefaultImage(gfx::Bitmap& buffer) override;

 private:
  void DrawSkinCaption(gfx::Canvas& canvas, TRect area);
  void DrawDefaultCaption(gfx::Canvas& canvas, TRect area);
  // Glyph and text from start x, vertically centred in area.
  void DrawGlyphAndText(gfx::Canvas& canvas, const TRect& area, int x, int textWidth);
  void DrawMarker(gfx::Canvas& canvas, const TRect& box, gfx::Color color) const;
  int ContentWidth(gfx::Canvas& canvas, int& textWidth) const;
  // The height rolled up: the frame and caption only.
  int RolledHeight() const;
  void RollUp();
  void Restore();
  TRect CaptionHitRect() const;
  void WMLButtonUp(ui::TMessage& message);

  bool FCheckedMode = false;
  bool FChecked = false;
  bool FAutoEnabledControls = true;
  ui::TBitmap FGlyph;
  int FNumGlyphs = 1;
  int FSpacing = 2;
  int FRealHeight = -1;
  bool FRollUpState = false;
  bool FRollUpMode = false;
  bool FCaptionMode = false;
  TskSkinBorderStyle FBorderStyle = bvFrame;
  int FDefaultCaptionHeight = 22;
  ui::TAlignment FDefaultAlignment = ui::taLeftJustify;

  // From the section.
  std::string FCaptionFontName;
  gfx::FontStyle FCaptionFontStyle = gfx::FontStyle::None;
  int FCaptionFontHeight = 14;
  gfx::Color FCaptionFontColor = 0;
  ui::TAlignment FCaptionAlignment = ui::taLeftJustify;
  TRect FCaptionRect;
  TRect FNewCaptionRect;
  int FBGPictureIndex = -1;
  TRect FCheckImageRect;
  TRect FUnCheckImageRect;
  TRect FMarkFrameRect;
  TRect FFrameRect;
  int FFrameLeftOffset = 0;
  int FFrameRightOffset = 0;
  TRect FFrameTextRect;
};

// A panel with a caption band, drawn from the "groupbox" section.
class TskSkinGroupBox : public TskSkinPanel {
 public:
  using inherited = TskSkinPanel;
  static void DefineProperties(ui::TPropertyList<TskSkinGroupBox>& list);
  explicit TskSkinGroupBox(core::TComponent* owner);
};

}  // namespace skin
