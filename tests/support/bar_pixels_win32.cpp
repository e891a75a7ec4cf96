#include "support/bar_pixels_win32.h"

namespace lumadex::test {

Picture::Picture(HWND control, Rgb3 sentinel) {
  RECT client{};
  GetClientRect(control, &client);
  width_ = client.right;
  height_ = client.bottom;
  if (width_ <= 0 || height_ <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  auto* px = static_cast<std::uint32_t*>(bits);
  const std::uint32_t fill = static_cast<std::uint32_t>(R(sentinel)) << 16 | static_cast<std::uint32_t>(G(sentinel)) << 8 |
                             static_cast<std::uint32_t>(B(sentinel));
  std::fill(px, px + static_cast<size_t>(width_) * static_cast<size_t>(height_), fill);
  SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  GdiFlush();
  pixels_.assign(px, px + static_cast<size_t>(width_) * static_cast<size_t>(height_));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
}

Box Difference(const Picture& a, const Picture& b) {
  Box box;
  for (int y = 0; y < a.height() && y < b.height(); ++y)
    for (int x = 0; x < a.width() && x < b.width(); ++x)
      if (a.At(x, y) != b.At(x, y)) box.Add(x, y);
  return box;
}

SIZE MeasureText(const std::wstring& text, const wchar_t* face, int pixelHeight, int charset) {
  LOGFONTW lf{};
  lf.lfHeight = -pixelHeight;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = static_cast<BYTE>(charset);
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  return size;
}

}  // namespace lumadex::test
