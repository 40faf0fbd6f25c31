// ostvane-arp, and through it the Linux resolver, in the project's virtual
// LAN: run as the user nobody inside the scanner namespace, against live
// hosts, silent addresses, our own address and addresses that must fail
// without sending anything. Each test builds the LAN afresh and removes it.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "VirtualLan.h"

namespace {

namespace fs = std::filesystem;
using netns::CommandResult;
using netns::VirtualLan;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

struct ResultLine {
  std::string Address;
  std::string Mac;
  std::string Elapsed;
};

std::vector<ResultLine> ResultLines(const std::string& output) {
  std::vector<ResultLine> lines;
  std::istringstream stream(output);
  std::string text;
  while (std::getline(stream, text)) {
    std::istringstream fields(text);
    ResultLine line;
    fields >> line.Address >> line.Mac >> line.Elapsed;
    lines.push_back(line);
  }
  return lines;
}

// "0.6ms": milliseconds with one decimal.
bool IsElapsedText(const std::string& text) {
  const auto point = text.find('.');
  auto digits = [](std::string_view part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return point != std::string::npos && text.ends_with("ms") && text.size() == point + 4 &&
         digits(std::string_view(text).substr(0, point)) && digits(std::string_view(text).substr(point + 1, 1));
}

std::string HostAddress(int host) { return "192.168.1." + std::to_string(host); }

std::string HostMac(int host) {
  char text[18];
  std::snprintf(text, sizeof text, "02-00-00-00-01-%02X", host);
  return text;
}

class ArpLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string unavailable = VirtualLan::Unavailable();
    if (!unavailable.empty()) GTEST_SKIP() << unavailable;
    const fs::path tool = fs::path(OSTVANE_BINARY_DIR) / "tools/ostvane-arp/ostvane-arp";
    ASSERT_TRUE(fs::exists(tool)) << tool << " is not built (target ostvane-arp)";
    Tool = std::make_unique<netns::PublicCopy>(tool);
    ASSERT_TRUE(Lan.Up()) << "scripts/lan.sh up failed";
    // One request of 100 ms: a silent address costs a tenth of a second.
    ASSERT_EQ(Lan.Script({"silent-fast", "100", "1"}).ExitStatus, 0);
  }

  void TearDown() override { Lan.Down(); }

  CommandResult Arp(const std::vector<std::string>& arguments, int fileLimit = 0) {
    std::vector<std::string> command = {Tool->Path().string()};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return Lan.AsNobody(command, fileLimit);
  }

  // The state ip shows for address in the scanner's table, "" when absent.
  std::string NeighbourState(const std::string& address) {
    std::istringstream table(Lan.Neighbours());
    std::string line;
    while (std::getline(table, line)) {
      if (line.starts_with(address + " ")) {
        std::istringstream words(line);
        std::string word;
        std::string last;
        while (words >> word) last = word;
        return last;
      }
    }
    return {};
  }

  void FlushNeighbours() { ASSERT_EQ(Lan.InScanner({"ip", "neigh", "flush", "dev", "lan0"}).ExitStatus, 0); }

  VirtualLan Lan;
  std::unique_ptr<netns::PublicCopy> Tool;
};

TEST_F(ArpLookup, LiveHostsAnswerWithTheirMacs) {
  std::vector<std::string> addresses;
  for (int host : VirtualLan::LiveHosts) addresses.push_back(HostAddress(host));
  const CommandResult result = Arp(addresses);
  EXPECT_EQ(result.ExitStatus, 0) << result.Output;
  const auto lines = ResultLines(result.Output);
  ASSERT_EQ(lines.size(), addresses.size()) << result.Output;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int host = VirtualLan::LiveHosts[i];
    EXPECT_EQ(lines[i].Address, HostAddress(host));
    EXPECT_EQ(lines[i].Mac, HostMac(host));
    EXPECT_TRUE(IsElapsedText(lines[i].Elapsed)) << lines[i].Elapsed;
  }
  // .254 is the one whose MAC has letters: upper case.
  EXPECT_EQ(lines.back().Mac, "02-00-00-00-01-FE");
}

