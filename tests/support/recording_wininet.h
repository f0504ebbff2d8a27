// A recording stand-in for the HTTP platform: it notes every call with copies of
// its arguments, hands out distinct handles, tracks which were closed, and
// answers each request with a scripted response.
//
//   RecordingWinInet fake;
//   wininet::ScopedWinInet use(fake);
//   fake.RespondTo("/wxcheck?", ScriptedResponse::WithBody("域名正常"));
//   ... code under test ...
//   EXPECT_EQ(fake.exchanges().at(0).headers, "Accept: */*\r\n...");
//   EXPECT_TRUE(fake.OpenHandles().empty());
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "http/platform/wininet.h"
#include "text/text.h"

namespace kelvorat::fakes {

// What the server side does for one request.
struct ScriptedResponse {
  Bytes body;
  // The raw header block as the platform reports it (status line, header
  // lines, closing empty line); the query adds the terminating zero byte.
  std::string rawHeaders = "HTTP/1.1 200 OK\r\n\r\n";
  // Largest piece one read hands out; 0 means as much as the caller asks for.
  wininet::DWORD maxPiece = 0;
  bool refuseRequest = false;     // HttpOpenRequestA returns null
  bool sendFails = false;         // the send fails; reads and the header query fail too
  bool headerQueryFails = false;  // the header query fails even when the buffer is large enough
  bool cutOff = false;            // the connection breaks after the body: the last read fails

  static ScriptedResponse WithBody(std::string_view body,
                                   std::string rawHeaders = "HTTP/1.1 200 OK\r\n\r\n") {
    ScriptedResponse response;
    response.body.assign(body.begin(), body.end());
    response.rawHeaders = std::move(rawHeaders);
    return response;
  }
};

// Where the fake refuses a request, whatever the response script says.
enum class Refusal { kNone, kSession, kConnection, kRequest };

// Arguments of one InternetSetOptionA call. value holds the 32-bit value at the
// buffer when the length is 4 and the buffer is not null.
struct SetOptionCall {
  wininet::DWORD option = 0;
  wininet::DWORD length = 0;
  std::optional<wininet::DWORD> value;
};

// Arguments of one HttpQueryInfoA call and what came of it.
struct QueryCall {
  wininet::DWORD infoLevel = 0;
  wininet::DWORD bufferLength = 0;  // the length handed in
  bool bufferNull = false;
  bool indexNull = false;
  bool succeeded = false;
};

// Everything one request carried, gathered from its calls: one per
// InternetOpenA, filled in by the calls on that session and its children.
// A null string argument is std::nullopt; a string argument is copied.
struct Exchange {
  // InternetOpenA
  std::optional<std::string> agent;
  wininet::DWORD accessType = 0;
  std::optional<std::string> proxy;
  std::optional<std::string> proxyBypass;
  wininet::DWORD openFlags = 0;
  // InternetConnectA
  bool connected = false;
  std::optional<std::string> host;
  wininet::INTERNET_PORT port = 0;
  std::optional<std::string> userName;
  std::optional<std::string> password;
  wininet::DWORD service = 0;
  wininet::DWORD connectFlags = 0;
  std::uintptr_t connectContext = 0;
  // HttpOpenRequestA
  bool requestOpened = false;
  std::optional<std::string> verb;
  std::optional<std::string> path;
  std::optional<std::string> version;
  std::optional<std::string> referrer;
  bool acceptTypesNull = true;
  wininet::DWORD requestFlags = 0;
  std::uintptr_t requestContext = 0;
  // InternetSetOptionA on the request
  std::vector<SetOptionCall> options;
  // HttpSendRequestA (the last one when there were several)
  int sendCount = 0;
  std::optional<std::string> headers;  // headersLength bytes from the pointer
  wininet::DWORD headersLength = 0;
  std::optional<Bytes> body;           // bodyLength bytes from the pointer
  wininet::DWORD bodyLength = 0;
  // InternetReadFile: the size asked for and the count handed back, per call
  std::vector<wininet::DWORD> readSizes;
  std::vector<wininet::DWORD> readCounts;
  // HttpQueryInfoA
  std::vector<QueryCall> queries;
  // The handles handed out (null when refused or not reached)
  wininet::HINTERNET session = nullptr;
  wininet::HINTERNET connection = nullptr;
  wininet::HINTERNET request = nullptr;

