// Waiting on the UI thread for work done elsewhere, without freezing the window: the wait
// sleeps on the event and on the thread's message queue together and dispatches every
// message that arrives, so timers, painting, the tray icon and the close request are
// handled while it lasts, at next to no CPU cost.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <span>

namespace lumadex {

enum class WaitOutcome {
  Signalled,  // the event was set
  Expired,    // the deadline passed first
  Quit,       // WM_QUIT came out of the queue; it has been posted again for the main loop
};

// Waits until `event` is signalled (taking the signal of an auto-reset event) or the time
// `deadline()` returns has passed. The deadline is asked again whenever the wait wakes, so
// it may move later while waiting. Message handlers run inside this call and may start
// nested waits of their own.
WaitOutcome WaitDispatchingMessages(HANDLE event,
                                    const std::function<std::chrono::steady_clock::time_point()>& deadline);

struct AnyWait {
  WaitOutcome outcome;
  size_t index = 0;  // of the event signalled
};

// One round of the wait above for any of `events` (at most MAXIMUM_WAIT_OBJECTS - 1 of them):
// nullopt when it dispatched what the queue held and nothing else happened, so that a caller
// whose state the handlers may change can look at it before it waits again.
std::optional<AnyWait> WaitForAnyOnce(std::span<const HANDLE> events, std::chrono::steady_clock::time_point deadline);

}  // namespace lumadex
