#pragma once

namespace core {

// Compression levels of TCompressionStream; zlib's levels are none = 0,
// fastest = 1, default = -1 (zlib's own choice), maximum = 9.
enum TCompressionLevel { clNone, clFastest, clDefault, clMax };

constexpr int ZLibLevel(TCompressionLevel level) {
  switch (level) {
    case clNone: return 0;
    case clFastest: return 1;
    case clDefault: return -1;
    case clMax: return 9;
  }
  return -1;
}

}  // namespace core