TEST_F(ArpLookup, AnswerAlreadyInTheNeighbourTableIsUsed) {
  // Nobody owns .60; only the table can give this answer.
  ASSERT_EQ(Lan.InScanner({"ip", "neigh", "replace", "192.168.1.60", "lladdr", "02:00:00:00:00:60", "dev",
                           "lan0", "nud", "permanent"})
                .ExitStatus,
            0);
  const CommandResult result = Arp({"192.168.1.60"});
  EXPECT_EQ(result.ExitStatus, 0);
  EXPECT_EQ(ResultLines(result.Output).at(0).Mac, "02-00-00-00-00-60");
}

TEST_F(ArpLookup, SilentAddressesFailAfterTheKernelGaveUp) {
  // .0 is an ordinary address in a /24, not a broadcast one: it is asked for.
  const CommandResult result = Arp({"192.168.1.50", "192.168.1.0"});
  EXPECT_EQ(result.ExitStatus, 1);
  const auto lines = ResultLines(result.Output);
  ASSERT_EQ(lines.size(), 2u) << result.Output;
  EXPECT_EQ(lines[0].Mac, "none");
  EXPECT_EQ(lines[1].Mac, "none");
  // The kernel did try: it holds FAILED entries for both.
  EXPECT_EQ(NeighbourState("192.168.1.50"), "FAILED");
  EXPECT_EQ(NeighbourState("192.168.1.0"), "FAILED");
}

TEST_F(ArpLookup, FailedAddressIsAskedForAgainAndFoundWhenItArrives) {
  ASSERT_EQ(Lan.Script({"host", "7", "ip", "link", "set", "lan0", "down"}).ExitStatus, 0);
  EXPECT_EQ(ResultLines(Arp({"192.168.1.7"}).Output).at(0).Mac, "none");
  ASSERT_EQ(NeighbourState("192.168.1.7"), "FAILED");
  ASSERT_EQ(Lan.Script({"host", "7", "ip", "link", "set", "lan0", "up"}).ExitStatus, 0);
  const CommandResult result = Arp({"192.168.1.7"});
  EXPECT_EQ(result.ExitStatus, 0) << result.Output;
  EXPECT_EQ(ResultLines(result.Output).at(0).Mac, HostMac(7));
}

TEST_F(ArpLookup, OwnAddressAnswersItsInterfaceMacAndLoopbackDoesNot) {
  const CommandResult own = Arp({VirtualLan::ScannerAddress});
  EXPECT_EQ(own.ExitStatus, 0);
  EXPECT_EQ(ResultLines(own.Output).at(0).Mac, VirtualLan::ScannerMac);
  // The loopback device's MAC is all zeros: no answer.
  const CommandResult loopback = Arp({"127.0.0.1", "127.1"});
  EXPECT_EQ(loopback.ExitStatus, 1);
  const auto lines = ResultLines(loopback.Output);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].Mac, "none");
  EXPECT_EQ(lines[1].Mac, "none");
}

TEST_F(ArpLookup, AddressBehindAGatewayFailsWithoutAsking) {
  FlushNeighbours();
  const CommandResult result = Arp({"198.51.100.7"});
  EXPECT_EQ(result.ExitStatus, 1);
  EXPECT_EQ(ResultLines(result.Output).at(0).Mac, "none");
  // Nothing was sent: not even the gateway .1 was looked up.
  EXPECT_THAT(Lan.Neighbours(), IsEmpty());
}

TEST_F(ArpLookup, BroadcastMulticastUnroutableAndNonAddressesFailWithoutAsking) {
  FlushNeighbours();
  const std::vector<std::string> addresses = {"192.168.1.255", "255.255.255.255", "224.0.0.1",
                                              "10.9.9.9",      "0.0.0.0",         "not-an-address"};
  const CommandResult result = Arp(addresses);
  EXPECT_EQ(result.ExitStatus, 1);
  const auto lines = ResultLines(result.Output);
  ASSERT_EQ(lines.size(), addresses.size()) << result.Output;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].Address, addresses[i]);
    EXPECT_EQ(lines[i].Mac, "none") << addresses[i];
  }
  EXPECT_THAT(Lan.Neighbours(), IsEmpty());
}

