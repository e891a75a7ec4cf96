// Waiting on the UI thread for work done elsewhere, without freezing the window: the wait
// sleeps on the event and on the thread's message queue together and dispatches every
// message that arrives, so timers, painting, the tray icon and the close request are
// handled while it lasts, at next to no CPU cost.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>

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

}  // namespace lumadex
