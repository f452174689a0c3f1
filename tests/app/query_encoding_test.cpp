#include "app/query_encoding.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "app/in_out_error.h"
#include "platform/screen_cursor.h"
#include "scratch_directory.h"

namespace tessival::app {
namespace {

std::string Byte(int value) { return std::string(1, static_cast<char>(value)); }

// The escape each byte is sent as, written out from the service's table rather than from
// any rule: only these bytes are escaped, and two of them as another byte's escape.
std::map<int, std::string> ExpectedEscapes() {
  std::map<int, std::string> escapes;
  const auto escape_range = [&](int from, int to) {
    for (int b = from; b <= to; ++b) {
      char text[8];
      std::snprintf(text, sizeof text, "%%%02X", b);
      escapes[b] = text;
    }
  };
  escape_range(32, 32);
  escape_range(145, 156);
  escape_range(158, 159);
  escape_range(161, 163);
  escape_range(165, 165);
  escape_range(167, 172);
  escape_range(174, 174);
  escape_range(176, 214);
  escape_range(216, 255);
  escapes[124] = "%A6";
  escapes[175] = "%AD";
  return escapes;
}

TEST(EncodeQueryText, EveryByteValueIsEscapedExactlyAsTheTableSays) {
  const auto escapes = ExpectedEscapes();
  EXPECT_EQ(escapes.size(), 107u);  // and 149 bytes go out unchanged
  for (int b = 0; b < 256; ++b) {
    const auto found = escapes.find(b);
    const std::string expected = found == escapes.end() ? Byte(b) : found->second;
    EXPECT_EQ(EncodeQueryText(Byte(b)), expected) << "byte " << b;
  }
}

TEST(EncodeQueryText, KeepsTheCharactersOtherEncodersWouldEscape) {
  EXPECT_EQ(EncodeQueryText("50% & more"), "50%%20&%20more");
  EXPECT_EQ(EncodeQueryText("a+b=c#d?e/f"), "a+b=c#d?e/f");
  EXPECT_EQ(EncodeQueryText("a\r\nb"), "a\r\nb");
  EXPECT_EQ(EncodeQueryText("\x80\x90\x9D\xA0\xA4\xA6\xAD\xD7"), "\x80\x90\x9D\xA0\xA4\xA6\xAD\xD7");
}

TEST(EncodeQueryText, SendsBarAndMacronAsOtherBytesEscapes) {
  EXPECT_EQ(EncodeQueryText("a|b"), "a%A6b");
  EXPECT_EQ(EncodeQueryText("\xAF"), "%AD");
  EXPECT_EQ(EncodeQueryText("Gr\xFC\xDF"
                            "e aus"),
            "Gr%FC%DFe%20aus");
  EXPECT_EQ(EncodeQueryText(""), "");
}

TEST(EncodeQueryTextUtf8, AsciiThroughTheTableEverythingElseAsUtf8Escapes) {
  EXPECT_EQ(EncodeQueryTextUtf8("a|b 50% & more\r\n\xAF"), "a%C2%A6b%2050%%20&%20more\r\n%C2%AF");
  EXPECT_EQ(EncodeQueryTextUtf8("Gr\xFC\xDF"
                                "e"),
            "Gr%C3%BC%C3%9Fe");
  // Three-byte characters from the 1252 block, and a byte 1252 leaves undefined.
  EXPECT_EQ(EncodeQueryTextUtf8("\x80\x84\x99"), "%E2%82%AC%E2%80%9E%E2%84%A2");
  EXPECT_EQ(EncodeQueryTextUtf8("\x81\xA0"), "%C2%81%C2%A0");
  EXPECT_EQ(EncodeQueryTextUtf8(""), "");
}

TEST(PrePasses, ReplaceBytesOneForOne) {
  EXPECT_EQ(SpacesToPlus("wer ist  da"), "wer+ist++da");
  EXPECT_EQ(LineBreaksToSpaces("a\r\nb\nc\rd"), "a  b c d");
  EXPECT_EQ(EncodeQueryText(SpacesToPlus("a b")), "a+b");
}

class ConvertUtf8PageTest : public ScratchDirectoryTest {
 protected:
  std::string Convert(const std::string& input) {
    WriteFile("in.htm", input);
    ConvertUtf8Page("in.htm", "out.htm");
    return ReadFile("out.htm");
  }
};

TEST_F(ConvertUtf8PageTest, ConvertsEachKindOfSequence) {
  struct Case {
    std::string input, output;
  };
  // The table keeps its hand-made columns.
  // clang-format off
  const Case cases[] = {
      {"plain ASCII\r\n", "plain ASCII\r\n"},
      {"\xC3\xA4", "\xE4"},                 // two bytes below 256 keep their character
      {"\xC4\x80", "?"},                    // two bytes above 255
      {"\xC3" "A", "??"},                   // a bad second byte is lost with the pair
      {"\xE2\x80\x9E", "\x84"},             // low double quotation mark
      {"\xE2\x80\x9C", "\x94"},             // left double quote becomes the right one
      {"\xE2\x80\x9A", "\x82"},
      {"\xE2\x80\x98", "\x92"},
      {"\xE2\x82\xAC", "?"},                // the euro sign has no mapping here
      {"\xF0\x9F\x98\x80", "????"},         // four-byte sequences give four marks
      {"\xA9", "?"},                        // a lone continuation byte
      {"\xEF\xBB\xBFx", "?x"},              // a byte-order mark is one character
  };
  // clang-format on
  for (const Case& c : cases) EXPECT_EQ(Convert(c.input), c.output) << c.input;
}

TEST_F(ConvertUtf8PageTest, FileEndingInsideASequenceIsAReadErrorAfterTheGoodPart) {
  EXPECT_THROW(Convert("ok \xC3"), EInOutError);
  EXPECT_EQ(ReadFile("out.htm"), "ok ");
  EXPECT_THROW(Convert("\xE2\x80"), EInOutError);
}

TEST_F(ConvertUtf8PageTest, MissingSourceIsAnErrorAndTheCursorComesBack) {
  platform::ScreenCursor::Set(platform::TCursor::crIBeam);
  EXPECT_THROW(ConvertUtf8Page("missing.htm", "out.htm"), EInOutError);
  EXPECT_EQ(platform::ScreenCursor::Get(), platform::TCursor::crIBeam);
  platform::ScreenCursor::Set(platform::TCursor::crDefault);
}

}  // namespace
}  // namespace tessival::app
