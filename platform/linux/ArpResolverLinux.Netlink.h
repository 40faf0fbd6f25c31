#pragma once

// The rtnetlink plumbing of ArpResolverLinux: a socket that asks the kernel
// and hears its notifications, and the four questions the resolver asks
// (route, link, address owner, neighbour entry). Only the resolver's own
// files include this header.

#include <linux/netlink.h>
#include <linux/rtnetlink.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace platform::netlink {

// Owns one file descriptor and closes it on every path.
class Descriptor {
 public:
  Descriptor() = default;
  explicit Descriptor(int value) : FValue(value) {}
  ~Descriptor();
  Descriptor(Descriptor&& other) noexcept;
  Descriptor& operator=(Descriptor&& other) noexcept;
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Value() const { return FValue; }
  bool IsOpen() const { return FValue >= 0; }

 private:
  int FValue = -1;
};

// One request: a header, the fixed part of the message and attributes.
class Request {
 public:
  Request(std::uint16_t type, std::uint16_t flags, const void* body, std::size_t length);

  void AddAttribute(std::uint16_t type, const void* data, std::size_t length);
  nlmsghdr* Header() { return reinterpret_cast<nlmsghdr*>(FBuffer); }

 private:
  // Our requests are a fixed part and one address: far below this size.
  alignas(nlmsghdr) unsigned char FBuffer[128] = {};
};

using MessageHandler = std::function<void(const nlmsghdr& message)>;

// An rtnetlink socket. Failures of the socket itself are thrown as
// std::system_error; the kernel's answer to a request is a return value.
class Socket {
 public:
  // groups: the notification groups to join (RTMGRP_NEIGH), 0 for none.
  explicit Socket(std::uint32_t groups);

  int Value() const { return FDescriptor.Value(); }

  // Sends the request and hands every message of the answer to handler.
  // Returns 0, or the positive error number of the kernel's refusal
  // (ENOENT for a neighbour that does not exist). A reply that does not come
  // within a couple of seconds is thrown as an error, so a lost reply never
  // hangs the caller.
  int Transact(Request& request, const MessageHandler& handler);

  // Joins or leaves a notification group (RTNLGRP_NEIGH) of an open socket.
  void JoinGroup(unsigned group);
  void LeaveGroup(unsigned group);

  // Hands every queued notification to handler without waiting. Returns
  // false when the kernel had to drop some (the socket overran), so the
  // caller must read the state again instead of trusting the stream.
  bool ReadNotifications(const MessageHandler& handler);

 private:
  Descriptor FDescriptor;
  std::uint32_t FPort = 0;
  std::uint32_t FSequence = 0;
  std::vector<unsigned char> FBuffer;
};

struct Route {
  int Error = 0;                // positive error number when there is no route
  unsigned Type = RTN_UNSPEC;   // RTN_UNICAST, RTN_LOCAL, RTN_BROADCAST ...
  int OutputInterface = 0;
  bool ViaGateway = false;      // a gateway that is not the address itself
};

struct Link {
  bool Found = false;
  unsigned HardwareType = 0;    // ARPHRD_*
  unsigned Flags = 0;           // IFF_*
  std::string Name;
  std::vector<std::uint8_t> Address;
};

struct Neighbour {
  bool Found = false;
  std::uint16_t State = 0;      // NUD_*
  std::vector<std::uint8_t> LinkAddress;
};

// address in network byte order throughout.
Route QueryRoute(Socket& socket, std::uint32_t address);
Link QueryLink(Socket& socket, int interfaceIndex);
// The interface that carries address as one of its own, 0 when none does.
int FindAddressOwner(Socket& socket, std::uint32_t address);

// Reads the neighbour entry (interfaceIndex, address). A kernel without the
// single-entry read (before 5.0) refuses it; then singleGet is cleared and
// the table is dumped and searched instead, now and in later calls.
Neighbour QueryNeighbour(Socket& socket, int interfaceIndex, std::uint32_t address,
                         bool& singleGet);

// When message is a neighbour notification or answer about (interfaceIndex,
// address), stores what it says in entry (a deletion leaves Found false)
// and returns true.
bool ReadNeighbour(const nlmsghdr& message, int interfaceIndex, std::uint32_t address,
                   Neighbour& entry);

// "REACHABLE", "STALE" ... for diagnostics.
const char* NeighbourStateName(std::uint16_t state);

}  // namespace platform::netlink
