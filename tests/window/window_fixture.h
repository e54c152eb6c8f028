// SPDX-License-Identifier: MIT
// The real main window on Qt's offscreen platform, with recording stand-ins for the message
// boxes and the address sources, and the user's keys and focus moves.
#pragma once

#include <optional>
#include <vector>

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/window/stand_ins.h"
#include "window/qt/form1_window.h"
#include "window/qt/qt_runtime.h"

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace maskora::testing {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.Open();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  QLineEdit* Edit(ControlId id) const { return qobject_cast<QLineEdit*>(window.Control(id)); }
  QLineEdit* Octet(int index) const { return Edit(OctetId(index)); }
  QComboBox* List() const { return qobject_cast<QComboBox*>(window.Control(ControlId::cmbMask)); }
  QPushButton* Button(ControlId id) const { return qobject_cast<QPushButton*>(window.Control(id)); }
  // The control that has the focus, none when it is no control of the window.
  std::optional<ControlId> Focused() const {
    for (const ControlDescription& control : kForm1Controls) {
      if (window.Control(control.id)->hasFocus()) {
        return control.id;
      }
    }
    return std::nullopt;
  }
  QStringList OctetTexts() const {
    return {Octet(0)->text(), Octet(1)->text(), Octet(2)->text(), Octet(3)->text()};
  }
  // Writes a field as the program does.
  void Write(int octet, const QString& text) { QtTextField(Octet(octet)).SetText(ToText(text)); }
  void SetOctets(const QStringList& octets) {
    for (int i = 0; i < 4; ++i) {
      Write(i, octets[i]);
    }
  }
  // Keys go to the window, so that a key's release reaches the control focused by then.
  void Type(const QString& keys) {
    for (const QChar ch : keys) {
      QTest::keyClick(window.windowHandle(), ch.toLatin1());
    }
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window.windowHandle(), key, modifiers);
  }
  // Enters the field from another control, as a user coming from there would.
  void Focus(int octet) {
    Button(ControlId::cmdCalc)->setFocus(Qt::OtherFocusReason);
    Octet(octet)->setFocus(Qt::TabFocusReason);
  }
  // Writes the fields with the focus elsewhere, then enters one of them.
  void Prepare(const QStringList& octets, int octet) {
    Button(ControlId::cmdCalc)->setFocus(Qt::OtherFocusReason);
    SetOctets(octets);
    Octet(octet)->setFocus(Qt::TabFocusReason);
  }

  RecordingBoxes boxes;
  ScriptedSources sources;
  QtRuntime runtime;
  Form1Window window{runtime, sources, &boxes};
};

}  // namespace maskora::testing
