// The skinned edits, the up-down and their layout classes: what the
// numeric edit lets in and what it makes of it, Enter kept from the edit,
// the edit menu from the mouse and the keyboard, the size from the
// section, the looks of each state, the up-down's repeat.

#include "SkinControlsTestSupport.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinTabs.h"
#include "skin/data/SkinUtils.h"
#include "skin/form/SkinMenus.h"
#include "ui/classlib/LayoutReader.h"
#include "ui/classlib/Menus.h"
#include "ui/classlib/Properties.h"
#include "ui/windowing/Input.h"

namespace skin::testing {
namespace {

class SkinEditTest : public SkinControlTest {
 protected:
  TskSkinNumericEdit* MakeOctet(TskSkinData* skin, gfx::Rect bounds = {20, 20, 80, 36}) {
    auto* edit = Add<TskSkinNumericEdit>(Form, bounds);
    edit->SetMinValue(1);
    edit->SetMaxValue(255);
    edit->SetMaxLength(3);
    edit->SetSkinData(skin);
    return edit;
  }
  void Focus(ui::TWinControl* control) {
    control->SetFocus();
    App->ProcessMessages();
  }
  void Type(std::string_view text) {
    Headless->TypeText(text);
    App->ProcessMessages();
  }
  // The control as the screen shows it, frame included.
  gfx::Bitmap OnScreen(ui::TControl* control) {
    App->ProcessMessages();
    gfx::Point origin = control->ClientToScreen(gfx::Point{0, 0});
    auto* edit = dynamic_cast<TskSkinCustomEdit*>(control);
    if (edit) origin = gfx::Point{origin.X - edit->EditRect().Left, origin.Y - edit->EditRect().Top};
    gfx::Bitmap picture;
    Headless->CaptureScreen(gfx::Rect{origin.X, origin.Y, origin.X + control->Width(), origin.Y + control->Height()},
                            picture);
    return picture;
  }
};

TEST_F(SkinEditTest, NumericEditClampsAtOnceAndFormatsOnFocusLoss) {
  for (TskSkinData* skin : {StoredSkin(), static_cast<TskSkinData*>(nullptr)}) {
    SCOPED_TRACE(skin ? "skin" : "no skin");
    TskSkinNumericEdit* edit = MakeOctet(skin);
    auto* other = MakeOctet(skin, {20, 60, 80, 76});
    ShowForm();
    Focus(edit);
    edit->SelectAll();
    Type("300");
    EXPECT_EQ(edit->Text(), "255");
    EXPECT_EQ(edit->Value(), 255);
    Type("9");  // the caret stands at the end: the limit holds
    EXPECT_EQ(edit->Text(), "255");

    edit->SelectAll();
    Type("0");
    EXPECT_EQ(edit->Text(), "0");  // may still become "05"
    EXPECT_EQ(edit->Value(), 1);
    Focus(other);
    EXPECT_EQ(edit->Text(), "1");

    edit->SetValue(77);
    Focus(edit);
    edit->SelectAll();
    Stroke(platform::VK_BACK);
    EXPECT_EQ(edit->Text(), "");
    Focus(other);
    EXPECT_EQ(edit->Text(), "1");  // emptied: the minimum

    edit->SetValue(-5);
    EXPECT_EQ(edit->Text(), "1");
    edit->Free();
    other->Free();
  }
}

TEST_F(SkinEditTest, NumericEditRefusesLettersAndKeepsEnterFromTheEdit) {
  TskSkinNumericEdit* edit = MakeOctet(StoredSkin());
  std::vector<char32_t> pressed;
  edit->OnKeyPress = [&](core::TComponent*, char32_t& key) { pressed.push_back(key); };
  ShowForm();
  Focus(edit);
  edit->SelectAll();
  const int beeps = Headless->BeepCount();
  Type("1a2.b");
  EXPECT_EQ(edit->Text(), "12");
  EXPECT_EQ(Headless->BeepCount() - beeps, 3);
  pressed.clear();
  Stroke(platform::VK_RETURN);
  EXPECT_EQ(edit->Text(), "12");
  EXPECT_EQ(pressed, std::vector<char32_t>{U'\r'});

  // Without a range every number stands as typed; what is no number
  // leaves Value alone.
  edit->SetMinValue(0);
  edit->SetMaxValue(0);
  edit->SelectAll();
  Type("999");
  EXPECT_EQ(edit->Value(), 999);
  for (const char* text : {"-", "", "1-2"}) {
    edit->SetText(text);
    EXPECT_EQ(edit->Value(), 999) << text;
  }
  edit->SetValueType(vtFloat);
  EXPECT_FALSE(edit->IsValidNumber(".5"));
  EXPECT_FALSE(edit->IsValidNumber("1.2.3"));
  EXPECT_TRUE(edit->IsValidNumber("-1.25"));
}

TEST_F(SkinEditTest, TheEditTakesTheSectionsHeightAndWorksWithoutASection) {
  TskSkinData* skin = StoredSkin();
  TskSkinNumericEdit* skinned = MakeOctet(skin);
  const auto* section =
      dynamic_cast<const TskDataSkinEditControl*>(skin->SkinControls()[std::size_t(skin->FindControlIndex("edit"))].get());
  ASSERT_NE(section, nullptr);
  EXPECT_EQ(skinned->Height(), RectHeight(section->SkinRect));
  EXPECT_EQ(skinned->Height(), 21);  // the stored skin's edit
  EXPECT_EQ(skinned->ClientHeight(), RectHeight(section->ClientRect));

  TskSkinNumericEdit* plain = MakeOctet(nullptr, {20, 60, 80, 76});
  plain->SetSkinDataName("nosuchsection");
  plain->SetSkinData(skin);
  EXPECT_EQ(plain->SkinIndex(), -1);
  EXPECT_EQ(plain->Height(), 16);
  EXPECT_EQ(plain->ClientHeight(), 12);  // 2 pixels of frame on each side
  ShowForm();
  Focus(plain);
  plain->SelectAll();
  Type("42");
  EXPECT_EQ(plain->Value(), 42);
}

TEST_F(SkinEditTest, TheEditMenuOpensFromMouseAndKeyboardAndItsItemsWork) {
  TskSkinData* skin = StoredSkin();
  auto* menu = core::Create<TskSkinMenu>(*Form);
  menu->SetForm(Form);
  auto* edit = Add<TskSkinEdit>(Form, {20, 20, 200, 41});
  edit->SetSkinData(skin);
  edit->SetText("hello world");
  ShowForm();
  Focus(edit);
  edit->SetSelLength(0);

  Headless->Click(Centre(edit), platform::MouseButton::Right);
  App->ProcessMessages();
  ASSERT_TRUE(menu->Visible());
  ASSERT_NE(edit->SysPopupMenu(), nullptr);
  ui::TMenuItem* items = edit->SysPopupMenu()->Items();
  ASSERT_EQ(items->Count(), 8);
  EXPECT_EQ(items->Items(7)->Caption(), "全部选择");
  EXPECT_FALSE(items->Items(2)->Enabled());  // cut: nothing selected
  EXPECT_TRUE(items->Items(7)->Enabled());
  menu->CloseAll();
  App->ProcessMessages();

  // The keyboard's request (Shift+F10, the menu key) opens at the
  // control's centre.
  StrokeShifted(platform::VK_F10);
  ASSERT_TRUE(menu->Visible());
  EXPECT_EQ(menu->PopupList().front()->Left(), Centre(edit).X);
  menu->CloseAll();
  App->ProcessMessages();
  edit->SelectAll();
  Stroke(platform::VK_APPS);
  ASSERT_TRUE(menu->Visible());
  EXPECT_EQ(menu->PopupList().front()->Left(), Centre(edit).X);
  items = edit->SysPopupMenu()->Items();
  EXPECT_TRUE(items->Items(2)->Enabled());
  EXPECT_FALSE(items->Items(7)->Enabled());  // all selected already
  menu->CloseAll();
  App->ProcessMessages();

  auto run = [&](int index) {
    edit->Perform(ui::WM_CONTEXTMENU, ui::WPARAM(edit->Handle()), ui::MakeLParam(-1, -1));
    App->ProcessMessages();
    edit->SysPopupMenu()->Items()->Items(index)->Click();
    menu->CloseAll();
    App->ProcessMessages();
  };
  edit->SetSelStart(0);
  edit->SetSelLength(5);
  run(3);  // copy
  EXPECT_EQ(ui::GetClipboardText(), "hello");
  run(2);  // cut
  EXPECT_EQ(edit->Text(), " world");
  run(7);  // select all
  EXPECT_EQ(edit->SelLength(), 6);
  run(4);  // paste over it
  EXPECT_EQ(edit->Text(), "hello");
  edit->SetSelStart(0);
  edit->SetSelLength(1);
  run(5);  // delete
  EXPECT_EQ(edit->Text(), "ello");
  run(0);  // undo
  EXPECT_EQ(edit->Text(), "hello");
}

TEST_F(SkinEditTest, LooksOfEachStateWithTheStoredSkinAndWithout) {
  for (bool skinned : {true, false}) {
    SCOPED_TRACE(skinned ? "skin" : "default");
    TskSkinNumericEdit* edit = MakeOctet(skinned ? StoredSkin() : nullptr, {20, 20, 70, 41});
    edit->SetValue(192);
    TskSkinNumericEdit* focusHolder = MakeOctet(nullptr, {20, 200, 60, 216});
    ShowForm();
    Focus(focusHolder);
    MoveTo(At(edit, 300, 200));
    const std::string base = std::string("controls/golden/edit-") + (skinned ? "skin" : "default");
    EXPECT_TRUE(MatchesGolden(OnScreen(edit), base + "-normal.png"));
    MoveTo(Centre(edit));
    EXPECT_TRUE(MatchesGolden(OnScreen(edit), base + "-hot.png"));
    MoveTo(At(edit, 300, 200));
    Focus(edit);
    edit->SetSelStart(3);
    EXPECT_TRUE(MatchesGolden(OnScreen(edit), base + "-focused.png"));
    Focus(focusHolder);
    edit->SetEnabled(false);
    EXPECT_TRUE(MatchesGolden(OnScreen(edit), base + "-disabled.png"));
    edit->Free();
    focusHolder->Free();
  }
}

}  // namespace
}  // namespace skin::testing

