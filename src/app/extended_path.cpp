#include "app/extended_path.h"

namespace lumadex {
namespace {

bool IsLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }

}  // namespace

std::wstring ExtendedLengthPath(std::wstring_view fullPath) {
  if (fullPath.starts_with(L"\\\\?\\") || fullPath.starts_with(L"\\\\.\\")) return std::wstring(fullPath);
  if (fullPath.size() >= 3 && IsLetter(fullPath[0]) && fullPath[1] == L':' && fullPath[2] == L'\\') {
    return L"\\\\?\\" + std::wstring(fullPath);
  }
  // A network path needs a server name after its two backslashes.
  if (fullPath.size() > 2 && fullPath.starts_with(L"\\\\") && fullPath[2] != L'\\') {
    return L"\\\\?\\UNC\\" + std::wstring(fullPath.substr(2));
  }
  return std::wstring(fullPath);
}

}  // namespace lumadex
