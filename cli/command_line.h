// SPDX-License-Identifier: MIT
// The program's command line: an address to open the window with, or an answer without a
// window, for one address, a stream of them, the subnets of a network or the blocks of a range.
#pragma once

#include <cstddef>
#include <cstdint>
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
  Answer,  // without a window: see CommandLine's source and form
  Error,   // a one-line message for standard error; exit status 2
};

// What an answer is about.
enum class AnswerSource {
  Address,        // the one address of the command line
  StandardInput,  // one address a line ("-")
  Split,          // every subnet of a prefix length inside the network (--split)
  Range,          // the fewest blocks that cover a range of addresses (--range)
};

// How each address or network of an answer is written.
enum class AnswerForm {
  Results,  // the six results, labelled as the window labels them (--print)
  Json,     // one JSON object on a line (--json)
  Network,  // "network/prefix", the default of --split and --range
};

struct CommandLine {
  CommandAction action = CommandAction::OpenWindow;
  AnswerSource source = AnswerSource::Address;
  AnswerForm form = AnswerForm::Results;
  std::optional<AddressEntry> address;  // of the window, of Address and of Split
  int splitPrefix = 0;                  // of Split
  std::uint32_t first = 0;              // of Range, both ends included
  std::uint32_t last = 0;
  std::string error;
};

// Reads the arguments after the program's name.
CommandLine ReadCommandLine(std::span<const std::string_view> arguments);

// What --help and --version print, each ending in a line break.
std::string HelpText();
std::string VersionText();

// A text from the user as an error message shows it: between quotes, on one line, at most
// limit characters followed by "…" when it is longer; control characters, invisible
// direction marks and bytes that are not UTF-8 are written as escapes ("\x1b", "\u202e").
std::string Quoted(std::string_view text, std::size_t limit = 60);

inline constexpr int kUsageError = 2;

}  // namespace maskora
