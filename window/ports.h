// SPDX-License-Identifier: MIT
// What the window asks of the parts beside it: the address sources of the CLI and SRV buttons,
// and the hook that brings wheel turns to MouseWheel.
#pragma once

#include "core/message_boxes.h"
#include "core/text.h"

namespace maskora {

class AddressSources {
 public:
  virtual ~AddressSources() = default;
  // This computer's address as dotted text, a failure text, or empty when the start-up of
  // the lookup failed (it has then said why in one of the window's message boxes).
  virtual Text LookupLocalAddress(MessageBoxes& dialogs) = 0;
  // The public address text from the web script, or the local lookup's text when the
  // request gave nothing.
  virtual Text PublicAddressText(MessageBoxes& dialogs) = 0;
};

// Installs and removes the hook that turns wheel turns over the window into MouseWheel calls.
class WheelHook {
 public:
  virtual ~WheelHook() = default;
  virtual void HookWheel() = 0;
  virtual void UnhookWheel() = 0;
};

}  // namespace maskora
