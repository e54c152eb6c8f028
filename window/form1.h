// SPDX-License-Identifier: MIT
// The main window's handlers, written against the toolkit contract.
#pragma once

#include <array>
#include <cstdint>

#include "address/address.h"
#include "window/contract.h"
#include "window/ports.h"

namespace maskora {

// The mask that the window opens on: (24) 255.255.255.0.
inline constexpr int kOpeningHostBits = 8;

struct Form1Controls {
  std::array<TextField*, 4> txtIP{};
  TextField* txtStato = nullptr;
  TextField* txtTipo = nullptr;
  TextField* txtClasse = nullptr;
  TextField* txtBroadcast = nullptr;
  TextField* txtHosts = nullptr;
  TextField* txtNetwork = nullptr;
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

  void Form_Load();
  void Form_Unload();
  void cmdCalc_Click();
  void cmbMask_Click();
  void cmdSet_Click();
  void cmdGetIpCli_Click();
  void CmdGetIpSrv_Click();

  void txtIP_GotFocus(std::int16_t index);
  void txtIP_KeyDown(std::int16_t index, std::int16_t& keyCode, std::int16_t shift);
  void txtIP_KeyPress(std::int16_t index, std::int16_t& keyAscii);
  void txtIP_KeyUp(std::int16_t index, std::int16_t& keyCode, std::int16_t shift);
  void txtIP_LostFocus(std::int16_t index);
  // Text pasted into an octet field. True when it was taken as a whole address, or refused
  // with a beep as one that is malformed; false leaves the paste to the field.
  bool txtIP_Paste(std::int16_t index, const Text& text);

  // A character typed into the mask list: right after a "/" in an octet field, the digits
  // typed pick the entry of that prefix ("/", "2", "4" picks /24). Sets keyAscii to 0 for a
  // character it took.
  void cmbMask_KeyPress(std::int16_t& keyAscii);
  void cmbMask_LostFocus();

  void MouseWheel(std::int32_t mouseKeys, std::int32_t rotation, std::int32_t xpos,
                  std::int32_t ypos);

  // Fills in a whole address, and selects its mask when it has one; recalculates once.
  void EnterAddress(const AddressEntry& entry);

 private:
  void RiempiMask();
  void Calcola();
  void StepField(int index, int step);
  void FillOctets(const Text& text);

  Form1Controls c_;
  Form1Services s_;
  // The prefix typed into the mask list after a "/": its digits so far, none when not typing.
  std::optional<int> typedPrefix_;
  int typedDigits_ = 0;
};

}  // namespace maskora
