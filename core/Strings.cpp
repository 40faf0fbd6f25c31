#include "core/Strings.h"

#include <vector>

#include "core/Exception.h"
#include "core/FileStream.h"
#include "core/Format.h"
#include "core/Stream.h"
#include "core/StringUtils.h"

namespace core {

void TStrings::RaiseIndexError(int index) { throw EListError(Format("List index out of bounds (%d)", index)); }

int TStrings::Add(const std::string& text) {
  int index = Count();
  Insert(index, text);
  return index;
}

void TStrings::AddStrings(const TStrings& other) {
  BeginUpdate();
  try {
    int count = other.Count();
    for (int i = 0; i < count; ++i) Add(other.Get(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(const TStrings& other) {
  if (&other == this) return;
  BeginUpdate();
  try {
    Clear();
    AddStrings(other);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
  int count = Count();
  if (count != other.Count()) return false;
  for (int i = 0; i < count; ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

void TStrings::Exchange(int index1, int index2) {
  std::string first = Get(index1);
  std::string second = Get(index2);
  BeginUpdate();
  try {
    Put(index1, second);
    Put(index2, first);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int currentIndex, int newIndex) {
  if (currentIndex == newIndex) return;
  std::string text = Get(currentIndex);
  if (newIndex < 0 || newIndex >= Count()) RaiseIndexError(newIndex);
  BeginUpdate();
  try {
    Delete(currentIndex);
    Insert(newIndex, text);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::IndexOf(std::string_view text) const {
  int count = Count();
  for (int i = 0; i < count; ++i)
    if (SameText(Get(i), text)) return i;
  return -1;
}

std::string TStrings::Text() const {
  std::string text;
  int count = Count();
  for (int i = 0; i < count; ++i) {
    text += Get(i);
    text += "\r\n";
  }
  return text;
}

void TStrings::SetText(std::string_view text) {
  BeginUpdate();
  try {
    Clear();
    std::size_t start = 0;
    while (start < text.size()) {
      std::size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) {
        Add(std::string(text.substr(start)));
        break;
      }
      Add(std::string(text.substr(start, end - start)));
      start = end + 1;
      if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TStrings::Names(int index) const {
  std::string line = Get(index);
  std::size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(0, equals);
}

std::string TStrings::ValueFromIndex(int index) const {
  std::string line = Get(index);
  std::size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : line.substr(equals + 1);
}

int TStrings::IndexOfName(std::string_view name) const {
  int count = Count();
  for (int i = 0; i < count; ++i) {
    std::string line = Get(i);
    std::size_t equals = line.find('=');
    if (equals != std::string::npos && SameText(std::string_view(line).substr(0, equals), name)) return i;
  }
  return -1;
}

std::string TStrings::Values(std::string_view name) const {
  int index = IndexOfName(name);
  return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValues(std::string_view name, std::string_view value) {
  int index = IndexOfName(name);
  if (value.empty()) {
    if (index >= 0) Delete(index);
    return;
  }
  std::string line = std::string(name) + "=" + std::string(value);
  if (index < 0)
    Add(line);
  else
    Put(index, line);
}

void TStrings::LoadFromStream(TStream& stream) {
  std::string text;
  char buffer[4096];
  for (;;) {
    std::size_t count = stream.Read(buffer, sizeof buffer);
    if (count == 0) break;
    text.append(buffer, count);
  }
  SetText(text);
}

void TStrings::SaveToStream(TStream& stream) const {
  std::string text = Text();
  stream.WriteBuffer(text.data(), text.size());
}

void TStrings::LoadFromFile(const std::string& fileName) {
  TFileStream stream(fileName, fmOpenRead);
  LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& fileName) const {
  TFileStream stream(fileName, fmCreate);
  SaveToStream(stream);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount > 0) return;
  SetUpdateState(false);
  if (FChangedDuringUpdate) {
    FChangedDuringUpdate = false;
    if (OnChange) OnChange(*this);
  }
}

void TStrings::Changing() {
  if (FUpdateCount == 0 && OnChanging) OnChanging(*this);
}

void TStrings::Changed() {
  if (FUpdateCount > 0) {
    FChangedDuringUpdate = true;
    return;
  }
  if (OnChange) OnChange(*this);
}

void TStrings::SetUpdateState(bool) {}

}  // namespace core
