#include "winmsg/subclass_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "winmsg/allocation_count_win32.h"
#include "winmsg/failure_reports_win32.h"

namespace lumadex {
namespace {

constexpr UINT kMsgA = WM_APP + 1;
constexpr UINT kMsgB = WM_APP + 2;
constexpr UINT kMsgC = WM_APP + 3;

// Every call of a window's own procedure and of every client, in order.
std::vector<std::string> g_log;

// The window's own procedures answer the test messages with a value that tells whose they are.
LRESULT OwnResult(char window, UINT message) { return (window == 'A' ? 1000 : 2000) + static_cast<LRESULT>(message - WM_APP); }

LRESULT LoggingProc(char window, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const std::string tag = std::string("old") + window;
  if (message >= WM_APP && message < WM_APP + 100) {
    g_log.push_back(tag + ":" + std::to_string(message - WM_APP));
    return OwnResult(window, message);
  }
  if (message == WM_NCDESTROY) g_log.push_back(tag + ":ncdestroy");
  return DefWindowProcW(hWnd, message, wParam, lParam);
}

LRESULT CALLBACK ProcA(HWND h, UINT m, WPARAM w, LPARAM l) { return LoggingProc('A', h, m, w, l); }
LRESULT CALLBACK ProcB(HWND h, UINT m, WPARAM w, LPARAM l) { return LoggingProc('B', h, m, w, l); }

const wchar_t* ClassFor(WNDPROC proc, const wchar_t* name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);  // a second registration in the same run fails harmlessly
  return name;
}

// A hidden top-level window whose own procedure records its calls.
class TestWindow {
 public:
  explicit TestWindow(char which = 'A')
      : hwnd_(CreateWindowExW(0, which == 'A' ? ClassFor(&ProcA, L"LumadexSubclassTestA")
                                              : ClassFor(&ProcB, L"LumadexSubclassTestB"),
                              L"", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)),
        own_(which == 'A' ? &ProcA : &ProcB) {}
  ~TestWindow() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;
  HWND get() const { return hwnd_; }
  WNDPROC Procedure() const { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd_, GWLP_WNDPROC)); }
  WNDPROC Own() const { return own_; }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageW(hwnd_, message, wParam, lParam);
  }

 private:
  HWND hwnd_;
  WNDPROC own_;
};

// A client with a fixed answer and result; an optional action runs inside its WindowProc.
class TestClient : public ISubclass {
 public:
  TestClient(std::string name, MessageResponse response, LRESULT result = 0)
      : name_(std::move(name)), response_(response), result_(result) {}
  ~TestClient() override { DetachClient(this); }

  MessageResponse MsgResponse() override {
    seenByResponse.push_back(CurrentMessage());
    return response_;
  }
  LRESULT WindowProc(HWND, UINT iMsg, WPARAM, LPARAM) override {
    g_log.push_back(name_ + ":" + std::to_string(iMsg - WM_APP));
    seenCurrent.push_back(CurrentMessage());
    // The action may destroy this client: nothing of it is touched afterwards.
    const LRESULT result = result_;
    if (const auto action = during) action();
    return result;
  }

  std::function<void()> during;
  std::vector<UINT> seenByResponse;
  std::vector<UINT> seenCurrent;

 private:
  std::string name_;
  MessageResponse response_;
  LRESULT result_;
};

using Log = std::vector<std::string>;

class Subclassing : public testing::Test {
 protected:
  void SetUp() override {
    g_log.clear();
    windowsBefore_ = subclass_registry::WindowCount();
  }
  void TearDown() override {
    // Whatever a test left attached, the registry must not remember windows it does not serve.
    EXPECT_EQ(subclass_registry::WindowCount(), windowsBefore_);
  }

  // The clients, in this order, for one message of the test's window.
  void Attach(std::initializer_list<ISubclass*> clients, UINT message) {
    for (ISubclass* client : clients) AttachMessage(client, window.get(), message);
  }
  void Detach(std::initializer_list<ISubclass*> clients, UINT message) {
    for (ISubclass* client : clients) DetachMessage(client, window.get(), message);
  }

  TestWindow window;
  std::size_t windowsBefore_ = 0;
};

