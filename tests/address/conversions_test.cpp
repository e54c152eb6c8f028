// SPDX-License-Identifier: MIT
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "address/address.h"

namespace maskora {
namespace {

constexpr double kLargest = std::numeric_limits<double>::max();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(AddressToDotted, WritesTheFourBytesMostSignificantFirst) {
  const struct {
    AddressValue value;
    const char* text;
  } cases[] = {
      {0, "0.0.0.0"},
      {1, "0.0.0.1"},
      {10, "0.0.0.10"},
      {167838211, "10.1.2.3"},
      {2147483647, "127.255.255.255"},
      {std::numeric_limits<AddressValue>::min(), "128.0.0.0"},
      {-1062731775, "192.168.0.1"},
      {-1, "255.255.255.255"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(AddressToDotted(c.value), c.text) << c.value;
  }
}

TEST(DottedToAddress, ReadsFourPartsKeepingTheirLowByte) {
  const struct {
    const char* text;
    AddressValue value;
  } cases[] = {
      {"192.168.0.1", -1062731775},
      {"0.0.0.0", 0},
      {"255.255.255.255", -1},
      {"10.1.2.3", 167838211},
      {"256.1.1.1", 65793},
      {"10.0.0.300", 167772204},
      {"128.0.0.0", std::numeric_limits<AddressValue>::min()},
      // Wrong part counts, empty parts counting as parts.
      {"1.2.3", 0},
      {"1.2.3.4.5", 0},
      {"", 0},
      {"1..3", 0},
      {"...", 0},
      // Four parts that are unusual: each part is read as the number it begins with.
      {"1..2.3", 0x01000203},
      {"a.b.c.d", 0},
      {"-1.0.0.0", -16777216},
      {"1.2.3.-2", 0x010203FE},
      {"0.-257.0.0", 0x00FF0000},
      {"0.0.1.-15e-1", 0x000001FF},
      {" 1. 2 .3\t.4x", 0x01020304},
      {"1e2.&HFF.0.1e999", 0x64FF0000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DottedToAddress(c.text), c.value) << c.text;
  }
}

TEST(UnsignedToSigned, KeepsTheBitsOfZeroTo2Pow32Minus1) {
  const struct {
    double value;
    AddressValue result;
  } cases[] = {
      {0, 0},           {255, 255}, {2147483647, 2147483647}, {2147483648.0, -2147483647 - 1},
      {4294967295, -1}, {1.9, 1},   {4294967295.5, -1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UnsignedToSigned(c.value), c.result) << c.value;
  }
  for (double bad : {-0.5, -1.0, 4294967296.0, 1e300, kInf, -kInf, kNaN}) {
    EXPECT_THROW(UnsignedToSigned(bad), OverflowError) << bad;
  }
}

TEST(LeadingNumber, ReadsTheNumberTheTextBeginsWith) {
  const std::string zeros(400, '0');
  const struct {
    std::string text;
    double value;
  } cases[] = {
      {"", 0},
      {"192", 192},
      {"007", 7},
      {"12a", 12},
      {"-5", -5},
      {"+7", 7},
      {"1.5", 1.5},
      {".5", 0.5},
      {"-.5", -0.5},
      {"9E9", 9e9},
      {"2e-1", 0.2},
      {"1E+15", 1e15},
      {"abc", 0},
      {"1 2", 12},
      {"\t1\n2 . 5", 12.5},
      {" - 5", -5},
      {"1\r2", 1},
      {"1,5", 1},
      {"1.2.3", 1.2},
      {"1e", 1},
      {"1e+", 1},
      {"1x5", 1},
      {"e5", 0},
      {".", 0},
      {"-", 0},
      {"0x10", 0},
      {"&HFF", 255},
      {"&hff", 255},
      {" & H 1 0", 16},
      {"&HFFFFFFFF", 4294967295.0},
      {"&O17", 15},
      {"&o8", 0},
      {"&H", 0},
      {"&X1", 0},
      {"-&H10", 0},
      // Out of range: the sign of the decimal position decides, not that of the exponent.
      {"1e400", kLargest},
      {"-1e400", -kLargest},
      {"1e-400", 0},
      {"1e99999999999999999999", kLargest},
      {"0." + zeros + "1e10", 0},
      {"1" + zeros + "e-10", kLargest},
      {"0." + zeros + "1e401", 1},
      {"&H" + zeros + "1" + zeros, kLargest},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
  }
  EXPECT_FALSE(std::signbit(LeadingNumber("-0")));
}

TEST(NumberText, WritesDecimalTextThatReadsBack) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {7, "7"},
      {255, "255"},
      {-5, "-5"},
      {0.5, ".5"},
      {-0.5, "-.5"},
      {1.5, "1.5"},
      {0.1 + 0.2, ".3"},
      {0.0001, ".0001"},
      {0.00001, "1E-05"},
      {999999999999999.0, "999999999999999"},
      {1e15, "1E+15"},
      {1234567890123456.0, "1.23456789012346E+15"},
      {9e9, "9000000000"},
      {kNaN, "0"},
      {kInf, "1.79769313486232E+308"},
      {-kInf, "-1.79769313486232E+308"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberText(c.value), c.text) << c.value;
    EXPECT_EQ(NumberText(LeadingNumber(c.text)), c.text) << c.value;
  }
}

TEST(WholeNumber, TakesOnlyATextThatIsANumberAsAWhole) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {
      {"12", 12},  {" 7 ", 7},   {"-5", -5},    {"+5", 5},     {"1.5", 1.5},  {".5", 0.5},
      {"5.", 5},   {"2e2", 200}, {"2E-1", 0.2}, {"2e+2", 200}, {"007", 7},    {"", {}},
      {" ", {}},   {".", {}},    {"-", {}},     {"12a", {}},   {"a12", {}},   {"1 2", {}},
      {"2e", {}},  {"2e+", {}},  {"e2", {}},    {"&HFF", {}},  {"1.2.3", {}}, {"--5", {}},
      {"\t7", {}}, {"7\n", {}},  {"1,5", {}},   {"- 5", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WholeNumber(c.text), c.value) << "'" << c.text << "'";
  }
}

