// SPDX-License-Identifier: MIT
#include "core/json.h"

#include <array>

namespace maskora {

namespace {

// The bytes that a JSON string can't hold as they are, looked up: the command line writes
// millions of strings.
constexpr auto kEscaped = [] {
  std::array<bool, 256> escaped{};
  for (int byte = 0; byte < 0x20; ++byte) {
    escaped[byte] = true;
  }
  escaped['"'] = escaped['\\'] = escaped[0x7F] = true;
  return escaped;
}();

bool NeedsEscape(char c) {
  return kEscaped[static_cast<unsigned char>(c)];
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += '"';
  // The runs between escapes go in whole: most texts have none.
  for (std::size_t run = 0; run < utf8.size();) {
    std::size_t end = run;
    while (end < utf8.size() && !NeedsEscape(utf8[end])) {
      ++end;
    }
    out.append(utf8.substr(run, end - run));
    if (end == utf8.size()) {
      break;
    }
    const auto byte = static_cast<unsigned char>(utf8[end]);
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += static_cast<char>(byte);
    } else {
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
    run = end + 1;
  }
  out += '"';
}

}  // namespace maskora
