#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/ScanEngine.h"
#include "core/Exception.h"
#include "platform/headless/ScriptedArpResolver.h"

namespace app {
namespace {

using platform::MacAddress;

struct Balloon {
  std::string Title;
  std::string Text;
  tray::TBalloonKind Kind;
  int TimeoutSeconds;
};

// The main window as the scan sees it: the default inputs of the window,
// a log, the balloons shown, and a queue of "user actions" that only run
// when the scan lets messages be processed, as clicks on a real window do.
class FakeHost : public ScanHost {
 public:
  std::string OctetA = "192", OctetB = "168", OctetC = "1";
  std::string StartText = "1", EndText = "254";
  bool Checked = true;
  std::vector<std::string> Log;
  std::vector<Balloon> Balloons;
  std::deque<std::function<void()>> Pending;
  int ProcessCount = 0;
  platform::ScriptedArpResolver Resolver;

  std::string FirstOctetText() override { return OctetA; }
  std::string SecondOctetText() override { return OctetB; }
  std::string ThirdOctetText() override { return OctetC; }
  std::string FirstHostText() override { return StartText; }
  std::string LastHostText() override { return EndText; }
  bool HideSilentHosts() override { return Checked; }
  void AppendLogLine(const std::string& line) override { Log.push_back(line); }
  void ProcessMessages() override {
    ++ProcessCount;
    while (!Pending.empty()) {
      auto action = std::move(Pending.front());
      Pending.pop_front();
      action();
    }
  }
  bool ShowBalloonMessage(const std::string& title, const std::string& text,
                          tray::TBalloonKind kind, std::uint8_t timeoutSeconds) override {
    Balloons.push_back({title, text, kind, timeoutSeconds});
    return true;
  }
  std::optional<MacAddress> ResolveAddress(std::uint32_t address) override {
    return Resolver.Resolve(address);
  }
};

MacAddress MacOf(std::uint8_t last) { return MacAddress::FromBytes({0x02, 0x00, 0x00, 0x00, 0x01, last}); }

class ScanEngineTest : public ::testing::Test {
 protected:
  // Hosts that answer, on 192.168.1.x: 02-00-00-00-01-<host>.
  void Answer(int host, const std::string& network = "192.168.1.") {
    Host.Resolver.SetAnswer(network + std::to_string(host), MacOf(std::uint8_t(host)));
  }
  // While the lookup of 192.168.1.<host> blocks, the user does something;
  // the window handles it at the next message processing.
  void DuringLookupOf(const std::string& address, std::function<void()> action) {
    const std::uint32_t wanted = platform::InetAddr(address);
    Host.Resolver.SetRequestHook([this, wanted, action](std::uint32_t requested) {
      if (requested == wanted) Host.Pending.push_back(action);
    });
  }
  std::vector<std::string> Range(const std::string& network, int first, int last) {
    std::vector<std::string> result;
    for (int host = first; host <= last; ++host) result.push_back(network + std::to_string(host));
    return result;
  }

