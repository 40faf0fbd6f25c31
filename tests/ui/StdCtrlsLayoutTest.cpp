#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "ui/stdcontrols/ComCtrls.h"
#include "ui/classlib/LayoutReader.h"
#include "ui/classlib/LayoutWriter.h"
#include "ui/classlib/Properties.h"
#include "ui/stdcontrols/StdCtrls.h"

namespace ui::testing {
namespace {

// The scan window's controls, as a stored layout names them.
const char* const ScanLayout = R"(object ScanForm: TForm
  Left = 242
  Top = 177
  Width = 696
  Height = 477
  Caption = 'Ostvane'
  object NetScan: TPageControl
    Left = 0
    Top = 0
    Width = 688
    Height = 450
    ActivePage = Ostvane
    Align = alClient
    MultiLine = True
    TabPosition = tpBottom
    TabIndex = 0
    object Ostvane: TTabSheet
      Caption = #25195#25551'MAC'#22320#22336
      object MacLog: TGroupBox
        Left = 0
        Top = 0
        Width = 490
        Height = 420
        Align = alClient
        Caption = 'Log'
        object macbar: TScrollBar
          Left = 472
          Top = 23
          Width = 17
          Height = 404
          Align = alRight
          Kind = sbVertical
          Max = 0
          PageSize = 0
          TabStop = False
        end
        object MAC: TMemo
          Left = 1
          Top = 23
          Width = 471
          Height = 404
          Align = alClient
          Enabled = False
          Lines.Strings = (
            'first'
            'second')
          ScrollBars = ssNone
        end
      end
      object MacManger: TGroupBox
        Left = 490
        Top = 0
        Width = 196
        Height = 420
        Align = alRight
        Caption = 'Scan'
        object MACIPLabel: TLabel
          Left = 16
          Top = 70
          Width = 37
          Height = 13
          Caption = 'IP:'
          FocusControl = MACIPA
        end
        object MACIPA: TEdit
          Left = 64
          Top = 67
          Width = 25
          Height = 16
          AutoSize = False
          MaxLength = 3
          Text = '192'
        end
        object MacList: TCheckBox
          Left = 24
          Top = 120
          Width = 150
          Height = 25
          Caption = 'Hide'
          Checked = True
        end
        object Star: TButton
          Left = 64
          Top = 160
          Width = 75
          Height = 25
          Caption = 'Scan'
          Default = True
        end
        object Steps: TUpDown
          Left = 100
          Top = 200
          Width = 17
          Height = 25
          Max = 254
          Position = 7
        end
      end
    end
  end
end
)";

// No registration here: the class library knows its own classes.
class StdCtrlsLayoutTest : public FormTest {
 protected:
  TForm* Load(const std::string& text) {
    auto* form = App->CreateForm<TForm>();
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

TEST_F(StdCtrlsLayoutTest, TheScanWindowsControlsLoadFromALayout) {
  // TabIndex is no property of ours: the layout is cut to what we publish.
  std::string text = ScanLayout;
  text.erase(text.find("    TabIndex = 0\n"), std::string("    TabIndex = 0\n").size());
  TForm* form = Load(text);
  auto* pages = Find<TPageControl>(form, "NetScan");
  auto* sheet = Find<TTabSheet>(form, "Ostvane");
  EXPECT_EQ(pages->ActivePage(), sheet);
  EXPECT_EQ(pages->TabPosition(), tpBottom);
  EXPECT_TRUE(pages->MultiLine());
  EXPECT_EQ(sheet->Caption(), "扫描MAC地址");
  auto* bar = Find<TScrollBar>(form, "macbar");
  EXPECT_EQ(bar->Kind(), sbVertical);
  EXPECT_EQ(bar->Max(), 0);
  EXPECT_FALSE(bar->TabStop());
  auto* memo = Find<TMemo>(form, "MAC");
  EXPECT_FALSE(memo->Enabled());
  EXPECT_EQ(memo->Lines()->Count(), 2);
  EXPECT_EQ(memo->Lines()->Get(1), "second");
  auto* edit = Find<TEdit>(form, "MACIPA");
  EXPECT_EQ(edit->MaxLength(), 3);
  EXPECT_EQ(edit->Text(), "192");
  EXPECT_EQ(edit->Height(), 16);
  EXPECT_EQ(Find<TLabel>(form, "MACIPLabel")->FocusControl(), edit);
  EXPECT_TRUE(Find<TCheckBox>(form, "MacList")->Checked());
  EXPECT_TRUE(Find<TButton>(form, "Star")->Default());
  EXPECT_EQ(Find<TUpDown>(form, "Steps")->Position(), 7);
}

TEST_F(StdCtrlsLayoutTest, WrittenLayoutsReadBackTheSame) {
  std::string text = ScanLayout;
  text.erase(text.find("    TabIndex = 0\n"), std::string("    TabIndex = 0\n").size());
  TForm* first = Load(text);
  std::string written = WriteLayout(*first);
  // Defaults stay out.
  EXPECT_EQ(written.find("WordWrap"), std::string::npos);
  EXPECT_NE(written.find("Checked = True"), std::string::npos);
  first->Free();
  TForm* second = Load(written);
  EXPECT_EQ(WriteLayout(*second), written);
  EXPECT_EQ(Find<TMemo>(second, "MAC")->Lines()->Count(), 2);
}

TEST_F(StdCtrlsLayoutTest, EveryStandardClassIsRegisteredByName) {
  for (const char* name : {"TButton", "TCheckBox", "TRadioButton", "TGroupBox", "TScrollBar", "TLabel", "TEdit",
                           "TMaskEdit", "TMemo", "TPageControl", "TTabSheet", "TUpDown"}) {
    const TClassInfo* info = FindComponentClass(name);
    ASSERT_NE(info, nullptr) << name;
    EXPECT_NE(info->FindProperty("Left"), nullptr) << name;
  }
  EXPECT_NE(FindComponentClass("TMaskEdit")->FindProperty("EditMask"), nullptr);
  EXPECT_NE(FindComponentClass("TMemo")->FindProperty("OnChange"), nullptr);
}

class TAppButton : public TButton {
 public:
  using inherited = TButton;
  using TButton::TButton;
};

TEST_F(StdCtrlsLayoutTest, AnApplicationsClassOfALibraryNameWinsAndStays) {
  RegisterComponentClass<TAppButton>("TButton");
  // Asking the library to register its classes again takes nothing back.
  RegisterClassLibraryClasses();
  RegisterStandardControls();
  TForm* form = Load("object F: TForm\n  object B: TButton\n    Caption = 'Go'\n  end\nend\n");
  auto* button = dynamic_cast<TAppButton*>(form->FindComponent("B"));
  RegisterComponentClass<TButton>("TButton");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Caption(), "Go");
  form->Free();
  form = Load("object F: TForm\n  object B: TButton\n  end\nend\n");
  EXPECT_EQ(typeid(*form->FindComponent("B")), typeid(TButton));
}

}  // namespace
}  // namespace ui::testing
