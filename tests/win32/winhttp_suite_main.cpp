// The WinHTTP client through the shared suite. The test CA goes into the machine root store of
// the Wine prefix for the run, and out again.
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
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

}  // namespace
}  // namespace maskora

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const maskora::TrustedTestCa trusted;
  maskora::WinHttpClientFactory clients;
  auto& platform = maskora::testing::Platform();
  platform.trusting = &clients;
  platform.bodyLimit = maskora::WinHttpClient::kBodyLimit;
  // Wine's certificate check matches a host name but not an address against the
  // certificate's names; localhost is 127.0.0.1 here, where the servers listen.
  platform.hostName = "localhost";
  if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr) {
    platform.headerBoundMissing =
        "Wine's WinHTTP takes WINHTTP_OPTION_MAX_RESPONSE_HEADER_SIZE but does not apply it";
  }
  return RUN_ALL_TESTS();
}
