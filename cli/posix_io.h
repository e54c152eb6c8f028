// SPDX-License-Identifier: MIT
// Standard input, output and error as the answers' source and sinks, and the start of the window
// program, on POSIX systems.
#pragma once

#include "cli/streams.h"

namespace maskora {

class FileSource : public ByteSource {
 public:
  explicit FileSource(int fd) : fd_(fd) {}
  std::size_t Read(char* buffer, std::size_t size) override;

 private:
  int fd_;
};

class FileSink : public ByteSink {
 public:
  explicit FileSink(int fd) : fd_(fd) {}
  WriteResult Write(std::string_view bytes) override;

 private:
  int fd_;
};

// Replaces this process with the window program, which stands at windowProgram relative to the
// folder of this program's own file (the same in the build tree and an installed tree), with
// the same arguments. Returns only when that fails, with the exit status after saying why.
int StartWindowProgram(const char* windowProgram, char** argv);

}  // namespace maskora
