#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/CompressionLevel.h"
#include "core/CompressionStream.h"
#include "core/DecompressionStream.h"

namespace core {

// A complete zlib stream of data, made with TCompressionStream.
std::vector<std::uint8_t> ZCompressBytes(std::span<const std::uint8_t> data,
                                         TCompressionLevel level = clDefault);
// The bytes of a complete zlib stream; raises EDecompressionError
// "compression error" for damaged or truncated data. Bytes after the zlib
// stream are ignored.
std::vector<std::uint8_t> ZDecompressBytes(std::span<const std::uint8_t> data);

}  // namespace core
