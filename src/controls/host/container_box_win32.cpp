#include "controls/host/container_box_win32.h"

#include <vector>

#include "winmsg/gdi_win32.h"
#include "controls/host/window_text_win32.h"

namespace lumadex {
namespace {

constexpr wchar_t kClassName[] = L"LumadexBox";
constexpr wchar_t kLabelClassName[] = L"LumadexLabel";
constexpr wchar_t kDisabledProp[] = L"LumadexOwnDisabled";
constexpr wchar_t kFontProp[] = L"LumadexBoxFont";
constexpr wchar_t kFrameProp[] = L"LumadexBoxFrame";

void PaintBox(HWND hwnd) {
  PaintScope paint(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(paint.dc(), &client, GetSysColorBrush(COLOR_BTNFACE));
  if (!GetPropW(hwnd, kFrameProp)) return;

  auto font = static_cast<HFONT>(GetPropW(hwnd, kFontProp));
  ScopedSelect selectFont(paint.dc(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  const std::wstring caption = GetText(hwnd);
  SIZE textSize{};
  GetTextExtentPoint32W(paint.dc(), caption.c_str(), static_cast<int>(caption.size()), &textSize);

  RECT border = client;
  border.top = textSize.cy / 2;
  DrawEdge(paint.dc(), &border, EDGE_ETCHED, BF_RECT);
  if (caption.empty()) return;
  RECT textRect{8, 0, 8 + textSize.cx + 4, textSize.cy};
  FillRect(paint.dc(), &textRect, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(paint.dc(), TRANSPARENT);
  SetTextColor(paint.dc(), GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  TextOutW(paint.dc(), 10, 0, caption.c_str(), static_cast<int>(caption.size()));
}

void PaintLabel(HWND hwnd) {
  PaintScope paint(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(paint.dc(), &client, GetSysColorBrush(COLOR_BTNFACE));
  auto font = static_cast<HFONT>(GetPropW(hwnd, kFontProp));
  ScopedSelect selectFont(paint.dc(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  const std::wstring text = GetText(hwnd);
  SetBkMode(paint.dc(), TRANSPARENT);
  SetTextColor(paint.dc(), GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  DrawTextW(paint.dc(), text.c_str(), static_cast<int>(text.size()), &client,
            DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
}

// What boxes and captions share: a font of their own, repainting on a new text or state.
bool HandleCommonMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_SETFONT:
      SetPropW(hwnd, kFontProp, reinterpret_cast<HANDLE>(wp));
      if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, TRUE);
      result = 0;
      return true;
    case WM_GETFONT:
      result = reinterpret_cast<LRESULT>(GetPropW(hwnd, kFontProp));
      return true;
    case WM_SETTEXT:
      result = DefWindowProcW(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, TRUE);
      return true;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_NCDESTROY:
      RemovePropW(hwnd, kFontProp);
      RemovePropW(hwnd, kFrameProp);
      RemovePropW(hwnd, kDisabledProp);
      break;
  }
  return false;
}

LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (HandleCommonMessage(hwnd, msg, wp, lp, result)) return result;
  if (msg == WM_PAINT) {
    PaintLabel(hwnd);
    return 0;
  }
  if (msg == WM_NCHITTEST) return HTTRANSPARENT;
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (HandleCommonMessage(hwnd, msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return SendMessageW(GetAncestor(hwnd, GA_ROOT), msg, wp, lp);
    case WM_PAINT:
      PaintBox(hwnd);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterClasses() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = BoxProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    const bool box = RegisterClassExW(&wc) != 0;
    wc.lpfnWndProc = LabelProc;
    wc.lpszClassName = kLabelClassName;
    return box && RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

}  // namespace

void SendLabelsToBack(HWND parent) {
  std::vector<HWND> labels;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[32] = {};
    GetClassNameW(child, name, 32);
    if (lstrcmpW(name, kLabelClassName) == 0) labels.push_back(child);
    SendLabelsToBack(child);
  }
  for (HWND label : labels) SetWindowPos(label, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

namespace {

// Gives every control below `parent` the enabled state its own flag and its boxes allow.
void ApplyEnabled(HWND parent, bool parentUsable) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const bool own = IsOwnEnabled(child);
    if (IsContainerBox(child)) {
      EnableWindow(child, own);
    } else {
      EnableWindow(child, own && parentUsable);
    }
    ApplyEnabled(child, own && parentUsable);
  }
}

bool AncestorsUsable(HWND hwnd) {
  for (HWND p = GetParent(hwnd); p && (GetWindowLongW(p, GWL_STYLE) & WS_CHILD); p = GetParent(p)) {
    if (!IsOwnEnabled(p)) return false;
  }
  return true;
}

}  // namespace

HWND CreateContainerBox(HWND parent, BoxStyle style, const wchar_t* text, int x, int y, int width, int height) {
  RegisterClasses();
  HWND box = CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, text,
                             WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height, parent, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (box && style == BoxStyle::Frame) SetPropW(box, kFrameProp, reinterpret_cast<HANDLE>(1));
  return box;
}

HWND CreateLabel(HWND parent, const wchar_t* text, int x, int y, int width, int height) {
  RegisterClasses();
  HWND label = CreateWindowExW(0, kLabelClassName, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
                               height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
  return label;
}

bool IsContainerBox(HWND hwnd) {
  wchar_t name[32] = {};
  GetClassNameW(hwnd, name, 32);
  return lstrcmpW(name, kClassName) == 0;
}

void SetOwnEnabled(HWND hwnd, bool enabled) {
  if (enabled) {
    RemovePropW(hwnd, kDisabledProp);
  } else {
    SetPropW(hwnd, kDisabledProp, reinterpret_cast<HANDLE>(1));
  }
  const bool usable = enabled && AncestorsUsable(hwnd);
  EnableWindow(hwnd, IsContainerBox(hwnd) ? enabled : usable);
  ApplyEnabled(hwnd, usable);
}

bool IsOwnEnabled(HWND hwnd) { return GetPropW(hwnd, kDisabledProp) == nullptr; }

bool IsUsable(HWND hwnd) {
  for (HWND w = hwnd; w; w = GetParent(w)) {
    if (!IsWindowEnabled(w) || !IsOwnEnabled(w)) return false;
    if (!(GetWindowLongW(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return true;
}

}  // namespace lumadex
