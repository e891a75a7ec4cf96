// The frame every page of the site shares: doctype, style, top bar, navigation, footer.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace lumadex::site {

struct PageContext {
  std::string base;  // "http://host[:port]" as the visitor addressed the site
  bool signed_in = false;
};

// A whole page. `body_attrs` goes into the body tag as is, e.g. id="home" class="...".
std::string page_frame(const PageContext& ctx, std::string_view title, std::string_view body_attrs,
                       std::string_view content);

std::string html_escape(std::string_view text);

// Appends each piece to `out` in turn: pages are built from many small pieces, and
// chained "+" would make a temporary string for every one of them.
struct Num {
  std::int64_t value;
};

inline void append_piece(std::string& out, std::string_view piece) { out.append(piece); }
inline void append_piece(std::string& out, Num n) {
  char buf[24];
  auto end = std::to_chars(buf, buf + sizeof buf, n.value).ptr;
  out.append(buf, end);
}

template <typename... Pieces>
void append_all(std::string& out, const Pieces&... pieces) {
  (append_piece(out, pieces), ...);
}

}  // namespace lumadex::site
