// Tables read from HTML, laid out on the test canvas: dumps of the grid compared with the
// files in tests/layout/expected/ (table_<name>.txt), the reader's treatment of rows,
// cells and captions, the limits, and what painting draws around cells.
#include <gtest/gtest.h>

#include <string>

#include "layout/html_table.h"
#include "layout/layout_dump.h"
#include "layout/section_list.h"
#include "layout/table_block.h"
#include "reader/tag_reader.h"
#include "layout_fixture.h"
#include "platform/test_canvas.h"

namespace tessival::layout::testing {
namespace {

// 12-point text on the test canvas: 16 pixels high, 8 wide; body margins 10 and 5.
// clang-format off
const Page Pages[] = {
    {"colspan_nil", 300, "<table border=1><tr><td colspan=2>wide</td></tr><tr><td>a</td><td>b</td></tr></table>"},
    {"rowspan_cut", 300, "<table><tr><td rowspan=3>tall</td><td>a</td></tr><tr><td>b</td></tr></table>"},
    {"percent_columns", 800,
     "<table><tr><td width=50%>aaaa</td><td width=50%>aaaaaaaaaaaaaaaaaaaa</td></tr></table>"},
    {"text_before_rows", 300, "<table>before<tr><td>cell</td></tr></table>after"},
    {"implicit_row", 300, "<table><td>one<td>two</table>"},
    {"caption", 300,
     "<table border=1><caption>Results</caption><tr><th>Name<td>Value</table>"
     "<table><caption align=bottom>below</caption><tr><td>x</table>"},
    {"valign", 300,
     "<table><tr valign=bottom><td height=80>low</td><td valign=top>high</td><td valign=middle>mid</td></tr>"
     "</table>"},
    {"nested", 400,
     "<table border=1 bgcolor=#eeeeee><tr><td><table cellpadding=4><tr><td bgcolor=yellow>inner</td>"
     "</tr></table></td><td>outer</td></tr></table>"},
    {"align_center", 300, "<center><table><tr><td>mid</td></tr></table></center>"
                          "<table align=right><tr><td>float</td></tr></table>text"},
};
// clang-format on

class TableDump : public ::testing::TestWithParam<Page> {};

TEST_P(TableDump, DumpMatchesTheExpectedFile) {
  const Page& page = GetParam();
  ExpectMatchesFile(std::string("table_") + page.name, DumpOfPage(page));
}

INSTANTIATE_TEST_SUITE_P(Pages, TableDump, ::testing::ValuesIn(Pages),
                         [](const auto& info) { return std::string(info.param.name); });

// A page read and laid out, with the errors it showed.
class TablePage : public ::testing::Test {
 protected:
  int Read(std::string_view html, int width = 400) {
    doc.Clear();
    doc.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
    ParseDocument(html, doc);
    return LayOut(width);
  }
  int LayOut(int width) {
    int pos = 0, maxWidth = 0;
    return doc.Layout(canvas, 0, pos, maxWidth, 600, width);
  }
  // The tables of the page in reading order, nested ones after their own.
  std::vector<ThtmlTable*> Tables() const {
    std::vector<ThtmlTable*> found;
    std::vector<const TCellBasic*> cells = {&doc};
    while (!cells.empty()) {
      const TCellBasic* cell = cells.back();
      cells.pop_back();
      for (auto it = cell->Items().rbegin(); it != cell->Items().rend(); ++it) {
        if (auto* table = dynamic_cast<ThtmlTable*>(it->get())) {
          found.push_back(table);
          std::vector<const TCellBasic*> inner;
          table->ForEachCell([&](const TCellObj& slot) { inner.push_back(slot.Cell.get()); });
          cells.insert(cells.end(), inner.rbegin(), inner.rend());
        }
        if (const TCellBasic* child = (*it)->ChildCell()) cells.push_back(child);
      }
    }
    return found;
  }
  RecordingMessageBoxes messages;
  TSectionList doc{&messages};
  platform::TestCanvas canvas{600, 400};
};

TEST_F(TablePage, SpansBecomeARectangularGrid) {
  Read(
      "<table><tr><td colspan=2>wide</td></tr><tr><td rowspan=3>a</td><td>b</td></tr>"
      "<tr><td>c</td></tr></table>");
  const ThtmlTable& table = *Tables().at(0);
  ASSERT_EQ(table.NumCols, 2);
  EXPECT_EQ(table.Rows[0]->Cells[1], nullptr);  // beside the cell of two columns
  const TCellObj& tall = *table.Rows[1]->Cells[0];
  EXPECT_EQ(tall.RowSpan, 2);  // cut to the rows that exist
  const TCellObj& filler = *table.Rows[2]->Cells[0];
  EXPECT_TRUE(filler.IsFiller());
  EXPECT_EQ(table.Rows[2]->Cells[1]->Cell->Items().size(), 1u);  // "c" moved right of the filler
  EXPECT_EQ(tall.Height, table.Rows[1]->Height + table.Rows[2]->Height);
}

TEST_F(TablePage, APercentWidthIsOfTheAvailableWidthLessTheSpacing) {
  Read("<body marginwidth=0><table width=50%><tr><td>a</td><td>b</td></tr></table>", 600);
  const ThtmlTable& table = *Tables().at(0);
  EXPECT_EQ(table.ColWidths[0] + table.ColWidths[1], 298);
  EXPECT_EQ(table.TableWidth, 300);
}

TEST_F(TablePage, PaddingAndSpacingHaveTheirLimits) {
  Read(
      "<table cellpadding=60 cellspacing=50><tr><td>a</table>"
      "<table cellpadding=-3 cellspacing=-9><tr><td>b</table>"
      "<table border=1 cellspacing=0><tr><td>c</table>");
  const auto tables = Tables();
  EXPECT_EQ(tables.at(0)->CellPadding, 50);
  EXPECT_EQ(tables.at(0)->CellSpacing, 40);
  EXPECT_EQ(tables.at(1)->CellPadding, 0);
  EXPECT_EQ(tables.at(1)->CellSpacing, 0);
  EXPECT_EQ(tables.at(2)->CellSpacing, 2);  // a border widens the spacing by 2
}

TEST_F(TablePage, ARowSpanExcessOfSevenPixelsOverThreeRowsGoesAsTwoTwoThree) {
  // Rows of one line: 16 + padding 2 + spacing 2 = 20 each. The tall cell wants
  // 65 + spacing 2 = 67 over them: 7 more.
  Read(
      "<table><tr><td height=65 "
      "rowspan=3>x</td><td>a</td></tr><tr><td>b</td></tr><tr><td>c</td></tr></table>");
  const ThtmlTable& table = *Tables().at(0);
  EXPECT_EQ(table.Rows[0]->Height, 22);
  EXPECT_EQ(table.Rows[1]->Height, 22);
  EXPECT_EQ(table.Rows[2]->Height, 23);
}

TEST_F(TablePage, TooManyColumnsIsShownOnceAndTheRestOfThePageIsLaidOut) {
  std::string html = "<p>before</p><table><tr>";
  for (int i = 0; i < 201; ++i) html += "<td>x";
  html += "</table><p>after</p>";
  Read(html);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0], "Table has too many Columns");
  const std::string dump = DumpLayout(doc);
  EXPECT_EQ(dump.find("TableBlock"), std::string::npos);
  EXPECT_NE(dump.find("\"after\""), std::string::npos);
  LayOut(300);
  EXPECT_EQ(messages.Shown.size(), 1u);
  // Two hundred columns are still a table.
  messages.Shown.clear();
  std::string fits = "<table><tr>";
  for (int i = 0; i < 200; ++i) fits += "<td>x";
  TSectionList other{&messages};
  other.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
  ParseDocument(fits + "</table>", other);
  int pos = 0, maxWidth = 0;
  other.Layout(canvas, 0, pos, maxWidth, 600, 400);
  EXPECT_TRUE(messages.Shown.empty());
}

