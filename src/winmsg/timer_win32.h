// Windowless timers: a CTimer raises ThatTime every Interval milliseconds on the thread that
// started it, through that thread's message loop. Running timers stand in one process-wide
// table of 100 slots, which keeps them alive: a running timer outlives its owner's reference
// until its Interval is set to 0.
#pragma once
#include <windows.h>

#include <any>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

#include "winmsg/winmsg_error.h"

namespace lumadex {

class CTimer : public std::enable_shared_from_this<CTimer> {
 public:
  using Handler = std::function<void()>;

  // Timers are always shared-owned: the slot table holds a share while the timer runs.
  static std::shared_ptr<CTimer> Create();
  ~CTimer();
  CTimer(const CTimer&) = delete;
  CTimer& operator=(const CTimer&) = delete;

  // A piece of additional data stored with the timer; the timer never reads it.
  const std::any& Item() const noexcept { return item_; }
  void SetItem(std::any item) { item_ = std::move(item); }

  // Milliseconds between ticks; 0 means stopped.
  std::int32_t Interval() const noexcept { return interval_; }
  // A new positive value (re)starts the timer, the stored value does nothing, 0 or less stops
  // it. Throws WinMsgError kErrCantCreateTimer when the platform refuses the system timer and
  // kErrTooManyTimers when all slots are taken; the timer is stopped (Interval 0) after either.
  void SetInterval(std::int32_t milliseconds);

  // The ThatTime event: one handler, replaced by the next call (an empty one removes it).
  void OnThatTime(Handler handler);
  // Raises ThatTime once.
  void PulseTimer();

  // The platform's id of the running system timer, 0 when none.
  UINT_PTR SystemTimerId() const noexcept { return systemTimerId_; }

 private:
  friend bool StartTimer(const std::shared_ptr<CTimer>& timer);
  friend bool StopTimer(const std::shared_ptr<CTimer>& timer) noexcept;
  CTimer() = default;

  std::any item_;
  std::int32_t interval_ = 0;
  UINT_PTR systemTimerId_ = 0;
  // Shared so that a tick holds the handler it runs without copying it (which could take
  // memory), while the handler is free to replace itself.
  std::shared_ptr<const Handler> thatTime_;
};

// The slot table behind all timers of the process.
inline constexpr std::size_t kTimerSlots = 100;

// Creates the system timer for the timer's Interval and enters the timer in the first free
// slot. False when the platform refuses the timer (the timer is stopped then); throws
// WinMsgError kErrTooManyTimers when no slot is free (no system timer is left behind).
bool StartTimer(const std::shared_ptr<CTimer>& timer);
// Kills the timer's system timer and frees its slot; false when the timer is in no slot.
bool StopTimer(const std::shared_ptr<CTimer>& timer) noexcept;
// The procedure every system timer created here calls; routes the tick to its timer.
void CALLBACK TimerProc(HWND hWnd, UINT iMsg, UINT_PTR idEvent, DWORD dwTime);

// The platform call that creates a system timer, replaceable so that a refusal can be seen.
namespace timer_platform {
using TimerSetter = UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC);
// Returns the setter in use before; null puts the platform's own back.
TimerSetter ReplaceTimerSetter(TimerSetter setter) noexcept;
}  // namespace timer_platform

// Read-only views for tests and diagnostics.
namespace timer_table {
// Slots holding a running timer.
std::size_t RunningCount() noexcept;
// 1-based slot of the timer, 0 when it stands in none.
std::size_t SlotOf(const CTimer* timer) noexcept;
// The highest slot ever used; it only grows.
std::size_t HighestSlotUsed() noexcept;
}  // namespace timer_table

}  // namespace lumadex
