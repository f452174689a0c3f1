// Float bands are searched by their bottom; these check that the search answers what a
// walk over every band would, wherever the query lands and in whatever order floats come.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "layout/indent_manager.h"

namespace tessival::layout {
namespace {

struct PlacedFloat {
  int Top, Bottom, Edge;  // Edge: the left float's right edge or the right float's left edge
  FloatSide Side;
};

// The edges by walking every float, as a reader would work them out by hand.
int WalkedLeft(const std::vector<PlacedFloat>& floats, int y) {
  int x = 0;
  for (const PlacedFloat& f : floats)
    if (f.Side == FloatSide::Left && f.Top <= y && y < f.Bottom) x = std::max(x, f.Edge);
  return x;
}

int WalkedRight(const std::vector<PlacedFloat>& floats, int y, int width) {
  int x = width;
  for (const PlacedFloat& f : floats)
    if (f.Side == FloatSide::Right && f.Top <= y && y < f.Bottom) x = std::min(x, f.Edge);
  return x;
}

TEST(FloatBands, ManyFloatsInAnyOrderGiveTheEdgesOfAWalkOverAllOfThem) {
  constexpr int width = 800;
  std::mt19937 random(12345);
  IndentManager indents;
  indents.Reset(0, width);
  std::vector<PlacedFloat> placed;
  int y = 0;
  for (int i = 0; i < 600; ++i) {
    // Mostly down the page, sometimes back up (a float placed from a line above the last).
    y = std::max(0, y + static_cast<int>(random() % 40) - 8);
    const int height = 1 + static_cast<int>(random() % 300);
    const int width = 1 + static_cast<int>(random() % 200);
    if (random() % 2 == 0) {
      const int edge = indents.LeftIndentAt(y) + width;
      indents.AddFloatBlock(y, edge, FloatSide::Left, height);
      placed.push_back({y, y + height, edge, FloatSide::Left});
    } else {
      const int edge = indents.RightIndentAt(y) - width;
      indents.AddFloatBlock(y, width, FloatSide::Right, height);
      placed.push_back({y, y + height, edge, FloatSide::Right});
    }
  }
  int lowest = 0;
  for (const PlacedFloat& f : placed) lowest = std::max(lowest, f.Bottom);
  for (int at = 0; at <= lowest + 1; ++at) {
    ASSERT_EQ(indents.LeftIndentAt(at), WalkedLeft(placed, at)) << "y " << at;
    ASSERT_EQ(indents.RightIndentAt(at), WalkedRight(placed, at, width)) << "y " << at;
    int nextBottom = at;
    for (const PlacedFloat& f : placed)
      if (f.Bottom > at && (nextBottom == at || f.Bottom < nextBottom)) nextBottom = f.Bottom;
    ASSERT_EQ(indents.NextWiderY(at), nextBottom) << "y " << at;
  }
  EXPECT_EQ(indents.FloatBottom(), lowest);
}

TEST(FloatBands, ATallEarlyFloatStillNarrowsLinesBelowShortLaterOnes) {
  IndentManager indents;
  indents.Reset(10, 610);
  indents.AddFloatBlock(0, 110, FloatSide::Left, 500);  // ends below everything after it
  indents.AddFloatBlock(100, 160, FloatSide::Left, 20);
  indents.AddFloatBlock(200, 50, FloatSide::Right, 10);
  EXPECT_EQ(indents.LeftIndentAt(110), 160);
  EXPECT_EQ(indents.LeftIndentAt(130), 110);
  EXPECT_EQ(indents.RightIndentAt(205), 560);
  EXPECT_EQ(indents.RightIndentAt(210), 610);
  EXPECT_EQ(indents.LeftIndentAt(499), 110);
  EXPECT_EQ(indents.LeftIndentAt(500), 10);
  // Asking above a float's top (the paint pass can) sees only what covers that y.
  EXPECT_EQ(indents.LeftIndentAt(50), 110);
  EXPECT_EQ(indents.NextWiderY(100), 120);
  EXPECT_EQ(indents.NextWiderY(120), 210);
  EXPECT_EQ(indents.NextWiderY(210), 500);
}

TEST(FloatBands, AnIndentPushedBeforeFloatsIsPoppedByItsOwnHandle) {
  IndentManager indents;
  indents.Reset(0, 600);
  int owner = 0;
  indents.CurrentOwner = &owner;
  const int outer = indents.PushLeft(20, 0);
  const int inner = indents.PushLeft(40, 0);
  indents.AddFloatBlock(0, 300, FloatSide::Left, 50);
  indents.AddFloatBlock(10, 100, FloatSide::Left, 20);
  indents.PopLeft(inner);
  EXPECT_EQ(indents.LeftIndentAt(60), 20);  // the outer indent stays, the floats have ended
  EXPECT_EQ(indents.LeftIndentAt(40), 300);
  indents.PopLeft(outer);
  EXPECT_EQ(indents.LeftIndentAt(60), 0);
  EXPECT_EQ(indents.LeftIndentAt(40), 300);
}

TEST(FloatBands, FloatsEndingAboveTheTopClearToTheTop) {
  IndentManager indents;
  indents.Reset(0, 600);
  indents.AddFloatBlock(-30, 100, FloatSide::Left, 10);  // pulled up by a negative margin
  EXPECT_EQ(indents.FloatBottom(), 0);
  EXPECT_EQ(indents.ClearY().Left, 0);
  EXPECT_EQ(indents.ClearY().Right, 0);
  indents.AddFloatBlock(-30, 100, FloatSide::Right, 40);
  EXPECT_EQ(indents.ClearY().Right, 11);
  EXPECT_EQ(indents.FloatBottom(), 10);
}

}  // namespace
}  // namespace tessival::layout
