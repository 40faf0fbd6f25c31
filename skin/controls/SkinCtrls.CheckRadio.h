#pragma once

// One control for the check box and the radio button (Radio). Flat (the
// default): the mark image and the caption over the parent's background.
// Framed: the whole section image (frame, mark, caption), sized like any
// skinned control.

#include <string>

#include "skin/controls/SkinCtrls.Control.h"
#include "ui/classlib/ImgList.h"

namespace skin {

class TskSkinCheckRadioBox : public TskSkinCustomControl {
 public:
  using inherited = TskSkinCustomControl;
  static void DefineProperties(ui::TPropertyList<TskSkinCheckRadioBox>& list);

  static constexpr ui::UINT_PTR MorphTimerId = 1;

  explicit TskSkinCheckRadioBox(core::TComponent* owner);
  ~TskSkinCheckRadioBox() override;

  bool Checked() const { return FChecked; }
  // Checking a box of a group unchecks the others; raises OnClick for a
  // check box, and for a radio box only when it becomes checked.
  void SetChecked(bool value);
  bool Radio() const { return FRadio; }
  void SetRadio(bool value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int value) { FGroupIndex = value; }
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool value);
  ui::TImageList* Images() const { return FImages; }
  void SetImages(ui::TImageList* value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  bool MouseIn() const { return FMouseIn; }

  // What the user's click does: a check box inverts, a radio box checks.
  void Toggle();

  void FindSkinSection() override;
  void ApplySkinChange() override;
  void CalcSkinSize(int& width, int& height) override;
  void Dispatch(ui::TMessage& message) override;

 protected:
  void Paint() override;
  void DrawDefaultImage(gfx::Bitmap& buffer) override;
  void DrawSkinImage(gfx::Bitmap& buffer) override;
  void Notification(core::TComponent* component, core::TOperation operation) override;

 private:
  bool IsFocused() const { return FCanFocused && Focused(); }
  bool ValidImage() const;
  // The mark image for the state (enabled, hot, checked).
  const TRect& MarkRect() const;
  void PaintFlat(gfx::Bitmap& buffer);
  // Caption (and list image) from rect's left; returns the area drawn for
  // the focus rectangle.
  TRect DrawCaption(gfx::Canvas& canvas, gfx::Bitmap& buffer, TRect rect);
  void DrawDefaultBox(gfx::Canvas& canvas, int height);
  void DrawFramedLook(gfx::Bitmap& buffer, bool active);
  void StateRedraw();

  ui::TImageList* FImages = nullptr;
  int FImageIndex = 0;
  bool FFlat = true;
  bool FClicksDisabled = false;
  bool FCanFocused = true;
  bool FMouseIn = false;
  bool FPressed = false;
  int FGroupIndex = 0;
  bool FChecked = false;
  TRect FCheckImagePos;
  TRect FNewTextArea;
  bool FRadio = false;
  bool FMorphTimer = false;
  double FMorphKf = 0;

  std::string FFontName;
  gfx::FontStyle FFontStyle = gfx::FontStyle::None;
  int FFontHeight = 14;
  gfx::Color FFontColor = 0;
  gfx::Color FActiveFontColor = 0;
  gfx::Color FFrameFontColor = 0;
  gfx::Color FUnEnabledFontColor = 0;
  TRect FActiveSkinRect;
  TRect FCheckImageArea;
  TRect FTextArea;
  TRect FCheckImageRect;
  TRect FUnCheckImageRect;
  TRect FActiveCheckImageRect;
  TRect FActiveUnCheckImageRect;
  TRect FUnEnabledCheckImageRect;
  TRect FUnEnabledUnCheckImageRect;
  bool FMorphing = false;
  TskMorphKind FMorphKind{};
};

}  // namespace skin
