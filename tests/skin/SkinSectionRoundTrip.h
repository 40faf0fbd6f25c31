#pragma once

// Builds, for a section class, a section text in which every key the class
// writes holds a value that differs from its default and from the other
// keys' values. Loading it, saving and comparing the text then shows each
// key read and written under the same name, into the same field, in the
// same order.

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/MemIniFile.h"

namespace skintest {

struct KeyValue {
  std::string Key;
  std::string Value;
};

inline std::vector<KeyValue> SectionEntries(const core::TMemIniFile& ini, const std::string& section) {
  std::vector<KeyValue> entries;
  for (const std::string& line : ini.ReadSectionValues(section)) {
    std::size_t equals = line.find('=');
    entries.push_back(KeyValue{line.substr(0, equals), line.substr(equals + 1)});
  }
  return entries;
}

inline std::string SectionText(const std::string& section, const std::vector<KeyValue>& entries) {
  std::string text = "[" + section + "]\r\n";
  for (const KeyValue& entry : entries) text += entry.Key + "=" + entry.Value + "\r\n";
  return text;
}

inline bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// How many comma-separated runs of digits the text is made of; 0 when it
// holds anything else.
inline int NumberFields(const std::string& text) {
  int fields = 1;
  bool digitSeen = false;
  for (char c : text) {
    if (c == ',') {
      if (!digitSeen) return 0;
      ++fields;
      digitSeen = false;
    } else if (c >= '0' && c <= '9') {
      digitSeen = true;
    } else {
      return 0;
    }
  }
  return digitSeen ? fields : 0;
}

// make(sectionName) returns a new object of the class (anything with
// LoadFromIni and SaveToIni over its own section).
template <class Make>
std::vector<KeyValue> NonDefaultEntries(Make make, const std::string& section) {
  static const std::map<std::string, std::string> otherWord = {
      {"mkdefault", "mkpush"},         {"tacenter", "taleftjustify"}, {"cmdefault", "cmrollup"},
      {"gkhorizontal", "gkvertical"}, {"fphorizontal", "fpvertical"}, {"rkround", "rkhorizontal"},
      {"iebrightness", "ienoise"},
  };

  core::TMemIniFile defaults;
  make(section)->SaveToIni(defaults);

  std::vector<KeyValue> entries;
  std::vector<std::size_t> probed;
  int n = 0;
  for (const KeyValue& entry : SectionEntries(defaults, section)) {
    ++n;
    const std::string& value = entry.Value;
    std::string lowerKey = entry.Key;
    for (char& c : lowerKey) c = char(std::tolower(static_cast<unsigned char>(c)));
    std::string tag = std::to_string(n);
    if (EndsWith(lowerKey, "linecount")) {
      std::string prefix = entry.Key.substr(0, entry.Key.size() - 5);
      entries.push_back({entry.Key, "2"});
      entries.push_back({prefix + "0", "first " + tag});
      entries.push_back({prefix + "1", "second " + tag});
    } else if (EndsWith(lowerKey, "fontstyle")) {
      entries.push_back({entry.Key, n % 2 ? "fsbold,fsunderline" : "fsitalic,fsstrikeout"});
    } else if (NumberFields(value) == 4) {
      entries.push_back({entry.Key, std::to_string(n) + "," + std::to_string(n + 1) + "," +
                                        std::to_string(n + 100) + "," + std::to_string(n + 200)});
    } else if (NumberFields(value) == 2) {
      entries.push_back({entry.Key, std::to_string(n) + "," + std::to_string(n + 300)});
    } else if (NumberFields(value.substr(value.rfind('-', 0) == 0 ? 1 : 0)) == 1) {
      // Integers, colours or booleans: try a number of its own first.
      probed.push_back(entries.size());
      entries.push_back({entry.Key, std::to_string(1000 + n)});
    } else if (otherWord.count(value)) {
      entries.push_back({entry.Key, otherWord.at(value)});
    } else {
      // A text: a font name, a section name or an empty default.
      entries.push_back({entry.Key, value.empty() ? "text " + tag : "name" + tag});
    }
  }

  // Booleans keep only 1 as true; whatever did not come back as written is
  // one, and takes 1.
  core::TMemIniFile probe(SectionText(section, entries));
  auto object = make(section);
  object->LoadFromIni(probe);
  core::TMemIniFile written;
  object->SaveToIni(written);
  for (std::size_t index : probed) {
    if (written.ReadString(section, entries[index].Key, "") != entries[index].Value) {
      entries[index].Value = "1";
    }
  }
  return entries;
}

inline bool operator==(const KeyValue& a, const KeyValue& b) { return a.Key == b.Key && a.Value == b.Value; }

inline void PrintTo(const KeyValue& entry, std::ostream* os) { *os << entry.Key << "=" << entry.Value; }

}  // namespace skintest
