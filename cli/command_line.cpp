// SPDX-License-Identifier: MIT
#include "cli/command_line.h"

#include <charconv>

#include "core/text.h"
#include "core/utf8.h"
#include "core/version.h"

namespace maskora {

namespace {

// What the window's SRV button asks unless told otherwise, and where it is told.
constexpr std::string_view kDefaultEndpoint = MASKORA_SRV_ENDPOINT;
#ifdef _WIN32
constexpr std::string_view kSettingsFile = "%APPDATA%\\Maskora\\maskora.ini";
#else
constexpr std::string_view kSettingsFile =
    "$XDG_CONFIG_HOME/maskora/maskora.conf, or ~/.config/maskora/maskora.conf";
#endif

constexpr std::string_view kSeeHelp = " (see maskora --help)";

CommandLine Asking(CommandAction action) {
  CommandLine line;
  line.action = action;
  return line;
}

CommandLine Refused(std::string message) {
  CommandLine line;
  line.action = CommandAction::Error;
  line.error = "maskora: " + std::move(message) + std::string(kSeeHelp);
  return line;
}

std::optional<int> Prefix(std::string_view text) {
  int prefix = -1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), prefix);
  if (error != std::errc() || end != text.data() + text.size() || text.empty() ||
      text.front() == '-' || prefix > 32) {
    return std::nullopt;
  }
  return prefix;
}

// A plain dotted address, without a mask.
std::optional<std::uint32_t> PlainAddress(std::string_view text) {
  const AddressReading reading = ReadAddressText(text);
  if (reading.kind != AddressTextKind::Address || reading.entry.hostBits) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (const int octet : reading.entry.octets) {
    value = (value << 8) | static_cast<std::uint32_t>(octet);
  }
  return value;
}

// "FIRST-LAST" or "FIRST LAST", blanks allowed around the dash.
bool ReadRange(std::string_view text, CommandLine& line) {
  text = TrimBlanks(text);
  std::size_t cut = text.find('-');
  if (cut == std::string_view::npos) {
    cut = text.find_first_of(" \t");
  }
  if (cut == std::string_view::npos) {
    return false;
  }
  const auto first = PlainAddress(text.substr(0, cut));
  const auto last = PlainAddress(text.substr(cut + 1));
  if (!first || !last) {
    return false;
  }
  line.first = *first;
  line.last = *last;
  return true;
}

}  // namespace

CommandLine ReadCommandLine(std::span<const std::string_view> arguments) {
  bool print = false;
  bool json = false;
  bool range = false;
  bool standardInput = false;
  std::optional<std::string_view> split;
  bool options = true;
  std::string operand;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string_view argument = arguments[i];
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "--help" || argument == "-h" || argument == "/?")) {
      return Asking(CommandAction::Help);
    } else if (options && argument == "--version") {
      return Asking(CommandAction::Version);
    } else if (options && argument == "--print") {
      print = true;
    } else if (options && argument == "--json") {
      json = true;
    } else if (options && argument == "--range") {
      range = true;
    } else if (options && argument.starts_with("--split=")) {
      split = argument.substr(8);
    } else if (options && argument == "--split") {
      if (i + 1 == arguments.size()) {
        return Refused("--split needs a prefix length");
      }
      split = arguments[++i];
    } else if (argument == "-") {
      standardInput = true;
    } else if (options && argument.size() > 1 && argument.front() == '-') {
      return Refused("unknown option " + Quoted(argument));
    } else {
      if (!operand.empty()) {
        operand += ' ';
      }
      operand += argument;
    }
  }

  CommandLine line;
  line.action = CommandAction::Answer;
  line.form = json ? AnswerForm::Json : print ? AnswerForm::Results : AnswerForm::Network;
  if (split && range) {
    return Refused("--split and --range can't be used together");
  }
  if (standardInput) {
    if (split || range || !operand.empty()) {
      return Refused("\"-\" reads the addresses from standard input, and takes nothing else");
    }
    if (!print && !json) {
      return Refused("\"-\" needs --print or --json");
    }
    line.source = AnswerSource::StandardInput;
    return line;
  }
  if (range) {
    if (!ReadRange(operand, line)) {
      return Refused("--range needs two addresses, as in 10.0.0.1-10.0.0.6: " + Quoted(operand));
    }
    if (line.first > line.last) {
      return Refused("the range " + Quoted(operand) + " ends before it starts");
    }
    line.source = AnswerSource::Range;
    return line;
  }
  if (!operand.empty()) {
    const AddressReading reading = ReadAddressText(operand);
    if (reading.kind != AddressTextKind::Address) {
      return Refused("not an IPv4 address with an optional prefix or mask: " + Quoted(operand));
    }
    line.address = reading.entry;
  }
  if (split) {
    const std::optional<int> prefix = Prefix(*split);
    if (!prefix) {
      return Refused("--split takes a prefix length from 0 to 32, not " + Quoted(*split));
    }
    if (!line.address || !line.address->hostBits) {
      return Refused("--split needs a network with its prefix, as in 10.0.0.0/8");
    }
    if (*prefix < 32 - *line.address->hostBits) {
      return Refused("--split " + std::to_string(*prefix) + " is shorter than the network's /" +
                     std::to_string(32 - *line.address->hostBits));
    }
    line.source = AnswerSource::Split;
    line.splitPrefix = *prefix;
    return line;
  }
  if (print || json) {
    if (!line.address) {
      return Refused("--print and --json need an address, or \"-\" to read them");
    }
    line.form = json ? AnswerForm::Json : AnswerForm::Results;
    return line;
  }
  line.action = CommandAction::OpenWindow;
  return line;
}

