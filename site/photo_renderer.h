// The pictures behind the photo addresses: a colour gradient picked by album and photo
// number, with the number drawn large so a person looking at a saved file can tell which
// photo it is.
#pragma once

#include <cstdint>
#include <string>

namespace lumadex::site {

inline constexpr int kPhotoWidth = 320;
inline constexpr int kPhotoHeight = 240;

// A baseline JPEG; the same album and number always give the same bytes.
std::string render_photo_jpeg(std::int64_t album, std::int64_t n);

}  // namespace lumadex::site
