#include "skin/data/SkinData.Sections.h"

#include <algorithm>
#include <utility>

#include "core/MemIniFile.h"
#include "skin/data/SkinData.Keys.h"

namespace skin {

using detail::DefaultFontHeight;
using detail::DefaultFontName;
using detail::ReadKeys;
using detail::TSectionKeyReader;
using detail::TSectionKeyWriter;
using detail::WriteKeys;

// ---------------------------------------------------------------------------
// Shared list helpers

namespace detail {

namespace {

// "0", "17": the form IntToStr gives, which is the only form a lookup of the
// index finds ("07" is another key).
bool ParseIndexKey(std::string_view key, std::int32_t& index) {
  if (key.empty() || key.size() > 10) return false;
  if (key.size() > 1 && key.front() == '0') return false;
  std::int64_t value = 0;
  for (char c : key) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value > 2147483647) return false;
  index = static_cast<std::int32_t>(value);
  return true;
}

}  // namespace

std::vector<std::string> ReadListEntries(const core::TMemIniFile& ini, std::string_view section) {
  const std::int32_t count = ini.ReadInteger(section, "count", 0);
  if (count <= 0) return {};
  // One pass over the section; skins list their entries in order, so the
  // sort is rarely needed.
  std::vector<std::pair<std::int32_t, std::string_view>> entries;
  bool ordered = true;
  ini.ForEachValue(section, [&](std::string_view key, std::string_view value) {
    std::int32_t index = 0;
    if (!ParseIndexKey(key, index) || index >= count) return;
    if (!entries.empty() && index <= entries.back().first) ordered = false;
    entries.emplace_back(index, value);
  });
  if (!ordered) {
    // Of a repeated index the first line counts, as a look-up finds it.
    const auto byIndex = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::stable_sort(entries.begin(), entries.end(), byIndex);
    const auto sameIndex = [](const auto& a, const auto& b) { return a.first == b.first; };
    entries.erase(std::unique(entries.begin(), entries.end(), sameIndex), entries.end());
  }
  DescriptionBudget::Charge(entries.size() * DescriptionBudget::EntryCost);
  std::vector<std::string> values;
  values.reserve(entries.size());
  for (const auto& [index, value] : entries) values.emplace_back(value);
  return values;
}

void SplitEntry(std::string_view entry, std::string& name, std::string& kind) {
  std::size_t colon = entry.find(':');
  if (colon == std::string_view::npos) {
    name.clear();
    kind.clear();
    return;
  }
  name = std::string(entry.substr(0, colon));
  kind = std::string(entry.substr(colon + 1));
}

}  // namespace detail

