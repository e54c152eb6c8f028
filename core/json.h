// SPDX-License-Identifier: MIT
// JSON strings as the command line and the tests' descriptions write them.
#pragma once

#include <string>
#include <string_view>

namespace maskora {

// Appends the UTF-8 text as a JSON string, quotes included: '"', '\' and every control character
// escaped, so that any text gives valid JSON. Other bytes are kept as they are.
void AppendJsonString(std::string& out, std::string_view utf8);

inline std::string JsonString(std::string_view utf8) {
  std::string out;
  AppendJsonString(out, utf8);
  return out;
}

}  // namespace maskora
