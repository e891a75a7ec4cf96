#include "album_page.h"

#include <algorithm>

namespace lumadex::site {
namespace {

void append_page_url(std::string& out, const PageContext& ctx, const Album& album, std::int64_t page) {
  append_all(out, ctx.base, "/getalbum.do?id=", Num{album.id}, "&owner=", Num{album.owner}, "&curpage=", Num{page});
}

// Clients split entries on the class name and take the link up to the first '">', so an
// entry is written in exactly one shape.
void append_entry(std::string& out, const PageContext& ctx, const Catalog& catalog, const Album& album,
                  std::int64_t n, bool photo_pan) {
  std::string caption = html_escape(photo_caption(album.id, n));
  bool linked = !entry_unlinked(catalog.faults, album.id, n);
  out += photo_pan ? "<li class=\"photoPan\">" : "<li class=\"photo-item\">";
  if (linked) {
    append_all(out, "<a href=\"", ctx.base, "/getphoto.do?id=", Num{photo_id(album.id, n)}, "&owner=", Num{album.owner},
               "\">");
  }
  append_all(out, "<img src=\"", ctx.base, "/photos/", Num{album.id}, "/", Num{n}, "/thumb_",
             catalog.photo_name(album.id, n), "\" alt=\"", caption, "\"/>");
  if (linked) out += "</a>";
  append_all(out, "<span>", caption, "</span></li>\n");
}

// Like the old site: first and last page, and a few either side of the current one.
void append_page_links(std::string& out, const PageContext& ctx, const Album& album, std::int64_t page) {
  std::int64_t pages = album.page_count();
  auto link = [&](std::int64_t k, std::string_view text) {
    out += "<a href=\"";
    append_page_url(out, ctx, album, k);
    append_all(out, "\">", text, "</a>");
  };
  if (page > 0 && page < pages) link(page - 1, "上一页");
  bool gap = false;
  for (std::int64_t k = 0; k < pages; ++k) {
    if (k != 0 && k != pages - 1 && (k < page - 3 || k > page + 3)) {
      if (!gap) out += "<span>...</span>";
      gap = true;
      continue;
    }
    gap = false;
    if (k == page) {
      append_all(out, "<strong>", Num{k + 1}, "</strong>");
    } else {
      link(k, std::to_string(k + 1));
    }
  }
  if (page + 1 < pages) link(page + 1, "下一页");
}

}  // namespace

std::string render_album_page(const PageContext& ctx, const Catalog& catalog, const Album& album, std::int64_t page,
                              const FaultPlan& plan) {
  std::string out;
  out.reserve(2048 + 400 * kPhotosPerPage);
  append_all(out, "<div class=\"album-head\"><h2>", html_escape(album.title), "</h2>\n<p>所有者：<a href=\"", ctx.base,
             "/getuser.do?id=", Num{album.owner}, "\">", html_escape(owner_display_name(album.owner)),
             "</a> &middot; 创建于 2008-04-12</p></div>\n");

  out += plan.no_pager_top ? "<div class=\"pager-info\">" : "<div class=\"pager-top\">";
  std::string count = plan.count_text ? *plan.count_text : " " + std::to_string(album.count) + " ";
  append_all(out, "<span class=\"album-count\">共", count, "张</span> &middot; 第 ", Num{page + 1}, "/",
             Num{album.page_count()}, " 页</div>\n<ul class=\"thumbs\">\n");

  std::int64_t first = page * kPhotosPerPage + 1;
  std::int64_t last = std::min(album.count, first + kPhotosPerPage - 1);
  for (std::int64_t n = first; n <= last; ++n) append_entry(out, ctx, catalog, album, n, !plan.no_photo_pan);
  out += "</ul>\n";

  out += plan.no_pager_bottom ? "<div class=\"pager-links\">" : "<div class=\"pager-bottom\">";
  append_page_links(out, ctx, album, page);
  append_all(out, "</div>\n<p class=\"album-actions\"><a href=\"", ctx.base, "/getuser.do?id=", Num{album.owner},
             "\">返回相册列表</a></p>");
  return page_frame(ctx, album.title, "id=\"album\" class=\"album-page\"", out);
}

}  // namespace lumadex::site
