// SPDX-License-Identifier: MIT
// What the window's handlers ask of a window toolkit. A binding (Qt Widgets, Win32) implements
// these interfaces; the handlers never see a toolkit type.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "window/form1_description.h"

namespace maskora {

// Texts are UTF-16, as the toolkits keep them; positions and lengths count UTF-16 units.
using Text = std::u16string;

// Key codes of the keys that the octet handlers act on. A binding passes these for the arrow
// keys and any other number for the rest.
enum KeyCode : std::int16_t {
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
};

// Bits of the modifier state that comes with a key.
enum ShiftBits : std::int16_t {
  kShiftMask = 1,
  kCtrlMask = 2,
  kAltMask = 4,
};

class TextField {
 public:
  virtual ~TextField() = default;
  virtual Text GetText() const = 0;
  // A write by the program: the text lands whole, beyond the typing limit if need be, and
  // raises no event that the handlers see.
  virtual void SetText(const Text& text) = 0;
  virtual int SelStart() const = 0;
  virtual void SetSelStart(int start) = 0;
  virtual int SelLength() const = 0;
  virtual void SetSelLength(int length) = 0;
  // Runs the focus-lost handling of the field that had the focus and the focus-gained
  // handling of this one.
  virtual void SetFocus() = 0;
};

class DropDownList {
 public:
  virtual ~DropDownList() = default;
  virtual void Clear() = 0;
  virtual void AddItem(const Text& text) = 0;
  // -1 when no entry is selected.
  virtual int ListIndex() const = 0;
  // Selecting another entry raises the list's click, as a user's choice would.
  virtual void SetListIndex(int index) = 0;
  virtual void SetFocus() = 0;
};

class PushButton {
 public:
  virtual ~PushButton() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual Text Tag() const = 0;
  virtual void SetTag(const Text& tag) = 0;
};

enum class MessageIcon { None, Information, Exclamation };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Modal, one OK button. An empty title shows the application title.
  virtual void MsgBox(const Text& text, MessageIcon icon, const Text& title = {}) = 0;
};

class FormWindow {
 public:
  virtual ~FormWindow() = default;
  // The control that holds the focus; none when no control of the window has it.
  virtual std::optional<ControlId> ActiveControl() const = 0;
  // The platform's warning sound, for input that is refused as a whole.
  virtual void Beep() = 0;
};

// Thrown out of Runtime::DoEvents once the form has been unloaded, so that a handler waiting
// inside DoEvents unwinds instead of touching a window that is gone.
class FormUnloaded {};

class Runtime {
 public:
  virtual ~Runtime() = default;
  // Time of day in seconds since midnight, with a fraction.
  virtual double Timer() = 0;
  virtual void Randomize(double seed) = 0;
  // The next pseudo-random number in [0, 1).
  virtual double Rnd() = 0;
  // One pass of the pending window events; waits briefly for one when there is none, so a
  // polling loop does not spin. Throws FormUnloaded when the form is gone.
  virtual void DoEvents() = 0;
  // Decimal separator of the user's regional settings.
  virtual char16_t DecimalSeparator() const = 0;
};

}  // namespace maskora
