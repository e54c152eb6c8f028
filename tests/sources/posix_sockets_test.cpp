// SPDX-License-Identifier: MIT
#include "sources/posix_sockets.h"

#include <array>
#include <cstring>

#include <gtest/gtest.h>
#include <unistd.h>

namespace maskora {
namespace {

TEST(PosixSockets, StartsAsVersion11WithSockets) {
  PosixSockets sockets;
  SocketsData data;
  EXPECT_EQ(sockets.Startup(257, data), 0);
  EXPECT_EQ(data.wVersion, 0x0101);
  EXPECT_GE(data.iMaxSockets, 1);
  EXPECT_EQ(sockets.Cleanup(), 0);
}

TEST(PosixSockets, HostNameEndsInNul) {
  PosixSockets sockets;
  std::array<char, 256> buffer;
  buffer.fill(' ');
  ASSERT_EQ(sockets.GetHostName(buffer), 0);
  std::array<char, 256> expected{};
  ASSERT_EQ(gethostname(expected.data(), expected.size()), 0);
  EXPECT_STREQ(buffer.data(), expected.data());
}

// Resolved from the hosts file, so no name server is asked.
TEST(PosixSockets, ResolvesLocalhostToIpv4Only) {
  PosixSockets sockets;
  const auto addresses = sockets.GetHostByName("localhost");
  ASSERT_TRUE(addresses.has_value());
  ASSERT_FALSE(addresses->empty());
  for (const AddressBytes& address : *addresses) {
    EXPECT_EQ(address.size(), 4U);
  }
  EXPECT_EQ(addresses->front(), (AddressBytes{127, 0, 0, 1}));
}

}  // namespace
}  // namespace maskora
