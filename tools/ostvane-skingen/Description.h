#pragma once

// The stored skin's description: every section as a table of keys in the
// order a reader reads them, written as GBK text with CR LF line ends.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "gfx/Color.h"
#include "gfx/Geometry.h"

namespace skingen {

// One section: its name and its keys, in writing order.
class Section {
 public:
  explicit Section(std::string name) : FName(std::move(name)) {}

  const std::string& Name() const { return FName; }
  const std::vector<std::pair<std::string, std::string>>& Keys() const { return FKeys; }

  Section& Text(std::string_view key, std::string_view value);
  Section& Int(std::string_view key, int value);
  Section& Bool(std::string_view key, bool value) { return Int(key, value ? 1 : 0); }
  // A colour as the skins write it: 0x00BBGGRR in decimal.
  Section& Color(std::string_view key, gfx::Color value);
  Section& Rect(std::string_view key, const gfx::Rect& value);
  Section& Point(std::string_view key, const gfx::Point& value);

 private:
  std::string FName;
  std::vector<std::pair<std::string, std::string>> FKeys;
};

// The whole description: sections in the order they are added.
class Description {
 public:
  Section& Add(std::string name);
  const std::vector<Section>& Sections() const { return FSections; }
  // UTF-8 text, lines ended by CR LF, an empty line between sections.
  std::string Utf8Text() const;

 private:
  std::vector<Section> FSections;
};

// The description of the stored skin.
Description BuildStoredSkinDescription();

// Its file bytes: GBK, CR LF.
std::string StoredSkinDescriptionBytes();

}  // namespace skingen
