// SPDX-License-Identifier: MIT
#include "sources/win32/user_proxy.h"

#include <optional>

#include "core/version.h"

namespace maskora {

namespace {

std::wstring Take(LPWSTR& text) {
  std::wstring copy = text == nullptr ? L"" : text;
  if (text != nullptr) {
    GlobalFree(text);
    text = nullptr;
  }
  return copy;
}

std::optional<ProxyChoice> ScriptedProxy(const WinHttpFunctions& api, const std::wstring& url,
                                         const std::wstring& scriptUrl, bool detect) {
  HINTERNET resolver = api.WinHttpOpen(kWideUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY,
                                       WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
  if (resolver == nullptr) {
    return std::nullopt;
  }
  WINHTTP_AUTOPROXY_OPTIONS options{};
  if (detect) {
    options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
    options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
  }
  if (!scriptUrl.empty()) {
    options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
    options.lpszAutoConfigUrl = scriptUrl.c_str();
  }
  options.fAutoLogonIfChallenged = TRUE;
  WINHTTP_PROXY_INFO info{};
  const BOOL found = api.WinHttpGetProxyForUrl(resolver, url.c_str(), &options, &info);
  api.WinHttpCloseHandle(resolver);
  if (found == FALSE) {
    return std::nullopt;
  }
  ProxyChoice choice;
  choice.direct = info.dwAccessType != WINHTTP_ACCESS_TYPE_NAMED_PROXY;
  choice.proxy = Take(info.lpszProxy);
  choice.bypass = Take(info.lpszProxyBypass);
  return choice;
}

}  // namespace

ProxyChoice UserProxyFor(const WinHttpFunctions& api, const std::wstring& url) {
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG settings{};
  if (api.WinHttpGetIEProxyConfigForCurrentUser(&settings) == FALSE) {
    return {};
  }
  const std::wstring scriptUrl = Take(settings.lpszAutoConfigUrl);
  ProxyChoice byHand;
  byHand.proxy = Take(settings.lpszProxy);
  byHand.bypass = Take(settings.lpszProxyBypass);
  byHand.direct = byHand.proxy.empty();
  if (settings.fAutoDetect || !scriptUrl.empty()) {
    if (auto scripted = ScriptedProxy(api, url, scriptUrl, settings.fAutoDetect != FALSE)) {
      return *scripted;
    }
  }
  return byHand;
}

}  // namespace maskora
