// The accessible object of one of the program's own controls: what screen readers and
// automation tools get for the window's client area through WM_GETOBJECT. The platform's
// standard object for the same window keeps answering what it knows of any window (place,
// parent, children, navigation, hit testing, focus); a control kind answers for itself its
// role, name, value, description, state, shortcut and default action.
//
// The object lives as long as someone holds a reference, but it speaks for its window only
// while that window exists: once the window is gone every call answers RPC_E_DISCONNECTED, the
// answer a client in another process gets for an object cut off from its server.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <functional>
#include <optional>
#include <string>

#include "controls/host/com_ref_win32.h"

namespace lumadex {

// Spelt out: the platform does not answer to the identifier the import libraries carry.
inline constexpr IID kIidIAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
inline constexpr IID kIidIDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID kIidIUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID kIidIOleWindow = {0x00000114, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// What UI Automation answers for an element that is not enabled; automation tools know it.
inline constexpr HRESULT kNotEnabled = static_cast<HRESULT>(0x80040200L);

class AccessibleObject : public IAccessible, public IOleWindow {
 public:
  AccessibleObject(const AccessibleObject&) = delete;
  AccessibleObject& operator=(const AccessibleObject&) = delete;

  // Objects of this kind alive in the process, for finding leaks.
  static long LiveCount() noexcept;

  // The window is going: from now on the object answers nothing, and the references that
  // clients in other apartments hold through the platform are let go.
  void Disconnect() noexcept;
  // The window the object speaks for; null once disconnected.
  HWND hwnd() const noexcept { return hwnd_; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch: clients of these objects call the interface directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
  // IOleWindow: how a client finds the window of an object it holds.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override;
  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override;
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
  HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
  HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override;
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

 protected:
  // Made with one reference, the caller's.
  explicit AccessibleObject(HWND hwnd);
  virtual ~AccessibleObject();

  // The control's answers about itself (never about a child of a box), asked only while the
  // window exists. The defaults are the standard object's; nullopt reads as "none".
  virtual long Role();
  virtual long State();
  virtual std::optional<std::wstring> Name();
  virtual std::optional<std::wstring> Value();
  virtual std::optional<std::wstring> Description();
  virtual std::optional<std::wstring> KeyboardShortcut();
  virtual std::optional<std::wstring> DefaultAction();
  virtual HRESULT DoDefaultAction();

  // The states of any window that the standard object knows best: hidden, off the screen.
  long StandardVisibility() { return AccessibleObject::State() & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN); }

 private:
  // One text answer: the control's own about itself, the standard object's about a child.
  template <typename Own, typename Standard>
  HRESULT AnswerText(const VARIANT& child, BSTR* out, Own own, Standard standard);
  // One number answer (role, state), the same way.
  template <typename Own, typename Standard>
  HRESULT AnswerNumber(const VARIANT& child, VARIANT* out, Own own, Standard standard);
  // Asks the standard object, when there is one.
  template <typename Call>
  HRESULT Forward(Call call);

  LONG references_ = 1;
  HWND hwnd_;
  ComRef<IAccessible> standard_;  // null once disconnected
};

// A control's hold on its accessible object: made at the first request for the client area
// and kept, so that every client meets the same object; cut off and let go when the window
// goes, or with the holder.
class AccessibleSlot {
 public:
  AccessibleSlot() = default;
  AccessibleSlot(const AccessibleSlot&) = delete;
  AccessibleSlot& operator=(const AccessibleSlot&) = delete;
  ~AccessibleSlot() { Release(); }

  // The answer to WM_GETOBJECT for a request of the client area's object; nullopt for any
  // other object id, which the window passes on as it would without an object of its own.
  std::optional<LRESULT> Answer(WPARAM wp, LPARAM lp, const std::function<AccessibleObject*()>& make);
  // The window is going.
  void Release() noexcept;

 private:
  ComRef<AccessibleObject> object_;
};

// The client area's object id arrives in the low 32 bits of lParam, whatever the width of
// lParam and however the sender widened it.
bool IsClientObjectRequest(LPARAM lp) noexcept;

// The child id that names an object itself.
VARIANT SelfChild() noexcept;

// Tells assistive software listening for events that something of the window's client
// object changed (EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_VALUECHANGE, …).
void NotifyClientEvent(HWND hwnd, DWORD event) noexcept;

}  // namespace lumadex
