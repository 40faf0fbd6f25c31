#pragma once

// The skinned push button: four looks from its section (normal, active,
// down, disabled), a glyph strip of up to four cells beside the caption,
// toggle groups, auto-repeat, default and cancel, and the cross-fade and
// frame animations a skin may ask for.

#include <string>

#include "skin/controls/SkinCtrls.Control.h"
#include "ui/classlib/Forms.h"

namespace skin {

enum TskButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TskSkinButton : public TskSkinCustomControl {
 public:
  using inherited = TskSkinCustomControl;
  static void DefineProperties(ui::TPropertyList<TskSkinButton>& list);

  // The window timers of the button.
  static constexpr ui::UINT_PTR MorphTimerId = 1;
  static constexpr ui::UINT_PTR RepeatTimerId = 2;
  static constexpr ui::UINT_PTR AnimateTimerId = 3;
  // Steps of the cross-fade: 0.2 every 20 ms.
  static constexpr unsigned MorphInterval = 20;

  explicit TskSkinButton(core::TComponent* owner);
  ~TskSkinButton() override;

  bool UseSkinSize() const { return FUseSkinSize; }
  void SetUseSkinSize(bool value) { FUseSkinSize = value; }
  bool RepeatMode() const { return FRepeatMode; }
  void SetRepeatMode(bool value) { FRepeatMode = value; }
  int RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(int value) { FRepeatInterval = value; }
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool value) { FAllowAllUp = value; }
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool value);
  bool Down() const { return FDown; }
  void SetDown(bool value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value);
  ui::TBitmap* Glyph() { return &FGlyph; }
  void SetGlyph(const ui::TBitmap& glyph);
  int NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int value);
  int Margin() const { return FMargin; }
  // Values below -1 are refused.
  void SetMargin(int value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int value);
  TskButtonLayout Layout() const { return FLayout; }
  void SetLayout(TskButtonLayout value);
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool value) { FCancel = value; }
  ui::TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(ui::TModalResult value) { FModalResult = value; }

  // The state that the looks are drawn from.
  bool MouseIn() const { return FMouseIn; }
  bool Active() const { return FActive; }
  double MorphKf() const { return FMorphKf; }
  int CurrentFrame() const { return FCurrentFrame; }

  // The click: modal result, then OnClick. A handler may free the button.
  virtual void ButtonClick();

  void FindSkinSection() override;
  void ApplySkinChange() override;
  void CalcSkinSize(int& width, int& height) override;
  void Dispatch(ui::TMessage& message) override;

 protected:
  // One look into buffer: the background from lookRect of the picture,
  // then glyph and caption.
  virtual void DrawButtonImage(gfx::Bitmap& buffer, const TRect& lookRect, bool active, bool down);
  void DrawDefaultImage(gfx::Bitmap& buffer) override;
  void Paint() override;
  void CreateWnd() override;

 private:
  // Which look the button shows now; decided here only.
  struct Look {
    TRect Rect;
    bool Active = false;
    bool Down = false;
  };
  Look CurrentLook() const;
  bool EffectsOn() const;
  bool MorphOn() const { return FMorphing && EffectsOn(); }
  bool IsFocused() const;
  bool PressedLook() const;
  bool AnimationAllowed() const;
  // Glyph and caption laid out in area (see the source).
  void DrawGlyphAndText(gfx::Canvas& canvas, const TRect& area, int cell, bool offset);

  void StateChangeRedraw();
  void StartTimer(ui::UINT_PTR id, unsigned interval);
  void StopTimer(ui::UINT_PTR id);
  bool TimerRunning(ui::UINT_PTR id) const;
  void StartAnimation(bool forwards);
  void StopAnimation();
  void MorphTick();
  void AnimateTick();
  // Raises the click and tells whether the button survived it.
  bool ClickAndSurvive();

  void WMLButtonDown(ui::TMessage& message);
  void WMLButtonUp(ui::TMessage& message);
  void WMKeyDown(ui::TMessage& message);
  void WMKeyUp(ui::TMessage& message);
  void WMSetFocus(ui::TMessage& message);
  void WMKillFocus(ui::TMessage& message);
  void WMTimer(ui::TMessage& message);
  void CMMouseEnter(ui::TMessage& message);
  void CMMouseLeave(ui::TMessage& message);
  void CMDialogKey(ui::TMessage& message);
  void CMDialogChar(ui::TMessage& message);
  void CMFocusChanged(ui::TMessage& message);
  void CMEnabledChanged(ui::TMessage& message);
  void CMTextChanged(ui::TMessage& message);
  void WMEraseBkgnd(ui::TMessage& message);

  unsigned FTimers = 0;  // bit per timer id
  int FCurrentFrame = 0;
  bool FAnimateInc = false;
  bool FUseSkinSize = true;
  bool FRepeatMode = false;
  int FRepeatInterval = 100;
  bool FActive = false;
  bool FAllowAllUp = false;
  bool FAllowAllUpCheck = false;
  bool FDefault = false;
  bool FCancel = false;
  ui::TModalResult FModalResult = ui::mrNone;
  bool FClicksDisabled = false;
  bool FCanFocused = true;
  double FMorphKf = 0;
  bool FDown = false;
  bool FMouseIn = false;
  bool FMouseDown = false;
  int FGroupIndex = 0;
  ui::TBitmap FGlyph;
  int FNumGlyphs = 1;
  int FMargin = -1;
  int FSpacing = 1;
  TskButtonLayout FLayout = blGlyphLeft;

  // The caption's measure, for as long as caption and font stay.
  std::string FMeasuredCaption;
  gfx::Font FMeasuredFont;
  gfx::Size FMeasuredSize{-1, -1};
  gfx::Bitmap FPaintBuffer;

  // From the section.
  std::string FFontName;
  gfx::FontStyle FFontStyle = gfx::FontStyle::None;
  int FFontHeight = 14;
  gfx::Color FFontColor = 0;
  gfx::Color FActiveFontColor = 0;
  gfx::Color FDownFontColor = 0;
  gfx::Color FDisabledFontColor = 0;
  TRect FActiveSkinRect;
  TRect FDownSkinRect;
  TRect FDisabledSkinRect;
  bool FMorphing = false;
  TskMorphKind FMorphKind{};
  TRect FAnimateSkinRect;
  int FFrameCount = 0;
  int FAnimateInterval = 25;
};

}  // namespace skin
