// SPDX-License-Identifier: MIT
// The two kinds of control that take typed input, reporting it to the window's host: the octet
// fields and the mask list.
#pragma once

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

#include "window/form1_host.h"

namespace maskora {

// The character that a key press types, 0 for none. Ctrl chords type their control character;
// Alt chords are menu keys, and Delete and Tab, which X gives a text, edit or move instead.
char16_t TypedCharacter(const QKeyEvent& event);
// The arrow key pressed, Key::Other for any other.
Key KeyOf(const QKeyEvent& event);

// An octet field. Its keys reach the host in the order the handlers rely on: key down, the
// character, its insertion into this field, the release to the field focused by then. Every
// way of pasting (keys, context menu, middle button, drop) offers the text to the host first;
// what the host leaves is cut to the room within the typing limit. Every edit that no key
// makes (a paste, a drop, the menu's cut, delete, undo and redo) is reported once it is done.
class OctetEdit : public QLineEdit {
 public:
  OctetEdit(int index, QWidget* parent);
  void Attach(Form1Host& host) { host_ = &host; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Paste(const QString& text);

  int index_;
  Form1Host* host_ = nullptr;
  // Within a key press: its edits are computed at the key's release.
  bool inKeyPress_ = false;
};

// The mask list: the characters typed into it go to the host first, which takes the digits of
// a prefix.
class MaskCombo : public QComboBox {
 public:
  explicit MaskCombo(QWidget* parent) : QComboBox(parent) {}
  void Attach(Form1Host& host) { host_ = &host; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  Form1Host* host_ = nullptr;
};

}  // namespace maskora
