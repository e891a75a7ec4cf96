#include "controls/host/container_box_win32.h"

#include <memory>
#include <string>
#include <vector>

#include "controls/host/box_accessible_win32.h"
#include "controls/host/self_drawn_win32.h"
#include "controls/host/window_text_win32.h"
#include "winmsg/gdi_win32.h"

namespace lumadex {
namespace {

constexpr wchar_t kDisabledProp[] = L"LumadexOwnDisabled";

// What boxes and captions share: a font handed to them (the window that sends WM_SETFONT keeps
// owning it) and a repaint on a new text or state. Each object belongs to its window and goes
// with it; nothing else holds one.
class PlainChild : public SelfDrawnWindow {
 protected:
  static HWND Place(std::unique_ptr<PlainChild> child, const wchar_t* className, DWORD exStyle, HWND parent,
                    const wchar_t* text, int x, int y, int width, int height) {
    WindowClass windowClass;
    windowClass.name = className;
    if (!child->CreateWindowFor(windowClass, exStyle, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
                                height, parent, nullptr)) {
      return nullptr;
    }
    PlainChild* owned = child.release();
    owned->ownedByWindow_ = true;
    return owned->hwnd();
  }

  LRESULT HandleControlMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp)) InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
      case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
      case WM_SETTEXT: {
        const LRESULT result = DefaultHandling(msg, wp, lp);
        InvalidateRect(hwnd(), nullptr, TRUE);
        return result;
      }
      case WM_ENABLE:
        InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
      case WM_GETOBJECT:
        if (auto answer = accessible_.Answer(wp, lp, [this] { return new BoxAccessible(hwnd(), AccessibleRole()); }))
          return *answer;
        break;
      case WM_NCDESTROY:
        RemovePropW(hwnd(), kDisabledProp);
        accessible_.Release();
        break;
    }
    return HandleOwnMessage(msg, wp, lp);
  }

  void PaintTo(HDC dc) override {
    RECT client;
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const ScopedSelect font(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF colour = SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd()) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    Paint(dc, client);
    SetTextColor(dc, colour);
    SetBkMode(dc, mode);
  }

  // The picture over the face-coloured background, in the font and the text colour of the state.
  virtual void Paint(HDC dc, const RECT& client) = 0;
  virtual LRESULT HandleOwnMessage(UINT msg, WPARAM wp, LPARAM lp) { return DefaultHandling(msg, wp, lp); }
  // What screen readers take it for.
  virtual long AccessibleRole() const = 0;

 private:
  // A window that failed to be made leaves its object to the one who tried.
  void OnWindowGone() override {
    if (ownedByWindow_) delete this;
  }

  HFONT font_ = nullptr;
  bool ownedByWindow_ = false;
  AccessibleSlot accessible_;
};

class ContainerBox : public PlainChild {
 public:
  static HWND Create(HWND parent, BoxStyle style, const wchar_t* text, int x, int y, int width, int height) {
    return Place(std::unique_ptr<PlainChild>(new ContainerBox(style == BoxStyle::Frame)), L"LumadexBox",
                 WS_EX_CONTROLPARENT, parent, text, x, y, width, height);
  }

 private:
  explicit ContainerBox(bool frame) : frame_(frame) {}
  long AccessibleRole() const override { return ROLE_SYSTEM_GROUPING; }

  void Paint(HDC dc, const RECT& client) override {
    if (!frame_) return;
    const std::wstring caption = GetText(hwnd());
    SIZE textSize{};
    GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &textSize);
    RECT border = client;
    border.top = textSize.cy / 2;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    if (caption.empty()) return;
    RECT textRect{8, 0, 8 + textSize.cx + 4, textSize.cy};
    FillRect(dc, &textRect, GetSysColorBrush(COLOR_BTNFACE));
    TextOutW(dc, 10, 0, caption.c_str(), static_cast<int>(caption.size()));
  }

  // The children's notifications go on to the top-level window, which handles every control's
  // events in one place.
  LRESULT HandleOwnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
      case WM_NOTIFY:
      case WM_DRAWITEM:
      case WM_MEASUREITEM:
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORBTN:
        return SendMessageW(GetAncestor(hwnd(), GA_ROOT), msg, wp, lp);
    }
    return DefaultHandling(msg, wp, lp);
  }

  bool frame_;
};

class Label : public PlainChild {
 public:
  static HWND Create(HWND parent, const wchar_t* text, int x, int y, int width, int height) {
    return Place(std::unique_ptr<PlainChild>(new Label), L"LumadexLabel", 0, parent, text, x, y, width, height);
  }

 private:
  long AccessibleRole() const override { return ROLE_SYSTEM_STATICTEXT; }
  void Paint(HDC dc, const RECT& client) override {
    const std::wstring text = GetText(hwnd());
    RECT area = client;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  }

  // Clicks go through to whatever lies beneath.
  LRESULT HandleOwnMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_NCHITTEST) return HTTRANSPARENT;
    return DefaultHandling(msg, wp, lp);
  }
};

}  // namespace

void SendLabelsToBack(HWND parent) {
  std::vector<HWND> labels;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (WindowBase::FromHandleAs<Label>(child)) labels.push_back(child);
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
  return ContainerBox::Create(parent, style, text, x, y, width, height);
}

HWND CreateLabel(HWND parent, const wchar_t* text, int x, int y, int width, int height) {
  return Label::Create(parent, text, x, y, width, height);
}

bool IsContainerBox(HWND hwnd) { return WindowBase::FromHandleAs<ContainerBox>(hwnd) != nullptr; }

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
