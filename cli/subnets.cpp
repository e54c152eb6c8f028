// SPDX-License-Identifier: MIT
#include "cli/subnets.h"

#include <bit>

namespace maskora {

namespace {

// The addresses of a block of the given prefix length, 1 to 2^32.
std::uint64_t Size(int prefix) {
  return std::uint64_t{1} << (32 - prefix);
}

}  // namespace

void ForEachSubnet(std::uint32_t address, int parent, int prefix,
                   const std::function<bool(const Block&)>& each) {
  const std::uint64_t start = address & ~static_cast<std::uint32_t>(Size(parent) - 1);
  const std::uint64_t end = start + Size(parent);
  for (std::uint64_t network = start; network < end; network += Size(prefix)) {
    if (!each({static_cast<std::uint32_t>(network), prefix})) {
      return;
    }
  }
}

void ForEachRangeBlock(std::uint32_t first, std::uint32_t last,
                       const std::function<bool(const Block&)>& each) {
  // Counted in 64 bits, so that a range that ends at 255.255.255.255 ends the loop too.
  std::uint64_t next = first;
  while (next <= last) {
    // The largest block that starts here (its size divides the address) and stays in range.
    int prefix = next == 0 ? 0 : 32 - std::countr_zero(static_cast<std::uint32_t>(next));
    while (next + Size(prefix) - 1 > last) {
      ++prefix;
    }
    if (!each({static_cast<std::uint32_t>(next), prefix})) {
      return;
    }
    next += Size(prefix);
  }
}

}  // namespace maskora
