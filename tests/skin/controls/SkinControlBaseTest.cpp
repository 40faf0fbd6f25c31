// The skinned control base with skins no one has seen: the resize mode and
// the size come from the section's points and rectangle, the window region
// from its mask, blending goes from the parent's image to the control's,
// and losing the skin gives the default look and size.

#include "SkinControlsTestSupport.h"
#include "gfx/Canvas.h"
#include "skin/controls/SkinCtrls.h"

namespace skin::testing {
namespace {

// A 40 x 30 picture: a red frame around green, with a blue cell at 5,5.
gfx::Bitmap Picture() {
  gfx::Bitmap picture(40, 30);
  picture.Fill(gfx::ColorToPixel(gfx::MakeColor(255, 0, 0)));
  picture.FillRect(gfx::Rect{2, 2, 38, 28}, gfx::ColorToPixel(gfx::MakeColor(0, 255, 0)));
  picture.FillRect(gfx::Rect{5, 5, 6, 6}, gfx::ColorToPixel(gfx::MakeColor(0, 0, 255)));
  return picture;
}

const std::string Controls = "count=6\r\n0=fixed:button\r\n1=nine:panel\r\n2=horz:button\r\n3=vert:button\r\n"
                             "4=halfrb:button\r\n5=masked:button\r\n";
const std::string Sections =
    "[fixed]\r\npictureindex=0\r\nskinrect=0,0,12,9\r\nclientrect=2,2,10,7\r\n\r\n"
    "[nine]\r\npictureindex=0\r\nskinrect=0,0,40,30\r\nlefttoppoint=4,4\r\nrighttoppoint=36,4\r\n"
    "leftbottompoint=4,26\r\nrightbottompoint=36,26\r\nclientrect=2,2,38,28\r\n\r\n"
    "[horz]\r\npictureindex=0\r\nskinrect=0,0,20,13\r\nlefttoppoint=4,4\r\nrighttoppoint=16,4\r\n"
    "clientrect=2,2,18,11\r\n\r\n"
    "[vert]\r\npictureindex=0\r\nskinrect=0,0,14,20\r\nlefttoppoint=4,4\r\nleftbottompoint=4,16\r\n"
    "clientrect=2,2,12,18\r\n\r\n"
    "[halfrb]\r\npictureindex=0\r\nskinrect=0,0,14,20\r\nleftbottompoint=4,16\r\nrightbottompoint=10,0\r\n"
    "clientrect=2,2,12,18\r\n\r\n"
    "[masked]\r\npictureindex=0\r\nmaskpictureindex=1\r\nskinrect=0,0,6,4\r\nclientrect=1,1,5,3\r\n\r\n";

class SkinControlBaseTest : public SkinControlTest {
 protected:
  TskSkinCustomControl* Make(const std::string& section, TskSkinData* skin, gfx::Rect bounds = {10, 10, 110, 60}) {
    auto* control = Add<TskSkinCustomControl>(Form, bounds);
    control->SetSkinDataName(section);
    control->SetSkinData(skin);
    return control;
  }
};

TEST_F(SkinControlBaseTest, ResizeModeAndSizeFollowTheSectionPoints) {
  gfx::Bitmap mask(6, 4);
  mask.Fill(gfx::ColorToPixel(gfx::MakeColor(255, 255, 255)));
  mask.FillRect(gfx::Rect{1, 0, 5, 4}, 0);
  TskSkinData* skin = MakeSkin(Controls, Sections, Picture(), mask);
  struct Case {
    const char* Section;
    int Mode;
    int Width, Height;  // after asking for 100 x 50
  };
  for (const Case& c : {Case{"fixed", 0, 12, 9}, Case{"nine", 1, 100, 50}, Case{"horz", 2, 100, 13},
                        Case{"vert", 3, 14, 50}, Case{"halfrb", 3, 14, 50}, Case{"nosuch", 0, 100, 50}}) {
    SCOPED_TRACE(c.Section);
    TskSkinCustomControl* control = Make(c.Section, skin);
    control->SetBounds(10, 10, 100, 50);
    EXPECT_EQ(control->ResizeMode(), c.Mode);
    EXPECT_EQ(control->Width(), c.Width);
    EXPECT_EQ(control->Height(), c.Height);
    control->Free();
  }

  TskSkinCustomControl* nine = Make("nine", skin);
  nine->SetBounds(10, 10, 100, 50);
  EXPECT_EQ(nine->NewClRect(), (gfx::Rect{2, 2, 98, 48}));
  // A caption-like rectangle in the top band grows with the width.
  EXPECT_EQ(nine->MoveSkinRect(gfx::Rect{3, 1, 37, 3}), (gfx::Rect{3, 1, 97, 3}));
  EXPECT_EQ(nine->MoveSkinRect(gfx::Rect{37, 27, 39, 29}), (gfx::Rect{97, 47, 99, 49}));
  ShowForm();
  // The nine-part image: corner from the picture, middle stretched by tiles.
  const gfx::Bitmap drawn = Snapshot(nine);
  EXPECT_EQ(drawn.GetPixel(5, 5) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(drawn.GetPixel(0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(drawn.GetPixel(99, 49) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(drawn.GetPixel(50, 25) & 0xFFFFFF, 0x00FF00u);

  // The mask's black pixels are the window.
  TskSkinCustomControl* masked = Make("masked", skin);
  ASSERT_TRUE(masked->SkinRegion().has_value());
  EXPECT_TRUE(masked->SkinRegion()->Contains(gfx::Point{1, 0}));
  EXPECT_FALSE(masked->SkinRegion()->Contains(gfx::Point{0, 0}));
  EXPECT_FALSE(masked->SkinRegion()->Contains(gfx::Point{5, 3}));
}

TEST_F(SkinControlBaseTest, AlphaBlendGoesFromTheParentToTheControl) {
  TskSkinData* skin = MakeSkin(Controls, Sections, Picture());
  Form->SetColor(ui::clYellow);
  TskSkinCustomControl* control = Make("nine", skin);
  ShowForm();
  const gfx::Bitmap plain = Snapshot(control);
  control->SetAlphaBlend(true);
  control->SetAlphaBlendValue(255);
  EXPECT_TRUE(Snapshot(control).SamePixels(plain));
  control->SetAlphaBlendValue(0);
  const gfx::Bitmap background = Snapshot(control);
  EXPECT_EQ(background.GetPixel(50, 25) & 0xFFFFFF, ui::testing::PixelOf(gfx::MakeColor(255, 255, 0)));
  control->SetAlphaBlendValue(128);
  // Half way, rounded: green (0,255,0) over yellow (255,255,0).
  EXPECT_EQ(Snapshot(control).GetPixel(50, 25) & 0xFFFFFF, 0x7FFF00u);
}

TEST_F(SkinControlBaseTest, WithoutItsSkinTheControlDrawsTheDefaultLookAndSize) {
  TskSkinData* skin = MakeSkin(Controls, Sections, Picture());
  TskSkinCustomControl* control = Make("fixed", skin);
  control->SetDefaultWidth(60);
  control->SetDefaultHeight(0);
  EXPECT_EQ(control->Width(), 12);  // a section is found: nothing changes
  skin->Free();
  EXPECT_EQ(control->SkinData(), nullptr);
  ShowForm();
  const gfx::Bitmap drawn = Snapshot(control);
  EXPECT_EQ(drawn.GetPixel(3, 3), ui::testing::PixelOf(ui::ColorToRGB(ui::clBtnFace)));
  control->ApplySkinChange();
  EXPECT_EQ(control->Width(), 60);
  EXPECT_EQ(control->Height(), 9);  // DefaultHeight 0 leaves it

  control->SetBounds(10, 10, 0, 20);
  EXPECT_EQ(Snapshot(control).Width(), 0);  // nothing to paint, nothing painted
}

}  // namespace
}  // namespace skin::testing
