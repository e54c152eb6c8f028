// SPDX-License-Identifier: MIT
// One public-address request through the libcurl client against the URL given, measured as a
// user would feel it: the peak memory it adds to the process over its idle state before the
// request, and the time until the client ends the request by itself (answered or failed).
// srv_hostile.py runs it against answers that never end.
//
// Usage: srv_hostile URL CA.pem   (the CA is trusted besides the system's authorities)
// Prints one line: peak_over_idle_kib=N give_up_ms=N result=answered|failed
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "core/text.h"
#include "sources/curl/curl_http_client.h"

namespace {

// A field of /proc/self/status in KiB: VmRSS now, VmHWM the peak so far.
long StatusKib(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(field + ":")) {
      return std::stol(line.substr(field.size() + 1));
    }
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: srv_hostile URL CA.pem\n", stderr);
    return 2;
  }
  std::ifstream caFile(argv[2]);
  std::ostringstream ca;
  ca << caFile.rdbuf();
  maskora::CurlHttpClientFactory clients(ca.str());
  auto client = clients.Create();
  const long idle = StatusKib("VmRSS");

  const auto start = std::chrono::steady_clock::now();
  client->Open(maskora::Widen(argv[1]));
  client->Send();
  while (client->ReadyState() != maskora::HttpClient::kComplete) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  bool answered = true;
  try {
    client->ResponseBody();
  } catch (const maskora::HttpError&) {
    answered = false;
  }
  client.reset();
  std::printf("peak_over_idle_kib=%ld give_up_ms=%.0f result=%s\n", StatusKib("VmHWM") - idle,
              std::chrono::duration<double, std::milli>(elapsed).count(),
              answered ? "answered" : "failed");
  return 0;
}
