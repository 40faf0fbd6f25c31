#pragma once

// Internal to the section classes: each class lists its keys once, in a
// function template that takes a visitor, and the same list drives both
// LoadFromIni (TSectionKeyReader) and SaveToIni (TSectionKeyWriter). So the
// writing order is the reading order by construction, and a key cannot be
// read under one name and written under another.
//
//   template <class Self, class Visitor>
//   void ButtonKeys(Self& self, Visitor& v) {
//     v.Rect("downrect", self.DownRect);
//     v.Integer("groupindex", self.GroupIndex, -1);
//   }

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/MemIniFile.h"
#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Geometry.h"
#include "skin/data/SkinUtils.Readers.h"

namespace skin::detail {

// Every font of the skin defaults to this family.
inline constexpr std::string_view DefaultFontName = "宋体";
inline constexpr int DefaultFontHeight = 14;

class TSectionKeyReader {
 public:
  TSectionKeyReader(const core::TMemIniFile& ini, std::string_view section)
      : FIni(ini), FSection(section) {}

  void Integer(std::string_view key, int& value, int defaultValue = 0) const {
    value = FIni.ReadInteger(FSection, key, defaultValue);
  }
  void Color(std::string_view key, gfx::Color& value, gfx::Color defaultValue = 0) const {
    value = ReadColor(FIni, FSection, key, defaultValue);
  }
  void Boolean(std::string_view key, bool& value) const { value = ReadBoolean(FIni, FSection, key); }
  void Rect(std::string_view key, gfx::Rect& value) const { value = ReadRect(FIni, FSection, key); }
  void Point(std::string_view key, gfx::Point& value) const { value = ReadPoint(FIni, FSection, key); }
  void Text(std::string_view key, std::string& value, std::string_view defaultValue = {}) const {
    value = FIni.ReadString(FSection, key, defaultValue);
  }
  void FontStyles(std::string_view key, gfx::FontStyle& value) const {
    value = ReadFontStyles(FIni, FSection, key);
  }
  void Alignment(std::string_view key, TAlignment& value) const {
    value = ReadAlignment(FIni, FSection, key);
  }
  void MorphKind(std::string_view key, TskMorphKind& value) const {
    value = ReadMorphKind(FIni, FSection, key);
  }
  void InactiveEffect(std::string_view key, TskInactiveEffect& value) const {
    value = ReadInactiveEffect(FIni, FSection, key);
  }
  void StdCommand(std::string_view key, TskStdCommand& value) const {
    value = ReadStdCommand(FIni, FSection, key);
  }
  void Strings(std::string_view key, std::vector<std::string>& value) const {
    value = ReadStrings(FIni, FSection, key);
  }
  // A keyword read as text with the default word; unknown words map as
  // fromWord says.
  template <class E>
  void Keyword(std::string_view key, E& value, std::string_view defaultWord,
               E (*fromWord)(std::string_view), std::string_view (*)(E)) const {
    value = fromWord(FIni.ReadString(FSection, key, defaultWord));
  }

 private:
  const core::TMemIniFile& FIni;
  std::string_view FSection;
};

class TSectionKeyWriter {
 public:
  TSectionKeyWriter(core::TMemIniFile& ini, std::string_view section) : FIni(ini), FSection(section) {}

  void Integer(std::string_view key, int value, int = 0) const { FIni.WriteInteger(FSection, key, value); }
  void Color(std::string_view key, gfx::Color value, gfx::Color = 0) const {
    WriteColor(FIni, FSection, key, value);
  }
  void Boolean(std::string_view key, bool value) const { WriteBoolean(FIni, FSection, key, value); }
  void Rect(std::string_view key, const gfx::Rect& value) const { WriteRect(FIni, FSection, key, value); }
  void Point(std::string_view key, const gfx::Point& value) const {
    WritePoint(FIni, FSection, key, value);
  }
  void Text(std::string_view key, const std::string& value, std::string_view = {}) const {
    FIni.WriteString(FSection, key, value);
  }
  void FontStyles(std::string_view key, gfx::FontStyle value) const {
    WriteFontStyles(FIni, FSection, key, value);
  }
  void Alignment(std::string_view key, TAlignment value) const {
    WriteAlignment(FIni, FSection, key, value);
  }
  void MorphKind(std::string_view key, TskMorphKind value) const {
    WriteMorphKind(FIni, FSection, key, value);
  }
  void InactiveEffect(std::string_view key, TskInactiveEffect value) const {
    WriteInactiveEffect(FIni, FSection, key, value);
  }
  void StdCommand(std::string_view key, TskStdCommand value) const {
    WriteStdCommand(FIni, FSection, key, value);
  }
  void Strings(std::string_view key, const std::vector<std::string>& value) const {
    WriteStrings(FIni, FSection, key, value);
  }
  template <class E>
  void Keyword(std::string_view key, E value, std::string_view, E (*)(std::string_view),
               std::string_view (*toWord)(E)) const {
    FIni.WriteString(FSection, key, toWord(value));
  }

 private:
  core::TMemIniFile& FIni;
  std::string_view FSection;
};

// Runs a key list over the object's own section.
template <class Self, class Keys>
void ReadKeys(Self& self, const core::TMemIniFile& ini, Keys keys) {
  TSectionKeyReader reader(ini, self.SectionName);
  keys(self, reader);
}

template <class Self, class Keys>
void WriteKeys(const Self& self, core::TMemIniFile& ini, Keys keys) {
  TSectionKeyWriter writer(ini, self.SectionName);
  keys(self, writer);
}

// The entries of a [SKINOBJECTS]-like list: "count", then the keys "0" up to
// count-1, in index order; an absent key is left out. The keys present are
// looked at instead of every index up to the count, so a damaged count
// costs nothing.
std::vector<std::string> ReadListEntries(const core::TMemIniFile& ini, std::string_view section);

// Splits "name:kind" at the first ":"; without ":" both are empty.
void SplitEntry(std::string_view entry, std::string& name, std::string& kind);

}  // namespace skin::detail
