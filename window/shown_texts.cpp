// SPDX-License-Identifier: MIT
#include "window/shown_texts.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "address/address.h"
#include "window/form1.h"
#include "window/result_fields.h"

namespace maskora {

namespace {

// An address of every class and every kind, the lowest and the highest among them: with every
// mask they make each text that a result can show, and numbers of every length.
constexpr std::array<std::array<double, 4>, 15> kEveryKind = {{
    {0, 0, 0, 0},
    {1, 2, 3, 4},
    {10, 0, 0, 1},
    {127, 0, 0, 1},
    {128, 0, 0, 1},
    {169, 254, 0, 1},
    {172, 16, 0, 1},
    {192, 0, 2, 1},
    {192, 88, 99, 1},
    {192, 168, 0, 1},
    {198, 18, 0, 1},
    {223, 255, 255, 255},
    {224, 0, 0, 1},
    {240, 0, 0, 1},
    {255, 255, 255, 255},
}};

std::vector<Text> ResultTexts(ControlId id) {
  const auto result = std::find_if(kResultFields.begin(), kResultFields.end(),
                                   [id](const ResultField& r) { return r.field == id; });
  std::vector<Text> texts;
  if (result == kResultFields.end()) {
    return texts;
  }
  for (const auto& address : kEveryKind) {
    for (int hostBits = 0; hostBits < kMaskEntries; ++hostBits) {
      Text text = Widen(EvaluateSubnet(address, hostBits).*result->text);
      if (std::find(texts.begin(), texts.end(), text) == texts.end()) {
        texts.push_back(std::move(text));
      }
    }
  }
  return texts;
}

}  // namespace

std::vector<Text> TextsShownBy(const ControlDescription& control) {
  std::vector<Text> texts;
  switch (control.kind) {
    case ControlKind::OctetField:
      for (int value = 0; value <= 255; ++value) {
        texts.push_back(Widen(std::to_string(value)));
      }
      break;
    case ControlKind::ResultField:
      texts = ResultTexts(control.id);
      break;
    case ControlKind::MaskList:
      for (int hostBits = 0; hostBits < kMaskEntries; ++hostBits) {
        texts.push_back(Widen(MaskEntryText(hostBits)));
      }
      break;
    case ControlKind::Label:
    case ControlKind::AddressFrame:
    case ControlKind::Dot:
    case ControlKind::Button: {
      // Blanks at the end of a caption show nothing.
      Text shown = ShownCaption(control.caption);
      shown.erase(shown.find_last_not_of(u' ') + 1);
      if (!shown.empty()) {
        texts.push_back(std::move(shown));
      }
      break;
    }
  }
  return texts;
}

}  // namespace maskora
