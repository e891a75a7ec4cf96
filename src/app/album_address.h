// The album a run downloads, as the user pastes it from the site
// (http://host/getalbum.do?id=1002&owner=222300001), and the list pages built from it.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace lumadex {

struct AlbumAddress {
  std::wstring id;
  std::wstring owner;
};

// The id is what lies between the first "id=" and the first "&owner="; the owner is
// everything after "&owner=", further query keys included. The first "id=" is taken
// even when it ends a longer key ("albumid="): the site's own addresses put the id key
// first, and that is what users paste. Nullopt when either key is missing or "&owner="
// comes first.
//
// The parts are not checked for characters a URL cannot carry. The address comes from
// the user's own edit box, not from the site, and a wrong one simply makes the site
// answer without the album's markers, which the run reports as an error.
std::optional<AlbumAddress> ParseAlbumAddress(std::wstring_view address);

// http://<photoHost>/getalbum.do?id=<id>&owner=<owner>, id and owner without
// surrounding spaces.
std::wstring FirstPageAddress(std::wstring_view photoHost, const AlbumAddress& album);

// The list page numbered `page` from 1; the site counts its pages from 0.
std::wstring PageAddress(std::wstring_view photoHost, int page, const AlbumAddress& album);

}  // namespace lumadex
