// The skinned label's font: the section's with a skin, DefaultFont
// without one (not Font), and its look enabled and disabled.

#include "SkinControlsTestSupport.h"
#include "skin/controls/SkinCtrls.h"

namespace skin::testing {
namespace {

class SkinStdLabelTest : public SkinControlTest {};

TEST_F(SkinStdLabelTest, FontFromTheSectionOrTheDefaultFont) {
  TskSkinData* skin = StoredSkin();
  auto* label = Add<TskSkinStdLabel>(Form, {10, 10, 60, 25});
  label->DefaultFont()->SetName("MS Sans Serif");
  label->DefaultFont()->SetHeight(-11);
  label->Font()->SetHeight(-20);
  label->SetCaption("");
  EXPECT_GT(label->Height(), 0);  // an empty caption still measures a line
  label->SetCaption("IP:");
  label->SetSkinData(skin);
  const auto& section = static_cast<const TskDataSkinStdLabelControl&>(
      *skin->SkinControls()[std::size_t(skin->FindControlIndex("stdlabel"))]);
  ui::TFont font;
  label->GetDrawingFont(font);
  EXPECT_EQ(font.Name(), section.FontName);
  EXPECT_EQ(font.Height(), section.FontHeight);
  EXPECT_EQ(font.Color(), section.FontColor);

  skin->Free();
  EXPECT_EQ(label->SkinData(), nullptr);
  label->GetDrawingFont(font);
  EXPECT_EQ(font.Name(), "MS Sans Serif");
  EXPECT_EQ(font.Height(), -11);
}

TEST_F(SkinStdLabelTest, LooksEnabledAndDisabled) {
  auto* label = Add<TskSkinStdLabel>(Form, {10, 10, 60, 25});
  label->SetCaption("1..254");
  label->SetSkinData(StoredSkin());
  ShowForm();
  gfx::Bitmap drawn(label->Width(), label->Height());
  drawn.Fill(ui::testing::PixelOf(ui::ColorToRGB(ui::clBtnFace)));
  auto paint = [&] {
    ui::DeviceContext context(drawn);
    label->Perform(ui::WM_PAINT, ui::WPARAM(&context), 0);
  };
  paint();
  EXPECT_TRUE(MatchesGolden(drawn, "controls/golden/stdlabel-skin-normal.png"));
  drawn.Fill(ui::testing::PixelOf(ui::ColorToRGB(ui::clBtnFace)));
  label->SetEnabled(false);
  paint();
  EXPECT_TRUE(MatchesGolden(drawn, "controls/golden/stdlabel-skin-disabled.png"));
}

}  // namespace
}  // namespace skin::testing
