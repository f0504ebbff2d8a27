#include "http/platform/curl/raw_headers.h"

#include <gtest/gtest.h>

#include <vector>

namespace kelvorat::wininet::curl {
namespace {

RawHeaderCapture Capture(const std::vector<std::string>& lines) {
  RawHeaderCapture capture;
  for (const std::string& line : lines) capture.AddLine(line);
  return capture;
}

TEST(RawHeaderCapture, KeepsTheLastResponseInCrlfLines) {
  struct Row {
    const char* name;
    std::vector<std::string> lines;
    std::string block;
    int status;
    bool complete;
  };
  const Row rows[] = {
      {"one response", {"HTTP/1.1 200 OK\r\n", "A: 1\r\n", "\r\n"}, "HTTP/1.1 200 OK\r\nA: 1\r\n\r\n", 200, true},
      {"LF line ends made CRLF", {"HTTP/1.0 404 Not Found\n", "A: 1\n", "\n"},
       "HTTP/1.0 404 Not Found\r\nA: 1\r\n\r\n", 404, true},
      {"interim response replaced",
       {"HTTP/1.1 100 Continue\r\n", "\r\n", "HTTP/1.1 201 Created\r\n", "B: 2\r\n", "\r\n"},
       "HTTP/1.1 201 Created\r\nB: 2\r\n\r\n", 201, true},
      {"redirect replaced by the final response",
       {"HTTP/1.1 302 Found\r\n", "Location: /x\r\n", "\r\n", "HTTP/1.1 200 OK\r\n", "\r\n"},
       "HTTP/1.1 200 OK\r\n\r\n", 200, true},
      {"trailers after a chunked body left out",
       {"HTTP/1.1 200 OK\r\n", "Transfer-Encoding: chunked\r\n", "\r\n", "X-Trailer: done\r\n", "\r\n"},
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", 200, true},
      {"incomplete", {"HTTP/1.1 200 OK\r\n", "A: 1\r\n"}, "HTTP/1.1 200 OK\r\nA: 1\r\n", 200, false},
      {"zero byte in a value", {"HTTP/1.1 200 OK\r\n", std::string("A: x\0y\r\n", 8), "\r\n"},
       "HTTP/1.1 200 OK\r\nA: x y\r\n\r\n", 200, true},
      {"nothing before a status line", {"A: 1\r\n", "\r\n"}, "", 0, false},
      {"header lines in the platform's form, status line as it came",
       {"HTTP/1.1 200  Fine \r\n", "Set-Cookie:tight=2\r\n", "X-Wide:    c    \r\n", "X-Empty:\r\n",
        " x-lower :v\r\n", "\r\n"},
       "HTTP/1.1 200  Fine \r\nSet-Cookie: tight=2\r\nX-Wide: c\r\nX-Empty: \r\nx-lower: v\r\n\r\n", 200, true},
      {"lines without a colon or a name left out",
       {"HTTP/1.1 200 OK\r\n", "X-Before: 1\r\n", "NoColonLine\r\n", ": nameless\r\n", "X-After: 2\r\n", "\r\n"},
       "HTTP/1.1 200 OK\r\nX-Before: 1\r\nX-After: 2\r\n\r\n", 200, true},
  };
  for (const Row& row : rows) {
    RawHeaderCapture capture = Capture(row.lines);
    EXPECT_EQ(capture.block(), row.block) << row.name;
    EXPECT_EQ(capture.status(), row.status) << row.name;
    EXPECT_EQ(capture.complete(), row.complete) << row.name;
  }
}

TEST(RawHeaderCapture, NoticesOnlyANonEmptyLocation) {
  EXPECT_TRUE(Capture({"HTTP/1.1 302 Found\r\n", "location: /x\r\n", "\r\n"}).hasLocation());
  EXPECT_FALSE(Capture({"HTTP/1.1 302 Found\r\n", "Location: \r\n", "\r\n"}).hasLocation());
  EXPECT_FALSE(Capture({"HTTP/1.1 302 Found\r\n", "Location: /x\r\n", "\r\n", "HTTP/1.1 200 OK\r\n",
                        "\r\n"})
                   .hasLocation());
}

}  // namespace
}  // namespace kelvorat::wininet::curl
