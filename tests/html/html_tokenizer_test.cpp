#include "html/html_tokenizer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/id_name_list.h"
#include "tokenizer_test_support.h"

namespace tessival::html {
namespace {

using test::Tok;
using test::Tokenize;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string RawChars(const std::string& text, std::vector<std::int32_t>* positions = nullptr) {
  THtmlTokenizer reader;
  reader.Reset(text);
  std::string out;
  for (reader.ReadRawChar(); !reader.AtEof(); reader.ReadRawChar()) {
    out += reader.Ch();
    if (positions) positions->push_back(reader.Pos());
  }
  return out;
}

TEST(CharacterReader, FoldsEveryLineEndFormToOneCr) {
  std::vector<std::int32_t> positions;
  EXPECT_EQ(RawChars("a\r\nb", &positions), "a\rb");
  EXPECT_THAT(positions, ElementsAre(0, 1, 3));
  EXPECT_EQ(RawChars("a\n\rb"), "a\rb");
  EXPECT_EQ(RawChars("a\rb"), "a\rb");
  EXPECT_EQ(RawChars("a\nb"), "a\rb");
  EXPECT_EQ(RawChars("a\r\rb"), "a\r\rb");
  EXPECT_EQ(RawChars("a\r\n\nb"), "a\r\rb");
}

TEST(CharacterReader, TurnsTabsIntoSpacesAndKeepsAnUpperCaseTwin) {
  THtmlTokenizer reader;
  reader.Reset("\tq\xE4");
  reader.ReadRawChar();
  EXPECT_EQ(reader.Ch(), ' ');
  reader.ReadRawChar();
  EXPECT_EQ(reader.Ch(), 'q');
  EXPECT_EQ(reader.UpperCh(), 'Q');
  reader.ReadRawChar();
  EXPECT_EQ(reader.UpperCh(), '\xE4');  // only ASCII letters change
}

TEST(CharacterReader, StaysAtTheEndOfTheText) {
  THtmlTokenizer reader;
  reader.Reset("x");
  reader.ReadChar();
  reader.ReadChar();
  reader.ReadChar();
  EXPECT_TRUE(reader.AtEof());
  EXPECT_EQ(reader.Pos(), 1);
}

TEST(CharacterReader, StraySubByteDoesNotEndTheDocument) {
  EXPECT_EQ(test::TextOf(Tokenize(std::string("a\x1A") + "b")), "a b");
}

TEST(Comments, VanishEverywhereOutsideScripts) {
  EXPECT_EQ(test::TextOf(Tokenize("a<!-- x -->b")), "ab");
  EXPECT_EQ(test::TextOf(Tokenize("a<!-- x --><!--y-->b")), "ab");
  EXPECT_EQ(test::TextOf(Tokenize("<!DOCTYPE html>a")), "a");
  EXPECT_EQ(test::TextOf(Tokenize("a<!-- x -- y -- >b")), "ab");
  EXPECT_EQ(test::TextOf(Tokenize("a<!---->b")), "ab");
  EXPECT_EQ(test::TextOf(Tokenize("a<!-- x --\r\n>b")), "ab");
  EXPECT_EQ(test::TextOf(Tokenize("a<!-x>b")), "ab");
  const auto tokens = Tokenize("<a title=\"x<!-- c -->y\">");
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].sy, ASy);
}

TEST(Comments, TheCharacterAfterTheCommentKeepsItsPosition) {
  const auto tokens = Tokenize("<!--c-->x");
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_THAT(tokens[0].positions, ElementsAre(8));
}

TEST(Comments, OpenAtTheEndRaisesTheParseError) {
  THtmlTokenizer reader;
  for (const char* html : {"a<!-- never closed", "a<!DOCTYPE", "a<!-- x -", "<!-->"}) {
    SCOPED_TRACE(html);
    EXPECT_THROW(Tokenize(reader, html), EParseError);
  }
  try {
    Tokenize(reader, "<!--");
    ADD_FAILURE() << "no parse error";
  } catch (const EParseError& error) {
    EXPECT_STREQ(error.what(), "Open Comment at End of HTML File");
  }
  // The document ends there: reading on finds the end of the text.
  reader.ReadToken();
  EXPECT_EQ(reader.Sy(), EofToken);
}

