#include "photo_page.h"

namespace lumadex::site {
namespace {

std::string photo_page_url(const PageContext& ctx, const Album& album, std::int64_t n) {
  return ctx.base + "/getphoto.do?id=" + std::to_string(photo_id(album.id, n)) + "&owner=" + std::to_string(album.owner);
}

}  // namespace

std::string render_photo_page(const PageContext& ctx, const Catalog& catalog, const Album& album, std::int64_t n,
                              bool no_img) {
  std::string caption = html_escape(photo_caption(album.id, n));
  std::string out = "<div class=\"photo-head\"><a href=\"" + ctx.base + "/getalbum.do?id=" + std::to_string(album.id) +
                    "&owner=" + std::to_string(album.owner) + "&curpage=" + std::to_string((n - 1) / kPhotosPerPage) +
                    "\">" + html_escape(album.title) + "</a> &rsaquo; 第 " + std::to_string(n) + " / " +
                    std::to_string(album.count) + " 幅</div>\n<div class=\"photo-box\">";
  if (no_img) {
    out += "<p class=\"notice\">照片正在处理中，请稍后刷新。</p>";
  } else {
    out += "<img id=\"photo\" src=\"" + ctx.base + "/photos/" + std::to_string(album.id) + "/" + std::to_string(n) +
           "/" + catalog.photo_name(album.id, n) + "\" title=\"" + caption + "\" />";
  }
  out += "</div>\n<p class=\"caption\">" + caption + "</p>\n<p class=\"photo-nav\">";
  if (n > 1) out += "<a href=\"" + photo_page_url(ctx, album, n - 1) + "\">上一幅</a> ";
  if (n < album.count) out += "<a href=\"" + photo_page_url(ctx, album, n + 1) + "\">下一幅</a>";
  out += "</p>";
  return page_frame(ctx, caption, "id=\"photoview\" class=\"photo-page\"", out);
}

}  // namespace lumadex::site
