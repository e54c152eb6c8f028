// SPDX-License-Identifier: MIT
// Processor time that a pending public-address request costs while the window waits for it:
// the libcurl client's own thread and the wait's event passes, each of which waits up to 50 ms
// for an event as an idle window's does. The server is a socket on 127.0.0.1 that listens but
// never accepts, so the TLS handshake never gets an answer and the wait lasts until the
// benchmark ends it. The same wait with an event pass that doesn't wait is measured as the peer.
//
// Usage: srv_pending [seconds per variant, default 10]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include "core/runtime.h"
#include "sources/curl/curl_http_client.h"
#include "sources/public_lookup.h"

namespace {

double ProcessCpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// A listening socket whose connections complete in the kernel and then hear nothing.
int SilentListener(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      listen(fd, 16) != 0 || getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::perror("listener");
    std::exit(1);
  }
  port = ntohs(address.sin_port);
  return fd;
}

// An event pass that waits as an idle window's does, or one that returns at once; the wait is
// ended after `seconds` the way a closed window ends it.
class BenchRuntime : public maskora::ToolkitRuntime {
 public:
  BenchRuntime(bool spin, double seconds)
      : spin_(spin),
        end_(std::chrono::steady_clock::now() +
             std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                 std::chrono::duration<double>(seconds))) {}

  double SecondsSinceMidnight() override {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  char16_t DecimalSeparator() const override { return u'.'; }

  long passes = 0;

 protected:
  void HandlePendingEvents() override {
    ++passes;
    if (!spin_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    if (std::chrono::steady_clock::now() >= end_) {
      EndWaits();
    }
  }

 private:
  bool spin_;
  std::chrono::steady_clock::time_point end_;
};

struct Figure {
  double cpuPerWall;
  long passes;
};

Figure Measure(const maskora::Text& url, bool spin, double seconds) {
  maskora::CurlHttpClient client;
  BenchRuntime runtime(spin, seconds);
  const double cpuStart = ProcessCpuSeconds();
  const auto wallStart = std::chrono::steady_clock::now();
  try {
    maskora::FetchUrlText(client, url, runtime);
    std::fprintf(stderr, "the request ended before the measurement did\n");
  } catch (const maskora::FormUnloaded&) {
  }
  const double wall =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  return {(ProcessCpuSeconds() - cpuStart) / wall, runtime.passes};
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
  int port = 0;
  const int listener = SilentListener(port);
  const std::string host = "127.0.0.1:" + std::to_string(port);
  const maskora::Text url =
      maskora::EndpointUrl(maskora::Text(host.begin(), host.end()), 50001, u'.');

  const Figure waiting = Measure(url, false, seconds);
  const Figure spinning = Measure(url, true, seconds);
  std::printf("srv_pending: %.0f s of a request that gets no answer, per variant\n", seconds);
  std::printf("  waiting event pass:  %.4f CPU s per wall s (%.2f%% of one core), %ld passes\n",
              waiting.cpuPerWall, waiting.cpuPerWall * 100, waiting.passes);
  std::printf("  spinning event pass: %.4f CPU s per wall s (%.2f%% of one core), %ld passes\n",
              spinning.cpuPerWall, spinning.cpuPerWall * 100, spinning.passes);
  if (waiting.cpuPerWall > 0) {
    std::printf("  spinning / waiting:  %.0fx\n", spinning.cpuPerWall / waiting.cpuPerWall);
  }
  close(listener);
  return 0;
}
