#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace tools {

// The demo programs' one option: "--seconds N" closes the window after N
// seconds (0 or none: it stays until closed), so scripts can run them
// unattended. Wrong usage prints the usage line and gives nothing.
inline std::optional<int> ParseSecondsOption(int argc, char** argv) {
  int seconds = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "usage: %s [--seconds N]\n", argv[0]);
      return std::nullopt;
    }
  }
  return seconds;
}

}  // namespace tools