  FakeHost Host;
  ScanEngine Engine{Host};
};

// ---- One lookup ----

TEST_F(ScanEngineTest, MacTextIsUpperCaseHexJoinedByHyphens) {
  Host.Resolver.SetAnswer("192.168.1.7", MacAddress::FromBytes({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
  EXPECT_EQ(Engine.GetMacByIp("192.168.1.7"), "00-1A-2B-3C-4D-5E");
  EXPECT_EQ(Engine.GetMacByIp("192.168.1.8"), "");
  Host.Resolver.SetAnswer("192.168.1.9", MacAddress::FromBytes({0xab}));
  EXPECT_EQ(Engine.GetMacByIp("192.168.1.9"), "AB");
  Host.Resolver.SetAnswer("192.168.1.10", MacAddress::FromBytes({}));
  EXPECT_EQ(Engine.GetMacByIp("192.168.1.10"), "");
}

TEST_F(ScanEngineTest, TextThatIsNoAddressIsStillOneFailedLookup) {
  EXPECT_EQ(Engine.GetMacByIp("192.168.1.999"), "");
  ASSERT_EQ(Host.Resolver.Requests().size(), 1u);
  EXPECT_EQ(Host.Resolver.Requests()[0], platform::InetNone);
}

// ---- The range ----

TEST_F(ScanEngineTest, DefaultRangeIsLookedUpInAscendingOrder) {
  Answer(1);
  Answer(200);
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.RequestTexts(), Range("192.168.1.", 1, 254));
  EXPECT_EQ(Host.Log, (std::vector<std::string>{"192.168.1.1:02-00-00-00-01-01",
                                                "192.168.1.200:02-00-00-00-01-C8"}));
  EXPECT_EQ(Host.ProcessCount, 254);
  EXPECT_TRUE(Host.Balloons.empty());
}

TEST_F(ScanEngineTest, EqualStartAndEndScanExactlyOneAddress) {
  Host.StartText = Host.EndText = "7";
  Answer(7);
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.RequestTexts(), std::vector<std::string>{"192.168.1.7"});
  EXPECT_EQ(Host.Log, std::vector<std::string>{"192.168.1.7:02-00-00-00-01-07"});
}

TEST_F(ScanEngineTest, ReversedRangeShowsTheWarningBalloonAndNothingElse) {
  for (bool stopBefore : {false, true}) {
    SCOPED_TRACE(stopBefore);
    Host.Balloons.clear();
    if (stopBefore) Engine.MACStopClick(nullptr);
    Host.StartText = "10";
    Host.EndText = "9";
    Engine.StarClick(nullptr);
    ASSERT_EQ(Host.Balloons.size(), 1u);
    EXPECT_EQ(Host.Balloons[0].Title, "Ostvane");
    EXPECT_EQ(Host.Balloons[0].Text, "IP输入错误,请重新输入!");
    EXPECT_EQ(Host.Balloons[0].Kind, tray::bkWarning);
    EXPECT_EQ(Host.Balloons[0].TimeoutSeconds, 10);
    EXPECT_TRUE(Host.Resolver.Requests().empty());
    EXPECT_TRUE(Host.Log.empty());
    EXPECT_EQ(Host.ProcessCount, 0);
    EXPECT_EQ(Engine.ScanStopRequested(), stopBefore);
  }
}

TEST_F(ScanEngineTest, HostNumbersAreComparedAsNumbersNotTexts) {
  Host.StartText = "9";
  Host.EndText = "10";
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.RequestTexts(), Range("192.168.1.", 9, 10));
  EXPECT_TRUE(Host.Balloons.empty());
}

// ---- Conversion errors ----

TEST_F(ScanEngineTest, HostTextThatIsNoIntegerEndsTheClickBeforeTheRangeCheck) {
  struct Case {
    std::string Start, End, Message;
  };
  for (const Case& c : {Case{"", "254", "'' is not a valid integer value"},
                        Case{"1", "", "'' is not a valid integer value"},
                        Case{"abc", "", "'abc' is not a valid integer value"},
                        // Not reversed-range either: the conversion comes first.
                        Case{"10", "x", "'x' is not a valid integer value"}}) {
    SCOPED_TRACE(c.Start + "|" + c.End);
    Engine.MACStopClick(nullptr);
    Host.StartText = c.Start;
    Host.EndText = c.End;
    try {
      Engine.StarClick(nullptr);
      ADD_FAILURE() << "no error";
    } catch (const core::EConvertError& error) {
      EXPECT_EQ(std::string(error.what()), c.Message);
    }
    EXPECT_TRUE(Host.Resolver.Requests().empty());
    EXPECT_TRUE(Host.Log.empty());
    EXPECT_TRUE(Host.Balloons.empty());
    EXPECT_TRUE(Engine.ScanStopRequested());
  }
}

// ---- Result lines ----

TEST_F(ScanEngineTest, SilentHostsAreLeftOutWhileTheBoxIsTicked) {
  Host.StartText = "1";
  Host.EndText = "20";
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.Requests().size(), 20u);
  EXPECT_TRUE(Host.Log.empty());
}

TEST_F(ScanEngineTest, SilentHostsGetZeroMacWhileTheBoxIsUnticked) {
  Host.Checked = false;
  Host.StartText = "4";
  Host.EndText = "6";
  Answer(4);
  // An answer of a single byte has no "-" and counts as none.
  Host.Resolver.SetAnswer("192.168.1.6", MacAddress::FromBytes({0x1A}));
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Log, (std::vector<std::string>{"192.168.1.4:02-00-00-00-01-04",
                                                "192.168.1.5:00-00-00-00-00-00",
                                                "192.168.1.6:00-00-00-00-00-00"}));
}

