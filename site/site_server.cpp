#include "site_server.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include "control_routes.h"
#include "loopback.h"
#include "request_note.h"

namespace lumadex::site {
namespace {

// Bigger bodies than any config or sign-in form the site expects.
constexpr std::size_t kMaxBody = 16u << 20;

}  // namespace

SiteServer::SiteServer(Catalog catalog) : state_(std::move(catalog)), routes_(state_, http_) {
  using httplib::Request, httplib::Response;
  http_.set_pre_routing_handler([](const Request& req, Response&) {
    // The site never compresses: logged byte counts and the cut of a truncated body are
    // those of the page itself. The request is httplib's own mutable object.
    const_cast<Request&>(req).headers.erase("Accept-Encoding");
    return httplib::Server::HandlerResponse::Unhandled;
  });
  http_.Get(".*", [this](const Request& req, Response& res) { dispatch(req, res, {}); });
  // Bodies are read raw: httplib would decode a form itself, with "+" as a space.
  http_.Post(".*", [this](const Request& req, Response& res, const httplib::ContentReader& read) {
    std::string body;
    bool ok = read([&body](const char* data, std::size_t n) {
      if (body.size() + n > kMaxBody) return false;
      body.append(data, n);
      return true;
    });
    if (!ok) {
      res.status = 413;
      return;
    }
    dispatch(req, res, body);
  });
  http_.Post(".*", [this](const Request& req, Response& res) { dispatch(req, res, req.body); });
  http_.set_logger([this](const Request& req, const Response& res) { log_request(req, res); });
}

SiteServer::~SiteServer() { stop(); }

bool SiteServer::start(const std::string& host, int port, std::string& error) {
  if (!is_loopback_host(host)) {
    error = "refusing to listen on '" + host + "': the demo site only serves loopback addresses "
            "(127.0.0.0/8, ::1, localhost)";
    return false;
  }
  if (port < 0 || port > 65535) {
    error = "port " + std::to_string(port) + " is out of range";
    return false;
  }
  std::string address = bind_address_for(host);
  url_host_ = url_host_for(address);
  errno = 0;
  bool bound = port == 0 ? (port_ = http_.bind_to_any_port(address)) > 0 : http_.bind_to_port(address, port);
  if (!bound) {
    int err = errno;
    error = "cannot listen on " + url_host_ + ":" + std::to_string(port) +
            (err ? std::string(": ") + std::strerror(err) : std::string(" (address in use?)"));
    return false;
  }
  if (port != 0) port_ = port;
  http_.widen_backlog();
  routes_.set_fallback_host(url_host_ + ":" + std::to_string(port_));
  listener_ = std::thread([this] { http_.listen_after_bind(); });
  // stop() only works on a running server, so do not return before it is.
  for (int i = 0; i < 500 && !http_.is_running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return true;
}

void SiteServer::stop() {
  if (!listener_.joinable()) return;
  http_.begin_shutdown();
  http_.stop();
  listener_.join();
}

void SiteServer::dispatch(const httplib::Request& req, httplib::Response& res, const std::string& body) {
  if (req.path.rfind("/_ctl/", 0) == 0) {
    current_note().quiet = true;
    handle_control(state_, http_, req, res, body);
  } else {
    routes_.handle(req, res, body);
  }
}

void SiteServer::log_request(const httplib::Request& req, const httplib::Response& res) {
  RequestNote& note = current_note();
  if (note.quiet || note.logged) return;
  bool cookie = note.cookie ? *note.cookie : has_open_session(state_.sessions, req);
  std::size_t bytes = req.method == "HEAD" ? 0 : res.body.size();
  state_.log.append(
      format_log_line(req, cookie, res.status, note.body_bytes.value_or(bytes), note.extra));
}

}  // namespace lumadex::site
