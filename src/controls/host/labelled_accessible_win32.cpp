#include "controls/host/labelled_accessible_win32.h"

#include <commctrl.h>

#include "controls/host/accessible_win32.h"
#include "controls/host/window_text_win32.h"
#include "winmsg/report_win32.h"

namespace lumadex {
namespace {

constexpr UINT_PTR kSubclassId = 0x4C41;  // apart from the ids of the form's own subclass
constexpr wchar_t kLabellingProp[] = L"LumadexLabelling";

class LabelledAccessible final : public AccessibleObject {
 public:
  LabelledAccessible(HWND control, HWND label) : AccessibleObject(control), label_(label) {}

 private:
  std::optional<std::wstring> Name() override {
    if (!IsWindow(label_)) return AccessibleObject::Name();
    std::wstring text = GetText(label_);
    if (text.empty()) return std::nullopt;
    return text;
  }

  HWND label_;
};

struct Labelling {
  HWND label;
  AccessibleSlot accessible;
};

LRESULT CALLBACK LabelledProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* labelling = reinterpret_cast<Labelling*>(data);
  switch (msg) {
    case WM_GETOBJECT:
      try {
        if (auto answer = labelling->accessible.Answer(
                wp, lp, [&] { return new LabelledAccessible(hwnd, labelling->label); })) {
          return *answer;
        }
      } catch (...) {
        ReportCallbackFailure(L"the accessible object of a text box");
      }
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, LabelledProc, kSubclassId);
      RemovePropW(hwnd, kLabellingProp);
      delete labelling;
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

bool NameAfterLabel(HWND control, HWND label) {
  if (!IsWindow(control) || !IsWindow(label)) return false;
  // Named again: the caption changes, the object stays.
  if (auto* existing = static_cast<Labelling*>(GetPropW(control, kLabellingProp))) {
    existing->label = label;
    return true;
  }
  auto* labelling = new Labelling{label, {}};
  if (!SetWindowSubclass(control, LabelledProc, kSubclassId, reinterpret_cast<DWORD_PTR>(labelling))) {
    delete labelling;
    return false;
  }
  SetPropW(control, kLabellingProp, labelling);
  return true;
}

}  // namespace lumadex
