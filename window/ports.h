// SPDX-License-Identifier: MIT
// What the window asks of the parts above it: the address sources of the CLI and SRV buttons,
// and the hook that brings wheel turns to MouseWheel.
#pragma once

#include "window/contract.h"

namespace maskora {

class AddressSources {
 public:
  virtual ~AddressSources() = default;
  // This computer's address as dotted text, a failure text, or empty when the start-up of
  // the lookup failed (it has then shown its own message).
  virtual Text LookupLocalAddress() = 0;
  // The public address text from the web script, or the local lookup's text when the
  // request gave nothing.
  virtual Text PublicAddressText() = 0;
};

// Installs and removes the hook that turns wheel turns over the window into MouseWheel calls.
class WheelHook {
 public:
  virtual ~WheelHook() = default;
  virtual void HookWheel() = 0;
  virtual void UnhookWheel() = 0;
};

}  // namespace maskora
