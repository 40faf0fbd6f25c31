#pragma once

#include <cstdint>
#include <memory>

#include "core/Stream.h"

namespace core {

// Reads the uncompressed bytes of a zlib stream held in a source stream,
// starting at the source's position when this stream is made. The source is
// read in 4096-byte blocks; its position is remembered and restored before
// each block, so others may use the source between two reads.
//
// Reading past the end of the compressed data returns fewer bytes (0 once at
// the end); the source is then left right after the zlib stream. Damaged
// data, or data that ends before the zlib stream does, raises
// EDecompressionError "compression error".
//
// Write raises EDecompressionError "Invalid stream operation". Seek moves
// forward by reading and discarding, or back to the beginning by resetting
// the inflater and the source; any other move raises "Invalid stream
// operation". Seek(0, soFromCurrent) returns the bytes produced so far.
class TDecompressionStream : public TStream {
 public:
  // The source must outlive this stream.
  explicit TDecompressionStream(TStream& source);
  ~TDecompressionStream() override;

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

  // True once the zlib stream's trailer has been read and checked.
  bool AtEnd() const;
  std::int64_t TotalOut() const;

 private:
  struct TState;
  void Reset();
  std::unique_ptr<TState> FState;
  TStream& FSource;
  std::int64_t FSourceStart;
  std::int64_t FSourcePosition;
};

}  // namespace core
