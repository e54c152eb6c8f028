// SPDX-License-Identifier: MIT
// Conversions between addresses, dotted text and unsigned quantities. They work on unsigned
// 32-bit patterns, so they never overflow a signed type.
#include "address/address.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace maskora {

std::string AddressToDotted(AddressValue value) {
  std::string text;
  AppendDotted(text, value);
  return text;
}

void AppendDotted(std::string& out, AddressValue value) {
  // Written straight into the end of out, at most 15 characters: a stream of millions of
  // addresses makes this one of the hottest paths.
  const auto bits = static_cast<std::uint32_t>(value);
  const std::size_t start = out.size();
  out.resize(start + 15);
  char* end = out.data() + start;
  for (int shift = 24; shift >= 0; shift -= 8) {
    const unsigned octet = (bits >> shift) & 0xFFu;
    if (octet >= 100) {
      *end++ = static_cast<char>('0' + octet / 100);
    }
    if (octet >= 10) {
      *end++ = static_cast<char>('0' + octet / 10 % 10);
    }
    *end++ = static_cast<char>('0' + octet % 10);
    if (shift > 0) {
      *end++ = '.';
    }
  }
  out.resize(static_cast<std::size_t>(end - out.data()));
}

AddressValue UnsignedToSigned(double value) {
  // Written so that NaN fails as well; a fraction is cut off, which keeps the result in range.
  if (!(value >= 0.0 && value < 4294967296.0)) {
    throw OverflowError();
  }
  return static_cast<AddressValue>(static_cast<std::uint32_t>(value));
}

double ClampOctet(double value) {
  if (!(value >= 0)) {
    return 0;
  }
  return value > 255 ? 255 : value;
}

}  // namespace maskora
