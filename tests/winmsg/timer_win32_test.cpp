#include "winmsg/timer_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "support/form_harness_win32.h"
#include "winmsg/allocation_count_win32.h"

namespace lumadex {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The harness's pump (the ticks arrive as messages), with this file's usual limit.
bool PumpUntil(const std::function<bool()>& done, milliseconds limit = milliseconds(3000)) {
  return test::PumpUntil(done, limit);
}

void PumpFor(milliseconds span) { PumpUntil([] { return false; }, span); }

// Other tests in the same run may own running timers: counts are taken against what runs before.
class Timers : public testing::Test {
 protected:
  void SetUp() override { before_ = timer_table::RunningCount(); }
  void TearDown() override { EXPECT_EQ(timer_table::RunningCount(), before_); }
  std::size_t before_ = 0;
};

// Starting the timer fails with the error given; refused, the timer is plainly stopped: no slot,
// no system timer, and it may try again.
void ExpectRefusedStart(CTimer& timer, long code, std::uint32_t number, const wchar_t* description) {
  try {
    timer.SetInterval(60000);
    ADD_FAILURE() << "a refused timer started";
  } catch (const WinMsgError& error) {
    EXPECT_EQ(error.Code(), code);
    EXPECT_EQ(error.Number(), number);
    EXPECT_EQ(error.Description(), description);
    EXPECT_EQ(error.Source(), L"Lumadex.WindowProc");
  }
  EXPECT_EQ(timer.Interval(), 0);
  EXPECT_EQ(timer.SystemTimerId(), 0u);
  EXPECT_EQ(timer_table::SlotOf(&timer), 0u);
}

TEST_F(Timers, ANewTimerIsStoppedAndKeepsItsItem) {
  auto timer = CTimer::Create();
  EXPECT_EQ(timer->Interval(), 0);
  EXPECT_EQ(timer->SystemTimerId(), 0u);
  EXPECT_FALSE(timer->Item().has_value());
  timer->SetItem(std::wstring(L"菜单"));
  EXPECT_EQ(std::any_cast<std::wstring>(timer->Item()), L"菜单");
  int pulses = 0;
  timer->OnThatTime([&] { ++pulses; });
  timer->PulseTimer();
  EXPECT_EQ(pulses, 1);
  EXPECT_EQ(timer_table::SlotOf(timer.get()), 0u);
}

TEST_F(Timers, AnIntervalDeliversTicksUntilItIsSetToZero) {
  auto timer = CTimer::Create();
  int ticks = 0;
  timer->OnThatTime([&] { ++ticks; });
  timer->SetInterval(20);
  EXPECT_EQ(timer->Interval(), 20);
  EXPECT_NE(timer->SystemTimerId(), 0u);
  EXPECT_NE(timer_table::SlotOf(timer.get()), 0u);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));

  timer->SetInterval(0);
  EXPECT_EQ(timer->Interval(), 0);
  EXPECT_EQ(timer->SystemTimerId(), 0u);
  EXPECT_EQ(timer_table::SlotOf(timer.get()), 0u);
  const int stoppedAt = ticks;
  PumpFor(milliseconds(120));
  EXPECT_EQ(ticks, stoppedAt);

  // Started again, it runs on a system timer of its own once more.
  timer->SetInterval(20);
  EXPECT_NE(timer->SystemTimerId(), 0u);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= stoppedAt + 2; }));
  timer->SetInterval(0);
}

