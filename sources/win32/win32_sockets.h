// SPDX-License-Identifier: MIT
// The socket-library calls of the local lookup on Windows Sockets 1.1.
#pragma once

#include "sources/sockets.h"

namespace maskora {

class Win32Sockets : public Sockets {
 public:
  int Startup(std::uint16_t requestedVersion, SocketsData& data) override;
  int Cleanup() override;
  int LastError() override;
  int GetHostName(std::span<char> buffer) override;
  std::optional<std::vector<AddressBytes>> GetHostByName(const std::string& name) override;
};

}  // namespace maskora
