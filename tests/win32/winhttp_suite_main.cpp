// SPDX-License-Identifier: MIT
// The WinHTTP client through the shared suite. The test CA goes into the machine root store of
// the Wine prefix for the run, and out again; the user's Internet settings (a direct
// connection, or the proxy of a route) likewise, and both ways of finding the proxy take each
// route.
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <wincrypt.h>
// clang-format on

#include "sources/win32/winhttp_client.h"
#include "tests/sources/http_suite.h"

namespace maskora {
namespace {

// Windows path of the CA that with_nginx.py wrote: Wine maps the Unix root to drive Z:.
std::string CaPath() {
  const char* ca = std::getenv("MASKORA_TEST_CA");
  if (ca == nullptr) {
    throw std::runtime_error("MASKORA_TEST_CA is not set: run this test through with_nginx.py");
  }
  std::string path = std::string("Z:") + ca;
  for (char& c : path) {
    c = c == '/' ? '\\' : c;
  }
  return path;
}

class TrustedTestCa {
 public:
  TrustedTestCa() {
    std::ifstream file(CaPath(), std::ios::binary);
    std::stringstream pem;
    pem << file.rdbuf();
    const std::string text = pem.str();
    DWORD size = 0;
    if (!CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()),
                              CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr, nullptr)) {
      throw std::runtime_error("the test CA can't be read");
    }
    std::vector<BYTE> der(size);
    CryptStringToBinaryA(text.c_str(), static_cast<DWORD>(text.size()), CRYPT_STRING_BASE64HEADER,
                         der.data(), &size, nullptr, nullptr);
    store_ =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (store_ == nullptr ||
        !CertAddEncodedCertificateToStore(store_, X509_ASN_ENCODING, der.data(), size,
                                          CERT_STORE_ADD_REPLACE_EXISTING, &added_)) {
      throw std::runtime_error("the test CA can't be trusted");
    }
    // Written through at once: the chain engine reads the store afresh.
    CertControlStore(store_, 0, CERT_STORE_CTRL_COMMIT, nullptr);
  }
  ~TrustedTestCa() {
    CertDeleteCertificateFromStore(added_);
    CertControlStore(store_, 0, CERT_STORE_CTRL_COMMIT, nullptr);
    CertCloseStore(store_, 0);
  }

 private:
  HCERTSTORE store_ = nullptr;
  PCCERT_CONTEXT added_ = nullptr;
};

// The user's Internet settings as the Internet Options dialog stores them: a version, a
// counter, the kind of connection, then the proxy, its bypass list and the configuration
// script's URL, each as a length and its characters.
class UserInternetSettings {
 public:
  static constexpr DWORD kDirect = 1;
  static constexpr DWORD kProxy = 2;
  static constexpr DWORD kScript = 4;

  UserInternetSettings() {
    RegCreateKeyExW(HKEY_CURRENT_USER, kConnections, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr,
                    &key_, nullptr);
    DWORD size = 0;
    if (RegQueryValueExW(key_, kValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
      saved_.emplace(size);
      RegQueryValueExW(key_, kValue, nullptr, nullptr, saved_->data(), &size);
    }
  }
  ~UserInternetSettings() {
    if (saved_) {
      RegSetValueExW(key_, kValue, 0, REG_BINARY, saved_->data(),
                     static_cast<DWORD>(saved_->size()));
    } else {
      RegDeleteValueW(key_, kValue);
    }
    RegCloseKey(key_);
  }
  UserInternetSettings(const UserInternetSettings&) = delete;
  UserInternetSettings& operator=(const UserInternetSettings&) = delete;

  void Write(DWORD kind, const std::string& proxy = {}, const std::string& bypass = {},
             const std::string& script = {}) {
    std::vector<BYTE> blob;
    const auto number = [&blob](DWORD value) {
      for (int i = 0; i < 4; ++i) {
        blob.push_back(static_cast<BYTE>(value >> (8 * i)));
      }
    };
    const auto text = [&](const std::string& value) {
      number(static_cast<DWORD>(value.size()));
      blob.insert(blob.end(), value.begin(), value.end());
    };
    number(0x46);
    number(0);
    number(kind);
    text(proxy);
    text(bypass);
    text(script);
    blob.resize(blob.size() + 32);
    RegSetValueExW(key_, kValue, 0, REG_BINARY, blob.data(), static_cast<DWORD>(blob.size()));
  }

 private:
  static constexpr wchar_t kConnections[] =
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
  static constexpr wchar_t kValue[] = L"DefaultConnectionSettings";
  HKEY key_ = nullptr;
  std::optional<std::vector<BYTE>> saved_;
};

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::vector<testing::ProxyRoute> Routes(UserInternetSettings& settings,
                                        HttpClientFactory& automatic,
                                        HttpClientFactory& userSettings) {
  using Settings = UserInternetSettings;
  const std::string script =
      "http://127.0.0.1:" + std::string(std::getenv("MASKORA_TEST_PORT_PAC")) + "/proxy.pac";
  const char* automaticUnavailable =
      UnderWine() ? "Wine takes WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY but connects directly"
                  : nullptr;
  std::vector<testing::ProxyRoute> routes;
  for (auto [source, clients, unavailable] :
       {std::tuple{"Automatic ", &automatic, automaticUnavailable},
        std::tuple{"UserSettings ", &userSettings, static_cast<const char*>(nullptr)}}) {
    routes.push_back({source + std::string("proxy set by hand"), true,
                      [&settings](const std::string& proxy) {
                        settings.Write(Settings::kDirect | Settings::kProxy, proxy);
                      },
                      clients, unavailable});
    routes.push_back({source + std::string("host in the bypass list"), false,
                      [&settings](const std::string& proxy) {
                        settings.Write(Settings::kDirect | Settings::kProxy, proxy,
                                       "example.invalid;localhost");
                      },
                      clients, unavailable});
    routes.push_back({source + std::string("configuration script"), true,
                      [&settings, script](const std::string&) {
                        settings.Write(Settings::kDirect | Settings::kScript, {}, {}, script);
                      },
                      clients, unavailable});
  }
  return routes;
}

}  // namespace
}  // namespace maskora

int main(int argc, char** argv) {
  const maskora::TrustedTestCa trusted;
  // A direct connection unless a route says otherwise: no proxy detection on the network.
  maskora::UserInternetSettings settings;
  settings.Write(maskora::UserInternetSettings::kDirect);
  maskora::WinHttpClientFactory clients;
  maskora::WinHttpClientFactory userSettingsClients(maskora::ProxySource::UserSettings);
  auto& platform = maskora::testing::Platform();
  platform.trusting = &clients;
  platform.proxyRoutes = maskora::Routes(settings, clients, userSettingsClients);
  platform.clearProxy = [&settings] { settings.Write(maskora::UserInternetSettings::kDirect); };
  platform.bodyLimit = maskora::WinHttpClient::kBodyLimit;
  // Wine's certificate check matches a host name but not an address against the
  // certificate's names; localhost is 127.0.0.1 here, where the servers listen.
  platform.hostName = "localhost";
  if (maskora::UnderWine()) {
    platform.headerBoundMissing =
        "Wine's WinHTTP takes WINHTTP_OPTION_MAX_RESPONSE_HEADER_SIZE but does not apply it";
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
