// Random span and width grids straight through the table code: the bytes become a grid of
// cells with column and row spans, pixel and percent widths and heights, which goes once
// through the column and row arithmetic on plain numbers and once, as a table page,
// through reading, layout at two widths, painting and hit tests on the test canvas. No
// crash, no hang, and every column width within the table limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "layout/section_list.h"
#include "layout/table_rows.h"
#include "layout/table_widths.h"
#include "platform/test_canvas.h"
#include "reader/tag_reader.h"

using namespace tessival;

namespace {

// Reads the input as a stream of small numbers; zeros once it is used up.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool More() const { return at_ < size_; }
  int Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // Mostly small values, sometimes a hostile one.
  int Number() {
    const int kind = Byte();
    if (kind < 200) return kind;
    if (kind < 240) return Byte() * 256 + Byte();
    static const int hostile[] = {0, -1, 1000, 1000000, 2147483647, -2147483647, 65535, 201};
    return hostile[kind % 8];
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

void Arithmetic(Bytes& in) {
  const int numCols = 1 + in.Byte() % 12;
  const int numRows = 1 + in.Byte() % 12;
  std::vector<layout::TColumnCell> cells;
  std::vector<layout::TRowCell> rows;
  for (int i = in.Byte() % 40; i > 0; --i) {
    layout::TColumnCell cell;
    cell.Col = in.Byte() % numCols;
    cell.Span = in.Number();
    cell.Min = in.Number();
    cell.Max = in.Number();
    cell.PixelWidth = in.Number();
    cell.Extras = in.Byte();
    cell.Percent = in.Number();
    cells.push_back(cell);
    rows.push_back({in.Byte() % numRows, in.Number(), in.Number()});
  }
  const int target = in.Number();
  const int tableWidth = in.Number();
  for (const bool plain : {false, true}) {
    const layout::TColumnRanges ranges = plain ? layout::PlainColumnRanges(cells, numCols)
                                               : layout::PercentColumnRanges(cells, numCols, tableWidth);
    for (const auto kind : {layout::TTableWidthKind::Auto, layout::TTableWidthKind::Given}) {
      for (const int width : layout::DistributeColumns(ranges, target, kind, plain))
        if (width < 0 || width > layout::kMaxTableLength) std::abort();
    }
    (void)layout::PercentTableWidth(ranges);
  }
  for (const int height : layout::RowHeights(rows, numRows, in.Number()))
    if (height < 0) std::abort();
}

std::string Attribute(Bytes& in, const char* name) {
  const int choice = in.Byte() % 6;
  if (choice == 0) return {};
  std::string value = std::to_string(in.Number());
  if (choice == 1) value += "%";
  return std::string(" ") + name + "=" + value;
}

std::string TablePage(Bytes& in) {
  std::string html = "<table" + Attribute(in, "width") + Attribute(in, "height") +
                     Attribute(in, "border") + Attribute(in, "cellpadding") +
                     Attribute(in, "cellspacing") + ">";
  int depth = 1;
  while (in.More() && html.size() < 20000) {
    switch (in.Byte() % 8) {
      case 0: html += "<tr" + Attribute(in, "height") + ">"; break;
      case 1:
      case 2:
      case 3:
        html += "<td" + Attribute(in, "colspan") + Attribute(in, "rowspan") + Attribute(in, "width") +
                Attribute(in, "height") + ">x" + std::string(in.Byte() % 20, 'w') + " y";
        break;
      case 4: html += "<caption>c</caption>"; break;
      case 5:
        if (depth < 12) {
          html += "<table" + Attribute(in, "width") + "><tr><td>";
          ++depth;
        }
        break;
      case 6:
        if (depth > 1) {
          html += "</table>";
          --depth;
        }
        break;
      default: html += "</td>"; break;
    }
  }
  return html + "</table>";
}

void Layout(const std::string& html) {
  layout::TSectionList doc;
  doc.SetFonts(html::TStyleDefaults{}, 0xFFFFFF, false);
  layout::ParseDocument(html, doc);
  platform::TestCanvas canvas(300, 200);
  for (const int width : {640, 90}) {
    int pos = 0, maxWidth = 0;
    const int height = doc.Layout(canvas, 0, pos, maxWidth, 400, width);
    doc.Paint(canvas, {0, 0, 300, 200}, 0);
    for (const int y : {0, height / 2, height - 1}) {
      std::string title;
      layout::TFormControlObj* control = nullptr;
      std::unique_ptr<html::TUrlTarget> target;
      doc.FindLink(canvas, width / 2, title, control, target, y);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 4096) return 0;
  Bytes arithmetic(data, size);
  Arithmetic(arithmetic);
  Bytes page(data, size);
  Layout(TablePage(page));
  return 0;
}
