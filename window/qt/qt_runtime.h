// Runtime services on Qt: clock, random generator, one event pass.
#pragma once

#include <functional>

#include "window/contract.h"
#include "window/random_generator.h"

namespace maskora {

class QtRuntime : public Runtime {
 public:
  // isUnloaded tells DoEvents whether the form is gone; it then throws FormUnloaded.
  explicit QtRuntime(std::function<bool()> isUnloaded = {});

  double Timer() override;
  void Randomize(double seed) override;
  double Rnd() override;
  void DoEvents() override;
  char16_t DecimalSeparator() const override;

 private:
  std::function<bool()> isUnloaded_;
  RandomGenerator generator_;
};

}  // namespace maskora
