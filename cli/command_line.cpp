// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include "core/version.h"

namespace maskora {

CommandLine ReadCommandLine(std::span<const std::string_view> arguments) {
  CommandLine line;
  bool print = false;
  bool json = false;
  bool options = true;
  std::string address;
  for (const std::string_view argument : arguments) {
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h")) {
      return {CommandAction::Help, std::nullopt, {}};
    } else if (options && argument == "--version") {
      return {CommandAction::Version, std::nullopt, {}};
    } else if (options && argument == "--print") {
      print = true;
    } else if (options && argument == "--json") {
      json = true;
    } else if (options && argument.size() > 1 && argument.front() == '-') {
      line.action = CommandAction::Error;
      line.error = "maskora: unknown option '" + std::string(argument) + "' (see maskora --help)";
      return line;
    } else {
      if (!address.empty()) {
        address += ' ';
      }
      address += argument;
    }
  }
  if (!address.empty()) {
    const AddressReading reading = ReadAddressText(address);
    if (reading.kind != AddressTextKind::Address) {
      line.action = CommandAction::Error;
      line.error = "maskora: not an IPv4 address with an optional prefix or mask: '" + address +
                   "' (see maskora --help)";
      return line;
    }
    line.address = reading.entry;
  }
  if ((print || json) && !line.address) {
    line.action = CommandAction::Error;
    line.error = "maskora: --print and --json need an address (see maskora --help)";
    return line;
  }
  line.action = json    ? CommandAction::PrintJson
                : print ? CommandAction::Print
                        : CommandAction::OpenWindow;
  return line;
}

std::string HelpText() {
  return "Usage: maskora [ADDRESS]\n"
         "       maskora --print [--json] ADDRESS\n"
         "An IPv4 subnet calculator: opens its window, with ADDRESS filled in when given.\n"
         "\n"
         "ADDRESS is an IPv4 address with an optional prefix or mask, as in 192.168.1.10,\n"
         "10.1.2.3/8, 10.1.2.3/255.0.0.0 or \"10.1.2.3 255.0.0.0\".\n"
         "\n"
         "  --print     print the results instead of opening the window\n"
         "  --json      print them as one JSON object, for scripts\n"
         "  --help      show this help and exit\n"
         "  --version   show the version and exit\n";
}

std::string VersionText() {
  return std::string("maskora ") + kVersion + "\n";
}

}  // namespace maskora
