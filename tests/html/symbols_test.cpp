#include "html/symbols.h"

#include <gtest/gtest.h>

namespace tessival::html {
namespace {

TEST(Symbols, TagsAndAttributesOfTheSameNameShareOneValue) {
  for (const char* name : {"LINK", "STYLE", "TITLE", "SELECTED", "WRAP"}) {
    EXPECT_EQ(StartSymbolOf(name), AttributeSymbolOf(name)) << name;
  }
  EXPECT_EQ(AttributeSymbolOf("TEXT"), TextToken);
  EXPECT_EQ(AttributeSymbolOf("VALUE"), ValueSy);
  EXPECT_EQ(AttributeSymbolOf("HTTP-EQUIV"), HttpEqSy);
  EXPECT_EQ(AttributeSymbolOf("BORDERCOLORLIGHT"), BorderColorLightSy);
  EXPECT_EQ(AttributeSymbolOf("href"), OtherAttribute);  // the tables hold upper case
  EXPECT_EQ(AttributeSymbolOf(""), OtherAttribute);
}

TEST(Symbols, OnlyTheFirstFiftyOneTagsHaveEndTags) {
  EXPECT_EQ(EndSymbolOf("SPAN"), SpanEndSy);
  EXPECT_EQ(EndSymbolOf("LI"), UnknownTagToken);
  EXPECT_EQ(EndSymbolOf(""), UnknownTagToken);
  EXPECT_EQ(EndSymbolOfStart(HtmlSy), HtmlEndSy);
  EXPECT_EQ(EndSymbolOfStart(SpanSy), SpanEndSy);
  EXPECT_EQ(EndSymbolOfStart(LISy), UnknownTagToken);
  EXPECT_EQ(EndSymbolOfStart(HrefSy), UnknownTagToken);
  EXPECT_EQ(StartSymbolOf("LINK"), LinkSy);
  EXPECT_EQ(StartSymbolOf("BLINK"), UnknownTagToken);
}

TEST(Symbols, ElementNamesAreLowerCase) {
  EXPECT_EQ(StartTagName(TDSy), "td");
  EXPECT_EQ(StartTagName(BlockQuoteSy), "blockquote");
  EXPECT_EQ(StartTagName(HeadingSy, 3), "h3");
  EXPECT_EQ(StartTagName(HeadingSy, 6), "h6");
  EXPECT_EQ(StartTagName(WbrSy), "wbr");
  EXPECT_EQ(StartTagName(TextToken), "");
  EXPECT_EQ(EndTagName(BEndSy), "b");
  EXPECT_EQ(EndTagName(TextAreaEndSy), "textarea");
  EXPECT_EQ(EndTagName(BSy), "");
}

}  // namespace
}  // namespace tessival::html
