#include "services/message_wait_win32.h"

#include <utility>

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

bool IsSignalled(HANDLE event) { return WaitForSingleObject(event, 0) == WAIT_OBJECT_0; }

enum class DrainResult { Empty, Signalled, Quit };

// Dispatches what the queue holds, stopping early once the event is set so that a burst
// of messages cannot hold back the caller's result.
DrainResult DispatchPending(HANDLE event) {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The main loop must still see it to end the program.
      PostQuitMessage(static_cast<int>(message.wParam));
      return DrainResult::Quit;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    if (IsSignalled(event)) return DrainResult::Signalled;
  }
  return DrainResult::Empty;
}

}  // namespace

WaitOutcome WaitDispatchingMessages(HANDLE event, const std::function<Clock::time_point()>& deadline) {
  for (;;) {
    const DWORD result =
        MsgWaitForMultipleObjectsEx(1, &event, MillisecondsUntil(deadline()), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (result == WAIT_OBJECT_0) return WaitOutcome::Signalled;
    if (result == WAIT_OBJECT_0 + 1) {
      switch (DispatchPending(event)) {
        case DrainResult::Quit: return WaitOutcome::Quit;
        case DrainResult::Signalled: return WaitOutcome::Signalled;
        case DrainResult::Empty: break;
      }
      // Handlers may have run for a while: the deadline is checked below as after a time-out.
    } else if (result != WAIT_TIMEOUT) {
      // Not expected with a valid event; waiting on regardless would spin, so give up as
      // for a time-out unless the work is done.
      return IsSignalled(event) ? WaitOutcome::Signalled : WaitOutcome::Expired;
    }
    if (Clock::now() >= deadline()) return IsSignalled(event) ? WaitOutcome::Signalled : WaitOutcome::Expired;
  }
}

}  // namespace lumadex
