#include "Pictures.h"

#include "Palette.h"

namespace skingen {

namespace {

SkinPicture Paletted(std::string name, gfx::Bitmap picture) {
  QuantiseToPalette(picture);
  return {std::move(name), std::move(picture), 8};
}

SkinPicture Mask(std::string name, gfx::Bitmap picture) {
  MakeMask(picture);
  return {std::move(name), std::move(picture), 1};
}

}  // namespace

std::vector<SkinPicture> DrawStoredSkinPictures() {
  std::vector<SkinPicture> pictures;
  pictures.push_back(Paletted("main.bmp", DrawFramePicture()));
  pictures.push_back(Mask("mask.bmp", DrawFrameMask()));
  pictures.push_back(Paletted("active.BMP", DrawActivePicture()));
  pictures.push_back(Paletted("pw.bmp", DrawPopupPicture()));
  gfx::Bitmap items = DrawMenuItemsPicture();
  items.SetSourceBits(24);
  pictures.push_back({"menuitems.bmp", std::move(items), 24});
  pictures.push_back(Paletted("hw.bmp", DrawHintPicture()));
  pictures.push_back(Paletted("controls.bmp", DrawControlsPicture()));
  pictures.push_back(Paletted("grids.bmp", DrawGridsPicture()));
  pictures.push_back(Mask("pwmask.bmp", DrawPopupMask()));
  pictures.push_back(Mask("hwmask.bmp", DrawHintMask()));
  return pictures;
}

}  // namespace skingen
