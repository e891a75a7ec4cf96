// One client, one keep-alive connection, a bounded number of small sequential requests to
// an in-process demo site on loopback: the rate a downloader walking an album could get.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "demo_catalog.h"
#include "site_server.h"

using namespace lumadex::site;

namespace {

constexpr auto kTimeLimit = std::chrono::seconds(60);

class KeepAliveClient {
 public:
  explicit KeepAliveClient(int port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<std::uint16_t>(port));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int yes = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
      std::perror("connect");
      std::exit(1);
    }
  }
  ~KeepAliveClient() { ::close(fd_); }

  // Sends the request and reads one whole response; the body size, or -1 on any failure.
  long exchange(const std::string& request, int& status, std::string* headers = nullptr) {
    if (::send(fd_, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size())) return -1;
    std::size_t header_end;
    while ((header_end = buffer_.find("\r\n\r\n")) == std::string::npos) {
      if (!fill()) return -1;
    }
    status = std::atoi(buffer_.c_str() + 9);
    if (headers) *headers = buffer_.substr(0, header_end);
    auto at = buffer_.find("Content-Length: ");
    if (at == std::string::npos || at > header_end) return -1;
    std::size_t length = std::strtoul(buffer_.c_str() + at + 16, nullptr, 10);
    while (buffer_.size() < header_end + 4 + length) {
      if (!fill()) return -1;
    }
    buffer_.erase(0, header_end + 4 + length);
    return static_cast<long>(length);
  }

 private:
  bool fill() {
    char chunk[65536];
    ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n <= 0) return false;
    buffer_.append(chunk, static_cast<std::size_t>(n));
    return true;
  }

  int fd_;
  std::string buffer_;
};

// "Cookie: xnsid=...\r\n" for the demo account.
std::string sign_in(int port, const std::string& host) {
  KeepAliveClient client(port);
  std::string form = "email=demo%40example.com&password=demo";
  std::string request = "POST /Login.do HTTP/1.1\r\n" + host +
                        "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: " +
                        std::to_string(form.size()) + "\r\n\r\n" + form;
  int status = 0;
  std::string headers;
  auto at = std::string::npos;
  if (client.exchange(request, status, &headers) >= 0) at = headers.find("xnsid=");
  if (at == std::string::npos) {
    std::fprintf(stderr, "lumadex_site_bench: the demo account could not sign in\n");
    std::exit(1);
  }
  return "Cookie: " + headers.substr(at, headers.find(';', at) - at) + "\r\n";
}

void measure(SiteServer& server, const char* what, const std::string& request, int count) {
  server.state().log.clear();  // each figure starts from the same state
  KeepAliveClient client(server.port());
  int status = 0;
  long bytes = client.exchange(request, status);  // warm-up: renders and caches once
  if (bytes < 0 || status != 200) {
    std::printf("%s: the site did not answer properly (status %d)\n", what, status);
    std::exit(1);
  }
  auto start = std::chrono::steady_clock::now();
  int done = 0;
  for (; done < count && std::chrono::steady_clock::now() - start < kTimeLimit; ++done) {
    if (client.exchange(request, status) != bytes || status != 200) {
      std::printf("%s: request %d failed\n", what, done + 1);
      std::exit(1);
    }
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-28s %6d requests, %6ld bytes each, %7.3f s: %8.0f requests/second\n", what, done, bytes, seconds,
              done / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  int count = argc > 1 ? std::atoi(argv[1]) : 5000;
  if (count < 1 || count > 1'000'000) {
    std::fprintf(stderr, "usage: lumadex_site_bench [requests, 1 to 1000000]\n");
    return 2;
  }
  std::signal(SIGPIPE, SIG_IGN);
  SiteServer server(demo_catalog());
  std::string error;
  if (!server.start("127.0.0.1", 0, error)) {
    std::fprintf(stderr, "lumadex_site_bench: %s\n", error.c_str());
    return 1;
  }
  int port = server.port();
  std::string host = "Host: 127.0.0.1:" + std::to_string(port) + "\r\n";

  std::string cookie = sign_in(port, host);
  measure(server, "photo 1 of album 1001", "GET /photos/1001/1/large.jpg HTTP/1.1\r\n" + host + "\r\n", count);
  measure(server, "album 1001, page 0",
          "GET /getalbum.do?id=1001&owner=222300001 HTTP/1.1\r\n" + host + cookie + "\r\n", count);
  measure(server, "album 1004, page 66",
          "GET /getalbum.do?id=1004&owner=222300001&curpage=66 HTTP/1.1\r\n" + host + cookie + "\r\n", count);
  server.stop();
  return 0;
}
