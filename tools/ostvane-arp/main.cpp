// ostvane-arp: resolves IPv4 addresses of the local link to MAC addresses
// with the resolver the scanner uses, and prints what it got and how long
// it took. See Usage below.

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ArpResolver.h"
#include "platform/linux/ArpResolverLinux.h"

namespace {

constexpr std::string_view Usage =
    "usage: ostvane-arp [-v] ADDRESS...\n"
    "Resolves each IPv4 address to its MAC address through the kernel's ARP,\n"
    "one after another, and prints one line per address:\n"
    "  ADDRESS MAC ELAPSED        e.g. 192.168.1.7 02-00-00-00-01-07 0.6ms\n"
    "MAC is \"none\" when the address did not answer (a silent host, an address\n"
    "behind a gateway, a broadcast address, text that is no address).\n"
    "ADDRESS is any form inet_addr reads (192.168.1.7, 127.1, 0x7f.1), or\n"
    "A.B.C.X-Y for A.B.C.X up to A.B.C.Y in ascending order.\n"
    "  -v, --verbose  add a fourth field: what the lookup saw (cached,\n"
    "                 resolved, off-link, kernel FAILED ...)\n"
    "  -h, --help     print this help and exit with status 0\n"
    "Exit status: 0 every address answered, 1 some did not, 2 bad usage.\n"
    "It sends ARP requests: run it only on a network you may probe.\n";

int BadUsage(const std::string& why) {
  if (!why.empty()) std::fprintf(stderr, "ostvane-arp: %s\n", why.c_str());
  std::fputs(Usage.data(), stderr);
  return 2;
}

bool ParseOctet(std::string_view text, unsigned& value) {
  if (text.empty() || text.size() > 3) return false;
  value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value <= 255;
}

bool IsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Adds the addresses argument names. A.B.C.X-Y (an address, a dash and a
// number) gives A.B.C.X ... A.B.C.Y, written the way the user wrote A.B.C;
// anything else is one address and is passed as it stands, like the scan
// does. False for a range that is reversed or leaves 0..255.
bool ExpandArgument(const std::string& argument, std::vector<std::string>& addresses) {
  const auto dash = argument.find('-');
  const std::string first = argument.substr(0, dash);
  const auto lastDot = first.rfind('.');
  if (dash == std::string::npos || lastDot == std::string::npos ||
      platform::InetAddr(first) == platform::InetNone || !IsDigits(std::string_view(argument).substr(dash + 1))) {
    addresses.push_back(argument);
    return true;
  }
  unsigned from = 0;
  unsigned to = 0;
  if (!ParseOctet(std::string_view(first).substr(lastDot + 1), from) ||
      !ParseOctet(std::string_view(argument).substr(dash + 1), to) || to < from) {
    return false;
  }
  const std::string prefix = first.substr(0, lastDot + 1);
  for (unsigned host = from; host <= to; ++host) addresses.push_back(prefix + std::to_string(host));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  bool verbose = false;
  bool optionsEnded = false;
  std::vector<std::string> addresses;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (!optionsEnded && argument.starts_with('-')) {
      if (argument == "-h" || argument == "--help") {
        std::fputs(Usage.data(), stdout);
        return 0;
      }
      if (argument == "-v" || argument == "--verbose") {
        verbose = true;
      } else if (argument == "--") {
        optionsEnded = true;
      } else {
        return BadUsage("unknown option " + argument);
      }
      continue;
    }
    if (!ExpandArgument(argument, addresses)) return BadUsage("not a range A.B.C.X-Y: " + argument);
  }
  if (addresses.empty()) return BadUsage({});

  platform::ArpResolverLinux resolver;
  bool allAnswered = true;
  for (const std::string& address : addresses) {
    const auto start = std::chrono::steady_clock::now();
    const auto mac = resolver.Resolve(platform::InetAddr(address));
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    // A success without bytes cannot be told from silence in the scan log
    // either, so it is shown the same way.
    const std::string macText = mac ? platform::FormatMac(*mac) : std::string();
    if (macText.empty()) allAnswered = false;
    std::printf("%s %s %.1fms", address.c_str(), macText.empty() ? "none" : macText.c_str(),
                elapsed.count());
    if (verbose) std::printf(" %s", resolver.LastDetail().empty() ? "-" : resolver.LastDetail().c_str());
    std::printf("\n");
    // One line per lookup as it ends: a sweep of silent hosts takes minutes.
    std::fflush(stdout);
  }
  return allAnswered ? 0 : 1;
}
