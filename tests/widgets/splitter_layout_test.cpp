#include "widgets/splitter_layout.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tessival::widgets {
namespace {

using ::testing::ElementsAre;

TEST(SplitterLayout, TwoPanesOf439RowsLeaveA3RowBarAfterRow68) {
  const std::vector<AxisSpan> spans = PaneSpans({70, 369}, 439, 3);
  EXPECT_THAT(spans, ElementsAre(AxisSpan{0, 69}, AxisSpan{72, 367}));
  // The hit and drag rectangle reaches one row further than the visible bar.
  EXPECT_EQ(BarSpan({70, 369}, 0, 3), (AxisSpan{69, 4}));
}

TEST(SplitterLayout, HalvesOfTheThicknessRoundDownAndHalfToEven) {
  // thickness: H, R
  EXPECT_EQ(HalfThicknessDown(1), 0);
  EXPECT_EQ(HalfThicknessToEven(1), 0);
  EXPECT_EQ(HalfThicknessDown(3), 1);
  EXPECT_EQ(HalfThicknessToEven(3), 2);
  EXPECT_EQ(HalfThicknessDown(5), 2);
  EXPECT_EQ(HalfThicknessToEven(5), 2);
  EXPECT_EQ(HalfThicknessToEven(7), 4);
}

TEST(SplitterLayout, MiddlePaneGivesAWholeThicknessAndOnePaneFillsAll) {
  EXPECT_THAT(PaneSpans({100, 100, 100}, 300, 4),
              ElementsAre(AxisSpan{0, 98}, AxisSpan{102, 96}, AxisSpan{202, 98}));
  EXPECT_THAT(PaneSpans({10}, 300, 4), ElementsAre(AxisSpan{0, 300}));
  // A pane smaller than its share of the bars is empty, not negative.
  EXPECT_EQ(PaneSpans({1, 299}, 300, 5)[0].length, 0);
}

TEST(SplitterLayout, FixingTheSumChangesOnlyTheLastPaneAndNeverBelowZero) {
  std::vector<int> sizes{100, 100};
  FixSum(sizes, 250);
  EXPECT_THAT(sizes, ElementsAre(100, 150));
  FixSum(sizes, 50);
  EXPECT_THAT(sizes, ElementsAre(100, 0));
}

TEST(SplitterLayout, RescalingAllKeepsTheRatio) {
  std::vector<int> sizes{100, 300};
  RescaleAll(sizes, 200);
  EXPECT_THAT(sizes, ElementsAre(50, 150));
  sizes = {1, 1, 1};
  RescaleAll(sizes, 100);  // 33.33 each, rounded, the last takes the rest
  EXPECT_THAT(sizes, ElementsAre(33, 33, 34));
  sizes = {0, 0};
  RescaleAll(sizes, 80);  // nothing to scale by: no division by zero
  EXPECT_THAT(sizes, ElementsAre(0, 80));
}

TEST(SplitterLayout, RescalingWithTheLastKeptSharesTheRestAmongTheOthers) {
  std::vector<int> sizes{100, 300, 50};
  RescaleKeepingLast(sizes, 450);
  EXPECT_THAT(sizes, ElementsAre(100, 300, 50));
  RescaleKeepingLast(sizes, 250);
  EXPECT_THAT(sizes, ElementsAre(50, 150, 50));
  sizes = {220, 219};  // a new pane joins the main window's splitter
  RescaleKeepingLast(sizes, 439);
  EXPECT_THAT(sizes, ElementsAre(220, 219));
}

TEST(SplitterLayout, ResizingAgainstTheNextPaneStopsAtBothMinimums) {
  const std::vector<int> minimums{32, 32};
  std::vector<int> sizes{70, 369};
  ResizeAgainstNext(sizes, minimums, 0, 1000, 3);
  EXPECT_THAT(sizes, ElementsAre(70 + 369 - 3 - 32, 35));
  ResizeAgainstNext(sizes, minimums, 0, 5, 3);
  EXPECT_THAT(sizes, ElementsAre(32, 407));
  ResizeAgainstNext(sizes, minimums, 0, 70, 3);
  EXPECT_THAT(sizes, ElementsAre(70, 369));
  ResizeAgainstNext(sizes, minimums, 1, 10, 3);  // the last pane changes nothing directly
  EXPECT_THAT(sizes, ElementsAre(70, 369));
}

TEST(SplitterLayout, DragStaysBetweenTheMinimumsOfBothNeighbours) {
  const std::vector<int> sizes{100, 100, 100};
  const std::vector<int> minimums{10, 20, 30};
  EXPECT_EQ(ClampDragPosition(sizes, minimums, 1, 0), 100 + 20);
  EXPECT_EQ(ClampDragPosition(sizes, minimums, 1, 1000), 300 - 30);
  EXPECT_EQ(ClampDragPosition(sizes, minimums, 1, 222), 222);
  EXPECT_EQ(ClampDragPosition(sizes, minimums, 0, -5), 10);
}

TEST(SplitterLayout, ConvertingToTheOtherAxisScalesAndRounds) {
  std::vector<int> sizes{100, 300};
  ConvertSizes(sizes, 200, 400);
  EXPECT_THAT(sizes, ElementsAre(50, 150));
  ConvertSizes(sizes, 1, 0);  // an empty window leaves the sizes alone
  EXPECT_THAT(sizes, ElementsAre(50, 150));
}

}  // namespace
}  // namespace tessival::widgets
