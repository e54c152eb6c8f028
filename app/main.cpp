// SPDX-License-Identifier: MIT
// The window program: reads the command line, then makes the window with its address sources.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include <QApplication>
#include <QIcon>

#include "cli/command_line.h"
#include "cli/posix_io.h"
#include "cli/streams.h"
#include "sources/address_lookups.h"
#include "sources/curl/curl_http_client.h"
#include "sources/endpoint.h"
#include "sources/posix_sockets.h"
#include "window/qt/form1_window.h"
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
  using namespace maskora;
  // Read before Qt starts: answers and errors need no display. The maskora command answers by
  // itself and starts this program for the window; answered here too, it gives the same.
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const CommandLine line = ReadCommandLine(arguments);
  if (line.action != CommandAction::OpenWindow) {
    FileSource input(STDIN_FILENO);
    FileSink output(STDOUT_FILENO);
    FileSink errors(STDERR_FILENO);
    return RunAnswer(line, input, output, errors);
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

  QtRuntime runtime;
  PosixSockets sockets;
  CurlHttpClientFactory clients;
  const EndpointSetting srv = ConfiguredEndpoint();
  if (srv.problem) {
    std::fprintf(stderr, "%s\n", srv.problem->c_str());
  }
  AddressLookups sources(sockets, runtime, clients, srv.endpoint);
  Form1Window form(runtime, sources);
  form.Open(line.address);
  form.show();
  return QApplication::exec();
}
