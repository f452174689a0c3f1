// Running text: font-change elements, the element stack under mis-nesting, font sizes,
// line breaks, no-break runs and links.
#include "tag_reader_support.h"

namespace tessival::layout::testing {
namespace {

using InlineTest = TagReaderTest;

TEST_F(InlineTest, FontElementsChangeTheRunsTheyEnclose) {
  EXPECT_EQ(Read("a<b>b<i>c</i></b><u>d</u><s>e</s><strike>f</strike><em>g</em><strong>h</strong>"),
            "Body\n"
            "  Text []\"a\" [b]\"b\" [b i]\"c\" [u]\"d\" [s]\"ef\" [i]\"g\" [b]\"h\"\n");
}

TEST_F(InlineTest, MisNestedCloseRemovesOnlyThatElementsStyling) {
  EXPECT_EQ(Read("<b><i>x</b>y</i>z"), "Body\n  Text [b i]\"x\" [i]\"y\" []\"z\"\n");
}

TEST_F(InlineTest, EndTagWithoutStartChangesNothing) {
  EXPECT_EQ(Read("<i>a</b>b</i>c"), "Body\n  Text [i]\"ab\" []\"c\"\n");
}

TEST_F(InlineTest, FontSizesFollowTheBaseFontAndAreClamped) {
  EXPECT_EQ(Read("<basefont size=4><font size=+2>six</font> <font size=+9>big</font> "
                 "<font size=0>tiny</font> <font size=-1>three</font>"),
            "Body\n  Text [24pt]\"six\" [14pt]\" \" [36pt]\"big\" [14pt]\" \" [8pt]\"tiny\" "
            "[14pt]\" \" []\"three\"\n");
}

TEST_F(InlineTest, FontColourAndFace) {
  const std::string outline = Read("<font color=red face=\"Nowhere, Arial\">x</font>");
  EXPECT_EQ(outline, "Body\n  Text [#0000FF]\"x\"\n");
  ASSERT_EQ(TextSections().size(), 1u);
  EXPECT_EQ(TextSections()[0]->Fonts().FontAt(0).Font.Name, "Arial");
}

TEST_F(InlineTest, AnInlineBackgroundColourLiesBehindItsTextOnly) {
  Read(
      "<p style=\"background-color: red\">a <span style=\"background-color: yellow\">b "
      "<b>c</b></span> d</p>");
  ASSERT_EQ(TextSections().size(), 1u);
  const TFontList& runs = TextSections()[0]->Fonts();
  ASSERT_EQ(runs.Count(), 4);
  EXPECT_EQ(runs[0].Font.bgColor, html::NoColor);  // the paragraph's colour is its box's
  EXPECT_EQ(runs[1].Font.bgColor, 0x00FFFFu);
  EXPECT_EQ(runs[2].Font.bgColor, 0x00FFFFu);  // inherited by the bold run inside
  EXPECT_EQ(runs[3].Font.bgColor, html::NoColor);
}

TEST_F(InlineTest, SubAndSupShiftTheirText) {
  EXPECT_EQ(Read("H<sub>2</sub>O x<sup>2</sup>"),
            "Body\n  Text []\"H\" [9pt sub]\"2\" []\"O x\" [9pt sup]\"2\"\n");
}

TEST_F(InlineTest, BreakEndsTheSectionWithALineBreak) {
  EXPECT_EQ(Read("one<br>two<br clear=all>three"),
            "Body\n  Text []\"one\\n\"\n  Text []\"two\"\n  Text []\"three\"\n");
}

TEST_F(InlineTest, NoBreakRunsKeepTheirSpacesFromBreakingUnlessWbrSaysSo) {
  Read("<nobr>a b<wbr>c</nobr> d");
  ASSERT_EQ(TextSections().size(), 1u);
  const TSection& text = *TextSections()[0];
  EXPECT_EQ(text.Text(), "a b c d");
  EXPECT_EQ(text.Breaks()[1], BreakNever);
  EXPECT_NE(text.Breaks()[3], BreakNever);

  // A run that may not break after text that may: the marks before it stay allowed.
  Read("x y <nobr>a b</nobr> z");
  ASSERT_EQ(TextSections().size(), 1u);
  const TSection& later = *TextSections()[0];
  EXPECT_EQ(later.Text(), "x y a b z");
  EXPECT_EQ(later.Breaks().size(), 10u);
  EXPECT_TRUE(later.MayBreakAt(1));
  EXPECT_TRUE(later.MayBreakAt(3));
  EXPECT_FALSE(later.MayBreakAt(5));
  EXPECT_TRUE(later.MayBreakAt(7));
  EXPECT_TRUE(later.MayBreakAt(9));
  // Without such a run every character may break.
  Read("x y z");
  EXPECT_EQ(TextSections()[0]->Breaks(), "yyyyyy");
}

TEST_F(InlineTest, LinksMarkTheirRunsAndEndAtTheEndTag) {
  EXPECT_EQ(Read("see <a href=\"x.htm\">this <b>page</b></a> now"),
            "Body\n  Text []\"see \" [u link=x.htm]\"this \" [b u link=x.htm]\"page\" []\" now\"\n");
  const TFontObj& first = TextSections()[0]->Fonts()[1];
  const TFontObj& second = TextSections()[0]->Fonts()[2];
  EXPECT_EQ(first.UrlTarget.LinkNumber(), second.UrlTarget.LinkNumber());
}

TEST_F(InlineTest, ANewLinkEndsAnOpenOne) {
  EXPECT_EQ(Read("<a href=a>one <a href=b>two</a> three"),
            "Body\n  Text [u link=a]\"one \" [u link=b]\"two\" []\" three\"\n");
}

TEST_F(InlineTest, NamedAnchorsAreRegisteredWithTheirSection) {
  Read("<p>intro</p><p>text <a name=\"#Teil2\">here</a></p>");
  const html::TIDObject* anchor = Doc->IDNameList.Find("TEIL2");
  ASSERT_NE(anchor, nullptr);
  EXPECT_EQ(anchor, TextSections()[1]);
}

TEST_F(InlineTest, AnEmptyNamedAnchorKeepsItsSection) {
  Read("<p><a name=top></a></p>");
  EXPECT_NE(Doc->IDNameList.Find("top"), nullptr);
  EXPECT_EQ(TextSections().size(), 1u);
}

TEST_F(InlineTest, EntitiesAndNonBreakingSpaces) {
  EXPECT_EQ(Read("Stra&szlig;e&nbsp;7 &auml;&lt;"),
            "Body\n  Text []\"Stra\xDF"
            "e~7 \xE4<\"\n");
}

}  // namespace
}  // namespace tessival::layout::testing
