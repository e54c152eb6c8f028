// SPDX-License-Identifier: MIT
// What both toolkit bindings share around Form1: the wiring of their controls to the handlers,
// the events they report, the focus rules of the octet fields, the slot of the wheel hook, and
// the end of all handling once the window is going away.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "window/contract.h"
#include "window/form1.h"
#include "window/ports.h"
#include "window/toolkit_runtime.h"

namespace maskora {

// What a binding offers the host: the window's focus and sound, and the controls that it made
// from the window's description, looked up by id.
class Form1Binding : public FormWindow {
 public:
  // The octet and result fields.
  virtual TextField& Field(ControlId id) = 0;
  virtual DropDownList& MaskList() = 0;
  // The class button.
  virtual PushButton& SetButton() = 0;
};

// Runs a handler from a toolkit event. A handler that was waiting when the window closed
// unwinds with FormUnloaded; it ends here, never inside the toolkit.
template <typename Handler>
void Dispatch(Handler&& handler) noexcept {
  try {
    handler();
  } catch (const FormUnloaded&) {
  }
}

class Form1Host : private WheelHook {
 public:
  Form1Host(Form1Binding& binding, MessageBoxes& dialogs, ToolkitRuntime& runtime,
            AddressSources& sources);
  // Ends every wait of a handler: the window is going away.
  ~Form1Host() override;
  Form1Host(const Form1Host&) = delete;
  Form1Host& operator=(const Form1Host&) = delete;

  // The hook is made once the window exists, since it watches that window; null removes it.
  void SetWheelHook(WheelHook* hook) { wheelHook_ = hook; }

  // The load event: fills the mask list, computes the first results, hooks the wheel.
  void Load();
  // The unload event, once, when the user closes the window; waiting handlers then unwind.
  void Unload();
  bool IsUnloaded() const { return unloaded_; }
  // From here on no handler runs: for a binding whose controls are about to be destroyed.
  void Detach() { detached_ = true; }

  // A click of a button, or a change of the mask list's selection.
  void Click(ControlId id);

  void OctetKeyDown(int index, std::int16_t keyCode, std::int16_t shift);
  // A character typed into an octet field; what is left to insert, 0 for nothing.
  char16_t OctetCharacter(int index, char16_t character);
  void OctetKeyUp(int index, std::int16_t keyCode, std::int16_t shift);
  // True when the handlers took the paste; false leaves it to the field.
  bool OctetPaste(int index, const Text& text);
  void OctetFocusIn(int index);
  // leavesForThisWindow: the focus goes to another control of this window. A switch to another
  // window, a menu or a message box neither leaves nor enters the field.
  void OctetFocusOut(int index, bool leavesForThisWindow);

  // A character typed into the mask list; what is left for the list, 0 for nothing.
  char16_t MaskListCharacter(char16_t character);
  void MaskListFocusOut();

  void MouseWheel(std::int32_t keys, std::int32_t rotation, std::int32_t x, std::int32_t y);
  void EnterAddress(const AddressEntry& entry);

 private:
  void HookWheel() override;
  void UnhookWheel() override;
  template <typename Handler>
  void Run(Handler&& handler);

  ToolkitRuntime& runtime_;
  std::unique_ptr<Form1> form_;
  WheelHook* wheelHook_ = nullptr;
  // Whether an octet field's focus-gained handler ran without a focus-lost one since.
  std::array<bool, 4> entered_{};
  bool unloaded_ = false;
  bool detached_ = false;
};

}  // namespace maskora
