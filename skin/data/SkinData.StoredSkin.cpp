#include <cstring>
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
constexpr std::size_t CompressedFileHeaderBytes = 8;

std::int32_t LoadInt32(const std::uint8_t* p) {
  return std::int32_t(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                      std::uint32_t(p[3]) << 24);
}

void AppendInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
  const auto bits = std::uint32_t(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(bits >> shift));
}

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

CompressedSkinFile ParseCompressedSkinFile(std::span<const std::uint8_t> bytes) {
  CompressedSkinFile file;
  if (bytes.size() < 4) throw core::EReadError("compressed skin file ends inside its version");
  file.Version = LoadInt32(bytes.data());
  if (file.Version > MaxContainerVersion) return file;
  if (bytes.size() < CompressedFileHeaderBytes) {
    throw core::EReadError("compressed skin file ends inside its block length");
  }
  const std::int32_t length = LoadInt32(bytes.data() + 4);
  if (length < 0 || std::size_t(length) > bytes.size() - CompressedFileHeaderBytes) {
    throw core::EReadError("compressed skin file is shorter than its block length " +
                           std::to_string(length));
  }
  file.Block.assign(bytes.begin() + CompressedFileHeaderBytes,
                    bytes.begin() + CompressedFileHeaderBytes + length);
  return file;
}

std::vector<std::uint8_t> MakeCompressedSkinFile(const CompressedSkinFile& file) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(CompressedFileHeaderBytes + file.Block.size());
  AppendInt32(bytes, file.Version);
  AppendInt32(bytes, std::int32_t(file.Block.size()));
  bytes.insert(bytes.end(), file.Block.begin(), file.Block.end());
  return bytes;
}

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
  core::TMemoryStream file;
  file.LoadFromFile(path);
  const std::string_view text(reinterpret_cast<const char*>(file.Memory()), std::size_t(file.Size()));
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
  core::TFileStream file(path, core::fmOpenRead);
  std::uint8_t header[CompressedFileHeaderBytes];
  file.ReadBuffer(header, 4);
  if (LoadInt32(header) > MaxContainerVersion) return;
  file.ReadBuffer(header + 4, 4);
  const std::int32_t length = LoadInt32(header + 4);
  const std::int64_t available = file.Size() - file.Position();
  if (length < 0 || length > available) {
    throw core::EReadError("compressed skin file is shorter than its block length " +
                           std::to_string(length));
  }
  std::vector<std::uint8_t> block(static_cast<std::size_t>(length));
  file.ReadBuffer(block.data(), block.size());
  SetCompressedData(block);
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
