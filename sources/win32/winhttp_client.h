// SPDX-License-Identifier: MIT
// The public lookup's HTTP client on WinHTTP: one asynchronous HTTPS GET through the user's
// proxy, over TLS 1.2 or later, with certificate checks, a few redirects followed (never from
// https to http), and bounds on the response's header section and body. winhttp.dll is loaded
// from the system folder on the first request.
#pragma once

#include <cstddef>

#include "sources/http_client.h"

namespace maskora {

// Where the request finds the user's proxy. Automatic: WinHTTP's own automatic proxy, from
// Windows 8.1 on, and the user's Internet settings where the system refuses it. UserSettings:
// those settings always, as on Windows 7 and 8.
enum class ProxySource { Automatic, UserSettings };

class WinHttpClient : public HttpClient {
 public:
  // A larger body is no address: the request fails.
  static constexpr std::size_t kBodyLimit = 64 * 1024;
  // The status line and the header lines of one response; WinHTTP fails the request past it.
  static constexpr std::size_t kHeaderLimit = 64 * 1024;
  static constexpr unsigned kMaxRedirects = 5;

  explicit WinHttpClient(ProxySource proxySource = ProxySource::Automatic)
      : proxySource_(proxySource) {}
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
  ProxySource proxySource_;
};

class WinHttpClientFactory : public HttpClientFactory {
 public:
  explicit WinHttpClientFactory(ProxySource proxySource = ProxySource::Automatic)
      : proxySource_(proxySource) {}
  std::unique_ptr<HttpClient> Create() override {
    return std::make_unique<WinHttpClient>(proxySource_);
  }

 private:
  ProxySource proxySource_;
};

}  // namespace maskora
