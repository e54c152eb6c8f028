// SPDX-License-Identifier: MIT
// JSON as the command line and the tests' descriptions write it.
#pragma once

#include <string>
#include <string_view>

namespace maskora {

// The UTF-8 text as a JSON string, quotes included: '"', '\' and every control character
// escaped, so that any text gives valid JSON. Bytes that are not UTF-8 are kept as they are.
std::string JsonString(std::string_view utf8);

}  // namespace maskora
