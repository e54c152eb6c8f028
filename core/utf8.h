// SPDX-License-Identifier: MIT
// UTF-8, as settings files, libcurl and terminals take text, to and from the program's UTF-16.
#pragma once

#include <string>
#include <string_view>

#include "core/text.h"

namespace maskora {

// Malformed sequences become U+FFFD, one for each byte that starts no valid sequence.
Text Utf8ToText(std::string_view bytes);

// A lone surrogate becomes U+FFFD.
std::string TextToUtf8(std::u16string_view text);

}  // namespace maskora
