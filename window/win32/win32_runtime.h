// Runtime services on Win32: clock, random generator, one pass of the message queue.
#pragma once

#include <functional>

#include <windows.h>

#include "window/contract.h"
#include "window/random_generator.h"

namespace maskora {

class Win32Runtime : public Runtime {
 public:
  // translate gives the window's keyboard navigation the first look at each message (true
  // when it handled it); isUnloaded tells DoEvents whether the form is gone, and it then
  // throws FormUnloaded.
  explicit Win32Runtime(std::function<bool(MSG&)> translate = {},
                        std::function<bool()> isUnloaded = {});

  double Timer() override;
  void Randomize(double seed) override;
  double Rnd() override;
  void DoEvents() override;
  char16_t DecimalSeparator() const override;

 private:
  std::function<bool(MSG&)> translate_;
  std::function<bool()> isUnloaded_;
  RandomGenerator generator_;
};

// Hands one message to the window, through the keyboard navigation first.
void DeliverMessage(MSG& message, const std::function<bool(MSG&)>& translate);

}  // namespace maskora
