#include "skin/menu_bar_win32.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "skin/window_state_win32.h"
#include "winmsg/font_win32.h"
#include "winmsg/system_colour_win32.h"

namespace lumadex {

namespace {

constexpr int kItemTextCapacity = 128;

// Opens the popups an access key asked for, once the key has left the keyboard hook.
UINT AcceleratorMessage() {
  static const UINT message = RegisterWindowMessageW(L"LumadexMenuStripAccelerator");
  return message;
}

UINT* RegisteredMessages() {
  static UINT messages[] = {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_DRAWITEM, WM_MEASUREITEM, WM_MENUCHAR, WM_SYSCOMMAND, 0};
  messages[6] = AcceleratorMessage();
  return messages;
}
constexpr int kRegisteredMessages = 7;

// An item read by position, and its text when one is asked for.
bool ReadItem(HMENU menu, int position, UINT mask, MENUITEMINFOW& info, std::wstring* text) {
  wchar_t buffer[kItemTextCapacity] = {};
  info = MENUITEMINFOW{};
  info.cbSize = sizeof info;
  info.fMask = mask;
  if (text) {
    info.dwTypeData = buffer;
    info.cch = kItemTextCapacity - 1;
  }
  if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return false;
  if (text) {
    // Owner-drawn and bitmap items carry no text, and the platform leaves cch alone for them.
    const bool hasText = !(info.fType & (MFT_OWNERDRAW | MFT_BITMAP | MFT_SEPARATOR));
    const UINT length = std::min<UINT>(info.cch, kItemTextCapacity - 1);
    text->assign(hasText ? buffer : L"", hasText ? length : 0);
    info.dwTypeData = nullptr;
  }
  return true;
}

SavedMenuItem Saved(const MENUITEMINFOW& info, std::wstring text) {
  SavedMenuItem s;
  s.mask = info.fMask;
  s.type = info.fType;
  s.state = info.fState;
  s.id = info.wID;
  s.subMenu = reinterpret_cast<std::uintptr_t>(info.hSubMenu);
  s.checkedBitmap = reinterpret_cast<std::uintptr_t>(info.hbmpChecked);
  s.uncheckedBitmap = reinterpret_cast<std::uintptr_t>(info.hbmpUnchecked);
  s.itemData = info.dwItemData;
  s.text = std::move(text);
  return s;
}

void MakeOwnerDrawn(HMENU menu, int position, UINT type, int entry) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  // Only the type flags and the data: the text stays in the item, and comes back anyway.
  info.fMask = MIIM_FTYPE | MIIM_DATA;
  info.fType = type | MFT_OWNERDRAW;
  info.dwItemData = static_cast<ULONG_PTR>(entry);
  SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
}

RECT ToRect(const MenuRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

MenuTextSize Measure(HDC dc, const std::wstring& text, int height) {
  RECT r{0, 0, 0, height};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

// ---- cMenuBar ---------------------------------------------------------------------------

cMenuBar::cMenuBar() {
  // The check and radio marks take their size from the menu font as it is when the bar is made.
  StoredFont symbol;
  symbol.face = L"Marlett";
  symbol.points = menuFont_->Size * 1.2;
  symbol.charset = SYMBOL_CHARSET;
  symbolFont_ = CreateFontOf(symbol, PointRounding::WholePoints);
  // One pixel is enough to hold the fonts for measuring before the first rendering.
  buffer_.SetWidth(1);
  buffer_.SetHeight(1);
}

cMenuBar::~cMenuBar() {
  *alive_ = false;
  Detach();
  StopHoverTimer();
  if (hoverTimer_) hoverTimer_->OnThatTime(nullptr);
}

void cMenuBar::SetMenuFont(std::shared_ptr<SkinFont> font) {
  if (font) menuFont_ = std::move(font);
}

Font cMenuBar::CreateMenuFont(HDC dc) const {
  LOGFONTW lf;
  FontToLogFont(*menuFont_, dc, lf);
  return Font(CreateFontIndirectW(&lf));
}

void cMenuBar::SetColours(Colour normal, Colour hot, Colour inactive, Colour background) {
  normalColour_ = TranslateColor(normal);
  hotColour_ = TranslateColor(hot);
  inactiveColour_ = TranslateColor(inactive);
  backgroundColour_ = TranslateColor(background);
}

void cMenuBar::Attach(HWND hWnd) {
  const skin::UpdateLock lock(hWnd);
  Detach();
  hWnd_ = hWnd;
  tracker_ = std::make_unique<cToolbarMenu>();
  try {
    tracker_->AttachOwner(hWnd, this);
    for (int i = 0; i < kRegisteredMessages; ++i) AttachMessage(this, hWnd, RegisteredMessages()[i]);
  } catch (...) {
    Detach();
    throw;
  }
}

void cMenuBar::Detach() {
  StopHoverTimer();
  keyboardMode_ = false;
  // Items left owner-drawn would have nobody to draw them.
  RestoreMenus();
  if (hWnd_) {
    for (int i = 0; i < kRegisteredMessages; ++i) DetachMessage(this, hWnd_, RegisteredMessages()[i]);
  }
  if (tracker_) {
    tracker_->DetachOwner();
    tracker_.reset();
  }
  hWnd_ = nullptr;
  strip_.clear();
  stripPopups_.clear();
  pendingAccelerators_.clear();
}

std::vector<TopLevelMenuItem> cMenuBar::TopLevelItems() const {
  std::vector<TopLevelMenuItem> items;
  const int count = hMenu_ ? GetMenuItemCount(hMenu_) : 0;  // -1 on failure: no items
  for (int i = 0; i < count; ++i) {
    TopLevelMenuItem item;
    MENUITEMINFOW info;
    ReadItem(hMenu_, i, MIIM_TYPE, info, &item.text);
    item.opensPopup = GetMenuItemID(hMenu_, i) == static_cast<UINT>(-1) && GetSubMenu(hMenu_, i) != nullptr;
    items.push_back(std::move(item));
  }
  return items;
}

void cMenuBar::Render(HFONT hFnt, HDC lhDC, long lLeft, long lTop, long lWidth, long lHeight, long lYoffset) {
  if (!hMenu_) return;
  strip_.clear();
  stripPopups_.clear();
  if (lWidth <= 0 || lHeight <= 0) return;
  buffer_.SetWidth(lWidth);
  buffer_.SetHeight(lHeight);
  HDC dc = buffer_.hDC();
  if (!dc) return;
  const std::vector<TopLevelMenuItem> items = TopLevelItems();
  // Without items the buffer holds nothing worth copying back over the caption.
  if (items.empty()) return;

  ScopedSelect font(dc, hFnt);
  BitBlt(dc, 0, 0, lWidth, lHeight, lhDC, lLeft, lTop + 2, SRCCOPY);
  SetBkMode(dc, TRANSPARENT);
  strip_ = LayoutMenuStrip(
      items, [&](std::wstring_view text) { return Measure(dc, std::wstring(text), lHeight); }, lLeft, lYoffset);
  for (std::size_t i = 0; i < strip_.size(); ++i) {
    const StripItem& item = strip_[i];
    const int k = static_cast<int>(i) + 1;
    const StripItemLook look = LookOfStripItem(k, pressed_, hover_);
    SetTextColor(dc, look.hotText ? hotColour_ : normalColour_);
    RECT frame = ToRect(item.frameRect);
    if (look.edge == StripEdge::RaisedInner) DrawEdge(dc, &frame, BDR_RAISEDINNER, BF_RECT);
    if (look.edge == StripEdge::SunkenOuter) DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
    RECT text = ToRect(item.textRect);
    OffsetRect(&text, look.textShift, look.textShift);
    const std::wstring& caption = items[static_cast<std::size_t>(item.position)].text;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_SINGLELINE);
    stripPopups_.push_back(GetSubMenu(hMenu_, item.position));
  }
  BitBlt(lhDC, lLeft, lTop + 2, lWidth, lHeight, dc, 0, 0, SRCCOPY);
}

int cMenuBar::HitTestPoint(POINT screen) const {
  RECT window{};
  if (!hWnd_ || !GetWindowRect(hWnd_, &window)) return 0;
  return HitTestWindowPoint(screen.x - window.left, screen.y - window.top);
}

int cMenuBar::HitTestWindowPoint(long x, long y) const {
  return HitTestStrip(strip_, static_cast<int>(x), static_cast<int>(y - captionHeight_));
}

int cMenuBar::HitTestCursor() const {
  if (Count() < 1) return 0;
  POINT cursor{};
  GetCursorPos(&cursor);
  return HitTestPoint(cursor);
}

HMENU cMenuBar::PopupOf(int k) const {
  return (k >= 1 && k <= Count()) ? stripPopups_[static_cast<std::size_t>(k - 1)] : nullptr;
}

RECT cMenuBar::ItemScreenRect(int k) const {
  RECT window{};
  if (k < 1 || k > Count() || !hWnd_ || !GetWindowRect(hWnd_, &window)) return RECT{};
  RECT r = ToRect(strip_[static_cast<std::size_t>(k - 1)].storedRect);
  OffsetRect(&r, window.left, window.top + captionHeight_);
  return r;
}

void cMenuBar::RepaintFrame() const {
  if (hWnd_ && IsWindow(hWnd_)) SendMessageW(hWnd_, WM_NCPAINT, 0, 0);
}

void cMenuBar::SetPressedItem(int k, bool state) {
  if (state || k == pressed_) pressed_ = state ? k : -1;
  RepaintFrame();
}

void cMenuBar::SetHotItem(int k) {
  hover_ = k;
  RepaintFrame();
}

void cMenuBar::StopHoverTimer() {
  if (hoverTimer_) hoverTimer_->SetInterval(0);
}

void cMenuBar::TrackHover() {
  const int hover = HitTestCursor();
  if (hover != hover_) {
    hover_ = hover;
    RepaintFrame();
  }
  if (!hoverTimer_) {
    hoverTimer_ = CTimer::Create();
    hoverTimer_->OnThatTime([this] { TrackHover(); });
  }
  // -1, like 0, means no pressed item: after a popup closes nothing is left to watch for.
  if (hover > 0 || pressed_ > 0) {
    if (pressed_ > 0 && !skin::PrimaryButtonDown()) {
      pressed_ = 0;
      RepaintFrame();
    }
    hoverTimer_->SetInterval(50);
  } else {
    hoverTimer_->SetInterval(0);
  }
}

bool cMenuBar::AcceleratorKey(UINT vKey) {
  // A popup already open takes its own keys.
  if (!hWnd_ || !tracker_ || tracker_->Tracking()) return false;
  const std::vector<int> matches = StripItemsForAccessKey(TopLevelItems(), vKey);
  if (matches.empty()) return false;
  // The key is answered now, but the popup opens only once the key has left the keyboard
  // hook: a menu loop run inside the hook would see the same key again and again.
  const bool idle = pendingAccelerators_.empty();
  pendingAccelerators_.insert(pendingAccelerators_.end(), matches.begin(), matches.end());
  if (idle) PostMessageW(hWnd_, AcceleratorMessage(), 0, 0);
  return true;
}

void cMenuBar::OpenPendingAccelerators() {
  // The strip may be detached or destroyed while a popup is open.
  const std::shared_ptr<bool> alive = alive_;
  std::vector<int> pending;
  pending.swap(pendingAccelerators_);
  for (int k : pending) {
    if (!tracker_) break;
    SetPressedItem(k, true);
    StopHoverTimer();
    tracker_->TrackMenu(pressed_);
    if (!*alive) return;
    RestoreMenus();
  }
}

LRESULT cMenuBar::OnSysCommand(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  // F10 or Alt alone asks for the menu bar's keyboard mode. The strip is that menu bar; with no
  // items there is nothing to enter, and the keys that follow go where they would have gone.
  if ((wParam & 0xFFF0) != SC_KEYMENU || lParam != 0) return CallOldWindowProc(hWnd, WM_SYSCOMMAND, wParam, lParam);
  if (Count() > 0) RunKeyboardMode();
  return 0;
}

void cMenuBar::RunKeyboardMode() {
  if (keyboardMode_ || !tracker_ || tracker_->Tracking()) return;
  const std::shared_ptr<bool> alive = alive_;
  const HWND window = hWnd_;
  keyboardMode_ = true;
  StopHoverTimer();
  int k = 1;
  SetHotItem(k);
  // Alt or F10 pressed again leaves the mode at its release, which must not enter it again.
  WPARAM leavingKey = 0;
  bool done = false;
  while (!done) {
    MSG msg;
    if (!GetMessageW(&msg, nullptr, 0, 0)) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    const bool keyDown = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
    const bool keyUp = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
    if (keyDown) {
      switch (msg.wParam) {
        case VK_LEFT:
        case VK_RIGHT:
          k = NeighbourStripItem(k, Count(), msg.wParam == VK_LEFT ? -1 : +1);
          SetHotItem(k);
          break;
        case VK_DOWN:
        case VK_RETURN:
          done = !OpenFromKeyboard(k);
          break;
        case VK_ESCAPE:
          done = true;
          break;
        case VK_MENU:
        case VK_F10:
          leavingKey = msg.wParam;
          break;
        default: {
          // A letter opens the item it marks; any other key is the mode's and goes nowhere.
          const std::vector<int> items = StripItemsForAccessKey(TopLevelItems(), static_cast<unsigned>(msg.wParam));
          if (!items.empty()) {
            k = items.front();
            done = !OpenFromKeyboard(k);
          }
        }
      }
      if (!*alive) return;
      continue;
    }
    if (keyUp) {
      if (leavingKey && msg.wParam == leavingKey) done = true;
      continue;
    }
    if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR) continue;
    // A click anywhere ends the mode and is then handled as usual.
    const bool click = msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN ||
                       msg.message == WM_NCLBUTTONDOWN || msg.message == WM_NCRBUTTONDOWN;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    if (!*alive) return;
    if (click || hWnd_ != window || !IsWindow(window) || GetActiveWindow() != window) done = true;
  }
  keyboardMode_ = false;
  SetHotItem(0);
}

bool cMenuBar::OpenFromKeyboard(int& k) {
  const std::shared_ptr<bool> alive = alive_;
  if (!tracker_ || !PopupOf(k)) return true;
  SetPressedItem(k, true);
  tracker_->TrackMenu(k);
  if (!*alive) return false;
  RestoreMenus();
  if (!tracker_ || !tracker_->EndedByEscape()) return false;
  if (tracker_->CurrentItem() >= 1 && tracker_->CurrentItem() <= Count()) k = tracker_->CurrentItem();
  SetHotItem(k);
  return true;
}

LRESULT cMenuBar::WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) {
  switch (iMsg) {
    case WM_MOUSEMOVE: {
      const LRESULT result = CallOldWindowProc(hWnd, iMsg, wParam, lParam);
      TrackHover();
      return result;
    }
    case WM_LBUTTONDOWN:
      return OnLButtonDown(hWnd, wParam, lParam);
    case WM_MEASUREITEM:
      return OnMeasureItem(hWnd, wParam, lParam);
    case WM_DRAWITEM:
      return OnDrawItem(hWnd, wParam, lParam);
    case WM_MENUCHAR:
      return OnMenuChar(hWnd, wParam, lParam);
    case WM_SYSCOMMAND:
      return OnSysCommand(hWnd, wParam, lParam);
    default:
      if (iMsg == AcceleratorMessage()) OpenPendingAccelerators();
      return 0;
  }
}

