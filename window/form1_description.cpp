// SPDX-License-Identifier: MIT
#include "window/form1_description.h"

namespace maskora {
namespace {

constexpr bool InTabOrder() {
  for (std::size_t i = 0; i < kForm1Controls.size(); ++i) {
    if (static_cast<std::size_t>(kForm1Controls[i].id) != i) {
      return false;
    }
  }
  return true;
}
static_assert(InTabOrder(), "each control stands at the place of its id");

}  // namespace

std::optional<ControlId> FindControl(std::string_view name, int index) {
  for (const ControlDescription& control : kForm1Controls) {
    if (control.name == name && control.index == index) {
      return control.id;
    }
  }
  return std::nullopt;
}

std::u16string ShownCaption(std::u16string_view caption) {
  std::u16string shown;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) {
      ++i;
    }
    shown += caption[i];
  }
  return shown;
}

char16_t AccessKey(std::u16string_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (caption[i + 1] != u'&') {
        const char16_t key = caption[i + 1];
        return key >= u'A' && key <= u'Z' ? static_cast<char16_t>(key - u'A' + u'a') : key;
      }
      ++i;
    }
  }
  return 0;
}

}  // namespace maskora
