// SPDX-License-Identifier: MIT
// The octet fields' key table: what typing does to the fields, the focus and the computations.
// Form1's tests run every row on fake controls; a binding's tests run a few rows through its
// toolkit's real key events.
#pragma once

#include <array>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/text.h"
#include "window/control_id.h"

namespace maskora::testing {

using Octets = std::array<Text, 4>;

// Non-character keys in a key string.
inline constexpr char16_t kLeft = u'\u2190';
inline constexpr char16_t kUp = u'\u2191';
inline constexpr char16_t kRight = u'\u2192';
inline constexpr char16_t kDown = u'\u2193';

// One row: the fields' texts, the field that has the focus with its selection, the keys the user
// types, and what the fields, the focus and the computations are afterwards.
struct KeyCase {
  const char* what;
  Octets before;
  int field, selStart, selLength;
  std::u16string keys;
  Octets after;
  std::optional<ControlId> focus;
  int calculations;
};

inline void PrintTo(const KeyCase& c, std::ostream* out) {
  *out << c.what;
}

inline const Octets kZeros = {u"0", u"0", u"0", u"0"};

inline constexpr auto kIp0 = ControlId::txtIP0, kIp1 = ControlId::txtIP1, kIp2 = ControlId::txtIP2,
                      kIp3 = ControlId::txtIP3;

// One row a case reads better than one value a line.
// clang-format off
inline const std::vector<KeyCase> kKeyTable = {
    {"a dotted address from the first field", kZeros, 0, 0, 1, u"192.168.1.10",
     {u"192", u"168", u"1", u"10"}, kIp3, 24},
    {"a third digit stays and the next field follows", {u"19", u"77", u"0", u"0"}, 0, 2,
     0, u"2", {u"192", u"77", u"0", u"0"}, kIp1, 2},
    {"the next field's whole text is replaced", {u"19", u"77", u"0", u"0"}, 0, 2, 0,
     u"25", {u"192", u"5", u"0", u"0"}, kIp1, 4},
    {"the advance ignores the caret", {u"0", u"12", u"0", u"0"}, 1, 0, 0, u"1",
     {u"0", u"112", u"0", u"0"}, kIp2, 2},
    {"a letter in a full field advances and is discarded", {u"0", u"12", u"0", u"0"}, 1,
     2, 0, u"a", {u"0", u"12", u"0", u"0"}, kIp2, 2},
    {"a letter in a short field is discarded", {u"0", u"1", u"0", u"0"}, 1, 1, 0, u"a",
     {u"0", u"1", u"0", u"0"}, kIp1, 2},
    {"a blank is no digit", {u"1", u"0", u"0", u"0"}, 0, 1, 0, u" ",
     {u"1", u"0", u"0", u"0"}, kIp0, 2},
    {"a selection is replaced without advance", {u"0", u"0", u"12", u"0"}, 2, 0, 1,
     u"5", {u"0", u"0", u"52", u"0"}, kIp2, 2},
    {"a dot moves on and is never inserted", {u"7", u"0", u"0", u"0"}, 0, 1, 0, u".",
     {u"7", u"0", u"0", u"0"}, kIp1, 2},
    {"a dot in the last field stays", {u"0", u"0", u"0", u"7"}, 3, 1, 0, u".",
     {u"0", u"0", u"0", u"7"}, kIp3, 2},
    {"a dot right after an advance does not skip a field", {u"0", u"0", u"45", u"0"},
     2, 0, 2, u".", {u"0", u"0", u"45", u"0"}, kIp2, 2},
    {"no advance in the last field", {u"0", u"0", u"0", u"9"}, 3, 1, 0, u"99",
     {u"0", u"0", u"0", u"999"}, kIp3, 4},
    {"three characters at most", {u"0", u"0", u"0", u"999"}, 3, 3, 0, u"9",
     {u"0", u"0", u"0", u"999"}, kIp3, 2},
    {"999 in the last field becomes 255 when left", kZeros, 3, 0, 1, u"999\u2190\u2190\u2190\u2190",
     {u"0", u"0", u"0", u"255"}, kIp2, 10},
    {"Backspace in an empty field steps back", {u"10", u"20", u"", u"0"}, 2, 0, 0,
     u"\b", {u"10", u"20", u"0", u"0"}, kIp1, 2},
    {"Backspace deletes in a field with text", {u"10", u"20", u"0", u"0"}, 1, 2, 0,
     u"\b", {u"10", u"2", u"0", u"0"}, kIp1, 2},
    {"Backspace in the first field never moves", {u"", u"0", u"0", u"0"}, 0, 0, 0,
     u"\b", {u"", u"0", u"0", u"0"}, kIp0, 2},
    {"Left at the start moves back", {u"1", u"2", u"3", u"4"}, 2, 0, 0, u"\u2190",
     {u"1", u"2", u"3", u"4"}, kIp1, 1},
    {"Left with the whole text selected stays", {u"1", u"2", u"3", u"4"}, 2, 0, 1,
     u"\u2190", {u"1", u"2", u"3", u"4"}, kIp2, 1},
    {"Left in the first field stays", {u"1", u"2", u"3", u"4"}, 0, 0, 0, u"\u2190",
     {u"1", u"2", u"3", u"4"}, kIp0, 1},
    {"Right at the end moves on", {u"1", u"2", u"3", u"4"}, 1, 1, 0, u"\u2192",
     {u"1", u"2", u"3", u"4"}, kIp2, 1},
    {"Right in the last field stays", {u"1", u"2", u"3", u"4"}, 3, 1, 0, u"\u2192",
     {u"1", u"2", u"3", u"4"}, kIp3, 1},
    {"Right before the end stays", {u"1", u"23", u"3", u"4"}, 1, 1, 0, u"\u2192",
     {u"1", u"23", u"3", u"4"}, kIp1, 1},
    {"an empty field is left both ways", {u"1", u"", u"3", u"4"}, 1, 0, 0,
     u"\u2192\u2190\u2190", {u"1", u"0", u"3", u"4"}, kIp1, 3},
    {"Up stops at 255", {u"255", u"0", u"0", u"0"}, 0, 3, 0, u"\u2191",
     {u"255", u"0", u"0", u"0"}, kIp0, 2},
    {"Down stops at 0", {u"0", u"0", u"0", u"0"}, 0, 1, 0, u"\u2193",
     {u"0", u"0", u"0", u"0"}, kIp0, 2},
    {"Up on an empty field gives 1", {u"", u"0", u"0", u"0"}, 0, 0, 0, u"\u2191",
     {u"1", u"0", u"0", u"0"}, kIp0, 2},
    {"Down on an empty field gives 0", {u"", u"0", u"0", u"0"}, 0, 0, 0, u"\u2193",
     {u"0", u"0", u"0", u"0"}, kIp0, 2},
    {"Up on 007 gives 8", {u"007", u"0", u"0", u"0"}, 0, 3, 0, u"\u2191",
     {u"8", u"0", u"0", u"0"}, kIp0, 2},
    {"a slash goes on to the mask list", {u"10", u"0", u"0", u"0"}, 0, 2, 0, u"/",
     {u"10", u"0", u"0", u"0"}, ControlId::cmbMask, 1},
    {"a slash in a full field leaves the next one behind", {u"0", u"0", u"12", u"0"}, 2,
     2, 0, u"/", {u"0", u"0", u"12", u"0"}, ControlId::cmbMask, 1},
    {"Enter is a character like any other", {u"0", u"12", u"0", u"0"}, 1, 2, 0, u"\r",
     {u"0", u"12", u"0", u"0"}, kIp2, 2},
    {"Escape is a character like any other", {u"0", u"0", u"77", u"0"}, 2, 2, 0, u"\x1b",
     {u"0", u"0", u"77", u"0"}, kIp3, 2},
};
// clang-format on

// The row that says what.
inline const KeyCase& KeyRow(std::string_view what) {
  for (const KeyCase& row : kKeyTable) {
    if (what == row.what) {
      return row;
    }
  }
  throw std::invalid_argument(std::string("no key row ") + std::string(what));
}

}  // namespace maskora::testing