TEST_F(Subclassing, EachAnswerInvolvesThePreviousProcedureAsItSays) {
  {
    TestClient consume("c", MessageResponse::Consume, 7);
    Attach({&consume}, kMsgA);
    EXPECT_EQ(window.Send(kMsgA), 7);
    EXPECT_EQ(g_log, (Log{"c:1"}));
  }
  g_log.clear();
  {
    TestClient after("c", MessageResponse::CallOldAfter, 7);
    Attach({&after}, kMsgA);
    EXPECT_EQ(window.Send(kMsgA), OwnResult('A', kMsgA));
    EXPECT_EQ(g_log, (Log{"c:1", "oldA:1"}));
  }
  g_log.clear();
  {
    TestClient before("c", MessageResponse::CallOldBefore, 7);
    Attach({&before}, kMsgA);
    EXPECT_EQ(window.Send(kMsgA), 7);
    EXPECT_EQ(g_log, (Log{"oldA:1", "c:1"}));
    EXPECT_EQ(before.seenByResponse, (std::vector<UINT>{kMsgA, kMsgA}));
  }
  // Each client detached itself when it went, so the window has its own procedure again.
  EXPECT_EQ(window.Procedure(), window.Own());
  EXPECT_FALSE(subclass_registry::IsSubclassed(window.get()));
}

TEST_F(Subclassing, OnlyTheFirstAnswerCountsBeforeAndOnlyTheLastAfter) {
  TestClient first("c1", MessageResponse::CallOldBefore, 1);
  TestClient middle("c2", MessageResponse::CallOldBefore, 2);
  TestClient last("c3", MessageResponse::CallOldBefore, 3);
  Attach({&first, &middle, &last}, kMsgA);
  EXPECT_EQ(window.Send(kMsgA), 3);
  EXPECT_EQ(g_log, (Log{"oldA:1", "c1:1", "c2:1", "c3:1"}));
  EXPECT_TRUE(middle.seenByResponse.empty());
  DetachClient(&first);
  DetachClient(&middle);
  DetachClient(&last);

  g_log.clear();
  TestClient consume("c1", MessageResponse::Consume, 1);
  TestClient middleAfter("c2", MessageResponse::CallOldAfter, 2);
  TestClient lastAfter("c3", MessageResponse::CallOldAfter, 3);
  Attach({&consume, &middleAfter, &lastAfter}, kMsgA);
  EXPECT_EQ(window.Send(kMsgA), OwnResult('A', kMsgA));
  EXPECT_EQ(g_log, (Log{"c1:1", "c2:1", "c3:1", "oldA:1"}));

  // With the last one consuming, the previous procedure is never reached.
  g_log.clear();
  Detach({&lastAfter}, kMsgA);
  TestClient lastConsume("c4", MessageResponse::Consume, 4);
  Attach({&lastConsume}, kMsgA);
  Detach({&middleAfter}, kMsgA);
  EXPECT_EQ(window.Send(kMsgA), 4);
  EXPECT_EQ(g_log, (Log{"c1:1", "c4:1"}));
}

TEST_F(Subclassing, MessagesWithoutClientsReachThePreviousProcedureUnchanged) {
  TestClient a("ca", MessageResponse::Consume, 11);
  TestClient b("cb", MessageResponse::Consume, 22);
  Attach({&a}, kMsgA);
  Attach({&b, &a}, kMsgB);
  EXPECT_EQ(subclass_registry::RegistrationCount(window.get()), 3u);
  EXPECT_EQ(subclass_registry::MessageCount(window.get()), 2u);
  EXPECT_EQ(subclass_registry::ClientCount(window.get(), kMsgB), 2u);

  EXPECT_EQ(window.Send(kMsgC, 5, 6), OwnResult('A', kMsgC));
  EXPECT_EQ(window.Send(kMsgA), 11);
  EXPECT_EQ(window.Send(kMsgB), 11);  // the last client's result
  EXPECT_EQ(g_log, (Log{"oldA:3", "ca:1", "cb:2", "ca:2"}));
  EXPECT_EQ(a.seenCurrent, (std::vector<UINT>{kMsgA, kMsgB}));
  // An ordinary message keeps working through the dispatcher.
  SetWindowTextW(window.get(), L"渲染");
  wchar_t text[8]{};
  GetWindowTextW(window.get(), text, 8);
  EXPECT_STREQ(text, L"渲染");
}

