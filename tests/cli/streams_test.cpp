// SPDX-License-Identifier: MIT
// Answers written as they are made: lines read through a fixed buffer whatever the input's
// pieces, a stream that goes on past bad lines, and a reader that goes away.
#include "cli/streams.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace maskora {
namespace {

// Gives the text in pieces of the given size.
class Pieces : public ByteSource {
 public:
  Pieces(std::string text, std::size_t piece) : text_(std::move(text)), piece_(piece) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    const std::size_t n = std::min({size, piece_, text_.size() - at_});
    std::copy_n(text_.data() + at_, n, buffer);
    at_ += n;
    return n;
  }

 private:
  std::string text_;
  std::size_t piece_;
  std::size_t at_ = 0;
};

class Recording : public ByteSink {
 public:
  WriteResult Write(std::string_view bytes) override {
    if (writes++ == goneAfter) {
      return WriteResult::ReaderGone;
    }
    text += bytes;
    return WriteResult::Written;
  }
  std::string text;
  int writes = 0;
  int goneAfter = -1;
};

std::vector<std::string> Lines(const std::string& text, std::size_t piece) {
  Pieces source(text, piece);
  LineReader reader(source);
  std::vector<std::string> lines;
  while (const auto line = reader.Next()) {
    lines.push_back((line->tooLong ? "LONG:" : "") + std::string(line->text));
  }
  return lines;
}

TEST(LineReader, GivesTheSameLinesWhateverThePiecesOfTheInput) {
  const std::string longLine(5000, 'x');
  const std::string text = "a\r\nb\n\n" + longLine + "\r\nc\n" + std::string(4096, 'y') + "\nlast";
  const std::vector<std::string> wanted = {
      "a",   "b",
      "",    "LONG:" + std::string(LineReader::kKeptOfLongLine + 1, 'x'),
      "c",   std::string(4096, 'y'),
      "last"};
  for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4097}, text.size()}) {
    EXPECT_EQ(Lines(text, piece), wanted) << piece;
  }
  EXPECT_TRUE(Lines("", 10).empty());
  EXPECT_EQ(Lines("\n", 10), std::vector<std::string>{""});
  // A line far past the buffer is dropped as it comes, without growing.
  EXPECT_EQ(Lines(std::string(1 << 20, 'z') + "\nok\n", 65536).back(), "ok");
}

CommandLine Line(std::vector<std::string_view> arguments) {
  return ReadCommandLine(arguments);
}

TEST(RunAnswer, StreamAnswersEveryLineAndSaysWhichFailed) {
  Pieces input("10.1.2.3/8\n\n   \r\nnot one\r\n192.168.1.1 255.255.255.0\n", 5);
  Recording out;
  Recording errors;
  EXPECT_EQ(RunAnswer(Line({"--print", "-"}), input, out, errors), kUsageError);
  EXPECT_EQ(out.text,
            "Stato IP:       Valido\nTipo indirizzo: Privato\nClasse rete:    A - ( 8 ) 255.0.0.0\n"
            "Broadcast:      10.255.255.255\nHosts:          16.777.214\nNetwork:        10.0.0.0\n"
            "\n"
            "Stato IP:       Valido\nTipo indirizzo: Privato\n"
            "Classe rete:    C - (24) 255.255.255.0\nBroadcast:      192.168.1.255\n"
            "Hosts:          254\nNetwork:        192.168.1.0\n");
  EXPECT_EQ(errors.text,
            "maskora: line 4: not an IPv4 address with an optional prefix or mask: 'not one'\n");

  Pieces good("10.0.0.1\n10.0.0.2", 64);
  Recording json;
  EXPECT_EQ(RunAnswer(Line({"--json", "-"}), good, json, errors), 0);
  EXPECT_EQ(std::count(json.text.begin(), json.text.end(), '\n'), 2);
}

TEST(RunAnswer, EndsQuietlyWhenTheReaderGoesAway) {
  Pieces none("", 1);
  Recording out;
  out.goneAfter = 0;
  Recording errors;
  // Four thousand million lines, stopped at the first write.
  EXPECT_EQ(RunAnswer(Line({"--split", "32", "0.0.0.0/0"}), none, out, errors), kReaderGone);
  EXPECT_EQ(out.writes, 1);
  EXPECT_TRUE(errors.text.empty());
}

}  // namespace
}  // namespace maskora
