#include "controls/host/accessible_win32.h"

#include <atomic>
#include <new>
#include <utility>

#include "controls/host/accessible_text.h"

namespace lumadex {
namespace {

std::atomic<long> g_live{0};

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

HRESULT ToBstr(const std::optional<std::wstring>& text, BSTR* out) {
  if (!text) return S_FALSE;
  *out = SysAllocStringLen(text->data(), static_cast<UINT>(text->size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

// A failure inside a control's answer must not cross the interface.
template <typename Answer>
HRESULT Guarded(Answer answer) noexcept {
  try {
    return answer();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

}  // namespace

static_assert(access::kRoleGrouping == ROLE_SYSTEM_GROUPING && access::kRoleStaticText == ROLE_SYSTEM_STATICTEXT &&
              access::kRolePushButton == ROLE_SYSTEM_PUSHBUTTON && access::kRoleCheckButton == ROLE_SYSTEM_CHECKBUTTON &&
              access::kRoleProgressBar == ROLE_SYSTEM_PROGRESSBAR);
static_assert(access::kStateUnavailable == STATE_SYSTEM_UNAVAILABLE && access::kStateFocused == STATE_SYSTEM_FOCUSED &&
              access::kStatePressed == STATE_SYSTEM_PRESSED && access::kStateChecked == STATE_SYSTEM_CHECKED &&
              access::kStateReadOnly == STATE_SYSTEM_READONLY && access::kStateHotTracked == STATE_SYSTEM_HOTTRACKED &&
              access::kStateDefault == STATE_SYSTEM_DEFAULT && access::kStateInvisible == STATE_SYSTEM_INVISIBLE &&
              access::kStateOffscreen == STATE_SYSTEM_OFFSCREEN && access::kStateFocusable == STATE_SYSTEM_FOCUSABLE &&
              access::kStateProtected == STATE_SYSTEM_PROTECTED);

AccessibleObject::AccessibleObject(HWND hwnd) : hwnd_(hwnd) {
  ++g_live;
  if (FAILED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, kIidIAccessible, standard_.put()))) standard_.reset();
}

AccessibleObject::~AccessibleObject() { --g_live; }

long AccessibleObject::LiveCount() noexcept { return g_live.load(); }

void AccessibleObject::Disconnect() noexcept {
  if (!hwnd_) return;
  hwnd_ = nullptr;
  standard_.reset();
  // The platform lets go of the references it keeps for clients elsewhere, also of an answer
  // to WM_GETOBJECT that no client ever collected; this object stays until its holder lets go.
  AddRef();
  CoDisconnectObject(static_cast<IAccessible*>(this), 0);
  Release();
}

template <typename Call>
HRESULT AccessibleObject::Forward(Call call) {
  if (!hwnd_) return RPC_E_DISCONNECTED;
  if (!standard_) return E_NOTIMPL;
  return call(standard_.get());
}

template <typename Own, typename Standard>
HRESULT AccessibleObject::AnswerText(const VARIANT& child, BSTR* out, Own own, Standard standard) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!hwnd_) return RPC_E_DISCONNECTED;
  if (IsSelf(child)) return Guarded([&] { return ToBstr(own(), out); });
  return Forward([&](IAccessible* s) { return standard(s); });
}

template <typename Own, typename Standard>
HRESULT AccessibleObject::AnswerNumber(const VARIANT& child, VARIANT* out, Own own, Standard standard) {
  if (!out) return E_POINTER;
  VariantInit(out);
  if (!hwnd_) return RPC_E_DISCONNECTED;
  if (!IsSelf(child)) return Forward([&](IAccessible* s) { return standard(s); });
  return Guarded([&] {
    out->lVal = own();
    out->vt = VT_I4;
    return S_OK;
  });
}

HRESULT AccessibleObject::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(riid, kIidIUnknown) || IsEqualIID(riid, kIidIDispatch) || IsEqualIID(riid, kIidIAccessible)) {
    *object = static_cast<IAccessible*>(this);
  } else if (IsEqualIID(riid, kIidIOleWindow)) {
    *object = static_cast<IOleWindow*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG AccessibleObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG AccessibleObject::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT AccessibleObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT AccessibleObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT AccessibleObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

HRESULT AccessibleObject::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

HRESULT AccessibleObject::GetWindow(HWND* window) {
  if (!window) return E_POINTER;
  *window = hwnd_;
  return hwnd_ ? S_OK : RPC_E_DISCONNECTED;
}

HRESULT AccessibleObject::ContextSensitiveHelp(BOOL) { return E_NOTIMPL; }

HRESULT AccessibleObject::get_accParent(IDispatch** parent) {
  if (!parent) return E_POINTER;
  *parent = nullptr;
  return Forward([&](IAccessible* s) { return s->get_accParent(parent); });
}

HRESULT AccessibleObject::get_accChildCount(long* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return Forward([&](IAccessible* s) { return s->get_accChildCount(count); });
}

HRESULT AccessibleObject::get_accChild(VARIANT child, IDispatch** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  return Forward([&](IAccessible* s) { return s->get_accChild(child, object); });
}

HRESULT AccessibleObject::get_accName(VARIANT child, BSTR* name) {
  return AnswerText(child, name, [this] { return Name(); }, [&](IAccessible* s) { return s->get_accName(child, name); });
}

HRESULT AccessibleObject::get_accValue(VARIANT child, BSTR* value) {
  return AnswerText(child, value, [this] { return Value(); },
                    [&](IAccessible* s) { return s->get_accValue(child, value); });
}

HRESULT AccessibleObject::get_accDescription(VARIANT child, BSTR* description) {
  return AnswerText(child, description, [this] { return Description(); },
                    [&](IAccessible* s) { return s->get_accDescription(child, description); });
}

HRESULT AccessibleObject::get_accRole(VARIANT child, VARIANT* role) {
  return AnswerNumber(child, role, [this] { return Role(); }, [&](IAccessible* s) { return s->get_accRole(child, role); });
}

HRESULT AccessibleObject::get_accState(VARIANT child, VARIANT* state) {
  return AnswerNumber(child, state, [this] { return State(); },
                      [&](IAccessible* s) { return s->get_accState(child, state); });
}

HRESULT AccessibleObject::get_accHelp(VARIANT child, BSTR* help) {
  if (!help) return E_POINTER;
  *help = nullptr;
  return Forward([&](IAccessible* s) { return s->get_accHelp(child, help); });
}

HRESULT AccessibleObject::get_accHelpTopic(BSTR* file, VARIANT child, long* topic) {
  if (!file || !topic) return E_POINTER;
  *file = nullptr;
  *topic = 0;
  return Forward([&](IAccessible* s) { return s->get_accHelpTopic(file, child, topic); });
}

HRESULT AccessibleObject::get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) {
  return AnswerText(child, shortcut, [this] { return KeyboardShortcut(); },
                    [&](IAccessible* s) { return s->get_accKeyboardShortcut(child, shortcut); });
}

HRESULT AccessibleObject::get_accFocus(VARIANT* focus) {
  if (!focus) return E_POINTER;
  VariantInit(focus);
  return Forward([&](IAccessible* s) { return s->get_accFocus(focus); });
}

HRESULT AccessibleObject::get_accSelection(VARIANT* selection) {
  if (!selection) return E_POINTER;
  VariantInit(selection);
  return Forward([&](IAccessible* s) { return s->get_accSelection(selection); });
}

HRESULT AccessibleObject::get_accDefaultAction(VARIANT child, BSTR* action) {
  return AnswerText(child, action, [this] { return DefaultAction(); },
                    [&](IAccessible* s) { return s->get_accDefaultAction(child, action); });
}

HRESULT AccessibleObject::accSelect(long flags, VARIANT child) {
  return Forward([&](IAccessible* s) { return s->accSelect(flags, child); });
}

HRESULT AccessibleObject::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
  if (!left || !top || !width || !height) return E_POINTER;
  *left = *top = *width = *height = 0;
  return Forward([&](IAccessible* s) { return s->accLocation(left, top, width, height, child); });
}

