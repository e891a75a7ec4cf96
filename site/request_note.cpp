#include "request_note.h"

#include <cstdint>

#include "connection.h"

namespace lumadex::site {
namespace {

struct TaggedNote {
  std::uint64_t serial = 0;
  RequestNote note;
};

thread_local TaggedNote tl_note;

}  // namespace

RequestNote& current_note() {
  // A note with another serial is left over from an earlier request on this thread.
  const Connection* c = Connection::current();
  std::uint64_t serial = c ? c->serial() : 0;
  if (tl_note.serial != serial) tl_note = TaggedNote{serial, {}};
  return tl_note.note;
}

std::string format_log_line(const httplib::Request& req, bool cookie, int status, std::size_t bytes,
                            const std::string& extra) {
  // A request httplib refused before parsing it (a target too long, say) has neither.
  const std::string& method = req.method.empty() ? std::string("-") : req.method;
  const std::string& target = req.target.empty() ? std::string("-") : req.target;
  std::string line = method + " " + target + " cookie=" + (cookie ? "1" : "0") +
                     " status=" + std::to_string(status) + " bytes=" + std::to_string(bytes);
  if (!extra.empty()) line += " " + extra;
  return line;
}

}  // namespace lumadex::site
