// SPDX-License-Identifier: MIT
// Every text that a control of the main window can show, for a toolkit that fits its font to
// the room that the controls have.
#pragma once

#include <vector>

#include "core/text.h"
#include "window/form1_description.h"

namespace maskora {

// A caption as shown, an octet's every value, the mask list's entries, or each text that a
// result can take; none for a control without text.
std::vector<Text> TextsShownBy(const ControlDescription& control);

}  // namespace maskora
