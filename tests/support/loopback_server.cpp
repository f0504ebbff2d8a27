// Starting, reading and ending the loopback servers of tools/.
#include "support/loopback_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace kelvorat::testing {
namespace {

// Reads the first line the child prints, waiting at most until the deadline.
std::string ReadFirstLine(int fd, std::chrono::steady_clock::time_point deadline) {
  std::string line;
  while (line.find('\n') == std::string::npos) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[64];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    line.append(buffer, static_cast<std::size_t>(n));
  }
  return line.substr(0, line.find('\n'));
}

}  // namespace

LoopbackServer::LoopbackServer(std::string_view script, std::vector<std::string> args) {
  char folderTemplate[] = "/tmp/kelvorat-loopback-XXXXXX";
  if (mkdtemp(folderTemplate) == nullptr) return;
  folder_ = folderTemplate;
  logPath_ = folder_ + "/requests.log";

  std::vector<std::string> words = {"python3", std::string(KELVORAT_TOOLS_DIR) + "/" + std::string(script),
                                    "--log", logPath_};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // never outlive a crashed test
    dup2(out[1], STDOUT_FILENO);
    int null = open("/dev/null", O_RDONLY);
    if (null >= 0) dup2(null, STDIN_FILENO);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  if (pid_ > 0) {
    std::string line = ReadFirstLine(out[0], std::chrono::steady_clock::now() + std::chrono::seconds(30));
    // A bare port, or a line ending in ":<port>".
    const std::size_t colon = line.rfind(':');
    int port = std::atoi(line.c_str() + (colon == std::string::npos ? 0 : colon + 1));
    if (port > 0 && port < 65536) port_ = static_cast<std::uint16_t>(port);
  }
  close(out[0]);
}

LoopbackServer::~LoopbackServer() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100 && waitpid(pid_, &status, WNOHANG) == 0; ++i) usleep(20000);
    if (waitpid(pid_, &status, WNOHANG) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
  }
  if (!folder_.empty()) {
    std::remove(logPath_.c_str());
    rmdir(folder_.c_str());
  }
}

std::string LoopbackServer::Url(std::string_view path, bool secure) const {
  return std::string(secure ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) +
         std::string(path);
}

std::vector<std::string> LoopbackServer::Requests() const {
  std::ifstream file(logPath_, std::ios::binary);
  std::string log((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::vector<std::string> requests;
  std::size_t at = 0;
  while (at < log.size()) {
    std::size_t lineEnd = log.find('\n', at);
    if (lineEnd == std::string::npos || log.compare(at, 8, "REQUEST ") != 0) break;
    std::size_t length = std::strtoul(log.c_str() + at + 8, nullptr, 10);
    if (lineEnd + 1 + length > log.size()) break;
    requests.push_back(log.substr(lineEnd + 1, length));
    at = lineEnd + 1 + length + 1;
  }
  return requests;
}

}  // namespace kelvorat::testing
