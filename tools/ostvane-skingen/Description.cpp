#include "Description.h"

#include "Layout.h"
#include "core/Encoding.h"

namespace skingen {

Section& Section::Text(std::string_view key, std::string_view value) {
  FKeys.emplace_back(std::string(key), std::string(value));
  return *this;
}

Section& Section::Int(std::string_view key, int value) { return Text(key, std::to_string(value)); }

Section& Section::Color(std::string_view key, gfx::Color value) {
  return Text(key, std::to_string(value));
}

Section& Section::Rect(std::string_view key, const gfx::Rect& r) {
  return Text(key, std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
                       "," + std::to_string(r.Bottom));
}

Section& Section::Point(std::string_view key, const gfx::Point& p) {
  return Text(key, std::to_string(p.X) + "," + std::to_string(p.Y));
}

Section& Description::Add(std::string name) { return FSections.emplace_back(std::move(name)); }

std::string Description::Utf8Text() const {
  std::string text;
  for (std::size_t i = 0; i < FSections.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += "[" + FSections[i].Name() + "]\r\n";
    for (const auto& [key, value] : FSections[i].Keys()) text += key + "=" + value + "\r\n";
  }
  return text;
}

namespace {

using namespace layout;

constexpr int Controls = ControlsPictureIndex;
constexpr gfx::Color Black = 0;
constexpr gfx::Color White = 16777215;
constexpr gfx::Color Grey = 8421504;
constexpr gfx::Color LightGrey = 13948116;
constexpr std::string_view SongTi = "宋体";
constexpr gfx::Rect NoRect{};
constexpr gfx::Point NoPoint{};

// --- key groups shared by several classes ---------------------------------

Section& Root(Section& s, int picture, const gfx::Rect& skinRect) {
  return s.Int("pictureindex", picture).Int("maskpictureindex", -1).Int("cursorindex", -1).Rect("skinrect", skinRect);
}

Section& Cut(Section& s, gfx::Point leftTop, gfx::Point rightTop, gfx::Point leftBottom, gfx::Point rightBottom,
             const gfx::Rect& client) {
  return s.Point("lefttoppoint", leftTop)
      .Point("righttoppoint", rightTop)
      .Point("leftbottompoint", leftBottom)
      .Point("rightbottompoint", rightBottom)
      .Rect("clientrect", client)
      .Bool("stretcheffect", false);
}

Section& Font(Section& s, std::string_view style = "", gfx::Color color = Black, int height = 12,
              std::string_view prefix = "") {
  const std::string p(prefix);
  return s.Text(p + "fontname", SongTi).Int(p + "fontheight", height).Text(p + "fontstyle", style).Color(
      p + "fontcolor", color);
}

Section& Morph(Section& s) { return s.Bool("morphing", false).Text("morphkind", "mkdefault"); }

// The panel keys after the cut, and the two roll-up markers every panel
// section carries.
Section& PanelKeys(Section& s, const gfx::Rect& caption, std::string_view alignment, std::string_view style) {
  s.Int("bgpictureindex", -1).Rect("captionrect", caption).Text("alignment", alignment);
  Font(s, style);
  return s;
}

Section& RollUpMarkers(Section& s) {
  return s.Rect("rollupmarkerrect", RollUpMarker).Rect("restoremarkerrect", RestoreMarker);
}

// --- window-level sections -------------------------------------------------

void AddHead(Description& d) {
  d.Add("VERSION")
      .Text("skinname", "Ostvane 蓝灰")
      .Text("skinauthor", "Ostvane")
      .Text("authoremail", "")
      .Text("authorurl", "")
      .Text("skincomments", "Ostvane 的内置皮肤：蓝灰色边框，渐变标题栏。")
      .Int("ver", 2);

  d.Add("PICTURES")
      .Text("picture", "main.bmp")
      .Text("mask", "mask.bmp")
      .Text("rolluppicture", "")
      .Text("rollupmask", "")
      .Int("activepicturescount", 8)
      .Text("0", "active.BMP")
      .Text("1", "pw.bmp")
      .Text("2", "menuitems.bmp")
      .Text("3", "hw.bmp")
      .Text("4", "controls.bmp")
      .Text("5", "grids.bmp")
      .Text("6", "pwmask.bmp")
      .Text("7", "hwmask.bmp");

  d.Add("CURSORS").Int("startcursorindex", 0).Int("cursorscount", 0);

  d.Add("FORMINFO")
      .Point("lefttoppoint", FrameLeftTop)
      .Point("righttoppoint", FrameRightTop)
      .Point("leftbottompoint", FrameLeftBottom)
      .Point("rightbottompoint", FrameRightBottom)
      .Rect("clientrect", FrameClient)
      .Int("bgpictureindex", -1)
      .Rect("maskrectarea", FrameMaskArea)
      .Point("hittestlefttoppoint", FrameHitLeftTop)
      .Point("hittestrighttoppoint", FrameHitRightTop)
      .Point("hittestleftbottompoint", FrameHitLeftBottom)
      .Point("hittestrightbottompoint", FrameHitRightBottom)
      .Point("rollupleftpoint", FrameRollUpLeft)
      .Point("rolluprightpoint", FrameRollUpRight)
      .Rect("mainmenurect", NoRect)
      .Rect("iconrect", NoRect)
      .Bool("mainmenupopupup", false)
      .Int("borderwidth", 3)
      .Int("cursorindex", -1);

  d.Add("POPUPWINDOW")
      .Int("windowpictureindex", PopupPictureIndex)
      .Int("maskpictureindex", PopupMaskPictureIndex)
      .Point("lefttoppoint", PopupLeftTop)
      .Point("righttoppoint", PopupRightTop)
      .Point("leftbottompoint", PopupLeftBottom)
      .Point("rightbottompoint", PopupRightBottom)
      .Int("cursorindex", -1)
      .Rect("itemsrect", PopupItems)
      .Color("scrollmarkercolor", Grey)
      .Color("scrollmarkeractivecolor", Black);

  Section& hint = d.Add("HINTWINDOW");
  hint.Int("windowpictureindex", HintPictureIndex)
      .Int("maskpictureindex", HintMaskPictureIndex)
      .Point("lefttoppoint", HintLeftTop)
      .Point("righttoppoint", HintRightTop)
      .Point("leftbottompoint", HintLeftBottom)
      .Point("rightbottompoint", HintRightBottom)
      .Rect("clientrect", HintClient);
  Font(hint);

  d.Add("SKINAREAS").Int("count", 0);
}

// --- skin objects ------------------------------------------------------------

struct ObjectEntry {
  const char* Name;
  const char* Kind;
};

constexpr ObjectEntry Objects[] = {
    {"MENUITEM", "menuitem"},
    {"caption1", "caption"},
    {"closebutton", "stdbutton"},
    {"minimizebutton", "stdbutton"},
    {"maximizebutton", "stdbutton"},
    {"rollupbutton", "stdbutton"},
    {"mainmenubaritem", "mainmenubaritem"},
    {"sysmenubutton", "stdbutton"},
    {"menubarsysmenubutton", "mainmenubarbutton"},
    {"menubarclosebutton", "mainmenubarbutton"},
    {"menubarmaxbutton", "mainmenubarbutton"},
    {"menubarminbutton", "mainmenubarbutton"},
};

Section& ObjectBase(Section& s, int activePicture, bool inActivePicture, const gfx::Rect& skinRect,
                    const gfx::Rect& activeRect) {
  return Morph(s.Text("hint", "")
                   .Bool("rollup", false)
                   .Int("activepictureindex", activePicture)
                   .Bool("skinrectinapicture", inActivePicture)
                   .Int("cursorindex", -1)
                   .Rect("skinrect", skinRect)
                   .Rect("activeskinrect", activeRect)
                   .Rect("inactiveskinrect", NoRect));
}

struct RestoreLooks {
  gfx::Rect Normal, Hot, Down;
};

void StdButton(Description& d, const char* name, const gfx::Rect& skinRect, bool inActivePicture,
               const gfx::Rect& hot, const gfx::Rect& down, const gfx::Rect& disabled, const char* command,
               const RestoreLooks& restore = {}) {
  Section& s = d.Add(name);
  ObjectBase(s, ActivePictureIndex, inActivePicture, skinRect, hot);
  s.Rect("downrect", down)
      .Rect("disableskinrsect", disabled)
      .Int("groupindex", -1)
      .Text("command", command)
      .Rect("restorerect", restore.Normal)
      .Rect("restoreactiverect", restore.Hot)
      .Rect("restoredownrect", restore.Down)
      .Rect("restoreinactiverect", NoRect);
}

void AddObjects(Description& d) {
  Section& list = d.Add("SKINOBJECTS");
  list.Int("count", int(std::size(Objects)));
  for (std::size_t i = 0; i < std::size(Objects); ++i) {
    list.Text(std::to_string(i), std::string(Objects[i].Name) + ":" + Objects[i].Kind);
  }
}

void AddObjectSections(Description& d) {
  Section& item = d.Add("MENUITEM");
  ObjectBase(item, MenuItemsPictureIndex, true, MenuItemNormal, MenuItemHot);
  item.Int("itemleftoffset", MenuItemEndWidth)
      .Int("itemrightoffset", MenuItemEndWidth)
      .Rect("dividerrect", MenuItemDivider)
      .Int("dividerleftoffset", MenuDividerEndWidth)
      .Int("dividerrightoffset", MenuDividerEndWidth)
      .Rect("textrect", MenuItemTextRelative);
  Font(item).Color("activefontcolor", White).Color("unenabledfontcolor", Grey);
  item.Bool("stretcheffect", false).Bool("dividerstretcheffect", false);

  Section& caption = d.Add("caption1");
  ObjectBase(caption, -1, false, CaptionRect, NoRect);
  caption.Bool("defaultcaption", true).Rect("textrect", CaptionTextRelative);
  Font(caption, "fsbold", LightGrey)
      .Color("activefontcolor", White)
      .Text("alignment", "taleftjustify")
      .Bool("shadow", true)
      .Color("shadowcolor", Black)
      .Bool("light", false)
      .Color("lightcolor", Black)
      .Color("activelightcolor", Black)
      .Color("activeshadowcolor", Black)
      .Rect("framerect", NoRect)
      .Rect("activeframerect", NoRect)
      .Rect("frametextrect", NoRect)
      .Int("frameleftoffset", 0)
      .Int("framerightoffset", 0);

  const RestoreLooks windowRestore{CaptionLook(LookNormalX, RestoreLooksY), CaptionLook(LookHotX, RestoreLooksY),
                                   CaptionLook(LookDownX, RestoreLooksY)};
  const RestoreLooks rollDown{CaptionLook(LookNormalX, RollDownLooksY), CaptionLook(LookHotX, RollDownLooksY),
                              CaptionLook(LookDownX, RollDownLooksY)};
  StdButton(d, "closebutton", CloseButtonRect, false, CaptionLook(LookHotX, CloseLooksY),
            CaptionLook(LookDownX, CloseLooksY), CaptionLook(LookDisabledX, CloseLooksY), "cmclose");
  StdButton(d, "minimizebutton", MinimizeButtonRect, false, CaptionLook(LookHotX, MinimizeLooksY),
            CaptionLook(LookDownX, MinimizeLooksY), CaptionLook(LookDisabledX, MinimizeLooksY), "cmminimize",
            windowRestore);
  StdButton(d, "maximizebutton", MaximizeButtonRect, false, CaptionLook(LookHotX, MaximizeLooksY),
            CaptionLook(LookDownX, MaximizeLooksY), CaptionLook(LookDisabledX, MaximizeLooksY), "cmmaximize",
            windowRestore);
  StdButton(d, "rollupbutton", RollUpButtonRect, false, CaptionLook(LookHotX, RollUpLooksY),
            CaptionLook(LookDownX, RollUpLooksY), CaptionLook(LookDisabledX, RollUpLooksY), "cmrollup", rollDown);

  Section& bar = d.Add("mainmenubaritem");
  ObjectBase(bar, MenuItemsPictureIndex, true, MenuBarItemNormal, MenuBarItemHot);
  bar.Int("itemleftoffset", MenuBarItemEndWidth)
      .Int("itemrightoffset", MenuBarItemEndWidth)
      .Rect("downrect", MenuBarItemPressed)
      .Rect("textrect", MenuBarItemTextRelative);
  Font(bar)
      .Color("activefontcolor", Black)
      .Color("downfontcolor", White)
      .Color("unenabledfontColor", Grey)
      .Bool("stretcheffect", false);

  StdButton(d, "sysmenubutton", SysMenuRect, false, SysMenuHot, SysMenuPressed, SysMenuDisabled, "cmsysmenu");

  struct MenuBarButton {
    const char* Name;
    int Y;
    const char* Command;
  };
  for (const MenuBarButton& b : {MenuBarButton{"menubarsysmenubutton", MenuBarSysMenuY, "cmsysmenu"},
                                 MenuBarButton{"menubarclosebutton", MenuBarCloseY, "cmclose"},
                                 MenuBarButton{"menubarmaxbutton", MenuBarMaxY, "cmmaximize"},
                                 MenuBarButton{"menubarminbutton", MenuBarMinY, "cmminimize"}}) {
    StdButton(d, b.Name, MenuBarLook(0, b.Y), true, MenuBarLook(1, b.Y), MenuBarLook(2, b.Y), MenuBarLook(3, b.Y),
              b.Command);
  }
}

// --- control sections ----------------------------------------------------------

struct ControlEntry {
  const char* Name;
  const char* Kind;
};

constexpr ControlEntry ControlList[] = {
    {"button", "button"},
    {"toolpanel", "panel"},
    {"toolbutton", "button"},
    {"checkbox", "checkradio"},
    {"gauge", "gauge"},
    {"vgauge", "gauge"},
    {"radiobox", "checkradio"},
    {"panel", "panel"},
    {"label", "label"},
    {"trackbar", "trackbar"},
    {"htrackbar", "trackbar"},
    {"grid", "grid"},
    {"tab", "tab"},
    {"edit", "edit"},
    {"memo", "memo"},
    {"hscrollbar", "scrollbar"},
    {"vscrollbar", "scrollbar"},
    {"listbox", "listbox"},
    {"combobox", "combobox"},
    {"checklistbox", "checklistbox"},
    {"spinedit", "spinedit"},
    {"groupbox", "panel"},
    {"stdlabel", "stdlabel"},
    {"statuspanel", "label"},
    {"statusbar", "panel"},
    {"buttonedit", "edit"},
    {"vupdown", "updown"},
    {"hupdown", "updown"},
    {"captionlistbox", "listbox"},
    {"captionchecklistbox", "checklistbox"},
    {"captioncombobox", "combobox"},
    {"controlbar", "controlbar"},
    {"mainmenubar", "mainmenubar"},
    {"vsplitter", "splitter"},
    {"hsplitter", "splitter"},
    {"resizebutton", "button"},
    {"bothhscrollbar", "scrollbar"},
    {"rolluppanel", "panel"},
    {"bigtoolpanel", "panel"},
    {"bigtoolbutton", "button"},
    {"toolmenubutton", "menubutton"},
    {"toolmenutrackbutton", "menubutton"},
    {"bigtoolmenubutton", "menubutton"},
    {"bigtoolmenutrackbutton", "menubutton"},
    {"scrollbox", "scrollbox"},
    {"treeview", "treeview"},
    {"listview", "listview"},
    {"statusgauge", "gauge"},
    {"richedit", "richedit"},
    {"expanel", "expanel"},
    {"header", "header"},
};

void AddControls(Description& d) {
  Section& list = d.Add("SKINCONTROLS");
  list.Int("count", int(std::size(ControlList)));
  for (std::size_t i = 0; i < std::size(ControlList); ++i) {
    list.Text(std::to_string(i), std::string(ControlList[i].Name) + ":" + ControlList[i].Kind);
  }
}

struct ButtonLooks {
  gfx::Rect Normal, Hot, Down;
};

// A push-button section of any size: root, cut, font and looks.
Section& ButtonSection(Description& d, const char* name, const ButtonLooks& looks, gfx::Point leftTop,
                       gfx::Point rightTop, gfx::Point leftBottom, gfx::Point rightBottom, const gfx::Rect& client,
                       std::string_view disabledColor = "8421504") {
  Section& s = d.Add(name);
  Root(s, Controls, looks.Normal);
  Cut(s, leftTop, rightTop, leftBottom, rightBottom, client);
  Font(s).Color("activefontcolor", Black).Text("disabledfontcolor", disabledColor).Color("downfontcolor", Black);
  Morph(s).Rect("activeskinrect", looks.Hot).Rect("downskinrect", looks.Down).Rect("disabledskinrect", NoRect);
  return s;
}

Section& PanelSection(Description& d, const char* name, const gfx::Rect& skinRect, gfx::Point leftTop,
                      gfx::Point rightTop, gfx::Point leftBottom, gfx::Point rightBottom, const gfx::Rect& client,
                      const gfx::Rect& caption, std::string_view style) {
  Section& s = d.Add(name);
  Root(s, Controls, skinRect);
  Cut(s, leftTop, rightTop, leftBottom, rightBottom, client);
  PanelKeys(s, caption, "taleftjustify", style);
  return s;
}

struct ArrowLooks {
  gfx::Rect UpButton, UpHot, UpDown, DownButton, DownHot, DownDown;
};

Section& Arrows(Section& s, const ArrowLooks& a) {
  return s.Rect("upbuttonrect", a.UpButton)
      .Rect("activeupbuttonrect", a.UpHot)
      .Rect("downupbuttonrect", a.UpDown)
      .Rect("downbuttonrect", a.DownButton)
      .Rect("activedownbuttonrect", a.DownHot)
      .Rect("downdownbuttonrect", a.DownDown);
}

Section& ListBoxKeys(Section& s, const gfx::Rect& caption) {
  s.Rect("itemrect", ListItem)
      .Rect("activeitemrect", ListItemSelected)
      .Rect("focusitemrect", ListItemFocused)
      .Int("itemleftoffset", ListItemEndWidth)
      .Int("itemrightoffset", ListItemEndWidth)
      .Rect("itemtextrect", ListItemTextRelative);
  Font(s).Color("activefontcolor", White).Color("focusfontcolor", White).Rect("captionrect", caption);
  Font(s, "fsbold", Black, 12, "caption");
  Arrows(s, {NoRect, NoRect, NoRect, NoRect, NoRect, NoRect});
  return s.Rect("checkbuttonrect", NoRect)
      .Rect("activecheckbuttonrect", NoRect)
      .Rect("downcheckbuttonrect", NoRect)
      .Text("vscrollbarname", "vscrollbar")
      .Text("hscrollbarname", "hscrollbar")
      .Text("bothhscrollbarname", "bothhscrollbar");
}

// A list box whose items carry a check mark.
Section& CheckListBoxKeys(Section& s, const gfx::Rect& caption) {
  return ListBoxKeys(s, caption)
      .Rect("checkimagerect", CheckMarkOn)
      .Rect("itemcheckrect", ListItemCheckRelative)
      .Rect("uncheckimagerect", CheckMarkOff);
}

Section& ComboKeys(Section& s) {
  s.Rect("itemrect", ListItem)
      .Rect("focusitemrect", ListItemSelected)
      .Int("itemleftoffset", ListItemEndWidth)
      .Int("itemrightoffset", ListItemEndWidth)
      .Rect("itemtextrect", ListItemTextRelative);
  Font(s).Color("focusfontcolor", White);
  return s.Text("listboxname", "listbox")
      .Rect("buttonrect", ComboButton)
      .Rect("activebuttonrect", ComboButtonHot)
      .Rect("downbuttonrect", ComboButtonPressed)
      .Rect("unenabledbuttonrect", ComboButtonDisabled)
      .Bool("itemstretcheffect", false)
      .Bool("focusitemstretcheffect", false);
}

Section& GaugeSection(Description& d, const char* name, bool vertical) {
  Section& s = d.Add(name);
  if (vertical) {
    Root(s, Controls, VGauge);
    Cut(s, VGaugeLeftTop, NoPoint, VGaugeLeftBottom, NoPoint, VGaugeClient);
    s.Rect("progressarea", VGaugeClient).Rect("progressrect", VGaugeProgress);
  } else {
    Root(s, Controls, Gauge);
    Cut(s, GaugeLeftTop, GaugeRightTop, NoPoint, NoPoint, GaugeClient);
    s.Rect("progressarea", GaugeClient).Rect("progressrect", GaugeProgress);
  }
  s.Int("beginoffset", 0).Int("endoffset", 0).Bool("vertical", vertical);
  Font(s);
  return s.Bool("progresstransparent", false).Color("progresstransparentcolor", Black).Bool("progressstretch", false);
}

Section& TrackBarSection(Description& d, const char* name, bool vertical) {
  Section& s = d.Add(name);
  if (vertical) {
    Root(s, Controls, VTrackBar);
    Cut(s, VTrackLeftTop, NoPoint, VTrackLeftBottom, NoPoint, VTrackClient);
    s.Rect("trackarea", VTrackArea).Rect("buttonrect", VTrackThumb).Rect("activebuttonrect", VTrackThumbHot);
  } else {
    Root(s, Controls, HTrackBar);
    Cut(s, HTrackLeftTop, HTrackRightTop, NoPoint, NoPoint, HTrackClient);
    s.Rect("trackarea", HTrackArea).Rect("buttonrect", HTrackThumb).Rect("activebuttonrect", HTrackThumbHot);
  }
  return s.Bool("vertical", vertical).Bool("buttontransparent", false).Color("buttontransparentcolor", Black);
}

// Sections of the classes that keep only a font and a background colour.
Section& ViewSection(Description& d, const char* name) {
  Section& s = d.Add(name);
  Root(s, Controls, FrameBox);
  return Font(s).Color("bgcolor", White);
}

void AddControlSections(Description& d) {
  ButtonSection(d, "button", {ButtonNormal, ButtonHot, ButtonPressed}, ButtonLeftTop, ButtonRightTop, NoPoint,
                NoPoint, ButtonClient);

  Section& toolPanel = PanelSection(d, "toolpanel", ToolPanel, ToolPanelLeftTop, ToolPanelRightTop,
                                    ToolPanelLeftBottom, ToolPanelRightBottom, ToolPanelClient, NoRect, "");
  RollUpMarkers(toolPanel);

  ButtonSection(d, "toolbutton", {ToolButtonNormal, ToolButtonHot, ToolButtonPressed}, ToolButtonLeftTop,
                ToolButtonRightTop, NoPoint, NoPoint, ToolButtonClient);

  Section& check = d.Add("checkbox");
  Root(check, Controls, CheckFrame);
  Cut(check, CheckLeftTop, CheckRightTop, NoPoint, NoPoint, CheckClient);
  Font(check).Color("activefontcolor", Black);
  Morph(check)
      .Rect("activeskinrect", CheckFrameHot)
      .Rect("checkimagearea", CheckImageArea)
      .Rect("textarea", CheckTextArea)
      .Rect("checkimagerect", CheckMarkOn)
      .Rect("uncheckimagerect", CheckMarkOff);

  GaugeSection(d, "gauge", false);
  GaugeSection(d, "vgauge", true);

  Section& radio = d.Add("radiobox");
  Root(radio, Controls, CheckFrame);
  Cut(radio, CheckLeftTop, CheckRightTop, NoPoint, NoPoint, CheckClient);
  Font(radio).Color("activefontcolor", Black).Color("unenabledfontcolor", Grey).Color("framefontcolor", Black);
  Morph(radio)
      .Rect("activeskinrect", CheckFrameHot)
      .Rect("checkimagearea", CheckImageArea)
      .Rect("textarea", CheckTextArea)
      .Rect("checkimagerect", RadioMarkOn)
      .Rect("uncheckimagerect", RadioMarkOff)
      .Rect("activecheckimagerect", RadioMarkOn)
      .Rect("activeuncheckimagerect", RadioMarkOff)
      .Rect("unenabledcheckimagerect", RadioMarkOn)
      .Rect("unenableduncheckimagerect", RadioMarkOff);

  Section& panel = PanelSection(d, "panel", Panel, PanelLeftTop, PanelRightTop, PanelLeftBottom, PanelRightBottom,
                                PanelClient, NoRect, "");
  RollUpMarkers(panel);

  Section& label = d.Add("label");
  Root(label, -1, NoRect);
  Cut(label, NoPoint, NoPoint, NoPoint, NoPoint, NoRect);
  Font(label);

  TrackBarSection(d, "trackbar", true);
  TrackBarSection(d, "htrackbar", false);

  Section& grid = d.Add("grid");
  Root(grid, GridsPictureIndex, NoRect);
  grid.Rect("fixedcellrect", GridFixedCell)
      .Rect("selectcellrect", GridSelectCell)
      .Rect("focuscellrect", GridFocusCell)
      .Int("fixedcellleftoffset", 2)
      .Int("fixedcellrightoffset", 2)
      .Rect("fixedcelltextrect", GridCellTextRelative)
      .Int("cellleftoffset", 2)
      .Int("cellrightoffset", 2)
      .Rect("celltextrect", GridCellTextRelative)
      .Color("linescolor", gfx::MakeColor(0xC9, 0xD2, 0xDC))
      .Color("bgcolor", White)
      .Int("bgpictureindex", -1);
  Font(grid).Color("selectfontcolor", White).Color("focusfontcolor", White);
  Font(grid, "", Black, 12, "fixed");
  grid.Bool("cellstretcheffect", false).Bool("fixedcellstretcheffect", false);

  Section& tab = d.Add("tab");
  Root(tab, Controls, FrameBox);
  tab.Rect("tabrect", TabNormal)
      .Rect("activetabrect", TabActive)
      .Rect("focustabrect", TabFocus)
      .Rect("mouseintabrect", TabHot)
      .Rect("clientrect", TabClient)
      .Int("bgpictureindex", -1)
      .Point("lefttoppoint", TabLeftTop)
      .Point("righttoppoint", TabRightTop)
      .Point("leftbottompoint", TabLeftBottom)
      .Point("rightbottompoint", TabRightBottom)
      .Int("tableftoffset", TabEndWidth)
      .Int("tabrightoffset", TabEndWidth)
      .Rect("tabsbgrect", TabsBackground);
  Font(tab)
      .Color("activefontcolor", Black)
      .Color("focusfontcolor", Black)
      .Color("mouseinfontcolor", Black)
      .Text("updown", "hupdown");

  Section& edit = d.Add("edit");
  Root(edit, Controls, EditNormal);
  Cut(edit, EditLeftTop, EditRightTop, NoPoint, NoPoint, EditClient);
  edit.Rect("activeskinrect", EditHot);
  Font(edit).Color("activefontcolor", Black).Rect("buttonrect", NoRect).Rect("activebuttonrect", NoRect).Rect(
      "downbuttonrect", NoRect);

  Section& memo = d.Add("memo");
  Root(memo, Controls, FrameBox);
  Cut(memo, MemoLeftTop, MemoRightTop, MemoLeftBottom, MemoRightBottom, MemoClient);
  memo.Rect("activeskinrect", NoRect);
  Font(memo, "fsbold", Grey)
      .Color("activefontcolor", Black)
      .Rect("buttonrect", NoRect)
      .Rect("activebuttonrect", NoRect)
      .Rect("downbuttonrect", NoRect)
      .Color("bgcolor", 16250871)
      .Color("activebgcolor", White);

  Section& hscroll = d.Add("hscrollbar");
  Root(hscroll, Controls, HScrollBar);
  Cut(hscroll, HScrollLeftTop, HScrollRightTop, NoPoint, NoPoint, HScrollClient);
  hscroll.Rect("trackarea", HScrollTrack);
  Arrows(hscroll, {HScrollRightArrow, HRightArrowHot, HRightArrowPressed, HScrollLeftArrow, HLeftArrowHot,
                   HLeftArrowPressed});
  hscroll.Rect("thumbrect", HThumb)
      .Rect("activethumbrect", HThumbHot)
      .Rect("downthumbrect", HThumbPressed)
      .Int("thumboffset1", HThumbEnd)
      .Int("thumboffset2", HThumbEnd)
      .Bool("thumbtransparent", false)
      .Color("thumbtransparentcolor", Black)
      .Rect("glyphrect", HThumbGlyph)
      .Rect("activeglyphrect", NoRect)
      .Rect("downglyphrect", NoRect);

  Section& vscroll = d.Add("vscrollbar");
  Root(vscroll, Controls, VScrollBar);
  Cut(vscroll, VScrollLeftTop, NoPoint, VScrollLeftBottom, NoPoint, VScrollClient);
  vscroll.Rect("trackarea", VScrollTrack);
  Arrows(vscroll, {VScrollBottomArrow, VScrollBottomArrowHot, VScrollBottomArrowPressed, VScrollTopArrow,
                   VScrollTopArrowHot, VScrollTopArrowPressed});
  vscroll.Rect("thumbrect", VThumb)
      .Rect("activethumbrect", VThumbHot)
      .Rect("downthumbrect", VThumbPressed)
      .Int("thumboffset1", VThumbEnd)
      .Int("thumboffset2", VThumbEnd)
      .Rect("glyphrect", VThumbGlyph)
      .Rect("activeglyphrect", NoRect)
      .Rect("downglyphrect", NoRect);

  Section& listBox = d.Add("listbox");
  Root(listBox, Controls, FrameBox);
  Cut(listBox, MemoLeftTop, MemoRightTop, MemoLeftBottom, MemoRightBottom, MemoClient);
  ListBoxKeys(listBox, NoRect);

  Section& combo = d.Add("combobox");
  Root(combo, Controls, ComboBox);
  Cut(combo, ComboLeftTop, ComboRightTop, NoPoint, NoPoint, ComboClient);
  ComboKeys(combo);

  Section& checkList = d.Add("checklistbox");
  Root(checkList, Controls, FrameBox);
  Cut(checkList, MemoLeftTop, MemoRightTop, MemoLeftBottom, MemoRightBottom, MemoClient);
  CheckListBoxKeys(checkList, NoRect);

  Section& spin = d.Add("spinedit");
  Root(spin, Controls, SpinEdit);
  Cut(spin, SpinLeftTop, SpinRightTop, NoPoint, NoPoint, SpinClient);
  spin.Rect("activeskinrect", NoRect);
  Font(spin).Color("activefontcolor", Black).Color("disabledfontcolor", Grey);
  Arrows(spin, {SpinUpButton, SpinUpHot, SpinUpPressed, SpinDownButton, SpinDownHot, SpinDownPressed});

  Section& group = d.Add("groupbox");
  Root(group, Controls, GroupBox);
  Cut(group, GroupLeftTop, GroupRightTop, GroupLeftBottom, GroupRightBottom, GroupClient);
  group.Int("bgpictureindex", -1).Rect("captionrect", GroupCaption).Text("alignment", "tacenter");
  Font(group, "fsbold");
  RollUpMarkers(group);

  Section& stdLabel = d.Add("stdlabel");
  Root(stdLabel, -1, NoRect);
  Font(stdLabel);

  Section& statusPanel = d.Add("statuspanel");
  Root(statusPanel, Controls, StatusPanel);
  Cut(statusPanel, StatusPanelLeftTop, StatusPanelRightTop, NoPoint, NoPoint, StatusPanelClient);
  Font(statusPanel);

  Section& statusBar = PanelSection(d, "statusbar", StatusBar, StatusBarLeftTop, StatusBarRightTop, NoPoint,
                                    NoPoint, StatusBarClient, NoRect, "");
  RollUpMarkers(statusBar);

  Section& buttonEdit = d.Add("buttonedit");
  Root(buttonEdit, Controls, ButtonEdit);
  Cut(buttonEdit, ComboLeftTop, ComboRightTop, NoPoint, NoPoint, ComboClient);
  buttonEdit.Rect("activeskinrect", NoRect);
  Font(buttonEdit)
      .Color("disabledfontcolor", Grey)
      .Color("activefontcolor", Black)
      .Rect("buttonrect", ComboButton)
      .Rect("activebuttonrect", EllipsisButtonHot)
      .Rect("downbuttonrect", EllipsisButtonPressed)
      .Rect("unenabledbuttonrect", EllipsisButtonDisabled);

  Section& vUpDown = d.Add("vupdown");
  Root(vUpDown, Controls, VUpDown);
  Cut(vUpDown, NoPoint, NoPoint, NoPoint, NoPoint, gfx::Rect{0, 0, VUpDown.Width(), VUpDown.Height()});
  Arrows(vUpDown, {VUpDownTopButton, VUpHot, VUpPressed, VUpDownBottomButton, VDownHot, VDownPressed});

  Section& hUpDown = d.Add("hupdown");
  Root(hUpDown, Controls, HUpDown);
  Cut(hUpDown, NoPoint, NoPoint, NoPoint, NoPoint, gfx::Rect{0, 0, HUpDown.Width(), HUpDown.Height()});
  Arrows(hUpDown, {HUpDownRightButton, HRightHot, HRightPressed, HUpDownLeftButton, HLeftHot, HLeftPressed});

  Section& captionList = d.Add("captionlistbox");
  Root(captionList, Controls, GroupBox);
  Cut(captionList, GroupLeftTop, GroupRightTop, GroupLeftBottom, GroupRightBottom, GroupClient);
  ListBoxKeys(captionList, GroupCaption);

  Section& captionCheckList = d.Add("captionchecklistbox");
  Root(captionCheckList, Controls, GroupBox);
  Cut(captionCheckList, GroupLeftTop, GroupRightTop, GroupLeftBottom, GroupRightBottom, GroupClient);
  CheckListBoxKeys(captionCheckList, GroupCaption);

  Section& captionCombo = d.Add("captioncombobox");
  Root(captionCombo, Controls, ComboBox);
  Cut(captionCombo, ComboLeftTop, ComboRightTop, NoPoint, NoPoint, ComboClient);
  ComboKeys(captionCombo);

  Section& controlBar = d.Add("controlbar");
  Root(controlBar, Controls, ToolPanel);
  Cut(controlBar, ToolPanelLeftTop, ToolPanelRightTop, ToolPanelLeftBottom, ToolPanelRightBottom, ToolPanelClient);
  controlBar.Rect("itemrect", ControlBarBand).Int("bgpictureindex", -1);

  Section& menuBar = d.Add("mainmenubar");
  Root(menuBar, Controls, MenuBarBack);
  menuBar.Rect("itemsrect", MenuBarItemsRelative)
      .Text("menubaritem", "mainmenubaritem")
      .Text("closebutton", "menubarclosebutton")
      .Text("minbutton", "menubarminbutton")
      .Text("maxbutton", "menubarmaxbutton")
      .Text("sysmenubutton", "menubarsysmenubutton")
      .Color("trackmarkcolor", Grey)
      .Color("trackmarkactivecolor", Black);

  Section& vSplitter = d.Add("vsplitter");
  Root(vSplitter, Controls, VSplitter);
  Cut(vSplitter, VSplitterLeftTop, NoPoint, VSplitterLeftBottom, NoPoint, VSplitterClient);
  Section& hSplitter = d.Add("hsplitter");
  Root(hSplitter, Controls, HSplitter);
  Cut(hSplitter, HSplitterLeftTop, HSplitterRightTop, NoPoint, NoPoint, HSplitterClient);

  ButtonSection(d, "resizebutton", {ResizeNormal, ResizeHot, ResizePressed}, NoPoint, NoPoint, NoPoint, NoPoint,
                gfx::Rect{0, 0, ResizeNormal.Width(), ResizeNormal.Height()}, "clGray");

  Section& both = d.Add("bothhscrollbar");
  Root(both, Controls, BothHScrollBar);
  Cut(both, BothHLeftTop, BothHRightTop, NoPoint, NoPoint, BothHClient);
  both.Rect("trackarea", BothHTrack);
  Arrows(both, {BothHRightArrow, HRightArrowHot, HRightArrowPressed, BothHLeftArrow, HLeftArrowHot,
                HLeftArrowPressed});
  both.Rect("thumbrect", HThumb)
      .Rect("activethumbrect", HThumbHot)
      .Rect("downthumbrect", HThumbPressed)
      .Int("thumboffset1", HThumbEnd)
      .Int("thumboffset2", HThumbEnd)
      .Rect("glyphrect", HThumbGlyph)
      .Rect("activeglyphrect", NoRect)
      .Rect("downglyphrect", NoRect);

  Section& rollUpPanel = PanelSection(d, "rolluppanel", GroupBox, GroupLeftTop, GroupRightTop, GroupLeftBottom,
                                      GroupRightBottom, GroupClient, GroupCaption, "fsbold");
  rollUpPanel.Rect("markframerect", MarkerFrame);
  RollUpMarkers(rollUpPanel);

  Section& bigToolPanel = PanelSection(d, "bigtoolpanel", ToolPanel, ToolPanelLeftTop, ToolPanelRightTop,
                                       ToolPanelLeftBottom, ToolPanelRightBottom, ToolPanelClient, NoRect, "");
  RollUpMarkers(bigToolPanel);

  ButtonSection(d, "bigtoolbutton", {BigToolNormal, BigToolHot, BigToolPressed}, BigToolLeftTop, BigToolRightTop,
                NoPoint, NoPoint, BigToolClient);
  ButtonSection(d, "toolmenubutton", {ToolMenuNormal, ToolMenuHot, ToolMenuPressed}, ToolMenuLeftTop,
                ToolMenuRightTop, NoPoint, NoPoint, ToolMenuClient)
      .Rect("trackbuttonrect", ToolMenuTrackRelative);
  ButtonSection(d, "toolmenutrackbutton", {ToolMenuNormal, ToolMenuHot, ToolMenuPressed}, ToolMenuLeftTop,
                ToolMenuRightTop, NoPoint, NoPoint, ToolMenuClient)
      .Rect("trackbuttonrect", ToolMenuTrackRelative);
  ButtonSection(d, "bigtoolmenubutton", {BigToolMenuNormal, BigToolMenuHot, BigToolMenuPressed},
                BigToolMenuLeftTop, BigToolMenuRightTop, NoPoint, NoPoint, BigToolMenuClient)
      .Rect("trackbuttonrect", BigToolMenuTrackRelative);
  ButtonSection(d, "bigtoolmenutrackbutton", {BigToolMenuNormal, BigToolMenuHot, BigToolMenuPressed},
                BigToolMenuLeftTop, BigToolMenuRightTop, NoPoint, NoPoint, BigToolMenuClient)
      .Rect("trackbuttonrect", BigToolMenuTrackRelative);

  Section& scrollBox = d.Add("scrollbox");
  Root(scrollBox, Controls, Panel);
  Cut(scrollBox, PanelLeftTop, PanelRightTop, PanelLeftBottom, PanelRightBottom, PanelClient);
  scrollBox.Int("bgpictureindex", -1);

  ViewSection(d, "treeview");
  ViewSection(d, "listview");
  GaugeSection(d, "statusgauge", false);
  ViewSection(d, "richedit");

  Section& ex = d.Add("expanel");
  Root(ex, Controls, ExPanel);
  Cut(ex, ExPanelLeftTop, ExPanelRightTop, ExPanelLeftBottom, ExPanelRightBottom, ExPanelClient);
  ex.Rect("rollhskinrect", ExPanelRollH)
      .Rect("rollvskinrect", ExPanelRollV)
      .Int("rollleftoffset", ExPanelRollLeftEnd)
      .Int("rollrightoffset", ExPanelRollRightEnd)
      .Int("rolltopoffset", ExPanelRollTopEnd)
      .Int("rollbottomoffset", ExPanelRollBottomEnd)
      .Rect("rollvcaptionrect", ExPanelRollVCaption)
      .Rect("rollhcaptionrect", ExPanelRollHCaption)
      .Rect("closebuttonrect", ExCloseButton)
      .Rect("closebuttonactiverect", ExSmallLook(0, 0))
      .Rect("closebuttondownrect", ExSmallLook(1, 0))
      .Rect("hrollbuttonrect", ExHRollButton)
      .Rect("hrollbuttonactiverect", ExSmallLook(2, 0))
      .Rect("hrollbuttondownrect", ExSmallLook(3, 0))
      .Rect("hrestorebuttonrect", ExHRestoreButton)
      .Rect("hrestorebuttonactiverect", ExSmallLook(0, 1))
      .Rect("hrestorebuttondownrect", ExSmallLook(1, 1))
      .Rect("vrollbuttonrect", ExVRollButton)
      .Rect("vrollbuttonactiverect", ExSmallLook(2, 1))
      .Rect("vrollbuttondownrect", ExSmallLook(3, 1))
      .Rect("vrestorebuttonrect", ExVRestoreButton)
      .Rect("vrestorebuttonactiverect", ExSmallLook(0, 2))
      .Rect("vrestorebuttondownrect", ExSmallLook(1, 2))
      .Rect("captionrect", ExPanelCaption);
  Font(ex, "fsbold");

  // The header kind has no class of its own; its section reads like a
  // three-look button.
  ButtonSection(d, "header", {HeaderNormal, HeaderHot, HeaderPressed}, HeaderLeftTop, HeaderRightTop, NoPoint,
                NoPoint, HeaderClient);
}

}  // namespace

Description BuildStoredSkinDescription() {
  Description d;
  AddHead(d);
  AddObjects(d);
  AddControls(d);
  AddObjectSections(d);
  AddControlSections(d);
  return d;
}

std::string StoredSkinDescriptionBytes() { return core::Utf8ToGbk(BuildStoredSkinDescription().Utf8Text()); }

}  // namespace skingen
