// The WinHTTP client, driven by the public lookup and the real event pass, against the nginx
// servers that with_nginx.py starts on 127.0.0.1, one server per scenario. The test CA goes
// into the machine root store of the Wine prefix for the run, and out again.
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>
// clang-format off
#include <windows.h>
#include <wincrypt.h>
// clang-format on

#include "sources/address_lookups.h"
#include "sources/public_lookup.h"
#include "sources/win32/winhttp_client.h"
#include "window/win32/win32_runtime.h"

namespace maskora {
namespace {

constexpr char16_t kLocal[] = u"10.9.8.7";

std::string Environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr || *value == '\0') {
    throw std::runtime_error(name + " is not set: run this test through with_nginx.py");
  }
  return value;
}

// By name: Wine's certificate check matches a host name but not an address against the
// certificate's names. localhost is 127.0.0.1 here, where the servers listen.
Text Host(const char* scenario) {
  const std::string host = "localhost:" + Environment(std::string("MASKORA_TEST_PORT_") + scenario);
  return Text(host.begin(), host.end());
}

// Windows path of the CA that with_nginx.py wrote: Wine maps the Unix root to drive Z:.
std::string CaPath() {
  std::string path = "Z:" + Environment("MASKORA_TEST_CA");
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

class NoBoxes : public MessageBoxes {
 public:
  void MsgBox(const Text&, MessageIcon, const Text&) override {}
};

// The local lookup's stand-in: the fallback's answer, counted.
class CountingSockets : public Sockets {
 public:
  int startups = 0;
  int Startup(std::uint16_t, SocketsData& data) override {
    ++startups;
    data = {0x0101, 100};
    return 0;
  }
  int Cleanup() override { return 0; }
  int LastError() override { return 0; }
  int GetHostName(std::span<char> buffer) override {
    buffer[0] = 'h';
    buffer[1] = '\0';
    return 0;
  }
  std::optional<std::vector<AddressBytes>> GetHostByName(const std::string&) override {
    return std::vector<AddressBytes>{{10, 9, 8, 7}};
  }
};

// The real event pass, counted; throws FormUnloaded from the given pass on.
class CountingRuntime : public Win32Runtime {
 public:
  int passes = 0;
  std::optional<int> unloadOnPass;

 protected:
  void ProcessEvents() override {
    ++passes;
    Win32Runtime::ProcessEvents();
    if (unloadOnPass && passes >= *unloadOnPass) {
      throw FormUnloaded{};
    }
  }
};

struct Click {
  explicit Click(const char* scenario)
      : lookups(sockets, boxes, runtime, clients, Host(scenario)) {}
  CountingSockets sockets;
  NoBoxes boxes;
  CountingRuntime runtime;
  WinHttpClientFactory clients;
  AddressLookups lookups;
};

struct ScenarioCase {
  const char* scenario;
  Text text;
};

void PrintTo(const ScenarioCase& c, std::ostream* out) {
  *out << c.scenario;
}

class NginxTest : public ::testing::TestWithParam<ScenarioCase> {};

bool UnderWine() {
  return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST_P(NginxTest, PublicAddressText) {
  const ScenarioCase& c = GetParam();
  if (std::string(c.scenario) == "REDIRECT" && UnderWine()) {
    GTEST_SKIP() << "the redirect names its target by address, which Wine's certificate "
                    "check does not match";
  }
  Click click(c.scenario);
  EXPECT_EQ(click.lookups.PublicAddressText(), c.text);
  // The local lookup runs exactly when the request gave nothing.
  EXPECT_EQ(click.sockets.startups == 0, c.text != kLocal);
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, NginxTest,
    ::testing::Values(ScenarioCase{"SCRIPT", u"127.0.0.1"}, ScenarioCase{"REDIRECT", u"127.0.0.1"},
                      ScenarioCase{"NOTFOUND", u"Pagina non trovata.\n"},
                      ScenarioCase{"EMPTY", kLocal}, ScenarioCase{"OVER", kLocal},
                      ScenarioCase{"CLOSED", kLocal}, ScenarioCase{"UNKNOWNCA", kLocal},
                      ScenarioCase{"MISNAMED", kLocal}, ScenarioCase{"INSECURE", kLocal}),
    [](const ::testing::TestParamInfo<ScenarioCase>& info) {
      return std::string(info.param.scenario);
    });

TEST(Nginx, BodyAtTheLimitIsKept) {
  Click click("LIMIT");
  const Text text = click.lookups.PublicAddressText();
  EXPECT_EQ(text.size(), WinHttpClient::kBodyLimit);
  EXPECT_TRUE(text.starts_with(u"1.2.3.4x"));
  EXPECT_EQ(click.sockets.startups, 0);
}

TEST(Nginx, SlowAnswerArrivesWhileEventsKeepBeingProcessed) {
  Click click("SLOW");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(click.lookups.PublicAddressText(), u"203.0.113.9");
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  // Each pass waits at most briefly for an event, so seconds of waiting take many passes.
  EXPECT_GE(click.runtime.passes, 20);
}

TEST(Nginx, ClosedWindowEndsThePendingRequest) {
  Click click("SLOW");
  click.runtime.unloadOnPass = 5;
  EXPECT_THROW(click.lookups.PublicAddressText(), FormUnloaded);
  EXPECT_EQ(click.sockets.startups, 0);
  // Nothing of the dropped request may reach this thread later.
  Win32Runtime idle;
  for (int i = 0; i < 4; ++i) {
    idle.DoEvents();
  }
}

TEST(WinHttpClient, RefusesWhatIsNotAnHttpsGet) {
  WinHttpClient client;
  EXPECT_THROW(client.Open(u"http://127.0.0.1/"), HttpError);
  EXPECT_THROW(client.Open(u"https://"), HttpError);
  EXPECT_THROW(client.Send(), HttpError);
  EXPECT_NO_THROW(client.Abort());
}

TEST(WinHttpClient, AbortEndsTheRequestAndIsHarmlessAfterwards) {
  WinHttpClient client;
  client.Open(Host("SLOW").insert(0, u"https://") + u"/x");
  client.Send();
  client.Abort();
  EXPECT_EQ(client.ReadyState(), HttpClient::kComplete);
  EXPECT_THROW(client.ResponseBody(), HttpError);
  client.Abort();
}

}  // namespace
}  // namespace maskora

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const maskora::TrustedTestCa trusted;
  return RUN_ALL_TESTS();
}
