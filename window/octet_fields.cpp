// SPDX-License-Identifier: MIT
// The four octet fields: the character filter, the focus moves between them, stepping with
// Up, Down and the wheel, and the correction of a field's text when it is left.
#include <optional>
#include <string>
#include <utility>

#include "address/address.h"
#include "window/form1.h"
#include "window/form1_description.h"

namespace maskora {

namespace {

constexpr char16_t kBackspace = 8;
constexpr char16_t kDot = '.';
constexpr char16_t kSlash = '/';
constexpr int kLastField = 3;
constexpr int kLongestPrefix = 32;

int Length(const TextField& field) {
  return static_cast<int>(field.GetText().size());
}

bool WhollySelected(const TextField& field) {
  return Length(field) > 0 && field.SelectionStart() == 0 &&
         field.SelectionLength() == Length(field);
}

void SetTextIfChanged(TextField& field, const Text& text) {
  if (field.GetText() != text) {
    field.SetText(text);
  }
}

}  // namespace

void Form1::StepField(int index, int step) {
  TextField& field = *c_.txtIP[index];
  const double value = ClampOctet(LeadingNumber(Narrow(field.GetText())) + step);
  field.SetText(Widen(NumberText(value)));
  Calcola();
}

void Form1::OctetFocusIn(int index) {
  TextField& field = *c_.txtIP[index];
  field.SetSelectionStart(0);
  field.SetSelectionLength(Length(field));
}

void Form1::OctetKeyDown(int index, Key key) {
  TextField& field = *c_.txtIP[index];
  switch (key) {
    case Key::Left:
      if (field.SelectionLength() == 0 && field.SelectionStart() == 0 && index > 0) {
        c_.txtIP[index - 1]->SetFocus();
      }
      break;
    case Key::Up:
      StepField(index, +1);
      break;
    case Key::Right:
      if (field.SelectionStart() == Length(field) && field.SelectionLength() == 0 &&
          index < kLastField) {
        c_.txtIP[index + 1]->SetFocus();
      }
      break;
    case Key::Down:
      StepField(index, -1);
      break;
    case Key::Other:
      break;
  }
}

char16_t Form1::OctetCharacter(int index, char16_t code) {
  TextField& field = *c_.txtIP[index];
  char16_t inserted = code;
  const bool accepted = (code >= '0' && code <= '9') || code == kBackspace;

  if (index > 0 && code == kBackspace && field.GetText().empty()) {
    c_.txtIP[index - 1]->SetFocus();
    // The field was empty: this Backspace has nothing to delete, also not the "0" that the
    // field got when it was left.
    inserted = 0;
  }
  if (index < kLastField) {
    TextField& next = *c_.txtIP[index + 1];
    // Right after the automatic advance the field's text is wholly selected, and the "." that
    // a user types as part of a dotted address must not skip a field.
    if (code == kDot && !WhollySelected(field)) {
      next.SetFocus();
    }
    if (Length(field) == 2 && code != 0 && field.SelectionLength() == 0 && code != kBackspace) {
      next.SetFocus();
    }
  }
  if (!accepted) {
    inserted = 0;
  }
  Calcola();
  // "10.0.0.0/8" typed as a whole: the prefix goes on in the mask list.
  if (code == kSlash) {
    c_.cmbMask->SetFocus();
    typedDigit_.reset();
  }
  return inserted;
}

void Form1::OctetKeyUp() {
  Calcola();
}

void Form1::OctetFocusOut(int index) {
  TextField& field = *c_.txtIP[index];
  const Text text = field.GetText();
  if (text.empty()) {
    field.SetText(u"0");
    return;
  }
  const std::string narrow = Narrow(text);
  if (!WholeNumber(narrow)) {
    // Pasted text that is not a number: show the value that the results are computed from.
    SetTextIfChanged(field, Widen(NumberText(ClampOctet(LeadingNumber(narrow)))));
    return;
  }
  if (*WholeNumber(narrow) < 0) {
    field.SetText(u"0");
  }
  if (*WholeNumber(Narrow(field.GetText())) > 255) {
    field.SetText(u"255");
  }
}

bool Form1::OctetPaste(int index, const Text& text) {
  if (text.size() > kLongestAddressText) {
    s_.form.Beep();
    return true;
  }
  const AddressReading reading = ReadAddressText(Narrow(text));
  switch (reading.kind) {
    case AddressTextKind::NotAnAddress:
      return false;
    case AddressTextKind::Malformed:
      // Never half of it: an address that is not one changes nothing.
      s_.form.Beep();
      return true;
    case AddressTextKind::Address:
      break;
  }
  EnterAddress(reading.entry);
  TextField& field = *c_.txtIP[index];
  field.SetSelectionStart(0);
  field.SetSelectionLength(Length(field));
  return true;
}

void Form1::OctetEdited() {
  Calcola();
}

char16_t Form1::MaskListCharacter(char16_t character) {
  if (character < u'0' || character > u'9') {
    typedDigit_.reset();
    return character;
  }
  const int digit = character - u'0';
  // A prefix has two digits at most: the digit after them starts the next one.
  const std::optional<int> first = std::exchange(typedDigit_, std::nullopt);
  const int prefix = first ? *first * 10 + digit : digit;
  if (prefix > kLongestPrefix) {
    return 0;  // no such prefix: the one typed so far stays
  }
  c_.cmbMask->Select(kLongestPrefix - prefix);
  if (!first) {
    typedDigit_ = digit;
  }
  return 0;
}

void Form1::MaskListFocusOut() {
  typedDigit_.reset();
}

void Form1::MouseWheel(std::int32_t rotation) {
  const std::optional<ControlId> active = s_.form.ActiveControl();
  if (!active || Describe(*active).name != "txtIP") {
    return;
  }
  StepField(Describe(*active).index, rotation > 0 ? 1 : rotation < 0 ? -1 : 0);
}

}  // namespace maskora
