#pragma once

// Where everything lies in the stored skin's pictures. The description and
// the pictures are both made from these numbers, so a rectangle named in
// the description always shows the image drawn for it.
//
// Picture coordinates unless a name says Relative; rectangles exclude their
// right and bottom edges.

#include "gfx/Geometry.h"

namespace skingen::layout {

using gfx::Point;
using gfx::Rect;

// Active picture positions, in [PICTURES] order.
inline constexpr int ActivePictureIndex = 0;   // active.BMP
inline constexpr int PopupPictureIndex = 1;    // pw.bmp
inline constexpr int MenuItemsPictureIndex = 2;  // menuitems.bmp
inline constexpr int HintPictureIndex = 3;     // hw.bmp
inline constexpr int ControlsPictureIndex = 4;   // controls.bmp
inline constexpr int GridsPictureIndex = 5;    // grids.bmp
inline constexpr int PopupMaskPictureIndex = 6;  // pwmask.bmp
inline constexpr int HintMaskPictureIndex = 7;   // hwmask.bmp

// ---------------------------------------------------------------------------
// main.bmp and mask.bmp: the window frame, 152 x 125.
//
//   0      29   53                                    152
//   +------+----+--------------------------------------+ 0
//   | sys  |cap-| caption: roll min max close          |
//   | menu |tion| (fixed right corner)                 |
//   +------+----+--------------------------------------+ 29  client top
//   |  |                                            |  |
//   |5 |          client 5,29 - 147,120             |5 |
//   |  |                                            |  |
//   +--+--------------------------------------------+--+ 120
//   +--------------------------------------------------+ 125
//
// The caption gradient runs downwards only, so the tiled top middle
// (columns 29 to 53) and every border middle are uniform along their run.
inline constexpr int FrameWidth = 152;
inline constexpr int FrameHeight = 125;
inline constexpr Point FrameLeftTop{29, 29};
inline constexpr Point FrameRightTop{53, 29};
inline constexpr Point FrameLeftBottom{6, 118};
inline constexpr Point FrameRightBottom{146, 119};
inline constexpr Rect FrameClient{5, 29, 147, 120};
inline constexpr Rect FrameMaskArea{3, 4, 149, 122};
inline constexpr Point FrameHitLeftTop{5, 6};
inline constexpr Point FrameHitRightTop{145, 5};
inline constexpr Point FrameHitLeftBottom{6, 120};
inline constexpr Point FrameHitRightBottom{146, 118};
inline constexpr Point FrameRollUpLeft{31, 14};
inline constexpr Point FrameRollUpRight{132, 16};
inline constexpr int FrameTopRadius = 6;
inline constexpr int FrameBottomRadius = 3;

// Frame objects on main.bmp.
inline constexpr Rect CaptionRect{27, 6, 56, 24};
inline constexpr Rect CaptionTextRelative{0, 0, 29, 18};
inline constexpr Rect SysMenuRect{6, 7, 23, 23};
inline constexpr Rect RollUpButtonRect{58, 4, 79, 25};
inline constexpr Rect MinimizeButtonRect{81, 4, 102, 25};
inline constexpr Rect MaximizeButtonRect{104, 4, 125, 25};
inline constexpr Rect CloseButtonRect{127, 4, 148, 25};

// ---------------------------------------------------------------------------
// active.BMP, 84 x 223: the caption buttons' looks in four columns (normal,
// pressed, hot, disabled), one button per 20 rows. Neighbouring buttons
// share a row (41, 61, 81, 101), so every look's top and bottom rows are
// the same border row.
inline constexpr int ActiveWidth = 84;
inline constexpr int ActiveHeight = 223;
inline constexpr int CaptionButtonSize = 21;
inline constexpr int LookNormalX = 0;
inline constexpr int LookDownX = 21;
inline constexpr int LookHotX = 42;
inline constexpr int LookDisabledX = 63;
inline constexpr int CloseLooksY = 0;
inline constexpr int MaximizeLooksY = 21;
inline constexpr int MinimizeLooksY = 41;
inline constexpr int RestoreLooksY = 61;
inline constexpr int RollUpLooksY = 81;
inline constexpr int RollDownLooksY = 101;

constexpr Rect CaptionLook(int lookX, int buttonY) {
  return Rect::FromSize(lookX, buttonY, CaptionButtonSize, CaptionButtonSize);
}

// The system-menu button's looks, 17 x 16.
inline constexpr Rect SysMenuNormal{1, 124, 18, 140};
inline constexpr Rect SysMenuHot{20, 124, 37, 140};
inline constexpr Rect SysMenuPressed{39, 124, 56, 140};
inline constexpr Rect SysMenuDisabled{58, 124, 75, 140};

// The menu-bar buttons, 19 x 19, normal at x 1, hot at x 21, pressed at 41.
inline constexpr int MenuBarButtonSize = 19;
inline constexpr int MenuBarMaxY = 141;
inline constexpr int MenuBarCloseY = 161;
inline constexpr int MenuBarMinY = 181;
inline constexpr int MenuBarSysMenuY = 201;
constexpr Rect MenuBarLook(int look, int y) {
  return Rect::FromSize(1 + 20 * look, y, MenuBarButtonSize, MenuBarButtonSize);
}

// ---------------------------------------------------------------------------
// pw.bmp / pwmask.bmp, 65 x 69: the popup menu window.
inline constexpr int PopupWidth = 65;
inline constexpr int PopupHeight = 69;
inline constexpr Point PopupLeftTop{24, 8};
inline constexpr Point PopupRightTop{58, 10};
inline constexpr Point PopupLeftBottom{6, 58};
inline constexpr Point PopupRightBottom{38, 60};
inline constexpr Rect PopupItems{3, 8, 62, 61};
inline constexpr int PopupRadius = 3;

// menuitems.bmp, 68 x 118 (24 bits): menu items and menu-bar items.
inline constexpr int MenuItemsWidth = 68;
inline constexpr int MenuItemsHeight = 118;
inline constexpr Rect MenuItemHot{1, 1, 64, 21};
inline constexpr Rect MenuItemNormal{1, 22, 64, 42};
inline constexpr Rect MenuItemDivider{1, 41, 64, 48};
inline constexpr Rect MenuItemTextRelative{2, 2, 60, 18};
inline constexpr int MenuItemEndWidth = 3;
inline constexpr int MenuDividerEndWidth = 3;
inline constexpr Rect MenuBarItemNormal{2, 50, 63, 70};
inline constexpr Rect MenuBarItemHot{2, 72, 63, 92};
inline constexpr Rect MenuBarItemPressed{2, 94, 63, 114};
inline constexpr Rect MenuBarItemTextRelative{5, 3, 56, 17};
inline constexpr int MenuBarItemEndWidth = 2;

// hw.bmp / hwmask.bmp, 42 x 27: the hint window.
inline constexpr int HintWidth = 42;
inline constexpr int HintHeight = 27;
inline constexpr Point HintLeftTop{13, 9};
inline constexpr Point HintRightTop{37, 10};
inline constexpr Point HintLeftBottom{3, 17};
inline constexpr Point HintRightBottom{26, 18};
inline constexpr Rect HintClient{3, 8, 40, 20};
inline constexpr int HintRadius = 3;

// grids.bmp, 72 x 21: the grid's cells.
inline constexpr int GridsWidth = 72;
inline constexpr int GridsHeight = 21;
inline constexpr Rect GridFixedCell{0, 0, 24, 21};
inline constexpr Rect GridSelectCell{24, 0, 48, 21};
inline constexpr Rect GridFocusCell{48, 0, 72, 21};
inline constexpr Rect GridCellTextRelative{3, 2, 21, 19};

// ---------------------------------------------------------------------------
// controls.bmp, 516 x 280.
inline constexpr int ControlsWidth = 516;
inline constexpr int ControlsHeight = 280;

// Push button: three looks side by side, cut 4 | middle | 6.
inline constexpr Rect ButtonNormal{0, 0, 24, 21};
inline constexpr Rect ButtonPressed{24, 0, 48, 21};
inline constexpr Rect ButtonHot{48, 0, 72, 21};
inline constexpr Point ButtonLeftTop{4, 8};
inline constexpr Point ButtonRightTop{18, 9};
inline constexpr Rect ButtonClient{2, 2, 22, 19};

// Check box: the framed looks and the two marks (13 x 13).
inline constexpr Rect CheckFrame{59, 62, 92, 81};
inline constexpr Rect CheckFrameHot{59, 82, 92, 101};
inline constexpr Point CheckLeftTop{5, 8};
inline constexpr Point CheckRightTop{27, 8};
inline constexpr Rect CheckClient{2, 2, 31, 17};
inline constexpr Rect CheckImageArea{3, 3, 16, 16};
inline constexpr Rect CheckTextArea{20, 3, 30, 16};
inline constexpr Rect CheckMarkOff{4, 77, 17, 90};
inline constexpr Rect CheckMarkOn{17, 77, 30, 90};

// Radio box marks.
inline constexpr Rect RadioMarkOff{4, 40, 17, 53};
inline constexpr Rect RadioMarkOn{17, 40, 30, 53};

// Panel roll-up markers (10 x 10).
inline constexpr Rect MarkerFrame{4, 24, 14, 34};
inline constexpr Rect RollUpMarker{16, 24, 26, 34};
inline constexpr Rect RestoreMarker{28, 24, 38, 34};

// Tabs: three-part strips, ends 3 wide; drawn as top tabs.
inline constexpr Rect TabNormal{4, 106, 63, 124};
inline constexpr Rect TabActive{4, 126, 63, 145};
inline constexpr Rect TabFocus{4, 147, 63, 166};
inline constexpr Rect TabHot{4, 167, 63, 185};
inline constexpr int TabEndWidth = 3;

// The framed box the memo and the page control share; its centre is the
// page colour and also the tab strip's background.
inline constexpr Rect FrameBox{141, 4, 200, 56};
inline constexpr Rect TabsBackground{145, 8, 196, 26};
inline constexpr Point MemoLeftTop{6, 5};
inline constexpr Point MemoRightTop{52, 6};
inline constexpr Point MemoLeftBottom{4, 46};
inline constexpr Point MemoRightBottom{53, 45};
inline constexpr Rect MemoClient{3, 3, 56, 49};
inline constexpr Point TabLeftTop{4, 4};
inline constexpr Point TabRightTop{54, 4};
inline constexpr Point TabLeftBottom{4, 47};
inline constexpr Point TabRightBottom{54, 47};
inline constexpr Rect TabClient{2, 2, 57, 50};

// Vertical scroll bar (17 wide, cut 21 | middle | 23).
inline constexpr Rect VScrollBar{224, 25, 241, 93};
inline constexpr Point VScrollLeftTop{7, 21};
inline constexpr Point VScrollLeftBottom{8, 45};
inline constexpr Rect VScrollClient{1, 18, 16, 50};
inline constexpr Rect VScrollTrack{0, 18, 17, 50};
inline constexpr Rect VScrollTopArrow{2, 2, 15, 16};     // "downbuttonrect"
inline constexpr Rect VScrollBottomArrow{2, 52, 15, 66};  // "upbuttonrect"
inline constexpr Rect VScrollTopArrowHot{244, 3, 257, 17};
inline constexpr Rect VScrollTopArrowPressed{244, 19, 257, 33};
inline constexpr Rect VScrollBottomArrowHot{244, 36, 257, 50};
inline constexpr Rect VScrollBottomArrowPressed{244, 52, 257, 66};
inline constexpr Rect VThumb{226, 3, 241, 23};
inline constexpr Rect VThumbHot{244, 73, 259, 93};
inline constexpr Rect VThumbPressed{261, 73, 276, 93};
inline constexpr Rect VThumbGlyph{281, 78, 288, 88};
inline constexpr int VThumbEnd = 4;

// Horizontal scroll bar with the corner box of two bars (cut 20 | 24 | 41).
inline constexpr Rect BothHScrollBar{3, 222, 88, 239};
inline constexpr Point BothHLeftTop{20, 8};
inline constexpr Point BothHRightTop{44, 9};
inline constexpr Rect BothHClient{18, 1, 50, 16};
inline constexpr Rect BothHTrack{18, 1, 50, 16};
inline constexpr Rect BothHLeftArrow{2, 2, 16, 15};    // "downbuttonrect"
inline constexpr Rect BothHRightArrow{52, 2, 66, 15};  // "upbuttonrect"
inline constexpr Rect HLeftArrowHot{153, 149, 167, 161};
inline constexpr Rect HLeftArrowPressed{169, 149, 183, 162};
inline constexpr Rect HRightArrowHot{186, 149, 200, 162};
inline constexpr Rect HRightArrowPressed{202, 149, 216, 162};
inline constexpr Rect HThumb{129, 130, 149, 145};
inline constexpr Rect HThumbHot{129, 147, 149, 162};
inline constexpr Rect HThumbPressed{129, 164, 149, 179};
inline constexpr Rect HThumbGlyph{133, 182, 143, 189};
inline constexpr int HThumbEnd = 3;

// Plain horizontal scroll bar (cut 21 | 26 | 21).
inline constexpr Rect HScrollBar{3, 190, 71, 207};
inline constexpr Point HScrollLeftTop{21, 8};
inline constexpr Point HScrollRightTop{47, 8};
inline constexpr Rect HScrollClient{17, 1, 51, 16};
inline constexpr Rect HScrollTrack{17, 0, 51, 17};
inline constexpr Rect HScrollLeftArrow{2, 2, 16, 15};
inline constexpr Rect HScrollRightArrow{52, 2, 66, 15};

// Single-line edit: sunken field, cut 4 | middle | 6.
inline constexpr Rect EditNormal{225, 98, 282, 119};
inline constexpr Rect EditHot{225, 121, 282, 142};
inline constexpr Point EditLeftTop{4, 10};
inline constexpr Point EditRightTop{51, 11};
inline constexpr Rect EditClient{3, 3, 54, 21};

// Group box: caption band over a card.
inline constexpr Rect GroupBox{352, 75, 411, 127};
inline constexpr Point GroupLeftTop{5, 20};
inline constexpr Point GroupRightTop{53, 20};
inline constexpr Point GroupLeftBottom{5, 45};
inline constexpr Point GroupRightBottom{52, 46};
inline constexpr Rect GroupClient{1, 20, 58, 50};
inline constexpr Rect GroupCaption{3, 2, 56, 18};
inline constexpr int GroupHeaderHeight = 20;

// Small up-down pairs.
inline constexpr Rect VUpDown{76, 4, 91, 26};
inline constexpr Rect VUpDownTopButton{0, 0, 15, 11};
inline constexpr Rect VUpDownBottomButton{0, 11, 15, 22};
inline constexpr Rect VUpHot{93, 4, 108, 15};
inline constexpr Rect VUpPressed{110, 4, 125, 15};
inline constexpr Rect VDownHot{93, 17, 108, 28};
inline constexpr Rect VDownPressed{110, 17, 125, 28};

inline constexpr Rect HUpDown{414, 78, 454, 98};
inline constexpr Rect HUpDownLeftButton{0, 0, 20, 20};
inline constexpr Rect HUpDownRightButton{20, 0, 40, 20};
inline constexpr Rect HLeftHot{414, 100, 434, 120};
inline constexpr Rect HRightHot{436, 100, 456, 120};
inline constexpr Rect HLeftPressed{414, 122, 434, 142};
inline constexpr Rect HRightPressed{436, 122, 456, 142};

// Spin edit: a field with a stacked pair of small buttons on the right.
inline constexpr Rect SpinEdit{76, 32, 136, 53};
inline constexpr Point SpinLeftTop{4, 10};
inline constexpr Point SpinRightTop{42, 10};
inline constexpr Rect SpinClient{3, 3, 42, 21};
inline constexpr Rect SpinUpButton{44, 2, 57, 10};
inline constexpr Rect SpinDownButton{44, 11, 57, 19};
inline constexpr Rect SpinUpHot{110, 108, 123, 116};
inline constexpr Rect SpinUpPressed{125, 108, 138, 116};
inline constexpr Rect SpinDownHot{140, 108, 153, 116};
inline constexpr Rect SpinDownPressed{155, 108, 168, 116};

// Combo box and button edit: a field with a button in the right end.
inline constexpr Rect ComboBox{96, 60, 156, 81};
inline constexpr Rect ButtonEdit{96, 84, 156, 105};
inline constexpr Point ComboLeftTop{4, 10};
inline constexpr Point ComboRightTop{40, 10};
inline constexpr Rect ComboClient{3, 3, 40, 21};
inline constexpr Rect ComboButton{41, 2, 58, 19};
inline constexpr Rect ComboButtonHot{158, 62, 175, 79};
inline constexpr Rect ComboButtonPressed{177, 62, 194, 79};
inline constexpr Rect ComboButtonDisabled{196, 62, 213, 79};
inline constexpr Rect EllipsisButtonHot{158, 86, 175, 103};
inline constexpr Rect EllipsisButtonPressed{177, 86, 194, 103};
inline constexpr Rect EllipsisButtonDisabled{196, 86, 213, 103};

// List items (40 x 18).
inline constexpr Rect ListItem{66, 107, 106, 125};
inline constexpr Rect ListItemSelected{66, 127, 106, 145};
inline constexpr Rect ListItemFocused{66, 147, 106, 165};
inline constexpr Rect ListItemTextRelative{4, 1, 36, 17};
inline constexpr Rect ListItemCheckRelative{3, 3, 16, 16};
inline constexpr int ListItemEndWidth = 3;

// Main menu bar background and a control-bar band.
inline constexpr Rect MenuBarBack{66, 168, 126, 190};
inline constexpr Rect MenuBarItemsRelative{2, 1, 58, 21};
inline constexpr Rect ControlBarBand{388, 4, 412, 32};

// Panels.
inline constexpr Rect Panel{300, 4, 340, 44};
inline constexpr Point PanelLeftTop{4, 4};
inline constexpr Point PanelRightTop{36, 4};
inline constexpr Point PanelLeftBottom{4, 36};
inline constexpr Point PanelRightBottom{36, 36};
inline constexpr Rect PanelClient{2, 2, 38, 38};

inline constexpr Rect ToolPanel{344, 4, 384, 32};
inline constexpr Point ToolPanelLeftTop{3, 3};
inline constexpr Point ToolPanelRightTop{37, 3};
inline constexpr Point ToolPanelLeftBottom{3, 25};
inline constexpr Point ToolPanelRightBottom{37, 25};
inline constexpr Rect ToolPanelClient{1, 2, 39, 26};

inline constexpr Rect StatusBar{280, 206, 360, 228};
inline constexpr Point StatusBarLeftTop{4, 11};
inline constexpr Point StatusBarRightTop{60, 11};
inline constexpr Rect StatusBarClient{2, 3, 62, 21};

inline constexpr Rect StatusPanel{460, 136, 500, 156};
inline constexpr Point StatusPanelLeftTop{3, 10};
inline constexpr Point StatusPanelRightTop{37, 10};
inline constexpr Rect StatusPanelClient{3, 2, 37, 18};

// Tool buttons (23 x 22) and tool menu buttons (33 x 22, arrow part 11).
inline constexpr Rect ToolButtonNormal{416, 4, 439, 26};
inline constexpr Rect ToolButtonHot{441, 4, 464, 26};
inline constexpr Rect ToolButtonPressed{466, 4, 489, 26};
inline constexpr Point ToolButtonLeftTop{4, 11};
inline constexpr Point ToolButtonRightTop{19, 11};
inline constexpr Rect ToolButtonClient{3, 3, 20, 19};

inline constexpr Rect ToolMenuNormal{344, 36, 377, 58};
inline constexpr Rect ToolMenuHot{379, 36, 412, 58};
inline constexpr Rect ToolMenuPressed{416, 36, 449, 58};
inline constexpr Point ToolMenuLeftTop{4, 11};
inline constexpr Point ToolMenuRightTop{18, 11};
inline constexpr Rect ToolMenuClient{3, 3, 21, 19};
inline constexpr Rect ToolMenuTrackRelative{22, 0, 33, 22};

// Big tool buttons (36 x 36) and big tool menu buttons (44 x 36), cut in
// three across: their fill runs downwards, so they keep their height.
inline constexpr Rect BigToolNormal{152, 166, 188, 202};
inline constexpr Rect BigToolHot{190, 166, 226, 202};
inline constexpr Rect BigToolPressed{228, 166, 264, 202};
inline constexpr Point BigToolLeftTop{5, 18};
inline constexpr Point BigToolRightTop{31, 18};
inline constexpr Rect BigToolClient{3, 3, 33, 33};

inline constexpr Rect BigToolMenuNormal{268, 166, 312, 202};
inline constexpr Rect BigToolMenuHot{314, 166, 358, 202};
inline constexpr Rect BigToolMenuPressed{360, 166, 404, 202};
inline constexpr Point BigToolMenuLeftTop{5, 18};
inline constexpr Point BigToolMenuRightTop{27, 18};
inline constexpr Rect BigToolMenuClient{3, 3, 32, 33};
inline constexpr Rect BigToolMenuTrackRelative{33, 0, 44, 36};

// Header items (40 x 20).
inline constexpr Rect HeaderNormal{152, 206, 192, 226};
inline constexpr Rect HeaderHot{194, 206, 234, 226};
inline constexpr Rect HeaderPressed{236, 206, 276, 226};
inline constexpr Point HeaderLeftTop{3, 10};
inline constexpr Point HeaderRightTop{36, 10};
inline constexpr Rect HeaderClient{3, 2, 36, 18};

// Size grip button (16 x 16, fixed size).
inline constexpr Rect ResizeNormal{460, 78, 476, 94};
inline constexpr Rect ResizeHot{478, 78, 494, 94};
inline constexpr Rect ResizePressed{496, 78, 512, 94};

// Splitters.
inline constexpr Rect VSplitter{460, 100, 466, 130};
inline constexpr Point VSplitterLeftTop{3, 4};
inline constexpr Point VSplitterLeftBottom{3, 26};
inline constexpr Rect VSplitterClient{0, 4, 6, 26};
inline constexpr Rect HSplitter{470, 100, 500, 106};
inline constexpr Point HSplitterLeftTop{4, 3};
inline constexpr Point HSplitterRightTop{26, 3};
inline constexpr Rect HSplitterClient{4, 0, 26, 6};

// Gauges: a sunken trough and the progress piece tiled over its area.
inline constexpr Rect Gauge{364, 206, 424, 222};
inline constexpr Point GaugeLeftTop{4, 8};
inline constexpr Point GaugeRightTop{56, 8};
inline constexpr Rect GaugeClient{2, 2, 58, 14};
inline constexpr Rect GaugeProgress{428, 208, 438, 220};
inline constexpr Rect VGauge{480, 166, 496, 226};
inline constexpr Point VGaugeLeftTop{8, 4};
inline constexpr Point VGaugeLeftBottom{8, 56};
inline constexpr Rect VGaugeClient{2, 2, 14, 58};
inline constexpr Rect VGaugeProgress{500, 168, 512, 178};

// Track bars: a groove and the thumb's two looks.
inline constexpr Rect HTrackBar{152, 232, 232, 254};
inline constexpr Point HTrackLeftTop{8, 11};
inline constexpr Point HTrackRightTop{72, 11};
inline constexpr Rect HTrackClient{6, 2, 74, 20};
inline constexpr Rect HTrackArea{6, 0, 74, 22};
inline constexpr Rect HTrackThumb{236, 233, 247, 253};
inline constexpr Rect HTrackThumbHot{249, 233, 260, 253};
inline constexpr Rect VTrackBar{264, 232, 286, 276};
inline constexpr Point VTrackLeftTop{11, 8};
inline constexpr Point VTrackLeftBottom{11, 36};
inline constexpr Rect VTrackClient{2, 6, 20, 38};
inline constexpr Rect VTrackArea{0, 6, 22, 38};
inline constexpr Rect VTrackThumb{290, 233, 310, 244};
inline constexpr Rect VTrackThumbHot{290, 246, 310, 257};

// Expanding panel: the open panel, its horizontally and vertically rolled
// looks and the small caption buttons (12 x 12).
inline constexpr Rect ExPanel{316, 232, 376, 276};
inline constexpr Point ExPanelLeftTop{5, 19};
inline constexpr Point ExPanelRightTop{16, 19};
inline constexpr Point ExPanelLeftBottom{5, 38};
inline constexpr Point ExPanelRightBottom{55, 38};
inline constexpr Rect ExPanelClient{1, 19, 59, 42};
inline constexpr Rect ExPanelCaption{4, 1, 15, 17};
inline constexpr Rect ExPanelRollH{380, 232, 440, 250};
inline constexpr Rect ExPanelRollV{444, 232, 462, 276};
inline constexpr Rect ExPanelRollHCaption{4, 1, 30, 17};
inline constexpr Rect ExPanelRollVCaption{1, 18, 17, 40};
inline constexpr int ExPanelRollLeftEnd = 5;
inline constexpr int ExPanelRollRightEnd = 30;
inline constexpr int ExPanelRollTopEnd = 17;
inline constexpr int ExPanelRollBottomEnd = 5;
// Button places, relative to the open and the rolled looks.
inline constexpr Rect ExCloseButton{45, 3, 57, 15};
inline constexpr Rect ExHRollButton{32, 3, 44, 15};
inline constexpr Rect ExVRollButton{19, 3, 31, 15};
inline constexpr Rect ExHRestoreButton{32, 3, 44, 15};
inline constexpr Rect ExVRestoreButton{3, 3, 15, 15};
// Their hot and pressed looks, in a 4 x 3 block: close, horizontal roll,
// horizontal restore, vertical roll, vertical restore, each hot then
// pressed, row by row.
constexpr Rect ExSmallLook(int column, int row) { return Rect::FromSize(466 + 12 * column, 232 + 13 * row, 12, 12); }

}  // namespace skingen::layout
