#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace core {

// One argument of Format: an integer, a character or a text. Texts are held
// by view, so an argument lives only as long as the Format call.
class TFormatArg {
 public:
  enum class Kind { Integer, Character, Text };

  template <class T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool> &&
                                          !std::is_same_v<T, char>, int> = 0>
  TFormatArg(T value) : FKind(Kind::Integer), FInteger(static_cast<std::int64_t>(value)) {}
  TFormatArg(bool value) : FKind(Kind::Integer), FInteger(value ? 1 : 0) {}
  TFormatArg(char value) : FKind(Kind::Character), FInteger(static_cast<unsigned char>(value)) {}
  TFormatArg(std::string_view value) : FKind(Kind::Text), FText(value) {}
  TFormatArg(const std::string& value) : FKind(Kind::Text), FText(value) {}
  TFormatArg(const char* value) : FKind(Kind::Text), FText(value ? value : "") {}

  Kind ArgKind() const { return FKind; }
  std::int64_t Integer() const { return FInteger; }
  std::string_view Text() const { return FText; }

 private:
  Kind FKind;
  std::int64_t FInteger = 0;
  std::string_view FText;
};

// A small printf: "%s" text, "%d" decimal, "%u" unsigned decimal, "%x"/"%X"
// hexadecimal (lower/upper case), "%c" a character, "%%" a percent sign; each
// may carry "-" (left-justify), "0" (zero padding) and a width, and "%.Nd" /
// "%.Nx" a minimum number of digits. A directive that does not match its
// argument, or a missing argument, raises EConvertError
// "Format '<pattern>' invalid or incompatible with argument".
std::string FormatArgs(std::string_view pattern, std::initializer_list<TFormatArg> args);

template <class... Args>
std::string Format(std::string_view pattern, const Args&... args) {
  return FormatArgs(pattern, {TFormatArg(args)...});
}

}  // namespace core
