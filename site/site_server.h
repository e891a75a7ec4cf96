// The demo site as one object: give it a catalog, start it on a loopback address, and it
// serves from background threads until stopped.
#pragma once

#include <string>
#include <thread>

#include "site_catalog.h"
#include "site_http_server.h"
#include "site_routes.h"
#include "site_state.h"

namespace lumadex::site {

class SiteServer {
 public:
  explicit SiteServer(Catalog catalog);
  ~SiteServer();
  SiteServer(const SiteServer&) = delete;
  SiteServer& operator=(const SiteServer&) = delete;

  // Serves host:port (port 0: any free port) until stop(). Refuses any host that is not
  // loopback. False, with the reason in `error`, when it cannot start.
  bool start(const std::string& host, int port, std::string& error);
  // Ends every connection and every waiting request, then returns. Safe to call twice.
  void stop();

  int port() const { return port_; }
  // "http://127.0.0.1:8080", as printed for people.
  std::string base_url() const { return "http://" + url_host_ + ":" + std::to_string(port_); }
  SiteState& state() { return state_; }

 private:
  void dispatch(const httplib::Request& req, httplib::Response& res, const std::string& body);
  void log_request(const httplib::Request& req, const httplib::Response& res);

  SiteState state_;
  SiteHttpServer http_;
  SiteRoutes routes_;
  std::thread listener_;
  int port_ = 0;
  std::string url_host_;
};

}  // namespace lumadex::site
