// The resolver's address and MAC texts, and the scripted resolver the scan
// tests run on. Nothing here sends a packet: the Linux resolver is tested in
// the virtual LAN (tests/netns).

#include "platform/ArpResolver.h"

#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/headless/ScriptedArpResolver.h"

namespace platform {
namespace {

using ::testing::ElementsAre;

// The value inet_addr gives for a.b.c.d: network byte order.
std::uint32_t Address(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
  const std::uint8_t bytes[4] = {a, b, c, d};
  std::uint32_t value = 0;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

TEST(InetAddr, DottedQuadIsInNetworkByteOrder) {
  const std::uint32_t value = InetAddr("192.168.1.7");
  EXPECT_EQ(value, Address(192, 168, 1, 7));
  unsigned char bytes[4];
  std::memcpy(bytes, &value, sizeof bytes);
  EXPECT_THAT(bytes, ElementsAre(192, 168, 1, 7));
}

TEST(InetAddr, ShortFormsFillTheLastPartFromTheRight) {
  EXPECT_EQ(InetAddr("127.1"), Address(127, 0, 0, 1));
  EXPECT_EQ(InetAddr("10.1.2"), Address(10, 1, 0, 2));
  EXPECT_EQ(InetAddr("3232235777"), Address(192, 168, 1, 1));
  EXPECT_EQ(InetAddr("10.65535"), Address(10, 0, 255, 255));
}

TEST(InetAddr, LeadingZeroMeansOctalAndZeroXMeansHexadecimal) {
  EXPECT_EQ(InetAddr("010.0.0.1"), Address(8, 0, 0, 1));
  // An octet edit holding "010" reaches the resolver as octal.
  EXPECT_EQ(InetAddr("192.168.010.7"), Address(192, 168, 8, 7));
  EXPECT_EQ(InetAddr("0x7f.1"), Address(127, 0, 0, 1));
  EXPECT_EQ(InetAddr("0XC0.0xa8.1.7"), Address(192, 168, 1, 7));
  EXPECT_EQ(InetAddr("0.0.0.0"), Address(0, 0, 0, 0));
}

TEST(InetAddr, TextThatIsNoAddressGivesNone) {
  for (const char* text : {"", "256.1.1.1", "1.2.3.256", "1.2.3.4.5", "a.b.c.d", " 1.2.3.4",
                           "08.1.1.1", "1..2.3", "1.2.3.", "-1.2.3.4", "4294967296"}) {
    EXPECT_EQ(InetAddr(text), InetNone) << '"' << text << '"';
  }
}

TEST(InetAddr, EmbeddedNulIsNoAddress) {
  // The C library would read "1.2.3.4" and ignore the rest.
  EXPECT_EQ(InetAddr(std::string("1.2.3.4\0junk", 12)), InetNone);
  EXPECT_EQ(InetAddr(std::string("1.2.3.4", 7)), Address(1, 2, 3, 4));
}

TEST(InetAddr, AllOnesCannotBeToldFromNone) {
  EXPECT_EQ(InetAddr("255.255.255.255"), InetNone);
}

TEST(FormatInetAddr, GivesDottedDecimal) {
  EXPECT_EQ(FormatInetAddr(Address(192, 168, 1, 254)), "192.168.1.254");
  EXPECT_EQ(FormatInetAddr(InetAddr("010.0.0.1")), "8.0.0.1");
  EXPECT_EQ(FormatInetAddr(Address(0, 0, 0, 0)), "0.0.0.0");
}

TEST(FormatMac, UpperCaseHexadecimalPairsJoinedByDashes) {
  EXPECT_EQ(FormatMac(MacAddress::FromBytes({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E})), "00-1A-2B-3C-4D-5E");
  EXPECT_EQ(FormatMac(MacAddress::FromBytes({0x02, 0x00, 0x00, 0x00, 0x01, 0xfe})), "02-00-00-00-01-FE");
  EXPECT_EQ(FormatMac(MacAddress::FromBytes({0xab, 0xcd, 0xef, 0xff, 0x09, 0xa0})), "AB-CD-EF-FF-09-A0");
}

TEST(FormatMac, ShortAnswersHaveNoTrailingDash) {
  EXPECT_EQ(FormatMac(MacAddress{}), "");
  // One byte: no "-" at all, which the scan counts as no answer.
  EXPECT_EQ(FormatMac(MacAddress::FromBytes({0x0a})), "0A");
  EXPECT_EQ(FormatMac(MacAddress::FromBytes({0x0a, 0x0b})), "0A-0B");
}

TEST(MacAddress, FromBytesKeepsAtMostSixBytes) {
  const std::vector<std::uint8_t> eight = {1, 2, 3, 4, 5, 6, 7, 8};
  const MacAddress mac = MacAddress::FromBytes(eight);
  EXPECT_EQ(mac.Length, 6u);
  EXPECT_EQ(FormatMac(mac), "01-02-03-04-05-06");
}

TEST(MacAddress, EqualityLooksOnlyAtTheUsedBytes) {
  MacAddress left = MacAddress::FromBytes({1, 2});
  MacAddress right = MacAddress::FromBytes({1, 2});
  right.Bytes[4] = 0x77;  // beyond Length
  EXPECT_EQ(left, right);
  EXPECT_NE(left, MacAddress::FromBytes({1, 2, 0}));
  EXPECT_NE(left, MacAddress::FromBytes({1, 3}));
}

class ScriptedArpResolverTest : public ::testing::Test {
 protected:
  const MacAddress Host7 = MacAddress::FromBytes({0x02, 0, 0, 0, 0x01, 0x07});
  const MacAddress Host9 = MacAddress::FromBytes({0x02, 0, 0, 0, 0x01, 0x09});
  ScriptedArpResolver Resolver;
};

TEST_F(ScriptedArpResolverTest, AnswersFromItsTableAndNothingElse) {
  Resolver.SetAnswer("192.168.1.7", Host7);
  EXPECT_EQ(Resolver.Resolve(InetAddr("192.168.1.7")), Host7);
  EXPECT_EQ(Resolver.Resolve(InetAddr("192.168.1.8")), std::nullopt);
  Resolver.RemoveAnswer("192.168.1.7");
  EXPECT_EQ(Resolver.Resolve(InetAddr("192.168.1.7")), std::nullopt);
}

TEST_F(ScriptedArpResolverTest, TableIsKeyedByTheParsedAddress) {
  Resolver.SetAnswer(Address(192, 168, 8, 7), Host7);
  EXPECT_EQ(Resolver.Resolve(InetAddr("192.168.010.7")), Host7);
}

TEST_F(ScriptedArpResolverTest, AnswerWithoutBytesIsStillASuccess) {
  Resolver.SetAnswer("10.0.0.1", MacAddress{});
  const auto answer = Resolver.Resolve(InetAddr("10.0.0.1"));
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->Length, 0u);
}

TEST_F(ScriptedArpResolverTest, NoneNeverAnswersWhateverTheTableSays) {
  Resolver.SetAnswer(InetNone, Host7);
  EXPECT_EQ(Resolver.Resolve(InetAddr("not an address")), std::nullopt);
  EXPECT_THAT(Resolver.Requests(), ElementsAre(InetNone));
}

TEST_F(ScriptedArpResolverTest, RecordsEveryRequestInOrderAnsweredOrNot) {
  Resolver.SetAnswer("192.168.1.7", Host7);
  for (const char* text : {"192.168.1.9", "192.168.1.7", "192.168.1.9"}) Resolver.Resolve(InetAddr(text));
  EXPECT_THAT(Resolver.RequestTexts(), ElementsAre("192.168.1.9", "192.168.1.7", "192.168.1.9"));
  EXPECT_THAT(Resolver.Requests(),
              ElementsAre(Address(192, 168, 1, 9), Address(192, 168, 1, 7), Address(192, 168, 1, 9)));
  Resolver.ClearRequests();
  EXPECT_TRUE(Resolver.Requests().empty());
}

TEST_F(ScriptedArpResolverTest, HookRunsInsideTheRequestAndItsChangesApplyToIt) {
  std::vector<std::string> seen;
  Resolver.SetRequestHook([&](std::uint32_t address) {
    seen.push_back(FormatInetAddr(address));
    // The host arrives while it is being looked up.
    Resolver.SetAnswer(address, Host9);
    // Already recorded when the hook runs.
    EXPECT_EQ(Resolver.Requests().back(), address);
  });
  EXPECT_EQ(Resolver.Resolve(InetAddr("192.168.1.9")), Host9);
  EXPECT_THAT(seen, ElementsAre("192.168.1.9"));
}

TEST_F(ScriptedArpResolverTest, HookMayRemoveItselfWhileRunning) {
  int calls = 0;
  Resolver.SetRequestHook([&](std::uint32_t) {
    ++calls;
    Resolver.SetRequestHook({});
  });
  Resolver.Resolve(InetAddr("192.168.1.1"));
  Resolver.Resolve(InetAddr("192.168.1.2"));
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(Resolver.Requests().size(), 2u);
}

TEST_F(ScriptedArpResolverTest, WorksThroughTheInterface) {
  Resolver.SetAnswer("192.168.1.7", Host7);
  ArpResolver& resolver = Resolver;
  const auto answer = resolver.Resolve(InetAddr("192.168.1.7"));
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(FormatMac(*answer), "02-00-00-00-01-07");
}

}  // namespace
}  // namespace platform
