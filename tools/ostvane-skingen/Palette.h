#pragma once

// The fixed 256-colour palette of the stored skin's 8-bit pictures: every
// colour and gradient step of the theme first, then an even spread of
// greys and colours for the blends at smooth corners. Pictures are mapped
// onto it colour by colour, nearest first, so the same drawing always
// gives the same file.

#include <vector>

#include "gfx/Bitmap.h"

namespace skingen {

const std::vector<gfx::Pixel>& SkinPalette();

// Replaces every pixel by its nearest palette entry and gives the picture
// the palette, so gfx::WriteBmp(picture, 8) keeps the entries in order.
void QuantiseToPalette(gfx::Bitmap& picture);

// A two-colour picture for a mask: black inside, white outside.
void MakeMask(gfx::Bitmap& picture);

}  // namespace skingen
