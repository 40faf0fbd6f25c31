#pragma once

// One fuzz input through everything that reads a skin: the compressed skin
// file, inflation, the container, the BMP reader, the description and the
// skin data component's whole load. Shared by the fuzz target and by the
// test that replays the inputs the fuzzer once found.
//
// The first byte chooses the form of the rest:
//   0  a bare zlib block, as a layout stores it
//   1  a compressed skin file (version, length, block)
//   2  an uncompressed container
//
// Errors the library reports are the expected outcome; anything else (a
// crash, a sanitizer report, a hang, an unbounded allocation, a container
// that the writer does not reproduce) is a finding.

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <span>
#include <vector>

#include "core/Component.h"
#include "core/Compression.h"
#include "skin/data/SkinData.h"

namespace skinfuzz {

inline void LoadBlock(std::span<const std::uint8_t> block) {
  auto stored = core::CreateUnowned<skin::TskCompressedStoredSkin>();
  auto data = core::CreateUnowned<skin::TskSkinData>();
  stored->SetCompressedData(block);
  try {
    data->SetCompressedStoredSkin(stored.get());
  } catch (const std::exception&) {
    // A load that fails leaves nothing behind.
    if (!data->Empty() || !data->SkinControls().empty() || !data->ActivePictures().empty()) std::abort();
    return;
  }
  // Every lookup of a loaded skin answers within its lists.
  for (const auto& control : data->SkinControls()) {
    const int index = data->FindControlIndex(control->SectionName);
    if (index < 0 || std::size_t(index) >= data->SkinControls().size()) std::abort();
  }
}

// The writer must reproduce what the reader read, once the reader has
// normalised it (a negative picture count becomes 0).
inline void CheckWriterAgainstReader(std::span<const std::uint8_t> container) {
  skin::SkinContainer first;
  try {
    first = skin::ReadSkinContainer(container, skin::DecodePictures::No);
  } catch (const std::exception&) {
    return;
  }
  const std::vector<std::uint8_t> written = skin::WriteSkinContainer(first);
  const skin::SkinContainer second = skin::ReadSkinContainer(written, skin::DecodePictures::No);
  if (skin::WriteSkinContainer(second) != written) std::abort();
}

inline void FeedSkinInput(std::span<const std::uint8_t> input) {
  if (input.empty()) return;
  const std::uint8_t form = input[0] % 3;
  const std::span<const std::uint8_t> rest = input.subspan(1);
  try {
    switch (form) {
      case 0:
        LoadBlock(rest);
        break;
      case 1: {
        const skin::CompressedSkinFile file = skin::ParseCompressedSkinFile(rest);
        LoadBlock(file.Block);
        break;
      }
      case 2:
        CheckWriterAgainstReader(rest);
        // Stored without compression: the inflater is exercised only
        // lightly and the container reader sees exactly these bytes.
        LoadBlock(core::ZCompressBytes(rest, core::clNone));
        break;
    }
  } catch (const std::exception&) {
  }
}

}  // namespace skinfuzz