namespace {

bool IsNullPoint(const gfx::Point& point) { return point.X == 0 || point.Y == 0; }

template <class Self, class Visitor>
void FormInfoKeys(Self& self, Visitor& v) {
  v.Point("lefttoppoint", self.LeftTopPoint);
  v.Point("righttoppoint", self.RightTopPoint);
  v.Point("leftbottompoint", self.LeftBottomPoint);
  v.Point("rightbottompoint", self.RightBottomPoint);
  v.Rect("clientrect", self.ClientRect);
  v.Integer("bgpictureindex", self.BGPictureIndex, -1);
  v.Integer("mdibgpictureindex", self.MDIBGPictureIndex, -1);
  v.Boolean("leftstretch", self.LeftStretch);
  v.Boolean("rightstretch", self.RightStretch);
  v.Boolean("topstretch", self.TopStretch);
  v.Boolean("bottomstretch", self.BottomStretch);
  v.Rect("buttonsrect", self.ButtonsRect);
  v.Rect("captionrect", self.CaptionRect);
  v.Integer("buttonsoffset", self.ButtonsOffset);
  v.Boolean("buttonsinleft", self.ButtonsInLeft);
  v.Rect("maskrectarea", self.MaskRectArea);
  v.Point("hittestlefttoppoint", self.HitTestLeftTopPoint);
  v.Point("hittestrighttoppoint", self.HitTestRightTopPoint);
  v.Point("hittestleftbottompoint", self.HitTestLeftBottomPoint);
  v.Point("hittestrightbottompoint", self.HitTestRightBottomPoint);
  v.Point("rollupleftpoint", self.RollUpLeftPoint);
  v.Point("rolluprightpoint", self.RollUpRightPoint);
  v.Rect("mainmenurect", self.MainMenuRect);
  v.Rect("iconrect", self.IconRect);
  v.Boolean("mainmenupopupup", self.MainMenuPopupUp);
  v.Integer("borderwidth", self.BorderWidth);
  v.Integer("cursorindex", self.CursorIndex, -1);
  v.Boolean("autorenderinginactiveimage", self.AutoRenderingInactiveImage);
  v.InactiveEffect("inactiveeffect", self.InactiveEffect);
}

template <class Self, class Visitor>
void StretchKeys(Self& self, Visitor& v) {
  v.Boolean("leftstretch", self.LeftStretch);
  v.Boolean("rightstretch", self.RightStretch);
  v.Boolean("topstretch", self.TopStretch);
  v.Boolean("bottomstretch", self.BottomStretch);
}

template <class Self, class Visitor>
void CornerPointKeys(Self& self, Visitor& v) {
  v.Point("lefttoppoint", self.LeftTopPoint);
  v.Point("righttoppoint", self.RightTopPoint);
  v.Point("leftbottompoint", self.LeftBottomPoint);
  v.Point("rightbottompoint", self.RightBottomPoint);
}

template <class Self, class Visitor>
void PopupWindowKeys(Self& self, Visitor& v) {
  v.Integer("windowpictureindex", self.WindowPictureIndex, -1);
  v.Integer("maskpictureindex", self.MaskPictureIndex, -1);
  CornerPointKeys(self, v);
  v.Integer("cursorindex", self.CursorIndex, -1);
  v.Rect("itemsrect", self.ItemsRect);
  v.Color("scrollmarkercolor", self.ScrollMarkerColor);
  v.Color("scrollmarkeractivecolor", self.ScrollMarkerActiveColor);
  StretchKeys(self, v);
}

template <class Self, class Visitor>
void HintWindowKeys(Self& self, Visitor& v) {
  v.Integer("windowpictureindex", self.WindowPictureIndex, -1);
  v.Integer("maskpictureindex", self.MaskPictureIndex, -1);
  CornerPointKeys(self, v);
  v.Rect("clientrect", self.ClientRect);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  StretchKeys(self, v);
}

template <class Self, class Visitor>
void ObjectKeys(Self& self, Visitor& v) {
  v.Text("hint", self.Hint);
  v.Boolean("rollup", self.RollUp);
  v.Integer("activepictureindex", self.ActivePictureIndex, -1);
  v.Boolean("skinrectinapicture", self.SkinRectInAPicture);
  v.Integer("cursorindex", self.CursorIndex, -1);
  v.Rect("skinrect", self.SkinRect);
  v.Rect("activeskinrect", self.ActiveSkinRect);
  v.Rect("inactiveskinrect", self.InactiveSkinRect);
  v.Boolean("morphing", self.Morphing);
  v.MorphKind("morphkind", self.MorphKind);
}

template <class Self, class Visitor>
void ButtonKeys(Self& self, Visitor& v) {
  v.Rect("downrect", self.DownRect);
  v.Rect("disableskinrsect", self.DisableSkinRect);
  v.Integer("groupindex", self.GroupIndex, -1);
}

template <class Self, class Visitor>
void StdButtonKeys(Self& self, Visitor& v) {
  v.StdCommand("command", self.Command);
  v.Rect("restorerect", self.RestoreRect);
  v.Rect("restoreactiverect", self.RestoreActiveRect);
  v.Rect("restoredownrect", self.RestoreDownRect);
  v.Rect("restoreinactiverect", self.RestoreInactiveRect);
}

template <class Self, class Visitor>
void CaptionKeys(Self& self, Visitor& v) {
  v.Boolean("defaultcaption", self.DefaultCaption);
  v.Rect("textrect", self.TextRect);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("activefontcolor", self.ActiveFontColor);
  v.Alignment("alignment", self.Alignment);
  v.Boolean("shadow", self.Shadow);
  v.Color("shadowcolor", self.ShadowColor);
  v.Boolean("light", self.Light);
  v.Color("lightcolor", self.LightColor);
  v.Color("activelightcolor", self.ActiveLightColor);
  v.Color("activeshadowcolor", self.ActiveShadowColor);
  v.Rect("framerect", self.FrameRect);
  v.Rect("activeframerect", self.ActiveFrameRect);
  v.Rect("frametextrect", self.FrameTextRect);
  v.Integer("frameleftoffset", self.FrameLeftOffset);
  v.Integer("framerightoffset", self.FrameRightOffset);
}

template <class Self, class Visitor>
void MenuItemKeys(Self& self, Visitor& v) {
  v.Integer("itemleftoffset", self.ItemLeftOffset);
  v.Integer("itemrightoffset", self.ItemRightOffset);
  v.Rect("dividerrect", self.DividerRect);
  v.Integer("dividerleftoffset", self.DividerLeftOffset);
  v.Integer("dividerrightoffset", self.DividerRightOffset);
  v.Rect("textrect", self.TextRect);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("activefontcolor", self.ActiveFontColor);
  v.Color("unenabledfontcolor", self.UnEnabledFontColor);
  v.Boolean("stretcheffect", self.StretchEffect);
  v.Boolean("dividerstretcheffect", self.DividerStretchEffect);
}

template <class Self, class Visitor>
void MainMenuItemKeys(Self& self, Visitor& v) {
  v.Integer("itemleftoffset", self.ItemLeftOffset);
  v.Integer("itemrightoffset", self.ItemRightOffset);
  v.Rect("downrect", self.DownRect);
  v.Rect("textrect", self.TextRect);
  v.Text("fontname", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("activefontcolor", self.ActiveFontColor);
  v.Color("downfontcolor", self.DownFontColor);
  // Skins write this key with a capital C; lookups ignore case anyway.
  v.Color("unenabledfontColor", self.UnEnabledFontColor);
  v.Boolean("stretcheffect", self.StretchEffect);
}

template <class Self, class Visitor>
void TrackBarKeys(Self& self, Visitor& v) {
  v.Rect("buttonrect", self.ButtonRect);
  v.Rect("activebuttonrect", self.ActiveButtonRect);
  v.Point("beginpoint", self.BeginPoint);
  v.Point("endpoint", self.EndPoint);
  v.Integer("minvalue", self.MinValue);
  v.Integer("maxvalue", self.MaxValue);
  v.Boolean("mousedownchangevalue", self.MouseDownChangeValue);
  v.Boolean("buttontransparent", self.ButtonTransparent);
  v.Color("buttontransparentcolor", self.ButtonTransparentColor);
}

template <class Self, class Visitor>
void GaugeKeys(Self& self, Visitor& v) {
  v.Integer("minvalue", self.MinValue);
  v.Integer("maxvalue", self.MaxValue);
  v.Keyword("kind", self.Kind, "gkhorizontal", GaugeKindFromWord, GaugeKindWord);
}

template <class Self, class Visitor>
void FrameGaugeKeys(Self& self, Visitor& v) {
  v.Integer("minvalue", self.MinValue);
  v.Integer("maxvalue", self.MaxValue);
  v.Integer("countframes", self.CountFrames);
  v.Keyword("framesplacement", self.FramesPlacement, "fphorizontal", FramesPlacementFromWord,
            FramesPlacementWord);
}

template <class Self, class Visitor>
void FrameRegulatorKeys(Self& self, Visitor& v) {
  FrameGaugeKeys(self, v);
  v.Keyword("kind", self.Kind, "rkround", RegulatorKindFromWord, RegulatorKindWord);
}

template <class Self, class Visitor>
void LabelKeys(Self& self, Visitor& v) {
  // Skins write "fontName"; lookups ignore case.
  v.Text("fontName", self.FontName, DefaultFontName);
  v.Integer("fontheight", self.FontHeight, DefaultFontHeight);
  v.FontStyles("fontstyle", self.FontStyle);
  v.Color("fontcolor", self.FontColor);
  v.Color("activefontcolor", self.ActiveFontColor);
  v.Alignment("alignment", self.Alignment);
  v.Text("textvalue", self.TextValue);
}

template <class Self, class Visitor>
void BitLabelKeys(Self& self, Visitor& v) {
  v.Text("textvalue", self.TextValue);
  v.Integer("symbolwidth", self.SymbolWidth);
  v.Integer("symbolheight", self.SymbolHeight);
  v.Strings("symbols", self.Symbols);
  v.Boolean("transparent", self.Transparent);
  v.Color("transparentcolor", self.TransparentColor, 16711935);
}

template <class Self, class Visitor>
void AnimateKeys(Self& self, Visitor& v) {
  v.Integer("countframes", self.CountFrames, 1);
  v.Boolean("cycle", self.Cycle);
  v.Boolean("buttonstyle", self.ButtonStyle);
  v.Integer("timerinterval", self.TimerInterval, 50);
  v.StdCommand("command", self.Command);
  v.Rect("downskinrect", self.DownSkinRect);
}

template <class Self, class Visitor>
void UserObjectKeys(Self& self, Visitor& v) {
  v.Boolean("rollup", self.RollUp);
  v.Rect("skinrect", self.SkinRect);
  v.Integer("cursorindex", self.CursorIndex, -1);
}

}  // namespace

// ---------------------------------------------------------------------------
// [FORMINFO]

void TskDataSkinFormInfo::LoadFromIni(const core::TMemIniFile& ini, std::string_view maskName) {
  TSectionKeyReader reader(ini, Section);
  FormInfoKeys(*this, reader);
  Adjust(maskName);
}

void TskDataSkinFormInfo::SaveToIni(core::TMemIniFile& ini) const {
  ini.EraseSection(Section);
  TSectionKeyWriter writer(ini, Section);
  FormInfoKeys(*this, writer);
}

void TskDataSkinFormInfo::Adjust(std::string_view maskName) {
  // The mask covers at least the client area, and the hit-test corners
  // default to the picture's corners; both only matter for a shaped frame.
  if (!maskName.empty()) {
    if (MaskRectArea.IsEmpty()) {
      MaskRectArea = ClientRect;
    } else {
      MaskRectArea.Left = std::min(MaskRectArea.Left, ClientRect.Left);
      MaskRectArea.Top = std::min(MaskRectArea.Top, ClientRect.Top);
      MaskRectArea.Right = std::max(MaskRectArea.Right, ClientRect.Right);
      MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClientRect.Bottom);
    }
    if (IsNullPoint(HitTestLeftTopPoint)) HitTestLeftTopPoint = LeftTopPoint;
    if (IsNullPoint(HitTestRightTopPoint)) HitTestRightTopPoint = RightTopPoint;
    if (IsNullPoint(HitTestLeftBottomPoint)) HitTestLeftBottomPoint = LeftBottomPoint;
    if (IsNullPoint(HitTestRightBottomPoint)) HitTestRightBottomPoint = RightBottomPoint;
  }

