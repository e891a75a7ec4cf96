// One client connection, read and written through buffers of its own.
//
// httplib writes a response as soon as the handler returns; the site must sometimes send
// nothing at all, or only part of a body, and then hang up. Holding each response until
// the request is done lets the handler decide that, and also sends each response in one
// piece instead of a header write and a body write.
#pragma once

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

namespace lumadex::site {

class Connection final : public httplib::Stream {
 public:
  // `stop_fd` becomes readable when the server shuts down; every wait gives up then.
  Connection(int fd, int stop_fd, std::chrono::milliseconds read_timeout, std::chrono::milliseconds write_timeout);

  bool is_readable() const override;
  bool is_writable() const override;
  ssize_t read(char* ptr, size_t size) override;
  ssize_t write(const char* ptr, size_t size) override;
  void get_remote_ip_and_port(std::string& ip, int& port) const override;
  void get_local_ip_and_port(std::string& ip, int& port) const override;
  socket_t socket() const override { return fd_; }

  // Waits up to `idle` for the next request to start arriving; false if none does, the
  // client leaves, the server stops, or `others_waiting` counts connections that wait for
  // a thread (an idle connection gives its thread up to them). Each request gets a serial
  // number of its own, unique in the process.
  bool next_request(std::chrono::milliseconds idle, const std::atomic<std::size_t>& others_waiting);
  std::uint64_t serial() const { return serial_; }

  // Said by a handler about the response it is writing: send none of it, or only the
  // headers and the first `body_bytes` of the body. Either way the connection then closes.
  void drop_response() { ending_ = Ending::Drop; }
  void cut_body(std::size_t body_bytes) {
    ending_ = Ending::Cut;
    keep_body_ = body_bytes;
  }
  // Or: send every write at once, for a body that is made while it goes out; the
  // connection closes after it.
  void stream_response() { ending_ = Ending::Stream; }

  // Sends what the request produced; whether the connection can carry another request.
  bool finish_response();

  // The connection the calling thread is serving (handlers run on their connection's thread).
  static Connection* current();

  class Serving {
   public:
    explicit Serving(Connection& c);
    ~Serving();
    Serving(const Serving&) = delete;
    Serving& operator=(const Serving&) = delete;
  };

 private:
  enum class Ending { Normal, Drop, Cut, Stream };

  // 1 when fd_ is ready for `events`, 0 on timeout, -1 when the server is stopping.
  int wait(short events, std::chrono::milliseconds timeout) const;
  bool flush();

  int fd_;
  int stop_fd_;
  std::chrono::milliseconds read_timeout_;
  std::chrono::milliseconds write_timeout_;
  std::string in_;
  std::size_t in_pos_ = 0;
  std::string out_;
  bool broken_ = false;
  Ending ending_ = Ending::Normal;
  std::size_t keep_body_ = 0;
  std::uint64_t serial_ = 0;
};

}  // namespace lumadex::site
