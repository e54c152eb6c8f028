// SPDX-License-Identifier: MIT
// The runtime services that both toolkits share: the pseudo-random generator, and the end of
// every wait in an event pass once the window is gone. A binding adds its clock, its event
// pass and its regional settings.
#pragma once

#include "window/contract.h"
#include "window/random_generator.h"

namespace maskora {

class ToolkitRuntime : public Runtime {
 public:
  void Randomize(double seed) override { generator_.Seed(seed); }
  double Rnd() override { return generator_.Next(); }
  // One pass of ProcessEvents; throws FormUnloaded once the window has ended the waits.
  void DoEvents() final {
    ProcessEvents();
    if (waitsEnded_) {
      throw FormUnloaded{};
    }
  }

  // The window has been unloaded or is being destroyed: a handler waiting in DoEvents unwinds.
  void EndWaits() { waitsEnded_ = true; }
  // A new window: waits last until it ends them.
  void BeginWaits() { waitsEnded_ = false; }

 protected:
  // Handles the pending window events; waits briefly for one when there is none.
  virtual void ProcessEvents() = 0;

 private:
  RandomGenerator generator_;
  bool waitsEnded_ = false;
};

}  // namespace maskora
