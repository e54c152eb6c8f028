// SPDX-License-Identifier: MIT
// The runtime services that the window's handlers and the public-address wait use: the clock,
// the random generator, one pass of the window's pending events, the regional settings.
#pragma once

#include "core/random_generator.h"

namespace maskora {

// Thrown out of Runtime::ProcessPendingEvents once the window has been unloaded, so that a
// handler waiting there unwinds instead of touching a window that is gone.
class FormUnloaded {};

class Runtime {
 public:
  virtual ~Runtime() = default;
  // Time of day in seconds since midnight, with a fraction.
  virtual double SecondsSinceMidnight() = 0;
  virtual void SeedRandom(double seed) = 0;
  // The next pseudo-random number in [0, 1).
  virtual double NextRandom() = 0;
  // One pass of the pending window events; waits briefly for one when there is none, so a
  // polling loop does not spin. Throws FormUnloaded when the window is gone.
  virtual void ProcessPendingEvents() = 0;
  // Decimal separator of the user's regional settings.
  virtual char16_t DecimalSeparator() const = 0;
};

// What both toolkits share: the generator, and the end of every wait once the window is gone.
// A binding adds its clock, its event pass and its regional settings.
class ToolkitRuntime : public Runtime {
 public:
  void SeedRandom(double seed) override { generator_.Seed(seed); }
  double NextRandom() override { return generator_.Next(); }
  void ProcessPendingEvents() final {
    HandlePendingEvents();
    if (waitsEnded_) {
      throw FormUnloaded{};
    }
  }

  // The window has been unloaded or is being destroyed: a handler waiting for events unwinds.
  void EndWaits() { waitsEnded_ = true; }
  // A new window: waits last until it ends them.
  void BeginWaits() { waitsEnded_ = false; }

 protected:
  // Handles the pending window events; waits briefly for one when there is none.
  virtual void HandlePendingEvents() = 0;

 private:
  RandomGenerator generator_;
  bool waitsEnded_ = false;
};

}  // namespace maskora
