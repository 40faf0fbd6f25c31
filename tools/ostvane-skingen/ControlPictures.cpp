// The controls' looks (controls.bmp) and the grid cells (grids.bmp).
//
// Every image whose middle is tiled when a control grows is drawn so that
// the middle is the same all along the tiling direction: gradients run
// across the tiling only, and glyphs sit in the fixed ends.

#include <stdexcept>
#include <string>

#include "Glyphs.h"
#include "Layout.h"
#include "Pictures.h"
#include "Theme.h"

namespace skingen {

namespace {

using namespace layout;

enum class Look { Normal, Hot, Down, Disabled };

const TileStyle& ArrowStyle(Look look) {
  switch (look) {
    case Look::Hot: return theme::ArrowHot;
    case Look::Down: return theme::ArrowDown;
    case Look::Disabled: return theme::ArrowDisabled;
    case Look::Normal: break;
  }
  return theme::ArrowNormal;
}

const TileStyle& ButtonStyle(Look look) {
  switch (look) {
    case Look::Hot: return theme::ButtonHot;
    case Look::Down: return theme::ButtonDown;
    case Look::Disabled: return theme::ButtonDisabled;
    case Look::Normal: break;
  }
  return theme::ButtonNormal;
}

// A small button with an arrow (or another glyph) in its middle; pressed
// looks move the glyph by a pixel.
void DrawArrowButton(Bitmap& b, const Rect& r, Pattern glyph, Look look, Pixel under) {
  Fill(b, r, under);
  DrawTile(b, r, ArrowStyle(look));
  const int offset = look == Look::Down ? 1 : 0;
  DrawPatternCentred(b, r, glyph, look == Look::Disabled ? theme::InkDisabled : theme::ArrowGlyph, offset, offset);
}

void DrawButton(Bitmap& b, const Rect& r, Look look, Pixel under = theme::Card) {
  Fill(b, r, under);
  DrawTile(b, r, ButtonStyle(look));
}

// A flat tool button: nothing but the bar's colour until it is hot.
void DrawToolButton(Bitmap& b, const Rect& r, Look look) {
  Fill(b, r, theme::Card);
  if (look != Look::Normal) DrawTile(b, r, ButtonStyle(look));
}

// A tool button with a drop-down part of trackWidth on its right.
void DrawToolMenuButton(Bitmap& b, const Rect& r, int trackWidth, Look look) {
  DrawToolButton(b, r, look);
  const int split = r.Right - trackWidth;
  if (look != Look::Normal) {
    VLine(b, split, r.Top + 3, r.Bottom - 3, look == Look::Hot ? theme::AccentLight : theme::ButtonDown.Border);
  }
  const int offset = look == Look::Down ? 1 : 0;
  DrawPatternCentred(b, Rect{split, r.Top, r.Right, r.Bottom}, glyph::TinyDown, theme::ArrowGlyph, offset, offset);
}

// A sunken single-line field: dark above and left, light below and right
// (the bottom row is white, so a native edit that covers it changes
// nothing).
void DrawField(Bitmap& b, const Rect& r, bool hot) {
  Fill(b, r, theme::White);
  const Pixel outer = hot ? theme::Accent : theme::FieldOuter;
  const Pixel shade = hot ? theme::AccentLight : theme::FieldShade;
  const Pixel right = hot ? theme::AccentLight : theme::FieldRight;
  HLine(b, r.Left, r.Right, r.Top, outer);
  VLine(b, r.Left, r.Top, r.Bottom - 1, outer);
  HLine(b, r.Left + 1, r.Right - 1, r.Top + 1, shade);
  VLine(b, r.Left + 1, r.Top + 1, r.Bottom - 1, shade);
  VLine(b, r.Right - 1, r.Top + 1, r.Bottom - 1, right);
}

// A framed box: outline, a white ring inside it, the page colour inside.
void DrawFrameBox(Bitmap& b, const Rect& r, Pixel inside) {
  Fill(b, r, theme::Page);
  DrawTile(b, r, TileStyle{theme::Line, Flat(inside), false, 0, 2});
  Frame(b, r.Inflate(-1, -1), theme::White);
}

void DrawTab(Bitmap& b, const Rect& r, Look look, bool active, bool focused) {
  Fill(b, r, theme::Page);
  // Rounded at the top only; the bottom row meets the page.
  const RoundedShape shape{r, 3, 3, 0, 0};
  if (active) {
    DrawTile(b, shape, TileStyle{theme::Line, Flat(theme::Page), true, theme::White, 3});
    // Open towards the page: no line under the active tab.
    HLine(b, r.Left + 1, r.Right - 1, r.Bottom - 1, theme::Page);
    if (focused) {
      DrawTile(b, RoundedShape{Rect{r.Left, r.Top, r.Right, r.Top + 3}, 3, 3, 0, 0},
               TileStyle{theme::Accent, Flat(theme::Accent), false, 0, 3});
      HLine(b, r.Left + 1, r.Right - 1, r.Top + 2, theme::AccentLight);
    }
    return;
  }
  const bool hot = look == Look::Hot;
  DrawTile(b, shape, TileStyle{hot ? theme::TabHotBorder : theme::Line, hot ? theme::TabHotFill : theme::TabFill,
                               false, 0, 3});
  HLine(b, r.Left, r.Right, r.Bottom - 1, theme::Line);
}

// Scroll-bar thumbs: the fill runs across the thumb, so its middle may be
// tiled along the bar; hot and pressed change only the border and a ring
// inside it, and the grip glyph keeps one background for all three.
void DrawThumb(Bitmap& b, const Rect& r, bool vertical, Look look) {
  Fill(b, r, theme::Trough);
  Pixel border = theme::ThumbBorder;
  if (look == Look::Hot) border = theme::ThumbBorderHot;
  if (look == Look::Down) border = theme::ThumbBorderDown;
  TileStyle style{border, theme::ThumbFill, false, 0, 2};
  style.Across = vertical;
  DrawTile(b, r, style);
  if (look != Look::Normal) {
    const Pixel ring = look == Look::Hot ? theme::ThumbRingHot : theme::ThumbRingDown;
    if (vertical) {
      VLine(b, r.Left + 1, r.Top + 2, r.Bottom - 2, ring);
      VLine(b, r.Right - 2, r.Top + 2, r.Bottom - 2, ring);
    } else {
      HLine(b, r.Left + 2, r.Right - 2, r.Top + 1, ring);
      HLine(b, r.Left + 2, r.Right - 2, r.Bottom - 2, ring);
    }
  }
}

// The grip: grooves over exactly the thumb colours it is centred on.
void DrawThumbGlyph(Bitmap& b, const Rect& glyph, const Rect& thumb, bool vertical) {
  Bitmap sample(thumb.Width(), thumb.Height());
  DrawThumb(sample, sample.Bounds(), vertical, Look::Normal);
  const int offsetX = (thumb.Width() - glyph.Width()) / 2;
  const int offsetY = (thumb.Height() - glyph.Height()) / 2;
  for (int y = 0; y < glyph.Height(); ++y) {
    for (int x = 0; x < glyph.Width(); ++x) {
      // Along the thumb the fill does not change: take the thumb's middle.
      const int sx = vertical ? offsetX + x : thumb.Width() / 2;
      const int sy = vertical ? thumb.Height() / 2 : offsetY + y;
      b.SetPixel(glyph.Left + x, glyph.Top + y, sample.GetPixel(sx, sy));
    }
  }
  for (int i = 0; i < 3; ++i) {
    if (vertical) {
      HLine(b, glyph.Left + 1, glyph.Right - 1, glyph.Top + 1 + 3 * i, theme::GripDark);
      HLine(b, glyph.Left + 1, glyph.Right - 1, glyph.Top + 2 + 3 * i, theme::White);
    } else {
      VLine(b, glyph.Left + 1 + 3 * i, glyph.Top + 1, glyph.Bottom - 1, theme::GripDark);
      VLine(b, glyph.Left + 2 + 3 * i, glyph.Top + 1, glyph.Bottom - 1, theme::White);
    }
  }
}

Rect At(const Rect& base, const Rect& relative) {
  return relative.Offset(base.Left, base.Top);
}

void DrawVerticalScrollBar(Bitmap& b) {
  Fill(b, VScrollBar, theme::Trough);
  Frame(b, VScrollBar, theme::TroughEdge);
  DrawArrowButton(b, At(VScrollBar, VScrollTopArrow), glyph::ArrowUp, Look::Normal, theme::Trough);
  DrawArrowButton(b, At(VScrollBar, VScrollBottomArrow), glyph::ArrowDown, Look::Normal, theme::Trough);
  DrawArrowButton(b, VScrollTopArrowHot, glyph::ArrowUp, Look::Hot, theme::Trough);
  DrawArrowButton(b, VScrollTopArrowPressed, glyph::ArrowUp, Look::Down, theme::Trough);
  DrawArrowButton(b, VScrollBottomArrowHot, glyph::ArrowDown, Look::Hot, theme::Trough);
  DrawArrowButton(b, VScrollBottomArrowPressed, glyph::ArrowDown, Look::Down, theme::Trough);
  DrawThumb(b, VThumb, true, Look::Normal);
  DrawThumb(b, VThumbHot, true, Look::Hot);
  DrawThumb(b, VThumbPressed, true, Look::Down);
  DrawThumbGlyph(b, VThumbGlyph, VThumb, true);
}

void DrawHorizontalScrollBar(Bitmap& b, const Rect& bar, const Rect& left, const Rect& right, bool corner) {
  Fill(b, bar, theme::Trough);
  Frame(b, bar, theme::TroughEdge);
  DrawArrowButton(b, At(bar, left), glyph::ArrowLeft, Look::Normal, theme::Trough);
  DrawArrowButton(b, At(bar, right), glyph::ArrowRight, Look::Normal, theme::Trough);
  if (corner) {
    // The square where the two bars meet, with a size grip.
    const int x = bar.Left + right.Right + 1;
    VLine(b, x, bar.Top, bar.Bottom, theme::TroughEdge);
    Fill(b, Rect{x + 1, bar.Top + 1, bar.Right - 1, bar.Bottom - 1}, theme::Card);
    DrawPattern(b, bar.Right - 2 - PatternWidth(glyph::SizeGrip), bar.Bottom - 2 - PatternHeight(glyph::SizeGrip),
                glyph::SizeGrip, theme::GripDark, theme::White);
  }
}

void DrawHorizontalScrollParts(Bitmap& b) {
  DrawArrowButton(b, HLeftArrowHot, glyph::ArrowLeft, Look::Hot, theme::Trough);
  DrawArrowButton(b, HLeftArrowPressed, glyph::ArrowLeft, Look::Down, theme::Trough);
  DrawArrowButton(b, HRightArrowHot, glyph::ArrowRight, Look::Hot, theme::Trough);
  DrawArrowButton(b, HRightArrowPressed, glyph::ArrowRight, Look::Down, theme::Trough);
  DrawThumb(b, HThumb, false, Look::Normal);
  DrawThumb(b, HThumbHot, false, Look::Hot);
  DrawThumb(b, HThumbPressed, false, Look::Down);
  DrawThumbGlyph(b, HThumbGlyph, HThumb, false);
}

void DrawCheckMarks(Bitmap& b) {
  // Square boxes with cut corners: the corner pixels keep the card colour,
  // which a transparent draw takes from the bottom-left pixel.
  for (const Rect& r : {CheckMarkOff, CheckMarkOn}) {
    Fill(b, r, theme::Card);
    FillDown(b, r.Inflate(-1, -1), theme::CheckFill);
    HLine(b, r.Left + 1, r.Right - 1, r.Top, theme::FieldOuter);
    HLine(b, r.Left + 1, r.Right - 1, r.Bottom - 1, theme::FieldOuter);
    VLine(b, r.Left, r.Top + 1, r.Bottom - 1, theme::FieldOuter);
    VLine(b, r.Right - 1, r.Top + 1, r.Bottom - 1, theme::FieldOuter);
  }
  DrawPatternCentred(b, CheckMarkOn, glyph::Check, theme::AccentDark);

  for (const Rect& r : {RadioMarkOff, RadioMarkOn}) {
    Fill(b, r, theme::Card);
    DrawTile(b, RoundedShape::Uniform(r, 6), TileStyle{theme::FieldOuter, theme::CheckFill, false, 0, 6});
  }
  DrawPatternCentred(b, RadioMarkOn, glyph::RadioDot, theme::AccentDark);

  // The framed check box: plain card, a soft tile while hot.
  Fill(b, CheckFrame, theme::Card);
  Fill(b, CheckFrameHot, theme::Card);
  DrawTile(b, CheckFrameHot, TileStyle{theme::AccentLight, Flat(theme::HotCard), false, 0, 3});
}

void DrawMarkers(Bitmap& b) {
  for (const Rect& r : {MarkerFrame, RollUpMarker, RestoreMarker}) DrawArrowButton(b, r, {}, Look::Normal, theme::Card);
  DrawPatternCentred(b, RollUpMarker, glyph::TinyUp, theme::ArrowGlyph);
  DrawPatternCentred(b, RestoreMarker, glyph::TinyDown, theme::ArrowGlyph);
}

void DrawGroupBox(Bitmap& b, const Rect& r, int headerHeight) {
  Fill(b, r, theme::Page);
  // Corners of radius 2: a larger one would reach into the client part,
  // whose bottom is two pixels above the box's.
  DrawTile(b, r, TileStyle{theme::Line, Flat(theme::Card), false, 0, 2});
  const Rect header{r.Left, r.Top, r.Right, r.Top + headerHeight};
  DrawTile(b, RoundedShape{header, 2, 2, 0, 0}, TileStyle{theme::Line, theme::GroupHeader, false, 0, 2});
  HLine(b, r.Left + 1, r.Right - 1, header.Bottom - 1, theme::SoftLine);
}

void DrawEdits(Bitmap& b) {
  DrawField(b, EditNormal, false);
  DrawField(b, EditHot, true);

  for (const Rect& field : {ComboBox, ButtonEdit}) DrawField(b, field, false);
  DrawArrowButton(b, At(ComboBox, ComboButton), glyph::ArrowDown, Look::Normal, theme::White);
  DrawArrowButton(b, ComboButtonHot, glyph::ArrowDown, Look::Hot, theme::White);
  DrawArrowButton(b, ComboButtonPressed, glyph::ArrowDown, Look::Down, theme::White);
  DrawArrowButton(b, ComboButtonDisabled, glyph::ArrowDown, Look::Disabled, theme::White);
  DrawArrowButton(b, At(ButtonEdit, ComboButton), glyph::Ellipsis, Look::Normal, theme::White);
  DrawArrowButton(b, EllipsisButtonHot, glyph::Ellipsis, Look::Hot, theme::White);
  DrawArrowButton(b, EllipsisButtonPressed, glyph::Ellipsis, Look::Down, theme::White);
  DrawArrowButton(b, EllipsisButtonDisabled, glyph::Ellipsis, Look::Disabled, theme::White);

  DrawField(b, SpinEdit, false);
  DrawArrowButton(b, At(SpinEdit, SpinUpButton), glyph::TinyUp, Look::Normal, theme::White);
  DrawArrowButton(b, At(SpinEdit, SpinDownButton), glyph::TinyDown, Look::Normal, theme::White);
  DrawArrowButton(b, SpinUpHot, glyph::TinyUp, Look::Hot, theme::White);
  DrawArrowButton(b, SpinUpPressed, glyph::TinyUp, Look::Down, theme::White);
  DrawArrowButton(b, SpinDownHot, glyph::TinyDown, Look::Hot, theme::White);
  DrawArrowButton(b, SpinDownPressed, glyph::TinyDown, Look::Down, theme::White);
}

void DrawUpDowns(Bitmap& b) {
  DrawArrowButton(b, At(VUpDown, VUpDownTopButton), glyph::TinyUp, Look::Normal, theme::Card);
  DrawArrowButton(b, At(VUpDown, VUpDownBottomButton), glyph::TinyDown, Look::Normal, theme::Card);
  DrawArrowButton(b, VUpHot, glyph::TinyUp, Look::Hot, theme::Card);
  DrawArrowButton(b, VUpPressed, glyph::TinyUp, Look::Down, theme::Card);
  DrawArrowButton(b, VDownHot, glyph::TinyDown, Look::Hot, theme::Card);
  DrawArrowButton(b, VDownPressed, glyph::TinyDown, Look::Down, theme::Card);

  DrawArrowButton(b, At(HUpDown, HUpDownLeftButton), glyph::ArrowLeft, Look::Normal, theme::Page);
  DrawArrowButton(b, At(HUpDown, HUpDownRightButton), glyph::ArrowRight, Look::Normal, theme::Page);
  DrawArrowButton(b, HLeftHot, glyph::ArrowLeft, Look::Hot, theme::Page);
  DrawArrowButton(b, HLeftPressed, glyph::ArrowLeft, Look::Down, theme::Page);
  DrawArrowButton(b, HRightHot, glyph::ArrowRight, Look::Hot, theme::Page);
  DrawArrowButton(b, HRightPressed, glyph::ArrowRight, Look::Down, theme::Page);
}

void DrawListItems(Bitmap& b) {
  Fill(b, ListItem, theme::White);
  const TileStyle selection{theme::MenuSelectionBorder, theme::MenuSelection, false, 0, 2};
  for (const Rect& r : {ListItemSelected, ListItemFocused}) {
    Fill(b, r, theme::White);
    DrawTile(b, r, selection);
  }
  // Focus: a light line inside the selection's border.
  const Rect ring = ListItemFocused.Inflate(-1, -1);
  HLine(b, ring.Left + 1, ring.Right - 1, ring.Top, theme::MenuSelectionLight);
  HLine(b, ring.Left + 1, ring.Right - 1, ring.Bottom - 1, theme::MenuSelectionLight);
  VLine(b, ring.Left, ring.Top + 1, ring.Bottom - 1, theme::MenuSelectionLight);
  VLine(b, ring.Right - 1, ring.Top + 1, ring.Bottom - 1, theme::MenuSelectionLight);
}

void DrawBars(Bitmap& b) {
  // Main menu bar.
  Fill(b, MenuBarBack, theme::MenuBar);
  HLine(b, MenuBarBack.Left, MenuBarBack.Right, MenuBarBack.Bottom - 1, theme::SoftLine);

  // Panels.
  Fill(b, Panel, theme::Page);
  DrawTile(b, Panel, TileStyle{theme::Line, Flat(theme::Card), true, theme::White, 2});
  VLine(b, Panel.Left + 1, Panel.Top + 2, Panel.Bottom - 2, theme::White);

  Fill(b, ToolPanel, theme::Card);
  HLine(b, ToolPanel.Left, ToolPanel.Right, ToolPanel.Top, theme::White);
  HLine(b, ToolPanel.Left, ToolPanel.Right, ToolPanel.Bottom - 1, theme::SoftLine);

  // A band of a control bar: a grip of dots on its left, a line on its right.
  FillDown(b, ControlBarBand, theme::ButtonNormal.Fill);
  for (int y = ControlBarBand.Top + 5; y < ControlBarBand.Bottom - 5; y += 3) {
    Plot(b, ControlBarBand.Left + 3, y, theme::GripDark);
    Plot(b, ControlBarBand.Left + 4, y + 1, theme::White);
  }
  VLine(b, ControlBarBand.Right - 1, ControlBarBand.Top + 2, ControlBarBand.Bottom - 2, theme::SoftLine);

  // Status bar and its sunken panels.
  Fill(b, StatusBar, theme::Card);
  HLine(b, StatusBar.Left, StatusBar.Right, StatusBar.Top, theme::SoftLine);
  HLine(b, StatusBar.Left, StatusBar.Right, StatusBar.Top + 1, theme::White);
  DrawPattern(b, StatusBar.Right - 2 - PatternWidth(glyph::SizeGrip), StatusBar.Bottom - 2 - PatternHeight(glyph::SizeGrip),
              glyph::SizeGrip, theme::GripDark, theme::White);

  Fill(b, StatusPanel, theme::Card);
  HLine(b, StatusPanel.Left, StatusPanel.Right, StatusPanel.Top, theme::SoftLine);
  VLine(b, StatusPanel.Left, StatusPanel.Top, StatusPanel.Bottom, theme::SoftLine);
  HLine(b, StatusPanel.Left + 1, StatusPanel.Right, StatusPanel.Bottom - 1, theme::White);
  VLine(b, StatusPanel.Right - 1, StatusPanel.Top + 1, StatusPanel.Bottom, theme::White);

  // Splitters: a light and a dark edge.
  Fill(b, VSplitter, theme::Card);
  VLine(b, VSplitter.Left, VSplitter.Top, VSplitter.Bottom, theme::White);
  VLine(b, VSplitter.Right - 1, VSplitter.Top, VSplitter.Bottom, theme::SoftLine);
  Fill(b, HSplitter, theme::Card);
  HLine(b, HSplitter.Left, HSplitter.Right, HSplitter.Top, theme::White);
  HLine(b, HSplitter.Left, HSplitter.Right, HSplitter.Bottom - 1, theme::SoftLine);
}

void DrawButtons(Bitmap& b) {
  DrawButton(b, ButtonNormal, Look::Normal);
  DrawButton(b, ButtonPressed, Look::Down);
  DrawButton(b, ButtonHot, Look::Hot);

  DrawToolButton(b, ToolButtonNormal, Look::Normal);
  DrawToolButton(b, ToolButtonHot, Look::Hot);
  DrawToolButton(b, ToolButtonPressed, Look::Down);
  const int toolTrack = ToolMenuTrackRelative.Width();
  DrawToolMenuButton(b, ToolMenuNormal, toolTrack, Look::Normal);
  DrawToolMenuButton(b, ToolMenuHot, toolTrack, Look::Hot);
  DrawToolMenuButton(b, ToolMenuPressed, toolTrack, Look::Down);

  DrawToolButton(b, BigToolNormal, Look::Normal);
  DrawToolButton(b, BigToolHot, Look::Hot);
  DrawToolButton(b, BigToolPressed, Look::Down);
  const int bigTrack = BigToolMenuTrackRelative.Width();
  DrawToolMenuButton(b, BigToolMenuNormal, bigTrack, Look::Normal);
  DrawToolMenuButton(b, BigToolMenuHot, bigTrack, Look::Hot);
  DrawToolMenuButton(b, BigToolMenuPressed, bigTrack, Look::Down);

  // Header items: a light band with a separator in the right end.
  const struct {
    Rect R;
    Ramp Fill;
    Pixel Bottom;
  } headers[] = {{HeaderNormal, theme::GroupHeader, theme::Line},
                 {HeaderHot, theme::ButtonHot.Fill, theme::Accent},
                 {HeaderPressed, theme::ButtonDown.Fill, theme::AccentDark}};
  for (const auto& header : headers) {
    FillDown(b, header.R, header.Fill);
    HLine(b, header.R.Left, header.R.Right, header.R.Bottom - 1, header.Bottom);
    VLine(b, header.R.Right - 2, header.R.Top + 3, header.R.Bottom - 3, theme::SoftLine);
    VLine(b, header.R.Right - 1, header.R.Top + 3, header.R.Bottom - 3, theme::White);
  }

  // The size grip button.
  const struct {
    Rect R;
    Pixel Ink;
  } grips[] = {{ResizeNormal, theme::GripDark}, {ResizeHot, theme::Accent}, {ResizePressed, theme::AccentDark}};
  for (const auto& grip : grips) {
    Fill(b, grip.R, theme::Card);
    DrawPattern(b, grip.R.Right - 1 - PatternWidth(glyph::SizeGrip), grip.R.Bottom - 1 - PatternHeight(glyph::SizeGrip),
                glyph::SizeGrip, grip.Ink, theme::White);
  }
}

void DrawGauges(Bitmap& b) {
  const TileStyle trough{theme::Line, Flat(theme::GaugeTrough), false, 0, 2};
  Fill(b, Gauge, theme::Card);
  DrawTile(b, Gauge, trough);
  Fill(b, VGauge, theme::Card);
  DrawTile(b, VGauge, trough);
  FillDown(b, GaugeProgress, theme::Progress);
  FillAcross(b, VGaugeProgress, theme::Progress);
}

void DrawTrackBars(Bitmap& b) {
  Fill(b, HTrackBar, theme::Card);
  const Rect hGroove{HTrackBar.Left + HTrackArea.Left, HTrackBar.Top + 9, HTrackBar.Left + HTrackArea.Right,
                     HTrackBar.Top + 13};
  DrawField(b, hGroove, false);
  Fill(b, VTrackBar, theme::Card);
  const Rect vGroove{VTrackBar.Left + 9, VTrackBar.Top + VTrackArea.Top, VTrackBar.Left + 13,
                     VTrackBar.Top + VTrackArea.Bottom};
  DrawField(b, vGroove, false);
  DrawButton(b, HTrackThumb, Look::Normal);
  DrawButton(b, HTrackThumbHot, Look::Hot);
  DrawButton(b, VTrackThumb, Look::Normal);
  DrawButton(b, VTrackThumbHot, Look::Hot);
}

// The expanding panel's small caption buttons: flat on the band until hot.
void DrawSmallButton(Bitmap& b, const Rect& r, Pattern glyph, Look look) {
  if (look != Look::Normal) DrawTile(b, r, ArrowStyle(look));
  const int offset = look == Look::Down ? 1 : 0;
  DrawPatternCentred(b, r, glyph, theme::ArrowGlyph, offset, offset);
}

// The caption band's colour at band row k, as DrawGroupBox fills it.
Pixel BandRow(int k, int bandHeight) {
  return theme::GroupHeader.At(double(k - 1) / double(bandHeight - 3));
}

void DrawExPanel(Bitmap& b) {
  DrawGroupBox(b, ExPanel, ExPanelClient.Top);
  DrawSmallButton(b, At(ExPanel, ExVRollButton), glyph::ChevronLeft, Look::Normal);
  DrawSmallButton(b, At(ExPanel, ExHRollButton), glyph::ChevronUp, Look::Normal);
  DrawSmallButton(b, At(ExPanel, ExCloseButton), glyph::TinyClose, Look::Normal);

  Fill(b, ExPanelRollH, theme::Page);
  DrawTile(b, ExPanelRollH, TileStyle{theme::Line, theme::GroupHeader, false, 0, 3});
  DrawSmallButton(b, At(ExPanelRollH, ExHRestoreButton), glyph::ChevronDown, Look::Normal);
  DrawSmallButton(b, At(ExPanelRollH, ExCloseButton), glyph::TinyClose, Look::Normal);

  Fill(b, ExPanelRollV, theme::Page);
  TileStyle vertical{theme::Line, theme::GroupHeader, false, 0, 3};
  vertical.Across = true;
  DrawTile(b, ExPanelRollV, vertical);
  DrawSmallButton(b, At(ExPanelRollV, ExVRestoreButton), glyph::ChevronRight, Look::Normal);

  const struct {
    Pattern Glyph;
  } buttons[] = {{glyph::TinyClose}, {glyph::ChevronUp}, {glyph::ChevronDown}, {glyph::ChevronLeft},
                 {glyph::ChevronRight}};
  int slot = 0;
  for (const auto& button : buttons) {
    for (Look look : {Look::Hot, Look::Down}) {
      const Rect r = ExSmallLook(slot % 4, slot / 4);
      // Over the band colours the look replaces on the panel.
      for (int y = r.Top; y < r.Bottom; ++y) {
        HLine(b, r.Left, r.Right, y, BandRow(ExCloseButton.Top + y - r.Top, ExPanelClient.Top));
      }
      DrawSmallButton(b, r, button.Glyph, look);
      ++slot;
    }
  }
}

// The drawn images may not overlap, or one would spoil another.
void CheckLayout() {
  const Rect images[] = {
      ButtonNormal, ButtonPressed, ButtonHot, CheckFrame, CheckFrameHot, CheckMarkOff, CheckMarkOn, RadioMarkOff,
      RadioMarkOn, MarkerFrame, RollUpMarker, RestoreMarker, TabNormal, TabActive, TabFocus, TabHot, FrameBox,
      VScrollBar, VScrollTopArrowHot, VScrollTopArrowPressed, VScrollBottomArrowHot, VScrollBottomArrowPressed,
      VThumb, VThumbHot, VThumbPressed, VThumbGlyph, BothHScrollBar, HLeftArrowHot, HLeftArrowPressed,
      HRightArrowHot, HRightArrowPressed, HThumb, HThumbHot, HThumbPressed, HThumbGlyph, HScrollBar, EditNormal,
      EditHot, GroupBox, VUpDown, VUpHot, VUpPressed, VDownHot, VDownPressed, HUpDown, HLeftHot, HRightHot,
      HLeftPressed, HRightPressed, SpinEdit, SpinUpHot, SpinUpPressed, SpinDownHot, SpinDownPressed, ComboBox,
      ButtonEdit, ComboButtonHot, ComboButtonPressed, ComboButtonDisabled, EllipsisButtonHot, EllipsisButtonPressed,
      EllipsisButtonDisabled, ListItem, ListItemSelected, ListItemFocused, MenuBarBack, ControlBarBand, Panel,
      ToolPanel, StatusBar, StatusPanel, ToolButtonNormal, ToolButtonHot, ToolButtonPressed, ToolMenuNormal,
      ToolMenuHot, ToolMenuPressed, BigToolNormal, BigToolHot, BigToolPressed, BigToolMenuNormal, BigToolMenuHot,
      BigToolMenuPressed, HeaderNormal, HeaderHot, HeaderPressed, ResizeNormal, ResizeHot, ResizePressed,
      VSplitter, HSplitter, Gauge, GaugeProgress, VGauge, VGaugeProgress, HTrackBar, HTrackThumb, HTrackThumbHot,
      VTrackBar, VTrackThumb, VTrackThumbHot, ExPanel, ExPanelRollH, ExPanelRollV,
      // The small looks of the expanding panel.
      Rect{466, 232, 514, 271},
  };
  const Rect picture{0, 0, ControlsWidth, ControlsHeight};
  for (std::size_t i = 0; i < std::size(images); ++i) {
    if (images[i].Intersect(picture) != images[i]) {
      throw std::logic_error("controls.bmp: image " + std::to_string(i) + " leaves the picture");
    }
    for (std::size_t j = i + 1; j < std::size(images); ++j) {
      if (!images[i].Intersect(images[j]).IsEmpty()) {
        auto text = [](const Rect& r) {
          return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) + "," +
                 std::to_string(r.Bottom);
        };
        throw std::logic_error("controls.bmp: images " + text(images[i]) + " and " + text(images[j]) +
                               " overlap");
      }
    }
  }
}

}  // namespace

