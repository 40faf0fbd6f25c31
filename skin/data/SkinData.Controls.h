#pragma once

// Control sections of the skin description: [SKINCONTROLS] lists them as
// "name:kind", and each section tells how one kind of control is drawn. A
// skinned control finds its section by name through the skin data
// component and checks the class before using it.
//
// Control classes (the kind word of [SKINCONTROLS] in quotes):
//
//   TskDataSkinControl
//   ├── TskDataSkinCustomControl
//   │   ├── TskDataSkinButtonControl       "button"
//   │   │   └── TskDataSkinMenuButtonControl   "menubutton"
//   │   ├── TskDataSkinCheckRadioControl   "checkradio"
//   │   ├── TskDataSkinPanelControl        "panel"
//   │   ├── TskDataSkinExPanelControl      "expanel"
//   │   ├── TskDataSkinEditControl         "edit"
//   │   │   └── TskDataSkinMemoControl     "memo"
//   │   ├── TskDataSkinSpinEditControl     "spinedit"
//   │   ├── TskDataSkinUpDownControl       "updown"
//   │   ├── TskDataSkinScrollBarControl    "scrollbar"
//   │   ├── TskDataSkinListBox             "listbox"
//   │   │   └── TskDataSkinCheckListBox    "checklistbox"
//   │   ├── TskDataSkinComboBox            "combobox"
//   │   ├── TskDataSkinLabelControl        "label"
//   │   ├── TskDataSkinBitLabelControl     "bitlabel"
//   │   ├── TskDataSkinGaugeControl        "gauge"
//   │   ├── TskDataSkinTrackBarControl     "trackbar"
//   │   ├── TskDataSkinSplitterControl     "splitter"
//   │   ├── TskDataSkinScrollBoxControl    "scrollbox"
//   │   └── TskDataSkinControlBar          "controlbar"
//   ├── TskDataSkinStdLabelControl         "stdlabel"
//   ├── TskDataSkinTabControl              "tab"
//   ├── TskDataSkinGridControl             "grid"
//   ├── TskDataSkinMainMenuBar             "mainmenubar"
//   ├── TskDataSkinTreeView                "treeview"
//   ├── TskDataSkinListView                "listview"
//   ├── TskDataSkinRichEdit                "richedit"
//   ├── TskDataSkinSlider                  "slider"
//   ├── TskDataSkinBevel                   "bevel"
//   └── TskDataSkinFrameControl
//       ├── TskDataSkinAnimateControl      "animate"
//       ├── TskDataSkinSwitchControl       "switch"
//       ├── TskDataSkinFrameGauge          "framegauge"
//       └── TskDataSkinFrameRegulator      "frameregulator"
//
// Fields are named after their keys and start with the value an absent key
// gives. Rectangles are in the coordinates of the section's picture
// (PictureIndex) unless marked relative: then they, like the corner points,
// are relative to the top-left corner of SkinRect.

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

class TskDataSkinControl {
 public:
  explicit TskDataSkinControl(std::string sectionName) : SectionName(std::move(sectionName)) {}
  virtual ~TskDataSkinControl() = default;

  // Reads the section named SectionName: the parent class's keys first, then
  // the class's own. A missing section leaves every key at its default; a
  // malformed rectangle or point raises core::EConvertError.
  virtual void LoadFromIni(const core::TMemIniFile& ini);
  // Erases the section and writes every key back in reading order, so that
  // loading the result gives an equal object.
  virtual void SaveToIni(core::TMemIniFile& ini) const;
  // The [SKINCONTROLS] kind that makes this class; empty for the classes
  // that only serve as bases.
  virtual std::string_view KindWord() const { return {}; }

  std::string SectionName;
  int PictureIndex = -1;
  // Active picture with the control's shape mask.
  int MaskPictureIndex = -1;
  int CursorIndex = -1;
  // The normal image of the control.
  gfx::Rect SkinRect;
};

