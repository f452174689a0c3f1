#include "viewer/frame_sizes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>

namespace tessival::viewer {

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const std::int64_t half = std::llabs(c) / 2;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = (std::llabs(product) + half) / std::llabs(c);
  return static_cast<int>(negative ? -magnitude : magnitude);
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsEntryChar(char c) { return IsDigit(c) || c == '*' || c == ','; }

class EntryScanner {
 public:
  explicit EntryScanner(std::string_view text) : text_(text) {}
  bool AtEnd() const { return at_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[at_]; }
  void Skip() { ++at_; }
  // Characters that cannot start or continue an entry are noise between entries.
  void SkipNoise() {
    while (!AtEnd() && !IsEntryChar(text_[at_])) ++at_;
  }
  void SkipUntilAny(std::string_view stops) {
    while (!AtEnd() && stops.find(text_[at_]) == std::string_view::npos) ++at_;
  }
  // Up to 20 digits, which cannot overflow 64 bits.
  std::int64_t ReadNumber() {
    std::int64_t number = 0;
    for (int digits = 0; digits < 20 && IsDigit(Peek()); ++digits, ++at_) {
      number = std::min<std::int64_t>(number * 10 + (text_[at_] - '0'), INT32_MAX);
    }
    return number;
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

int ReadEntry(EntryScanner& scan) {
  const char first = scan.Peek();
  if (first == '*' || first == ',' || scan.AtEnd()) {
    if (first == '*') scan.Skip();
    return -1;
  }
  const std::int64_t n = std::max<std::int64_t>(1, scan.ReadNumber());
  scan.SkipUntilAny("%*,");
  switch (scan.Peek()) {
    case '*': return static_cast<int>(-std::min<std::int64_t>(kMaxFrameWeight, n));
    case '%': return static_cast<int>(-std::min<std::int64_t>(kMaxFramePercent + 100, n + 100));
    default: return static_cast<int>(std::min<std::int64_t>(n, kMaxFramePixels));
  }
}

bool IsPixels(int code) { return code >= 0; }
bool IsWeight(int code) { return code < 0 && code > -100; }
bool IsPercent(int code) { return code <= -100; }

}  // namespace

std::vector<int> ParseFrameEntries(std::string_view value) {
  std::vector<int> entries;
  EntryScanner scan(value);
  scan.SkipNoise();
  while (static_cast<int>(entries.size()) < kMaxFrameEntries) {
    entries.push_back(ReadEntry(scan));
    scan.SkipUntilAny(",");
    if (scan.AtEnd()) break;
    scan.Skip();  // the comma: a next entry follows, even an empty one
    scan.SkipNoise();
  }
  return entries;
}

FrameSplit ChooseFrameSplit(const std::optional<std::string_view>& rows,
                            const std::optional<std::string_view>& cols) {
  FrameSplit split;
  if (rows) {
    split.SplitsRows = true;
    split.DimSpecs = ParseFrameEntries(*rows);
  }
  if (cols && split.DimSpecs.size() <= 1) {
    split.SplitsRows = false;
    split.DimSpecs = ParseFrameEntries(*cols);
  }
  return split;
}

std::vector<int> DistributeFrameSizes(const std::vector<int>& codes, int extent) {
  int pixels = 0, weights = 0, percents = 0;
  for (const int code : codes) {
    if (IsPixels(code)) pixels += code;
    if (IsWeight(code)) weights += -code;
    if (IsPercent(code)) percents += -code - 100;
  }
  std::vector<int> sizes(codes.size(), 0);
  if (extent - pixels <= 0) {
    for (std::size_t i = 0; i < codes.size(); ++i) {
      if (IsPixels(codes[i]) && pixels > 0) sizes[i] = MulDiv(codes[i], extent, pixels);
    }
    return sizes;
  }
  const int room = extent - pixels;
  const int percent_room = std::min(room, MulDiv(extent, percents, 100));
  const int weight_unit = weights == 0 ? 0 : (room - percent_room) / weights;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const int code = codes[i];
    if (IsPixels(code)) sizes[i] = code;
    if (IsPercent(code)) sizes[i] = MulDiv(-code - 100, percent_room, percents);
    if (IsWeight(code)) sizes[i] = -code * weight_unit;
  }
  return sizes;
}

std::vector<int> PlaceFrameEnds(const std::vector<int>& sizes, int extent) {
  const int total = std::accumulate(sizes.begin(), sizes.end(), 0);
  std::vector<int> ends(sizes.size() + 1, 0);
  int running = 0;
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    // Nothing to share in proportion: every child is empty rather than -1 pixels wide.
    if (total > 0) running += MulDiv(sizes[i], extent, total);
    // Each share is rounded on its own, so halves rounded up could carry the last child a
    // pixel past the set's edge.
    ends[i + 1] = std::min(running, extent);
  }
  return ends;
}

std::vector<int> SizesFromEnds(const std::vector<int>& ends, int total) {
  std::vector<int> sizes;
  if (ends.size() < 2) return sizes;
  const int last = ends.back();
  for (std::size_t k = 0; k + 1 < ends.size(); ++k) {
    sizes.push_back(last > 0 ? MulDiv(ends[k + 1] - ends[k], total, last) : 0);
  }
  return sizes;
}

std::optional<int> NearestBoundary(const std::vector<int>& ends, int p) {
  std::optional<int> best;
  int best_distance = 0;
  for (int i = 1; i + 1 < static_cast<int>(ends.size()); ++i) {
    const int distance = std::abs(p - ends[i]);
    if (!best || distance < best_distance || (distance == best_distance && p >= ends[i])) {
      best = i;
      best_distance = distance;
    }
  }
  return best;
}

std::vector<bool> ComputeNoDrag(const std::vector<bool>& fixed_children) {
  std::vector<bool> no_drag(fixed_children.size() + 1, false);
  for (std::size_t i = 0; i < fixed_children.size(); ++i) {
    if (!fixed_children[i]) continue;
    no_drag[i] = true;
    no_drag[i + 1] = true;
  }
  return no_drag;
}

std::optional<int> DraggableBoundary(const std::vector<int>& ends, const std::vector<bool>& no_drag,
                                     int p) {
  const std::optional<int> nearest = NearestBoundary(ends, p);
  if (!nearest) return std::nullopt;
  const auto i = static_cast<std::size_t>(*nearest);
  if (std::abs(p - ends[i]) > kDragReach) return std::nullopt;
  if (i < no_drag.size() && no_drag[i]) return std::nullopt;
  return nearest;
}

DragRange DragLimits(const std::vector<int>& ends, int boundary) {
  const auto i = static_cast<std::size_t>(boundary);
  return {ends[i - 1] + 1, ends[i + 1] - 1};
}

}  // namespace tessival::viewer
