#include "platform/linux/ArpResolverLinux.Netlink.h"

#include <linux/neighbour.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>
#include <utility>

namespace platform::netlink {
namespace {

// Room for any single message and for a dump batch, which the kernel sizes
// to at most 32 KiB.
constexpr std::size_t ReceiveBufferSize = 64 * 1024;

// The kernel queues a reply before its sendto returns; waiting longer than
// this means the reply was lost.
constexpr int ReplyTimeoutSeconds = 2;

[[noreturn]] void ThrowSystemError(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

// Fills table[type] with the attribute of that type; missing ones stay null.
template <std::size_t N>
void ParseAttributes(const rtattr* (&table)[N], const void* first, int length) {
  for (auto& entry : table) entry = nullptr;
  for (auto* attribute = static_cast<const rtattr*>(first); RTA_OK(attribute, length);
       attribute = RTA_NEXT(attribute, length)) {
    if (attribute->rta_type < N) table[attribute->rta_type] = attribute;
  }
}

std::vector<std::uint8_t> AttributeBytes(const rtattr* attribute) {
  if (!attribute) return {};
  auto* data = static_cast<const std::uint8_t*>(RTA_DATA(attribute));
  return std::vector<std::uint8_t>(data, data + RTA_PAYLOAD(attribute));
}

bool AttributeIsAddress(const rtattr* attribute, std::uint32_t address) {
  return attribute && RTA_PAYLOAD(attribute) == sizeof address &&
         std::memcmp(RTA_DATA(attribute), &address, sizeof address) == 0;
}

}  // namespace

// ---- Descriptor

Descriptor::~Descriptor() {
  if (FValue >= 0) ::close(FValue);
}

Descriptor::Descriptor(Descriptor&& other) noexcept : FValue(std::exchange(other.FValue, -1)) {}

Descriptor& Descriptor::operator=(Descriptor&& other) noexcept {
  if (this != &other) {
    if (FValue >= 0) ::close(FValue);
    FValue = std::exchange(other.FValue, -1);
  }
  return *this;
}

// ---- Request

Request::Request(std::uint16_t type, std::uint16_t flags, const void* body, std::size_t length) {
  // Our own fixed-size bodies only; a larger one is a programming error.
  if (NLMSG_SPACE(length) > sizeof FBuffer) throw std::length_error("netlink request too large");
  nlmsghdr* header = Header();
  header->nlmsg_len = static_cast<std::uint32_t>(NLMSG_LENGTH(length));
  header->nlmsg_type = type;
  header->nlmsg_flags = static_cast<std::uint16_t>(NLM_F_REQUEST | flags);
  std::memcpy(NLMSG_DATA(header), body, length);
}

void Request::AddAttribute(std::uint16_t type, const void* data, std::size_t length) {
  nlmsghdr* header = Header();
  const std::size_t offset = NLMSG_ALIGN(header->nlmsg_len);
  if (offset + RTA_SPACE(length) > sizeof FBuffer) throw std::length_error("netlink request too large");
  auto* attribute = reinterpret_cast<rtattr*>(FBuffer + offset);
  attribute->rta_type = type;
  attribute->rta_len = static_cast<unsigned short>(RTA_LENGTH(length));
  std::memcpy(RTA_DATA(attribute), data, length);
  header->nlmsg_len = static_cast<std::uint32_t>(offset + RTA_ALIGN(attribute->rta_len));
}

// ---- Socket

Socket::Socket(std::uint32_t groups)
    : FDescriptor(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)),
      FBuffer(ReceiveBufferSize) {
  if (!FDescriptor.IsOpen()) ThrowSystemError("netlink socket");
  sockaddr_nl local{};
  local.nl_family = AF_NETLINK;
  local.nl_groups = groups;
  if (::bind(Value(), reinterpret_cast<sockaddr*>(&local), sizeof local) < 0) {
    ThrowSystemError("netlink bind");
  }
  socklen_t length = sizeof local;
  if (::getsockname(Value(), reinterpret_cast<sockaddr*>(&local), &length) < 0) {
    ThrowSystemError("netlink getsockname");
  }
  FPort = local.nl_pid;
  timeval timeout{};
  timeout.tv_sec = ReplyTimeoutSeconds;
  if (::setsockopt(Value(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) < 0) {
    ThrowSystemError("netlink receive timeout");
  }
}

int Socket::Transact(Request& request, const MessageHandler& handler) {
  nlmsghdr* header = request.Header();
  header->nlmsg_seq = ++FSequence;
  header->nlmsg_pid = 0;
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  while (::sendto(Value(), header, header->nlmsg_len, 0, reinterpret_cast<sockaddr*>(&kernel),
                  sizeof kernel) < 0) {
    if (errno != EINTR) ThrowSystemError("netlink send");
  }
  for (;;) {
    const ssize_t received = ::recv(Value(), FBuffer.data(), FBuffer.size(), 0);
    if (received < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        errno = ETIMEDOUT;
        ThrowSystemError("netlink reply");
      }
      ThrowSystemError("netlink receive");
    }
    int length = static_cast<int>(received);
    for (auto* message = reinterpret_cast<const nlmsghdr*>(FBuffer.data()); NLMSG_OK(message, length);
         message = NLMSG_NEXT(message, length)) {
      // Answers to an earlier, abandoned request and notifications are not ours.
      if (message->nlmsg_seq != FSequence || message->nlmsg_pid != FPort) continue;
      if (message->nlmsg_type == NLMSG_DONE) return 0;
      if (message->nlmsg_type == NLMSG_ERROR) {
        if (message->nlmsg_len < NLMSG_LENGTH(sizeof(nlmsgerr))) return EPROTO;
        return -static_cast<const nlmsgerr*>(NLMSG_DATA(message))->error;
      }
      handler(*message);
      if (!(message->nlmsg_flags & NLM_F_MULTI)) return 0;
    }
  }
}

void Socket::JoinGroup(unsigned group) {
  if (::setsockopt(Value(), SOL_NETLINK, NETLINK_ADD_MEMBERSHIP, &group, sizeof group) < 0) {
    ThrowSystemError("netlink join");
  }
}

void Socket::LeaveGroup(unsigned group) {
  if (::setsockopt(Value(), SOL_NETLINK, NETLINK_DROP_MEMBERSHIP, &group, sizeof group) < 0) {
    ThrowSystemError("netlink leave");
  }
}

bool Socket::ReadNotifications(const MessageHandler& handler) {
  bool complete = true;
  for (;;) {
    const ssize_t received = ::recv(Value(), FBuffer.data(), FBuffer.size(), MSG_DONTWAIT);
    if (received < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) return complete;
      if (errno == ENOBUFS) {
        complete = false;
        continue;
      }
      ThrowSystemError("netlink receive");
    }
    int length = static_cast<int>(received);
    for (auto* message = reinterpret_cast<const nlmsghdr*>(FBuffer.data()); NLMSG_OK(message, length);
         message = NLMSG_NEXT(message, length)) {
      handler(*message);
    }
  }
}

