// Maskora: wires the window to its toolkit binding, the address sources and the wheel hook.
#include <cstdio>
#include <cstdlib>

#include <QApplication>
#include <QIcon>

#include "sources/address_lookups.h"
#include "sources/posix_sockets.h"
#include "sources/qt/qt_http_client.h"
#include "wheelhook/qt/qt_wheel_hook.h"
#include "window/qt/form1_window.h"
#include "window/qt/qt_message_boxes.h"
#include "window/qt/qt_runtime.h"

namespace {

// Qt aborts with a long message when it finds no display; say it in one line instead.
bool HasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform != nullptr && *platform != '\0') {
    return true;
  }
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    const char* value = std::getenv(variable);
    if (value != nullptr && *value != '\0') {
      return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (!HasDisplay()) {
    std::fputs("Maskora needs a graphical session: no display was found.\n", stderr);
    return 1;
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Maskora"));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.maskora.Maskora"));
  QIcon icon;
  icon.addFile(QStringLiteral(":/maskora/maskora-16.png"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/maskora/maskora-32.png"), QSize(32, 32));
  QApplication::setWindowIcon(icon);

  using namespace maskora;
  QtMessageBoxes dialogs;
  QtRuntime runtime;
  PosixSockets sockets;
  QtHttpClientFactory clients;
  AddressLookups sources(sockets, dialogs, runtime, clients);

  Form1Window form(dialogs, runtime, sources);
  dialogs.SetParent(&form);
  QtWheelHook wheel(&form, form.Control(ControlId::cmbMask),
                    [&form](std::int32_t rotation, std::int32_t x, std::int32_t y) {
                      form.Host().MouseWheel(0, rotation, x, y);
                    });
  form.Host().SetWheelHook(&wheel);
  form.Host().Load();
  form.show();
  return QApplication::exec();
}