namespace skin::testing {
namespace {

class SkinUpDownTest : public SkinControlTest {
 protected:
  // The clock in small steps, so that every tick of a repeat arrives.
  void Tick(int milliseconds) {
    for (int t = 0; t < milliseconds; t += 10) Wait(std::min(10, milliseconds - t));
  }
};

TEST_F(SkinUpDownTest, APressStepsAtOnceThenRepeatsAndPausesOffTheButton) {
  for (TskSkinData* skin : {StoredSkin(), static_cast<TskSkinData*>(nullptr)}) {
    SCOPED_TRACE(skin ? "skin" : "no skin");
    auto* upDown = AddSkinned<TskSkinUpDown>(Form, {20, 20, 60, 40}, skin);
    upDown->SetMax(1000);
    ShowForm();
    const TRect up = upDown->ButtonRect(TskSkinUpDown::UpButton);
    ASSERT_FALSE(IsNullRect(up));
    MoveTo(At(upDown, (up.Left + up.Right) / 2, (up.Top + up.Bottom) / 2));
    Headless->PressMouse(platform::MouseButton::Left);
    App->ProcessMessages();
    EXPECT_EQ(upDown->Position(), 1);
    Tick(499);
    EXPECT_EQ(upDown->Position(), 1);
    Tick(1);
    EXPECT_EQ(upDown->Position(), 2);
    Tick(300);
    EXPECT_EQ(upDown->Position(), 5);
    MoveTo(At(upDown, 200, 200));  // off: paused
    Tick(300);
    EXPECT_EQ(upDown->Position(), 5);
    MoveTo(At(upDown, (up.Left + up.Right) / 2, (up.Top + up.Bottom) / 2));
    Tick(50);
    EXPECT_EQ(upDown->Position(), 6);
    Release();
    Tick(300);
    EXPECT_EQ(upDown->Position(), 6);
    upDown->SetPosition(2000);  // outside: ignored
    EXPECT_EQ(upDown->Position(), 6);
    upDown->SetMax(3);  // pulled in silently
    EXPECT_EQ(upDown->Position(), 3);
    upDown->Free();
  }
}

}  // namespace
}  // namespace skin::testing

