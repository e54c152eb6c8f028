// SPDX-License-Identifier: MIT
#include "core/utf8.h"

namespace maskora {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(Text& out, char32_t code) {
  if (code < 0x10000) {
    out.push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  }
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
    return;
  }
  const int tail = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
  static constexpr unsigned char kLead[] = {0, 0xC0, 0xE0, 0xF0};
  out.push_back(static_cast<char>(kLead[tail] | (code >> (6 * tail))));
  for (int i = tail - 1; i >= 0; --i) {
    out.push_back(static_cast<char>(0x80 | ((code >> (6 * i)) & 0x3F)));
  }
}

}  // namespace

char32_t DecodeUtf8(std::string_view bytes, std::size_t i, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(bytes[i]);
  length = 1;
  if (lead < 0x80) {
    return lead;
  }
  const std::size_t tail = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
  if (tail == 0 || lead > 0xF4 || i + tail >= bytes.size()) {
    return kUtf8Invalid;
  }
  char32_t code = lead & (0x3F >> tail);
  for (std::size_t k = 1; k <= tail; ++k) {
    const auto next = static_cast<unsigned char>(bytes[i + k]);
    if ((next & 0xC0) != 0x80) {
      return kUtf8Invalid;
    }
    code = (code << 6) | (next & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[tail] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    return kUtf8Invalid;
  }
  length = tail + 1;
  return code;
}

Text Utf8ToText(std::string_view bytes) {
  Text out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size();) {
    std::size_t length = 1;
    const char32_t code = DecodeUtf8(bytes, i, length);
    AppendUtf16(out, code == kUtf8Invalid ? kReplacement : code);
    i += length;
  }
  return out;
}

std::string TextToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = kReplacement;
    }
    AppendUtf8(out, code);
  }
  return out;
}

}  // namespace maskora