TEST_F(ScanEngineTest, OctetTextsAreUsedAsTypedWithTheirLeadingZeros) {
  Host.OctetB = "0168";
  Host.OctetC = "010";
  Host.StartText = "05";
  Host.EndText = "5";
  Host.Checked = false;
  // The text is parsed as the classic address parser does: "010" is octal 8,
  // "0168" is no octal number at all.
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Log, std::vector<std::string>{"192.0168.010.5:00-00-00-00-00-00"});

  Host.Log.clear();
  Host.Resolver.ClearRequests();
  Host.OctetB = "168";
  Host.Resolver.SetAnswer("192.168.8.5", MacOf(5));
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.RequestTexts(), std::vector<std::string>{"192.168.8.5"});
  EXPECT_EQ(Host.Log, std::vector<std::string>{"192.168.010.5:02-00-00-00-01-05"});
}

// ---- Changes during a scan ----

TEST_F(ScanEngineTest, TickingTheBoxDuringAScanAffectsTheAddressesAfterIt) {
  Host.Checked = false;
  Host.StartText = "1";
  Host.EndText = "4";
  // Ticked while host 2 is looked up: the window handles the click before
  // host 2's line, which then is left out, as are the later ones.
  DuringLookupOf("192.168.1.2", [this] { Host.Checked = true; });
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Log, std::vector<std::string>{"192.168.1.1:00-00-00-00-00-00"});

  Host.Log.clear();
  DuringLookupOf("192.168.1.3", [this] { Host.Checked = false; });
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Log, (std::vector<std::string>{"192.168.1.3:00-00-00-00-00-00",
                                                "192.168.1.4:00-00-00-00-00-00"}));
}

TEST_F(ScanEngineTest, OctetsAreReadPerAddressButTheRangeOnlyAtTheStart) {
  Host.Checked = false;
  Host.StartText = "1";
  Host.EndText = "4";
  DuringLookupOf("192.168.1.2", [this] {
    Host.OctetC = "2";
    Host.EndText = "2";
  });
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.RequestTexts(),
            (std::vector<std::string>{"192.168.1.1", "192.168.1.2", "192.168.2.3", "192.168.2.4"}));
  EXPECT_EQ(Host.Log, (std::vector<std::string>{"192.168.1.1:00-00-00-00-00-00",
                                                "192.168.1.2:00-00-00-00-00-00",
                                                "192.168.2.3:00-00-00-00-00-00",
                                                "192.168.2.4:00-00-00-00-00-00"}));
}

// ---- Stop ----

TEST_F(ScanEngineTest, StopMakesExactlyOneMoreLookupAndNoLineForIt) {
  for (int host = 1; host <= 254; ++host) Answer(host);
  // Pressed while host 21 is looked up, after host 20's line was added.
  DuringLookupOf("192.168.1.21", [this] { Engine.MACStopClick(nullptr); });
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.RequestTexts(), Range("192.168.1.", 1, 22));
  ASSERT_EQ(Host.Log.size(), 21u);
  EXPECT_EQ(Host.Log.back(), "192.168.1.21:02-00-00-00-01-15");
  EXPECT_TRUE(Engine.ScanStopRequested());
}

TEST_F(ScanEngineTest, StopOnTheLastAddressEndsTheScanNormally) {
  Host.StartText = "1";
  Host.EndText = "3";
  Answer(3);
  DuringLookupOf("192.168.1.3", [this] { Engine.MACStopClick(nullptr); });
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.RequestTexts(), Range("192.168.1.", 1, 3));
  EXPECT_EQ(Host.Log, std::vector<std::string>{"192.168.1.3:02-00-00-00-01-03"});
}

