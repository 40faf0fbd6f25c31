#include "core/Compression.h"

#include "core/MemoryStream.h"
#include "core/ReadOnlyMemoryStream.h"

namespace core {

std::vector<std::uint8_t> ZCompressBytes(std::span<const std::uint8_t> data, TCompressionLevel level) {
  TMemoryStream target;
  {
    TCompressionStream compressor(level, target);
    compressor.WriteBuffer(data.data(), data.size());
    compressor.Finish();
  }
  return target.TakeBytes();
}

std::vector<std::uint8_t> ZDecompressBytes(std::span<const std::uint8_t> data) {
  TReadOnlyMemoryStream source(data);
  TDecompressionStream inflater(source);
  std::vector<std::uint8_t> result;
  std::uint8_t block[4096];
  for (;;) {
    std::size_t got = inflater.Read(block, sizeof block);
    if (got == 0) break;
    result.insert(result.end(), block, block + got);
  }
  return result;
}

}  // namespace core
