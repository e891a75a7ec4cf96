// A loopback port that passes every connection on to another address, byte for byte, until it
// is killed: then it answers nothing any more (a connection is refused) and the connections it
// was carrying are reset, as when the program behind a port dies.
#pragma once
#include <memory>
#include <string>

namespace lumadex::test {

class TcpRelay {
 public:
  // `target`: "127.0.0.1:port".
  explicit TcpRelay(const std::string& target);
  TcpRelay(const TcpRelay&) = delete;
  TcpRelay& operator=(const TcpRelay&) = delete;
  ~TcpRelay();

  // "127.0.0.1:port" of the relay itself.
  std::wstring Host() const;
  // Returns once nothing listens on the port any more and every carried connection is reset.
  void Kill();

  struct State;  // shared with the relay's threads

 private:
  std::shared_ptr<State> state_;
};

}  // namespace lumadex::test
