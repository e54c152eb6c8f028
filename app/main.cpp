// SPDX-License-Identifier: MIT
// Maskora: reads the command line, then makes the window with its address sources.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QIcon>

#include "cli/command_line.h"
#include "cli/printed_results.h"
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
