#pragma once
// The arithmetic of the splitter, kept apart from the widgets so it can be checked on its
// own: pane sizes along the axis, where panes and bars go, rescaling and the drag limits.
//
// A pane's size includes its share of the neighbouring bars: the first pane gives up H
// pixels (half the thickness rounded down) to the bar after it, a middle pane a whole
// thickness, the last pane R (half the thickness rounded half to even).
#include <cstddef>
#include <vector>

namespace tessival::widgets {

// Pane sizes are 16-bit values; every computed size is kept inside that range.
constexpr int kMaxPaneSize = 65535;

// One stretch along the splitter's axis: [start, start + length).
struct AxisSpan {
  int start = 0;
  int length = 0;
  bool operator==(const AxisSpan&) const = default;
};

int HalfThicknessDown(int thickness);
int HalfThicknessToEven(int thickness);

// Rounds half to even, the rounding every rescaling uses.
int RoundHalfToEven(double value);

int ClampPaneSize(long long size);

// Sum of sizes[0 .. count - 1].
int SumOfFirst(const std::vector<int>& sizes, std::size_t count);

// Where each pane lies along the axis. One pane fills the extent.
std::vector<AxisSpan> PaneSpans(const std::vector<int>& sizes, int extent, int thickness);

// Adds the difference between extent and the sum of the sizes to the last pane.
void FixSum(std::vector<int>& sizes, int extent);

// Every size times extent / sum, rounded; then the sum is fixed.
void RescaleAll(std::vector<int>& sizes, int extent);

// The extent less the last pane's size shared among the others in proportion to their
// sizes; then the sum is fixed.
void RescaleKeepingLast(std::vector<int>& sizes, int extent);

// Sets sizes[index] to value taking the difference from the next pane, within the range
// [minimum of the pane, old size + next size - thickness - minimum of the next pane].
// The last pane (and a lone pane) keeps its size; the caller fixes the sum afterwards.
void ResizeAgainstNext(std::vector<int>& sizes, const std::vector<int>& minimums, std::size_t index,
                       int value, int thickness);

// The bar after pane `bar` spans [p - H, p + R + 1) where p is the sum of panes 0..bar.
AxisSpan BarSpanAt(int position, int thickness);
AxisSpan BarSpan(const std::vector<int>& sizes, std::size_t bar, int thickness);

// The range a drag of bar `bar` may move in: from the start of pane `bar` plus its minimum
// to the end of pane `bar + 1` less its minimum.
int ClampDragPosition(const std::vector<int>& sizes, const std::vector<int>& minimums, std::size_t bar,
                      int position);

// Each size converted to the other axis: size * numerator / denominator, rounded.
void ConvertSizes(std::vector<int>& sizes, int numerator, int denominator);

}  // namespace tessival::widgets
