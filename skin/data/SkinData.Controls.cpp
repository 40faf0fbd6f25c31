#include "skin/data/SkinData.Controls.h"

#include "core/MemIniFile.h"
#include "skin/data/SkinData.Keys.h"

namespace skin {

using detail::DefaultFontHeight;
using detail::DefaultFontName;
using detail::ReadKeys;
using detail::WriteKeys;

namespace {

// Key lists in reading order, one per class; each class's own keys only.

template <class Self, class Visitor>
void ControlKeys(Self& self, Visitor& v) {
  v.Integer("pictureindex", self.PictureIndex, -1);
  v.Integer("maskpictureindex", self.MaskPictureIndex, -1);
  v.Integer("cursorindex", self.CursorIndex, -1);
  v.Rect("skinrect", self.SkinRect);
}

template <class Self, class Visitor>
void CustomControlKeys(Self& self, Visitor& v) {
  v.Point("lefttoppoint", self.LeftTopPoint);
  v.Point("righttoppoint", self.RightTopPoint);
  v.Point("leftbottompoint", self.LeftBottomPoint);
  v.Point("rightbottompoint", self.RightBottomPoint);
  v.Rect("clientrect", self.ClientRect);
  v.Boolean("stretcheffect", self.StretchEffect);
}

template <class Self, class Visitor>
void ButtonControlKeys(Self& self, Visitor& v) {
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("activefontcolor", self.ActiveFontColor);
  v.Color("disabledfontcolor", self.DisabledFontColor);
  v.Color("downfontcolor", self.DownFontColor);
  v.Boolean("morphing", self.Morphing);
  v.MorphKind("morphkind", self.MorphKind);
  v.Rect("activeskinrect", self.ActiveSkinRect);
  v.Rect("downskinrect", self.DownSkinRect);
  v.Rect("disabledskinrect", self.DisabledSkinRect);
  v.Rect("animateskinrect", self.AnimateSkinRect);
  v.Integer("framecount", self.FrameCount);
  v.Integer("animateinterval", self.AnimateInterval, 25);
}

template <class Self, class Visitor>
void MenuButtonControlKeys(Self& self, Visitor& v) {
  v.Rect("trackbuttonrect", self.TrackButtonRect);
}

template <class Self, class Visitor>
void CheckRadioControlKeys(Self& self, Visitor& v) {
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("activefontcolor", self.ActiveFontColor);
  v.Color("unenabledfontcolor", self.UnEnabledFontColor);
  v.Color("framefontcolor", self.FrameFontColor);
  v.Boolean("morphing", self.Morphing);
  v.MorphKind("morphkind", self.MorphKind);
  v.Rect("activeskinrect", self.ActiveSkinRect);
  v.Rect("checkimagearea", self.CheckImageArea);
  v.Rect("textarea", self.TextArea);
  v.Rect("checkimagerect", self.CheckImageRect);
  v.Rect("uncheckimagerect", self.UnCheckImageRect);
  v.Rect("activecheckimagerect", self.ActiveCheckImageRect);
  v.Rect("activeuncheckimagerect", self.ActiveUnCheckImageRect);
  v.Rect("unenabledcheckimagerect", self.UnEnabledCheckImageRect);
  v.Rect("unenableduncheckimagerect", self.UnEnabledUnCheckImageRect);
}

template <class Self, class Visitor>
void PanelControlKeys(Self& self, Visitor& v) {
  v.Integer("bgpictureindex", self.BGPictureIndex, -1);
  v.Rect("captionrect", self.CaptionRect);
  v.Alignment("alignment", self.Alignment);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Rect("checkimagerect", self.CheckImageRect);
  v.Rect("uncheckimagerect", self.UnCheckImageRect);
  v.Rect("markframerect", self.MarkFrameRect);
  v.Rect("framerect", self.FrameRect);
  v.Rect("frametextrect", self.FrameTextRect);
  v.Integer("frameleftoffset", self.FrameLeftOffset);
  v.Integer("framerightoffset", self.FrameRightOffset);
}

template <class Self, class Visitor>
void ExPanelControlKeys(Self& self, Visitor& v) {
  v.Rect("rollhskinrect", self.RollHSkinRect);
  v.Rect("rollvskinrect", self.RollVSkinRect);
  v.Integer("rollleftoffset", self.RollLeftOffset);
  v.Integer("rollrightoffset", self.RollRightOffset);
  v.Integer("rolltopoffset", self.RollTopOffset);
  v.Integer("rollbottomoffset", self.RollBottomOffset);
  v.Rect("rollvcaptionrect", self.RollVCaptionRect);
  v.Rect("rollhcaptionrect", self.RollHCaptionRect);
  v.Rect("closebuttonrect", self.CloseButtonRect);
  v.Rect("closebuttonactiverect", self.CloseButtonActiveRect);
  v.Rect("closebuttondownrect", self.CloseButtonDownRect);
  v.Rect("hrollbuttonrect", self.HRollButtonRect);
  v.Rect("hrollbuttonactiverect", self.HRollButtonActiveRect);
  v.Rect("hrollbuttondownrect", self.HRollButtonDownRect);
  v.Rect("hrestorebuttonrect", self.HRestoreButtonRect);
  v.Rect("hrestorebuttonactiverect", self.HRestoreButtonActiveRect);
  v.Rect("hrestorebuttondownrect", self.HRestoreButtonDownRect);
  v.Rect("vrollbuttonrect", self.VRollButtonRect);
  v.Rect("vrollbuttonactiverect", self.VRollButtonActiveRect);
  v.Rect("vrollbuttondownrect", self.VRollButtonDownRect);
  v.Rect("vrestorebuttonrect", self.VRestoreButtonRect);
  v.Rect("vrestorebuttonactiverect", self.VRestoreButtonActiveRect);
  v.Rect("vrestorebuttondownrect", self.VRestoreButtonDownRect);
  v.Rect("captionrect", self.CaptionRect);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
}

template <class Self, class Visitor>
void EditControlKeys(Self& self, Visitor& v) {
  v.Rect("activeskinrect", self.ActiveSkinRect);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("disabledfontcolor", self.DisabledFontColor);
  v.Color("activefontcolor", self.ActiveFontColor);
  v.Rect("buttonrect", self.ButtonRect);
  v.Rect("activebuttonrect", self.ActiveButtonRect);
  v.Rect("downbuttonrect", self.DownButtonRect);
  v.Rect("unenabledbuttonrect", self.UnEnabledButtonRect);
}

template <class Self, class Visitor>
void MemoControlKeys(Self& self, Visitor& v) {
  v.Color("bgcolor", self.BGColor);
  v.Color("activebgcolor", self.ActiveBGColor);
}

template <class Self, class Visitor>
void SpinEditControlKeys(Self& self, Visitor& v) {
  v.Rect("activeskinrect", self.ActiveSkinRect);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("activefontcolor", self.ActiveFontColor);
  v.Color("disabledfontcolor", self.DisabledFontColor);
  v.Rect("upbuttonrect", self.UpButtonRect);
  v.Rect("activeupbuttonrect", self.ActiveUpButtonRect);
  v.Rect("downupbuttonrect", self.DownUpButtonRect);
  v.Rect("downbuttonrect", self.DownButtonRect);
  v.Rect("activedownbuttonrect", self.ActiveDownButtonRect);
  v.Rect("downdownbuttonrect", self.DownDownButtonRect);
}

template <class Self, class Visitor>
void UpDownControlKeys(Self& self, Visitor& v) {
  v.Rect("upbuttonrect", self.UpButtonRect);
  v.Rect("activeupbuttonrect", self.ActiveUpButtonRect);
  v.Rect("downupbuttonrect", self.DownUpButtonRect);
  v.Rect("downbuttonrect", self.DownButtonRect);
  v.Rect("activedownbuttonrect", self.ActiveDownButtonRect);
  v.Rect("downdownbuttonrect", self.DownDownButtonRect);
}

template <class Self, class Visitor>
void ScrollBarControlKeys(Self& self, Visitor& v) {
  v.Rect("trackarea", self.TrackArea);
  v.Rect("upbuttonrect", self.UpButtonRect);
  v.Rect("activeupbuttonrect", self.ActiveUpButtonRect);
  v.Rect("downupbuttonrect", self.DownUpButtonRect);
  v.Rect("downbuttonrect", self.DownButtonRect);
  v.Rect("activedownbuttonrect", self.ActiveDownButtonRect);
  v.Rect("downdownbuttonrect", self.DownDownButtonRect);
  v.Rect("thumbrect", self.ThumbRect);
  v.Rect("activethumbrect", self.ActiveThumbRect);
  v.Rect("downthumbrect", self.DownThumbRect);
  v.Integer("thumboffset1", self.ThumbOffset1);
  v.Integer("thumboffset2", self.ThumbOffset2);
  v.Boolean("thumbtransparent", self.ThumbTransparent);
  v.Color("thumbtransparentcolor", self.ThumbTransparentColor);
  v.Rect("glyphrect", self.GlyphRect);
  v.Rect("activeglyphrect", self.ActiveGlyphRect);
  v.Rect("downglyphrect", self.DownGlyphRect);
}

template <class Self, class Visitor>
void ListBoxKeys(Self& self, Visitor& v) {
  v.Rect("itemrect", self.ItemRect);
  v.Rect("activeitemrect", self.ActiveItemRect);
  v.Rect("focusitemrect", self.FocusItemRect);
  v.Integer("itemleftoffset", self.ItemLeftOffset);
  v.Integer("itemrightoffset", self.ItemRightOffset);
  v.Rect("itemtextrect", self.ItemTextRect);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("activefontcolor", self.ActiveFontColor);
  v.Color("focusfontcolor", self.FocusFontColor);
  v.Rect("captionrect", self.CaptionRect);
  v.Text("captionfontname", self.CaptionFontName, DefaultFontName);
  v.Integer("captionfontheight", self.CaptionFontHeight, DefaultFontHeight);
  v.FontStyles("captionfontstyle", self.CaptionFontStyle);
  v.Color("captionfontcolor", self.CaptionFontColor);
  v.Rect("upbuttonrect", self.UpButtonRect);
  v.Rect("activeupbuttonrect", self.ActiveUpButtonRect);
  v.Rect("downupbuttonrect", self.DownUpButtonRect);
  v.Rect("downbuttonrect", self.DownButtonRect);
  v.Rect("activedownbuttonrect", self.ActiveDownButtonRect);
  v.Rect("downdownbuttonrect", self.DownDownButtonRect);
  v.Rect("checkbuttonrect", self.CheckButtonRect);
  v.Rect("activecheckbuttonrect", self.ActiveCheckButtonRect);
  v.Rect("downcheckbuttonrect", self.DownCheckButtonRect);
  v.Text("vscrollbarname", self.VScrollBarName, "vscrollbar");
  v.Text("hscrollbarname", self.HScrollBarName, "hscrollbar");
  v.Text("bothhscrollbarname", self.BothHScrollBarName, "bothhscrollbar");
}

template <class Self, class Visitor>
void CheckListBoxKeys(Self& self, Visitor& v) {
  v.Rect("checkimagerect", self.CheckImageRect);
  v.Rect("itemcheckrect", self.ItemCheckRect);
  v.Rect("uncheckimagerect", self.UnCheckImageRect);
}

template <class Self, class Visitor>
void ComboBoxKeys(Self& self, Visitor& v) {
  v.Rect("itemrect", self.ItemRect);
  v.Rect("focusitemrect", self.FocusItemRect);
  v.Integer("itemleftoffset", self.ItemLeftOffset);
  v.Integer("itemrightoffset", self.ItemRightOffset);
  v.Rect("itemtextrect", self.ItemTextRect);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("focusfontcolor", self.FocusFontColor);
  v.Text("listboxname", self.ListBoxName);
  v.Rect("buttonrect", self.ButtonRect);
  v.Rect("activebuttonrect", self.ActiveButtonRect);
  v.Rect("downbuttonrect", self.DownButtonRect);
  v.Rect("unenabledbuttonrect", self.UnEnabledButtonRect);
  v.Boolean("itemstretcheffect", self.ItemStretchEffect);
  v.Boolean("focusitemstretcheffect", self.FocusItemStretchEffect);
}

template <class Self, class Visitor>
void LabelControlKeys(Self& self, Visitor& v) {
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
}

template <class Self, class Visitor>
void BitLabelControlKeys(Self& self, Visitor& v) {
  v.Rect("skintextrect", self.SkinTextRect);
  v.Integer("symbolwidth", self.SymbolWidth);
  v.Integer("symbolheight", self.SymbolHeight);
  v.Strings("symbols", self.Symbols);
}

template <class Self, class Visitor>
void GaugeControlKeys(Self& self, Visitor& v) {
  v.Rect("progressarea", self.ProgressArea);
  v.Rect("progressrect", self.ProgressRect);
  v.Integer("beginoffset", self.BeginOffset);
  v.Integer("endoffset", self.EndOffset);
  v.Boolean("vertical", self.Vertical);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Boolean("progresstransparent", self.ProgressTransparent);
  v.Color("progresstransparentcolor", self.ProgressTransparentColor);
  v.Boolean("progressstretch", self.ProgressStretch);
}

template <class Self, class Visitor>
void TrackBarControlKeys(Self& self, Visitor& v) {
  v.Rect("trackarea", self.TrackArea);
  v.Rect("buttonrect", self.ButtonRect);
  v.Rect("activebuttonrect", self.ActiveButtonRect);
  v.Boolean("vertical", self.Vertical);
  v.Boolean("buttontransparent", self.ButtonTransparent);
  v.Color("buttontransparentcolor", self.ButtonTransparentColor);
}

template <class Self, class Visitor>
void ScrollBoxControlKeys(Self& self, Visitor& v) {
  v.Integer("bgpictureindex", self.BGPictureIndex, -1);
}

template <class Self, class Visitor>
void ControlBarKeys(Self& self, Visitor& v) {
  v.Rect("itemrect", self.ItemRect);
  v.Integer("bgpictureindex", self.BGPictureIndex, -1);
}

template <class Self, class Visitor>
void StdLabelControlKeys(Self& self, Visitor& v) {
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("activefontcolor", self.ActiveFontColor, 16711680);
}

template <class Self, class Visitor>
void TabControlKeys(Self& self, Visitor& v) {
  v.Rect("tabrect", self.TabRect);
  v.Rect("activetabrect", self.ActiveTabRect);
  v.Rect("focustabrect", self.FocusTabRect);
  v.Rect("mouseintabrect", self.MouseInTabRect);
  v.Rect("clientrect", self.ClientRect);
  v.Integer("bgpictureindex", self.BGPictureIndex, -1);
  v.Point("lefttoppoint", self.LeftTopPoint);
  v.Point("righttoppoint", self.RightTopPoint);
  v.Point("leftbottompoint", self.LeftBottomPoint);
  v.Point("rightbottompoint", self.RightBottomPoint);
  v.Integer("tableftoffset", self.TabLeftOffset);
  v.Integer("tabrightoffset", self.TabRightOffset);
  v.Rect("tabsbgrect", self.TabsBGRect);
  v.Boolean("tabstretcheffect", self.TabStretchEffect);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("activefontcolor", self.ActiveFontColor);
  v.Color("focusfontcolor", self.FocusFontColor);
  v.Color("mouseinfontcolor", self.MouseInFontColor);
  v.Text("updown", self.UpDown);
}

template <class Self, class Visitor>
void GridControlKeys(Self& self, Visitor& v) {
  v.Rect("fixedcellrect", self.FixedCellRect);
  v.Rect("selectcellrect", self.SelectCellRect);
  v.Rect("focuscellrect", self.FocusCellRect);
  v.Integer("fixedcellleftoffset", self.FixedCellLeftOffset);
  v.Integer("fixedcellrightoffset", self.FixedCellRightOffset);
  v.Rect("fixedcelltextrect", self.FixedCellTextRect);
  v.Integer("cellleftoffset", self.CellLeftOffset);
  v.Integer("cellrightoffset", self.CellRightOffset);
  v.Rect("celltextrect", self.CellTextRect);
  v.Color("linescolor", self.LinesColor);
  v.Color("bgcolor", self.BGColor);
  v.Integer("bgpictureindex", self.BGPictureIndex, -1);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("selectfontcolor", self.SelectFontColor);
  v.Color("focusfontcolor", self.FocusFontColor);
  v.Text("fixedfontname", self.FixedFontName, DefaultFontName);
  v.Integer("fixedfontheight", self.FixedFontHeight, DefaultFontHeight);
  v.FontStyles("fixedfontstyle", self.FixedFontStyle);
  v.Color("fixedfontcolor", self.FixedFontColor);
  v.Boolean("cellstretcheffect", self.CellStretchEffect);
  v.Boolean("fixedcellstretcheffect", self.FixedCellStretchEffect);
}

template <class Self, class Visitor>
void MainMenuBarKeys(Self& self, Visitor& v) {
  v.Rect("itemsrect", self.ItemsRect);
  v.Text("menubaritem", self.MenuBarItem);
  v.Text("closebutton", self.CloseButton);
  v.Text("minbutton", self.MinButton);
  v.Text("maxbutton", self.MaxButton);
  v.Text("sysmenubutton", self.SysMenuButton);
  v.Color("trackmarkcolor", self.TrackMarkColor);
  v.Color("trackmarkactivecolor", self.TrackMarkActiveColor);
}

template <class Self, class Visitor>
void TreeViewKeys(Self& self, Visitor& v) {
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("bgcolor", self.BGColor);
}

template <class Self, class Visitor>
void ListViewKeys(Self& self, Visitor& v) {
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("bgcolor", self.BGColor);
}

template <class Self, class Visitor>
void RichEditKeys(Self& self, Visitor& v) {
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("bgcolor", self.BGColor);
}

template <class Self, class Visitor>
void SliderKeys(Self& self, Visitor& v) {
  v.Color("bgcolor", self.BGColor);
  v.Rect("hrulerrect", self.HRulerRect);
  v.Rect("hthumbrect", self.HThumbRect);
  v.Rect("vrulerrect", self.VRulerRect);
  v.Rect("vthumbrect", self.VThumbRect);
  v.Integer("edgesize", self.EdgeSize);
  v.Color("pointscolor", self.PointsColor);
}

template <class Self, class Visitor>
void BevelKeys(Self& self, Visitor& v) {
  v.Color("lightcolor", self.LightColor);
  v.Color("darkcolor", self.DarkColor);
}

template <class Self, class Visitor>
void FrameControlKeys(Self& self, Visitor& v) {
  v.Integer("framescount", self.FramesCount, 1);
  v.Keyword("framesplacement", self.FramesPlacement, "fphorizontal", FramesPlacementFromWord, FramesPlacementWord);
}

template <class Self, class Visitor>
void FrameRegulatorKeys(Self& self, Visitor& v) {
  v.Keyword("kind", self.Kind, "rkround", RegulatorKindFromWord, RegulatorKindWord);
}

}  // namespace

void TskDataSkinControl::LoadFromIni(const core::TMemIniFile& ini) {
  ReadKeys(*this, ini, [](auto& self, auto& v) { ControlKeys(self, v); });
}

void TskDataSkinControl::SaveToIni(core::TMemIniFile& ini) const {
  ini.EraseSection(SectionName);
  WriteKeys(*this, ini, [](auto& self, auto& v) { ControlKeys(self, v); });
}

// Each class runs its parent's operation, then its own key list.
#define OSTVANE_SKIN_CONTROL_KEYS(Class, Parent, Keys)                             \
  void Class::LoadFromIni(const core::TMemIniFile& ini) {                          \
    Parent::LoadFromIni(ini);                                                      \
    ReadKeys(*this, ini, [](auto& self, auto& v) { Keys(self, v); });              \
  }                                                                                \
  void Class::SaveToIni(core::TMemIniFile& ini) const {                            \
    Parent::SaveToIni(ini);                                                        \
    WriteKeys(*this, ini, [](auto& self, auto& v) { Keys(self, v); });             \
  }

OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinCustomControl, TskDataSkinControl, CustomControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinButtonControl, TskDataSkinCustomControl, ButtonControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinMenuButtonControl, TskDataSkinButtonControl, MenuButtonControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinCheckRadioControl, TskDataSkinCustomControl, CheckRadioControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinPanelControl, TskDataSkinCustomControl, PanelControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinExPanelControl, TskDataSkinCustomControl, ExPanelControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinEditControl, TskDataSkinCustomControl, EditControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinMemoControl, TskDataSkinEditControl, MemoControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinSpinEditControl, TskDataSkinCustomControl, SpinEditControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinUpDownControl, TskDataSkinCustomControl, UpDownControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinScrollBarControl, TskDataSkinCustomControl, ScrollBarControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinListBox, TskDataSkinCustomControl, ListBoxKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinCheckListBox, TskDataSkinListBox, CheckListBoxKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinComboBox, TskDataSkinCustomControl, ComboBoxKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinLabelControl, TskDataSkinCustomControl, LabelControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinBitLabelControl, TskDataSkinCustomControl, BitLabelControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinGaugeControl, TskDataSkinCustomControl, GaugeControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinTrackBarControl, TskDataSkinCustomControl, TrackBarControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinScrollBoxControl, TskDataSkinCustomControl, ScrollBoxControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinControlBar, TskDataSkinCustomControl, ControlBarKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinStdLabelControl, TskDataSkinControl, StdLabelControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinTabControl, TskDataSkinControl, TabControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinGridControl, TskDataSkinControl, GridControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinMainMenuBar, TskDataSkinControl, MainMenuBarKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinTreeView, TskDataSkinControl, TreeViewKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinListView, TskDataSkinControl, ListViewKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinRichEdit, TskDataSkinControl, RichEditKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinSlider, TskDataSkinControl, SliderKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinBevel, TskDataSkinControl, BevelKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinFrameControl, TskDataSkinControl, FrameControlKeys)
OSTVANE_SKIN_CONTROL_KEYS(TskDataSkinFrameRegulator, TskDataSkinFrameControl, FrameRegulatorKeys)

