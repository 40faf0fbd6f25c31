#include "gfx/PngCodec.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "gfx/BmpCodec.h"
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

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

class TempFolder {
 public:
  TempFolder() {
    FPath = std::filesystem::temp_directory_path() /
            ("ostvane-png-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(FPath);
  }
  ~TempFolder() { std::filesystem::remove_all(FPath); }
  std::string operator/(const std::string& name) const { return (FPath / name).string(); }

 private:
  std::filesystem::path FPath;
};

TEST(PngRead, ConvertsEveryFormToEightBitRgb) {
  Bitmap pattern = LoadPpm("pattern.ppm");
  for (const char* name : {"png-rgb.png", "png-palette.png", "png-rgba16.png", "png-interlaced.png"}) {
    Bitmap picture = ReadPng(FixtureBytes(name));
    // The 16-bit one has alpha varying across it: dropped, not blended.
    EXPECT_TRUE(picture.SamePixels(pattern)) << name;
    EXPECT_EQ(picture.SourceBits(), 24) << name;
  }
  for (const char* name : {"png-gray", "png-gray-alpha", "png-palette-trns"}) {
    Bitmap picture = ReadPng(FixtureBytes(std::string(name) + ".png"));
    EXPECT_TRUE(picture.SamePixels(LoadPpm(std::string(name) + ".ppm"))) << name;
  }
}

TEST(PngWrite, RoundTripsAsEightBitRgb) {
  Bitmap picture(31, 17);
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      picture.SetPixel(x, y, MakePixel(std::uint8_t(x * 8), std::uint8_t(y * 15), std::uint8_t(x * y)));
    }
  }
  Bytes png = WritePng(picture);
  ASSERT_GT(png.size(), 33u);
  EXPECT_EQ(png[24], 8);  // bit depth
  EXPECT_EQ(png[25], 2);  // colour type RGB: no alpha channel
  EXPECT_TRUE(ReadPng(png).SamePixels(picture));
}

TEST(PngWrite, AShapeBecomesTheAlphaChannel) {
  Bitmap picture(4, 2);
  picture.Fill(MakePixel(10, 20, 30));
  // A picture whose top-left and bottom-right pixels are outside its shape.
  Region shape = Region::FromRects({Rect{1, 0, 4, 1}, Rect{0, 1, 3, 2}});
  Bytes png = WritePng(picture, shape);
  EXPECT_EQ(png[25], 6);  // colour type RGBA
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> samples(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, samples.data(), 0, nullptr));
  std::vector<int> alpha;
  for (std::size_t i = 3; i < samples.size(); i += 4) alpha.push_back(samples[i]);
  EXPECT_EQ(alpha, (std::vector<int>{0, 255, 255, 255, 255, 255, 255, 0}));
  EXPECT_EQ(samples[4], 10);
  // Read back as a picture, the colours are all there.
  EXPECT_TRUE(ReadPng(png).SamePixels(picture));
}

TEST(PngWrite, TheXByteIsNotWritten) {
  Bitmap picture(2, 1);
  picture.SetPixel(0, 0, 0xFF123456u);
  picture.SetPixel(1, 0, 0x00ABCDEFu);
  Bitmap back = ReadPng(WritePng(picture));
  EXPECT_EQ(back.GetPixel(0, 0), 0x00123456u);
  EXPECT_EQ(back.GetPixel(1, 0), 0x00ABCDEFu);
}

TEST(PngWrite, EmptyPictureIsAnError) {
  EXPECT_THAT(ErrorOf([] { WritePng(Bitmap()); }), HasSubstr("empty picture"));
}

TEST(PngRead, DamagedFilesAreErrors) {
  Bytes good = FixtureBytes("png-rgb.png");
  EXPECT_THAT(ErrorOf([] { ReadPng(Bytes{}); }), StartsWith("PNG: cannot read: "));
  EXPECT_THAT(ErrorOf([] { ReadPng(FixtureBytes("info-24.bmp")); }), StartsWith("PNG: cannot read"));
  // Every cut before the end chunk loses pixel data.
  for (std::size_t length = 0; length + 12 < good.size(); ++length) {
    Bytes part(good.begin(), good.begin() + std::ptrdiff_t(length));
    EXPECT_THROW(ReadPng(part), Error) << "length " << length;
  }
  // A changed byte inside the pixel data breaks its checksum.
  Bytes flipped = good;
  flipped[good.size() - 20] ^= 0x10;
  EXPECT_THROW(ReadPng(flipped), Error);
}

// The fixture with its header changed to another size (checksum fixed).
Bytes WithSize(std::uint32_t width, std::uint32_t height) {
  Bytes png = FixtureBytes("png-rgb.png");
  auto put = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) png[at + std::size_t(i)] = std::uint8_t(v >> (24 - 8 * i));
  };
  put(16, width);
  put(20, height);
  put(29, std::uint32_t(crc32(0, png.data() + 12, 17)));
  return png;
}

