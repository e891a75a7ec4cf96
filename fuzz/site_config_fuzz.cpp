// The demo site's config: any text is either read into a catalog whose albums, names and
// faults fit together, or refused with one line saying where and why. A read catalog's pages
// render, and the album's first list page reads back in the program as what the config said.
#include <cstdint>
#include <string>

#include "album_page.h"
#include "app/album_markers.h"
#include "app/album_plan.h"
#include "catalog_parser.h"
#include "fuzz_support.h"
#include "photo_page.h"

using namespace lumadex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const site::CatalogParse parse = site::parse_catalog(fuzz::Bytes(data, size));
  if (!parse.catalog) {
    FUZZ_CHECK(parse.error.starts_with("line "));
    FUZZ_CHECK(parse.error.find_first_of("\r\n") == std::string::npos);
    return 0;
  }
  FUZZ_CHECK(parse.error.empty());
  const site::Catalog& catalog = *parse.catalog;
  for (size_t i = 0; i < catalog.albums.size(); ++i) {
    const site::Album& album = catalog.albums[i];
    FUZZ_CHECK(album.id >= 1 && album.id <= site::kMaxAlbumId);
    FUZZ_CHECK(album.owner >= 1 && album.owner <= site::kMaxOwnerId);
    FUZZ_CHECK(album.count >= 0 && album.count <= site::kMaxPhotosPerAlbum);
    FUZZ_CHECK(catalog.find_album(album.id) == &album);
  }
  for (const auto& [key, name] : catalog.photo_names) {
    const site::Album* album = catalog.find_album(key.first);
    FUZZ_CHECK(album != nullptr);
    FUZZ_CHECK(key.second >= 1 && key.second <= album->count);
    FUZZ_CHECK(!name.empty());
    FUZZ_CHECK(catalog.photo_name(key.first, key.second) == name);
  }
  for (const site::FaultRule& rule : catalog.faults) {
    if (rule.album) FUZZ_CHECK(catalog.find_album(*rule.album) != nullptr);
    FUZZ_CHECK(site::fault_fits_target(rule.kind, rule.target));
  }

  // Pages of the first albums, as a signed-in visitor sees them without faults. The site puts
  // photo names into its pages verbatim, so a name that holds a page marker changes how the
  // program reads the page; the read-back is checked only where no name does.
  bool namesHoldMarkers = false;
  for (const auto& entry : catalog.photo_names) {
    for (std::string_view marker : {"photoPan", "pager-", "\xe5\x85\xb1", "<img id=", "\" title="}) {
      namesHoldMarkers = namesHoldMarkers || entry.second.find(marker) != std::string::npos;
    }
  }
  const site::PageContext context{"http://127.0.0.1:8080", true};
  for (size_t i = 0; i < catalog.albums.size() && i < 3; ++i) {
    const site::Album& album = catalog.albums[i];
    const std::string html = site::render_album_page(context, catalog, album, 0, site::FaultPlan{});
    const std::wstring page = fuzz::WideFromUtf8(html);
    if (namesHoldMarkers) continue;
    if (album.count <= 32767) FUZZ_CHECK(ReadPhotoCount(page) == static_cast<int>(album.count));
    const auto list = CutPhotoList(page);
    if (album.count > 0) {
      FUZZ_CHECK(list.has_value());
      FUZZ_CHECK(SplitPhotoEntries(*list).size() == static_cast<size_t>(std::min<int64_t>(album.count, 15)));
      const std::string photo = site::render_photo_page(context, catalog, album, 1, false);
      FUZZ_CHECK(PhotoFileAddress(fuzz::WideFromUtf8(photo)).has_value());
    }
  }
  return 0;
}
