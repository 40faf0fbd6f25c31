#pragma once

// Window-level sections of the skin description: [FORMINFO], [POPUPWINDOW],
// [HINTWINDOW], [SKINAREAS] and the skin objects of [SKINOBJECTS] (caption,
// caption buttons, menu items ...), each object reading its own section.
//
// Object classes (the kind word of [SKINOBJECTS] in quotes):
//
//   TskDataSkinObject
//   ├── TskDataSkinButton                 "button"
//   │   └── TskDataSkinStdButton          "stdbutton"
//   │       └── TskDataSkinMainMenuBarButton   "mainmenubarbutton"
//   ├── TskDataSkinMainMenuItem           "mainmenuitem"
//   │   └── TskDataSkinMainMenuBarItem    "mainmenubaritem"
//   ├── TskDataSkinMenuItem               "menuitem"
//   ├── TskDataSkinCaption                "caption"
//   ├── TskDataSkinTrackBar               "trackbar"
//   ├── TskDataSkinGauge                  "gauge"
//   ├── TskDataSkinFrameGaugeObject       "framegauge"
//   ├── TskDataSkinFrameRegulatorObject   "frameregulator"
//   ├── TskDataSkinLabel                  "label"
//   ├── TskDataSkinBitLabel               "bitlabel"
//   ├── TskDataSkinSwitch                 "switch"
//   ├── TskDataSkinAnimate                "animate"
//   └── TskDataUserObject                 "userobject"
//
// Every field is named after its key and starts with the value an absent
// key gives, so a freshly made object equals one read from an empty
// section.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"
#include "skin/data/SkinUtils.Readers.h"

namespace core {
class TMemIniFile;
}

namespace skin {

// [FORMINFO]: how the frame picture is cut and where the client area, the
// caption and its buttons lie in it. The skin data component holds these
// values as its own fields.
class TskDataSkinFormInfo {
 public:
  static constexpr std::string_view Section = "FORMINFO";

  // Reads every key, then adjusts (see the .cpp): with a mask (maskName not
  // empty) the mask area grows to cover the client rectangle and null
  // hit-test points take the corner points; the corner points are pulled
  // inside the client rectangle.
  void LoadFromIni(const core::TMemIniFile& ini, std::string_view maskName);
  // Erases [FORMINFO] and writes every key in reading order.
  void SaveToIni(core::TMemIniFile& ini) const;

  gfx::Point LeftTopPoint;
  gfx::Point RightTopPoint;
  gfx::Point LeftBottomPoint;
  gfx::Point RightBottomPoint;
  gfx::Rect ClientRect;
  int BGPictureIndex = -1;
  int MDIBGPictureIndex = -1;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool TopStretch = false;
  bool BottomStretch = false;
  gfx::Rect ButtonsRect;
  gfx::Rect CaptionRect;
  int ButtonsOffset = 0;
  bool ButtonsInLeft = false;
  gfx::Rect MaskRectArea;
  gfx::Point HitTestLeftTopPoint;
  gfx::Point HitTestRightTopPoint;
  gfx::Point HitTestLeftBottomPoint;
  gfx::Point HitTestRightBottomPoint;
  gfx::Point RollUpLeftPoint;
  gfx::Point RollUpRightPoint;
  gfx::Rect MainMenuRect;
  gfx::Rect IconRect;
  bool MainMenuPopupUp = false;
  int BorderWidth = 0;
  int CursorIndex = -1;
  bool AutoRenderingInactiveImage = false;
  TskInactiveEffect InactiveEffect = TskInactiveEffect::ieBrightness;

 private:
  void Adjust(std::string_view maskName);
};

// [POPUPWINDOW]: the skinned popup menu window.
class TskDataSkinPopupWindow {
 public:
  static constexpr std::string_view Section = "POPUPWINDOW";

  void LoadFromIni(const core::TMemIniFile& ini);
  void SaveToIni(core::TMemIniFile& ini) const;

  int WindowPictureIndex = -1;
  int MaskPictureIndex = -1;
  gfx::Point LeftTopPoint;
  gfx::Point RightTopPoint;
  gfx::Point LeftBottomPoint;
  gfx::Point RightBottomPoint;
  int CursorIndex = -1;
  gfx::Rect ItemsRect;
  gfx::Color ScrollMarkerColor = 0;
  gfx::Color ScrollMarkerActiveColor = 0;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool TopStretch = false;
  bool BottomStretch = false;
};

// [HINTWINDOW]: the skinned hint window. A new object has font height 12;
// reading a section without "fontheight" gives 14, as for every skin font.
class TskDataSkinHintWindow {
 public:
  static constexpr std::string_view Section = "HINTWINDOW";

