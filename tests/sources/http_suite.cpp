// SPDX-License-Identifier: MIT
// The public lookup over a real client against real servers on 127.0.0.1, one server per
// scenario: nginx for the well-formed answers and broken certificates, Python sockets for the
// answers that never end, a listener that never answers and a CONNECT proxy.
#include "tests/sources/http_suite.h"

#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string_view>
#include <thread>

#include <gtest/gtest.h>

#include "core/text.h"
#include "sources/address_lookups.h"
#include "sources/public_lookup.h"
#include "tests/sources/fakes.h"

namespace maskora::testing {

SuitePlatform& Platform() {
  static SuitePlatform platform;
  return platform;
}

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

constexpr char16_t kLocal[] = u"10.9.8.7";

std::string Environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr || *value == '\0') {
    throw std::runtime_error(name + " is not set: run this test through with_nginx.py");
  }
  return value;
}

std::string Authority(const char* scenario) {
  return Platform().hostName + ":" + Environment(std::string("MASKORA_TEST_PORT_") + scenario);
}

Text Host(const char* scenario) {
  return Widen(Authority(scenario));
}

// The scenarios that only a client with a bound on the header section passes.
bool NeedsHeaderBound(std::string_view scenario) {
  return scenario == "HEADERSOVERLIMIT" || scenario == "ENDLESSHEADERS" ||
         scenario == "ENDLESSSTATUS";
}

Text ScriptUrl(const char* scenario) {
  return EndpointUrl(Host(scenario), 1, u'.');
}

// A real clock, and event passes that wait briefly as an idle window's do.
class ClockRuntime : public ToolkitRuntime {
 public:
  int passes = 0;
  std::optional<int> unloadOnPass;

  double SecondsSinceMidnight() override {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::fmod(std::chrono::duration<double>(now).count(), 86400);
  }
  char16_t DecimalSeparator() const override { return u'.'; }

 protected:
  void HandlePendingEvents() override {
    std::this_thread::sleep_for(20ms);
    if (++passes == unloadOnPass) {
      EndWaits();
    }
  }
};

struct Click {
  explicit Click(Text endpoint, HttpClientFactory* clients = Platform().trusting)
      : lookups(sockets, runtime, *clients, std::move(endpoint)) {}
  explicit Click(const char* scenario) : Click(Host(scenario)) {}

  FakeSockets sockets;
  RecordingBoxes boxes;
  ClockRuntime runtime;
  AddressLookups lookups;
};

