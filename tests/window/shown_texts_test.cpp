// SPDX-License-Identifier: MIT
// The texts that the window fits its font to: no result shows a text that they leave out, nor
// a number longer than theirs.
#include "window/shown_texts.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "address/address.h"
#include "window/result_fields.h"

namespace maskora::testing {
namespace {

bool IsNumber(const Text& text) {
  return !text.empty() && text.find_first_not_of(u"0123456789.") == Text::npos;
}

TEST(ShownTexts, CoverEveryResultOfEveryAddressAndMask) {
  std::map<ControlId, std::set<Text>> seen;
  const auto evaluate = [&seen](const std::array<double, 4>& octets, int hostBits) {
    const SubnetResult r = EvaluateSubnet(octets, hostBits);
    for (const ResultField& result : kResultFields) {
      seen[result.field].insert(Widen(r.*result.text));
    }
  };
  // Every class and kind: each first octet with the second and third that name a kind.
  for (double o1 = 0; o1 <= 255; ++o1) {
    for (const double o2 : {0, 16, 18, 19, 31, 88, 168, 254}) {
      for (const double o3 : {0, 2, 99, 255}) {
        evaluate({o1, o2, o3, 1}, 8);
      }
    }
  }
  // Every mask, for addresses at either end of their networks and in between.
  for (int hostBits = 0; hostBits <= 32; ++hostBits) {
    for (const double o1 : {0, 1, 127, 128, 191, 192, 223, 224, 255}) {
      for (const double rest : {0, 1, 254, 255}) {
        evaluate({o1, rest, rest, rest}, hostBits);
      }
    }
  }
  for (const ResultField& result : kResultFields) {
    const std::vector<Text> shown = TextsShownBy(Describe(result.field));
    const std::set<Text> texts(shown.begin(), shown.end());
    EXPECT_EQ(texts.size(), shown.size()) << "each once";
    for (const Text& text : seen[result.field]) {
      // A number is as wide as one of its length, which has as many digits and dots.
      const bool covered =
          texts.contains(text) ||
          (IsNumber(text) && std::any_of(texts.begin(), texts.end(), [&text](const Text& t) {
             return IsNumber(t) && t.size() >= text.size();
           }));
      EXPECT_TRUE(covered) << Narrow(text);
    }
  }
}

}  // namespace
}  // namespace maskora::testing
