#include "widgets/splitter_layout.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tessival::widgets {

int HalfThicknessDown(int thickness) { return thickness / 2; }

int HalfThicknessToEven(int thickness) { return RoundHalfToEven(thickness / 2.0); }

int RoundHalfToEven(double value) {
  // nearbyint follows the current rounding mode, which is round-to-nearest-even.
  return static_cast<int>(std::nearbyint(value));
}

int ClampPaneSize(long long size) {
  return static_cast<int>(std::clamp<long long>(size, 0, kMaxPaneSize));
}

int SumOfFirst(const std::vector<int>& sizes, std::size_t count) {
  count = std::min(count, sizes.size());
  return std::accumulate(sizes.begin(), sizes.begin() + static_cast<std::ptrdiff_t>(count), 0);
}

std::vector<AxisSpan> PaneSpans(const std::vector<int>& sizes, int extent, int thickness) {
  std::vector<AxisSpan> spans;
  if (sizes.size() == 1) {
    spans.push_back({0, extent});
    return spans;
  }
  const int h = HalfThicknessDown(thickness);
  const int r = HalfThicknessToEven(thickness);
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    AxisSpan span;
    if (i == 0) {
      span = {0, sizes[i] - h};
    } else {
      const AxisSpan& previous = spans.back();
      const int share = i + 1 == sizes.size() ? r : thickness;
      span = {previous.start + previous.length + thickness, sizes[i] - share};
    }
    span.length = std::max(span.length, 0);  // a pane squeezed below its bar share is empty
    spans.push_back(span);
  }
  return spans;
}

void FixSum(std::vector<int>& sizes, int extent) {
  if (sizes.empty()) return;
  const int sum = SumOfFirst(sizes, sizes.size());
  sizes.back() = ClampPaneSize(static_cast<long long>(sizes.back()) + extent - sum);
}

void RescaleAll(std::vector<int>& sizes, int extent) {
  const int sum = SumOfFirst(sizes, sizes.size());
  // Panes that have no size at all cannot be scaled; fixing the sum gives the last one all.
  if (sum > 0) {
    for (int& size : sizes) size = ClampPaneSize(RoundHalfToEven(double(size) * extent / sum));
  }
  FixSum(sizes, extent);
}

void RescaleKeepingLast(std::vector<int>& sizes, int extent) {
  if (sizes.size() > 1) {
    const int others = SumOfFirst(sizes, sizes.size() - 1);
    const int room = extent - sizes.back();
    if (others > 0) {
      for (std::size_t i = 0; i + 1 < sizes.size(); ++i) {
        sizes[i] = ClampPaneSize(RoundHalfToEven(double(sizes[i]) * room / others));
      }
    }
  }
  FixSum(sizes, extent);
}

void ResizeAgainstNext(std::vector<int>& sizes, const std::vector<int>& minimums, std::size_t index,
                       int value, int thickness) {
  if (index + 1 >= sizes.size()) return;
  const int old_size = sizes[index];
  const int next_size = sizes[index + 1];
  const int lowest = minimums[index];
  const int highest = old_size + next_size - thickness - minimums[index + 1];
  if (value < lowest) {
    value = lowest;
  } else if (value > highest) {
    value = highest;
  }
  value = ClampPaneSize(value);
  sizes[index] = value;
  sizes[index + 1] = ClampPaneSize(static_cast<long long>(old_size) + next_size - value);
}

AxisSpan BarSpanAt(int position, int thickness) {
  const int h = HalfThicknessDown(thickness);
  const int r = HalfThicknessToEven(thickness);
  return {position - h, h + r + 1};
}

AxisSpan BarSpan(const std::vector<int>& sizes, std::size_t bar, int thickness) {
  return BarSpanAt(SumOfFirst(sizes, bar + 1), thickness);
}

int ClampDragPosition(const std::vector<int>& sizes, const std::vector<int>& minimums, std::size_t bar,
                      int position) {
  if (bar + 1 >= sizes.size()) return position;
  const int lowest = SumOfFirst(sizes, bar) + minimums[bar];
  const int highest = SumOfFirst(sizes, bar + 2) - minimums[bar + 1];
  // When the two minimums overlap the lower limit wins, so the bar never moves up past
  // the pane before it.
  return std::max(lowest, std::min(position, highest));
}

void ConvertSizes(std::vector<int>& sizes, int numerator, int denominator) {
  if (denominator <= 0) return;
  for (int& size : sizes) {
    size = ClampPaneSize(RoundHalfToEven(double(size) * numerator / denominator));
  }
}

}  // namespace tessival::widgets
