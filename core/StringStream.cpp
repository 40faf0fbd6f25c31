#include "core/StringStream.h"

#include <cstring>

#include "core/Exception.h"

namespace core {

std::size_t TStringStream::Read(void* buffer, std::size_t count) {
  std::int64_t size = Size();
  if (FPosition >= size || count == 0) return 0;
  std::size_t available = std::size_t(size - FPosition);
  if (count > available) count = available;
  std::memcpy(buffer, FText.data() + FPosition, count);
  FPosition += std::int64_t(count);
  return count;
}

std::size_t TStringStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return 0;
  std::size_t end = std::size_t(FPosition) + count;
  if (end > FText.size()) FText.resize(end, '\0');
  std::memcpy(FText.data() + FPosition, buffer, count);
  FPosition = std::int64_t(end);
  return count;
}

std::int64_t TStringStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  FPosition = SeekTarget(FPosition, Size(), offset, origin);
  return FPosition;
}

void TStringStream::SetSize(std::int64_t size) {
  if (size < 0) throw EStreamError("Invalid stream operation");
  FText.resize(std::size_t(size), '\0');
}

}  // namespace core
