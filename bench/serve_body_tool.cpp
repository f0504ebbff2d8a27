// Loopback HTTP server for the fetch benchmark: answers every request with
// one body of the given size (default 64 MiB) held in memory, then closes.
// Prints its port on the first line. Usage: serve_body_tool [bytes]
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

bool SendAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = send(fd, data, size, MSG_NOSIGNAL);
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

void Serve(int fd, const std::string* body) {
  std::string head;
  char buffer[4096];
  while (head.find("\r\n\r\n") == std::string::npos) {
    ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) {
      close(fd);
      return;
    }
    head.append(buffer, static_cast<std::size_t>(n));
  }
  const std::string answer = "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\n"
                             "Content-Length: " + std::to_string(body->size()) +
                             "\r\nConnection: close\r\n\r\n";
  if (SendAll(fd, answer.data(), answer.size())) SendAll(fd, body->data(), body->size());
  shutdown(fd, SHUT_WR);
  while (recv(fd, buffer, sizeof buffer, 0) > 0) {
  }
  close(fd);
}

}  // namespace

int main(int argc, char** argv) {
  const std::size_t size = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 64u << 20;
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>('a' + i % 26);

  int listener = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, 16) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::perror("serve_body_tool");
    return 1;
  }
  std::printf("%d\n", ntohs(address.sin_port));
  std::fflush(stdout);
  for (;;) {
    int fd = accept(listener, nullptr, nullptr);
    if (fd < 0) continue;
    std::thread(Serve, fd, &body).detach();
  }
}
