#pragma once

namespace gfx {

// Format flags of Canvas::DrawText. They keep the numeric values of the
// classic desktop API, because skins and stored layouts carry them as
// numbers. DT_LEFT and DT_TOP are the absence of the other alignments.
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
// Vertical alignment applies to DT_SINGLELINE text only.
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
// Breaks lines between words (and between CJK characters) that would pass
// the right edge of the rectangle.
constexpr unsigned DT_WORDBREAK = 0x0010;
// Line feeds and carriage returns do not start new lines.
constexpr unsigned DT_SINGLELINE = 0x0020;
// A tab advances to the next multiple of eight average character widths;
// without the flag a tab draws nothing.
constexpr unsigned DT_EXPANDTABS = 0x0040;
// Text may draw outside the rectangle.
constexpr unsigned DT_NOCLIP = 0x0100;
// Measures only: the rectangle's right and bottom are set to the extent of
// the text, nothing is drawn.
constexpr unsigned DT_CALCRECT = 0x0400;
// "&" is an ordinary character instead of marking the accelerator.
constexpr unsigned DT_NOPREFIX = 0x0800;
// A line that does not fit is cut and ended with "...".
constexpr unsigned DT_END_ELLIPSIS = 0x8000;

}  // namespace gfx
