#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "FormTestSupport.h"
#include "core/Exception.h"
#include "core/StringList.h"
#include "ui/classlib/ExtCtrls.h"
#include "ui/classlib/LayoutReader.h"
#include "ui/classlib/LayoutWriter.h"
#include "ui/classlib/Menus.h"
#include "ui/classlib/Properties.h"

namespace ui::testing {
namespace {

// What happened while a layout was read, in order.
std::vector<std::string> ReadLog;

enum TSampleKind { skFirst, skSecond, skThird };
enum TSampleOption { soOne, soTwo, soThree };
using TSampleOptions = core::TSet<TSampleOption>;

// A component with a property of every kind.
class TSample : public core::TComponent {
 public:
  using inherited = core::TComponent;
  explicit TSample(core::TComponent* owner) : core::TComponent(owner) {}

  int Count() const { return FCount; }
  void SetCount(int count) { FCount = count; }
  double Ratio() const { return FRatio; }
  void SetRatio(double ratio) { FRatio = ratio; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& title) { FTitle = title; }
  bool Active() const { return FActive; }
  void SetActive(bool active) {
    // Setters run while the component is loading.
    ReadLog.push_back(std::string("Active loading=") + (ComponentState().Contains(core::csLoading) ? "1" : "0"));
    FActive = active;
  }
  TSampleKind Kind() const { return FKind; }
  void SetKind(TSampleKind kind) { FKind = kind; }
  TSampleOptions Options() const { return FOptions; }
  void SetOptions(TSampleOptions options) { FOptions = options; }
  const std::vector<std::uint8_t>& Data() const { return FData; }
  void SetData(std::span<const std::uint8_t> data) { FData.assign(data.begin(), data.end()); }
  core::TStringList* Lines() { return &FLines; }
  TSample* Link() const { return FLink; }
  void SetLink(TSample* link) {
    // References are set once every component of the layout exists.
    LinkSetWhenComponents = Owner() ? Owner()->ComponentCount() : -1;
    if (FLink) RemoveFreeNotification(FLink);
    FLink = link;
    if (link) link->FreeNotification(this);
  }
  TPopupMenu* Menu() const { return FMenu; }
  void SetMenu(TPopupMenu* menu) { FMenu = menu; }
  TFont* Font() { return &FFont; }
  TNotifyEvent OnChange;
  int LinkSetWhenComponents = -2;

  void Loaded() override {
    core::TComponent::Loaded();
    ReadLog.push_back("Loaded " + Name());
  }

  static void DefineProperties(TPropertyList<TSample>& list) {
    list.Property("Count", &TSample::Count, &TSample::SetCount, 0);
    list.Property("Ratio", &TSample::Ratio, &TSample::SetRatio, 1.5);
    list.Property("Title", &TSample::Title, &TSample::SetTitle, std::string());
    list.Property("Active", &TSample::Active, &TSample::SetActive, false);
    list.Enum("Kind", &TSample::Kind, &TSample::SetKind, skFirst, {"skFirst", "skSecond", "skThird"});
    list.Set("Options", &TSample::Options, &TSample::SetOptions, TSampleOptions{soOne}, {"soOne", "soTwo", "soThree"});
    list.Binary("Data", &TSample::Data, &TSample::SetData);
    list.Strings("Lines", &TSample::Lines);
    list.Component("Link", &TSample::Link, &TSample::SetLink);
    list.Component("Menu", &TSample::Menu, &TSample::SetMenu);
    TPropertyInfo& font = list.Object("Font", &TSample::Font);
    list.StoredIf(font, [](TSample& s) { return !s.FFont.SameAs(TFont()); });
    list.Event("OnChange", &TSample::OnChange);
  }

 protected:
  void Notification(core::TComponent* component, core::TOperation operation) override {
    if (operation == core::opRemove && component == FLink) FLink = nullptr;
  }

