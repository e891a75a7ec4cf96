#include "photo_cache.h"

namespace lumadex::site {

void PhotoCache::use_small_photos(bool small) {
  std::lock_guard lock(mutex_);
  if (small == small_) return;
  small_ = small;
  photos_.clear();
  bytes_ = 0;
}

std::shared_ptr<const std::string> PhotoCache::get(const Album& album, std::int64_t n) {
  bool small;
  {
    std::lock_guard lock(mutex_);
    small = small_;
    if (album.count <= kSharedBackdropAlbum) {
      if (auto it = photos_.find({album.id, n}); it != photos_.end()) return it->second;
    }
  }
  if (album.count > kSharedBackdropAlbum) return drawn_over_shared_backdrop(album, n, small);
  // Encode outside the lock; two threads racing for one photo produce identical bytes.
  auto photo = std::make_shared<const std::string>(render_photo_jpeg(album.id, n, small));
  std::lock_guard lock(mutex_);
  auto key = std::make_pair(album.id, n);
  if (auto it = photos_.find(key); it != photos_.end()) return it->second;
  if (small != small_) return photo;  // the switch turned meanwhile: serve it, keep nothing
  // A config with many albums must not eat the machine; past the cap, stop keeping.
  if (bytes_ + photo->size() <= max_bytes_) {
    photos_.emplace(key, photo);
    bytes_ += photo->size();
  }
  return photo;
}

std::shared_ptr<const std::string> PhotoCache::drawn_over_shared_backdrop(const Album& album, std::int64_t n,
                                                                          bool small) {
  std::size_t i = photo_seed(album.id, n) % kBackdrops;
  std::shared_ptr<const Backdrop> backdrop;
  {
    std::lock_guard lock(mutex_);
    backdrop = backdrops_[small][i];
  }
  if (!backdrop) {
    // Backdrop i is what photo i + 1 of album 0 (which no config can define) would be drawn
    // over; made outside the lock, and a racing thread makes the same one.
    auto fresh = std::make_shared<const Backdrop>(
        render_backdrop(photo_seed(0, static_cast<std::int64_t>(i) + 1), photo_size(0, static_cast<std::int64_t>(i) + 1, small), small));
    std::lock_guard lock(mutex_);
    if (!backdrops_[small][i]) backdrops_[small][i] = fresh;
    backdrop = backdrops_[small][i];
  }
  return std::make_shared<const std::string>(render_photo_on(*backdrop, album.id, n));
}

}  // namespace lumadex::site
