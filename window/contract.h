// SPDX-License-Identifier: MIT
// What the window's handlers ask of a window toolkit. A binding (Qt Widgets, Win32) implements
// these interfaces; the handlers never see a toolkit type.
#pragma once

#include <optional>

#include "core/text.h"
#include "window/control_id.h"

namespace maskora {

// The keys that the octet fields act on when pressed; a binding passes Other for the rest.
enum class Key { Other, Left, Up, Right, Down };

class TextField {
 public:
  virtual ~TextField() = default;
  virtual Text GetText() const = 0;
  // A write by the program: the text lands whole, beyond the typing limit if need be, and
  // raises no event that the handlers see.
  virtual void SetText(const Text& text) = 0;
  // The caret: the number of characters before the selection, and its length.
  virtual int SelectionStart() const = 0;
  virtual void SetSelectionStart(int start) = 0;
  virtual int SelectionLength() const = 0;
  virtual void SetSelectionLength(int length) = 0;
  // Runs the focus-lost handling of the field that had the focus and the focus-gained
  // handling of this one.
  virtual void SetFocus() = 0;
};

class DropDownList {
 public:
  virtual ~DropDownList() = default;
  virtual void Clear() = 0;
  virtual void Append(const Text& entry) = 0;
  // -1 when no entry is selected.
  virtual int SelectedIndex() const = 0;
  // Selecting another entry reports the change, as a user's choice would.
  virtual void Select(int index) = 0;
  virtual void SetFocus() = 0;
};

class PushButton {
 public:
  virtual ~PushButton() = default;
  virtual void SetEnabled(bool enabled) = 0;
  // A text that the program keeps with the button.
  virtual Text Tag() const = 0;
  virtual void SetTag(const Text& tag) = 0;
};

class FormWindow {
 public:
  virtual ~FormWindow() = default;
  // The control that holds the focus; none when no control of the window has it.
  virtual std::optional<ControlId> ActiveControl() const = 0;
  // The platform's warning sound, for input that is refused as a whole.
  virtual void Beep() = 0;
};

}  // namespace maskora
