// libFuzzer target: arbitrary bytes as a stored skin (see SkinFuzzInput.h).

#include <cstddef>
#include <cstdint>

#include "fuzz/SkinFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  skinfuzz::FeedSkinInput(std::span<const std::uint8_t>(data, size));
  return 0;
}
