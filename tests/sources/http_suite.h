// SPDX-License-Identifier: MIT
// The suite that each platform's HTTP client passes against the servers that with_nginx.py
// starts on 127.0.0.1. A platform's test program fills Platform() with its clients and its
// ways of routing a request through a proxy, then runs the tests.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "sources/http_client.h"

namespace maskora::testing {

struct ProxyRoute {
  std::string name;
  // Whether the request must pass through the proxy, or bypass it.
  bool throughProxy;
  // Sets the route up for the proxy at "127.0.0.1:port".
  std::function<void(const std::string& proxy)> apply;
  // The clients that take the route; the trusting ones when none.
  HttpClientFactory* clients = nullptr;
  // Why the route can't be taken on this system, when it can't.
  const char* unavailable = nullptr;
};

struct SuitePlatform {
  // Clients that trust the test CA.
  HttpClientFactory* trusting = nullptr;
  // Clients that trust the system's authorities alone; none where a process can't have both.
  HttpClientFactory* systemOnly = nullptr;
  std::size_t bodyLimit = 0;
  // Why the client can't bound the header section on this system, when it can't.
  const char* headerBoundMissing = nullptr;
  // The name under which the client reaches 127.0.0.1.
  std::string hostName;
  std::vector<ProxyRoute> proxyRoutes;
  // Back to a direct connection.
  std::function<void()> clearProxy = [] {};
};

// Filled before InitGoogleTest, which makes one test of each proxy route.
SuitePlatform& Platform();

}  // namespace maskora::testing
