// What the request log needs to know about a request beyond what httplib saw: whether it
// is logged at all, and what really went out when a fault changed the response.
#pragma once

#include <httplib.h>

#include <cstddef>
#include <optional>
#include <string>

namespace lumadex::site {

struct RequestNote {
  bool quiet = false;    // control requests stay out of the log
  bool logged = false;   // already written (a hang is logged before it starts waiting)
  std::optional<bool> cookie;  // whether a valid session cookie came with the request
  std::optional<std::size_t> body_bytes;  // when less than the whole body went out
  std::string extra;     // appended to the line, e.g. the sign-in form's bytes
};

// The note of the request the calling thread is handling, fresh for each request.
RequestNote& current_note();

// "<METHOD> <target> cookie=<0|1> status=<code> bytes=<n>[ <extra>]"; the target is the
// path and query exactly as the client sent them.
std::string format_log_line(const httplib::Request& req, bool cookie, int status, std::size_t bytes,
                            const std::string& extra);

}  // namespace lumadex::site
