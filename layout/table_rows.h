#pragma once
// Row heights of a table grid, apart from any document: every row is as tall as its
// tallest single-row cell, cells that span rows stretch the rows they cover, and an
// explicit table height stretches them all.
#include <vector>

namespace tessival::layout {

struct TRowCell {
  int Row = 0;     // the first row it covers
  int Span = 1;    // rows covered
  int Height = 0;  // the height it needs, spacing included
};

// `tableHeight` is the height asked of the rows together (0 for none).
std::vector<int> RowHeights(const std::vector<TRowCell>& cells, int numRows, int tableHeight);

}  // namespace tessival::layout
