// SPDX-License-Identifier: MIT
#include "window/form1_host.h"

#include "window/form1_description.h"

namespace maskora {

namespace {

Form1Controls ControlsOf(Form1Binding& binding) {
  Form1Controls controls;
  for (int i = 0; i < 4; ++i) {
    controls.txtIP[static_cast<std::size_t>(i)] = &binding.Field(OctetId(i));
  }
  for (std::size_t i = 0; i < kResultFields.size(); ++i) {
    controls.results[i] = &binding.Field(kResultFields[i].field);
  }
  controls.cmbMask = &binding.MaskList();
  controls.cmdSet = &binding.SetButton();
  return controls;
}

}  // namespace

Form1Host::Form1Host(Form1Binding& binding, MessageBoxes& dialogs, ToolkitRuntime& runtime,
                     AddressSources& sources, WheelHook& wheel)
    : runtime_(runtime),
      form_(std::make_unique<Form1>(ControlsOf(binding),
                                    Form1Services{binding, dialogs, runtime, sources, wheel})) {
  binding.SetButton().SetTag(Text(Describe(ControlId::cmdSet).tag));
  runtime_.BeginWaits();
}

Form1Host::~Form1Host() {
  detached_ = true;
  runtime_.EndWaits();
}

void Form1Host::Unload() {
  if (unloaded_) {
    return;
  }
  unloaded_ = true;
  Run(&Form1::Unload);
  runtime_.EndWaits();
}

void Form1Host::OctetFocusIn(int index) {
  auto& entered = entered_[static_cast<std::size_t>(index)];
  if (!entered) {
    entered = true;
    Run(&Form1::OctetFocusIn, index);
  }
}

void Form1Host::OctetFocusOut(int index, bool leavesForThisWindow) {
  auto& entered = entered_[static_cast<std::size_t>(index)];
  if (entered && leavesForThisWindow) {
    entered = false;
    Run(&Form1::OctetFocusOut, index);
  }
}

}  // namespace maskora
