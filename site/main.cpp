// lumadex-site: the demo site on a loopback address, until SIGINT or SIGTERM.
#include <pthread.h>
#include <signal.h>

#include <fstream>
#include <iostream>
#include <sstream>

#include "catalog_parser.h"
#include "command_line.h"
#include "demo_catalog.h"
#include "site_server.h"

using namespace lumadex::site;

namespace {

constexpr int kBadUsage = 2;
constexpr int kCannotListen = 1;

void print_banner(const SiteServer& server, const Catalog& catalog) {
  std::string base = server.base_url();
  std::cout << "Lumadex demo site: " << base << "/\n"
            << "sign in at " << base << "/Login.do\n";
  for (const auto& a : catalog.accounts) std::cout << "account " << a.email << " password " << a.password << "\n";
  for (const auto& album : catalog.albums) {
    std::cout << "album " << album.id << " (" << album.count << " photos): " << base << "/getalbum.do?id=" << album.id
              << "&owner=" << album.owner << "\n";
  }
  std::cout.flush();
}

}  // namespace

int main(int argc, char** argv) {
  auto parsed = parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.options) {
    std::cerr << "lumadex-site: " << parsed.error << "\n" << kUsage;
    return kBadUsage;
  }
  const CommandLine& cl = *parsed.options;
  if (cl.help) {
    std::cout << kUsage;
    return 0;
  }

  Catalog catalog = demo_catalog();
  if (!cl.config_path.empty()) {
    std::ifstream in(cl.config_path, std::ios::binary);
    if (!in) {
      std::cerr << "lumadex-site: cannot read config " << cl.config_path << "\n";
      return kBadUsage;
    }
    std::stringstream text;
    text << in.rdbuf();
    auto config = parse_catalog(text.str());
    if (!config.catalog) {
      std::cerr << "lumadex-site: " << cl.config_path << ": " << config.error << "\n";
      return kBadUsage;
    }
    catalog = std::move(*config.catalog);
  }

  // Block the stop signals before any thread starts, so only the sigwait below sees them.
  sigset_t stop_signals;
  sigemptyset(&stop_signals);
  sigaddset(&stop_signals, SIGINT);
  sigaddset(&stop_signals, SIGTERM);
  sigaddset(&stop_signals, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);
  signal(SIGPIPE, SIG_IGN);

  SiteServer server(catalog);
  server.state().photos.use_small_photos(cl.small_photos);
  if (!cl.log_path.empty() && !server.state().log.mirror_to(cl.log_path)) {
    std::cerr << "lumadex-site: cannot append to log file " << cl.log_path << "\n";
    return kBadUsage;
  }
  std::string error;
  if (!server.start(cl.host, cl.port, error)) {
    std::cerr << "lumadex-site: " << error << "\n";
    return kCannotListen;
  }
  print_banner(server, catalog);

  int signal_number = 0;
  sigwait(&stop_signals, &signal_number);
  server.stop();
  return 0;
}