TEST_F(TablePage, ATooWideNestedTableGoesAloneAndItsCellStays) {
  std::string html = "<table><tr><td>kept<table><tr>";
  for (int i = 0; i < 201; ++i) html += "<td>x";
  html += "</table></td></tr></table>";
  Read(html);
  EXPECT_EQ(messages.Shown.size(), 1u);
  ASSERT_EQ(Tables().size(), 1u);
  EXPECT_NE(DumpLayout(doc).find("\"kept\""), std::string::npos);
}

TEST_F(TablePage, HostileSpansAndWidthsNeitherHangNorOverflow) {
  Read(
      "<table width=2147483648 height=2147483648><tr><td colspan=1000 rowspan=1000 "
      "width=4294967295>x</td></tr>"
      "</table><table><tr><td rowspan=1000000>y</td></tr><tr><td>z</td></tr></table>"
      "<table width=99999999999><tr><td width=2147483647>w</td><td>v</td></tr></table>");
  EXPECT_EQ(messages.Shown.size(), 1u);  // the first: a thousand columns
  const auto tables = Tables();
  ASSERT_EQ(tables.size(), 2u);
  EXPECT_EQ(tables[0]->Rows[0]->Cells[0]->RowSpan, 2);
  EXPECT_LE(tables[1]->OverallWidth, kMaxTableLength);
  EXPECT_GE(tables[1]->ColWidths[1], 0);
}