TEST_F(Subclassing, TheWindowIsRestoredExactlyWhenItsLastRegistrationGoes) {
  TestClient first("c1", MessageResponse::Consume, 1);
  TestClient second("c2", MessageResponse::Consume, 2);
  Attach({&first, &second}, kMsgA);
  EXPECT_EQ(window.Procedure(), subclass_registry::DispatcherProcedure());

  Detach({&first}, kMsgA);
  EXPECT_TRUE(subclass_registry::IsSubclassed(window.get()));
  EXPECT_EQ(subclass_registry::ClientCount(window.get(), kMsgA), 1u);
  EXPECT_EQ(window.Send(kMsgA), 2);  // the second now stands first
  Detach({&second}, kMsgA);
  EXPECT_EQ(window.Procedure(), window.Own());
  EXPECT_EQ(subclass_registry::RegistrationCount(window.get()), 0u);

  // Two clients, the later one leaving first: the earlier one keeps answering alone.
  Attach({&first, &second}, kMsgA);
  Detach({&second}, kMsgA);
  EXPECT_EQ(window.Send(kMsgA), 1);
  Detach({&first}, kMsgA);
  EXPECT_EQ(window.Procedure(), window.Own());

  // One client on two messages, detached in the order attached and then the other way round.
  for (bool reverse : {false, true}) {
    Attach({&first}, kMsgA);
    Attach({&first}, kMsgB);
    EXPECT_EQ(subclass_registry::RegistrationCount(window.get()), 2u);
    DetachMessage(&first, window.get(), reverse ? kMsgB : kMsgA);
    EXPECT_EQ(window.Procedure(), subclass_registry::DispatcherProcedure());
    DetachMessage(&first, window.get(), reverse ? kMsgA : kMsgB);
    EXPECT_EQ(window.Procedure(), window.Own());
  }
}

TEST_F(Subclassing, DetachingWhatWasNeverAttachedChangesNothing) {
  TestClient attached("c1", MessageResponse::Consume, 1);
  TestClient stranger("c2", MessageResponse::Consume, 2);
  Attach({&attached}, kMsgA);
  Detach({&stranger}, kMsgA);
  Detach({&attached}, kMsgB);
  DetachMessage(&attached, nullptr, kMsgA);
  EXPECT_EQ(subclass_registry::ClientCount(window.get(), kMsgA), 1u);
  EXPECT_EQ(subclass_registry::RegistrationCount(window.get()), 1u);
  EXPECT_EQ(window.Send(kMsgA), 1);
  Detach({&attached}, kMsgA);
  Detach({&attached}, kMsgA);  // twice: counts never go below zero
  EXPECT_EQ(window.Procedure(), window.Own());
  Attach({&attached}, kMsgA);
  EXPECT_EQ(subclass_registry::RegistrationCount(window.get()), 1u);
}

void ExpectError(long code, const std::function<void()>& action) {
  try {
    action();
    ADD_FAILURE() << "no error " << code;
  } catch (const WinMsgError& error) {
    EXPECT_EQ(error.Code(), code);
    EXPECT_EQ(error.Number(), 0x80040000u + static_cast<std::uint32_t>(code));
    EXPECT_EQ(error.Source(), L"Lumadex.WindowProc");
    EXPECT_EQ(error.Description(), WinMsgErrorDescription(code));
  }
}

TEST_F(Subclassing, RefusedAttachmentsLeaveTheWindowAsItWas) {
  TestClient client("c", MessageResponse::Consume, 1);
  Attach({&client}, kMsgA);
  ExpectError(kErrAlreadyHandled, [&] { Attach({&client}, kMsgA); });
  EXPECT_EQ(subclass_registry::RegistrationCount(window.get()), 1u);
  EXPECT_EQ(subclass_registry::ClientCount(window.get(), kMsgA), 1u);
  EXPECT_EQ(window.Send(kMsgA), 1);
  g_log.clear();
  Detach({&client}, kMsgA);
  EXPECT_EQ(window.Procedure(), window.Own());

  HWND gone = nullptr;
  {
    TestWindow shortLived;
    gone = shortLived.get();
  }
  ExpectError(kErrInvalidWindow, [&] { AttachMessage(&client, gone, kMsgA); });
  ExpectError(kErrInvalidWindow, [&] { AttachMessage(&client, nullptr, kMsgA); });
  ExpectError(kErrExternalWindow, [&] { AttachMessage(&client, GetDesktopWindow(), kMsgA); });
  EXPECT_FALSE(subclass_registry::IsSubclassed(GetDesktopWindow()));
  EXPECT_FALSE(subclass_registry::IsSubclassed(gone));
  EXPECT_EQ(window.Procedure(), window.Own());
  EXPECT_THROW(AttachMessage(nullptr, window.get(), kMsgA), std::invalid_argument);
  EXPECT_EQ(window.Procedure(), window.Own());

  // GSubclass raises the same errors.
  GSubclass front;
  front.AttachMessage(&client, window.get(), kMsgA);
  ExpectError(kErrAlreadyHandled, [&] { front.AttachMessage(&client, window.get(), kMsgA); });
  front.DetachMessage(&client, window.get(), kMsgA);
  EXPECT_EQ(window.Procedure(), window.Own());
}

