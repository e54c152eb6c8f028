// SPDX-License-Identifier: MIT
// What the command line writes for one address: the window's results, JSON with the texts and
// the machine values, or the network alone; and the networks that --split and --range list.
#include "cli/answers.h"

#include <gtest/gtest.h>

#include "cli/subnets.h"

namespace maskora {
namespace {

TEST(Answer, PrintsTheResultsAsTheWindowLabelsThem) {
  EXPECT_EQ(Answer({{10, 1, 2, 3}, 24}, AnswerForm::Results),
            "Stato IP:       Valido\n"
            "Tipo indirizzo: Privato\n"
            "Classe rete:    A - ( 8 ) 255.0.0.0\n"
            "Broadcast:      10.255.255.255\n"
            "Hosts:          16.777.214\n"
            "Network:        10.0.0.0\n");
  EXPECT_EQ(Answer({{10, 1, 2, 3}, 24}, AnswerForm::Network), "10.0.0.0/8\n");
  EXPECT_EQ(Answer({{10, 1, 2, 3}, 32}, AnswerForm::Network), "0.0.0.0/0\n");
}

TEST(Answer, JsonKeepsTheWindowsTextsAndAddsMachineValues) {
  // Without a mask, the one the window opens on.
  EXPECT_EQ(Answer({{192, 168, 1, 0}, {}}, AnswerForm::Json),
            "{\"address\":\"192.168.1.0\",\"prefix\":24,\"mask\":\"255.255.255.0\","
            "\"status\":\"NON VALIDO: IP = Network!\",\"type\":\"Privato\","
            "\"class\":\"C - (24) 255.255.255.0\",\"broadcast\":\"192.168.1.255\","
            "\"hosts\":\"254\",\"network\":\"192.168.1.0\",\"addresses\":256,"
            "\"usable_hosts\":254,\"first_host\":\"192.168.1.1\",\"last_host\":\"192.168.1.254\","
            "\"wildcard\":\"0.0.0.255\"}\n");
  const struct {
    int hostBits;
    std::string_view values;
  } cases[] = {
      {32,
       "\"addresses\":4294967296,\"usable_hosts\":4294967294,\"first_host\":\"0.0.0.1\","
       "\"last_host\":\"255.255.255.254\",\"wildcard\":\"255.255.255.255\"}"},
      {31,
       "\"addresses\":2147483648,\"usable_hosts\":2147483646,\"first_host\":\"128.0.0.1\","
       "\"last_host\":\"255.255.255.254\",\"wildcard\":\"127.255.255.255\"}"},
      {2,
       "\"addresses\":4,\"usable_hosts\":2,\"first_host\":\"200.1.2.1\","
       "\"last_host\":\"200.1.2.2\",\"wildcard\":\"0.0.0.3\"}"},
      {1,  // a point-to-point link: both addresses are hosts
       "\"addresses\":2,\"usable_hosts\":2,\"first_host\":\"200.1.2.2\","
       "\"last_host\":\"200.1.2.3\",\"wildcard\":\"0.0.0.1\"}"},
      {0,
       "\"addresses\":1,\"usable_hosts\":1,\"first_host\":\"200.1.2.3\","
       "\"last_host\":\"200.1.2.3\",\"wildcard\":\"0.0.0.0\"}"},
  };
  for (const auto& c : cases) {
    const std::string json = Answer({{200, 1, 2, 3}, c.hostBits}, AnswerForm::Json);
    EXPECT_TRUE(json.ends_with(std::string(c.values) + "\n")) << json;
  }
}

std::vector<Block> Subnets(std::uint32_t address, int parent, int prefix, std::size_t most = 100) {
  std::vector<Block> blocks;
  ForEachSubnet(address, parent, prefix, [&](const Block& b) {
    blocks.push_back(b);
    return blocks.size() < most;
  });
  return blocks;
}

std::vector<Block> RangeBlocks(std::uint32_t first, std::uint32_t last) {
  std::vector<Block> blocks;
  ForEachRangeBlock(first, last, [&](const Block& b) {
    blocks.push_back(b);
    return true;
  });
  return blocks;
}

constexpr std::uint32_t Ip(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
  return a << 24 | b << 16 | c << 8 | d;
}

TEST(Subnets, SplitListsEverySubnetInOrderAndStopsWhenAsked) {
  EXPECT_EQ(Subnets(Ip(192, 168, 1, 77), 24, 26), (std::vector<Block>{{Ip(192, 168, 1, 0), 26},
                                                                      {Ip(192, 168, 1, 64), 26},
                                                                      {Ip(192, 168, 1, 128), 26},
                                                                      {Ip(192, 168, 1, 192), 26}}));
  EXPECT_EQ(Subnets(Ip(10, 0, 0, 1), 8, 8), (std::vector<Block>{{Ip(10, 0, 0, 0), 8}}));
  EXPECT_EQ(Subnets(Ip(255, 255, 255, 254), 31, 32),
            (std::vector<Block>{{Ip(255, 255, 255, 254), 32}, {Ip(255, 255, 255, 255), 32}}));
  // Four thousand million subnets: the first three at once, then it stops.
  EXPECT_EQ(Subnets(0, 0, 32, 3), (std::vector<Block>{{0, 32}, {1, 32}, {2, 32}}));
}

TEST(Subnets, RangeIsCoveredByTheFewestBlocks) {
  const struct {
    std::uint32_t first, last;
    std::vector<Block> blocks;
  } cases[] = {
      {Ip(10, 0, 0, 1),
       Ip(10, 0, 0, 6),
       {{Ip(10, 0, 0, 1), 32},
        {Ip(10, 0, 0, 2), 31},
        {Ip(10, 0, 0, 4), 31},
        {Ip(10, 0, 0, 6), 32}}},
      {Ip(10, 0, 0, 0), Ip(10, 0, 0, 255), {{Ip(10, 0, 0, 0), 24}}},
      {Ip(10, 0, 0, 5), Ip(10, 0, 0, 5), {{Ip(10, 0, 0, 5), 32}}},
      {0, 0xFFFFFFFF, {{0, 0}}},
      {0xFFFFFFFF, 0xFFFFFFFF, {{0xFFFFFFFF, 32}}},
      {Ip(128, 0, 0, 0), 0xFFFFFFFF, {{Ip(128, 0, 0, 0), 1}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RangeBlocks(c.first, c.last), c.blocks);
  }
  // The widest range short of everything: 31 growing blocks, then 31 shrinking ones.
  const std::vector<Block> widest = RangeBlocks(1, 0xFFFFFFFE);
  EXPECT_EQ(widest.size(), 62u);
  std::uint64_t next = 1;
  for (const Block& b : widest) {
    EXPECT_EQ(b.network, next);
    next += std::uint64_t{1} << (32 - b.prefix);
  }
  EXPECT_EQ(next, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace maskora
