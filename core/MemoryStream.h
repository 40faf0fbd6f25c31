#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/Stream.h"

namespace core {

// Bytes in memory that grow as they are written.
class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<std::uint8_t> bytes) : FBytes(std::move(bytes)) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(FBytes.size()); }
  // New bytes are zero; the position stays, even past a shorter end.
  void SetSize(std::int64_t size) override;

  std::uint8_t* Memory() { return FBytes.data(); }
  const std::uint8_t* Memory() const { return FBytes.data(); }
  std::span<const std::uint8_t> Bytes() const { return FBytes; }
  // Hands the bytes over and leaves the stream empty.
  std::vector<std::uint8_t> TakeBytes();
  void Clear();

  // Replaces the contents by the whole of stream (from its beginning).
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
  // Raise EFOpenError / EFCreateError as TFileStream does.
  void LoadFromFile(const std::string& fileName);
  void SaveToFile(const std::string& fileName) const;

 private:
  std::vector<std::uint8_t> FBytes;
  std::int64_t FPosition = 0;
};

}  // namespace core
