// How a menu item's text reads: the caption shown at the left, the shortcut after a TAB,
// and the access key marked with "&". Shared by the strip in the caption and the
// owner-drawn popup items.
#pragma once
#include <string>
#include <string_view>

namespace lumadex {

struct MenuItemText {
  std::wstring caption;   // the text before the first TAB
  std::wstring shortcut;  // the text after it; empty without a TAB
  wchar_t accessKey = 0;  // upper case; 0 when the caption marks none
};

MenuItemText SplitMenuItemText(std::wstring_view text);

// The character after the first "&" that marks one, in upper case; 0 when none does.
// "&&" stands for a literal ampersand (the platform draws one and underlines nothing), so
// it is skipped rather than making "&" a key nobody can see; a trailing "&" marks nothing.
wchar_t AccessKeyOf(std::wstring_view caption);

// Upper case for the letters a keyboard sends as virtual keys; other characters as given.
wchar_t UpperAscii(wchar_t c);

}  // namespace lumadex