 private:
  int FCount = 0;
  double FRatio = 1.5;
  std::string FTitle;
  bool FActive = false;
  TSampleKind FKind = skFirst;
  TSampleOptions FOptions{soOne};
  std::vector<std::uint8_t> FData;
  core::TStringList FLines;
  TSample* FLink = nullptr;
  TPopupMenu* FMenu = nullptr;
  TFont FFont;
};

// A windowed container with a caption.
class TProbePanel : public TCustomControl {
 public:
  using inherited = TCustomControl;
  explicit TProbePanel(core::TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() | TControlStyle{csAcceptsControls});
  }
  void Loaded() override {
    TCustomControl::Loaded();
    ReadLog.push_back("Loaded " + Name());
  }
  static void DefineProperties(TPropertyList<TProbePanel>& list) {
    list.Property("Caption", &TProbePanel::Caption, &TProbePanel::SetCaption, std::string());
  }
};

// A windowless label.
class TNote : public TGraphicControl {
 public:
  using inherited = TGraphicControl;
  using TGraphicControl::TGraphicControl;
  void Loaded() override {
    TGraphicControl::Loaded();
    ReadLog.push_back("Loaded " + Name());
  }
  static void DefineProperties(TPropertyList<TNote>& list) {
    list.Property("Caption", &TNote::Caption, &TNote::SetCaption, std::string());
  }
};

class TLayoutTestForm : public TForm {
 public:
  using inherited = TForm;
  explicit TLayoutTestForm(core::TComponent* owner) : TForm(owner) {}

  void StarClick(core::TComponent* sender) { Clicks.push_back(sender); }
  void Tick(core::TComponent*) { ++Ticks; }
  void KeyHandler(core::TComponent*, int& key, TShiftState) { key = 0; }
  void Loaded() override {
    TForm::Loaded();
    ReadLog.push_back("Loaded " + Name());
  }
  static void DefineProperties(TPropertyList<TLayoutTestForm>& list) {
    list.Method("StarClick", &TLayoutTestForm::StarClick);
    list.Method("Tick", &TLayoutTestForm::Tick);
    list.Method("KeyHandler", &TLayoutTestForm::KeyHandler);
  }

  std::vector<core::TComponent*> Clicks;
  int Ticks = 0;
};

// Written in the order and form the writer uses, so that writing it back
// gives this text exactly.
const char* const SampleLayout = R"(object LayoutForm: TLayoutTestForm
  Left = 242
  Top = 177
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  ActiveControl = Right
  BorderIcons = []
  Caption = 'Ostvane V1.0     www.example.net'
  ClientHeight = 450
  ClientWidth = 688
  OldCreateOrder = False
  Position = poScreenCenter
  PixelsPerInch = 96
  TextHeight = 13
  object Client: TProbePanel
    Left = 0
    Top = 0
    Width = 492
    Height = 450
    Align = alClient
    PopupMenu = PopupMenu1
    TabOrder = 1
    Caption = '扫描日志'
    object Note: TNote
      Left = 16
      Top = 70
      Width = 37
      Height = 13
      Caption = 'IP地址:'
    end
    object Inner: TProbePanel
      Left = 8
      Top = 8
      Width = 100
      Height = 20
      Anchors = [akTop, akRight]
      OnClick = StarClick
      TabOrder = 0
    end
  end
  object Right: TProbePanel
    Left = 492
    Top = 0
    Width = 196
    Height = 450
    Align = alRight
    Color = clBtnFace
    Font.Charset = GB2312_CHARSET
    Font.Color = clBtnText
    Font.Height = 14
    Font.Name = 'Arial'
    Font.Style = [fsBold, fsItalic]
    ParentColor = False
    ParentFont = False
    TabOrder = 0
    OnKeyDown = KeyHandler
  end
  object Sample1: TSample
    Tag = 3
    Count = -7
    Ratio = 2.500000000000000000
    Title = 'it''s'#13#10'two lines'
    Active = True
    Kind = skThird
    Options = [soOne, soThree]
    Data = {
      000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F
      2021222324252627}
    Lines.Strings = (
      'first'
      '第二'
      '')
    Link = Sample2
    Menu = PopupMenu1
    Font.Charset = GB2312_CHARSET
    Font.Color = 1234567
    Font.Height = -12
    Font.Name = '宋体'
    Font.Style = [fsBold]
    OnChange = StarClick
  end
  object Sample2: TSample
    Title = 'A title longer than sixty-four bytes is written in pieces, each ' +
      'of them quoted on its own line.'
    Options = []
    Link = Sample2
  end
  object PopupMenu1: TPopupMenu
    AutoPopup = False
    object Open1: TMenuItem
      Caption = '&Open'
      ShortCut = 16463
      OnClick = StarClick
    end
    object N1: TMenuItem
      Caption = '-'
    end
    object More1: TMenuItem
      Caption = 'More'
      object Deep1: TMenuItem
        Caption = 'Deep'
        Checked = True
      end
    end
  end
  object Timer1: TTimer
    Interval = 250
    OnTimer = Tick
  end
end
)";

