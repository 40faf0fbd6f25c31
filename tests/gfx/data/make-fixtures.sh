#!/usr/bin/env bash
# Makes the BMP and PNG fixtures of the gfx tests with ImageMagick, an
# encoder and decoder independent of ours. The fixtures are committed; the
# tests never run this script or ImageMagick.
#
# Every picture is the same 13 x 7 pattern (odd width, so 1-, 4-, 8-, 16-
# and 24-bit rows all need padding): a gradient of many colours with flat
# runs for RLE, white at the top left and black at the bottom right.
# Each NAME.bmp has a reference NAME.ppm that ImageMagick decoded from that
# very file, so palette reduction and 16-bit quantisation are ImageMagick's.
#
#   tests/gfx/data/make-fixtures.sh        (writes into its own folder)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

# The pattern as plain PPM: many colours, a few runs of one colour.
awk 'BEGIN {
  w = 13; h = 7
  print "P3"; print w " " h; print 255
  for (y = 0; y < h; y++) {
    for (x = 0; x < w; x++) {
      r = (x * 20 + y * 3) % 256; g = (y * 36 + x) % 256; b = (x * y * 5 + 40) % 256
      if (y >= 5 && x >= 2 && x <= 10) { r = 200; g = 30; b = 90 }
      if (y == 3 && x <= 5) { r = 16; g = 128; b = 240 }
      if (x == 0 && y == 0) { r = 255; g = 255; b = 255 }
      if (x == w - 1 && y == h - 1) { r = 0; g = 0; b = 0 }
      printf "%d %d %d ", r, g, b
    }
    print ""
  }
}' > pattern.txt.ppm
convert pattern.txt.ppm pattern.ppm
rm pattern.txt.ppm

bmp() {  # bmp NAME OPTIONS... FORMAT:
  local name=$1
  shift
  local format=${!#}
  convert pattern.ppm "${@:1:$#-1}" "$format$name.bmp"
  # -depth 8: ImageMagick would otherwise round the colours of a 4-bit
  # picture to 4 bits per channel.
  convert "$name.bmp" -depth 8 "$name.ppm"
}

# 40-byte info header.
bmp info-1 -colors 2 -type palette BMP3:
bmp info-4 -colors 12 -type palette BMP3:
bmp info-8 -type palette -compress none BMP3:
bmp info-8-rle -type palette -compress RLE BMP3:
bmp info-24 -type truecolor BMP3:
# 32 bits, alpha varying across the picture (it is dropped when read).
bmp info-32 -alpha set -channel A -fx '(i+1)/14' +channel -define bmp3:alpha=true BMP3:
# 124-byte (V5) info header.
bmp v5-16-565 -define bmp:subtype=RGB565 BMP:
bmp v5-16-555 -define bmp:subtype=RGB555 BMP:
bmp v5-24 -type truecolor BMP:
bmp v5-32 -alpha set -channel A -fx '(j+1)/8' +channel BMP:
bmp v5-8-rle -type palette -compress RLE BMP:
# 12-byte core header, 3-byte palette entries.
bmp core-1 -colors 2 -type palette BMP2:
bmp core-4 -colors 12 -type palette BMP2:
bmp core-8 -type palette BMP2:
bmp core-24 -type truecolor BMP2:

# PNG in a few of the forms libpng converts: RGB, grey, palette, 16-bit
# with alpha. The grey one has its own reference.
convert pattern.ppm -strip -type truecolor -depth 8 PNG24:png-rgb.png
convert pattern.ppm -strip -colorspace gray -depth 8 -define png:color-type=0 png-gray.png
convert png-gray.png -type truecolor -depth 8 png-gray.ppm
convert pattern.ppm -strip -type palette PNG8:png-palette.png
convert pattern.ppm -strip -alpha set -channel A -fx '(i+1)/14' +channel -depth 16 PNG64:png-rgba16.png
convert pattern.ppm -strip -interlace PNG -type truecolor PNG24:png-interlaced.png
# Transparent parts keep the colour stored under them: the references are
# decoded with alpha switched off, not blended.
convert pattern.ppm -strip -alpha set -channel A -fx 'i<3?0:1' +channel PNG8:png-palette-trns.png
convert png-palette-trns.png -alpha off -type truecolor -depth 8 png-palette-trns.ppm
convert pattern.ppm -strip -colorspace gray -alpha set -channel A -fx '(i+1)/14' +channel \
  -define png:color-type=4 png-gray-alpha.png
convert png-gray-alpha.png -alpha off -type truecolor -depth 8 png-gray-alpha.ppm

# ImageMagick writes 16-bit pictures with a 40-byte header as bit fields
# without the masks the header promises; kept as a damaged input.
convert pattern.ppm -define bmp:subtype=RGB555 BMP3:bad-bitfields-no-masks.bmp

echo "make-fixtures: $(ls *.bmp *.png | wc -l) pictures"
