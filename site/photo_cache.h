// Rendered photos, kept so repeat downloads (and benchmarks) cost no drawing. A photo's
// bytes depend only on its album, its number and whether the album is a large one, so
// entries survive config changes.
//
// Photos of albums larger than kSharedBackdropAlbum are never kept: there are too many of
// them (10,000 photos of ~90 KB would be ~1 GB). They are drawn when asked for over one of
// kBackdrops shared backdrops, kept once made, so that drawing one costs little more than
// encoding it, and the memory they take does not grow with the album.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "photo_renderer.h"
#include "site_catalog.h"

namespace lumadex::site {

inline constexpr std::int64_t kSharedBackdropAlbum = 2000;
inline constexpr std::size_t kBackdrops = 16;

class PhotoCache {
 public:
  explicit PhotoCache(std::size_t max_bytes = 256u << 20) : max_bytes_(max_bytes) {}

  // Small photos from now on; those already made are forgotten.
  void use_small_photos(bool small);

  std::shared_ptr<const std::string> get(const Album& album, std::int64_t n);

  // The bytes of the encoded photos kept.
  std::size_t kept_bytes() {
    std::lock_guard lock(mutex_);
    return bytes_;
  }

 private:
  std::shared_ptr<const std::string> drawn_over_shared_backdrop(const Album& album, std::int64_t n, bool small);

  std::mutex mutex_;
  std::map<std::pair<std::int64_t, std::int64_t>, std::shared_ptr<const std::string>> photos_;
  std::size_t bytes_ = 0;
  std::size_t max_bytes_;
  bool small_ = false;
  std::array<std::array<std::shared_ptr<const Backdrop>, kBackdrops>, 2> backdrops_;  // [small][i]
};

}  // namespace lumadex::site
