// Shared pieces of the push button's window tests: a host window, a picture of a window's
// client area read through WM_PRINTCLIENT, and icon files made on the spot.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace lumadex::test {

// A visible top-level window to place buttons on.
class ButtonHost {
 public:
  ButtonHost();
  ~ButtonHost();
  ButtonHost(const ButtonHost&) = delete;
  ButtonHost& operator=(const ButtonHost&) = delete;
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// The client area of a window as plain RGB values (red in the low byte), row by row.
struct Picture {
  int w = 0, h = 0;
  std::vector<std::uint32_t> px;
  std::uint32_t at(int x, int y) const { return px[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)]; }
  bool operator==(const Picture&) const = default;
};
Picture PrintClient(HWND hwnd);

// The bytes of an icon file with one size × size 32-bit image whose pixels come from `pixel`
// (RGB, red low); fully opaque.
std::vector<std::uint8_t> IconFile(int size, const std::function<std::uint32_t(int x, int y)>& pixel);

}  // namespace lumadex::test