namespace skin::testing {
namespace {

class SkinBoxLayoutTest : public SkinControlTest {};

TEST_F(SkinBoxLayoutTest, EditsMemoAndPagesLoadWithTheirLinks) {
  auto* form = App->CreateForm<ui::TForm>();
  ui::RegisterComponentClass<TskSkinData>("TskSkinData");
  ui::ReadLayout(*form, R"(object Form1: TForm
  Width = 400
  Height = 300
  object NetScan: TskSkinPageControl
    Width = 380
    Height = 280
    TabPosition = tpBottom
    SkinData = skSkinData1
    object Ostvane: TskSkinTabSheet
      Caption = 'Scan'
      object MACIPA: TskSkinNumericEdit
        Left = 10
        Top = 10
        Width = 40
        Height = 16
        MaxLength = 3
        MinValue = 1
        MaxValue = 255
        Value = 192
        SkinData = skSkinData1
      end
      object MAC: TskSkinMemo
        Left = 10
        Top = 40
        Width = 200
        Height = 100
        VScrollBar = macbar
      end
      object macbar: TskSkinScrollBar
        Left = 210
        Top = 40
        Width = 17
        Height = 100
        Kind = sbVertical
        SkinDataName = 'vscrollbar'
      end
    end
  end
  object skSkinData1: TskSkinData
  end
end
)");
  auto* pages = dynamic_cast<TskSkinPageControl*>(form->FindComponent("NetScan"));
  auto* edit = dynamic_cast<TskSkinNumericEdit*>(form->FindComponent("MACIPA"));
  auto* memo = dynamic_cast<TskSkinMemo*>(form->FindComponent("MAC"));
  ASSERT_TRUE(pages && edit && memo);
  EXPECT_EQ(pages->PageCount(), 1);
  EXPECT_EQ(edit->SkinData(), form->FindComponent("skSkinData1"));
  EXPECT_EQ(edit->MaxValue(), 255);
  EXPECT_EQ(edit->Text(), "192");
  EXPECT_EQ(static_cast<core::TComponent*>(memo->VScrollBar()), form->FindComponent("macbar"));
}

}  // namespace
}  // namespace skin::testing
