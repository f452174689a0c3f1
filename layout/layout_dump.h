#pragma once
// A text picture of a laid-out document, for tests and the render tool: one line per
// section, indented by depth, with its kind and box; a text section adds one line per
// text line with its position, baseline and text.
//
//   Body x=10 y=0 w=780 h=63
//     Block p x=10 y=5 w=780 h=30 mt=14 mb=14
//       Text x=10 y=19 w=780 h=16
//         line 0 x=10 y=19 w=80 h=16 base=31 "Hallo Welt"
//
// Inline pictures and panels follow their section's lines, one line each: the box without
// its spaces (x, y, width and height, the link border included), the alignment, then
// spaces and the link border where there are any. A floating object's x is relative to its
// cell; an inline object's x is measured only when the dump is given the layout's canvas.
//
//       Image x=90 y=19 w=40 h=20 align=bottom hspace=2,2 border=1
//
// In line text a line break shows as "\n", a space that may not break as "~" and bytes
// outside printable ASCII as "\xNN".
#include <string>

namespace tessival::platform {
class Canvas;
}

namespace tessival::layout {

class TSectionList;
class TCellBasic;
class ThtmlTable;

std::string DumpLayout(const TSectionList& document, platform::Canvas* canvas = nullptr);
std::string DumpCell(const TCellBasic& cell, int depth, platform::Canvas* canvas = nullptr);
// A table's grid: column widths, row heights, and each cell with its content.
void DumpTable(std::string& out, const ThtmlTable& table, int depth, platform::Canvas* canvas);

}  // namespace tessival::layout