  void LoadFromIni(const core::TMemIniFile& ini);
  void SaveToIni(core::TMemIniFile& ini) const;

  int WindowPictureIndex = -1;
  int MaskPictureIndex = -1;
  gfx::Point LeftTopPoint;
  gfx::Point RightTopPoint;
  gfx::Point LeftBottomPoint;
  gfx::Point RightBottomPoint;
  gfx::Rect ClientRect;
  std::string FontName{"宋体"};
  int FontHeight = 12;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  bool LeftStretch = false;
  bool RightStretch = false;
  bool TopStretch = false;
  bool BottomStretch = false;
};

// One [SKINAREAS] entry: "name:left,top,right,bottom".
struct TskDataSkinArea {
  std::string SectionName;
  gfx::Rect AreaRect;

  friend bool operator==(const TskDataSkinArea&, const TskDataSkinArea&) = default;
};

inline constexpr std::string_view SkinAreasSection = "SKINAREAS";
inline constexpr std::string_view SkinObjectsSection = "SKINOBJECTS";

// Reads [SKINAREAS] and appends its entries in index order. An entry without
// ":" has no rectangle and is skipped; a malformed rectangle raises
// core::EConvertError.
void LoadSkinAreas(const core::TMemIniFile& ini, std::vector<TskDataSkinArea>& areas);
// Replaces [SKINAREAS] by the areas.
void SaveSkinAreas(core::TMemIniFile& ini, const std::vector<TskDataSkinArea>& areas);

// ---------------------------------------------------------------------------
// Skin objects

class TskDataSkinObject {
 public:
  explicit TskDataSkinObject(std::string sectionName) : SectionName(std::move(sectionName)) {}
  virtual ~TskDataSkinObject() = default;

  // Reads the section named SectionName: the parent class's keys first, then
  // the class's own. A missing section leaves every key at its default; a
  // malformed rectangle or point raises core::EConvertError.
  virtual void LoadFromIni(const core::TMemIniFile& ini);
  // Erases the section and writes every key back in reading order, so that
  // loading the result gives an equal object.
  virtual void SaveToIni(core::TMemIniFile& ini) const;
  // The [SKINOBJECTS] kind that makes this class; empty for the base.
  virtual std::string_view KindWord() const { return {}; }

  std::string SectionName;
  std::string Hint;
  bool RollUp = false;
  int ActivePictureIndex = -1;
  bool SkinRectInAPicture = false;
  int CursorIndex = -1;
  gfx::Rect SkinRect;
  gfx::Rect ActiveSkinRect;
  gfx::Rect InactiveSkinRect;
  bool Morphing = false;
  TskMorphKind MorphKind = TskMorphKind::mkDefault;
};

class TskDataSkinButton : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "button"; }

  gfx::Rect DownRect;
  // Key "disableskinrsect" (so spelled in skins).
  gfx::Rect DisableSkinRect;
  int GroupIndex = -1;
};

class TskDataSkinStdButton : public TskDataSkinButton {
 public:
  using TskDataSkinButton::TskDataSkinButton;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "stdbutton"; }

  TskStdCommand Command = TskStdCommand::cmDefault;
  // The looks while the command would restore the window (the maximize
  // button of a maximized window).
  gfx::Rect RestoreRect;
  gfx::Rect RestoreActiveRect;
  gfx::Rect RestoreDownRect;
  gfx::Rect RestoreInactiveRect;
};

class TskDataSkinMainMenuBarButton : public TskDataSkinStdButton {
 public:
  using TskDataSkinStdButton::TskDataSkinStdButton;
  std::string_view KindWord() const override { return "mainmenubarbutton"; }
};

class TskDataSkinCaption : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "caption"; }

  bool DefaultCaption = false;
  // Relative to SkinRect.
  gfx::Rect TextRect;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color ActiveFontColor = 0;
  TAlignment Alignment = TAlignment::taCenter;
  bool Shadow = false;
  gfx::Color ShadowColor = 0;
  bool Light = false;
  gfx::Color LightColor = 0;
  gfx::Color ActiveLightColor = 0;
  gfx::Color ActiveShadowColor = 0;
  gfx::Rect FrameRect;
  gfx::Rect ActiveFrameRect;
  gfx::Rect FrameTextRect;
  int FrameLeftOffset = 0;
  int FrameRightOffset = 0;
};