  // Corner points that share an x or a y with the opposite corner describe a
  // degenerate cut (a skin without points has them all at 0,0); those are
  // left alone. Otherwise the corners may not reach outside the client
  // rectangle, or the frame's bands would overlap the client area.
  if (LeftTopPoint.X == RightBottomPoint.X || LeftTopPoint.Y == RightBottomPoint.Y) return;
  LeftTopPoint.X = std::max(LeftTopPoint.X, ClientRect.Left);
  LeftBottomPoint.X = std::max(LeftBottomPoint.X, ClientRect.Left);
  RightTopPoint.X = std::min(RightTopPoint.X, ClientRect.Right);
  RightBottomPoint.X = std::min(RightBottomPoint.X, ClientRect.Right);
  LeftTopPoint.Y = std::max(LeftTopPoint.Y, ClientRect.Top);
  RightTopPoint.Y = std::max(RightTopPoint.Y, ClientRect.Top);
  LeftBottomPoint.Y = std::min(LeftBottomPoint.Y, ClientRect.Bottom);
  RightBottomPoint.Y = std::min(RightBottomPoint.Y, ClientRect.Bottom);
}

// ---------------------------------------------------------------------------
// [POPUPWINDOW], [HINTWINDOW]

void TskDataSkinPopupWindow::LoadFromIni(const core::TMemIniFile& ini) {
  TSectionKeyReader reader(ini, Section);
  PopupWindowKeys(*this, reader);
}

