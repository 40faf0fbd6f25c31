#include "core/ReadOnlyMemoryStream.h"

#include <cstring>

namespace core {

std::size_t TReadOnlyMemoryStream::Read(void* buffer, std::size_t count) {
  std::int64_t size = Size();
  if (FPosition >= size || count == 0) return 0;
  std::size_t available = std::size_t(size - FPosition);
  if (count > available) count = available;
  std::memcpy(buffer, FBytes.data() + FPosition, count);
  FPosition += std::int64_t(count);
  return count;
}

std::size_t TReadOnlyMemoryStream::Write(const void*, std::size_t) { return 0; }

std::int64_t TReadOnlyMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  FPosition = SeekTarget(FPosition, Size(), offset, origin);
  return FPosition;
}

}  // namespace core
