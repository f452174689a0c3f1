#include "layout/table_widths.h"

#include <algorithm>

namespace tessival::layout {
namespace {

int Held(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, 0, kMaxTableLength));
}

std::int64_t SumOf(const std::vector<int>& values, int first, int count) {
  std::int64_t sum = 0;
  for (int c = first; c < first + count; ++c) sum += values[c];
  return sum;
}

// A share of a width by per mille.
int PerMille(std::int64_t width, std::int64_t percent) { return Held(width * percent / kWholePercent); }

// The cells grouped by span, so that the passes visit each cell once.
std::vector<std::vector<const TColumnCell*>> BySpan(const std::vector<TColumnCell>& cells, int numCols) {
  std::vector<std::vector<const TColumnCell*>> groups(static_cast<std::size_t>(numCols) + 1);
  for (const TColumnCell& cell : cells) {
    if (cell.Span < 1 || cell.Col < 0 || cell.Col >= numCols || cell.Span > numCols - cell.Col) continue;
    groups[cell.Span].push_back(&cell);
  }
  return groups;
}

// Adds `excess` to the columns [first, first + count) in proportion to `weightOf(column)`.
template <typename Weight>
void AddSpread(std::vector<int>& target, int first, int count, int excess, Weight weightOf) {
  std::vector<std::int64_t> weights(count);
  for (int i = 0; i < count; ++i) weights[i] = weightOf(first + i);
  const std::vector<int> shares = SpreadByWeight(weights, excess);
  for (int i = 0; i < count; ++i) target[first + i] = Held(std::int64_t{target[first + i]} + shares[i]);
}

TColumnRanges EmptyRanges(int numCols) {
  TColumnRanges ranges;
  ranges.Min.assign(numCols, 0);
  ranges.Max.assign(numCols, 0);
  ranges.Percent.assign(numCols, 0);
  return ranges;
}

// A single column's cells: the largest minimum and maximum; a pixel width raises the maximum.
void SingleColumnPass(TColumnRanges& ranges, const std::vector<const TColumnCell*>& cells) {
  for (const TColumnCell* cell : cells) {
    const int c = cell->Col;
    int max = cell->Max;
    if (cell->PixelWidth > 0 && cell->Percent == 0)
      max = std::max(cell->Min, Held(std::int64_t{cell->PixelWidth} + cell->Extras));
    ranges.Min[c] = std::max(ranges.Min[c], Held(cell->Min));
    ranges.Max[c] = std::max(ranges.Max[c], Held(max));
  }
}

int PercentOf(const TColumnCell& cell, int tableWidth) {
  if (cell.Percent > 0) return std::min(cell.Percent, kWholePercent);
  if (cell.PixelWidth > 0 && tableWidth > 0)
    return static_cast<int>(std::min<std::int64_t>(kWholePercent, std::int64_t{cell.PixelWidth} *
                                                                      kWholePercent / tableWidth));
  return 0;
}

// A spanning cell's excess over its columns, shared by their own widths (equally when
// they have none).
void SpreadPlainExcess(TColumnRanges& ranges, const TColumnCell& cell, int min, int max) {
  const int first = cell.Col, count = cell.Span;
  const std::int64_t minSum = SumOf(ranges.Min, first, count);
  if (min > minSum) {
    if (minSum == 0) ranges.Min[first] = Held(ranges.Min[first] + min - minSum);
    else AddSpread(ranges.Min, first, count, Held(min - minSum), [&](int c) { return ranges.Min[c]; });
  }
  const std::int64_t maxSum = SumOf(ranges.Max, first, count);
  if (max > maxSum) {
    if (maxSum == 0) ranges.Max[first] = Held(ranges.Max[first] + max - maxSum);
    else AddSpread(ranges.Max, first, count, Held(max - maxSum), [&](int c) { return ranges.Max[c]; });
  }
}

