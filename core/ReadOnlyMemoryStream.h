#pragma once

#include <cstdint>
#include <span>

#include "core/Stream.h"

namespace core {

// A stream over bytes owned elsewhere (a resource, a block inside a bigger
// buffer): reading and seeking only; Write writes nothing, so WriteBuffer
// raises EWriteError. The bytes must outlive the stream.
class TReadOnlyMemoryStream : public TStream {
 public:
  explicit TReadOnlyMemoryStream(std::span<const std::uint8_t> bytes) : FBytes(bytes) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(FBytes.size()); }

  std::span<const std::uint8_t> Bytes() const { return FBytes; }

 private:
  std::span<const std::uint8_t> FBytes;
  std::int64_t FPosition = 0;
};

}  // namespace core
