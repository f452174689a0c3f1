#include "viewer/frame_sizes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tessival::viewer {
namespace {

using ::testing::ElementsAre;

TEST(FrameEntriesTest, EntriesAreReadWithTheirLimits) {
  EXPECT_THAT(ParseFrameEntries("100,*,2*"), ElementsAre(100, -1, -2));
  EXPECT_THAT(ParseFrameEntries("25%,*"), ElementsAre(-125, -1));
  // 0 counts as 1 pixel, 7000 as 5000, 150* as weight 99, 1000% as 900 percent.
  EXPECT_THAT(ParseFrameEntries("0,7000,150*,1000%"), ElementsAre(1, 5000, -99, -1000));
  // Noise between entries is passed over; a trailing comma adds a relative entry.
  EXPECT_THAT(ParseFrameEntries(" 50 px , 3 * ,"), ElementsAre(50, -3, -1));
  EXPECT_THAT(ParseFrameEntries(""), ElementsAre(-1));
  // Twenty digits cannot overflow.
  EXPECT_THAT(ParseFrameEntries("99999999999999999999%"), ElementsAre(-1000));
}

TEST(FrameEntriesTest, AtMostTwentyEntriesAreKept) {
  std::string many;
  for (int i = 0; i < 30; ++i) many += "10,";
  EXPECT_EQ(ParseFrameEntries(many).size(), 20u);
}

TEST(FrameEntriesTest, RowsAreUsedUnlessTheyGiveAtMostOneEntryAndColsAreThere) {
  const FrameSplit both = ChooseFrameSplit("50%,50%", "10,20");
  EXPECT_TRUE(both.SplitsRows);
  EXPECT_THAT(both.DimSpecs, ElementsAre(-150, -150));
  const FrameSplit one_row = ChooseFrameSplit("50%", "10,20");
  EXPECT_FALSE(one_row.SplitsRows);
  EXPECT_THAT(one_row.DimSpecs, ElementsAre(10, 20));
  const FrameSplit rows_only = ChooseFrameSplit("50%", std::nullopt);
  EXPECT_TRUE(rows_only.SplitsRows);
  const FrameSplit neither = ChooseFrameSplit(std::nullopt, std::nullopt);
  EXPECT_FALSE(neither.SplitsRows);
  EXPECT_TRUE(neither.DimSpecs.empty());
}

TEST(FrameSizesTest, PixelsPercentagesAndWeightsShareTheExtent) {
  EXPECT_THAT(DistributeFrameSizes({100, -1, -2}, 400), ElementsAre(100, 100, 200));
  // Too little room: only the pixel entries get anything, in proportion.
  EXPECT_THAT(DistributeFrameSizes({100, -1, -2}, 80), ElementsAre(80, 0, 0));
  EXPECT_THAT(DistributeFrameSizes({-125, -1}, 400), ElementsAre(100, 300));
  // Percentages over 100 share the room in their ratio, each rounded.
  EXPECT_THAT(DistributeFrameSizes({-130, -150, -150}, 100), ElementsAre(23, 38, 38));
  // Equal relative entries, the remainder left out.
  EXPECT_THAT(DistributeFrameSizes({-1, -1, -1}, 100), ElementsAre(33, 33, 33));
  EXPECT_THAT(DistributeFrameSizes({-1}, 0), ElementsAre(0));
}

TEST(FrameSizesTest, PlacementStretchesInProportionAndLeavesRoundingGaps) {
  // 100/99 scaling still leaves the last pixel column empty.
  EXPECT_THAT(PlaceFrameEnds({23, 38, 38}, 100), ElementsAre(0, 23, 61, 99));
  EXPECT_THAT(PlaceFrameEnds({100, 100, 200}, 800), ElementsAre(0, 200, 400, 800));
  // Two halves of an odd extent both round up; the last one still ends at the edge.
  EXPECT_THAT(PlaceFrameEnds({366, 366}, 731), ElementsAre(0, 366, 731));
  // Nothing to share: all children are empty, none negative.
  EXPECT_THAT(PlaceFrameEnds({0, 0}, 300), ElementsAre(0, 0, 0));
}

TEST(FrameDragTest, OnlyBoundariesWithinReachAndAwayFromFixedFramesArePickedUp) {
  const std::vector<int> ends{0, 100, 200, 400};
  const std::vector<bool> free_to_drag(4, false);
  EXPECT_EQ(DraggableBoundary(ends, free_to_drag, 104), 1);
  EXPECT_EQ(DraggableBoundary(ends, free_to_drag, 96), 1);
  EXPECT_EQ(DraggableBoundary(ends, free_to_drag, 105), std::nullopt);
  EXPECT_EQ(DraggableBoundary(ends, free_to_drag, 198), 2);
  // A tie between two boundaries goes to the later one when the point is beyond it.
  EXPECT_EQ(NearestBoundary({0, 10, 20, 30}, 15), 1);
  EXPECT_EQ(NearestBoundary({0, 10, 10, 30}, 10), 2);
  EXPECT_EQ(NearestBoundary({0, 100}, 50), std::nullopt);

  // The middle frame is NORESIZE: neither of its boundaries moves.
  const std::vector<bool> no_drag = ComputeNoDrag({false, true, false});
  EXPECT_THAT(no_drag, ElementsAre(false, true, true, false));
  EXPECT_EQ(DraggableBoundary(ends, no_drag, 100), std::nullopt);
  EXPECT_EQ(DraggableBoundary(ends, no_drag, 200), std::nullopt);
}

TEST(FrameDragTest, DragStaysBetweenNeighboursAndItsProportionsSurviveResizes) {
  const std::vector<int> ends{0, 100, 200, 400};
  const DragRange range = DragLimits(ends, 2);
  EXPECT_EQ(range.Low, 101);
  EXPECT_EQ(range.High, 399);

  // Boundary 1 dragged from 100 to 50 in a set laid out over 400 pixels.
  const std::vector<int> sizes = SizesFromEnds({0, 50, 200, 400}, 400);
  EXPECT_THAT(sizes, ElementsAre(50, 150, 200));
  // A later resize to 800 keeps the dragged proportions.
  EXPECT_THAT(PlaceFrameEnds(sizes, 800), ElementsAre(0, 100, 400, 800));
}

TEST(FrameDragTest, MulDivRoundsHalvesAwayFromZeroAndRefusesZero) {
  EXPECT_EQ(MulDiv(1, 1, 2), 1);
  EXPECT_EQ(MulDiv(-1, 1, 2), -1);
  EXPECT_EQ(MulDiv(30, 100, 130), 23);
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(MulDiv(2000000000, 3, 4), 1500000000);  // no overflow on the way
}

}  // namespace
}  // namespace tessival::viewer
