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

std::string Utf8(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
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
