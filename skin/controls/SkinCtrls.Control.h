#pragma once

// The two bases of the windowed skinned controls.
//
// TskSkinControl binds a control to one section of a skin (SkinData +
// SkinDataName), looks the section up again at every paint, and paints
// double-buffered: the subclass draws the whole control into a picture
// (DrawSkinImage with a section, DrawDefaultImage without), which is then
// copied in one go, or blended over the parent's image (AlphaBlend).
//
// TskSkinCustomControl adds the geometry of the custom-control sections:
// the section's corner points cut its image into fixed corners and
// stretchable middles; ResizeMode says which way it stretches, and the
// control's size, its client rectangle and its window region (from the
// mask picture) follow the section.
//
//   ResizeMode  section points                      image at any size
//   -1          no skinrect                         (default look)
//    0          none                                skinrect, fixed size
//    1          rightbottompoint x and y            nine parts, both ways
//    2          righttoppoint                       three parts along x
//    3          leftbottompoint                     three parts along y

#include <array>
#include <cstdint>
#include <utility>
#include <optional>
#include <string>

#include "gfx/Bitmap.h"
#include "gfx/Font.h"
#include "gfx/Region.h"
#include "skin/data/SkinChangeReceiver.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinTypes.h"
#include "ui/classlib/Controls.h"

namespace ui {
template <class T>
class TPropertyList;
}

namespace skin {

class TskSkinControl : public ui::TCustomControl, public SkinChangeReceiver {
 public:
  using inherited = ui::TCustomControl;
  static void DefineProperties(ui::TPropertyList<TskSkinControl>& list);

  explicit TskSkinControl(core::TComponent* owner);
  ~TskSkinControl() override;

  // True only while the control handles WM_PAINT; a WM_ERASEBKGND outside
  // it comes from someone copying the parent's image.
  bool InPaintMessage() const { return FInPaintMessage; }

  TskSkinData* SkinData() const { return FSkinData; }
  // Applies the skin at once unless it is none or empty (or at design time).
  virtual void SetSkinData(TskSkinData* value);
  const std::string& SkinDataName() const { return FSkinDataName; }
  // Stores only: the section is looked up at the next paint or change.
  virtual void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
  const std::string& AreaName() const { return FAreaName; }
  void SetAreaName(const std::string& value) { FAreaName = value; }
  bool DrawDefault() const { return FDrawDefault; }
  void SetDrawDefault(bool value);
  bool AlphaBlend() const { return FAlphaBlend; }
  virtual void SetAlphaBlend(bool value);
  std::uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
  virtual void SetAlphaBlendValue(std::uint8_t value);
  bool UseSkinCursor() const { return FUseSkinCursor; }
  void SetUseSkinCursor(bool value) { FUseSkinCursor = value; }

  // Position of the section in the skin's control sections; -1 for none.
  int SkinIndex() const { return FSkinIndex; }
  int SkinCursorIndex() const { return FSkinCursorIndex; }
  // The window region applied from the mask picture, if any.
  const std::optional<gfx::Region>& SkinRegion() const { return FSkinRegion; }

  // Looks the section up again by name (and copies what the subclass
  // needs of it).
  virtual void FindSkinSection();
  // A new or changed skin: section, cursor, repaint (and, in subclasses,
  // size and region).
  virtual void ApplySkinChange();
  // The skin is about to be freed: forget the section.
  virtual void PrepareSkinChange();

  // SkinChangeReceiver: the frame's relay of the skin messages.
  TskSkinData* SkinChangeSource() const override { return FSkinData; }
  void SkinBeforeChange() override { PrepareSkinChange(); }
  void SkinChanged() override { ApplySkinChange(); }

  void Dispatch(ui::TMessage& message) override;

 protected:
  // Paints the look without a section into buffer (sized to the control);
  // the base leaves it as it is.
  virtual void DrawDefaultImage(gfx::Bitmap& buffer);
  // Paints the section's look into buffer; may resize it (a fixed-size
  // section). The base does nothing.
  virtual void DrawSkinImage(gfx::Bitmap& buffer);
  // 1 to 6 of the double-buffered paint (see the source).
  void Paint() override;
  void Notification(core::TComponent* component, core::TOperation operation) override;

  // The section at SkinIndex, nullptr for none.
  const TskDataSkinControl* Section() const;
  bool Designing() const { return ComponentState().Contains(core::csDesigning); }
  // The picture of the skin's active pictures at index; nullptr for -1 or
  // an index past the list.
  const gfx::Bitmap* ActivePicture(int index) const;
  // The character set the skin's texts are drawn in: the skin's replaceable
  // texts' one, else fallback.
  int SkinCharSet(int fallback) const;
  // Copies buffer to the canvas at (0, 0), blended over the parent's image
  // when AlphaBlend is on.
  void PresentBuffer(const gfx::Bitmap& buffer);
  // Blends buffer towards background by 1 - AlphaBlendValue / 255.
  void BlendWithBackground(gfx::Bitmap& buffer, const gfx::Bitmap& background) const;
  // A skin is set, loaded, and lets its controls animate.
  bool SkinEffectsOn() const { return FSkinData && !FSkinData->Empty() && FSkinData->EnableSkinEffects(); }
  // Sets the cursor from the skin when UseSkinCursor is on.
  void ApplySkinCursor();

