#include "platform/region.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessival::platform {
namespace {

// The region's pixels in a small window as rows of '#' and '.'.
std::vector<std::string> Picture(const TRegion& r, int width, int height) {
  std::vector<std::string> rows;
  for (int y = 0; y < height; ++y) {
    std::string row;
    for (int x = 0; x < width; ++x) row += r.PtInRegion(x, y) ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

TEST(Region, RectangleExcludesItsRightAndBottomEdges) {
  const TRegion r = TRegion::CreateRectRgn(1, 1, 4, 3);
  EXPECT_EQ(Picture(r, 5, 4), (std::vector<std::string>{".....", ".###.", ".###.", "....."}));
  EXPECT_EQ(r.Kind(), RegionKind::SIMPLEREGION);
  EXPECT_EQ(r.Bounds(), (Rect{1, 1, 4, 3}));
  EXPECT_TRUE(TRegion::CreateRectRgn(3, 3, 3, 9).Empty());
  EXPECT_EQ(TRegion::CreateRectRgn(4, 3, 1, 1), r);  // corners in any order
}

TEST(Region, DifferenceCutsABorderAndPointTestsFollowIt) {
  TRegion border;
  const RegionKind kind = border.CombineRgn(TRegion::CreateRectRgn(0, 0, 6, 5),
                                            TRegion::CreateRectRgn(1, 1, 5, 4), RegionCombine::RGN_DIFF);
  EXPECT_EQ(kind, RegionKind::COMPLEXREGION);
  EXPECT_EQ(Picture(border, 7, 6), (std::vector<std::string>{"######.", "#....#.", "#....#.", "#....#.",
                                                             "######.", "......."}));
  // Cutting cells out one after another, as a table does with its spacing region.
  TRegion spacing = TRegion::CreateRectRgn(0, 0, 9, 3);
  for (int x : {1, 5}) {
    spacing = TRegion::Combine(spacing, TRegion::CreateRectRgn(x, 1, x + 3, 2), RegionCombine::RGN_DIFF);
  }
  EXPECT_EQ(Picture(spacing, 9, 3), (std::vector<std::string>{"#########", "#...#...#", "#########"}));
  EXPECT_TRUE(TRegion::Combine(border, border, RegionCombine::RGN_DIFF).Empty());
  EXPECT_EQ(TRegion::Combine(TRegion(), border, RegionCombine::RGN_DIFF).Kind(), RegionKind::NULLREGION);
}

TEST(Region, CombinationsAgreeWithTheirSetOperations) {
  const TRegion a = TRegion::CreateRectRgn(0, 0, 4, 4), b = TRegion::CreateEllipticRgn(2, 1, 8, 6);
  for (auto mode : {RegionCombine::RGN_AND, RegionCombine::RGN_OR, RegionCombine::RGN_XOR,
                    RegionCombine::RGN_DIFF}) {
    const TRegion r = TRegion::Combine(a, b, mode);
    for (int y = -1; y < 8; ++y) {
      for (int x = -1; x < 9; ++x) {
        const bool in_a = a.PtInRegion(x, y), in_b = b.PtInRegion(x, y);
        const bool expected = mode == RegionCombine::RGN_AND   ? in_a && in_b
                              : mode == RegionCombine::RGN_OR  ? in_a || in_b
                              : mode == RegionCombine::RGN_XOR ? in_a != in_b
                                                               : in_a && !in_b;
        EXPECT_EQ(r.PtInRegion(x, y), expected) << static_cast<int>(mode) << " at " << x << "," << y;
      }
    }
  }
  // The same set built two ways is the same value.
  EXPECT_EQ(TRegion::Combine(TRegion::CreateRectRgn(0, 0, 2, 4), TRegion::CreateRectRgn(2, 0, 5, 4),
                             RegionCombine::RGN_OR),
            TRegion::CreateRectRgn(0, 0, 5, 4));
}

TEST(Region, EllipseAndCircleAreaCoverPixelCentresInside) {
  // The image-map circle (x, y, r) = (3, 3, 3) is the ellipse in (0, 0, 7, 7).
  const TRegion circle = TRegion::CreateEllipticRgn(0, 0, 7, 7);
  EXPECT_EQ(Picture(circle, 7, 7), (std::vector<std::string>{"..###..", ".#####.", "#######", "#######",
                                                             "#######", ".#####.", "..###.."}));
  EXPECT_TRUE(TRegion::CreateEllipticRgn(0, 0, 0, 5).Empty());
}

TEST(Region, PolygonUsesTheEvenOddRule) {
  const std::vector<Point> triangle = {{0, 0}, {6, 0}, {0, 6}};
  EXPECT_EQ(Picture(TRegion::CreatePolygonRgn(triangle), 7, 7),
            (std::vector<std::string>{"#####..", "####...", "###....", "##.....", "#......", ".......",
                                      "......."}));  // centres on the slanted (right) edge are out
  // A self-crossing star leaves its centre out.
  const std::vector<Point> star = {{5, 0}, {8, 10}, {0, 4}, {10, 4}, {2, 10}};
  const TRegion r = TRegion::CreatePolygonRgn(star);
  EXPECT_FALSE(r.PtInRegion(5, 5));
  EXPECT_TRUE(r.PtInRegion(5, 2));
  EXPECT_TRUE(TRegion::CreatePolygonRgn(std::vector<Point>{{0, 0}, {5, 5}}).Empty());
}

TEST(Region, HugeShapesFromOutsideInputAreClamped) {
  const TRegion r = TRegion::CreateEllipticRgn(-2000000000, -2000000000, 2000000000, 2000000000);
  EXPECT_TRUE(r.PtInRegion(0, 0));
  EXPECT_LE(r.Bands().size(), 2u * RegionCoordinateLimit + 1);
  const std::vector<Point> big = {{0, -2147483647}, {2147483647, 2147483647}, {-2147483647, 0}};
  EXPECT_FALSE(TRegion::CreatePolygonRgn(big).Empty());
}

TEST(Region, OffsetMovesEveryPixel) {
  TRegion r = TRegion::CreateRectRgn(0, 0, 2, 2);
  r.OffsetRgn(10, -5);
  EXPECT_TRUE(r.PtInRegion(11, -4));
  EXPECT_FALSE(r.PtInRegion(1, 1));
  EXPECT_EQ(r.Rects(), (std::vector<Rect>{{10, -5, 12, -3}}));
}

}  // namespace
}  // namespace tessival::platform
