// Photo names come from addresses on the site's pages, chosen by other users of the site. For
// any address and any save folder, the file a photo is written to must be a plain file that
// Windows stores under that very name, in that folder and nowhere else.
//
// Input: one byte choosing the mode and naming scheme, the address, NUL, the save folder.
#include <cstdint>
#include <string>

#include "app/photo_naming.h"
#include "fuzz_support.h"

using namespace lumadex;

namespace {

wchar_t Upper(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

bool SameIgnoringCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

// Windows opens a device for these names, with any extension and with spaces before it.
bool OpensDevice(std::wstring_view name) {
  std::wstring_view base = name.substr(0, name.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.remove_suffix(1);
  for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"}) {
    if (SameIgnoringCase(base, device)) return true;
  }
  if (base.size() != 4) return false;
  const std::wstring_view stem = base.substr(0, 3);
  if (!SameIgnoringCase(stem, L"COM") && !SameIgnoringCase(stem, L"LPT")) return false;
  const wchar_t digit = base[3];
  return (digit >= L'0' && digit <= L'9') || digit == L'\u00b9' || digit == L'\u00b2' || digit == L'\u00b3';
}

void CheckPlainName(std::wstring_view name) {
  FUZZ_CHECK(!name.empty());
  FUZZ_CHECK(name.size() <= kMaxPhotoNameLength);
  FUZZ_CHECK(name != L"." && name != L"..");
  FUZZ_CHECK(name.back() != L'.' && name.back() != L' ');
  for (const wchar_t c : name) {
    FUZZ_CHECK(c >= 0x20);
    FUZZ_CHECK(std::wstring_view(L"\\/:*?\"<>|").find(c) == std::wstring_view::npos);
  }
  FUZZ_CHECK(!OpensDevice(name));
}

// The path is the folder, one separator and a name that names nothing but a file in it.
void CheckInside(std::wstring_view folder, std::wstring_view name, const std::wstring& path) {
  FUZZ_CHECK(path.size() == folder.size() + 1 + name.size());
  FUZZ_CHECK(std::wstring_view(path).substr(0, folder.size()) == folder);
  FUZZ_CHECK(path[folder.size()] == L'\\');
  const std::wstring_view last = std::wstring_view(path).substr(folder.size() + 1);
  FUZZ_CHECK(last == name);
  CheckPlainName(last);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t choice = data[0];
  const auto fields = fuzz::Fields(fuzz::Bytes(data + 1, size - 1), 2);
  const std::wstring address = fuzz::WideFromUtf8(fields[0]);
  std::wstring folder = fuzz::WideFromUtf8(fields[1]);
  if (folder.empty()) folder = L"C:\\Photos";

  static constexpr DownloadMode kModes[] = {DownloadMode::WholeAlbum, DownloadMode::Newest, DownloadMode::PageRange};
  static constexpr NamingScheme kSchemes[] = {NamingScheme::OwnName, NamingScheme::Ascending,
                                              NamingScheme::Descending};
  const DownloadMode mode = kModes[choice % 3];
  const NamingScheme scheme = kSchemes[(choice / 3) % 3];
  const int total = 1 + (choice >> 4) * 97;
  const int done = (choice * 31) % total;

  const std::wstring raw = PhotoFileName(mode, scheme, address, done, total);
  if (mode != DownloadMode::WholeAlbum || scheme == NamingScheme::OwnName) {
    FUZZ_CHECK(raw.find(L'/') == std::wstring::npos);
    FUZZ_CHECK(address.ends_with(raw));
  }

  const std::wstring safe = SafeFileName(raw);
  CheckPlainName(safe);
  FUZZ_CHECK(SafeFileName(safe) == safe);
  const auto path = PhotoPath(folder, safe);
  FUZZ_CHECK(path.has_value());
  CheckInside(folder, safe, *path);

  // The guard holds on its own: a name nobody made safe is joined only when it already is.
  if (const auto unguarded = PhotoPath(folder, raw)) CheckInside(folder, raw, *unguarded);
  // The same for the whole input taken as a name, which need not look like an address at all.
  const std::wstring whole = fuzz::WideFromUtf8(fuzz::Bytes(data, size));
  CheckPlainName(SafeFileName(whole));
  return 0;
}
