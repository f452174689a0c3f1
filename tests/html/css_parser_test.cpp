#include <gtest/gtest.h>

#include "html/css_shorthands.h"
#include "style_fixture.h"

namespace tessival::html::testing {
namespace {

class CssSheet : public StyleFixture {
 protected:
  // The value a rule stored, as text.
  std::string Rule(std::string_view key, PropIndex index) {
    const TProperties* props = Styles.Find(key);
    return props ? Str(props->Prop(index)) : "no rule";
  }
  // Reads `text` as the content of a STYLE element; returns where reading stopped and how
  // much of the source it consumed.
  std::pair<char, std::size_t> ReadStyleElement(std::string_view text) {
    TStringCharSource source(text);
    char ch = ' ';
    ParseStyleSheet(Styles, ch, source, "");
    return {ch, source.Position()};
  }
};

TEST_F(CssSheet, SelectorListsShareTheDeclarations) {
  Sheet("p, h1 { margin: 0 10px }");
  for (const char* key : {"p", "h1"}) {
    EXPECT_EQ(Rule(key, piMarginTop), "0") << key;
    EXPECT_EQ(Rule(key, piMarginRight), "10px") << key;
    EXPECT_EQ(Rule(key, piMarginBottom), "0") << key;
    EXPECT_EQ(Rule(key, piMarginLeft), "10px") << key;
  }
}

TEST_F(CssSheet, SelectorsAreStoredAsKeys) {
  Sheet("UL LI A { color: red } Div.Note#Top:hover{color:red}\np\r\n.x { color: red }");
  EXPECT_NE(Styles.Find("a 210li ul "), nullptr);
  EXPECT_NE(Styles.Find("div.note#top:hover"), nullptr);
  EXPECT_NE(Styles.Find(".x 111p "), nullptr);
  EXPECT_TRUE(Styles.LinksActive());
}

TEST_F(CssSheet, SelectorsTheModelCannotMatchAreDropped) {
  Sheet("div > p, em { color: red } * { color: blue } a[href] { color: lime } li+li, b { color: navy }");
  EXPECT_EQ(Rule("div", piColor), "no rule");
  EXPECT_EQ(Rule("em", piColor), Int(0x0000FF));
  EXPECT_EQ(Rule("a", piColor), "no rule");
  EXPECT_EQ(Rule("li", piColor), "no rule");
  EXPECT_EQ(Rule("b", piColor), Int(0x800000));
}

TEST_F(CssSheet, LinkRulesReachTheViewerLinkEntries) {
  Sheet("a { color: blue } :visited { color: #00ff00 }");
  EXPECT_EQ(Rule("::link", piColor), Int(0xFF0000));
  EXPECT_EQ(Rule("::hover", piColor), Int(0x0200FF00));
  Sheet("a:hover { color: #f00 }");
  EXPECT_TRUE(Styles.LinksActive());
}

// Every selector of a list gets the whole block in order, so the last declaration of a
// property wins, within a block and across rules; a later shorter value replaces a longer one.
TEST_F(CssSheet, LaterDeclarationsWin) {
  Sheet(
      "a, p { font-family: \"a rather long family name\"; color: red; font-family: x; color: #00f }"
      "p { margin: 1px 2px; margin-top: 3px } p { margin-right: 4px; color: nonsense }");
  for (const char* key : {"a", "::link", "p"}) {
    EXPECT_EQ(Rule(key, piFontFamily), "x") << key;
    EXPECT_EQ(Rule(key, piColor), Int(0x02FF0000)) << key;
  }
  EXPECT_EQ(Rule("p", piMarginTop), "3px");
  EXPECT_EQ(Rule("p", piMarginRight), "4px");
  EXPECT_EQ(Rule("p", piMarginBottom), "1px");
  // A rule that sets nothing the model holds makes no entry.
  Sheet(".q, .s { nonsense: 1; margin-top } .u {}");
  for (const char* key : {".q", ".s", ".u"}) EXPECT_EQ(Styles.Find(key), nullptr) << key;
}

TEST_F(CssSheet, EntriesComeInKeyOrderWithDuplicatesInTheOrderAdded) {
  Styles.Clear();
  Sheet("td { color: red } b { color: red } a b { color: red }");
  TProperties first, second;
  Styles.AddDuplicate("b", first).SetByIndex(piFontFamily, "second");
  Styles.AddDuplicate("b", second).SetByIndex(piFontFamily, "third");
  std::vector<std::string> keys;
  for (const TStyleEntry* entry : Styles.Entries())
    keys.push_back(entry->Key + "/" + Str(entry->Props->Prop(piFontFamily)));
  EXPECT_EQ(keys,
            (std::vector<std::string>{"b/empty", "b/second", "b/third", "b 110a /empty", "td/empty"}));
  Sheet("p { color: red }");
  ASSERT_EQ(Styles.Entries().size(), 6u);
  EXPECT_EQ(Styles.Entries()[4]->Key, "p");
}

TEST_F(CssSheet, UnknownPropertiesAndBadValuesAreSkipped) {
  Sheet(
      "p { colour: red; color: notacolour; background-color: nope; border-color: #12;"
      " visibility: sometimes; text-transform: capitalize; text-align: justify }");
  EXPECT_EQ(Rule("p", piColor), "empty");  // a colour that does not parse changes nothing
  EXPECT_EQ(Rule("p", piBackgroundColor), Int(NoColor));
  EXPECT_EQ(Rule("p", piBorderColor), Int(0x02221100));
  EXPECT_EQ(Rule("p", piVisibility), "empty");
  EXPECT_EQ(Rule("p", piTextTransform), "int:0");
  EXPECT_EQ(Rule("p", piTextAlign), "justify");
}

TEST_F(CssSheet, AtRulesAndCommentsArePassedOver) {
  Sheet(
      "@import url(x.css); /* p { color: red } */ i { color: red }"
      " @media print { p { color: red } } b { color: blue } u/**/ { color: lime }");
  EXPECT_EQ(Rule("p", piColor), "empty");
  EXPECT_EQ(Rule("i", piColor), Int(0x0000FF));
  EXPECT_EQ(Rule("b", piColor), "empty");  // swallowed by the unbalanced @media skip
  EXPECT_EQ(Rule("u", piColor), Int(0x00FF00));
}

TEST_F(CssSheet, ABlockAtRuleEndsAtItsBraceAndTheNextRuleIsRead) {
  Sheet(
      "@page { margin: 1in } p { color: red }"
      " @font-face{font-family:x}i{color:blue}"
      " @charset \"x\"; b { color: lime }");
  EXPECT_EQ(Rule("p", piColor), Int(0x0000FF));
  EXPECT_EQ(Rule("i", piColor), Int(0xFF0000));
  EXPECT_EQ(Rule("b", piColor), Int(0x00FF00));
  EXPECT_EQ(Rule("page", piMarginTop), "no rule");
}

TEST_F(CssSheet, QuotesAndCaseInValues) {
  Sheet("p { font-family: \"Comic Sans\"; background-image: URL('A.GIF') }");
  EXPECT_EQ(Rule("p", piFontFamily), "comic sans");
  EXPECT_EQ(Rule("p", piBackgroundImage), "url('a.gif')");
  TProperties& p = Push("p");
  EXPECT_EQ(p.BackgroundImage(), "a.gif");
  EXPECT_EQ(ExtractUrl(" url( \"b c.gif\" ) "), "b c.gif");
  EXPECT_EQ(ExtractUrl("plain.gif"), "plain.gif");
  EXPECT_EQ(ExtractUrl("url(open"), "open");
}

TEST_F(CssSheet, StopsAtTheEndTagAndHandsBackTheCharacter) {
  const auto [ch, used] = ReadStyleElement("<!-- p { color: red } --></style>rest");
  EXPECT_EQ(ch, '<');
  EXPECT_EQ(used, std::string_view("<!-- p { color: red } --><").size());
  EXPECT_EQ(Rule("p", piColor), Int(0x0000FF));

  const auto [emptyCh, emptyUsed] = ReadStyleElement("</style>body");
  EXPECT_EQ(emptyCh, '<');
  EXPECT_EQ(emptyUsed, 1u);

  const auto [endCh, endUsed] = ReadStyleElement("b { color: red }");
  EXPECT_EQ(endCh, EofChar);
}

TEST_F(CssSheet, CallerCharacterIsTheFirstOfTheSheet) {
  TStringCharSource source(" { color: red }");
  char ch = 'b';
  ParseStyleSheet(Styles, ch, source, "");
  EXPECT_EQ(Rule("b", piColor), Int(0x0000FF));
  EXPECT_EQ(ch, EofChar);
}

// A source that is not a string: the reader takes it a character at a time, so it gives
// the result the string source's faster value scan must match.
class OneByOneSource : public TCssCharSource {
 public:
  explicit OneByOneSource(std::string_view text) : text_(text) {}
  char NextChar() override { return pos_ < text_.size() ? text_[pos_++] : EofChar; }
  char PeekChar() override { return pos_ < text_.size() ? text_[pos_] : EofChar; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

TEST_F(CssSheet, ValuesReadAlikeFromEverySource) {
  // The table keeps its hand-made columns.
  // clang-format off
  const std::string_view sheets[] = {
      "p { font-family: A/* x */B; font: 12PT/14pt\tSerif } i { color: red }",
      "p { font-family: Times\nNew\x01Roman; width: 1/2 }",
      "p { font-family: Cut </style> i { color: red }",
      "p { font-family: x/*never closed",
      "p { font-family: x\x1ay; color: red }",
      "I\t{ Font-Size: 2PT } P/**/ { Color: Red } p\x1a{ width: 1px }",
      // Values longer than one scanning step, each ending at another character.
      "p { font-family: \"Some Very Long Family\", AND\tANOTHER\x80\xC4 ONE ; width: 1px }",
      "p { font-family: abcdefghijklmnopqrstuvwxyz0123456789/*c*/Rest }",
      "p { font-family: abcdefghijklmnopqrstuvwxyz0123456789} i { color: red }",
      "p { font-family: abcdefghijklmnopqrstuvwxyz0123456789</style>",
      "p { font-family: abcdefghijklmnopqrstuvwxyz012345678\0329; color: red }",  // \032 = 0x1A
      "p { font-family: abcdefghijklmnopqRSTUVWXYZ\x7f\x80\xff; width: 1PX }",
      "p { font-family: a\tb\rcdefghijklmnopqrstuvwxyz ; width: 1px; font-size: 2PT }",
      // Names and values read as views of the text, and those that cannot be.
      "p { col/**/or: red; Font-WEIGHT: bold; mar/* x */gin-top: 1px; font-size: 1/**/2pt }",
      "p {color:red;width:1px;height:\t2px;line-height:\n3px} i{text-indent:4PX}",
      "p { width: 1px; font-size",
      "p { width: 1px; font-size: 2pt/**/",
  };
  // clang-format on
  for (const std::string_view sheet : sheets) {
    TStyleList from_string, from_chars;
    TStringCharSource text(sheet);
    OneByOneSource chars(sheet);
    char text_ch = ' ', chars_ch = ' ';
    ParseStyleSheet(from_string, text_ch, text, "");
    ParseStyleSheet(from_chars, chars_ch, chars, "");
    EXPECT_EQ(text_ch, chars_ch) << sheet;
    ASSERT_EQ(from_string.Count(), from_chars.Count()) << sheet;
    for (const char* key : {"p", "i"}) {
      const TProperties* a = from_string.Find(key);
      const TProperties* b = from_chars.Find(key);
      ASSERT_EQ(a == nullptr, b == nullptr) << sheet << key;
      if (!a) continue;
      for (int index = 0; index < PropCount; ++index) {
        EXPECT_EQ(Str(a->Prop(PropIndex(index))), Str(b->Prop(PropIndex(index)))) << sheet << index;
      }
    }
  }
  Sheet("p { font-family: A/* x */B; font-size: 12PT }");
  EXPECT_EQ(Rule("p", piFontFamily), "ab");
  EXPECT_EQ(Rule("p", piFontSize), "12pt");
  Sheet(
      "p { col/**/or: #00f; Font-WEIGHT: Bold; mar/* x */gin-top: 1px; font-size: 1/**/2pt; width:\t3px "
      "}");
  EXPECT_EQ(Rule("p", piColor), Int(0x02FF0000));
  EXPECT_EQ(Rule("p", piFontWeight), "bold");
  EXPECT_EQ(Rule("p", piMarginTop), "1px");
  EXPECT_EQ(Rule("p", piFontSize), "12pt");
  EXPECT_EQ(Rule("p", piWidth), "3px");
}

TEST_F(CssSheet, UnterminatedCommentEndsAtTheEndTag) {
  const auto [ch, used] = ReadStyleElement("p { color: red } /* unterminated </style><p>");
  EXPECT_EQ(ch, '<');
  EXPECT_EQ(Rule("p", piColor), Int(0x0000FF));
}

TEST_F(CssSheet, HostileSheetsEndCleanly) {
  const std::string nested = std::string(100000, '{') + "p { color: red }" + std::string(100000, '}');
  // The table keeps its hand-made columns.
  // clang-format off
  const std::string cases[] = {
      nested,
      std::string(100000, '}') + "b { color: red }",
      "p { color: red",
      "p { color: red; /* never closed",
      "@media screen { @media print {",
      std::string(50000, ',') + "{ color: red }",
      "p {" + std::string(50000, ':') + "}",
      std::string("p { color:\x00red }", 16),
      "\xff\xfe { color: red }",
  };
  // clang-format on
  for (const std::string& sheet : cases) {
    Styles.Initialize(Defaults);
    const auto [ch, used] = ReadStyleElement(sheet);
    EXPECT_EQ(ch, EofChar);
    EXPECT_LE(used, sheet.size());
  }
  Styles.Initialize(Defaults);
  ReadStyleElement("b { color: red } " + nested);
  EXPECT_EQ(Rule("b", piColor), Int(0x0000FF));
}

TEST_F(CssSheet, UrlsAreMadeAbsoluteAgainstTheSheetsBase) {
  struct FakeUrls : TCssUrlResolver {
    bool IsFullUrl(std::string_view url) const override { return url.starts_with("http:"); }
    std::string CombineUrl(std::string_view url, std::string_view base) const override {
      return std::string(base) + "|" + std::string(url);
    }
    std::string UrlToFileName(std::string_view url) const override {
      std::string name(url);
      for (char& c : name) c = c == '/' ? '\\' : c;
      return name;
    }
  } urls;
  auto read = [&](std::string_view text, std::string_view base) {
    Styles.Initialize(Defaults);
    TStringCharSource source(text);
    char ch = ' ';
    ParseStyleSheet(Styles, ch, source, base, &urls);
  };
  read("p { background: url(img/b.gif) } ul { list-style: url('x.gif') disc }", "http://h/css/");
  EXPECT_EQ(Rule("p", piBackgroundImage), "url(http://h/css/|img/b.gif)");
  EXPECT_EQ(Rule("ul", piListStyleImage), "url(http://h/css/|x.gif)");
  EXPECT_EQ(Rule("ul", piListStyleType), "disc");
  read("p { background-image: url(http://o/a.gif) }", "http://h/");
  EXPECT_EQ(Rule("p", piBackgroundImage), "url(http://o/a.gif)");
  read("p { background-image: url(img/b.gif) } i { background-image: url(c:/x.gif) }", "d:\\site\\");
  EXPECT_EQ(Rule("p", piBackgroundImage), "url(d:\\site\\img\\b.gif)");
  EXPECT_EQ(Rule("i", piBackgroundImage), "url(c:\\x.gif)");
  read("p { background-image: url(b.gif) }", "");
  EXPECT_EQ(Rule("p", piBackgroundImage), "url(b.gif)");
}

using Shorthands = CssSheet;

TEST_F(Shorthands, SidesTakeOneToFourWords) {
  Sheet(
      ".a { padding: 1px } .b { padding: 1px 2px } .c { padding: 1px 2px 3px }"
      " .d { padding: 1px 2px 3px 4px } .e { border-width: thin  thick } .f { margin: }");
  const char* expected[][4] = {{"1px", "1px", "1px", "1px"},
                               {"1px", "2px", "1px", "2px"},
                               {"1px", "2px", "3px", "2px"},
                               {"1px", "2px", "3px", "4px"}};
  const char* keys[] = {".a", ".b", ".c", ".d"};
  for (int k = 0; k < 4; ++k) {
    for (int side = 0; side < 4; ++side) {
      EXPECT_EQ(Rule(keys[k], PropIndex(piPaddingTop + side)), expected[k][side]) << keys[k] << side;
    }
  }
  EXPECT_EQ(Rule(".e", piBorderTopWidth), "thin");
  EXPECT_EQ(Rule(".e", piBorderLeftWidth), "thick");
  EXPECT_EQ(Rule(".f", piMarginTop), "no rule");
}

TEST_F(Shorthands, FontSetsEachPartInAnyOrder) {
  Sheet(
      "p { font: italic bold 12pt/14pt \"Times New Roman\", serif }"
      " b { font: 10px small-caps arial } i { font: larger oblique }");
  EXPECT_EQ(Rule("p", piFontStyle), "italic");
  EXPECT_EQ(Rule("p", piFontWeight), "bold");
  EXPECT_EQ(Rule("p", piFontSize), "12pt");
  EXPECT_EQ(Rule("p", piLineHeight), "14pt");
  EXPECT_EQ(Rule("p", piFontFamily), "\"times new roman\",serif");
  EXPECT_EQ(Rule("b", piFontSize), "10px");
  EXPECT_EQ(Rule("b", piFontFamily), "arial");
  EXPECT_EQ(Rule("i", piFontSize), "larger");
  EXPECT_EQ(Rule("i", piFontStyle), "oblique");
  EXPECT_EQ(Push("p").GetFontInfo().iName, "times new roman");
}

TEST_F(Shorthands, BorderSetsWidthsStylesAndOneColour) {
  Sheet(
      ".a { border: 1px solid #000000 } .b { border-top: red } .c { border-left: dotted 3px }"
      " .d { border: rgb(0, 0, 255) double }");
  for (int side = piBorderTopWidth; side <= piBorderLeftWidth; ++side) {
    EXPECT_EQ(Rule(".a", PropIndex(side)), "1px");
    EXPECT_EQ(Rule(".a", PropIndex(side - piBorderTopWidth + piBorderTopStyle)), "solid");
  }
  EXPECT_EQ(Rule(".a", piBorderStyle), "solid");
  EXPECT_EQ(Rule(".a", piBorderColor), Int(0x02000000));
  EXPECT_EQ(Rule(".b", piBorderColor), Int(0x0000FF));
  EXPECT_EQ(Rule(".b", piBorderTopWidth), Int(UnsetValue));
  EXPECT_EQ(Rule(".c", piBorderLeftStyle), "dotted");
  EXPECT_EQ(Rule(".c", piBorderStyle), "dotted");
  EXPECT_EQ(Rule(".c", piBorderLeftWidth), "3px");
  EXPECT_EQ(Rule(".c", piBorderTopWidth), Int(UnsetValue));
  EXPECT_EQ(Rule(".d", piBorderColor), Int(0x02FF0000));
  EXPECT_EQ(Rule(".d", piBorderStyle), "double");
}

TEST_F(Shorthands, BackgroundSortsItsWords) {
  Sheet(
      ".a { background: url(img/b.gif) no-repeat center top #ffffff }"
      " .b { background: none rgb(1,2,3) repeat-x 10% } .c { background: left bottom red fixed }");
  EXPECT_EQ(Rule(".a", piBackgroundImage), "url(img/b.gif)");
  EXPECT_EQ(Rule(".a", piBackgroundRepeat), "no-repeat");
  EXPECT_EQ(Rule(".a", piBackgroundColor), Int(0x02FFFFFF));
  EXPECT_EQ(Rule(".a", piBackgroundPosition), "center top ");
  EXPECT_EQ(Rule(".b", piBackgroundImage), "none");
  EXPECT_EQ(Rule(".b", piBackgroundColor), Int(0x02030201));
  EXPECT_EQ(Rule(".b", piBackgroundRepeat), "repeat-x");
  EXPECT_EQ(Rule(".b", piBackgroundPosition), "10% ");
  EXPECT_EQ(Rule(".c", piBackgroundPosition), "bottom fixed ");
}

TEST(ValueWords, QuotesCommasAndSlashes) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitValueWords("  a   b c ", 9), (V{"a", "b", "c"}));
  EXPECT_EQ(SplitValueWords("arial, sans-serif 12pt", 9), (V{"arial,sans-serif", "12pt"}));
  // Long values and many words are kept whole as well.
  const std::string family(70, 'f');
  EXPECT_EQ(SplitValueWords(family + ",  " + family + "   x", 9), (V{family + "," + family, "x"}));
  EXPECT_EQ(SplitValueWords("1 2 3 4 5 6 7 8 9 10 11", 99),
            (V{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}));
  EXPECT_EQ(SplitValueWords("'a b' \"c d e\" f", 9), (V{"'a b'", "\"c d e\"", "f"}));
  EXPECT_EQ(SplitValueWords("12pt/14pt x", 9), (V{"12pt", "/14pt", "x"}));
  EXPECT_EQ(SplitValueWords("1 2 3 4 5", 4), (V{"1", "2", "3", "4"}));
  EXPECT_EQ(SplitValueWords("'unclosed x y", 9), (V{"'unclosed x y"}));
  std::string value = "a url(x) rgb(1,2,3) url(y";
  EXPECT_EQ(TakeOutFunctions(value), (V{"url(x)", "rgb(1,2,3)", "url(y"}));
  EXPECT_EQ(SplitValueWords(value, 9), (V{"a"}));
  // Seven at most; what follows stays in the value, however long it is.
  std::string many;
  for (int i = 0; i < 8; ++i) many += "url(" + std::to_string(i) + ") ";
  EXPECT_EQ(TakeOutFunctions(many).size(), 7u);
  EXPECT_EQ(SplitValueWords(many, 9), (V{"url(7)"}));
  std::string long_value = family + " rgb(1,2,3)" + family + " y";
  EXPECT_EQ(TakeOutFunctions(long_value), (V{"rgb(1,2,3)"}));
  EXPECT_EQ(SplitValueWords(long_value, 9), (V{family, family, "y"}));
}

TEST_F(Shorthands, ListStyleTakesImageAndType) {
  Sheet("ol { list-style: upper-roman } ul { list-style: square url(dot.gif) }");
  EXPECT_EQ(Rule("ol", piListStyleType), "upper-roman");
  EXPECT_EQ(Rule("ul", piListStyleType), "square");
  EXPECT_EQ(Rule("ul", piListStyleImage), "url(dot.gif)");
  EXPECT_EQ(Push("ol").ListStyleType(), lbUpperRoman);
}

using StyleAttribute = StyleFixture;

TEST_F(StyleAttribute, ReadsDeclarationsIntoProperties) {
  TProperties props;
  ParseStyleAttribute(
      "COLOR: Red; font-size:12PT;;  margin: 1px 2px ; font-family: 'A B';"
      "border-top-style: none; nonsense; z-index: 5; visibility:hidden",
      props);
  EXPECT_EQ(Str(props.Prop(piColor)), Int(0x0000FF));
  EXPECT_EQ(Str(props.Prop(piFontSize)), "12pt");
  EXPECT_EQ(Str(props.Prop(piMarginLeft)), "2px");
  EXPECT_EQ(Str(props.Prop(piMarginBottom)), "1px");
  EXPECT_EQ(Str(props.Prop(piFontFamily)), "a b");
  EXPECT_EQ(Str(props.Prop(piBorderTopStyle)), "none");
  EXPECT_TRUE(IsEmpty(props.Prop(piBorderStyle)));
  EXPECT_EQ(props.ZIndex(), 5);
  EXPECT_TRUE(props.Hidden());
}

TEST_F(StyleAttribute, BadColoursStoreTheirFallbacks) {
  TProperties props;
  ParseStyleAttribute("color: bogus; background-color: bogus; border-color: bogus", props);
  EXPECT_EQ(Str(props.Prop(piColor)), "int:0");
  EXPECT_EQ(Str(props.Prop(piBackgroundColor)), Int(NoColor));
  EXPECT_EQ(Str(props.Prop(piBorderColor)), Int(NoColor));
}

TEST_F(StyleAttribute, GarbageIsHarmless) {
  for (const char* text : {"", ";;;", ":::", "color", "color:", ": red", "{}", "/* x */ color: red",
                           "\x1a color: red", "font: ", "background: url(", "border: rgb("}) {
    TProperties props;
    ParseStyleAttribute(text, props);
  }
  TProperties props;
  ParseStyleAttribute("/* x */ color: red", props);
  EXPECT_EQ(Str(props.Prop(piColor)), Int(0x0000FF));  // "x" is no property
}

}  // namespace
}  // namespace tessival::html::testing
