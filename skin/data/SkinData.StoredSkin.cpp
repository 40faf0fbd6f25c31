#include <filesystem>

#include "core/Compression.h"
#include "core/Exception.h"
#include "core/Encoding.h"
#include "core/FileStream.h"
#include "core/MemIniFile.h"
#include "core/PathUtils.h"
#include "core/ReadOnlyMemoryStream.h"
#include "core/StringUtils.h"
#include "gfx/BmpCodec.h"
#include "gfx/Error.h"
#include "skin/data/SkinData.h"

namespace skin {

namespace {

constexpr std::size_t InflateChunk = 4096;

// The file a [PICTURES] value names, in the description's folder. Skins
// come from a platform whose file names ignore letter case, so a name that
// does not match exactly is looked for without regard to case.
std::string PictureFilePath(const std::string& folder, std::string name) {
  for (char& c : name) {
    if (c == '\\') c = '/';
  }
  std::string path = folder + name;
  if (core::FileExists(path)) return path;
  const std::string wantedName = core::ExtractFileName(name);
  const std::string wantedFolder = folder + core::ExtractFilePath(name);
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(
           wantedFolder.empty() ? "." : wantedFolder, error)) {
    const std::string candidate = entry.path().filename().string();
    if (core::SameText(candidate, wantedName)) return wantedFolder + candidate;
  }
  return path;
}

// A BMP file as it goes into a container: checked by decoding it, and cut
// to the total size its header gives, because the container's reader finds
// the next picture there.
std::vector<std::uint8_t> LoadPictureFile(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  try {
    bytes = gfx::ReadFileBytes(path, MaxContainerBytes);
  } catch (const gfx::Error& error) {
    throw core::EFOpenError(error.what());
  }
  try {
    const gfx::BmpReadResult result = gfx::ReadBmp(bytes);
    bytes.resize(result.BytesUsed);
  } catch (const gfx::Error& error) {
    throw core::EReadError(path + ": " + error.what());
  }
  return bytes;
}

}  // namespace

void InflateSkinBlock(std::span<const std::uint8_t> block, core::TMemoryStream& target) {
  core::TReadOnlyMemoryStream source(block);
  core::TDecompressionStream inflater(source);
  std::uint8_t buffer[InflateChunk];
  std::size_t total = 0;
  for (;;) {
    const std::size_t count = inflater.Read(buffer, sizeof buffer);
    if (count == 0) break;
    total += count;
    // A few bytes of a hostile block can inflate to gigabytes.
    if (total > MaxContainerBytes) {
      throw core::EReadError("skin container larger than " + std::to_string(MaxContainerBytes) +
                             " bytes");
    }
    target.WriteBuffer(buffer, count);
  }
}

TskCompressedStoredSkin::TskCompressedStoredSkin(core::TComponent* owner) : core::TComponent(owner) {}

TskCompressedStoredSkin::~TskCompressedStoredSkin() = default;

bool TskCompressedStoredSkin::IsEmpty() const { return FCompressedStream.Bytes().empty(); }

void TskCompressedStoredSkin::DecompressToStream(core::TMemoryStream& target) {
  InflateSkinBlock(CompressedData(), target);
}

