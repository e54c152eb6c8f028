// SPDX-License-Identifier: MIT
#include "window/text.h"

namespace maskora {

Text Widen(std::string_view ascii) {
  return Text(ascii.begin(), ascii.end());
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t ch : text) {
    out.push_back(ch < 0x80 ? static_cast<char>(ch) : '\x7f');
  }
  return out;
}

std::vector<Text> SplitAtDots(const Text& text) {
  std::vector<Text> parts;
  std::size_t start = 0;
  for (std::size_t dot = text.find(u'.'); dot != Text::npos; dot = text.find(u'.', start)) {
    parts.push_back(text.substr(start, dot - start));
    start = dot + 1;
  }
  parts.push_back(text.substr(start));
  return parts;
}

}  // namespace maskora
