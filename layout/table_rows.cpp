#include "layout/table_rows.h"

#include <algorithm>
#include <cstdint>

#include "layout/table_widths.h"

namespace tessival::layout {

std::vector<int> RowHeights(const std::vector<TRowCell>& cells, int numRows, int tableHeight) {
  std::vector<int> heights(static_cast<std::size_t>(std::max(numRows, 0)), 0);
  if (numRows <= 0) return heights;
  // Cells by span, so that each pass visits only its own cells.
  std::vector<std::vector<const TRowCell*>> bySpan(static_cast<std::size_t>(numRows) + 1);
  for (const TRowCell& cell : cells) {
    if (cell.Row < 0 || cell.Row >= numRows || cell.Span < 1) continue;
    bySpan[std::min(cell.Span, numRows - cell.Row)].push_back(&cell);
  }
  for (const TRowCell* cell : bySpan[1])
    heights[cell->Row] = std::max(heights[cell->Row], std::clamp(cell->Height, 0, kMaxTableLength));
  for (int span = 2; span <= numRows; ++span) {
    for (const TRowCell* cell : bySpan[span]) {
      std::int64_t covered = 0;
      for (int r = cell->Row; r < cell->Row + span; ++r) covered += heights[r];
      const std::int64_t missing = std::clamp(cell->Height, 0, kMaxTableLength) - covered;
      if (missing <= 0) continue;
      // Equal parts, the remainder to the last row: 7 over 3 rows is 2, 2 and 3.
      const int part = static_cast<int>(missing / span);
      for (int r = cell->Row; r < cell->Row + span; ++r) heights[r] += part;
      heights[cell->Row + span - 1] += static_cast<int>(missing - std::int64_t{part} * span);
    }
  }
  std::int64_t total = 0;
  for (int h : heights) total += h;
  const std::int64_t missing = std::int64_t{std::min(tableHeight, kMaxTableLength)} - total;
  if (missing > 0) {
    const int part = static_cast<int>(missing / numRows);
    for (int r = 0; r + 1 < numRows; ++r) heights[r] += part;
    heights[numRows - 1] += static_cast<int>(missing - std::int64_t{part} * (numRows - 1));
  }
  return heights;
}

}  // namespace tessival::layout
