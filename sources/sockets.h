// SPDX-License-Identifier: MIT
// The few socket-library calls that the local address lookup makes, behind an interface so
// that every reply of the platform can be played back in tests.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace maskora {

// What a successful start-up reports.
struct SocketsData {
  // Negotiated version: major in the low byte, minor in the high byte.
  std::uint16_t wVersion = 0;
  std::uint16_t iMaxSockets = 0;
};

// The bytes of one address, in network order.
using AddressBytes = std::vector<std::uint8_t>;

class Sockets {
 public:
  virtual ~Sockets() = default;
  // 0 on success, when data has been filled; any other value on failure.
  virtual int Startup(std::uint16_t requestedVersion, SocketsData& data) = 0;
  // 0 on success, any other value on failure.
  virtual int Cleanup() = 0;
  // The error code of the call that failed last.
  virtual int LastError() = 0;
  // Writes the host name, ending in a NUL when it fits, into the buffer: 0, or -1 on failure.
  virtual int GetHostName(std::span<char> buffer) = 0;
  // The addresses of a host name in the resolver's own order, none on failure. A successful
  // answer lists at least one address, all of one length.
  virtual std::optional<std::vector<AddressBytes>> GetHostByName(const std::string& name) = 0;
};

}  // namespace maskora