std::string Nested(int depth) {
  std::string html;
  for (int i = 0; i < depth; ++i) html += "<table border=1><tr><td>" + std::to_string(i);
  for (int i = 0; i < depth; ++i) html += "</td></tr></table>";
  return html;
}

TEST_F(TablePage, TablesNestTenDeepAndTheEleventhIsReadAsItsContent) {
  Read(Nested(10));
  EXPECT_EQ(Tables().size(), 10u);
  Read(Nested(11));
  const auto tables = Tables();
  ASSERT_EQ(tables.size(), 10u);
  // The eleventh table's text is in the tenth table's content.
  EXPECT_NE(DumpLayout(doc).find("\"10\""), std::string::npos);
}

TEST_F(TablePage, AVeryDeepNestReadsWithoutExhaustingTheStack) {
  Read(Nested(20000) + "<p>after</p>");
  EXPECT_EQ(Tables().size(), 10u);
  EXPECT_NE(DumpLayout(doc).find("\"after\""), std::string::npos);
}

TEST_F(TablePage, ACellEndsAnOpenCenterAndFontElements) {
  Read("<table><tr><td><center><font color=red><b>one<td>two</table>");
  const ThtmlTable& table = *Tables().at(0);
  ASSERT_EQ(table.Rows.at(0)->Cells.size(), 2u);
  const auto* second = dynamic_cast<const TSection*>(table.Rows[0]->Cells[1]->Cell->Items().at(0).get());
  ASSERT_NE(second, nullptr);
  EXPECT_FALSE(second->Fonts()[0].Font.Style & html::fsBold);
  EXPECT_EQ(second->Fonts()[0].Font.Color & 0xFFFFFF, 0u);
}

TEST_F(TablePage, PointsFindTheLinkInTheCellUnderThem) {
  Read("<table><tr><td>left</td><td><a href=target.htm>link</a></td></tr></table>");
  doc.Paint(canvas, {0, 0, 600, 400}, 0);
  const ThtmlTable& table = *Tables().at(0);
  const TCellObj& cell = *table.Rows[0]->Cells[1];
  const int x = table.PaintX + table.TableX + table.ColStarts[1] + table.CellSpacing + cell.PadLeft + 2;
  const int y = cell.Top + cell.Height / 2;
  std::string title;
  TFormControlObj* control = nullptr;
  std::unique_ptr<html::TUrlTarget> target;
  EXPECT_EQ(doc.FindLink(canvas, x, title, control, target, y), flLink);
  ASSERT_NE(target, nullptr);
  EXPECT_EQ(target->Url(), "target.htm");
  EXPECT_EQ(doc.FindLink(canvas, table.PaintX + table.ColStarts[0] + 4, title, control, target, y), 0);
}