Bitmap DrawControlsPicture() {
  CheckLayout();
  Bitmap b(ControlsWidth, ControlsHeight);
  b.Fill(theme::Page);

  DrawButtons(b);
  DrawCheckMarks(b);
  DrawMarkers(b);
  DrawTab(b, TabNormal, Look::Normal, false, false);
  DrawTab(b, TabActive, Look::Normal, true, false);
  DrawTab(b, TabFocus, Look::Normal, true, true);
  DrawTab(b, TabHot, Look::Hot, false, false);
  DrawFrameBox(b, FrameBox, theme::Page);
  DrawVerticalScrollBar(b);
  DrawHorizontalScrollBar(b, BothHScrollBar, BothHLeftArrow, BothHRightArrow, true);
  DrawHorizontalScrollBar(b, HScrollBar, HScrollLeftArrow, HScrollRightArrow, false);
  DrawHorizontalScrollParts(b);
  DrawEdits(b);
  DrawGroupBox(b, GroupBox, GroupHeaderHeight);
  DrawUpDowns(b);
  DrawListItems(b);
  DrawBars(b);
  DrawGauges(b);
  DrawTrackBars(b);
  DrawExPanel(b);
  return b;
}

Bitmap DrawGridsPicture() {
  Bitmap b(GridsWidth, GridsHeight);
  const Pixel gridLine = theme::GridLine;
  FillDown(b, GridFixedCell, theme::GroupHeader);
  HLine(b, GridFixedCell.Left, GridFixedCell.Right, GridFixedCell.Bottom - 1, theme::Line);
  VLine(b, GridFixedCell.Right - 1, GridFixedCell.Top, GridFixedCell.Bottom, theme::Line);
  VLine(b, GridFixedCell.Left, GridFixedCell.Top, GridFixedCell.Bottom - 1, theme::White);

  FillDown(b, GridSelectCell, theme::MenuSelection);
  HLine(b, GridSelectCell.Left, GridSelectCell.Right, GridSelectCell.Bottom - 1, gridLine);
  VLine(b, GridSelectCell.Right - 1, GridSelectCell.Top, GridSelectCell.Bottom, gridLine);

  Fill(b, GridFocusCell, theme::White);
  HLine(b, GridFocusCell.Left, GridFocusCell.Right, GridFocusCell.Bottom - 1, gridLine);
  VLine(b, GridFocusCell.Right - 1, GridFocusCell.Top, GridFocusCell.Bottom, gridLine);
  Frame(b, Rect{GridFocusCell.Left, GridFocusCell.Top, GridFocusCell.Right - 1, GridFocusCell.Bottom - 1},
        theme::Accent);
  return b;
}

}  // namespace skingen
