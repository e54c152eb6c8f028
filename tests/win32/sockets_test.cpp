// SPDX-License-Identifier: MIT
// Windows Sockets 1.1 as the platform (here Wine) answers the local lookup's calls.
#include <array>
#include <string>

#include <gtest/gtest.h>

#include "core/text.h"
#include "sources/local_lookup.h"
#include "sources/win32/win32_sockets.h"
#include "tests/window/stand_ins.h"

namespace maskora {
namespace {

constexpr int kWsaEFault = 10014;
constexpr int kWsaNotInitialised = 10093;

TEST(Win32Sockets, StartsVersionOneOneAndCleansUp) {
  Win32Sockets sockets;
  SocketsData data;
  ASSERT_EQ(sockets.Startup(kRequestedSocketsVersion, data), 0);
  EXPECT_EQ(LowByteOf(data.wVersion), 1);
  EXPECT_EQ(HighByteOf(data.wVersion), 1);
  EXPECT_GE(data.iMaxSockets, 1);
  EXPECT_EQ(sockets.Cleanup(), 0);
}

TEST(Win32Sockets, FailuresCarryTheLibrarysCodes) {
  Win32Sockets sockets;
  EXPECT_EQ(sockets.Cleanup(), -1);
  EXPECT_EQ(sockets.LastError(), kWsaNotInitialised);

  SocketsData data;
  ASSERT_EQ(sockets.Startup(kRequestedSocketsVersion, data), 0);
  std::array<char, 1> tooSmall{};
  EXPECT_EQ(sockets.GetHostName(tooSmall), -1);
  EXPECT_EQ(sockets.LastError(), kWsaEFault);
  EXPECT_EQ(sockets.Cleanup(), 0);
}

TEST(Win32Sockets, ResolvesLocalhostToLoopback) {
  Win32Sockets sockets;
  SocketsData data;
  ASSERT_EQ(sockets.Startup(kRequestedSocketsVersion, data), 0);
  const auto addresses = sockets.GetHostByName("localhost");
  ASSERT_TRUE(addresses.has_value());
  ASSERT_FALSE(addresses->empty());
  EXPECT_EQ(addresses->front(), (AddressBytes{127, 0, 0, 1}));
  EXPECT_EQ(sockets.Cleanup(), 0);
}

TEST(Win32Sockets, LookupGivesTheFirstAddressOfTheHostName) {
  Win32Sockets sockets;
  testing::RecordingBoxes boxes;
  const Text text = LookupLocalAddress(sockets, boxes);
  EXPECT_TRUE(boxes.shown.empty());
  const auto parts = SplitAtDots(std::u16string_view(text));
  ASSERT_EQ(parts.size(), 4u) << Narrow(text);

  // The same answer, asked directly.
  SocketsData data;
  ASSERT_EQ(sockets.Startup(kRequestedSocketsVersion, data), 0);
  std::array<char, 256> name{};
  ASSERT_EQ(sockets.GetHostName(name), 0);
  const auto addresses = sockets.GetHostByName(name.data());
  sockets.Cleanup();
  ASSERT_TRUE(addresses && !addresses->empty());
  std::string dotted;
  for (const std::uint8_t b : addresses->front()) {
    dotted += (dotted.empty() ? "" : ".") + std::to_string(b);
  }
  EXPECT_EQ(Narrow(text), dotted);
}

}  // namespace
}  // namespace maskora
