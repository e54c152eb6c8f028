// SPDX-License-Identifier: MIT
// Stand-ins for what the window's handlers call out to: message boxes that record what they
// would show, address sources that answer what a test scripts, and a runtime whose clock and
// event passes a test scripts.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "core/message_boxes.h"
#include "core/runtime.h"
#include "window/ports.h"

namespace maskora::testing {

struct ShownBox {
  Text text;
  MessageIcon icon;
  Text title;
  bool operator==(const ShownBox&) const = default;
};

class RecordingBoxes : public MessageBoxes {
 public:
  void ShowMessage(const Text& text, MessageIcon icon, const Text& title) override {
    shown.push_back({text, icon, title});
  }
  std::vector<ShownBox> shown;
};

class ScriptedSources : public AddressSources {
 public:
  Text LookupLocalAddress(MessageBoxes&) override {
    ++localCalls;
    return local;
  }
  Text PublicAddressText(MessageBoxes&) override {
    ++publicCalls;
    return onPublic ? onPublic() : publicText;
  }
  Text local = u"192.168.1.10";
  Text publicText = u"203.0.113.7";
  // When set, answers in place of publicText (a test can wait or close the window in it).
  std::function<Text()> onPublic;
  int localCalls = 0;
  int publicCalls = 0;
};

// A clock that reads the scripted times in order (the last one again once they run out), and
// event passes that run onPass.
class FakeRuntime : public ToolkitRuntime {
 public:
  std::deque<double> times{0};
  double rnd = 0;
  char16_t separator = u'.';
  int passes = 0;
  int clockReads = 0;
  std::function<void(int pass)> onPass;

  double SecondsSinceMidnight() override {
    ++clockReads;
    const double now = times.front();
    if (times.size() > 1) {
      times.pop_front();
    }
    return now;
  }
  void SeedRandom(double) override {}
  double NextRandom() override { return rnd; }
  char16_t DecimalSeparator() const override { return separator; }

 protected:
  void HandlePendingEvents() override {
    ++passes;
    if (onPass) {
      onPass(passes);
    }
  }
};

}  // namespace maskora::testing