LRESULT cMenuBar::OnLButtonDown(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallOldWindowProc(hWnd, WM_LBUTTONDOWN, wParam, lParam);
  const int k = HitTestCursor();
  if (k != pressed_) {
    pressed_ = k;
    RepaintFrame();
  }
  if (k > 0 && tracker_) {
    const std::shared_ptr<bool> alive = alive_;
    StopHoverTimer();
    tracker_->TrackMenu(k);
    if (!*alive) return result;
    RestoreMenus();
  }
  return result;
}

// ---- owner-drawn popup items ------------------------------------------------------------

void cMenuBar::PreparePopup(HMENU popup) {
  if (!popup) return;
  const auto menu = reinterpret_cast<std::uintptr_t>(popup);
  const bool seen = items_.RememberMenu(menu);
  HDC dc = buffer_.hDC();
  if (!dc) return;
  const Font menuFont = CreateMenuFont(dc);
  ScopedSelect font(dc, menuFont.get());
  int widestCaption = 0;
  int widestShortcut = 0;
  const int count = GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    int entry = 0;
    MENUITEMINFOW info;
    std::wstring text;
    if (seen && ReadItem(popup, i, MIIM_TYPE | MIIM_DATA, info, nullptr) && (info.fType & MFT_OWNERDRAW)) {
      entry = static_cast<int>(info.dwItemData);
    } else {
      if (!ReadItem(popup, i, MIIM_ID | MIIM_TYPE | MIIM_DATA | MIIM_STATE | MIIM_SUBMENU, info, &text)) continue;
      entry = seen ? items_.FindItem(menu, i) : 0;
      if (entry == 0) {
        entry = items_.AddItem(menu, i, Saved(info, text));
      } else {
        items_.StoreItem(entry, menu, i, Saved(info, text));
      }
      if (!(info.fType & MFT_OWNERDRAW)) MakeOwnerDrawn(popup, i, info.fType, entry);
    }
    if (!items_.Valid(entry)) continue;
    const PopupItemEntry& e = items_.At(entry);
    const MenuTextSize caption = Measure(dc, e.text.caption, 0);
    widestCaption = std::max(widestCaption, caption.width + 1);
    items_.textHeight = caption.height + 1;
    if (!e.text.shortcut.empty()) {
      const MenuTextSize shortcut = Measure(dc, e.text.shortcut, 0);
      widestShortcut = std::max(widestShortcut, shortcut.width + 1);
      items_.textHeight = shortcut.height + 1;
    }
  }
  items_.SetColumnWidths(menu, widestCaption, widestShortcut);
}

