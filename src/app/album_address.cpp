#include "app/album_address.h"

namespace lumadex {
namespace {

constexpr std::wstring_view kIdKey = L"id=";
constexpr std::wstring_view kOwnerKey = L"&owner=";

// Only plain spaces: they are what slips in when an address is copied from a page.
std::wstring_view TrimSpaces(std::wstring_view text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return {};
  const auto last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<AlbumAddress> ParseAlbumAddress(std::wstring_view address) {
  const auto idAt = address.find(kIdKey);
  const auto ownerAt = address.find(kOwnerKey);
  if (idAt == std::wstring_view::npos || ownerAt == std::wstring_view::npos) return std::nullopt;
  const auto idStart = idAt + kIdKey.size();
  if (ownerAt < idStart) return std::nullopt;
  AlbumAddress album;
  album.id = std::wstring(address.substr(idStart, ownerAt - idStart));
  album.owner = std::wstring(address.substr(ownerAt + kOwnerKey.size()));
  return album;
}

std::wstring FirstPageAddress(std::wstring_view photoHost, const AlbumAddress& album) {
  std::wstring url = L"http://";
  url += photoHost;
  url += L"/getalbum.do?id=";
  url += TrimSpaces(album.id);
  url += kOwnerKey;
  url += TrimSpaces(album.owner);
  return url;
}

std::wstring PageAddress(std::wstring_view photoHost, int page, const AlbumAddress& album) {
  std::wstring url = L"http://";
  url += photoHost;
  url += L"/getalbum.do?curpage=";
  url += std::to_wstring(page - 1);
  url += L"&id=";
  url += TrimSpaces(album.id);
  url += kOwnerKey;
  url += TrimSpaces(album.owner);
  return url;
}

}  // namespace lumadex
