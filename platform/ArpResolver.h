#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// The value InetAddr gives for text that is not an address. It is also the
// value of "255.255.255.255", which no resolver answers either.
constexpr std::uint32_t InetNone = 0xFFFFFFFFu;

// A hardware address as the system returns it: 0 to 6 bytes in the order of
// the wire. Bytes past Length are zero.
struct MacAddress {
  static constexpr std::size_t MaxLength = 6;

  std::array<std::uint8_t, MaxLength> Bytes{};
  std::size_t Length = 0;

  // Takes at most MaxLength bytes; a longer input is cut, because no caller
  // can show more than the classic six.
  static MacAddress FromBytes(std::span<const std::uint8_t> bytes);
  static MacAddress FromBytes(std::initializer_list<std::uint8_t> bytes);

  std::span<const std::uint8_t> View() const { return {Bytes.data(), Length}; }

  friend bool operator==(const MacAddress& left, const MacAddress& right);
};

// Resolves one IPv4 address of the local link to its hardware address by
// the system's ARP. One request at a time; the call blocks until the system
// has an answer or gives up.
class ArpResolver {
 public:
  virtual ~ArpResolver() = default;

  // address is the value InetAddr returns (network byte order). Returns the
  // hardware address when the system answered (0 to 6 bytes), nothing when
  // it did not: a silent host, an address behind a gateway, a broadcast or
  // multicast address, InetNone, or any failure of the system itself. Never
  // throws; a failed lookup never affects the next one.
  virtual std::optional<MacAddress> Resolve(std::uint32_t address) = 0;
};

// The resolver of the operating system the program was built for; defined
// by that system's library (platform/linux/ on Linux), which the program
// links, so that the program's entry names no backend.
std::unique_ptr<ArpResolver> CreateSystemArpResolver();

// The classic inet_addr of the C library: "a.b.c.d" and also the short
// forms ("127.1", "10.1.2") and octal or hexadecimal parts ("010.0.0.1" is
// 8.0.0.1, "0x7f.1" is 127.0.0.1). The result is in network byte order;
// text that is no address gives InetNone. Text with an embedded NUL is no
// address (the C library would silently read only its first part).
std::uint32_t InetAddr(std::string_view text);

// Dotted decimal text of an address in network byte order ("192.168.1.7").
std::string FormatInetAddr(std::uint32_t address);

// Each byte as two upper-case hexadecimal digits, joined by "-"
// ("02-00-00-00-01-07"); empty for no bytes. This is the form the scan log
// shows.
std::string FormatMac(std::span<const std::uint8_t> bytes);
inline std::string FormatMac(const MacAddress& mac) { return FormatMac(mac.View()); }

}  // namespace platform
