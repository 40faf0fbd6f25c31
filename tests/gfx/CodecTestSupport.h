#pragma once

// Fixture access for the picture codec tests: the committed pictures in
// tests/gfx/data and the PPM references ImageMagick decoded from them.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "gfx/Bitmap.h"
#include "gfx/BmpCodec.h"

namespace gfx::test {

inline std::string FixturePath(const std::string& name) {
  return std::string(OSTVANE_SOURCE_DIR) + "/tests/gfx/data/" + name;
}

inline std::vector<std::uint8_t> FixtureBytes(const std::string& name) {
  return ReadFileBytes(FixturePath(name));
}

// A binary (P6) PPM with maxval 255, as ImageMagick writes them.
inline Bitmap LoadPpm(const std::string& name) {
  std::vector<std::uint8_t> bytes = FixtureBytes(name);
  std::size_t at = 0;
  auto token = [&] {
    std::string t;
    while (at < bytes.size()) {
      char c = char(bytes[at]);
      if (c == '#') {
        while (at < bytes.size() && bytes[at] != '\n') ++at;
      } else if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
        if (!t.empty()) break;
        ++at;
      } else {
        t += c;
        ++at;
      }
    }
    return t;
  };
  if (token() != "P6") throw std::runtime_error(name + ": not a binary PPM");
  int width = std::stoi(token());
  int height = std::stoi(token());
  if (token() != "255") throw std::runtime_error(name + ": maxval is not 255");
  ++at;  // the one white space before the samples
  if (bytes.size() - at < std::size_t(width) * std::size_t(height) * 3) {
    throw std::runtime_error(name + ": truncated");
  }
  Bitmap bitmap(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x, at += 3) {
      bitmap.SetPixel(x, y, MakePixel(bytes[at], bytes[at + 1], bytes[at + 2]));
    }
  }
  return bitmap;
}

}  // namespace gfx::test
