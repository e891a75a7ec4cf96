#include "site_routes.h"

#include <algorithm>
#include <atomic>
#include <limits>
#include <memory>
#include <string_view>

#include "album_page.h"
#include "connection.h"
#include "form_encoding.h"
#include "photo_page.h"
#include "request_note.h"
#include "site_pages.h"
#include "text_parse.h"

namespace lumadex::site {
namespace {

constexpr char kHtml[] = "text/html; charset=utf-8";

std::optional<std::int64_t> number_field(const FormFields& fields, std::string_view key, std::int64_t max) {
  auto value = form_value(fields, key);
  return value ? parse_decimal(*value, max) : std::nullopt;
}

void set_error(httplib::Response& res, int status) {
  res.headers.clear();
  res.status = status;
  res.set_content(render_error_page(status), kHtml);
}

constexpr std::size_t kFillerChunk = 64 * 1024;

// What follows the real half of an endless or huge body, over and over. After a photo's
// half: bytes that read as more of its compressed data (never 0xFF, so no marker ever ends
// the picture). After a page's half: empty paragraphs, free of every marker clients look for.
const std::string& filler(bool jpeg) {
  static const std::string kJpeg = [] {
    std::string s(kFillerChunk, '\0');
    std::uint32_t x = 0x9e3779b9u;
    for (char& c : s) {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      c = static_cast<char>(x % 255);
    }
    return s;
  }();
  static const std::string kHtml = [] {
    constexpr std::string_view kLine = "<p>&nbsp;</p>\n";
    std::string s;
    while (s.size() + kLine.size() <= kFillerChunk) s += kLine;
    return s;
  }();
  return jpeg ? kJpeg : kHtml;
}

// One endless or huge body on its way out; counted in `live` for as long as it exists.
class Stream {
 public:
  Stream(std::string head, const std::string& filler, std::atomic<int>& live)
      : head_(std::move(head)), filler_(filler), live_(live) {
    ++live_;
    current_note().body_bytes = 0;
  }
  ~Stream() { --live_; }
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;

  // Sends what lies at `offset`, at most `most` bytes; false once the client has gone.
  bool send(std::uint64_t offset, std::uint64_t most, httplib::DataSink& sink) {
    std::string_view piece = offset < head_.size()
                                 ? std::string_view(head_).substr(offset)
                                 : std::string_view(filler_).substr((offset - head_.size()) % filler_.size());
    piece = piece.substr(0, std::min<std::uint64_t>(piece.size(), most));
    if (!sink.write(piece.data(), piece.size())) return false;
    // Runs on the request's own thread, so the note is still this request's.
    current_note().body_bytes = offset + piece.size();
    return true;
  }

 private:
  std::string head_;
  const std::string& filler_;
  std::atomic<int>& live_;
};

}  // namespace

struct SiteRoutes::Visit {
  const httplib::Request& req;
  httplib::Response& res;
  std::shared_ptr<const Catalog> catalog;
  PageContext ctx;
  FormFields query;
};

bool has_open_session(const SessionStore& sessions, const httplib::Request& req) {
  auto range = req.headers.equal_range("Cookie");
  for (auto it = range.first; it != range.second; ++it) {
    if (sessions.is_open(session_cookie(it->second))) return true;
  }
  return false;
}

std::string SiteRoutes::base_url(const httplib::Request& req) const {
  // The Host header goes into every address on the page; anything that could break out
  // of an attribute is not a host name, so fall back to the address the site listens on.
  std::string host = req.get_header_value("Host");
  bool usable = !host.empty() && host.size() <= 255;
  for (char c : host) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
              c == ':' || c == '[' || c == ']';
    usable = usable && ok;
  }
  return "http://" + (usable ? host : fallback_host_);
}

