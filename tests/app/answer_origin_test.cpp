// What an answer page names is taken from the web relative to the answer's address, and
// nothing it names reaches the disk.
#include "app/answer_origin.h"

#include <gtest/gtest.h>

#include "app/answer_checks.h"

namespace tessival::app {
namespace {

TEST(AnswerOriginTest, NamesResolveOnTheAnswersHostOrAreRefused) {
  const AnswerOrigin origin("http://dict.example/cgi-bin/wort?q=Haus");
  const struct {
    const char* name;
    std::optional<std::string> address;
  } cases[] = {
      {"links.htm", "http://dict.example/cgi-bin/links.htm"},
      {"links.htm#oben", "http://dict.example/cgi-bin/links.htm"},
      {"/etc/passwd", "http://dict.example/etc/passwd"},
      {"../../../../etc/passwd", "http://dict.example/etc/passwd"},
      {"https://other.example/x.htm", "https://other.example/x.htm"},
      {"HTTP://other.example/x.htm", "HTTP://other.example/x.htm"},
      {"//other.example/x.htm", "http://other.example/x.htm"},
      {"file:///etc/passwd", std::nullopt},
      {"FILE:/etc/passwd", std::nullopt},
      {"C:/Windows/win.ini", std::nullopt},
      {"javascript:alert(1)", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(origin.Resolve(c.name), c.address) << c.name;
}

TEST(AnswerOriginTest, AnAnswerWithoutWebAddressNamesNothing) {
  EXPECT_EQ(AnswerOrigin().Resolve("links.htm"), std::nullopt);
  EXPECT_EQ(AnswerOrigin("file:///tmp/answer.htm").Resolve("/etc/passwd"), std::nullopt);
}

TEST(AnswerChecksTest, EmptyAndShortAnswersAreFailures) {
  const struct {
    int status;
    std::int64_t content_length, body;
    std::optional<std::string> text;
  } cases[] = {
      {0, -1, 0, "leere Antwort"},
      {0, -1, 5, std::nullopt},  // header-less answer: its end is the connection's end
      {200, 0, 0, std::nullopt},
      {200, -1, 0, std::nullopt},
      {200, 100, 100, std::nullopt},
      {200, 100, 99, "Antwort unvollst\xE4ndig: 99 von 100 Bytes"},
      {200, 100, 0, "Antwort unvollst\xE4ndig: 0 von 100 Bytes"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IncompleteAnswerText(c.status, c.content_length, c.body), c.text) << c.body;
}

TEST(AnswerChecksTest, CappedStreamKeepsWhatFitsAndEndsPastTheLimit) {
  platform::TMemoryStream memory;
  CappedStream capped(memory, 8);
  capped.WriteBuffer("12345678", 8);  // exactly the limit
  EXPECT_FALSE(capped.LimitReached());
  EXPECT_THROW(capped.WriteBuffer("9", 1), platform::EStreamError);
  EXPECT_TRUE(capped.LimitReached());
  EXPECT_EQ(memory.AsString(), "12345678");

  platform::TMemoryStream other;
  CappedStream straddling(other, 5);
  EXPECT_THROW(straddling.WriteBuffer("1234567", 7), platform::EStreamError);
  EXPECT_EQ(other.AsString(), "12345");
}

}  // namespace
}  // namespace tessival::app
