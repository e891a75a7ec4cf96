// The built-in demo set: what the site serves when started without a config, and what a
// config line "demo" brings in.
#pragma once

#include <cstdint>

#include "site_catalog.h"

namespace lumadex::site {

inline constexpr std::int64_t kDemoOwner = 222300001;

// Adds the demo accounts and albums, except any the catalog already defines itself.
void add_demo_set(Catalog& catalog);

Catalog demo_catalog();

}  // namespace lumadex::site
