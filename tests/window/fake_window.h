// SPDX-License-Identifier: MIT
// The main window without a toolkit: fake controls with a caret, a selection and a focus, made
// from the window's description, and a user who types into them in the order of events that a
// toolkit delivers (key down, character, insertion into the field typed into, key released to
// the field focused by then).
#pragma once

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/window/key_table.h"
#include "tests/window/stand_ins.h"
#include "window/form1_description.h"
#include "window/form1_host.h"

namespace maskora::testing {

class FakeWindow;

class FakeField : public TextField {
 public:
  FakeField(FakeWindow& window, ControlId id)
      : text(Describe(id).caption), maxLength(Describe(id).maxLength), window_(window), id_(id) {}

  Text GetText() const override { return text; }
  // The caret goes to the end, nothing selected.
  void SetText(const Text& value) override {
    text = value;
    start = static_cast<int>(text.size());
    length = 0;
    ++writes;
  }
  int SelectionStart() const override { return start; }
  void SetSelectionStart(int value) override {
    start = std::clamp(value, 0, Size());
    length = 0;
  }
  int SelectionLength() const override { return length; }
  void SetSelectionLength(int value) override { length = std::clamp(value, 0, Size() - start); }
  void SetFocus() override;

  // The field's own editing: a character replaces the selection within the typing limit;
  // Backspace deletes the selection or the character before the caret.
  void Insert(char16_t c) {
    if (maxLength > 0 && Size() - length >= maxLength) {
      return;
    }
    text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length), 1, c);
    ++start;
    length = 0;
  }
  void Backspace() {
    if (length == 0 && start > 0) {
      --start;
      length = 1;
    }
    text.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(length));
    length = 0;
  }
  // An arrow key's own effect: the selection collapses, or the caret moves by one.
  void Arrow(Key key) {
    if (key == Key::Left) {
      start = length > 0 ? start : std::max(start - 1, 0);
    } else if (key == Key::Right) {
      start = length > 0 ? start + length : std::min(start + 1, Size());
    }
    if (key == Key::Left || key == Key::Right) {
      length = 0;
    }
  }
  int Size() const { return static_cast<int>(text.size()); }

  Text text;
  int start = 0;
  int length = 0;
  int maxLength;
  int writes = 0;

 private:
  FakeWindow& window_;
  ControlId id_;
};

class FakeList : public DropDownList {
 public:
  explicit FakeList(FakeWindow& window) : window_(window) {}
  void Clear() override { items.clear(); }
  void Append(const Text& text) override { items.push_back(text); }
  int SelectedIndex() const override { return index; }
  void Select(int value) override;
  void SetFocus() override;

  std::vector<Text> items;
  int index = -1;

 private:
  FakeWindow& window_;
};

class FakeButton : public PushButton {
 public:
  void SetEnabled(bool value) override { enabled = value; }
  Text Tag() const override { return tag; }
  void SetTag(const Text& value) override { tag = value; }
  bool enabled = !(Describe(ControlId::cmdSet).flags & kDisabled);
  Text tag;
};

class RecordingHook : public WheelHook {
 public:
  void HookWheel() override { calls.push_back("HookWheel"); }
  void UnhookWheel() override { calls.push_back("UnhookWheel"); }
  std::vector<std::string> calls;
};

// What the window calls out to; it may outlive the window, as in the program.
struct FakeServices {
  RecordingHook hook;
  RecordingBoxes boxes;
  ScriptedSources sources;
  FakeRuntime runtime;
};

class FakeWindow : public Form1Binding {
 public:
  explicit FakeWindow(FakeServices& services)
      : hook(services.hook),
        boxes(services.boxes),
        sources(services.sources),
        runtime(services.runtime),
        host(*this, boxes, runtime, sources, hook) {}

  TextField& Field(ControlId id) override { return fields.at(id); }
  DropDownList& MaskList() override { return list; }
  PushButton& SetButton() override { return button; }
  std::optional<ControlId> ActiveControl() const override { return focus; }
  void Beep() override { ++beeps; }

