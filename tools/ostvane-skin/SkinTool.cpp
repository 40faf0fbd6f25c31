#include "SkinTool.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <vector>

#include "JsonWriter.h"
#include "SkinClassNames.h"
#include "core/Component.h"
#include "core/Encoding.h"
#include "core/MemIniFile.h"
#include "core/StringList.h"
#include "core/StringUtils.h"
#include "gfx/BmpCodec.h"
#include "gfx/Error.h"
#include "skin/data/SkinData.h"

namespace skintool {

namespace {

// A compressed block is never much larger than the container it inflates
// to; anything bigger is not a skin.
constexpr std::size_t MaxInputBytes = skin::MaxCompressedBlockBytes + 8;

// The skin of IN, loaded by the skin data component exactly as the
// program loads its stored skin.
struct LoadedSkin {
  core::TComponentPtr<skin::TskCompressedStoredSkin> Stored =
      core::CreateUnowned<skin::TskCompressedStoredSkin>();
  core::TComponentPtr<skin::TskSkinData> Data = core::CreateUnowned<skin::TskSkinData>();
};

std::vector<std::uint8_t> ReadBlock(const std::string& path, InputForm form) {
  std::vector<std::uint8_t> bytes = gfx::ReadFileBytes(path, MaxInputBytes);
  if (form == InputForm::RawBlock) return bytes;
  skin::CompressedSkinFile file = skin::ParseCompressedSkinFile(bytes);
  if (file.Version > skin::MaxContainerVersion) {
    throw ToolError("unsupported container version " + std::to_string(file.Version));
  }
  return std::move(file.Block);
}

void Load(LoadedSkin& skin, std::vector<std::uint8_t> block) {
  if (block.empty()) throw ToolError("the compressed block is empty");
  // The skin library bounds what a description may build; a description
  // beyond that fails here with its message, as any damaged skin does.
  skin.Stored->SetCompressedData(block);
  skin.Data->SetCompressedStoredSkin(skin.Stored.get());
  const std::int32_t version = skin.Data->ContainerInfo().Version;
  if (version > skin::MaxContainerVersion) {
    throw ToolError("unsupported container version " + std::to_string(version));
  }
}

// The description as Unpack writes it and as Pack puts it back: every line
// followed by CR LF.
std::string CanonicalLines(const std::string& text) {
  core::TStringList lines;
  lines.SetText(text);
  return lines.Text();
}

// A [PICTURES] value is written as a file of DIR only when it is a plain
// file name: no folders, nothing that could reach outside DIR.
void CheckPictureName(const std::string& name, const std::string& key) {
  if (name.empty()) throw ToolError("[PICTURES] " + key + " gives no file name for its picture");
  const bool plain = name != "." && name != ".." &&
                     name.find_first_of("/\\") == std::string::npos &&
                     std::none_of(name.begin(), name.end(), [](char c) { return std::uint8_t(c) < 0x20; });
  if (!plain) throw ToolError("[PICTURES] " + key + " is not a plain file name: \"" + name + "\"");
  if (core::SameText(name, DescriptionFileName)) {
    throw ToolError("[PICTURES] " + key + " names the description file " + name);
  }
}

std::string PictureText(const gfx::Bitmap& picture) {
  if (picture.IsEmpty()) return "none";
  return std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()) + " at " +
         std::to_string(picture.SourceBits()) + (picture.SourceBits() == 1 ? " bit" : " bits");
}

void PictureJson(JsonWriter& json, const gfx::Bitmap& picture) {
  if (picture.IsEmpty()) {
    json.Null();
    return;
  }
  json.BeginArray();
  json.Integer(picture.Width());
  json.Integer(picture.Height());
  json.Integer(picture.SourceBits());
  json.EndArray();
}

struct SectionRow {
  std::string Name;
  std::string Kind;
  std::string Class;
};

template <class List>
std::vector<SectionRow> SectionRows(const List& list, std::string_view (*className)(std::string_view)) {
  std::vector<SectionRow> rows;
  for (const auto& item : list) {
    const std::string_view kind = item->KindWord();
    rows.push_back({item->SectionName, std::string(kind), std::string(className(kind))});
  }
  return rows;
}

void SectionsJson(JsonWriter& json, const std::vector<SectionRow>& rows) {
  json.BeginArray();
  for (const SectionRow& row : rows) {
    json.BeginObject();
    json.Key("name");
    json.String(row.Name);
    json.Key("kind");
    json.String(row.Kind);
    json.Key("class");
    json.String(row.Class);
    json.EndObject();
  }
  json.EndArray();
}

// Section names come from the skin: control characters would break the
// table, so they are shown as "?".
std::string Printable(std::string text) {
  for (char& c : text) {
    if (std::uint8_t(c) < 0x20 || c == 0x7F) c = '?';
  }
  return text;
}

void SectionsText(std::ostream& out, const std::vector<SectionRow>& rows) {
  for (const SectionRow& row : rows) {
    std::string name = Printable(row.Name);
    if (name.size() < 24) name.resize(24, ' ');
    std::string kind = Printable(row.Kind);
    if (kind.size() < 18) kind.resize(18, ' ');
    out << "  " << name << ' ' << kind << ' ' << row.Class << '\n';
  }
}

}  // namespace

void Pack(const std::string& iniPath, const std::string& outPath) {
  LoadedSkin skin;
  skin.Stored->BuildFromSkinFile(iniPath);
  if (skin.Stored->IsEmpty()) {
    throw ToolError(iniPath +
                    " lacks one of the sections [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS], "
                    "[SKINCONTROLS]");
  }
  // A skin that the program could not load is not written.
  const auto block = skin.Stored->CompressedData();
  Load(skin, std::vector<std::uint8_t>(block.begin(), block.end()));
  skin.Stored->WriteCompressedFile(outPath);
}