void TskDataSkinPopupWindow::SaveToIni(core::TMemIniFile& ini) const {
  ini.EraseSection(Section);
  TSectionKeyWriter writer(ini, Section);
  PopupWindowKeys(*this, writer);
}

void TskDataSkinHintWindow::LoadFromIni(const core::TMemIniFile& ini) {
  TSectionKeyReader reader(ini, Section);
  HintWindowKeys(*this, reader);
}

void TskDataSkinHintWindow::SaveToIni(core::TMemIniFile& ini) const {
  ini.EraseSection(Section);
  TSectionKeyWriter writer(ini, Section);
  HintWindowKeys(*this, writer);
}

// ---------------------------------------------------------------------------
// [SKINAREAS]

void LoadSkinAreas(const core::TMemIniFile& ini, std::vector<TskDataSkinArea>& areas) {
  for (const std::string& entry : detail::ReadListEntries(ini, SkinAreasSection)) {
    std::size_t colon = entry.find(':');
    if (colon == std::string::npos) continue;
    std::string name = entry.substr(0, colon);
    gfx::Rect rect = ParseRect(std::string_view(entry).substr(colon + 1), SkinAreasSection, name);
    areas.push_back(TskDataSkinArea{std::move(name), rect});
  }
}

void SaveSkinAreas(core::TMemIniFile& ini, const std::vector<TskDataSkinArea>& areas) {
  ini.EraseSection(SkinAreasSection);
  ini.WriteInteger(SkinAreasSection, "count", static_cast<std::int32_t>(areas.size()));
  for (std::size_t i = 0; i < areas.size(); ++i) {
    const gfx::Rect& r = areas[i].AreaRect;
    ini.WriteString(SkinAreasSection, std::to_string(i),
                    areas[i].SectionName + ":" + std::to_string(r.Left) + "," + std::to_string(r.Top) +
                        "," + std::to_string(r.Right) + "," + std::to_string(r.Bottom));
  }
}

