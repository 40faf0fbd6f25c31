#include "platform/win32/Win32ArpResolver.h"

#include <cstring>

#include "platform/win32/WindowsHeaders.h"

namespace platform::win32 {

namespace {

// Addresses no host answers for: nothing is sent for them.
bool IsUnanswerable(std::uint32_t address) {
  std::uint8_t bytes[4];
  std::memcpy(bytes, &address, sizeof bytes);
  return address == InetNone || address == 0 || bytes[0] >= 224;
}

}  // namespace

std::optional<MacAddress> Win32ArpResolver::Resolve(std::uint32_t address) {
  if (IsUnanswerable(address)) return std::nullopt;
  // SendARP wants room for eight bytes whatever the link's address length.
  ULONG buffer[2] = {};
  ULONG length = sizeof buffer;
  if (SendARP(IPAddr(address), 0, buffer, &length) != NO_ERROR) return std::nullopt;
  if (length > sizeof buffer) length = sizeof buffer;
  return MacAddress::FromBytes(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(buffer), length));
}

}  // namespace platform::win32

namespace platform {

std::unique_ptr<ArpResolver> CreateSystemArpResolver() { return std::make_unique<win32::Win32ArpResolver>(); }

}  // namespace platform
