// Links' visited and hovered looks are remembered between links made from the same things;
// these check that remembering never hands a link the looks of a different one.
#include <gtest/gtest.h>

#include "tests/html/style_fixture.h"

namespace tessival::html::testing {
namespace {

using LinkLooks = StyleFixture;

const OpenElement Link{"a", "", "", "link"};

TEST_F(LinkLooks, LinksInOneContextShareLooksAndOthersGetTheirOwn) {
  Sheet("a.more:hover { color: lime } h1 { font-size: 30pt }");
  Push("p");
  const TFontInfoArray plain = *Push(Link).FontInfoArray;
  Stack.pop_back();
  EXPECT_EQ(*Push(Link).FontInfoArray, plain);
  EXPECT_EQ(Styles.LinkLooksCache().Count(), 1u);
  Stack.pop_back();

  const TFontInfoArray more = *Push({"a", "more", "", "link"}).FontInfoArray;
  EXPECT_EQ(more[lfHover].iColor, 0x0000FF00u);
  EXPECT_EQ(more[lfNormal], plain[lfNormal]);
  Stack.resize(1);

  const TFontInfoArray big = *Nest({{"h1"}, Link}).FontInfoArray;
  for (int state : {lfNormal, lfVisited, lfHover, lfVisitedHover}) EXPECT_EQ(big[state].iSize, 30);
  EXPECT_EQ(plain[lfHover].iSize, plain[lfNormal].iSize);
  EXPECT_NE(big[lfHover].iSize, plain[lfHover].iSize);
}

TEST_F(LinkLooks, ARuleReadBetweenTwoLinksReachesTheSecond) {
  const TFontInfoArray before = *Push(Link).FontInfoArray;
  Stack.pop_back();
  Sheet("a:hover { color: lime; font-weight: bold }");
  const TFontInfoArray after = *Push(Link).FontInfoArray;
  EXPECT_EQ(after[lfHover].iColor, 0x0000FF00u);
  EXPECT_TRUE(after[lfHover].iStyle & fsBold);
  EXPECT_NE(after[lfHover], before[lfHover]);

  Stack.pop_back();
  Styles.SetLinkColor("visited", 0x123456);
  EXPECT_EQ((*Push(Link).FontInfoArray)[lfVisited].iColor, 0x123456u);
}

TEST_F(LinkLooks, DescendantRulesFollowWhereEachLinkStands) {
  Sheet("div a:hover { color: lime } td :visited { color: teal }");
  const TFontInfoArray in_paragraph = *Nest({{"p"}, Link}).FontInfoArray;
  Stack.resize(1);
  const TFontInfoArray in_division = *Nest({{"div"}, {"p"}, Link}).FontInfoArray;
  Stack.resize(1);
  const TFontInfoArray in_cell = *Nest({{"td"}, Link}).FontInfoArray;

  EXPECT_NE(in_paragraph[lfHover].iColor, 0x0000FF00u);
  EXPECT_EQ(in_division[lfHover].iColor, 0x0000FF00u);
  EXPECT_EQ(in_cell[lfVisited].iColor, 0x00808000u);
  EXPECT_NE(in_paragraph[lfVisited].iColor, 0x00808000u);
}

TEST_F(LinkLooks, StyleAttributesReachEveryLook) {
  Push("p");
  Push(Link);
  Stack.pop_back();
  const TFontInfoArray styled = *Push({"a", "", "", "link", "font-style: italic"}).FontInfoArray;
  for (const auto& look : styled) EXPECT_TRUE(look.iStyle & fsItalic);
}

}  // namespace
}  // namespace tessival::html::testing
