// The tests' side of the platform's accessibility interface: objects got as a screen reader
// gets them (AccessibleObjectFromWindow), their answers in plain values, and a listener for the
// events the program raises.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <optional>
#include <string>
#include <vector>

#include "controls/host/accessible_win32.h"
#include "controls/host/com_ref_win32.h"

namespace lumadex::test {

// The object of a window's client area; empty when the platform gives none.
ComRef<IAccessible> ClientObject(HWND hwnd);
// The object of the window as a whole (frame, title, system menu).
ComRef<IAccessible> WindowObject(HWND hwnd);

using lumadex::SelfChild;
// Answers about the object itself; nullopt where it has none (S_FALSE) or the call failed.
std::optional<std::wstring> NameOf(IAccessible* object);
std::optional<std::wstring> ValueOf(IAccessible* object);
std::optional<std::wstring> DescriptionOf(IAccessible* object);
std::optional<std::wstring> ShortcutOf(IAccessible* object);
std::optional<std::wstring> DefaultActionOf(IAccessible* object);
long RoleOf(IAccessible* object);   // -1 when it fails
long StateOf(IAccessible* object);  // -1 when it fails
// The state bits that differ, named, for failure messages.
std::string StateNames(long state);

struct SeenEvent {
  DWORD event;
  HWND hwnd;
  LONG object;
  LONG child;
};

// Listens to one range of events of this process, out of context: the events are delivered
// through this thread's message queue, so they arrive while the thread handles messages.
// One listener at a time.
class EventListener {
 public:
  EventListener(DWORD first, DWORD last);
  ~EventListener();
  EventListener(const EventListener&) = delete;
  EventListener& operator=(const EventListener&) = delete;

  // The events seen so far for the client area of `hwnd` (all windows when null).
  std::vector<DWORD> ClientEventsOf(HWND hwnd) const;
  int Count(DWORD event, HWND hwnd) const;
  void Clear() { seen_.clear(); }

 private:
  static void CALLBACK Proc(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD);
  HWINEVENTHOOK hook_ = nullptr;
  std::vector<SeenEvent> seen_;
};

}  // namespace lumadex::test
