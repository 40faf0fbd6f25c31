// The skinned controls load from a stored layout with their skin link, and
// a written layout leaves out what equals the defaults.

#include "SkinControlsTestSupport.h"
#include "skin/controls/SkinCtrls.h"
#include "ui/classlib/LayoutReader.h"
#include "ui/classlib/LayoutWriter.h"
#include "ui/classlib/Properties.h"

namespace skin::testing {
namespace {

class SkinControlsLayoutTest : public SkinControlTest {};

TEST_F(SkinControlsLayoutTest, ControlsLoadWithTheirSkinAndWriteOnlyWhatDiffers) {
  auto* form = App->CreateForm<ui::TForm>();
  // The skin data component is registered by its own layer's users; here
  // the test does it.
  ui::RegisterComponentClass<TskSkinData>("TskSkinData");
  ui::ReadLayout(*form, R"(object Form1: TForm
  Width = 400
  Height = 300
  object MacManger: TskSkinGroupBox
    Left = 8
    Top = 8
    Width = 300
    Height = 200
    Caption = 'Settings'
    SkinData = skSkinData1
    SkinDataName = 'groupbox'
    object Star: TskSkinButton
      Left = 10
      Top = 30
      Width = 90
      Height = 25
      Caption = 'Scan'
      SkinData = skSkinData1
      SkinDataName = 'button'
      RepeatInterval = 100
    end
    object MacList: TskSkinCheckRadioBox
      Left = 10
      Top = 60
      Width = 150
      Height = 20
      Checked = True
      SkinData = skSkinData1
      SkinDataName = 'checkbox'
    end
    object macbar: TskSkinScrollBar
      Left = 270
      Top = 30
      Width = 17
      Height = 150
      Kind = sbVertical
      Max = 0
      SkinData = skSkinData1
      SkinDataName = 'vscrollbar'
    end
    object MACIPLabel: TskSkinStdLabel
      Left = 10
      Top = 90
      Caption = 'IP:'
    end
  end
  object skSkinData1: TskSkinData
  end
end
)");
  auto* star = dynamic_cast<TskSkinButton*>(form->FindComponent("Star"));
  auto* box = dynamic_cast<TskSkinGroupBox*>(form->FindComponent("MacManger"));
  auto* list = dynamic_cast<TskSkinCheckRadioBox*>(form->FindComponent("MacList"));
  auto* bar = dynamic_cast<TskSkinScrollBar*>(form->FindComponent("macbar"));
  ASSERT_TRUE(star && box && list && bar);
  EXPECT_EQ(star->SkinData(), form->FindComponent("skSkinData1"));
  EXPECT_EQ(star->Spacing(), 1);  // a new button's, not the stored default
  star->SetSpacing(4);             // ... which is then not written
  EXPECT_TRUE(box->CaptionMode());
  EXPECT_TRUE(list->Checked());
  EXPECT_EQ(bar->Kind(), ui::sbVertical);
  const std::string written = ui::WriteLayout(*form);
  EXPECT_EQ(written.find("RepeatInterval"), std::string::npos);
  EXPECT_EQ(written.find("Spacing"), std::string::npos);
  EXPECT_EQ(written.find("CaptionMode"), std::string::npos);
  EXPECT_NE(written.find("SkinData = skSkinData1"), std::string::npos);
}

}  // namespace
}  // namespace skin::testing
