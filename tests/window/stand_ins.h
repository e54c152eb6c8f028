// Stand-ins for what the window's handlers call out to: message boxes that record what they
// would show, and address sources that answer what a test scripts.
#pragma once

#include <functional>
#include <vector>

#include "window/contract.h"
#include "window/form1.h"

namespace maskora::testing {

struct ShownBox {
  Text text;
  MessageIcon icon;
  Text title;
  bool operator==(const ShownBox&) const = default;
};

class RecordingBoxes : public MessageBoxes {
 public:
  void MsgBox(const Text& text, MessageIcon icon, const Text& title) override {
    shown.push_back({text, icon, title});
  }
  std::vector<ShownBox> shown;
};

class ScriptedSources : public AddressSources {
 public:
  Text LookupLocalAddress() override {
    ++localCalls;
    return local;
  }
  Text PublicAddressText() override {
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

}  // namespace maskora::testing
