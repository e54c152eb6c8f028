// SPDX-License-Identifier: MIT
#include "cli/answers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <vector>

#include "core/json.h"
#include "core/utf8.h"
#include "window/form1.h"
#include "window/form1_description.h"
#include "window/result_fields.h"

namespace maskora {

namespace {

// Each result's label as the window shows it, padded so that the results line up.
const std::array<std::string, kResultFields.size()>& PaddedLabels() {
  static const auto labels = [] {
    std::array<std::string, kResultFields.size()> padded;
    std::size_t width = 0;
    for (std::size_t i = 0; i < kResultFields.size(); ++i) {
      const Text caption = ShownCaption(Describe(kResultFields[i].label).caption);
      padded[i] = TextToUtf8(TrimBlanks(std::u16string_view(caption)));
      width = std::max(width, padded[i].size());
    }
    for (std::string& label : padded) {
      label.resize(width + 1, ' ');
    }
    return padded;
  }();
  return labels;
}

void AppendQuotedDotted(std::string& out, std::uint32_t address) {
  out += '"';
  AppendDotted(out, static_cast<AddressValue>(address));
  out += '"';
}

void AppendNumber(std::string& out, std::uint64_t number) {
  char digits[20];
  const auto [end, error] = std::to_chars(std::begin(digits), std::end(digits), number);
  out.append(digits, end);
}

// The values a program asks for most, as numbers: the addresses of the network, and the hosts
// that may use them. A /31 is a point-to-point link whose two addresses are both hosts; a /32
// is the one host.
void AppendMachineValues(std::string& out, const SubnetResult& r, int prefix) {
  const auto network = static_cast<std::uint32_t>(r.Network);
  const auto broadcast = static_cast<std::uint32_t>(r.Broadcast);
  const std::uint64_t addresses = std::uint64_t{broadcast - network} + 1;
  const bool edgesAreHosts = prefix >= 31;
  out += ",\"addresses\":";
  AppendNumber(out, addresses);
  out += ",\"usable_hosts\":";
  AppendNumber(out, edgesAreHosts ? addresses : addresses - 2);
  out += ",\"first_host\":";
  AppendQuotedDotted(out, edgesAreHosts ? network : network + 1);
  out += ",\"last_host\":";
  AppendQuotedDotted(out, edgesAreHosts ? broadcast : broadcast - 1);
  out += ",\"wildcard\":";
  AppendQuotedDotted(out, static_cast<std::uint32_t>(r.Wildcard));
}

}  // namespace

void AppendAnswer(std::string& out, const AddressEntry& address, AnswerForm form) {
  const int hostBits = address.hostBits.value_or(kOpeningHostBits);
  const int prefix = 32 - hostBits;
  if (form == AnswerForm::Network) {
    std::uint32_t value = 0;
    for (const int octet : address.octets) {
      value = (value << 8) | static_cast<std::uint32_t>(octet);
    }
    const std::uint32_t hostMask = hostBits == 32 ? ~0u : (1u << hostBits) - 1;
    AppendDotted(out, static_cast<AddressValue>(value & ~hostMask));
    out += '/';
    AppendNumber(out, static_cast<std::uint64_t>(prefix));
    out += '\n';
    return;
  }
  std::array<double, 4> octets{};
  std::copy(address.octets.begin(), address.octets.end(), octets.begin());
  const SubnetResult r = EvaluateSubnet(octets, hostBits);
  if (form == AnswerForm::Results) {
    for (std::size_t i = 0; i < kResultFields.size(); ++i) {
      out += PaddedLabels()[i];
      out += r.*kResultFields[i].text;
      out += '\n';
    }
    return;
  }
  out += "{\"address\":";
  AppendJsonString(out, r.AddressText);
  out += ",\"prefix\":";
  AppendNumber(out, static_cast<std::uint64_t>(prefix));
  out += ",\"mask\":";
  AppendQuotedDotted(out, ~static_cast<std::uint32_t>(r.Wildcard));
  for (const ResultField& result : kResultFields) {
    out += ",\"";
    out += result.jsonKey;
    out += "\":";
    AppendJsonString(out, r.*result.text);
  }
  AppendMachineValues(out, r, prefix);
  out += "}\n";
}

}  // namespace maskora
