// SPDX-License-Identifier: MIT
#include "cli/printed_results.h"

#include <algorithm>
#include <array>

#include "core/json.h"
#include "core/utf8.h"
#include "window/form1.h"
#include "window/form1_description.h"
#include "window/result_fields.h"

namespace maskora {

namespace {

// The caption of a result's label, as the window shows it, without its trailing blanks.
std::string Label(const ResultField& result) {
  const Text caption = ShownCaption(Describe(result.label).caption);
  return TextToUtf8(TrimBlanks(std::u16string_view(caption)));
}

}  // namespace

std::string PrintedResults(const AddressEntry& address, bool json) {
  std::array<double, 4> octets{};
  std::copy(address.octets.begin(), address.octets.end(), octets.begin());
  const int hostBits = address.hostBits.value_or(kOpeningHostBits);
  const SubnetResult r = EvaluateSubnet(octets, hostBits);
  if (json) {
    std::string out = "{\"address\":" + JsonString(r.AddressText) +
                      ",\"prefix\":" + std::to_string(32 - hostBits) +
                      ",\"mask\":" + JsonString(AddressToDotted(~r.Wildcard));
    for (const ResultField& result : kResultFields) {
      out += ",\"" + std::string(result.jsonKey) + "\":" + JsonString(r.*result.text);
    }
    return out + "}\n";
  }
  std::size_t width = 0;
  for (const ResultField& result : kResultFields) {
    width = std::max(width, Label(result).size());
  }
  std::string out;
  for (const ResultField& result : kResultFields) {
    const std::string label = Label(result);
    out += label + std::string(width + 1 - label.size(), ' ') + r.*result.text + "\n";
  }
  return out;
}

}  // namespace maskora
