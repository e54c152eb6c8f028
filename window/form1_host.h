// SPDX-License-Identifier: MIT
// What both toolkit bindings share around Form1: the wiring of their controls to the handlers,
// the focus rules of the octet fields, and the end of all handling once the window is going
// away. A binding reports its controls' events here, under Form1's own names.
#pragma once

#include <array>
#include <memory>
#include <optional>

#include "core/message_boxes.h"
#include "core/runtime.h"
#include "window/contract.h"
#include "window/form1.h"
#include "window/ports.h"

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

class Form1Host {
 public:
  Form1Host(Form1Binding& binding, MessageBoxes& dialogs, ToolkitRuntime& runtime,
            AddressSources& sources, WheelHook& wheel);
  // Ends every wait of a handler: the window is going away.
  ~Form1Host();
  Form1Host(const Form1Host&) = delete;
  Form1Host& operator=(const Form1Host&) = delete;

  void Load() { Run(&Form1::Load); }
  // When the user closes the window, once; waiting handlers then unwind.
  void Unload();
  bool IsUnloaded() const { return unloaded_; }
  // From here on no handler runs: for a binding whose controls are about to be destroyed.
  void Detach() { detached_ = true; }

  void Click(ControlId id) { Run(&Form1::Click, id); }
  void OctetFocusIn(int index);
  // leavesForThisWindow: the focus goes to another control of this window. A switch to another
  // window, a menu or a message box neither leaves nor enters the field.
  void OctetFocusOut(int index, bool leavesForThisWindow);
  void OctetKeyDown(int index, Key key) { Run(&Form1::OctetKeyDown, index, key); }
  char16_t OctetCharacter(int index, char16_t character) {
    return Ask(character, &Form1::OctetCharacter, index, character);
  }
  void OctetKeyUp() { Run(&Form1::OctetKeyUp); }
  bool OctetPaste(int index, const Text& text) {
    return Ask(false, &Form1::OctetPaste, index, text);
  }
  void OctetEdited() { Run(&Form1::OctetEdited); }
  char16_t MaskListCharacter(char16_t character) {
    return Ask(character, &Form1::MaskListCharacter, character);
  }
  void MaskListFocusOut() { Run(&Form1::MaskListFocusOut); }
  void MouseWheel(std::int32_t rotation) { Run(&Form1::MouseWheel, rotation); }
  void EnterAddress(const AddressEntry& entry) { Run(&Form1::EnterAddress, entry); }

 private:
  // Runs a handler unless the window is going away. A handler that was waiting when the window
  // closed unwinds with FormUnloaded; it ends here, never inside the toolkit, and the answer is
  // then the fallback.
  template <typename Result, typename... Params, typename... Args>
  Result Ask(Result fallback, Result (Form1::*handler)(Params...), Args&&... args) noexcept {
    if (detached_) {
      return fallback;
    }
    try {
      return (form_.get()->*handler)(std::forward<Args>(args)...);
    } catch (const FormUnloaded&) {
      return fallback;
    }
  }
  template <typename... Params, typename... Args>
  void Run(void (Form1::*handler)(Params...), Args&&... args) noexcept {
    if (detached_) {
      return;
    }
    try {
      (form_.get()->*handler)(std::forward<Args>(args)...);
    } catch (const FormUnloaded&) {
    }
  }

  ToolkitRuntime& runtime_;
  std::unique_ptr<Form1> form_;
  // Whether an octet field's focus-gained handler ran without a focus-lost one since.
  std::array<bool, 4> entered_{};
  bool unloaded_ = false;
  bool detached_ = false;
};

}  // namespace maskora