void SiteRoutes::handle(const httplib::Request& req, httplib::Response& res, const std::string& body) {
  bool signed_in = has_open_session(state_.sessions, req);
  current_note().cookie = signed_in;
  Visit v{req, res, state_.catalog(), PageContext{base_url(req), signed_in}, split_form(query_of(req.target))};

  const std::string& path = req.path;
  bool get = req.method == "GET" || req.method == "HEAD";
  if (path == "/Login.do" && req.method == "POST") {
    login(v, body);
  } else if ((path == "/Login.do" || path == "/") && get) {
    if (signed_in && path == "/") {
      res.set_content(render_home_page(v.ctx, *v.catalog, ""), kHtml);
    } else {
      res.set_content(render_login_page(v.ctx, ""), kHtml);
    }
  } else if (path == "/getuser.do" && get) {
    profile(v);
  } else if (path == "/getalbum.do" && get) {
    album_page(v);
  } else if (path == "/getphoto.do" && get) {
    photo_page(v);
  } else if (path.rfind("/photos/", 0) == 0 && get) {
    photo_file(v);
  } else {
    set_error(res, 404);
  }
}

void SiteRoutes::deliver(Visit& v, const FaultPlan& plan, const std::function<void()>& produce) {
  if (plan.latency.count() > 0) http_.pause(plan.latency);
  produce();
  if (v.res.status == -1) v.res.status = 200;  // what httplib would make of it
  Connection* conn = Connection::current();
  RequestNote& note = current_note();
  switch (plan.outcome) {
    case Outcome::Normal:
      break;
    case Outcome::Status:
      set_error(v.res, plan.status);
      break;
    case Outcome::Empty:
      v.res.status = 200;
      v.res.body.clear();
      v.res.headers.erase("Set-Cookie");
      break;
    case Outcome::Truncate:
      note.body_bytes = v.res.body.size() / 2;
      if (conn) conn->cut_body(*note.body_bytes);
      break;
    case Outcome::Endless:
    case Outcome::Huge:
      if (conn) stream(v, plan.outcome == Outcome::Huge, *conn);
      break;
    case Outcome::Hang:
      // Logged now, since nothing will ever go out for it.
      state_.log.append(format_log_line(v.req, note.cookie.value_or(false), v.res.status, 0, note.extra));
      note.logged = true;
      http_.pause(std::chrono::milliseconds(static_cast<std::int64_t>(plan.hang_seconds * 1000)));
      if (conn) conn->drop_response();
      break;
  }
}

void SiteRoutes::stream(Visit& v, bool huge, Connection& conn) {
  httplib::Response& res = v.res;
  std::string type = res.get_header_value("Content-Type");
  res.headers.erase("Content-Type");
  std::string head = std::move(res.body);
  res.body.clear();
  head.resize(head.size() / 2);
  auto body = std::make_shared<Stream>(std::move(head), filler(type == "image/jpeg"), state_.streams);
  if (huge) {
    res.set_content_provider(static_cast<std::size_t>(kHugeLength), type,
                             [body](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                               return body->send(offset, length, sink);
                             });
  } else {
    res.set_chunked_content_provider(type, [body](std::size_t offset, httplib::DataSink& sink) {
      return body->send(offset, std::numeric_limits<std::uint64_t>::max(), sink);
    });
  }
  // Whatever the client makes of it, this connection carries nothing after the stream.
  res.set_header("Connection", "close");
  conn.stream_response();
}

void SiteRoutes::login(Visit& v, const std::string& body) {
  auto form = split_form(body);
  auto email = form_value(form, "email");
  auto password = form_value(form, "password");
  current_note().extra = "email-hex=" + to_hex(email.value_or("")) + " password-hex=" + to_hex(password.value_or(""));

  FaultPlan plan = plan_faults(v.catalog->faults, {RequestFamily::Login, {}, {}, 0});
  // A session only exists if its cookie at least left the server.
  bool cookie_goes_out = plan.outcome != Outcome::Hang && plan.outcome != Outcome::Status &&
                         plan.outcome != Outcome::Empty;
  deliver(v, plan, [&] {
    const Account* account = email ? v.catalog->find_account(*email) : nullptr;
    if (account && password && *password == account->password_gbk) {
      if (cookie_goes_out) {
        v.res.set_header("Set-Cookie", "xnsid=" + state_.sessions.open(account->email) + "; path=/");
      }
      v.ctx.signed_in = true;
      v.res.set_content(render_home_page(v.ctx, *v.catalog, account->email), kHtml);
    } else {
      v.res.set_content(render_login_page(v.ctx, "您输入的电子邮箱或密码不正确，请重新输入。"), kHtml);
    }
  });
}

