#include "support/scripted_server_win32.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace lumadex::test {

struct ScriptedServer::State {
  std::function<std::string(const std::string&)> answer;
  SOCKET listener = INVALID_SOCKET;
  unsigned short port = 0;
  std::atomic<bool> stopping{false};
  mutable std::mutex mutex;
  std::vector<std::string> heads;
  std::thread thread;
};

namespace {

// Reads one request: its head, and as much body as Content-Length announces.
std::string ReadHead(SOCKET client) {
  std::string data;
  char buffer[4096];
  size_t headEnd;
  while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
    const int got = recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) return data;
    data.append(buffer, static_cast<size_t>(got));
  }
  std::string head = data.substr(0, headEnd + 2);
  size_t bodyLength = 0;
  for (size_t at = 0; (at = head.find("\r\n", at)) != std::string::npos;) {
    at += 2;
    if (_strnicmp(head.c_str() + at, "Content-Length:", 15) == 0)
      bodyLength = std::strtoul(head.c_str() + at + 15, nullptr, 10);
  }
  size_t have = data.size() - headEnd - 4;
  while (have < bodyLength) {
    const int got = recv(client, buffer, sizeof buffer, 0);
    if (got <= 0) break;
    have += static_cast<size_t>(got);
  }
  return head;
}

void Serve(const std::shared_ptr<ScriptedServer::State>& state) {
  while (!state->stopping) {
    fd_set ready;
    FD_ZERO(&ready);
    FD_SET(state->listener, &ready);
    timeval wait{0, 50 * 1000};
    if (select(0, &ready, nullptr, nullptr, &wait) <= 0) continue;
    const SOCKET client = accept(state->listener, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    const std::string head = ReadHead(client);
    if (!head.empty()) {
      {
        std::lock_guard lock(state->mutex);
        state->heads.push_back(head);
      }
      const std::string answer = state->answer(head);
      for (size_t sent = 0; sent < answer.size();) {
        const int n = send(client, answer.data() + sent, static_cast<int>(answer.size() - sent), 0);
        if (n <= 0) break;
        sent += static_cast<size_t>(n);
      }
    }
    shutdown(client, SD_SEND);
    closesocket(client);
  }
}

}  // namespace

ScriptedServer::ScriptedServer(std::function<std::string(const std::string& head)> answer)
    : state_(std::make_shared<State>()) {
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) throw std::runtime_error("WSAStartup failed");
  state_->answer = std::move(answer);
  state_->listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int size = sizeof address;
  if (state_->listener == INVALID_SOCKET ||
      bind(state_->listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(state_->listener, 8) != 0 ||
      getsockname(state_->listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    if (state_->listener != INVALID_SOCKET) closesocket(state_->listener);
    WSACleanup();
    throw std::runtime_error("cannot listen on a loopback port");
  }
  state_->port = ntohs(address.sin_port);
  state_->thread = std::thread([state = state_] { Serve(state); });
}

ScriptedServer::~ScriptedServer() {
  state_->stopping = true;
  state_->thread.join();
  closesocket(state_->listener);
  WSACleanup();
}

unsigned short ScriptedServer::port() const { return state_->port; }

std::vector<std::string> ScriptedServer::heads() const {
  std::lock_guard lock(state_->mutex);
  return state_->heads;
}

std::string HttpAnswer(const std::string& statusLine, const std::string& headerLines, const std::string& body) {
  return "HTTP/1.1 " + statusLine + "\r\n" + headerLines + "Content-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

}  // namespace lumadex::test
