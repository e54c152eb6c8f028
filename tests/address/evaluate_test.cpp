// SPDX-License-Identifier: MIT
#include <array>
#include <clocale>
#include <cstdint>
#include <limits>
#include <locale>
#include <optional>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "address/address.h"

namespace maskora {
namespace {

using Octets = std::array<double, 4>;

TEST(EvaluateSubnet, NetworkBroadcastHostsAndStatus) {
  const struct {
    Octets octets;
    int hostBits;
    const char *network, *broadcast, *hosts, *status;
  } cases[] = {
      {{192, 168, 1, 10}, 8, "192.168.1.0", "192.168.1.255", "254", "Valido"},
      {{10, 0, 0, 0}, 24, "10.0.0.0", "10.255.255.255", "16.777.214", "NON VALIDO: IP = Network!"},
      {{172, 16, 255, 255},
       16,
       "172.16.0.0",
       "172.16.255.255",
       "65.534",
       "NON VALIDO: IP = Broadcast!"},
      {{0, 0, 0, 0}, 8, "0.0.0.0", "0.0.0.255", "254", "NON VALIDO: IP = Network!"},
      {{8, 8, 8, 8}, 0, "8.8.8.8", "8.8.8.8", "1", "Host singolo"},
      {{10, 0, 0, 5}, 1, "10.0.0.4", "10.0.0.5", "Mask non valida", "NON VALIDO: IP = Broadcast!"},
      {{10, 0, 0, 4}, 1, "10.0.0.4", "10.0.0.5", "Mask non valida", "NON VALIDO: IP = Network!"},
      {{200, 1, 2, 3}, 31, "128.0.0.0", "255.255.255.255", "2.147.483.646", "Valido"},
      {{200, 1, 2, 3}, 32, "0.0.0.0", "255.255.255.255", "Tutta internet!", "Valido"},
      {{255, 255, 255, 255},
       32,
       "0.0.0.0",
       "255.255.255.255",
       "Tutta internet!",
       "NON VALIDO: IP = Broadcast!"},
      {{1, 2, 3, 4}, 10, "1.2.0.0", "1.2.3.255", "1.022", "Valido"},
      {{1, 2, 3, 4}, 2, "1.2.3.4", "1.2.3.7", "2", "NON VALIDO: IP = Network!"},
  };
  for (const auto& c : cases) {
    const SubnetResult r = EvaluateSubnet(c.octets, c.hostBits);
    SCOPED_TRACE(r.AddressText + " host bits " + std::to_string(c.hostBits));
    EXPECT_EQ(r.NetworkText, c.network);
    EXPECT_EQ(r.BroadcastText, c.broadcast);
    EXPECT_EQ(r.HostsText, c.hosts);
    EXPECT_EQ(r.StatusText, c.status);
    EXPECT_EQ(r.Network, DottedToAddress(c.network));
    EXPECT_EQ(r.Broadcast, DottedToAddress(c.broadcast));
  }
}

TEST(EvaluateSubnet, ClassAndTypeDependOnTheOctetsAlone) {
  const auto a = "A - ( 8 ) 255.0.0.0", b = "B - (16) 255.255.0.0", c = "C - (24) 255.255.255.0";
  const auto d = "D - Multicast", e = "E - Riservato";
  const struct {
    Octets octets;
    const char *classText, *type;
    std::optional<int> classHostBits;
  } cases[] = {
      {{0, 0, 0, 0}, a, "Indirizzi ZERO (riservati)", 24},
      {{10, 1, 1, 1}, a, "Privato", 24},
      {{127, 0, 0, 1}, a, "Loopback", 24},
      {{128, 0, 0, 0}, b, "Pubblico", 16},
      {{172, 15, 0, 1}, b, "Pubblico", 16},
      {{172, 16, 255, 255}, b, "Privato", 16},
      {{172, 31, 0, 1}, b, "Privato", 16},
      {{172, 32, 0, 1}, b, "Pubblico", 16},
      {{169, 254, 0, 1}, b, "Zero Configuration Networking", 16},
      {{191, 255, 0, 1}, b, "Pubblico", 16},
      {{192, 168, 0, 1}, c, "Privato", 8},
      {{192, 0, 2, 1}, c, "Esempio di IP su documentazione", 8},
      {{192, 0, 3, 1}, c, "Pubblico", 8},
      {{192, 88, 99, 1}, c, "IPv6 to IPv4 relay Anycast", 8},
      {{198, 18, 0, 1}, c, "Network Device Benchmark", 8},
      {{198, 19, 255, 1}, c, "Network Device Benchmark", 8},
      {{198, 20, 0, 1}, c, "Pubblico", 8},
      {{198, 51, 100, 7}, c, "Pubblico", 8},
      {{203, 0, 113, 7}, c, "Pubblico", 8},
      {{100, 64, 0, 1}, a, "Pubblico", 24},
      {{223, 0, 0, 1}, c, "Pubblico", 8},
      {{224, 0, 0, 1}, d, "Multicast", std::nullopt},
      {{239, 255, 0, 1}, d, "Multicast", std::nullopt},
      {{240, 0, 0, 1}, e, "Riservato", std::nullopt},
      {{255, 255, 255, 255}, e, "Riservato", std::nullopt},
      {{300, 0, 0, 1}, e, "Riservato", std::nullopt},
      {{-5, 0, 0, 1}, a, "Indirizzi ZERO (riservati)", 24},
  };
  for (const auto& x : cases) {
    for (int hostBits : {0, 8, 32}) {
      const SubnetResult r = EvaluateSubnet(x.octets, hostBits);
      SCOPED_TRACE(r.AddressText + " host bits " + std::to_string(hostBits));
      EXPECT_EQ(r.ClassText, x.classText);
      EXPECT_EQ(r.ClassHostBits, x.classHostBits);
      EXPECT_EQ(r.TypeText, x.type);
    }
  }
}

// Both sides of every range that the class and the type are read from.
TEST(EvaluateSubnet, ClassAndTypeRangesEndWhereTheyShould) {
  const struct {
    Octets octets;
    char classLetter;
    const char* type;
  } cases[] = {
      {{1, 0, 0, 0}, 'A', "Pubblico"},
      {{9, 255, 0, 0}, 'A', "Pubblico"},
      {{11, 0, 0, 0}, 'A', "Pubblico"},
      {{126, 255, 255, 255}, 'A', "Pubblico"},
      {{127, 255, 255, 255}, 'A', "Loopback"},
      {{128, 0, 0, 1}, 'B', "Pubblico"},
      {{168, 254, 0, 1}, 'B', "Pubblico"},
      {{169, 253, 0, 1}, 'B', "Pubblico"},
      {{169, 255, 0, 1}, 'B', "Pubblico"},
      {{171, 16, 0, 1}, 'B', "Pubblico"},
      {{172, 16, 0, 0}, 'B', "Privato"},
      {{172, 31, 255, 255}, 'B', "Privato"},
      {{173, 16, 0, 1}, 'B', "Pubblico"},
      {{191, 255, 255, 255}, 'B', "Pubblico"},
      {{192, 0, 0, 1}, 'C', "Pubblico"},
      {{192, 0, 1, 1}, 'C', "Pubblico"},
      {{192, 1, 2, 1}, 'C', "Pubblico"},
      {{193, 0, 2, 1}, 'C', "Pubblico"},
      {{192, 87, 99, 1}, 'C', "Pubblico"},
      {{192, 88, 98, 1}, 'C', "Pubblico"},
      {{192, 88, 100, 1}, 'C', "Pubblico"},
      {{192, 89, 99, 1}, 'C', "Pubblico"},
      {{192, 167, 0, 1}, 'C', "Pubblico"},
      {{192, 169, 0, 1}, 'C', "Pubblico"},
      {{197, 18, 0, 1}, 'C', "Pubblico"},
      {{198, 17, 255, 255}, 'C', "Pubblico"},
      {{198, 18, 0, 0}, 'C', "Network Device Benchmark"},
      {{199, 18, 0, 1}, 'C', "Pubblico"},
      {{223, 255, 255, 255}, 'C', "Pubblico"},
      {{224, 0, 0, 0}, 'D', "Multicast"},
      {{239, 255, 255, 255}, 'D', "Multicast"},
      {{240, 0, 0, 0}, 'E', "Riservato"},
      {{254, 0, 0, 0}, 'E', "Riservato"},
      {{255, 0, 0, 0}, 'E', "Riservato"},
  };
  for (const auto& c : cases) {
    const SubnetResult r = EvaluateSubnet(c.octets, 8);
    EXPECT_EQ(r.ClassText[0], c.classLetter) << r.AddressText;
    EXPECT_EQ(r.TypeText, c.type) << r.AddressText;
  }
}

TEST(EvaluateSubnet, OctetsAreClampedAndCutToWholeNumbers) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    Octets octets;
    const char* text;
  } cases[] = {
      {{300, 0, 0, 1}, "255.0.0.1"},
      {{9e9, -5, 7, 999}, "255.0.7.255"},
      {{1.5, 255.9, -0.5, 0.999}, "1.255.0.0"},
      {{nan, inf, -inf, 1e-320}, "0.255.0.0"},
      {{127.9, 1, 2, 3}, "127.1.2.3"},
  };
  for (const auto& c : cases) {
    const SubnetResult r = EvaluateSubnet(c.octets, 8);
    EXPECT_EQ(r.AddressText, c.text);
    EXPECT_EQ(r.Address, DottedToAddress(c.text));
  }
}

