#pragma once

// The skin data unit: the stored skin component that carries a compressed
// skin inside a layout, the skin data component that holds one loaded skin
// and tells the forms when it changes, and the replaceable texts.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Component.h"
#include "core/MemoryStream.h"
#include "core/StringList.h"
#include "gfx/Bitmap.h"
#include "gfx/Geometry.h"
#include "skin/data/SkinBroadcast.h"
#include "skin/data/SkinData.Container.h"

namespace skin {

// ---------------------------------------------------------------------------
// The compressed skin file: the container version, the length of the zlib
// block and the block.

struct CompressedSkinFile {
  std::int32_t Version = WrittenContainerVersion;
  std::vector<std::uint8_t> Block;
};

// Splits a compressed skin file. A version above MaxContainerVersion comes
// back with an empty block and nothing else read. Raises core::EReadError
// when the data is shorter than its header or its block length says.
CompressedSkinFile ParseCompressedSkinFile(std::span<const std::uint8_t> bytes);
std::vector<std::uint8_t> MakeCompressedSkinFile(const CompressedSkinFile& file);

// ---------------------------------------------------------------------------

// A skin stored in a layout: one zlib block holding a skin container.
class TskCompressedStoredSkin : public core::TComponent {
 public:
  explicit TskCompressedStoredSkin(core::TComponent* owner);
  ~TskCompressedStoredSkin() override;

  // True when the block holds no bytes.
  bool IsEmpty() const;

  // Inflates the whole block, from its start, onto the end of target.
  // Raises core::EDecompressionError "compression error" for a damaged
  // block and core::EReadError when it inflates to more than
  // MaxContainerBytes.
  void DecompressToStream(core::TMemoryStream& target);

  // Builds a version 2 container from a skin description and the BMP files
  // named in its [PICTURES], looked up in the description's folder, and
  // stores it compressed at the maximum level. A description that lacks
  // one of [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS] and
  // [SKINCONTROLS] leaves the block as it is. A missing or damaged picture
  // file raises an error naming it, and the block stays as it was.
  void BuildFromSkinFile(const std::string& path);

  // Replaces the block by the one of a compressed skin file; a file whose
  // version is above 3 leaves the block empty.
  void ReadCompressedFile(const std::string& path);
  // Writes the block as a compressed skin file of version 2.
  void WriteCompressedFile(const std::string& path) const;

  // Published texts. At design time (and not while loading) setting
  // FileName or CompressedFileName keeps only the file-name part and builds
  // or reads the block from the full path; otherwise they are only stored.
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& value);
  const std::string& CompressedFileName() const { return FCompressedFileName; }
  void SetCompressedFileName(const std::string& value);
  const std::string& Description() const { return FDescription; }
  void SetDescription(const std::string& value) { FDescription = value; }

  // The binary layout property "CompressedData": the block byte for byte, a
  // complete zlib stream. It is always stored, even when empty.
  std::span<const std::uint8_t> CompressedData() const { return FCompressedStream.Bytes(); }
  void SetCompressedData(std::span<const std::uint8_t> bytes);
  // The same through streams, for a layout reader and writer that stream
  // binary properties: reading replaces the block by the rest of source.
  void ReadCompressedData(core::TStream& source);
  void WriteCompressedData(core::TStream& target) const;

  core::TMemoryStream& CompressedStream() { return FCompressedStream; }

 private:
  bool DesigningNotLoading() const;

  std::string FFileName;
  std::string FCompressedFileName;
  std::string FDescription;
  core::TMemoryStream FCompressedStream;
};

}  // namespace skin

namespace skin {

// Replaceable texts of the skinned windows: "NAME=text" lines. Menus,
// hints and edit menus look their texts up here when a skin data component
// refers to one, and use their own built-in texts otherwise.
class TskResourceStrData : public core::TComponent {
 public:
  // The 115 default lines, in their order.
  static const std::vector<std::string>& DefaultResStrings();

  explicit TskResourceStrData(core::TComponent* owner);

  const core::TStringList& ResStrings() const { return FResStrings; }
  core::TStringList& ResStrings() { return FResStrings; }
  // Replaces the lines by a copy of lines.
  void SetResStrings(const core::TStrings& lines) { FResStrings.Assign(lines); }

  // Character set of the fonts the texts are drawn with; 1, the default
  // character set, at creation.
  int CharSet() const { return FCharSet; }
  void SetCharSet(int charSet) { FCharSet = charSet; }

  // Everything after the first "=" of the first line whose name equals name
  // (letter case ignored); the empty text when there is none.
  std::string GetResStr(std::string_view name) const;

 private:
  core::TStringList FResStrings;
  int FCharSet = 1;
};

}  // namespace skin
