// SPDX-License-Identifier: MIT
#include "core/text.h"

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

}  // namespace maskora
