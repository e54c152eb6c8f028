// SPDX-License-Identifier: MIT
// Runtime services on Qt: the clock, one event pass and the regional settings.
#pragma once

#include "window/toolkit_runtime.h"

namespace maskora {

class QtRuntime : public ToolkitRuntime {
 public:
  double Timer() override;
  char16_t DecimalSeparator() const override;

 protected:
  void ProcessEvents() override;
};

}  // namespace maskora