// A control image cut into corners, edges and centre by four points and a
// client rectangle (all relative), composed at any size.
class TskDataSkinCustomControl : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;

  gfx::Point LeftTopPoint;
  gfx::Point RightTopPoint;
  gfx::Point LeftBottomPoint;
  gfx::Point RightBottomPoint;
  gfx::Rect ClientRect;
  bool StretchEffect = false;
};

class TskDataSkinButtonControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "button"; }

  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color ActiveFontColor = 0;
  gfx::Color DisabledFontColor = 0;
  gfx::Color DownFontColor = 0;
  bool Morphing = false;
  TskMorphKind MorphKind = TskMorphKind::mkDefault;
  gfx::Rect ActiveSkinRect;
  gfx::Rect DownSkinRect;
  gfx::Rect DisabledSkinRect;
  gfx::Rect AnimateSkinRect;
  int FrameCount = 0;
  int AnimateInterval = 25;
};

class TskDataSkinMenuButtonControl : public TskDataSkinButtonControl {
 public:
  using TskDataSkinButtonControl::TskDataSkinButtonControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "menubutton"; }

  gfx::Rect TrackButtonRect;
};

class TskDataSkinCheckRadioControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "checkradio"; }

  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color ActiveFontColor = 0;
  gfx::Color UnEnabledFontColor = 0;
  gfx::Color FrameFontColor = 0;
  bool Morphing = false;
  TskMorphKind MorphKind = TskMorphKind::mkDefault;
  gfx::Rect ActiveSkinRect;
  // Relative: where the check mark and the text go.
  gfx::Rect CheckImageArea;
  gfx::Rect TextArea;
  gfx::Rect CheckImageRect;
  gfx::Rect UnCheckImageRect;
  gfx::Rect ActiveCheckImageRect;
  gfx::Rect ActiveUnCheckImageRect;
  gfx::Rect UnEnabledCheckImageRect;
  gfx::Rect UnEnabledUnCheckImageRect;
};

class TskDataSkinPanelControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "panel"; }

  int BGPictureIndex = -1;
  // Relative.
  gfx::Rect CaptionRect;
  TAlignment Alignment = TAlignment::taCenter;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Rect CheckImageRect;
  gfx::Rect UnCheckImageRect;
  gfx::Rect MarkFrameRect;
  gfx::Rect FrameRect;
  gfx::Rect FrameTextRect;
  int FrameLeftOffset = 0;
  int FrameRightOffset = 0;
};

class TskDataSkinExPanelControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "expanel"; }

  gfx::Rect RollHSkinRect;
  gfx::Rect RollVSkinRect;
  int RollLeftOffset = 0;
  int RollRightOffset = 0;
  int RollTopOffset = 0;
  int RollBottomOffset = 0;
  gfx::Rect RollVCaptionRect;
  gfx::Rect RollHCaptionRect;
  gfx::Rect CloseButtonRect;
  gfx::Rect CloseButtonActiveRect;
  gfx::Rect CloseButtonDownRect;
  gfx::Rect HRollButtonRect;
  gfx::Rect HRollButtonActiveRect;
  gfx::Rect HRollButtonDownRect;
  gfx::Rect HRestoreButtonRect;
  gfx::Rect HRestoreButtonActiveRect;
  gfx::Rect HRestoreButtonDownRect;
  gfx::Rect VRollButtonRect;
  gfx::Rect VRollButtonActiveRect;
  gfx::Rect VRollButtonDownRect;
  gfx::Rect VRestoreButtonRect;
  gfx::Rect VRestoreButtonActiveRect;
  gfx::Rect VRestoreButtonDownRect;
  gfx::Rect CaptionRect;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
};

class TskDataSkinEditControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "edit"; }

  gfx::Rect ActiveSkinRect;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color DisabledFontColor = 0;
  gfx::Color ActiveFontColor = 0;
  // Relative.
  gfx::Rect ButtonRect;
  gfx::Rect ActiveButtonRect;
  gfx::Rect DownButtonRect;
  gfx::Rect UnEnabledButtonRect;
};

