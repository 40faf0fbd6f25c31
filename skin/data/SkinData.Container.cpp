#include "skin/data/SkinData.Container.h"

#include <cstring>
#include <cstdlib>

#include "core/Exception.h"
#include "gfx/BmpCodec.h"
#include "gfx/Error.h"

namespace skin {

namespace {

constexpr FramePicture Version0Entries[] = {FramePicture::Picture, FramePicture::Mask};
constexpr FramePicture Version1Entries[] = {FramePicture::Picture, FramePicture::Mask,
                                            FramePicture::RollUpPicture, FramePicture::RollUpMask};
constexpr FramePicture Version2Entries[] = {FramePicture::Picture, FramePicture::InactivePicture,
                                            FramePicture::Mask, FramePicture::RollUpPicture,
                                            FramePicture::RollUpMask};
constexpr FramePicture Version3Entries[] = {FramePicture::Picture, FramePicture::InactivePicture,
                                            FramePicture::Mask};

// Smallest BMP file: the 14-byte file header and the 12-byte core header.
constexpr std::size_t BmpFileHeaderBytes = 14;
constexpr std::size_t MinBmpBytes = BmpFileHeaderBytes + 12;
constexpr std::size_t CompressedFileHeaderBytes = 8;

std::uint32_t LoadUint32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

void CheckBlockLength(std::int32_t length, std::size_t available) {
  if (length < 0 || std::size_t(length) > available) {
    throw core::EReadError("compressed skin file is shorter than its block length " +
                           std::to_string(length));
  }
  if (std::size_t(length) > MaxCompressedBlockBytes) {
    throw core::EReadError("compressed skin block of " + std::to_string(length) + " bytes is too large");
  }
}

std::uint16_t LoadUint16(const std::uint8_t* p) { return std::uint16_t(p[0] | p[1] << 8); }

void AppendInt32(std::vector<std::uint8_t>& out, std::int32_t value) {
  const auto bits = std::uint32_t(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(std::uint8_t(bits >> shift));
}

std::string EntryName(FramePicture picture) {
  return "the \"" + std::string(FramePictureKey(picture)) + "\" entry";
}

// Walks a container front to back; every read says what it reads so that
// a failure names the item.
class ContainerReader {
 public:
  ContainerReader(std::span<const std::uint8_t> data, DecodePictures decode, KeepPictureBytes keep)
      : FData(data), FDecode(decode), FKeep(keep) {}

  std::size_t Position() const { return FPosition; }
  std::size_t Remaining() const { return FData.size() - FPosition; }

  std::int32_t ReadInt32(const std::string& what) {
    Require(4, what);
    const auto value = std::int32_t(LoadUint32(FData.data() + FPosition));
    FPosition += 4;
    return value;
  }

  std::uint8_t ReadByte(const std::string& what) {
    Require(1, what);
    return FData[FPosition++];
  }

  // One BMP file; its length is the total size of its file header.
  void ReadPicture(SkinContainerPicture& picture, const std::string& what) {
    Require(MinBmpBytes, what);
    const std::uint8_t* start = FData.data() + FPosition;
    if (start[0] != 'B' || start[1] != 'M') Fail(what + " is not a BMP file");
    const std::uint32_t fileBytes = LoadUint32(start + 2);
    if (fileBytes < MinBmpBytes) Fail(what + ": BMP total size " + std::to_string(fileBytes) + " is too small");
    if (fileBytes > Remaining()) {
      Fail(what + ": BMP total size " + std::to_string(fileBytes) + " runs past the end of the skin container");
    }
    CountPixels(start, what);
    const std::span<const std::uint8_t> bytes(start, fileBytes);
    if (FDecode == DecodePictures::Yes) {
      try {
        picture.Bitmap = gfx::ReadBmp(bytes).Picture;
      } catch (const gfx::Error& error) {
        Fail(what + ": " + error.what());
      }
    }
    if (FKeep == KeepPictureBytes::Yes) picture.Bmp.assign(bytes.begin(), bytes.end());
    FPosition += fileBytes;
  }

  [[noreturn]] static void Fail(const std::string& message) { throw core::EReadError(message); }

 private:
  void Require(std::size_t bytes, const std::string& what) {
    if (Remaining() < bytes) Fail("skin container ends inside " + what);
  }

  // Adds the picture's declared size to the container's pixel budget before
  // anything is decoded, so that many pictures that each pass the BMP
  // reader's checks still cannot add up to an unreasonable amount of memory.
  void CountPixels(const std::uint8_t* start, const std::string& what) {
    const std::uint8_t* info = start + BmpFileHeaderBytes;
    const std::uint32_t infoBytes = LoadUint32(info);
    std::uint64_t width = 0;
    std::uint64_t height = 0;
    if (infoBytes == 12) {
      width = LoadUint16(info + 4);
      height = LoadUint16(info + 6);
    } else if (infoBytes >= 16) {
      width = std::uint64_t(std::llabs(std::int32_t(LoadUint32(info + 4))));
      height = std::uint64_t(std::llabs(std::int32_t(LoadUint32(info + 8))));
    }
    // Anything else the BMP reader refuses on its own.
    FPixels += width * height;
    if (FPixels > MaxContainerPixels) {
      Fail(what + ": the skin's pictures exceed " + std::to_string(MaxContainerPixels) + " pixels");
    }
  }

  std::span<const std::uint8_t> FData;
  DecodePictures FDecode;
  KeepPictureBytes FKeep;
  std::size_t FPosition = 0;
  std::uint64_t FPixels = 0;
};

}  // namespace

std::string_view FramePictureKey(FramePicture picture) {
  switch (picture) {
    case FramePicture::Picture: return "picture";
    case FramePicture::InactivePicture: return "inactivepicture";
    case FramePicture::Mask: return "mask";
    case FramePicture::RollUpPicture: return "rolluppicture";
    case FramePicture::RollUpMask: return "rollupmask";
  }
  return {};
}

std::span<const FramePicture> FramePicturesOf(std::int32_t version) {
  switch (version) {
    case 1: return Version1Entries;
    case 2: return Version2Entries;
    case 3: return Version3Entries;
    default: break;
  }
  if (version > MaxContainerVersion) return {};
  return Version0Entries;
}

SkinContainer ReadSkinContainer(std::span<const std::uint8_t> data, DecodePictures decode,
                                KeepPictureBytes keep) {
  if (data.size() > MaxContainerBytes) {
    ContainerReader::Fail("skin container larger than " + std::to_string(MaxContainerBytes) + " bytes");
  }
  SkinContainer container;
  container.TotalBytes = data.size();
  ContainerReader reader(data, decode, keep);
  container.Version = reader.ReadInt32("the version");
  if (!container.IsSupported()) return container;

  for (FramePicture picture : FramePicturesOf(container.Version)) {
    const std::string what = EntryName(picture);
    const std::uint8_t flag = reader.ReadByte(what);
    if (flag != 0) {
      container.AbsentFlags[std::size_t(picture)] = flag;
      continue;
    }
    reader.ReadPicture(container.FrameEntry(picture), what);
  }

  // A negative count holds no picture. The list grows with what the data
  // really holds rather than with the count it claims.
  const std::int32_t count = reader.ReadInt32("the active picture count");
  for (std::int32_t i = 0; i < count; ++i) {
    reader.ReadPicture(container.Active.emplace_back(), "active picture " + std::to_string(i));
  }

  container.DescriptionOffset = reader.Position();
  container.Description.assign(reinterpret_cast<const char*>(data.data()) + reader.Position(),
                               reader.Remaining());
  return container;
}

std::vector<std::uint8_t> WriteSkinContainer(const SkinContainer& container) {
  std::vector<std::uint8_t> out;
  std::size_t bytes = 4 + FramePictureCount + 4 + container.Description.size();
  for (const auto& picture : container.Frame) bytes += picture.Bmp.size();
  for (const auto& picture : container.Active) bytes += picture.Bmp.size();
  out.reserve(bytes);

  AppendInt32(out, container.Version);
  for (FramePicture picture : FramePicturesOf(container.Version)) {
    const auto& entry = container.FrameEntry(picture);
    if (entry.IsEmpty()) {
      // A zero flag would announce a picture that is not there.
      const std::uint8_t flag = container.AbsentFlags[std::size_t(picture)];
      out.push_back(flag != 0 ? flag : 1);
      continue;
    }
    out.push_back(0);
    out.insert(out.end(), entry.Bmp.begin(), entry.Bmp.end());
  }
  if (!container.IsSupported()) return out;

  AppendInt32(out, std::int32_t(container.Active.size()));
  for (std::size_t i = 0; i < container.Active.size(); ++i) {
    const auto& picture = container.Active[i];
    if (picture.IsEmpty()) {
      throw core::EWriteError("active picture " + std::to_string(i) + " has no BMP data");
    }
    out.insert(out.end(), picture.Bmp.begin(), picture.Bmp.end());
  }
  out.insert(out.end(), container.Description.begin(), container.Description.end());
  return out;
}

CompressedSkinFile ParseCompressedSkinFile(std::span<const std::uint8_t> bytes) {
  CompressedSkinFile file;
  if (bytes.size() < 4) throw core::EReadError("compressed skin file ends inside its version");
  file.Version = std::int32_t(LoadUint32(bytes.data()));
  if (file.Version > MaxContainerVersion) return file;
  if (bytes.size() < CompressedFileHeaderBytes) {
    throw core::EReadError("compressed skin file ends inside its block length");
  }
  const std::int32_t length = std::int32_t(LoadUint32(bytes.data() + 4));
  CheckBlockLength(length, bytes.size() - CompressedFileHeaderBytes);
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

}  // namespace skin
