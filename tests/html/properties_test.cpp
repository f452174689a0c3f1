#include <gtest/gtest.h>

#include "style_fixture.h"

namespace tessival::html::testing {
namespace {

using Inheritance = StyleFixture;

// The name table is hashed: every name must find its own slot, and names that share a
// prefix, a hash bucket or a length with a real one must find none.
TEST(PropertyNameLookup, EveryNameFindsItsSlotAndNearMissesFindNone) {
  for (int i = 0; i < PropCount; ++i) {
    EXPECT_EQ(PropertyIndexOf(PropertyNames[i]), std::optional<PropIndex>(PropIndex(i)))
        << PropertyNames[i];
    const std::string name(PropertyNames[i]);
    EXPECT_FALSE(PropertyIndexOf(name + "x")) << name;
    EXPECT_FALSE(PropertyIndexOf(name.substr(0, name.size() - 1))) << name;
    EXPECT_FALSE(PropertyIndexOf("-" + name.substr(1))) << name;
  }
  for (std::string_view unknown : {"", "font", "margin", "border", "FONT-SIZE", "colour", "z"}) {
    EXPECT_FALSE(PropertyIndexOf(unknown)) << unknown;
  }
}

TEST_F(Inheritance, TextPropertiesPassDownBoxAndPlacementDoNot) {
  Sheet(
      "div { color: #102030; text-align: right; line-height: 2; font-style: italic;"
      " text-indent: 5px; visibility: hidden; text-transform: uppercase; list-style-type: disc;"
      " margin: 7px; padding: 3px; width: 50%; border: 2px solid red; background: #fff;"
      " vertical-align: top; position: absolute; float: left; clear: both; display: none;"
      " page-break-before: always; background-image: url(x.gif) }");
  TProperties& div = Push("div");
  TProperties& span = Push("span");

  for (PropIndex kept : {piColor, piTextAlign, piLineHeight, piFontStyle, piTextIndent, piVisibility,
                         piTextTransform, piListStyleType, piFontFamily}) {
    EXPECT_EQ(Str(span.Prop(kept)), Str(div.Prop(kept))) << PropertyNames[kept];
    EXPECT_FALSE(span.IsAssigned(kept));
  }
  for (int box = piMarginTop; box <= piLeft; ++box) {
    EXPECT_EQ(Str(span.Prop(PropIndex(box))), Int(UnsetValue)) << box;
  }
  for (PropIndex dropped :
       {piBorderStyle, piBackgroundColor, piBorderColor, piBackgroundImage, piVerticalAlign, piPosition,
        piFloat, piClear, piDisplay, piPageBreakBefore}) {
    EXPECT_TRUE(IsEmpty(span.Prop(dropped))) << PropertyNames[dropped];
  }
  EXPECT_TRUE(div.DisplayNone());
  EXPECT_FALSE(span.DisplayNone());
}

TEST_F(Inheritance, EmAndExComeFromTheParentFont) {
  Sheet("h1 span { font-size: 2em }");
  TProperties& h1 = Push("h1");  // 24pt
  TProperties& span = Push("span");
  EXPECT_EQ(span.EmSize, 32);  // 24pt at 96 pixels per inch
  EXPECT_EQ(span.ExSize, 16);
  EXPECT_DOUBLE_EQ(*AsDouble(span.Prop(piFontSize)), 48);
  EXPECT_EQ(h1.GetFontInfo().iSize, 24);

  // The real font's em may differ from its nominal size; the measurement decides.
  platform::SetScreenFontMeasurer([](const platform::ScreenFontRequest& r) {
    return platform::ScreenFontMetrics{r.size_pt + 1, r.charset};
  });
  TProperties& inner = Push("b");
  EXPECT_EQ(inner.EmSize, 49);
  EXPECT_EQ(inner.ExSize, 24);
}

TEST_F(Inheritance, TextBackgroundFollowsAnAssignedBackgroundColour) {
  Sheet("div { background-color: yellow }");
  TProperties& div = Push("div");
  EXPECT_EQ(div.TextBackground, NoColor);
  div.UpdateTextBackground();
  EXPECT_EQ(div.TextBackground, 0x00FFFFu);
  EXPECT_EQ(Push("span").GetFont().bgColor, 0x00FFFFu);
}

using Matching = StyleFixture;

TEST_F(Matching, MoreParticularKeysOverrideAndTheStyleAttributeWinsLast) {
  Sheet(
      "p { color: red; font-weight: bold } .x { color: lime } p.x { color: blue }"
      " #i { color: navy } p#i { text-align: right } .x#i { font-style: italic }");
  EXPECT_EQ(Push({"p", "x"}).Color(), 0xFF0000u);
  TProperties& full = Push({"p", "x", "i"});
  EXPECT_EQ(full.Color(), 0x800000u);
  EXPECT_EQ(Str(full.Prop(piTextAlign)), "right");
  EXPECT_EQ(Str(full.Prop(piFontStyle)), "italic");
  EXPECT_EQ(Str(full.Prop(piFontWeight)), "bold");
  TProperties& styled = Push({"p", "x", "i", "", "color: #00ff00"});
  EXPECT_EQ(styled.Color(), 0x0200FF00u);
}

TEST_F(Matching, LaterRuleForTheSameSelectorWins) {
  Sheet("b { color: red } b { color: blue }");
  EXPECT_EQ(Push("b").Color(), 0xFF0000u);
}

TEST_F(Matching, EntriesUnderOneKeyAllApplyInTheOrderAdded) {
  TProperties first, second;
  first.SetByName("color", "red");
  first.SetByName("font-style", "italic");
  second.SetByName("color", "lime");
  Styles.AddObject("q", std::make_unique<TProperties>(first));
  Styles.AddDuplicate("q", second);
  TProperties& q = Push("q");
  EXPECT_EQ(q.Color(), 0x00FF00u);
  EXPECT_EQ(Str(q.Prop(piFontStyle)), "italic");
  EXPECT_EQ(Styles.Find("q")->PropTag, "q");
}

TEST_F(Matching, PseudoClassRules) {
  Sheet(":hover { color: red } a:hover { text-decoration: none } .n:hover { font-style: italic }");
  TProperties& hovered = Push({"a", "n", "", "hover"});
  EXPECT_EQ(hovered.Color(), 0x0000FFu);
  EXPECT_EQ(Str(hovered.Prop(piTextDecoration)), "none");
  EXPECT_EQ(Str(hovered.Prop(piFontStyle)), "italic");
  EXPECT_TRUE(Styles.LinksActive());
}

TEST_F(Matching, PresentationalAttributesNeverOverrideStyles) {
  TProperties& p = Push({"p", "", "", "", "text-align:right"});
  p.AssignProperty(piTextAlign, std::string("center"));
  EXPECT_EQ(Str(p.Prop(piTextAlign)), "right");
  p.AssignProperty(piColor, ColorValue(0x123456));
  EXPECT_EQ(p.Color(), 0x123456u);
}

TEST_F(Matching, DescendantRulesSkipElementsInBetween) {
  Sheet(
      "a b { color: red } div.box p { margin-left: 9px } #nav span { color: lime }"
      " ul .item { color: navy } table #cell { color: teal }");
  EXPECT_EQ(Nest({{"a"}, {"i"}, {"u"}, {"b"}}).Color(), 0x0000FFu);
  Stack.resize(1);
  EXPECT_EQ(Nest({{"b"}}).Color(), NoColor);
  Stack.resize(1);
  EXPECT_EQ(Str(Nest({{"div", "box"}, {"div"}, {"p"}}).Prop(piMarginLeft)), "9px");
  Stack.resize(1);
  EXPECT_EQ(Str(Nest({{"div", "other"}, {"p"}}).Prop(piMarginLeft)), Int(UnsetValue));
  Stack.resize(1);
  EXPECT_EQ(Nest({{"div", "", "nav"}, {"span"}}).Color(), 0x00FF00u);
  Stack.resize(1);
  EXPECT_EQ(Nest({{"ul"}, {"li", "item"}}).Color(), 0x800000u);
  Stack.resize(1);
  EXPECT_EQ(Nest({{"table"}, {"td", "", "cell"}}).Color(), 0x808000u);
}

TEST_F(Matching, ParagraphInsidePreLosesItsTopSpace) {
  EXPECT_EQ(Str(Nest({{"pre"}, {"p"}}).Prop(piMarginTop)), "int:0");
  Stack.resize(1);
  EXPECT_EQ(Str(Push("p").Prop(piMarginTop)), Int(ParagraphSpaceValue));
}

using Links = StyleFixture;

TEST_F(Links, LinkColourAlsoColoursVisitedAndHoveredUnlessTheyHaveRules) {
  Sheet(":link { color: green }");
  TProperties& a = Push({"a", "", "", "link"});
  ASSERT_TRUE(a.FontInfoArray);
  for (const auto& font : *a.FontInfoArray) EXPECT_EQ(font.iColor, 0x008000u);
  EXPECT_TRUE(a.InLink);

  Sheet(":visited { color: red } a:hover { color: #0000ff }");
  TProperties& b = Push({"a", "", "", "link"});
  const auto& fonts = *b.FontInfoArray;
  EXPECT_EQ(fonts[lfNormal].iColor, 0x008000u);
  EXPECT_EQ(fonts[lfVisited].iColor, 0x0000FFu);
  EXPECT_EQ(fonts[lfHover].iColor, 0x02FF0000u);
  EXPECT_EQ(fonts[lfVisitedHover].iColor, 0x02FF0000u);
}

TEST_F(Links, DefaultLinksAreUnderlinedInTheViewerColours) {
  TProperties& a = Push({"a", "", "", "link"});
  const auto& fonts = *a.FontInfoArray;
  EXPECT_EQ(fonts[lfNormal].iColor, Defaults.LinkColor | PaletteRelative);
  EXPECT_EQ(fonts[lfVisited].iColor, Defaults.VisitedColor | PaletteRelative);
  EXPECT_EQ(fonts[lfHover].iColor, Defaults.HoverColor | PaletteRelative);
  EXPECT_TRUE(fonts[lfNormal].iStyle & fsUnderline);
  EXPECT_TRUE(fonts[lfHover].iStyle & fsUnderline);
}

TEST_F(Links, ElementsInsideALinkCarryAndChangeTheLinkFonts) {
  Push({"a", "", "", "link"});
  TProperties& b = Push("b");
  ASSERT_TRUE(b.FontInfoArray);
  for (const auto& font : *b.FontInfoArray) EXPECT_TRUE(font.iStyle & fsBold);
  b.AssignProperty(piFontSize, 20.0);
  for (const auto& font : *b.FontInfoArray) EXPECT_EQ(font.iSize, 20);
}

TEST_F(Links, ReInheritDropsLinkStateWhenTheLinkIsGone) {
  TProperties& a = Push({"a", "", "", "link"});
  TProperties& b = Push("b");
  EXPECT_TRUE(b.InLink);
  TProperties& root = *Stack.front();
  b.ReInherit(root, Styles);
  EXPECT_FALSE(b.InLink);
  EXPECT_FALSE(b.FontInfoArray);
  EXPECT_EQ(Str(b.Prop(piFontWeight)), "bold");  // its own rule stays
  a.ReInherit(root, Styles);
  EXPECT_TRUE(a.InLink);
}

TEST_F(Links, ReInheritTakesUnassignedValuesFromTheNewParent) {
  Sheet("div { color: red; margin-left: 4px } span { font-style: italic }");
  TProperties& div = Push("div");
  TProperties& span = Push("span");
  TProperties& other = *Stack.front();
  EXPECT_EQ(Str(span.Prop(piColor)), Str(div.Prop(piColor)));
  span.ReInherit(other, Styles);
  EXPECT_EQ(Str(span.Prop(piColor)), Str(other.Prop(piColor)));
  EXPECT_EQ(Str(span.Prop(piFontStyle)), "italic");
  EXPECT_EQ(Str(span.Prop(piMarginLeft)), Int(UnsetValue));
}

using Fonts = StyleFixture;

TEST_F(Fonts, WeightsStylesAndDecorations) {
  Sheet(
      ".w7 { font-weight: 700 } .w5 { font-weight: 500 } .ob { font-style: oblique }"
      " .lt { text-decoration: line-through } .w6 { font-weight: 600 } .w599 { font-weight: 599 }"
      " .bolder { font-weight: bolder } .lighter { font-weight: lighter }");
  EXPECT_TRUE(Push({"span", "w7"}).GetFontInfo().iStyle & fsBold);
  EXPECT_FALSE(Push({"span", "w5"}).GetFontInfo().iStyle & fsBold);
  // 600 is the lightest bold weight.
  EXPECT_TRUE(Push({"span", "w6"}).GetFontInfo().iStyle & fsBold);
  EXPECT_FALSE(Push({"span", "w599"}).GetFontInfo().iStyle & fsBold);
  EXPECT_TRUE(Push({"span", "bolder"}).GetFontInfo().iStyle & fsBold);
  EXPECT_FALSE(Push({"span", "lighter"}).GetFontInfo().iStyle & fsBold);
  EXPECT_TRUE(Push({"span", "ob"}).GetFontInfo().iStyle & fsItalic);
  EXPECT_EQ(Push({"span", "lt"}).GetFontInfo().iStyle & (fsStrikeOut | fsUnderline), fsStrikeOut);
}

TEST_F(Fonts, FamilyIsTheFirstInstalledEntry) {
  Sheet(
      ".a { font-family: 'Nope', Sans-Serif } .b { font-family: nope, \"courier new\" }"
      " .c { font-family: Missing } .d { font-family: wingdings, arial }");
  EXPECT_EQ(Push({"span", "a"}).GetFontInfo().iName, "Arial");
  EXPECT_EQ(Push({"span", "b"}).GetFontInfo().iName, "courier new");
  EXPECT_EQ(Push({"span", "c"}).GetFontInfo().iName, "missing");
  TProperties& d = Push({"span", "d"});
  d.SetCharset(0);
  const auto symbol = d.GetFontInfo();
  EXPECT_EQ(symbol.iName, "wingdings");
  EXPECT_EQ(symbol.iCharset, 1);
}

TEST_F(Fonts, CharsetGivesCodePageAndLeadBytes) {
  struct Case {
    int charset, codePage;
  };
  for (const Case c : {Case{0, 1252}, {128, 932}, {204, 1251}, {238, 1250}, {255, 1}}) {
    TProperties props;
    props.SetCharset(c.charset);
    EXPECT_EQ(props.CodePage, c.codePage) << c.charset;
  }
  TProperties props;
  props.SetCharset(0);
  props.SetCharset(99);  // unknown: the code page stays
  EXPECT_EQ(props.CodePage, 1252);

  props.SetCharset(128);
  const TMyFont font = props.GetFont();
  EXPECT_TRUE(font.tmLeadBytes.test(0x81));
  EXPECT_TRUE(font.tmLeadBytes.test(0x9F));
  EXPECT_FALSE(font.tmLeadBytes.test(0xA1));
  EXPECT_EQ(LeadBytesOfCharset(129).count(), 0xFEu - 0xA1 + 1);
  EXPECT_EQ(LeadBytesOfCharset(136).count(), 0xFEu - 0x81 + 1);
  EXPECT_EQ(LeadBytesOfCharset(0).count(), 0u);

  // The screen may hand out another set than asked for.
  platform::SetScreenFontMeasurer([](const platform::ScreenFontRequest&) {
    return platform::ScreenFontMetrics{16, 0};
  });
  props.SetCharset(204);
  EXPECT_EQ(props.CharSet, 0);
  EXPECT_EQ(props.CodePage, 1252);
}

TEST_F(Fonts, AbsurdSizesStayPaintable) {
  Sheet(".big { font-size: 99999999999999999999pt } .neg { font-size: -5pt }");
  EXPECT_EQ(Push({"span", "big"}).GetFontInfo().iSize, 1000);
  EXPECT_EQ(Push({"span", "neg"}).GetFontInfo().iSize, 1);
}

}  // namespace
}  // namespace tessival::html::testing

