#include "support/tcp_relay_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace lumadex::test {

struct TcpRelay::State {
  sockaddr_in target{};
  SOCKET listener = INVALID_SOCKET;
  unsigned short port = 0;
  std::atomic<bool> dead{false};
  std::mutex mutex;
  std::vector<std::thread> carriers;
  std::thread acceptor;
};

namespace {

// A reset rather than an orderly close: what the peer of a process that died sees.
void Reset(SOCKET s) {
  const linger abort{1, 0};
  setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
  closesocket(s);
}

void Carry(const std::shared_ptr<TcpRelay::State>& state, SOCKET client, SOCKET server) {
  char buffer[65536];
  bool open = true;
  while (open && !state->dead) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(client, &ready);
    FD_SET(server, &ready);
    timeval wait{0, 20 * 1000};
    if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
    for (auto [from, to] : {std::pair{client, server}, std::pair{server, client}}) {
      if (!open || !FD_ISSET(from, &ready)) continue;
      const int got = recv(from, buffer, sizeof buffer, 0);
      if (got <= 0) {
        open = false;
        break;
      }
      for (int sent = 0; sent < got;) {
        const int n = send(to, buffer + sent, got - sent, 0);
        if (n <= 0) {
          open = false;
          break;
        }
        sent += n;
      }
    }
  }
  if (state->dead) {
    Reset(client);
    Reset(server);
  } else {
    shutdown(client, SD_SEND);
    closesocket(client);
    closesocket(server);
  }
}

void Accept(const std::shared_ptr<TcpRelay::State>& state) {
  while (!state->dead) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(state->listener, &ready);
    timeval wait{0, 20 * 1000};
    if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
    const SOCKET client = accept(state->listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    const SOCKET server = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (server == INVALID_SOCKET ||
        connect(server, reinterpret_cast<const sockaddr*>(&state->target), sizeof state->target) != 0) {
      if (server != INVALID_SOCKET) closesocket(server);
      Reset(client);
      continue;
    }
    std::lock_guard lock(state->mutex);
    state->carriers.emplace_back([state, client, server] { Carry(state, client, server); });
  }
}

}  // namespace

TcpRelay::TcpRelay(const std::string& target) : state_(std::make_shared<State>()) {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) throw std::runtime_error("WSAStartup failed");
  const size_t colon = target.rfind(':');
  state_->target.sin_family = AF_INET;
  state_->target.sin_port = htons(static_cast<u_short>(std::stoi(target.substr(colon + 1))));
  if (target.substr(0, colon) != "127.0.0.1") throw std::runtime_error("the relay passes on to 127.0.0.1 only");
  state_->target.sin_addr.s_addr = htonl(INADDR_LOOPBACK);

  state_->listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof address;
  if (state_->listener == INVALID_SOCKET ||
      bind(state_->listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(state_->listener, 64) != 0 ||
      getsockname(state_->listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (state_->listener != INVALID_SOCKET) closesocket(state_->listener);
    WSACleanup();
    throw std::runtime_error("cannot listen on a loopback port");
  }
  state_->port = ntohs(address.sin_port);
  state_->acceptor = std::thread([state = state_] { Accept(state); });
}

TcpRelay::~TcpRelay() {
  Kill();
  WSACleanup();
}

std::wstring TcpRelay::Host() const { return L"127.0.0.1:" + std::to_wstring(state_->port); }

void TcpRelay::Kill() {
  if (state_->dead.exchange(true)) return;
  state_->acceptor.join();
  // Connections accepted by the system but not yet taken are reset with the listener.
  Reset(state_->listener);
  std::vector<std::thread> carriers;
  {
    std::lock_guard lock(state_->mutex);
    carriers.swap(state_->carriers);
  }
  for (std::thread& carrier : carriers) carrier.join();
}

}  // namespace lumadex::test
