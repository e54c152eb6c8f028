// SPDX-License-Identifier: MIT
// Runtime services on Qt: the clock, one event pass and the regional settings.
#pragma once

#include "core/runtime.h"

namespace maskora {

class QtRuntime : public ToolkitRuntime {
 public:
  double SecondsSinceMidnight() override;
  char16_t DecimalSeparator() const override;

 protected:
  void HandlePendingEvents() override;
};

}  // namespace maskora
