// The loopback servers of tools/ for the Windows test programs. Under wine a
// test cannot start the Python servers itself: tools/server_launcher.py runs
// on the Linux side (its port in KELVORAT_LAUNCHER_PORT) and starts, reads and
// ends them on request. pid_ holds the launcher's number for the server.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdlib>
#include <string>

#include "support/loopback_server.h"

namespace kelvorat::testing {
namespace {

// Sends one command line to the launcher and returns its whole answer ("" when
// the launcher cannot be reached).
std::string AskLauncher(const std::string& command) {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  const char* port = std::getenv("KELVORAT_LAUNCHER_PORT");
  if (!started || port == nullptr) return {};
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return {};
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<u_short>(std::atoi(port)));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string answer;
  if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    const std::string line = command + "\n";
    send(s, line.data(), static_cast<int>(line.size()), 0);
    char buffer[65536];
    for (int n; (n = recv(s, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, static_cast<std::size_t>(n));
  }
  closesocket(s);
  return answer;
}

}  // namespace

LoopbackServer::LoopbackServer(std::string_view script, std::vector<std::string> args) {
  std::string command = "START " + std::string(script);
  for (const std::string& arg : args) command += " " + arg;
  const std::string answer = AskLauncher(command);
  const std::size_t space = answer.find(' ');
  if (space == std::string::npos) return;
  pid_ = std::atoi(answer.c_str());
  const int port = std::atoi(answer.c_str() + space + 1);
  if (pid_ > 0 && port > 0 && port < 65536) port_ = static_cast<std::uint16_t>(port);
}

LoopbackServer::~LoopbackServer() {
  if (pid_ > 0) AskLauncher("STOP " + std::to_string(pid_));
}

std::string LoopbackServer::Url(std::string_view path, bool secure) const {
  return std::string(secure ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) +
         std::string(path);
}

std::vector<std::string> LoopbackServer::Requests() const {
  std::vector<std::string> requests;
  if (pid_ <= 0) return requests;
  const std::string answer = AskLauncher("LOG " + std::to_string(pid_));
  const std::size_t header = answer.find('\n');
  if (header == std::string::npos) return requests;
  const std::string log = answer.substr(header + 1);
  std::size_t at = 0;
  while (at < log.size()) {
    const std::size_t lineEnd = log.find('\n', at);
    if (lineEnd == std::string::npos || log.compare(at, 8, "REQUEST ") != 0) break;
    const std::size_t length = std::strtoul(log.c_str() + at + 8, nullptr, 10);
    if (lineEnd + 1 + length > log.size()) break;
    requests.push_back(log.substr(lineEnd + 1, length));
    at = lineEnd + 1 + length + 1;
  }
  return requests;
}

}  // namespace kelvorat::testing
