#pragma once

// A stand-alone skinned scroll bar: two arrows, a track and a thumb, its
// own position arithmetic and repeat timer. Other controls (the memo) link
// to it and drive it through SetRange and Position.

#include <array>
#include <string>

#include "skin/controls/SkinCtrls.Control.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace skin {

class TskSkinScrollBar : public TskSkinCustomControl {
 public:
  using inherited = TskSkinCustomControl;
  static void DefineProperties(ui::TPropertyList<TskSkinScrollBar>& list);

  static constexpr ui::UINT_PTR RepeatTimerId = 1;
  // The repeat waits FirstDelay after the press, then steps every
  // RepeatDelay.
  static constexpr unsigned FirstDelay = 500;
  static constexpr unsigned RepeatDelay = 50;
  // Parts: the thumb, the increasing arrow (right or bottom) and the
  // decreasing one (left or top).
  enum Part { Thumb = 0, IncreaseArrow = 1, DecreaseArrow = 2, NoPart = -1 };
  // What the repeat timer does.
  enum class Repeat { None, StepDown, StepUp, PageDown, PageUp };

  explicit TskSkinScrollBar(core::TComponent* owner);
  ~TskSkinScrollBar() override;

  ui::TScrollBarKind Kind() const { return FKind; }
  void SetKind(ui::TScrollBarKind value);
  int Min() const { return FMin; }
  void SetMin(int value);
  int Max() const { return FMax; }
  void SetMax(int value);
  int Position() const { return FPosition; }
  // Clamped to the range (with a page: to Max - PageSize + 1); a change
  // repaints and raises OnChange.
  void SetPosition(int value);
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int value);
  int LargeChange() const { return FLargeChange; }
  void SetLargeChange(int value);
  int PageSize() const { return FPageSize; }
  // Refused when the page would not fit the range from the position.
  void SetPageSize(int value);
  // The linked controls' way: no OnChange.
  void SetRange(int min, int max, int pageSize, int position);
  bool CanFocused() const { return FCanFocused; }
  void SetCanFocused(bool value);
  bool Both() const { return FBoth; }
  void SetBoth(bool value);
  int BothMarkerWidth() const { return FBothMarkerWidth; }
  void SetBothMarkerWidth(int value);
  const std::string& BothSkinDataName() const { return FBothSkinDataName; }
  void SetBothSkinDataName(const std::string& value) { FBothSkinDataName = value; }

  // Geometry and state, for painting and tests (control coordinates).
  const TRect& PartRect(Part part) const { return FButtons[std::size_t(part)].Rect; }
  bool PartHot(Part part) const { return FButtons[std::size_t(part)].MouseIn; }
  bool PartDown(Part part) const { return FButtons[std::size_t(part)].Down; }
  const TRect& TrackArea() const { return FNewTrackArea; }
  bool ThumbDown() const { return FThumbDown; }
  // Runs the geometry for the current size, range and section.
  void CalcRects();

  ui::TNotifyEvent OnUpButtonClick;
  ui::TNotifyEvent OnDownButtonClick;
  ui::TNotifyEvent OnChange;
  ui::TNotifyEvent OnLastChange;
  ui::TNotifyEvent OnPageUp;
  ui::TNotifyEvent OnPageDown;

  void FindSkinSection() override;
  void CalcSkinSize(int& width, int& height) override;
  void Dispatch(ui::TMessage& message) override;

 protected:
  void DrawDefaultImage(gfx::Bitmap& buffer) override;
  void DrawSkinImage(gfx::Bitmap& buffer) override;

 private:
  struct Button {
    TRect Rect;
    bool MouseIn = false;
    bool Down = false;
  };
  bool Vertical() const { return FKind == ui::sbVertical; }
  int Along(gfx::Point p) const { return Vertical() ? p.Y : p.X; }
  int TrackStart() const { return Vertical() ? FNewTrackArea.Top : FNewTrackArea.Left; }
  int TrackEnd() const { return Vertical() ? FNewTrackArea.Bottom : FNewTrackArea.Right; }
  int ClampPosition(int value) const;
  Part PartAt(gfx::Point p) const;
  void PositionFromThumb(int offset);
  void UpdateHover(gfx::Point p);
  void StepArrow(Part arrow);
  void StartRepeat(unsigned interval);
  void StopRepeat();
  bool IsFocused() const { return FCanFocused && Focused(); }
  void DrawDefaultPart(gfx::Canvas& canvas, const TRect& r, bool pressed, bool hot);

  void WMLButtonDown(ui::TMessage& message);
  void WMLButtonUp(ui::TMessage& message);
  void WMMouseMove(ui::TMessage& message);
  void WMTimer(ui::TMessage& message);
  void WMKeyDown(ui::TMessage& message);
  void CMMouseLeave(ui::TMessage& message);

  ui::TScrollBarKind FKind = ui::sbHorizontal;
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FSmallChange = 1;
  int FLargeChange = 1;
  int FPageSize = 0;
  bool FCanFocused = false;
  bool FBoth = false;
  int FBothMarkerWidth = 0;
  std::string FBothSkinDataName{"bothhscrollbar"};
  std::string FNormalSkinDataName;

  bool FMouseD = false;
  bool FWaitMode = false;
  bool FTimerRunning = false;
  Repeat FTimerMode = Repeat::None;
  int FMX = 0;
  int FMY = 0;
  std::array<Button, 3> FButtons{};
  int FActiveButton = NoPart;
  int FOldActiveButton = NoPart;
  int FCaptureButton = NoPart;
  bool FThumbDown = false;
  TRect FNewTrackArea;
  int FOffset1 = 0;
  int FOffset2 = 0;
  int FBOffset = 0;
  int FOMPos = 0;
  int FOldBOffset = 0;
  int FOldPosition = 0;

  // From the section.
  TRect FTrackArea;
  TRect FUpButtonRect, FActiveUpButtonRect, FDownUpButtonRect;
  TRect FDownButtonRect, FActiveDownButtonRect, FDownDownButtonRect;
  TRect FThumbRect, FActiveThumbRect, FDownThumbRect;
  int FThumbOffset1 = 0;
  int FThumbOffset2 = 0;
  bool FThumbTransparent = false;
  gfx::Color FThumbTransparentColor = 0;
  TRect FGlyphRect, FActiveGlyphRect, FDownGlyphRect;
  bool FScrollSection = false;
};

}  // namespace skin
