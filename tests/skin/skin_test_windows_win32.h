// Helpers of the frame tests: a plain top-level window to put a frame on, skin pictures whose
// every pixel tells where it came from, and the window's pixels read back.
#pragma once
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/form_harness_win32.h"

namespace lumadex::test {

// Caption picture pixel (x, y): red the low byte of x, green 64 per 256 of x plus y, blue 0x40.
inline COLORREF CaptionPixel(long x, long y) {
  return RGB(x & 0xFF, ((x >> 8) * 64 + y) & 0xFF, 0x40);
}
// Border picture pixel (x, y): blue 0xC0 sets it apart from every caption pixel.
inline COLORREF BorderPixel(long x, long y) { return RGB(x * 3, y * 20, 0xC0); }

// An owned bitmap filled by a formula, 32 bits per pixel.
class TestPicture {
 public:
  template <typename Formula>
  TestPicture(int width, int height, Formula formula) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* p = static_cast<std::uint32_t*>(bits);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const COLORREF c = formula(x, y);
        p[y * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
      }
    }
  }
  ~TestPicture() { DeleteObject(bitmap_); }
  TestPicture(const TestPicture&) = delete;
  TestPicture& operator=(const TestPicture&) = delete;
  HBITMAP get() const { return bitmap_; }

 private:
  HBITMAP bitmap_ = nullptr;
};

// The whole window, frame included, as it is on its surface.
class WindowPixels {
 public:
  explicit WindowPixels(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, dib);
    HDC source = GetWindowDC(window);
    BitBlt(mem, 0, 0, width_, height_, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    pixels_.assign(p, p + static_cast<std::size_t>(width_) * height_);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
  }
  long width() const { return width_; }
  long height() const { return height_; }
  COLORREF at(long x, long y) const {
    const std::uint32_t v = pixels_[static_cast<std::size_t>(y) * width_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }

 private:
  long width_ = 0, height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// A visible top-level window with the platform's procedure and nothing else; it counts the
// times the platform's own move loop was entered.
class FrameTestWindow {
 public:
  FrameTestWindow(DWORD style, int width, int height, const wchar_t* title = L"") {
    static const ATOM atom = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof(wc);
      wc.lpfnWndProc = Proc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
      wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
      wc.lpszClassName = L"LumadexFrameTestWindow";
      return RegisterClassExW(&wc);
    }();
    (void)atom;
    hwnd_ = CreateWindowExW(0, L"LumadexFrameTestWindow", title, style, 60, 60, width, height, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
    SetForegroundWindow(hwnd_);
    Pump(std::chrono::milliseconds(30));
  }
  ~FrameTestWindow() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
  }
  FrameTestWindow(const FrameTestWindow&) = delete;
  FrameTestWindow& operator=(const FrameTestWindow&) = delete;
  HWND get() const { return hwnd_; }
  static int& MoveLoops() {
    static int count = 0;
    return count;
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ENTERSIZEMOVE) ++MoveLoops();
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  HWND hwnd_ = nullptr;
};

// Presses the left button with real input and handles messages for `pump`. The release is
// scheduled first, `release` after the press, so it comes even while a drag loop runs.
inline void HoldLeftButton(std::chrono::milliseconds release, std::chrono::milliseconds pump) {
  RunSoon(release, [] {
    INPUT up{};
    up.type = INPUT_MOUSE;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &up, sizeof up);
  });
  INPUT down{};
  down.type = INPUT_MOUSE;
  down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  SendInput(1, &down, sizeof down);
  Pump(pump);
}

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
  const WindowPixels shot(window);
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
