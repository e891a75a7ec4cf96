// The button's About window: its texts, its style once shown, and where everything goes in
// its client area.
#pragma once
#include <cstdint>
#include <string>

#include "controls/button/button_geometry.h"
#include "winmsg/font.h"

namespace lumadex::button {

inline constexpr wchar_t kAboutName[] = L"SkinButton";
inline constexpr wchar_t kAboutCredit[] = L"Written for Lumadex by its developers";
inline constexpr wchar_t kAboutLink[] = L"http://lumadex.example/";
inline constexpr wchar_t kAboutClose[] = L"Close";
std::wstring AboutTitle();        // "About SkinButton 3.4.0"
std::wstring AboutVersionLine();  // "Version 3.4.0"

// The fonts of the window: the name large and bold, everything else 8 point.
StoredFont AboutNameFont();
StoredFont AboutTextFont();
// The link, and the Close button's text while it is pressed, are underlined.
StoredFont AboutUnderlinedFont();

// What showing the window adds to the style it was made with: a caption, a sizing frame and
// a minimise box (0xC60000). It leaves the button to stand on its own, so the child bit
// becomes the pop-up bit of a top-level window.
std::uint32_t AboutShownStyle(std::uint32_t styleAtCreation);

// The client size the window opens with.
inline constexpr int kAboutWidth = 300, kAboutHeight = 150;

struct AboutLayout {
  Rect name, version, credit, link, close;
};
// Texts stacked at the left from the top, the Close button at the bottom right; however small
// the window is made, the Close button never covers the texts.
AboutLayout LayOutAbout(int width, int height);

}  // namespace lumadex::button
