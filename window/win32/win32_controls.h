// SPDX-License-Identifier: MIT
// The contract's controls on Windows' own EDIT, COMBOBOX and BUTTON windows.
#pragma once

#include <functional>

#include <windows.h>

#include "window/contract.h"

namespace maskora {

Text WindowText(HWND window);

class Win32TextField : public TextField {
 public:
  explicit Win32TextField(HWND edit) : edit_(edit) {}
  Text GetText() const override { return WindowText(edit_); }
  void SetText(const Text& text) override;
  int SelectionStart() const override;
  void SetSelectionStart(int start) override;
  int SelectionLength() const override;
  void SetSelectionLength(int length) override;
  void SetFocus() override { ::SetFocus(edit_); }

 private:
  HWND edit_;
};

class Win32DropDownList : public DropDownList {
 public:
  // onClick runs on every change of the selection that the program makes; the window runs
  // it for the user's changes.
  Win32DropDownList(HWND combo, std::function<void()> onClick)
      : combo_(combo), onClick_(std::move(onClick)) {}
  void Clear() override;
  void Append(const Text& text) override;
  int SelectedIndex() const override;
  void Select(int index) override;
  void SetFocus() override { ::SetFocus(combo_); }

 private:
  HWND combo_;
  std::function<void()> onClick_;
};

class Win32PushButton : public PushButton {
 public:
  explicit Win32PushButton(HWND button) : button_(button) {}
  void SetEnabled(bool enabled) override;
  Text Tag() const override { return tag_; }
  void SetTag(const Text& tag) override { tag_ = tag; }

 private:
  HWND button_;
  Text tag_;
};

}  // namespace maskora
