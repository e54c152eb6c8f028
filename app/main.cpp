// SPDX-License-Identifier: MIT
// Maskora: reads the command line, then wires the window to its toolkit binding, the address
// sources and the wheel hook.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QIcon>

#include "sources/address_lookups.h"
#include "sources/curl/curl_http_client.h"
#include "sources/endpoint.h"
#include "sources/posix_sockets.h"
#include "wheelhook/qt/qt_wheel_hook.h"
#include "window/command_line.h"
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

// Writes an answer to standard output; a failed write is an error too.
int Answer(const std::string& text) {
  if (std::fputs(text.c_str(), stdout) < 0 || std::fflush(stdout) != 0) {
    std::fputs("maskora: the answer could not be written\n", stderr);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace maskora;
  // Read before Qt starts: answers and errors need no display.
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const CommandLine line = ReadCommandLine(arguments);
  switch (line.action) {
    case CommandAction::Help:
      return Answer(HelpText());
    case CommandAction::Version:
      return Answer(VersionText());
    case CommandAction::Print:
    case CommandAction::PrintJson:
      return Answer(PrintedResults(*line.address, line.action == CommandAction::PrintJson));
    case CommandAction::Error:
      std::fprintf(stderr, "%s\n", line.error.c_str());
      return kUsageError;
    case CommandAction::OpenWindow:
      break;
  }
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

  QtMessageBoxes dialogs;
  QtRuntime runtime;
  PosixSockets sockets;
  CurlHttpClientFactory clients;
  AddressLookups sources(sockets, dialogs, runtime, clients, ConfiguredEndpoint());

  Form1Window form(dialogs, runtime, sources);
  dialogs.SetParent(&form);
  QtWheelHook wheel(&form, form.Control(ControlId::cmbMask),
                    [&form](std::int32_t rotation, std::int32_t x, std::int32_t y) {
                      form.Host().MouseWheel(0, rotation, x, y);
                    });
  form.Host().SetWheelHook(&wheel);
  form.Host().Load();
  if (line.address) {
    form.Host().EnterAddress(*line.address);
  }
  form.show();
  return QApplication::exec();
}
