#include "skin/menu_item_text.h"

namespace lumadex {

wchar_t UpperAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

wchar_t AccessKeyOf(std::wstring_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return UpperAscii(caption[i + 1]);
  }
  return 0;
}

MenuItemText SplitMenuItemText(std::wstring_view text) {
  MenuItemText out;
  const std::size_t tab = text.find(L'\t');
  out.caption = std::wstring(text.substr(0, tab));
  if (tab != std::wstring_view::npos) out.shortcut = std::wstring(text.substr(tab + 1));
  out.accessKey = AccessKeyOf(out.caption);
  return out;
}

}  // namespace lumadex
