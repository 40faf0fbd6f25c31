#include "core/DecompressionStream.h"

#include <zlib.h>

#include <limits>

#include "core/Exception.h"

namespace core {

namespace {
constexpr std::size_t BufferSize = 4096;
[[noreturn]] void RaiseDamaged() { throw EDecompressionError("compression error"); }
[[noreturn]] void RaiseInvalid() { throw EDecompressionError("Invalid stream operation"); }
}  // namespace

struct TDecompressionStream::TState {
  z_stream Zlib{};
  unsigned char Buffer[BufferSize];
  bool AtEnd = false;
};

TDecompressionStream::TDecompressionStream(TStream& source)
    : FState(std::make_unique<TState>()),
      FSource(source),
      FSourceStart(source.Position()),
      FSourcePosition(FSourceStart) {
  if (inflateInit(&FState->Zlib) != Z_OK) RaiseDamaged();
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&FState->Zlib); }

std::size_t TDecompressionStream::Read(void* buffer, std::size_t count) {
  z_stream& zlib = FState->Zlib;
  auto* out = static_cast<Bytef*>(buffer);
  std::size_t done = 0;
  while (done < count && !FState->AtEnd) {
    if (zlib.avail_in == 0) {
      FSource.SetPosition(FSourcePosition);
      std::size_t got = FSource.Read(FState->Buffer, BufferSize);
      FSourcePosition = FSource.Position();
      // The zlib stream is not over but its bytes are: a truncated block.
      // Reporting it (rather than a short read) keeps a cut-off skin from
      // passing as a complete one.
      if (got == 0) RaiseDamaged();
      zlib.next_in = FState->Buffer;
      zlib.avail_in = uInt(got);
    }
    std::size_t left = count - done;
    uInt slice = left > std::numeric_limits<uInt>::max() ? std::numeric_limits<uInt>::max() : uInt(left);
    zlib.next_out = out + done;
    zlib.avail_out = slice;
    int result = inflate(&zlib, Z_NO_FLUSH);
    done += slice - zlib.avail_out;
    if (result == Z_STREAM_END) {
      FState->AtEnd = true;
      // Give back what was read beyond the zlib stream, so that the source
      // stands right after it.
      FSourcePosition -= std::int64_t(zlib.avail_in);
      zlib.avail_in = 0;
      FSource.SetPosition(FSourcePosition);
      break;
    }
    // Z_BUF_ERROR only means no progress was possible with this input; the
    // loop then fetches more (avail_in is 0) or has filled the buffer.
    if (result != Z_OK && !(result == Z_BUF_ERROR && (zlib.avail_in == 0 || zlib.avail_out == 0)))
      RaiseDamaged();
  }
  zlib.next_out = nullptr;
  zlib.avail_out = 0;
  return done;
}

std::size_t TDecompressionStream::Write(const void*, std::size_t) { RaiseInvalid(); }

void TDecompressionStream::Reset() {
  if (inflateReset(&FState->Zlib) != Z_OK) RaiseDamaged();
  FState->Zlib.next_in = nullptr;
  FState->Zlib.avail_in = 0;
  FState->AtEnd = false;
  FSourcePosition = FSourceStart;
  FSource.SetPosition(FSourceStart);
}

std::int64_t TDecompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t position = TotalOut();
  std::int64_t skip;
  if (origin == soFromBeginning && offset == 0) {
    Reset();
    return 0;
  } else if (origin == soFromCurrent && offset >= 0) {
    skip = offset;
  } else if (origin == soFromBeginning && offset >= position) {
    skip = offset - position;
  } else {
    RaiseInvalid();
  }
  unsigned char discard[BufferSize];
  while (skip > 0) {
    std::size_t block = skip > std::int64_t(BufferSize) ? BufferSize : std::size_t(skip);
    ReadBuffer(discard, block);
    skip -= std::int64_t(block);
  }
  return TotalOut();
}

bool TDecompressionStream::AtEnd() const { return FState->AtEnd; }

std::int64_t TDecompressionStream::TotalOut() const { return std::int64_t(FState->Zlib.total_out); }

}  // namespace core
