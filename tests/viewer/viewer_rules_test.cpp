// The viewer's small rules apart from any window: refresh contents, scroll rates, history.
#include <gtest/gtest.h>

#include "viewer/meta_refresh.h"
#include "viewer/scroll_steps.h"
#include "viewer/viewer_history.h"

namespace tessival::viewer {
namespace {

TEST(MetaRefreshTest, ReadsDelayAndAddressAsWritten) {
  const auto immediate = ParseMetaRefresh("0; URL=Next.htm");
  ASSERT_TRUE(immediate);
  EXPECT_EQ(immediate->Seconds, 1) << "an immediate refresh still waits a second";
  EXPECT_EQ(immediate->Url, "Next.htm");

  const auto plain = ParseMetaRefresh("15");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->Seconds, 15);
  EXPECT_EQ(plain->Url, "");

  const auto spaced = ParseMetaRefresh(" 3 ;url=page.html");
  ASSERT_TRUE(spaced);
  EXPECT_EQ(spaced->Seconds, 3);
  EXPECT_EQ(spaced->Url, "page.html");
}

TEST(MetaRefreshTest, ContentWithoutLeadingNumberAsksForNothing) {
  EXPECT_FALSE(ParseMetaRefresh("url=x.htm"));
  EXPECT_FALSE(ParseMetaRefresh(""));
  EXPECT_FALSE(ParseMetaRefresh("soon; url=x.htm"));
  EXPECT_FALSE(ParseMetaRefresh("-2; url=x.htm"));
  EXPECT_FALSE(ParseMetaRefresh("99999999999999999999; url=x.htm"))
      << "a delay past int is not a number";
}

TEST(ScrollStepsTest, DraggingPastAnEdgeScrollsALineOrEightLines) {
  constexpr int kHeight = 300;
  EXPECT_EQ(DragScrollTarget(100, kHeight + 1, kHeight, 16), 116);
  EXPECT_EQ(DragScrollTarget(100, kHeight + 15, kHeight, 16), 116);
  EXPECT_EQ(DragScrollTarget(100, kHeight + 16, kHeight, 16), 228);
  EXPECT_EQ(DragScrollTarget(100, 0, kHeight, 16), 84);
  EXPECT_EQ(DragScrollTarget(100, -15, kHeight, 16), 84);
  EXPECT_EQ(DragScrollTarget(300, -16, kHeight, 16), 172);
}

TEST(ScrollStepsTest, MiddleButtonSpeedsGrowWithDistance) {
  EXPECT_EQ(MiddleScrollTarget(500, 0), 500);
  EXPECT_EQ(MiddleScrollTarget(500, 20), 500);
  EXPECT_EQ(MiddleScrollTarget(500, -20), 500);
  EXPECT_EQ(MiddleScrollTarget(500, 21), 508);
  EXPECT_EQ(MiddleScrollTarget(500, -21), 492);
  EXPECT_EQ(MiddleScrollTarget(500, 61), 532);
  EXPECT_EQ(MiddleScrollTarget(500, -61), 468);
}

TEST(ScrollStepsTest, TopStaysInsideTheDocument) {
  EXPECT_EQ(ClampScrollY(-5, 1000, 300), 0);
  EXPECT_EQ(ClampScrollY(900, 1000, 300), 700);
  EXPECT_EQ(ClampScrollY(50, 200, 300), 0) << "a document shorter than the panel never scrolls";
}

ShownPlace Place(const std::string& file, int position = 0, int kind = 0) {
  return ShownPlace{file, file + " title", kind, position};
}

TEST(ViewerHistoryTest, RecordsMostRecentFirstUpToTheLimit) {
  ViewerHistory history;
  EXPECT_FALSE(history.Record(Place(""), {}, Place("a.htm"))) << "no history by default";
  history.SetMaxCount(2);
  EXPECT_TRUE(history.Record(Place(""), {}, Place("a.htm")));
  EXPECT_TRUE(history.Record(Place("a.htm", 40), {{"q=1"}}, Place("b.htm")));
  ASSERT_EQ(history.Entries().size(), 2U);
  EXPECT_EQ(history.Entries()[0].File, "b.htm");
  EXPECT_EQ(history.Entries()[1].File, "a.htm");
  EXPECT_EQ(history.Entries()[1].Position.Pos, 40) << "the place left is kept where it was left";
  EXPECT_EQ(history.Entries()[1].Position.FormData.size(), 1U);
  EXPECT_TRUE(history.Record(Place("b.htm"), {}, Place("c.htm")));
  ASSERT_EQ(history.Entries().size(), 2U);
  EXPECT_EQ(history.Entries()[0].File, "c.htm");
  EXPECT_EQ(history.Entries()[1].File, "b.htm");
}

TEST(ViewerHistoryTest, NothingRecordedWhenNothingMoved) {
  ViewerHistory history;
  history.SetMaxCount(5);
  history.Record(Place(""), {}, Place("a.htm"));
  EXPECT_FALSE(history.Record(Place("a.htm", 10), {}, Place("a.htm", 10)));
  EXPECT_TRUE(history.Record(Place("a.htm", 10), {{"x=1"}}, Place("a.htm", 90)));
  EXPECT_TRUE(history.Entries()[1].Position.FormData.empty())
      << "a jump inside a page keeps no form data";
}

TEST(ViewerHistoryTest, LoweringTheLimitClearsAndNegativeIsIgnored) {
  ViewerHistory history;
  history.SetMaxCount(5);
  history.Record(Place(""), {}, Place("a.htm"));
  EXPECT_FALSE(history.SetMaxCount(-1));
  EXPECT_EQ(history.MaxCount(), 5);
  EXPECT_TRUE(history.SetMaxCount(3));
  EXPECT_TRUE(history.Entries().empty());
}

TEST(VisitedLinksTest, MostRecentFirstWithoutDuplicates) {
  VisitedLinks visited;
  visited.SetMaxCount(2);
  EXPECT_TRUE(visited.Add("a"));
  EXPECT_TRUE(visited.Add("b"));
  EXPECT_FALSE(visited.Add("a")) << "known already: moved to the front";
  EXPECT_EQ(visited.Urls(), (std::vector<std::string>{"a", "b"}));
  visited.Add("c");
  EXPECT_EQ(visited.Urls(), (std::vector<std::string>{"c", "a"}));
  visited.SetMaxCount(-4);
  EXPECT_EQ(visited.MaxCount(), 0);
  EXPECT_TRUE(visited.Urls().empty());
  EXPECT_FALSE(visited.Add("d"));
}

}  // namespace
}  // namespace tessival::viewer
