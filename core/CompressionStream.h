#pragma once

#include <cstdint>
#include <memory>

#include "core/CompressionLevel.h"
#include "core/Stream.h"

namespace core {

// Writes a zlib stream (header, deflate data, Adler-32 trailer) to a target
// stream. Output goes out in 4096-byte blocks. The target's position is
// remembered and restored before each block, so others may use the target
// between two writes; the block lands right after the previous one.
//
// Only writing is allowed: Read and any Seek other than Seek(0,
// soFromCurrent) (which returns the number of bytes taken in) raise
// ECompressionError "Invalid stream operation". A zlib failure raises
// ECompressionError "error".
class TCompressionStream : public TStream {
 public:
  // The target must outlive this stream.
  TCompressionStream(TCompressionLevel level, TStream& target);
  // Finishes the zlib stream if Finish was not called; errors are swallowed
  // here, so call Finish to see them.
  ~TCompressionStream() override;

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;

  // Compresses what is pending and writes the trailer. Afterwards Write
  // raises "Invalid stream operation"; a second Finish does nothing.
  void Finish();
  bool Finished() const;

  // Bytes taken in and bytes given to the target so far.
  std::int64_t TotalIn() const;
  std::int64_t TotalOut() const;

 private:
  struct TState;
  void WriteBlock(std::size_t count);
  std::unique_ptr<TState> FState;
  TStream& FTarget;
  std::int64_t FTargetPosition;
};

}  // namespace core
