// lumadex-site --port N [--host ADDR] [--config FILE] [--log FILE] [--small-photos]
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace lumadex::site {

struct CommandLine {
  int port = -1;
  std::string host = "127.0.0.1";
  std::string config_path;  // empty: the built-in demo set
  std::string log_path;     // empty: the request log stays in memory only
  bool small_photos = false;  // 320 x 240 gradients instead of photos of a real size
  bool help = false;
};

struct CommandLineParse {
  std::optional<CommandLine> options;
  std::string error;  // when options is empty
};

// Checks everything that can be checked without touching the network, the host's being a
// loopback address included.
CommandLineParse parse_command_line(const std::vector<std::string>& args);

extern const char kUsage[];

}  // namespace lumadex::site