void cMenuBar::RestoreMenus() {
  for (const PopupItemEntry& e : items_.TakeAll()) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
    info.fType = e.saved.type;
    info.wID = e.saved.id;
    info.dwItemData = e.saved.itemData;
    std::wstring text = e.saved.text;
    if (!(e.saved.type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW))) {
      info.fMask |= MIIM_STRING;
      info.dwTypeData = text.data();
      info.cch = static_cast<UINT>(text.size());
    }
    SetMenuItemInfoW(reinterpret_cast<HMENU>(e.menu), static_cast<UINT>(e.position), TRUE, &info);
  }
}

LRESULT cMenuBar::OnMeasureItem(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (!measure || measure->CtlType != ODT_MENU) return CallOldWindowProc(hWnd, WM_MEASUREITEM, wParam, lParam);
  // The item data names the entry; the id alone is ambiguous (every separator has id 0).
  int entry = static_cast<int>(measure->itemData);
  if (!items_.Valid(entry) || items_.At(entry).saved.id != measure->itemID) entry = items_.FindItemById(measure->itemID);
  const PopupItemSize size = MeasurePopupItem(items_.Valid(entry) ? &items_.At(entry) : nullptr, items_.textHeight);
  measure->itemWidth = static_cast<UINT>(size.width);
  measure->itemHeight = static_cast<UINT>(size.height);
  return TRUE;
}

