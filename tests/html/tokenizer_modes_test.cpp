// The modes the tag reader switches on for SCRIPT, TEXTAREA and PRE content.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/html_tokenizer.h"
#include "tokenizer_test_support.h"

namespace tessival::html {
namespace {

using test::Tok;

std::vector<Tok> InMode(const std::string& html, void (THtmlTokenizer::*mode)(bool), Symbol until) {
  THtmlTokenizer reader;
  reader.Reset(html);
  (reader.*mode)(true);
  reader.ReadChar();
  std::vector<Tok> tokens;
  do {
    reader.ReadToken();
    tokens.push_back(test::Current(reader));
  } while (reader.Sy() != until && reader.Sy() != EofToken);
  return tokens;
}

TEST(ScriptMode, KeepsCommentsAndEndsAtTheClosingTagInAnyCase) {
  const auto tokens = InMode("<!-- if (a<b) -->\r\n</SCRIPT >x", &THtmlTokenizer::SetScriptMode,
                             ScriptEndSy);
  std::vector<Symbol> symbols;
  std::string text;
  for (const Tok& tok : tokens) {
    symbols.push_back(tok.sy);
    text += tok.text;
  }
  EXPECT_EQ(symbols.back(), ScriptEndSy);
  EXPECT_EQ(tokens.back().text, "</SCRIPT>");
  EXPECT_NE(std::find(symbols.begin(), symbols.end(), EolToken), symbols.end());
  EXPECT_EQ(text.substr(0, 16), "<!-- if (a<b) --");
}

TEST(ScriptMode, OtherTagsAreTextAndTheEndOfTheTextEndsIt) {
  const auto tokens = InMode("document.write('<b>')", &THtmlTokenizer::SetScriptMode, ScriptEndSy);
  EXPECT_EQ(tokens.back().sy, EofToken);
  EXPECT_EQ(tokens[1].sy, UnknownTagToken);
  EXPECT_EQ(tokens[1].text, "<b>");
}

TEST(TextAreaMode, GivesLinesEntitiesAndTheClosingTag) {
  const auto tokens = InMode("line1\nA&amp;<b>\r\n</TextArea>", &THtmlTokenizer::SetTextAreaMode,
                             TextAreaEndSy);
  std::vector<std::string> texts;
  std::vector<Symbol> symbols;
  for (const Tok& tok : tokens) {
    texts.push_back(tok.text);
    symbols.push_back(tok.sy);
  }
  EXPECT_THAT(texts, ::testing::ElementsAre("line1", "", "A", "&", "<b", ">", "", "</TextArea"));
  EXPECT_EQ(symbols[1], EolToken);
  EXPECT_EQ(symbols.back(), TextAreaEndSy);
}

TEST(TextAreaMode, UnterminatedEndsAtTheEndOfTheText) {
  const auto tokens = InMode("abc", &THtmlTokenizer::SetTextAreaMode, TextAreaEndSy);
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens.back().sy, EofToken);
}

TEST(PreformattedMode, KeepsEveryCharacterOfTheRun) {
  const auto tokens = InMode("a  b\r\n c<", &THtmlTokenizer::SetPreFormatted, TextToken);
  EXPECT_EQ(tokens[0].text, "a  b\r c");
}

TEST(PreformattedMode, KeepsTabsInTextButNotInTagsOrOtherText) {
  // The tab after the tag name still separates the attribute from it.
  const auto pre = InMode("\ta\tb<a\thref=x>", &THtmlTokenizer::SetPreFormatted, ASy);
  ASSERT_EQ(pre.size(), 2u);
  EXPECT_EQ(pre[0].text, "\ta\tb");
  EXPECT_EQ(pre[0].positions, (std::vector<std::int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(pre[1].sy, ASy);

  EXPECT_EQ(test::TextOf(test::Tokenize("a\t\tb")), "a b");
}

// These old listing tags have no entry in the tag table: their content reads as markup.
TEST(PreformattedMode, ListingTagsAreUnknownAndTheirContentIsMarkup) {
  const auto tokens = test::Tokenize("<XMP><b>x</b></XMP><LISTING>y<PLAINTEXT>z");
  std::vector<Symbol> symbols;
  for (const test::Tok& tok : tokens) symbols.push_back(tok.sy);
  EXPECT_THAT(symbols, ::testing::ElementsAre(UnknownTagToken, BSy, TextToken, BEndSy, UnknownTagToken,
                                              UnknownTagToken, TextToken, UnknownTagToken, TextToken));
}

}  // namespace
}  // namespace tessival::html