TEST(PngRead, SizesThePictureCannotHaveAreRefusedBeforeAllocation) {
  EXPECT_THAT(ErrorOf([] { ReadPng(WithSize(40000, 1)); }),
              HasSubstr("40000 x 1 is larger than 32768"));
  // 3 GB of pixels promised by a few hundred bytes.
  EXPECT_THAT(ErrorOf([] { ReadPng(WithSize(30000, 30000)); }),
              HasSubstr("cannot hold a picture of 30000 x 30000"));
  // A size the data could hold but does not: libpng's own error.
  EXPECT_THAT(ErrorOf([] { ReadPng(WithSize(13, 70)); }), StartsWith("PNG: cannot read: "));
}

TEST(PngFiles, SaveAndLoad) {
  TempFolder folder;
  Bitmap picture = LoadPpm("pattern.ppm");
  SavePngFile(folder / "a.png", picture);
  EXPECT_TRUE(LoadPngFile(folder / "a.png").SamePixels(picture));
  EXPECT_THAT(ErrorOf([&] { LoadPngFile(folder / "none.png"); }),
              StartsWith(folder / "none.png" + ": cannot open"));
  EXPECT_THAT(ErrorOf([&] { LoadPngFile(FixturePath("info-1.bmp")); }),
              StartsWith(FixturePath("info-1.bmp") + ": PNG: cannot read"));
  EXPECT_THAT(ErrorOf([&] { SavePngFile(folder / "no/such/a.png", picture); }),
              StartsWith(folder / "no/such/a.png" + ": cannot create"));
}

// --- ostvane-bmp2png ------------------------------------------------------

struct ToolRun {
  int Status = -1;
  std::string Errors;
};

std::string ToolPath() {
  return std::string(OSTVANE_BINARY_DIR) + "/tools/ostvane-bmp2png/ostvane-bmp2png";
}

ToolRun RunTool(const std::vector<std::string>& arguments, const std::string& errorsFile) {
  std::vector<char*> argv;
  std::string tool = ToolPath();
  argv.push_back(tool.data());
  std::vector<std::string> copies = arguments;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  ToolRun run;
  pid_t child = ::fork();
  if (child == 0) {
    std::FILE* errors = std::freopen(errorsFile.c_str(), "w", stderr);
    if (!errors) ::_exit(120);
    ::execv(tool.c_str(), argv.data());
    ::_exit(121);
  }
  int status = 0;
  if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status)) {
    run.Status = WEXITSTATUS(status);
  }
  std::ifstream in(errorsFile);
  std::stringstream text;
  text << in.rdbuf();
  run.Errors = text.str();
  return run;
}

class Bmp2Png : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(ToolPath())) GTEST_SKIP() << "ostvane-bmp2png is not built";
  }
  TempFolder FFolder;
};

TEST_F(Bmp2Png, ConvertsEveryDepthToTheSamePixels) {
  for (const char* name : {"info-1", "info-4", "info-8-rle", "v5-16-565", "info-24", "v5-32",
                           "core-8"}) {
    std::string out = FFolder / (std::string(name) + ".png");
    ToolRun run = RunTool({FixturePath(std::string(name) + ".bmp"), out}, FFolder / "err");
    EXPECT_EQ(run.Status, 0) << name;
    EXPECT_EQ(run.Errors, "") << name;
    EXPECT_TRUE(LoadPngFile(out).SamePixels(LoadPpm(std::string(name) + ".ppm"))) << name;
  }
}

TEST_F(Bmp2Png, UnreadablePictureGivesOneLineAndNoOutput) {
  std::string out = FFolder / "out.png";
  Bytes cut = FixtureBytes("info-24.bmp");
  cut.resize(100);
  WriteFileBytes(FFolder / "cut\nname.bmp", cut);
  ToolRun run = RunTool({FFolder / "cut\nname.bmp", out}, FFolder / "err");
  EXPECT_EQ(run.Status, 1);
  EXPECT_THAT(run.Errors, StartsWith("ostvane-bmp2png: " + FFolder / "cut name.bmp" +
                                     ": BMP: file is truncated"));
  EXPECT_EQ(std::count(run.Errors.begin(), run.Errors.end(), '\n'), 1);
  EXPECT_FALSE(std::filesystem::exists(out));

  run = RunTool({FFolder / "missing.bmp", out}, FFolder / "err");
  EXPECT_EQ(run.Status, 1);
  EXPECT_THAT(run.Errors, StartsWith("ostvane-bmp2png: " + FFolder / "missing.bmp" +
                                     ": cannot open: No such file"));
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(Bmp2Png, WrongUsage) {
  ToolRun run = RunTool({"only-one"}, FFolder / "err");
  EXPECT_EQ(run.Status, 2);
  EXPECT_THAT(run.Errors, StartsWith("usage: ostvane-bmp2png IN.bmp OUT.png"));
}

TEST_F(Bmp2Png, UnwritableOutput) {
  ToolRun run = RunTool({FixturePath("info-1.bmp"), FFolder / "no/such/out.png"}, FFolder / "err");
  EXPECT_EQ(run.Status, 1);
  EXPECT_THAT(run.Errors, HasSubstr(": cannot create: No such file"));
}

}  // namespace
}  // namespace gfx
