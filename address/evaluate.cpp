// SPDX-License-Identifier: MIT
// Evaluation of an address and a mask into everything the window shows.
#include <array>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>

#include "address/address.h"

namespace maskora {
namespace {

// An octet field's number as a whole octet: clamped to 0..255, then its fraction cut off, so
// a pasted 1.5 counts as 1 and the dotted text always has four whole parts.
int WholeOctet(double value) {
  return static_cast<int>(ClampOctet(value));
}

// A count (2 to 2147483646) with its thousands grouped by ".", whatever the system's number
// settings.
std::string GroupedCount(std::int32_t count) {
  char text[16];
  char* start = std::end(text);
  auto rest = static_cast<std::uint32_t>(count);
  for (int digits = 1;; ++digits) {
    *--start = static_cast<char>('0' + rest % 10);
    rest /= 10;
    if (rest == 0) {
      break;
    }
    if (digits % 3 == 0) {
      *--start = '.';
    }
  }
  return std::string(start, std::end(text));
}

void Classify(const std::array<int, 4>& o, SubnetResult& result) {
  if (o[0] <= 127) {
    result.ClassText = "A - ( 8 ) 255.0.0.0";
    result.ClassHostBits = 24;
  } else if (o[0] <= 191) {
    result.ClassText = "B - (16) 255.255.0.0";
    result.ClassHostBits = 16;
  } else if (o[0] <= 223) {
    result.ClassText = "C - (24) 255.255.255.0";
    result.ClassHostBits = 8;
  } else if (o[0] <= 239) {
    result.ClassText = "D - Multicast";
  } else {
    result.ClassText = "E - Riservato";
  }

  if (o[0] == 0) {
    result.TypeText = "Indirizzi ZERO (riservati)";
  } else if (o[0] == 10 || (o[0] == 172 && o[1] >= 16 && o[1] <= 31) ||
             (o[0] == 192 && o[1] == 168)) {
    result.TypeText = "Privato";
  } else if (o[0] == 127) {
    result.TypeText = "Loopback";
  } else if (o[0] == 169 && o[1] == 254) {
    result.TypeText = "Zero Configuration Networking";
  } else if (o[0] == 192 && o[1] == 0 && o[2] == 2) {
    result.TypeText = "Esempio di IP su documentazione";
  } else if (o[0] == 192 && o[1] == 88 && o[2] == 99) {
    result.TypeText = "IPv6 to IPv4 relay Anycast";
  } else if (o[0] == 198 && o[1] >= 18 && o[1] <= 19) {
    result.TypeText = "Network Device Benchmark";
  } else if (o[0] >= 224 && o[0] <= 239) {
    result.TypeText = "Multicast";
  } else if (o[0] >= 240) {
    result.TypeText = "Riservato";
  } else {
    result.TypeText = "Pubblico";
  }
}

}  // namespace

SubnetResult EvaluateSubnet(const std::array<double, 4>& octets, int hostBits) {
  std::array<int, 4> o{};
  SubnetResult result;
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < o.size(); ++i) {
    o[i] = WholeOctet(octets[i]);
    bits = (bits << 8) | static_cast<std::uint32_t>(o[i]);
  }
  // The dotted text of four whole octets, and its value: what DottedToAddress reads back from
  // that text, without reading it.
  result.Address = static_cast<AddressValue>(bits);
  result.AddressText = AddressToDotted(result.Address);
  // 2^hostBits - 1, exact for 0..32; any other hostBits gives a value outside 0..2^32-1, which
  // UnsignedToSigned refuses with OverflowError.
  const bool inRange = hostBits >= 0 && hostBits <= 32;
  result.Wildcard =
      UnsignedToSigned(inRange ? static_cast<double>((std::uint64_t{1} << hostBits) - 1) : -1.0);

  // Mask arithmetic on the unsigned pattern: the same bits as the signed NOT, AND and
  // addition, without any chance of signed overflow.
  const auto address = static_cast<std::uint32_t>(result.Address);
  const auto wildcard = static_cast<std::uint32_t>(result.Wildcard);
  const std::uint32_t network = address & ~wildcard;
  result.HostCount = static_cast<std::int32_t>(wildcard - 1u);
  result.Network = static_cast<AddressValue>(network);
  result.Broadcast = static_cast<AddressValue>(network + wildcard);
  result.NetworkText = AddressToDotted(result.Network);
  result.BroadcastText = AddressToDotted(result.Broadcast);

  if (result.NetworkText == result.AddressText) {
    result.StatusText = "NON VALIDO: IP = Network!";
  } else if (result.BroadcastText == result.AddressText) {
    result.StatusText = "NON VALIDO: IP = Broadcast!";
  } else {
    result.StatusText = "Valido";
  }
  switch (result.HostCount) {
    case -2:
      result.HostsText = "Tutta internet!";
      break;
    case -1:
      result.HostsText = std::string(1, '1');  // not "1": g++ 12 -O3 warns falsely (-Wrestrict)
      result.StatusText = "Host singolo";
      break;
    case 0:
      result.HostsText = "Mask non valida";
      break;
    default:
      result.HostsText = GroupedCount(result.HostCount);
      break;
  }
  Classify(o, result);
  return result;
}

}  // namespace maskora
