// SPDX-License-Identifier: MIT
// The proxy that the user's Internet settings give for a URL, found as browsers find it on
// Windows 7 and 8, where WinHTTP has no automatic proxy of its own: automatic detection and
// the configuration script first, then the proxy set by hand, else a direct connection.
#pragma once

#include <string>

#include "sources/win32/winhttp_functions.h"

namespace maskora {

struct ProxyChoice {
  bool direct = true;
  // As WinHTTP takes them: "host:port" or "https=host:port;...", and "<local>;*.example".
  std::wstring proxy;
  std::wstring bypass;
};

// May take seconds when detection finds nothing: called off the window's thread.
ProxyChoice UserProxyFor(const WinHttpFunctions& api, const std::wstring& url);

}  // namespace maskora
