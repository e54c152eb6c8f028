// The four octet fields: the character filter, the focus moves between them, stepping with
// Up, Down and the wheel, and the correction of a field's text when it is left.
#include <cctype>
#include <optional>

#include "address/address.h"
#include "window/form1.h"
#include "window/text.h"

namespace maskora {

namespace {

constexpr std::int16_t kKeyLeft = 37;
constexpr std::int16_t kKeyUp = 38;
constexpr std::int16_t kKeyRight = 39;
constexpr std::int16_t kKeyDown = 40;
constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kDot = '.';
constexpr int kLastField = 3;

int Length(const TextField& field) {
  return static_cast<int>(field.GetText().size());
}

bool WhollySelected(const TextField& field) {
  return Length(field) > 0 && field.SelStart() == 0 && field.SelLength() == Length(field);
}

// The value of a text that is a number as a whole ("12", " 7 ", "-5", "1.5", "2e2"), or none.
std::optional<double> WholeNumber(const std::string& text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto skipBlanks = [&] {
    while (i < n && text[i] == ' ') {
      ++i;
    }
  };
  auto digits = [&] {
    const std::size_t from = i;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) {
      ++i;
    }
    return i - from;
  };
  skipBlanks();
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    ++i;
  }
  std::size_t mantissa = digits();
  if (i < n && text[i] == '.') {
    ++i;
    mantissa += digits();
  }
  if (mantissa == 0) {
    return std::nullopt;
  }
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      ++i;
    }
    if (digits() == 0) {
      return std::nullopt;
    }
  }
  skipBlanks();
  if (i != n) {
    return std::nullopt;
  }
  return LeadingNumber(text);
}

void SetTextIfChanged(TextField& field, const Text& text) {
  if (field.GetText() != text) {
    field.SetText(text);
  }
}

}  // namespace

void Form1::StepField(int index, int step) {
  TextField& field = *c_.txtIP[index];
  double value = LeadingNumber(Narrow(field.GetText())) + step;
  if (value < 0) {
    value = 0;
  }
  if (value > 255) {
    value = 255;
  }
  field.SetText(Widen(NumberText(value)));
  Calcola();
}

void Form1::txtIP_GotFocus(std::int16_t index) {
  TextField& field = *c_.txtIP[index];
  field.SetSelStart(0);
  field.SetSelLength(Length(field));
}

void Form1::txtIP_KeyDown(std::int16_t index, std::int16_t& keyCode, std::int16_t /*shift*/) {
  TextField& field = *c_.txtIP[index];
  switch (keyCode) {
    case kKeyLeft:
      if (field.SelLength() == 0 && field.SelStart() == 0 && index > 0) {
        c_.txtIP[index - 1]->SetFocus();
      }
      break;
    case kKeyUp:
      StepField(index, +1);
      break;
    case kKeyRight:
      if (field.SelStart() == Length(field) && field.SelLength() == 0 && index < kLastField) {
        c_.txtIP[index + 1]->SetFocus();
      }
      break;
    case kKeyDown:
      StepField(index, -1);
      break;
    default:
      break;
  }
}

void Form1::txtIP_KeyPress(std::int16_t index, std::int16_t& keyAscii) {
  TextField& field = *c_.txtIP[index];
  const std::int16_t code = keyAscii;
  const bool accepted = (code >= '0' && code <= '9') || code == kBackspace;

  if (index > 0 && code == kBackspace && field.GetText().empty()) {
    c_.txtIP[index - 1]->SetFocus();
    // The field was empty: this Backspace has nothing to delete, also not the "0" that the
    // field got when it was left.
    keyAscii = 0;
  }
  if (index < kLastField) {
    TextField& next = *c_.txtIP[index + 1];
    // Right after the automatic advance the field's text is wholly selected, and the "." that
    // a user types as part of a dotted address must not skip a field.
    if (code == kDot && !WhollySelected(field)) {
      next.SetFocus();
    }
    if (Length(field) == 2 && code != 0 && field.SelLength() == 0 && code != kBackspace) {
      next.SetFocus();
    }
  }
  if (!accepted) {
    keyAscii = 0;
  }
  Calcola();
}

void Form1::txtIP_KeyUp(std::int16_t /*index*/, std::int16_t& /*keyCode*/, std::int16_t /*shift*/) {
  Calcola();
}

void Form1::txtIP_LostFocus(std::int16_t index) {
  TextField& field = *c_.txtIP[index];
  const Text text = field.GetText();
  if (text.empty()) {
    field.SetText(u"0");
    return;
  }
  const std::string narrow = Narrow(text);
  if (!WholeNumber(narrow)) {
    // Pasted text that is not a number: show the value that the results are computed from.
    double value = LeadingNumber(narrow);
    value = value < 0 ? 0 : value > 255 ? 255 : value;
    SetTextIfChanged(field, Widen(NumberText(value)));
    return;
  }
  if (*WholeNumber(narrow) < 0) {
    field.SetText(u"0");
  }
  if (*WholeNumber(Narrow(field.GetText())) > 255) {
    field.SetText(u"255");
  }
}

void Form1::MouseWheel(std::int32_t /*mouseKeys*/, std::int32_t rotation, std::int32_t /*xpos*/,
                       std::int32_t /*ypos*/) {
  const std::optional<ControlRef> active = s_.form.ActiveControl();
  if (!active || active->name != "txtIP" || active->index < 0 || active->index > kLastField) {
    return;
  }
  StepField(active->index, rotation > 0 ? 1 : rotation < 0 ? -1 : 0);
}

}  // namespace maskora
