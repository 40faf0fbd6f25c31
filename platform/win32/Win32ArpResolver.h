#pragma once

#include "platform/ArpResolver.h"

namespace platform::win32 {

// ARP through the IP helper's SendARP: one blocking request per address,
// which the system answers from its cache or by asking the link (it gives
// up after about three seconds).
class Win32ArpResolver final : public ArpResolver {
 public:
  std::optional<MacAddress> Resolve(std::uint32_t address) override;
};

}  // namespace platform::win32
