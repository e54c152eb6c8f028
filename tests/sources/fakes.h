// SPDX-License-Identifier: MIT
// Scripted stand-ins for the platform parts that the address sources use.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/text.h"
#include "sources/http_client.h"
#include "sources/sockets.h"
#include "tests/window/stand_ins.h"

namespace maskora::testing {

// Plays the platform's replies and logs each call by name.
class FakeSockets : public Sockets {
 public:
  int startupResult = 0;
  SocketsData data{0x0101, 100};
  int cleanupResult = 0;
  int hostNameResult = 0;
  int lastError = 0;
  std::string hostName = "desk";
  std::optional<std::vector<AddressBytes>> addresses = std::vector<AddressBytes>{{10, 9, 8, 7}};
  std::vector<std::string> calls;

  int Startup(std::uint16_t requestedVersion, SocketsData& filled) override {
    calls.push_back("Startup(" + std::to_string(requestedVersion) + ")");
    if (startupResult == 0) {
      filled = data;
    }
    return startupResult;
  }
  int Cleanup() override {
    calls.push_back("Cleanup");
    return cleanupResult;
  }
  int LastError() override {
    calls.push_back("LastError");
    return lastError;
  }
  int GetHostName(std::span<char> buffer) override {
    calls.push_back("GetHostName(" + std::to_string(buffer.size()) + ")");
    if (hostNameResult == 0) {
      const std::size_t length = std::min(hostName.size(), buffer.size());
      std::memcpy(buffer.data(), hostName.data(), length);
      if (length < buffer.size()) {
        buffer[length] = '\0';
      }
    }
    return hostNameResult;
  }
  std::optional<std::vector<AddressBytes>> GetHostByName(const std::string& name) override {
    calls.push_back("GetHostByName(" + name + ")");
    return addresses;
  }
};

struct ClientScript {
  // readyState turns 4 on this read (1-based); 0 never.
  int completeOnRead = 1;
  std::vector<std::uint8_t> body;
  bool openThrows = false;
  bool sendThrows = false;
  bool readyStateThrows = false;
  bool bodyThrows = false;
};

struct ClientLog {
  std::vector<std::string> calls;
  Text url;
  int readyStateReads = 0;
  int aborts = 0;
};

class FakeHttpClient : public HttpClient {
 public:
  FakeHttpClient(ClientScript script, ClientLog& log) : script_(std::move(script)), log_(log) {}

  void Open(const Text& url) override {
    log_.calls.push_back("Open");
    log_.url = url;
    if (script_.openThrows) {
      throw HttpError("refused");
    }
  }
  void Send() override {
    log_.calls.push_back("Send");
    if (script_.sendThrows) {
      throw HttpError("send");
    }
  }
  int ReadyState() override {
    ++log_.readyStateReads;
    if (script_.readyStateThrows) {
      throw HttpError("state");
    }
    const bool complete =
        script_.completeOnRead != 0 && log_.readyStateReads >= script_.completeOnRead;
    return complete ? kComplete : 1;
  }
  std::vector<std::uint8_t> ResponseBody() override {
    log_.calls.push_back("ResponseBody");
    if (script_.bodyThrows) {
      throw HttpError("body");
    }
    return script_.body;
  }
  void Abort() noexcept override {
    log_.calls.push_back("Abort");
    ++log_.aborts;
  }

 private:
  ClientScript script_;
  ClientLog& log_;
};

class FakeClientFactory : public HttpClientFactory {
 public:
  ClientScript script;
  std::vector<std::unique_ptr<ClientLog>> logs;

  std::unique_ptr<HttpClient> Create() override {
    logs.push_back(std::make_unique<ClientLog>());
    return std::make_unique<FakeHttpClient>(script, *logs.back());
  }
};

inline std::vector<std::uint8_t> Bytes(std::string_view text) {
  return {text.begin(), text.end()};
}

}  // namespace maskora::testing
