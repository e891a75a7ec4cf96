#include "controls/button/about_layout.h"

#include <algorithm>

#include "controls/button/button_model.h"

namespace lumadex::button {
namespace {

constexpr std::uint32_t kChild = 0x40000000u, kPopup = 0x80000000u;
constexpr std::uint32_t kCaptionSizingFrameMinimiseBox = 0xC60000u;
constexpr int kMargin = 14, kCloseWidth = 75, kCloseHeight = 23;

}  // namespace

std::wstring AboutTitle() { return std::wstring(L"About ") + kAboutName + L" " + kVersion; }

std::wstring AboutVersionLine() { return std::wstring(L"Version ") + kVersion; }

StoredFont AboutNameFont() { return StoredFont{L"Tahoma", 14, 700}; }
StoredFont AboutTextFont() { return StoredFont{L"Tahoma", 8, 400}; }
StoredFont AboutUnderlinedFont() {
  StoredFont font = AboutTextFont();
  font.underline = true;
  return font;
}

std::uint32_t AboutShownStyle(std::uint32_t styleAtCreation) {
  return ((styleAtCreation & ~kChild) | kPopup) + kCaptionSizingFrameMinimiseBox;
}

AboutLayout LayOutAbout(int width, int height) {
  AboutLayout l;
  const int right = std::max(kMargin, width - kMargin);
  l.name = {kMargin, 10, right, 36};
  l.version = {kMargin, 40, right, 56};
  l.credit = {kMargin, 58, right, 74};
  l.link = {kMargin, 76, right, 92};
  const int closeLeft = std::max(kMargin, width - kMargin - kCloseWidth);
  const int closeTop = std::max(l.link.bottom + 4, height - 10 - kCloseHeight);
  l.close = {closeLeft, closeTop, closeLeft + kCloseWidth, closeTop + kCloseHeight};
  return l;
}

}  // namespace lumadex::button