HRESULT AccessibleObject::accNavigate(long direction, VARIANT start, VARIANT* end) {
  if (!end) return E_POINTER;
  VariantInit(end);
  return Forward([&](IAccessible* s) { return s->accNavigate(direction, start, end); });
}

HRESULT AccessibleObject::accHitTest(long left, long top, VARIANT* child) {
  if (!child) return E_POINTER;
  VariantInit(child);
  return Forward([&](IAccessible* s) { return s->accHitTest(left, top, child); });
}

HRESULT AccessibleObject::accDoDefaultAction(VARIANT child) {
  if (!hwnd_) return RPC_E_DISCONNECTED;
  if (!IsSelf(child)) return Forward([&](IAccessible* s) { return s->accDoDefaultAction(child); });
  return Guarded([this] { return DoDefaultAction(); });
}

HRESULT AccessibleObject::put_accName(VARIANT child, BSTR name) {
  return Forward([&](IAccessible* s) { return s->put_accName(child, name); });
}

HRESULT AccessibleObject::put_accValue(VARIANT child, BSTR value) {
  return Forward([&](IAccessible* s) { return s->put_accValue(child, value); });
}

long AccessibleObject::Role() {
  VARIANT role;
  VariantInit(&role);
  if (standard_ && SUCCEEDED(standard_->get_accRole(SelfChild(), &role)) && role.vt == VT_I4) return role.lVal;
  VariantClear(&role);
  return ROLE_SYSTEM_CLIENT;
}

