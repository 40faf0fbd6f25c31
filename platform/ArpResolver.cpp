#include "platform/ArpResolver.h"

#include <arpa/inet.h>
#include <netinet/in.h>

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

std::uint32_t InetAddr(std::string_view text) {
  if (text.find('\0') != std::string_view::npos) return InetNone;
  const std::string terminated(text);
  return ::inet_addr(terminated.c_str());
}

std::string FormatInetAddr(std::uint32_t address) {
  in_addr value{};
  value.s_addr = address;
  char text[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &value, text, sizeof text);
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
