#include "sources/win32/win32_sockets.h"

#include <climits>
#include <cstring>

#include <winsock.h>

namespace maskora {

int Win32Sockets::Startup(std::uint16_t requestedVersion, SocketsData& data) {
  WSADATA filled;
  std::memset(&filled, 0, sizeof(filled));
  const int result = WSAStartup(requestedVersion, &filled);
  if (result == 0) {
    data.wVersion = filled.wVersion;
    data.iMaxSockets = filled.iMaxSockets;
  }
  return result;
}

int Win32Sockets::Cleanup() {
  return WSACleanup();
}

int Win32Sockets::LastError() {
  return WSAGetLastError();
}

int Win32Sockets::GetHostName(std::span<char> buffer) {
  const int length = buffer.size() > INT_MAX ? INT_MAX : static_cast<int>(buffer.size());
  return gethostname(buffer.data(), length);
}

// The answer lives in the library's own storage until the next call: it is copied out here.
std::optional<std::vector<AddressBytes>> Win32Sockets::GetHostByName(const std::string& name) {
  const hostent* host = gethostbyname(name.c_str());
  if (host == nullptr) {
    return std::nullopt;
  }
  std::vector<AddressBytes> addresses;
  const auto length = static_cast<std::size_t>(host->h_length);
  for (char** entry = host->h_addr_list; entry != nullptr && *entry != nullptr; ++entry) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(*entry);
    addresses.emplace_back(bytes, bytes + length);
  }
  return addresses;
}

}  // namespace maskora
