// SPDX-License-Identifier: MIT
// UTF-8, as settings files, libcurl and terminals take text, to and from the program's UTF-16.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/text.h"

namespace maskora {

// What DecodeUtf8 gives for a byte that starts no valid sequence.
inline constexpr char32_t kUtf8Invalid = 0xFFFFFFFF;

// The code point of the sequence at bytes[at], with its length in bytes; kUtf8Invalid and 1 when
// the sequence is malformed, overlong, a surrogate or beyond U+10FFFF.
char32_t DecodeUtf8(std::string_view bytes, std::size_t at, std::size_t& length);

// Malformed sequences become U+FFFD, one for each byte that starts no valid sequence.
Text Utf8ToText(std::string_view bytes);

// A lone surrogate becomes U+FFFD.
std::string TextToUtf8(std::u16string_view text);

}  // namespace maskora
