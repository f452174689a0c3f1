#pragma once
// Column widths of a table grid, apart from any document so that the arithmetic can be
// checked (and fuzzed) on plain numbers: the minimum and maximum width of every column from
// the cells that cover it, and the distribution of a target width over the columns.
//
// Widths are pixels, percents per mille. Every sum is taken in 64 bits and every result is
// held within kMaxTableLength, so hostile WIDTH values cannot overflow anything.
#include <cstdint>
#include <vector>

namespace tessival::layout {

// The largest width a table, a column or a cell may ask for; a page that asks for more
// gets this.
constexpr int kMaxTableLength = 100000;
// Per mille for the whole width.
constexpr int kWholePercent = 1000;

// One cell of the grid as the width computation sees it.
struct TColumnCell {
  int Col = 0;         // the first column it covers
  int Span = 1;        // columns covered
  int Min = 0;         // content minimum plus spacing and the cell's own extras
  int Max = 0;         // content maximum plus the same
  int PixelWidth = 0;  // WIDTH in pixels, 0 when none
  int Extras = 0;      // spacing plus the cell's left and right padding and borders
  int Percent = 0;     // WIDTH per mille, 0 when none
};

struct TColumnRanges {
  std::vector<int> Min;
  std::vector<int> Max;
  std::vector<int> Percent;  // per mille; all 0 for the plain passes
  int MinTotal = 0;
  int MaxTotal = 0;

  int PercentSum() const;
  void Recount();
};

// The column ranges without percent handling (used when some cell has a pixel width and
// the table has none).
TColumnRanges PlainColumnRanges(const std::vector<TColumnCell>& cells, int numCols);
// The column ranges with percents; a cell's pixel width counts as a percent of
// `tableWidth` when that is above 0.
TColumnRanges PercentColumnRanges(const std::vector<TColumnCell>& cells, int numCols, int tableWidth);

// The width a table of percent columns needs so that every column gets its maximum at its
// percentage, or 0 when the percents do not call for one (none, or more than the whole).
int PercentTableWidth(const TColumnRanges& ranges);

enum class TTableWidthKind { Auto, Given };

// The column widths for the target width `target` (the table width less the spacing).
// `ranges` are the percent-aware ranges unless `plain` is set.
std::vector<int> DistributeColumns(TColumnRanges ranges, int target, TTableWidthKind kind, bool plain);

// `total` spread over the entries in proportion to `weights` (equally when they sum to 0);
// the rounding remainder goes to the last entry. The result sums to `total` exactly.
std::vector<int> SpreadByWeight(const std::vector<std::int64_t>& weights, int total);

}  // namespace tessival::layout
