// SPDX-License-Identifier: MIT
// The command line: what each form of it asks for, and how a message shows what the user gave.
#include "cli/command_line.h"

#include <string_view>
#include <vector>

#include <gtest/gtest.h>

namespace maskora {
namespace {

TEST(CommandLine, EachFormAsksForItsAction) {
  using A = CommandAction;
  using S = AnswerSource;
  using F = AnswerForm;
  const struct {
    std::vector<std::string_view> arguments;
    A action;
    S source;
    F form;
    std::optional<AddressEntry> address;
  } cases[] = {
      {{}, A::OpenWindow, S::Address, F::Network, {}},
      {{"10.1.2.3/8"}, A::OpenWindow, S::Address, F::Network, AddressEntry{{10, 1, 2, 3}, 24}},
      {{"10.1.2.3", "255.255.0.0"},
       A::OpenWindow,
       S::Address,
       F::Network,
       AddressEntry{{10, 1, 2, 3}, 16}},
      {{"--print", "10.1.2.3/8"},
       A::Answer,
       S::Address,
       F::Results,
       AddressEntry{{10, 1, 2, 3}, 24}},
      {{"10.1.2.3/8", "--print"},
       A::Answer,
       S::Address,
       F::Results,
       AddressEntry{{10, 1, 2, 3}, 24}},
      {{"--print", "--json", "192.168.1.10"},
       A::Answer,
       S::Address,
       F::Json,
       AddressEntry{{192, 168, 1, 10}, {}}},
      {{"--json", "-"}, A::Answer, S::StandardInput, F::Json, {}},
      {{"--print", "-"}, A::Answer, S::StandardInput, F::Results, {}},
      {{"--split", "26", "10.0.0.0/24"},
       A::Answer,
       S::Split,
       F::Network,
       AddressEntry{{10, 0, 0, 0}, 8}},
      {{"--split=24", "--json", "10.0.0.0/24"},
       A::Answer,
       S::Split,
       F::Json,
       AddressEntry{{10, 0, 0, 0}, 8}},
      {{"--range", "10.0.0.1-10.0.0.6"}, A::Answer, S::Range, F::Network, {}},
      {{"--range", "10.0.0.1", "10.0.0.6"}, A::Answer, S::Range, F::Network, {}},
      {{"--range", "--print", "10.0.0.1 - 10.0.0.1"}, A::Answer, S::Range, F::Results, {}},
      {{"--help"}, A::Help, S::Address, F::Results, {}},
      {{"-h", "bad"}, A::Help, S::Address, F::Results, {}},
      {{"/?"}, A::Help, S::Address, F::Results, {}},
      {{"--version"}, A::Version, S::Address, F::Results, {}},
      {{"--", "10.1.2.3"}, A::OpenWindow, S::Address, F::Network, AddressEntry{{10, 1, 2, 3}, {}}},
  };
  for (const auto& c : cases) {
    const CommandLine line = ReadCommandLine(c.arguments);
    const std::string label = c.arguments.empty() ? "(none)" : std::string(c.arguments[0]);
    EXPECT_EQ(line.action, c.action) << label << " " << line.error;
    if (c.action == A::Answer) {
      EXPECT_EQ(line.source, c.source) << label;
      EXPECT_EQ(line.form, c.form) << label;
    }
    EXPECT_EQ(line.address, c.address) << label;
  }
  const CommandLine range =
      ReadCommandLine(std::vector<std::string_view>{"--range", "0.0.0.0-255.255.255.255"});
  EXPECT_EQ(range.first, 0u);
  EXPECT_EQ(range.last, 0xFFFFFFFFu);
  const CommandLine split =
      ReadCommandLine(std::vector<std::string_view>{"--split", "32", "10.1.2.3/30"});
  EXPECT_EQ(split.splitPrefix, 32);
}

TEST(CommandLine, UsageErrorsAreOneLineThatSaysWhy) {
  const struct {
    std::vector<std::string_view> arguments;
    std::string_view says;
  } cases[] = {
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"--print"}, "--print and --json need an address"},
      {{"10.1.2.300"}, "not an IPv4 address"},
      {{"10.1.2.3/33"}, "not an IPv4 address"},
      {{"10.1.2.3", "8", "9"}, "not an IPv4 address"},
      {{"-"}, "\"-\" needs --print or --json"},
      {{"--json", "-", "10.1.2.3"}, "takes nothing else"},
      {{"--split", "7", "10.0.0.0/8"}, "--split 7 is shorter than the network's /8"},
      {{"--split", "33", "10.0.0.0/8"}, "from 0 to 32, not '33'"},
      {{"--split", "-1", "10.0.0.0/8"}, "from 0 to 32, not '-1'"},
      {{"--split", "24", "10.0.0.0"}, "needs a network with its prefix"},
      {{"--split"}, "--split needs a prefix length"},
      {{"--range", "10.0.0.6-10.0.0.1"}, "ends before it starts"},
      {{"--range", "10.0.0.1"}, "--range needs two addresses"},
      {{"--range", "10.0.0.0/8-10.0.0.9"}, "--range needs two addresses"},
      {{"--split", "24", "--range", "10.0.0.0/8"}, "can't be used together"},
  };
  for (const auto& c : cases) {
    const CommandLine line = ReadCommandLine(c.arguments);
    EXPECT_EQ(line.action, CommandAction::Error) << c.says;
    EXPECT_NE(line.error.find(c.says), std::string::npos) << line.error;
    EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
  }
}

TEST(CommandLine, MessagesShowWhatTheUserGaveOnOneSafeLine) {
  const struct {
    std::string_view given;
    std::string_view shown;
  } cases[] = {
      {"10.1.2", "'10.1.2'"},
      {"\x1b]0;x\a", "'\\x1b]0;x\\x07'"},
      {"a\nb", "'a\\x0ab'"},
      {"\xC2\x9B"
       "2J",
       "'\\x9b2J'"},  // the terminal's one-byte CSI
      {"caf\xC3\xA9 \xE2\x80\xAE"
       "x",
       "'caf\xC3\xA9 \\u202ex'"},    // a right-to-left override
      {"\xFF\xC3", "'\\xff\\xc3'"},  // no UTF-8
      {"a\\b", "'a\\\\b'"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Quoted(c.given), c.shown);
  }
  EXPECT_EQ(Quoted(std::string(1'000'000, '9')), "'" + std::string(60, '9') + "'\xE2\x80\xA6");
  EXPECT_EQ(Quoted(std::string(60, 'x')), "'" + std::string(60, 'x') + "'");
  EXPECT_EQ(Quoted("\xC3\xA9\xC3\xA9\xC3\xA9", 2), "'\xC3\xA9\xC3\xA9'\xE2\x80\xA6");
}

}  // namespace
}  // namespace maskora
