// ostvane-bmp2png IN.bmp OUT.png
//
// Converts a BMP file to a PNG of the same pixels. Exit status 0 on
// success, 1 with one line on standard error when the picture cannot be
// read or the PNG cannot be written, 2 for wrong usage. The output file is
// only opened once the whole PNG is ready in memory, so a picture that
// cannot be read leaves nothing behind.

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "gfx/BmpCodec.h"
#include "gfx/Error.h"
#include "gfx/PngCodec.h"

namespace {

constexpr const char* ProgramName = "ostvane-bmp2png";

// The report must stay one line whatever the file name or the reason holds.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  }
  return text;
}

int Report(const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", ProgramName, OneLine(text).c_str());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s IN.bmp OUT.png\n", ProgramName);
    return 2;
  }
  const std::string input = argv[1];
  const std::string output = argv[2];

  std::vector<std::uint8_t> png;
  try {
    // File errors already start with the path.
    std::vector<std::uint8_t> bytes = gfx::ReadFileBytes(input);
    try {
      png = gfx::WritePng(gfx::ReadBmp(bytes).Picture);
    } catch (const gfx::Error& e) {
      return Report(input + ": " + e.what());
    } catch (const std::bad_alloc&) {
      return Report(input + ": not enough memory for the picture");
    }
  } catch (const gfx::Error& e) {
    return Report(e.what());
  } catch (const std::bad_alloc&) {
    return Report(input + ": not enough memory to read the file");
  }

  try {
    // Removes what it wrote when it cannot finish.
    gfx::WriteFileBytes(output, png);
  } catch (const gfx::Error& e) {
    return Report(e.what());
  }
  return 0;
}
