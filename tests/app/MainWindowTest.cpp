#include "MainWindowSupport.h"

#include <cctype>
#include <string>
#include <vector>

#include "app/Resources.h"
#include "ui/stdcontrols/ComCtrls.h"
#include "ui/classlib/LayoutWriter.h"

#define OSTVANE_STORED_SKIN_FILE OSTVANE_BINARY_DIR "/resources/StoredSkin.skn"

namespace app::testing {
namespace {

using platform::headless::NotifyIconCall;

// ---- The window as it starts ----

TEST_F(MainWindowTest, StartsWithTheDefaultInputsAndAnEmptyLog) {
  Start();
  EXPECT_EQ(Form->Name(), "Form1");
  EXPECT_EQ(Form->Caption(), "Ostvane V1.0     http://www.ostvane.example");
  EXPECT_EQ(Form->ClientWidth(), 688);
  EXPECT_EQ(Form->ClientHeight(), 450);
  EXPECT_EQ(App->MainForm(), Form);
  EXPECT_EQ(Form->MACIPA->Text(), "192");
  EXPECT_EQ(Form->MACIPB->Text(), "168");
  EXPECT_EQ(Form->MACIPC->Text(), "1");
  EXPECT_EQ(Form->MACStarIP->Text(), "1");
  EXPECT_EQ(Form->MACEndIP->Text(), "254");
  for (skin::TskSkinNumericEdit* edit : {Form->MACIPA, Form->MACIPB, Form->MACIPC, Form->MACStarIP, Form->MACEndIP}) {
    EXPECT_EQ(edit->MaxLength(), 3) << edit->Name();
  }
  EXPECT_TRUE(Form->MacList->Checked());
  EXPECT_EQ(Form->MAC->Lines()->Count(), 0);
  EXPECT_FALSE(Form->MAC->Enabled());
  EXPECT_EQ(Form->NetScan->PageCount(), 1);
  EXPECT_EQ(Form->NetScan->ActivePage(), Form->Ostvane);
  EXPECT_EQ(Form->NetScan->TabPosition(), ui::tpBottom);
  EXPECT_EQ(Form->Star->Caption(), "扫描MAC地址");
  EXPECT_EQ(Form->MACStop->Caption(), "停止MAC扫描");
  EXPECT_EQ(Form->MacClear->Caption(), "清空日志");
  EXPECT_EQ(Form->MacSave->Caption(), "自动保存");
  EXPECT_EQ(Form->MacList->Caption(), "不显示无响应结果");
  EXPECT_EQ(Form->MAClABELA->Caption(), "－");
  EXPECT_FALSE(Form->macbar->TabStop());
  EXPECT_EQ(Form->macbar->Kind(), ui::sbVertical);
  EXPECT_TRUE(Form->BorderIcons().IsEmpty());
}

TEST_F(MainWindowTest, OpensCentredOnTheScreen) {
  Start();
  // The headless screen is 1024 x 768; the stored 242, 177 give way.
  EXPECT_EQ(Form->Left(), (1024 - Form->Width()) / 2);
  EXPECT_EQ(Form->Top(), (768 - Form->Height()) / 2);
  EXPECT_TRUE(Form->Visible());
}

TEST_F(MainWindowTest, TheTrayIconIsInTheAreaWithItsHintAndPicture) {
  Start();
  tray::TTrayIcon* icon = Form->TextTrayIcon;
  EXPECT_EQ(icon->CycleInterval(), 400u);
  EXPECT_TRUE(icon->WantEnterExitEvents());
  EXPECT_EQ(icon->IconIndex(), 0);
  EXPECT_EQ(icon->Icon()->Width(), 32);
  EXPECT_EQ(icon->Icon()->Height(), 32);
  const platform::NotifyIconState* shown = ShownIcon();
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(shown->Tip, "Lumeth");
  EXPECT_EQ(shown->Icon.Width(), 32);
  // Added once, when the layout had been read, and not before.
  int adds = 0;
  for (const auto& call : Headless->NotifyIconArea().Calls()) adds += call.Call == NotifyIconCall::Add ? 1 : 0;
  EXPECT_EQ(adds, 1);
}

TEST_F(MainWindowTest, ClosingEndsTheLoopAndTakesTheIconAway) {
  Start();
  Headless->PressKey(platform::VK_MENU);
  Headless->StrokeKey(platform::VK_F4);
  Headless->ReleaseKey(platform::VK_MENU);
  App->Run();
  EXPECT_TRUE(App->Terminated());
  EXPECT_NE(ShownIcon(), nullptr) << "the icon goes with the component, not with the loop";
  App.reset();
  Form = nullptr;
  EXPECT_EQ(Headless->NotifyIconArea().IconCount(), 0u);
}

// ---- The stored layout ----

// Parent, bounds as stored (before alignment moves them) and tab order.
struct Placement {
  const char* Name;
  const char* Parent;
  int TabOrder;  // -1: not a windowed control
};

TEST_F(MainWindowTest, TheControlTreeAndTabOrderAreTheDesignedOnes) {
  Start();
  const std::vector<Placement> placements = {
      {"NetScan", "Form1", 0},        {"Ostvane", "NetScan", -1},     {"MacLog", "Ostvane", 0},
      {"macbar", "MacLog", 1},        {"MAC", "MacLog", 0},           {"MacManger", "Ostvane", 1},
      {"MACIPLabel", "MacManger", -1}, {"MAClABELA", "MacManger", -1}, {"MAClABELB", "MacManger", -1},
      {"MAClABELC", "MacManger", -1}, {"skSkinStdLabel3", "MacManger", -1},
      {"MACIPA", "MacManger", 0},     {"MACIPB", "MacManger", 1},     {"MACIPC", "MacManger", 2},
      {"MACStarIP", "MacManger", 3},  {"MACEndIP", "MacManger", 4},   {"Star", "MacManger", 5},
      {"MACStop", "MacManger", 6},    {"MacClear", "MacManger", 7},   {"MacSave", "MacManger", 8},
      {"MacList", "MacManger", 9},
  };
  for (const Placement& p : placements) {
    SCOPED_TRACE(p.Name);
    auto* control = dynamic_cast<ui::TControl*>(Form->FindComponent(p.Name));
    ASSERT_NE(control, nullptr);
    ASSERT_NE(control->Parent(), nullptr);
    EXPECT_EQ(control->Parent()->Name(), p.Parent);
    if (p.TabOrder >= 0) {
      auto* windowed = dynamic_cast<ui::TWinControl*>(control);
      ASSERT_NE(windowed, nullptr);
      EXPECT_EQ(windowed->TabOrder(), p.TabOrder);
    }
  }
  // The right-hand controls keep their designed places in their box; the
  // skin's sections give buttons and edits their height (21) and the
  // edits are wide enough for three digits.
  EXPECT_EQ(Form->Star->BoundsRect(), (gfx::Rect{64, 160, 139, 181}));
  EXPECT_EQ(Form->MacSave->BoundsRect(), (gfx::Rect{64, 280, 139, 301}));
  EXPECT_EQ(Form->MACIPC->BoundsRect(), (gfx::Rect{160, 67, 190, 88}));
  EXPECT_EQ(Form->MacList->BoundsRect(), (gfx::Rect{24, 120, 174, 145}));
  // The box of inputs sits on the right, the log takes the rest.
  EXPECT_EQ(Form->MacManger->Width(), 196);
  EXPECT_EQ(Form->MacManger->Left() + Form->MacManger->Width(), Form->Ostvane->ClientWidth());
  EXPECT_EQ(Form->MacLog->Width(), Form->Ostvane->ClientWidth() - 196);
  EXPECT_EQ(Form->macbar->Width(), 17);
  EXPECT_EQ(Form->macbar->Left() + 17, Form->MAC->Left() + Form->MAC->Width() + 17);
}

TEST_F(MainWindowTest, ComponentsAreMadeInTheLayoutsOrder) {
  Start();
  std::vector<std::string> names;
  for (int i = 0; i < Form->ComponentCount(); ++i) names.push_back(Form->Components(i)->Name());
  const std::vector<std::string> expected = {
      "NetScan",   "Ostvane",  "MacLog", "macbar", "MAC",     "MacManger", "MACIPLabel", "MAClABELA",
      "MAClABELB", "MAClABELC", "skSkinStdLabel3", "MACStarIP", "MACEndIP", "Star", "MACIPA", "MACIPB",
      "MACIPC",    "MacSave",  "MacClear", "MACStop", "MacList", "skSkinData1", "SkinForm", "CompressedStoredSkin1", "TextTrayIcon"};
  EXPECT_EQ(names, expected);
}

TEST_F(MainWindowTest, OnlyTheFourButtonsAreWiredAndTheyAreWiredByName) {
  Start();
  EXPECT_EQ(Form->Star->OnClick.MethodName(), "StarClick");
  EXPECT_EQ(Form->MACStop->OnClick.MethodName(), "MACStopClick");
  EXPECT_EQ(Form->MacClear->OnClick.MethodName(), "MacClearClick");
  EXPECT_EQ(Form->MacSave->OnClick.MethodName(), "MacSaveClick");
  // Written back, the layout names these four handlers and no other event;
  // the edits' filters and the log's bar are the window's own doing.
  const std::string written = ui::WriteLayout(*Form);
  std::vector<std::string> events;
  for (std::size_t at = written.find(" On"); at != std::string::npos; at = written.find(" On", at + 1)) {
    events.push_back(written.substr(at + 1, written.find('\n', at) - at - 1));
  }
  EXPECT_EQ(events, (std::vector<std::string>{"OnClick = StarClick", "OnClick = MacSaveClick",
                                              "OnClick = MacClearClick", "OnClick = MACStopClick"}));
}

TEST_F(MainWindowTest, TheBuiltInLayoutIsTheSourceOneWithThePackedSkinFilledIn) {
  const std::string source = ReadFile(OSTVANE_SOURCE_DIR "/resources/Unit1.layout");
  const std::string packed = ReadFile(OSTVANE_STORED_SKIN_FILE);
  ASSERT_FALSE(source.empty());
  ASSERT_GT(packed.size(), 8u);
  const std::string builtIn(StoredMainFormLayout());
  // Everything but the stored skin's block is the source tree's layout.
  const std::string marker = "CompressedData = {";
  const std::size_t at = source.find(marker + "}");
  ASSERT_NE(at, std::string::npos);
  const std::size_t end = builtIn.find('}', at);
  ASSERT_NE(end, std::string::npos);
  EXPECT_EQ(builtIn.substr(0, at), source.substr(0, at));
  EXPECT_EQ(builtIn.substr(end), source.substr(at + marker.size()));
  // The block is the packed skin file's, after its version and length.
  std::string hex;
  for (char c : builtIn.substr(at + marker.size(), end - at - marker.size())) {
    if (std::isxdigit(static_cast<unsigned char>(c))) hex += c;
  }
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) bytes += char(std::stoi(hex.substr(i, 2), nullptr, 16));
  EXPECT_EQ(bytes, packed.substr(8));
}

// ---- Inputs ----

TEST_F(MainWindowTest, NumericEditsTakeDigitsOnlyAndHoldTheirRanges) {
  Start();
  skin::TskSkinNumericEdit* edit = Form->MACIPC;
  edit->SetText("");
  ClickOn(edit);
  Headless->TypeText("4x5 ");
  App->ProcessMessages();
  EXPECT_EQ(edit->Text(), "45") << "letters and blanks are refused";
  Headless->StrokeKey(platform::VK_BACK);
  App->ProcessMessages();
  EXPECT_EQ(edit->Text(), "4");
  // Past the maximum the value is held at 255 at once; the up and down
  // keys do not step it.
  Headless->TypeText("00");
  App->ProcessMessages();
  EXPECT_EQ(edit->Text(), "255");
  Headless->StrokeKey(platform::VK_UP);
  App->ProcessMessages();
  EXPECT_EQ(edit->Text(), "255");
  // Below the minimum the text stays until the edit loses the focus.
  skin::TskSkinNumericEdit* first = Form->MACIPA;
  first->SetText("");
  ClickOn(first);
  Headless->TypeText("0");
  App->ProcessMessages();
  EXPECT_EQ(first->Text(), "0");
  ClickOn(Form->MACEndIP);
  EXPECT_EQ(first->Text(), "1");
  EXPECT_EQ(Form->MACIPB->MinValue(), 0);
}

TEST_F(MainWindowTest, TheBarBesideTheLogFollowsItsLinesAndScrollsIt) {
  Start();
  EXPECT_EQ(Form->macbar->Max(), 0);
  EXPECT_FALSE(Form->macbar->Enabled()) << "nothing to scroll yet";
  for (int i = 1; i <= 100; ++i) Form->AppendLogLine("192.168.1." + std::to_string(i) + ":00-00-00-00-00-00");
  App->ProcessMessages();
  const int rows = Form->MAC->RowCount();
  ASSERT_EQ(rows, 101) << "the text ends with a line break, so an empty row follows the last line";
  const int first = Form->MAC->FirstVisibleRow();
  ASSERT_GT(first, 0) << "the log shows its end as lines arrive";
  EXPECT_EQ(Form->macbar->Max(), rows);
  EXPECT_EQ(Form->macbar->Position(), first);
  EXPECT_TRUE(Form->macbar->Enabled());

  // Pressing the bar's upper arrow scrolls the log one row up.
  Headless->AdvanceClock(1000);
  Headless->Click(Form->macbar->ClientToScreen(gfx::Point{Form->macbar->Width() / 2, 3}));
  App->ProcessMessages();
  EXPECT_EQ(Form->macbar->Position(), first - 1);
  EXPECT_EQ(Form->MAC->FirstVisibleRow(), first - 1);
  EXPECT_NE(ui::Screen->ActiveControl(), Form->macbar) << "the bar takes no focus";
  Form->macbar->SetPosition(0);
  EXPECT_EQ(Form->MAC->FirstVisibleRow(), 0);

  // Emptied, the bar has nothing to scroll again.
  ClickOn(Form->MacClear);
  EXPECT_EQ(Form->MAC->Lines()->Count(), 0);
  EXPECT_EQ(Form->macbar->Max(), 0);
  EXPECT_EQ(Form->macbar->Position(), 0);
  EXPECT_FALSE(Form->macbar->Enabled());
}

TEST_F(MainWindowTest, ClearingAnEmptyLogChangesNothing) {
  Start();
  ClickOn(Form->MacClear);
  EXPECT_EQ(Form->MAC->Lines()->Count(), 0);
  EXPECT_EQ(Form->MAC->Text(), "");
}

}  // namespace
}  // namespace app::testing
