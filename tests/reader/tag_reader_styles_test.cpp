// Styles from STYLE sheets, linked sheets and style attributes; character sets; plain-text
// documents.
#include "tag_reader_support.h"

namespace tessival::layout::testing {
namespace {

using StylesTest = TagReaderTest;

TEST_F(StylesTest, StyleSheetRulesApplyToTheElementsAfterThem) {
  EXPECT_EQ(Read("<style><!-- p { color: #ff0000 } .k { font-weight: bold } --></style>"
                 "<p>red <span class=K>bold red</span></p>plain"),
            "Body\n  Block p\n    Text [#0000FF]\"red \" [b #0000FF]\"bold red\"\n  Text []\"plain\"\n");
}

TEST_F(StylesTest, StyleAttributesApplyToTheirElementOnly) {
  EXPECT_EQ(Read("<span style=\"font-style: italic; font-size: 24pt\">big</span> small"),
            "Body\n  Text [i 24pt]\"big\" []\" small\"\n");
}

TEST_F(StylesTest, ALinkedStyleSheetIsReadThroughTheHandler) {
  TReaderHandlers handlers;
  std::string asked;
  handlers.OnStyleSheet = [&](const std::string& href, std::string& text, std::string& base) {
    asked = href;
    text = "b {\n\ttext-decoration: underline\n}";
    base = "http://x/";
    return true;
  };
  EXPECT_EQ(Read("<link rel=StyleSheet href=s.css><b>x</b>", handlers), "Body\n  Text [b u]\"x\"\n");
  EXPECT_EQ(asked, "s.css");
}

TEST_F(StylesTest, AFailingLinkedStyleSheetLeavesThePageAsItIs) {
  TReaderHandlers handlers;
  handlers.OnStyleSheet = [](const std::string&, std::string&, std::string&) -> bool {
    throw std::runtime_error("not found");
  };
  EXPECT_EQ(Read("<link rel=stylesheet href=s.css>x", handlers), "Body\n  Text []\"x\"\n");
}

TEST_F(StylesTest, Iso2022JpTextIsReadAsShiftJis) {
  // "\x1b$B" switches to two-byte JIS: the pair 0x30 0x21 is Shift-JIS 0x88 0x9F.
  Read("a\x1b$B\x30\x21\x1b(Bb");
  ASSERT_EQ(TextSections().size(), 1u);
  EXPECT_EQ(TextSections()[0]->Text(),
            "a\x88\x9F"
            "b");
  EXPECT_EQ(TextSections()[0]->Fonts()[0].Font.Charset, 128);
}

TEST_F(StylesTest, AMetaCharsetSetsTheCharacterSetOfTheText) {
  Read("<meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\">x");
  ASSERT_EQ(TextSections().size(), 1u);
  EXPECT_EQ(TextSections()[0]->Fonts().FontAt(0).Font.Charset, 204);
}

TEST_F(StylesTest, AMetaCharsetOfAlreadyConvertedTextIsOnlyReported) {
  Read("x");
  const int own_charset = TextSections()[0]->Fonts().FontAt(0).Font.Charset;
  MakeDocument();
  TReaderSettings settings;
  settings.TextConverted = true;
  std::string reported;
  TReaderHandlers handlers;
  handlers.OnMeta = [&reported](const std::string&, const std::string&, const std::string& content) {
    reported = content;
  };
  ParseDocument("<meta http-equiv=Content-Type content=\"text/html; charset=windows-1250\">x", *Doc,
                settings, handlers);
  ASSERT_EQ(TextSections().size(), 1u);
  EXPECT_EQ(TextSections()[0]->Fonts().FontAt(0).Font.Charset, own_charset);
  EXPECT_EQ(reported, "text/html; charset=windows-1250");
}

TEST_F(StylesTest, AMetaEucJpDeclarationConvertsTheRestOfTheDocument) {
  Read("<meta http-equiv=content-type content=\"text/html; charset=EUC-JP\">\xB0\xA1");
  ASSERT_EQ(TextSections().size(), 1u);
  EXPECT_EQ(TextSections()[0]->Text(), "\x88\x9F");
}

TEST_F(StylesTest, PlainTextDocumentsKeepTheirLinesAndSpaces) {
  MakeDocument();
  ParseTextDocument("a  <b>\r\n\r\nlast", *Doc);
  EXPECT_EQ(Outline(), "Body\n  Text [10pt]\"a~~<b>\"\n  Text [10pt]\"\\n\"\n  Text [10pt]\"last\"\n");
  EXPECT_EQ(TextSections()[0]->Fonts()[0].Font.Name, "Courier New");
}

TEST_F(StylesTest, PlainTextTabsMoveToTheNextEighthColumnAsInPreformattedText) {
  MakeDocument();
  ParseTextDocument("a\tb\r\n12345678\tc\r\n1234567\t\tz", *Doc);
  EXPECT_EQ(Outline(),
            "Body\n"
            "  Text [10pt]\"a~~~~~~~b\"\n"
            "  Text [10pt]\"12345678~~~~~~~~c\"\n"
            "  Text [10pt]\"1234567~~~~~~~~~z\"\n");
}

}  // namespace
}  // namespace tessival::layout::testing
