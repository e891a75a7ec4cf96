// The pictures behind the photo addresses. A real album's large photos were JPEGs up to 720
// pixels across and mostly 50-200 KB, so these are too: a landscape of sky, hills and
// ground with the grain and detail of a camera picture, picked by album and photo number,
// with the number drawn large so a person looking at a saved file can tell which photo it
// is. Small photos (320 x 240, plain gradients) are kept for quick test runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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

// A picture without the numbers drawn on it, as packed RGB rows: where nearly all the time
// of making a photo goes, so photos can share one.
struct Backdrop {
  PhotoSize size;
  bool small;
  std::vector<std::uint8_t> rgb;
};

// A landscape (a gradient when small) picked by `seed`.
Backdrop render_backdrop(std::uint32_t seed, PhotoSize size, bool small);

// Photo n of the album as a baseline JPEG: the backdrop with the photo's and the album's
// numbers drawn over it.
std::string render_photo_on(const Backdrop& backdrop, std::int64_t album, std::int64_t n);

// The photo over its own backdrop; the same album, number and size always give the same bytes.
std::string render_photo_jpeg(std::int64_t album, std::int64_t n, bool small = false);

}  // namespace lumadex::site
