// The page of a single photo, which holds the address of the full-size picture.
#pragma once

#include <cstdint>
#include <string>

#include "html_layout.h"
#include "site_catalog.h"

namespace lumadex::site {

// Photo n of the album. The photo's file name goes into the address verbatim, odd
// characters and all, as the old site did; `no_img` leaves the picture out.
std::string render_photo_page(const PageContext& ctx, const Catalog& catalog, const Album& album, std::int64_t n,
                              bool no_img);

}  // namespace lumadex::site