  FakeField& Octet(int i) { return fields.at(OctetId(i)); }
  FakeField& Result(ControlId id) { return fields.at(id); }
  // The octet field that has the focus, -1 for none.
  int FocusedOctet() const {
    return focus && Describe(*focus).kind == ControlKind::OctetField ? Describe(*focus).index : -1;
  }
  std::array<Text, 4> Octets() {
    return {Octet(0).text, Octet(1).text, Octet(2).text, Octet(3).text};
  }
  void SetOctets(const std::array<Text, 4>& texts) {
    for (int i = 0; i < 4; ++i) {
      Octet(i).SetText(texts[static_cast<std::size_t>(i)]);
    }
  }
  // How many times the results were computed: every computation writes the broadcast field.
  int Calculations() { return Result(ControlId::txtBroadcast).writes; }

  // The window system's focus move, with the focus events that it raises.
  void Focus(std::optional<ControlId> to) {
    if (to == focus) {
      return;
    }
    const std::optional<ControlId> from = focus;
    focus = to;
    if (from && Describe(*from).kind == ControlKind::OctetField) {
      host.OctetFocusOut(Describe(*from).index, to.has_value());
    }
    if (from == ControlId::cmbMask) {
      host.MaskListFocusOut();
    }
    if (to && Describe(*to).kind == ControlKind::OctetField) {
      host.OctetFocusIn(Describe(*to).index);
    }
  }

  // A paste by the mouse, a menu or a drop into the focused octet field: the handlers first,
  // then the field's own paste within its limit, reported as an edit.
  void PasteWithoutKey(const Text& text) {
    const int into = FocusedOctet();
    if (into < 0 || host.OctetPaste(into, text)) {
      return;
    }
    FakeField& field = Octet(into);
    const int room = std::max(field.maxLength - (field.Size() - field.length), 0);
    const Text taken = text.substr(0, static_cast<std::size_t>(room));
    field.text.replace(static_cast<std::size_t>(field.start),
                       static_cast<std::size_t>(field.length), taken);
    field.start += static_cast<int>(taken.size());
    field.length = 0;
    host.OctetEdited();
  }
  // The field's own edit from its menu (cut, delete, undo), leaving the given text.
  void EditWithoutKey(const Text& text) {
    const int into = FocusedOctet();
    if (into >= 0) {
      Octet(into).text = text;
      host.OctetEdited();
    }
  }

  // The user types each key of the string into whatever has the focus.
  void Type(std::u16string_view keys) {
    for (const char16_t key : keys) {
      if (key == kLeft) {
        Arrow(Key::Left);
      } else if (key == kUp) {
        Arrow(Key::Up);
      } else if (key == kRight) {
        Arrow(Key::Right);
      } else if (key == kDown) {
        Arrow(Key::Down);
      } else {
        Character(key);
      }
    }
  }

  std::map<ControlId, FakeField> fields = MakeFields();
  FakeList list{*this};
  FakeButton button;
  std::optional<ControlId> focus;
  int beeps = 0;
  RecordingHook& hook;
  RecordingBoxes& boxes;
  ScriptedSources& sources;
  FakeRuntime& runtime;
  Form1Host host;

 private:
  std::map<ControlId, FakeField> MakeFields() {
    std::map<ControlId, FakeField> made;
    for (const ControlDescription& d : kForm1Controls) {
      if (d.kind == ControlKind::OctetField || d.kind == ControlKind::ResultField) {
        made.emplace(d.id, FakeField(*this, d.id));
      }
    }
    return made;
  }

  void Arrow(Key key) {
    const int typedInto = FocusedOctet();
    if (typedInto < 0) {
      return;
    }
    host.OctetKeyDown(typedInto, key);
    Octet(typedInto).Arrow(key);
    KeyReleased();
  }

  void Character(char16_t key) {
    if (focus == ControlId::cmbMask) {
      host.MaskListCharacter(key);
      return;
    }
    const int typedInto = FocusedOctet();
    if (typedInto < 0) {
      return;
    }
    host.OctetKeyDown(typedInto, Key::Other);
    const char16_t inserted = host.OctetCharacter(typedInto, key);
    if (inserted == u'\b') {
      Octet(typedInto).Backspace();
    } else if (inserted != 0) {
      Octet(typedInto).Insert(inserted);
    }
    KeyReleased();
  }

  void KeyReleased() {
    if (FocusedOctet() >= 0) {
      host.OctetKeyUp();
    }
  }
};

inline void FakeField::SetFocus() {
  window_.Focus(id_);
}

inline void FakeList::Select(int value) {
  if (value != index) {
    index = value;
    window_.host.Click(ControlId::cmbMask);
  }
}

inline void FakeList::SetFocus() {
  window_.Focus(ControlId::cmbMask);
}

}  // namespace maskora::testing