TEST_F(ScanEngineTest, StopWhileIdleDoesNotAffectTheNextScan) {
  Engine.MACStopClick(nullptr);
  EXPECT_TRUE(Engine.ScanStopRequested());
  Host.StartText = "1";
  Host.EndText = "5";
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.Requests().size(), 5u);
  EXPECT_FALSE(Engine.ScanStopRequested());
}

// ---- Nested scans ----

TEST_F(ScanEngineTest, AScanStartedDuringAScanRunsWholeInsideIt) {
  Host.Checked = false;
  Host.StartText = "1";
  Host.EndText = "3";
  DuringLookupOf("192.168.1.2", [this] {
    Host.Resolver.SetRequestHook({});
    Host.StartText = "50";
    Host.EndText = "51";
    Engine.StarClick(nullptr);
  });
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.RequestTexts(),
            (std::vector<std::string>{"192.168.1.1", "192.168.1.2", "192.168.1.50", "192.168.1.51",
                                      "192.168.1.3"}));
  // The outer scan writes host 2's line when the inner one has returned.
  EXPECT_EQ(Host.Log, (std::vector<std::string>{"192.168.1.1:00-00-00-00-00-00",
                                                "192.168.1.50:00-00-00-00-00-00",
                                                "192.168.1.51:00-00-00-00-00-00",
                                                "192.168.1.2:00-00-00-00-00-00",
                                                "192.168.1.3:00-00-00-00-00-00"}));
}

TEST_F(ScanEngineTest, OneStopEndsTheInnerScanAndThenTheOuterOne) {
  Host.Checked = false;
  Host.StartText = "1";
  Host.EndText = "10";
  DuringLookupOf("192.168.1.2", [this] {
    Host.StartText = "50";
    Host.EndText = "60";
    DuringLookupOf("192.168.1.52", [this] { Engine.MACStopClick(nullptr); });
    Engine.StarClick(nullptr);
  });
  Engine.StarClick(nullptr);
  // Inner: 52's line, one more lookup (53), end. Outer: 2's line, one more
  // lookup (3), end.
  EXPECT_EQ(Host.Resolver.RequestTexts(),
            (std::vector<std::string>{"192.168.1.1", "192.168.1.2", "192.168.1.50", "192.168.1.51",
                                      "192.168.1.52", "192.168.1.53", "192.168.1.3"}));
  EXPECT_EQ(Host.Log, (std::vector<std::string>{"192.168.1.1:00-00-00-00-00-00",
                                                "192.168.1.50:00-00-00-00-00-00",
                                                "192.168.1.51:00-00-00-00-00-00",
                                                "192.168.1.52:00-00-00-00-00-00",
                                                "192.168.1.2:00-00-00-00-00-00"}));
}

TEST_F(ScanEngineTest, AStopBeforeANestedScanIsClearedByIt) {
  // The nested scan clears the flag at its start, so a stop pressed in the
  // same batch of messages before it is forgotten by both scans.
  Host.StartText = "1";
  Host.EndText = "3";
  DuringLookupOf("192.168.1.1", [this] {
    Host.Resolver.SetRequestHook({});
    Engine.MACStopClick(nullptr);
    Host.StartText = Host.EndText = "9";
    Engine.StarClick(nullptr);
  });
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.RequestTexts(),
            (std::vector<std::string>{"192.168.1.1", "192.168.1.9", "192.168.1.2", "192.168.1.3"}));
}

TEST_F(ScanEngineTest, ANestedScanWithAReversedRangeLeavesTheOuterScanAlone) {
  Host.StartText = "1";
  Host.EndText = "3";
  DuringLookupOf("192.168.1.2", [this] {
    Host.StartText = "9";
    Host.EndText = "8";
    Engine.StarClick(nullptr);
  });
  Engine.StarClick(nullptr);
  EXPECT_EQ(Host.Resolver.RequestTexts(), Range("192.168.1.", 1, 3));
  EXPECT_EQ(Host.Balloons.size(), 1u);
}

}  // namespace
}  // namespace app