  // host ":" port path, e.g. "example.com:80/a?b=1"; what RespondTo matches.
  [[nodiscard]] std::string Target() const;
};

// One call in the order made: the operation's name, the handle it was given
// (null for InternetOpenA) and the handle it returned (opening calls only).
struct CallRecord {
  std::string op;
  wininet::HINTERNET handle = nullptr;
  wininet::HINTERNET result = nullptr;
};

class RecordingWinInet : public wininet::WinInetApi {
 public:
  // ---- Scripting ----------------------------------------------------------
  // The response for requests no queued response or rule covers.
  void SetDefaultResponse(ScriptedResponse response) { default_ = std::move(response); }
  // Served to the next requests in order, ahead of rules and the default.
  void QueueResponse(ScriptedResponse response) { queue_.push_back(std::move(response)); }
  // For a request whose Target() contains targetPart; the rule added first wins.
  void RespondTo(std::string targetPart, ScriptedResponse response) {
    rules_.emplace_back(std::move(targetPart), std::move(response));
  }
  // Refuses the session, connection or request of every following request.
  void SetRefusal(Refusal refusal) { refusal_ = refusal; }

  // ---- What was recorded --------------------------------------------------
  [[nodiscard]] const std::vector<CallRecord>& calls() const { return calls_; }
  // The operation names of calls(), in order.
  [[nodiscard]] std::vector<std::string> CallNames() const;
  [[nodiscard]] const std::vector<Exchange>& exchanges() const { return exchanges_; }
  // Target() of every exchange that reached HttpOpenRequestA, in order.
  [[nodiscard]] std::vector<std::string> Targets() const;
  // Handles passed to InternetCloseHandle, in order.
  [[nodiscard]] const std::vector<wininet::HINTERNET>& closed() const { return closed_; }
  // Handles handed out and not closed yet.
  [[nodiscard]] std::vector<wininet::HINTERNET> OpenHandles() const;
  // Calls on unknown or closed handles, double closes and the like.
  [[nodiscard]] const std::vector<std::string>& misuse() const { return misuse_; }
  // Forgets every record (the scripts stay).
  void ClearRecords();

  // ---- The platform operations --------------------------------------------
  wininet::HINTERNET InternetOpenA(const char* agent, wininet::DWORD accessType, const char* proxy,
                                   const char* proxyBypass, wininet::DWORD flags) override;
  wininet::HINTERNET InternetConnectA(wininet::HINTERNET session, const char* serverName,
                                      wininet::INTERNET_PORT serverPort, const char* userName,
                                      const char* password, wininet::DWORD service,
                                      wininet::DWORD flags, std::uintptr_t context) override;
  wininet::HINTERNET HttpOpenRequestA(wininet::HINTERNET connection, const char* verb,
                                      const char* objectName, const char* version,
                                      const char* referrer, const char** acceptTypes,
                                      wininet::DWORD flags, std::uintptr_t context) override;
  bool InternetSetOptionA(wininet::HINTERNET handle, wininet::DWORD option, void* buffer,
                          wininet::DWORD bufferLength) override;
  bool HttpSendRequestA(wininet::HINTERNET request, const char* headers,
                        wininet::DWORD headersLength, void* optional,
                        wininet::DWORD optionalLength) override;
  bool InternetReadFile(wininet::HINTERNET file, void* buffer, wininet::DWORD bytesToRead,
                        wininet::DWORD* bytesRead) override;
  bool HttpQueryInfoA(wininet::HINTERNET request, wininet::DWORD infoLevel, void* buffer,
                      wininet::DWORD* bufferLength, wininet::DWORD* index) override;
  bool InternetCloseHandle(wininet::HINTERNET handle) override;

 private:
  enum class Kind { kSession, kConnection, kRequest };
  struct HandleState {
    wininet::HINTERNET handle = nullptr;
    Kind kind = Kind::kSession;
    std::size_t exchange = 0;
    bool closed = false;
  };
  // Per request handle: its response and how far the body has been read.
  struct Serving {
    std::size_t exchange = 0;
    ScriptedResponse response;
    std::size_t offset = 0;
    bool sent = false;
  };

  wininet::HINTERNET NewHandle(Kind kind, std::size_t exchange);
  // The live handle of that kind, or null after noting the misuse.
  HandleState* Live(wininet::HINTERNET handle, Kind kind, const char* op);
  Serving* ServingFor(wininet::HINTERNET request);
  ScriptedResponse ResponseFor(const Exchange& exchange);
  void Record(const char* op, wininet::HINTERNET handle, wininet::HINTERNET result = nullptr);

  ScriptedResponse default_;
  std::deque<ScriptedResponse> queue_;
  std::vector<std::pair<std::string, ScriptedResponse>> rules_;
  Refusal refusal_ = Refusal::kNone;

  std::vector<CallRecord> calls_;
  std::vector<Exchange> exchanges_;
  std::vector<wininet::HINTERNET> closed_;
  std::vector<std::string> misuse_;
  std::vector<HandleState> handles_;
  std::vector<std::pair<wininet::HINTERNET, Serving>> serving_;
  std::uintptr_t nextHandle_ = 0x1000;
};

}  // namespace kelvorat::fakes
