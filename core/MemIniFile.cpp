#include "core/MemIniFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "core/Exception.h"
#include "core/Strings.h"

namespace core {

namespace {

// Blanks and control characters, as the class library's Trim removes them.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view TrimView(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && IsBlank(text[first])) ++first;
  while (last > first && IsBlank(text[last - 1])) --last;
  return text.substr(first, last - first);
}

char FoldCase(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Splits at CR LF, LF or CR; a final line break starts no further line.
template <class Sink>
void SplitLines(std::string_view text, Sink&& sink) {
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      sink(text.substr(start));
      return;
    }
    sink(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
}

}  // namespace

bool TMemIniFile::TryParseInteger(std::string_view text, std::int32_t& value) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && text[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= text.size()) return false;

  std::uint64_t magnitude = 0;
  if (hex) {
    std::size_t digits = 0;
    for (; i < text.size(); ++i, ++digits) {
      int digit = HexDigit(text[i]);
      if (digit < 0 || digits >= 8) return false;
      magnitude = magnitude * 16 + std::uint64_t(digit);
    }
    // Eight hexadecimal digits fill the 32 bits; the pattern is kept as it
    // stands, so "$FFFFFFFF" is -1 and colour values survive.
    std::uint32_t bits = static_cast<std::uint32_t>(magnitude);
    if (negative) bits = 0u - bits;
    value = static_cast<std::int32_t>(bits);
    return true;
  }
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    magnitude = magnitude * 10 + std::uint64_t(text[i] - '0');
    if (magnitude > std::uint64_t(2147483648u)) return false;
  }
  if (!negative && magnitude > 2147483647u) return false;
  value = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                   : static_cast<std::int32_t>(magnitude);
  return true;
}

std::size_t TMemIniFile::TFoldedHash::operator()(std::string_view name) const {
  // FNV-1a over the folded bytes.
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : name) {
    hash ^= static_cast<unsigned char>(FoldCase(c));
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

bool TMemIniFile::TFoldedEqual::operator()(std::string_view a, std::string_view b) const {
  return SameName(a, b);
}

void TMemIniFile::AppendLine(TSection& section, TLine line) {
  // Only the first line of a key is indexed: it is the one every read finds.
  if (line.HasKey) section.Keys.emplace(line.Key, section.Lines.size());
  section.Lines.push_back(std::move(line));
}

void TMemIniFile::IndexKeys(TSection& section) {
  section.Keys.clear();
  for (std::size_t i = 0; i < section.Lines.size(); ++i) {
    if (section.Lines[i].HasKey) section.Keys.emplace(section.Lines[i].Key, i);
  }
}

void TMemIniFile::IndexSections() {
  FSectionIndex.clear();
  for (std::size_t i = 0; i < FSections.size(); ++i) FSectionIndex.emplace(FSections[i].Name, i);
}

void TMemIniFile::AddLine(std::string_view line, TSection*& current) {
  std::string_view text = TrimView(line);
  if (text.empty() || text.front() == ';') return;
  if (text.front() == '[' && text.back() == ']' && text.size() >= 2) {
    // A repeated name opens a section of its own; lookups find the first.
    FSections.push_back(TSection{std::string(TrimView(text.substr(1, text.size() - 2))), {}, {}});
    FSectionIndex.emplace(FSections.back().Name, FSections.size() - 1);
    current = &FSections.back();
    return;
  }
  if (current == nullptr) return;
  std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    AppendLine(*current, TLine{std::string(), std::string(text), false});
  } else {
    AppendLine(*current, TLine{std::string(TrimView(text.substr(0, equals))),
                               std::string(TrimView(text.substr(equals + 1))), true});
  }
}

void TMemIniFile::SetStrings(const std::vector<std::string>& lines) {
  Clear();
  TSection* current = nullptr;
  for (const std::string& line : lines) AddLine(line, current);
}

void TMemIniFile::SetStrings(const TStrings& lines) {
  Clear();
  TSection* current = nullptr;
  for (int i = 0; i < lines.Count(); ++i) AddLine(lines.Get(i), current);
}

void TMemIniFile::SetText(std::string_view text) {
  Clear();
  constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, ByteOrderMark.size()) == ByteOrderMark) text.remove_prefix(ByteOrderMark.size());
  TSection* current = nullptr;
  SplitLines(text, [&](std::string_view line) { AddLine(line, current); });
}

void TMemIniFile::LoadFromFile(const std::string& fileName) {
  std::ifstream file(fileName, std::ios::binary);
  if (!file) {
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
  }
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) {
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
  }
  SetText(content.str());
}