void SpanningPercentCell(TColumnRanges& ranges, const TColumnCell& cell, int percent) {
  const int first = cell.Col, count = cell.Span;
  int withoutPercent = 0;
  std::int64_t percentSum = 0;
  for (int c = first; c < first + count; ++c) {
    if (ranges.Percent[c] == 0) ++withoutPercent;
    percentSum += ranges.Percent[c];
  }
  const std::int64_t minExcess = cell.Min - SumOf(ranges.Min, first, count);
  const std::int64_t maxExcess = cell.Max - SumOf(ranges.Max, first, count);
  if (percent == 0 && percentSum == 0) {
    // No percent anywhere: by the columns' own widths, equally when they have none.
    if (minExcess > 0)
      AddSpread(ranges.Min, first, count, Held(minExcess), [&](int c) { return ranges.Min[c]; });
    if (maxExcess > 0)
      AddSpread(ranges.Max, first, count, Held(maxExcess), [&](int c) { return ranges.Max[c]; });
    return;
  }
  std::vector<bool> hadPercent(count);
  for (int i = 0; i < count; ++i) hadPercent[i] = ranges.Percent[first + i] > 0;
  if (withoutPercent > 0) {
    const int each = static_cast<int>(
        std::max<std::int64_t>(0, (percent - percentSum) / withoutPercent));
    for (int c = first; c < first + count; ++c)
      if (ranges.Percent[c] == 0) ranges.Percent[c] = each;
  } else if (percentSum < percent) {
    for (int c = first; c < first + count; ++c)
      ranges.Percent[c] = static_cast<int>(std::int64_t{ranges.Percent[c]} * percent / percentSum);
  }
  if (minExcess > 0) {
    if (withoutPercent == 0)
      AddSpread(ranges.Min, first, count, Held(minExcess), [&](int c) { return ranges.Percent[c]; });
    else AddSpread(ranges.Min, first, count, Held(minExcess), [&](int c) { return ranges.Max[c]; });
  }
  if (maxExcess > 0) {
    if (withoutPercent == 0) {
      AddSpread(ranges.Max, first, count, Held(maxExcess), [&](int c) { return ranges.Percent[c]; });
    } else {
      AddSpread(ranges.Max, first, count, Held(maxExcess),
                [&](int c) { return hadPercent[c - first] ? 0 : 1; });
    }
  }
}

void KeepMaxAboveMin(TColumnRanges& ranges) {
  for (std::size_t c = 0; c < ranges.Min.size(); ++c)
    ranges.Max[c] = std::max(ranges.Max[c], ranges.Min[c]);
  ranges.Recount();
}

std::vector<int> Interpolated(const TColumnRanges& ranges, int target) {
  const std::size_t n = ranges.Min.size();
  std::vector<int> widths(n);
  const std::int64_t span = std::int64_t{ranges.MaxTotal} - ranges.MinTotal;
  for (std::size_t c = 0; c < n; ++c) {
    if (target < ranges.MaxTotal && span != 0) {
      widths[c] = Held(ranges.Min[c] +
                       std::int64_t{ranges.Max[c] - ranges.Min[c]} * (target - ranges.MinTotal) / span);
    } else {
      widths[c] = ranges.Max[c];
    }
  }
  return widths;
}

// Percent columns without a table width, where the target cannot hold every column at its
// percentage: columns whose share falls below their minimum lose their percent, the rest
// are scaled into what the other columns leave, and the survivors are fixed at their share.
void FitPercents(TColumnRanges& ranges, int target) {
  const int n = static_cast<int>(ranges.Min.size());
  std::int64_t lastShares = INT64_MAX;
  for (int round = 0; round < 2 * n + 4; ++round) {
    std::int64_t minsWithout = 0, shares = 0;
    for (int c = 0; c < n; ++c) {
      if (ranges.Percent[c] > 0 && PerMille(target, ranges.Percent[c]) < ranges.Min[c])
        ranges.Percent[c] = 0;
      if (ranges.Percent[c] == 0) minsWithout += ranges.Min[c];
      else shares += PerMille(target, ranges.Percent[c]);
    }
    if (shares == 0) return;
    if (shares + minsWithout <= target) {
      for (int c = 0; c < n; ++c)
        if (ranges.Percent[c] > 0) ranges.Min[c] = ranges.Max[c] = PerMille(target, ranges.Percent[c]);
      ranges.Recount();
      return;
    }
    const std::int64_t room = target - minsWithout;
    if (room <= 0 || shares >= lastShares) {
      std::fill(ranges.Percent.begin(), ranges.Percent.end(), 0);
      return;
    }
    lastShares = shares;
    for (int c = 0; c < n; ++c)
      ranges.Percent[c] = static_cast<int>(std::int64_t{ranges.Percent[c]} * room / shares);
  }
}