void SiteRoutes::profile(Visit& v) {
  FaultPlan plan = plan_faults(v.catalog->faults, {RequestFamily::Profile, {}, {}, 0});
  deliver(v, plan, [&] {
    if (!v.ctx.signed_in) {
      v.res.set_content(render_signed_out_page(v.ctx), kHtml);
      return;
    }
    auto owner = number_field(v.query, "id", kMaxOwnerId).value_or(v.catalog->home_owner());
    v.res.set_content(render_profile_page(v.ctx, *v.catalog, owner), kHtml);
  });
}

void SiteRoutes::album_page(Visit& v) {
  auto id = number_field(v.query, "id", kMaxAlbumId);
  auto owner = number_field(v.query, "owner", kMaxOwnerId);
  // A curpage that is not a page number reads as the first page, as on the old site.
  std::optional<std::int64_t> page;
  if (auto raw = form_value(v.query, "curpage")) page = parse_decimal(*raw, 1'000'000'000).value_or(0);

  FaultPlan plan = plan_faults(v.catalog->faults, {RequestFamily::AlbumPage, id, page, 0});
  deliver(v, plan, [&] {
    const Album* album = id ? v.catalog->find_album(*id) : nullptr;
    if (!v.ctx.signed_in) {
      v.res.set_content(render_signed_out_page(v.ctx), kHtml);
    } else if (!album || album->owner != owner) {
      v.res.set_content(render_missing_page(v.ctx, "相册不存在或已被删除"), kHtml);
    } else {
      v.res.set_content(render_album_page(v.ctx, *v.catalog, *album, page.value_or(0), plan), kHtml);
    }
  });
}

void SiteRoutes::photo_page(Visit& v) {
  auto photo = number_field(v.query, "id", INT64_MAX / 2);
  auto owner = number_field(v.query, "owner", kMaxOwnerId);
  auto where = photo ? split_photo_id(*photo) : std::nullopt;

  FaultSubject subject{RequestFamily::PhotoPage, {}, {}, 0};
  if (where) subject = {RequestFamily::PhotoPage, where->first, {}, where->second};
  FaultPlan plan = plan_faults(v.catalog->faults, subject);
  deliver(v, plan, [&] {
    const Album* album = where ? v.catalog->find_album(where->first) : nullptr;
    if (!v.ctx.signed_in) {
      v.res.set_content(render_signed_out_page(v.ctx), kHtml);
    } else if (!album || album->owner != owner || where->second > album->count) {
      v.res.set_content(render_missing_page(v.ctx, "照片不存在或已被删除"), kHtml);
    } else {
      v.res.set_content(render_photo_page(v.ctx, *v.catalog, *album, where->second, plan.no_img), kHtml);
    }
  });
}

void SiteRoutes::photo_file(Visit& v) {
  // /photos/<album>/<n>/<name>: the name is whatever the page said and is not checked,
  // so names full of odd characters still lead to their photo.
  std::string_view rest = std::string_view(v.req.path).substr(8);
  auto slash = rest.find('/');
  auto album_id = parse_decimal(rest.substr(0, slash), kMaxAlbumId);
  std::optional<std::int64_t> n;
  if (slash != std::string_view::npos) {
    rest.remove_prefix(slash + 1);
    n = parse_decimal(rest.substr(0, rest.find('/')), kMaxPhotosPerAlbum);
  }

  FaultSubject subject{RequestFamily::PhotoFile, album_id, {}, n.value_or(0)};
  FaultPlan plan = plan_faults(v.catalog->faults, subject);
  deliver(v, plan, [&] {
    const Album* album = album_id ? v.catalog->find_album(*album_id) : nullptr;
    if (!album || !n || *n < 1 || *n > album->count) {
      set_error(v.res, 404);
      return;
    }
    auto jpeg = state_.photos.get(*album, *n);
    v.res.set_content(jpeg->data(), jpeg->size(), "image/jpeg");
  });
}

}  // namespace lumadex::site
