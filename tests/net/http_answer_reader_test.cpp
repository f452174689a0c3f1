#include <gtest/gtest.h>

#include "net/http_cli.h"
#include "platform/message_loop.h"

namespace tessival::net {
namespace {

struct Outcome {
  int status;
  std::string reason, content_type, body;
  std::int64_t content_length;
};

Outcome Read(const std::vector<std::string>& pieces) {
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

// The same answer cut at every position gives the same result as in one piece.
TEST(HttpAnswerReader, EverySplitPositionReadsTheSame) {
  const std::string answers[] = {
      "HTTP/1.1 200 OK\r\nContent-Type:   Text/HTML\r\nContent-Length: 11\r\n\r\nhello\r\nworld",
      "HTTP/1.0 404 Not Found\nContent-Type: text/plain\n\nmissing",
      "<html>\r\n<p>no header</p>\r\n",
      std::string("HTTP/1.0 200 OK\r\n\r\n\0binary\0body", 31),
  };
  for (const std::string& answer : answers) {
    const Outcome whole = Read({answer});
    for (std::size_t cut = 1; cut < answer.size(); ++cut) {
      const Outcome split = Read({answer.substr(0, cut), answer.substr(cut)});
      EXPECT_EQ(split.status, whole.status) << cut;
      EXPECT_EQ(split.content_type, whole.content_type) << cut;
      EXPECT_EQ(split.body, whole.body) << answer << " cut at " << cut;
    }
  }
}

TEST(HttpAnswerReader, HeaderValuesAreReadAsTheClientReportsThem) {
  const Outcome ok = Read({"HTTP/1.1 200 OK\r\nContent-Type:   Text/HTML\r\n"
                           "Content-Length: 11\r\n\r\nhello\r\nworld"});
  EXPECT_EQ(ok.status, 200);
  EXPECT_EQ(ok.reason, "OK");
  EXPECT_EQ(ok.content_type, "text/html");
  EXPECT_EQ(ok.content_length, 11);
  EXPECT_EQ(ok.body, "hello\r\nworld");

  // Numbers that are not numbers lose their line, nothing else.
  const Outcome bad = Read({"HTTP/1.0 2x0 Odd\r\nContent-Length: many\r\nContent-Type: a/b\r\n\r\nz"});
  EXPECT_EQ(bad.status, 0);
  EXPECT_EQ(bad.content_length, -1);
  EXPECT_EQ(bad.content_type, "a/b");
  EXPECT_EQ(bad.body, "z");
}

TEST(HttpAnswerReader, ServerThatClosesWithoutAnAnswerLeavesStatusZero) {
  const Outcome nothing = Read({});
  EXPECT_EQ(nothing.status, 0);
  EXPECT_EQ(nothing.body, "");
  const Outcome unterminated = Read({"<html>no line break at all"});
  EXPECT_EQ(unterminated.body, "<html>no line break at all");
}

}  // namespace
}  // namespace tessival::net