TEST_F(Timers, OnlyANewPositiveValueRestartsTheTimer) {
  auto timer = CTimer::Create();
  timer->SetInterval(10000);
  const UINT_PTR id = timer->SystemTimerId();
  timer->SetInterval(10000);
  EXPECT_EQ(timer->SystemTimerId(), id);
  EXPECT_EQ(timer_table::RunningCount(), before_ + 1);

  timer->SetInterval(30);
  EXPECT_EQ(timer->Interval(), 30);
  EXPECT_NE(timer->SystemTimerId(), 0u);
  EXPECT_EQ(timer_table::RunningCount(), before_ + 1);  // the old system timer is gone, not left beside
  int ticks = 0;
  timer->OnThatTime([&] { ++ticks; });
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));

  // A negative value stops a running timer and is never stored.
  timer->SetInterval(-5);
  EXPECT_EQ(timer->Interval(), 0);
  EXPECT_EQ(timer->SystemTimerId(), 0u);
  EXPECT_EQ(timer_table::RunningCount(), before_);
  timer->SetInterval(-5);
  EXPECT_EQ(timer->Interval(), 0);
  EXPECT_EQ(timer_table::RunningCount(), before_);
}

TEST_F(Timers, TheSlotTableHoldsAHundredAndReusesTheLowestFreeSlot) {
  std::vector<std::shared_ptr<CTimer>> running;
  for (std::size_t i = before_; i < kTimerSlots; ++i) {
    running.push_back(CTimer::Create());
    running.back()->SetInterval(60000);
  }
  ASSERT_GE(running.size(), 72u);
  EXPECT_EQ(timer_table::RunningCount(), 100u);
  EXPECT_EQ(timer_table::HighestSlotUsed(), 100u);

  auto extra = CTimer::Create();
  ExpectRefusedStart(*extra, kErrTooManyTimers, 0x80043553u, L"No more than 10 timers allowed per class");

  // Two slots freed: the next start takes the lower one, the one after that the other.
  const std::size_t lower = timer_table::SlotOf(running[36].get());
  const std::size_t higher = timer_table::SlotOf(running[71].get());
  ASSERT_LT(lower, higher);
  running[71]->SetInterval(0);
  running[36]->SetInterval(0);
  extra->SetInterval(60000);
  EXPECT_EQ(timer_table::SlotOf(extra.get()), lower);
  running[71]->SetInterval(60000);
  EXPECT_EQ(timer_table::SlotOf(running[71].get()), higher);

  for (auto& timer : running) timer->SetInterval(0);
  extra->SetInterval(0);
  EXPECT_EQ(timer_table::HighestSlotUsed(), 100u);  // it only grows
}

TEST_F(Timers, AHandlerMayStopAndLetGoOfItsOwnTimer) {
  auto timer = CTimer::Create();
  std::weak_ptr<CTimer> watch = timer;
  int ticks = 0;
  timer->OnThatTime([&] {
    ++ticks;
    // The owner lets go while the timer runs its own handler; then the timer stops itself.
    timer.reset();
    if (auto self = watch.lock()) self->SetInterval(0);
  });
  timer->SetInterval(15);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 1; }));
  PumpFor(milliseconds(80));
  EXPECT_EQ(ticks, 1);
  EXPECT_TRUE(watch.expired());
}

TEST_F(Timers, ARunningTimerOutlivesItsOwnersReference) {
  auto timer = CTimer::Create();
  std::weak_ptr<CTimer> watch = timer;
  int ticks = 0;
  timer->OnThatTime([&ticks, watch] {
    if (++ticks == 3) watch.lock()->SetInterval(0);
  });
  timer->SetInterval(15);
  timer.reset();
  EXPECT_FALSE(watch.expired());
  ASSERT_TRUE(PumpUntil([&] { return watch.expired(); }));
  EXPECT_EQ(ticks, 3);
}

TEST_F(Timers, AFailingHandlerDoesNotStopTheTicks) {
  auto timer = CTimer::Create();
  int ticks = 0;
  timer->OnThatTime([&] {
    ++ticks;
    throw std::runtime_error("handler failure");
  });
  timer->SetInterval(15);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  timer->SetInterval(0);
}

