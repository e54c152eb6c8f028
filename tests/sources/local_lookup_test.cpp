// SPDX-License-Identifier: MIT
#include "sources/local_lookup.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/sources/fakes.h"

namespace maskora {
namespace {

using testing::FakeSockets;
using testing::RecordingBoxes;
using testing::ShownBox;

constexpr char16_t kNotResponding[] =
    u"Windows Sockets for 32 bit Windows environments is not successfully responding.";
constexpr char16_t kNoName[] =
    u"Windows Sockets are not responding. Unable to successfully get Host Name.";
const std::vector<std::string> kFullLookup = {"Startup(257)", "GetHostName(256)",
                                              "GetHostByName(desk)", "Cleanup"};
const std::vector<std::string> kRejectedStartup = {"Startup(257)", "Cleanup"};

ShownBox Exclaim(const Text& text) {
  return {text, MessageIcon::Exclamation, {}};
}

Text VersionBox(const char16_t* version) {
  return Text(u"Windows Sockets Version ") + version +
         u" is not supported by Windows Sockets for 32 bit Windows environments.";
}

struct LookupCase {
  const char* name;
  std::function<void(FakeSockets&)> setup;
  Text result;
  std::vector<ShownBox> boxes;
  std::vector<std::string> calls;
};

void PrintTo(const LookupCase& c, std::ostream* out) {
  *out << c.name;
}

class LookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupTest, ResultBoxesAndCalls) {
  const LookupCase& c = GetParam();
  FakeSockets sockets;
  c.setup(sockets);
  RecordingBoxes boxes;
  EXPECT_EQ(LookupLocalAddress(sockets, boxes), c.result);
  EXPECT_EQ(boxes.shown, c.boxes);
  EXPECT_EQ(sockets.calls, c.calls);
}

const std::vector<ShownBox> kNoBoxes;

INSTANTIATE_TEST_SUITE_P(
    Lookups, LookupTest,
    ::testing::Values(
        LookupCase{"Version11", [](FakeSockets&) {}, u"10.9.8.7", kNoBoxes, kFullLookup},
        LookupCase{"Version12", [](FakeSockets& s) { s.data.wVersion = 0x0201; }, u"10.9.8.7",
                   kNoBoxes, kFullLookup},
        LookupCase{"Version20", [](FakeSockets& s) { s.data.wVersion = 0x0002; }, u"10.9.8.7",
                   kNoBoxes, kFullLookup},
        LookupCase{"Version22", [](FakeSockets& s) { s.data.wVersion = 0x0202; }, u"10.9.8.7",
                   kNoBoxes, kFullLookup},
        LookupCase{"Version10",
                   [](FakeSockets& s) { s.data.wVersion = 0x0001; },
                   u"",
                   {Exclaim(VersionBox(u"1.0"))},
                   kRejectedStartup},
        LookupCase{"Version09",
                   [](FakeSockets& s) { s.data.wVersion = 0x0900; },
                   u"",
                   {Exclaim(VersionBox(u"0.9"))},
                   kRejectedStartup},
        LookupCase{"Version10CleanupFails",
                   [](FakeSockets& s) {
                     s.data.wVersion = 0x0001;
                     s.cleanupResult = -1;
                   },
                   u"",
                   {Exclaim(VersionBox(u"1.0")),
                    Exclaim(u"Windows Sockets error -1 occurred in Cleanup.")},
                   kRejectedStartup},
        LookupCase{"NoSockets",
                   [](FakeSockets& s) { s.data.iMaxSockets = 0; },
                   u"",
                   {Exclaim(u"This application requires a minimum of 1 supported sockets.")},
                   kRejectedStartup},
        LookupCase{"OneSocket", [](FakeSockets& s) { s.data.iMaxSockets = 1; }, u"10.9.8.7",
                   kNoBoxes, kFullLookup},
        LookupCase{"ManySockets", [](FakeSockets& s) { s.data.iMaxSockets = 32768; }, u"10.9.8.7",
                   kNoBoxes, kFullLookup},
        LookupCase{"StartupCallFails",
                   [](FakeSockets& s) { s.startupResult = 10091; },
                   u"",
                   {{kNotResponding, MessageIcon::None, {}}},
                   {"Startup(257)"}},
        LookupCase{"HostNameFails",
                   [](FakeSockets& s) {
                     s.hostNameResult = -1;
                     s.lastError = 10093;
                   },
                   u"Windows Sockets error 10093 has occurred. Unable to successfully get Host "
                   u"Name.",
                   kNoBoxes,
                   {"Startup(257)", "GetHostName(256)", "LastError", "Cleanup"}},
        LookupCase{"HostNameAndCleanupFail",
                   [](FakeSockets& s) {
                     s.hostNameResult = -1;
                     s.lastError = 10093;
                     s.cleanupResult = -1;
                   },
                   u"Windows Sockets error 10093 has occurred. Unable to successfully get Host "
                   u"Name.",
                   {Exclaim(u"Windows Sockets error -1 occurred in Cleanup.")},
                   {"Startup(257)", "GetHostName(256)", "LastError", "Cleanup"}},
        LookupCase{"CleanupFailsAfterSuccess",
                   [](FakeSockets& s) { s.cleanupResult = -1; },
                   u"10.9.8.7",
                   {Exclaim(u"Windows Sockets error -1 occurred in Cleanup.")},
                   kFullLookup},
        LookupCase{"ResolutionFails", [](FakeSockets& s) { s.addresses.reset(); }, kNoName,
                   kNoBoxes, kFullLookup},
        LookupCase{"ResolverListsNothing", [](FakeSockets& s) { s.addresses.emplace(); }, kNoName,
                   kNoBoxes, kFullLookup},
        LookupCase{"AnyAddress",
                   [](FakeSockets& s) {
                     s.addresses = {{{0, 0, 0, 0}}};
                   },
                   u"0.0.0.0", kNoBoxes, kFullLookup},
        LookupCase{"Loopback",
                   [](FakeSockets& s) {
                     s.addresses = {{{127, 0, 0, 1}}};
                   },
                   u"127.0.0.1", kNoBoxes, kFullLookup},
        LookupCase{"FirstOfSeveral",
                   [](FakeSockets& s) {
                     s.addresses = {{{192, 168, 1, 10}, {10, 0, 0, 1}, {255, 255, 255, 255}}};
                   },
                   u"192.168.1.10", kNoBoxes, kFullLookup},
        LookupCase{"LeadingSpacesOfTheName", [](FakeSockets& s) { s.hostName = "  desk"; },
                   u"10.9.8.7", kNoBoxes, kFullLookup},
        LookupCase{"NameFillsTheBuffer",
                   [](FakeSockets& s) { s.hostName = std::string(300, 'h'); },
                   u"10.9.8.7",
                   kNoBoxes,
                   {"Startup(257)", "GetHostName(256)",
                    "GetHostByName(" + std::string(256, 'h') + ")", "Cleanup"}}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return info.param.name; });

TEST(ByteOf, SplitsTheVersionWord) {
  struct Case {
    std::uint16_t value;
    unsigned low;
    unsigned high;
  };
  for (const Case c : {Case{0x0101, 1, 1}, Case{0x0201, 1, 2}, Case{0x0002, 2, 0},
                       Case{0xFF00, 0, 255}, Case{0x00FF, 255, 0}, Case{0xABCD, 0xCD, 0xAB}}) {
    EXPECT_EQ(LowByteOf(c.value), c.low) << c.value;
    EXPECT_EQ(HighByteOf(c.value), c.high) << c.value;
  }
}

}  // namespace
}  // namespace maskora
