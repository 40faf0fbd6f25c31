#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/ArpResolver.h"

namespace platform {


// Resolves through the kernel's own neighbour resolution, without
// privileges and without raw sockets:
//
//   route lookup ──> through a gateway, broadcast, multicast, no route: fail,
//    │               nothing is sent
//    ├─ local ─────> one of our own addresses: the owning interface's MAC
//    └─ on-link ───> neighbour entry with a MAC: answer it (STALE: also
//                    send the trigger, so the kernel re-checks it)
//                    otherwise: listen to neighbour notifications, send one
//                    empty UDP datagram to port 9 (the kernel queues it and
//                    starts ARP), then wait until the entry has a MAC or
//                    turns FAILED
//
// The wait is the kernel's (mcast_solicit + app_solicit) x retrans_time_ms
// of the interface, three seconds by default; this class only adds a safety
// bound well above it, so that a lost notification cannot hang the caller.
class ArpResolverLinux final : public ArpResolver {
 public:
  ArpResolverLinux();
  ~ArpResolverLinux() override;
  ArpResolverLinux(const ArpResolverLinux&) = delete;
  ArpResolverLinux& operator=(const ArpResolverLinux&) = delete;

  std::optional<MacAddress> Resolve(std::uint32_t address) override;

  // What the last Resolve saw, for people reading a tool's output:
  // "resolved REACHABLE", "cached STALE", "own address on lan0",
  // "off-link", "kernel FAILED" ...
  const std::string& LastDetail() const { return FLastDetail; }

  // The longest a lookup on interfaceName may wait for the kernel: three
  // times the kernel's own wait, and at least a second more than it.
  static std::chrono::milliseconds SafetyBound(const std::string& interfaceName);

 private:
  struct Sockets;

  std::optional<MacAddress> ResolveOnLink(Sockets& sockets, std::uint32_t address);
  std::optional<MacAddress> Fail(std::string detail);

  // Opened with the resolver and kept between lookups, since a scan asks
  // hundreds in a row; dropped after any failure and opened again by the
  // next lookup.
  std::unique_ptr<Sockets> FSockets;
  std::string FLastDetail;
  // Cleared for good when the kernel turns down single-entry neighbour reads.
  bool FSingleNeighbourGet = true;
};

}  // namespace platform
