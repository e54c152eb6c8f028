// SPDX-License-Identifier: MIT
// maskora: answers from the command line at once, with the address library alone, and starts
// the window program only when a window is wanted.
#include <csignal>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "cli/command_line.h"
#include "cli/posix_io.h"
#include "cli/streams.h"

int main(int argc, char** argv) {
  using namespace maskora;
  // A reader that goes away ends the program quietly, as it ends any filter.
  std::signal(SIGPIPE, SIG_DFL);
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  const CommandLine line = ReadCommandLine(arguments);
  if (line.action == CommandAction::OpenWindow) {
    return StartWindowProgram(MASKORA_WINDOW_PROGRAM, argv);
  }
  FileSource input(STDIN_FILENO);
  FileSink output(STDOUT_FILENO);
  FileSink errors(STDERR_FILENO);
  return RunAnswer(line, input, output, errors);
}