#undef OSTVANE_SKIN_CONTROL_KEYS

namespace {

using TControlFactory = std::unique_ptr<TskDataSkinControl> (*)(std::string);

template <class T>
std::unique_ptr<TskDataSkinControl> MakeControl(std::string sectionName) {
  return std::make_unique<T>(std::move(sectionName));
}

struct TControlKind {
  std::string_view Kind;
  TControlFactory Create;
};

constexpr TControlKind ControlKinds[] = {
    {"button", MakeControl<TskDataSkinButtonControl>},
    {"menubutton", MakeControl<TskDataSkinMenuButtonControl>},
    {"checkradio", MakeControl<TskDataSkinCheckRadioControl>},
    {"panel", MakeControl<TskDataSkinPanelControl>},
    {"expanel", MakeControl<TskDataSkinExPanelControl>},
    {"edit", MakeControl<TskDataSkinEditControl>},
    {"memo", MakeControl<TskDataSkinMemoControl>},
    {"spinedit", MakeControl<TskDataSkinSpinEditControl>},
    {"updown", MakeControl<TskDataSkinUpDownControl>},
    {"scrollbar", MakeControl<TskDataSkinScrollBarControl>},
    {"listbox", MakeControl<TskDataSkinListBox>},
    {"checklistbox", MakeControl<TskDataSkinCheckListBox>},
    {"combobox", MakeControl<TskDataSkinComboBox>},
    {"tab", MakeControl<TskDataSkinTabControl>},
    {"grid", MakeControl<TskDataSkinGridControl>},
    {"label", MakeControl<TskDataSkinLabelControl>},
    {"stdlabel", MakeControl<TskDataSkinStdLabelControl>},
    {"bitlabel", MakeControl<TskDataSkinBitLabelControl>},
    {"gauge", MakeControl<TskDataSkinGaugeControl>},
    {"trackbar", MakeControl<TskDataSkinTrackBarControl>},
    {"splitter", MakeControl<TskDataSkinSplitterControl>},
    {"scrollbox", MakeControl<TskDataSkinScrollBoxControl>},
    {"controlbar", MakeControl<TskDataSkinControlBar>},
    {"mainmenubar", MakeControl<TskDataSkinMainMenuBar>},
    {"treeview", MakeControl<TskDataSkinTreeView>},
    {"listview", MakeControl<TskDataSkinListView>},
    {"richedit", MakeControl<TskDataSkinRichEdit>},
    {"slider", MakeControl<TskDataSkinSlider>},
    {"bevel", MakeControl<TskDataSkinBevel>},
    {"frameregulator", MakeControl<TskDataSkinFrameRegulator>},
    {"framegauge", MakeControl<TskDataSkinFrameGauge>},
    {"animate", MakeControl<TskDataSkinAnimateControl>},
    {"switch", MakeControl<TskDataSkinSwitchControl>},
};

}  // namespace

