#include "support/pixel_capture_win32.h"

#include <algorithm>

#include "winmsg/dib_surface_win32.h"
#include "winmsg/gdi_win32.h"

namespace lumadex::test {

Capture::Capture(int width, int height, Colour fill, const std::function<void(HDC)>& draw) {
  DibSurface dib(width, height);
  if (!dib) return;
  dib.Fill(fill);
  draw(dib.dc());
  GdiFlush();
  width_ = dib.width();
  height_ = dib.height();
  const std::size_t count = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  pixels_.resize(count);
  std::transform(dib.bits(), dib.bits() + count, pixels_.begin(), &DibSurface::FromDib);
}

Capture Capture::Client(HWND window, Colour sentinel) {
  RECT client{};
  GetClientRect(window, &client);
  return Capture(client.right, client.bottom, sentinel, [window](HDC dc) {
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  });
}

Capture Capture::Window(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return Capture(r.right - r.left, r.bottom - r.top, 0, [&](HDC dc) {
    BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, WindowDC(window, true).get(), 0, 0, SRCCOPY);
  });
}

Capture Capture::Screen(const RECT& screen) {
  return Capture(screen.right - screen.left, screen.bottom - screen.top, 0, [&](HDC dc) {
    BitBlt(dc, 0, 0, screen.right - screen.left, screen.bottom - screen.top, WindowDC(nullptr).get(), screen.left,
           screen.top, SRCCOPY);
  });
}

Capture Capture::Bitmap(HBITMAP bitmap) {
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  return Capture(info.bmWidth, info.bmHeight, 0, [&](HDC dc) {
    const MemoryDC source(CreateCompatibleDC(nullptr));
    const ScopedSelect selected(source.get(), bitmap);
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
  });
}

Colour Capture::at(long x, long y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return kColourInvalid;
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

int Capture::Count(const RECT& inner, Colour colour) const {
  int n = 0;
  for (long y = inner.top; y < inner.bottom; ++y)
    for (long x = inner.left; x < inner.right; ++x) n += at(x, y) == colour;
  return n;
}

}  // namespace lumadex::test
