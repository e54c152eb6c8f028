// SPDX-License-Identifier: MIT
#include "window/qt/qt_message_boxes.h"

#include <QMessageBox>

#include "window/form1_description.h"
#include "window/qt/qt_controls.h"

namespace maskora {

void QtMessageBoxes::ShowMessage(const Text& text, MessageIcon icon, const Text& title) {
  QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
  if (icon == MessageIcon::Information) {
    qtIcon = QMessageBox::Information;
  } else if (icon == MessageIcon::Exclamation) {
    qtIcon = QMessageBox::Warning;
  }
  QMessageBox box(qtIcon, ToQString(title.empty() ? std::u16string_view(kForm1.appTitle) : title),
                  ToQString(text), QMessageBox::Ok, parent_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace maskora
