// The dump of a table: its grid with the column widths, every row with its height and
// every cell with its box and span, each followed by the cell's content (whose x values
// are relative to the cell's content box).
#include <cstdio>
#include <string>

#include "layout/html_table.h"
#include "layout/layout_dump.h"

namespace tessival::layout {
namespace {

std::string Format(const char* format, auto... values) {
  char buffer[200];
  std::snprintf(buffer, sizeof buffer, format, values...);
  return buffer;
}

void Indent(std::string& out, int depth) { out.append(2 * static_cast<std::size_t>(depth), ' '); }

const char* VAlignName(int valign) {
  if (valign == cvTop) return "top";
  if (valign == cvMiddle) return "middle";
  return "bottom";
}

void DumpGridCell(std::string& out, const ThtmlTable& table, const TCellObj& cell, int row, int col,
                  int depth, platform::Canvas* canvas) {
  Indent(out, depth);
  out += Format("cell %d,%d x=%d y=%d w=%d h=%d", row, col, table.TableX + table.ColStarts[col],
                cell.Top, cell.Width, cell.Height);
  if (cell.ColSpan > 1 || cell.RowSpan > 1) out += Format(" span=%dx%d", cell.ColSpan, cell.RowSpan);
  out += Format(" %s", VAlignName(cell.VAlign));
  if (cell.VAlignOffset) out += Format(" offset=%d", cell.VAlignOffset);
  if (cell.HasBackground) out += Format(" bg=%06X", cell.BackgroundColor & 0xFFFFFF);
  if (cell.Cell->Empty()) out += " empty";
  out += '\n';
  out += DumpCell(*cell.Cell, depth + 1, canvas);
}

}  // namespace

void DumpTable(std::string& out, const ThtmlTable& table, int depth, platform::Canvas* canvas) {
  Indent(out, depth);
  out += Format("Table x=%d y=%d w=%d h=%d cols=%d spacing=%d padding=%d", table.ContentLeft, table.Top,
                table.OverallWidth, table.SectionHeight, table.NumCols, table.CellSpacing,
                table.CellPadding);
  if (table.Border) out += " border";
  out += " widths=";
  for (std::size_t c = 0; c < table.ColWidths.size(); ++c)
    out += (c ? "," : "") + std::to_string(table.ColWidths[c]);
  out += '\n';
  if (table.Caption && table.CaptionOnTop) {
    Indent(out, depth + 1);
    out += Format("caption y=%d h=%d\n", table.Caption->Top, table.CaptionHeight);
    out += DumpCell(*table.Caption->Cell, depth + 2, canvas);
  }
  for (std::size_t r = 0; r < table.Rows.size(); ++r) {
    const TCellList& row = *table.Rows[r];
    Indent(out, depth + 1);
    out += Format("row %d y=%d h=%d\n", static_cast<int>(r), row.Top, row.Height);
    for (std::size_t c = 0; c < row.Cells.size(); ++c) {
      const TCellObj* cell = row.Cells[c].get();
      if (cell && !cell->IsFiller())
        DumpGridCell(out, table, *cell, static_cast<int>(r), static_cast<int>(c), depth + 2, canvas);
    }
  }
  if (table.Caption && !table.CaptionOnTop) {
    Indent(out, depth + 1);
    out += Format("caption y=%d h=%d\n", table.Caption->Top, table.CaptionHeight);
    out += DumpCell(*table.Caption->Cell, depth + 2, canvas);
  }
}

}  // namespace tessival::layout
