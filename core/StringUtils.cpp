#include "core/StringUtils.h"

#include "core/Exception.h"
#include "core/Format.h"

namespace core {

namespace {

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Parses the integer syntax shared by StrToInt and StrToInt64. bits is 32 or
// 64: decimal values must fit the signed range, hexadecimal ones the
// unsigned range of that width and are then taken as two's complement.
bool ParseInteger(std::string_view text, int bits, std::int64_t& value) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
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
    const std::uint64_t limit = bits == 32 ? 0xFFFFFFFFull : ~std::uint64_t(0);
    for (; i < text.size(); ++i) {
      int digit = HexDigit(text[i]);
      if (digit < 0) return false;
      if (magnitude > (limit >> 4)) return false;
      magnitude = (magnitude << 4) | std::uint64_t(digit);
    }
    std::int64_t result;
    if (bits == 32)
      result = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    else
      result = static_cast<std::int64_t>(magnitude);
    // Negating the most negative value wraps onto itself, as in two's complement.
    value = negative ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(result)) : result;
    if (bits == 32) value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return true;
  }

  const std::uint64_t limit = bits == 32 ? (negative ? 0x80000000ull : 0x7FFFFFFFull)
                                         : (negative ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull);
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return false;
    std::uint64_t digit = std::uint64_t(c - '0');
    if (magnitude > (limit - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
  }
  value = negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
  return true;
}

[[noreturn]] void RaiseNotInteger(std::string_view text) {
  throw EConvertError(Format("'%s' is not a valid integer value", text));
}

}  // namespace

bool TryStrToInt(std::string_view text, int& value) {
  std::int64_t result;
  if (!ParseInteger(text, 32, result)) return false;
  value = static_cast<int>(result);
  return true;
}

int StrToInt(std::string_view text) {
  int value;
  if (!TryStrToInt(text, value)) RaiseNotInteger(text);
  return value;
}

int StrToIntDef(std::string_view text, int defaultValue) {
  int value;
  return TryStrToInt(text, value) ? value : defaultValue;
}

bool TryStrToInt64(std::string_view text, std::int64_t& value) { return ParseInteger(text, 64, value); }

std::int64_t StrToInt64(std::string_view text) {
  std::int64_t value;
  if (!TryStrToInt64(text, value)) RaiseNotInteger(text);
  return value;
}

std::string IntToStr(std::int64_t value) { return std::to_string(value); }

namespace {

std::string HexOf(std::uint64_t value, int digits) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), Digits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (digits > static_cast<int>(text.size())) text.insert(0, std::size_t(digits) - text.size(), '0');
  return text;
}

}  // namespace

std::string IntToHex(int value, int digits) { return HexOf(static_cast<std::uint32_t>(value), digits); }

std::string IntToHex(std::int64_t value, int digits) {
  return HexOf(static_cast<std::uint64_t>(value), digits);
}

std::string TrimLeft(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && IsTrimmed(text[first])) ++first;
  return std::string(text.substr(first));
}

std::string TrimRight(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && IsTrimmed(text[end - 1])) --end;
  return std::string(text.substr(0, end));
}

std::string Trim(std::string_view text) {
  std::size_t first = 0;
  while (first < text.size() && IsTrimmed(text[first])) ++first;
  std::size_t end = text.size();
  while (end > first && IsTrimmed(text[end - 1])) --end;
  return std::string(text.substr(first, end - first));
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = UpperChar(c);
  return result;
}

std::string LowerCase(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = LowerChar(c);
  return result;
}

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

int CompareText(std::string_view a, std::string_view b) {
  std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    unsigned char ca = static_cast<unsigned char>(UpperChar(a[i]));
    unsigned char cb = static_cast<unsigned char>(UpperChar(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool IsValidIdent(std::string_view text) {
  if (text.empty()) return false;
  auto isAlpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!isAlpha(text[0])) return false;
  for (char c : text.substr(1))
    if (!isAlpha(c) && !(c >= '0' && c <= '9')) return false;
  return true;
}

}  // namespace core