void TskCompressedStoredSkin::BuildFromSkinFile(const std::string& path) {
  std::string text;
  {
    core::TFileStream file(path, core::fmOpenRead);
    const std::int64_t size = file.Size();
    if (size < 0 || std::uint64_t(size) > MaxContainerBytes) {
      throw core::EReadError(path + ": a skin description of " + std::to_string(size) + " bytes is not plausible");
    }
    text.resize(std::size_t(size));
    file.ReadBuffer(text.data(), text.size());
  }
  const core::TMemIniFile ini(core::GbkToUtf8(text));
  static constexpr std::string_view RequiredSections[] = {"VERSION", "PICTURES", "FORMINFO",
                                                          "SKINOBJECTS", "SKINCONTROLS"};
  for (std::string_view section : RequiredSections) {
    if (!ini.SectionExists(section)) return;
  }

  const std::string folder = core::ExtractFilePath(path);
  const auto loadNamed = [&](const std::string& key) {
    const std::string name = ini.ReadString("PICTURES", key, "");
    if (name.empty()) {
      throw core::EFOpenError("[PICTURES] " + key + " names no picture file");
    }
    return LoadPictureFile(PictureFilePath(folder, name));
  };

  SkinContainer container;
  container.Version = WrittenContainerVersion;
  for (FramePicture picture : FramePicturesOf(container.Version)) {
    const std::string key(FramePictureKey(picture));
    if (ini.ReadString("PICTURES", key, "").empty()) continue;
    container.FrameEntry(picture).Bmp = loadNamed(key);
  }
  const int count = ini.ReadInteger("PICTURES", "activepicturescount", 0);
  for (int i = 0; i < count; ++i) {
    container.Active.emplace_back().Bmp = loadNamed(std::to_string(i));
  }

  // The description goes in as its own bytes, line by line with CR LF.
  core::TStringList lines;
  lines.SetText(text);
  container.Description = lines.Text();

  const std::vector<std::uint8_t> bytes = WriteSkinContainer(container);
  SetCompressedData(core::ZCompressBytes(bytes, core::clMax));
}

void TskCompressedStoredSkin::ReadCompressedFile(const std::string& path) {
  FCompressedStream.Clear();
  std::vector<std::uint8_t> bytes;
  {
    core::TFileStream file(path, core::fmOpenRead);
    const std::int64_t size = file.Size();
    if (size < 0 || std::uint64_t(size) > MaxCompressedBlockBytes + 8) {
      throw core::EReadError(path + ": a compressed skin file of " + std::to_string(size) +
                             " bytes is not plausible");
    }
    bytes.resize(std::size_t(size));
    file.ReadBuffer(bytes.data(), bytes.size());
  }
  SetCompressedData(ParseCompressedSkinFile(bytes).Block);
}

void TskCompressedStoredSkin::WriteCompressedFile(const std::string& path) const {
  CompressedSkinFile file;
  const auto block = CompressedData();
  file.Block.assign(block.begin(), block.end());
  const std::vector<std::uint8_t> bytes = MakeCompressedSkinFile(file);
  core::TFileStream stream(path, core::fmCreate);
  stream.WriteBuffer(bytes.data(), bytes.size());
}

bool TskCompressedStoredSkin::DesigningNotLoading() const {
  const core::TComponentState state = ComponentState();
  return state.Contains(core::csDesigning) && !state.Contains(core::csLoading);
}

void TskCompressedStoredSkin::SetFileName(const std::string& value) {
  if (!DesigningNotLoading()) {
    FFileName = value;
    return;
  }
  FFileName = core::ExtractFileName(value);
  BuildFromSkinFile(value);
}

void TskCompressedStoredSkin::SetCompressedFileName(const std::string& value) {
  if (!DesigningNotLoading()) {
    FCompressedFileName = value;
    return;
  }
  FCompressedFileName = core::ExtractFileName(value);
  ReadCompressedFile(value);
}

void TskCompressedStoredSkin::SetCompressedData(std::span<const std::uint8_t> bytes) {
  FCompressedStream.Clear();
  if (!bytes.empty()) FCompressedStream.WriteBuffer(bytes.data(), bytes.size());
  FCompressedStream.SetPosition(0);
}

void TskCompressedStoredSkin::ReadCompressedData(core::TStream& source) {
  const std::int64_t remaining = source.Size() - source.Position();
  std::vector<std::uint8_t> block(remaining > 0 ? std::size_t(remaining) : 0);
  if (!block.empty()) source.ReadBuffer(block.data(), block.size());
  SetCompressedData(block);
}

void TskCompressedStoredSkin::WriteCompressedData(core::TStream& target) const {
  const auto block = CompressedData();
  if (!block.empty()) target.WriteBuffer(block.data(), block.size());
}

}  // namespace skin
