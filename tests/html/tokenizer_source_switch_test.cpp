// Reading raw characters for the style-sheet reader, and going on in a text converted in
// place after part of it was read.
#include <gtest/gtest.h>

#include "html/html_tokenizer.h"

namespace tessival::html {
namespace {

TEST(TokenizerSourceSwitchTest, PeekRawCharShowsTheNextByteUnfoldedAndKeepsIt) {
  THtmlTokenizer reader;
  const std::string text = "<style>\n p";
  reader.Reset(text);
  reader.ReadChar();
  reader.ReadToken();
  ASSERT_EQ(reader.Sy(), StyleSy);
  EXPECT_EQ(reader.Ch(), '>');  // the reader stays on the tag's end for the sheet
  EXPECT_EQ(reader.PeekRawChar(), '\n');
  reader.ReadRawChar();
  EXPECT_EQ(reader.Ch(), '\r');  // read, a line end is folded
  reader.ReadRawChar();
  reader.ReadRawChar();
  EXPECT_EQ(reader.Ch(), 'p');
  EXPECT_EQ(reader.PeekRawChar(), EofChar);
}

TEST(TokenizerSourceSwitchTest, ContinueInTakesTheCurrentCharacterAgainFromTheNewText) {
  THtmlTokenizer reader;
  const std::string before = "<meta>xyz";
  const std::string after = "<meta>XYz";
  reader.Reset(before);
  reader.ReadChar();
  reader.ReadToken();
  ASSERT_EQ(reader.Ch(), 'x');
  reader.ContinueIn(after);
  EXPECT_EQ(reader.Ch(), 'X');
  EXPECT_EQ(reader.Pos(), 6);
  reader.ReadToken();
  EXPECT_EQ(reader.Token().Text(), "XYz");
}

TEST(TokenizerSourceSwitchTest, ContinueInAtTheEndStaysAtTheEnd) {
  THtmlTokenizer reader;
  const std::string before = "ab";
  const std::string after = "AB";
  reader.Reset(before);
  reader.ReadChar();
  reader.ReadToken();
  ASSERT_TRUE(reader.AtEof());
  reader.ContinueIn(after);
  EXPECT_TRUE(reader.AtEof());
}

}  // namespace
}  // namespace tessival::html