class TskDataSkinMenuItem : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "menuitem"; }

  int ItemLeftOffset = 0;
  int ItemRightOffset = 0;
  gfx::Rect DividerRect;
  int DividerLeftOffset = 0;
  int DividerRightOffset = 0;
  gfx::Rect TextRect;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color ActiveFontColor = 0;
  gfx::Color UnEnabledFontColor = 0;
  bool StretchEffect = false;
  bool DividerStretchEffect = false;
};

class TskDataSkinMainMenuItem : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "mainmenuitem"; }

  int ItemLeftOffset = 0;
  int ItemRightOffset = 0;
  gfx::Rect DownRect;
  gfx::Rect TextRect;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color ActiveFontColor = 0;
  gfx::Color DownFontColor = 0;
  gfx::Color UnEnabledFontColor = 0;
  bool StretchEffect = false;
};

class TskDataSkinMainMenuBarItem : public TskDataSkinMainMenuItem {
 public:
  using TskDataSkinMainMenuItem::TskDataSkinMainMenuItem;
  std::string_view KindWord() const override { return "mainmenubaritem"; }
};

class TskDataSkinTrackBar : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "trackbar"; }

  gfx::Rect ButtonRect;
  gfx::Rect ActiveButtonRect;
  gfx::Point BeginPoint;
  gfx::Point EndPoint;
  int MinValue = 0;
  int MaxValue = 0;
  bool MouseDownChangeValue = false;
  bool ButtonTransparent = false;
  gfx::Color ButtonTransparentColor = 0;
};

class TskDataSkinGauge : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "gauge"; }

  int MinValue = 0;
  int MaxValue = 0;
  TskGaugeKind Kind = TskGaugeKind::gkHorizontal;
};

class TskDataSkinFrameGaugeObject : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "framegauge"; }

  int MinValue = 0;
  int MaxValue = 0;
  int CountFrames = 0;
  TskFramesPlacement FramesPlacement = TskFramesPlacement::fpHorizontal;
};

class TskDataSkinFrameRegulatorObject : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "frameregulator"; }

  int MinValue = 0;
  int MaxValue = 0;
  int CountFrames = 0;
  TskFramesPlacement FramesPlacement = TskFramesPlacement::fpHorizontal;
  TskRegulatorKind Kind = TskRegulatorKind::rkRound;
};

class TskDataSkinLabel : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "label"; }

  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color ActiveFontColor = 0;
  TAlignment Alignment = TAlignment::taCenter;
  std::string TextValue;
};

class TskDataSkinBitLabel : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "bitlabel"; }

  std::string TextValue;
  int SymbolWidth = 0;
  int SymbolHeight = 0;
  std::vector<std::string> Symbols;
  bool Transparent = false;
  gfx::Color TransparentColor = 16711935;  // magenta
};

class TskDataSkinSwitch : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  std::string_view KindWord() const override { return "switch"; }
};

// An animation never morphs: Morphing is cleared after every read.
class TskDataSkinAnimate : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "animate"; }

  int CountFrames = 1;
  bool Cycle = false;
  bool ButtonStyle = false;
  int TimerInterval = 50;
  TskStdCommand Command = TskStdCommand::cmDefault;
  gfx::Rect DownSkinRect;
};

// A free area of the frame for the program's own drawing. It reads only
// "rollup", "skinrect" and "cursorindex"; the other inherited fields keep
// their defaults.
class TskDataUserObject : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "userobject"; }
};

using TskDataSkinObjectList = std::vector<std::unique_ptr<TskDataSkinObject>>;

// The object class of a [SKINOBJECTS] kind (exact, lower case), named
// sectionName; nullptr for a kind outside the table.
std::unique_ptr<TskDataSkinObject> CreateSkinObject(std::string_view kind, std::string sectionName);

// Every kind word of the object table, in table order.
const std::vector<std::string_view>& SkinObjectKinds();

// Reads [SKINOBJECTS]: for each entry "name:kind" in index order, creates
// the object of the kind, appends it and lets it read its section. Entries
// of an unknown kind (or without ":") are skipped. A malformed value raises
// core::EConvertError; the objects appended until then stay in the list.
void LoadSkinObjects(const core::TMemIniFile& ini, TskDataSkinObjectList& objects);
// Replaces [SKINOBJECTS] by the list and writes every object's section.
void SaveSkinObjects(core::TMemIniFile& ini, const TskDataSkinObjectList& objects);

}  // namespace skin
