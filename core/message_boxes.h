// SPDX-License-Identifier: MIT
// The modal message boxes that the window and the address lookups show.
#pragma once

#include "core/text.h"

namespace maskora {

enum class MessageIcon { None, Information, Exclamation };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Modal, one OK button. An empty title shows the application title.
  virtual void ShowMessage(const Text& text, MessageIcon icon, const Text& title = {}) = 0;
};

}  // namespace maskora
