#include "platform/linux/ArpResolverLinux.h"

#include <linux/if_arp.h>
#include <linux/neighbour.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "platform/linux/ArpResolverLinux.Netlink.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// How often the entry is read again while waiting, in case the kernel
// dropped a notification.
constexpr auto RereadInterval = 250ms;

// The discard port: a live host answers "port unreachable" at most.
constexpr std::uint16_t TriggerPort = 9;

// States whose link-layer address the kernel itself would use to send.
constexpr std::uint16_t ValidStates =
    NUD_PERMANENT | NUD_NOARP | NUD_REACHABLE | NUD_PROBE | NUD_STALE | NUD_DELAY;

long NeighbourParameter(const std::string& interfaceName, const char* key, long fallback) {
  std::ifstream file("/proc/sys/net/ipv4/neigh/" + interfaceName + "/" + key);
  long value = 0;
  return (file >> value) && value >= 0 ? value : fallback;
}

bool IsUsableHardwareAddress(const std::vector<std::uint8_t>& address) {
  // An all-zero address (the loopback device's) names no machine.
  return !address.empty() && address.size() <= MacAddress::MaxLength &&
         std::any_of(address.begin(), address.end(), [](std::uint8_t b) { return b != 0; });
}

bool HasAnswer(const netlink::Neighbour& entry) {
  return entry.Found && (entry.State & ValidStates) && IsUsableHardwareAddress(entry.LinkAddress);
}

netlink::Descriptor OpenTriggerSocket() {
  netlink::Descriptor udp(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
  if (!udp.IsOpen()) throw std::system_error(errno, std::generic_category(), "udp socket");
  return udp;
}

// Neighbour notifications reach the events socket only while a lookup
// waits, so nothing piles up between lookups or scans.
class Listening {
 public:
  explicit Listening(netlink::Socket& socket) : FSocket(socket) { FSocket.JoinGroup(RTNLGRP_NEIGH); }
  ~Listening() {
    try {
      FSocket.LeaveGroup(RTNLGRP_NEIGH);
    } catch (const std::system_error&) {
      // The socket is dropped with the failed lookup anyway.
    }
  }
  Listening(const Listening&) = delete;
  Listening& operator=(const Listening&) = delete;

 private:
  netlink::Socket& FSocket;
};

// An empty datagram: routing sends it to the neighbour layer, which queues
// it and starts resolving (or re-checking a STALE entry). Plain flags only:
// MSG_CONFIRM would mark the entry reachable without any reply.
bool SendTrigger(const netlink::Descriptor& udp, std::uint32_t address) {
  sockaddr_in target{};
  target.sin_family = AF_INET;
  target.sin_port = htons(TriggerPort);
  target.sin_addr.s_addr = address;
  for (;;) {
    if (::sendto(udp.Value(), "", 0, 0, reinterpret_cast<sockaddr*>(&target), sizeof target) == 0) {
      return true;
    }
    if (errno != EINTR) return false;
  }
}

}  // namespace

std::chrono::milliseconds ArpResolverLinux::SafetyBound(const std::string& interfaceName) {
  const long retransmit = NeighbourParameter(interfaceName, "retrans_time_ms", 1000);
  const long multicastProbes = NeighbourParameter(interfaceName, "mcast_solicit", 3);
  const long applicationProbes = NeighbourParameter(interfaceName, "app_solicit", 0);
  const auto kernelWait = std::chrono::milliseconds(
      static_cast<long long>(multicastProbes + applicationProbes) * retransmit);
  return std::max(3 * kernelWait, kernelWait + 1000ms);
}

struct ArpResolverLinux::Sockets {
  netlink::Socket Query{0};
  netlink::Socket Events{0};
  netlink::Descriptor Trigger = OpenTriggerSocket();
};

ArpResolverLinux::ArpResolverLinux() {
  try {
    FSockets = std::make_unique<Sockets>();
  } catch (const std::exception&) {
    // The first lookup tries again and reports the failure.
  }
}

ArpResolverLinux::~ArpResolverLinux() = default;

std::optional<MacAddress> ArpResolverLinux::Fail(std::string detail) {
  FLastDetail = std::move(detail);
  return std::nullopt;
}

std::optional<MacAddress> ArpResolverLinux::Resolve(std::uint32_t address) {
  FLastDetail.clear();
  if (address == InetNone) return Fail("not an address");
  if (address == htonl(INADDR_ANY)) return Fail("unspecified address");
  try {
    if (!FSockets) FSockets = std::make_unique<Sockets>();
    return ResolveOnLink(*FSockets, address);
  } catch (const std::exception& error) {
    // A failure of the system is a lookup without an answer, never more;
    // the next lookup starts with new sockets.
    FSockets.reset();
    return Fail(error.what());
  }
}

