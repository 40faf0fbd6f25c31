#pragma once

#include <string>

#include "core/Stream.h"

namespace core {

// Bytes kept in a std::string: handy for texts written through streams.
class TStringStream : public TStream {
 public:
  TStringStream() = default;
  explicit TStringStream(std::string text) : FText(std::move(text)) {}

  std::size_t Read(void* buffer, std::size_t count) override;
  std::size_t Write(const void* buffer, std::size_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(FText.size()); }
  void SetSize(std::int64_t size) override;

  const std::string& DataString() const { return FText; }

 private:
  std::string FText;
  std::int64_t FPosition = 0;
};

}  // namespace core
