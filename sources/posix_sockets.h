// SPDX-License-Identifier: MIT
// The sockets calls on a POSIX system: the host name from gethostname and its IPv4 addresses
// from the system resolver, in the order the resolver lists them.
#pragma once

#include "sources/sockets.h"

namespace maskora {

class PosixSockets : public Sockets {
 public:
  // There is no library to start or release: start-up reports version 1.1 and the process's
  // descriptor limit as the socket count, and clean-up always succeeds.
  int Startup(std::uint16_t requestedVersion, SocketsData& data) override;
  int Cleanup() override;
  int LastError() override;
  int GetHostName(std::span<char> buffer) override;
  std::optional<std::vector<AddressBytes>> GetHostByName(const std::string& name) override;

 private:
  int lastError_ = 0;
};

}  // namespace maskora