TEST_F(Subclassing, ANestedDispatchNeverCallsTheWrongWindowsProcedure) {
  TestWindow outer('A');
  TestWindow inner('B');
  TestClient innerClient("in", MessageResponse::CallOldAfter, 5);
  AttachMessage(&innerClient, inner.get(), kMsgB);

  GSubclass front;
  LRESULT innerResult = 0, oldResult = 0;
  UINT messageAfterNesting = 0;
  TestClient outerClient("out", MessageResponse::Consume, 9);
  outerClient.during = [&] {
    innerResult = inner.Send(kMsgB);
    messageAfterNesting = front.CurrentMessage();
    oldResult = front.CallOldWindowProc(outer.get(), kMsgA, 0, 0);
  };
  AttachMessage(&outerClient, outer.get(), kMsgA);

  EXPECT_EQ(outer.Send(kMsgA), 9);
  EXPECT_EQ(innerResult, OwnResult('B', kMsgB));
  EXPECT_EQ(messageAfterNesting, kMsgA);
  EXPECT_EQ(oldResult, OwnResult('A', kMsgA));
  EXPECT_EQ(g_log, (Log{"out:1", "in:2", "oldB:2", "oldA:1"}));
}

TEST_F(Subclassing, ClientsDetachingDuringADispatchAreNotCalledAfterwards) {
  TestClient first("c1", MessageResponse::Consume, 1);
  TestClient second("c2", MessageResponse::Consume, 2);
  TestClient third("c3", MessageResponse::CallOldAfter, 3);
  Attach({&first, &second, &third}, kMsgA);

  // The first takes the second off: the second is skipped, the third still ends the message.
  first.during = [&] { Detach({&second}, kMsgA); };
  EXPECT_EQ(window.Send(kMsgA), OwnResult('A', kMsgA));
  EXPECT_EQ(g_log, (Log{"c1:1", "c3:1", "oldA:1"}));

  // A client taking itself off and attaching a newcomer: the newcomer starts with the next message.
  g_log.clear();
  TestClient newcomer("c4", MessageResponse::Consume, 4);
  first.during = [&] {
    Detach({&first}, kMsgA);
    Attach({&newcomer}, kMsgA);
  };
  EXPECT_EQ(window.Send(kMsgA), OwnResult('A', kMsgA));
  EXPECT_EQ(g_log, (Log{"c1:1", "c3:1", "oldA:1"}));
  g_log.clear();
  EXPECT_EQ(window.Send(kMsgA), 4);
  EXPECT_EQ(g_log, (Log{"c3:1", "c4:1"}));

  // Every client gone in the middle of the message: the window's own procedure answers it.
  g_log.clear();
  third.during = [&] {
    Detach({&third, &newcomer}, kMsgA);
  };
  EXPECT_EQ(window.Send(kMsgA), 3);
  EXPECT_EQ(g_log, (Log{"c3:1"}));
  EXPECT_EQ(window.Procedure(), window.Own());
}

TEST_F(Subclassing, AClientDestroyedInsideItsOwnCallIsNotTouchedAgain) {
  auto doomed = std::make_unique<TestClient>("doomed", MessageResponse::CallOldAfter, 8);
  TestClient after("c2", MessageResponse::Consume, 2);
  AttachMessage(doomed.get(), window.get(), kMsgA);
  Attach({&after}, kMsgA);
  doomed->during = [&] { doomed.reset(); };
  EXPECT_EQ(window.Send(kMsgA), 2);
  EXPECT_EQ(subclass_registry::ClientCount(window.get(), kMsgA), 1u);

  // The last client going inside its own call: its answer is not asked for afterwards.
  g_log.clear();
  auto last = std::make_unique<TestClient>("last", MessageResponse::CallOldAfter, 6);
  AttachMessage(last.get(), window.get(), kMsgA);
  last->during = [&] { last.reset(); };
  EXPECT_EQ(window.Send(kMsgA), 6);
  EXPECT_EQ(g_log, (Log{"c2:1", "last:1"}));
}

