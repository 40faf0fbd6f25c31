#include "core/CompressionStream.h"

#include <zlib.h>

#include <limits>

#include "core/Exception.h"

namespace core {

namespace {
constexpr std::size_t BufferSize = 4096;
}

struct TCompressionStream::TState {
  z_stream Zlib{};
  unsigned char Buffer[BufferSize];
  bool Finished = false;
};

TCompressionStream::TCompressionStream(TCompressionLevel level, TStream& target)
    : FState(std::make_unique<TState>()), FTarget(target), FTargetPosition(target.Position()) {
  if (deflateInit(&FState->Zlib, ZLibLevel(level)) != Z_OK) throw ECompressionError("error");
  FState->Zlib.next_out = FState->Buffer;
  FState->Zlib.avail_out = BufferSize;
}

TCompressionStream::~TCompressionStream() {
  try {
    Finish();
  } catch (...) {
    // A destructor cannot report; callers who care call Finish themselves.
  }
  deflateEnd(&FState->Zlib);
}

// Hands the first count bytes of the buffer to the target at the remembered
// position, then starts the buffer afresh.
void TCompressionStream::WriteBlock(std::size_t count) {
  if (count > 0) {
    FTarget.SetPosition(FTargetPosition);
    FTarget.WriteBuffer(FState->Buffer, count);
    FTargetPosition = FTarget.Position();
  }
  FState->Zlib.next_out = FState->Buffer;
  FState->Zlib.avail_out = BufferSize;
}

std::size_t TCompressionStream::Read(void*, std::size_t) {
  throw ECompressionError("Invalid stream operation");
}

std::size_t TCompressionStream::Write(const void* buffer, std::size_t count) {
  if (FState->Finished) throw ECompressionError("Invalid stream operation");
  z_stream& zlib = FState->Zlib;
  const auto* bytes = static_cast<const Bytef*>(buffer);
  std::size_t left = count;
  while (left > 0) {
    // zlib counts in uInt; feed large buffers in slices.
    uInt slice = left > std::numeric_limits<uInt>::max() ? std::numeric_limits<uInt>::max() : uInt(left);
    zlib.next_in = const_cast<Bytef*>(bytes);
    zlib.avail_in = slice;
    while (zlib.avail_in > 0) {
      if (deflate(&zlib, Z_NO_FLUSH) != Z_OK) throw ECompressionError("error");
      if (zlib.avail_out == 0) WriteBlock(BufferSize);
    }
    bytes += slice;
    left -= slice;
  }
  zlib.next_in = nullptr;
  return count;
}

std::int64_t TCompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  if (offset == 0 && origin == soFromCurrent) return TotalIn();
  throw ECompressionError("Invalid stream operation");
}

void TCompressionStream::Finish() {
  if (FState->Finished) return;
  z_stream& zlib = FState->Zlib;
  zlib.next_in = nullptr;
  zlib.avail_in = 0;
  for (;;) {
    int result = deflate(&zlib, Z_FINISH);
    if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) throw ECompressionError("error");
    std::size_t pending = BufferSize - zlib.avail_out;
    if (result == Z_STREAM_END) {
      WriteBlock(pending);
      break;
    }
    if (pending == 0) throw ECompressionError("error");  // no progress: zlib is stuck
    WriteBlock(pending);
  }
  FState->Finished = true;
}

bool TCompressionStream::Finished() const { return FState->Finished; }

std::int64_t TCompressionStream::TotalIn() const { return std::int64_t(FState->Zlib.total_in); }
std::int64_t TCompressionStream::TotalOut() const { return std::int64_t(FState->Zlib.total_out); }

}  // namespace core
