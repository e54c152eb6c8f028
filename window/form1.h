// The main window's handlers, written against the toolkit contract.
#pragma once

#include <array>
#include <cstdint>

#include "window/contract.h"

namespace maskora {

// The two buttons that fill in an address ask these; the sources live above the window.
class AddressSources {
 public:
  virtual ~AddressSources() = default;
  // This computer's address as dotted text, a failure text, or empty when the start-up of
  // the lookup failed (it has then shown its own message).
  virtual Text LookupLocalAddress() = 0;
  // The public address text from the web script, or the local lookup's text when the
  // request gave nothing.
  virtual Text PublicAddressText() = 0;
};

// Installs and removes the hook that turns wheel turns over the window into MouseWheel calls.
class WheelHook {
 public:
  virtual ~WheelHook() = default;
  virtual void HookWheel() = 0;
  virtual void UnhookWheel() = 0;
};

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

  void MouseWheel(std::int32_t mouseKeys, std::int32_t rotation, std::int32_t xpos,
                  std::int32_t ypos);

 private:
  void RiempiMask();
  void Calcola();
  void StepField(int index, int step);
  void FillOctets(const Text& text);

  Form1Controls c_;
  Form1Services s_;
};

// The About box's text and the window's caption.
inline constexpr char16_t kCaption[] = u"Maskora 1.0 - Mervik";
inline constexpr char16_t kAppTitle[] = u"Maskora";

}  // namespace maskora