void Unpack(const std::string& inPath, InputForm form, const std::string& dir) {
  std::vector<std::uint8_t> block = ReadBlock(inPath, form);
  {
    LoadedSkin skin;
    Load(skin, block);
  }
  core::TMemoryStream inflated;
  skin::InflateSkinBlock(block, inflated);
  const skin::SkinContainer container = skin::ReadSkinContainer(inflated.Bytes(), skin::DecodePictures::No);
  const core::TMemIniFile ini(core::GbkToUtf8(container.Description));

  // Every picture with its file name, checked before anything is written.
  struct Output {
    std::string Name;
    const std::vector<std::uint8_t>* Bytes;
  };
  std::vector<Output> outputs;
  std::map<std::string, const std::vector<std::uint8_t>*> byName;
  auto add = [&](const std::string& key, const std::vector<std::uint8_t>& bytes) {
    const std::string name = ini.ReadString("PICTURES", key, "");
    CheckPictureName(name, key);
    const auto [it, inserted] = byName.emplace(name, &bytes);
    if (!inserted) {
      if (*it->second != bytes) throw ToolError("[PICTURES] names two different pictures " + name);
      return;
    }
    outputs.push_back({name, &bytes});
  };
  for (skin::FramePicture picture : skin::FramePicturesOf(container.Version)) {
    const auto& entry = container.FrameEntry(picture);
    if (!entry.IsEmpty()) add(std::string(skin::FramePictureKey(picture)), entry.Bmp);
  }
  for (std::size_t i = 0; i < container.Active.size(); ++i) add(std::to_string(i), container.Active[i].Bmp);

  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (error) throw ToolError("cannot create folder " + dir + ": " + error.message());
  const std::filesystem::path folder(dir);
  const std::string description = CanonicalLines(container.Description);
  gfx::WriteFileBytes((folder / DescriptionFileName).string(),
                      std::span(reinterpret_cast<const std::uint8_t*>(description.data()), description.size()));
  for (const Output& output : outputs) gfx::WriteFileBytes((folder / output.Name).string(), *output.Bytes);
}

void Info(const std::string& inPath, InputForm form, InfoFormat format, std::ostream& out) {
  LoadedSkin skin;
  Load(skin, ReadBlock(inPath, form));
  const skin::TskSkinData& data = *skin.Data;
  const skin::SkinContainerInfo& info = data.ContainerInfo();
  const auto objects = SectionRows(data.SkinObjects(), &SkinObjectClassName);
  const auto controls = SectionRows(data.SkinControls(), &SkinControlClassName);
  const char* resources = data.Empty() ? "empty" : "loaded";

  if (format == InfoFormat::Json) {
    JsonWriter json;
    json.BeginObject();
    json.Key("container_version");
    json.Integer(info.Version);
    json.Key("uncompressed_bytes");
    json.Integer(std::int64_t(info.UncompressedBytes));
    json.Key("description_offset");
    json.Integer(std::int64_t(info.DescriptionOffset));
    json.Key("description_bytes");
    json.Integer(std::int64_t(info.DescriptionBytes));
    json.Key("skin_name");
    json.String(data.SkinName());
    json.Key("frame_pictures");
    json.BeginObject();
    for (std::size_t i = 0; i < skin::FramePictureCount; ++i) {
      const auto picture = skin::FramePicture(i);
      json.Key(skin::FramePictureKey(picture));
      PictureJson(json, data.FrameBitmap(picture));
    }
    json.EndObject();
    json.Key("active_pictures");
    json.BeginArray();
    for (const gfx::Bitmap& picture : data.ActivePictures()) PictureJson(json, picture);
    json.EndArray();
    json.Key("areas");
    json.Integer(std::int64_t(data.SkinAreas().size()));
    json.Key("objects");
    json.Integer(std::int64_t(objects.size()));
    json.Key("controls");
    json.Integer(std::int64_t(controls.size()));
    json.Key("object_sections");
    SectionsJson(json, objects);
    json.Key("control_sections");
    SectionsJson(json, controls);
    json.Key("resources");
    json.String(resources);
    json.EndObject();
    out << json.Text() << '\n';
    return;
  }

  out << "container version   " << info.Version << '\n'
      << "uncompressed bytes  " << info.UncompressedBytes << '\n'
      << "description         " << info.DescriptionBytes << " bytes from offset " << info.DescriptionOffset << '\n'
      << "skin name           " << Printable(data.SkinName()) << '\n';
  for (std::size_t i = 0; i < skin::FramePictureCount; ++i) {
    const auto picture = skin::FramePicture(i);
    std::string key(skin::FramePictureKey(picture));
    key.resize(20, ' ');
    out << key << PictureText(data.FrameBitmap(picture)) << '\n';
  }
  out << "active pictures     " << data.ActivePictures().size() << '\n';
  for (std::size_t i = 0; i < data.ActivePictures().size(); ++i) {
    out << "  " << i << ": " << PictureText(data.ActivePictures()[i]) << '\n';
  }
  out << "areas               " << data.SkinAreas().size() << '\n'
      << "objects             " << objects.size() << '\n';
  SectionsText(out, objects);
  out << "controls            " << controls.size() << '\n';
  SectionsText(out, controls);
  out << "resources           " << resources << '\n';
}

}  // namespace skintool
