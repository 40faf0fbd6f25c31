#include "gfx/BmpCodec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <limits>
#include <ostream>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Error.h"
#include "tests/gfx/CodecTestSupport.h"

namespace gfx {
namespace {

using test::FixtureBytes;
using test::FixturePath;
using test::LoadPpm;
using ::testing::HasSubstr;
using ::testing::StartsWith;

using Bytes = std::vector<std::uint8_t>;

void PutU16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = std::uint8_t(v);
  b[at + 1] = std::uint8_t(v >> 8);
}
void PutU32(Bytes& b, std::size_t at, std::uint32_t v) {
  PutU16(b, at, v);
  PutU16(b, at + 2, v >> 16);
}
std::uint32_t GetU32(const Bytes& b, std::size_t at) {
  return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
         std::uint32_t(b[at + 3]) << 24;
}

// Describes a BMP file field by field. Build() lays it out with matching
// offsets and sizes unless told otherwise, so that a test can break exactly
// one thing.
struct BmpBuilder {
  std::uint32_t HeaderSize = 40;
  std::int32_t Width = 1;
  std::int32_t Height = 1;
  std::uint16_t Planes = 1;
  std::uint16_t Bits = 24;
  std::uint32_t Compression = 0;
  // The palette's size unless set.
  std::optional<std::uint32_t> ColorsUsed;
  // 3 bytes an entry after a core header, else 4.
  std::vector<Pixel> Palette;
  // Red, green, blue: after a 40-byte header, inside a larger one.
  std::vector<std::uint32_t> Masks;
  Bytes PixelData;
  std::optional<std::uint32_t> FileSize;
  std::optional<std::uint32_t> DataOffset;

