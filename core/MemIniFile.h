#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace core {

class TStrings;

// INI text held in memory: sections of "key=value" lines.
//
// Reading rules (the skin description depends on every one of them):
// - each line is trimmed of surrounding blanks; empty lines and lines that
//   begin with ";" are skipped;
// - "[name]" opens a section, the name trimmed; lines before the first
//   section are dropped;
// - any other line belongs to the current section: the key is the text
//   before the first "=", the value the text after it, both trimmed; a line
//   without "=" is kept but has no key;
// - section and key names match without regard to ASCII letter case, and the
//   first match wins: of two sections with one name only the first is read,
//   of two keys in a section only the first;
// - a key that is present with an empty value reads as the empty text; only
//   an absent key (or section) gives the caller's default.
//
// Text is UTF-8; bytes outside ASCII are never folded or trimmed.
//
// Sections and keys are indexed by their folded names when the text is
// read, so a look-up costs one hash whatever the size of the text: a skin
// description of thousands of sections reads in time proportional to it.
class TMemIniFile {
 public:
  TMemIniFile() = default;
  explicit TMemIniFile(std::string_view text) { SetText(text); }

  // Replaces the whole content by the parsed lines.
  void SetStrings(const std::vector<std::string>& lines);
  void SetStrings(const TStrings& lines);
  // Splits at CR LF, LF or CR; a UTF-8 byte order mark in front is ignored.
  void SetText(std::string_view text);
  // Reads the file as UTF-8 text; raises EFOpenError
  // "Cannot open file "<name>". <reason>" when it cannot be read.
  void LoadFromFile(const std::string& fileName);

  // The content as lines: "[section]", its lines, then one empty line, for
  // every section in order.
  std::vector<std::string> GetStrings() const;
  void GetStrings(TStrings& lines) const;
  // GetStrings with every line ended by CR LF.
  std::string GetText() const;
  // Creates or replaces the file; raises EFCreateError
  // "Cannot create file "<name>". <reason>".
  void SaveToFile(const std::string& fileName) const;

  void Clear();

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // A decimal number with an optional sign, or hexadecimal after "$" or
  // "0x"; anything else (including an empty value) gives the default.
  // Decimal values must fit 32 bits; up to eight hexadecimal digits wrap
  // ("$FFFFFFFF" is -1).
  std::int32_t ReadInteger(std::string_view section, std::string_view key,
                           std::int32_t defaultValue) const;
  // ReadInteger not equal to 0.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Replaces the value of the first matching key in place, or appends the
  // key to the section; an absent section is appended to the end.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
  // Writes 1 or 0.
  void WriteBool(std::string_view section, std::string_view key, bool value);

  // Names of all sections in text order (a repeated name is listed again).
  std::vector<std::string> ReadSections() const;
  // Key names of the section, in order; lines without "=" are left out.
  std::vector<std::string> ReadSection(std::string_view section) const;
  // The section's lines as "key=value" (lines without "=" as they stand).
  std::vector<std::string> ReadSectionValues(std::string_view section) const;
  // Calls visit(key, value) for every line with a key of the section, in
  // text order, a repeated key again; an absent section calls nothing.
  // Reading a whole list this way costs one pass instead of a look-up per
  // key.
  template <class Visit>
  void ForEachValue(std::string_view section, Visit&& visit) const {
    if (const TSection* found = FindSection(section)) {
      for (const TLine& line : found->Lines) {
        if (line.HasKey) visit(std::string_view(line.Key), std::string_view(line.Value));
      }
    }
  }

  // Removes every section of that name, so that a later repeat of the name
  // cannot come back into view with stale values.
  void EraseSection(std::string_view section);
  // Removes every line of the key in the section.
  void DeleteKey(std::string_view section, std::string_view key);

  // Parses an integer by ReadInteger's rules; false when the text is not one.
  static bool TryParseInteger(std::string_view text, std::int32_t& value);

 private:
  struct TLine {
    std::string Key;
    std::string Value;
    // False for a line without "="; its text is in Value.
    bool HasKey = true;
  };
  // Hash and equality of names without regard to ASCII letter case; they
  // take a string_view, so a look-up builds no string.
  struct TFoldedHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const;
  };
  struct TFoldedEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  // Folded name to the position of its first occurrence.
  using TNameIndex = std::unordered_map<std::string, std::size_t, TFoldedHash, TFoldedEqual>;

  struct TSection {
    std::string Name;
    std::vector<TLine> Lines;
    TNameIndex Keys;
  };

  void AddLine(std::string_view line, TSection*& current);
  static void AppendLine(TSection& section, TLine line);
  static void IndexKeys(TSection& section);
  void IndexSections();
  const TSection* FindSection(std::string_view section) const;
  TSection* FindSection(std::string_view section);
  static const TLine* FindLine(const TSection& section, std::string_view key);

  std::vector<TSection> FSections;
  TNameIndex FSectionIndex;
};

}  // namespace core
