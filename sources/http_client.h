// SPDX-License-Identifier: MIT
// The HTTP client that the public address lookup drives: one asynchronous GET, polled for
// completion.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "core/text.h"

namespace maskora {

// Any failure of the client: a refused URL, a network or TLS failure, an oversized body.
class HttpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class HttpClient {
 public:
  // The states that ReadyState reports, in the order a request goes through them.
  static constexpr int kUnsent = 0;
  static constexpr int kOpened = 1;
  static constexpr int kSent = 2;
  static constexpr int kLoading = 3;
  static constexpr int kComplete = 4;
  // A client's own limit: longer than the two minutes that the caller waits, whose limit is the
  // one that counts.
  static constexpr int kClientTimeoutMs = 130 * 1000;

  virtual ~HttpClient() = default;
  // Prepares a GET of the URL; throws HttpError when the URL can't be used.
  virtual void Open(const Text& url) = 0;
  // Starts the request and returns at once.
  virtual void Send() = 0;
  // kComplete once the request has ended, with a response or a failure; lower before.
  virtual int ReadyState() = 0;
  // The body bytes as received, whatever the HTTP status; throws HttpError when the request
  // failed without a response.
  virtual std::vector<std::uint8_t> ResponseBody() = 0;
  // Ends the request; harmless on one that has ended or never started.
  virtual void Abort() noexcept = 0;
};

// Makes a fresh client for each request.
class HttpClientFactory {
 public:
  virtual ~HttpClientFactory() = default;
  virtual std::unique_ptr<HttpClient> Create() = 0;
};

}  // namespace maskora
