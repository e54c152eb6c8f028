// SPDX-License-Identifier: MIT
#include "sources/posix_sockets.h"

#include <algorithm>
#include <cerrno>
#include <limits>

#include <netdb.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

namespace maskora {

namespace {
constexpr std::uint16_t kVersion11 = 0x0101;
constexpr std::size_t kFirstResolverBuffer = 1024;
constexpr std::size_t kLargestResolverBuffer = 1 << 20;
constexpr int kIpv4Length = 4;
}  // namespace

int PosixSockets::Startup(std::uint16_t /*requestedVersion*/, SocketsData& data) {
  rlimit limit{};
  rlim_t count = std::numeric_limits<std::uint16_t>::max();
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
    count = std::clamp<rlim_t>(limit.rlim_cur, 1, count);
  }
  data.wVersion = kVersion11;
  data.iMaxSockets = static_cast<std::uint16_t>(count);
  return 0;
}

int PosixSockets::Cleanup() {
  return 0;
}

int PosixSockets::LastError() {
  return lastError_;
}

int PosixSockets::GetHostName(std::span<char> buffer) {
  if (gethostname(buffer.data(), buffer.size()) != 0) {
    lastError_ = errno;
    return -1;
  }
  return 0;
}

// gethostbyname_r keeps the order of the hosts file and of the DNS answer, where getaddrinfo
// would re-sort the addresses by its own preference rules.
std::optional<std::vector<AddressBytes>> PosixSockets::GetHostByName(const std::string& name) {
  std::vector<char> work(kFirstResolverBuffer);
  hostent entry{};
  hostent* found = nullptr;
  int resolverError = 0;
  int result = 0;
  while ((result = gethostbyname_r(name.c_str(), &entry, work.data(), work.size(), &found,
                                   &resolverError)) == ERANGE &&
         work.size() < kLargestResolverBuffer) {
    work.resize(work.size() * 2);
  }
  if (result != 0 || found == nullptr || found->h_addrtype != AF_INET ||
      found->h_length != kIpv4Length || found->h_addr_list == nullptr ||
      found->h_addr_list[0] == nullptr) {
    lastError_ = resolverError;
    return std::nullopt;
  }
  std::vector<AddressBytes> addresses;
  for (char** item = found->h_addr_list; *item != nullptr; ++item) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(*item);
    addresses.emplace_back(bytes, bytes + found->h_length);
  }
  return addresses;
}

}  // namespace maskora
