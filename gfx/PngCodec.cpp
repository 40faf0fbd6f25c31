#include "gfx/PngCodec.h"

#include <png.h>

#include <cstring>
#include <string>

#include "gfx/BmpCodec.h"
#include "gfx/Error.h"

namespace gfx {

namespace {

// libpng's simplified API reports errors through the image structure rather
// than by long jumps, so no C frame is ever unwound by a C++ exception.
class PngImage {
 public:
  PngImage() {
    std::memset(&FImage, 0, sizeof FImage);
    FImage.version = PNG_IMAGE_VERSION;
  }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;
  ~PngImage() { png_image_free(&FImage); }

  png_image* operator->() { return &FImage; }
  png_image* Get() { return &FImage; }

  [[noreturn]] void Fail(const std::string& what) {
    std::string reason = FImage.message[0] ? FImage.message : "unknown error";
    throw Error("PNG: " + what + ": " + reason);
  }

 private:
  png_image FImage;
};

}  // namespace

std::vector<std::uint8_t> WritePng(const Bitmap& bitmap) {
  if (bitmap.IsEmpty()) throw Error("PNG: cannot write an empty picture");
  const int w = bitmap.Width(), h = bitmap.Height();
  std::vector<std::uint8_t> rgb(std::size_t(w) * std::size_t(h) * 3);
  std::uint8_t* o = rgb.data();
  for (int y = 0; y < h; ++y) {
    const Pixel* in = bitmap.Row(y);
    for (int x = 0; x < w; ++x, o += 3) {
      o[0] = PixelRed(in[x]);
      o[1] = PixelGreen(in[x]);
      o[2] = PixelBlue(in[x]);
    }
  }
  PngImage image;
  image->width = png_uint_32(w);
  image->height = png_uint_32(h);
  image->format = PNG_FORMAT_RGB;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(image.Get(), nullptr, &size, 0, rgb.data(), 0, nullptr)) {
    image.Fail("cannot encode");
  }
  std::vector<std::uint8_t> out(size);
  if (!png_image_write_to_memory(image.Get(), out.data(), &size, 0, rgb.data(), 0, nullptr)) {
    image.Fail("cannot encode");
  }
  out.resize(size);
  return out;
}

Bitmap ReadPng(std::span<const std::uint8_t> data) {
  PngImage image;
  if (!png_image_begin_read_from_memory(image.Get(), data.data(), data.size())) {
    image.Fail("cannot read");
  }
  if (image->width > png_uint_32(Bitmap::MaxSide) || image->height > png_uint_32(Bitmap::MaxSide)) {
    throw Error("PNG: picture size " + std::to_string(image->width) + " x " +
                std::to_string(image->height) + " is larger than " +
                std::to_string(Bitmap::MaxSide) + " x " + std::to_string(Bitmap::MaxSide));
  }
  // BGRA is the Bitmap's own byte order; the alpha byte is cleared after.
  image->format = PNG_FORMAT_BGRA;
  Bitmap bitmap(int(image->width), int(image->height));
  if (!bitmap.IsEmpty() &&
      !png_image_finish_read(image.Get(), nullptr, bitmap.Data(), png_int_32(bitmap.Stride()),
                             nullptr)) {
    image.Fail("cannot read");
  }
  for (int y = 0; y < bitmap.Height(); ++y) {
    Pixel* row = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x) row[x] &= 0xFFFFFF;
  }
  bitmap.SetSourceBits(24);
  return bitmap;
}

Bitmap LoadPngFile(const std::string& path) {
  std::vector<std::uint8_t> bytes = ReadFileBytes(path);
  try {
    return ReadPng(bytes);
  } catch (const Error& e) {
    throw Error(path + ": " + e.what());
  }
}

void SavePngFile(const std::string& path, const Bitmap& bitmap) {
  WriteFileBytes(path, WritePng(bitmap));
}

}  // namespace gfx
