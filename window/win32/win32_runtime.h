// SPDX-License-Identifier: MIT
// Runtime services on Win32: the clock, one pass of the message queue, the regional settings.
#pragma once

#include <windows.h>

#include "core/runtime.h"

namespace maskora {

class Win32Runtime : public ToolkitRuntime {
 public:
  double SecondsSinceMidnight() override;
  char16_t DecimalSeparator() const override;

 protected:
  void HandlePendingEvents() override;
};

// Hands one message to its window, through the keyboard navigation (Tab, access keys) of the
// loaded form it belongs to first.
void DeliverMessage(MSG& message);

}  // namespace maskora
