// Lets any number of objects intercept single messages of any window of this process. The
// window's procedure is replaced by one shared dispatcher while at least one registration
// exists; the dispatcher calls the registered clients in registration order and involves the
// window's previous procedure as the first and last client ask.
#pragma once
#include <windows.h>

#include <cstddef>

#include "winmsg/subclass_dispatch.h"
#include "winmsg/winmsg_error.h"

namespace lumadex {

// A client of the subclassing. Registrations hold the client's address only, so each client
// detaches everything it attached in its own destructor (DetachClient(this) does it all):
// messages sent while its members and other bases are torn down must not reach it. This base
// drops what is left when it goes, as a last resort, and reports it as a failure.
class ISubclass {
 public:
  ISubclass() = default;
  ISubclass(const ISubclass&) {}
  ISubclass& operator=(const ISubclass&) { return *this; }
  virtual ~ISubclass();

  // Read by the dispatcher at dispatch time; CurrentMessage() tells which message it is for.
  virtual MessageResponse MsgResponse() = 0;
  // The result becomes the message's result unless the previous procedure is called after.
  virtual LRESULT WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) = 0;
};

// Registers the client for message iMsg of window hWnd. Throws WinMsgError: kErrInvalidWindow
// for a handle that is no window, kErrExternalWindow for a window of another process,
// kErrForeignThreadWindow for a window of another thread of this process, kErrCantSubclass
// when the platform refuses the new procedure, kErrAlreadyHandled when the client is already
// registered for that message of that window. A failed attach (std::bad_alloc included)
// changes nothing. Throws std::invalid_argument for a null client.
void AttachMessage(ISubclass* client, HWND hWnd, UINT iMsg);

// Removes the registration; does nothing when there is none. The window gets its previous
// procedure back with its last registration (unless another subclass has been installed above
// the dispatcher since; the dispatcher then stays in the chain and passes everything on).
void DetachMessage(ISubclass* client, HWND hWnd, UINT iMsg) noexcept;

// Removes every registration of the client on every window.
void DetachClient(ISubclass* client) noexcept;

// The message being dispatched; meaningful inside a client's MsgResponse and WindowProc.
UINT CurrentMessage() noexcept;

// Calls the previous procedure of the window whose message is being dispatched
// (DefWindowProcW outside a dispatch).
LRESULT CallOldWindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam);

// The front of the same operations for components that prefer an object.
class GSubclass {
 public:
  void AttachMessage(ISubclass* client, HWND hWnd, UINT iMsg);
  void DetachMessage(ISubclass* client, HWND hWnd, UINT iMsg) noexcept;
  UINT CurrentMessage() const noexcept;
  LRESULT CallOldWindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam);
};

// The platform call that puts the dispatcher in, replaceable so that a refusal can be seen.
namespace subclass_platform {
using ProcedureSetter = LONG_PTR(WINAPI*)(HWND, int, LONG_PTR);
// Returns the setter in use before; null puts the platform's own back.
ProcedureSetter ReplaceProcedureSetter(ProcedureSetter setter) noexcept;
}  // namespace subclass_platform

// Read-only views of the registry, for tests and diagnostics.
namespace subclass_registry {
// True while the window has at least one registration.
bool IsSubclassed(HWND hWnd) noexcept;
// Registrations on the window over all messages and clients.
std::size_t RegistrationCount(HWND hWnd) noexcept;
// Distinct messages with at least one client on the window.
std::size_t MessageCount(HWND hWnd) noexcept;
// Clients registered for one message of the window.
std::size_t ClientCount(HWND hWnd, UINT iMsg) noexcept;
// Windows the registry knows, those kept only to pass messages on included.
std::size_t WindowCount() noexcept;
// The shared dispatcher procedure, to tell it apart in a window's procedure chain.
WNDPROC DispatcherProcedure() noexcept;
}  // namespace subclass_registry

}  // namespace lumadex
