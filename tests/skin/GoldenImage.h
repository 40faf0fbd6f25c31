#pragma once

// Golden pictures: a test draws a control or a frame into a bitmap and
// compares it exactly with a PNG kept in the repository for review.
// OSTVANE_UPDATE_GOLDEN=1 in the environment writes the PNG instead (and the
// comparison passes), for when a look changes on purpose; review the new
// PNGs before committing them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "gfx/Bitmap.h"
#include "gfx/PngCodec.h"

namespace skin::testing {

// The path of a golden picture by its name relative to tests/skin, for
// example "controls/golden/button-hot.png".
inline std::string GoldenPath(const std::string& name) {
  return std::string(OSTVANE_SOURCE_DIR) + "/tests/skin/" + name;
}

// Exact comparison with the golden PNG; on a difference the picture drawn
// lands beside the build as NAME.actual.png, and the message names the
// first differing pixel.
inline ::testing::AssertionResult MatchesGolden(const gfx::Bitmap& actual, const std::string& name) {
  const std::string path = GoldenPath(name);
  const char* update = std::getenv("OSTVANE_UPDATE_GOLDEN");
  if (update && std::string(update) == "1") {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    gfx::SavePngFile(path, actual);
    return ::testing::AssertionSuccess();
  }
  if (!std::filesystem::exists(path)) {
    return ::testing::AssertionFailure() << "no golden picture " << path
                                         << " (run with OSTVANE_UPDATE_GOLDEN=1 to write it)";
  }
  gfx::Bitmap expected = gfx::LoadPngFile(path);
  auto keepActual = [&] {
    std::string out = std::string(OSTVANE_BINARY_DIR) + "/golden-actual/" + name;
    std::filesystem::create_directories(std::filesystem::path(out).parent_path());
    gfx::SavePngFile(out, actual);
    return out;
  };
  if (expected.Width() != actual.Width() || expected.Height() != actual.Height()) {
    return ::testing::AssertionFailure() << name << ": drawn " << actual.Width() << "x" << actual.Height()
                                         << ", golden " << expected.Width() << "x" << expected.Height()
                                         << "; drawn picture in " << keepActual();
  }
  for (int y = 0; y < actual.Height(); ++y) {
    for (int x = 0; x < actual.Width(); ++x) {
      // The X byte is not stored in the PNG.
      gfx::Pixel a = actual.GetPixel(x, y) & 0xFFFFFFu;
      gfx::Pixel e = expected.GetPixel(x, y) & 0xFFFFFFu;
      if (a != e) {
        return ::testing::AssertionFailure() << name << ": first difference at " << x << "," << y << ": drawn 0x"
                                             << std::hex << a << ", golden 0x" << e << std::dec
                                             << "; drawn picture in " << keepActual();
      }
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace skin::testing
