#include "photo_cache.h"

#include "photo_renderer.h"

namespace lumadex::site {

void PhotoCache::use_small_photos(bool small) {
  std::lock_guard lock(mutex_);
  if (small == small_) return;
  small_ = small;
  photos_.clear();
  bytes_ = 0;
}

std::shared_ptr<const std::string> PhotoCache::get(std::int64_t album, std::int64_t n) {
  bool small;
  {
    std::lock_guard lock(mutex_);
    if (auto it = photos_.find({album, n}); it != photos_.end()) return it->second;
    small = small_;
  }
  // Encode outside the lock; two threads racing for one photo produce identical bytes.
  auto photo = std::make_shared<const std::string>(render_photo_jpeg(album, n, small));
  std::lock_guard lock(mutex_);
  auto key = std::make_pair(album, n);
  if (auto it = photos_.find(key); it != photos_.end()) return it->second;
  if (small != small_) return photo;  // the switch turned meanwhile: serve it, keep nothing
  // A config with huge albums must not eat the machine; past the cap, stop keeping.
  if (bytes_ + photo->size() <= max_bytes_) {
    photos_.emplace(key, photo);
    bytes_ += photo->size();
  }
  return photo;
}

}  // namespace lumadex::site
