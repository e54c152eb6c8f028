// SPDX-License-Identifier: MIT
// This computer's address: the first address of its host name, found through the sockets
// library, which is started and released around each lookup.
#pragma once

#include <cstdint>

#include "core/message_boxes.h"
#include "core/text.h"
#include "sources/sockets.h"

namespace maskora {

inline constexpr std::uint16_t kRequestedSocketsVersion = 257;  // 1.1

std::uint8_t LowByteOf(std::uint16_t value);
std::uint8_t HighByteOf(std::uint16_t value);

// Starts the library and checks what it negotiated; shows a box and returns false when it
// can't be used (releasing it again when the start-up itself succeeded).
bool StartSockets(Sockets& sockets, MessageBoxes& dialogs);

// Releases the library; shows a box and returns false when that fails.
bool StopSockets(Sockets& sockets, MessageBoxes& dialogs);

// The dotted address, a failure text, or the empty text when the start-up failed.
Text LookupLocalAddress(Sockets& sockets, MessageBoxes& dialogs);

}  // namespace maskora
