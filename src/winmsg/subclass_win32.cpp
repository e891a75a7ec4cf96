#include "winmsg/subclass_win32.h"

#include <stdexcept>

#include "winmsg/report_win32.h"
#include "winmsg/subclass_dispatch.h"
#include "winmsg/subclass_table.h"

namespace lumadex {
namespace {

LRESULT CALLBACK DispatcherProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam);

// Never destroyed: clients with static storage may still detach while the process ends.
SubclassTable& Table() {
  static auto* table = new SubclassTable;
  return *table;
}

subclass_platform::ProcedureSetter g_setProcedure = &SetWindowLongPtrW;

SubclassTable::WindowKey Key(HWND hWnd) { return reinterpret_cast<SubclassTable::WindowKey>(hWnd); }

WNDPROC AsProc(std::uintptr_t value) { return reinterpret_cast<WNDPROC>(value); }

struct DispatchState {
  UINT message = 0;
  WNDPROC previous = nullptr;
};
DispatchState g_current;

// Sets the message and previous procedure a client sees, and puts back those of an outer
// dispatch afterwards, so CallOldWindowProc after a nested dispatch still reaches the right
// window's procedure.
class CurrentScope {
 public:
  CurrentScope(UINT message, WNDPROC previous) : saved_(g_current) { g_current = {message, previous}; }
  ~CurrentScope() { g_current = saved_; }
  CurrentScope(const CurrentScope&) = delete;
  CurrentScope& operator=(const CurrentScope&) = delete;

 private:
  DispatchState saved_;
};

WNDPROC CurrentProcedure(HWND hWnd) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
}

// Gives the window its previous procedure back when the dispatcher is still on top of its
// chain, and forgets the window then. Otherwise the window stays known so that the dispatcher,
// still called from above, can pass its messages on.
void ReleaseWindow(HWND hWnd) {
  SubclassTable& table = Table();
  const auto key = Key(hWnd);
  if (!table.Knows(key) || table.RegistrationCount(key) != 0) return;
  if (!IsWindow(hWnd)) {
    table.EraseWindow(key);
    return;
  }
  if (CurrentProcedure(hWnd) == &DispatcherProc) {
    SetWindowLongPtrW(hWnd, GWLP_WNDPROC, static_cast<LONG_PTR>(table.PreviousProc(key)));
    table.EraseWindow(key);
  }
}

LRESULT CallPrevious(WNDPROC previous, HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(previous ? previous : &DefWindowProcW, hWnd, iMsg, wParam, lParam);
}

// One message of one window, as the round of its clients sees it. Every client call runs with
// the message and the window's previous procedure as CurrentMessage and CallOldWindowProc see
// them; a client's failure stops here.
class WindowSteps final : public DispatchSteps {
 public:
  WindowSteps(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam, WNDPROC previous)
      : hWnd_(hWnd), iMsg_(iMsg), wParam_(wParam), lParam_(lParam), previous_(previous) {}

  bool StillRegistered(const ISubclass* client) const override {
    return Table().Contains(Key(hWnd_), iMsg_, client);
  }
  MessageResponse Ask(ISubclass* client) override {
    CurrentScope scope(iMsg_, previous_);
    try {
      return client->MsgResponse();
    } catch (...) {
      ReportCallbackFailure(L"MsgResponse");
      return MessageResponse::CallOldAfter;
    }
  }
  std::intptr_t Call(ISubclass* client) override {
    CurrentScope scope(iMsg_, previous_);
    try {
      return client->WindowProc(hWnd_, iMsg_, wParam_, lParam_);
    } catch (...) {
      ReportCallbackFailure(L"WindowProc");
      return 0;
    }
  }
  std::intptr_t CallPrevious() override { return lumadex::CallPrevious(previous_, hWnd_, iMsg_, wParam_, lParam_); }

 private:
  HWND hWnd_;
  UINT iMsg_;
  WPARAM wParam_;
  LPARAM lParam_;
  WNDPROC previous_;
};

LRESULT Dispatch(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
  SubclassTable& table = Table();
  const auto key = Key(hWnd);
  const WNDPROC previous = AsProc(table.PreviousProc(key));

  if (table.RegistrationCount(key) == 0) {
    // Only passing on: take the dispatcher out as soon as nothing sits above it any more.
    ReleaseWindow(hWnd);
    const LRESULT result = CallPrevious(previous, hWnd, iMsg, wParam, lParam);
    if (iMsg == WM_NCDESTROY) table.EraseWindow(key);
    return result;
  }

  // The clients as they stand now: a client may attach or detach others while it runs.
  ClientSnapshot clients(table.Memory());
  table.CopyClients(key, iMsg, clients);

  WindowSteps steps(hWnd, iMsg, wParam, lParam, previous);
  const DispatchOutcome outcome = DispatchToClients(clients, steps);
  const LRESULT result = outcome.result;
  const bool previousCalled = outcome.previousCalled;

  if (iMsg == WM_NCDESTROY) {
    // The window's own procedure frees its data here; it must see the message whatever the
    // clients answered.
    if (!previousCalled) CallPrevious(previous, hWnd, iMsg, wParam, lParam);
    if (IsWindow(hWnd) && CurrentProcedure(hWnd) == &DispatcherProc) {
      SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    table.EraseWindow(key);
  }
  return result;
}

LRESULT CALLBACK DispatcherProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
  try {
    return Dispatch(hWnd, iMsg, wParam, lParam);
  } catch (...) {
    ReportCallbackFailure(L"the message dispatcher");
    return 0;
  }
}

}  // namespace

