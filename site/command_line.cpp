#include "command_line.h"

#include "loopback.h"
#include "text_parse.h"

namespace lumadex::site {

const char kUsage[] =
    "usage: lumadex-site --port N [--host ADDR] [--config FILE] [--log FILE] [--small-photos]\n"
    "  --host    a loopback address: 127.x.y.z, ::1 or localhost (default 127.0.0.1)\n"
    "  --port    0 picks a free port\n"
    "  --config  the site's accounts, albums and faults (default: the built-in demo set)\n"
    "  --log     also append the request log to FILE\n"
    "  --small-photos  serve small 320 x 240 photos (quicker to make) instead of 720 across\n"
    "\n"
    "config lines (the whole grammar is at the top of site/catalog_parser.h):\n"
    "  demo                                 the built-in demo set (albums 1001-1005)\n"
    "  account EMAIL PASSWORD\n"
    "  album ID owner=OWNER count=N\n"
    "  photo-name ALBUM N NAME\n"
    "  fault ALBUM|* TARGET KIND [ARG]\n"
    "    targets: login profile first page:K pages photopage:N photopages photo:N photos entry:N\n"
    "    kinds:   latency MS, hang [S], status CODE, empty, truncate, endless, huge (any target but\n"
    "             entry); no-photoPan no-pager-top no-pager-bottom, count TEXT (album pages);\n"
    "             no-img (photo pages); nolink (entry)\n"
    "\n"
    "control requests: GET /_ctl/health, POST /_ctl/config (a config as the body), POST /_ctl/reset,\n"
    "  POST /_ctl/forget-sessions, GET /_ctl/log, GET /_ctl/photo?album=&n=, GET /_ctl/stats\n";

CommandLineParse parse_command_line(const std::vector<std::string>& args) {
  CommandLine cl;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::optional<std::string> value;
    if (auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    if (name == "--help" || name == "-h") {
      cl.help = true;
      continue;
    }
    if (name == "--small-photos" && !value) {
      cl.small_photos = true;
      continue;
    }
    if (name != "--port" && name != "--host" && name != "--config" && name != "--log") {
      return {std::nullopt, "unknown option '" + args[i] + "'"};
    }
    if (!value) {
      if (i + 1 >= args.size()) return {std::nullopt, name + " needs a value"};
      value = args[++i];
    }
    if (name == "--port") {
      auto port = parse_decimal(*value, 65535);
      if (!port) return {std::nullopt, "--port needs a number from 0 to 65535, got '" + *value + "'"};
      cl.port = static_cast<int>(*port);
    } else if (name == "--host") {
      cl.host = *value;
    } else if (name == "--config") {
      cl.config_path = *value;
    } else {
      cl.log_path = *value;
    }
  }
  if (cl.help) return {cl, {}};
  if (cl.port < 0) return {std::nullopt, "--port is required"};
  if (!is_loopback_host(cl.host)) {
    return {std::nullopt, "refusing to listen on '" + cl.host +
                              "': the demo site only serves loopback addresses (127.0.0.0/8, ::1, localhost)"};
  }
  return {cl, {}};
}

}  // namespace lumadex::site