TEST_F(TablePage, EmptyCellsOfABorderedTableGetNoFrame) {
  Read("<body bgcolor=#ffffff><table border=1><tr><td>full</td><td></td></tr></table>");
  doc.Paint(canvas, {0, 0, 600, 400}, 0);
  const ThtmlTable& table = *Tables().at(0);
  const auto frameTopLeft = [&](int c) {
    const TCellObj& cell = *table.Rows[0]->Cells[c];
    return canvas.PixelAt(table.PaintX + table.ColStarts[c] + table.CellSpacing - 1 + 3,
                          cell.Top + table.CellSpacing - 1);
  };
  EXPECT_NE(frameTopLeft(0) & 0xFFFFFF, 0xFFFFFFu);  // the sunken frame's dark edge
  EXPECT_EQ(frameTopLeft(1) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(TablePage, TheBorderColourFillsTheSpacingAndCellColoursTheirBoxes) {
  Read(
      "<body bgcolor=#ffffff><table bordercolor=#ff0000 cellspacing=4 bgcolor=#00ff00>"
      "<tr><td>a</td><td bgcolor=#0000ff>b</td></tr></table>");
  doc.Paint(canvas, {0, 0, 600, 400}, 0);
  const ThtmlTable& table = *Tables().at(0);
  const TCellObj& first = *table.Rows[0]->Cells[0];
  const int left = table.PaintX + table.TableX;
  const int y = first.Top + first.Height / 2;
  // Right edges of the cells: their text stands at the left.
  EXPECT_EQ(canvas.PixelAt(left + 1, y) & 0xFFFFFF, 0x0000FFu);  // red in the spacing (BGR)
  EXPECT_EQ(canvas.PixelAt(left + table.ColStarts[1] - 1, y) & 0xFFFFFF,
            0x00FF00u);  // the table's green
  EXPECT_EQ(canvas.PixelAt(left + table.ColStarts[2] - 1, y) & 0xFFFFFF,
            0xFF0000u);  // the cell's own blue
}

}  // namespace
}  // namespace tessival::layout::testing

namespace tessival::layout::testing {
namespace {

TEST_F(TablePage, PrintingEndsThePageBeforeARowThatWouldBeSplit) {
  // Ten rows of 20 pixels from y 5; a page 170 high ends inside the ninth row (y 165 to
  // 185), which starts below two thirds of the page: the page ends at its top instead.
  std::string html = "<table>";
  for (int i = 0; i < 10; ++i) html += "<tr><td>row</td></tr>";
  Read(html + "</table><p>after</p>");
  doc.Printing = true;
  doc.Paint(canvas, {0, 0, 600, 170}, 0);
  const ThtmlTable& table = *Tables().at(0);
  EXPECT_EQ(doc.PageBottom, table.Rows[8]->Top + table.CellSpacing / 2);
  // A page-break-before on a row ends the page there.
  Read("<table><tr><td>a</td></tr><tr style='page-break-before: always'><td>b</td></tr></table>");
  doc.Printing = true;
  doc.Paint(canvas, {0, 0, 600, 300}, 0);
  EXPECT_EQ(doc.PageBottom, Tables().at(0)->Rows[1]->Top + 1);
}

}  // namespace
}  // namespace tessival::layout::testing

