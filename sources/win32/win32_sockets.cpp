// SPDX-License-Identifier: MIT
#include "sources/win32/win32_sockets.h"

#include <climits>
#include <cstring>
#include <type_traits>

#include <winsock.h>

#include "sources/win32/system_library.h"

namespace maskora {

namespace {

// The Windows Sockets functions, from wsock32.dll in the system folder on first use.
struct Wsock32 {
  decltype(&::WSAStartup) startup;
  decltype(&::WSACleanup) cleanup;
  decltype(&::WSAGetLastError) lastError;
  decltype(&::gethostname) hostName;
  decltype(&::gethostbyname) hostByName;
};

const Wsock32* Functions() {
  static const Wsock32* const functions = []() -> const Wsock32* {
    const HMODULE library = SystemLibrary(L"wsock32.dll");
    static const Wsock32 loaded{
        LibraryFunction<std::remove_pointer_t<decltype(Wsock32::startup)>>(library, "WSAStartup"),
        LibraryFunction<std::remove_pointer_t<decltype(Wsock32::cleanup)>>(library, "WSACleanup"),
        LibraryFunction<std::remove_pointer_t<decltype(Wsock32::lastError)>>(library,
                                                                             "WSAGetLastError"),
        LibraryFunction<std::remove_pointer_t<decltype(Wsock32::hostName)>>(library, "gethostname"),
        LibraryFunction<std::remove_pointer_t<decltype(Wsock32::hostByName)>>(library,
                                                                              "gethostbyname")};
    const bool complete = loaded.startup != nullptr && loaded.cleanup != nullptr &&
                          loaded.lastError != nullptr && loaded.hostName != nullptr &&
                          loaded.hostByName != nullptr;
    return complete ? &loaded : nullptr;
  }();
  return functions;
}

}  // namespace

int Win32Sockets::Startup(std::uint16_t requestedVersion, SocketsData& data) {
  WSADATA filled;
  std::memset(&filled, 0, sizeof(filled));
  const Wsock32* functions = Functions();
  if (functions == nullptr) {
    // No library: the start-up reports that the network system is not ready.
    return WSASYSNOTREADY;
  }
  const int result = functions->startup(requestedVersion, &filled);
  if (result == 0) {
    data.wVersion = filled.wVersion;
    data.iMaxSockets = filled.iMaxSockets;
  }
  return result;
}

int Win32Sockets::Cleanup() {
  return Functions()->cleanup();
}

int Win32Sockets::LastError() {
  return Functions()->lastError();
}

int Win32Sockets::GetHostName(std::span<char> buffer) {
  const int length = buffer.size() > INT_MAX ? INT_MAX : static_cast<int>(buffer.size());
  return Functions()->hostName(buffer.data(), length);
}

// The answer lives in the library's own storage until the next call: it is copied out here.
std::optional<std::vector<AddressBytes>> Win32Sockets::GetHostByName(const std::string& name) {
  const hostent* host = Functions()->hostByName(name.c_str());
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
