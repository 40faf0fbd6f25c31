// The frame as the user sees it, compared exactly with reviewed pictures:
// three sizes, active and inactive, with the stored skin and with the
// plain frame. Pixels outside the window's region show the desktop.

#include "../GoldenImage.h"
#include "SkinFormTestSupport.h"

namespace skin::testing {
namespace {

gfx::Bitmap WindowPicture(platform::headless::HeadlessPlatform& headless, const gfx::Rect& bounds) {
  const gfx::Bitmap screen = headless.Screen();
  return screen.Crop(bounds);
}

TEST_F(SkinFormTest, FramePicturesAtThreeSizes) {
  const struct {
    int Width, Height;
  } sizes[] = {{152, 125}, {352, 225}, {500, 160}};
  for (bool skinned : {true, false}) {
    for (const auto& size : sizes) {
      MakeForm(gfx::Rect::FromSize(40, 40, size.Width, size.Height), skinned ? &StoredSkinBytes() : nullptr,
               "Ostvane 扫描 MAC 地址工具");
      const std::string base = std::string("form/golden/") + (skinned ? "skin-" : "plain-") +
                               std::to_string(size.Width) + "x" + std::to_string(size.Height);
      EXPECT_TRUE(MatchesGolden(WindowPicture(*Headless, Bounds()), base + "-active.png"));
      ui::TForm* other = App->CreateForm<ui::TForm>();
      other->SetBounds(700, 500, 200, 150);
      other->Show();
      Run();
      EXPECT_TRUE(MatchesGolden(WindowPicture(*Headless, Bounds()), base + "-inactive.png"));
      Form->Hide();
      other->Hide();
      Run();
    }
  }
}

}  // namespace
}  // namespace skin::testing