TEST(ClampOctet, HoldsValuesTo0To255) {
  const struct {
    double value, clamped;
  } cases[] = {{-0.5, 0},  {0, 0},      {0.5, 0.5}, {255, 255},  {255.5, 255},
               {-kInf, 0}, {kInf, 255}, {kNaN, 0},  {-1e300, 0}, {9e9, 255}};
  for (const auto& c : cases) {
    EXPECT_EQ(ClampOctet(c.value), c.clamped) << c.value;
  }
}

TEST(ReadAddressText, TakesWholeAddressesWithTheirMask) {
  using Kind = AddressTextKind;
  const struct {
    const char* text;
    Kind kind;
    std::array<int, 4> octets;
    std::optional<int> hostBits;
  } cases[] = {
      {"192.168.1.10", Kind::Address, {192, 168, 1, 10}, {}},
      {" \t10.1.2.3/8\r\n", Kind::Address, {10, 1, 2, 3}, 24},
      {"10.1.2.3 / 8", Kind::Address, {10, 1, 2, 3}, 24},
      {"10.1.2.3/255.0.0.0", Kind::Address, {10, 1, 2, 3}, 24},
      {"10.1.2.3 255.255.255.252", Kind::Address, {10, 1, 2, 3}, 2},
      {"10.1.2.3/0", Kind::Address, {10, 1, 2, 3}, 32},
      {"10.1.2.3/32", Kind::Address, {10, 1, 2, 3}, 0},
      {"10.1.2.3/0.0.0.0", Kind::Address, {10, 1, 2, 3}, 32},
      {"10.1.2.3 255.255.255.255", Kind::Address, {10, 1, 2, 3}, 0},
      {"0.0.0.0", Kind::Address, {0, 0, 0, 0}, {}},
      {"255.255.255.255", Kind::Address, {255, 255, 255, 255}, {}},
      {"010.001.2.3", Kind::Address, {10, 1, 2, 3}, {}},
      {"256.1.2.3", Kind::Malformed, {}, {}},
      {"1.2.3.256", Kind::Malformed, {}, {}},
      {"1.2.3.4.5", Kind::Malformed, {}, {}},
      {"1.2.3.", Kind::Malformed, {}, {}},
      {"1..2.3", Kind::Malformed, {}, {}},
      {"1.2.3.1000", Kind::Malformed, {}, {}},
      {"1.2.3.4/33", Kind::Malformed, {}, {}},
      {"1.2.3.4/", Kind::Malformed, {}, {}},
      {"1.2.3.4/123", Kind::Malformed, {}, {}},
      {"1.2.3.4/255.0.255.0", Kind::Malformed, {}, {}},
      {"1.2.3.4/255.0.0.1", Kind::Malformed, {}, {}},
      {"1.2.3.4/0.255.255.255", Kind::Malformed, {}, {}},
      {"1.2.3.4/8/8", Kind::Malformed, {}, {}},
      {"1.2.3.4x", Kind::Malformed, {}, {}},
      {"1.2.3.4 8 9", Kind::Malformed, {}, {}},
      {"1.2.3", Kind::NotAnAddress, {}, {}},
      {"12", Kind::NotAnAddress, {}, {}},
      {"", Kind::NotAnAddress, {}, {}},
      {".1.2.3.4", Kind::NotAnAddress, {}, {}},
      {"a1.2.3.4", Kind::NotAnAddress, {}, {}},
      {"-1.2.3.4", Kind::NotAnAddress, {}, {}},
  };
  for (const auto& c : cases) {
    const AddressReading reading = ReadAddressText(c.text);
    EXPECT_EQ(reading.kind, c.kind) << c.text;
    if (c.kind == Kind::Address) {
      EXPECT_EQ(reading.entry, (AddressEntry{c.octets, c.hostBits})) << c.text;
    }
  }
}

}  // namespace
}  // namespace maskora
