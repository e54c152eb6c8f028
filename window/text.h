// SPDX-License-Identifier: MIT
// Conversions between the window's UTF-16 texts and the ASCII texts of the address arithmetic.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "window/contract.h"

namespace maskora {

Text Widen(std::string_view ascii);

// Characters outside ASCII become DEL, which no number reading skips or accepts.
std::string Narrow(std::u16string_view text);

// Splits at every "." with no limit on the number of parts; the empty text is one empty part.
std::vector<Text> SplitAtDots(const Text& text);

}  // namespace maskora
