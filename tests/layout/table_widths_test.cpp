// The grid arithmetic on plain numbers: column ranges from spanning cells, the spreading of
// a target width over the columns, and row heights.
#include <gtest/gtest.h>

#include <numeric>

#include "layout/table_length.h"
#include "layout/table_rows.h"
#include "layout/table_widths.h"

namespace tessival::layout::testing {
namespace {

using Widths = std::vector<int>;

int Sum(const Widths& widths) { return std::accumulate(widths.begin(), widths.end(), 0); }

TColumnCell Cell(int col, int span, int min, int max, int percent = 0, int pixels = 0) {
  return {.Col = col,
          .Span = span,
          .Min = min,
          .Max = max,
          .PixelWidth = pixels,
          .Extras = 0,
          .Percent = percent};
}

TEST(TableWidthsTest, SpreadingKeepsTheTotalExactly) {
  EXPECT_EQ(SpreadByWeight({1, 1, 1}, 7), (Widths{2, 2, 3}));
  EXPECT_EQ(SpreadByWeight({0, 0}, 5), (Widths{2, 3}));  // no weights: equal parts
  EXPECT_EQ(SpreadByWeight({3, 0, 1}, 10), (Widths{7, 0, 3}));
  EXPECT_TRUE(SpreadByWeight({}, 10).empty());
}

TEST(TableWidthsTest, ASpanningCellWidensItsColumnsByTheirOwnWidths) {
  const TColumnRanges ranges = PercentColumnRanges({Cell(0, 1, 10, 20), Cell(1, 1, 30, 60),
                                                    Cell(0, 2, 80, 160)},
                                                   2, 0);
  EXPECT_EQ(ranges.Min, (Widths{20, 60}));
  EXPECT_EQ(ranges.Max, (Widths{40, 120}));
  EXPECT_EQ(ranges.MinTotal, 80);
  // Plain passes: the same here, and a pixel width makes the span's min and max equal.
  const TColumnRanges plain = PlainColumnRanges({Cell(0, 1, 10, 20), Cell(1, 1, 10, 20),
                                                 Cell(0, 2, 10, 20, 0, 100)},
                                                2);
  EXPECT_EQ(plain.Min, (Widths{50, 50}));
  EXPECT_EQ(plain.Max, (Widths{50, 50}));
}

TEST(TableWidthsTest, WithoutPercentsTheTargetIsSharedBetweenMinAndMax) {
  const TColumnRanges ranges = PercentColumnRanges({Cell(0, 1, 10, 110), Cell(1, 1, 10, 10)}, 2, 0);
  EXPECT_EQ(DistributeColumns(ranges, 70, TTableWidthKind::Auto, false), (Widths{60, 10}));
  EXPECT_EQ(DistributeColumns(ranges, 500, TTableWidthKind::Auto, false), (Widths{110, 10}));
  EXPECT_EQ(DistributeColumns(ranges, 5, TTableWidthKind::Auto, false),
            (Widths{10, 10}));  // never below the mins
}

TEST(TableWidthsTest, PercentColumnsOfTheWholeGrowUntilEachHasItsMaximum) {
  // 50 % and 50 %: the second column's maximum of 300 asks for a table of 600.
  const TColumnRanges ranges = PercentColumnRanges({Cell(0, 1, 10, 100, 500), Cell(1, 1, 10, 300, 500)},
                                                   2, 0);
  EXPECT_EQ(PercentTableWidth(ranges), 600);
  EXPECT_EQ(DistributeColumns(ranges, 1000, TTableWidthKind::Auto, false), (Widths{300, 300}));
  // Narrower than that: the columns keep their percentages of what there is.
  EXPECT_EQ(DistributeColumns(ranges, 400, TTableWidthKind::Auto, false), (Widths{200, 200}));
}

TEST(TableWidthsTest, APercentColumnTooNarrowForItsMinimumLosesItsPercent) {
  const TColumnRanges ranges = PercentColumnRanges({Cell(0, 1, 150, 150, 100), Cell(1, 1, 10, 400, 900)},
                                                   2, 0);
  const Widths widths = DistributeColumns(ranges, 300, TTableWidthKind::Auto, false);
  EXPECT_EQ(widths[0], 150);
  EXPECT_LE(Sum(widths), 300);
}

TEST(TableWidthsTest, AGivenTableWidthIsFilledExactly) {
  const TColumnRanges ranges = PercentColumnRanges({Cell(0, 1, 20, 50, 250), Cell(1, 1, 20, 60),
                                                    Cell(2, 1, 20, 100)},
                                                   3, 400);
  const Widths wide = DistributeColumns(ranges, 400, TTableWidthKind::Given, false);
  EXPECT_EQ(wide[0], 100);  // its 25 %
  EXPECT_EQ(Sum(wide), 400);
  // Too narrow for the percent column's share: taken from it, never below its minimum.
  const TColumnRanges tight = PercentColumnRanges({Cell(0, 1, 20, 50, 900), Cell(1, 1, 60, 60)}, 2, 100);
  const Widths narrow = DistributeColumns(tight, 100, TTableWidthKind::Given, false);
  EXPECT_EQ(Sum(narrow), 100);
  EXPECT_GE(narrow[0], 20);
  EXPECT_GE(narrow[1], 60);
}

TEST(TableWidthsTest, PixelCellWidthsWithoutATableWidth) {
  const TColumnRanges ranges = PlainColumnRanges({Cell(0, 1, 10, 10, 0, 200), Cell(1, 1, 10, 50)}, 2);
  EXPECT_EQ(ranges.Max, (Widths{200, 50}));
  EXPECT_EQ(DistributeColumns(ranges, 1000, TTableWidthKind::Auto, true), (Widths{200, 50}));
  EXPECT_EQ(DistributeColumns(ranges, 10, TTableWidthKind::Auto, true), (Widths{10, 10}));
}

TEST(TableWidthsTest, HostileNumbersStayWithinTheLimit) {
  const int huge = 2147483647;
  const TColumnRanges ranges = PercentColumnRanges({Cell(0, 1, huge, huge, 0, huge),
                                                    Cell(1, 1, 0, huge, 1000),
                                                    Cell(0, 2, huge, huge, 1000)},
                                                   2, huge);
  for (int c = 0; c < 2; ++c) {
    EXPECT_LE(ranges.Max[c], kMaxTableLength);
    EXPECT_GE(ranges.Min[c], 0);
  }
  for (const int width : DistributeColumns(ranges, kMaxTableLength, TTableWidthKind::Given, false)) {
    EXPECT_GE(width, 0);
    EXPECT_LE(width, kMaxTableLength);
  }
  // A span past the grid is passed over.
  EXPECT_EQ(PlainColumnRanges({Cell(1, 5, 10, 10)}, 2).MinTotal, 0);
}

TEST(TableLengthTest, PixelsPercentsAndNonsense) {
  EXPECT_EQ(ReadTableLength("300", 100).Value, 300);
  const TTableLength half = ReadTableLength("50%", 100);
  EXPECT_TRUE(half.Percent);
  EXPECT_EQ(half.Value, 500);
  EXPECT_EQ(ReadTableLength("105%", 110).Value, 1050);
  EXPECT_EQ(ReadTableLength("105%", 100).Value, 0);  // out of range: none
  EXPECT_EQ(ReadTableLength("2147483648", 100).Value, kMaxTableLength);
  EXPECT_EQ(ReadTableLength("-20", 100).Value, 0);
  EXPECT_EQ(ReadTableLength("wide", 100).Value, 0);
}

TEST(TableRowsTest, ARowSpanExcessGoesInEqualPartsWithTheRestToTheLastRow) {
  // Three rows of 10; a cell over all three needs 37: 7 more, as 2, 2 and 3.
  const std::vector<TRowCell> cells = {{0, 1, 10}, {1, 1, 10}, {2, 1, 10}, {0, 3, 37}};
  EXPECT_EQ(RowHeights(cells, 3, 0), (Widths{12, 12, 13}));
}

TEST(TableRowsTest, AnExplicitHeightStretchesEveryRowTheLastTakingTheRest) {
  const std::vector<TRowCell> cells = {{0, 1, 10}, {1, 1, 10}, {2, 1, 10}};
  EXPECT_EQ(RowHeights(cells, 3, 50), (Widths{16, 16, 18}));
  EXPECT_EQ(RowHeights(cells, 3, 20), (Widths{10, 10, 10}));  // lower than the content: no effect
  // A span reaching past the last row counts the rows that exist.
  EXPECT_EQ(RowHeights({{1, 5, 30}}, 2, 0), (Widths{0, 30}));
}

}  // namespace
}  // namespace tessival::layout::testing
