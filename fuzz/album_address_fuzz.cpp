// The album address the user pastes: any text is either refused or taken apart into an id and
// an owner from which the run's page addresses are built. Those addresses must read back as
// the same album, or the run would fetch someone else's pages.
#include <cstdint>
#include <string>

#include "app/album_address.h"
#include "fuzz_support.h"

using namespace lumadex;

namespace {

std::wstring_view TrimSpaces(std::wstring_view text) {
  while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::wstring address = fuzz::WideFromUtf8(fuzz::Bytes(data, size));
  const auto album = ParseAlbumAddress(address);
  if (!album) {
    FUZZ_CHECK(address.find(L"id=") == std::wstring::npos || address.find(L"&owner=") == std::wstring::npos ||
               address.find(L"&owner=") < address.find(L"id=") + 3);
    return 0;
  }
  FUZZ_CHECK(album->id.find(L"&owner=") == std::wstring::npos);
  FUZZ_CHECK(address.size() >= album->id.size() + album->owner.size() + 10);
  FUZZ_CHECK(address.ends_with(L"&owner=" + album->owner));

  const std::wstring_view id = TrimSpaces(album->id);
  const std::wstring_view owner = TrimSpaces(album->owner);
  const std::wstring host = L"127.0.0.1:8080";

  const std::wstring first = FirstPageAddress(host, *album);
  FUZZ_CHECK(first.starts_with(L"http://" + host + L"/getalbum.do?id="));
  const auto again = ParseAlbumAddress(first);
  FUZZ_CHECK(again.has_value());
  FUZZ_CHECK(again->id == id);
  FUZZ_CHECK(again->owner == owner);

  // Page numbers as the plans make them: 1 up to the last page of the largest album.
  const int page = size > 0 ? 1 + data[0] * 9 : 1;
  const std::wstring other = PageAddress(host, page, *album);
  FUZZ_CHECK(other.starts_with(L"http://" + host + L"/getalbum.do?curpage=" + std::to_wstring(page - 1) + L"&id="));
  const auto fromPage = ParseAlbumAddress(other);
  FUZZ_CHECK(fromPage.has_value());
  FUZZ_CHECK(fromPage->id == id);
  FUZZ_CHECK(fromPage->owner == owner);
  return 0;
}
