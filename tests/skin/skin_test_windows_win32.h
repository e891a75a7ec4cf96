// Helpers of the frame tests: a plain top-level window to put a frame on, skin pictures whose
// every pixel tells where it came from, and the frame pixels they must give.
#pragma once
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skin/skin_caption_win32.h"
#include "support/form_harness_win32.h"
#include "support/pixel_capture_win32.h"
#include "support/real_input_win32.h"
#include "winmsg/dib_surface_win32.h"
#include "winmsg/gdi_win32.h"
#include "winmsg/window_base_win32.h"

namespace lumadex::test {

// Caption picture pixel (x, y): red the low byte of x, green 64 per 256 of x plus y, blue 0x40.
inline COLORREF CaptionPixel(long x, long y) {
  return RGB(x & 0xFF, ((x >> 8) * 64 + y) & 0xFF, 0x40);
}
// Border picture pixel (x, y): blue 0xC0 sets it apart from every caption pixel.
inline COLORREF BorderPixel(long x, long y) { return RGB(x * 3, y * 20, 0xC0); }

// An owned 32-bit bitmap filled by a formula, selected into no device context.
class TestPicture {
 public:
  template <typename Formula>
  TestPicture(int width, int height, Formula formula) {
    DibSurface surface(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) surface.bits()[y * width + x] = DibSurface::ToDib(formula(x, y));
    bitmap_ = surface.TakeBitmap();
  }
  HBITMAP get() const { return bitmap_.get(); }

 private:
  Bitmap bitmap_;
};

// A visible top-level window of the platform's procedure, with an optional menu; it counts the
// times the platform's own move loop was entered and the client-area questions without a
// position (WM_NCCALCSIZE with wParam 0), keeps the commands that reach it, and runs
// `onDestroy` when it is destroyed, as a program window lets go of its frame then.
class FrameTestWindow : public WindowBase {
 public:
  FrameTestWindow(DWORD style, int width, int height, const wchar_t* title = L"", HMENU menu = nullptr) {
    WindowClass wc;
    wc.name = L"LumadexFrameTestWindow";
    wc.background = GetSysColorBrush(COLOR_BTNFACE);
    CreateWindowFor(wc, 0, title, style, 60, 60, width, height, nullptr, menu);
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    SetForegroundWindow(hwnd());
    Pump(std::chrono::milliseconds(30));
  }
  int MoveLoops() const { return moveLoops_; }
  int PlainCalcSizes() const { return plainCalcSizes_; }
  const std::vector<UINT>& Commands() const { return commands_; }
  std::function<void()> onDestroy;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_ENTERSIZEMOVE) ++moveLoops_;
    if (msg == WM_NCCALCSIZE && !wp) ++plainCalcSizes_;
    if (msg == WM_COMMAND) commands_.push_back(LOWORD(wp));
    if (msg == WM_DESTROY && onDestroy) onDestroy();
    return DefaultHandling(msg, wp, lp);
  }

 private:
  int moveLoops_ = 0, plainCalcSizes_ = 0;
  std::vector<UINT> commands_;
};

// Skin pictures of the program's sizes, every pixel telling its own coordinates, and the
// program's cut of them: glyphs 19 × 20, the left end to x 90, the right end from 140 to 240,
// the inactive look 400 pixels to the right.
struct TestSkin {
  TestPicture caption{640, 48, CaptionPixel};
  TestPicture border{70, 10, BorderPixel};
  void AttachTo(cSkinCaption& painter, HWND window) const {
    painter.Attach(window, caption.get(), border.get(), 19, 20, 90, 140, 240, 400);
    Pump(std::chrono::milliseconds(30));
  }
};

// Presses the left button with real input and handles messages for `pump`. The release is
// scheduled first, `release` after the press, so it comes even while a drag loop runs.
inline void HoldLeftButton(std::chrono::milliseconds release, std::chrono::milliseconds pump) {
  RunSoon(release, [] { input::QueueLeft(false); });
  input::QueueLeft(true);
  Pump(pump);
}