namespace tessival::html::testing {
namespace {

using LayoutAccessors = StyleFixture;

TEST_F(LayoutAccessors, BackgroundPositionWordsFindTheirAxes) {
  using P = TBackgroundPlace;
  struct Case {
    const char* text;
    P x;
    P y;
  };
  const Case cases[] = {
      {"center top ", P::bpCenter, P::bpTop},  {"top left", P::bpLeft, P::bpTop},
      {"center left", P::bpLeft, P::bpCenter}, {"bottom", P::bpCenter, P::bpBottom},
      {"right", P::bpRight, P::bpCenter},      {"10% 2em", P::bpPercent, P::bpLength},
  };
  for (const auto& c : cases) {
    TProperties props;
    props.SetByName("background-position", c.text);
    const auto pos = props.BackgroundPosition(16, 8);
    EXPECT_EQ(pos.X.PosType, c.x) << c.text;
    EXPECT_EQ(pos.Y.PosType, c.y) << c.text;
  }
  TProperties props;
  EXPECT_EQ(props.BackgroundPosition(16, 8).X.PosType, P::bpLength);
  props.SetByName("background-position", "10% 2em");
  props.SetByName("background-repeat", "repeat-x");
  const auto pos = props.BackgroundPosition(16, 8);
  EXPECT_EQ(pos.X.Value, 10);
  EXPECT_EQ(pos.Y.Value, 32);
  EXPECT_TRUE(pos.X.RepeatD);
  EXPECT_FALSE(pos.Y.RepeatD);
}

TEST_F(LayoutAccessors, LineHeightIndentAndBoxLengths) {
  TProperties& p = Push({"p", "", "", "",
                         "line-height: 1.5; text-indent: 2em; width: 50%;"
                         " margin-left: auto; padding-top: 1ex; height: 3q"});
  EXPECT_EQ(p.LineHeight(20), 30);
  EXPECT_EQ(p.TextIndent().Value, 32);
  const TBoxPixels box = p.BoxPixels(400);
  EXPECT_EQ(box.Pixels[piWidth - BoxFirst], 200);
  EXPECT_EQ(box.Pixels[piMarginLeft - BoxFirst], AutoValue);
  EXPECT_EQ(box.Pixels[piPaddingTop - BoxFirst], 8);
  EXPECT_EQ(box.Pixels[piHeight - BoxFirst], 0);
  EXPECT_EQ(box.Pixels[piMarginRight - BoxFirst], 0);  // not given

  TProperties& q = Push({"div", "", "", "", "line-height: 150%; text-indent: 10%"});
  EXPECT_EQ(q.LineHeight(20), 24);  // a share of the em
  EXPECT_TRUE(q.TextIndent().Percent);
  EXPECT_EQ(q.TextIndent().Value, 10);
}

TEST_F(LayoutAccessors, KeywordAccessors) {
  TProperties& e = Push({"div", "", "", "",
                         "vertical-align: text-top; float: right; clear: both;"
                         " position: relative; list-style-type: lower-roman;"
                         " page-break-after: always; border-style: none"});
  EXPECT_EQ(e.VerticalAlign(), TAlignmentType::aTop);
  EXPECT_EQ(e.Float(), TFloatSide::fsRight);
  EXPECT_EQ(e.Clear(), TClearSide::csBoth);
  EXPECT_EQ(e.Position(), posRelative);
  EXPECT_EQ(e.ListStyleType(), lbLowerRoman);
  EXPECT_TRUE(e.PageBreakAfter());
  EXPECT_FALSE(e.PageBreakBefore());
  EXPECT_FALSE(e.HasBorderStyle());
  TProperties& f = Push({"div", "", "", "", "float: sideways; list-style-type: klingon"});
  EXPECT_EQ(f.Float(), TFloatSide::fsNotGiven);
  EXPECT_EQ(f.ListStyleType(), lbBlank);
}

}  // namespace
}  // namespace tessival::html::testing
