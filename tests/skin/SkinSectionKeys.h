#pragma once

// The keys of every skin object and control section, in reading order,
// written down from the skin format's key tables rather than taken from
// the section classes: a key the classes misspell, drop, add or move shows
// against these. A text-lines key is listed by its count key
// ("symbolslinecount"), the one a section without lines holds.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace skintest {

using KeyList = std::vector<std::string>;

inline KeyList operator+(KeyList keys, const KeyList& more) {
  keys.insert(keys.end(), more.begin(), more.end());
  return keys;
}

inline const std::map<std::string_view, KeyList>& WindowSectionKeys() {
  static const std::map<std::string_view, KeyList> keys = [] {
    const KeyList corners = {"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint"};
    const KeyList stretch = {"leftstretch", "rightstretch", "topstretch", "bottomstretch"};
    return std::map<std::string_view, KeyList>{
        {"FORMINFO", corners + KeyList{"clientrect", "bgpictureindex", "mdibgpictureindex"} + stretch +
                         KeyList{"buttonsrect", "captionrect", "buttonsoffset", "buttonsinleft", "maskrectarea",
                                 "hittestlefttoppoint", "hittestrighttoppoint", "hittestleftbottompoint",
                                 "hittestrightbottompoint", "rollupleftpoint", "rolluprightpoint", "mainmenurect",
                                 "iconrect", "mainmenupopupup", "borderwidth", "cursorindex",
                                 "autorenderinginactiveimage", "inactiveeffect"}},
        {"POPUPWINDOW", KeyList{"windowpictureindex", "maskpictureindex"} + corners +
                            KeyList{"cursorindex", "itemsrect", "scrollmarkercolor", "scrollmarkeractivecolor"} +
                            stretch},
        {"HINTWINDOW", KeyList{"windowpictureindex", "maskpictureindex"} + corners +
                           KeyList{"clientrect", "fontname", "fontheight", "fontstyle", "fontcolor"} + stretch},
    };
  }();
  return keys;
}

inline const std::map<std::string_view, KeyList>& ObjectSectionKeys() {
  static const std::map<std::string_view, KeyList> keys = [] {
    const KeyList base = {"hint",      "rollup",   "activepictureindex", "skinrectinapicture", "cursorindex",
                          "skinrect",  "activeskinrect", "inactiveskinrect", "morphing", "morphkind"};
    const KeyList button = base + KeyList{"downrect", "disableskinrsect", "groupindex"};
    const KeyList stdButton =
        button + KeyList{"command", "restorerect", "restoreactiverect", "restoredownrect", "restoreinactiverect"};
    const KeyList mainMenuItem =
        base + KeyList{"itemleftoffset", "itemrightoffset", "downrect",        "textrect",
                       "fontname",       "fontheight",      "fontstyle",       "fontcolor",
                       "activefontcolor", "downfontcolor",  "unenabledfontcolor", "stretcheffect"};
    const KeyList frameGauge = base + KeyList{"minvalue", "maxvalue", "countframes", "framesplacement"};
    return std::map<std::string_view, KeyList>{
        {"menuitem", base + KeyList{"itemleftoffset", "itemrightoffset", "dividerrect", "dividerleftoffset",
                                    "dividerrightoffset", "textrect", "fontname", "fontheight", "fontstyle",
                                    "fontcolor", "activefontcolor", "unenabledfontcolor", "stretcheffect",
                                    "dividerstretcheffect"}},
        {"mainmenubaritem", mainMenuItem},
        {"mainmenuitem", mainMenuItem},
        {"stdbutton", stdButton},
        {"mainmenubarbutton", stdButton},
        {"button", button},
        {"caption", base + KeyList{"defaultcaption", "textrect", "fontname", "fontheight", "fontstyle",
                                   "fontcolor", "activefontcolor", "alignment", "shadow", "shadowcolor", "light",
                                   "lightcolor", "activelightcolor", "activeshadowcolor", "framerect",
                                   "activeframerect", "frametextrect", "frameleftoffset", "framerightoffset"}},
        {"trackbar", base + KeyList{"buttonrect", "activebuttonrect", "beginpoint", "endpoint", "minvalue",
                                    "maxvalue", "mousedownchangevalue", "buttontransparent",
                                    "buttontransparentcolor"}},
        {"gauge", base + KeyList{"minvalue", "maxvalue", "kind"}},
        {"framegauge", frameGauge},
        {"frameregulator", frameGauge + KeyList{"kind"}},
        {"label", base + KeyList{"fontname", "fontheight", "fontstyle", "fontcolor", "activefontcolor", "alignment",
                                 "textvalue"}},
        {"bitlabel", base + KeyList{"textvalue", "symbolwidth", "symbolheight", "symbolslinecount", "transparent",
                                    "transparentcolor"}},
        {"switch", base},
        {"animate", base + KeyList{"countframes", "cycle", "buttonstyle", "timerinterval", "command",
                                   "downskinrect"}},
        {"userobject", KeyList{"rollup", "skinrect", "cursorindex"}},
    };
  }();
  return keys;
}