class LayoutTest : public FormTest {
 protected:
  LayoutTest() {
    RegisterClassLibraryClasses();
    RegisterComponentClass<TSample>("TSample");
    RegisterComponentClass<TProbePanel>("TProbePanel");
    RegisterComponentClass<TNote>("TNote");
    RegisterComponentClass<TLayoutTestForm>("TLayoutTestForm");
    ReadLog.clear();
  }

  TLayoutTestForm* Load(const char* text) {
    auto* form = App->CreateForm<TLayoutTestForm>();
    ReadLayout(*form, text);
    return form;
  }

  template <class T>
  T* Find(core::TComponent* root, const char* name) {
    T* found = dynamic_cast<T*>(root->FindComponent(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
  }
};

TEST_F(LayoutTest, EveryKindOfPropertyLoadsIntoTheRightTree) {
  TLayoutTestForm* form = Load(SampleLayout);
  EXPECT_EQ(form->Name(), "LayoutForm");
  EXPECT_EQ(form->Caption(), "Ostvane V1.0     www.example.net");
  EXPECT_EQ(form->ClientWidth(), 688);
  EXPECT_EQ(form->ClientHeight(), 450);
  EXPECT_EQ(form->BorderIcons(), TBorderIcons{});
  EXPECT_EQ(form->Position(), poScreenCenter);
  EXPECT_EQ(form->Left(), 242);

  auto* client = Find<TProbePanel>(form, "Client");
  auto* right = Find<TProbePanel>(form, "Right");
  auto* note = Find<TNote>(form, "Note");
  auto* inner = Find<TProbePanel>(form, "Inner");
  ASSERT_TRUE(client && right && note && inner);
  // Owner: the form; parent: the enclosing object.
  EXPECT_EQ(note->Owner(), form);
  EXPECT_EQ(note->Parent(), client);
  EXPECT_EQ(inner->Parent(), client);
  EXPECT_EQ(client->Parent(), form);
  EXPECT_EQ(client->Caption(), "扫描日志");
  EXPECT_EQ(note->Caption(), "IP地址:");
  // Alignment ran once everything was there.
  EXPECT_EQ(right->BoundsRect(), (gfx::Rect{492, 0, 688, 450}));
  EXPECT_EQ(client->BoundsRect(), (gfx::Rect{0, 0, 492, 450}));
  EXPECT_EQ(inner->Anchors(), (TAnchors{akTop, akRight}));
  // Fonts: the right panel's own, the others follow their parents.
  EXPECT_EQ(right->Font()->Name(), "Arial");
  EXPECT_EQ(right->Font()->Charset(), GB2312_CHARSET);
  EXPECT_EQ(right->Font()->Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(right->Color(), clBtnFace);
  EXPECT_EQ(note->Font()->Name(), "MS Sans Serif");
  EXPECT_TRUE(note->ParentFont());
  // Tab order as stored, whatever the reading order.
  EXPECT_EQ(right->TabOrder(), 0);
  EXPECT_EQ(client->TabOrder(), 1);

  auto* sample = Find<TSample>(form, "Sample1");
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(sample->Tag(), 3);
  EXPECT_EQ(sample->Count(), -7);
  EXPECT_DOUBLE_EQ(sample->Ratio(), 2.5);
  EXPECT_EQ(sample->Title(), "it's\r\ntwo lines");
  EXPECT_TRUE(sample->Active());
  EXPECT_EQ(sample->Kind(), skThird);
  EXPECT_EQ(sample->Options(), (TSampleOptions{soOne, soThree}));
  ASSERT_EQ(sample->Data().size(), 40u);
  EXPECT_EQ(sample->Data()[39], 0x27);
  EXPECT_EQ(sample->Lines()->Text(), "first\r\n第二\r\n\r\n");
  EXPECT_EQ(sample->Font()->Color(), TColor(1234567));
  EXPECT_EQ(sample->Font()->Name(), "宋体");

  auto* sample2 = Find<TSample>(form, "Sample2");
  EXPECT_EQ(sample2->Title(),
            "A title longer than sixty-four bytes is written in pieces, each of them quoted on its own line.");
  EXPECT_EQ(sample2->Options(), TSampleOptions{});
  EXPECT_EQ(sample2->Link(), sample2) << "a reference to itself";

  auto* menu = Find<TPopupMenu>(form, "PopupMenu1");
  ASSERT_NE(menu, nullptr);
  EXPECT_FALSE(menu->AutoPopup());
  ASSERT_EQ(menu->Items()->Count(), 3);
  EXPECT_EQ(menu->Items()->Items(0)->Caption(), "&Open");
  EXPECT_EQ(menu->Items()->Items(0)->ShortCut(), ShortCut('O', TShiftState{ssCtrl}));
  EXPECT_TRUE(menu->Items()->Items(1)->IsLine());
  ASSERT_EQ(menu->Items()->Items(2)->Count(), 1);
  EXPECT_TRUE(menu->Items()->Items(2)->Items(0)->Checked());
  EXPECT_EQ(Find<TTimer>(form, "Timer1")->Interval(), 250u);
}

TEST_F(LayoutTest, ReferencesResolveOnceEveryComponentExists) {
  TLayoutTestForm* form = Load(SampleLayout);
  auto* sample = Find<TSample>(form, "Sample1");
  auto* sample2 = Find<TSample>(form, "Sample2");
  auto* menu = Find<TPopupMenu>(form, "PopupMenu1");
  // Sample2, PopupMenu1 and Right come after the components naming them.
  EXPECT_EQ(sample->Link(), sample2);
  EXPECT_EQ(sample->Menu(), menu);
  EXPECT_EQ(Find<TProbePanel>(form, "Client")->PopupMenu(), menu);
  EXPECT_EQ(form->ActiveControl(), Find<TProbePanel>(form, "Right"));
  EXPECT_EQ(sample->LinkSetWhenComponents, form->ComponentCount());
  // The references follow the components' lives.
  sample2->Free();
  EXPECT_EQ(sample->Link(), nullptr);
  menu->Free();
  EXPECT_EQ(Find<TProbePanel>(form, "Client")->PopupMenu(), nullptr);
}

TEST_F(LayoutTest, PropertiesAreSetWhileLoadingAndLoadedRunsInCreationOrder) {
  Load(SampleLayout);
  std::vector<std::string> loaded;
  for (const std::string& entry : ReadLog) {
    if (entry.starts_with("Loaded")) loaded.push_back(entry);
  }
  EXPECT_EQ(loaded, (std::vector<std::string>{"Loaded LayoutForm", "Loaded Client", "Loaded Note", "Loaded Inner",
                                              "Loaded Right", "Loaded Sample1", "Loaded Sample2"}));
  EXPECT_EQ(ReadLog.front(), "Active loading=1");
}

TEST_F(LayoutTest, EventsAreBoundToTheFormsMethodsByName) {
  TLayoutTestForm* form = Load(SampleLayout);
  auto* sample = Find<TSample>(form, "Sample1");
  ASSERT_TRUE(bool(sample->OnChange));
  EXPECT_EQ(sample->OnChange.MethodName(), "StarClick");
  sample->OnChange(sample);
  auto* menu = Find<TPopupMenu>(form, "PopupMenu1");
  menu->Items()->Items(0)->Click();
  EXPECT_EQ(form->Clicks, (std::vector<core::TComponent*>{sample, menu->Items()->Items(0)}));
  // The timer is bound and running.
  Headless->AdvanceClock(250);
  App->ProcessMessages();
  EXPECT_EQ(form->Ticks, 1);
  // Assigning code forgets the method's name.
  sample->OnChange = [](core::TComponent*) {};
  EXPECT_TRUE(sample->OnChange.MethodName().empty());
}

TEST_F(LayoutTest, WritingBackGivesTheSameText) {
  TLayoutTestForm* form = Load(SampleLayout);
  EXPECT_EQ(WriteLayout(*form), SampleLayout);
}

TEST_F(LayoutTest, StringsMayUseCharacterCodesAndPieces) {
  TLayoutTestForm* form = Load(R"(object F: TLayoutTestForm
  Caption = #25195#25551'MAC'#$5730#$5740 +
    ' end'#9
end
)");
  EXPECT_EQ(form->Caption(), "扫描MAC地址 end\t");
  // Written back, printable characters are kept as UTF-8 text.
  EXPECT_NE(WriteLayout(*form).find("Caption = '扫描MAC地址 end'#9\n"), std::string::npos);
}

TEST_F(LayoutTest, DefaultsAreNotWritten) {
  auto* form = App->CreateForm<TLayoutTestForm>();
  form->SetName("Blank");
  EXPECT_EQ(form->Caption(), "Blank") << "the caption follows the name";
  form->SetCaption("");
  auto* sample = core::Create<TSample>(*form);
  sample->SetName("Sample1");
  auto* panel = core::Create<TProbePanel>(*form);
  panel->SetName("Panel1");
  panel->SetParent(form);
  panel->SetCaption("");
  const char* expected = R"(object Blank: TLayoutTestForm
  Left = 0
  Top = 0
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  Font.Style = []
  ClientHeight = 213
  ClientWidth = 312
  OldCreateOrder = False
  PixelsPerInch = 96
  TextHeight = 13
  object Panel1: TProbePanel
    Left = 0
    Top = 0
    Width = 0
    Height = 0
    TabOrder = 0
  end
  object Sample1: TSample
  end
end
)";
  EXPECT_EQ(WriteLayout(*form), expected);
  // Changing values to their defaults writes nothing more either.
  sample->SetOptions(TSampleOptions{soOne});
  sample->SetRatio(1.5);
  EXPECT_EQ(WriteLayout(*form), expected);
}

TEST_F(LayoutTest, ReadingAndWritingThroughTheFormLoadsItAndRunsOnCreate) {
  auto* form = App->CreateForm<TLayoutTestForm>();
  bool created = false;
  form->OnCreate = [&](core::TComponent*) { created = form->FindComponent("Sample1") != nullptr; };
  form->LoadLayout(SampleLayout);
  EXPECT_TRUE(created);
  form->Show();
  EXPECT_EQ(form->Left(), (1024 - form->Width()) / 2) << "poScreenCenter overrides the stored Left";
}

struct BadLayout {
  const char* Text;
  const char* Message;
};

void PrintTo(const BadLayout& layout, std::ostream* os) { *os << '"' << layout.Message << '"'; }

// A case is named after the message it expects: "Line_2_Unterminated_string".
std::string BadLayoutName(const ::testing::TestParamInfo<BadLayout>& info) {
  std::string name;
  for (const char* c = info.param.Message; *c; ++c) {
    const bool word = std::isalnum(static_cast<unsigned char>(*c));
    if (word) name += *c;
    else if (!name.empty() && name.back() != '_') name += '_';
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return name;
}

class LayoutErrorTest : public LayoutTest, public ::testing::WithParamInterface<BadLayout> {};

TEST_P(LayoutErrorTest, BadLayoutsRaiseReadErrorsWithTheLine) {
  auto* form = App->CreateForm<TLayoutTestForm>();
  try {
    ReadLayout(*form, GetParam().Text);
    FAIL() << "no error for " << GetParam().Text;
  } catch (const core::EReadError& e) {
    EXPECT_EQ(std::string(e.what()), GetParam().Message);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, LayoutErrorTest,
    ::testing::Values(
        BadLayout{"object F: TLayoutTestForm\n  object X: TNoSuchClass\n  end\nend\n", "Line 2: Class TNoSuchClass not found"},
        BadLayout{"object F: TLayoutTestForm\n  Colour = clRed\nend\n", "Line 2: Property F.Colour does not exist"},
        BadLayout{"object F: TLayoutTestForm\n  Position = poNowhere\nend\n",
                  "Line 2: Error reading F.Position: Invalid property value of Position"},
        BadLayout{"object F: TLayoutTestForm\n  ClientWidth = 'wide'\nend\n",
                  "Line 2: Error reading F.ClientWidth: Invalid property value of ClientWidth"},
        BadLayout{"object F: TLayoutTestForm\n  ActiveControl = Nobody\nend\n",
                  "Line 2: Error reading F.ActiveControl: component Nobody does not exist"},
        BadLayout{"object F: TLayoutTestForm\n  object S: TSample\n    Link = F\n  end\nend\n",
                  "Line 3: Error reading S.Link: F is of the wrong class"},
        BadLayout{"object F: TLayoutTestForm\n  OnClick = Missing\nend\n", "Line 2: Method Missing of F.OnClick does not exist"},
        BadLayout{"object F: TLayoutTestForm\n  OnKeyDown = StarClick\nend\n",
                  "Line 2: Method StarClick does not fit the event F.OnKeyDown"},
        BadLayout{"object F: TLayoutTestForm\n  Caption = 'open\nend\n", "Line 2: Unterminated string"},
        BadLayout{"object F: TLayoutTestForm\n  object S: TSample\n    Data = {0A0}\n  end\nend\n",
                  "Line 3: Odd number of hex digits in binary data"},
        BadLayout{"object F: TLayoutTestForm\n  Caption = 'x'\n", "Line 3: 'end' expected"},
        BadLayout{"object F: TLayoutTestForm\n  object A: TSample\n  end\n  object B: TSample\n  end\n  object A: TSample\n  end\nend\n",
                  "Line 6: A component named A already exists"},
        BadLayout{"object F: TLayoutTestForm\n  object S: TSample\n    object P: TProbePanel\n    end\n  end\nend\n",
                  "Line 3: P cannot be placed in S"}),
    BadLayoutName);

}  // namespace
}  // namespace ui::testing
