// The main window as the program shows it: frame, caption buttons, system
// menu and controls drawn from the skin the program carries, and the
// default look when that skin cannot be read.

#include "MainWindowSupport.h"

#include <string>

#include "../skin/GoldenImage.h"
#include "app/Resources.h"
#include "gfx/Region.h"
#include "skin/data/SkinData.Controls.h"
#include "ui/windowing/Windows.h"

namespace app::testing {
namespace {

class MainWindowSkinTest : public MainWindowTest {
 protected:
  skin::TskActiveSkinObject* Object(const std::string& name) const {
    for (const auto& object : Form->SkinForm->ObjectList()) {
      if (object->IDName == name) return object.get();
    }
    return nullptr;
  }
  // A click on a caption object of the frame, as the user makes it.
  void ClickObject(const std::string& name) {
    skin::TskActiveSkinObject* object = Object(name);
    ASSERT_NE(object, nullptr) << name;
    const gfx::Rect r = object->ObjectRect;
    Headless->AdvanceClock(1000);
    Headless->Click(gfx::Point{Form->Left() + (r.Left + r.Right) / 2, Form->Top() + (r.Top + r.Bottom) / 2});
    App->ProcessMessages();
  }
  // The skin's own rectangle of a control section: the numbers every
  // check takes, so that another skin gives other, equally right, ones.
  gfx::Rect SectionRect(const std::string& section) const {
    skin::TskSkinData& data = *Form->skSkinData1;
    const int index = data.FindControlIndex(section);
    EXPECT_GE(index, 0) << section;
    return index >= 0 ? data.SkinControls()[index]->SkinRect : gfx::Rect{};
  }
  // The whole window as the desktop holds it, outside its shape painted
  // magenta, so that a comparison covers the shape too.
  gfx::Bitmap WindowPicture() const {
    const platform::NativeWindow native = System->NativeWindowOf(Form->Handle());
    gfx::Bitmap picture = Headless->Pixels(native);
    if (const auto shape = Headless->Shape(native)) {
      for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x) {
          if (!shape->Contains(gfx::Point{x, y})) picture.SetPixel(x, y, 0xFF00FF);
        }
      }
    }
    return picture;
  }
};

TEST_F(MainWindowSkinTest, StartsDrawnFromItsStoredSkin) {
  Start();
  ASSERT_FALSE(Form->skSkinData1->Empty());
  EXPECT_EQ(Form->SkinForm->SkinData(), Form->skSkinData1);
  for (const char* button : {"sysmenubutton", "rollupbutton", "minimizebutton", "maximizebutton", "closebutton"}) {
    EXPECT_NE(Object(button), nullptr) << button;
  }
  // The client keeps its size inside the skinned frame, which is shaped.
  EXPECT_EQ(Form->ClientWidth(), 688);
  EXPECT_EQ(Form->ClientHeight(), 450);
  EXPECT_GT(Form->Width(), 688);
  EXPECT_TRUE(Headless->Shape(System->NativeWindowOf(Form->Handle())).has_value());
  // Sizes come from the sections the controls name.
  for (skin::TskSkinButton* button : {Form->Star, Form->MACStop, Form->MacClear, Form->MacSave}) {
    EXPECT_EQ(button->Height(), SectionRect("button").Height()) << button->Name();
  }
  for (skin::TskSkinNumericEdit* edit : {Form->MACIPA, Form->MACIPB, Form->MACIPC, Form->MACStarIP, Form->MACEndIP}) {
    EXPECT_EQ(edit->Height(), SectionRect("edit").Height()) << edit->Name();
  }
  EXPECT_EQ(Form->macbar->Width(), SectionRect("vscrollbar").Width());
  // The log and the labels have no link to the skin.
  EXPECT_EQ(Form->MAC->SkinData(), nullptr);
  EXPECT_EQ(Form->MACIPLabel->SkinData(), nullptr);
  EXPECT_TRUE(Form->MacList->Flat());
}

TEST_F(MainWindowSkinTest, TheStartedWindowLooksAsReviewed) {
  Start();
  EXPECT_TRUE(skin::testing::MatchesGolden(WindowPicture(), "../app/golden/main-window.png"));
}

