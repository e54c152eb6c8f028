// SPDX-License-Identifier: MIT
// The program's text type and the few ways it is taken apart. Texts are UTF-16, as the
// toolkits keep them; positions and lengths count UTF-16 units. Narrow texts are ASCII or UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace maskora {

using Text = std::u16string;

Text Widen(std::string_view ascii);

// Characters outside ASCII become DEL, which no number reading skips or accepts.
std::string Narrow(std::u16string_view text);

// Without blanks (space, tab, line breaks, vertical tab, form feed) at either end.
template <typename Char>
std::basic_string_view<Char> TrimBlanks(std::basic_string_view<Char> text) {
  const auto blank = [](Char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
  };
  while (!text.empty() && blank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && blank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// The parts between the dots, with no limit on their number; the empty text is one empty part.
template <typename Char>
std::vector<std::basic_string_view<Char>> SplitAtDots(std::basic_string_view<Char> text) {
  std::vector<std::basic_string_view<Char>> parts;
  for (auto dot = text.find(Char('.')); dot != text.npos; dot = text.find(Char('.'))) {
    parts.push_back(text.substr(0, dot));
    text.remove_prefix(dot + 1);
  }
  parts.push_back(text);
  return parts;
}

}  // namespace maskora