class TskDataSkinMemoControl : public TskDataSkinEditControl {
 public:
  using TskDataSkinEditControl::TskDataSkinEditControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "memo"; }

  gfx::Color BGColor = 0;
  gfx::Color ActiveBGColor = 0;
};

class TskDataSkinSpinEditControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "spinedit"; }

  gfx::Rect ActiveSkinRect;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color ActiveFontColor = 0;
  gfx::Color DisabledFontColor = 0;
  gfx::Rect UpButtonRect;
  gfx::Rect ActiveUpButtonRect;
  gfx::Rect DownUpButtonRect;
  gfx::Rect DownButtonRect;
  gfx::Rect ActiveDownButtonRect;
  gfx::Rect DownDownButtonRect;
};

class TskDataSkinUpDownControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "updown"; }

  gfx::Rect UpButtonRect;
  gfx::Rect ActiveUpButtonRect;
  gfx::Rect DownUpButtonRect;
  gfx::Rect DownButtonRect;
  gfx::Rect ActiveDownButtonRect;
  gfx::Rect DownDownButtonRect;
};

class TskDataSkinScrollBarControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "scrollbar"; }

  // Relative: the track, the up button and the down button. In the stored
  // skin the "up" button lies at the bottom (right) end, the "down" button at
  // the top (left) end.
  gfx::Rect TrackArea;
  gfx::Rect UpButtonRect;
  gfx::Rect ActiveUpButtonRect;
  gfx::Rect DownUpButtonRect;
  gfx::Rect DownButtonRect;
  gfx::Rect ActiveDownButtonRect;
  gfx::Rect DownDownButtonRect;
  gfx::Rect ThumbRect;
  gfx::Rect ActiveThumbRect;
  gfx::Rect DownThumbRect;
  int ThumbOffset1 = 0;
  int ThumbOffset2 = 0;
  bool ThumbTransparent = false;
  gfx::Color ThumbTransparentColor = 0;
  gfx::Rect GlyphRect;
  gfx::Rect ActiveGlyphRect;
  gfx::Rect DownGlyphRect;
};

class TskDataSkinListBox : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "listbox"; }

  gfx::Rect ItemRect;
  gfx::Rect ActiveItemRect;
  gfx::Rect FocusItemRect;
  int ItemLeftOffset = 0;
  int ItemRightOffset = 0;
  gfx::Rect ItemTextRect;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color ActiveFontColor = 0;
  gfx::Color FocusFontColor = 0;
  gfx::Rect CaptionRect;
  std::string CaptionFontName{"宋体"};
  int CaptionFontHeight = 14;
  gfx::FontStyle CaptionFontStyle = gfx::FontStyle::None;
  gfx::Color CaptionFontColor = 0;
  gfx::Rect UpButtonRect;
  gfx::Rect ActiveUpButtonRect;
  gfx::Rect DownUpButtonRect;
  gfx::Rect DownButtonRect;
  gfx::Rect ActiveDownButtonRect;
  gfx::Rect DownDownButtonRect;
  gfx::Rect CheckButtonRect;
  gfx::Rect ActiveCheckButtonRect;
  gfx::Rect DownCheckButtonRect;
  // Names of the scroll bar sections the list uses.
  std::string VScrollBarName{"vscrollbar"};
  std::string HScrollBarName{"hscrollbar"};
  std::string BothHScrollBarName{"bothhscrollbar"};
};

class TskDataSkinCheckListBox : public TskDataSkinListBox {
 public:
  using TskDataSkinListBox::TskDataSkinListBox;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "checklistbox"; }

  gfx::Rect CheckImageRect;
  gfx::Rect ItemCheckRect;
  gfx::Rect UnCheckImageRect;
};

