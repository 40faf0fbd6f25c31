#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skintool {

// Builds one line of JSON. Values are appended in document order; the
// writer places the commas. Text is taken as UTF-8: valid sequences pass
// through, invalid bytes become U+FFFD, and control characters are escaped,
// so the output is valid JSON whatever the skin holds.
class JsonWriter {
 public:
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  // The name of the next member of the current object.
  void Key(std::string_view name);

  void String(std::string_view text);
  void Integer(std::int64_t value);
  void Null();

  const std::string& Text() const { return FText; }

 private:
  void BeforeValue();
  void AppendQuoted(std::string_view text);

  std::string FText;
  // One entry per open object or array: whether it holds a value yet.
  std::vector<bool> FHasValue;
  bool FAfterKey = false;
};

}  // namespace skintool
