// IPv4 address arithmetic: the address type, text conversions and the subnet evaluation.
// Standard library only; nothing here depends on the process locale.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace maskora {

// An IPv4 address, mask or wildcard; first octet in the most significant byte, so addresses
// from 128.0.0.0 up are negative.
using AddressValue = std::int32_t;

// Run-time error 6: a value that does not fit the signed 32-bit type it is meant for.
class OverflowError : public std::overflow_error {
 public:
  OverflowError() : std::overflow_error("Overflow") {}
  static constexpr int kNumber = 6;
};

// Dotted text of the value's 32-bit pattern, most significant byte first.
std::string AddressToDotted(AddressValue value);

// Four "."-separated parts, each read as LeadingNumber and keeping the low eight bits of its
// whole part (two's complement when negative); 0 unless there are exactly four parts.
AddressValue DottedToAddress(std::string_view text);

// The signed 32-bit value with the same bits as an unsigned quantity carried in a double.
// Throws OverflowError when the value is negative, not below 2^32 or NaN; a fraction is cut off.
AddressValue UnsignedToSigned(double value);

// The number that the text begins with, 0 when there is none. Never throws. Blanks, tabs and
// line feeds are skipped anywhere; "." is the decimal point; &H and &O start hexadecimal and
// octal whole numbers. Too large a number gives the largest finite double (with its sign), too
// small a one gives 0, so the result is always finite.
double LeadingNumber(std::string_view text);

// Decimal text of a number: no blanks, "." as the separator, at most 15 significant digits, no
// zero before the point (".5"); an exponent ("1E+15", "1E-05") only for magnitudes from 1E+15
// up or below 1E-04. NaN gives "0", infinities the largest finite double. LeadingNumber reads
// every result back.
std::string NumberText(double value);

struct SubnetResult {
  std::string AddressText;
  AddressValue Address = 0;
  AddressValue Wildcard = 0;
  AddressValue Network = 0;
  AddressValue Broadcast = 0;
  std::int32_t HostCount = 0;
  std::string NetworkText;
  std::string BroadcastText;
  std::string HostsText;
  std::string StatusText;
  std::string ClassText;
  std::optional<int> ClassHostBits;
  std::string TypeText;
};

// Evaluates four octet values (clamped to 0..255, fraction cut off, NaN as 0) with a mask of
// hostBits host bits.
// Throws OverflowError when hostBits lies outside 0..32.
SubnetResult EvaluateSubnet(const std::array<double, 4>& octets, int hostBits);

}  // namespace maskora