TEST(EvaluateSubnet, HostBitsOutside0To32Overflow) {
  for (int hostBits :
       {-1, 33, 64, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
    EXPECT_THROW(EvaluateSubnet({1, 2, 3, 4}, hostBits), OverflowError) << hostBits;
  }
}

// Counts grouped by thousands, written independently of the code under test.
std::string Grouped(std::uint64_t n) {
  if (n < 1000) {
    return std::to_string(n);
  }
  const std::string low = std::to_string(1000 + n % 1000);
  return Grouped(n / 1000) + "." + low.substr(1);
}

std::string Dotted(std::uint32_t a) {
  return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." +
         std::to_string((a >> 8) & 255) + "." + std::to_string(a & 255);
}

TEST(EvaluateSubnet, AgreesWithPlainUnsignedArithmeticForEveryMask) {
  std::mt19937 random(20240611);
  for (int i = 0; i < 2000; ++i) {
    const std::uint32_t a = i < 2 ? (i == 0 ? 0u : 0xFFFFFFFFu) : random();
    const Octets octets = {double(a >> 24), double((a >> 16) & 255), double((a >> 8) & 255),
                           double(a & 255)};
    const std::string text = Dotted(a);
    ASSERT_EQ(AddressToDotted(DottedToAddress(text)), text);
    for (int bits = 0; bits <= 32; ++bits) {
      const std::uint32_t mask = bits == 32 ? 0u : 0xFFFFFFFFu << bits;
      const std::uint32_t network = a & mask;
      const std::uint32_t broadcast = network | ~mask;
      const std::uint64_t count = (std::uint64_t{1} << bits) - 2;
      const SubnetResult r = EvaluateSubnet(octets, bits);
      ASSERT_EQ(r.AddressText, text);
      ASSERT_EQ(static_cast<std::uint32_t>(r.Network), network) << text << " " << bits;
      ASSERT_EQ(static_cast<std::uint32_t>(r.Broadcast), broadcast) << text << " " << bits;
      ASSERT_EQ(r.NetworkText, Dotted(network));
      ASSERT_EQ(r.BroadcastText, Dotted(broadcast));
      ASSERT_EQ(r.HostCount, bits == 32 ? -2 : static_cast<std::int64_t>(count));
      const char* special[] = {"1", "Mask non valida"};
      ASSERT_EQ(r.HostsText, bits < 2     ? special[bits]
                             : bits == 32 ? "Tutta internet!"
                                          : Grouped(count));
      const char* status = bits == 0        ? "Host singolo"
                           : a == network   ? "NON VALIDO: IP = Network!"
                           : a == broadcast ? "NON VALIDO: IP = Broadcast!"
                                            : "Valido";
      ASSERT_EQ(r.StatusText, status) << text << " " << bits;
    }
  }
}

// A number format with "," as decimal point and "." between thousands, as in Italy.
struct CommaDecimal : std::numpunct<char> {
  char do_decimal_point() const override { return ','; }
  char do_thousands_sep() const override { return '.'; }
  std::string do_grouping() const override { return "\3"; }
};

TEST(EvaluateSubnet, ResultsDoNotDependOnTheLocale) {
  const auto evaluate = [] {
    std::string all;
    for (const SubnetResult& r :
         {EvaluateSubnet({172, 16, 1, 2}, 16), EvaluateSubnet({200, 1, 2, 3}, 31)}) {
      all += r.AddressText + "|" + r.NetworkText + "|" + r.BroadcastText + "|" + r.HostsText + "|";
    }
    for (const char* text : {"1.5", "-.25e1", "1 234.5"}) {
      all += NumberText(LeadingNumber(text)) + "|";
    }
    return all;
  };
  const std::string expected =
      "172.16.1.2|172.16.0.0|172.16.255.255|65.534|"
      "200.1.2.3|128.0.0.0|255.255.255.255|2.147.483.646|"
      "1.5|-2.5|1234.5|";
  ASSERT_EQ(evaluate(), expected);

  const std::locale previous = std::locale::global(std::locale(std::locale(), new CommaDecimal));
  const bool named = std::setlocale(LC_ALL, "it_IT.UTF-8") || std::setlocale(LC_ALL, "de_DE.UTF-8");
  const std::string underOtherLocale = evaluate();
  std::locale::global(previous);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(underOtherLocale, expected) << (named ? "named locale" : "numpunct facet only");
}

}  // namespace
}  // namespace maskora
