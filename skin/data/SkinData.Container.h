#pragma once

// The uncompressed skin container: a version, the window frame's pictures
// each behind a flag byte, the active pictures back to back, and the skin
// description (GBK text, CR LF) running to the end.
//
//   int32 version          0..3 (a negative value reads like 0)
//   frame entries          flag byte, then a BMP file when the flag is 0;
//                          which entries a version holds: FramePicturesOf
//   int32 N                active picture count
//   N BMP files            no flag bytes; each ends where its file header's
//                          total size says
//   description            everything that remains
//
// All integers are little-endian. The reader trusts nothing: every length is
// checked against the data before anything is allocated for it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "gfx/Bitmap.h"

namespace skin {

// The five pictures of the window frame, in the order a container stores
// them.
enum class FramePicture { Picture, InactivePicture, Mask, RollUpPicture, RollUpMask };
inline constexpr std::size_t FramePictureCount = 5;

// The [PICTURES] key that names the file of a frame picture ("picture",
// "inactivepicture", "mask", "rolluppicture", "rollupmask").
std::string_view FramePictureKey(FramePicture picture);

// The frame entries a container of this version holds, in stored order.
// Versions below 0 hold what version 0 holds; versions above 3 are not read
// and hold nothing.
std::span<const FramePicture> FramePicturesOf(std::int32_t version);

// The newest version a reader understands, and the one writers write.
inline constexpr std::int32_t MaxContainerVersion = 3;
inline constexpr std::int32_t WrittenContainerVersion = 2;

// Limits that keep a damaged or hostile skin from taking the machine's
// memory. A real skin is a few hundred kilobytes.
inline constexpr std::size_t MaxContainerBytes = std::size_t(64) << 20;
inline constexpr std::uint64_t MaxContainerPixels = std::uint64_t(64) << 20;
// A zlib block never needs much more room than what it inflates to.
inline constexpr std::size_t MaxCompressedBlockBytes = MaxContainerBytes + (std::size_t(1) << 20);

// One picture of a container: its BMP file bytes as stored, and (after
// reading with DecodePictures::Yes) the decoded picture.
struct SkinContainerPicture {
  std::vector<std::uint8_t> Bmp;
  gfx::Bitmap Bitmap;

  bool IsEmpty() const { return Bmp.empty() && Bitmap.IsEmpty(); }
};

struct SkinContainer {
  std::int32_t Version = WrittenContainerVersion;
  // Indexed by FramePicture. An entry the version does not hold stays empty.
  std::array<SkinContainerPicture, FramePictureCount> Frame;
  // The flag byte of each frame entry when its picture is absent: as read,
  // and as written (writers use 1; readers accept any non-zero value).
  std::array<std::uint8_t, FramePictureCount> AbsentFlags{1, 1, 1, 1, 1};
  std::vector<SkinContainerPicture> Active;
  // The description bytes exactly as stored (GBK, CR LF).
  std::string Description;

  // Filled by the reader: the container's size and where the description
  // begins in it.
  std::size_t TotalBytes = 0;
  std::size_t DescriptionOffset = 0;

  bool IsSupported() const { return Version <= MaxContainerVersion; }
  SkinContainerPicture& FrameEntry(FramePicture picture) { return Frame[std::size_t(picture)]; }
  const SkinContainerPicture& FrameEntry(FramePicture picture) const {
    return Frame[std::size_t(picture)];
  }
};

enum class DecodePictures { No, Yes };
// Writers and unpackers need the BMP bytes; a skin that is being loaded
// needs only the decoded pictures.
enum class KeepPictureBytes { No, Yes };

// Reads a container. A version above MaxContainerVersion stops the reading
// right after it: the result holds only that version (IsSupported() false).
// Throws core::EReadError naming the item (for example "active picture 3:
// ...") when the data ends early, a picture is damaged or a limit is passed.
// With DecodePictures::No the BMP files are only delimited, not decoded.
SkinContainer ReadSkinContainer(std::span<const std::uint8_t> data,
                                DecodePictures decode = DecodePictures::Yes,
                                KeepPictureBytes keep = KeepPictureBytes::Yes);

// Writes a container of container.Version with the frame entries that
// version holds. Pictures are written as their Bmp bytes; the decoded
// bitmaps are not looked at.
std::vector<std::uint8_t> WriteSkinContainer(const SkinContainer& container);

// The compressed skin file: the container version, the length L of the
// zlib block and the block.
//
//   int32 version   3 or less, else the file is ignored
//   int32 L         0 <= L <= MaxCompressedBlockBytes
//   L bytes         a complete zlib stream
struct CompressedSkinFile {
  std::int32_t Version = WrittenContainerVersion;
  std::vector<std::uint8_t> Block;
};

// Splits a compressed skin file. A version above MaxContainerVersion comes
// back with an empty block and nothing else read. Raises core::EReadError
// when the data is shorter than its header or its block length says, or
// the block is larger than MaxCompressedBlockBytes.
CompressedSkinFile ParseCompressedSkinFile(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> MakeCompressedSkinFile(const CompressedSkinFile& file);

}  // namespace skin