TEST(Includes, HandlerReceivesTheDirectiveAndItsTextIsReadNext) {
  THtmlTokenizer reader;
  std::string command;
  std::vector<std::string> params;
  reader.SetOnInclude(
      [&](const std::string& cmd, const std::vector<std::string>& p, std::string& buffer) {
        command = cmd;
        params = p;
        buffer = "<b>IN</b>";
      });
  const auto tokens = Tokenize(reader, "x<!--#Include File=\"a b.htm\" virtual=c.htm-->y");
  EXPECT_EQ(command, "Include");
  EXPECT_THAT(params, ElementsAre("File=a b.htm", "virtual=c.htm"));
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(tokens[1].sy, BSy);
  EXPECT_EQ(tokens[2].text, "IN");
  // Included characters carry the position of the directive's end.
  EXPECT_THAT(tokens[2].positions, ElementsAre(44, 44));
  EXPECT_EQ(tokens[3].sy, BEndSy);
  EXPECT_EQ(tokens[4].text, "y");
  EXPECT_THAT(tokens[4].positions, ElementsAre(45));
}

TEST(Includes, AreOrdinaryCommentsWithoutAHandlerOrInsideIncludedText) {
  EXPECT_EQ(test::TextOf(Tokenize("x<!--#echo var=a-->y")), "xy");
  THtmlTokenizer reader;
  int calls = 0;
  reader.SetOnInclude([&](const std::string&, const std::vector<std::string>&, std::string& buffer) {
    ++calls;
    buffer = "[<!--#again-->]";
  });
  EXPECT_EQ(test::TextOf(Tokenize(reader, "x<!--#one-->y")), "x[]y");
  EXPECT_EQ(calls, 1);
}

TEST(Includes, EmptyBufferReadsOnInTheDocument) {
  THtmlTokenizer reader;
  reader.SetOnInclude([](const std::string&, const std::vector<std::string>&, std::string&) {});
  EXPECT_EQ(test::TextOf(Tokenize(reader, "x<!--#none-->y")), "xy");
}

TEST(Tags, OrdinaryMarkupWithPositions) {
  const auto tokens = Tokenize("<P class=Intro>Hi  there</p>\r\n<BR>");
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(tokens[0].sy, PSy);
  EXPECT_EQ(tokens[1].text, "Hi there");
  EXPECT_THAT(tokens[1].positions, ElementsAre(15, 16, 17, 19, 20, 21, 22, 23));
  EXPECT_EQ(tokens[2].sy, PEndSy);
  EXPECT_EQ(tokens[3].text, " ");
  EXPECT_THAT(tokens[3].positions, ElementsAre(28));
  EXPECT_EQ(tokens[4].sy, BRSy);
}

TEST(Tags, RememberWhereTheyStart) {
  THtmlTokenizer reader;
  reader.Reset("ab <i>");
  reader.ReadChar();
  reader.ReadToken();
  reader.ReadToken();
  EXPECT_EQ(reader.Sy(), ISy);
  EXPECT_EQ(reader.TagStartPos(), 3);
}

TEST(Tags, HeadingLevels) {
  THtmlTokenizer reader;
  struct Case {
    const char* html;
    Symbol sy;
    int level;
  };
  for (const Case& c :
       {Case{"<H1>", HeadingSy, 1}, Case{"<h1 >", HeadingSy, 1}, Case{"<H7>", HeadingSy, 0},
        Case{"<H>", HeadingSy, 0}, Case{"</h3>", HeadingEndSy, 3}, Case{"<h 2>", HeadingSy, 2},
        // the levels at both ends and just beyond them
        Case{"<h6>", HeadingSy, 6}, Case{"</H6>", HeadingEndSy, 6}, Case{"<H0>", HeadingSy, 0},
        Case{"<h1>", HeadingSy, 1}}) {
    SCOPED_TRACE(c.html);
    const auto tokens = Tokenize(reader, c.html);
    ASSERT_EQ(tokens.size(), 1u);
    EXPECT_EQ(tokens[0].sy, c.sy);
    EXPECT_EQ(reader.HeadingLevel(), c.level);
  }
}

TEST(Tags, LessThanThatStartsNoTagIsText) {
  auto tokens = Tokenize("a < b");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[1].sy, TextToken);
  EXPECT_EQ(tokens[1].text, "<");
  EXPECT_THAT(tokens[1].positions, ElementsAre(2));
  EXPECT_EQ(test::TextOf(Tokenize("<1>")), "<1>");
  tokens = Tokenize("</3>x");
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[0].sy, UnknownTagToken);
  EXPECT_EQ(tokens[1].text, "x");
}

