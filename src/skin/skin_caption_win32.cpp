#include "skin/skin_caption_win32.h"

#include <algorithm>

#include "skin/window_state_win32.h"
#include "winmsg/gdi_win32.h"
#include "winmsg/system_colour_win32.h"

namespace lumadex {
namespace {

using skin::CaptionButton;
using skin::kClose;
using skin::kMaximize;
using skin::kMinimize;

// The emblem at the left of the caption opens the system menu, as a caption icon does.
constexpr skin::Rect kIconSpot{12, 11, 42, 43};
constexpr CaptionButton kButtons[] = {kClose, kMaximize, kMinimize};

}  // namespace

cSkinCaption::cSkinCaption()
    : captionFont_(std::make_shared<SkinFont>()), menuFont_(std::make_shared<SkinFont>()) {}

cSkinCaption::~cSkinCaption() { Detach(); }

void cSkinCaption::Attach(HWND form, HBITMAP PicCaption, HBITMAP PicBorder, long lButtonWidth, long lButtonHeight,
                          long lActiveLeftEnd, long lActiveRightStart, long lActiveRightEnd, long lInactiveOffset) {
  // The frame changes in several steps; the window is shown only the finished one.
  const skin::UpdateLock lock(form);
  Detach();
  captionPic_ = std::make_unique<cMemDC>();
  captionPic_->CreateFromPicture(PicCaption);
  borderPic_ = std::make_unique<cMemDC>();
  borderPic_->CreateFromPicture(PicBorder);
  captionBuf_ = std::make_unique<cMemDC>();
  sideBuf_ = std::make_unique<cMemDC>();
  metrics_ = skin::SkinMetrics{lButtonWidth,      lButtonHeight,   lActiveLeftEnd,
                               lActiveRightStart, lActiveRightEnd, lInactiveOffset};
  hWnd_ = form;
  std::fill(std::begin(pressed_), std::end(pressed_), false);
  menuBar_ = std::make_unique<cMenuBar>();
  menuBar_->Attach(form);
  menuBar_->SetMenuFont(menuFont_);
  menuBar_->SetColours(activeMenuColor_, activeMenuColorOver_, inActiveMenuColor_, menuBackgroundColor_);
  menuBar_->SetCaptionHeight(captionPic_->Height());

  engine_ = std::make_unique<cNCCalcSize>();
  engine_->Attach(this);
  engine_->Display(form);
  if (IsWindowVisible(form)) {
    SetForegroundWindow(form);
    SetFocus(form);
    // The platform may keep another program in front; the frame then shows what is true.
    SendMessageW(form, WM_NCACTIVATE, skin::IsForegroundWindow(form), 0);
  }
}

void cSkinCaption::Detach() {
  // The engine takes a window's menu off its frame while attached; the window gets it back.
  HMENU menu = nullptr;
  HWND window = nullptr;
  if (engine_) {
    menu = engine_->hMenu();
    window = engine_->hWnd();
    engine_->Detach();
  }
  if (menuBar_) {
    if (!menu) menu = menuBar_->hMenu();
    menuBar_->Detach();
  }
  if (menu && window && IsWindow(window) && !GetMenu(window)) SetMenu(window, menu);
}

void cSkinCaption::GetTopMarginHeight(long& height) { height = captionPic_ ? captionPic_->Height() : 0; }
void cSkinCaption::GetLeftMarginWidth(long& width) { width = borderPic_ ? borderPic_->Height() : 0; }
void cSkinCaption::GetRightMarginWidth(long& width) { width = borderPic_ ? borderPic_->Height() : 0; }
void cSkinCaption::GetBottomMarginHeight(long& height) { height = borderPic_ ? borderPic_->Height() : 0; }

bool cSkinCaption::Maximized() const { return (GetWindowLongPtrW(hWnd_, GWL_STYLE) & WS_MAXIMIZE) != 0; }

void cSkinCaption::DrawButton(HDC hDC, CaptionButton b, bool pressed) {
  if (!exists_[b] || !captionPic_) return;
  BitBlt(hDC, buttons_[b].left, buttons_[b].top, metrics_.buttonWidth, metrics_.buttonHeight, captionPic_->hDC(),
         skin::GlyphSourceX(metrics_, b, Maximized()), pressed ? metrics_.buttonHeight : 0, SRCCOPY);
}

void cSkinCaption::NCPaint(HDC hDC, long lLeft, long lTop, long lRight, long lBottom) {
  if (!captionPic_ || !borderPic_) return;
  const long capH = captionPic_->Height(), h = borderPic_->Height();
  captionBuf_->SetWidth(lRight - lLeft + 1);
  captionBuf_->SetHeight(capH);
  sideBuf_->SetWidth(2 * borderPic_->Width());
  sideBuf_->SetHeight(lBottom - lTop + 1);
  const HDC cb = captionBuf_->hDC(), cp = captionPic_->hDC(), bp = borderPic_->hDC(), sb = sideBuf_->hDC();
  if (!cb || !cp) return;

  LOGFONTW lf;
  FontToLogFont(*captionFont_, hDC, lf);
  Font titleFont(CreateFontIndirectW(&lf));
  ScopedSelect selectFont(cb, titleFont.get());

  const bool active = engine_ && engine_->WindowActive();
  const LONG_PTR style = GetWindowLongPtrW(hWnd_, GWL_STYLE);
  const skin::CaptionLayout layout =
      skin::LayoutCaption(skin::Rect{lLeft, lTop, lRight, lBottom}, metrics_, capH, h, active,
                          (style & WS_SYSMENU) != 0, (style & WS_MAXIMIZEBOX) != 0, (style & WS_MINIMIZEBOX) != 0);

  BitBlt(cb, layout.left.dstX, lTop, layout.left.width, capH, cp, layout.left.srcX, 0, SRCCOPY);
  BitBlt(cb, layout.right.dstX, lTop, layout.right.width, capH, cp, layout.right.srcX, 0, SRCCOPY);
  for (CaptionButton b : kButtons) {
    exists_[b] = layout.exists[b];
    buttons_[b] = layout.buttons[b];
    DrawButton(cb, b, false);
  }
  for (const skin::Piece& tile : layout.tiles) BitBlt(cb, tile.dstX, 0, tile.width, capH, cp, tile.srcX, 0, SRCCOPY);

  if (!layout.narrow) {
    const int length = GetWindowTextLengthW(hWnd_);
    if (length > 0) {
      std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
      title.resize(static_cast<std::size_t>(GetWindowTextW(hWnd_, title.data(), length + 1)));
      SetBkMode(cb, TRANSPARENT);
      SetTextColor(cb, TranslateColor(active ? activeCaptionColor_ : inActiveCaptionColor_));
      RECT r{layout.title.left, layout.title.top, layout.title.right, layout.title.bottom};
      DrawTextW(cb, title.c_str(), static_cast<int>(title.size()), &r, DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
  if (menuBar_ && engine_) {
    menuBar_->SetHMenu(engine_->hMenu());
    LOGFONTW strip = lf;
    strip.lfWeight = FW_NORMAL;
    Font stripFont(CreateFontIndirectW(&strip));
    menuBar_->Render(stripFont.get(), cb, layout.menuLeft, layout.menuTop, layout.menuWidth, layout.menuHeight,
                     layout.menuYOffset);
  }

  BitBlt(hDC, 0, 0, captionBuf_->Width(), captionBuf_->Height(), cb, 0, 0, SRCCOPY);

  if (sb && bp && h > 0) {
    BitBlt(sb, 0, capH, h, h, bp, 0, 0, SRCCOPY);
    BitBlt(sb, h, capH, h, h, bp, 4 * h, 0, SRCCOPY);
    for (long filled : skin::SideFillCopies(capH, lBottom, h)) BitBlt(sb, 0, capH + filled, 2 * h, filled, sb, 0, capH, SRCCOPY);
    const long sideHeight = lBottom - (lTop + capH);
    if (sideHeight > 0) {
      BitBlt(hDC, lLeft, lTop + capH, h, sideHeight, sb, 0, lTop + capH, SRCCOPY);
      BitBlt(hDC, lRight - h, lTop + capH, h, sideHeight, sb, h, lTop + capH, SRCCOPY);
    }

    const long yb = std::max(lBottom - h, capH);
    for (long x : skin::BottomEdgeCells(skin::Rect{lLeft, lTop, lRight, lBottom}, h)) BitBlt(cb, x, 0, h, h, bp, 3 * h, 0, SRCCOPY);
    BitBlt(cb, lLeft, 0, h, h, bp, 2 * h, 0, SRCCOPY);
    BitBlt(cb, lRight - h, 0, h, h, bp, 6 * h, 0, SRCCOPY);
    BitBlt(hDC, lLeft, yb, captionBuf_->Width(), h, cb, 0, 0, SRCCOPY);
  }
}

void cSkinCaption::HitTest(long x, long y, int& eHitTest) {
  if (skin::Contains(kIconSpot, x, y)) {
    eHitTest = HTSYSMENU;
    return;
  }
  // A strip item is the item's to the top of its rectangle, though the caption band reaches
  // into it; its presses then come as client clicks to the strip.
  if (menuBar_ && menuBar_->HitTestWindowPoint(x, y) > 0) {
    eHitTest = HTMENU;
    return;
  }
  bool over[skin::kButtonCount] = {};
  for (CaptionButton b : kButtons) {
    if (!exists_[b]) continue;
    over[b] = skin::Contains(buttons_[b], x, y);
    if (over[b]) eHitTest = HTSYSMENU;
  }
  // A pressed button the cursor has left pops up again.
  const WindowDC dc(hWnd_, true);
  if (!dc.get()) return;
  for (CaptionButton b : kButtons) {
    if (exists_[b] && pressed_[b] != over[b]) DrawButton(dc.get(), b, false);
  }
}

void cSkinCaption::NCMouseDown(long x, long y, bool& bHandled, HDC hDC, long, long, long, long) {
  for (CaptionButton b : kButtons) {
    if (exists_[b] && skin::Contains(buttons_[b], x, y)) {
      DrawButton(hDC, b, true);
      pressed_[b] = true;
      bHandled = true;
    }
  }
}

void cSkinCaption::NCMouseUp(long x, long y, HDC hDC, long, long, long, long) {
  const auto released = [&](CaptionButton b) { return exists_[b] && pressed_[b] && skin::Contains(buttons_[b], x, y); };
  if (engine_) {
    if (released(kClose)) engine_->SysCommand(SC_CLOSE);
    if (released(kMaximize)) engine_->SysCommand(Maximized() ? SC_RESTORE : SC_MAXIMIZE);
    if (released(kMinimize)) engine_->SysCommand(SC_MINIMIZE);
  }
  for (CaptionButton b : kButtons) {
    DrawButton(hDC, b, false);
    pressed_[b] = false;
  }
}

void cSkinCaption::InitMenuPopup(WPARAM wParam, LPARAM) {
  if (menuBar_) menuBar_->PreparePopup(reinterpret_cast<HMENU>(wParam));
}

void cSkinCaption::ExitMenuLoop() {
  if (menuBar_) menuBar_->RestoreMenus();
}

bool cSkinCaption::AltKeyAccelerator(UINT vKey) { return menuBar_ && menuBar_->AcceleratorKey(vKey); }

}  // namespace lumadex