std::vector<std::string> TMemIniFile::GetStrings() const {
  std::vector<std::string> lines;
  for (const TSection& section : FSections) {
    lines.push_back("[" + section.Name + "]");
    for (const TLine& line : section.Lines) {
      lines.push_back(line.HasKey ? line.Key + "=" + line.Value : line.Value);
    }
    lines.emplace_back();
  }
  return lines;
}

void TMemIniFile::GetStrings(TStrings& lines) const {
  lines.Clear();
  for (const std::string& line : GetStrings()) lines.Add(line);
}

std::string TMemIniFile::GetText() const {
  std::string text;
  for (const std::string& line : GetStrings()) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TMemIniFile::SaveToFile(const std::string& fileName) const {
  std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
  if (!file) {
    throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
  }
  std::string text = GetText();
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  if (!file) {
    throw EWriteError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
  }
}

void TMemIniFile::Clear() {
  FSections.clear();
  FSectionIndex.clear();
}

const TMemIniFile::TSection* TMemIniFile::FindSection(std::string_view section) const {
  const auto found = FSectionIndex.find(section);
  return found == FSectionIndex.end() ? nullptr : &FSections[found->second];
}

TMemIniFile::TSection* TMemIniFile::FindSection(std::string_view section) {
  return const_cast<TSection*>(std::as_const(*this).FindSection(section));
}

const TMemIniFile::TLine* TMemIniFile::FindLine(const TSection& section, std::string_view key) {
  const auto found = section.Keys.find(key);
  return found == section.Keys.end() ? nullptr : &section.Lines[found->second];
}

bool TMemIniFile::SectionExists(std::string_view section) const {
  return FindSection(section) != nullptr;
}

bool TMemIniFile::ValueExists(std::string_view section, std::string_view key) const {
  const TSection* found = FindSection(section);
  return found != nullptr && FindLine(*found, key) != nullptr;
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  if (const TSection* found = FindSection(section)) {
    if (const TLine* line = FindLine(*found, key)) return line->Value;
  }
  return std::string(defaultValue);
}

std::int32_t TMemIniFile::ReadInteger(std::string_view section, std::string_view key,
                                      std::int32_t defaultValue) const {
  if (const TSection* found = FindSection(section)) {
    if (const TLine* line = FindLine(*found, key)) {
      std::int32_t value = 0;
      return TryParseInteger(line->Value, value) ? value : defaultValue;
    }
  }
  return defaultValue;
}

bool TMemIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TMemIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  TSection* found = FindSection(section);
  if (found == nullptr) {
    FSections.push_back(TSection{std::string(section), {}, {}});
    FSectionIndex.emplace(FSections.back().Name, FSections.size() - 1);
    found = &FSections.back();
  }
  const auto existing = found->Keys.find(key);
  if (existing != found->Keys.end()) {
    // The index keeps the old spelling, which still matches the new one.
    TLine& line = found->Lines[existing->second];
    line.Key = std::string(key);
    line.Value = std::string(value);
    return;
  }
  AppendLine(*found, TLine{std::string(key), std::string(value), true});
}

void TMemIniFile::WriteInteger(std::string_view section, std::string_view key, std::int32_t value) {
  WriteString(section, key, std::to_string(value));
}

void TMemIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

std::vector<std::string> TMemIniFile::ReadSections() const {
  std::vector<std::string> names;
  names.reserve(FSections.size());
  for (const TSection& section : FSections) names.push_back(section.Name);
  return names;
}

std::vector<std::string> TMemIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> keys;
  if (const TSection* found = FindSection(section)) {
    for (const TLine& line : found->Lines) {
      if (line.HasKey) keys.push_back(line.Key);
    }
  }
  return keys;
}

std::vector<std::string> TMemIniFile::ReadSectionValues(std::string_view section) const {
  std::vector<std::string> values;
  if (const TSection* found = FindSection(section)) {
    for (const TLine& line : found->Lines) {
      values.push_back(line.HasKey ? line.Key + "=" + line.Value : line.Value);
    }
  }
  return values;
}

void TMemIniFile::EraseSection(std::string_view section) {
  // Writers erase before they write; a name not present costs one look-up.
  if (FindSection(section) == nullptr) return;
  std::erase_if(FSections, [&](const TSection& candidate) { return SameName(candidate.Name, section); });
  IndexSections();
}

void TMemIniFile::DeleteKey(std::string_view section, std::string_view key) {
  if (TSection* found = FindSection(section)) {
    if (FindLine(*found, key) == nullptr) return;
    std::erase_if(found->Lines,
                  [&](const TLine& line) { return line.HasKey && SameName(line.Key, key); });
    IndexKeys(*found);
  }
}

}  // namespace core
