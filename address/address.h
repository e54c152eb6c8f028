// SPDX-License-Identifier: MIT
// IPv4 address arithmetic: the address type, text conversions and the subnet evaluation.
// Standard library only; nothing here depends on the process locale.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace maskora {

// An IPv4 address, mask or wildcard; first octet in the most significant byte, so addresses
// from 128.0.0.0 up are negative.
using AddressValue = std::int32_t;

// A value that does not fit the signed 32-bit type it is meant for.
class OverflowError : public std::overflow_error {
 public:
  OverflowError() : std::overflow_error("Overflow") {}
};

// Dotted text of the value's 32-bit pattern, most significant byte first.
std::string AddressToDotted(AddressValue value);
// The same, appended to out.
void AppendDotted(std::string& out, AddressValue value);

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

// The value of a text that is a number as a whole, blanks around it allowed ("12", " 7 ",
// "-5", "1.5", "2e2"); none for anything else ("", "12a", "1 2", "&HFF").
std::optional<double> WholeNumber(std::string_view text);

// An octet's value held to 0..255; NaN counts as 0.
double ClampOctet(double value);

// Decimal text of a number: no blanks, "." as the separator, at most 15 significant digits, no
// zero before the point (".5"); an exponent ("1E+15", "1E-05") only for magnitudes from 1E+15
// up or below 1E-04. NaN gives "0", infinities the largest finite double. LeadingNumber reads
// every result back.
std::string NumberText(double value);

// A whole address as a user writes it: "192.168.1.10", "10.1.2.3/8", "10.1.2.3/255.0.0.0" or
// "10.1.2.3 255.0.0.0", with blanks and line breaks around it.
struct AddressEntry {
  std::array<int, 4> octets{};
  std::optional<int> hostBits;  // of the prefix or mask, when one was given
  friend bool operator==(const AddressEntry&, const AddressEntry&) = default;
};

enum class AddressTextKind {
  NotAnAddress,  // no dotted address at all
  Malformed,     // a dotted address that is not one: octet over 255, five parts, bad mask
  Address,
};

struct AddressReading {
  AddressTextKind kind = AddressTextKind::NotAnAddress;
  AddressEntry entry;  // when kind is Address
};

// Reads a text as a whole address. A text counts as an address (well formed or not) when,
// trimmed, it begins with digits and at least three dots.
AddressReading ReadAddressText(std::string_view text);

// The longest text that is worth reading as an address, in characters. The longest form,
// "255.255.255.255 / 255.255.255.255", has 33; the rest is room for the blanks and line breaks
// that a copy from a document or a terminal brings along. A pasted text beyond it is no address
// and is refused before it is copied, however large the clipboard.
inline constexpr std::size_t kLongestAddressText = 1024;

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
