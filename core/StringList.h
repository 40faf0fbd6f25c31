#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/Strings.h"

namespace core {

// What a sorted list does with a line that it already holds.
enum TDuplicates { dupIgnore, dupAccept, dupError };

// Lines in a std::vector: appending is amortised constant time, so a log of
// a hundred thousand lines grows without slowing down.
class TStringList : public TStrings {
 public:
  TStringList() = default;

  int Count() const override { return static_cast<int>(FLines.size()); }
  std::string Get(int index) const override;
  void Put(int index, const std::string& text) override;
  void Insert(int index, const std::string& text) override;
  void Delete(int index) override;
  void Clear() override;
  int Add(const std::string& text) override;
  int IndexOf(std::string_view text) const override;

  // Direct access for readers that walk many lines; no copy.
  const std::string& Line(int index) const;
  const std::vector<std::string>& Lines() const { return FLines; }

  // A sorted list keeps its lines in CompareText order (or byte order when
  // case-sensitive); Insert and Put raise EListError
  // "Operation not allowed on sorted list" on it, Add puts the line in place.
  bool Sorted() const { return FSorted; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates duplicates) { FDuplicates = duplicates; }
  // Letter case in IndexOf, Find and sorting; off by default.
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool caseSensitive);
  void Sort();
  // Binary search of a sorted list: true when found; index is the position
  // of the line or where it would be inserted.
  bool Find(std::string_view text, int& index) const;

 private:
  int CompareLines(std::string_view a, std::string_view b) const;
  void CheckIndex(int index) const;

  std::vector<std::string> FLines;
  bool FSorted = false;
  bool FCaseSensitive = false;
  TDuplicates FDuplicates = dupIgnore;
};

}  // namespace core