TEST_F(ArpLookup, StaleEntryOfDepartedHostIsAnsweredOnceThenRechecked) {
  // The kernel re-checks a STALE entry only when something is sent to it.
  ASSERT_EQ(Lan.InScanner({"sysctl", "-qw", "net.ipv4.neigh.lan0.delay_first_probe_time=1"}).ExitStatus, 0);
  ASSERT_EQ(Lan.InScanner({"ip", "neigh", "replace", "192.168.1.7", "lladdr", "02:00:00:00:01:07", "dev",
                           "lan0", "nud", "stale"})
                .ExitStatus,
            0);
  ASSERT_EQ(Lan.Script({"host", "7", "ip", "link", "set", "lan0", "down"}).ExitStatus, 0);

  const CommandResult first = Arp({"192.168.1.7"});
  EXPECT_EQ(ResultLines(first.Output).at(0).Mac, HostMac(7));

  // delay_first_probe_time (1 s) and 3 unicast probes of 100 ms; the bound
  // only keeps a broken resolver from hanging the test.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(15);
  while (NeighbourState("192.168.1.7") != "FAILED" && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_EQ(NeighbourState("192.168.1.7"), "FAILED") << "the lookup did not make the kernel re-check";

  const CommandResult second = Arp({"192.168.1.7"});
  EXPECT_EQ(second.ExitStatus, 1);
  EXPECT_EQ(ResultLines(second.Output).at(0).Mac, "none");
}

TEST_F(ArpLookup, RangeIsLookedUpInAscendingOrder) {
  const CommandResult mixed = Arp({"192.168.1.6-8"});
  EXPECT_EQ(mixed.ExitStatus, 1);
  const auto lines = ResultLines(mixed.Output);
  ASSERT_EQ(lines.size(), 3u) << mixed.Output;
  EXPECT_EQ(lines[0].Address, "192.168.1.6");
  EXPECT_EQ(lines[0].Mac, "none");
  EXPECT_EQ(lines[1].Address, "192.168.1.7");
  EXPECT_EQ(lines[1].Mac, HostMac(7));
  EXPECT_EQ(lines[2].Address, "192.168.1.8");
  EXPECT_EQ(lines[2].Mac, "none");

  EXPECT_EQ(Arp({"192.168.1.20-21"}).ExitStatus, 0);
}

TEST_F(ArpLookup, BadUsageExitsWithTwoAndHelpWithZero) {
  EXPECT_EQ(Arp({}).ExitStatus, 2);
  EXPECT_EQ(Arp({"--no-such-option"}).ExitStatus, 2);
  EXPECT_EQ(Arp({"192.168.1.9-3"}).ExitStatus, 2);
  EXPECT_EQ(Arp({"192.168.1.1-256"}).ExitStatus, 2);
  const CommandResult help = Arp({"--help"});
  EXPECT_EQ(help.ExitStatus, 0);
  EXPECT_THAT(help.Output, HasSubstr("usage: ostvane-arp"));
}

TEST_F(ArpLookup, SweepFindsExactlyTheLiveHostsAndItselfWithFewDescriptors) {
  // Short kernel waits keep the 247 silent addresses to a few seconds; the
  // descriptor limit turns any socket left open into missing answers.
  ASSERT_EQ(Lan.Script({"silent-fast", "10", "1"}).ExitStatus, 0);
  const CommandResult result = Arp({"192.168.1.1-254"}, 16);
  EXPECT_EQ(result.ExitStatus, 1);
  const auto lines = ResultLines(result.Output);
  ASSERT_EQ(lines.size(), 254u);
  std::vector<std::string> answered;
  for (const auto& line : lines) {
    if (line.Mac != "none") answered.push_back(line.Address + " " + line.Mac);
  }
  EXPECT_THAT(answered,
              ElementsAre("192.168.1.1 " + HostMac(1), "192.168.1.7 " + HostMac(7), "192.168.1.20 " + HostMac(20),
                          "192.168.1.21 " + HostMac(21), "192.168.1.100 " + HostMac(100),
                          "192.168.1.200 " + std::string(VirtualLan::ScannerMac), "192.168.1.254 " + HostMac(254)));
}

}  // namespace
