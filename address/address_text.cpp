// SPDX-License-Identifier: MIT
// Reading a whole address as a user writes or pastes it, with an optional prefix or mask.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "address/address.h"
#include "core/text.h"

namespace maskora {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// A number of one to maxDigits decimal digits, and nothing else.
std::optional<int> Number(std::string_view text, std::size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) {
    return std::nullopt;
  }
  int value = 0;
  for (const char c : text) {
    if (!IsDigit(c)) {
      return std::nullopt;
    }
    value = value * 10 + (c - '0');
  }
  return value;
}

// Four dot-separated numbers 0..255.
std::optional<std::array<int, 4>> DottedQuad(std::string_view text) {
  const std::vector<std::string_view> parts = SplitAtDots(text);
  if (parts.size() != 4) {
    return std::nullopt;
  }
  std::array<int, 4> octets{};
  for (std::size_t i = 0; i < 4; ++i) {
    const std::optional<int> octet = Number(parts[i], 3);
    if (!octet || *octet > 255) {
      return std::nullopt;
    }
    octets[i] = *octet;
  }
  return octets;
}

// Host bits of "24" or of "255.255.255.0"; none for a prefix over 32 or a mask whose ones are
// not all in front.
std::optional<int> MaskHostBits(std::string_view text) {
  if (text.find('.') == std::string_view::npos) {
    const std::optional<int> prefix = Number(text, 2);
    if (!prefix || *prefix > 32) {
      return std::nullopt;
    }
    return 32 - *prefix;
  }
  const auto octets = DottedQuad(text);
  if (!octets) {
    return std::nullopt;
  }
  std::uint32_t mask = 0;
  for (const int octet : *octets) {
    mask = (mask << 8) | static_cast<std::uint32_t>(octet);
  }
  const std::uint32_t wildcard = ~mask;
  if ((wildcard & (wildcard + 1)) != 0) {
    return std::nullopt;
  }
  int hostBits = 0;
  for (std::uint32_t w = wildcard; w != 0; w >>= 1) {
    ++hostBits;
  }
  return hostBits;
}

}  // namespace

AddressReading ReadAddressText(std::string_view text) {
  text = TrimBlanks(text);
  std::size_t end = 0;
  int dots = 0;
  while (end < text.size() && (IsDigit(text[end]) || text[end] == '.')) {
    dots += text[end] == '.' ? 1 : 0;
    ++end;
  }
  AddressReading reading;
  if (text.empty() || !IsDigit(text.front()) || dots < 3) {
    return reading;
  }
  reading.kind = AddressTextKind::Malformed;
  const auto octets = DottedQuad(text.substr(0, end));
  if (!octets) {
    return reading;
  }
  std::string_view rest = text.substr(end);
  std::optional<int> hostBits;
  if (!rest.empty()) {
    const std::string_view afterBlanks = TrimBlanks(rest);
    const bool slash = !afterBlanks.empty() && afterBlanks.front() == '/';
    if (!slash && afterBlanks.size() == rest.size()) {
      return reading;  // something glued to the address
    }
    hostBits = MaskHostBits(TrimBlanks(slash ? afterBlanks.substr(1) : afterBlanks));
    if (!hostBits) {
      return reading;
    }
  }
  reading.kind = AddressTextKind::Address;
  reading.entry = AddressEntry{*octets, hostBits};
  return reading;
}

}  // namespace maskora
