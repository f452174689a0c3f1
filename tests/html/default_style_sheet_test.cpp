#include <gtest/gtest.h>

#include "style_fixture.h"

namespace tessival::html::testing {
namespace {

using DefaultSheet = StyleFixture;

const std::string Unset = Int(UnsetValue);
const std::string ParagraphSpace = Int(ParagraphSpaceValue);

TEST_F(DefaultSheet, RootCarriesTheViewerDefaults) {
  const TProperties& root = *Stack.front();
  EXPECT_EQ(root.PropTag, "default");
  EXPECT_EQ(Str(root.Prop(piFontFamily)), "Times New Roman");
  EXPECT_EQ(root.GetFontInfo().iSize, 12);
  EXPECT_EQ(Str(root.Prop(piMarginTop)), "int:5");
  EXPECT_EQ(Str(root.Prop(piMarginLeft)), "int:10");
  EXPECT_EQ(Str(root.Prop(piTextAlign)), "left");
  EXPECT_EQ(root.EmSize, 16);
  // The body takes the font but not the margins of the root.
  TProperties& body = Push("body");
  EXPECT_EQ(body.GetFontInfo().iName, "Times New Roman");
  EXPECT_EQ(body.GetFontInfo().iColor, Defaults.TextColor);
  EXPECT_EQ(Str(body.Prop(piMarginTop)), Unset);
}

TEST_F(DefaultSheet, HeadingsScaleTheDefaultSize) {
  Defaults.FontSize = 10;
  SetUp();
  const double twelfths[] = {24, 18, 14, 12, 10, 8};
  for (int level = 1; level <= 6; ++level) {
    TProperties& h = Push(("h" + std::to_string(level)).c_str());
    EXPECT_DOUBLE_EQ(*AsDouble(h.Prop(piFontSize)), 10 * twelfths[level - 1] / 12) << level;
    EXPECT_EQ(Str(h.Prop(piMarginTop)), "int:19");
    EXPECT_EQ(Str(h.Prop(piMarginBottom)), "int:19");
    EXPECT_TRUE(h.GetFontInfo().iStyle & fsBold);
  }
}

TEST_F(DefaultSheet, BlocksListsAndParagraphSpace) {
  TProperties& p = Push("p");
  EXPECT_EQ(Str(p.Prop(piMarginTop)), ParagraphSpace);
  const TBoxPixels box = p.BoxPixels(500);
  EXPECT_EQ(box.Pixels[piMarginTop - BoxFirst], 14);
  EXPECT_TRUE(box.ParagraphSpace.test(piMarginTop - BoxFirst));
  EXPECT_FALSE(box.ParagraphSpace.test(piMarginLeft - BoxFirst));
  for (const char* list : {"ul", "ol", "menu", "dir"}) {
    TProperties& l = Push(list);
    EXPECT_EQ(Str(l.Prop(piMarginLeft)), "int:35") << list;
    EXPECT_EQ(Str(l.Prop(piMarginBottom)), ParagraphSpace) << list;
    EXPECT_EQ(l.ListStyleType(), lbBlank) << list;
  }
  TProperties& dl = Push("dl");
  EXPECT_EQ(dl.ListStyleType(), lbNone);
  EXPECT_EQ(Str(dl.Prop(piMarginTop)), "int:0");
  EXPECT_EQ(Str(Push("dd").Prop(piMarginLeft)), "int:40");
  TProperties& quote = Push("blockquote");
  EXPECT_EQ(Str(quote.Prop(piMarginTop)), ParagraphSpace);
  EXPECT_EQ(Str(quote.Prop(piMarginBottom)), "int:14");
  TProperties& hr = Push("hr");
  EXPECT_EQ(Str(hr.Prop(piMarginTop)), "int:10");
  EXPECT_EQ(Str(hr.Prop(piMarginLeft)), "int:0");
}

TEST_F(DefaultSheet, PreformattedAndCodeUseThePreFont) {
  TProperties& pre = Push("pre");
  EXPECT_EQ(pre.GetFontInfo().iName, "Courier New");
  EXPECT_EQ(pre.GetFontInfo().iSize, 10);
  for (const char* code : {"code", "tt", "kbd", "samp"}) {
    TProperties& c = Push(code);
    EXPECT_EQ(Str(c.Prop(piFontFamily)), "Courier New");
    Stack.pop_back();
  }
  // 0.833em of the 12pt body
  Stack.resize(1);
  EXPECT_NEAR(*AsDouble(Push("code").Prop(piFontSize)), 9.996, 1e-9);
}

TEST_F(DefaultSheet, PhraseElements) {
  struct Case {
    const char* tag;
    PropIndex index;
    const char* value;
  };
  // The table keeps its hand-made columns.
  // clang-format off
  const Case cases[] = {
      {"b", piFontWeight, "bold"}, {"strong", piFontWeight, "bold"}, {"th", piFontWeight, "bold"},
      {"i", piFontStyle, "italic"}, {"em", piFontStyle, "italic"}, {"cite", piFontStyle, "italic"},
      {"var", piFontStyle, "italic"}, {"address", piFontStyle, "italic"},
      {"u", piTextDecoration, "underline"}, {"s", piTextDecoration, "line-through"},
      {"strike", piTextDecoration, "line-through"}, {"center", piTextAlign, "center"},
      {"caption", piTextAlign, "center"}, {"table", piTextAlign, "none"},
      {"input", piFontFamily, "MS sans serif, sans-serif"}, {"textarea", piFontFamily, "Courier New"},
  };
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(Str(Push(c.tag).Prop(c.index)), c.value) << c.tag;
    Stack.pop_back();
  }
  EXPECT_DOUBLE_EQ(*AsDouble(Push("sup").Prop(piFontSize)), 9);
  EXPECT_DOUBLE_EQ(*AsDouble(Push("big").Prop(piFontSize)), 11.25);  // 1.25 of sup's 9
  Stack.resize(1);
  EXPECT_DOUBLE_EQ(*AsDouble(Push("small").Prop(piFontSize)), 9);
  EXPECT_DOUBLE_EQ(*AsDouble(Push("select").Prop(piFontSize)), 10);
}

TEST_F(DefaultSheet, LinkColoursCanBeChangedByTheViewer) {
  Styles.SetLinkColor("visited", 0x123456);
  Styles.SetLinkColor("nonsense", 0x123456);
  TProperties& a = Push({"a", "", "", "link"});
  EXPECT_EQ((*a.FontInfoArray)[lfVisited].iColor, 0x123456u);
  Defaults.UnderlineLinks = false;
  SetUp();
  EXPECT_FALSE((*Push({"a", "", "", "link"}).FontInfoArray)[lfNormal].iStyle & fsUnderline);
}

TEST_F(DefaultSheet, ClearStartsOverWithTheRunningNumber) {
  Sheet("a b { color: red }");
  EXPECT_NE(Styles.Find("b 110a "), nullptr);
  Styles.Clear();
  EXPECT_EQ(Styles.Count(), 0u);
  EXPECT_EQ(Styles.DefaultProperties(), nullptr);
  Sheet("a b { color: red }");
  EXPECT_NE(Styles.Find("b 110a "), nullptr);
}

}  // namespace
}  // namespace tessival::html::testing