  Bytes Build() const {
    bool core = HeaderSize == 12;
    std::size_t masksAfter = HeaderSize == 40 ? 4 * Masks.size() : 0;
    std::size_t entry = core ? 3 : 4;
    std::size_t offset = 14 + HeaderSize + masksAfter + entry * Palette.size();
    Bytes b(offset, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutU32(b, 2, FileSize.value_or(std::uint32_t(offset + PixelData.size())));
    PutU32(b, 10, DataOffset.value_or(std::uint32_t(offset)));
    PutU32(b, 14, HeaderSize);
    if (core) {
      PutU16(b, 18, std::uint32_t(Width));
      PutU16(b, 20, std::uint32_t(Height));
      PutU16(b, 22, Planes);
      PutU16(b, 24, Bits);
    } else {
      PutU32(b, 18, std::uint32_t(Width));
      PutU32(b, 22, std::uint32_t(Height));
      PutU16(b, 26, Planes);
      PutU16(b, 28, Bits);
      PutU32(b, 30, Compression);
      PutU32(b, 46, ColorsUsed.value_or(std::uint32_t(Palette.size())));
      for (std::size_t i = 0; i < Masks.size(); ++i) PutU32(b, 54 + 4 * i, Masks[i]);
    }
    std::size_t at = 14 + HeaderSize + masksAfter;
    for (Pixel p : Palette) {
      b[at] = PixelBlue(p);
      b[at + 1] = PixelGreen(p);
      b[at + 2] = PixelRed(p);
      at += entry;
    }
    b.insert(b.end(), PixelData.begin(), PixelData.end());
    return b;
  }
};

// The message of the gfx::Error that reading bytes throws, or "" when it
// reads.
std::string ReadError(const Bytes& bytes) {
  try {
    ReadBmp(bytes);
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

// Top-down copy of an uncompressed fixture: negative height, rows reversed.
Bytes TopDown(const Bytes& file) {
  Bytes b = file;
  std::int32_t width = std::int32_t(GetU32(b, 18));
  std::int32_t height = std::int32_t(GetU32(b, 22));
  int bits = b[28];
  std::size_t offset = GetU32(b, 10);
  std::size_t row = (std::size_t(width) * std::size_t(bits) + 31) / 32 * 4;
  for (int y = 0; y < height; ++y) {
    std::copy_n(file.begin() + std::ptrdiff_t(offset + std::size_t(height - 1 - y) * row),
                row, b.begin() + std::ptrdiff_t(offset + std::size_t(y) * row));
  }
  PutU32(b, 22, std::uint32_t(-height));
  return b;
}

// V4 copy of a V5 file: the header's last 16 bytes taken out.
Bytes ToV4(const Bytes& v5) {
  Bytes b = v5;
  b.erase(b.begin() + 14 + 108, b.begin() + 14 + 124);
  PutU32(b, 2, GetU32(b, 2) - 16);
  PutU32(b, 10, GetU32(b, 10) - 16);
  PutU32(b, 14, 108);
  return b;
}

Bitmap FromRows(const std::vector<std::vector<Pixel>>& rows) {
  Bitmap b(int(rows[0].size()), int(rows.size()));
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, rows[std::size_t(y)][std::size_t(x)]);
  }
  return b;
}

// --- Pictures made by ImageMagick ----------------------------------------

struct Fixture {
  const char* Name;
  int Bits;
  std::size_t PaletteSize;
};

std::ostream& operator<<(std::ostream& out, const Fixture& f) { return out << f.Name; }

const Fixture Fixtures[] = {
    {"info-1", 1, 2},   {"info-4", 4, 16},        {"info-8", 8, 256},
    {"info-8-rle", 8, 256}, {"info-24", 24, 0},   {"info-32", 32, 0},
    {"v5-16-565", 16, 0},   {"v5-16-555", 16, 0}, {"v5-24", 24, 0},
    {"v5-32", 32, 0},       {"v5-8-rle", 8, 256}, {"core-1", 1, 2},
    {"core-4", 4, 16},      {"core-8", 8, 256},   {"core-24", 24, 0},
};

class BmpFixture : public ::testing::TestWithParam<Fixture> {};

TEST_P(BmpFixture, DecodesLikeTheIndependentDecoder) {
  const Fixture& f = GetParam();
  Bytes file = FixtureBytes(std::string(f.Name) + ".bmp");
  BmpReadResult read = ReadBmp(file);
  Bitmap reference = LoadPpm(std::string(f.Name) + ".ppm");
  EXPECT_TRUE(read.Picture.SamePixels(reference));
  EXPECT_EQ(read.BytesUsed, file.size());
  EXPECT_EQ(read.Picture.SourceBits(), f.Bits);
  EXPECT_EQ(read.Picture.SourcePalette().size(), f.PaletteSize);
}

TEST_P(BmpFixture, EveryTruncationIsRefused) {
  Bytes file = FixtureBytes(std::string(GetParam().Name) + ".bmp");
  for (std::size_t length = 0; length < file.size(); ++length) {
    Bytes part(file.begin(), file.begin() + std::ptrdiff_t(length));
    EXPECT_THROW(ReadBmp(part), Error) << "length " << length;
  }
}

TEST_P(BmpFixture, WritesBackAtItsDepthWithTheSamePixels) {
  const Fixture& f = GetParam();
  Bitmap picture = ReadBmp(FixtureBytes(std::string(f.Name) + ".bmp")).Picture;
  Bytes written = WriteBmp(picture);
  BmpReadResult again = ReadBmp(written);
  EXPECT_EQ(again.BytesUsed, written.size());
  EXPECT_TRUE(again.Picture.SamePixels(picture));
  int expected = f.Bits == 16 || f.Bits == 32 ? 24 : f.Bits;
  EXPECT_EQ(again.Picture.SourceBits(), expected);
  EXPECT_EQ(again.Picture.SourcePalette(), picture.SourcePalette());
}

INSTANTIATE_TEST_SUITE_P(ImageMagick, BmpFixture, ::testing::ValuesIn(Fixtures),
                         [](const ::testing::TestParamInfo<Fixture>& info) {
                           std::string name = info.param.Name;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

TEST(BmpRead, LosslessDepthsMatchTheOriginalPattern) {
  Bitmap pattern = LoadPpm("pattern.ppm");
  for (const char* name : {"info-24", "info-32", "v5-24", "v5-32", "core-24", "info-8",
                           "info-8-rle", "v5-8-rle", "core-8"}) {
    EXPECT_TRUE(ReadBmp(FixtureBytes(std::string(name) + ".bmp")).Picture.SamePixels(pattern))
        << name;
  }
}

TEST(BmpRead, V4HeaderReadsLikeV5) {
  for (const char* name : {"v5-24", "v5-32", "v5-16-565"}) {
    Bytes v4 = ToV4(FixtureBytes(std::string(name) + ".bmp"));
    BmpReadResult read = ReadBmp(v4);
    EXPECT_TRUE(read.Picture.SamePixels(LoadPpm(std::string(name) + ".ppm"))) << name;
    EXPECT_EQ(read.BytesUsed, v4.size());
  }
}

TEST(BmpRead, TopDownRowsReadLikeBottomUp) {
  for (const char* name : {"info-1", "info-4", "info-8", "info-24", "info-32", "v5-16-565"}) {
    Bytes bottomUp = FixtureBytes(std::string(name) + ".bmp");
    Bitmap picture = ReadBmp(TopDown(bottomUp)).Picture;
    EXPECT_TRUE(picture.SamePixels(ReadBmp(bottomUp).Picture)) << name;
  }
}

TEST(BmpRead, PicturesBackToBackAreReadOneAfterTheOther) {
  std::vector<std::string> names = {"info-1", "core-24", "info-8-rle", "v5-16-555", "info-4"};
  Bytes all;
  for (const std::string& n : names) {
    Bytes one = FixtureBytes(n + ".bmp");
    all.insert(all.end(), one.begin(), one.end());
  }
  std::span<const std::uint8_t> rest(all);
  for (const std::string& n : names) {
    BmpReadResult read = ReadBmp(rest);
    EXPECT_TRUE(read.Picture.SamePixels(LoadPpm(n + ".ppm"))) << n;
    EXPECT_EQ(read.BytesUsed, FixtureBytes(n + ".bmp").size());
    rest = rest.subspan(read.BytesUsed);
  }
  EXPECT_TRUE(rest.empty());
}

// --- Hand-made pictures ----------------------------------------------------

constexpr Pixel Red = MakePixel(255, 0, 0);
constexpr Pixel Green = MakePixel(0, 255, 0);
constexpr Pixel Blue = MakePixel(0, 0, 255);
constexpr Pixel White = MakePixel(255, 255, 255);
constexpr Pixel Grey = MakePixel(128, 128, 128);

TEST(BmpRead, Rle4RunsBlocksDeltasAndUnsetPixels) {
  // 8 x 4; the rows below go bottom-up. Unset pixels stay black.
  BmpBuilder b;
  b.Width = 8;
  b.Height = 4;
  b.Bits = 4;
  b.Compression = 2;
  b.Palette = {Red, Green, Blue, White, Grey};
  b.PixelData = {
      0x05, 0x12,              // bottom row: run of 5 alternating 1, 2
      0x00, 0x03, 0x34, 0x00,  // absolute 3: 3, 4, 0 (odd count, padded)
      0x00, 0x00,              // end of row
      0x00, 0x02, 0x02, 0x01,  // delta: 2 right, 1 up (row 1 stays black)
      0x02, 0x33,              // run of 2 whites at x 2 and 3 of row 2
      0x00, 0x00,              // end of row
      0x01, 0x40,              // top row: one grey, the other nibble unused
      0x00, 0x01,              // end of picture
  };
  constexpr Pixel K = 0;
  Bitmap expected = FromRows({
      {Grey, K, K, K, K, K, K, K},
      {K, K, White, White, K, K, K, K},
      {K, K, K, K, K, K, K, K},
      {Green, Blue, Green, Blue, Green, White, Grey, Red},
  });
  BmpReadResult read = ReadBmp(b.Build());
  EXPECT_TRUE(read.Picture.SamePixels(expected));
  EXPECT_EQ(read.Picture.SourceBits(), 4);
  EXPECT_EQ(read.Picture.SourcePalette(), b.Palette);
}

TEST(BmpRead, Rle8AbsoluteBlocksAndEndOfPictureLeaveTheRestBlack) {
  BmpBuilder b;
  b.Width = 5;
  b.Height = 3;
  b.Bits = 8;
  b.Compression = 1;
  b.Palette = {Red, Green, Blue};
  b.PixelData = {
      0x00, 0x03, 0x02, 0x01, 0x00, 0x00,  // absolute 3 (padded): blue, green, red
      0x02, 0x01,                          // run of 2 greens ends the row exactly
      0x00, 0x00,                          // end of row
      0x00, 0x02, 0x01, 0x01,              // delta to (1, top row)
      0x01, 0x02,                          // one blue
      0x00, 0x01,                          // end of picture
  };
  constexpr Pixel K = 0;
  Bitmap expected = FromRows({
      {K, Blue, K, K, K},
      {K, K, K, K, K},
      {Blue, Green, Red, Green, Green},
  });
  EXPECT_TRUE(ReadBmp(b.Build()).Picture.SamePixels(expected));
}

TEST(BmpRead, RleRunsMayFillTheRowPaddingButNoFurther) {
  // Some encoders compress each row with its padding: a 5-pixel RLE8 row
  // then holds 8 pixels. The extra ones are dropped.
  BmpBuilder b;
  b.Width = 5;
  b.Height = 1;
  b.Bits = 8;
  b.Compression = 1;
  b.Palette = {Red, Green};
  b.PixelData = {0x05, 0x01, 0x03, 0x00, 0x00, 0x01};
  EXPECT_TRUE(ReadBmp(b.Build()).Picture.SamePixels(FromRows({{Green, Green, Green, Green, Green}})));
  b.PixelData = {0x05, 0x01, 0x04, 0x00, 0x00, 0x01};
  EXPECT_THAT(ReadError(b.Build()), HasSubstr("runs past the end of the row"));
}

TEST(BmpRead, BitFieldsAfterAFortyByteHeader) {
  // 2 x 1, 16 bits 5-6-5: full red, and a mid green of 6 bits.
  BmpBuilder b;
  b.Width = 2;
  b.Bits = 16;
  b.Compression = 3;
  b.Masks = {0xF800, 0x07E0, 0x001F};
  b.PixelData = {0x00, 0xF8, 0x20, 0x04, 0, 0};
  // Six bits widen by repeating the pattern: 100001 -> 10000110.
  EXPECT_TRUE(ReadBmp(b.Build()).Picture.SamePixels(FromRows({{Red, MakePixel(0, 0x86, 0)}})));

  // 32 bits with the channels in unusual places and an empty blue mask.
  b.Bits = 32;
  b.Masks = {0x000000FF, 0x0000FF00, 0};
  b.PixelData = {0x11, 0x22, 0x33, 0x44, 0xFF, 0x00, 0xFF, 0xFF};
  EXPECT_TRUE(ReadBmp(b.Build()).Picture.SamePixels(
      FromRows({{MakePixel(0x11, 0x22, 0), MakePixel(0xFF, 0, 0)}})));
}

TEST(BmpRead, SixteenBitsWithoutBitFieldsAreFiveFiveFive) {
  BmpBuilder b;
  b.Width = 2;
  b.Bits = 16;
  b.PixelData = {0x00, 0x7C, 0x1F, 0x00, 0, 0};
  EXPECT_TRUE(ReadBmp(b.Build()).Picture.SamePixels(FromRows({{Red, Blue}})));
}

TEST(BmpRead, PaletteOfFewerColoursThanTheDepthAllows) {
  BmpBuilder b;
  b.Width = 3;
  b.Bits = 8;
  b.ColorsUsed = 3;
  b.Palette = {Red, Green, Blue};
  b.PixelData = {2, 0, 1, 0};
  BmpReadResult read = ReadBmp(b.Build());
  EXPECT_TRUE(read.Picture.SamePixels(FromRows({{Blue, Red, Green}})));
  EXPECT_EQ(read.Picture.SourcePalette(), b.Palette);
}

TEST(BmpRead, CoreHeaderPaletteEndsAtThePixelData) {
  BmpBuilder b;
  b.HeaderSize = 12;
  b.Width = 2;
  b.Bits = 4;
  b.Palette = {Red, Green, Blue};
  b.PixelData = {0x21, 0, 0, 0};
  BmpReadResult read = ReadBmp(b.Build());
  EXPECT_TRUE(read.Picture.SamePixels(FromRows({{Blue, Green}})));
  EXPECT_EQ(read.Picture.SourcePalette(), b.Palette);
}

TEST(BmpRead, BytesAfterTheTotalSizeAreNotRead) {
  Bytes file = FixtureBytes("info-4.bmp");
  std::size_t size = file.size();
  file.insert(file.end(), {'B', 'M', 1, 2, 3});
  EXPECT_EQ(ReadBmp(file).BytesUsed, size);
}

// --- Damaged pictures --------------------------------------------------

TEST(BmpReject, HeadersThatDoNotAddUp) {
  BmpBuilder good;
  good.Width = 2;
  good.Height = 2;
  good.PixelData = Bytes(16, 0x40);
  ASSERT_EQ(ReadError(good.Build()), "");

  EXPECT_THAT(ReadError({}), HasSubstr("truncated"));
  Bytes notBmp = good.Build();
  notBmp[0] = 'P';
  EXPECT_THAT(ReadError(notBmp), HasSubstr("not a BMP file"));

  struct Case {
    const char* What;
    void (*Change)(BmpBuilder&);
    const char* Message;
  };
  const Case cases[] = {
      {"total size beyond the buffer", [](BmpBuilder& b) { b.FileSize = 71; }, "truncated"},
      {"total size below the pixel data",
       [](BmpBuilder& b) { b.FileSize = 69; }, "pixel data needs 16 bytes"},
      {"total size below the headers", [](BmpBuilder& b) { b.FileSize = 30; }, "info header"},
      {"tiny total size", [](BmpBuilder& b) { b.FileSize = 10; }, "too small"},
      {"data offset past the end", [](BmpBuilder& b) { b.DataOffset = 90; }, "past the end"},
      {"data offset inside the header",
       [](BmpBuilder& b) { b.DataOffset = 40; }, "inside the headers"},
      {"zero planes", [](BmpBuilder& b) { b.Planes = 0; }, "0 colour planes"},
      {"unknown header", [](BmpBuilder& b) { b.HeaderSize = 64; }, "info header size 64"},
      {"unknown compression", [](BmpBuilder& b) { b.Compression = 9; }, "compression 9"},
      {"JPEG inside", [](BmpBuilder& b) { b.Compression = 4; }, "(JPEG)"},
      {"RLE8 at 24 bits", [](BmpBuilder& b) { b.Compression = 1; }, "needs 8"},
      {"bit fields at 24 bits", [](BmpBuilder& b) { b.Compression = 3; }, "16 or 32"},
      {"odd depth", [](BmpBuilder& b) { b.Bits = 2; }, "2 bits per pixel"},
      {"zero width", [](BmpBuilder& b) { b.Width = 0; }, "0 x 2 is invalid"},
      {"negative width", [](BmpBuilder& b) { b.Width = -2; }, "is invalid"},
      {"zero height", [](BmpBuilder& b) { b.Height = 0; }, "is invalid"},
      {"width over the limit", [](BmpBuilder& b) { b.Width = 40000; }, "larger than 32768"},
      {"most negative height",
       [](BmpBuilder& b) { b.Height = std::numeric_limits<std::int32_t>::min(); }, "larger than"},
      {"rows missing", [](BmpBuilder& b) { b.Height = 3; }, "pixel data needs 24 bytes"},
  };
  for (const Case& c : cases) {
    BmpBuilder b = good;
    c.Change(b);
    EXPECT_THAT(ReadError(b.Build()), HasSubstr(c.Message)) << c.What;
  }
}

TEST(BmpReject, HugePicturesAreRefusedBeforeAllocation) {
  // The largest allowed size, but the file holds one row of data: refused
  // from the headers alone (no 4 GB picture is made first).
  BmpBuilder b;
  b.Width = 32768;
  b.Height = 32768;
  b.Bits = 1;
  b.Palette = {Red, Green};
  b.PixelData = Bytes(4096, 0);
  EXPECT_THAT(ReadError(b.Build()), HasSubstr("pixel data needs 134217728 bytes"));

  // RLE data of a few bytes cannot justify a picture of a billion pixels.
  b.Bits = 8;
  b.Compression = 1;
  b.PixelData = {0x00, 0x01};
  EXPECT_EQ(b.Build().size(), 14u + 40 + 8 + 2);
  EXPECT_THAT(ReadError(b.Build()), HasSubstr("2 bytes of RLE data cannot fill"));
}

TEST(BmpReject, PalettesThatDoNotFit) {
  BmpBuilder b;
  b.Width = 2;
  b.Bits = 4;
  b.ColorsUsed = 17;
  b.Palette = std::vector<Pixel>(17, Red);
  b.PixelData = {0, 0, 0, 0};
  EXPECT_THAT(ReadError(b.Build()), HasSubstr("17 colours is too large for 4 bits"));

  b.ColorsUsed = 16;
  b.Palette = {Red, Green};  // the pixel data starts where entry 3 would be
  EXPECT_THAT(ReadError(b.Build()), HasSubstr("overlaps the pixel data"));
}

TEST(BmpReject, PaletteIndexPastThePalette) {
  // One rule for every path: an index past the palette is an error that
  // names the index and the pixel.
  BmpBuilder b;
  b.Width = 3;
  b.Height = 2;
  b.Bits = 8;
  b.ColorsUsed = 2;
  b.Palette = {Red, Green};
  b.PixelData = {0, 1, 0, 0, 1, 5, 1, 0};  // bottom row, then top row
  EXPECT_THAT(ReadError(b.Build()), HasSubstr("palette index 5 at (1, 0)"));

  BmpBuilder one;
  one.Width = 8;
  one.Bits = 1;
  one.ColorsUsed = 1;
  one.Palette = {Red};
  one.PixelData = {0x04, 0, 0, 0};
  EXPECT_THAT(ReadError(one.Build()), HasSubstr("palette index 1 at (5, 0)"));

  BmpBuilder four;
  four.Width = 3;
  four.Bits = 4;
  four.ColorsUsed = 3;
  four.Palette = {Red, Green, Blue};
  four.PixelData = {0x21, 0x30, 0, 0};
  EXPECT_THAT(ReadError(four.Build()), HasSubstr("palette index 3 at (2, 0)"));

  BmpBuilder rle8 = b;
  rle8.Compression = 1;
  rle8.PixelData = {0x02, 0x07, 0x00, 0x01};
  EXPECT_THAT(ReadError(rle8.Build()), HasSubstr("palette index 7 at (0, 1)"));

  BmpBuilder rle4 = four;
  rle4.Compression = 2;
  rle4.PixelData = {0x00, 0x03, 0x12, 0x90, 0x00, 0x01};
  EXPECT_THAT(ReadError(rle4.Build()), HasSubstr("palette index 9 at (2, 0)"));
}

TEST(BmpReject, RleThatLeavesThePicture) {
  BmpBuilder b;
  b.Width = 4;
  b.Height = 2;
  b.Bits = 8;
  b.Compression = 1;
  b.Palette = {Red, Green};
  struct Case {
    const char* What;
    Bytes Data;
    const char* Message;
  };
  const std::vector<Case> cases = {
      {"run past the row", {0x02, 0x00, 0x03, 0x00, 0x00, 0x01}, "runs past the end of the row"},
      {"block past the row",
       {0x03, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01},
       "block of 3 pixels at (3, 1)"},
      {"run after the last row",
       {0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01}, "after the last row"},
      {"delta past the top", {0x00, 0x02, 0x00, 0x03, 0x00, 0x01}, "moves outside"},
      {"delta past the right", {0x00, 0x02, 0x05, 0x00, 0x00, 0x01}, "moves outside"},
      {"delta beyond the top edge",
       {0x00, 0x02, 0x00, 0x02, 0x00, 0x02, 0x00, 0x01, 0x00, 0x01},
       "(0, 1) from (0, -1) moves outside"},
      {"no end of picture", {0x02, 0x00}, "without an end-of-picture mark"},
      {"cut inside a delta", {0x00, 0x02, 0x01}, "inside a delta"},
      {"cut inside a block", {0x00, 0x04, 0x00, 0x01}, "inside an absolute block"},
  };
  for (const Case& c : cases) {
    b.PixelData = c.Data;
    EXPECT_THAT(ReadError(b.Build()), HasSubstr(c.Message)) << c.What;
  }

  BmpBuilder topDown = b;
  topDown.Height = -2;
  topDown.PixelData = {0x00, 0x01};
  EXPECT_THAT(ReadError(topDown.Build()), HasSubstr("top-down"));
}

TEST(BmpReject, MasksThatCannotBeRead) {
  BmpBuilder b;
  b.Width = 1;
  b.Bits = 16;
  b.Compression = 3;
  b.PixelData = {0, 0, 0, 0};
  b.Masks = {0xF00F, 0x0F00, 0x00F0};
  EXPECT_THAT(ReadError(b.Build()), HasSubstr("red mask 61455 is not one run of bits"));
  b.Masks = {0x1F0000, 0x07E0, 0x001F};
  EXPECT_THAT(ReadError(b.Build()), HasSubstr("does not fit 16 bits"));
  b.Masks = {0, 0, 0};
  EXPECT_THAT(ReadError(b.Build()), HasSubstr("all colour masks are zero"));
  // ImageMagick's 16-bit files with a 40-byte header promise masks that are
  // not there.
  EXPECT_THAT(ReadError(FixtureBytes("bad-bitfields-no-masks.bmp")),
              HasSubstr("no room for the colour masks"));
}

// Inputs that once broke the reader or the fuzz target's round trip: each
// is either read or refused with a gfx::Error, and what is read survives a
// write and a read.
TEST(BmpReject, RegressionInputsFromFuzzing) {
  std::filesystem::path folder = FixturePath("regress");
  ASSERT_TRUE(std::filesystem::is_directory(folder));
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    ++count;
    Bytes bytes = ReadFileBytes(entry.path().string());
    std::span<const std::uint8_t> rest(bytes);
    while (!rest.empty()) {
      std::optional<BmpReadResult> read;
      try {
        read = ReadBmp(rest);
      } catch (const Error&) {
        break;
      }
      Bitmap again = ReadBmp(WriteBmp(read->Picture)).Picture;
      EXPECT_TRUE(again.SamePixels(read->Picture)) << entry.path();
      rest = rest.subspan(read->BytesUsed);
    }
  }
  EXPECT_GT(count, 0);
}

// --- Writing ------------------------------------------------------------

TEST(BmpWrite, LayoutOfTheFile) {
  Bitmap picture = LoadPpm("pattern.ppm");
  picture.SetSourceBits(24);
  Bytes written = WriteBmp(picture, 24);
  ASSERT_GE(written.size(), 54u);
  EXPECT_EQ(written[0], 'B');
  EXPECT_EQ(written[1], 'M');
  EXPECT_EQ(GetU32(written, 2), written.size());
  EXPECT_EQ(GetU32(written, 10), 54u);
  EXPECT_EQ(GetU32(written, 14), 40u);
  EXPECT_EQ(GetU32(written, 22), 7u);  // positive: bottom-up
  // Rows of 13 x 3 bytes padded to 40 with zeros, bottom-up: the same
  // pixel bytes as ImageMagick's own 24-bit file.
  Bytes reference = FixtureBytes("info-24.bmp");
  EXPECT_EQ(written.size(), 54u + 7 * 40);
  EXPECT_TRUE(std::equal(written.begin() + 54, written.end(), reference.begin() + 54,
                         reference.end()));
}

TEST(BmpWrite, EveryDepthRoundTrips) {
  for (int bits : {1, 4, 8, 24}) {
    // A picture with exactly as many colours as the depth holds (up to 256)
    // and a width that needs row padding at every depth.
    int colours = bits == 24 ? 1000 : 1 << bits;
    Bitmap picture(37, 29);
    for (int y = 0; y < picture.Height(); ++y) {
      for (int x = 0; x < picture.Width(); ++x) {
        int c = (x * 7 + y * 13) % colours;
        picture.SetPixel(x, y, MakePixel(std::uint8_t(c * 37), std::uint8_t(c), std::uint8_t(c >> 8)));
      }
    }
    Bytes written = WriteBmp(picture, bits);
    BmpReadResult read = ReadBmp(written);
    EXPECT_TRUE(read.Picture.SamePixels(picture)) << bits;
    EXPECT_EQ(read.Picture.SourceBits(), bits);
    EXPECT_EQ(read.BytesUsed, written.size());
    EXPECT_EQ(GetU32(written, 2), written.size());
    if (bits <= 8) {
      // Palette in the order the colours first occur, top row first.
      EXPECT_EQ(read.Picture.SourcePalette().size(), std::size_t(colours));
      EXPECT_EQ(read.Picture.SourcePalette()[0], picture.GetPixel(0, 0));
      EXPECT_EQ(read.Picture.SourcePalette()[1], picture.GetPixel(1, 0));
    }
  }
}

TEST(BmpWrite, KeepsTheSourcePaletteOrderWhenItHoldsEveryPixel) {
  Bitmap picture = FromRows({{Blue, Red}});
  picture.SetSourceBits(4);
  picture.SetSourcePalette({White, Red, Grey, Blue});
  BmpReadResult read = ReadBmp(WriteBmp(picture, 4));
  EXPECT_EQ(read.Picture.SourcePalette(), picture.SourcePalette());
  EXPECT_TRUE(read.Picture.SamePixels(picture));

  // A colour drawn later that the palette lacks: a palette of the picture's
  // own colours is made instead.
  picture.SetPixel(0, 0, Green);
  read = ReadBmp(WriteBmp(picture, 4));
  EXPECT_EQ(read.Picture.SourcePalette(), (std::vector<Pixel>{Green, Red}));
  EXPECT_TRUE(read.Picture.SamePixels(picture));
}

TEST(BmpWrite, TooManyColoursForTheDepth) {
  Bitmap picture = FromRows({{Red, Green, Blue}});
  EXPECT_THAT(
      [&] {
        try {
          WriteBmp(picture, 1);
        } catch (const Error& e) {
          return std::string(e.what());
        }
        return std::string();
      }(),
      HasSubstr("more than 2 colours for 1 bits per pixel"));
  EXPECT_NO_THROW(WriteBmp(picture, 4));
}

TEST(BmpWrite, RefusesDepthsItDoesNotWriteAndEmptyPictures) {
  Bitmap picture = FromRows({{Red}});
  for (int bits : {0, 2, 16, 32}) EXPECT_THROW(WriteBmp(picture, bits), Error) << bits;
  EXPECT_THROW(WriteBmp(Bitmap(), 24), Error);
  EXPECT_THROW(WriteBmp(Bitmap()), Error);
}

TEST(BmpWrite, DefaultDepthFollowsTheSource) {
  Bitmap picture = FromRows({{Red, Green, Blue}});
  picture.SetSourceBits(8);
  EXPECT_EQ(BmpWriteBits(picture), 8);
  EXPECT_EQ(ReadBmp(WriteBmp(picture)).Picture.SourceBits(), 8);
  // Too many colours for the source depth: 24 bits rather than an error.
  picture.SetSourceBits(1);
  EXPECT_EQ(BmpWriteBits(picture), 24);
  EXPECT_EQ(ReadBmp(WriteBmp(picture)).Picture.SourceBits(), 24);
  for (int bits : {16, 32}) {
    picture.SetSourceBits(bits);
    EXPECT_EQ(BmpWriteBits(picture), 24);
  }
}

TEST(BmpWrite, TheXByteIsNotAColour) {
  Bitmap picture = FromRows({{Red | 0xFF000000u, Red}});
  BmpReadResult read = ReadBmp(WriteBmp(picture, 1));
  EXPECT_EQ(read.Picture.SourcePalette(), std::vector<Pixel>{Red});
  EXPECT_TRUE(read.Picture.SamePixels(FromRows({{Red, Red}})));
}

// --- Files --------------------------------------------------------------

class BmpFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    FFolder = std::filesystem::temp_directory_path() /
              ("ostvane-bmp-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(FFolder);
  }
  void TearDown() override { std::filesystem::remove_all(FFolder); }
  std::string Path(const std::string& name) const { return (FFolder / name).string(); }

  std::filesystem::path FFolder;
};

std::string FileError(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

TEST_F(BmpFiles, SaveAndLoad) {
  Bitmap picture = ReadBmp(FixtureBytes("info-4.bmp")).Picture;
  SaveBmpFile(Path("a.bmp"), picture);
  Bitmap loaded = LoadBmpFile(Path("a.bmp"));
  EXPECT_TRUE(loaded.SamePixels(picture));
  EXPECT_EQ(loaded.SourceBits(), 4);
}

TEST_F(BmpFiles, ErrorsNameThePath) {
  std::string missing = Path("missing.bmp");
  EXPECT_THAT(FileError([&] { ReadFileBytes(missing); }),
              StartsWith(missing + ": cannot open: No such file"));
  std::string noFolder = Path("no/such/folder.bmp");
  EXPECT_THAT(FileError([&] { WriteFileBytes(noFolder, Bytes{1}); }),
              StartsWith(noFolder + ": cannot create"));
  EXPECT_THAT(FileError([&] { ReadFileBytes(FFolder.string()); }),
              StartsWith(FFolder.string() + ": cannot read"));

  WriteFileBytes(Path("bad.bmp"), Bytes{'B', 'M', 0});
  EXPECT_THAT(FileError([&] { LoadBmpFile(Path("bad.bmp")); }),
              StartsWith(Path("bad.bmp") + ": BMP: file is truncated"));
}

TEST_F(BmpFiles, AFileThatCannotBeCompletedIsRemoved) {
  // A child process whose files may not grow past 100 bytes writes 1000.
  std::string path = Path("big.bmp");
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::string message = FileError([&] { WriteFileBytes(path, Bytes(1000, 1)); });
    bool ok = message.rfind(path + ": cannot write: File too large", 0) == 0 &&
              !std::filesystem::exists(path);
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(BmpFiles, ReadStopsAtTheSizeLimit) {
  WriteFileBytes(Path("ten"), Bytes(10, 7));
  EXPECT_EQ(ReadFileBytes(Path("ten"), 10), Bytes(10, 7));
  EXPECT_THAT(FileError([&] { ReadFileBytes(Path("ten"), 9); }), HasSubstr("larger than 9 bytes"));
  // A device without an end stops at the limit too.
  EXPECT_THAT(FileError([] { ReadFileBytes("/dev/zero", 1 << 20); }),
              HasSubstr("larger than 1048576 bytes"));
}

}  // namespace
}  // namespace gfx
