// SPDX-License-Identifier: MIT
// The floor for start-up time and memory: an empty Qt Widgets window of Maskora's size, with no
// text, so no fonts are loaded.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("empty"));
  window.setFixedSize(257, 190);
  window.show();
  return QApplication::exec();
}
