// The box arithmetic of blocks: auto margins and widths, and lengths a page cannot push
// past the limit.
#include <gtest/gtest.h>

#include "html/properties.h"
#include "layout/block_box.h"
#include "layout/section_list.h"
#include "platform/test_canvas.h"
#include "reader/tag_reader.h"

namespace tessival::layout::testing {
namespace {

TBlockBox Box(int left, int width, int right) {
  TBlockBox box;
  box.MarginLeft = left;
  box.BoxWidth = width;
  box.MarginRight = right;
  box.AutoCount = (left == html::AutoValue) + (width == html::AutoValue) + (right == html::AutoValue);
  box.PaddingLeft = box.PaddingRight = 5;
  return box;
}

constexpr int kAuto = html::AutoValue;

TEST(BlockBox, AGivenWidthIsKeptUnlessTheContentNeedsMore) {
  TBlockBox box = Box(10, 100, 10);
  EXPECT_EQ(ComputeContentWidth(box, 500, 40, 300, {}), 100);
  EXPECT_EQ(ComputeContentWidth(box, 500, 140, 300, {}), 140);
}

TEST(BlockBox, AnAutoWidthFillsWhatMarginsAndPaddingLeave) {
  TBlockBox box = Box(10, kAuto, 20);
  EXPECT_EQ(ComputeContentWidth(box, 500, 40, 300, {}), 500 - 10 - 20 - 10);
  // Absolutely placed: no wider than the content wants.
  TBlockBox placed = Box(0, kAuto, 0);
  placed.PosLeft = 50;
  EXPECT_EQ(ComputeContentWidth(placed, 500, 40, 300, {false, true}), 300);
}

TEST(BlockBox, TwoAutoMarginsCentreAGivenWidthAndOneTakesTheRest) {
  TBlockBox centred = Box(kAuto, 100, kAuto);
  EXPECT_EQ(ComputeContentWidth(centred, 500, 0, 0, {}), 100);
  EXPECT_EQ(centred.MarginLeft, 195);
  EXPECT_EQ(centred.MarginRight, 195);
  TBlockBox right = Box(kAuto, 100, 0);
  ComputeContentWidth(right, 500, 0, 0, {});
  EXPECT_EQ(right.MarginLeft, 390);
  TBlockBox floating = Box(0, 100, kAuto);
  ComputeContentWidth(floating, 500, 0, 0, {true, false});
  EXPECT_EQ(floating.MarginRight, 0);
}

TEST(BlockBox, AllThreeAutoStretchWithoutMargins) {
  TBlockBox box = Box(kAuto, kAuto, kAuto);
  EXPECT_EQ(ComputeContentWidth(box, 500, 0, 0, {}), 490);
  EXPECT_EQ(box.MarginLeft, 0);
  EXPECT_EQ(box.MarginRight, 0);
}

TEST(BlockBox, HugeLengthsAreHeldAtTheLimit) {
  TSectionList doc;
  doc.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
  ParseDocument(
      "<div style='height:2147483647px;padding-top:99999999px;margin-top:-99999999px'>x</div>"
      "<div style='position:absolute;top:2147483000px;left:2147483000px'>y</div>",
      doc);
  platform::TestCanvas canvas(300, 100);
  int pos = 0, maxWidth = 0;
  const int height = doc.Layout(canvas, 0, pos, maxWidth, 600, 300);
  EXPECT_LE(height, 3 * kMaxBoxLength);
  EXPECT_LE(maxWidth, 3 * kMaxBoxLength);
  doc.Paint(canvas, {0, 0, 300, 100}, 0);
}

}  // namespace
}  // namespace tessival::layout::testing
