// SPDX-License-Identifier: MIT
#include "window/form1_host.h"

namespace maskora {

namespace {

Form1Controls ControlsOf(Form1Binding& binding) {
  Form1Controls controls;
  for (int i = 0; i < 4; ++i) {
    controls.txtIP[static_cast<std::size_t>(i)] = &binding.Field(OctetId(i));
  }
  controls.txtStato = &binding.Field(ControlId::txtStato);
  controls.txtTipo = &binding.Field(ControlId::txtTipo);
  controls.txtClasse = &binding.Field(ControlId::txtClasse);
  controls.txtBroadcast = &binding.Field(ControlId::txtBroadcast);
  controls.txtHosts = &binding.Field(ControlId::txtHosts);
  controls.txtNetwork = &binding.Field(ControlId::txtNetwork);
  controls.cmbMask = &binding.MaskList();
  controls.cmdSet = &binding.SetButton();
  return controls;
}

}  // namespace

Form1Host::Form1Host(Form1Binding& binding, MessageBoxes& dialogs, ToolkitRuntime& runtime,
                     AddressSources& sources)
    : runtime_(runtime),
      form_(std::make_unique<Form1>(ControlsOf(binding),
                                    Form1Services{binding, dialogs, runtime, sources, *this})) {
  binding.SetButton().SetTag(Text(Describe(ControlId::cmdSet).tag));
  runtime_.BeginWaits();
}

Form1Host::~Form1Host() {
  detached_ = true;
  runtime_.EndWaits();
}

template <typename Handler>
void Form1Host::Run(Handler&& handler) {
  if (!detached_) {
    Dispatch(std::forward<Handler>(handler));
  }
}

void Form1Host::Load() {
  Run([this] { form_->Form_Load(); });
}

void Form1Host::Unload() {
  if (unloaded_) {
    return;
  }
  unloaded_ = true;
  Run([this] { form_->Form_Unload(); });
  runtime_.EndWaits();
}

void Form1Host::Click(ControlId id) {
  switch (id) {
    case ControlId::cmbMask:
      Run([this] { form_->cmbMask_Click(); });
      break;
    case ControlId::cmdSet:
      Run([this] { form_->cmdSet_Click(); });
      break;
    case ControlId::cmdCalc:
      Run([this] { form_->cmdCalc_Click(); });
      break;
    case ControlId::cmdGetIpCli:
      Run([this] { form_->cmdGetIpCli_Click(); });
      break;
    case ControlId::CmdGetIpSrv:
      Run([this] { form_->CmdGetIpSrv_Click(); });
      break;
    default:
      break;
  }
}

void Form1Host::OctetKeyDown(int index, std::int16_t keyCode, std::int16_t shift) {
  Run([&] { form_->txtIP_KeyDown(static_cast<std::int16_t>(index), keyCode, shift); });
}

char16_t Form1Host::OctetCharacter(int index, char16_t character) {
  auto keyAscii = static_cast<std::int16_t>(character);
  Run([&] { form_->txtIP_KeyPress(static_cast<std::int16_t>(index), keyAscii); });
  return static_cast<char16_t>(keyAscii);
}

void Form1Host::OctetKeyUp(int index, std::int16_t keyCode, std::int16_t shift) {
  Run([&] { form_->txtIP_KeyUp(static_cast<std::int16_t>(index), keyCode, shift); });
}

bool Form1Host::OctetPaste(int index, const Text& text) {
  bool taken = false;
  Run([&] { taken = form_->txtIP_Paste(static_cast<std::int16_t>(index), text); });
  return taken;
}

void Form1Host::OctetFocusIn(int index) {
  auto& entered = entered_[static_cast<std::size_t>(index)];
  if (!entered) {
    entered = true;
    Run([&] { form_->txtIP_GotFocus(static_cast<std::int16_t>(index)); });
  }
}

void Form1Host::OctetFocusOut(int index, bool leavesForThisWindow) {
  auto& entered = entered_[static_cast<std::size_t>(index)];
  if (entered && leavesForThisWindow) {
    entered = false;
    Run([&] { form_->txtIP_LostFocus(static_cast<std::int16_t>(index)); });
  }
}

char16_t Form1Host::MaskListCharacter(char16_t character) {
  auto keyAscii = static_cast<std::int16_t>(character);
  Run([&] { form_->cmbMask_KeyPress(keyAscii); });
  return static_cast<char16_t>(keyAscii);
}

void Form1Host::MaskListFocusOut() {
  Run([this] { form_->cmbMask_LostFocus(); });
}

void Form1Host::MouseWheel(std::int32_t keys, std::int32_t rotation, std::int32_t x,
                           std::int32_t y) {
  Run([&] { form_->MouseWheel(keys, rotation, x, y); });
}

void Form1Host::EnterAddress(const AddressEntry& entry) {
  Run([&] { form_->EnterAddress(entry); });
}

void Form1Host::HookWheel() {
  if (wheelHook_ != nullptr) {
    wheelHook_->HookWheel();
  }
}

void Form1Host::UnhookWheel() {
  if (wheelHook_ != nullptr) {
    wheelHook_->UnhookWheel();
  }
}

}  // namespace maskora
