#include "services/message_wait_win32.h"


namespace lumadex {
namespace {

using Clock = std::chrono::steady_clock;

DWORD MillisecondsUntil(Clock::time_point deadline) {
  const auto now = Clock::now();
  if (deadline <= now) return 0;
  // Round up so that the wait does not wake a hair early and spin once more for nothing.
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
  constexpr long long kLongest = 0x7FFFFFFF;  // well short of INFINITE
  return static_cast<DWORD>(left < kLongest ? left : kLongest);
}

// The first of the events that is set, taking its signal.
std::optional<size_t> SignalledOne(std::span<const HANDLE> events) {
  const DWORD result = WaitForMultipleObjects(static_cast<DWORD>(events.size()), events.data(), FALSE, 0);
  if (result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + events.size()) return result - WAIT_OBJECT_0;
  return std::nullopt;
}

// Dispatches what the queue holds, stopping early once an event is set (its signal taken) so
// that a burst of messages cannot hold back the caller's result. Nullopt when the queue ran dry.
std::optional<AnyWait> DispatchPending(std::span<const HANDLE> events) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The main loop must still see it to end the program.
      PostQuitMessage(static_cast<int>(message.wParam));
      return AnyWait{WaitOutcome::Quit};
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    if (const auto index = SignalledOne(events)) return AnyWait{WaitOutcome::Signalled, *index};
  }
  return std::nullopt;
}

}  // namespace

std::optional<AnyWait> WaitForAnyOnce(std::span<const HANDLE> events, Clock::time_point deadline) {
  const auto count = static_cast<DWORD>(events.size());
  const DWORD result =
      MsgWaitForMultipleObjectsEx(count, events.data(), MillisecondsUntil(deadline), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  if (result < WAIT_OBJECT_0 + count) return AnyWait{WaitOutcome::Signalled, result - WAIT_OBJECT_0};
  if (result == WAIT_OBJECT_0 + count) {
    if (const std::optional<AnyWait> drained = DispatchPending(events)) return drained;
    // Handlers may have run for a while: the deadline is looked at again.
  } else if (result != WAIT_TIMEOUT) {
    // Not expected with valid events; waiting on regardless would spin, so give up as for a
    // time-out unless the work is done.
    if (const auto index = SignalledOne(events)) return AnyWait{WaitOutcome::Signalled, *index};
    return AnyWait{WaitOutcome::Expired};
  }
  if (Clock::now() < deadline) return std::nullopt;
  if (const auto index = SignalledOne(events)) return AnyWait{WaitOutcome::Signalled, *index};
  return AnyWait{WaitOutcome::Expired};
}

WaitOutcome WaitDispatchingMessages(HANDLE event, const std::function<Clock::time_point()>& deadline) {
  for (;;) {
    if (const std::optional<AnyWait> waited = WaitForAnyOnce({&event, 1}, deadline())) return waited->outcome;
  }
}

}  // namespace lumadex
