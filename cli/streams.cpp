// SPDX-License-Identifier: MIT
#include "cli/streams.h"

#include <algorithm>
#include <cstring>

#include "cli/answers.h"
#include "cli/subnets.h"
#include "core/text.h"

namespace maskora {

namespace {

constexpr std::size_t kReadSize = 64 * 1024;
// Answers are gathered to about this size before they are written.
constexpr std::size_t kWriteSize = 64 * 1024;

// Gathers answers and writes them in large pieces; remembers the first failure.
class Output {
 public:
  explicit Output(ByteSink& sink) : sink_(sink) { text_.reserve(kWriteSize + 4096); }
  std::string& Text() { return text_; }
  // False once a write has failed: nothing more is worth making.
  bool FlushWhenFull() { return text_.size() < kWriteSize || Flush(); }
  bool Flush() {
    if (result_ == WriteResult::Written && !text_.empty()) {
      result_ = sink_.Write(text_);
    }
    text_.clear();
    return result_ == WriteResult::Written;
  }
  WriteResult Result() const { return result_; }

 private:
  ByteSink& sink_;
  std::string text_;
  WriteResult result_ = WriteResult::Written;
};

int Ending(Output& out, ByteSink& errors, int status) {
  out.Flush();
  switch (out.Result()) {
    case WriteResult::Written:
      return status;
    case WriteResult::ReaderGone:
      return kReaderGone;
    case WriteResult::Failed:
      break;
  }
  errors.Write("maskora: the answer could not be written\n");
  return 1;
}

AddressEntry EntryOf(const Block& block) {
  AddressEntry entry;
  for (std::size_t i = 0; i < 4; ++i) {
    entry.octets[i] = static_cast<int>((block.network >> (24 - 8 * i)) & 0xFF);
  }
  entry.hostBits = 32 - block.prefix;
  return entry;
}

int AnswerStream(AnswerForm form, ByteSource& input, Output& out, ByteSink& errors) {
  LineReader lines(input);
  int status = 0;
  bool first = true;
  std::size_t number = 0;
  while (const auto line = lines.Next()) {
    ++number;
    const std::string_view text = TrimBlanks(line->text);
    if (text.empty() && !line->tooLong) {
      continue;
    }
    const AddressReading reading = line->tooLong ? AddressReading{} : ReadAddressText(text);
    if (reading.kind != AddressTextKind::Address) {
      status = kUsageError;
      // What was answered so far goes first, so that the message stands where it belongs.
      if (!out.Flush()) {
        break;
      }
      const std::string why =
          line->tooLong ? "longer than " + std::to_string(LineReader::kLongestLine) + " bytes"
                        : "not an IPv4 address with an optional prefix or mask";
      errors.Write("maskora: line " + std::to_string(number) + ": " + why + ": " +
                   Quoted(line->text, LineReader::kKeptOfLongLine) + "\n");
      continue;
    }
    if (form == AnswerForm::Results && !first) {
      out.Text() += '\n';
    }
    first = false;
    AppendAnswer(out.Text(), reading.entry, form);
    if (!out.FlushWhenFull()) {
      break;
    }
  }
  return status;
}

void AnswerBlocks(const CommandLine& line, Output& out) {
  bool first = true;
  const auto each = [&](const Block& block) {
    if (line.form == AnswerForm::Results && !first) {
      out.Text() += '\n';
    }
    first = false;
    AppendAnswer(out.Text(), EntryOf(block), line.form);
    return out.FlushWhenFull();
  };
  if (line.source == AnswerSource::Split) {
    std::uint32_t address = 0;
    for (const int octet : line.address->octets) {
      address = (address << 8) | static_cast<std::uint32_t>(octet);
    }
    ForEachSubnet(address, 32 - *line.address->hostBits, line.splitPrefix, each);
  } else {
    ForEachRangeBlock(line.first, line.last, each);
  }
}

}  // namespace

LineReader::LineReader(ByteSource& source) : source_(source), buffer_(kReadSize) {}

bool LineReader::Fill() {
  if (ended_) {
    return false;
  }
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  const std::size_t got = source_.Read(buffer_.data() + end_, buffer_.size() - end_);
  end_ += got;
  ended_ = got == 0;
  return got > 0;
}

std::optional<LineReader::Line> LineReader::Next() {
  for (;;) {
    const char* const start = buffer_.data() + begin_;
    const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
    const std::size_t length =
        newline != nullptr ? static_cast<std::size_t>(newline - start) : end_ - begin_;
    if (newline == nullptr && length <= kLongestLine && Fill()) {
      continue;
    }
    if (newline == nullptr && length == 0) {
      return std::nullopt;  // the end, after a line break or of an empty input
    }
    std::string_view text(start, length);
    begin_ += newline != nullptr ? length + 1 : length;
    if (text.ends_with('\r')) {
      text.remove_suffix(1);
    }
    if (text.size() <= kLongestLine) {
      return Line{text};
    }
    // Too long: keep its beginning, and drop the rest of it as it comes.
    longLine_.assign(text.substr(0, kKeptOfLongLine + 1));
    while (newline == nullptr && Fill()) {
      newline = static_cast<const char*>(std::memchr(buffer_.data(), '\n', end_));
      begin_ = newline != nullptr ? static_cast<std::size_t>(newline - buffer_.data()) + 1 : end_;
    }
    return Line{longLine_, true};
  }
}

int RunAnswer(const CommandLine& line, ByteSource& input, ByteSink& output, ByteSink& errors) {
  Output out(output);
  switch (line.action) {
    case CommandAction::Help:
      out.Text() = HelpText();
      return Ending(out, errors, 0);
    case CommandAction::Version:
      out.Text() = VersionText();
      return Ending(out, errors, 0);
    case CommandAction::Error:
      errors.Write(line.error + "\n");
      return kUsageError;
    case CommandAction::OpenWindow:
      return 0;  // nothing to answer: the window is the answer
    case CommandAction::Answer:
      break;
  }
  switch (line.source) {
    case AnswerSource::Address:
      AppendAnswer(out.Text(), *line.address, line.form);
      return Ending(out, errors, 0);
    case AnswerSource::StandardInput:
      return Ending(out, errors, AnswerStream(line.form, input, out, errors));
    case AnswerSource::Split:
    case AnswerSource::Range:
      AnswerBlocks(line, out);
      return Ending(out, errors, 0);
  }
  return 0;
}

}  // namespace maskora
