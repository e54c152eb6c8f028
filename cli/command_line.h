// SPDX-License-Identifier: MIT
// The program's command line: an address to open the window with, or the results printed for
// scripts without a window.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "address/address.h"

namespace maskora {

enum class CommandAction {
  OpenWindow,  // with the address, when one was given
  Help,
  Version,
  Print,  // the six results, labelled as the window labels them
  PrintJson,
  Error,  // a one-line message for standard error; exit status 2
};

struct CommandLine {
  CommandAction action = CommandAction::OpenWindow;
  std::optional<AddressEntry> address;
  std::string error;
};

// Reads the arguments after the program's name.
CommandLine ReadCommandLine(std::span<const std::string_view> arguments);

// What --help and --version print, each ending in a line break.
std::string HelpText();
std::string VersionText();

inline constexpr int kUsageError = 2;

}  // namespace maskora
