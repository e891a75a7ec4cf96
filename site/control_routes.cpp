#include "control_routes.h"

#include "catalog_parser.h"
#include "form_encoding.h"
#include "text_parse.h"

namespace lumadex::site {
namespace {

constexpr char kText[] = "text/plain; charset=utf-8";

void reply(httplib::Response& res, int status, const std::string& text) {
  res.status = status;
  res.set_content(text, kText);
}

}  // namespace

void handle_control(SiteState& state, const SiteHttpServer& http, const httplib::Request& req, httplib::Response& res,
                    const std::string& body) {
  const std::string& path = req.path;
  bool get = req.method == "GET";
  bool post = req.method == "POST";
  if (path == "/_ctl/health" && get) {
    reply(res, 200, "ok");
  } else if (path == "/_ctl/config" && post) {
    auto parsed = parse_catalog(body);
    if (!parsed.catalog) return reply(res, 400, parsed.error);
    state.replace_catalog(std::move(*parsed.catalog));
    reply(res, 200, "ok");
  } else if (path == "/_ctl/reset" && post) {
    state.log.clear();
    reply(res, 200, "ok");
  } else if (path == "/_ctl/forget-sessions" && post) {
    // As a restarted site would: every cookie handed out so far stops opening anything.
    state.sessions.clear();
    reply(res, 200, "ok");
  } else if (path == "/_ctl/stats" && get) {
    // The asking connection counts itself.
    reply(res, 200, "connections=" + std::to_string(http.connections()) + " waiting=" + std::to_string(http.waiting()) +
                        " streams=" + std::to_string(state.streams.load()) + "\n");
  } else if (path == "/_ctl/log" && get) {
    reply(res, 200, state.log.text());
  } else if (path == "/_ctl/photo" && get) {
    auto query = split_form(query_of(req.target));
    auto album_text = form_value(query, "album");
    auto n_text = form_value(query, "n");
    auto album_id = album_text ? parse_decimal(*album_text, kMaxAlbumId) : std::nullopt;
    auto n = n_text ? parse_decimal(*n_text, kMaxPhotosPerAlbum) : std::nullopt;
    auto catalog = state.catalog();
    const Album* album = album_id ? catalog->find_album(*album_id) : nullptr;
    if (!album || !n || *n < 1 || *n > album->count) return reply(res, 404, "no such photo");
    auto jpeg = state.photos.get(*album, *n);
    res.set_content(jpeg->data(), jpeg->size(), "image/jpeg");
  } else {
    reply(res, 404, "unknown control request");
  }
}

}  // namespace lumadex::site