std::unique_ptr<TskDataSkinControl> CreateSkinControl(std::string_view kind, std::string sectionName) {
  for (const TControlKind& entry : ControlKinds) {
    if (entry.Kind == kind) return entry.Create(std::move(sectionName));
  }
  return nullptr;
}

const std::vector<std::string_view>& SkinControlKinds() {
  static const std::vector<std::string_view> kinds = [] {
    std::vector<std::string_view> words;
    for (const TControlKind& entry : ControlKinds) words.push_back(entry.Kind);
    return words;
  }();
  return kinds;
}

void LoadSkinControls(const core::TMemIniFile& ini, TskDataSkinControlList& controls) {
  std::string name;
  std::string kind;
  for (const std::string& entry : detail::ReadListEntries(ini, SkinControlsSection)) {
    detail::SplitEntry(entry, name, kind);
    std::unique_ptr<TskDataSkinControl> control = CreateSkinControl(kind, name);
    if (!control) continue;
    controls.push_back(std::move(control));
    controls.back()->LoadFromIni(ini);
  }
}

void SaveSkinControls(core::TMemIniFile& ini, const TskDataSkinControlList& controls) {
  ini.EraseSection(SkinControlsSection);
  ini.WriteInteger(SkinControlsSection, "count", static_cast<std::int32_t>(controls.size()));
  for (std::size_t i = 0; i < controls.size(); ++i) {
    ini.WriteString(SkinControlsSection, std::to_string(i),
                    controls[i]->SectionName + ":" + std::string(controls[i]->KindWord()));
  }
  for (const auto& control : controls) control->SaveToIni(ini);
}

}  // namespace skin
