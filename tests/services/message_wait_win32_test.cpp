#include "services/message_wait_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/form_harness_win32.h"
#include "winmsg/unique_handle_win32.h"

namespace lumadex {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

KernelObject AutoResetEvent() { return KernelObject(CreateEventW(nullptr, FALSE, FALSE, nullptr)); }

// A thread timer: no window needed, DispatchMessage calls `proc` for each tick.
class ThreadTimer {
 public:
  ThreadTimer(UINT ms, TIMERPROC proc) : id_(SetTimer(nullptr, 0, ms, proc)) {}
  ThreadTimer(const ThreadTimer&) = delete;
  ThreadTimer& operator=(const ThreadTimer&) = delete;
  ~ThreadTimer() { KillTimer(nullptr, id_); }

 private:
  UINT_PTR id_;
};

int g_ticks = 0;
Clock::time_point g_deadline;

void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

// Progress for the first five ticks: each pushes the deadline 60 ms further out.
void CALLBACK ExtendDeadline(HWND, UINT, UINT_PTR, DWORD) {
  if (++g_ticks <= 5) g_deadline = Clock::now() + 60ms;
}

Clock::time_point InTenSeconds() { return Clock::now() + 10s; }

TEST(WaitDispatchingMessages, DispatchesMessagesUntilTheEventIsSet) {
  const KernelObject event = AutoResetEvent();
  g_ticks = 0;
  ThreadTimer timer(20, CountTick);
  std::thread setter([&event] {
    Sleep(300);
    SetEvent(event.get());
  });
  const WaitOutcome outcome = WaitDispatchingMessages(event.get(), InTenSeconds);
  setter.join();
  EXPECT_EQ(outcome, WaitOutcome::Signalled);
  EXPECT_GE(g_ticks, 5);
  // The wait took the signal: the next wait on the same event starts afresh.
  EXPECT_EQ(WaitForSingleObject(event.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
}

TEST(WaitDispatchingMessages, ExpiresOnlyOnceTheDeadlineStopsMoving) {
  const KernelObject event = AutoResetEvent();
  g_ticks = 0;
  const auto start = Clock::now();
  g_deadline = start + 60ms;
  ThreadTimer timer(20, ExtendDeadline);
  EXPECT_EQ(WaitDispatchingMessages(event.get(), [] { return g_deadline; }), WaitOutcome::Expired);
  EXPECT_GE(g_ticks, 5);
  EXPECT_GE(Clock::now(), g_deadline);
  // Five ticks of at least 20 ms, then the last 60 ms: well past the first deadline.
  EXPECT_GE(Clock::now() - start, 120ms);
}

TEST(WaitDispatchingMessages, APassedDeadlineStillSeesASetEvent) {
  const KernelObject event = AutoResetEvent();
  SetEvent(event.get());
  EXPECT_EQ(WaitDispatchingMessages(event.get(), [] { return Clock::now() - 1s; }), WaitOutcome::Signalled);
  EXPECT_EQ(WaitDispatchingMessages(event.get(), [] { return Clock::now() - 1s; }), WaitOutcome::Expired);
}

TEST(WaitDispatchingMessages, AQuitEndsTheWaitAndIsPostedAgain) {
  const KernelObject event = AutoResetEvent();
  int before = 0;
  const test::MessageWindow window([&before](UINT message, WPARAM) { before += message == WM_APP ? 1 : 0; });
  PostMessageW(window.hwnd(), WM_APP, 0, 0);
  PostQuitMessage(9);
  EXPECT_EQ(WaitDispatchingMessages(event.get(), InTenSeconds), WaitOutcome::Quit);
  // What was queued ahead of the quit was still handled.
  EXPECT_EQ(before, 1);
  MSG message;
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 9u);
}

TEST(WaitDispatchingMessages, StopsDispatchingOnceTheEventIsSet) {
  const KernelObject event = AutoResetEvent();
  int handled = 0;
  const test::MessageWindow window([&](UINT message, WPARAM) {
    if (message == WM_APP + 1) ++handled;
    // A handler that finishes the work the wait is for.
    if (message == WM_APP + 2) SetEvent(event.get());
  });
  for (const UINT message : {WM_APP + 1, WM_APP + 1, WM_APP + 2, WM_APP + 1}) PostMessageW(window.hwnd(), message, 0, 0);
  EXPECT_EQ(WaitDispatchingMessages(event.get(), InTenSeconds), WaitOutcome::Signalled);
  // The wait ended as soon as the event was set, leaving the last message for later.
  EXPECT_EQ(handled, 2);
  MSG message;
  EXPECT_TRUE(PeekMessageW(&message, window.hwnd(), WM_APP + 1, WM_APP + 1, PM_REMOVE));
}

}  // namespace
}  // namespace lumadex
