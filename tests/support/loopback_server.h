// Starts one of the loopback servers of tools/ for the life of the object:
// the server picks a free port and reports it, records every raw request it
// receives in a log this object reads back, and is ended in the destructor.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvorat::testing {

class LoopbackServer {
 public:
  // Runs "python3 <tools>/<script> --log <file> <args...>" and waits (up to
  // 30 s) for the port it prints; port() is 0 when it did not start.
  explicit LoopbackServer(std::string_view script, std::vector<std::string> args = {});
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  [[nodiscard]] std::uint16_t port() const { return port_; }
  // "http://127.0.0.1:<port>" (or https) followed by path.
  [[nodiscard]] std::string Url(std::string_view path, bool secure = false) const;
  // The raw requests received so far (request line, headers, body), oldest first.
  [[nodiscard]] std::vector<std::string> Requests() const;

 private:
  pid_t pid_ = -1;
  std::uint16_t port_ = 0;
  std::string folder_;
  std::string logPath_;
};

}  // namespace kelvorat::testing
