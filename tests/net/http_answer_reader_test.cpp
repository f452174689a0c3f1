#include "net/http_answer_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "net/http_cli.h"
#include "platform/message_loop.h"

namespace tessival::net {
namespace {

using ::testing::ElementsAre;
using Outcome = HttpAnswerReader::HeaderOutcome;

// Records what the reader reports; body blocks are joined, since their cut depends on
// how the bytes arrived.
class RecordingSink : public HttpAnswerReader::Sink {
 public:
  explicit RecordingSink(Outcome at_header_end = Outcome::kReadBody) : outcome_(at_header_end) {}
  void HeaderBegin() override { events.push_back("begin"); }
  void HeaderField(const std::string& line) override { events.push_back("field " + line); }
  Outcome HeaderEnd() override {
    events.push_back("end");
    return outcome_;
  }
  void NoHeader() override { events.push_back("no header"); }
  void BodyChunk(const char* data, std::size_t length) override { body.append(data, length); }

  std::vector<std::string> events;
  std::string body;

 private:
  Outcome outcome_;
};

// Hands the pieces over as a socket would, the body in blocks, then the close. Returns
// false when a header line filled the buffer.
bool Feed(HttpAnswerReader& reader, RecordingSink& sink, const std::vector<std::string>& pieces) {
  for (std::string_view piece : pieces) {
    while (!piece.empty() && reader.phase() != HttpAnswerReader::Phase::kDone) {
      if (reader.phase() == HttpAnswerReader::Phase::kBody) {
        reader.BodyReceived(piece.data(), piece.size(), sink);
        break;
      }
      const std::span<char> space = reader.HeaderSpace();
      if (space.empty()) return false;
      const std::size_t count = std::min(space.size(), piece.size());
      std::copy_n(piece.data(), count, space.data());
      piece.remove_prefix(count);
      reader.HeaderReceived(count, sink);
    }
  }
  reader.Closed(sink);
  return true;
}

RecordingSink Read(const std::vector<std::string>& pieces, Outcome at_header_end = Outcome::kReadBody) {
  HttpAnswerReader reader;
  RecordingSink sink(at_header_end);
  EXPECT_TRUE(Feed(reader, sink, pieces));
  return sink;
}

// The same answer cut at every position reads as in one piece.
TEST(HttpAnswerReader, EverySplitPositionReadsTheSame) {
  // The table keeps its hand-made columns.
  // clang-format off
  const std::string answers[] = {
      "HTTP/1.1 200 OK\r\nContent-Type:   Text/HTML\r\nContent-Length: 11\r\n\r\nhello\r\nworld",
      "HTTP/1.0 404 Not Found\nContent-Type: text/plain\n\nmissing",
      "<html>\r\n<p>no header</p>\r\n",
      "<HTML>no line break at all",
      "HTTP/1.0 200 OK\r\nX-Half",
      std::string("HTTP/1.0 200 OK\r\n\r\n\0binary\0body", 31),
  };
  // clang-format on
  for (const std::string& answer : answers) {
    const RecordingSink whole = Read({answer});
    for (std::size_t cut = 1; cut < answer.size(); ++cut) {
      const RecordingSink split = Read({answer.substr(0, cut), answer.substr(cut)});
      EXPECT_EQ(split.events, whole.events) << answer << " cut at " << cut;
      EXPECT_EQ(split.body, whole.body) << answer << " cut at " << cut;
    }
  }
}

TEST(HttpAnswerReader, LinesEndAtLineFeedsAndTheHeaderAtItsEmptyLine) {
  const RecordingSink sink = Read({"HTTP/1.0 200 OK\r\nA: 1\nB: 2\r\r\n\r\nbody\r\n\r\nmore"});
  EXPECT_THAT(sink.events,
              ElementsAre("begin", "field HTTP/1.0 200 OK", "field A: 1", "field B: 2", "end"));
  EXPECT_EQ(sink.body, "body\r\n\r\nmore");
}

// Without a header the first line and everything after it is the document, as it came.
TEST(HttpAnswerReader, AnswerWithoutHeaderIsAllBody) {
  const RecordingSink sink = Read({"<Html><p>a\r\n", "b</p>"});
  EXPECT_THAT(sink.events, ElementsAre("begin", "no header"));
  EXPECT_EQ(sink.body, "<Html><p>a\r\nb</p>");
}

// The sink's choice at the header's end: the block that came with the header only, or
// nothing at all.
TEST(HttpAnswerReader, SinkDecidesHowMuchOfTheBodyIsRead) {
  EXPECT_EQ(Read({"HTTP/1.0 404 X\r\n\r\nwith header", "later"}, Outcome::kReadThisBlockOnly).body,
            "with header");
  EXPECT_EQ(Read({"HTTP/1.0 302 X\r\n\r\nignored", "later"}, Outcome::kStop).body, "");
}

// A server that closes in the middle of a line: that rest is the header's last line.
TEST(HttpAnswerReader, CloseMakesTheUnterminatedRestALine) {
  const RecordingSink sink = Read({"HTTP/1.0 200 OK\r\nX-Half"});
  EXPECT_THAT(sink.events, ElementsAre("begin", "field HTTP/1.0 200 OK", "field X-Half"));
}

// A line and its line feed fit the 8192-byte buffer exactly; one byte more can never end.
TEST(HttpAnswerReader, LongestHeaderLineFitsTheBufferExactly) {
  const std::string longest = "X: " + std::string(HttpAnswerReader::kLineLimit - 4, 'x');
  const RecordingSink fits = Read({longest + "\n\nbody"});
  EXPECT_THAT(fits.events, ElementsAre("begin", "field " + longest, "end"));
  EXPECT_EQ(fits.body, "body");

  HttpAnswerReader reader;
  RecordingSink sink;
  EXPECT_FALSE(Feed(reader, sink, {longest + "y\n\nbody"}));
  EXPECT_THAT(sink.events, ElementsAre());
}

// Lines are looked for only up to a zero byte: a header with one never ends.
TEST(HttpAnswerReader, ZeroByteHidesTheLineEndsBehindIt) {
  HttpAnswerReader reader;
  RecordingSink sink;
  const std::string with_zero = std::string("HTTP/1.0 200 OK\0\r\n\r\n", 20) + std::string(9000, 'z');
  EXPECT_FALSE(Feed(reader, sink, {with_zero}));
  EXPECT_THAT(sink.events, ElementsAre());
}

// The client's reading of the header fields, through the same path as its socket.
struct ClientOutcome {
  int status;
  std::string reason, content_type, body;
  std::int64_t content_length;
};

ClientOutcome ReadWithClient(const std::vector<std::string>& pieces) {
  platform::MessageLoop loop;
  THttpCli http(loop);
  platform::TMemoryStream body;
  http.ReceiveStream = &body;
  http.URL = "http://127.0.0.1/";
  for (const std::string& piece : pieces) http.FeedAnswerForTesting(piece);
  http.EndAnswerForTesting();
  return {http.StatusCode(), http.ReasonPhrase(), http.ContentType(), body.AsString(),
          http.ContentLength()};
}

TEST(HttpAnswerReader, HeaderValuesAreReadAsTheClientReportsThem) {
  const ClientOutcome ok = ReadWithClient(
      {"HTTP/1.1 200 OK\r\nContent-Type:   Text/HTML\r\n"
       "Content-Length: 11\r\n\r\nhello\r\nworld"});
  EXPECT_EQ(ok.status, 200);
  EXPECT_EQ(ok.reason, "OK");
  EXPECT_EQ(ok.content_type, "text/html");
  EXPECT_EQ(ok.content_length, 11);
  EXPECT_EQ(ok.body, "hello\r\nworld");

  // Numbers that are not numbers lose their line, nothing else.
  const ClientOutcome bad = ReadWithClient(
      {"HTTP/1.0 2x0 Odd\r\nContent-Length: many\r\nContent-Type: a/b\r\n\r\nz"});
  EXPECT_EQ(bad.status, 0);
  EXPECT_EQ(bad.content_length, -1);
  EXPECT_EQ(bad.content_type, "a/b");
  EXPECT_EQ(bad.body, "z");

  // A failed request keeps only the body that came with its header.
  const ClientOutcome failed = ReadWithClient({"HTTP/1.0 404 Not Found\r\n\r\n<p>", "more</p>"});
  EXPECT_EQ(failed.status, 404);
  EXPECT_EQ(failed.body, "<p>");
}

TEST(HttpAnswerReader, ServerThatClosesWithoutAnAnswerLeavesStatusZero) {
  const ClientOutcome nothing = ReadWithClient({});
  EXPECT_EQ(nothing.status, 0);
  EXPECT_EQ(nothing.body, "");
  const ClientOutcome no_header = ReadWithClient({"<html>no line break at all"});
  EXPECT_EQ(no_header.content_type, "text/html");
  EXPECT_EQ(no_header.body, "<html>no line break at all");
}

}  // namespace
}  // namespace tessival::net
