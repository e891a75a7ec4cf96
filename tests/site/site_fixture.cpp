#include "site_fixture.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <stdexcept>
#include <thread>

#include "catalog_parser.h"
#include "form_encoding.h"

namespace lumadex::site::testing {

LiveSite::LiveSite(std::string_view config) {
  // httplib's client writes without MSG_NOSIGNAL; a test poking at closed connections
  // must not die of SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  auto parsed = parse_catalog(config);
  if (!parsed.catalog) throw std::runtime_error("bad test config: " + parsed.error);
  server_ = std::make_unique<SiteServer>(std::move(*parsed.catalog));
  std::string error;
  if (!server_->start("127.0.0.1", 0, error)) throw std::runtime_error(error);
}

httplib::Client LiveSite::client() const {
  httplib::Client c("127.0.0.1", port());
  c.set_connection_timeout(5);
  c.set_read_timeout(20);
  return c;
}

std::string LiveSite::sign_in(const std::string& form) {
  auto res = client().Post("/Login.do", form, "application/x-www-form-urlencoded");
  if (!res) throw std::runtime_error("sign-in request failed");
  auto cookie = res->get_header_value("Set-Cookie");
  return cookie.substr(0, cookie.find(';'));
}

httplib::Result LiveSite::get(const std::string& target, const std::string& cookie) const {
  httplib::Headers headers;
  if (!cookie.empty()) headers.emplace("Cookie", cookie);
  return client().Get(target.c_str(), headers);
}

void LiveSite::configure(std::string_view text) {
  auto res = client().Post("/_ctl/config", std::string(text), "text/plain");
  if (!res || res->status != 200) throw std::runtime_error("config refused: " + (res ? res->body : "no answer"));
}

std::vector<std::string> LiveSite::log_lines() const {
  auto res = client().Get("/_ctl/log");
  if (!res) throw std::runtime_error("cannot read the request log");
  std::vector<std::string> lines;
  std::string_view text = res->body;
  while (!text.empty()) {
    auto nl = text.find('\n');
    lines.emplace_back(text.substr(0, nl));
    text = nl == std::string_view::npos ? "" : text.substr(nl + 1);
  }
  return lines;
}

bool LiveSite::wait_for_log(const std::string& prefix, std::size_t times) const {
  for (int i = 0; i < 200; ++i) {
    std::size_t seen = 0;
    for (const auto& line : log_lines()) seen += line.rfind(prefix, 0) == 0;
    if (seen >= times) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

std::vector<Entry> album_entries(std::string_view html) {
  std::vector<Entry> entries;
  for (auto pos = html.find("photoPan"); pos != std::string_view::npos;) {
    auto next = html.find("photoPan", pos + 1);
    auto chunk = html.substr(pos, next == std::string_view::npos ? std::string_view::npos : next - pos);
    Entry e;
    if (auto a = chunk.find("<a href=\""); a != std::string_view::npos) {
      auto start = a + 9;
      auto end = chunk.find("\">", start);
      e.has_link = end != std::string_view::npos;
      e.link = std::string(chunk.substr(start, end - start));
      auto query = split_form(query_of(e.link));
      if (auto id = form_value(query, "id")) e.photo_id = std::stoll(*id);
    }
    entries.push_back(e);
    pos = next;
  }
  return entries;
}

std::size_t occurrences(std::string_view text, std::string_view needle) {
  std::size_t n = 0;
  for (auto pos = text.find(needle); pos != std::string_view::npos; pos = text.find(needle, pos + needle.size())) ++n;
  return n;
}

int connect_to(int port) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string raw_exchange(int port, const std::string& request, int timeout_ms, std::size_t most) {
  int fd = connect_to(port);
  std::string received;
  if (fd >= 0 && ::send(fd, request.data(), request.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(request.size())) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    while (received.size() < most) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd p{fd, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
      char buf[8192];
      ssize_t n = ::recv(fd, buf, sizeof buf, 0);
      if (n <= 0) break;
      received.append(buf, static_cast<std::size_t>(n));
    }
  }
  if (fd >= 0) ::close(fd);
  return received;
}

std::int64_t site_stat(const LiveSite& site, const std::string& name) {
  auto res = site.client().Get("/_ctl/stats");
  if (!res) throw std::runtime_error("cannot read the site's figures");
  auto at = (" " + res->body).find(" " + name + "=");
  if (at == std::string::npos) throw std::runtime_error("no figure " + name + " in: " + res->body);
  return std::stoll(res->body.substr(at + name.size() + 1));
}

std::string percent_encode_all(std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    out += '%';
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

}  // namespace lumadex::site::testing
