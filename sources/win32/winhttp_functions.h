// SPDX-License-Identifier: MIT
// The WinHTTP functions that Maskora calls, from winhttp.dll in the system folder.
#pragma once

#include <windows.h>
#include <winhttp.h>

namespace maskora {

#define MASKORA_WINHTTP_FUNCTIONS(X)       \
  X(WinHttpCloseHandle)                    \
  X(WinHttpConnect)                        \
  X(WinHttpCrackUrl)                       \
  X(WinHttpGetIEProxyConfigForCurrentUser) \
  X(WinHttpGetProxyForUrl)                 \
  X(WinHttpOpen)                           \
  X(WinHttpOpenRequest)                    \
  X(WinHttpQueryDataAvailable)             \
  X(WinHttpReadData)                       \
  X(WinHttpReceiveResponse)                \
  X(WinHttpSendRequest)                    \
  X(WinHttpSetOption)                      \
  X(WinHttpSetStatusCallback)              \
  X(WinHttpSetTimeouts)

struct WinHttpFunctions {
#define MASKORA_WINHTTP_MEMBER(name) decltype(&::name) name = nullptr;
  MASKORA_WINHTTP_FUNCTIONS(MASKORA_WINHTTP_MEMBER)
#undef MASKORA_WINHTTP_MEMBER
};

// Loaded on the first call; null when winhttp.dll or one of the functions is missing.
const WinHttpFunctions* WinHttp();

}  // namespace maskora
