// SPDX-License-Identifier: MIT
#include "window/command_line.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <utility>
#include <vector>

#include "window/form1.h"
#include "window/form1_description.h"
#include "window/utf8.h"
#include "window/version.h"

namespace maskora {
namespace {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
    }
    out += c;
  }
  return out + "\"";
}

// The result that a result field shows.
const std::string& ResultOf(const SubnetResult& r, ControlId field) {
  switch (field) {
    case ControlId::txtStato:
      return r.StatusText;
    case ControlId::txtTipo:
      return r.TypeText;
    case ControlId::txtClasse:
      return r.ClassText;
    case ControlId::txtBroadcast:
      return r.BroadcastText;
    case ControlId::txtHosts:
      return r.HostsText;
    default:
      return r.NetworkText;
  }
}

// Each result field with the caption of the label before it, in the window's order.
std::vector<std::pair<std::string, ControlId>> LabelledResults() {
  std::vector<std::pair<std::string, ControlId>> labelled;
  std::u16string_view label;
  for (const ControlDescription& control : kForm1Controls) {
    if (control.kind == ControlKind::Label) {
      label = control.caption;
    } else if (control.kind == ControlKind::ResultField) {
      std::string caption = TextToUtf8(ShownCaption(label));
      caption.erase(caption.find_last_not_of(' ') + 1);
      labelled.emplace_back(caption, control.id);
    }
  }
  return labelled;
}

constexpr std::array<std::pair<ControlId, std::string_view>, 6> kJsonKeys = {{
    {ControlId::txtStato, "status"},
    {ControlId::txtTipo, "type"},
    {ControlId::txtClasse, "class"},
    {ControlId::txtBroadcast, "broadcast"},
    {ControlId::txtHosts, "hosts"},
    {ControlId::txtNetwork, "network"},
}};

}  // namespace

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

std::string PrintedResults(const AddressEntry& address, bool json) {
  std::array<double, 4> octets{};
  std::copy(address.octets.begin(), address.octets.end(), octets.begin());
  const int hostBits = address.hostBits.value_or(kOpeningHostBits);
  const SubnetResult r = EvaluateSubnet(octets, hostBits);
  if (json) {
    std::string out = "{\"address\":" + JsonString(r.AddressText) +
                      ",\"prefix\":" + std::to_string(32 - hostBits) +
                      ",\"mask\":" + JsonString(AddressToDotted(~r.Wildcard));
    for (const auto& [field, key] : kJsonKeys) {
      out += ",\"" + std::string(key) + "\":" + JsonString(ResultOf(r, field));
    }
    return out + "}\n";
  }
  const auto labelled = LabelledResults();
  std::size_t width = 0;
  for (const auto& [label, field] : labelled) {
    width = std::max(width, label.size());
  }
  std::string out;
  for (const auto& [label, field] : labelled) {
    out += label + std::string(width + 1 - label.size(), ' ') + ResultOf(r, field) + "\n";
  }
  return out;
}

}  // namespace maskora
