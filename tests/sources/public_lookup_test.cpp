// SPDX-License-Identifier: MIT
#include "sources/public_lookup.h"

#include <deque>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <iconv.h>

#include "sources/address_lookups.h"
#include "tests/sources/fakes.h"

namespace maskora {
namespace {

using testing::Bytes;
using testing::ClientLog;
using testing::ClientScript;
using testing::FakeClientFactory;
using testing::FakeHttpClient;
using testing::FakeRuntime;
using testing::FakeSockets;
using testing::RecordingBoxes;

constexpr char16_t kUrl[] = u"https://ip.test/homepage/zurarudo/scriptremoteip.asp?Rnd=1";

struct FetchCase {
  const char* name;
  // The start mark's reading, then two readings per pass.
  std::deque<double> times;
  ClientScript script;
  Text result;
  int passes;
  int readyStateReads;
};

void PrintTo(const FetchCase& c, std::ostream* out) {
  *out << c.name;
}

class FetchTest : public ::testing::TestWithParam<FetchCase> {};

TEST_P(FetchTest, WaitsWithinTheLimit) {
  const FetchCase& c = GetParam();
  FakeRuntime runtime;
  runtime.times = c.times;
  ClientLog log;
  FakeHttpClient client(c.script, log);
  EXPECT_EQ(FetchUrlText(client, kUrl, runtime), c.result);
  EXPECT_EQ(runtime.passes, c.passes);
  EXPECT_EQ(runtime.clockReads, 1 + 2 * c.passes);
  EXPECT_EQ(log.readyStateReads, c.readyStateReads);
  EXPECT_EQ(log.aborts, 1);
  EXPECT_EQ(log.calls.back(), "Abort");
  EXPECT_EQ(log.url, kUrl);
}

ClientScript Completes(int onRead, std::string_view body = "203.0.113.7") {
  ClientScript script;
  script.completeOnRead = onRead;
  script.body = Bytes(body);
  return script;
}

// A client that completes at once but throws from the given member.
ClientScript Throws(bool ClientScript::*member) {
  ClientScript script = Completes(1);
  script.*member = true;
  return script;
}

INSTANTIATE_TEST_SUITE_P(
    Waits, FetchTest,
    ::testing::Values(
        FetchCase{"AlreadyComplete", {1000}, Completes(1), u"203.0.113.7", 0, 1},
        FetchCase{"After119Seconds", {1000, 1119, 1119}, Completes(2), u"203.0.113.7", 1, 2},
        FetchCase{
            "Exactly120SecondsIsWithin", {1000, 1120, 1120}, Completes(2), u"203.0.113.7", 1, 2},
        FetchCase{"JustOver120GivesUp", {1000, 1100, 1120.001, 1121}, Completes(0), u"", 1, 2},
        FetchCase{"CompleteOnTheReadAfterTheLimitStillGivesUp",
                  {1000, 1121, 1121},
                  Completes(2),
                  u"",
                  1,
                  2},
        FetchCase{"SecondReadingDecides", {1000, 1100, 1121}, Completes(0), u"", 1, 2},
        FetchCase{"AcrossMidnight",
                  {86390, 86399, 86399, 5, 5, 10, 10},
                  Completes(4),
                  u"203.0.113.7",
                  3,
                  4},
        FetchCase{
            "AcrossMidnightTooLong", {86390, 86399, 86399, 111, 111}, Completes(0), u"", 2, 3},
        FetchCase{"ClockStepsBackLessThanTheTolerance",
                  {1000.4, 999.2, 999.2},
                  Completes(2),
                  u"203.0.113.7",
                  1,
                  2},
        FetchCase{
            "ClockStepsBackMoreThanTheTolerance", {1000.4, 998.9, 998.9}, Completes(0), u"", 1, 2},
        FetchCase{"StartHalfRoundsDownToEven", {10.5, 130.6, 130.6}, Completes(2), u"", 1, 2},
        FetchCase{
            "StartHalfRoundsUpToEven", {11.5, 131.5, 131.5}, Completes(2), u"203.0.113.7", 1, 2},
        FetchCase{"EmptyBody", {1000}, Completes(1, ""), u"", 0, 1},
        FetchCase{
            "BodyWithLineBreak", {1000}, Completes(1, "203.0.113.7\r\n"), u"203.0.113.7\r\n", 0, 1},
        FetchCase{
            "BodyFromCodePage", {1000}, Completes(1, "\x80\xe8\x81"), u"\u20AC\u00E8\u0081", 0, 1},
        FetchCase{"OpenRefusesTheUrl", {1000}, Throws(&ClientScript::openThrows), u"", 0, 0},
        FetchCase{"SendFails", {1000}, Throws(&ClientScript::sendThrows), u"", 0, 0},
        FetchCase{"ReadyStateFails", {1000}, Throws(&ClientScript::readyStateThrows), u"", 0, 1},
        FetchCase{"BodyFails", {1000}, Throws(&ClientScript::bodyThrows), u"", 0, 1}),
    [](const ::testing::TestParamInfo<FetchCase>& info) { return info.param.name; });

TEST(Fetch, OpensBeforeSendingAndReadsTheBodyOnce) {
  FakeRuntime runtime;
  ClientLog log;
  FakeHttpClient client(Completes(3), log);
  runtime.times = {5, 6, 6, 7, 7};
  EXPECT_EQ(FetchUrlText(client, kUrl, runtime), u"203.0.113.7");
  EXPECT_EQ(log.calls, (std::vector<std::string>{"Open", "Send", "ResponseBody", "Abort"}));
}

TEST(Fetch, ClosedWindowUnwindsAfterAborting) {
  FakeRuntime runtime;
  runtime.times = {1000, 1001, 1001};
  runtime.onPass = [](int pass) {
    if (pass == 2) {
      throw FormUnloaded{};
    }
  };
  ClientLog log;
  FakeHttpClient client(Completes(0), log);
  EXPECT_THROW(FetchUrlText(client, kUrl, runtime), FormUnloaded);
  EXPECT_EQ(log.calls, (std::vector<std::string>{"Open", "Send", "Abort"}));
  EXPECT_EQ(runtime.passes, 2);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  const std::vector<std::pair<double, double>> cases = {
      {10.5, 10},       {11.5, 12},  {0.5, 0},          {1.5, 2},
      {2.5, 2},         {2.4999, 2}, {2.5001, 3},       {86399.5, 86400},
      {86398.5, 86398}, {0, 0},      {43200.25, 43200}, {43200.75, 43201}};
  for (const auto& [value, rounded] : cases) {
    EXPECT_EQ(RoundHalfEven(value), rounded) << value;
  }
}

TEST(DoubleText, FifteenSignificantDigitsWithTheUsersSeparator) {
  struct Case {
    double value;
    char16_t separator;
    const char16_t* text;
  };
  const Case cases[] = {
      {0.5 * 100000 + 1, u',', u"50001"},
      {0 * 100000 + 1, u',', u"1"},
      {0.123456789 * 100000 + 1, u',', u"12346,6789"},
      {0.123456789 * 100000 + 1, u'.', u"12346.6789"},
      {12345.678901234567, u'.', u"12345.6789012346"},
      {100000.99999999999, u'.', u"100001"},
      {1.25, u',', u"1,25"},
      {99999.999999999, u'.', u"99999.999999999"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DoubleText(c.value, c.separator), c.text) << c.value;
  }
}

// The system's own converter is the reference for every byte that the code page defines.
TEST(Windows1252, MatchesTheSystemConverter) {
  iconv_t converter = iconv_open("UTF-16LE", "CP1252");
  ASSERT_NE(converter, reinterpret_cast<iconv_t>(-1));
  const std::vector<int> undefined = {0x81, 0x8D, 0x8F, 0x90, 0x9D};
  for (int byte = 0; byte < 256; ++byte) {
    const std::uint8_t in[1] = {static_cast<std::uint8_t>(byte)};
    const Text text = Windows1252ToText(in);
    ASSERT_EQ(text.size(), 1U) << byte;
    if (std::find(undefined.begin(), undefined.end(), byte) != undefined.end()) {
      EXPECT_EQ(text[0], byte);
      continue;
    }
    char source = static_cast<char>(byte);
    char* sourcePtr = &source;
    std::size_t sourceLeft = 1;
    unsigned char target[4] = {};
    char* targetPtr = reinterpret_cast<char*>(target);
    std::size_t targetLeft = sizeof target;
    ASSERT_NE(iconv(converter, &sourcePtr, &sourceLeft, &targetPtr, &targetLeft),
              static_cast<std::size_t>(-1))
        << byte;
    EXPECT_EQ(text[0], static_cast<char16_t>(target[0] | (target[1] << 8))) << byte;
  }
  iconv_close(converter);
}

TEST(Windows1252, KeepsEveryByteInOrder) {
  const std::uint8_t bytes[] = {'1', 0, '.', 0x80, '\n', 0xFF};
  EXPECT_EQ(Windows1252ToText(bytes), Text(u"1\0.\u20AC\n\u00FF", 6));
  EXPECT_EQ(Windows1252ToText({}), u"");
}

struct Click {
  FakeSockets sockets;
  RecordingBoxes boxes;
  FakeRuntime runtime;
  FakeClientFactory clients;
  AddressLookups lookups{sockets, runtime, clients, u"ip.test"};
};

TEST(PublicAddress, UsesTheBodyWithoutTheLocalLookup) {
  Click click;
  click.runtime.rnd = 0.5;
  click.runtime.separator = u',';
  click.clients.script = Completes(1);
  EXPECT_EQ(click.lookups.PublicAddressText(click.boxes), u"203.0.113.7");
  ASSERT_EQ(click.clients.logs.size(), 1U);
  EXPECT_EQ(click.clients.logs[0]->url,
            u"https://ip.test/homepage/zurarudo/scriptremoteip.asp?Rnd=50001");
  EXPECT_TRUE(click.sockets.calls.empty());
}

TEST(PublicAddress, FallsBackToTheLocalAddressWhenTheRequestGivesNothing) {
  struct Case {
    const char* name;
    ClientScript script;
    std::deque<double> times;
  };
  const Case cases[] = {
      {"empty body", Completes(1, ""), {0}},
      {"time limit", Completes(0), {0, 60, 60, 121, 121}},
      {"refused URL", Throws(&ClientScript::openThrows), {0}},
      {"failed request", Throws(&ClientScript::bodyThrows), {0}},
  };
  for (const Case& c : cases) {
    Click click;
    click.clients.script = c.script;
    click.runtime.times = c.times;
    EXPECT_EQ(click.lookups.PublicAddressText(click.boxes), u"10.9.8.7") << c.name;
    EXPECT_EQ(click.clients.logs.at(0)->aborts, 1) << c.name;
    EXPECT_EQ(click.sockets.calls.size(), 4U) << c.name;
    EXPECT_TRUE(click.boxes.shown.empty()) << c.name;
  }
}

TEST(PublicAddress, FailedFallbackShowsTheSocketsBox) {
  Click click;
  click.clients.script = Completes(1, "");
  click.sockets.startupResult = 1;
  EXPECT_EQ(click.lookups.PublicAddressText(click.boxes), u"");
  ASSERT_EQ(click.boxes.shown.size(), 1U);
  EXPECT_EQ(click.boxes.shown[0].icon, MessageIcon::None);
}

TEST(PublicAddress, ClosedWindowGetsNoLocalLookup) {
  Click click;
  click.clients.script = Completes(0);
  click.runtime.onPass = [](int) { throw FormUnloaded{}; };
  EXPECT_THROW(click.lookups.PublicAddressText(click.boxes), FormUnloaded);
  EXPECT_EQ(click.clients.logs.at(0)->aborts, 1);
  EXPECT_TRUE(click.sockets.calls.empty());
}

TEST(PublicAddress, EachClickHasItsOwnClientAndNumber) {
  Click click;
  click.clients.script = Completes(1);
  click.runtime.rnd = 0;
  click.lookups.PublicAddressText(click.boxes);
  click.runtime.rnd = 0.123456789;
  click.lookups.PublicAddressText(click.boxes);
  ASSERT_EQ(click.clients.logs.size(), 2U);
  EXPECT_TRUE(click.clients.logs[0]->url.ends_with(u"?Rnd=1"));
  EXPECT_TRUE(click.clients.logs[1]->url.ends_with(u"?Rnd=12346.6789"));
}

TEST(PublicAddress, EndpointSwitchedOffGivesTheLocalAddressWithoutARequest) {
  FakeSockets sockets;
  RecordingBoxes boxes;
  FakeRuntime runtime;
  FakeClientFactory clients;
  AddressLookups lookups{sockets, runtime, clients, u""};
  EXPECT_EQ(lookups.PublicAddressText(boxes), u"10.9.8.7");
  EXPECT_TRUE(clients.logs.empty());
  EXPECT_EQ(runtime.passes, 0);
}

}  // namespace
}  // namespace maskora