// Polls the client as the window does, but without a time limit of its own: a client that
// doesn't end the request by itself fails here after a minute.
int WaitForTheEnd(HttpClient& client) {
  const auto deadline = std::chrono::steady_clock::now() + 60s;
  while (client.ReadyState() != HttpClient::kComplete &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  return client.ReadyState();
}

struct ScenarioCase {
  const char* scenario;
  Text text;
  bool systemCasOnly = false;
};

void PrintTo(const ScenarioCase& c, std::ostream* out) {
  *out << c.scenario;
}

class Scenario : public ::testing::TestWithParam<ScenarioCase> {};

TEST_P(Scenario, PublicAddressText) {
  const ScenarioCase& c = GetParam();
  if (NeedsHeaderBound(c.scenario) && Platform().headerBoundMissing != nullptr) {
    GTEST_SKIP() << Platform().headerBoundMissing;
  }
  HttpClientFactory* clients = c.systemCasOnly ? Platform().systemOnly : Platform().trusting;
  if (clients == nullptr) {
    GTEST_SKIP() << "this platform trusts the test CA process-wide";
  }
  Click click(Host(c.scenario), clients);
  EXPECT_EQ(click.lookups.PublicAddressText(click.boxes), c.text);
  EXPECT_TRUE(click.boxes.shown.empty());
  // The local lookup runs exactly when the request gave nothing.
  EXPECT_EQ(click.sockets.calls.empty(), c.text != kLocal);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, Scenario,
    ::testing::Values(ScenarioCase{"SCRIPT", u"127.0.0.1"}, ScenarioCase{"TLS12", u"127.0.0.1"},
                      ScenarioCase{"REDIRECT", u"127.0.0.1"},
                      ScenarioCase{"NOTFOUND", u"Pagina non trovata.\n"},
                      ScenarioCase{"PROXYAUTH", u"Serve la password del proxy.\n"},
                      ScenarioCase{"HEADERSATLIMIT", u"127.0.0.1"},
                      ScenarioCase{"HEADERSOVERLIMIT", kLocal}, ScenarioCase{"EMPTY", kLocal},
                      ScenarioCase{"OVER", kLocal}, ScenarioCase{"CLOSED", kLocal},
                      ScenarioCase{"UNKNOWNCA", kLocal}, ScenarioCase{"MISNAMED", kLocal},
                      ScenarioCase{"INSECURE", kLocal}, ScenarioCase{"SCRIPT", kLocal, true}),
    [](const ::testing::TestParamInfo<ScenarioCase>& info) {
      return std::string(info.param.scenario) + (info.param.systemCasOnly ? "_SystemCasOnly" : "");
    });

// Answers that never end: the client fails the request by its own bounds, long before any
// time limit.
class GivesUp : public ::testing::TestWithParam<const char*> {};

TEST_P(GivesUp, OnItsOwn) {
  if (NeedsHeaderBound(GetParam()) && Platform().headerBoundMissing != nullptr) {
    GTEST_SKIP() << Platform().headerBoundMissing;
  }
  const auto client = Platform().trusting->Create();
  client->Open(ScriptUrl(GetParam()));
  client->Send();
  EXPECT_EQ(WaitForTheEnd(*client), HttpClient::kComplete);
  EXPECT_THROW(client->ResponseBody(), HttpError);
}

INSTANTIATE_TEST_SUITE_P(Bounds, GivesUp,
                         ::testing::Values("ENDLESSHEADERS", "ENDLESSSTATUS", "ENDLESSBODY"));

// Five redirects are followed, a sixth is not.
TEST(Answers, AFewRedirectsAtMost) {
  const std::string chain = "https://" + Authority("CHAIN") + "/hop";
  for (const auto& [hops, text] : {std::pair{5, u"127.0.0.1"}, std::pair{6, u""}}) {
    ClockRuntime runtime;
    const auto client = Platform().trusting->Create();
    EXPECT_EQ(FetchUrlText(*client, Widen(chain + std::to_string(hops)), runtime), text) << hops;
  }
}

TEST(Answers, BodyAtTheLimitIsKept) {
  Click click("LIMIT");
  const Text text = click.lookups.PublicAddressText(click.boxes);
  EXPECT_EQ(text.size(), Platform().bodyLimit);
  EXPECT_TRUE(text.starts_with(u"1.2.3.4x"));
  EXPECT_TRUE(click.sockets.calls.empty());
}

TEST(Answers, EveryFormOfTheEndpoint) {
  const Text host = Host("SCRIPT");
  const std::pair<Text, Text> cases[] = {
      {host, u"127.0.0.1"},
      {u"HTTPS://" + host + Text(kScriptPath) + u"?format=text", u"127.0.0.1"},
      {u"", kLocal},
  };
  for (const auto& [endpoint, text] : cases) {
    Click click(endpoint);
    EXPECT_EQ(click.lookups.PublicAddressText(click.boxes), text) << Narrow(endpoint);
  }
  Click click("SCRIPT");
  const auto client = Platform().trusting->Create();
  EXPECT_EQ(FetchUrlText(*client, EndpointUrl(host, 12346.6789, u','), click.runtime),
            u"127.0.0.1");
}

TEST(Answers, SlowAnswerArrivesWhileEventsKeepBeingProcessed) {
  Click click("SLOW");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(click.lookups.PublicAddressText(click.boxes), u"203.0.113.9");
  EXPECT_GE(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_GE(click.runtime.passes, 20);
  EXPECT_TRUE(click.sockets.calls.empty());
}

TEST(Ending, ClosedWindowEndsThePendingRequest) {
  Click click("SLOW");
  click.runtime.unloadOnPass = 5;
  EXPECT_THROW(click.lookups.PublicAddressText(click.boxes), FormUnloaded);
  EXPECT_TRUE(click.sockets.calls.empty());
}

// Against a server that never answers, ending the request must not wait for anything: not
// for the server, nor for the client's longest sleep.
TEST(Ending, AbortAndDestructionDoNotWaitForTheServer) {
  for (const bool destroy : {false, true}) {
    auto client = Platform().trusting->Create();
    client->Open(ScriptUrl("SILENT"));
    client->Send();
    std::this_thread::sleep_for(300ms);
    EXPECT_NE(client->ReadyState(), HttpClient::kComplete);
    const auto start = std::chrono::steady_clock::now();
    if (destroy) {
      client.reset();
    } else {
      client->Abort();
      EXPECT_EQ(client->ReadyState(), HttpClient::kComplete);
      EXPECT_THROW(client->ResponseBody(), HttpError);
      client->Abort();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << (destroy ? "destroyed" : "aborted");
  }
}

TEST(Ending, RefusesWhatIsNotAnHttpsUrl) {
  const auto client = Platform().trusting->Create();
  EXPECT_THROW(client->Send(), HttpError);
  for (const Text& url : {u"http://127.0.0.1/"s, u"https://"s, u"ftp://127.0.0.1/"s, u"127.0.0.1"s,
                          u"https://127.0.0.1/\0x"s}) {
    EXPECT_THROW(client->Open(url), HttpError) << Narrow(url);
  }
  EXPECT_NO_THROW(client->Abort());
}

std::vector<std::string> ProxyLog() {
  std::ifstream file(Environment("MASKORA_TEST_PROXY_LOG"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    lines.push_back(line);
  }
  return lines;
}

class Proxy : public ::testing::TestWithParam<std::size_t> {};

TEST_P(Proxy, RequestTakesTheConfiguredRoute) {
  const ProxyRoute& route = Platform().proxyRoutes[GetParam()];
  if (route.unavailable != nullptr) {
    GTEST_SKIP() << route.unavailable;
  }
  route.apply("127.0.0.1:" + Environment("MASKORA_TEST_PROXY_PORT"));
  const std::size_t before = ProxyLog().size();
  Click click(Host("SCRIPT"), route.clients != nullptr ? route.clients : Platform().trusting);
  EXPECT_EQ(click.lookups.PublicAddressText(click.boxes), u"127.0.0.1");
  Platform().clearProxy();
  const auto log = ProxyLog();
  if (route.throughProxy) {
    ASSERT_EQ(log.size(), before + 1);
    EXPECT_EQ(log.back(), "CONNECT " + Authority("SCRIPT"));
  } else {
    EXPECT_EQ(log.size(), before);
  }
}

INSTANTIATE_TEST_SUITE_P(Routes, Proxy,
                         ::testing::Range<std::size_t>(0, Platform().proxyRoutes.size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                           std::string name = Platform().proxyRoutes[info.param].name;
                           for (char& c : name) {
                             c = std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace maskora::testing
