#include "gfx/PngCodec.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include "gfx/BmpCodec.h"
#include "gfx/Error.h"

namespace gfx {

namespace {

// Writing uses libpng's simplified interface, which reports errors through
// the image structure rather than by long jumps.
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

namespace {

// Encodes rows of 3 (RGB) or 4 (RGBA) bytes a pixel.
std::vector<std::uint8_t> Encode(int width, int height, png_uint_32 format, const std::vector<std::uint8_t>& samples) {
  PngImage image;
  image->width = png_uint_32(width);
  image->height = png_uint_32(height);
  image->format = format;
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(image.Get(), nullptr, &size, 0, samples.data(), 0, nullptr)) {
    image.Fail("cannot encode");
  }
  std::vector<std::uint8_t> out(size);
  if (!png_image_write_to_memory(image.Get(), out.data(), &size, 0, samples.data(), 0, nullptr)) {
    image.Fail("cannot encode");
  }
  out.resize(size);
  return out;
}

std::vector<std::uint8_t> Samples(const Bitmap& bitmap, const Region* shape) {
  if (bitmap.IsEmpty()) throw Error("PNG: cannot write an empty picture");
  const int w = bitmap.Width(), h = bitmap.Height();
  const std::size_t channels = shape ? 4 : 3;
  std::vector<std::uint8_t> samples(std::size_t(w) * std::size_t(h) * channels);
  std::uint8_t* o = samples.data();
  for (int y = 0; y < h; ++y) {
    const Pixel* in = bitmap.Row(y);
    for (int x = 0; x < w; ++x, o += channels) {
      o[0] = PixelRed(in[x]);
      o[1] = PixelGreen(in[x]);
      o[2] = PixelBlue(in[x]);
      if (shape) o[3] = shape->Contains(Point{x, y}) ? 255 : 0;
    }
  }
  return samples;
}

}  // namespace

std::vector<std::uint8_t> WritePng(const Bitmap& bitmap) {
  return Encode(bitmap.Width(), bitmap.Height(), PNG_FORMAT_RGB, Samples(bitmap, nullptr));
}

std::vector<std::uint8_t> WritePng(const Bitmap& bitmap, const Region& shape) {
  return Encode(bitmap.Width(), bitmap.Height(), PNG_FORMAT_RGBA, Samples(bitmap, &shape));
}

namespace {

// Reading uses libpng's classic interface: its transforms drop alpha and
// reduce 16-bit samples exactly, without the gamma conversion that the
// simplified interface applies to 16-bit files. libpng reports errors by a
// long jump; the jumps land in the two small functions below, whose frames
// hold no C++ objects, so no destructor is ever skipped.
struct PngInput {
  std::span<const std::uint8_t> Data;
  std::size_t At = 0;
  char Message[256] = {};
};

void ReadBytes(png_structp png, png_bytep out, std::size_t count) {
  auto* input = static_cast<PngInput*>(png_get_io_ptr(png));
  if (count > input->Data.size() - input->At) png_error(png, "file is truncated");
  std::memcpy(out, input->Data.data() + input->At, count);
  input->At += count;
}

void ReportError(png_structp png, png_const_charp message) {
  auto* input = static_cast<PngInput*>(png_get_error_ptr(png));
  std::snprintf(input->Message, sizeof input->Message, "%s", message);
  png_longjmp(png, 1);
}

void IgnoreWarning(png_structp, png_const_charp) {}

// Reads the header and sets up the conversion to B, G, R, 0 bytes. False
// when libpng reported an error.
bool ReadHeader(png_structp png, png_infop info, png_uint_32* width, png_uint_32* height,
                std::uint64_t* fileRowBytes) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  *fileRowBytes = png_get_rowbytes(png, info);
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_strip_alpha(png);
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  return png_get_rowbytes(png, info) == std::size_t(*width) * 4;
}

bool ReadRows(png_structp png, png_bytepp rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_image(png, rows);
  return true;
}

// deflate packs at most about 1032 bytes into one; a header that promises
// more rows than the file could hold is refused before the picture is made.
constexpr std::uint64_t MaxDeflateRatio = 1032;

}  // namespace

Bitmap ReadPng(std::span<const std::uint8_t> data) {
  PngInput input{data};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &input, ReportError, IgnoreWarning);
  if (!png) throw Error("PNG: cannot start libpng");
  png_infop info = png_create_info_struct(png);
  struct Release {
    png_structp& Png;
    png_infop& Info;
    ~Release() { png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr); }
  } release{png, info};
  if (!info) throw Error("PNG: cannot start libpng");
  png_set_read_fn(png, &input, ReadBytes);

  auto fail = [&] { return Error(std::string("PNG: cannot read: ") + input.Message); };
  png_uint_32 width = 0, height = 0;
  std::uint64_t fileRowBytes = 0;
  if (!ReadHeader(png, info, &width, &height, &fileRowBytes)) {
    if (!input.Message[0]) std::snprintf(input.Message, sizeof input.Message, "unexpected pixel format");
    throw fail();
  }
  if (width > png_uint_32(Bitmap::MaxSide) || height > png_uint_32(Bitmap::MaxSide)) {
    throw Error("PNG: picture size " + std::to_string(width) + " x " + std::to_string(height) +
                " is larger than " + std::to_string(Bitmap::MaxSide) + " x " +
                std::to_string(Bitmap::MaxSide));
  }
  if (std::uint64_t(height) * (fileRowBytes + 1) > MaxDeflateRatio * data.size() + 65536) {
    throw Error("PNG: " + std::to_string(data.size()) + " bytes cannot hold a picture of " +
                std::to_string(width) + " x " + std::to_string(height));
  }
  Bitmap bitmap(static_cast<int>(width), static_cast<int>(height));
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    rows[y] = reinterpret_cast<png_bytep>(bitmap.Row(int(y)));
  }
  if (!ReadRows(png, rows.data())) throw fail();
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

void SavePngFile(const std::string& path, const Bitmap& bitmap, const Region& shape) {
  WriteFileBytes(path, WritePng(bitmap, shape));
}

}  // namespace gfx
