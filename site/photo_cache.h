// Rendered photos, kept so repeat downloads (and benchmarks) cost no encoding. A photo's
// bytes depend only on its album and number, so entries survive config changes.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace lumadex::site {

class PhotoCache {
 public:
  explicit PhotoCache(std::size_t max_bytes = 256u << 20) : max_bytes_(max_bytes) {}

  // Small photos from now on; those already made are forgotten.
  void use_small_photos(bool small);

  std::shared_ptr<const std::string> get(std::int64_t album, std::int64_t n);

 private:
  std::mutex mutex_;
  std::map<std::pair<std::int64_t, std::int64_t>, std::shared_ptr<const std::string>> photos_;
  std::size_t bytes_ = 0;
  std::size_t max_bytes_;
  bool small_ = false;
};

}  // namespace lumadex::site