std::optional<MacAddress> ArpResolverLinux::ResolveOnLink(Sockets& sockets, std::uint32_t address) {
  netlink::Socket& query = sockets.Query;

  // The kernel decides what is on the link; comparing interface masks here
  // would miss host routes, policy routing and more.
  const netlink::Route route = netlink::QueryRoute(query, address);
  if (route.Error) return Fail(std::string("no route: ") + std::strerror(route.Error));
  if (route.Type == RTN_LOCAL) {
    // A local route names the loopback device; the owner of the address is
    // found in the address list. Own addresses never enter the neighbour table.
    const int owner = netlink::FindAddressOwner(query, address);
    if (!owner) return Fail("local address of no interface");
    const netlink::Link link = netlink::QueryLink(query, owner);
    if (!link.Found || link.HardwareType == ARPHRD_LOOPBACK || !IsUsableHardwareAddress(link.Address)) {
      return Fail("own address on " + link.Name + " without a hardware address");
    }
    FLastDetail = "own address on " + link.Name;
    return MacAddress::FromBytes(link.Address);
  }
  if (route.Type != RTN_UNICAST) return Fail("not a unicast address");
  if (route.ViaGateway) return Fail("off-link");

  const netlink::Link link = netlink::QueryLink(query, route.OutputInterface);
  if (!link.Found) return Fail("route device vanished");
  if ((link.Flags & IFF_NOARP) || link.HardwareType == ARPHRD_LOOPBACK ||
      !IsUsableHardwareAddress(link.Address)) {
    return Fail("no ARP on " + link.Name);
  }
  if (!(link.Flags & IFF_LOWER_UP)) return Fail("no carrier on " + link.Name);

  const int interfaceIndex = route.OutputInterface;
  netlink::Neighbour entry = netlink::QueryNeighbour(query, interfaceIndex, address, FSingleNeighbourGet);
  if (HasAnswer(entry)) {
    // The kernel never re-checks a STALE entry by itself, and one left by a
    // host that has gone can stay for minutes. Sending to it starts the
    // re-check, so the next lookup gets the truth; this one answers now.
    if (entry.State == NUD_STALE) SendTrigger(sockets.Trigger, address);
    FLastDetail = std::string("cached ") + netlink::NeighbourStateName(entry.State);
    return MacAddress::FromBytes(entry.LinkAddress);
  }

  // Listen before sending: the FAILED notice may come before we look again.
  netlink::Socket& events = sockets.Events;
  const Listening listening(events);
  // What is queued belongs to earlier rounds.
  events.ReadNotifications([](const nlmsghdr&) {});
  if (!SendTrigger(sockets.Trigger, address)) return Fail(std::string("trigger: ") + std::strerror(errno));

  const auto deadline = Clock::now() + SafetyBound(link.Name);
  // The send created the pending entry before it returned.
  bool reread = true;
  bool seen = false;
  for (;;) {
    if (reread) {
      entry = netlink::QueryNeighbour(query, interfaceIndex, address, FSingleNeighbourGet);
      reread = false;
    }
    if (HasAnswer(entry)) {
      FLastDetail = std::string("resolved ") + netlink::NeighbourStateName(entry.State);
      return MacAddress::FromBytes(entry.LinkAddress);
    }
    if (entry.Found) {
      if (entry.State == NUD_FAILED) return Fail("kernel FAILED");
      if (entry.State & ValidStates) return Fail("unusable hardware address");
      seen = true;
    } else if (seen) {
      // Someone flushed the pending entry: the kernel stopped resolving.
      return Fail("entry removed");
    }

    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    if (left <= 0ms) {
      return Fail(std::string("no answer within the safety bound, entry ") +
                  (entry.Found ? netlink::NeighbourStateName(entry.State) : "absent"));
    }
    pollfd wait{events.Value(), POLLIN, 0};
    const auto timeout = std::min<std::chrono::milliseconds>(left, RereadInterval);
    const int ready = ::poll(&wait, 1, static_cast<int>(timeout.count()));
    if (ready < 0 && errno != EINTR) throw std::system_error(errno, std::generic_category(), "poll");
    if (ready <= 0) {
      reread = true;
      continue;
    }
    const bool complete = events.ReadNotifications([&](const nlmsghdr& message) {
      netlink::Neighbour update;
      if (netlink::ReadNeighbour(message, interfaceIndex, address, update)) entry = std::move(update);
    });
    if (!complete || !entry.Found) reread = true;
  }
}

std::unique_ptr<ArpResolver> CreateSystemArpResolver() { return std::make_unique<ArpResolverLinux>(); }

}  // namespace platform
