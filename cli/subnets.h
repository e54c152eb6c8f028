// SPDX-License-Identifier: MIT
// The networks that --split and --range list, one at a time: nothing is kept, so a list of
// four thousand million subnets starts at once and ends when its reader does.
#pragma once

#include <cstdint>
#include <functional>

namespace maskora {

// A network: its address, the host bits cleared, and its prefix length.
struct Block {
  std::uint32_t network = 0;
  int prefix = 0;
  friend bool operator==(const Block&, const Block&) = default;
};

// Calls each with every subnet of the given prefix length inside the network of address/parent,
// in order, until each returns false. prefix lies within parent..32.
void ForEachSubnet(std::uint32_t address, int parent, int prefix,
                   const std::function<bool(const Block&)>& each);

// Calls each with the fewest blocks that cover first..last exactly, in order, until each returns
// false. first is not after last.
void ForEachRangeBlock(std::uint32_t first, std::uint32_t last,
                       const std::function<bool(const Block&)>& each);

}  // namespace maskora