// Returns true with `widths` filled when the target holds every column at its percentage.
bool PercentColumns(TColumnRanges& ranges, int target, std::vector<int>& widths) {
  const int wanted = PercentTableWidth(ranges);
  const int n = static_cast<int>(ranges.Min.size());
  if (target >= wanted) {
    const int sum = ranges.PercentSum();
    std::int64_t others = 0;
    for (int c = 0; c < n; ++c)
      if (ranges.Percent[c] == 0) others += ranges.Max[c];
    const std::int64_t rest = std::int64_t{wanted} * (kWholePercent - std::min(sum, kWholePercent)) /
                              kWholePercent;
    widths.assign(n, 0);
    for (int c = 0; c < n; ++c) {
      if (ranges.Percent[c] > 0) widths[c] = PerMille(wanted, ranges.Percent[c]);
      else if (others > 0) widths[c] = Held(rest * ranges.Max[c] / others);
    }
    return true;
  }
  FitPercents(ranges, target);
  return false;
}

std::vector<int> ExactWidths(const TColumnRanges& ranges, int target) {
  const int n = static_cast<int>(ranges.Min.size());
  std::vector<int> widths(n);
  std::vector<bool> fixed(n, false);
  std::vector<int> percentless;
  for (int c = 0; c < n; ++c) {
    if (ranges.Percent[c] > 0) {
      const int share = PerMille(target, ranges.Percent[c]);
      fixed[c] = ranges.Min[c] >= share;
      widths[c] = std::max(ranges.Min[c], share);
    } else {
      widths[c] = ranges.Min[c];
      percentless.push_back(c);
    }
  }
  const auto sum = [&] { return SumOf(widths, 0, n); };
  const auto unfixedPercent = [&](int c) {
    return ranges.Percent[c] > 0 && !fixed[c] ? ranges.Percent[c] : 0;
  };
  std::int64_t d = target - sum();
  if (d > 0) {
    if (percentless.empty()) {
      AddSpread(widths, 0, n, Held(d), unfixedPercent);
    } else {
      std::int64_t flexibility = 0;
      for (int c : percentless) flexibility += ranges.Max[c] - ranges.Min[c];
      const bool equally = flexibility <= 0 || flexibility < d / 4;
      AddSpread(widths, 0, n, Held(d), [&](int c) -> std::int64_t {
        if (ranges.Percent[c] > 0) return 0;
        return equally ? 1 : ranges.Max[c] - ranges.Min[c];
      });
    }
  } else if (d < 0) {
    for (int round = 0; round < 4; ++round) {
      const std::int64_t excess = sum() - target;
      std::int64_t percents = 0;
      for (int c = 0; c < n; ++c) percents += unfixedPercent(c);
      if (excess <= 0 || percents == 0) break;
      bool changed = false;
      for (int c = 0; c < n; ++c) {
        if (!unfixedPercent(c)) continue;
        if (widths[c] - excess * ranges.Percent[c] / percents < ranges.Min[c]) {
          widths[c] = ranges.Min[c];
          fixed[c] = true;
          changed = true;
        }
      }
      if (!changed) break;
    }
    const std::int64_t excess = sum() - target;
    if (excess > 0) {
      std::vector<std::int64_t> weights(n);
      for (int c = 0; c < n; ++c) weights[c] = unfixedPercent(c);
      const std::vector<int> shares = SpreadByWeight(weights, Held(excess));
      for (int c = 0; c < n; ++c) widths[c] = std::max(0, widths[c] - shares[c]);
    }
  }
  d = target - sum();
  if (d > 0) {
    widths[0] = Held(widths[0] + d);
  } else if (d < 0) {
    for (int c = 0; c < n; ++c) {
      if (fixed[c]) continue;
      widths[c] = Held(widths[c] + d);
      break;
    }
  }
  return widths;
}

}  // namespace

int TColumnRanges::PercentSum() const {
  std::int64_t sum = 0;
  for (int p : Percent) sum += p;
  return static_cast<int>(std::min<std::int64_t>(sum, 1 << 30));
}

void TColumnRanges::Recount() {
  MinTotal = Held(SumOf(Min, 0, static_cast<int>(Min.size())));
  MaxTotal = Held(SumOf(Max, 0, static_cast<int>(Max.size())));
}

