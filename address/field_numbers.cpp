// SPDX-License-Identifier: MIT
// The numbers of a field's text: the number a text begins with, a text that is a number as a
// whole, a number written back as text, and dotted text read back as an address. All of them
// work on the bytes of the text, so they never depend on the locale.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "address/address.h"
#include "core/text.h"

namespace maskora {
namespace {

constexpr double kLargest = std::numeric_limits<double>::max();
constexpr long long kExponentLimit = 1'000'000'000;

bool IsDigit(int c) {
  return c >= '0' && c <= '9';
}

// Value of c as a digit of the given radix, -1 when it is none.
int DigitValue(int c, int radix) {
  int value = -1;
  if (IsDigit(c)) {
    value = c - '0';
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  }
  return value < radix ? value : -1;
}

// Reads the text character by character, stepping over blanks, tabs and line feeds wherever
// they stand: a pasted "1 2" is the number 12.
class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  // The next character that is not skipped, as an unsigned byte; -1 at the end.
  int Peek() {
    while (pos_ < text_.size() &&
           (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n')) {
      ++pos_;
    }
    return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : -1;
  }
  void Next() { ++pos_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// Digits of the given radix as a whole number; a number too large for a double stops growing at
// the largest finite double instead of becoming infinite.
double ReadWhole(Reader& in, int radix) {
  double value = 0;
  for (int digit = DigitValue(in.Peek(), radix); digit >= 0; digit = DigitValue(in.Peek(), radix)) {
    in.Next();
    value = std::min(value * radix + digit, kLargest);
  }
  return value;
}

// Sign, digits, point, digits, exponent. The digits are gathered into a plain text that
// std::from_chars converts, which always uses "." and rounds correctly.
double ReadDecimal(Reader& in) {
  bool negative = false;
  if (in.Peek() == '+' || in.Peek() == '-') {
    negative = in.Peek() == '-';
    in.Next();
  }
  // "0" in front keeps a leading point (".5") within what from_chars accepts.
  std::string number = "0";
  // Decimal position of the first significant digit (0.d x 10^position); decides between too
  // large and too small when the conversion is out of range.
  long long position = 0;
  bool significant = false;
  bool digits = false;
  for (; IsDigit(in.Peek()); in.Next()) {
    number += static_cast<char>(in.Peek());
    digits = true;
    significant = significant || number.back() != '0';
    position += significant ? 1 : 0;
  }
  if (in.Peek() == '.') {
    in.Next();
    number += '.';
    for (; IsDigit(in.Peek()); in.Next()) {
      number += static_cast<char>(in.Peek());
      digits = true;
      significant = significant || number.back() != '0';
      position -= significant ? 0 : 1;
    }
  }
  if (!digits) {
    return 0.0;
  }
  long long exponent = 0;
  if (in.Peek() == 'E' || in.Peek() == 'e') {
    in.Next();
    bool negativeExponent = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
      negativeExponent = in.Peek() == '-';
      in.Next();
    }
    for (; IsDigit(in.Peek()); in.Next()) {
      exponent = std::min(exponent * 10 + (in.Peek() - '0'), kExponentLimit);
    }
    exponent = negativeExponent ? -exponent : exponent;
  }
  number += 'e';
  number += std::to_string(exponent);
  double value = 0.0;
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error == std::errc::result_out_of_range) {
    value = significant && position + exponent > 0 ? kLargest : 0.0;
  } else if (error != std::errc()) {
    value = 0.0;
  }
  if (value == 0.0) {
    return 0.0;  // never -0, which would be written back as "-0"
  }
  return negative ? -value : value;
}

// Low eight bits of the whole part of a field's number, two's complement for negative values.
unsigned LowByte(double value) {
  if (!std::isfinite(value)) {
    return 0;
  }
  double low = std::fmod(std::trunc(value), 256.0);  // exact, within -255..255
  if (low < 0) {
    low += 256.0;
  }
  return static_cast<unsigned>(low);
}

}  // namespace

AddressValue DottedToAddress(std::string_view text) {
  const std::vector<std::string_view> parts = SplitAtDots(text);
  if (parts.size() != 4) {
    return 0;
  }
  std::uint32_t bits = 0;
  for (std::string_view part : parts) {
    bits = (bits << 8) | LowByte(LeadingNumber(part));
  }
  return static_cast<AddressValue>(bits);
}

double LeadingNumber(std::string_view text) {
  Reader in(text);
  if (in.Peek() != '&') {
    return ReadDecimal(in);
  }
  in.Next();
  const int radix = in.Peek();
  if (radix == 'H' || radix == 'h') {
    in.Next();
    return ReadWhole(in, 16);
  }
  if (radix == 'O' || radix == 'o') {
    in.Next();
    return ReadWhole(in, 8);
  }
  return 0.0;
}

std::optional<double> WholeNumber(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto skipBlanks = [&] {
    while (i < n && text[i] == ' ') {
      ++i;
    }
  };
  auto digits = [&] {
    const std::size_t from = i;
    while (i < n && IsDigit(text[i])) {
      ++i;
    }
    return i - from;
  };
  skipBlanks();
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    ++i;
  }
  std::size_t mantissa = digits();
  if (i < n && text[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) {
    return std::nullopt;
  }
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      ++i;
    }
    if (digits() == 0) {
      return std::nullopt;
    }
  }
  skipBlanks();
  if (i != n) {
    return std::nullopt;
  }
  return LeadingNumber(text);
}

std::string NumberText(double value) {
  if (std::isnan(value) || value == 0.0) {
    return "0";
  }
  value = std::clamp(value, -kLargest, kLargest);
  // Fixed or exponent form at 15 significant digits, chosen as printf's %.15G chooses: plain
  // digits from .0001 up to 999999999999999, an exponent beyond.
  char buffer[32];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  std::string text(buffer, result.ptr);
  const std::size_t digits = text[0] == '-' ? 1 : 0;
  if (text.compare(digits, 2, "0.") == 0) {
    text.erase(digits, 1);
  }
  std::replace(text.begin(), text.end(), 'e', 'E');
  return text;
}

}  // namespace maskora
