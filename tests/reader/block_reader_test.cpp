// What the tag reader makes of lists, rules, preformatted text and page breaks, and how
// the printing copy, titles and page breaks of blocks behave.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "layout/block_li.h"
#include "layout/horz_line.h"
#include "layout/layout_dump.h"
#include "layout/preformatted.h"
#include "layout/section_list.h"
#include "platform/test_canvas.h"
#include "reader/tag_reader.h"

namespace tessival::layout::testing {
namespace {

class ReadPage : public ::testing::Test {
 protected:
  void Read(std::string_view html, int width = 300) {
    doc.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
    ParseDocument(html, doc);
    int pos = 0, maxWidth = 0;
    height = doc.Layout(canvas, 0, pos, maxWidth, 600, width);
  }
  const TCellBasic& BodyCell() const { return *doc.Items().front()->ChildCell(); }
  template <typename T>
  const T* First(const TCellBasic& cell) const {
    for (const auto& section : cell.Items())
      if (const auto* found = dynamic_cast<const T*>(section.get())) return found;
    return nullptr;
  }

  TSectionList doc;
  platform::TestCanvas canvas{300, 200};
  int height = 0;
};

TEST_F(ReadPage, AnItemEndsAtTheNextItemAndAtARuleAndAListEndsItsItems) {
  Read("<ul><li>a<li>b<hr>c</ul>d");
  const auto* list = First<TBlock>(BodyCell());
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->ContentCell->Items().size(), 4u);  // two items, the rule, the text
  EXPECT_NE(dynamic_cast<const TBlockLI*>(list->ContentCell->Items()[1].get()), nullptr);
  EXPECT_NE(dynamic_cast<const THRBlock*>(list->ContentCell->Items()[2].get()), nullptr);
  EXPECT_TRUE(list->IsListContainer);
}

TEST_F(ReadPage, BlocksGivingTheSameBoxShareItAndALooseItemsIndentStaysItsOwn) {
  Read("<div>a</div><div>b</div><p>one<p>two<p style='margin-left:7px'>three<li>loose");
  std::vector<const TBlock*> blocks;
  for (const auto& section : BodyCell().Items())
    if (const auto* block = dynamic_cast<const TBlock*>(section.get())) blocks.push_back(block);
  ASSERT_EQ(blocks.size(), 6u);
  EXPECT_EQ(blocks[0]->Given, blocks[1]->Given);
  EXPECT_EQ(blocks[2]->Given, blocks[3]->Given);
  EXPECT_NE(blocks[3]->Given, blocks[4]->Given);
  // The item indents itself without moving the blocks that gave what it gave.
  EXPECT_GT(blocks[5]->MarginLeft, 0);
  EXPECT_EQ(blocks[0]->MarginLeft, 0);
  EXPECT_EQ(blocks[1]->MarginLeft, 0);
  EXPECT_EQ(blocks[4]->MarginLeft, 7);
}

TEST_F(ReadPage, ARuleWritesItsSizeAndWidthIntoTheBoxAndAStyleWinsOverItsColour) {
  Read("<hr size=5 width=40 style='color:#00ff00' color=red>");
  const auto* rule = First<THRBlock>(BodyCell());
  ASSERT_NE(rule, nullptr);
  EXPECT_EQ(rule->Box.BoxHeight, 5);
  EXPECT_EQ(rule->ContentWidth, 40);
  EXPECT_EQ(rule->Line->RuleColor & 0xFFFFFF, 0x00FF00u);
}

TEST_F(ReadPage, EachPreformattedLineIsASectionAndAPageBreakTakesNoRoom) {
  Read("<pre>a\n\nb<page>c</pre>");
  const auto* pre = First<TBlock>(BodyCell());
  ASSERT_NE(pre, nullptr);
  std::string kinds;
  for (const auto& section : pre->ContentCell->Items()) kinds += std::string(section->KindName()) + " ";
  EXPECT_EQ(kinds, "Pre Pre Pre Page Pre ");
}

TEST_F(ReadPage, ThePrintingCopyKeepsEmptyPreformattedLinesAndListItems) {
  Read("<pre>a\n\nb</pre><ol><li>x</ol>");
  TSectionList copy(nullptr, true);
  copy.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
  copy.AddSection(doc.Items().front()->Clone(&copy));
  int pos = 0, maxWidth = 0;
  const int copyHeight = copy.Layout(canvas, 0, pos, maxWidth, 600, 300);
  EXPECT_EQ(copyHeight, height);
  EXPECT_EQ(DumpLayout(copy), DumpLayout(doc));
}

TEST_F(ReadPage, ABlockReportsItsTitleInsideItsBorderBoxOnly) {
  Read("<div title='Kasten' style='width:50px;height:20px'>x</div>");
  doc.Paint(canvas, {0, 0, 300, 200}, 0);
  std::string title;
  TFormControlObj* control = nullptr;
  std::unique_ptr<html::TUrlTarget> target;
  EXPECT_EQ(doc.FindLink(canvas, 20, title, control, target, 10) & flTitle, flTitle);
  EXPECT_EQ(title, "Kasten");
  title.clear();
  EXPECT_EQ(doc.FindLink(canvas, 100, title, control, target, 10) & flTitle, 0);
}

TEST_F(ReadPage, PrintingEndsThePageBeforeABlockThatAsksForIt) {
  Read("<p>eins</p><div style='page-break-before:always'>zwei</div>");
  doc.Printing = true;
  doc.Paint(canvas, {0, 0, 300, 200}, 0);
  EXPECT_EQ(doc.PageBottom, 35 + 14);  // where the second block starts below its margin
}

}  // namespace
}  // namespace tessival::layout::testing
