// SPDX-License-Identifier: MIT
// Random input of every kind: nothing may crash or misbehave under the sanitizers, and the
// results keep their invariants.
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "address/address.h"

namespace maskora {
namespace {

// Below the normal range the spacing of doubles, not the 15 digits, limits the precision.
constexpr double kTiny = std::numeric_limits<double>::denorm_min();

// Texts of any bytes, often drawn from the characters a number is made of so that the
// interesting paths are reached.
std::string RandomText(std::mt19937_64& random) {
  static const std::string kNumberish = "0123456789.+-eEhHoO& \t\n\r,xF";
  std::string text(random() % 40, ' ');
  const bool numberish = random() % 4 != 0;
  for (char& c : text) {
    c = numberish ? kNumberish[random() % kNumberish.size()] : static_cast<char>(random());
  }
  return text;
}

double RandomDouble(std::mt19937_64& random) {
  static const double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(),
                                    std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity(),
                                    std::numeric_limits<double>::max(),
                                    std::numeric_limits<double>::denorm_min(),
                                    -0.0,
                                    255.5,
                                    -1e300};
  switch (random() % 3) {
    case 0:
      return kSpecial[random() % std::size(kSpecial)];
    case 1:
      return std::uniform_real_distribution<double>(-300, 600)(random);
    default:
      return std::bit_cast<double>(random());
  }
}

// Four parts, each the plain text of a whole number 0..255.
bool IsDottedText(const std::string& text) {
  int parts = 0;
  std::size_t start = 0;
  for (std::size_t end = 0; end != std::string::npos; start = end + 1) {
    end = text.find('.', start);
    const std::string part = text.substr(start, end - start);
    if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0') ||
        part.find_first_not_of("0123456789") != std::string::npos || std::stoi(part) > 255) {
      return false;
    }
    ++parts;
  }
  return parts == 4;
}

TEST(RandomInput, TextsReadAsFiniteNumbersThatWriteBack) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 50000; ++i) {
    const std::string text = RandomText(random);
    const double value = LeadingNumber(text);
    ASSERT_TRUE(std::isfinite(value)) << text;
    const std::string written = NumberText(value);
    ASSERT_EQ(written.find_first_of(" ,\t"), std::string::npos) << written;
    const double back = LeadingNumber(written);
    ASSERT_LE(std::fabs(back - value), std::fabs(value) * 1e-14 + kTiny)
        << text << " -> " << written;
    DottedToAddress(text);  // any result will do; it must only not crash
  }
}

TEST(RandomInput, DoublesWriteAsTextThatReadsBack) {
  std::mt19937_64 random(11);
  for (int i = 0; i < 50000; ++i) {
    const double value = RandomDouble(random);
    const std::string written = NumberText(value);
    const double back = LeadingNumber(written);
    ASSERT_TRUE(std::isfinite(back)) << written;
    if (std::isfinite(value)) {
      ASSERT_LE(std::fabs(back - value), std::fabs(value) * 1e-14 + kTiny) << written;
    }
  }
}

TEST(RandomInput, EvaluationOverflowsExactlyOutside0To32) {
  std::mt19937_64 random(17);
  for (int i = 0; i < 50000; ++i) {
    const std::array<double, 4> octets = {RandomDouble(random), RandomDouble(random),
                                          RandomDouble(random), RandomDouble(random)};
    const int hostBits = random() % 2 ? static_cast<int>(random() % 40) - 4
                                      : static_cast<int>(static_cast<std::uint32_t>(random()));
    if (hostBits < 0 || hostBits > 32) {
      ASSERT_THROW(EvaluateSubnet(octets, hostBits), OverflowError) << hostBits;
      continue;
    }
    const SubnetResult r = EvaluateSubnet(octets, hostBits);
    ASSERT_TRUE(IsDottedText(r.AddressText)) << r.AddressText;
    ASSERT_EQ(r.Address, DottedToAddress(r.AddressText));
    ASSERT_EQ(r.NetworkText, AddressToDotted(r.Network));
    ASSERT_EQ(r.BroadcastText, AddressToDotted(r.Broadcast));
    ASSERT_FALSE(r.ClassText.empty());
    ASSERT_FALSE(r.TypeText.empty());
  }
}

}  // namespace
}  // namespace maskora