TEST(Tags, EndTagsExistOnlyForTheFirstFiftyOne) {
  const auto tokens = Tokenize("</span></li></br></img><blink></blink>");
  ASSERT_EQ(tokens.size(), 6u);
  EXPECT_EQ(tokens[0].sy, SpanEndSy);
  for (int i = 1; i < 6; ++i) EXPECT_EQ(tokens[i].sy, UnknownTagToken) << i;
}

TEST(Tags, StyleTagLeavesTheReaderOnItsClosingBracket) {
  THtmlTokenizer reader;
  reader.Reset("<style type=text/css>p{}");
  reader.ReadChar();
  reader.ReadToken();
  EXPECT_EQ(reader.Sy(), StyleSy);
  EXPECT_EQ(reader.Ch(), '>');
}

TEST(Tags, MalformedEndingsNeverReadPastTheText) {
  for (const char* html : {"<", "x<", "</", "<a", "<a href", "<a href=", "<a href='x", "<a href=\"x&am",
                           "<td width=5", "&", "&#", "&#x", "&am"}) {
    SCOPED_TRACE(html);
    THtmlTokenizer reader;
    EXPECT_NO_THROW(Tokenize(reader, html));
    EXPECT_TRUE(reader.AtEof());
  }
}

TEST(Tags, LongTagWithoutClosingBracketReadsToTheEnd) {
  std::string html = "<a title=" + std::string(10 * 1024 * 1024, 'x');
  const auto tokens = Tokenize(html);
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].sy, ASy);
}

TEST(Tags, NulBytesAreSingleCharacters) {
  const auto tokens = Tokenize(std::string("a\0b", 3));
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[1].sy, OtherCharToken);
  EXPECT_EQ(tokens[1].text, std::string(1, '\0'));
}

TEST(TextRuns, HoldAtMostAHundredCharacters) {
  const auto tokens = Tokenize(std::string(250, 'x'));
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_EQ(tokens[0].text.size(), 100u);
  EXPECT_EQ(tokens[2].text.size(), 50u);
  EXPECT_EQ(tokens[2].positions.front(), 200);
}

TEST(TextRuns, CollapseWhiteSpaceOutsidePreformattedMode) {
  auto tokens = Tokenize("x  \r\n  y");
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0].text, "x y");
  EXPECT_THAT(tokens[0].positions, ElementsAre(0, 1, 7));

  THtmlTokenizer reader;
  reader.Reset("x  \r\n\ty<b>");
  reader.SetPreFormatted(true);
  reader.ReadChar();
  reader.ReadToken();
  EXPECT_EQ(reader.Token().Text(), "x  \r\ty");
}

TEST(IdAttributes, RegisterTheirSourcePositionWhenADocumentIsBuilt) {
  TIDNameList names;
  THtmlTokenizer reader;
  reader.SetIDNameList(&names);
  Tokenize(reader, "<p id=Top>a<div ID=\"\">b<span id=next>");
  ASSERT_EQ(names.Count(), 2);
  const auto* top = dynamic_cast<const TChPosObj*>(names.Find("Top"));
  ASSERT_NE(top, nullptr);
  EXPECT_EQ(top->SourcePos(), 9);
  EXPECT_NE(names.Find("next"), nullptr);
}

}  // namespace
}  // namespace tessival::html

namespace tessival::html {
namespace {

TEST(CharacterReader, ReportsProgressAtEveryFourKilobytes) {
  const std::string html = std::string(10000, 'x') + "<b>" + std::string(6384, 'y');
  std::vector<int> values;
  THtmlTokenizer reader;
  reader.SetOnProgress(
      [&](int stage, int value) {
        EXPECT_EQ(stage, 1);
        values.push_back(value);
      },
      75);
  EXPECT_EQ(test::TextOf(Tokenize(reader, html)).size(), 16384u);
  EXPECT_THAT(values,
              ElementsAre(75 * 4096 / 16387, 75 * 8192 / 16387, 75 * 12288 / 16387, 75 * 16384 / 16387));
}

}  // namespace
}  // namespace tessival::html

namespace tessival::html {
namespace {

// Found by the fuzzer: a run taken in one step after a CR must still end the pairing of
// that CR with a following LF.
TEST(TextRuns, LineEndAfterARunTakenInOneStepIsItsOwn) {
  THtmlTokenizer reader;
  reader.Reset("a\r\xFA\nb");
  reader.SetPreFormatted(true);
  reader.ReadChar();
  reader.ReadToken();
  EXPECT_EQ(reader.Token().Text(), "a\r\xFA\rb");
}

}  // namespace
}  // namespace tessival::html
