#include "ui/classlib/ImgList.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/Format.h"
#include "gfx/Canvas.h"

namespace ui {

TImageList::TImageList(core::TComponent* owner) : core::TComponent(owner) {}

TImageList::~TImageList() = default;

void TImageList::Changed() {
  if (OnChange) OnChange(this);
}

void TImageList::SetWidth(int width) {
  width = std::clamp(width, 1, gfx::Bitmap::MaxSide);
  if (width == FWidth) return;
  FWidth = width;
  FImages.clear();
  Changed();
}

void TImageList::SetHeight(int height) {
  height = std::clamp(height, 1, gfx::Bitmap::MaxSide);
  if (height == FHeight) return;
  FHeight = height;
  FImages.clear();
  Changed();
}

gfx::Bitmap TImageList::Fit(const gfx::Bitmap& picture) const {
  if (picture.Width() == FWidth && picture.Height() == FHeight) return picture;
  gfx::Bitmap fitted(FWidth, FHeight);
  if (!picture.IsEmpty()) {
    gfx::Canvas canvas(fitted);
    canvas.StretchDraw(fitted.Bounds(), picture);
  }
  return fitted;
}

int TImageList::Add(const gfx::Bitmap& picture) {
  FImages.push_back(Fit(picture));
  Changed();
  return Count() - 1;
}

void TImageList::AddStrip(const gfx::Bitmap& strip) {
  for (int x = 0; x + FWidth <= strip.Width(); x += FWidth) {
    FImages.push_back(Fit(strip.Crop(gfx::Rect::FromSize(x, 0, FWidth, std::min(FHeight, strip.Height())))));
  }
  Changed();
}

const gfx::Bitmap& TImageList::Picture(int index) const {
  if (index < 0 || index >= Count()) throw core::EListError(core::Format("List index out of bounds (%d)", index));
  return FImages[std::size_t(index)];
}

void TImageList::Replace(int index, const gfx::Bitmap& picture) {
  Picture(index);
  FImages[std::size_t(index)] = Fit(picture);
  Changed();
}

void TImageList::Delete(int index) {
  Picture(index);
  FImages.erase(FImages.begin() + index);
  Changed();
}

void TImageList::Clear() {
  if (FImages.empty()) return;
  FImages.clear();
  Changed();
}

void TImageList::GetBitmap(int index, TBitmap& bitmap) const { bitmap.SetBitmap(Picture(index)); }

void TImageList::GetIcon(int index, TIcon& icon) const { icon.SetPicture(Picture(index)); }

void TImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  const gfx::Bitmap& picture = FImages[std::size_t(index)];
  gfx::Canvas& target = canvas.Target();
  if (enabled) {
    if (FBkColor == clNone) {
      target.Draw(x, y, picture);
    } else {
      target.DrawTransparent(x, y, picture, ColorToRGB(FBkColor));
    }
    return;
  }
  // Greyed: every pixel that is not the background as the shadow colour,
  // with a highlight one pixel down and right.
  gfx::Pixel background = FBkColor == clNone ? gfx::Pixel(0xFFFFFFFF) : gfx::ColorToPixel(ColorToRGB(FBkColor));
  gfx::Color highlight = ColorToRGB(clBtnHighlight);
  gfx::Color shadow = ColorToRGB(clBtnShadow);
  for (int pass = 0; pass < 2; ++pass) {
    for (int row = 0; row < picture.Height(); ++row) {
      for (int column = 0; column < picture.Width(); ++column) {
        gfx::Pixel p = picture.GetPixel(column, row);
        if (p == background) continue;
        int lightness = gfx::PixelRed(p) + gfx::PixelGreen(p) + gfx::PixelBlue(p);
        if (lightness > 3 * 192) continue;
        if (pass == 0) {
          target.SetPixel(x + column + 1, y + row + 1, highlight);
        } else {
          target.SetPixel(x + column, y + row, shadow);
        }
      }
    }
  }
}

gfx::Bitmap TImageList::Strip() const {
  if (FImages.empty()) return gfx::Bitmap();
  gfx::Bitmap strip(FWidth * Count(), FHeight);
  for (int i = 0; i < Count(); ++i) {
    gfx::CopyRect(strip, gfx::Point{i * FWidth, 0}, FImages[std::size_t(i)], FImages[std::size_t(i)].Bounds());
  }
  return strip;
}

void TImageList::SetStrip(const gfx::Bitmap& strip) {
  FImages.clear();
  AddStrip(strip);
}

}  // namespace ui
