#include "core/Stream.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "core/Exception.h"

namespace core {

std::int64_t TStream::SeekTarget(std::int64_t position, std::int64_t size, std::int64_t offset,
                                 TSeekOrigin origin) {
  std::int64_t base = origin == soFromBeginning ? 0 : origin == soFromCurrent ? position : size;
  if ((offset < 0 && base + offset < 0) ||
      (offset > 0 && base > std::numeric_limits<std::int64_t>::max() - offset))
    throw EStreamError("Stream seek error");
  return base + offset;
}

std::int64_t TStream::Size() {
  std::int64_t position = Seek(0, soFromCurrent);
  std::int64_t size = Seek(0, soFromEnd);
  Seek(position, soFromBeginning);
  return size;
}

void TStream::SetSize(std::int64_t) { throw EStreamError("Invalid stream operation"); }

void TStream::ReadBuffer(void* buffer, std::size_t count) {
  // Read may legitimately return less than asked before the end (a stream
  // that fills in blocks), so keep asking until it has nothing more.
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    std::size_t got = Read(bytes + done, count - done);
    if (got == 0) throw EReadError("Stream read error");
    done += got;
  }
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    std::size_t put = Write(bytes + done, count - done);
    if (put == 0) throw EWriteError("Stream write error");
    done += put;
  }
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  if (count < 0) throw EStreamError("Invalid stream operation");
  constexpr std::size_t BlockSize = 65536;
  std::vector<std::uint8_t> buffer(std::size_t(std::min<std::int64_t>(count, BlockSize)));
  std::int64_t left = count;
  while (left > 0) {
    std::size_t block = std::size_t(std::min<std::int64_t>(left, BlockSize));
    source.ReadBuffer(buffer.data(), block);
    WriteBuffer(buffer.data(), block);
    left -= std::int64_t(block);
  }
  return count;
}

}  // namespace core
