#include "support/control_test_support_win32.h"

#include "support/pixel_capture_win32.h"
#include "support/real_input_win32.h"
#include "winmsg/gdi_win32.h"

namespace lumadex::test {

TestHost::TestHost() {
  WindowClass windowClass;
  windowClass.name = L"LumadexControlTestHost";
  windowClass.background = GetSysColorBrush(COLOR_BTNFACE);
  CreateWindowFor(windowClass, 0, L"control test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 60, 60, 600,
                  400, nullptr, nullptr);
  input::Activate(hwnd());
}

Picture::Picture(HWND control, Colour sentinel) {
  Capture capture = Capture::Client(control, sentinel);
  width_ = capture.width();
  height_ = capture.height();
  pixels_ = std::move(capture.pixels());
}

Box Difference(const Picture& a, const Picture& b) {
  Box box;
  for (int y = 0; y < a.height() && y < b.height(); ++y)
    for (int x = 0; x < a.width() && x < b.width(); ++x)
      if (a.At(x, y) != b.At(x, y)) box.Add(x, y);
  return box;
}

Region WindowRegionOf(HWND window) {
  Region region(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(window, region.get()) == ERROR) region.reset();
  return region;
}

SIZE MeasureText(const std::wstring& text, const wchar_t* face, int pixelHeight, int charset) {
  LOGFONTW lf{};
  lf.lfHeight = -pixelHeight;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = static_cast<BYTE>(charset);
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  const Font font(CreateFontIndirectW(&lf));
  const MemoryDC dc(CreateCompatibleDC(nullptr));
  const ScopedSelect selected(dc.get(), font.get());
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

std::vector<std::uint8_t> IconFile(int size, const std::function<Colour(int x, int y)>& pixel) {
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
      const Colour c = pixel(x, y);
      u8(static_cast<unsigned>(BlueOf(c))), u8(static_cast<unsigned>(GreenOf(c))), u8(static_cast<unsigned>(RedOf(c))),
          u8(0xFF);
    }
  }
  for (unsigned i = 0; i < maskRow * static_cast<unsigned>(size); ++i) u8(0);
  return f;
}

SystemColourChange::SystemColourChange(int index, Colour colour) : index_(index), previous_(GetSysColor(index)) {
  const COLORREF value = colour & 0xFFFFFF;
  SetSysColors(1, &index_, &value);
}

SystemColourChange::~SystemColourChange() { SetSysColors(1, &index_, &previous_); }

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  return TRUE;
}

}  // namespace

int ThreadTopLevelWindowCount() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace lumadex::test
