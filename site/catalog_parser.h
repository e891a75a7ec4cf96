// Reads the site's config text into a Catalog.
//
//   demo                                  the built-in demo set
//   account <email> <password>
//   album <id> owner=<owner> count=<n>
//   photo-name <album> <n> <name: the rest of the line, verbatim>
//   fault <album|*> <target> <kind> [arg]
//
// Fault targets: login, profile, first (an album page asked for without curpage),
// page:<k> (curpage=k), pages, photopage:<n>, photopages, photo:<n>, photos, entry:<n>.
// Kinds: latency <ms>, hang [seconds, default 120], status <code>, empty, truncate, endless,
// huge (any target but entry); no-photoPan, no-pager-top, no-pager-bottom, count <text,
// verbatim> (album pages); no-img (photo pages); nolink (entry). Login and profile faults
// take "*" for the album; "*" also puts any other fault on every album.
//
// An endless answer is the first half of the ordinary body, then filler without end, chunked
// and without a length; a huge one is the same under a Content-Length of 3000000000. Both go
// as fast as the client reads and stop when it hangs up.
//
// A latency delays only its own request, so a named target answers out of order: with
// "fault 2001 photo:3 latency 400", photo 4's file comes back before photo 3's.
//
// A line whose first non-blank character is "#" is a comment; so is anything from a "#"
// token on after a line's fixed tokens, except in a photo name or a count text, which are
// taken verbatim. An album or account may be defined once; such a definition takes the
// place of a demo one with the same id or email, whichever line comes first.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "site_catalog.h"

namespace lumadex::site {

struct CatalogParse {
  std::optional<Catalog> catalog;
  std::string error;  // one line, "line N: ...", when catalog is empty
};

CatalogParse parse_catalog(std::string_view text);

}  // namespace lumadex::site
