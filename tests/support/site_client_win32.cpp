#include "support/site_client_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <stdexcept>

namespace lumadex::test {
namespace {

class Socket {
 public:
  explicit Socket(SOCKET s) : socket_(s) {}
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket() {
    if (socket_ != INVALID_SOCKET) closesocket(socket_);
  }
  SOCKET get() const { return socket_; }

 private:
  SOCKET socket_;
};

void StartWinsock() {
  static const bool started = [] {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("WSAStartup failed");
    return true;
  }();
  (void)started;
}

struct Reply {
  int status = 0;
  std::string headers;
  std::string body;
};

std::string Lowered(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string Dechunked(const std::string& body) {
  std::string out;
  size_t at = 0;
  for (;;) {
    const size_t lineEnd = body.find("\r\n", at);
    if (lineEnd == std::string::npos) throw std::runtime_error("site: malformed chunked body");
    const size_t size = std::stoul(body.substr(at, lineEnd - at), nullptr, 16);
    if (size == 0) return out;
    if (lineEnd + 2 + size > body.size()) throw std::runtime_error("site: chunked body cut short");
    out.append(body, lineEnd + 2, size);
    at = lineEnd + 2 + size + 2;
  }
}

Reply Exchange(const std::string& method, const std::string& pathAndQuery, const std::string& body) {
  StartWinsock();
  const std::string host = SiteHost();
  const size_t colon = host.rfind(':');
  const std::string name = colon == std::string::npos ? host : host.substr(0, colon);
  const std::string port = colon == std::string::npos ? "80" : host.substr(colon + 1);

  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(name.c_str(), port.c_str(), &hints, &found) != 0 || !found)
    throw std::runtime_error("site: cannot resolve " + host);
  Socket socket(::socket(found->ai_family, found->ai_socktype, found->ai_protocol));
  const int connected = connect(socket.get(), found->ai_addr, static_cast<int>(found->ai_addrlen));
  freeaddrinfo(found);
  if (socket.get() == INVALID_SOCKET || connected != 0)
    throw std::runtime_error("site: nothing answers at " + host + " (is the demo site running?)");
  // A test must fail, not hang, when the site stops answering.
  const DWORD timeoutMs = 20000;
  setsockopt(socket.get(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof(timeoutMs));
  setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof(timeoutMs));

  std::string request = method + " " + pathAndQuery + " HTTP/1.0\r\nHost: " + host + "\r\nConnection: close\r\n";
  if (method == "POST")
    request += "Content-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) + "\r\n";
  request += "\r\n" + body;
  for (size_t sent = 0; sent < request.size();) {
    const int n = send(socket.get(), request.data() + sent, static_cast<int>(request.size() - sent), 0);
    if (n <= 0) throw std::runtime_error("site: send failed");
    sent += static_cast<size_t>(n);
  }
  std::string raw;
  char buffer[16384];
  for (;;) {
    const int n = recv(socket.get(), buffer, sizeof(buffer), 0);
    if (n == 0) break;
    if (n < 0) throw std::runtime_error("site: " + method + " " + pathAndQuery + ": no reply");
    raw.append(buffer, static_cast<size_t>(n));
  }

  const size_t headEnd = raw.find("\r\n\r\n");
  if (raw.compare(0, 5, "HTTP/") != 0 || headEnd == std::string::npos)
    throw std::runtime_error("site: " + method + " " + pathAndQuery + ": not an HTTP reply");
  Reply reply;
  const size_t space = raw.find(' ');
  reply.status = std::atoi(raw.c_str() + space + 1);
  reply.headers = Lowered(raw.substr(0, headEnd));
  reply.body = raw.substr(headEnd + 4);
  if (reply.headers.find("transfer-encoding: chunked") != std::string::npos) reply.body = Dechunked(reply.body);
  return reply;
}

std::string Expect200(const std::string& method, const std::string& pathAndQuery, const std::string& body = {}) {
  Reply reply = Exchange(method, pathAndQuery, body);
  if (reply.status != 200)
    throw std::runtime_error("site: " + method + " " + pathAndQuery + " answered " + std::to_string(reply.status) +
                             ": " + reply.body);
  return std::move(reply.body);
}

}  // namespace

std::string SiteHost() {
  const char* host = std::getenv("LUMADEX_TEST_SITE");
  return host && *host ? host : "127.0.0.1:18080";
}

std::wstring SiteUrl(const std::string& pathAndQuery) {
  const std::string url = "http://" + SiteHost() + pathAndQuery;
  return std::wstring(url.begin(), url.end());  // addresses are ASCII
}

void SiteConfigure(const std::string& configText) { Expect200("POST", "/_ctl/config", configText); }

void SiteResetLog() { Expect200("POST", "/_ctl/reset"); }

void SiteForgetSessions() { Expect200("POST", "/_ctl/forget-sessions"); }

std::vector<std::string> SiteLog() {
  const std::string text = Expect200("GET", "/_ctl/log");
  std::vector<std::string> lines;
  size_t at = 0;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(at, end - at);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) lines.push_back(std::move(line));
    at = end + 1;
  }
  return lines;
}

std::string SitePhotoBytes(int album, int n) {
  return Expect200("GET", "/_ctl/photo?album=" + std::to_string(album) + "&n=" + std::to_string(n));
}

std::string SiteGet(const std::string& pathAndQuery) { return Exchange("GET", pathAndQuery, {}).body; }

}  // namespace lumadex::test

