// SPDX-License-Identifier: MIT
// The answers without a window, written to standard output as they are made: for the one
// address, for every line of standard input, and for the networks of --split and --range.
// Memory stays flat however long the input or the answer.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"

namespace maskora {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Up to size bytes into buffer; 0 at the end of the input (or when it can't be read).
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

enum class WriteResult {
  Written,
  ReaderGone,  // a pipe whose reader has gone: the program ends quietly
  Failed,
};

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Writes all of bytes, whose line breaks are "\n".
  virtual WriteResult Write(std::string_view bytes) = 0;
};

// The lines of a source, without their line breaks (LF or CR LF), read through a buffer of a
// fixed size. A line longer than kLongestLine is reported as too long, with its beginning, and
// skipped to its end.
class LineReader {
 public:
  static constexpr std::size_t kLongestLine = 4096;
  static constexpr std::size_t kKeptOfLongLine = 80;

  explicit LineReader(ByteSource& source);

  struct Line {
    std::string_view text;  // valid until the next call
    bool tooLong = false;   // text is then the line's beginning
  };
  // None at the end of the input.
  std::optional<Line> Next();

 private:
  bool Fill();

  ByteSource& source_;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool ended_ = false;
  std::string longLine_;
};

// The exit status after a reader went away: what a shell reports for a program ended by
// SIGPIPE (128 + 13).
inline constexpr int kReaderGone = 141;

// Answers a command line whose action is not OpenWindow; the exit status: 0, kUsageError for a
// usage error or when any line of a stream was no address, 1 when the answer could not be
// written, kReaderGone when its reader went away.
int RunAnswer(const CommandLine& line, ByteSource& input, ByteSink& output, ByteSink& errors);

}  // namespace maskora
