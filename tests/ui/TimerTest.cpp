#include "UiTestSupport.h"

namespace ui::testing {
namespace {

class TimerTest : public UiTest {
 protected:
  void SetUp() override { Window = CreateTopLevel(); }
  HWND Window = nullptr;
};

TEST_F(TimerTest, ATimerTicksOncePerPeriodOfTheFakeClock) {
  EXPECT_EQ(SetTimer(Window, 7, 100), 7u);
  Headless->AdvanceClock(99);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_TIMER), 0);
  Headless->AdvanceClock(1);
  ProcessMessages();
  ASSERT_EQ(Count(Window, WM_TIMER), 1);
  EXPECT_EQ(Last(Window, WM_TIMER)->WParam, 7u);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_TIMER), 1);
  Headless->AdvanceClock(100);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_TIMER), 2);
}

TEST_F(TimerTest, ABlockedThreadGetsOneTickForManyPeriods) {
  SetTimer(Window, 1, 100);
  Headless->AdvanceClock(1000);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_TIMER), 1);
  // The next tick is a full period after the late one.
  Headless->AdvanceClock(99);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_TIMER), 1);
  Headless->AdvanceClock(1);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_TIMER), 2);
}

TEST_F(TimerTest, KillingAndRestartingTimers) {
  SetTimer(Window, 1, 100);
  SetTimer(Window, 2, 100);
  EXPECT_TRUE(KillTimer(Window, 1));
  EXPECT_FALSE(KillTimer(Window, 1));
  // Setting an existing timer again restarts its period.
  Headless->AdvanceClock(60);
  SetTimer(Window, 2, 100);
  Headless->AdvanceClock(60);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_TIMER), 0);
  Headless->AdvanceClock(40);
  ProcessMessages();
  ASSERT_EQ(Count(Window, WM_TIMER), 1);
  EXPECT_EQ(Last(Window, WM_TIMER)->WParam, 2u);
}

TEST_F(TimerTest, ShortPeriodsAreRaisedToTheMinimum) {
  SetTimer(Window, 1, 1);
  Headless->AdvanceClock(9);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_TIMER), 0);
  Headless->AdvanceClock(1);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_TIMER), 1);
}

TEST_F(TimerTest, TimersGoWithTheirWindow) {
  SetTimer(Window, 1, 50);
  Headless->AdvanceClock(50);
  DestroyWindow(Window);
  ProcessMessages();
  EXPECT_EQ(Count(Window, WM_TIMER), 0);
  EXPECT_FALSE(KillTimer(Window, 1));
  EXPECT_EQ(SetTimer(Window, 1, 50), 0u);
}

TEST_F(TimerTest, TimerProceduresRunInsteadOfTheWindowProcedure) {
  std::vector<UINT_PTR> ticks;
  SetTimer(Window, 3, 20, [&](HWND w, UINT m, UINT_PTR id, std::uint32_t) {
    EXPECT_EQ(w, Window);
    EXPECT_EQ(m, WM_TIMER);
    ticks.push_back(id);
  });
  UINT_PTR threadTimer = SetTimer(nullptr, 0, 30, [&](HWND w, UINT, UINT_PTR id, std::uint32_t) {
    EXPECT_EQ(w, nullptr);
    ticks.push_back(id);
  });
  EXPECT_NE(threadTimer, 0u);
  EXPECT_EQ(SetTimer(nullptr, 0, 30), 0u);  // a thread timer needs a procedure
  Headless->AdvanceClock(30);
  ProcessMessages();
  EXPECT_EQ(ticks, (std::vector<UINT_PTR>{3, threadTimer}));
  EXPECT_EQ(Count(Window, WM_TIMER), 0);
  KillTimer(Window, 3);
  KillTimer(nullptr, threadTimer);
}

TEST_F(TimerTest, AWaitingLoopRunsIntoTheNextTimer) {
  Headless->SetWaitClock(platform::headless::WaitClock::AdvanceOnWait);
  std::uint64_t start = GetTickCount64();
  SetTimer(Window, 1, 250);
  TMsg message;
  ASSERT_TRUE(GetMessage(message));
  EXPECT_EQ(message.Message, UINT(WM_TIMER));
  EXPECT_EQ(GetTickCount64() - start, 250u);
}

}  // namespace
}  // namespace ui::testing
