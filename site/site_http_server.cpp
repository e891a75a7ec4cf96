#include "site_http_server.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "connection.h"

namespace lumadex::site {
namespace {

// httplib's pool, counting the accepted connections that no thread has taken up yet.
class CountingPool final : public httplib::TaskQueue {
 public:
  CountingPool(std::size_t threads, std::atomic<std::size_t>& waiting) : pool_(threads), waiting_(waiting) {}

  void enqueue(std::function<void()> fn) override {
    ++waiting_;
    pool_.enqueue([this, fn = std::move(fn)] {
      --waiting_;
      fn();
    });
  }
  void shutdown() override { pool_.shutdown(); }

 private:
  httplib::ThreadPool pool_;
  std::atomic<std::size_t>& waiting_;
};

}  // namespace

SiteHttpServer::SiteHttpServer() {
  if (::pipe(stop_pipe_) != 0) throw std::runtime_error("cannot create the shutdown pipe");
  new_task_queue = [this] { return new CountingPool(kThreads, waiting_); };
  // Benchmarks and downloaders reuse one connection for thousands of requests.
  set_keep_alive_max_count(100'000'000);
  set_keep_alive_timeout(15);
  // Only SO_REUSEADDR: httplib's default also sets SO_REUSEPORT, which would let a second
  // server share the port instead of failing to bind it.
  set_socket_options([](socket_t sock) {
    int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  });
}

SiteHttpServer::~SiteHttpServer() {
  ::close(stop_pipe_[0]);
  ::close(stop_pipe_[1]);
}

void SiteHttpServer::begin_shutdown() {
  {
    std::lock_guard lock(mutex_);
    if (shutting_down_.exchange(true)) return;
  }
  wake_.notify_all();
  // Never read, so it stays readable: every connection's poll sees it from now on.
  char byte = 1;
  [[maybe_unused]] auto n = ::write(stop_pipe_[1], &byte, 1);
}

bool SiteHttpServer::pause(std::chrono::milliseconds d) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, d, [this] { return shutting_down_.load(); });
}

void SiteHttpServer::widen_backlog() {
  socket_t sock = svr_sock_;
  if (sock != INVALID_SOCKET) ::listen(sock, 128);
}

bool SiteHttpServer::process_and_close_socket(socket_t sock) {
  ++connections_;
  struct Leaving {
    std::atomic<std::size_t>& count;
    ~Leaving() { --count; }
  } leaving{connections_};
  int yes = 1;
  ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  using std::chrono::duration_cast, std::chrono::milliseconds, std::chrono::seconds, std::chrono::microseconds;
  Connection conn(sock, stop_pipe_[0],
                  duration_cast<milliseconds>(seconds(read_timeout_sec_) + microseconds(read_timeout_usec_)),
                  duration_cast<milliseconds>(seconds(write_timeout_sec_) + microseconds(write_timeout_usec_)));
  Connection::Serving serving(conn);
  bool ok = false;
  for (std::size_t left = keep_alive_max_count_; left > 0 && !shutting_down_; --left) {
    if (!conn.next_request(std::chrono::seconds(keep_alive_timeout_sec_), waiting_)) break;
    bool client_closes = false;
    ok = process_request(conn, left == 1, client_closes, nullptr);
    bool reusable = conn.finish_response();
    if (!ok || client_closes || !reusable) break;
  }
  ::shutdown(sock, SHUT_RDWR);
  ::close(sock);
  return ok;
}

}  // namespace lumadex::site