TEST_F(MainWindowSkinTest, TheCaptionButtonsMinimiseMaximiseRollUpAndClose) {
  Start();
  const gfx::Rect normal = Form->BoundsRect();
  ClickObject("maximizebutton");
  EXPECT_EQ(Form->SkinForm->SkinWindowState(), skin::wsMaximized);
  EXPECT_GT(Form->Width(), normal.Width());
  ClickObject("maximizebutton");
  EXPECT_EQ(Form->SkinForm->SkinWindowState(), skin::wsNormal);
  EXPECT_EQ(Form->BoundsRect(), normal);

  ClickObject("rollupbutton");
  EXPECT_TRUE(Form->SkinForm->RollUpState());
  EXPECT_LT(Form->Height(), normal.Height());
  ClickObject("rollupbutton");
  EXPECT_FALSE(Form->SkinForm->RollUpState());
  EXPECT_EQ(Form->BoundsRect(), normal);

  ClickObject("minimizebutton");
  EXPECT_TRUE(ui::IsIconic(Form->Handle()));
  App->Restore();
  App->ProcessMessages();
  EXPECT_FALSE(ui::IsIconic(Form->Handle()));

  ClickObject("closebutton");
  App->Run();
  EXPECT_TRUE(App->Terminated());
}

TEST_F(MainWindowSkinTest, TheSkinnedSystemMenuClosesTheProgram) {
  Start();
  const gfx::Rect caption = Object("caption1") ? Object("caption1")->ObjectRect : gfx::Rect{};
  ASSERT_FALSE(caption.IsEmpty());
  Headless->AdvanceClock(1000);
  Headless->Click(gfx::Point{Form->Left() + caption.Left + 40, Form->Top() + (caption.Top + caption.Bottom) / 2},
                  platform::MouseButton::Right);
  App->ProcessMessages();
  ASSERT_TRUE(Form->SkinForm->FormMenu()->Visible());
  // The last item closes; up from the first wraps to it.
  Headless->StrokeKey(platform::VK_UP);
  Headless->StrokeKey(platform::VK_RETURN);
  App->Run();
  EXPECT_TRUE(App->Terminated());
}

// A layout whose stored skin is damaged in its middle: the program keeps
// the default look, says nothing and scans as before.
TEST_F(MainWindowSkinTest, ADamagedStoredSkinLeavesTheDefaultLookAndAWorkingScan) {
  std::string layout(StoredMainFormLayout());
  const std::size_t block = layout.find("CompressedData = {");
  ASSERT_NE(block, std::string::npos);
  // Hex digits well inside the zlib block, on the third line of it.
  const std::size_t at = layout.find('\n', layout.find('\n', layout.find('\n', block) + 1) + 1) + 10;
  for (std::size_t i = at; i < at + 40; ++i) layout[i] = layout[i] == 'F' ? '0' : 'F';

  platform::headless::HeadlessOptions options;
  options.ProgramFilePath = TempDir + "/ostvane";
  auto headless = std::make_unique<platform::headless::HeadlessPlatform>(options);
  Headless = headless.get();
  System = std::make_unique<ui::WindowSystem>(std::move(headless));
  App = core::CreateUnowned<ui::TApplication>();
  WatchBoxes();
  Form = ui::Application->CreateForm<TForm1>(&Resolver, std::string_view(layout));
  Form->Show();
  App->ProcessMessages();

  EXPECT_TRUE(Form->skSkinData1->Empty());
  EXPECT_FALSE(Headless->Shape(System->NativeWindowOf(Form->Handle())).has_value()) << "a plain rectangle";
  EXPECT_EQ(Form->ClientWidth(), 688);
  EXPECT_EQ(Form->ClientHeight(), 450);
  AnswerHosts({2});
  Form->MACStarIP->SetText("1");
  Form->MACEndIP->SetText("3");
  ClickOn(Form->Star);
  EXPECT_EQ(LogLines(), (std::vector<std::string>{"192.168.1.2:02-00-00-00-01-02"}));
  EXPECT_TRUE(Boxes.empty());
}

}  // namespace
}  // namespace app::testing
