// The recording stand-in for the HTTP platform.
#include "support/recording_wininet.h"

#include <algorithm>
#include <cstring>

namespace kelvorat::fakes {

using wininet::DWORD;
using wininet::HINTERNET;

namespace {

std::optional<std::string> Copy(const char* text) {
  if (text == nullptr) return std::nullopt;
  return std::string(text);
}

}  // namespace

std::string Exchange::Target() const {
  return host.value_or("") + ":" + std::to_string(port) + path.value_or("");
}

std::vector<std::string> RecordingWinInet::CallNames() const {
  std::vector<std::string> names;
  names.reserve(calls_.size());
  for (const CallRecord& call : calls_) names.push_back(call.op);
  return names;
}

std::vector<std::string> RecordingWinInet::Targets() const {
  std::vector<std::string> targets;
  for (const Exchange& exchange : exchanges_) {
    if (exchange.requestOpened) targets.push_back(exchange.Target());
  }
  return targets;
}

std::vector<HINTERNET> RecordingWinInet::OpenHandles() const {
  std::vector<HINTERNET> open;
  for (const HandleState& state : handles_) {
    if (!state.closed) open.push_back(state.handle);
  }
  return open;
}

void RecordingWinInet::ClearRecords() {
  calls_.clear();
  exchanges_.clear();
  closed_.clear();
  misuse_.clear();
  handles_.clear();
  serving_.clear();
}

HINTERNET RecordingWinInet::NewHandle(Kind kind, std::size_t exchange) {
  nextHandle_ += 0x10;
  auto handle = reinterpret_cast<HINTERNET>(nextHandle_);
  handles_.push_back({handle, kind, exchange, false});
  return handle;
}

RecordingWinInet::HandleState* RecordingWinInet::Live(HINTERNET handle, Kind kind, const char* op) {
  for (HandleState& state : handles_) {
    if (state.handle != handle) continue;
    if (state.closed) {
      misuse_.push_back(std::string(op) + " on a closed handle");
      return nullptr;
    }
    if (state.kind != kind) {
      misuse_.push_back(std::string(op) + " on a handle of the wrong kind");
      return nullptr;
    }
    return &state;
  }
  misuse_.push_back(std::string(op) + " on an unknown handle");
  return nullptr;
}

RecordingWinInet::Serving* RecordingWinInet::ServingFor(HINTERNET request) {
  for (auto& [handle, serving] : serving_) {
    if (handle == request) return &serving;
  }
  return nullptr;
}

ScriptedResponse RecordingWinInet::ResponseFor(const Exchange& exchange) {
  if (!queue_.empty()) {
    ScriptedResponse response = std::move(queue_.front());
    queue_.pop_front();
    return response;
  }
  const std::string target = exchange.Target();
  for (const auto& [part, response] : rules_) {
    if (target.find(part) != std::string::npos) return response;
  }
  return default_;
}

void RecordingWinInet::Record(const char* op, HINTERNET handle, HINTERNET result) {
  calls_.push_back({op, handle, result});
}

HINTERNET RecordingWinInet::InternetOpenA(const char* agent, DWORD accessType, const char* proxy,
                                          const char* proxyBypass, DWORD flags) {
  Exchange exchange;
  exchange.agent = Copy(agent);
  exchange.accessType = accessType;
  exchange.proxy = Copy(proxy);
  exchange.proxyBypass = Copy(proxyBypass);
  exchange.openFlags = flags;
  exchanges_.push_back(std::move(exchange));
  HINTERNET session = nullptr;
  if (refusal_ != Refusal::kSession) {
    session = NewHandle(Kind::kSession, exchanges_.size() - 1);
    exchanges_.back().session = session;
  }
  Record("InternetOpenA", nullptr, session);
  return session;
}

HINTERNET RecordingWinInet::InternetConnectA(HINTERNET session, const char* serverName,
                                             wininet::INTERNET_PORT serverPort,
                                             const char* userName, const char* password,
                                             DWORD service, DWORD flags, std::uintptr_t context) {
  HandleState* state = Live(session, Kind::kSession, "InternetConnectA");
  HINTERNET connection = nullptr;
  if (state != nullptr) {
    Exchange& exchange = exchanges_[state->exchange];
    exchange.connected = true;
    exchange.host = Copy(serverName);
    exchange.port = serverPort;
    exchange.userName = Copy(userName);
    exchange.password = Copy(password);
    exchange.service = service;
    exchange.connectFlags = flags;
    exchange.connectContext = context;
    if (refusal_ != Refusal::kConnection) {
      const std::size_t index = state->exchange;
      connection = NewHandle(Kind::kConnection, index);  // invalidates state
      exchanges_[index].connection = connection;
    }
  }
  Record("InternetConnectA", session, connection);
  return connection;
}

HINTERNET RecordingWinInet::HttpOpenRequestA(HINTERNET connection, const char* verb,
                                             const char* objectName, const char* version,
                                             const char* referrer, const char** acceptTypes,
                                             DWORD flags, std::uintptr_t context) {
  HandleState* state = Live(connection, Kind::kConnection, "HttpOpenRequestA");
  HINTERNET request = nullptr;
  if (state != nullptr) {
    const std::size_t index = state->exchange;
    Exchange& exchange = exchanges_[index];
    exchange.requestOpened = true;
    exchange.verb = Copy(verb);
    exchange.path = Copy(objectName);
    exchange.version = Copy(version);
    exchange.referrer = Copy(referrer);
    exchange.acceptTypesNull = acceptTypes == nullptr;
    exchange.requestFlags = flags;
    exchange.requestContext = context;
    ScriptedResponse response = ResponseFor(exchange);
    if (refusal_ != Refusal::kRequest && !response.refuseRequest) {
      request = NewHandle(Kind::kRequest, index);
      exchanges_[index].request = request;
      serving_.emplace_back(request, Serving{index, std::move(response), 0, false});
    }
  }
  Record("HttpOpenRequestA", connection, request);
  return request;
}

bool RecordingWinInet::InternetSetOptionA(HINTERNET handle, DWORD option, void* buffer,
                                          DWORD bufferLength) {
  Record("InternetSetOptionA", handle);
  HandleState* state = Live(handle, Kind::kRequest, "InternetSetOptionA");
  if (state == nullptr) return false;
  SetOptionCall call{option, bufferLength, std::nullopt};
  if (buffer != nullptr && bufferLength == sizeof(DWORD)) {
    DWORD value = 0;
    std::memcpy(&value, buffer, sizeof value);
    call.value = value;
  }
  exchanges_[state->exchange].options.push_back(call);
  return true;
}

bool RecordingWinInet::HttpSendRequestA(HINTERNET request, const char* headers,
                                        DWORD headersLength, void* optional,
                                        DWORD optionalLength) {
  Record("HttpSendRequestA", request);
  if (Live(request, Kind::kRequest, "HttpSendRequestA") == nullptr) return false;
  Serving* serving = ServingFor(request);
  Exchange& exchange = exchanges_[serving->exchange];
  ++exchange.sendCount;
  exchange.headers =
      headers == nullptr ? std::nullopt : std::optional<std::string>(std::string(headers, headersLength));
  exchange.headersLength = headersLength;
  if (optional == nullptr) {
    exchange.body = std::nullopt;
  } else {
    const auto* bytes = static_cast<const std::uint8_t*>(optional);
    exchange.body = Bytes(bytes, bytes + optionalLength);
  }
  exchange.bodyLength = optionalLength;
  if (serving->response.sendFails) return false;
  serving->sent = true;
  return true;
}

bool RecordingWinInet::InternetReadFile(HINTERNET file, void* buffer, DWORD bytesToRead,
                                        DWORD* bytesRead) {
  Record("InternetReadFile", file);
  if (bytesRead != nullptr) *bytesRead = 0;  // as the platform does before anything else
  if (Live(file, Kind::kRequest, "InternetReadFile") == nullptr) return false;
  Serving* serving = ServingFor(file);
  Exchange& exchange = exchanges_[serving->exchange];
  exchange.readSizes.push_back(bytesToRead);
  if (!serving->sent || bytesRead == nullptr) {
    exchange.readCounts.push_back(0);
    return false;
  }
  const Bytes& body = serving->response.body;
  std::size_t count = std::min<std::size_t>(bytesToRead, body.size() - serving->offset);
  if (serving->response.maxPiece != 0) count = std::min<std::size_t>(count, serving->response.maxPiece);
  if (count != 0) std::memcpy(buffer, body.data() + serving->offset, count);
  serving->offset += count;
  *bytesRead = static_cast<DWORD>(count);
  exchange.readCounts.push_back(*bytesRead);
  return count != 0 || !serving->response.cutOff;
}

bool RecordingWinInet::HttpQueryInfoA(HINTERNET request, DWORD infoLevel, void* buffer,
                                      DWORD* bufferLength, DWORD* index) {
  Record("HttpQueryInfoA", request);
  if (Live(request, Kind::kRequest, "HttpQueryInfoA") == nullptr) return false;
  Serving* serving = ServingFor(request);
  QueryCall call{infoLevel, bufferLength != nullptr ? *bufferLength : 0, buffer == nullptr,
                 index == nullptr, false};
  const std::string& raw = serving->response.rawHeaders;
  const bool answerable = serving->sent && !serving->response.headerQueryFails &&
                          infoLevel == wininet::HTTP_QUERY_RAW_HEADERS_CRLF &&
                          bufferLength != nullptr;
  if (answerable) {
    const auto needed = static_cast<DWORD>(raw.size() + 1);
    if (buffer == nullptr || *bufferLength < needed) {
      *bufferLength = needed;  // what a second try would need; the buffer is not touched
    } else {
      std::memcpy(buffer, raw.c_str(), needed);
      *bufferLength = static_cast<DWORD>(raw.size());
      call.succeeded = true;
    }
  }
  exchanges_[serving->exchange].queries.push_back(call);
  return call.succeeded;
}

bool RecordingWinInet::InternetCloseHandle(HINTERNET handle) {
  Record("InternetCloseHandle", handle);
  closed_.push_back(handle);
  for (HandleState& state : handles_) {
    if (state.handle != handle) continue;
    if (state.closed) {
      misuse_.push_back("InternetCloseHandle on a closed handle");
      return false;
    }
    state.closed = true;
    return true;
  }
  misuse_.push_back("InternetCloseHandle on an unknown handle");
  return false;
}

}  // namespace kelvorat::fakes
