#include "controls/host/accessible_text.h"

namespace lumadex::access {

std::wstring WithoutAccessMarker(std::wstring_view caption) {
  std::wstring read;
  read.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    // The marker's character, or the second "&" of a pair, is what follows it.
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    read.push_back(caption[i]);
  }
  return read;
}

std::wstring AltShortcut(std::optional<wchar_t> key) {
  if (!key) return {};
  return std::wstring(L"Alt+") + *key;
}

}  // namespace lumadex::access
