// The site's ordinary pages: sign-in, home, profile, and the pages for things not found.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "html_layout.h"
#include "site_catalog.h"

namespace lumadex::site {

// The sign-in form, with a notice above it (a wrong password, or "请先登录").
std::string render_login_page(const PageContext& ctx, std::string_view notice);
// What a signed-out visitor gets for any page that needs an account.
std::string render_signed_out_page(const PageContext& ctx);
std::string render_home_page(const PageContext& ctx, const Catalog& catalog, std::string_view email);
std::string render_profile_page(const PageContext& ctx, const Catalog& catalog, std::int64_t owner);
// "相册不存在" and the like: a normal page saying the thing is not there.
std::string render_missing_page(const PageContext& ctx, std::string_view what);
// The body of an HTTP error response.
std::string render_error_page(int status);

}  // namespace lumadex::site
