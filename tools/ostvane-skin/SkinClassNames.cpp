#include "SkinClassNames.h"

#include <utility>

namespace skintool {

namespace {

using Entry = std::pair<std::string_view, std::string_view>;

constexpr Entry ObjectClasses[] = {
    {"menuitem", "TskDataSkinMenuItem"},
    {"mainmenubaritem", "TskDataSkinMainMenuBarItem"},
    {"mainmenuitem", "TskDataSkinMainMenuItem"},
    {"stdbutton", "TskDataSkinStdButton"},
    {"mainmenubarbutton", "TskDataSkinMainMenuBarButton"},
    {"button", "TskDataSkinButton"},
    {"caption", "TskDataSkinCaption"},
    {"trackbar", "TskDataSkinTrackBar"},
    {"gauge", "TskDataSkinGauge"},
    {"framegauge", "TskDataSkinFrameGaugeObject"},
    {"frameregulator", "TskDataSkinFrameRegulatorObject"},
    {"label", "TskDataSkinLabel"},
    {"bitlabel", "TskDataSkinBitLabel"},
    {"switch", "TskDataSkinSwitch"},
    {"animate", "TskDataSkinAnimate"},
    {"userobject", "TskDataUserObject"},
};

constexpr Entry ControlClasses[] = {
    {"button", "TskDataSkinButtonControl"},
    {"menubutton", "TskDataSkinMenuButtonControl"},
    {"checkradio", "TskDataSkinCheckRadioControl"},
    {"panel", "TskDataSkinPanelControl"},
    {"expanel", "TskDataSkinExPanelControl"},
    {"edit", "TskDataSkinEditControl"},
    {"memo", "TskDataSkinMemoControl"},
    {"spinedit", "TskDataSkinSpinEditControl"},
    {"updown", "TskDataSkinUpDownControl"},
    {"scrollbar", "TskDataSkinScrollBarControl"},
    {"listbox", "TskDataSkinListBox"},
    {"checklistbox", "TskDataSkinCheckListBox"},
    {"combobox", "TskDataSkinComboBox"},
    {"tab", "TskDataSkinTabControl"},
    {"grid", "TskDataSkinGridControl"},
    {"label", "TskDataSkinLabelControl"},
    {"stdlabel", "TskDataSkinStdLabelControl"},
    {"bitlabel", "TskDataSkinBitLabelControl"},
    {"gauge", "TskDataSkinGaugeControl"},
    {"trackbar", "TskDataSkinTrackBarControl"},
    {"splitter", "TskDataSkinSplitterControl"},
    {"scrollbox", "TskDataSkinScrollBoxControl"},
    {"controlbar", "TskDataSkinControlBar"},
    {"mainmenubar", "TskDataSkinMainMenuBar"},
    {"treeview", "TskDataSkinTreeView"},
    {"listview", "TskDataSkinListView"},
    {"richedit", "TskDataSkinRichEdit"},
    {"slider", "TskDataSkinSlider"},
    {"bevel", "TskDataSkinBevel"},
    {"frameregulator", "TskDataSkinFrameRegulator"},
    {"framegauge", "TskDataSkinFrameGauge"},
    {"animate", "TskDataSkinAnimateControl"},
    {"switch", "TskDataSkinSwitchControl"},
};

template <std::size_t N>
std::string_view Find(const Entry (&table)[N], std::string_view kind) {
  for (const Entry& entry : table) {
    if (entry.first == kind) return entry.second;
  }
  return {};
}

}  // namespace

std::string_view SkinObjectClassName(std::string_view kind) { return Find(ObjectClasses, kind); }
std::string_view SkinControlClassName(std::string_view kind) { return Find(ControlClasses, kind); }

}  // namespace skintool