// ---- Questions

Route QueryRoute(Socket& socket, std::uint32_t address) {
  rtmsg body{};
  body.rtm_family = AF_INET;
  body.rtm_dst_len = 32;
  Request request(RTM_GETROUTE, 0, &body, sizeof body);
  request.AddAttribute(RTA_DST, &address, sizeof address);
  Route route;
  route.Error = socket.Transact(request, [&](const nlmsghdr& message) {
    if (message.nlmsg_type != RTM_NEWROUTE || message.nlmsg_len < NLMSG_LENGTH(sizeof(rtmsg))) return;
    auto* answer = static_cast<const rtmsg*>(NLMSG_DATA(&message));
    const rtattr* table[RTA_MAX + 1];
    ParseAttributes(table, RTM_RTA(answer), static_cast<int>(RTM_PAYLOAD(&message)));
    route.Type = answer->rtm_type;
    if (table[RTA_OIF] && RTA_PAYLOAD(table[RTA_OIF]) >= sizeof(int)) {
      std::memcpy(&route.OutputInterface, RTA_DATA(table[RTA_OIF]), sizeof(int));
    }
    // A gateway equal to the address itself still means "on the link".
    route.ViaGateway = (table[RTA_GATEWAY] && !AttributeIsAddress(table[RTA_GATEWAY], address)) ||
                       table[RTA_VIA] != nullptr;
  });
  return route;
}

Link QueryLink(Socket& socket, int interfaceIndex) {
  ifinfomsg body{};
  body.ifi_family = AF_UNSPEC;
  body.ifi_index = interfaceIndex;
  Request request(RTM_GETLINK, 0, &body, sizeof body);
  Link link;
  socket.Transact(request, [&](const nlmsghdr& message) {
    if (message.nlmsg_type != RTM_NEWLINK || message.nlmsg_len < NLMSG_LENGTH(sizeof(ifinfomsg))) {
      return;
    }
    auto* answer = static_cast<const ifinfomsg*>(NLMSG_DATA(&message));
    const rtattr* table[IFLA_MAX + 1];
    ParseAttributes(table, IFLA_RTA(answer), static_cast<int>(IFLA_PAYLOAD(&message)));
    link.Found = true;
    link.HardwareType = answer->ifi_type;
    link.Flags = answer->ifi_flags;
    if (table[IFLA_IFNAME]) {
      auto* name = static_cast<const char*>(RTA_DATA(table[IFLA_IFNAME]));
      link.Name.assign(name, strnlen(name, RTA_PAYLOAD(table[IFLA_IFNAME])));
    }
    link.Address = AttributeBytes(table[IFLA_ADDRESS]);
  });
  return link;
}

