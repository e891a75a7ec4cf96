// The pictures behind the photo addresses. A real album's large photos were JPEGs up to 720
// pixels across and mostly 50-200 KB, so these are too: a landscape of sky, hills and
// ground with the grain and detail of a camera picture, picked by album and photo number,
// with the number drawn large so a person looking at a saved file can tell which photo it
// is. Small photos (320 x 240, plain gradients) are kept for quick test runs.
#pragma once

#include <cstdint>
#include <string>

namespace lumadex::site {

inline constexpr int kSmallPhotoWidth = 320;
inline constexpr int kSmallPhotoHeight = 240;
inline constexpr int kPhotoWidth = 720;

struct PhotoSize {
  int width;
  int height;
};

// Real photos are 720 across and 540 or 480 high, by photo.
PhotoSize photo_size(std::int64_t album, std::int64_t n, bool small);

// A baseline JPEG; the same album, number and size always give the same bytes.
std::string render_photo_jpeg(std::int64_t album, std::int64_t n, bool small = false);

}  // namespace lumadex::site
