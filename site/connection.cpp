#include "connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

namespace lumadex::site {
namespace {

thread_local Connection* tl_current = nullptr;

// Serial numbers are unique across connections, so one names a request on its own.
std::atomic<std::uint64_t> g_serial{0};

// Past this much buffered output, send early; only an ordinary response may be sent in parts.
constexpr std::size_t kFlushAt = 1 << 20;

void address_of(int fd, bool peer, std::string& ip, int& port) {
  sockaddr_storage addr{};
  socklen_t len = sizeof addr;
  int rc = peer ? getpeername(fd, reinterpret_cast<sockaddr*>(&addr), &len)
                : getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
  if (rc != 0) return;
  char text[INET6_ADDRSTRLEN] = {};
  if (addr.ss_family == AF_INET) {
    const auto* a = reinterpret_cast<const sockaddr_in*>(&addr);
    inet_ntop(AF_INET, &a->sin_addr, text, sizeof text);
    port = ntohs(a->sin_port);
  } else if (addr.ss_family == AF_INET6) {
    const auto* a = reinterpret_cast<const sockaddr_in6*>(&addr);
    inet_ntop(AF_INET6, &a->sin6_addr, text, sizeof text);
    port = ntohs(a->sin6_port);
  }
  ip = text;
}

}  // namespace

Connection::Connection(int fd, int stop_fd, std::chrono::milliseconds read_timeout,
                       std::chrono::milliseconds write_timeout)
    : fd_(fd), stop_fd_(stop_fd), read_timeout_(read_timeout), write_timeout_(write_timeout) {}

int Connection::wait(short events, std::chrono::milliseconds timeout) const {
  pollfd fds[2] = {{fd_, events, 0}, {stop_fd_, POLLIN, 0}};
  for (;;) {
    int rc = ::poll(fds, 2, static_cast<int>(timeout.count()));
    if (rc < 0 && errno == EINTR) continue;
    if (rc < 0 || fds[1].revents != 0) return -1;
    // An error or hang-up also counts as ready: the next recv or send reports it.
    return fds[0].revents != 0 ? 1 : 0;
  }
}

bool Connection::is_readable() const { return in_pos_ < in_.size() || wait(POLLIN, read_timeout_) > 0; }

bool Connection::is_writable() const { return !broken_; }

ssize_t Connection::read(char* ptr, size_t size) {
  if (in_pos_ == in_.size()) {
    in_.clear();
    in_pos_ = 0;
    if (wait(POLLIN, read_timeout_) <= 0) return -1;
    char buf[16384];
    ssize_t n;
    do {
      n = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
    } while (n < 0 && errno == EINTR);
    if (n <= 0) return n < 0 ? -1 : 0;
    in_.assign(buf, static_cast<std::size_t>(n));
  }
  std::size_t k = std::min(size, in_.size() - in_pos_);
  std::memcpy(ptr, in_.data() + in_pos_, k);
  in_pos_ += k;
  return static_cast<ssize_t>(k);
}

ssize_t Connection::write(const char* ptr, size_t size) {
  if (broken_) return -1;
  out_.append(ptr, size);
  bool send_now = ending_ == Ending::Stream || (ending_ == Ending::Normal && out_.size() >= kFlushAt);
  if (send_now && !flush()) return -1;
  return static_cast<ssize_t>(size);
}

void Connection::get_remote_ip_and_port(std::string& ip, int& port) const { address_of(fd_, true, ip, port); }

void Connection::get_local_ip_and_port(std::string& ip, int& port) const { address_of(fd_, false, ip, port); }

bool Connection::flush() {
  std::size_t sent = 0;
  while (sent < out_.size() && !broken_) {
    if (wait(POLLOUT, write_timeout_) <= 0) {
      broken_ = true;
      break;
    }
    ssize_t n = ::send(fd_, out_.data() + sent, out_.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
      broken_ = true;
    }
  }
  out_.clear();
  return !broken_;
}

bool Connection::next_request(std::chrono::milliseconds idle, const std::atomic<std::size_t>& others_waiting) {
  if (broken_) return false;
  // Waited for in slices, so that a connection left open by a client cannot keep a newcomer
  // waiting for a thread until the keep-alive time runs out.
  constexpr std::chrono::milliseconds kSlice(50);
  while (in_pos_ == in_.size()) {
    auto slice = std::min(idle, kSlice);
    int ready = wait(POLLIN, slice);
    if (ready < 0) return false;
    if (ready > 0) break;
    idle -= slice;
    if (idle.count() <= 0 || others_waiting.load() > 0) return false;
  }
  serial_ = ++g_serial;
  ending_ = Ending::Normal;
  keep_body_ = 0;
  return true;
}

bool Connection::finish_response() {
  switch (ending_) {
    case Ending::Drop:
      out_.clear();
      return false;
    case Ending::Cut: {
      // Find the end of the final headers, stepping over any interim "100 Continue".
      std::size_t start = 0;
      for (;;) {
        auto end = out_.find("\r\n\r\n", start);
        if (end == std::string::npos) break;
        if (out_.compare(start, 10, "HTTP/1.1 1") == 0) {
          start = end + 4;
          continue;
        }
        out_.resize(std::min(out_.size(), end + 4 + keep_body_));
        break;
      }
      flush();
      return false;
    }
    case Ending::Stream:
      flush();
      return false;
    case Ending::Normal:
      break;
  }
  return flush();
}

Connection* Connection::current() { return tl_current; }

Connection::Serving::Serving(Connection& c) { tl_current = &c; }

Connection::Serving::~Serving() { tl_current = nullptr; }

}  // namespace lumadex::site
