// What blocks, list markers and rules put on the canvas, read back pixel by pixel on the
// test canvas (a 12-point font: 16 pixels high, baseline 12 below the line top).
#include <gtest/gtest.h>

#include <string>

#include "layout/section_list.h"
#include "platform/test_canvas.h"
#include "reader/tag_reader.h"

namespace tessival::layout::testing {
namespace {

constexpr platform::TColor kWhite = 0xFFFFFF;
constexpr platform::TColor kRed = 0x0000FF;  // 0x00BBGGRR
constexpr platform::TColor kBlue = 0xFF0000;

class PaintedPage : public ::testing::Test {
 protected:
  void Show(std::string_view html, int width = 300, platform::Rect clip = {0, 0, 300, 200}) {
    doc.SetFonts(html::TStyleDefaults{}, kWhite, false);
    ParseDocument(html, doc);
    int pos = 0, maxWidth = 0;
    doc.Layout(canvas, 0, pos, maxWidth, 200, width);
    doc.Paint(canvas, clip, 0);
  }
  platform::TColor At(int x, int y) const { return canvas.PixelAt(x, y) & 0xFFFFFF; }

  TSectionList doc;
  platform::TestCanvas canvas{300, 200};
};

TEST_F(PaintedPage, ABlockFillsItsPaddingBoxAndDrawsItsBorderAround) {
  // Content at x 10+5+2=17, y 5+2+3=10; the border box 10..10+4+20+4 wide.
  Show(
      "<div style='background-color:#0000ff;border:2px solid #ff0000;padding:3px;width:20px;"
      "height:10px'></div>");
  // The border box: 30 wide from x 10, 20 high from y 5.
  EXPECT_EQ(At(10, 5), kRed);  // border corner
  EXPECT_EQ(At(11, 6), kRed);
  EXPECT_EQ(At(12, 7), kBlue);  // padding
  EXPECT_EQ(At(37, 22), kBlue);
  EXPECT_EQ(At(39, 24), kRed);  // bottom right border
  EXPECT_EQ(At(40, 24), kWhite);
  EXPECT_EQ(At(12, 25), kWhite);
}

TEST_F(PaintedPage, AHiddenBlockPaintsNeitherItsBoxNorItsContent) {
  Show("<div style='visibility:hidden;background-color:#0000ff;height:20px'>xxxx</div>");
  for (int x = 10; x < 60; x += 5) EXPECT_EQ(At(x, 10), kWhite) << x;
}

TEST_F(PaintedPage, AnAbsoluteBlockPaintsAtItsOffsetsAndARelativeOneMovesByThem) {
  Show(
      "<div style='position:absolute;left:100px;top:50px;width:10px;height:10px;"
      "background-color:#ff0000'></div>"
      "<div style='position:relative;left:20px;top:30px;width:10px;height:10px;"
      "background-color:#0000ff'></div>");
  EXPECT_EQ(At(100, 50), kRed);
  EXPECT_EQ(At(109, 59), kRed);
  EXPECT_EQ(At(99, 50), kWhite);
  // The relative block stands at (10, 5) in the flow and paints at (30, 35).
  EXPECT_EQ(At(30, 35), kBlue);
  EXPECT_EQ(At(10, 5), kWhite);
}

TEST_F(PaintedPage, APositiveZIndexPaintsOverALaterBlock) {
  Show(
      "<div style='position:relative;z-index:2;height:10px;background-color:#ff0000'></div>"
      "<div style='position:relative;top:-10px;height:10px;background-color:#0000ff'></div>");
  EXPECT_EQ(At(20, 8), kRed);
}

TEST_F(PaintedPage, BulletsAreDiscCircleAndSquareByNestingLevel) {
  // Items at x 45, 80, 115; baselines 17, 33, 49.
  // Items at x 45, 80, 115 with baselines 31, 47, 63 (the list keeps its top margin).
  Show("<ul><li>a<ul><li>b<ul><li>c</ul></ul></ul>");
  EXPECT_EQ(At(45 - 13, 31 - 4), 0u);      // disc: filled centre
  EXPECT_EQ(At(45 - 15, 31 - 6), kWhite);  // ... round corner
  EXPECT_EQ(At(80 - 13, 47 - 4), kWhite);  // circle: hollow centre
  EXPECT_EQ(At(80 - 16, 47 - 4), 0u);      // ... and its left edge
  EXPECT_EQ(At(115 - 15, 63 - 6), 0u);     // square: its corner
  EXPECT_EQ(At(115 - 11, 63 - 2), 0u);
}

TEST_F(PaintedPage, AMarkerIsDrawnWhenItsBaselineIsWithinFiftyPixelsOfTheClip) {
  Show("<ul><li>a</ul>", 300, {0, 76, 300, 200});  // baseline 31: 45 above the clip
  EXPECT_EQ(At(45 - 13, 31 - 4), 0u);
}

TEST_F(PaintedPage, AMarkerFarAboveTheClipIsNotDrawn) {
  Show("<ul><li>a</ul>", 300, {0, 86, 300, 200});  // 55 above
  EXPECT_EQ(At(45 - 13, 31 - 4), kWhite);
}

TEST_F(PaintedPage, ANumberMarkerEndsTenPixelsLeftOfTheContent) {
  Show("<ol><li>a</ol>");
  EXPECT_EQ(canvas.Ops().size() > 0, true);
  bool found = false;
  for (const std::string& op : canvas.Ops())
    if (op.find("\"1.\"") != std::string::npos) {
      found = true;
      // "1." is 16 pixels wide: from 45 - 10 - 16.
      EXPECT_NE(op.find("19,"), std::string::npos) << op;
    }
  EXPECT_TRUE(found);
}

TEST_F(PaintedPage, AColouredRuleIsASolidBarAndAPlainOneHasEngravedEdges) {
  // Rules at y 15 (plain, 4 high) and 29 (red, 4 high), 280 wide from x 10.
  Show("<hr size=4><hr size=4 color=red>");
  EXPECT_EQ(At(50, 15), 0x808080u);  // top edge: shadow
  EXPECT_EQ(At(50, 18), 0xC0C0C0u);  // bottom edge on a white page: silver
  EXPECT_EQ(At(50, 16), kWhite);     // the inside stays
  EXPECT_EQ(At(50, 30), kRed);
  EXPECT_EQ(At(50, 31), kRed);
}

TEST_F(PaintedPage, ANoShadeRuleIsBlackAllRound) {
  Show("<hr size=3 noshade>");
  EXPECT_EQ(At(50, 15), 0u);
  EXPECT_EQ(At(50, 17), 0u);
}

}  // namespace
}  // namespace tessival::layout::testing