inline const std::map<std::string_view, KeyList>& ControlSectionKeys() {
  static const std::map<std::string_view, KeyList> keys = [] {
    const KeyList root = {"pictureindex", "maskpictureindex", "cursorindex", "skinrect"};
    const KeyList custom = root + KeyList{"lefttoppoint", "righttoppoint", "leftbottompoint", "rightbottompoint",
                                          "clientrect",   "stretcheffect"};
    const KeyList font = {"fontname", "fontheight", "fontstyle", "fontcolor"};
    const KeyList button =
        custom + font + KeyList{"activefontcolor", "disabledfontcolor", "downfontcolor", "morphing", "morphkind",
                                "activeskinrect", "downskinrect", "disabledskinrect", "animateskinrect",
                                "framecount", "animateinterval"};
    const KeyList upDownButtons = {"upbuttonrect",   "activeupbuttonrect",   "downupbuttonrect",
                                   "downbuttonrect", "activedownbuttonrect", "downdownbuttonrect"};
    const KeyList edit = custom + KeyList{"activeskinrect"} + font +
                         KeyList{"disabledfontcolor", "activefontcolor", "buttonrect", "activebuttonrect",
                                 "downbuttonrect", "unenabledbuttonrect"};
    const KeyList listBox =
        custom + KeyList{"itemrect", "activeitemrect", "focusitemrect", "itemleftoffset", "itemrightoffset",
                         "itemtextrect"} +
        font +
        KeyList{"activefontcolor", "focusfontcolor", "captionrect", "captionfontname", "captionfontheight",
                "captionfontstyle", "captionfontcolor"} +
        upDownButtons +
        KeyList{"checkbuttonrect", "activecheckbuttonrect", "downcheckbuttonrect", "vscrollbarname",
                "hscrollbarname", "bothhscrollbarname"};
    const KeyList view = root + font + KeyList{"bgcolor"};
    const KeyList frame = root + KeyList{"framescount", "framesplacement"};
    return std::map<std::string_view, KeyList>{
        {"button", button},
        {"menubutton", button + KeyList{"trackbuttonrect"}},
        {"checkradio", custom + font +
                           KeyList{"activefontcolor", "unenabledfontcolor", "framefontcolor", "morphing",
                                   "morphkind", "activeskinrect", "checkimagearea", "textarea", "checkimagerect",
                                   "uncheckimagerect", "activecheckimagerect", "activeuncheckimagerect",
                                   "unenabledcheckimagerect", "unenableduncheckimagerect"}},
        {"panel", custom + KeyList{"bgpictureindex", "captionrect", "alignment"} + font +
                      KeyList{"checkimagerect", "uncheckimagerect", "markframerect", "framerect", "frametextrect",
                              "frameleftoffset", "framerightoffset"}},
        {"expanel", custom +
                        KeyList{"rollhskinrect", "rollvskinrect", "rollleftoffset", "rollrightoffset",
                                "rolltopoffset", "rollbottomoffset", "rollvcaptionrect", "rollhcaptionrect",
                                "closebuttonrect", "closebuttonactiverect", "closebuttondownrect",
                                "hrollbuttonrect", "hrollbuttonactiverect", "hrollbuttondownrect",
                                "hrestorebuttonrect", "hrestorebuttonactiverect", "hrestorebuttondownrect",
                                "vrollbuttonrect", "vrollbuttonactiverect", "vrollbuttondownrect",
                                "vrestorebuttonrect", "vrestorebuttonactiverect", "vrestorebuttondownrect",
                                "captionrect"} +
                        font},
        {"edit", edit},
        {"memo", edit + KeyList{"bgcolor", "activebgcolor"}},
        {"spinedit", custom + KeyList{"activeskinrect"} + font + KeyList{"activefontcolor", "disabledfontcolor"} +
                         upDownButtons},
        {"updown", custom + upDownButtons},
        {"scrollbar", custom + KeyList{"trackarea"} + upDownButtons +
                          KeyList{"thumbrect", "activethumbrect", "downthumbrect", "thumboffset1", "thumboffset2",
                                  "thumbtransparent", "thumbtransparentcolor", "glyphrect", "activeglyphrect",
                                  "downglyphrect"}},
        {"listbox", listBox},
        {"checklistbox", listBox + KeyList{"checkimagerect", "itemcheckrect", "uncheckimagerect"}},
        {"combobox", custom + KeyList{"itemrect", "focusitemrect", "itemleftoffset", "itemrightoffset",
                                      "itemtextrect"} +
                         font +
                         KeyList{"focusfontcolor", "listboxname", "buttonrect", "activebuttonrect",
                                 "downbuttonrect", "unenabledbuttonrect", "itemstretcheffect",
                                 "focusitemstretcheffect"}},
        {"tab", root +
                    KeyList{"tabrect", "activetabrect", "focustabrect", "mouseintabrect", "clientrect",
                            "bgpictureindex", "lefttoppoint", "righttoppoint", "leftbottompoint",
                            "rightbottompoint", "tableftoffset", "tabrightoffset", "tabsbgrect",
                            "tabstretcheffect"} +
                    font + KeyList{"activefontcolor", "focusfontcolor", "mouseinfontcolor", "updown"}},
        {"grid", root +
                     KeyList{"fixedcellrect", "selectcellrect", "focuscellrect", "fixedcellleftoffset",
                             "fixedcellrightoffset", "fixedcelltextrect", "cellleftoffset", "cellrightoffset",
                             "celltextrect", "linescolor", "bgcolor", "bgpictureindex"} +
                     font +
                     KeyList{"selectfontcolor", "focusfontcolor", "fixedfontname", "fixedfontheight",
                             "fixedfontstyle", "fixedfontcolor", "cellstretcheffect", "fixedcellstretcheffect"}},
        {"label", custom + font},
        {"stdlabel", root + font + KeyList{"activefontcolor"}},
        {"bitlabel", custom + KeyList{"skintextrect", "symbolwidth", "symbolheight", "symbolslinecount"}},
        {"gauge", custom + KeyList{"progressarea", "progressrect", "beginoffset", "endoffset", "vertical"} + font +
                      KeyList{"progresstransparent", "progresstransparentcolor", "progressstretch"}},
        {"trackbar", custom + KeyList{"trackarea", "buttonrect", "activebuttonrect", "vertical",
                                      "buttontransparent", "buttontransparentcolor"}},
        {"splitter", custom},
        {"scrollbox", custom + KeyList{"bgpictureindex"}},
        {"controlbar", custom + KeyList{"itemrect", "bgpictureindex"}},
        {"mainmenubar", root + KeyList{"itemsrect", "menubaritem", "closebutton", "minbutton", "maxbutton",
                                       "sysmenubutton", "trackmarkcolor", "trackmarkactivecolor"}},
        {"treeview", view},
        {"listview", view},
        {"richedit", view},
        {"slider", root + KeyList{"bgcolor", "hrulerrect", "hthumbrect", "vrulerrect", "vthumbrect", "edgesize",
                                  "pointscolor"}},
        {"bevel", root + KeyList{"lightcolor", "darkcolor"}},
        {"frameregulator", frame + KeyList{"kind"}},
        {"framegauge", frame},
        {"animate", frame},
        {"switch", frame},
    };
  }();
  return keys;
}

// The key names of entries, folded to lower case: key look-ups ignore case,
// and the format itself spells a few keys with capitals ("fontName").
template <class Entries>
KeyList FoldedKeys(const Entries& entries) {
  KeyList keys;
  for (const auto& entry : entries) {
    std::string key = entry.Key;
    for (char& c : key) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
    keys.push_back(key);
  }
  return keys;
}

}  // namespace skintest
