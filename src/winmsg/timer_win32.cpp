#include "winmsg/timer_win32.h"

#include <array>

#include "winmsg/report_win32.h"

namespace lumadex {
namespace {

struct TimerTable {
  std::array<std::shared_ptr<CTimer>, kTimerSlots> slots;
  std::size_t highestUsed = 0;  // 1-based; only grows
};

// Never destroyed: a timer still running at exit must not be torn down after the platform.
TimerTable& Table() {
  static auto* table = new TimerTable;
  return *table;
}

timer_platform::TimerSetter g_setTimer = &SetTimer;

// 0-based index of the slot running the system timer, or kTimerSlots.
std::size_t FindSlot(UINT_PTR systemTimerId) {
  if (systemTimerId == 0) return kTimerSlots;
  TimerTable& table = Table();
  for (std::size_t i = 0; i < table.highestUsed; ++i) {
    if (table.slots[i] && table.slots[i]->SystemTimerId() == systemTimerId) return i;
  }
  return kTimerSlots;
}

}  // namespace

std::shared_ptr<CTimer> CTimer::Create() { return std::shared_ptr<CTimer>(new CTimer); }

CTimer::~CTimer() {
  // The table keeps a running timer alive, so only a timer that never got a slot can still
  // own a system timer here.
  if (systemTimerId_ != 0) KillTimer(nullptr, systemTimerId_);
}

void CTimer::SetInterval(std::int32_t milliseconds) {
  const auto self = shared_from_this();
  if (milliseconds > 0) {
    if (milliseconds == interval_) return;
    if (interval_ != 0) StopTimer(self);
    interval_ = milliseconds;
    bool started = false;
    try {
      started = StartTimer(self);
    } catch (...) {
      interval_ = 0;
      throw;
    }
    if (!started) throw WinMsgError(kErrCantCreateTimer);
  } else if (interval_ > 0) {
    interval_ = 0;
    StopTimer(self);
  }
}

void CTimer::OnThatTime(Handler handler) {
  thatTime_ = handler ? std::make_shared<const Handler>(std::move(handler)) : nullptr;
}

void CTimer::PulseTimer() {
  // The handler may replace itself or drop the timer's last outside share while it runs.
  const auto keepAlive = weak_from_this().lock();
  const std::shared_ptr<const Handler> handler = thatTime_;
  if (handler) (*handler)();
}

bool StartTimer(const std::shared_ptr<CTimer>& timer) {
  if (!timer) return false;
  // Entered twice, a timer would hold two slots and one of its system timers would be lost.
  StopTimer(timer);
  TimerTable& table = Table();
  std::size_t slot = 0;
  while (slot < kTimerSlots && table.slots[slot]) ++slot;
  // Without a free slot no system timer is created: its ticks could reach no one, and no one
  // could stop it.
  if (slot == kTimerSlots) {
    timer->systemTimerId_ = 0;
    throw WinMsgError(kErrTooManyTimers);
  }
  const UINT interval = static_cast<UINT>(timer->interval_ > 0 ? timer->interval_ : 0);
  timer->systemTimerId_ = g_setTimer(nullptr, 0, interval, &TimerProc);
  if (timer->systemTimerId_ == 0) {
    timer->interval_ = 0;
    return false;
  }
  table.slots[slot] = timer;
  if (table.highestUsed < slot + 1) table.highestUsed = slot + 1;
  return true;
}

bool StopTimer(const std::shared_ptr<CTimer>& timer) noexcept {
  if (!timer) return false;
  const std::size_t slot = FindSlot(timer->systemTimerId_);
  if (slot == kTimerSlots) return false;
  KillTimer(nullptr, timer->systemTimerId_);
  timer->systemTimerId_ = 0;
  // Emptying the slot may drop the last share of the timer; it goes after this call.
  std::shared_ptr<CTimer> released = std::move(Table().slots[slot]);
  return true;
}

void CALLBACK TimerProc(HWND, UINT, UINT_PTR idEvent, DWORD) {
  try {
    const std::size_t slot = FindSlot(idEvent);
    if (slot == kTimerSlots) return;
    // Held for the call, so a handler that stops or lets go of its own timer is safe.
    const std::shared_ptr<CTimer> timer = Table().slots[slot];
    timer->PulseTimer();
  } catch (...) {
    ReportCallbackFailure(L"a timer's ThatTime");
  }
}

namespace timer_platform {
TimerSetter ReplaceTimerSetter(TimerSetter setter) noexcept {
  const TimerSetter previous = g_setTimer;
  g_setTimer = setter ? setter : &SetTimer;
  return previous;
}
}  // namespace timer_platform

namespace timer_table {
std::size_t RunningCount() noexcept {
  std::size_t count = 0;
  for (const auto& slot : Table().slots) count += slot ? 1 : 0;
  return count;
}
std::size_t SlotOf(const CTimer* timer) noexcept {
  const auto& slots = Table().slots;
  for (std::size_t i = 0; i < slots.size(); ++i) {
    if (slots[i].get() == timer && timer) return i + 1;
  }
  return 0;
}
std::size_t HighestSlotUsed() noexcept { return Table().highestUsed; }
}  // namespace timer_table

}  // namespace lumadex
