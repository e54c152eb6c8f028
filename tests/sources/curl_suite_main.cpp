// SPDX-License-Identifier: MIT
// The libcurl client through the shared suite. A proxy comes from the environment, as for
// command-line tools.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "sources/curl/curl_http_client.h"
#include "tests/sources/http_suite.h"

namespace {

constexpr const char* kProxyVariables[] = {"https_proxy", "HTTPS_PROXY", "all_proxy",
                                           "ALL_PROXY",   "no_proxy",    "NO_PROXY"};

std::string TestCa() {
  const char* path = std::getenv("MASKORA_TEST_CA");
  std::ifstream file(path == nullptr ? "" : path);
  std::ostringstream pem;
  pem << file.rdbuf();
  return pem.str();
}

// Sets variable to the proxy's URL, and no_proxy when bypass names a variable for it.
maskora::testing::ProxyRoute Route(const char* name, const char* variable,
                                   const char* bypass = nullptr) {
  return {name, bypass == nullptr, [variable, bypass](const std::string& proxy) {
            ::setenv(variable, ("http://" + proxy).c_str(), 1);
            if (bypass != nullptr) {
              ::setenv(bypass, "example.invalid, 127.0.0.1", 1);
            }
          }};
}

}  // namespace

int main(int argc, char** argv) {
  maskora::CurlHttpClientFactory trusting(TestCa());
  maskora::CurlHttpClientFactory systemOnly;
  auto& platform = maskora::testing::Platform();
  platform.trusting = &trusting;
  platform.systemOnly = &systemOnly;
  platform.bodyLimit = maskora::CurlHttpClient::kBodyLimit;
  platform.hostName = "127.0.0.1";
  platform.proxyRoutes = {
      Route("https_proxy", "https_proxy"),
      Route("HTTPS_PROXY", "HTTPS_PROXY"),
      Route("all_proxy", "all_proxy"),
      Route("no_proxy", "https_proxy", "no_proxy"),
      Route("NO_PROXY", "all_proxy", "NO_PROXY"),
  };
  platform.clearProxy = [] {
    for (const char* variable : kProxyVariables) {
      ::unsetenv(variable);
    }
  };
  platform.clearProxy();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
