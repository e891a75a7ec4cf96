// httplib's server with the site's own connection handling: buffered connections (see
// Connection), a prompt shutdown that also wakes handlers that are deliberately waiting,
// enough threads that slow or hanging requests never hold up the rest, and idle kept-alive
// connections that give their thread up when a new connection is waiting for one.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace lumadex::site {

class SiteHttpServer : public httplib::Server {
 public:
  static constexpr std::size_t kThreads = 96;

  SiteHttpServer();
  ~SiteHttpServer() override;
  SiteHttpServer(const SiteHttpServer&) = delete;
  SiteHttpServer& operator=(const SiteHttpServer&) = delete;

  // Ends every wait on this server: idle connections, reads, and pause() calls.
  void begin_shutdown();
  bool shutting_down() const { return shutting_down_; }

  // Sleeps for `d` unless the server starts shutting down first; false if cut short.
  bool pause(std::chrono::milliseconds d);

  // A larger accept queue than httplib's default, for bursts of parallel clients.
  void widen_backlog();

  // Connections being served right now, and those accepted but still waiting for a thread.
  std::size_t connections() const { return connections_; }
  std::size_t waiting() const { return waiting_; }

 private:
  // Called by httplib for each accepted socket (a private virtual of httplib::Server).
  bool process_and_close_socket(socket_t sock) override;

  int stop_pipe_[2] = {-1, -1};
  std::atomic<bool> shutting_down_{false};
  std::atomic<std::size_t> connections_{0};
  std::atomic<std::size_t> waiting_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
};

}  // namespace lumadex::site
