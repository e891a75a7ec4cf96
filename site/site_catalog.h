// Everything the site serves: who may sign in, which albums exist, what their photos are
// called and which faults are switched on. Built from the config, then only read.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fault_rules.h"

namespace lumadex::site {

inline constexpr int kPhotosPerPage = 15;
// Photo ids are album * kPhotoIdStride + n, so an album holds fewer photos than the stride.
inline constexpr std::int64_t kPhotoIdStride = 100000;
inline constexpr std::int64_t kMaxPhotosPerAlbum = kPhotoIdStride - 1;
inline constexpr std::int64_t kMaxAlbumId = 9'000'000'000'000;
inline constexpr std::int64_t kMaxOwnerId = 999'999'999'999'999'999;

struct Account {
  std::string email;  // UTF-8, as written in the config
  std::string password;
  std::string email_gbk;  // the bytes a browser of the time sent
  std::string password_gbk;
  bool from_demo = false;
};

struct Album {
  std::int64_t id = 0;
  std::int64_t owner = 0;
  std::int64_t count = 0;
  std::string title;
  bool from_demo = false;

  std::int64_t page_count() const { return count == 0 ? 1 : (count + kPhotosPerPage - 1) / kPhotosPerPage; }
};

struct Catalog {
  std::vector<Account> accounts;
  std::vector<Album> albums;  // in the order they were defined
  std::map<std::pair<std::int64_t, std::int64_t>, std::string> photo_names;  // (album, n) -> name
  std::vector<FaultRule> faults;

  const Album* find_album(std::int64_t id) const;
  const Account* find_account(std::string_view email_gbk) const;
  // The configured file name, or the default one.
  std::string photo_name(std::int64_t album, std::int64_t n) const;
  // The owner whose profile a signed-in visitor is sent to.
  std::int64_t home_owner() const;
};

std::int64_t photo_id(std::int64_t album, std::int64_t n);
// (album, n) of a photo id; nullopt when it cannot be one.
std::optional<std::pair<std::int64_t, std::int64_t>> split_photo_id(std::int64_t id);

// "large_<8 hex digits>_<n>.jpg": unique per album and photo, like the old CDN's names.
std::string default_photo_name(std::int64_t album, std::int64_t n);
// The caption shown under a photo.
std::string photo_caption(std::int64_t album, std::int64_t n);
// How the site shows a member, by profile id.
std::string owner_display_name(std::int64_t owner);
// A stable 32-bit mix of album and photo number, for names, captions and pictures.
std::uint32_t photo_seed(std::int64_t album, std::int64_t n);

}  // namespace lumadex::site
