#include "core/MemoryStream.h"

#include <cstring>
#include <limits>

#include "core/Exception.h"
#include "core/FileStream.h"

namespace core {

namespace {

// The largest stream held in memory; a bigger request is a fault, not
// something to try to allocate.
constexpr std::int64_t MaxMemorySize = std::int64_t(1) << 40;

void CheckMemorySize(std::int64_t size) {
  if (size < 0 || size > MaxMemorySize) throw EStreamError("Out of memory while expanding memory stream");
}

}  // namespace

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
  std::int64_t size = Size();
  if (FPosition >= size || count == 0) return 0;
  std::size_t available = std::size_t(size - FPosition);
  if (count > available) count = available;
  std::memcpy(buffer, FBytes.data() + FPosition, count);
  FPosition += std::int64_t(count);
  return count;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
  if (count == 0) return 0;
  if (count > std::size_t(MaxMemorySize)) CheckMemorySize(MaxMemorySize + 1);
  std::int64_t end = FPosition + std::int64_t(count);
  if (end > Size()) {
    CheckMemorySize(end);
    // resize grows the capacity geometrically, so appending stays amortised
    // constant time.
    FBytes.resize(std::size_t(end));
  }
  std::memcpy(FBytes.data() + FPosition, buffer, count);
  FPosition = end;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  FPosition = SeekTarget(FPosition, Size(), offset, origin);
  return FPosition;
}

void TMemoryStream::SetSize(std::int64_t size) {
  CheckMemorySize(size);
  FBytes.resize(std::size_t(size));
}

std::vector<std::uint8_t> TMemoryStream::TakeBytes() {
  std::vector<std::uint8_t> bytes = std::move(FBytes);
  FBytes.clear();
  FPosition = 0;
  return bytes;
}

void TMemoryStream::Clear() {
  FBytes.clear();
  FBytes.shrink_to_fit();
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
  stream.SetPosition(0);
  std::int64_t size = stream.Size();
  CheckMemorySize(size);
  std::vector<std::uint8_t> bytes(std::size_t(size), 0);
  if (size > 0) stream.ReadBuffer(bytes.data(), bytes.size());
  FBytes = std::move(bytes);
  FPosition = 0;
}

void TMemoryStream::SaveToStream(TStream& stream) const {
  if (!FBytes.empty()) stream.WriteBuffer(FBytes.data(), FBytes.size());
}

void TMemoryStream::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead);
  LoadFromStream(stream);
}

void TMemoryStream::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

}  // namespace core
