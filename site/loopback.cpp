#include "loopback.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <strings.h>

namespace lumadex::site {
namespace {

std::string unbracketed(std::string_view host) {
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
  return std::string(host);
}

}  // namespace

bool is_loopback_host(std::string_view host) {
  std::string h = unbracketed(host);
  if (strcasecmp(h.c_str(), "localhost") == 0) return true;
  in_addr v4{};
  if (inet_pton(AF_INET, h.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
  in6_addr v6{};
  if (inet_pton(AF_INET6, h.c_str(), &v6) == 1) return IN6_IS_ADDR_LOOPBACK(&v6);
  return false;
}

std::string bind_address_for(std::string_view host) {
  std::string h = unbracketed(host);
  return strcasecmp(h.c_str(), "localhost") == 0 ? "127.0.0.1" : h;
}

std::string url_host_for(std::string_view bind_address) {
  std::string h(bind_address);
  return h.find(':') != std::string::npos ? "[" + h + "]" : h;
}

}  // namespace lumadex::site
