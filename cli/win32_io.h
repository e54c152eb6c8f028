// SPDX-License-Identifier: MIT
// Standard input, output and error as the answers' source and sinks on Windows, for the console
// program and for the window program alike.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "cli/streams.h"

namespace maskora {

// The arguments after the program's name, in UTF-8.
std::vector<std::string> CommandLineArguments();

class StandardSource : public ByteSource {
 public:
  std::size_t Read(char* buffer, std::size_t size) override;
};

// Writes to the standard output or error handle that the program was given (a file, a pipe or
// a console), or else to the console of the program that started it; line breaks become CR LF,
// and a console is written in UTF-16, which it shows whatever its code page.
class StandardSink : public ByteSink {
 public:
  // which: STD_OUTPUT_HANDLE or STD_ERROR_HANDLE.
  explicit StandardSink(DWORD which);
  ~StandardSink() override;
  StandardSink(const StandardSink&) = delete;
  StandardSink& operator=(const StandardSink&) = delete;

  // Whether there is anywhere to write to.
  bool Usable() const;
  WriteResult Write(std::string_view bytes) override;

 private:
  HANDLE handle_ = nullptr;
  HANDLE console_ = nullptr;  // opened here, closed with the sink
  bool attached_ = false;     // to the console of the program that started this one
};

}  // namespace maskora
