// The real main window on Qt's offscreen platform, with recording stand-ins for the message
// boxes and the address sources.
#pragma once

#include <string>
#include <vector>

#include <QApplication>
#include <QTest>

#include "tests/window/stand_ins.h"
#include "wheelhook/qt/qt_wheel_hook.h"
#include "window/qt/form1_window.h"
#include "window/qt/qt_runtime.h"

namespace maskora::testing {

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.SetWheelHook(&wheel);
    window.Load();
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  QString Text(QLineEdit* field) const { return field->text(); }
  // The six result fields, top to bottom as the window shows them.
  std::vector<QString> Results() const {
    return {window.txtStato()->text(),     window.txtTipo()->text(),  window.txtClasse()->text(),
            window.txtBroadcast()->text(), window.txtHosts()->text(), window.txtNetwork()->text()};
  }
  // Writes a field as the program does.
  void Write(int octet, const QString& text) {
    QtTextField(window.txtIP(octet)).SetText(ToText(text));
  }
  void SetOctets(const std::vector<QString>& octets) {
    for (int i = 0; i < 4; ++i) {
      Write(i, octets[static_cast<std::size_t>(i)]);
    }
  }
  // Keys go to the window, so that a key's release reaches the field focused by then.
  void Type(const QString& keys) {
    for (QChar ch : keys) {
      QTest::keyClick(window.windowHandle(), ch.toLatin1());
    }
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window.windowHandle(), key, modifiers);
  }
  // Enters the field, also when it already has the focus.
  void Focus(int octet) {
    if (window.txtIP(octet)->hasFocus()) {
      window.cmdCalc()->setFocus(Qt::OtherFocusReason);
    }
    window.txtIP(octet)->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
  }
  // Writes a field and enters it, as a user coming from another control would.
  void Enter(int octet, const QString& text) {
    window.cmdCalc()->setFocus(Qt::OtherFocusReason);
    Write(octet, text);
    Focus(octet);
  }
  int Focused() const {
    for (int i = 0; i < 4; ++i) {
      if (window.txtIP(i)->hasFocus()) {
        return i;
      }
    }
    return -1;
  }

  RecordingBoxes boxes;
  ScriptedSources sources;
  QtRuntime runtime;
  Form1Window window{boxes, runtime, sources};
  QtWheelHook wheel{&window, window.cmbMask(),
                    [this](std::int32_t keys, std::int32_t rotation, std::int32_t x,
                           std::int32_t y) { window.form().MouseWheel(keys, rotation, x, y); }};
};

}  // namespace maskora::testing
