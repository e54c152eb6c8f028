// SPDX-License-Identifier: MIT
#include "window/qt/qt_runtime.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLocale>
#include <QTime>
#include <QTimer>

namespace maskora {

namespace {
// The longest that one event pass waits for an event when none is pending: short enough for a
// responsive poll, long enough that a waiting loop costs almost no processor time.
constexpr int kIdleWaitMs = 50;
}  // namespace

double QtRuntime::SecondsSinceMidnight() {
  return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void QtRuntime::HandlePendingEvents() {
  // A timer guarantees that the waiting pass wakes up even when nothing else happens.
  QTimer wake;
  wake.setSingleShot(true);
  wake.start(kIdleWaitMs);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

char16_t QtRuntime::DecimalSeparator() const {
  const QString point = QLocale::system().decimalPoint();
  return point.isEmpty() ? u'.' : point.at(0).unicode();
}

}  // namespace maskora