// ---------------------------------------------------------------------------
// Skin objects

void TskDataSkinObject::LoadFromIni(const core::TMemIniFile& ini) {
  ReadKeys(*this, ini, [](auto& self, auto& v) { ObjectKeys(self, v); });
}

void TskDataSkinObject::SaveToIni(core::TMemIniFile& ini) const {
  ini.EraseSection(SectionName);
  WriteKeys(*this, ini, [](auto& self, auto& v) { ObjectKeys(self, v); });
}

// Each class runs its parent's operation, then its own key list.
#define OSTVANE_SKIN_OBJECT_KEYS(Class, Parent, Keys)                              \
  void Class::LoadFromIni(const core::TMemIniFile& ini) {                          \
    Parent::LoadFromIni(ini);                                                      \
    ReadKeys(*this, ini, [](auto& self, auto& v) { Keys(self, v); });              \
  }                                                                                \
  void Class::SaveToIni(core::TMemIniFile& ini) const {                            \
    Parent::SaveToIni(ini);                                                        \
    WriteKeys(*this, ini, [](auto& self, auto& v) { Keys(self, v); });             \
  }

OSTVANE_SKIN_OBJECT_KEYS(TskDataSkinButton, TskDataSkinObject, ButtonKeys)
OSTVANE_SKIN_OBJECT_KEYS(TskDataSkinStdButton, TskDataSkinButton, StdButtonKeys)
OSTVANE_SKIN_OBJECT_KEYS(TskDataSkinCaption, TskDataSkinObject, CaptionKeys)
OSTVANE_SKIN_OBJECT_KEYS(TskDataSkinMenuItem, TskDataSkinObject, MenuItemKeys)
OSTVANE_SKIN_OBJECT_KEYS(TskDataSkinMainMenuItem, TskDataSkinObject, MainMenuItemKeys)
OSTVANE_SKIN_OBJECT_KEYS(TskDataSkinTrackBar, TskDataSkinObject, TrackBarKeys)
OSTVANE_SKIN_OBJECT_KEYS(TskDataSkinGauge, TskDataSkinObject, GaugeKeys)
OSTVANE_SKIN_OBJECT_KEYS(TskDataSkinFrameGaugeObject, TskDataSkinObject, FrameGaugeKeys)
OSTVANE_SKIN_OBJECT_KEYS(TskDataSkinFrameRegulatorObject, TskDataSkinObject, FrameRegulatorKeys)
OSTVANE_SKIN_OBJECT_KEYS(TskDataSkinLabel, TskDataSkinObject, LabelKeys)
OSTVANE_SKIN_OBJECT_KEYS(TskDataSkinBitLabel, TskDataSkinObject, BitLabelKeys)

#undef OSTVANE_SKIN_OBJECT_KEYS