ISubclass::~ISubclass() {
  // Only a last resort: by now the derived part of the client is gone, and any message its
  // windows received since its own destructor began reached a half-destroyed object.
  std::size_t left = 0;
  try {
    for (const auto key : Table().RemoveClientEverywhere(this, &left)) ReleaseWindow(reinterpret_cast<HWND>(key));
    if (left != 0) throw std::logic_error("a message client was destroyed while still attached");
  } catch (...) {
    ReportCallbackFailure(L"a message client's destructor");
  }
}

void AttachMessage(ISubclass* client, HWND hWnd, UINT iMsg) {
  if (!client) throw std::invalid_argument("AttachMessage: no client");
  if (!hWnd || !IsWindow(hWnd)) throw WinMsgError(kErrInvalidWindow);
  DWORD processId = 0;
  const DWORD threadId = GetWindowThreadProcessId(hWnd, &processId);
  if (processId != GetCurrentProcessId()) throw WinMsgError(kErrExternalWindow);
  // The registry and the dispatch state belong to the window's thread, which is the only one
  // the window's messages are dispatched on.
  if (threadId != GetCurrentThreadId()) throw WinMsgError(kErrForeignThreadWindow);

  // A window still known without registrations has the dispatcher in its chain already.
  const auto outcome = Table().Attach(Key(hWnd), iMsg, client, [hWnd] {
    return static_cast<std::uintptr_t>(g_setProcedure(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DispatcherProc)));
  });
  if (outcome == SubclassTable::AttachOutcome::AlreadyRegistered) throw WinMsgError(kErrAlreadyHandled);
  if (outcome == SubclassTable::AttachOutcome::Refused) throw WinMsgError(kErrCantSubclass);
}

void DetachMessage(ISubclass* client, HWND hWnd, UINT iMsg) noexcept {
  try {
    if (!Table().RemoveClient(Key(hWnd), iMsg, client)) return;
    ReleaseWindow(hWnd);
  } catch (...) {
    ReportCallbackFailure(L"DetachMessage");
  }
}

void DetachClient(ISubclass* client) noexcept {
  try {
    for (const auto key : Table().RemoveClientEverywhere(client)) ReleaseWindow(reinterpret_cast<HWND>(key));
  } catch (...) {
    ReportCallbackFailure(L"DetachClient");
  }
}

UINT CurrentMessage() noexcept { return g_current.message; }

LRESULT CallOldWindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
  return CallPrevious(g_current.previous, hWnd, iMsg, wParam, lParam);
}

void GSubclass::AttachMessage(ISubclass* client, HWND hWnd, UINT iMsg) { lumadex::AttachMessage(client, hWnd, iMsg); }
void GSubclass::DetachMessage(ISubclass* client, HWND hWnd, UINT iMsg) noexcept {
  lumadex::DetachMessage(client, hWnd, iMsg);
}
UINT GSubclass::CurrentMessage() const noexcept { return lumadex::CurrentMessage(); }
LRESULT GSubclass::CallOldWindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
  return lumadex::CallOldWindowProc(hWnd, iMsg, wParam, lParam);
}

namespace subclass_platform {
ProcedureSetter ReplaceProcedureSetter(ProcedureSetter setter) noexcept {
  const ProcedureSetter previous = g_setProcedure;
  g_setProcedure = setter ? setter : &SetWindowLongPtrW;
  return previous;
}
}  // namespace subclass_platform

namespace subclass_registry {
bool IsSubclassed(HWND hWnd) noexcept { return Table().RegistrationCount(Key(hWnd)) != 0; }
std::size_t RegistrationCount(HWND hWnd) noexcept { return Table().RegistrationCount(Key(hWnd)); }
std::size_t MessageCount(HWND hWnd) noexcept { return Table().MessageCount(Key(hWnd)); }
std::size_t ClientCount(HWND hWnd, UINT iMsg) noexcept { return Table().ClientCount(Key(hWnd), iMsg); }
std::size_t WindowCount() noexcept { return Table().WindowCount(); }
WNDPROC DispatcherProcedure() noexcept { return &DispatcherProc; }
}  // namespace subclass_registry

}  // namespace lumadex
