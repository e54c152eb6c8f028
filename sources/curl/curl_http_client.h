// SPDX-License-Identifier: MIT
// The public lookup's HTTP client on libcurl. The request runs on a thread of its own, so the
// window only polls its state, and every rule of the request lives here: https only, redirects
// included, and only a few of them; the peer verified against the system's certificate
// authorities; the whole response bounded; the proxy that the environment names, as
// command-line tools take it; any status an answer.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "sources/http_client.h"

namespace maskora {

class CurlHttpClient : public HttpClient {
 public:
  // The status lines and header lines of all the responses together.
  static constexpr std::size_t kHeaderLimit = 64 * 1024;
  // A larger body is no address: the request fails.
  static constexpr std::size_t kBodyLimit = 64 * 1024;
  static constexpr long kMaxRedirects = 5;

  // caBundle, when given, is the PEM text of every authority that the client trusts.
  explicit CurlHttpClient(std::shared_ptr<const std::string> caBundle = nullptr);
  ~CurlHttpClient() override;
  CurlHttpClient(const CurlHttpClient&) = delete;
  CurlHttpClient& operator=(const CurlHttpClient&) = delete;

  void Open(const Text& url) override;
  void Send() override;
  int ReadyState() override;
  std::vector<std::uint8_t> ResponseBody() override;
  // Wakes the request's thread and waits for it, which takes no longer than one step of the
  // transfer: the window may close at once.
  void Abort() noexcept override;

 private:
  struct Transfer;

  std::shared_ptr<const std::string> caBundle_;
  std::string url_;
  bool opened_ = false;
  std::unique_ptr<Transfer> transfer_;
};

class CurlHttpClientFactory : public HttpClientFactory {
 public:
  // extraCaPem (PEM text) is trusted besides the system's authorities: for test servers.
  explicit CurlHttpClientFactory(const std::string& extraCaPem = {});
  std::unique_ptr<HttpClient> Create() override;

 private:
  std::shared_ptr<const std::string> caBundle_;
};

}  // namespace maskora
