#pragma once

// Small skins built in the tests themselves: BMP files from the gfx writer,
// a description in GBK, containers and compressed skin files.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/data/SkinData.Container.h"

namespace skintest {

using Bytes = std::vector<std::uint8_t>;

// A picture of width x height with a pattern that differs by seed, written
// at bits per pixel (1, 4, 8 or 24).
Bytes MakeBmp(int width, int height, int bits, int seed = 0);

// The test skin's description as UTF-8: three objects (one name twice), four
// control sections, one of a kind no class is bound to, two areas, a GBK
// skin name.
std::string TestDescriptionUtf8();
// The same in GBK with CR LF, as containers hold it.
std::string TestDescriptionGbk();

// The pictures the test description names, as the container holds them.
struct TestPictures {
  Bytes Picture;   // 30 x 20, 8 bits
  Bytes Mask;      // 30 x 20, 1 bit
  Bytes Active0;   // 16 x 12, 24 bits
  Bytes Active1;   // 9 x 7, 4 bits
};
TestPictures MakeTestPictures();

// A version 2 container of the test skin (no inactive or roll-up
// pictures).
skin::SkinContainer TestContainer();
Bytes TestContainerBytes();
// zlib block at the maximum level.
Bytes Compress(const Bytes& bytes);

std::string ToString(const Bytes& bytes);
Bytes ToBytes(const std::string& text);

// A fresh directory under the system's temporary folder, removed with the
// object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return FPath; }
  std::string File(const std::string& name) const { return (FPath / name).string(); }

 private:
  std::filesystem::path FPath;
};

void WriteFile(const std::string& path, const Bytes& bytes);
void WriteFile(const std::string& path, const std::string& text);
Bytes ReadFile(const std::string& path);

// Writes the test skin as a designer keeps it: the description (GBK) and
// the BMP files beside it. Returns the description's path.
std::string WriteTestSkinFiles(const TempDir& dir);

}  // namespace skintest
