// SPDX-License-Identifier: MIT
// The six results, once: the field that shows each, the result it shows, the label whose caption
// names it, and its key in the command line's JSON.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "address/address.h"
#include "window/control_id.h"

namespace maskora {

struct ResultField {
  ControlId field;
  std::string SubnetResult::*text;
  ControlId label;  // the label before the field in tab order, on its row
  std::string_view jsonKey;
};

// In the window's tab order.
inline constexpr std::array<ResultField, 6> kResultFields = {{
    {ControlId::txtStato, &SubnetResult::StatusText, ControlId::lblDesc5, "status"},
    {ControlId::txtTipo, &SubnetResult::TypeText, ControlId::lblDesc7, "type"},
    {ControlId::txtClasse, &SubnetResult::ClassText, ControlId::lblDesc6, "class"},
    {ControlId::txtBroadcast, &SubnetResult::BroadcastText, ControlId::lblDesc2, "broadcast"},
    {ControlId::txtHosts, &SubnetResult::HostsText, ControlId::lblDesc3, "hosts"},
    {ControlId::txtNetwork, &SubnetResult::NetworkText, ControlId::lblDesc4, "network"},
}};

constexpr bool EachLabelPrecedesItsField() {
  for (const ResultField& result : kResultFields) {
    if (static_cast<int>(result.label) + 1 != static_cast<int>(result.field)) {
      return false;
    }
  }
  return true;
}
static_assert(EachLabelPrecedesItsField(), "a result's label stands right before its field");

}  // namespace maskora
