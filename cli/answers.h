// SPDX-License-Identifier: MIT
// What the command line writes for one address with its mask: the window's six results for a
// person, a JSON object for a program, or the network alone.
#pragma once

#include <string>

#include "address/address.h"
#include "cli/command_line.h"

namespace maskora {

// Appends the answer for the address with its mask (the mask that the window opens on when it
// has none), ending in a line break.
void AppendAnswer(std::string& out, const AddressEntry& address, AnswerForm form);

inline std::string Answer(const AddressEntry& address, AnswerForm form) {
  std::string out;
  AppendAnswer(out, address, form);
  return out;
}

}  // namespace maskora