int FindAddressOwner(Socket& socket, std::uint32_t address) {
  ifaddrmsg body{};
  body.ifa_family = AF_INET;
  Request request(RTM_GETADDR, NLM_F_DUMP, &body, sizeof body);
  int owner = 0;
  // The dump is read to its end even after a match, so that the socket is
  // left clean for the next request.
  socket.Transact(request, [&](const nlmsghdr& message) {
    if (owner || message.nlmsg_type != RTM_NEWADDR ||
        message.nlmsg_len < NLMSG_LENGTH(sizeof(ifaddrmsg))) {
      return;
    }
    auto* answer = static_cast<const ifaddrmsg*>(NLMSG_DATA(&message));
    const rtattr* table[IFA_MAX + 1];
    ParseAttributes(table, IFA_RTA(answer), static_cast<int>(IFA_PAYLOAD(&message)));
    // IFA_LOCAL is the interface's own address; IFA_ADDRESS is the peer's on
    // point-to-point links and the same as IFA_LOCAL elsewhere.
    const rtattr* own = table[IFA_LOCAL] ? table[IFA_LOCAL] : table[IFA_ADDRESS];
    if (AttributeIsAddress(own, address)) owner = static_cast<int>(answer->ifa_index);
  });
  return owner;
}

bool ReadNeighbour(const nlmsghdr& message, int interfaceIndex, std::uint32_t address,
                   Neighbour& entry) {
  if (message.nlmsg_type != RTM_NEWNEIGH && message.nlmsg_type != RTM_DELNEIGH) return false;
  if (message.nlmsg_len < NLMSG_LENGTH(sizeof(ndmsg))) return false;
  auto* body = static_cast<const ndmsg*>(NLMSG_DATA(&message));
  if (body->ndm_family != AF_INET || body->ndm_ifindex != interfaceIndex) return false;
  const rtattr* table[NDA_MAX + 1];
  ParseAttributes(table, reinterpret_cast<const char*>(body) + NLMSG_ALIGN(sizeof *body),
                  static_cast<int>(NLMSG_PAYLOAD(&message, sizeof *body)));
  if (!AttributeIsAddress(table[NDA_DST], address)) return false;
  entry = Neighbour{};
  if (message.nlmsg_type == RTM_NEWNEIGH) {
    entry.Found = true;
    entry.State = body->ndm_state;
    entry.LinkAddress = AttributeBytes(table[NDA_LLADDR]);
  }
  return true;
}

Neighbour QueryNeighbour(Socket& socket, int interfaceIndex, std::uint32_t address,
                         bool& singleGet) {
  ndmsg body{};
  body.ndm_family = AF_INET;
  body.ndm_ifindex = interfaceIndex;
  Neighbour entry;
  auto handler = [&](const nlmsghdr& message) {
    ReadNeighbour(message, interfaceIndex, address, entry);
  };
  if (singleGet) {
    Request request(RTM_GETNEIGH, 0, &body, sizeof body);
    request.AddAttribute(NDA_DST, &address, sizeof address);
    const int error = socket.Transact(request, handler);
    if (error == 0 || error == ENOENT) return entry;
    singleGet = false;
  }
  Request request(RTM_GETNEIGH, NLM_F_DUMP, &body, sizeof body);
  entry = Neighbour{};
  socket.Transact(request, handler);
  return entry;
}

const char* NeighbourStateName(std::uint16_t state) {
  switch (state) {
    case NUD_INCOMPLETE: return "INCOMPLETE";
    case NUD_REACHABLE: return "REACHABLE";
    case NUD_STALE: return "STALE";
    case NUD_DELAY: return "DELAY";
    case NUD_PROBE: return "PROBE";
    case NUD_FAILED: return "FAILED";
    case NUD_NOARP: return "NOARP";
    case NUD_PERMANENT: return "PERMANENT";
    case NUD_NONE: return "NONE";
    default: return "UNKNOWN";
  }
}

}  // namespace platform::netlink