class TskDataSkinComboBox : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "combobox"; }

  gfx::Rect ItemRect;
  gfx::Rect FocusItemRect;
  int ItemLeftOffset = 0;
  int ItemRightOffset = 0;
  gfx::Rect ItemTextRect;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color FocusFontColor = 0;
  // Name of the list box section of the drop-down list.
  std::string ListBoxName;
  gfx::Rect ButtonRect;
  gfx::Rect ActiveButtonRect;
  gfx::Rect DownButtonRect;
  gfx::Rect UnEnabledButtonRect;
  bool ItemStretchEffect = false;
  bool FocusItemStretchEffect = false;
};

class TskDataSkinLabelControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "label"; }

  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
};

class TskDataSkinBitLabelControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "bitlabel"; }

  gfx::Rect SkinTextRect;
  int SymbolWidth = 0;
  int SymbolHeight = 0;
  // The characters of the picture, row by row.
  std::vector<std::string> Symbols;
};

class TskDataSkinGaugeControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "gauge"; }

  gfx::Rect ProgressArea;
  gfx::Rect ProgressRect;
  int BeginOffset = 0;
  int EndOffset = 0;
  bool Vertical = false;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  bool ProgressTransparent = false;
  gfx::Color ProgressTransparentColor = 0;
  bool ProgressStretch = false;
};

class TskDataSkinTrackBarControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "trackbar"; }

  gfx::Rect TrackArea;
  gfx::Rect ButtonRect;
  gfx::Rect ActiveButtonRect;
  bool Vertical = false;
  bool ButtonTransparent = false;
  gfx::Color ButtonTransparentColor = 0;
};

class TskDataSkinSplitterControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  std::string_view KindWord() const override { return "splitter"; }
};

class TskDataSkinScrollBoxControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "scrollbox"; }

  int BGPictureIndex = -1;
};

class TskDataSkinControlBar : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "controlbar"; }

  gfx::Rect ItemRect;
  int BGPictureIndex = -1;
};

class TskDataSkinStdLabelControl : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "stdlabel"; }

  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  // Blue by default.
  gfx::Color ActiveFontColor = 16711680;
};

class TskDataSkinTabControl : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "tab"; }

  gfx::Rect TabRect;
  gfx::Rect ActiveTabRect;
  gfx::Rect FocusTabRect;
  gfx::Rect MouseInTabRect;
  // Relative, as are the corner points below; the tab control reads its own
  // cut instead of inheriting TskDataSkinCustomControl's.
  gfx::Rect ClientRect;
  int BGPictureIndex = -1;
  gfx::Point LeftTopPoint;
  gfx::Point RightTopPoint;
  gfx::Point LeftBottomPoint;
  gfx::Point RightBottomPoint;
  int TabLeftOffset = 0;
  int TabRightOffset = 0;
  gfx::Rect TabsBGRect;
  bool TabStretchEffect = false;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color ActiveFontColor = 0;
  gfx::Color FocusFontColor = 0;
  gfx::Color MouseInFontColor = 0;
  // Name of the up-down section used to scroll the tabs; empty for none.
  std::string UpDown;
};

class TskDataSkinGridControl : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "grid"; }

  gfx::Rect FixedCellRect;
  gfx::Rect SelectCellRect;
  gfx::Rect FocusCellRect;
  int FixedCellLeftOffset = 0;
  int FixedCellRightOffset = 0;
  gfx::Rect FixedCellTextRect;
  int CellLeftOffset = 0;
  int CellRightOffset = 0;
  gfx::Rect CellTextRect;
  gfx::Color LinesColor = 0;
  gfx::Color BGColor = 0;
  int BGPictureIndex = -1;
  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color SelectFontColor = 0;
  gfx::Color FocusFontColor = 0;
  std::string FixedFontName{"宋体"};
  int FixedFontHeight = 14;
  gfx::FontStyle FixedFontStyle = gfx::FontStyle::None;
  gfx::Color FixedFontColor = 0;
  bool CellStretchEffect = false;
  bool FixedCellStretchEffect = false;
};

