#include "support/accessible_client_win32.h"

#include <utility>

#include "controls/host/accessible_win32.h"

namespace lumadex::test {
namespace {

EventListener* g_listener = nullptr;

ComRef<IAccessible> ObjectOf(HWND hwnd, DWORD id) {
  ComRef<IAccessible> object;
  if (FAILED(AccessibleObjectFromWindow(hwnd, id, kIidIAccessible, object.put()))) object.reset();
  return object;
}

template <typename Get>
std::optional<std::wstring> Text(IAccessible* object, Get get) {
  if (!object) return std::nullopt;
  BSTR text = nullptr;
  const HRESULT hr = get(object, &text);
  std::optional<std::wstring> result;
  if (hr == S_OK && text) result.emplace(text, SysStringLen(text));
  SysFreeString(text);
  return result;
}

long Number(IAccessible* object, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
  if (!object) return -1;
  VARIANT value;
  VariantInit(&value);
  if (FAILED((object->*get)(SelfChild(), &value)) || value.vt != VT_I4) {
    VariantClear(&value);
    return -1;
  }
  return value.lVal;
}

}  // namespace

ComRef<IAccessible> ClientObject(HWND hwnd) { return ObjectOf(hwnd, static_cast<DWORD>(OBJID_CLIENT)); }
ComRef<IAccessible> WindowObject(HWND hwnd) { return ObjectOf(hwnd, static_cast<DWORD>(OBJID_WINDOW)); }

std::optional<std::wstring> NameOf(IAccessible* o) {
  return Text(o, [](IAccessible* a, BSTR* t) { return a->get_accName(SelfChild(), t); });
}
std::optional<std::wstring> ValueOf(IAccessible* o) {
  return Text(o, [](IAccessible* a, BSTR* t) { return a->get_accValue(SelfChild(), t); });
}
std::optional<std::wstring> DescriptionOf(IAccessible* o) {
  return Text(o, [](IAccessible* a, BSTR* t) { return a->get_accDescription(SelfChild(), t); });
}
std::optional<std::wstring> ShortcutOf(IAccessible* o) {
  return Text(o, [](IAccessible* a, BSTR* t) { return a->get_accKeyboardShortcut(SelfChild(), t); });
}
std::optional<std::wstring> DefaultActionOf(IAccessible* o) {
  return Text(o, [](IAccessible* a, BSTR* t) { return a->get_accDefaultAction(SelfChild(), t); });
}
long RoleOf(IAccessible* o) { return Number(o, &IAccessible::get_accRole); }
long StateOf(IAccessible* o) { return Number(o, &IAccessible::get_accState); }

std::string StateNames(long state) {
  static const std::pair<long, const char*> kNames[] = {
      {STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_FOCUSED, "focused"},
      {STATE_SYSTEM_PRESSED, "pressed"},         {STATE_SYSTEM_CHECKED, "checked"},
      {STATE_SYSTEM_READONLY, "read-only"},      {STATE_SYSTEM_HOTTRACKED, "hot"},
      {STATE_SYSTEM_DEFAULT, "default"},         {STATE_SYSTEM_INVISIBLE, "invisible"},
      {STATE_SYSTEM_OFFSCREEN, "off-screen"},    {STATE_SYSTEM_FOCUSABLE, "focusable"},
      {STATE_SYSTEM_PROTECTED, "protected"},
  };
  if (state == -1) return "(failed)";
  std::string names;
  for (const auto& [bit, name] : kNames) {
    if (state & bit) names += std::string(names.empty() ? "" : " ") + name;
  }
  return names.empty() ? "(none)" : names;
}

EventListener::EventListener(DWORD first, DWORD last) {
  g_listener = this;
  hook_ = SetWinEventHook(first, last, nullptr, &EventListener::Proc, GetCurrentProcessId(), 0,
                          WINEVENT_OUTOFCONTEXT);
}

EventListener::~EventListener() {
  if (hook_) UnhookWinEvent(hook_);
  g_listener = nullptr;
}

void CALLBACK EventListener::Proc(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (g_listener) g_listener->seen_.push_back({event, hwnd, object, child});
}

std::vector<DWORD> EventListener::ClientEventsOf(HWND hwnd) const {
  std::vector<DWORD> events;
  for (const SeenEvent& e : seen_) {
    if ((!hwnd || e.hwnd == hwnd) && e.object == OBJID_CLIENT && e.child == CHILDID_SELF) events.push_back(e.event);
  }
  return events;
}

int EventListener::Count(DWORD event, HWND hwnd) const {
  int count = 0;
  for (DWORD e : ClientEventsOf(hwnd)) count += e == event ? 1 : 0;
  return count;
}

}  // namespace lumadex::test
