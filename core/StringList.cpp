#include "core/StringList.h"

#include <algorithm>

#include "core/Exception.h"
#include "core/StringUtils.h"

namespace core {

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) RaiseIndexError(index);
}

int TStringList::CompareLines(std::string_view a, std::string_view b) const {
  if (FCaseSensitive) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
  return CompareText(a, b);
}

std::string TStringList::Get(int index) const {
  CheckIndex(index);
  return FLines[std::size_t(index)];
}

const std::string& TStringList::Line(int index) const {
  CheckIndex(index);
  return FLines[std::size_t(index)];
}

void TStringList::Put(int index, const std::string& text) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  CheckIndex(index);
  Changing();
  FLines[std::size_t(index)] = text;
  Changed();
}

void TStringList::Insert(int index, const std::string& text) {
  if (FSorted) throw EListError("Operation not allowed on sorted list");
  if (index < 0 || index > Count()) RaiseIndexError(index);
  Changing();
  FLines.insert(FLines.begin() + index, text);
  Changed();
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  FLines.erase(FLines.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (FLines.empty()) return;
  Changing();
  FLines.clear();
  Changed();
}

int TStringList::Add(const std::string& text) {
  int index = Count();
  if (FSorted) {
    if (Find(text, index)) {
      if (FDuplicates == dupIgnore) return index;
      if (FDuplicates == dupError) throw EListError("String list does not allow duplicates");
    }
  }
  Changing();
  FLines.insert(FLines.begin() + index, text);
  Changed();
  return index;
}

int TStringList::IndexOf(std::string_view text) const {
  if (FSorted) {
    int index;
    return Find(text, index) ? index : -1;
  }
  for (std::size_t i = 0; i < FLines.size(); ++i)
    if (CompareLines(FLines[i], text) == 0) return static_cast<int>(i);
  return -1;
}

void TStringList::SetSorted(bool sorted) {
  if (sorted == FSorted) return;
  if (sorted) Sort();
  FSorted = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
  if (caseSensitive == FCaseSensitive) return;
  FCaseSensitive = caseSensitive;
  if (FSorted) Sort();
}

void TStringList::Sort() {
  Changing();
  std::stable_sort(FLines.begin(), FLines.end(),
                   [this](const std::string& a, const std::string& b) { return CompareLines(a, b) < 0; });
  Changed();
}

bool TStringList::Find(std::string_view text, int& index) const {
  // Lower bound; with duplicates accepted this finds the first equal line.
  int low = 0;
  int high = Count();
  while (low < high) {
    int middle = low + (high - low) / 2;
    if (CompareLines(FLines[std::size_t(middle)], text) < 0)
      low = middle + 1;
    else
      high = middle;
  }
  index = low;
  return low < Count() && CompareLines(FLines[std::size_t(low)], text) == 0;
}

}  // namespace core