class TskDataSkinMainMenuBar : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "mainmenubar"; }

  gfx::Rect ItemsRect;
  // Names of skin object sections ([SKINOBJECTS]).
  std::string MenuBarItem;
  std::string CloseButton;
  std::string MinButton;
  std::string MaxButton;
  std::string SysMenuButton;
  gfx::Color TrackMarkColor = 0;
  gfx::Color TrackMarkActiveColor = 0;
};

class TskDataSkinTreeView : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "treeview"; }

  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color BGColor = 0;
};

class TskDataSkinListView : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "listview"; }

  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color BGColor = 0;
};

class TskDataSkinRichEdit : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "richedit"; }

  std::string FontName{"宋体"};
  int FontHeight = 14;
  gfx::FontStyle FontStyle = gfx::FontStyle::None;
  gfx::Color FontColor = 0;
  gfx::Color BGColor = 0;
};

class TskDataSkinSlider : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "slider"; }

  gfx::Color BGColor = 0;
  gfx::Rect HRulerRect;
  gfx::Rect HThumbRect;
  gfx::Rect VRulerRect;
  gfx::Rect VThumbRect;
  int EdgeSize = 0;
  gfx::Color PointsColor = 0;
};

class TskDataSkinBevel : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "bevel"; }

  gfx::Color LightColor = 0;
  gfx::Color DarkColor = 0;
};

class TskDataSkinFrameControl : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;

  // The frames lie side by side (fpHorizontal) or one above the other.
  int FramesCount = 1;
  TskFramesPlacement FramesPlacement = TskFramesPlacement::fpHorizontal;
};

class TskDataSkinAnimateControl : public TskDataSkinFrameControl {
 public:
  using TskDataSkinFrameControl::TskDataSkinFrameControl;
  std::string_view KindWord() const override { return "animate"; }
};

class TskDataSkinSwitchControl : public TskDataSkinFrameControl {
 public:
  using TskDataSkinFrameControl::TskDataSkinFrameControl;
  std::string_view KindWord() const override { return "switch"; }
};

class TskDataSkinFrameGauge : public TskDataSkinFrameControl {
 public:
  using TskDataSkinFrameControl::TskDataSkinFrameControl;
  std::string_view KindWord() const override { return "framegauge"; }
};

class TskDataSkinFrameRegulator : public TskDataSkinFrameControl {
 public:
  using TskDataSkinFrameControl::TskDataSkinFrameControl;
  void LoadFromIni(const core::TMemIniFile& ini) override;
  void SaveToIni(core::TMemIniFile& ini) const override;
  std::string_view KindWord() const override { return "frameregulator"; }

  TskRegulatorKind Kind = TskRegulatorKind::rkRound;
};

using TskDataSkinControlList = std::vector<std::unique_ptr<TskDataSkinControl>>;

inline constexpr std::string_view SkinControlsSection = "SKINCONTROLS";

// The control class of a [SKINCONTROLS] kind (exact, lower case), named
// sectionName; nullptr for a kind outside the table (such as "header").
std::unique_ptr<TskDataSkinControl> CreateSkinControl(std::string_view kind, std::string sectionName);

// Every kind word of the control table, in table order.
const std::vector<std::string_view>& SkinControlKinds();

// Reads [SKINCONTROLS]: for each entry "name:kind" in index order, creates
// the control section of the kind, appends it and lets it read its section.
// Entries of an unknown kind (or without ":") are skipped. A malformed value
// raises core::EConvertError; the sections appended until then stay in the
// list.
void LoadSkinControls(const core::TMemIniFile& ini, TskDataSkinControlList& controls);
// Replaces [SKINCONTROLS] by the list and writes every control's section.
void SaveSkinControls(core::TMemIniFile& ini, const TskDataSkinControlList& controls);

}  // namespace skin
