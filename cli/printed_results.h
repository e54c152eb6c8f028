// SPDX-License-Identifier: MIT
// The results for an address, printed for a person or as JSON for a program.
#pragma once

#include <string>

#include "address/address.h"

namespace maskora {

// The results for an address as --print or --json writes them, ending in a line break. An
// address without a mask takes the mask that the window opens on.
std::string PrintedResults(const AddressEntry& address, bool json);

}  // namespace maskora