TEST_F(Subclassing, AWindowDestroyedWhileAttachedLeavesNothingBehind) {
  TestClient client("c", MessageResponse::Consume, 1);
  TestClient destroyWatcher("w", MessageResponse::Consume, 0);
  HWND handle = nullptr;
  {
    TestWindow doomed;
    handle = doomed.get();
    AttachMessage(&client, handle, kMsgA);
    AttachMessage(&client, handle, kMsgB);
    AttachMessage(&destroyWatcher, handle, WM_NCDESTROY);
  }
  EXPECT_FALSE(IsWindow(handle));
  EXPECT_FALSE(subclass_registry::IsSubclassed(handle));
  EXPECT_EQ(subclass_registry::MessageCount(handle), 0u);
  // The window's own procedure still freed its data, though the client consumed the message.
  EXPECT_EQ(g_log, (Log{"w:" + std::to_string(static_cast<UINT>(WM_NCDESTROY) - WM_APP), "oldA:ncdestroy"}));
  // Late detaches of the vanished window are harmless.
  DetachMessage(&client, handle, kMsgA);
  DetachMessage(&client, handle, kMsgB);
}

WNDPROC g_beneathForeign = nullptr;
LRESULT CALLBACK ForeignProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kMsgA) g_log.push_back("foreign:1");
  return CallWindowProcW(g_beneathForeign, hWnd, message, wParam, lParam);
}

TEST_F(Subclassing, ASubclassAboveTheDispatcherKeepsTheChainWhole) {
  TestClient client("c", MessageResponse::CallOldAfter, 1);
  Attach({&client}, kMsgA);
  g_beneathForeign = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
  ASSERT_EQ(g_beneathForeign, subclass_registry::DispatcherProcedure());

  // The framework lets go while the foreign subclass sits above: the dispatcher stays and passes on.
  Detach({&client}, kMsgA);
  EXPECT_FALSE(subclass_registry::IsSubclassed(window.get()));
  EXPECT_EQ(window.Procedure(), &ForeignProc);
  EXPECT_EQ(window.Send(kMsgA), OwnResult('A', kMsgA));
  EXPECT_EQ(g_log, (Log{"foreign:1", "oldA:1"}));

  // Attaching again reuses the dispatcher already in the chain.
  g_log.clear();
  Attach({&client}, kMsgA);
  EXPECT_EQ(window.Procedure(), &ForeignProc);
  EXPECT_EQ(window.Send(kMsgA), OwnResult('A', kMsgA));
  EXPECT_EQ(g_log, (Log{"foreign:1", "c:1", "oldA:1"}));
  Detach({&client}, kMsgA);

  // The foreign subclass removes itself; the next message takes the dispatcher out as well.
  SetWindowLongPtrW(window.get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_beneathForeign));
  g_log.clear();
  EXPECT_EQ(window.Send(kMsgB), OwnResult('A', kMsgB));
  EXPECT_EQ(window.Procedure(), window.Own());
  EXPECT_EQ(g_log, (Log{"oldA:2"}));
}

class ThrowingClient : public ISubclass {
 public:
  ~ThrowingClient() override { DetachClient(this); }
  MessageResponse MsgResponse() override { return MessageResponse::Consume; }
  LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override { throw std::runtime_error("client failure"); }
};

TEST_F(Subclassing, AClientsExceptionStopsAtTheDispatcher) {
  ThrowingClient thrower;
  TestClient after("c2", MessageResponse::CallOldAfter, 2);
  Attach({&thrower, &after}, kMsgA);
  EXPECT_EQ(window.Send(kMsgA), OwnResult('A', kMsgA));
  EXPECT_EQ(g_log, (Log{"c2:1", "oldA:1"}));
}

TEST_F(Subclassing, CallOldWindowProcOutsideADispatchFallsBackToTheDefault) {
  SetWindowTextW(window.get(), L"abc");
  EXPECT_EQ(CallOldWindowProc(window.get(), WM_GETTEXTLENGTH, 0, 0), 3);
  EXPECT_TRUE(g_log.empty());
}

// A client with a member that still sends its window a message while it is torn down, after
// the client's own destructor has run.
class TornDownClient : public ISubclass {
 public:
  TornDownClient(const TestWindow& window, bool detachesItself) : detachesItself_(detachesItself), last_{window} {
    AttachMessage(this, window.get(), kMsgA);
  }
  ~TornDownClient() override {
    g_log.push_back("client gone");
    if (detachesItself_) DetachClient(this);
  }
  MessageResponse MsgResponse() override { return MessageResponse::CallOldAfter; }
  LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override {
    g_log.push_back("client called");
    return 0;
  }