TEST_F(Timers, TicksOfUnknownTimersAreIgnored) {
  auto timer = CTimer::Create();
  int ticks = 0;
  timer->OnThatTime([&] { ++ticks; });
  timer->SetInterval(60000);
  TimerProc(nullptr, WM_TIMER, timer->SystemTimerId() + 1000, 0);
  EXPECT_EQ(ticks, 0);
  TimerProc(nullptr, WM_TIMER, timer->SystemTimerId(), 0);
  EXPECT_EQ(ticks, 1);
  timer->SetInterval(0);
  EXPECT_FALSE(StopTimer(timer));
}

// Answers every request for a system timer with a refusal.
UINT_PTR WINAPI RefuseTimer(HWND, UINT_PTR, UINT, TIMERPROC) { return 0; }

TEST_F(Timers, ARefusedSystemTimerIsError13652AndLeavesTheTimerStopped) {
  auto timer = CTimer::Create();
  const auto platform = timer_platform::ReplaceTimerSetter(&RefuseTimer);
  ExpectRefusedStart(*timer, kErrCantCreateTimer, 0x80043554u, L"Can't create system timer");
  timer_platform::ReplaceTimerSetter(platform);
  timer->SetInterval(60000);  // with the platform willing again, the same value starts it
  EXPECT_NE(timer->SystemTimerId(), 0u);
  timer->SetInterval(0);
}

TEST_F(Timers, SeveralTimersTickTogetherEachReachingItsOwnHandler) {
  constexpr int kTimers = 3;
  std::shared_ptr<CTimer> timers[kTimers];
  int ticks[kTimers] = {};
  bool wrongTimer = false;
  for (int i = 0; i < kTimers; ++i) {
    timers[i] = CTimer::Create();
    timers[i]->SetItem(i);
    timers[i]->OnThatTime([&, i] {
      ++ticks[i];
      wrongTimer = wrongTimer || std::any_cast<int>(timers[i]->Item()) != i;
    });
  }
  // The first timer's handler moves the second to a new interval on its third tick and stops
  // the third on its sixth: the table is searched afresh on every tick.
  timers[0]->OnThatTime([&] {
    ++ticks[0];
    if (ticks[0] == 3) timers[1]->SetInterval(25);
    if (ticks[0] == 6) timers[2]->SetInterval(0);
  });
  for (int i = 0; i < kTimers; ++i) timers[i]->SetInterval(15 + 5 * i);
  const UINT_PTR secondId = timers[1]->SystemTimerId();
  ASSERT_TRUE(PumpUntil([&] { return ticks[0] >= 6; }));
  EXPECT_EQ(timers[1]->Interval(), 25);
  EXPECT_NE(timers[1]->SystemTimerId(), secondId);
  EXPECT_EQ(timers[2]->Interval(), 0);
  const int secondAt = ticks[1], thirdAt = ticks[2];
  EXPECT_GE(secondAt, 1);
  EXPECT_GE(thirdAt, 1);
  ASSERT_TRUE(PumpUntil([&] { return ticks[1] >= secondAt + 2; }));
  EXPECT_EQ(ticks[2], thirdAt);  // stopped for good
  EXPECT_FALSE(wrongTimer);
  for (auto& timer : timers) timer->SetInterval(0);
}

TEST_F(Timers, ATickTakesNoMemory) {
  auto timer = CTimer::Create();
  // A handler as big as a real owner's: more captured than fits inside a handler object.
  int ticks = 0, seen = 0, limit = 1000;
  timer->OnThatTime([&ticks, &seen, &limit, timer = timer.get()] {
    if (++ticks < limit) seen += timer->Interval() > 0;
  });
  timer->SetInterval(60000);
  {
    test::AllocationCount allocations;
    for (int i = 0; i < 20; ++i) TimerProc(nullptr, WM_TIMER, timer->SystemTimerId(), 0);
    EXPECT_EQ(allocations.Count(), 0u);
  }
  EXPECT_EQ(ticks, 20);
  EXPECT_EQ(seen, 20);
  timer->SetInterval(0);
}

}  // namespace
}  // namespace lumadex
