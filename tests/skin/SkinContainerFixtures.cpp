#include "SkinContainerFixtures.h"

#include <atomic>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <unistd.h>

#include "core/Compression.h"
#include "core/Encoding.h"
#include "gfx/Bitmap.h"
#include "gfx/BmpCodec.h"

namespace skintest {

Bytes MakeBmp(int width, int height, int bits, int seed) {
  gfx::Bitmap bitmap(width, height);
  const int colours = bits == 1 ? 2 : bits == 4 ? 16 : 200;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int index = (x * 3 + y * 5 + seed) % colours;
      bitmap.SetPixel(x, y, gfx::MakePixel(std::uint8_t(index * 7 + seed), std::uint8_t(index),
                                           std::uint8_t(255 - index)));
    }
  }
  return gfx::WriteBmp(bitmap, bits);
}

std::string TestDescriptionUtf8() {
  return "[VERSION]\r\n"
         "skinname=测试皮肤\r\n"
         "skinauthor=Ostvane\r\n"
         "ver=2\r\n"
         "\r\n"
         "[PICTURES]\r\n"
         "picture=main.bmp\r\n"
         "mask=mask.bmp\r\n"
         "activepicturescount=2\r\n"
         "0=active.bmp\r\n"
         "1=controls.bmp\r\n"
         "\r\n"
         "[FORMINFO]\r\n"
         "lefttoppoint=4,4\r\n"
         "righttoppoint=26,4\r\n"
         "leftbottompoint=4,16\r\n"
         "rightbottompoint=26,16\r\n"
         "clientrect=3,5,27,17\r\n"
         "maskrectarea=3,4,27,18\r\n"
         "borderwidth=3\r\n"
         "\r\n"
         "[POPUPWINDOW]\r\n"
         "windowpictureindex=1\r\n"
         "\r\n"
         "[HINTWINDOW]\r\n"
         "windowpictureindex=0\r\n"
         "fontheight=12\r\n"
         "\r\n"
         "[SKINAREAS]\r\n"
         "count=2\r\n"
         "0=close:1,2,3,4\r\n"
         "1=drag:5,6,7,8\r\n"
         "\r\n"
         "[SKINOBJECTS]\r\n"
         "count=3\r\n"
         "0=caption1:caption\r\n"
         "1=closebutton:stdbutton\r\n"
         "2=closebutton:button\r\n"
         "\r\n"
         "[caption1]\r\n"
         "skinrect=27,6,56,24\r\n"
         "fontheight=12\r\n"
         "\r\n"
         "[closebutton]\r\n"
         "activepictureindex=0\r\n"
         "skinrect=20,2,28,10\r\n"
         "command=cmclose\r\n"
         "\r\n"
         "[SKINCONTROLS]\r\n"
         "count=4\r\n"
         "0=button:button\r\n"
         "1=groupbox:panel\r\n"
         "2=header:header\r\n"
         "3=vscrollbar:scrollbar\r\n"
         "\r\n"
         "[button]\r\n"
         "pictureindex=1\r\n"
         "skinrect=0,0,9,7\r\n"
         "fontname=宋体\r\n"
         "\r\n"
         "[groupbox]\r\n"
         "pictureindex=1\r\n"
         "skinrect=0,0,9,7\r\n"
         "alignment=tacenter\r\n"
         "\r\n"
         "[vscrollbar]\r\n"
         "pictureindex=1\r\n"
         "skinrect=1,1,8,6\r\n";
}

std::string TestDescriptionGbk() { return core::Utf8ToGbk(TestDescriptionUtf8()); }

TestPictures MakeTestPictures() {
  return TestPictures{MakeBmp(30, 20, 8, 1), MakeBmp(30, 20, 1, 2), MakeBmp(16, 12, 24, 3),
                      MakeBmp(9, 7, 4, 4)};
}

skin::SkinContainer TestContainer() {
  const TestPictures pictures = MakeTestPictures();
  skin::SkinContainer container;
  container.Version = 2;
  container.FrameEntry(skin::FramePicture::Picture).Bmp = pictures.Picture;
  container.FrameEntry(skin::FramePicture::Mask).Bmp = pictures.Mask;
  container.Active.emplace_back().Bmp = pictures.Active0;
  container.Active.emplace_back().Bmp = pictures.Active1;
  container.Description = TestDescriptionGbk();
  return container;
}

Bytes TestContainerBytes() { return skin::WriteSkinContainer(TestContainer()); }

Bytes Compress(const Bytes& bytes) { return core::ZCompressBytes(bytes, core::clMax); }

std::string ToString(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }
Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  FPath = std::filesystem::temp_directory_path() /
          ("ostvane-skin-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(FPath);
  std::filesystem::create_directories(FPath);
}

TempDir::~TempDir() {
  std::error_code error;
  std::filesystem::remove_all(FPath, error);
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void WriteFile(const std::string& path, const std::string& text) { WriteFile(path, ToBytes(text)); }

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WriteTestSkinFiles(const TempDir& dir) {
  const TestPictures pictures = MakeTestPictures();
  WriteFile(dir.File("main.bmp"), pictures.Picture);
  WriteFile(dir.File("mask.bmp"), pictures.Mask);
  WriteFile(dir.File("active.bmp"), pictures.Active0);
  WriteFile(dir.File("controls.bmp"), pictures.Active1);
  const std::string path = dir.File("skin.ini");
  WriteFile(path, TestDescriptionGbk());
  return path;
}

}  // namespace skintest
