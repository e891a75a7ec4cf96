// A demo site running in the test process on a free loopback port, and the ways tests
// look at what it sends.
#pragma once

#include <httplib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "site_server.h"

namespace lumadex::site::testing {

class LiveSite {
 public:
  // Starts the site with the given config text; throws if either fails.
  explicit LiveSite(std::string_view config = "demo");

  int port() const { return server_->port(); }
  std::string host() const { return "127.0.0.1:" + std::to_string(port()); }
  SiteServer& server() { return *server_; }

  httplib::Client client() const;
  // Signs in with a raw form body and returns "xnsid=...", or "" if no cookie came back.
  std::string sign_in(const std::string& form = "email=demo%40example.com&password=demo");
  httplib::Result get(const std::string& target, const std::string& cookie = "") const;
  // Replaces the config; throws unless the site accepted it.
  void configure(std::string_view text);
  std::vector<std::string> log_lines() const;
  // Waits (up to 5 s) until `times` log lines start with `prefix`; a hang is logged as it begins.
  bool wait_for_log(const std::string& prefix, std::size_t times = 1) const;
  void stop() { server_->stop(); }

 private:
  std::unique_ptr<SiteServer> server_;
};

// One photo entry as a downloader reads it: split on "photoPan", the link is whatever
// follows '<a href="' up to the first '">'.
struct Entry {
  bool has_link = false;
  std::string link;
  std::int64_t photo_id = 0;  // the link's id=, 0 when there is none
};
std::vector<Entry> album_entries(std::string_view html);

std::size_t occurrences(std::string_view text, std::string_view needle);

// A socket connected to the site on the loopback address, or -1.
int connect_to(int port);

// Sends `request` on a fresh socket and reads until the server closes it, `timeout_ms`
// passes or `most` bytes have come, then hangs up. Returns everything received.
std::string raw_exchange(int port, const std::string& request, int timeout_ms = 10000,
                         std::size_t most = std::string::npos);

// The figures of /_ctl/stats: connections (the asking one included), waiting, streams.
std::int64_t site_stat(const LiveSite& site, const std::string& name);

// "%XX" for every byte, as a careful client encodes a form field.
std::string percent_encode_all(std::string_view bytes);

}  // namespace lumadex::site::testing
