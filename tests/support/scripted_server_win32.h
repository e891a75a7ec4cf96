// A small HTTP server on a loopback port, for tests that need answers the demo site does
// not give: redirects, a proxy. Each connection carries one request; the answer is what
// the test's function returns for the request, and the connection is closed after it.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lumadex::test {

class ScriptedServer {
 public:
  // `answer` gets the request's head (request line and headers, up to the empty line) and
  // returns the whole raw answer. It runs on the server's own thread.
  explicit ScriptedServer(std::function<std::string(const std::string& head)> answer);
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;
  ~ScriptedServer();

  unsigned short port() const;
  // The heads of the requests received so far, in order.
  std::vector<std::string> heads() const;

  struct State;  // shared with the server's thread

 private:
  std::shared_ptr<State> state_;
};

// A plain answer with the given status line, extra header lines and body.
std::string HttpAnswer(const std::string& statusLine, const std::string& headerLines, const std::string& body);

}  // namespace lumadex::test
