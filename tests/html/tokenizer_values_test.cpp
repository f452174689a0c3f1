// Attribute values and character references, the two places where the reader interprets
// what it reads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "html/html_tokenizer.h"
#include "tokenizer_test_support.h"

namespace tessival::html {
namespace {

using test::Tokenize;
using ::testing::ElementsAre;

struct EntityCase {
  const char* html;
  std::string text;
};

void PrintTo(const EntityCase& c, std::ostream* out) { *out << c.html; }

class TextEntities : public ::testing::TestWithParam<EntityCase> {};

TEST_P(TextEntities, ResolveOrStayLiteral) {
  EXPECT_EQ(test::TextOf(Tokenize(GetParam().html)), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Tokenizer, TextEntities,
    ::testing::Values(
        EntityCase{"&amp;", "&"}, EntityCase{"&AMP;", "&AMP;"}, EntityCase{"&eacute x", "\xE9 x"},
        EntityCase{"&#233;", "\xE9"}, EntityCase{"&#x41;", "A"}, EntityCase{"&#X41;", "A"},
        EntityCase{"&#1234567;", "&#1234567;"}, EntityCase{"&#;", "&#;"}, EntityCase{"&#x;", "&#x;"},
        EntityCase{"& x", "& x"}, EntityCase{"&hellip;", "..."}, EntityCase{"&rsquo;", "'"},
        EntityCase{"&ndash;", "-"}, EntityCase{"&nbsp;", "\x05"}, EntityCase{"&euro;", "\x80"},
        EntityCase{"&#8364;", "\x80"}, EntityCase{"&#150;", "\x96"}, EntityCase{"&#9;", " "},
        EntityCase{"&frac14;", "\xBC"}, EntityCase{"&unknown;", "&unknown;"},
        EntityCase{"&bogus;", "&bogus;"}, EntityCase{"&#x4E00;", "?"}, EntityCase{"&#2;&#0;&#8;", "   "},
        EntityCase{"&#65", "A"}, EntityCase{"&lt;b&gt;", "<b>"},
        // Five digits are the most a numeric reference may have, a sixth
        // abandons it; a name may have six characters, a seventh abandons it.
        EntityCase{"&#00233;", "\xE9"}, EntityCase{"&#000233;", "&#000233;"},
        EntityCase{"&#x000E9;", "\xE9"}, EntityCase{"&#x0000E9;", "&#x0000E9;"},
        EntityCase{"&#65535;", "?"}, EntityCase{"&frac34;", "\xBE"},
        EntityCase{"&frac345;", "&frac345;"}));

TEST(Entities, KeepThePositionsOfWhatTheyReplace) {
  auto tokens = Tokenize("a&hellip;b");
  ASSERT_EQ(tokens.size(), 3u);
  EXPECT_THAT(tokens[1].positions, ElementsAre(1, 2, 3));
  tokens = Tokenize("&foo;");
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_THAT(tokens[0].positions, ElementsAre(0, 1, 2, 3, 4));
  EXPECT_EQ(tokens[0].sy, TextToken);
}

TEST(Entities, UseTheCodePageOfTheCurrentElementInText) {
  THtmlTokenizer reader;
  reader.Reset("&#1046;<a title='&#1046;'>");
  reader.SetTextCodePage(1251);
  reader.ReadChar();
  reader.ReadToken();
  EXPECT_EQ(reader.Token().Text(), "\xC6");  // Cyrillic Zhe in Windows-1251
  reader.ReadToken();
  EXPECT_EQ(reader.Attributes()[0].StrValue, "?");  // attributes use the system page
}

TEST(Entities, TooLongNamesAreAbandonedAtTheSeventhCharacter) {
  EXPECT_EQ(test::TextOf(Tokenize("&abcdefgh;")), "&abcdefgh;");
}

const TAttribute& OnlyAttribute(const std::string& html) {
  static THtmlTokenizer reader;
  Tokenize(reader, html);
  EXPECT_EQ(reader.Attributes().Count(), 1u) << html;
  return reader.Attributes()[0];
}

TEST(Attributes, ValueForms) {
  struct Case {
    const char* html;
    Symbol symbol;
    const char* text;
    std::int32_t number;
  };
  for (const Case& c : {
           Case{"<td width=50%>", WidthSy, "50%", 50},
           Case{"<td width = 50 %>", WidthSy, "50%", 50},
           Case{"<img border>", BorderSy, "", 1},
           Case{"<table border=0>", BorderSy, "0", 0},
           Case{"<img width=10px>", WidthSy, "10px", 0},
           Case{"<img width=-3>", WidthSy, "-3", -3},
           Case{"<img width=+2.5>", WidthSy, "+2.5", 2},
           Case{"<img width=\" 3.5% \">", WidthSy, " 3.5% ", 4},
           Case{"<img width='1e99'>", WidthSy, "1e99", 2147483647},
           Case{"<a href=dir/p.htm?a=1&b=2>", HrefSy, "dir/p.htm?a=1&b=2", 0},
           Case{"<a href=\"a&amp;b\">", HrefSy, "a&b", 0},
           Case{"<a href='x\r\ny'>", HrefSy, "xy", 0},
           Case{"<a title=\"it's\">", TitleSy, "it's", 0},
           Case{"<a title=\"a\tb\r\nc\">", TitleSy, "a bc", 0},
           Case{"<a href=a\t>", HrefSy, "a", 0},
           Case{"<a title='&nbsp;x'>", TitleSy, " x", 0},
           Case{"<meta http-equiv=refresh>", HttpEqSy, "refresh", 0},
           Case{"<p data-x=1>", OtherAttribute, "1", 1},
           Case{"<input value=\"\">", ValueSy, "", 0},
           Case{"<body text=red>", TextSy, "red", 0},
       }) {
    SCOPED_TRACE(c.html);
    const TAttribute& attribute = OnlyAttribute(c.html);
    EXPECT_EQ(attribute.Symbol, c.symbol);
    EXPECT_EQ(attribute.StrValue, c.text);
    EXPECT_EQ(attribute.NumValue, c.number);
  }
}

TEST(Attributes, AreKeptInOrderWithUnknownNamesAndClearedPerTag) {
  THtmlTokenizer reader;
  reader.Reset("<img SRC=a.gif Foo-Bar=\"q\" alt=x><br>");
  reader.ReadChar();
  reader.ReadToken();
  const TAttributeList& list = reader.Attributes();
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(list[0].Symbol, SrcSy);
  EXPECT_EQ(list[1].Symbol, OtherAttribute);
  EXPECT_EQ(list[1].Name, "Foo-Bar");
  EXPECT_EQ(list[2].StrValue, "x");
  reader.ReadToken();
  EXPECT_EQ(reader.Sy(), BRSy);
  EXPECT_EQ(list.Count(), 0u);
}

TEST(Attributes, ReadingStopsAtSomethingThatIsNoNameAndSkipsToTheBracket) {
  THtmlTokenizer reader;
  const auto tokens = Tokenize(reader, "<a href=x 1=2 title=y>t");
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(reader.Attributes().Count(), 1u);
  EXPECT_EQ(tokens[1].text, "t");
}

}  // namespace
}  // namespace tessival::html
