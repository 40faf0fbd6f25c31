#include <memory>
#include <vector>

#include "TraySupport.h"
#include "tray/SimpleTimer.h"
#include "ui/windowing/Messages.h"
#include "ui/windowing/Windows.h"

namespace tray {
namespace {

class SimpleTimerTest : public testing::HeadlessTest {
 protected:
  // A timer that counts its ticks.
  std::unique_ptr<TSimpleTimer> MakeTimer(std::uint32_t period, int& ticks) {
    return std::make_unique<TSimpleTimer>(period, [&ticks](TSimpleTimer*) { ++ticks; });
  }
};

// ---- The shared window ----

TEST_F(SimpleTimerTest, TheSharedWindowLivesFromTheFirstTimerToTheLast) {
  EXPECT_EQ(TSimpleTimerHandler::Instance(), nullptr);
  auto first = std::make_unique<TSimpleTimer>();
  ASSERT_NE(TSimpleTimerHandler::Instance(), nullptr);
  const ui::HWND window = TSimpleTimerHandler::Instance()->Handle();
  EXPECT_TRUE(ui::IsWindow(window));
  EXPECT_EQ(TSimpleTimerHandler::Instance()->UserCount(), 1u);

  auto second = std::make_unique<TSimpleTimer>(50, nullptr);
  EXPECT_EQ(TSimpleTimerHandler::Instance()->Handle(), window);
  EXPECT_EQ(TSimpleTimerHandler::Instance()->UserCount(), 2u);

  first.reset();
  EXPECT_EQ(TSimpleTimerHandler::Instance()->UserCount(), 1u);
  EXPECT_TRUE(ui::IsWindow(window));
  second.reset();
  EXPECT_EQ(TSimpleTimerHandler::Instance(), nullptr);
  EXPECT_FALSE(ui::IsWindow(window));

  // A new timer makes a new window, and it ticks.
  int ticks = 0;
  auto third = MakeTimer(100, ticks);
  ASSERT_NE(TSimpleTimerHandler::Instance(), nullptr);
  EXPECT_TRUE(ui::IsWindow(TSimpleTimerHandler::Instance()->Handle()));
  third->SetRunning(true);
  Advance(100);
  EXPECT_EQ(ticks, 1);
}

TEST_F(SimpleTimerTest, DefaultsAndTheTimerId) {
  TSimpleTimer timer;
  EXPECT_EQ(timer.PeriodMs(), 1000u);
  EXPECT_FALSE(timer.Running());
  EXPECT_FALSE(timer.OnTick());
  EXPECT_EQ(timer.TimerId(), reinterpret_cast<std::uintptr_t>(&timer));
}

// ---- Ticking ----

TEST_F(SimpleTimerTest, EachTimerTicksWithItselfAsSender) {
  std::vector<TSimpleTimer*> senders;
  auto record = [&senders](TSimpleTimer* sender) { senders.push_back(sender); };
  TSimpleTimer fast(100, record);
  TSimpleTimer slow(250, record);
  fast.SetRunning(true);
  slow.SetRunning(true);
  EXPECT_TRUE(fast.Running());
  Advance(100);
  Advance(100);
  Advance(50);
  EXPECT_EQ(senders, (std::vector<TSimpleTimer*>{&fast, &fast, &slow}));
  fast.SetRunning(false);
  EXPECT_FALSE(fast.Running());
  Advance(250);
  EXPECT_EQ(senders.back(), &slow);
  EXPECT_EQ(senders.size(), 4u);
}

TEST_F(SimpleTimerTest, PeriodZeroArmsNothing) {
  int ticks = 0;
  auto timer = MakeTimer(0, ticks);
  timer->SetRunning(true);
  EXPECT_FALSE(timer->Running());
  Advance(10000);
  EXPECT_EQ(ticks, 0);
}

TEST_F(SimpleTimerTest, TheSamePeriodAgainKeepsThePhase) {
  int ticks = 0;
  auto timer = MakeTimer(100, ticks);
  timer->SetRunning(true);
  Advance(60);
  timer->SetPeriod(100);
  Advance(40);
  EXPECT_EQ(ticks, 1);
}

TEST_F(SimpleTimerTest, AnotherPeriodRestartsFromAFullPeriod) {
  int ticks = 0;
  auto timer = MakeTimer(100, ticks);
  timer->SetRunning(true);
  Advance(60);
  timer->SetPeriod(150);
  Advance(149);
  EXPECT_EQ(ticks, 0);
  Advance(1);
  EXPECT_EQ(ticks, 1);
  // SetRunning(true) on a running timer restarts it too.
  Advance(100);
  timer->SetRunning(true);
  Advance(100);
  EXPECT_EQ(ticks, 1);
  Advance(50);
  EXPECT_EQ(ticks, 2);
}

TEST_F(SimpleTimerTest, PeriodZeroSuspendsAndTheNextPeriodResumes) {
  int ticks = 0;
  auto timer = MakeTimer(100, ticks);
  timer->SetRunning(true);
  timer->SetPeriod(0);
  EXPECT_TRUE(timer->Running());
  Advance(1000);
  EXPECT_EQ(ticks, 0);
  timer->SetPeriod(250);
  Advance(249);
  EXPECT_EQ(ticks, 0);
  Advance(1);
  Advance(250);
  EXPECT_EQ(ticks, 2);
}

TEST_F(SimpleTimerTest, APeriodSetWhileStoppedStartsNothing) {
  int ticks = 0;
  auto timer = MakeTimer(100, ticks);
  timer->SetPeriod(50);
  Advance(500);
  EXPECT_EQ(ticks, 0);
  EXPECT_FALSE(timer->Running());
}

TEST_F(SimpleTimerTest, ClearingTheHandlerSuspendsUntilStartedAgain) {
  int ticks = 0;
  auto timer = MakeTimer(100, ticks);
  timer->SetRunning(true);
  timer->SetTickHandler(nullptr);
  EXPECT_TRUE(timer->Running());
  Advance(300);
  // A new handler alone does not resume it.
  timer->SetTickHandler([&ticks](TSimpleTimer*) { ticks += 10; });
  Advance(300);
  EXPECT_EQ(ticks, 0);
  timer->SetRunning(true);
  Advance(100);
  EXPECT_EQ(ticks, 10);
}

// ---- Destruction during ticks ----

TEST_F(SimpleTimerTest, ATimerDestroyedInItsOwnTick) {
  std::unique_ptr<TSimpleTimer> timer;
  int ticks = 0;
  timer = std::make_unique<TSimpleTimer>(100, [&](TSimpleTimer* sender) {
    ++ticks;
    EXPECT_EQ(sender, timer.get());
    // The last timer: the shared window goes while its procedure runs.
    timer.reset();
  });
  timer->SetRunning(true);
  const ui::HWND window = TSimpleTimerHandler::Instance()->Handle();
  Advance(100);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(TSimpleTimerHandler::Instance(), nullptr);
  EXPECT_FALSE(ui::IsWindow(window));
  Advance(1000);
  EXPECT_EQ(ticks, 1);
}

TEST_F(SimpleTimerTest, ATimerDestroyedByAnotherTimersTickNeverTicksAgain) {
  int ticks = 0;
  std::unique_ptr<TSimpleTimer> victim = MakeTimer(100, ticks);
  TSimpleTimer killer(100, [&victim](TSimpleTimer*) { victim.reset(); });
  killer.SetRunning(true);
  victim->SetRunning(true);
  // Both are due at once: whichever ticks first, the victim ticks at most
  // this once and the window stays for the killer.
  Advance(100);
  Advance(1000);
  EXPECT_LE(ticks, 1);
  EXPECT_EQ(victim, nullptr);
  ASSERT_NE(TSimpleTimerHandler::Instance(), nullptr);
  EXPECT_EQ(TSimpleTimerHandler::Instance()->UserCount(), 1u);
}

TEST_F(SimpleTimerTest, ATickMessageNamingNoLiveTimerIsIgnored) {
  int ticks = 0;
  auto timer = MakeTimer(100, ticks);
  auto gone = MakeTimer(100, ticks);
  const std::uintptr_t staleId = gone->TimerId();
  gone.reset();
  const ui::HWND window = TSimpleTimerHandler::Instance()->Handle();
  EXPECT_EQ(ui::SendMessage(window, ui::WM_TIMER, staleId), 0);
  EXPECT_EQ(ui::SendMessage(window, ui::WM_TIMER, 12345), 0);
  EXPECT_EQ(ticks, 0);
  ui::SendMessage(window, ui::WM_TIMER, timer->TimerId());
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace tray
