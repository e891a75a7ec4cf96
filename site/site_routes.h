// The site's pages and photos, with the configured faults applied to them.
#pragma once

#include <httplib.h>

#include <functional>
#include <string>

#include "fault_rules.h"
#include "site_http_server.h"
#include "site_state.h"

namespace lumadex::site {

class Connection;

class SiteRoutes {
 public:
  SiteRoutes(SiteState& state, SiteHttpServer& http) : state_(state), http_(http) {}

  // Where absolute addresses point when a request carries no usable Host header.
  void set_fallback_host(std::string host_and_port) { fallback_host_ = std::move(host_and_port); }

  // Any request but the control ones. `body` is the request body exactly as sent.
  void handle(const httplib::Request& req, httplib::Response& res, const std::string& body);

 private:
  struct Visit;

  void login(Visit& v, const std::string& body);
  void profile(Visit& v);
  void album_page(Visit& v);
  void photo_page(Visit& v);
  void photo_file(Visit& v);

  // Runs `produce` to make the ordinary response, with the plan's latency before it and
  // its outcome (hang, status, empty, truncate) applied after.
  void deliver(Visit& v, const FaultPlan& plan, const std::function<void()>& produce);
  // Turns the ordinary response into an endless or huge one: its first half, then filler.
  void stream(Visit& v, bool huge, Connection& conn);

  std::string base_url(const httplib::Request& req) const;

  SiteState& state_;
  SiteHttpServer& http_;
  std::string fallback_host_ = "127.0.0.1";
};

// Whether the request carries the cookie of a session that is open right now.
bool has_open_session(const SessionStore& sessions, const httplib::Request& req);

}  // namespace lumadex::site
