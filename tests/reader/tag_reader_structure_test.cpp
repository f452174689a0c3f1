// The structure of a document: paragraphs, headings, implied ends, skipped tags, the body.
#include "tag_reader_support.h"

namespace tessival::layout::testing {
namespace {

using StructureTest = TagReaderTest;

TEST_F(StructureTest, RepeatedParagraphTagsMakeOneParagraphWithTheLastAttributes) {
  EXPECT_EQ(Read("<p><p><p align=center>x"), "Body\n  Block p\n    Text (center) []\"x\"\n");
}

TEST_F(StructureTest, AParagraphEndsAtABlockLevelTag) {
  EXPECT_EQ(Read("<p>one<h2>two</h2>three<p align=middle>four</p>five"),
            "Body\n"
            "  Block p\n    Text []\"one\"\n"
            "  Block h2\n    Text [b 18pt]\"two\"\n"
            "  Text []\"three\"\n"
            "  Block p\n    Text (center) []\"four\"\n"
            "  Text []\"five\"\n");
}

TEST_F(StructureTest, AHeadingEndsAtAnyHeadingEndTag) {
  EXPECT_EQ(Read("<h1>text</h2>after"),
            "Body\n  Block h1\n    Text [b 24pt]\"text\"\n  Text []\"after\"\n");
}

TEST_F(StructureTest, HeadingsWithoutAValidLevelAreSkipped) {
  EXPECT_EQ(Read("a<H7>b<H>c</H>d"), "Body\n  Text []\"abcd\"\n");
}

TEST_F(StructureTest, AHeadingAlignsFromItsAttributeOrAFollowingCenter) {
  EXPECT_EQ(
      Read("<h3 align=right>a</h3><h4><center>b</h4>"),
      "Body\n  Block h3\n    Text (right) [b 14pt]\"a\"\n  Block h4\n    Text (center) [b]\"b\"\n");
}

TEST_F(StructureTest, UnclosedElementsEndWithTheirParagraph) {
  EXPECT_EQ(Read("<p><b>bold<p>plain"),
            "Body\n  Block p\n    Text [b]\"bold\"\n  Block p\n    Text []\"plain\"\n");
}

TEST_F(StructureTest, TagsOfConstructsNotBuiltHereAreSkippedAndTheTextReadOn) {
  EXPECT_EQ(Read("<p>cell</p><img src=x.gif><blink>!</blink>"),
            // The picture stands in the text as its object character.
            "Body\n  Block p\n    Text []\"cell\"\n  Text []\"\x04!\"\n");
}

TEST_F(StructureTest, ScriptsAreNotShown) {
  EXPECT_EQ(Read("a<script>document.write('<p>x</p>');</script>b"), "Body\n  Text []\"ab\"\n");
}

TEST_F(StructureTest, ACommentOpenAtTheEndKeepsWhatCameBefore) {
  EXPECT_EQ(Read("<p>kept <b>text</b><!-- never closed <p>lost"),
            "Body\n  Block p\n    Text []\"kept \" [b]\"text\"\n");
}

TEST_F(StructureTest, CenterAndDivAlignTheirContent) {
  EXPECT_EQ(Read("<center>a</center><div align=right>b</div>c"),
            "Body\n  Text (center) []\"a\"\n  Block div\n    Text (right) []\"b\"\n  Text []\"c\"\n");
}

TEST_F(StructureTest, TheBodyTagSetsColoursAndMargins) {
  Read(
      "<html><head><title>T</title></head><body text=#00ff00 link=red marginwidth=300>"
      "x <a href=y>y</a></body></html>");
  EXPECT_EQ(Outline(), "Body\n  Text [#00FF00]\"x \" [u link=y]\"y\"\n");
  const auto& body = dynamic_cast<const TBodyBlock&>(*Doc->Items()[0]);
  EXPECT_EQ(body.MarginLeft, 200);
  EXPECT_EQ(TextSections()[0]->Fonts()[1].Font.Color & 0xFFFFFF, 0x0000FFu);
}

TEST_F(StructureTest, WhiteSpaceBeforeTheBodyTagLeavesTheBodyEmpty) {
  EXPECT_EQ(Read("<html>\r\n<head>\r\n</head>\r\n<body text=red>\r\na"),
            "Body\n  Text [#0000FF]\"a\"\n");
}

TEST_F(StructureTest, ALaterBodyTagIsSkipped) {
  EXPECT_EQ(Read("<body text=red>a<body text=blue>b"), "Body\n  Text [#0000FF]\"ab\"\n");
}

TEST_F(StructureTest, HeadElementsGiveTitleAndBase) {
  Read("<title>Das  W&ouml;rterbuch</title><base href=\"http://x/\" target=main>text");
  EXPECT_EQ(Head.Title, "Das W\xF6rterbuch");
  EXPECT_EQ(Head.Base, "http://x/");
  EXPECT_EQ(Head.BaseTarget, "main");
}

TEST_F(StructureTest, MetaLinkAndSoundHandlersAreCalled) {
  std::vector<std::string> calls;
  TReaderHandlers handlers;
  handlers.OnMeta = [&](const std::string& equiv, const std::string& name, const std::string& content) {
    calls.push_back("meta " + equiv + "|" + name + "|" + content);
  };
  handlers.OnLink = [&](const std::string& rel, const std::string& rev, const std::string& href) {
    calls.push_back("link " + rel + "|" + rev + "|" + href);
  };
  handlers.OnSoundRequest = [&](const std::string& src, int loop) {
    calls.push_back("sound " + src + "|" + std::to_string(loop));
  };
  Read(
      "<meta name=author content=Max><link rel=next href=b.htm><bgsound src=a.wav>"
      "<bgsound src=b.wav loop=3>x",
      handlers);
  EXPECT_EQ(calls, (std::vector<std::string>{"meta |author|Max", "link next||b.htm", "sound a.wav|1",
                                             "sound b.wav|3"}));
}

}  // namespace
}  // namespace tessival::layout::testing
