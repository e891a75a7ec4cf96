// The menu strip of a skinned window: the window's top-level popup items drawn flat in the
// lower half of the caption, opened as a toolbar-style menu (cToolbarMenu), with their popup
// items drawn by this object in the skin's colours and font. The caption painter owns one,
// hands it the menu, fonts and colours, and calls Render at every frame painting.
#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "skin/mem_dc_win32.h"
#include "skin/menu_strip.h"
#include "skin/popup_items.h"
#include "skin/skin_font_win32.h"
#include "winmsg/colour.h"
#include "winmsg/gdi_win32.h"
#include "winmsg/subclass_win32.h"
#include "winmsg/thread_hooks_win32.h"
#include "winmsg/timer_win32.h"

namespace lumadex {

class cMenuBar;

// Runs the popups opened from the strip, one after another while the user moves between them.
class cToolbarMenu : public ISubclass, public IMenuMessageFilter {
 public:
  ~cToolbarMenu() override;

  void AttachOwner(HWND hWnd, cMenuBar* owner);
  void DetachOwner();
  // Shows item k's popup under it, then the popups the user switches to; returns the last
  // popup call's result (the chosen command with TPM_RETURNCMD, else nonzero on success).
  BOOL TrackMenu(int k);

  bool Tracking() const { return tracking_; }
  int CurrentItem() const { return current_; }
  // Whether the last popup was left with Escape (not with a command or a click).
  bool EndedByEscape() const { return escapePressed_; }

  MessageResponse MsgResponse() override { return MessageResponse::CallOldBefore; }
  LRESULT WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;
  bool FilterMenuMessage(const MSG& msg) override;

 private:
  void SetState(int state, int k);
  void SwitchTo(int k);

  HWND hWnd_ = nullptr;
  cMenuBar* owner_ = nullptr;
  bool tracking_ = false;
  int state_ = 0;
  int current_ = 0;
  int next_ = -1;
  HMENU shownPopup_ = nullptr;
  bool selectionHasNoSubmenu_ = true;
  bool selectionInShownPopup_ = true;
  bool escapePressed_ = false;
  POINT lastMouse_{};
  // Goes false with the object: a popup loop on the stack learns that it must touch nothing.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

class cMenuBar : public ISubclass {
 public:
  cMenuBar();
  ~cMenuBar() override;
  cMenuBar(const cMenuBar&) = delete;
  cMenuBar& operator=(const cMenuBar&) = delete;

  HMENU hMenu() const { return hMenu_; }
  void SetHMenu(HMENU menu) { hMenu_ = menu; }
  void Attach(HWND hWnd);
  void Detach();
  void SetCaptionHeight(long height) { captionHeight_ = height; }

  // Draws the strip into lhDC at (lLeft, lTop + 2); lYoffset places the stored item
  // rectangles relative to the line one caption height below the window's top.
  void Render(HFONT hFnt, HDC lhDC, long lLeft, long lTop, long lWidth, long lHeight, long lYoffset);

  // The font object is kept, so a change made through it shows in the next popup.
  void SetMenuFont(std::shared_ptr<SkinFont> font);
  // Colours as the skin gives them (a set top bit names a system colour).
  void SetColours(Colour normal, Colour hot, Colour inactive, Colour background);

  // Alt with vKey: true when an item of the strip has that access key; its popup opens as
  // soon as the key has been handled.
  bool AcceleratorKey(UINT vKey);

  int HitTestPoint(POINT screen) const;
  // The item under a point given relative to the window's top-left corner, or 0.
  int HitTestWindowPoint(long x, long y) const;
  int HitTestCursor() const;
  int Count() const { return static_cast<int>(strip_.size()); }
  HMENU PopupOf(int k) const;
  RECT ItemScreenRect(int k) const;
  void SetPressedItem(int k, bool state);
  void SetHotItem(int k);
  int PressedItem() const { return pressed_; }
  int HoverItem() const { return hover_; }
  // True while F10 or a lone Alt has the strip taking the keyboard.
  bool InKeyboardMode() const { return keyboardMode_; }
  void TrackHover();

  // Owner-drawn popup items: made so just before a popup shows, given back at the end of
  // menu mode.
  void PreparePopup(HMENU popup);
  void RestoreMenus();
  const PopupItemTable& PopupItems() const { return items_; }
  cToolbarMenu* Tracker() const { return tracker_.get(); }
  bool HoverTimerRunning() const { return hoverTimer_ && hoverTimer_->Interval() > 0; }

  MessageResponse MsgResponse() override { return MessageResponse::Consume; }
  LRESULT WindowProc(HWND hWnd, UINT iMsg, WPARAM wParam, LPARAM lParam) override;

 private:
  void OpenPendingAccelerators();
  void RepaintFrame() const;
  void StopHoverTimer();
  std::vector<TopLevelMenuItem> TopLevelItems() const;
  LRESULT OnLButtonDown(HWND hWnd, WPARAM wParam, LPARAM lParam);
  LRESULT OnSysCommand(HWND hWnd, WPARAM wParam, LPARAM lParam);
  void RunKeyboardMode();
  // Opens item k's popup from the keyboard; true when the user came back to the strip with
  // Escape, k then being the item the popups ended on.
  bool OpenFromKeyboard(int& k);
  LRESULT OnMeasureItem(HWND hWnd, WPARAM wParam, LPARAM lParam);
  LRESULT OnDrawItem(HWND hWnd, WPARAM wParam, LPARAM lParam);
  LRESULT OnMenuChar(HWND hWnd, WPARAM wParam, LPARAM lParam);
  void DrawPopupItem(const DRAWITEMSTRUCT& item);
  void DrawItemText(HDC dc, const std::wstring& text, RECT rect, bool disabled, UINT format) const;
  Font CreateMenuFont(HDC dc) const;

  HWND hWnd_ = nullptr;
  HMENU hMenu_ = nullptr;
  long captionHeight_ = 0;
  cMemDC buffer_;
  std::shared_ptr<SkinFont> menuFont_ = std::make_shared<SkinFont>();
  Font symbolFont_;
  // Translated once, when handed over; the inactive colour is kept but nothing draws with it.
  Colour normalColour_ = 0, hotColour_ = 0, inactiveColour_ = 0x808080, backgroundColour_ = 0xFFFFFF;
  std::vector<StripItem> strip_;
  std::vector<HMENU> stripPopups_;
  std::vector<int> pendingAccelerators_;
  int pressed_ = 0;
  int hover_ = 0;
  bool keyboardMode_ = false;
  std::shared_ptr<CTimer> hoverTimer_;
  std::unique_ptr<cToolbarMenu> tracker_;
  PopupItemTable items_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace lumadex
