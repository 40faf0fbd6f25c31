#include "JsonWriter.h"

namespace skintool {

namespace {

// Length of the valid UTF-8 sequence at the start of text, or 0.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  std::uint32_t minimum = 0;
  std::uint32_t code = 0;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, minimum = 0x80, code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, minimum = 0x800, code = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, minimum = 0x10000, code = lead & 0x07u;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i) & 0x3Fu);
  }
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
  if (code < minimum || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
  return length;
}

}  // namespace

void JsonWriter::BeforeValue() {
  if (FAfterKey) {
    FAfterKey = false;
    return;
  }
  if (!FHasValue.empty()) {
    if (FHasValue.back()) FText += ',';
    FHasValue.back() = true;
  }
}

void JsonWriter::BeginObject() {
  BeforeValue();
  FText += '{';
  FHasValue.push_back(false);
}

void JsonWriter::EndObject() {
  FText += '}';
  FHasValue.pop_back();
}

void JsonWriter::BeginArray() {
  BeforeValue();
  FText += '[';
  FHasValue.push_back(false);
}

void JsonWriter::EndArray() {
  FText += ']';
  FHasValue.pop_back();
}

void JsonWriter::Key(std::string_view name) {
  BeforeValue();
  AppendQuoted(name);
  FText += ':';
  FAfterKey = true;
}

void JsonWriter::String(std::string_view text) {
  BeforeValue();
  AppendQuoted(text);
}

void JsonWriter::Integer(std::int64_t value) {
  BeforeValue();
  FText += std::to_string(value);
}

void JsonWriter::Null() {
  BeforeValue();
  FText += "null";
}

void JsonWriter::AppendQuoted(std::string_view text) {
  static constexpr char Hex[] = "0123456789abcdef";
  FText += '"';
  while (!text.empty()) {
    const auto c = static_cast<unsigned char>(text[0]);
    if (c >= 0x80) {
      const std::size_t length = Utf8SequenceLength(text);
      if (length == 0) {
        FText += "\xEF\xBF\xBD";
        text.remove_prefix(1);
      } else {
        FText.append(text.substr(0, length));
        text.remove_prefix(length);
      }
      continue;
    }
    switch (c) {
      case '"': FText += "\\\""; break;
      case '\\': FText += "\\\\"; break;
      case '\n': FText += "\\n"; break;
      case '\r': FText += "\\r"; break;
      case '\t': FText += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          FText += "\\u00";
          FText += Hex[c >> 4];
          FText += Hex[c & 15];
        } else {
          FText += char(c);
        }
    }
    text.remove_prefix(1);
  }
  FText += '"';
}

}  // namespace skintool
