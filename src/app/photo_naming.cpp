#include "app/photo_naming.h"

#include <array>

namespace lumadex {
namespace {

// Longer "extensions" are more likely query text than a file type; keeping them would
// leave little of the name itself.
constexpr std::size_t kMaxKeptExtension = 16;

bool IsForbidden(wchar_t c) {
  if (c < 0x20) return true;
  switch (c) {
    case L'\\': case L'/': case L':': case L'*': case L'?':
    case L'"': case L'<': case L'>': case L'|':
      return true;
    default:
      return false;
  }
}

wchar_t AsciiUpper(wchar_t c) { return (c >= L'a' && c <= L'z') ? c - L'a' + L'A' : c; }

bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  }
  return true;
}

// Windows opens a device for these whatever extension follows, and ignores spaces
// before the extension too ("con .jpg").
bool IsDeviceName(std::wstring_view name) {
  std::wstring_view base = name.substr(0, name.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);

  static constexpr std::array<std::wstring_view, 6> kDevices = {
      L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (std::wstring_view device : kDevices) {
    if (EqualsIgnoringCase(base, device)) return true;
  }
  if (base.size() == 4 &&
      (EqualsIgnoringCase(base.substr(0, 3), L"COM") || EqualsIgnoringCase(base.substr(0, 3), L"LPT"))) {
    const wchar_t n = base[3];
    return (n >= L'0' && n <= L'9') || n == L'\u00b9' || n == L'\u00b2' || n == L'\u00b3';
  }
  return false;
}

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Cuts to `length` units without leaving half of a UTF-16 pair at the end.
std::wstring_view CutAt(std::wstring_view text, std::size_t length) {
  text = text.substr(0, length);
  if (!text.empty() && IsHighSurrogate(text.back())) text.remove_suffix(1);
  return text;
}

std::wstring Shorten(const std::wstring& name) {
  if (name.size() <= kMaxPhotoNameLength) return name;
  const auto dot = name.rfind(L'.');
  if (dot != std::wstring::npos && dot > 0 && name.size() - dot <= kMaxKeptExtension) {
    const std::wstring_view extension = std::wstring_view(name).substr(dot);
    std::wstring shortened(CutAt(name, kMaxPhotoNameLength - extension.size()));
    shortened += extension;
    return shortened;
  }
  return std::wstring(CutAt(name, kMaxPhotoNameLength));
}

}  // namespace

std::wstring getFileName(std::wstring_view filePath) {
  const auto slash = filePath.rfind(L'/');
  return std::wstring(slash == std::wstring_view::npos ? filePath : filePath.substr(slash + 1));
}

std::wstring PhotoFileName(DownloadMode mode, NamingScheme scheme, std::wstring_view address,
                           int donePhotos, int totalPhotos) {
  if (mode == DownloadMode::WholeAlbum) {
    if (scheme == NamingScheme::Ascending) return std::to_wstring(donePhotos + 1) + L".jpg";
    if (scheme == NamingScheme::Descending) return std::to_wstring(totalPhotos - donePhotos) + L".jpg";
  }
  return getFileName(address);
}

std::wstring SafeFileName(std::wstring_view name) {
  std::wstring safe(name);
  for (wchar_t& c : safe) {
    if (IsForbidden(c)) c = L'_';
  }
  if (safe.empty()) return L"_";
  // Checked on the shortened name: the cut can bring a device name in front of the kept
  // extension ("nul", many spaces, more text, ".jpg" becomes "nul", spaces, ".jpg").
  safe = Shorten(safe);
  if (IsDeviceName(safe)) safe = Shorten(L"_" + safe);
  for (auto i = safe.size(); i > 0 && (safe[i - 1] == L'.' || safe[i - 1] == L' '); --i) {
    safe[i - 1] = L'_';
  }
  return safe;
}

std::optional<std::wstring> PhotoPath(std::wstring_view saveFolder, std::wstring_view safeName) {
  if (saveFolder.empty() || safeName.empty() || SafeFileName(safeName) != safeName) {
    return std::nullopt;
  }
  std::wstring path(saveFolder);
  path += L'\\';
  path += safeName;
  return path;
}

}  // namespace lumadex