LRESULT cMenuBar::OnDrawItem(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (!draw || draw->CtlType != ODT_MENU) return CallOldWindowProc(hWnd, WM_DRAWITEM, wParam, lParam);
  DrawPopupItem(*draw);
  return TRUE;
}

void cMenuBar::DrawItemText(HDC dc, const std::wstring& text, RECT rect, bool disabled, UINT format) const {
  if (disabled) {
    SetTextColor(dc, TranslateColor(SystemColour(kSysButtonHighlight)));
    RECT moved = rect;
    OffsetRect(&moved, 1, 1);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &moved, format);
    SetTextColor(dc, TranslateColor(SystemColour(kSysButtonShadow)));
  }
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

void cMenuBar::DrawPopupItem(const DRAWITEMSTRUCT& item) {
  const int width = item.rcItem.right - item.rcItem.left + 1;
  const int height = item.rcItem.bottom - item.rcItem.top + 1;
  if (width <= 0 || height <= 0) return;
  buffer_.SetWidth(width);
  buffer_.SetHeight(height);
  HDC dc = buffer_.hDC();
  if (!dc) return;
  const Font menuFont = CreateMenuFont(dc);
  ScopedSelect font(dc, menuFont.get());
  const MenuRect rc{0, 0, item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top};
  RECT all{0, 0, buffer_.Width(), buffer_.Height()};
  Brush background(CreateSolidBrush(backgroundColour_));
  FillRect(dc, &all, background.get());
  SetBkMode(dc, TRANSPARENT);

  const int entry = static_cast<int>(item.itemData);
  const bool known = items_.Valid(entry);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STATE | MIIM_TYPE | MIIM_DATA;
  const auto menu = reinterpret_cast<HMENU>(item.hwndItem);
  // Items with a submenu have no command id to be found by, so known items go by place.
  const BOOL read = known ? GetMenuItemInfoW(reinterpret_cast<HMENU>(items_.At(entry).menu),
                                             static_cast<UINT>(items_.At(entry).position), TRUE, &info)
                          : GetMenuItemInfoW(menu, item.itemID, FALSE, &info);
  if (!read) info = MENUITEMINFOW{};
  const UINT type = known ? items_.At(entry).saved.type : info.fType;

  if (type & MFT_SEPARATOR) {
    RECT line = ToRect(PopupSeparatorLine(rc));
    DrawEdge(dc, &line, BDR_SUNKENOUTER, BF_TOP | BF_BOTTOM);
  } else {
    const bool radio = (type & MFT_RADIOCHECK) != 0;
    const bool disabled = (info.fState & 3) == 3 || (item.itemState & ODS_GRAYED);
    const bool checked = (info.fState & MFS_CHECKED) || (item.itemState & ODS_CHECKED);
    // The platform reports the selection in the drawing record; the item state may lag it.
    const bool highlighted = (info.fState & MFS_HILITE) || (item.itemState & ODS_SELECTED);
    SetTextColor(dc, highlighted ? hotColour_ : normalColour_);
    if (checked) {
      RECT box = ToRect(PopupCheckBox(rc));
      DrawEdge(dc, &box, BDR_SUNKENOUTER, BF_RECT);
      ScopedSelect symbol(dc, symbolFont_.get());
      DrawItemText(dc, radio ? L"h" : L"b", box, disabled, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (known) {
      const PopupItemEntry& e = items_.At(entry);
      DrawItemText(dc, e.text.caption, ToRect(PopupCaptionRect(rc)), disabled, DT_VCENTER | DT_SINGLELINE);
      if (!e.text.shortcut.empty())
        DrawItemText(dc, e.text.shortcut, ToRect(PopupShortcutRect(rc, e.captionWidth)), disabled,
                     DT_VCENTER | DT_SINGLELINE);
    }
    if (highlighted && !disabled) {
      RECT edge = ToRect(PopupHighlightRect(rc));
      DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }
  }
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, dc, 0, 0, SRCCOPY);
}

LRESULT cMenuBar::OnMenuChar(HWND hWnd, WPARAM wParam, LPARAM lParam) {
  if (!(HIWORD(wParam) & MF_SYSMENU)) {
    const std::uint32_t r =
        items_.MenuCharLookup(static_cast<std::uintptr_t>(lParam), static_cast<wchar_t>(LOWORD(wParam)));
    if (r > 0) return static_cast<LRESULT>(r);
  }
  return CallOldWindowProc(hWnd, WM_MENUCHAR, wParam, lParam);
}

// ---- cToolbarMenu -----------------------------------------------------------------------

cToolbarMenu::~cToolbarMenu() {
  *alive_ = false;
  DetachOwner();
}

void cToolbarMenu::AttachOwner(HWND hWnd, cMenuBar* owner) {
  DetachOwner();
  hWnd_ = hWnd;
  SendMessageW(hWnd, WM_ENTERMENULOOP, 0, 0);
  AttachMessage(this, hWnd, WM_MENUSELECT);
  owner_ = owner;
}

void cToolbarMenu::DetachOwner() {
  if (tracking_) {
    // A popup of this tracker is open: it ends, and its filter goes now, not when the popup's
    // loop returns into an object that may be gone by then.
    next_ = -1;
    DetachMenuFilterHook();
    EndMenu();
  }
  if (hWnd_) {
    if (IsWindow(hWnd_)) SendMessageW(hWnd_, WM_EXITMENULOOP, 0, 0);
    DetachMessage(this, hWnd_, WM_MENUSELECT);
  }
  hWnd_ = nullptr;
  owner_ = nullptr;
}

void cToolbarMenu::SetState(int state, int k) {
  if (state == state_ || !owner_) return;
  if (state == 0) k = -1;
  owner_->SetHotItem(k);
  if (state == 2) {
    escapePressed_ = false;
    selectionHasNoSubmenu_ = true;
    selectionInShownPopup_ = true;
    current_ = k;
  }
  state_ = state;
}

BOOL cToolbarMenu::TrackMenu(int k) {
  if (tracking_) return 0;
  tracking_ = true;
  next_ = k;
  GetCursorPos(&lastMouse_);
  BOOL result = 0;
  while (owner_ && next_ >= 0) {
    next_ = -1;
    const bool onStrip = k >= 1 && k <= owner_->Count();
    if (onStrip) owner_->SetPressedItem(k, true);
    SetState(2, k);
    AttachMenuFilterHook(this);
    const RECT item = onStrip ? owner_->ItemScreenRect(k) : RECT{};
    TPMPARAMS params{};
    params.cbSize = sizeof params;
    params.rcExclude = item;
    result = 0;
    if (HMENU popup = owner_->PopupOf(k)) {
      shownPopup_ = popup;
      const std::shared_ptr<bool> alive = alive_;
      result = TrackPopupMenuEx(popup, TPM_VERTICAL, item.left, item.bottom, hWnd_, &params);
      if (!*alive) return result;
    }
    shownPopup_ = nullptr;
    DetachMenuFilterHook();
    if (!owner_) break;  // detached while the popup was open
    owner_->SetPressedItem(k, false);
    SetState(0, -1);
    k = next_;
  }
  tracking_ = false;
  return result;
}

void cToolbarMenu::SwitchTo(int k) {
  if (k > 0 && k != current_ && owner_ && owner_->PopupOf(k)) {
    PostMessageW(hWnd_, WM_CANCELMODE, 0, 0);
    next_ = k;
  }
}

bool cToolbarMenu::FilterMenuMessage(const MSG& msg) {
  if (!owner_) return false;
  switch (msg.message) {
    case WM_KEYDOWN:
      escapePressed_ = msg.wParam == VK_ESCAPE;
      if (msg.wParam == VK_LEFT && selectionInShownPopup_) {
        SwitchTo(NeighbourStripItem(current_, owner_->Count(), -1));
        return true;
      }
      if (msg.wParam == VK_RIGHT && selectionHasNoSubmenu_) {
        SwitchTo(NeighbourStripItem(current_, owner_->Count(), +1));
        return true;
      }
      return false;
    case WM_MOUSEMOVE: {
      // The message's own point is in screen coordinates whatever window it went to. Only a
      // real move switches: the platform repeats moves at a resting point (a popup opening
      // under it, say), which would otherwise undo a switch made with the keyboard.
      if (msg.pt.x == lastMouse_.x && msg.pt.y == lastMouse_.y) return false;
      lastMouse_ = msg.pt;
      const int k = owner_->HitTestPoint(msg.pt);
      if (k >= 1 && k != current_) SwitchTo(k);
      return false;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
      escapePressed_ = false;
      return msg.message == WM_LBUTTONDOWN && owner_->HitTestPoint(msg.pt) == current_;
    default:
      return false;
  }
}

LRESULT cToolbarMenu::WindowProc(HWND, UINT iMsg, WPARAM wParam, LPARAM lParam) {
  if (iMsg == WM_MENUSELECT && state_ != 0) {
    const auto menu = reinterpret_cast<HMENU>(lParam);
    // With MF_POPUP the low word is the item's place; otherwise it is a command id.
    selectionHasNoSubmenu_ = !(HIWORD(wParam) & MF_POPUP) || GetSubMenu(menu, LOWORD(wParam)) == nullptr;
    selectionInShownPopup_ = menu == shownPopup_;
  }
  return 0;
}

}  // namespace lumadex
