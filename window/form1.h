// SPDX-License-Identifier: MIT
// The main window's handlers, written against the toolkit contract.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "address/address.h"
#include "core/message_boxes.h"
#include "core/runtime.h"
#include "window/contract.h"
#include "window/ports.h"
#include "window/result_fields.h"

namespace maskora {

// The mask that the window opens on: (24) 255.255.255.0.
inline constexpr int kOpeningHostBits = 8;
// The mask list's entries, one for each number of host bits from 0 (/32) to 32 (/0).
inline constexpr int kMaskEntries = 33;

// The mask list's entry for that many host bits: "(24) 255.255.255.0".
std::string MaskEntryText(int hostBits);

struct Form1Controls {
  std::array<TextField*, 4> txtIP{};
  // In the order of kResultFields.
  std::array<TextField*, kResultFields.size()> results{};
  DropDownList* cmbMask = nullptr;
  PushButton* cmdSet = nullptr;
};

struct Form1Services {
  FormWindow& form;
  MessageBoxes& dialogs;
  Runtime& runtime;
  AddressSources& sources;
  WheelHook& wheel;
};

class Form1 {
 public:
  Form1(const Form1Controls& controls, const Form1Services& services);

  // Seeds the generator, fills the mask list and selects /24, which computes the first
  // results, and hooks the wheel.
  void Load();
  void Unload();
  // A click of a button, or a change of the mask list's selection.
  void Click(ControlId id);

  void OctetFocusIn(int index);
  // Arrow keys move the focus or step the value; the key still goes to the field.
  void OctetKeyDown(int index, Key key);
  // A character typed into an octet field: what is left to insert, 0 for nothing.
  char16_t OctetCharacter(int index, char16_t character);
  void OctetKeyUp();
  void OctetFocusOut(int index);
  // Text pasted into an octet field; a binding copies at most kLongestAddressText + 1
  // characters of it. True when it was taken as a whole address, or refused with a beep as one
  // that is malformed or longer than any address; false leaves the paste to the field, which
  // then reports OctetEdited.
  bool OctetPaste(int index, const Text& text);
  // An octet field's text was changed by other means than a key: a paste or a drop that the
  // field took, or a menu's cut, delete or undo. A key's own edits are computed at its release.
  void OctetEdited();

  // A character typed into the mask list: digits pick the entry of the prefix that they make,
  // two at most ("2", "4" picks /24), also right after a "/" in an octet field. What is left
  // for the list.
  char16_t MaskListCharacter(char16_t character);
  void MaskListFocusOut();

  // A wheel turn: steps the focused octet field by the sign of the rotation.
  void MouseWheel(std::int32_t rotation);

  // Fills in a whole address, and selects its mask when it has one; recalculates once.
  void EnterAddress(const AddressEntry& entry);

 private:
  void RiempiMask();
  void Calcola();
  void ShowAbout();
  void SelectClassMask();
  void StepField(int index, int step);
  void FillOctets(const Text& text);

  Form1Controls c_;
  Form1Services s_;
  // The first digit of a prefix being typed into the mask list, none before one.
  std::optional<int> typedDigit_;
};

}  // namespace maskora