namespace tessival::layout::testing {
namespace {

TEST_F(TablePage, AWideCaptionCentresTheGridUnderIt) {
  Read("<table><caption>a caption much wider than the grid</caption><tr><td>x</td></tr></table>");
  const ThtmlTable& table = *Tables().at(0);
  EXPECT_EQ(table.OverallWidth, table.CaptionMin);
  EXPECT_EQ(table.TableX, (table.OverallWidth - table.TableWidth) / 2);
  EXPECT_EQ(table.GridTop, table.Top + table.CaptionHeight);
}

TEST_F(TablePage, AnExplicitHeightStretchesTheRows) {
  Read("<table height=200><tr><td>a</td></tr><tr><td>b</td></tr></table>");
  const ThtmlTable& table = *Tables().at(0);
  EXPECT_EQ(table.TableHeight, 200);
  EXPECT_EQ(table.Rows[0]->Height + table.Rows[1]->Height, 198);
}

TEST_F(TablePage, NowrapKeepsACellsTextOnOneLineUnlessTheCellHasAPixelWidth) {
  Read(
      "<table width=50><tr><td nowrap>one two three</td></tr></table>"
      "<table width=50><tr><td nowrap width=40>one two three</td></tr></table>");
  const auto tables = Tables();
  EXPECT_GE(tables.at(0)->ColWidths[0], 13 * 8);  // the whole line
  EXPECT_LT(tables.at(1)->ColWidths[0], 13 * 8);  // breaks between the words
}

TEST_F(TablePage, HeaderCellsAreCentredAndDataCellsLeftByDefault) {
  Read(
      "<table width=300><tr><th>head</th></tr><tr><td>data</td></tr><tr><td "
      "align=right>r</td></tr></table>");
  const ThtmlTable& table = *Tables().at(0);
  const auto lineX = [&](int r) {
    const auto* text = dynamic_cast<const TSection*>(table.Rows[r]->Cells[0]->Cell->Items().at(0).get());
    return text->Lines().at(0).TextOffset;
  };
  EXPECT_GT(lineX(0), 0);
  EXPECT_EQ(lineX(1), 0);
  EXPECT_GT(lineX(2), lineX(0));
}

TEST_F(TablePage, ATableStartsBesideALeftFloat) {
  Read("<table align=left><tr><td>floating</td></tr></table><table><tr><td>beside</td></tr></table>");
  const auto tables = Tables();
  ASSERT_EQ(tables.size(), 2u);
  EXPECT_GE(tables[1]->ContentLeft, tables[0]->ContentLeft + tables[0]->OverallWidth);
}

TEST_F(TablePage, ALinkOpenBeforeATableEndsThere) {
  Read("<a href=x.htm>link<table><tr><td>cell</td></tr></table>");
  const ThtmlTable& table = *Tables().at(0);
  const auto* text = dynamic_cast<const TSection*>(table.Rows[0]->Cells[0]->Cell->Items().at(0).get());
  ASSERT_NE(text, nullptr);
  EXPECT_FALSE(text->Fonts()[0].IsLinkRun());
}

TEST_F(TablePage, APrintingCopyKeepsTheGrid) {
  Read(
      "<table border=1><caption>c</caption><tr><td "
      "colspan=2>a</td></tr><tr><td>b</td><td>c</td></tr></table>");
  TSectionList copy{&messages};
  copy.IsCopy = true;
  copy.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
  auto block = doc.Items().at(0)->Clone(&copy);
  const auto& body = dynamic_cast<const TBlock&>(*block);
  const auto& tableBlock = dynamic_cast<const TTableBlock&>(*body.ContentCell->Items().at(0));
  ASSERT_NE(tableBlock.Table, nullptr);
  EXPECT_EQ(tableBlock.Table->Rows.size(), 2u);
  EXPECT_EQ(tableBlock.Table->NumCols, 2);
  EXPECT_TRUE(tableBlock.Table->Border);
  ASSERT_NE(tableBlock.Table->Caption, nullptr);
  EXPECT_EQ(tableBlock.Table->Rows[1]->Cells[1]->Cell->Items().size(), 1u);
}

}  // namespace
}  // namespace tessival::layout::testing
