// SPDX-License-Identifier: MIT
// Runtime services on Win32: the clock, one pass of the message queue, the regional settings.
#pragma once

#include <functional>

#include <windows.h>

#include "window/toolkit_runtime.h"

namespace maskora {

class Win32Runtime : public ToolkitRuntime {
 public:
  // translate gives the window's keyboard navigation the first look at each message (true
  // when it handled it).
  explicit Win32Runtime(std::function<bool(MSG&)> translate = {});

  double Timer() override;
  char16_t DecimalSeparator() const override;

 protected:
  void ProcessEvents() override;

 private:
  std::function<bool(MSG&)> translate_;
};

// Hands one message to the window, through the keyboard navigation first.
void DeliverMessage(MSG& message, const std::function<bool(MSG&)>& translate);

}  // namespace maskora
