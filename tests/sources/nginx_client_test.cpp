// The QtNetwork client and the Qt event loop against the nginx servers that with_nginx.py
// starts on 127.0.0.1, one server per scenario.
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSslCertificate>

#include "sources/address_lookups.h"
#include "sources/public_lookup.h"
#include "sources/qt/qt_http_client.h"
#include "tests/sources/fakes.h"
#include "window/qt/qt_runtime.h"

namespace maskora {
namespace {

using testing::FakeSockets;
using testing::RecordingBoxes;

constexpr char16_t kLocal[] = u"10.9.8.7";

std::string Environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr || *value == '\0') {
    throw std::runtime_error(name + " is not set: run this test through with_nginx.py");
  }
  return value;
}

Text Host(const char* scenario) {
  const std::string host = "127.0.0.1:" + Environment(std::string("MASKORA_TEST_PORT_") + scenario);
  return Text(host.begin(), host.end());
}

QList<QSslCertificate> TestCa() {
  const auto certificates =
      QSslCertificate::fromPath(QString::fromStdString(Environment("MASKORA_TEST_CA")));
  if (certificates.isEmpty()) {
    throw std::runtime_error("the test CA can't be read");
  }
  return certificates;
}

// The real event passes, counted; throws FormUnloaded from the given pass on.
class CountingRuntime : public QtRuntime {
 public:
  int passes = 0;
  std::optional<int> unloadOnPass;

  void ProcessEvents() override {
    ++passes;
    QtRuntime::ProcessEvents();
    if (unloadOnPass && passes >= *unloadOnPass) {
      EndWaits();
    }
  }
};

// Reading the system's authorities takes a while, so the tests share the factories.
QtHttpClientFactory& Clients(bool trustTestCa) {
  static QtHttpClientFactory trusting(TestCa());
  static QtHttpClientFactory systemOnly;
  return trustTestCa ? trusting : systemOnly;
}

struct Click {
  explicit Click(const char* scenario, bool trustTestCa = true)
      : lookups(sockets, boxes, runtime, Clients(trustTestCa), Host(scenario)) {}

  FakeSockets sockets;
  RecordingBoxes boxes;
  CountingRuntime runtime;
  AddressLookups lookups;
};

struct ScenarioCase {
  const char* scenario;
  bool trustTestCa;
  Text text;
};

void PrintTo(const ScenarioCase& c, std::ostream* out) {
  *out << c.scenario;
}

class NginxTest : public ::testing::TestWithParam<ScenarioCase> {};

TEST_P(NginxTest, PublicAddressText) {
  const ScenarioCase& c = GetParam();
  Click click(c.scenario, c.trustTestCa);
  EXPECT_EQ(click.lookups.PublicAddressText(), c.text);
  EXPECT_TRUE(click.boxes.shown.empty());
  // The local lookup runs exactly when the request gave nothing.
  EXPECT_EQ(click.sockets.calls.empty(), c.text != kLocal);
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, NginxTest,
    ::testing::Values(ScenarioCase{"SCRIPT", true, u"127.0.0.1"},
                      ScenarioCase{"REDIRECT", true, u"127.0.0.1"},
                      ScenarioCase{"NOTFOUND", true, u"Pagina non trovata.\n"},
                      ScenarioCase{"EMPTY", true, kLocal}, ScenarioCase{"OVER", true, kLocal},
                      ScenarioCase{"CLOSED", true, kLocal}, ScenarioCase{"UNKNOWNCA", true, kLocal},
                      ScenarioCase{"MISNAMED", true, kLocal}, ScenarioCase{"SCRIPT", false, kLocal},
                      ScenarioCase{"INSECURE", true, kLocal}),
    [](const ::testing::TestParamInfo<ScenarioCase>& info) {
      return std::string(info.param.scenario) + (info.param.trustTestCa ? "" : "_SystemCasOnly");
    });

TEST(Nginx, BodyAtTheLimitIsKept) {
  Click click("LIMIT");
  const Text text = click.lookups.PublicAddressText();
  EXPECT_EQ(text.size(), static_cast<std::size_t>(QtHttpClient::kBodyLimit));
  EXPECT_TRUE(text.starts_with(u"1.2.3.4x"));
  EXPECT_TRUE(click.sockets.calls.empty());
}

TEST(Nginx, CommaInTheNumberIsServed) {
  Click click("SCRIPT");
  QtHttpClient client(TestCa());
  EXPECT_EQ(FetchUrlText(client, ScriptUrl(Host("SCRIPT"), 12346.6789, u','), click.runtime),
            u"127.0.0.1");
}

TEST(Nginx, SlowAnswerArrivesWhileEventsKeepBeingProcessed) {
  Click click("SLOW");
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(click.lookups.PublicAddressText(), u"203.0.113.9");
  EXPECT_GE(clock.elapsed(), 2000);
  // Each pass waits at most briefly for an event, so seconds of waiting take many passes.
  EXPECT_GE(click.runtime.passes, 20);
  EXPECT_TRUE(click.sockets.calls.empty());
}

TEST(Nginx, ClosedWindowEndsThePendingRequest) {
  Click click("SLOW");
  click.runtime.unloadOnPass = 5;
  EXPECT_THROW(click.lookups.PublicAddressText(), FormUnloaded);
  EXPECT_TRUE(click.sockets.calls.empty());
  // Nothing of the dropped request may reach the loop later.
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 200) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
}

}  // namespace
}  // namespace maskora

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
