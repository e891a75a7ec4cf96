#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include "command_line.h"
#include "loopback.h"
#include "site_server.h"

namespace lumadex::site {
namespace {

TEST(Loopback, OnlyTheMachineItselfCounts) {
  for (const char* host : {"127.0.0.1", "127.255.3.4", "::1", "[::1]", "0:0:0:0:0:0:0:1", "localhost", "LocalHost"}) {
    EXPECT_TRUE(is_loopback_host(host)) << host;
  }
  for (const char* host : {"0.0.0.0", "128.0.0.1", "10.0.0.1", "192.168.1.10", "::", "::ffff:127.0.0.1", "127.1",
                           "127.0.0.1.example.com", "example.com", "", " 127.0.0.1"}) {
    EXPECT_FALSE(is_loopback_host(host)) << host;
  }
}

TEST(CommandLine, TakesItsOptionsInEitherSpelling) {
  auto parsed = parse_command_line({"--port", "8080", "--host=::1", "--config", "c.txt", "--log=l.txt"});
  ASSERT_TRUE(parsed.options) << parsed.error;
  EXPECT_EQ(parsed.options->port, 8080);
  EXPECT_EQ(parsed.options->host, "::1");
  EXPECT_EQ(parsed.options->config_path, "c.txt");
  EXPECT_EQ(parsed.options->log_path, "l.txt");
  EXPECT_EQ(parse_command_line({"--port=0"}).options->host, "127.0.0.1");
  EXPECT_FALSE(parsed.options->small_photos);
  EXPECT_TRUE(parse_command_line({"--port=0", "--small-photos"}).options->small_photos);
  EXPECT_FALSE(parse_command_line({"--port=0", "--small-photos=yes"}).options);
}

TEST(CommandLine, RefusesWhatItCannotServe) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {}, {"--port"}, {"--port", "65536"}, {"--port", "80x"}, {"--port", "80", "--verbose"},
           {"--port", "80", "--host", "0.0.0.0"}, {"--port", "80", "--host", "192.168.0.2"}}) {
    EXPECT_FALSE(parse_command_line(args).options) << ::testing::PrintToString(args);
  }
  EXPECT_NE(parse_command_line({"--port", "80", "--host", "10.0.0.1"}).error.find("loopback"), std::string::npos);
}

TEST(CommandLine, ServerItselfRefusesOtherAddresses) {
  SiteServer server{Catalog{}};
  std::string error;
  EXPECT_FALSE(server.start("0.0.0.0", 0, error));
  EXPECT_NE(error.find("loopback"), std::string::npos);
}

// Runs the real program under timeout(1), in case it wrongly starts serving; returns
// its exit code and what it wrote to stderr.
std::pair<int, std::string> run_site(const std::string& args) {
  std::string command = std::string("timeout 20 ") + LUMADEX_SITE_EXE + " " + args + " 2>&1 >/dev/null";
  FILE* out = popen(command.c_str(), "r");
  std::string text;
  char buf[512];
  while (out && fgets(buf, sizeof buf, out)) text += buf;
  int status = out ? pclose(out) : -1;
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

TEST(CommandLine, ProgramExitsWith2ForANonLoopbackHost) {
  for (const char* host : {"0.0.0.0", "192.168.1.10", "example.com"}) {
    auto [code, stderr_text] = run_site(std::string("--port 0 --host ") + host);
    EXPECT_EQ(code, 2) << host;
    EXPECT_NE(stderr_text.find("loopback"), std::string::npos) << stderr_text;
  }
}

TEST(CommandLine, ProgramExitsWith1WhenThePortIsTaken) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(listen(fd, 1), 0);
  socklen_t len = sizeof addr;
  getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);

  auto [code, stderr_text] = run_site("--port " + std::to_string(ntohs(addr.sin_port)));
  close(fd);
  EXPECT_EQ(code, 1);
  EXPECT_NE(stderr_text.find("cannot listen"), std::string::npos) << stderr_text;
}

}  // namespace
}  // namespace lumadex::site