 private:
  struct LastWord {
    const TestWindow& window;
    ~LastWord() { window.Send(kMsgA); }
  };
  bool detachesItself_;
  LastWord last_;
};

TEST_F(Subclassing, AClientTornDownWhileItsWindowStillGetsMessagesIsNeverCalled) {
  test::FailureReports reports;
  delete new TornDownClient(window, /*detachesItself=*/true);
  // The window's own procedure saw the message; the client nothing once it began to go.
  EXPECT_EQ(g_log, (Log{"client gone", "oldA:1"}));
  EXPECT_EQ(reports.Count(), 0u);
  EXPECT_EQ(window.Procedure(), window.Own());

  // A client leaving its registrations to this base may have been reached half-destroyed: it is
  // reported, and nothing stays registered.
  delete new TornDownClient(window, /*detachesItself=*/false);
  EXPECT_TRUE(reports.Mention(L"a message client's destructor"));
  EXPECT_EQ(window.Procedure(), window.Own());
}

// Answers every request to replace a window procedure with a refusal.
LONG_PTR WINAPI RefuseProcedure(HWND, int, LONG_PTR) { return 0; }

TEST_F(Subclassing, ARefusedProcedureAndAWindowOfAnotherThreadAreErrors) {
  TestClient client("c", MessageResponse::Consume, 1);
  const auto platform = subclass_platform::ReplaceProcedureSetter(&RefuseProcedure);
  ExpectError(kErrCantSubclass, [&] { Attach({&client}, kMsgA); });
  subclass_platform::ReplaceProcedureSetter(platform);
  EXPECT_FALSE(subclass_registry::IsSubclassed(window.get()));
  EXPECT_EQ(window.Procedure(), window.Own());
  EXPECT_EQ(window.Send(kMsgA), OwnResult('A', kMsgA));

  // The registry and the dispatch belong to the window's own thread.
  std::thread other([&] { ExpectError(kErrForeignThreadWindow, [&] { Attach({&client}, kMsgA); }); });
  other.join();
  EXPECT_FALSE(subclass_registry::IsSubclassed(window.get()));
  EXPECT_EQ(window.Procedure(), window.Own());
  Attach({&client}, kMsgA);  // the window's own thread still may
  EXPECT_EQ(window.Send(kMsgA), 1);
}

TEST_F(Subclassing, AFailedAllocationKeepsTheWindowsOwnProcedure) {
  TestClient client("c", MessageResponse::Consume, 1);
  bool refused = false;
  {
    test::AllocationCount allocations;
    allocations.FailNext();
    try {
      AttachMessage(&client, window.get(), kMsgA);
    } catch (const std::bad_alloc&) {
      refused = true;
    }
  }
  EXPECT_TRUE(refused);
  EXPECT_EQ(window.Procedure(), window.Own());
  EXPECT_FALSE(subclass_registry::IsSubclassed(window.get()));
  EXPECT_EQ(window.Send(kMsgA), OwnResult('A', kMsgA));
  Attach({&client}, kMsgA);
  EXPECT_EQ(window.Send(kMsgA), 1);
}

// Only counts its calls, so that it takes no memory of its own.
class CountingClient : public ISubclass {
 public:
  explicit CountingClient(MessageResponse response) : response_(response) {}
  ~CountingClient() override { DetachClient(this); }
  MessageResponse MsgResponse() override { return response_; }
  LRESULT WindowProc(HWND, UINT, WPARAM, LPARAM) override { return ++calls; }
  int calls = 0;

 private:
  MessageResponse response_;
};

TEST_F(Subclassing, DispatchingToOneOrTwoClientsTakesNoMemory) {
  CountingClient first(MessageResponse::CallOldBefore);
  CountingClient second(MessageResponse::CallOldAfter);
  Attach({&first}, kMsgA);
  Attach({&first, &second}, kMsgB);
  g_log.reserve(100);  // the window's own record of the messages must not count
  {
    test::AllocationCount allocations;
    for (int i = 0; i < 10; ++i) {
      window.Send(kMsgA);
      window.Send(kMsgB);
      window.Send(kMsgC);
    }
    EXPECT_EQ(allocations.Count(), 0u);
  }
  EXPECT_EQ(first.calls, 20);
  EXPECT_EQ(second.calls, 10);
}

}  // namespace
}  // namespace lumadex
