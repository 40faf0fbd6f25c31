#include <gtest/gtest.h>

#include "FormTestSupport.h"
#include "core/Exception.h"
#include "ui/classlib/ImgList.h"
#include "ui/windowing/SystemMetrics.h"

namespace ui::testing {
namespace {

TEST(ControlGraphicsTest, ColoursResolveSystemNamesAndKeepRgbValues) {
  EXPECT_EQ(ColorToRGB(clRed), gfx::MakeColor(255, 0, 0));
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(TColor(8421504)), gfx::MakeColor(128, 128, 128));
  std::string name;
  EXPECT_TRUE(ColorToIdent(clWindowText, name));
  EXPECT_EQ(name, "clWindowText");
  EXPECT_FALSE(ColorToIdent(TColor(1234567), name));
  TColor color = 0;
  EXPECT_TRUE(IdentToColor("CLBTNFACE", color));
  EXPECT_EQ(color, clBtnFace);
  int charset = 0;
  EXPECT_TRUE(IdentToCharset("GB2312_CHARSET", charset));
  EXPECT_EQ(charset, 134);
}

TEST(ControlGraphicsTest, FontReportsEachChangeOnceAndConvertsItsSize) {
  TFont font;
  int changes = 0;
  font.OnChange = [&](TGraphicsObject*) { ++changes; };
  font.SetName("Arial");
  font.SetName("Arial");
  font.SetHeight(-16);
  font.SetStyle(TFontStyles{fsBold, fsUnderline});
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(font.Size(), 12);
  font.SetSize(9);
  EXPECT_EQ(font.Height(), -12);
  gfx::Font drawn = font.ToGfxFont();
  EXPECT_EQ(drawn.Name, "Arial");
  EXPECT_EQ(drawn.Style, gfx::FontStyle::Bold | gfx::FontStyle::Underline);
  EXPECT_EQ(drawn.Color, GetSysColor(COLOR_WINDOWTEXT));
  TFont copy;
  copy.Assign(font);
  EXPECT_TRUE(copy.SameAs(font));
  TPen pen;
  EXPECT_THROW(pen.Assign(font), core::EConvertError);
}

TEST(ControlGraphicsTest, BitmapCanvasDrawsWithPenBrushAndKeepsPixelsOnResize) {
  TBitmap bitmap(10, 6);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(gfx::Rect{0, 0, 10, 6});
  canvas->Pen()->SetColor(clRed);
  canvas->MoveTo(0, 0);
  canvas->LineTo(4, 0);
  EXPECT_EQ(bitmap.Bitmap().GetPixel(3, 0), gfx::MakePixel(255, 0, 0));
  EXPECT_EQ(bitmap.Bitmap().GetPixel(4, 0), gfx::MakePixel(255, 255, 255)) << "the last point is not drawn";
  bitmap.SetSize(12, 3);
  EXPECT_EQ(bitmap.Bitmap().GetPixel(3, 0), gfx::MakePixel(255, 0, 0));
  EXPECT_EQ(bitmap.Bitmap().GetPixel(11, 2), gfx::MakePixel(0, 0, 0));
  // The canvas follows the new size.
  bitmap.Canvas()->Brush()->SetColor(clBlue);
  bitmap.Canvas()->FillRect(gfx::Rect{10, 0, 12, 3});
  EXPECT_EQ(bitmap.Bitmap().GetPixel(11, 2), gfx::MakePixel(0, 0, 255));
  // Stored as a BMP file and read back.
  TBitmap copy;
  copy.LoadFromBytes(bitmap.SaveToBytes());
  EXPECT_TRUE(copy.Bitmap().SamePixels(bitmap.Bitmap()));
  TCanvas unbound;
  EXPECT_THROW(unbound.FillRect(gfx::Rect{0, 0, 1, 1}), core::EInvalidOperation);
}

TEST(ControlGraphicsTest, TransparentBitmapLeavesOutItsKeyColour) {
  TBitmap sprite(2, 2);
  sprite.Bitmap().Fill(gfx::MakePixel(0, 255, 0));
  sprite.Bitmap().SetPixel(0, 0, gfx::MakePixel(255, 0, 0));
  sprite.SetTransparent(true);  // bottom-left pixel (green) is the key
  TBitmap target(2, 2);
  target.Canvas()->Brush()->SetColor(clBlue);
  target.Canvas()->FillRect(gfx::Rect{0, 0, 2, 2});
  target.Canvas()->Draw(0, 0, sprite);
  EXPECT_EQ(target.Bitmap().GetPixel(0, 0), gfx::MakePixel(255, 0, 0));
  EXPECT_EQ(target.Bitmap().GetPixel(1, 1), gfx::MakePixel(0, 0, 255));
}

class ImageListTest : public FormTest {};

TEST_F(ImageListTest, PicturesAreFittedStoredAsAStripAndDrawnByIndex) {
  auto* list = core::Create<TImageList>(*MakeForm());
  list->SetWidth(4);
  list->SetHeight(4);
  gfx::Bitmap red(4, 4);
  red.Fill(gfx::MakePixel(255, 0, 0));
  gfx::Bitmap big(8, 8);
  big.Fill(gfx::MakePixel(0, 0, 255));
  EXPECT_EQ(list->Add(red), 0);
  EXPECT_EQ(list->Add(big), 1);
  EXPECT_EQ(list->Picture(1).Width(), 4);
  gfx::Bitmap strip = list->Strip();
  EXPECT_EQ(strip.Width(), 8);
  EXPECT_EQ(strip.GetPixel(5, 0), gfx::MakePixel(0, 0, 255));
  list->SetStrip(strip);
  EXPECT_EQ(list->Count(), 2);
  TBitmap target(8, 4);
  list->Draw(*target.Canvas(), 4, 0, 0);
  EXPECT_EQ(target.Bitmap().GetPixel(4, 0), gfx::MakePixel(255, 0, 0));
  EXPECT_THROW(list->Picture(2), core::EListError);
  list->SetWidth(16);
  EXPECT_EQ(list->Count(), 0) << "a new size empties the list";
}

}  // namespace
}  // namespace ui::testing
