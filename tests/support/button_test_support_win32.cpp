#include "support/button_test_support_win32.h"

#include "support/real_input_win32.h"

namespace lumadex::test {

ButtonHost::ButtonHost() {
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"LumadexButtonTestHost";
    return RegisterClassExW(&wc);
  }();
  (void)atom;
  hwnd_ = CreateWindowExW(0, L"LumadexButtonTestHost", L"button test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE,
                          60, 60, 420, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  input::Activate(hwnd_);
}

ButtonHost::~ButtonHost() { DestroyWindow(hwnd_); }

Picture PrintClient(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  Picture pic;
  pic.w = r.right;
  pic.h = r.bottom;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = pic.w;
  bi.bmiHeader.biHeight = -pic.h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  GdiFlush();
  const auto* p = static_cast<const std::uint32_t*>(bits);
  pic.px.resize(static_cast<size_t>(pic.w) * static_cast<size_t>(pic.h));
  for (size_t i = 0; i < pic.px.size(); ++i) {
    const std::uint32_t v = p[i];
    pic.px[i] = ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
  }
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pic;
}

std::vector<std::uint8_t> IconFile(int size, const std::function<std::uint32_t(int x, int y)>& pixel) {
  std::vector<std::uint8_t> f;
  auto u8 = [&](unsigned v) { f.push_back(static_cast<std::uint8_t>(v)); };
  auto u16 = [&](unsigned v) { u8(v & 0xFF), u8(v >> 8); };
  auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  const unsigned maskRow = ((static_cast<unsigned>(size) + 31) / 32) * 4;
  const std::uint32_t imageBytes = 40 + static_cast<std::uint32_t>(size * size * 4) + maskRow * static_cast<unsigned>(size);
  u16(0), u16(1), u16(1);
  u8(static_cast<unsigned>(size)), u8(static_cast<unsigned>(size)), u8(0), u8(0), u16(1), u16(32), u32(imageBytes),
      u32(22);
  u32(40), u32(static_cast<std::uint32_t>(size)), u32(static_cast<std::uint32_t>(size * 2)), u16(1), u16(32), u32(0),
      u32(0), u32(0), u32(0), u32(0), u32(0);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const std::uint32_t c = pixel(x, y);
      u8((c >> 16) & 0xFF), u8((c >> 8) & 0xFF), u8(c & 0xFF), u8(0xFF);
    }
  }
  for (unsigned i = 0; i < maskRow * static_cast<unsigned>(size); ++i) u8(0);
  return f;
}

}  // namespace lumadex::test