std::vector<int> SpreadByWeight(const std::vector<std::int64_t>& weights, int total) {
  const std::size_t n = weights.size();
  std::vector<int> shares(n, 0);
  if (n == 0) return shares;
  std::int64_t sum = 0;
  for (std::int64_t w : weights) sum += std::max<std::int64_t>(w, 0);
  std::int64_t given = 0;
  std::size_t last = n - 1;
  if (sum > 0) {
    for (std::size_t i = 0; i < n; ++i) {
      const std::int64_t w = std::max<std::int64_t>(weights[i], 0);
      if (w > 0) last = i;
      shares[i] = static_cast<int>(std::int64_t{total} * w / sum);
      given += shares[i];
    }
  } else {
    for (std::size_t i = 0; i < n; ++i) {
      shares[i] = static_cast<int>(total / static_cast<std::int64_t>(n));
      given += shares[i];
    }
  }
  shares[last] += static_cast<int>(total - given);
  return shares;
}

TColumnRanges PlainColumnRanges(const std::vector<TColumnCell>& cells, int numCols) {
  TColumnRanges ranges = EmptyRanges(numCols);
  const auto groups = BySpan(cells, numCols);
  if (numCols > 0) SingleColumnPass(ranges, groups[1]);
  for (int span = 2; span <= numCols; ++span) {
    for (const TColumnCell* cell : groups[span]) {
      int min = cell->Min, max = cell->Max;
      if (cell->PixelWidth > 0) min = max = std::max(min, Held(cell->PixelWidth));
      SpreadPlainExcess(ranges, *cell, min, max);
    }
  }
  KeepMaxAboveMin(ranges);
  return ranges;
}

TColumnRanges PercentColumnRanges(const std::vector<TColumnCell>& cells, int numCols, int tableWidth) {
  TColumnRanges ranges = EmptyRanges(numCols);
  const auto groups = BySpan(cells, numCols);
  if (numCols > 0) {
    SingleColumnPass(ranges, groups[1]);
    for (const TColumnCell* cell : groups[1])
      ranges.Percent[cell->Col] = std::max(ranges.Percent[cell->Col], PercentOf(*cell, tableWidth));
  }
  for (int span = 2; span <= numCols; ++span)
    for (const TColumnCell* cell : groups[span])
      SpanningPercentCell(ranges, *cell, PercentOf(*cell, tableWidth));
  KeepMaxAboveMin(ranges);
  return ranges;
}

int PercentTableWidth(const TColumnRanges& ranges) {
  const int sum = ranges.PercentSum();
  if (sum <= 0 || sum > kWholePercent) return 0;
  std::int64_t withoutPercent = 0, widest = 0;
  for (std::size_t c = 0; c < ranges.Min.size(); ++c) {
    if (ranges.Percent[c] == 0) withoutPercent += ranges.Max[c];
    else widest = std::max(widest, std::int64_t{ranges.Max[c]} * kWholePercent / ranges.Percent[c]);
  }
  std::int64_t rest = 0;
  if (sum >= kWholePercent) rest = withoutPercent > 0 ? 30000 : 0;
  else rest = withoutPercent * kWholePercent / (kWholePercent - sum);
  return Held(std::max(widest, rest));
}

std::vector<int> DistributeColumns(TColumnRanges ranges, int target, TTableWidthKind kind, bool plain) {
  const int n = static_cast<int>(ranges.Min.size());
  if (n == 0) return {};
  ranges.Recount();
  if (plain) {
    std::vector<int> widths(n);
    for (int c = 0; c < n; ++c) {
      if (ranges.MinTotal < target && target < ranges.MaxTotal) {
        widths[c] = Held(ranges.Min[c] + std::int64_t{ranges.Max[c] - ranges.Min[c]} *
                                             (target - ranges.MinTotal) /
                                             (ranges.MaxTotal - ranges.MinTotal));
      } else {
        widths[c] = target >= ranges.MaxTotal ? ranges.Max[c] : ranges.Min[c];
      }
    }
    return widths;
  }
  if (ranges.MinTotal >= target) return ranges.Min;
  if (kind == TTableWidthKind::Given) return ExactWidths(ranges, target);
  const int sum = ranges.PercentSum();
  if (sum > 0 && sum <= kWholePercent) {
    std::vector<int> widths;
    if (PercentColumns(ranges, target, widths)) return widths;
  }
  return Interpolated(ranges, target);
}

}  // namespace tessival::layout
