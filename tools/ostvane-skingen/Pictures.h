#pragma once

// The stored skin's pictures, drawn from the numbers of Layout.h.

#include <string>
#include <vector>

#include "gfx/Bitmap.h"

namespace skingen {

struct SkinPicture {
  std::string FileName;
  gfx::Bitmap Picture;
  // 1, 8 or 24.
  int Bits = 8;
};

// main.bmp, mask.bmp, then the eight active pictures in [PICTURES] order.
std::vector<SkinPicture> DrawStoredSkinPictures();

// The pictures one by one, in full colour (before the palette).
gfx::Bitmap DrawFramePicture();
gfx::Bitmap DrawFrameMask();
gfx::Bitmap DrawActivePicture();
gfx::Bitmap DrawPopupPicture();
gfx::Bitmap DrawPopupMask();
gfx::Bitmap DrawMenuItemsPicture();
gfx::Bitmap DrawHintPicture();
gfx::Bitmap DrawHintMask();
gfx::Bitmap DrawControlsPicture();
gfx::Bitmap DrawGridsPicture();

}  // namespace skingen
