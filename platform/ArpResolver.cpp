#include "platform/ArpResolver.h"

#include <algorithm>
#include <cstring>

namespace platform {

MacAddress MacAddress::FromBytes(std::span<const std::uint8_t> bytes) {
  MacAddress mac;
  mac.Length = std::min(bytes.size(), MaxLength);
  std::copy_n(bytes.begin(), mac.Length, mac.Bytes.begin());
  return mac;
}

MacAddress MacAddress::FromBytes(std::initializer_list<std::uint8_t> bytes) {
  return FromBytes(std::span<const std::uint8_t>(bytes.begin(), bytes.size()));
}

bool operator==(const MacAddress& left, const MacAddress& right) {
  return std::ranges::equal(left.View(), right.View());
}

namespace {

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// One part of an address the way strtoul with base 0 reads it: "0x" and a
// hexadecimal digit start a hexadecimal number, a leading 0 an octal one.
// Stops at the first character that is no digit of the base; false when
// the value does not fit in 32 bits.
bool ReadPart(std::string_view text, std::size_t& at, std::uint32_t& value) {
  int base = 10;
  if (text[at] == '0') {
    base = 8;
    if (at + 2 < text.size() && (text[at + 1] == 'x' || text[at + 1] == 'X') && DigitValue(text[at + 2]) < 16) {
      base = 16;
      at += 2;
    }
  }
  std::uint64_t result = 0;
  while (at < text.size() && DigitValue(text[at]) < base) {
    result = result * std::uint64_t(base) + std::uint64_t(DigitValue(text[at]));
    if (result > 0xFFFFFFFFu) return false;
    ++at;
  }
  value = std::uint32_t(result);
  return true;
}

}  // namespace

// The C library's parser, written out so that every system reads addresses
// alike (the Windows one differs in the short forms and in white space):
// up to four parts separated by dots, each starting with a digit; the last
// fills the remaining bytes; white space may end the text.
std::uint32_t InetAddr(std::string_view text) {
  std::uint32_t parts[3] = {};
  std::size_t count = 0;
  std::size_t at = 0;
  std::uint32_t last = 0;
  for (;;) {
    if (at >= text.size() || !IsDigit(text[at])) return InetNone;
    if (!ReadPart(text, at, last)) return InetNone;
    if (at < text.size() && text[at] == '.') {
      if (count == 3 || last > 0xFF) return InetNone;
      parts[count++] = last;
      ++at;
      continue;
    }
    break;
  }
  // A NUL ends the C library's text too, but here it would hide the rest.
  if (at < text.size() && !IsSpace(text[at])) return InetNone;
  static constexpr std::uint32_t LastPartLimit[] = {0xFFFFFFFFu, 0xFFFFFFu, 0xFFFFu, 0xFFu};
  if (last > LastPartLimit[count]) return InetNone;
  std::uint32_t host = last;
  for (std::size_t i = 0; i < count; ++i) host |= parts[i] << (24 - 8 * i);
  // Network byte order: the first byte of the address first in memory.
  const std::uint8_t bytes[4] = {std::uint8_t(host >> 24), std::uint8_t(host >> 16), std::uint8_t(host >> 8),
                                 std::uint8_t(host)};
  std::uint32_t network = 0;
  std::memcpy(&network, bytes, sizeof network);
  return network;
}

std::string FormatInetAddr(std::uint32_t address) {
  std::uint8_t bytes[4];
  std::memcpy(bytes, &address, sizeof bytes);
  std::string text;
  for (int i = 0; i < 4; ++i) {
    if (i) text += '.';
    text += std::to_string(bytes[i]);
  }
  return text;
}

std::string FormatMac(std::span<const std::uint8_t> bytes) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 3);
  for (std::uint8_t byte : bytes) {
    if (!text.empty()) text += '-';
    text += Digits[byte >> 4];
    text += Digits[byte & 0x0F];
  }
  return text;
}

}  // namespace platform
