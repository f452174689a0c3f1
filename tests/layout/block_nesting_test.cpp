// Deeply nested blocks and lists: read, laid out, painted, dumped, hit-tested and freed
// without running out of stack, and nesting beyond the reader's limit read flat.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "layout/block.h"
#include "layout/layout_dump.h"
#include "layout/section_list.h"
#include "platform/test_canvas.h"
#include "reader/tag_reader.h"

namespace tessival::layout::testing {
namespace {

std::string Nested(int depth, std::string_view open, std::string_view close, std::string_view middle) {
  std::string html;
  for (int i = 0; i < depth; ++i) html += open;
  html += middle;
  for (int i = 0; i < depth; ++i) html += close;
  return html;
}

// Levels of blocks on the path to the first text.
int BlockDepth(const TSectionList& doc) {
  int depth = 0;
  const TCellBasic* cell = &doc;
  while (cell && !cell->Empty()) {
    const TSectionBase* first = cell->Items().front().get();
    if (!first->ChildCell()) break;
    ++depth;
    cell = first->ChildCell();
  }
  return depth;
}

// Everything that walks the tree, once.
void Exercise(std::string_view html, TSectionList& doc) {
  doc.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
  ParseDocument(html, doc);
  platform::TestCanvas canvas(300, 100);
  int pos = 0, maxWidth = 0;
  const int height = doc.Layout(canvas, 0, pos, maxWidth, 600, 300);
  EXPECT_GT(height, 0);
  doc.Paint(canvas, {0, 0, 300, 100}, 0);
  EXPECT_FALSE(DumpLayout(doc).empty());
  std::string title;
  TFormControlObj* control = nullptr;
  std::unique_ptr<html::TUrlTarget> target;
  doc.FindLink(canvas, 150, title, control, target, 20);
  bool inside = false;
  int lineHeight = 0, lineTop = 0, charX = 0;
  doc.PositionAtPoint(canvas, 150, 20, inside, lineHeight, lineTop, charX);
}

TEST(DeepNesting, AThousandNestedDivsAreBuiltAndWalkedToTheText) {
  auto doc = std::make_unique<TSectionList>();
  Exercise(Nested(1000, "<div style='margin-left:0'>", "</div>", "innen"), *doc);
  EXPECT_EQ(BlockDepth(*doc), 1001);  // the body and every DIV
  doc.reset();                        // freeing walks the same depth
}

TEST(DeepNesting, AThousandNestedListsAreBuiltAndWalked) {
  auto doc = std::make_unique<TSectionList>();
  Exercise(Nested(1000, "<ul style='margin-left:0'><li>", "</ul>", "innen"), *doc);
  EXPECT_GT(BlockDepth(*doc), 1000);
  doc.reset();
}

TEST(DeepNesting, NestingPastTheLimitIsReadFlat) {
  auto doc = std::make_unique<TSectionList>();
  Exercise(Nested(5000, "<div>", "</div>", "innen") + Nested(5000, "<ol><li>", "</ol>", "x"), *doc);
  EXPECT_LE(BlockDepth(*doc), 1501);
  doc.reset();
}

}  // namespace
}  // namespace tessival::layout::testing