// Swaps the mouse buttons, as left-handed users have them, for the guard's life; whatever a
// test does, the setting is put back.
class SwappedButtons {
 public:
  SwappedButtons() : before_(GetSystemMetrics(SM_SWAPBUTTON) != 0) {
    SystemParametersInfoW(SPI_SETMOUSEBUTTONSWAP, TRUE, nullptr, 0);
  }
  ~SwappedButtons() { SystemParametersInfoW(SPI_SETMOUSEBUTTONSWAP, before_, nullptr, 0); }
  SwappedButtons(const SwappedButtons&) = delete;
  SwappedButtons& operator=(const SwappedButtons&) = delete;

 private:
  BOOL before_;
};

// The screen point of a point given relative to the window's top-left corner.
inline LPARAM ScreenPoint(HWND window, long x, long y) {
  RECT r{};
  GetWindowRect(window, &r);
  return MAKELPARAM(static_cast<short>(r.left + x), static_cast<short>(r.top + y));
}

// Where the frame's pixels come from: the two skin pictures, pixel by pixel.
struct SkinSource {
  std::function<COLORREF(long, long)> caption, border;
};

// What the frame pixel (x, y) of a w x h window must be, worked out from how the skin is cut:
// left end to x 90, 52-pixel tiles from x 90, the right end 100 pixels from the right edge
// (never left of x 101), button glyphs 19 x 20 at row 5, borders tiled in 10-pixel cells.
// Returns false for a client pixel.
inline bool ExpectedFramePixel(const SkinSource& skin, long x, long y, long w, long h, bool active, DWORD style, bool closePressed,
                        COLORREF& out) {
  const long off = active ? 0 : 400;
  if (y >= 48 && y < h - 10 && x >= 10 && x < w - 10) return false;
  if (y >= h - 10) {
    const long by = y - (h - 10);
    if (x >= w - 10) out = skin.border(60 + x - (w - 10), by);
    else if (x < 10) out = skin.border(20 + x, by);
    else out = skin.border(30 + (x - 10) % 10, by);
    return true;
  }
  if (y >= 48) {
    out = x < 10 ? skin.border(x, (y - 48) % 10) : skin.border(40 + x - (w - 10), (y - 48) % 10);
    return true;
  }
  const long right = (w - 100 > 101 ? w - 100 : 101L);
  if (x < 90) out = skin.caption(off + x, y);
  else if (x < right) out = skin.caption(off + 91 + (x - 90) % 52, y);
  else out = skin.caption(off + 140 + x - right, y);
  // Buttons from the right: close, maximise (if any), minimise, 20 pixels apart.
  long left = right + 101 - 10 + 4;
  struct Glyph {
    bool exists;
    long source;
    bool pressed;
  } glyphs[] = {{(style & WS_SYSMENU) != 0, 241, closePressed},
                {(style & WS_MAXIMIZEBOX) != 0, (style & WS_MAXIMIZE) ? 259L : 278L, false},
                {(style & WS_MINIMIZEBOX) != 0, 297, false}};
  for (const Glyph& g : glyphs) {
    if (!g.exists) continue;
    left -= 20;
    if (x >= left && x < left + 19 && y >= 5 && y < 25) out = skin.caption(g.source + x - left, y - 5 + (g.pressed ? 20 : 0));
  }
  return true;
}

// Counts the frame pixels that are not what the skin says, skipping a rectangle (the title).
inline int FrameMismatches(const SkinSource& skin, HWND window, bool active, bool closePressed, RECT skip = {}, std::string* first = nullptr) {
  const Capture shot = Capture::Window(window);
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  int bad = 0;
  for (long y = 0; y < shot.height(); ++y) {
    for (long x = 0; x < shot.width(); ++x) {
      if (x >= skip.left && x < skip.right && y >= skip.top && y < skip.bottom) continue;
      COLORREF want = 0;
      if (!ExpectedFramePixel(skin, x, y, shot.width(), shot.height(), active, style, closePressed, want)) continue;
      if (shot.at(x, y) != want) {
        if (bad++ == 0 && first) {
          char text[96];
          wsprintfA(text, "first at (%ld, %ld): %06lx instead of %06lx", x, y, shot.at(x, y), want);
          *first = text;
        }
      }
    }
  }
  return bad;
}

}  // namespace lumadex::test