long AccessibleObject::State() {
  VARIANT state;
  VariantInit(&state);
  if (standard_ && SUCCEEDED(standard_->get_accState(SelfChild(), &state)) && state.vt == VT_I4) return state.lVal;
  VariantClear(&state);
  return 0;
}

namespace {

template <typename Get>
std::optional<std::wstring> StandardText(const ComRef<IAccessible>& standard, Get get) {
  if (!standard) return std::nullopt;
  BSTR text = nullptr;
  if (get(standard.get(), &text) != S_OK || !text) {
    SysFreeString(text);
    return std::nullopt;
  }
  std::wstring copy(text, SysStringLen(text));
  SysFreeString(text);
  return copy;
}

}  // namespace

std::optional<std::wstring> AccessibleObject::Name() {
  return StandardText(standard_, [](IAccessible* s, BSTR* t) { return s->get_accName(SelfChild(), t); });
}

std::optional<std::wstring> AccessibleObject::Value() {
  return StandardText(standard_, [](IAccessible* s, BSTR* t) { return s->get_accValue(SelfChild(), t); });
}

std::optional<std::wstring> AccessibleObject::Description() {
  return StandardText(standard_, [](IAccessible* s, BSTR* t) { return s->get_accDescription(SelfChild(), t); });
}

std::optional<std::wstring> AccessibleObject::KeyboardShortcut() {
  return StandardText(standard_, [](IAccessible* s, BSTR* t) { return s->get_accKeyboardShortcut(SelfChild(), t); });
}

std::optional<std::wstring> AccessibleObject::DefaultAction() {
  return StandardText(standard_, [](IAccessible* s, BSTR* t) { return s->get_accDefaultAction(SelfChild(), t); });
}

HRESULT AccessibleObject::DoDefaultAction() {
  return standard_ ? standard_->accDoDefaultAction(SelfChild()) : DISP_E_MEMBERNOTFOUND;
}

std::optional<LRESULT> AccessibleSlot::Answer(WPARAM wp, LPARAM lp, const std::function<AccessibleObject*()>& make) {
  if (!IsClientObjectRequest(lp)) return std::nullopt;
  if (!object_) object_.reset(make());
  if (!object_) return std::nullopt;
  // A reference is positive; a failure is a negative error code at the full width of LRESULT.
  const LRESULT reference = LresultFromObject(kIidIAccessible, wp, static_cast<IAccessible*>(object_.get()));
  if (reference <= 0) return std::nullopt;
  return reference;
}

void AccessibleSlot::Release() noexcept {
  if (object_) object_->Disconnect();
  object_.reset();
}

bool IsClientObjectRequest(LPARAM lp) noexcept {
  return static_cast<DWORD>(lp) == static_cast<DWORD>(OBJID_CLIENT);
}

VARIANT SelfChild() noexcept {
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

void NotifyClientEvent(HWND hwnd, DWORD event) noexcept {
  if (hwnd) NotifyWinEvent(event, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace lumadex
