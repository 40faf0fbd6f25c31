#include "MainWindowSupport.h"

#include <string>
#include <vector>

#include "app/Resources.h"
#include "ui/stdcontrols/ComCtrls.h"
#include "ui/classlib/LayoutWriter.h"

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
  for (ui::TEdit* edit : {Form->MACIPA, Form->MACIPB, Form->MACIPC, Form->MACStarIP, Form->MACEndIP}) {
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
  // The right-hand controls keep their designed places in their box.
  EXPECT_EQ(Form->Star->BoundsRect(), (gfx::Rect{64, 160, 139, 185}));
  EXPECT_EQ(Form->MacSave->BoundsRect(), (gfx::Rect{64, 280, 139, 305}));
  EXPECT_EQ(Form->MACIPC->BoundsRect(), (gfx::Rect{160, 67, 185, 83}));
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
      "MACIPC",    "MacSave",  "MacClear", "MACStop", "MacList", "TextTrayIcon"};
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

TEST_F(MainWindowTest, TheBuiltInLayoutIsTheOneInTheSourceTree) {
  const std::string stored = ReadFile(OSTVANE_SOURCE_DIR "/resources/Unit1.layout");
  ASSERT_FALSE(stored.empty());
  EXPECT_EQ(std::string(StoredMainFormLayout()), stored);
}

// ---- Inputs ----

TEST_F(MainWindowTest, NumericEditsTakeDigitsOnlyAndThreeAtMost) {
  Start();
  ui::TEdit* edit = Form->MACIPC;
  edit->SetText("");
  ClickOn(edit);
  Headless->TypeText("4x5 -67");
  App->ProcessMessages();
  EXPECT_EQ(edit->Text(), "456");
  // Backspace still edits.
  Headless->StrokeKey(platform::VK_BACK);
  App->ProcessMessages();
  EXPECT_EQ(edit->Text(), "45");
  // Pasted text loses what is not a digit.
  edit->SetText("");
  Headless->SetClipboardText("1a2");
  edit->PasteFromClipboard();
  EXPECT_EQ(edit->Text(), "12");
}

TEST_F(MainWindowTest, TheBarBesideTheLogFollowsItsLinesAndScrollsIt) {
  Start();
  EXPECT_EQ(Form->macbar->Max(), 0);
  EXPECT_FALSE(Form->macbar->Enabled()) << "nothing to scroll yet";
  for (int i = 1; i <= 100; ++i) Form->AppendLogLine("192.168.1." + std::to_string(i) + ":00-00-00-00-00-00");
  App->ProcessMessages();
  const int visible = Form->MAC->VisibleRowCount();
  // Each added line keeps the text ending with a line break, so the memo
  // shows one empty row after the last line.
  const int rows = Form->MAC->RowCount();
  ASSERT_EQ(rows, 101);
  ASSERT_LT(visible, rows);
  EXPECT_EQ(Form->macbar->Max(), rows - 1);
  EXPECT_EQ(Form->macbar->PageSize(), visible);
  EXPECT_TRUE(Form->macbar->Enabled());
  // The log shows its end as lines arrive, and the bar says so.
  EXPECT_EQ(Form->MAC->FirstVisibleRow(), rows - visible);
  EXPECT_EQ(Form->macbar->Position(), rows - visible);

  // Pressing the bar's upper arrow scrolls the log one row up.
  const gfx::Rect arrow = Form->macbar->DecreaseArrowRect();
  Headless->AdvanceClock(1000);
  Headless->Click(Form->macbar->ClientToScreen(gfx::Point{arrow.Left + 3, arrow.Top + 3}));
  App->ProcessMessages();
  EXPECT_EQ(Form->macbar->Position(), rows - visible - 1);
  EXPECT_EQ(Form->MAC->FirstVisibleRow(), rows - visible - 1);
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