  int FSkinIndex = -1;
  int FSkinCursorIndex = -1;
  std::optional<gfx::Region> FSkinRegion;

 private:
  bool FInPaintMessage = false;
  // Kept between paints so that a repaint allocates nothing.
  gfx::Bitmap FPaintBuffer;
  TskSkinData* FSkinData = nullptr;
  std::string FAreaName;
  std::string FSkinDataName;
  bool FDrawDefault = true;
  bool FAlphaBlend = false;
  std::uint8_t FAlphaBlendValue = 200;
  bool FUseSkinCursor = false;
};

// Everything one composition of a section image is made from.
struct SkinComposition {
  TRect Source;
  int Width = 0;
  int Height = 0;
  const gfx::Bitmap* Picture = nullptr;
  const gfx::Pixel* Pixels = nullptr;
  int Mode = 0;
  bool Stretch = false;
  TPoint LT, RT, LB, RB, NewLT, NewRT, NewLB, NewRB;
  TRect Client, NewClient;
  friend bool operator==(const SkinComposition&, const SkinComposition&) = default;
};

class TskSkinCustomControl : public TskSkinControl {
 public:
  using inherited = TskSkinControl;
  static void DefineProperties(ui::TPropertyList<TskSkinCustomControl>& list);

  explicit TskSkinCustomControl(core::TComponent* owner);
  ~TskSkinCustomControl() override;

  bool UseSkinFont() const { return FUseSkinFont; }
  void SetUseSkinFont(bool value);
  int DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(int value);
  int DefaultHeight() const { return FDefaultHeight; }
  void SetDefaultHeight(int value);
  ui::TFont* DefaultFont() { return &FDefaultFont; }
  const ui::TFont* DefaultFont() const { return &FDefaultFont; }
  void SetDefaultFont(const ui::TFont& font);

  int ResizeMode() const { return FResizeMode; }
  const TRect& SkinRect() const { return FSkinRect; }
  const TRect& ClRect() const { return FClRect; }
  const TRect& NewClRect() const { return FNewClRect; }
  const gfx::Bitmap* Picture() const { return FPicture; }
  const gfx::Bitmap* MaskPicture() const { return FMaskPicture; }

  void FindSkinSection() override;
  void ApplySkinChange() override;
  void PrepareSkinChange() override;
  // Adjusts a requested size to the section (see the source), and moves
  // the corner points and client rectangle to it.
  virtual void CalcSkinSize(int& width, int& height);
  // Sets or removes the window region built from the mask picture.
  virtual void UpdateWindowRegion();
  // A rectangle of the section (its coordinates) where it lands on the
  // image at the control's size.
  TRect MoveSkinRect(const TRect& r) const;
  // With a section, the size adapts to it (CalcSkinSize) and the region
  // and look follow.
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  // Called when DefaultFont is assigned or changes; empty here.
  virtual void DefaultFontChanged() {}
  // Fills the client area with the button face.
  void DrawDefaultImage(gfx::Bitmap& buffer) override;
  // The section's image at the control's size from SkinRect.
  void DrawSkinImage(gfx::Bitmap& buffer) override;
  // The same composition from another rectangle of the section's picture
  // (an active, pressed or disabled look of the same cut).
  void ComposeSkinImage(gfx::Bitmap& buffer, const TRect& sourceRect, int width, int height) const;
  void ComposeSkinImageNow(gfx::Bitmap& buffer, const TRect& sourceRect, int width, int height) const;
  // The skin's font of a section (name, height, style) with DefaultFont's
  // charset (or the skin texts'), or DefaultFont when UseSkinFont is off.
  gfx::Font SectionFont(const std::string& name, int height, gfx::FontStyle style) const;
  // DefaultFont with the skin texts' charset.
  gfx::Font PlainFont() const;

  TPoint FLTPoint;
  TPoint FRTPoint;
  TPoint FLBPoint;
  TPoint FRBPoint;
  TRect FSkinRect;
  TRect FClRect;
  TPoint FNewLTPoint;
  TPoint FNewRTPoint;
  TPoint FNewLBPoint;
  TPoint FNewRBPoint;
  TRect FNewClRect;
  const gfx::Bitmap* FPicture = nullptr;
  const gfx::Bitmap* FMaskPicture = nullptr;
  int FResizeMode = 0;
  bool FStretchEffect = false;

 private:
  // The last compositions, by everything they are made from, so that a
  // repaint of an unchanged look is one copy. The skin's pictures are only
  // read through Picture, and a skin change empties the cache.
  static constexpr std::size_t CachedCompositions = 4;
  mutable std::array<std::pair<SkinComposition, gfx::Bitmap>, CachedCompositions> FComposed;
  mutable std::size_t FNextComposed = 0;

  bool FUseSkinFont = true;
  int FDefaultWidth = 0;
  int FDefaultHeight = 0;
  ui::TFont FDefaultFont;
};

}  // namespace skin
