#pragma once

// The colours of the stored skin: a cool blue-grey frame with a soft
// gradient caption around light, slightly blue controls, one accent blue
// for hover and focus, red only for a hot close button.

#include <vector>

#include "Painter.h"

namespace skingen::theme {

// --- frame ----------------------------------------------------------------
inline constexpr Pixel FrameOutline = 0x27364A;
inline constexpr Pixel FrameLight = 0xA3B8CF;
inline constexpr Pixel FrameShadow = 0x3A4F67;
inline constexpr Pixel FrameBody = 0x577291;
inline constexpr Pixel FrameInner = 0x394D65;
inline constexpr Ramp Caption{0x7995B5, 0x4F6A8A, 26};
// The caption colour behind the buttons' corners (their middle row).
inline constexpr Pixel CaptionMiddle = 0x6581A1;

// Caption buttons.
inline constexpr Pixel CaptionGlyph = 0xF4F7FA;
inline constexpr Pixel CaptionGlyphShadow = 0x2D4056;
inline constexpr Pixel CaptionGlyphDisabled = 0x9AACC0;
inline constexpr TileStyle CaptionButtonNormal{0x34485E, Ramp{0x7C98B8, 0x5A7595, 8}, true, 0x9FB5CD, 3};
inline constexpr TileStyle CaptionButtonHot{0x2A3B4F, Ramp{0x9AB3CD, 0x7390B0, 8}, true, 0xC3D3E4, 3};
inline constexpr TileStyle CaptionButtonDown{0x22303F, Ramp{0x3F5670, 0x56718F, 8}, false, 0, 3};
inline constexpr TileStyle CloseButtonHot{0x74231B, Ramp{0xE47063, 0xC03B2D, 8}, true, 0xF2A59B, 3};
inline constexpr TileStyle CloseButtonDown{0x5C1A13, Ramp{0xA3352B, 0xC24B3E, 8}, false, 0, 3};
inline constexpr TileStyle CaptionButtonDisabled{0x4B607A, Flat(0x6581A1), false, 0, 3};

// --- client side ------------------------------------------------------------
inline constexpr Pixel Page = 0xE3E8EE;
inline constexpr Pixel Card = 0xF3F5F8;
inline constexpr Pixel Line = 0x9AAABD;
inline constexpr Pixel SoftLine = 0xC3CDD9;
inline constexpr Pixel White = 0xFFFFFF;
inline constexpr Pixel Ink = 0x223146;
inline constexpr Pixel InkDisabled = 0x9BA7B5;
inline constexpr Pixel Accent = 0x3F7CC4;
inline constexpr Pixel AccentDark = 0x2D5E9E;
inline constexpr Pixel AccentLight = 0xA9C7EA;
inline constexpr Ramp GroupHeader{0xFFFFFF, 0xDCE3EC, 9};
inline constexpr Ramp CheckFill{0xFFFFFF, 0xE6EBF1, 6};
inline constexpr Pixel HotCard = 0xEAF2FC;
inline constexpr Pixel GaugeTrough = 0xEEF2F6;
inline constexpr Pixel GridLine = 0xC9D2DC;

// Push buttons and everything shaped like them.
inline constexpr TileStyle ButtonNormal{0x7A8CA3, Ramp{0xFFFFFF, 0xDCE3EB, 8}, false, 0, 3};
inline constexpr TileStyle ButtonHot{0x3F7CC4, Ramp{0xF5FAFF, 0xCBDFF6, 8}, true, 0xFFFFFF, 3};
inline constexpr TileStyle ButtonDown{0x2D5E9E, Ramp{0xB9CFE8, 0xD7E5F5, 8}, false, 0, 3};
inline constexpr TileStyle ButtonDisabled{0xB3BECB, Flat(0xEEF1F5), false, 0, 3};

// Small arrow buttons of scroll bars, up-downs and combo boxes.
inline constexpr TileStyle ArrowNormal{0xA5B3C4, Ramp{0xFBFCFD, 0xE0E6EE, 6}, false, 0, 2};
inline constexpr TileStyle ArrowHot{0x5B8FCF, Ramp{0xF5FAFF, 0xD2E3F7, 6}, false, 0, 2};
inline constexpr TileStyle ArrowDown{0x2D5E9E, Ramp{0xBBD1EA, 0xD4E3F3, 6}, false, 0, 2};
inline constexpr TileStyle ArrowDisabled{0xC3CDD9, Flat(0xEEF1F5), false, 0, 2};
inline constexpr Pixel ArrowGlyph = 0x3D4F66;

// Sunken fields.
inline constexpr Pixel FieldOuter = 0x8797AB;
inline constexpr Pixel FieldShade = 0xD0D8E1;
inline constexpr Pixel FieldRight = 0xC9D2DC;

// Scroll bars.
inline constexpr Pixel Trough = 0xE8ECF1;
inline constexpr Pixel TroughEdge = 0xC3CDD9;
inline constexpr Ramp ThumbFill{0xF7F9FB, 0xD6DEE8, 8};
inline constexpr Pixel ThumbBorder = 0x8C9CB0;
inline constexpr Pixel ThumbBorderHot = 0x4A88D0;
inline constexpr Pixel ThumbRingHot = 0xBCD6F2;
inline constexpr Pixel ThumbBorderDown = 0x2F64A8;
inline constexpr Pixel ThumbRingDown = 0x8DB4E2;
inline constexpr Pixel GripDark = 0x7A8BA0;

// Tabs.
inline constexpr Ramp TabFill{0xF2F5F8, 0xD6DEE7, 9};
inline constexpr Ramp TabHotFill{0xFAFCFF, 0xDAE7F6, 9};
inline constexpr Pixel TabHotBorder = 0x7FA6D6;

// Menus, menu bar and hints.
inline constexpr Pixel MenuBack = 0xFAFBFD;
inline constexpr Pixel MenuBorder = 0x7A8DA4;
inline constexpr Pixel MenuStripe = 0x5A87BE;
inline constexpr Pixel MenuStripeLight = 0x9DBADD;
inline constexpr Ramp MenuSelection{0x6796D0, 0x4678B7, 10};
inline constexpr Pixel MenuSelectionBorder = 0x3A68A4;
inline constexpr Pixel MenuSelectionLight = 0x86ACDC;
inline constexpr Pixel DividerLine = 0xCBD3DE;
inline constexpr Pixel MenuBar = 0xE9EDF2;
inline constexpr TileStyle MenuBarHot{0x8FB2DE, Flat(0xDCE9F8), false, 0, 2};
inline constexpr TileStyle MenuBarDown{0x3A68A4, Ramp{0x5A8BC8, 0x4577B6, 8}, false, 0, 2};
inline constexpr Pixel HintBack = 0xF5F8FC;
inline constexpr Pixel HintBorder = 0x6F849C;

// Progress.
inline constexpr Ramp Progress{0x7FB0E6, 0x3D79C0, 6};

// Every ramp of the pictures, for the palette.
inline std::vector<Ramp> AllRamps() {
  return {Caption,
          CaptionButtonNormal.Fill,
          CaptionButtonHot.Fill,
          CaptionButtonDown.Fill,
          CloseButtonHot.Fill,
          CloseButtonDown.Fill,
          GroupHeader,
          ButtonNormal.Fill,
          ButtonHot.Fill,
          ButtonDown.Fill,
          ArrowNormal.Fill,
          ArrowHot.Fill,
          ArrowDown.Fill,
          ThumbFill,
          TabFill,
          TabHotFill,
          MenuBarDown.Fill,
          Progress,
          CheckFill,
          MenuSelection};
}

// Every flat colour of the pictures, for the palette.
inline std::vector<Pixel> AllColours() {
  return {0x000000,
          0xFFFFFF,
          FrameOutline,
          FrameLight,
          FrameShadow,
          FrameBody,
          FrameInner,
          CaptionMiddle,
          CaptionGlyph,
          CaptionGlyphShadow,
          CaptionGlyphDisabled,
          CaptionButtonNormal.Border,
          CaptionButtonNormal.Highlight,
          CaptionButtonHot.Border,
          CaptionButtonHot.Highlight,
          CaptionButtonDown.Border,
          CloseButtonHot.Border,
          CloseButtonHot.Highlight,
          CloseButtonDown.Border,
          CaptionButtonDisabled.Border,
          Page,
          Card,
          Line,
          SoftLine,
          Ink,
          InkDisabled,
          Accent,
          AccentDark,
          AccentLight,
          ButtonNormal.Border,
          ButtonDisabled.Border,
          ButtonDisabled.Fill.From,
          ArrowNormal.Border,
          ArrowHot.Border,
          ArrowDisabled.Border,
          ArrowGlyph,
          FieldOuter,
          FieldShade,
          FieldRight,
          Trough,
          TroughEdge,
          ThumbBorder,
          ThumbBorderHot,
          ThumbRingHot,
          ThumbBorderDown,
          ThumbRingDown,
          GripDark,
          TabHotBorder,
          MenuBack,
          MenuBorder,
          MenuStripe,
          MenuStripeLight,
          MenuBar,
          MenuBarHot.Border,
          MenuBarHot.Fill.From,
          MenuBarDown.Border,
          HintBack,
          HintBorder,
          HotCard,
          GaugeTrough,
          GridLine,
          MenuSelectionBorder,
          MenuSelectionLight,
          DividerLine};
}

}  // namespace skingen::theme