std::string HelpText() {
  std::string help =
      "Usage: maskora [ADDRESS]\n"
      "       maskora --print|--json ADDRESS|-\n"
      "       maskora --split PREFIX [--print|--json] NETWORK/P\n"
      "       maskora --range [--print|--json] FIRST-LAST\n"
      "An IPv4 subnet calculator: opens its window, with ADDRESS filled in when given, or\n"
      "answers on standard output without a window.\n"
      "\n"
      "ADDRESS is an IPv4 address with an optional prefix or mask, as in 192.168.1.10,\n"
      "10.1.2.3/8, 10.1.2.3/255.0.0.0 or \"10.1.2.3 255.0.0.0\"; without one it takes /24.\n"
      "\n"
      "  --print       print the results instead of opening the window\n"
      "  --json        print them as one JSON object a line, for programs\n"
      "  -             read the addresses from standard input, one a line\n"
      "  --split N     list the subnets of prefix length N inside NETWORK/P\n"
      "  --range       list the fewest network blocks that cover FIRST to LAST\n"
      "  --help        show this help and exit\n"
      "  --version     show the version and exit\n"
      "\n"
      "Examples:\n"
      "  maskora --print 192.168.1.10/24\n"
      "  maskora --json - < addresses.txt\n"
      "  maskora --split 26 192.168.1.0/24     192.168.1.0/26 ... 192.168.1.192/26\n"
      "  maskora --range 10.0.0.1-10.0.0.6     10.0.0.1/32 10.0.0.2/31 10.0.0.4/31 10.0.0.6/32\n"
      "\n"
      "Exit status: 0 when every answer was given, 2 for a usage error or an address that\n"
      "could not be read (a stream goes on after it and says which line), 1 when the answer\n"
      "could not be written.\n"
      "\n";
  // What the window's SRV button contacts, and how to point it elsewhere or switch it off.
  help +=
      "The window's SRV button, and nothing else, contacts another computer: one HTTPS\n"
      "GET with a random number (Rnd=) and the user agent ";
  help += kUserAgent;
  help += ", to\n  ";
  help += kDefaultEndpoint.empty() ? "(none: this copy asks no service)" : kDefaultEndpoint;
  help +=
      "\nunless the environment variable MASKORA_SRV_ENDPOINT or the line \"srv_endpoint =\"\n"
      "of the settings file names another; an empty value switches it off. The settings\n"
      "file is ";
  help += kSettingsFile;
  help += ".\n";
  return help;
}

std::string VersionText() {
  return std::string("maskora ") + kVersion + "\n";
}

std::string Quoted(std::string_view text, std::size_t limit) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string shown = "'";
  std::size_t characters = 0;
  std::size_t i = 0;
  while (i < text.size() && characters < limit) {
    std::size_t length = 1;
    const char32_t code = DecodeUtf8(text, i, length);
    const auto byte = static_cast<unsigned char>(text[i]);
    const bool invisible = (code >= 0x200E && code <= 0x200F) ||
                           (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
    if (code == kUtf8Invalid || code < 0x20 || (code >= 0x7F && code <= 0x9F)) {
      const unsigned escaped = code == kUtf8Invalid ? byte : static_cast<unsigned>(code);
      shown += "\\x";
      shown += kHex[(escaped >> 4) & 0xF];
      shown += kHex[escaped & 0xF];
    } else if (invisible) {
      shown += "\\u";
      for (int shift = 12; shift >= 0; shift -= 4) {
        shown += kHex[(code >> shift) & 0xF];
      }
    } else if (code == '\\') {
      shown += "\\\\";
    } else {
      shown.append(text.substr(i, length));
    }
    i += length;
    ++characters;
  }
  shown += '\'';
  if (i < text.size()) {
    shown += "\xE2\x80\xA6";  // …
  }
  return shown;
}

}  // namespace maskora
