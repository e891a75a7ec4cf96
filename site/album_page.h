// One page of an album's photo list, the page downloaders read photo addresses from.
#pragma once

#include <cstdint>
#include <string>

#include "fault_rules.h"
#include "html_layout.h"
#include "site_catalog.h"

namespace lumadex::site {

// Page `page` (from 0) of the album, with kPhotosPerPage entries; past the last page the
// list is empty. `plan` may take markers away or change the count text.
std::string render_album_page(const PageContext& ctx, const Catalog& catalog, const Album& album, std::int64_t page,
                              const FaultPlan& plan);

}  // namespace lumadex::site
