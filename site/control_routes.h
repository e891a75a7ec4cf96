// The test harness's side door: /_ctl/health, config, reset, forget-sessions, log, photo
// and stats. These requests are never written to the request log.
#pragma once

#include <httplib.h>

#include <string>

#include "site_http_server.h"
#include "site_state.h"

namespace lumadex::site {

void handle_control(SiteState& state, const SiteHttpServer& http, const httplib::Request& req, httplib::Response& res,
                    const std::string& body);

}  // namespace lumadex::site