void TskDataSkinAnimate::LoadFromIni(const core::TMemIniFile& ini) {
  TskDataSkinObject::LoadFromIni(ini);
  ReadKeys(*this, ini, [](auto& self, auto& v) { AnimateKeys(self, v); });
  // Frames replace each other; a morph between them has no meaning.
  Morphing = false;
}

void TskDataSkinAnimate::SaveToIni(core::TMemIniFile& ini) const {
  TskDataSkinObject::SaveToIni(ini);
  WriteKeys(*this, ini, [](auto& self, auto& v) { AnimateKeys(self, v); });
}

void TskDataUserObject::LoadFromIni(const core::TMemIniFile& ini) {
  ReadKeys(*this, ini, [](auto& self, auto& v) { UserObjectKeys(self, v); });
}

void TskDataUserObject::SaveToIni(core::TMemIniFile& ini) const {
  ini.EraseSection(SectionName);
  WriteKeys(*this, ini, [](auto& self, auto& v) { UserObjectKeys(self, v); });
}

namespace {

using TObjectFactory = std::unique_ptr<TskDataSkinObject> (*)(std::string);

template <class T>
std::unique_ptr<TskDataSkinObject> MakeObject(std::string sectionName) {
  return std::make_unique<T>(std::move(sectionName));
}

struct TObjectKind {
  std::string_view Kind;
  TObjectFactory Create;
};

constexpr TObjectKind ObjectKinds[] = {
    {"menuitem", MakeObject<TskDataSkinMenuItem>},
    {"mainmenubaritem", MakeObject<TskDataSkinMainMenuBarItem>},
    {"mainmenuitem", MakeObject<TskDataSkinMainMenuItem>},
    {"stdbutton", MakeObject<TskDataSkinStdButton>},
    {"mainmenubarbutton", MakeObject<TskDataSkinMainMenuBarButton>},
    {"button", MakeObject<TskDataSkinButton>},
    {"caption", MakeObject<TskDataSkinCaption>},
    {"trackbar", MakeObject<TskDataSkinTrackBar>},
    {"gauge", MakeObject<TskDataSkinGauge>},
    {"framegauge", MakeObject<TskDataSkinFrameGaugeObject>},
    {"frameregulator", MakeObject<TskDataSkinFrameRegulatorObject>},
    {"label", MakeObject<TskDataSkinLabel>},
    {"bitlabel", MakeObject<TskDataSkinBitLabel>},
    {"switch", MakeObject<TskDataSkinSwitch>},
    {"animate", MakeObject<TskDataSkinAnimate>},
    {"userobject", MakeObject<TskDataUserObject>},
};

}  // namespace

std::unique_ptr<TskDataSkinObject> CreateSkinObject(std::string_view kind, std::string sectionName) {
  for (const TObjectKind& entry : ObjectKinds) {
    if (entry.Kind == kind) return entry.Create(std::move(sectionName));
  }
  return nullptr;
}

const std::vector<std::string_view>& SkinObjectKinds() {
  static const std::vector<std::string_view> kinds = [] {
    std::vector<std::string_view> words;
    for (const TObjectKind& entry : ObjectKinds) words.push_back(entry.Kind);
    return words;
  }();
  return kinds;
}

void LoadSkinObjects(const core::TMemIniFile& ini, TskDataSkinObjectList& objects) {
  std::string name;
  std::string kind;
  for (const std::string& entry : detail::ReadListEntries(ini, SkinObjectsSection)) {
    detail::SplitEntry(entry, name, kind);
    std::unique_ptr<TskDataSkinObject> object = CreateSkinObject(kind, name);
    if (!object) continue;
    objects.push_back(std::move(object));
    objects.back()->LoadFromIni(ini);
  }
}

void SaveSkinObjects(core::TMemIniFile& ini, const TskDataSkinObjectList& objects) {
  ini.EraseSection(SkinObjectsSection);
  ini.WriteInteger(SkinObjectsSection, "count", static_cast<std::int32_t>(objects.size()));
  for (std::size_t i = 0; i < objects.size(); ++i) {
    ini.WriteString(SkinObjectsSection, std::to_string(i),
                    objects[i]->SectionName + ":" + std::string(objects[i]->KindWord()));
  }
  for (const auto& object : objects) object->SaveToIni(ini);
}

}  // namespace skin
