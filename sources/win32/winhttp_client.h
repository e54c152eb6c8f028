// The public lookup's HTTP client on WinHTTP: one asynchronous HTTPS GET, with certificate
// checks, redirects followed (never from https to http) and a cap on the body.
#pragma once

#include <cstddef>

#include "sources/http_client.h"

namespace maskora {

class WinHttpClient : public HttpClient {
 public:
  // A larger body is no address: the request fails.
  static constexpr std::size_t kBodyLimit = 64 * 1024;

  WinHttpClient() = default;
  ~WinHttpClient() override;
  WinHttpClient(const WinHttpClient&) = delete;
  WinHttpClient& operator=(const WinHttpClient&) = delete;

  void Open(const Text& url) override;
  void Send() override;
  int ReadyState() override;
  std::vector<std::uint8_t> ResponseBody() override;
  void Abort() noexcept override;

  class Request;

 private:
  void Release() noexcept;

  // Shared with WinHTTP's callbacks, which run on its own threads and may outlive this client.
  Request* request_ = nullptr;
};

class WinHttpClientFactory : public HttpClientFactory {
 public:
  std::unique_ptr<HttpClient> Create() override { return std::make_unique<WinHttpClient>(); }
};

}  // namespace maskora
