// SPDX-License-Identifier: MIT
// What one keystroke costs: the evaluation alone, the recalculation that rewrites the real
// window's result fields, a wheel step, and an Up key through Qt's event path with the repaint
// that follows. The window is the real one, on Qt's offscreen platform.
#include <array>
#include <cstdint>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "address/address.h"
#include "window/qt/form1_window.h"
#include "window/qt/qt_runtime.h"

namespace {

using maskora::Text;

class NoBoxes : public maskora::MessageBoxes {
 public:
  void ShowMessage(const Text&, maskora::MessageIcon, const Text&) override {}
};

class FixedSources : public maskora::AddressSources {
 public:
  Text LookupLocalAddress(maskora::MessageBoxes&) override { return u"192.168.1.10"; }
  Text PublicAddressText(maskora::MessageBoxes&) override { return u"203.0.113.7"; }
};

// One shown window for all benchmarks, with 172.16.5.9 typed in and the focus in the last
// octet field.
class Window {
 public:
  Window() {
    window_.Open();
    window_.show();
    const char* octets[] = {"172", "16", "5", "9"};
    for (int i = 0; i < 4; ++i) {
      Octet(i)->setText(QString::fromLatin1(octets[i]));
    }
    Focus(3);
  }
  QLineEdit* Octet(int index) {
    return qobject_cast<QLineEdit*>(window_.Control(maskora::OctetId(index)));
  }
  void Focus(int octet) {
    Octet(octet)->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
  }
  maskora::Form1Window& operator*() { return window_; }

 private:
  NoBoxes boxes_;
  FixedSources sources_;
  maskora::QtRuntime runtime_;
  maskora::Form1Window window_{runtime_, sources_, &boxes_};
};

// Made in main, after the application object, and gone before it.
Window* theWindow = nullptr;

Window& TheWindow() {
  return *theWindow;
}

void EvaluateSubnet(benchmark::State& state) {
  const std::array<std::array<double, 4>, 4> addresses{
      {{192, 168, 1, 10}, {10, 1, 2, 3}, {224, 0, 0, 251}, {203, 0, 113, 7}}};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        maskora::EvaluateSubnet(addresses[i % addresses.size()], static_cast<int>(i % 33)));
    ++i;
  }
}
BENCHMARK(EvaluateSubnet);

// The mask list's click runs exactly the recalculation: read four fields and the mask,
// evaluate, write six result fields and the class button.
void Calcola(benchmark::State& state) {
  maskora::Form1Host& host = (*TheWindow()).Host();
  for (auto _ : state) {
    host.Click(maskora::ControlId::cmbMask);
  }
}
BENCHMARK(Calcola);

void WheelStep(benchmark::State& state) {
  TheWindow().Focus(3);
  maskora::Form1Host& host = (*TheWindow()).Host();
  std::int32_t rotation = 120;
  for (auto _ : state) {
    host.MouseWheel(rotation);
    rotation = -rotation;
  }
}
BENCHMARK(WheelStep);

// Key press and release through Qt's event delivery, then the repaint of what changed.
void UpKeyWithRepaint(benchmark::State& state) {
  TheWindow().Focus(3);
  QLineEdit* field = TheWindow().Octet(3);
  bool up = true;
  for (auto _ : state) {
    QTest::keyClick(field, up ? Qt::Key_Up : Qt::Key_Down);
    QApplication::processEvents();
    up = !up;
  }
}
BENCHMARK(UpKeyWithRepaint);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  {
    Window window;
    theWindow = &window;
    benchmark::RunSpecifiedBenchmarks();
    theWindow = nullptr;
  }
  benchmark::Shutdown();
  return 0;
}
