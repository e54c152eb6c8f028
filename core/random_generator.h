// SPDX-License-Identifier: MIT
// The pseudo-random generator behind the runtime's SeedRandom and NextRandom, alike on every
// platform.
#pragma once

#include <bit>
#include <cstdint>
#include <random>

namespace maskora {

class RandomGenerator {
 public:
  void Seed(double seed) { engine_.seed(std::bit_cast<std::uint64_t>(seed)); }
  // 53 random bits scaled into [0, 1): never 1.0, which std::generate_canonical may return.
  double Next() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

 private:
  std::mt19937_64 engine_;
};

}  // namespace maskora
