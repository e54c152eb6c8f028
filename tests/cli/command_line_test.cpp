// SPDX-License-Identifier: MIT
// The command line: what each form of it asks for, and what --print and --json write.
#include "cli/command_line.h"

#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "cli/printed_results.h"
#include "core/version.h"

namespace maskora {
namespace {

TEST(CommandLine, EachFormAsksForItsAction) {
  using A = CommandAction;
  const struct {
    std::vector<std::string_view> arguments;
    A action;
    std::optional<AddressEntry> address;
  } cases[] = {
      {{}, A::OpenWindow, {}},
      {{"10.1.2.3/8"}, A::OpenWindow, AddressEntry{{10, 1, 2, 3}, 24}},
      {{"10.1.2.3", "255.255.0.0"}, A::OpenWindow, AddressEntry{{10, 1, 2, 3}, 16}},
      {{"10.1.2.3 255.255.0.0"}, A::OpenWindow, AddressEntry{{10, 1, 2, 3}, 16}},
      {{"192.168.1.10"}, A::OpenWindow, AddressEntry{{192, 168, 1, 10}, {}}},
      {{"--print", "10.1.2.3/8"}, A::Print, AddressEntry{{10, 1, 2, 3}, 24}},
      {{"10.1.2.3/8", "--print"}, A::Print, AddressEntry{{10, 1, 2, 3}, 24}},
      {{"--print", "--json", "10.1.2.3/8"}, A::PrintJson, AddressEntry{{10, 1, 2, 3}, 24}},
      {{"--json", "10.1.2.3/8"}, A::PrintJson, AddressEntry{{10, 1, 2, 3}, 24}},
      {{"--help"}, A::Help, {}},
      {{"-h", "bad"}, A::Help, {}},
      {{"--version"}, A::Version, {}},
      {{"--", "10.1.2.3"}, A::OpenWindow, AddressEntry{{10, 1, 2, 3}, {}}},
      {{"--bogus"}, A::Error, {}},
      {{"--print"}, A::Error, {}},
      {{"10.1.2.300"}, A::Error, {}},
      {{"10.1.2.3/33"}, A::Error, {}},
      {{"1.2.3"}, A::Error, {}},
      {{"10.1.2.3", "8", "9"}, A::Error, {}},
  };
  for (const auto& c : cases) {
    const CommandLine line = ReadCommandLine(c.arguments);
    const std::string label = c.arguments.empty() ? "(none)" : std::string(c.arguments[0]);
    EXPECT_EQ(line.action, c.action) << label;
    EXPECT_EQ(line.address, c.address) << label;
    EXPECT_EQ(line.error.empty(), c.action != A::Error) << label;
    EXPECT_EQ(line.error.find('\n'), std::string::npos) << label;
  }
}

TEST(CommandLine, PrintsTheResultsAsTheWindowLabelsThem) {
  EXPECT_EQ(PrintedResults({{10, 1, 2, 3}, 24}, false),
            "Stato IP:       Valido\n"
            "Tipo indirizzo: Privato\n"
            "Classe rete:    A - ( 8 ) 255.0.0.0\n"
            "Broadcast:      10.255.255.255\n"
            "Hosts:          16.777.214\n"
            "Network:        10.0.0.0\n");
  // Without a mask, the one the window opens on.
  EXPECT_EQ(PrintedResults({{192, 168, 1, 0}, {}}, true),
            "{\"address\":\"192.168.1.0\",\"prefix\":24,\"mask\":\"255.255.255.0\","
            "\"status\":\"NON VALIDO: IP = Network!\",\"type\":\"Privato\","
            "\"class\":\"C - (24) 255.255.255.0\",\"broadcast\":\"192.168.1.255\","
            "\"hosts\":\"254\",\"network\":\"192.168.1.0\"}\n");
  EXPECT_EQ(PrintedResults({{8, 8, 8, 8}, 0}, true).substr(0, 67),
            "{\"address\":\"8.8.8.8\",\"prefix\":32,\"mask\":\"255.255.255.255\",\"status\":");
  EXPECT_EQ(VersionText(), std::string("maskora ") + kVersion + "\n");
}

}  // namespace
}  // namespace maskora
