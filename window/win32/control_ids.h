// SPDX-License-Identifier: MIT
// The window class of the main window and the identifiers of its controls, for the binding and
// for tools that read the running window (the end-to-end probe).
#pragma once

#include <optional>

#include "window/form1_description.h"

namespace maskora::win32 {

inline constexpr wchar_t kFormClassName[] = L"MaskoraForm1";

// A control's identifier is a fixed base plus its place in tab order. None may be 1 or 2: the
// dialog keys Enter and Escape send those.
inline constexpr int kFirstControlId = 100;

constexpr int DialogId(ControlId id) {
  return kFirstControlId + static_cast<int>(id);
}

constexpr std::optional<ControlId> ControlOfDialogId(int dialogId) {
  const int index = dialogId - kFirstControlId;
  if (index < 0 || index >= kControlCount) {
    return std::nullopt;
  }
  return static_cast<ControlId>(index);
}

}  // namespace maskora::win32
