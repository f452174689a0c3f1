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
// In line text a line break shows as "\n", a space that may not break as "~" and bytes
// outside printable ASCII as "\xNN".
#include <string>

namespace tessival::layout {

class TSectionList;
class TCellBasic;
class ThtmlTable;

std::string DumpLayout(const TSectionList& document);
std::string DumpCell(const TCellBasic& cell, int depth);
// A table's grid: column widths, row heights, and each cell with its content.
void DumpTable(std::string& out, const ThtmlTable& table, int depth);

}  // namespace tessival::layout
