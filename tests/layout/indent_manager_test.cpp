// The edges open at a y: block indents seen only by their owner, floats seen by everyone.
#include <gtest/gtest.h>

#include "layout/indent_manager.h"

namespace tessival::layout {
namespace {

TEST(IndentManager, OpenIndentsApplyOnlyWhileTheirOwnerIsBeingLaidOut) {
  IndentManager indents;
  indents.Reset(0, 500);
  const int outer = 1, inner = 2;  // stand-ins for two blocks
  indents.CurrentOwner = &outer;
  indents.PushLeft(20, 0);
  indents.PushRight(480, 0);
  indents.CurrentOwner = &inner;
  const int left = indents.PushLeft(40, 10);
  EXPECT_EQ(indents.LeftIndentAt(5), 0);  // above the inner indent, outer's not seen
  EXPECT_EQ(indents.LeftIndentAt(10), 40);
  EXPECT_EQ(indents.RightIndentAt(10), 500);
  indents.CurrentOwner = &outer;
  EXPECT_EQ(indents.LeftIndentAt(10), 20);
  EXPECT_EQ(indents.RightIndentAt(10), 480);
  indents.PopLeft(left);
  indents.CurrentOwner = &inner;
  EXPECT_EQ(indents.LeftIndentAt(10), 0);
}

TEST(IndentManager, FloatsNarrowEveryOwnerUntilTheirBottom) {
  IndentManager indents;
  indents.Reset(100, 600);  // painting: edges at the paint origin
  indents.AddFloatBlock(0, 250, FloatSide::Left, 40);
  indents.AddFloatBlock(20, 100, FloatSide::Right, 50);
  indents.CurrentOwner = &indents;
  EXPECT_EQ(indents.LeftIndentAt(0), 250);
  EXPECT_EQ(indents.LeftIndentAt(40), 100);
  EXPECT_EQ(indents.RightIndentAt(19), 600);
  EXPECT_EQ(indents.RightIndentAt(20), 500);
  EXPECT_EQ(indents.NextWiderY(0), 40);
  EXPECT_EQ(indents.NextWiderY(40), 70);
  EXPECT_EQ(indents.NextWiderY(70), 70);  // nothing ends below: the same y
  EXPECT_EQ(indents.FloatBottom(), 70);
  EXPECT_EQ(indents.ClearY().Left, 41);
  EXPECT_EQ(indents.ClearY().Right, 71);
  indents.Clear();
  EXPECT_EQ(indents.FloatBottom(), 0);
  EXPECT_EQ(indents.ClearY().Left, 0);
}

}  // namespace
}  // namespace tessival::layout
